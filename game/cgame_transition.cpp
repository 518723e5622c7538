// The screen transition between a choice and its effect: a pending UI action starts the closing
// half (300 ms, the transition player's closing animation); when it ends the action runs, and the
// actions that stay on the screen (dialog open or closed, re-opening) run the opening half.
#include "game/cgame.h"
#include "sprites/bxlib_player.h"
#include "sprites/interface_frames.h"

jint cGameMenus::s_pendingAction = kActionNone;
jint cGameMenus::s_transitionPhase = 0;
jlong cGameMenus::s_transitionTime = 0;

namespace {

constexpr jint kPlayForever = -2;

void runAction(jint action) {
    switch (action) {
    case cGame::kActionLoadTarget:
        cGame::setState(cGame::s_loadTarget);
        break;
    case cGame::kActionLoad:
        cGame::setState(cGame::kStateLoading);
        break;
    case cGame::kActionOpenDialog:
        cGame::s_dialogOpen = true;
        cGame::s_transitionPhase = 1;
        break;
    case cGame::kActionCloseDialog:
        cGame::s_dialogOpen = false;
        cGame::s_transitionPhase = 1;
        break;
    case cGame::kActionReopen:
        cGame::s_transitionPhase = 1;
        break;
    default:
        break;
    }
}

}  // namespace

bool cGame::updateTransition(bool perform) {
    BXLibPlayer* player = s_transitionPlayer;
    if (s_pendingAction != kActionNone && s_transitionPhase == 0) {
        s_transitionPhase = -1;
        // Going back with the right soft key closes without the closing animation.
        if (!isKeyReleased(kKeyRightSoft) && player && player->anim != MenuSprite::kClosingAnim) {
            startPlayerAnim(player, MenuSprite::kClosingAnim, kPlayForever);
        }
    }
    if (s_transitionPhase == 1) {
        s_transitionTime += s_frameTime;
        s_redraw = true;
        if (s_transitionTime <= kTransitionHalf) return false;
        s_transitionTime = kTransitionHalf;
        s_transitionPhase = 0;
        return true;
    }
    if (s_transitionPhase == 0) return false;
    s_transitionTime -= s_frameTime;
    s_redraw = true;
    if (s_transitionTime > 0) return false;
    s_transitionTime = 0;
    s_transitionPhase = 0;
    s_chosen = -1;
    if (perform) runAction(s_pendingAction);
    if (player && !(player->anim == MenuSprite::kOpeningAnim && player->finished == 0)) {
        startPlayerAnim(player, MenuSprite::kOpeningAnim, kPlayForever);
    }
    s_pendingAction = kActionNone;
    return true;
}
