// Key and stylus messages: virtual keys mapped to the game's key codes, the system keys given back
// to the shell, F6/F7 as device volume, stylus points to the current Displayable.
// Invariant: a key the shell or the volume keeps never reaches the game, on press or release; the
// stylus-up and moves of the tap that took the focus away never reach it either.
#include "app/host/application_impl.h"
#include "app/host/host_record.h"
#include "classlib/application.h"
#include "platform/device/host_input.h"
#include "runtime/clock.h"
#include "runtime/thread_state.h"

namespace {

// The shell needs a moment after the window is minimised before it takes the key back.
constexpr int64_t kGiveBackDelayMillis = 200;

int32_t codeOf(const HostMessage& m) {
    return Host::mapVirtualKey(Host::virtualKeyOf(m.wParam, hostRecord().imeKey));
}

bool isVolumeKey(int32_t code) { return code == Host::kVolumeUpKey || code == Host::kVolumeDownKey; }

}  // namespace

void hostKeyDown(const HostMessage& m) {
    HostRecord& h = hostRecord();
    const int32_t code = codeOf(m);
    if ((h.claimAllKeys && Host::isSystemKey(code)) || isVolumeKey(code)) return;
    if (h.application) h.application->keyPressed(code);
}

void hostKeyUp(const HostMessage& m) {
    HostRecord& h = hostRecord();
    const int32_t code = codeOf(m);
    if (h.claimAllKeys && Host::isSystemKey(code)) {
        h.device->showWindow(ShowCommand::Minimize);
        ClockSource& clock = h.device->clock();
        Runtime::runParked([&clock] { clock.sleepMillis(kGiveBackDelayMillis); });
        if (code == 114) h.device->resendKey(114, false);  // F3 goes back as a whole press
        h.device->resendKey(code, true);
    } else if (code == Host::kVolumeUpKey || h.imeKey == Host::kVolumeUpKey) {
        ApplicationImpl::getInstance()->volumeUp();
    } else if (code == Host::kVolumeDownKey || h.imeKey == Host::kVolumeDownKey) {
        ApplicationImpl::getInstance()->volumeDown();
    } else if (h.application) {
        h.application->keyReleased(code);
    }
}

void hostStylus(const HostMessage& m) {
    HostRecord& h = hostRecord();
    Application* app = h.application;
    if (!app || !app->current()) return;
    int32_t x = Host::stylusX(m.lParam);
    int32_t y = Host::stylusY(m.lParam);
    if (h.stylusScaling) Host::scaleStylusPoint(x, y, h.stylusScaleX, h.stylusScaleY);
    switch (m.kind) {
        case HostMessageKind::StylusDown: app->pointerPressed(x, y); break;
        case HostMessageKind::StylusUp:
            if (h.ignoreNextStylus) {
                h.ignoreNextStylus = false;
                break;
            }
            app->pointerReleased(x, y);
            break;
        case HostMessageKind::StylusMove:
            if (!h.ignoreNextStylus) app->pointerDragged(x, y);
            break;
        default: break;
    }
}
