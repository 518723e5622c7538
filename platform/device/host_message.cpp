// Names of the host messages, for the shell-call records and logs.
// Invariant: one name per HostMessageKind, in declaration order.
#include "platform/device/host_message.h"

const char* hostMessageName(HostMessageKind kind) {
    switch (kind) {
        case HostMessageKind::Create: return "create";
        case HostMessageKind::Destroy: return "destroy";
        case HostMessageKind::Close: return "close";
        case HostMessageKind::Activate: return "activate";
        case HostMessageKind::SetFocus: return "setfocus";
        case HostMessageKind::KillFocus: return "killfocus";
        case HostMessageKind::SettingChange: return "settingchange";
        case HostMessageKind::KeyDown: return "keydown";
        case HostMessageKind::KeyUp: return "keyup";
        case HostMessageKind::StylusDown: return "stylusdown";
        case HostMessageKind::StylusUp: return "stylusup";
        case HostMessageKind::StylusMove: return "stylusmove";
        case HostMessageKind::Quit: return "quit";
    }
    return "?";
}
