// cGame's state machine: one handler per screen state, the messages each gets in a frame, the
// change requested during a frame applied at its end, and the per-state frame and time counters.
// The states of the screens not built yet have no handler in the table; such a
// state logs that it has none when it is entered and ignores its messages.
#include <algorithm>
#include <array>
#include <iterator>

#include "game/cgame.h"
#include "runtime/compiled.h"
#include "runtime/log.h"
#include "runtime/static_start_values.h"
#include "sprites/bxlib_player.h"

jint cGameStateMachine::s_state = 1;
jint cGameStateMachine::s_prevState = -1;
jint cGameStateMachine::s_nextState = -1;
jint cGameStateMachine::s_stateAtRequest = 1;
jbyte cGameStateMachine::s_stateChangePending = 0;
jbyte cGameStateMachine::s_stateEntered = 1;
jint cGameStateMachine::s_stateFrames = 0;
jint cGameStateMachine::s_stateTime = 0;
jint cGameStateMachine::s_loadTarget = -1;
jint cGameStateMachine::s_loadKind = 0;

namespace {

struct StateName {
    jint state;
    const char* name;
};
constexpr StateName kStateNames[] = {
    {cGame::kStateBoot, "cGame::stateBoot"},
    {cGame::kStateInit, "cGame::stateInit"},
    {cGame::kStateSplash, "cGame::stateSplash"},
    {cGame::kStateLoading, "cGame::stateLoading"},
    {cGame::kStateMainMenu, "cGame::stateMainMenu"},
    {cGame::kStateSoundMenu, "cGame::stateSoundMenu"},
    {cGame::kStatePauseMenu, "cGame::statePauseMenu"},
    {cGame::kStateSoundMenuInGame, "cGame::stateSoundMenuInGame"},
    {cGame::kStatePlay, "cGame::statePlay"},
    {cGame::kStateHeroLost, "cGame::stateHeroLost"},
    {cGame::kStateLossMenu, "cGame::stateLossMenu"},
    {cGame::kStateScrollingText, "cGame::stateScrollingText"},
    {cGame::kStateLevelEnd, "cGame::stateLevelEnd"},
    {cGame::kStateLevelSelect, "cGame::stateLevelSelect"},
    {cGame::kStateInfoPages, "cGame::stateInfoPages"},
    {cGame::kStateDifficultyMenu, "cGame::stateDifficultyMenu"},
    {cGame::kStateIntro, "cGame::stateIntro"},
    {cGame::kStatePictureBrowser, "cGame::statePictureBrowser"},
    {cGame::kStatePromotionQuestion, "cGame::statePromotionQuestion"},
    {cGame::kStateIGP, "cGame::stateIGP"},
};
static_assert(std::size(kStateNames) == 20, "the game has 20 screen states");

// Indexed by state number, one line a state: a screen's handler goes on its line when it is built.
cGame::StateHandler g_handlers[cGame::kStateCount] = {
    nullptr,  // 0
    &cGame::stateBoot,  // 1
    &cGame::stateInit,  // 2
    &cGame::stateSplash,  // 3 splash
    &cGame::stateLoading,  // 4 loading
    nullptr,  // 5
    &cGame::stateMainMenu,  // 6 main menu
    nullptr,  // 7
    &cGame::stateSoundMenu,  // 8 sound menu
    nullptr,  // 9
    nullptr,  // 10
    &cGame::statePauseMenu,  // 11 pause menu
    &cGame::stateSoundMenuInGame,  // 12 in-game sound menu
    nullptr,  // 13
    &cGame::statePlay,  // 14 play
    &cGame::stateHeroLost,  // 15 hero lost
    &cGame::stateLossMenu,  // 16 loss menu
    nullptr,  // 17
    &cGame::stateScrollingText,  // 18 scrolling text
    &cGame::stateLevelEnd,  // 19 level end
    nullptr,  // 20
    &cGame::stateLevelSelect,  // 21 level select
    nullptr,  // 22
    nullptr,  // 23
    nullptr,  // 24
    nullptr,  // 25
    &cGame::stateInfoPages,  // 26 info pages
    &cGame::stateDifficultyMenu,  // 27 difficulty menu
    &cGame::stateIntro,  // 28 intro
    &cGame::statePictureBrowser,  // 29 picture browser
    &cGame::statePromotionQuestion,  // 30 promotion question
    &cGame::stateIGP,  // 31 promotion screen
};

bool validState(jint state) { return state >= 0 && state < cGame::kStateCount; }

// The screen's update and paint, or, while the dialog overlay is up, the dialog's keys instead of
// the update and the screen painted under the dialog only when it must be redrawn; the screen's
// update comes back, with no keys, in the frame the dialog closes. The soft keys last.
void stepScreen(cGame* game) {
    if (cGame::s_dialogOpen) {
        cGame::updateDialogInput();
        BX_RETURN_IF_PENDING();
        if (cGame::s_redraw || cGame::s_fullRedraw) {
            cGame::dispatchState(game, cGame::kMsgPaint);
            BX_RETURN_IF_PENDING();
            if (cGame::s_dialogOpen) {
                cGame::paintDialogBox();
                BX_RETURN_IF_PENDING();
                cGame::paintSoftkeysGuarded();
                BX_RETURN_IF_PENDING();
            }
        }
        if (!cGame::s_dialogOpen) {
            cGame::clearKeys();
            cGame::dispatchState(game, cGame::kMsgUpdate);
            BX_RETURN_IF_PENDING();
        }
    } else {
        cGame::dispatchState(game, cGame::kMsgUpdate);
        BX_RETURN_IF_PENDING();
        if (!cGame::s_dialogOpen) {
            cGame::dispatchState(game, cGame::kMsgPaint);
            BX_RETURN_IF_PENDING();
        }
    }
    if (!cGame::s_dialogOpen) cGame::paintSoftkeys();
}

}  // namespace

