// The messages a device delivers to the host's window procedure, and the sink they go to.
// Invariant: messages reach the sink in the order the phone delivered them; sent messages (focus,
// activation, create) arrive synchronously from the call that caused them, posted ones through
// DeviceEvents::peekMessage.
#pragma once

#include <cstdint>

enum class HostMessageKind : uint8_t {
    Create,         // the window exists (sent from createWindow)
    Destroy,
    Close,          // the user asked to close the window
    Activate,       // wParam 1 active, 0 inactive
    SetFocus,
    KillFocus,
    SettingChange,  // display settings changed (orientation)
    KeyDown,        // wParam virtual key
    KeyUp,
    StylusDown,     // lParam: portrait x in the signed low half, y in the signed high half
    StylusUp,
    StylusMove,
    Quit,           // posted by DeviceEvents::postQuit; wParam the exit code; never dispatched
};

struct HostMessage {
    HostMessageKind kind = HostMessageKind::Quit;
    int32_t wParam = 0;
    int32_t lParam = 0;
    int32_t imeKey = 0;  // the input method's virtual key for key messages; 0 on our devices
};

// The window procedure: what the host shell implements and the device calls on the window thread.
class WindowProc {
public:
    virtual ~WindowProc() = default;
    virtual int32_t windowProc(const HostMessage& message) = 0;
};

[[nodiscard]] const char* hostMessageName(HostMessageKind kind);
