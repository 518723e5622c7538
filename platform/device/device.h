// The device seam: everything the host shell needs of the machine it runs on, in small interfaces,
// and Device, which is all of them. Two devices implement it: headless (tests, CI) and sdl (a window).
// Invariant: window calls happen on the thread that created the window; the screen and the
// foreground flag may be used from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/device/host_message.h"
#include "platform/device/wave_device.h"
#include "platform/graphics/surface.h"

class ClockSource;

// SHFullScreen flags as the host passes them.
namespace FullScreen {
inline constexpr uint32_t kHideTaskBar = 0x02, kShowTaskBar = 0x01;
inline constexpr uint32_t kHideSipButton = 0x08, kShowSipButton = 0x04;
inline constexpr uint32_t kHideStartIcon = 0x20, kShowStartIcon = 0x10;
inline constexpr uint32_t kHideAll = kHideTaskBar | kHideSipButton | kHideStartIcon;  // 42
inline constexpr uint32_t kShowAll = kShowTaskBar | kShowSipButton | kShowStartIcon;  // 21
}  // namespace FullScreen

// Display orientations (DMDO_*).
namespace Orientation {
inline constexpr int32_t k0 = 0, k90 = 1, k180 = 2, k270 = 4;
}

// Power notification record as the power queue delivers it.
namespace Power {
inline constexpr uint32_t kTransition = 1;  // PBT_TRANSITION
inline constexpr uint32_t kOn = 0x10000, kIdle = 0x100000, kSuspend = 0x200000, kUnattended = 0x400000;
inline constexpr int kQueueCapacity = 4;
}  // namespace Power
struct PowerNotification {
    uint32_t message = 0;
    uint32_t flags = 0;
};

enum class ShowCommand : uint8_t { Show, Minimize };

// The window and the shell around it.
class DeviceShell {
public:
    virtual ~DeviceShell() = default;
    // False when another instance runs; that one has been asked to come to the front.
    [[nodiscard]] virtual bool acquireSingleInstance() = 0;
    // Creates the (not yet shown) window and sends it Create. False when no window can be made.
    [[nodiscard]] virtual bool createWindow(WindowProc& proc) = 0;
    virtual void setFullScreen(uint32_t flags) = 0;
    // Claims every hardware key for the window (true) or gives them back (false).
    virtual void claimAllKeys(bool claim) = 0;
    // Show activates a window that is not focused; Minimize takes the focus away. The Activate and
    // focus messages are sent before this returns (when called on the window thread; from another
    // thread the request runs at the next peekMessage).
    virtual void showWindow(ShowCommand command) = 0;
    virtual void setForeground() = 0;
    [[nodiscard]] virtual bool isForeground() const = 0;
    // keybd_event: hands a key back to the system.
    virtual void resendKey(int32_t virtualKey, bool release) = 0;
    // Starts the browser without waiting. The caller has vetted the URL.
    [[nodiscard]] virtual bool launchUrl(const std::string& url) = 0;
    // Lets the system redraw its own panels after the game leaves.
    virtual void redrawShell() = 0;
    // Primary language id of the user interface (Windows numbering: 9 English, 7 German, ...).
    [[nodiscard]] virtual int uiLanguage() const = 0;
    // "PocketPC" would ask the collector to suspend threads from outside; ours never say so.
    [[nodiscard]] virtual std::u16string platformType() const = 0;
};

// The window's message queue.
class DeviceEvents {
public:
    virtual ~DeviceEvents() = default;
    // Delivers due sent messages to the window procedure, then removes the next posted message.
    [[nodiscard]] virtual bool peekMessage(HostMessage& out) = 0;
    virtual void postQuit(int32_t exitCode) = 0;
    // Timed events due by `time` join the messages now, so the host can hand them over before its
    // pause moves the clock to that time. A device whose events come in real time has none.
    virtual void releaseEventsDueBy(int64_t /*time*/) {}
};

class DeviceOrientation {
public:
    virtual ~DeviceOrientation() = default;
    [[nodiscard]] virtual int32_t displayOrientation() const = 0;
    // A change posts SettingChange, as the phone broadcast it.
    virtual bool setDisplayOrientation(int32_t orientation) = 0;
};

class DevicePower {
public:
    virtual ~DevicePower() = default;
    // Notifications arrive only while the queue is open; a full queue drops new ones.
    [[nodiscard]] virtual bool openPowerQueue() = 0;
    virtual void closePowerQueue() = 0;
    [[nodiscard]] virtual bool readPowerNotification(PowerNotification& out) = 0;
};

// The wave device's volume as waveOutGetVolume/waveOutSetVolume give it: the left channel in the
// low half, the right in the high half, 0 to 0xFFFF each.
class DeviceVolume {
public:
    virtual ~DeviceVolume() = default;
    [[nodiscard]] virtual uint32_t waveVolume() const = 0;
    virtual void setWaveVolume(uint32_t volume) = 0;
};

// The real screen behind the window, RGB565.
class DeviceScreen {
public:
    virtual ~DeviceScreen() = default;
    [[nodiscard]] virtual int screenWidth() const = 0;
    [[nodiscard]] virtual int screenHeight() const = 0;
    // Runs draw over the whole screen under the screen lock, then shows the result. False (and
    // draw not run) when there is no window yet.
    virtual bool drawScreen(const std::function<void(Surface565&)>& draw) = 0;
    // Window thread, once per host-loop pass: shows the latest drawn screen.
    virtual void present() = 0;
};

namespace Platform {

// The screen the class library draws on outside the paint road (the connecting indicator); null
// until the host installs one. The caller keeps it alive while installed.
[[nodiscard]] DeviceScreen* screen();
void setScreen(DeviceScreen* screen);

}  // namespace Platform

class Device : public DeviceShell,
               public DeviceEvents,
               public DeviceOrientation,
               public DevicePower,
               public DeviceVolume,
               public DeviceScreen {
public:
    // The device's time: the runtime installs it with Runtime::setClock.
    [[nodiscard]] virtual ClockSource& clock() = 0;
    // The sound output the media players use; it lives as long as the device.
    [[nodiscard]] virtual WaveDevice& waveDevice() = 0;
};
