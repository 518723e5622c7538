// VorpaZQTI: the MIDlet's three lifecycle slots over cGame's shell.
#include "game/vorpazqti.h"

#include <atomic>

#include "classlib/lcdui/javax_microedition_lcdui_display.h"
#include "game/cgame.h"
#include "runtime/compiled.h"

namespace {

const MIDletRegistration kMIDlet(CID_VorpaZQTI, {[]() -> javax_microedition_midlet_MIDlet* { return new VorpaZQTI(); },
                                                 [](javax_microedition_midlet_MIDlet* m) { m->init(); }});

}  // namespace

void VorpaZQTI::startApp() {
    if (!cGame::s_game) {
        javax_microedition_lcdui_Display* display = javax_microedition_lcdui_Display::getDisplay(this);
        BX_RETURN_IF_PENDING();
        cGame* game = Runtime::make<cGame>(static_cast<javax_microedition_midlet_MIDlet*>(this), display);
        BX_RETURN_IF_PENDING();
        BX_RETURN_IF_NULL(game);
        cGame::s_game = game;
        game->startThread();
        BX_RETURN_IF_PENDING();
    }
    cGame::s_game->onShowNotify();
}

void VorpaZQTI::pauseApp() {
    BX_RETURN_IF_NULL(cGame::s_game);
    cGame::s_game->onHideNotify();
}

void VorpaZQTI::destroyApp(jboolean) {
    if (!cGame::s_game) return;
    // Without the game lock: the game thread may be held inside a frame by the shutdown.
    std::atomic_ref<jint>(cGame::s_runFlag).store(-1, std::memory_order_release);
}