const char* cGame::stateName(jint state) {
    for (const StateName& s : kStateNames)
        if (s.state == state) return s.name;
    return nullptr;
}

cGame::StateHandler cGame::stateHandler(jint state) { return validState(state) ? g_handlers[state] : nullptr; }

cGame::StateHandler cGame::setStateHandler(jint state, StateHandler handler) {
    if (!validState(state)) return nullptr;
    StateHandler previous = g_handlers[state];
    g_handlers[state] = handler;
    return previous;
}

void cGame::setState(jint state) {
    s_stateAtRequest = s_state;
    s_nextState = state;
    s_stateChangePending = 1;
}

void cGame::dispatchState(cGame* game, jint message) {
    StateHandler handler = stateHandler(s_state);
    if (handler) {
        handler(game, message);
        return;
    }
    if (message != kMsgEnter) return;
    if (const char* name = stateName(s_state))
        Log::info("game state %d has no handler yet (%s)", s_state, name);
    else
        Log::info("game state %d has no handler", s_state);
}

void cGame::resetStateMachine() {
    s_state = kStateBoot;
    s_stateAtRequest = kStateBoot;
    s_prevState = -1;
    s_nextState = -1;
    s_stateChangePending = 0;
    s_stateEntered = 1;
    s_stateFrames = 0;
    s_stateTime = 0;
    Log::info("game state -1 -> %d (start)", s_state);
}

void cGame::stepStateMachine(cGame* game) {
    if (s_stateEntered) {
        s_stateEntered = 0;
        s_stateFrames = 0;
        s_stateTime = 0;
        dispatchState(game, kMsgEnter);
        BX_RETURN_IF_PENDING();
    }
    updateTouchInput();
    BX_RETURN_IF_PENDING();
    stepScreen(game);
    BX_RETURN_IF_PENDING();
    if (s_stateChangePending) {
        dispatchState(game, kMsgExit);
        BX_RETURN_IF_PENDING();
        s_prevState = s_state;
        s_state = s_nextState;
        s_stateChangePending = 0;
        s_stateEntered = 1;
        s_nextState = -1;
        Log::info("game state %d -> %d at frame %d (%lld ms)", s_prevState, s_state, s_frameCounter,
                  static_cast<long long>(s_now));
    }
    s_stateFrames = jt::add(s_stateFrames, 1);
    s_stateTime = jt::add(s_stateTime, s_frameTime);
    BXLibPlayer::SndUpdate();
}

namespace {

// The handler table as the program starts.
const std::array<cGame::StateHandler, cGame::kStateCount> kStartHandlers = std::to_array(g_handlers);
const StaticStartValues kStartValues(&cGameStateMachine::s_state, &cGameStateMachine::s_prevState,
                                     &cGameStateMachine::s_nextState, &cGameStateMachine::s_stateAtRequest,
                                     &cGameStateMachine::s_stateChangePending, &cGameStateMachine::s_stateEntered,
                                     &cGameStateMachine::s_stateFrames, &cGameStateMachine::s_stateTime,
                                     &cGameStateMachine::s_loadTarget, &cGameStateMachine::s_loadKind);

}  // namespace

void cGameStateMachine::resetStatics() {
    kStartValues.restore();
    std::copy(kStartHandlers.begin(), kStartHandlers.end(), std::begin(g_handlers));
}
