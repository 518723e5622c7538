// Touch input: the pointer record the host thread writes, and the per-frame step that turns it into
// synthetic key events on the game thread (soft-key squares, dialog answers, the screens' own
// handling), ending with the lift bookkeeping. Both sides hold the game lock, so a frame never sees
// half of an event. The menu rows and picture pages are in cgame_touch_menu.cpp, the play screen's
// buttons in cgame_touch_play.cpp.
#include "game/cgame.h"
#include "promo/igp.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/static_start_values.h"

jint cGameTouch::s_touchX = kTouchNone;
jint cGameTouch::s_touchY = kTouchNone;
bool cGameTouch::s_touchDown = false;
bool cGameTouch::s_touchUp = false;
jint cGameTouch::s_touchButton = -1;
jint cGameTouch::s_softkeyTouched = 0;
jint cGameTouch::s_softkeyTapTimer = 0;
jint cGameTouch::s_arrowTouched = 0;
jint cGameTouch::s_touchLayout = 0;
jint cGameTouch::s_touchLayoutTested = 0;
bool cGameTouch::s_touchButtonsShown = true;
jint cGameTouch::s_softkeyTouchWidth = 80;
jint cGameTouch::s_softkeyTouchHeight = 80;
const cGame::ActorView* cGameTouch::s_actorView = nullptr;

namespace {

// Landscape point of a screen point: the promotion screen works upright.
jint landscapeX(jint /*x*/, jint y) { return y; }
jint landscapeY(jint x, jint /*y*/) { return cGame::kPortraitWidth - x; }

bool insideSoftkeySquare(jint left) {
    return cGame::isPointInBox(cGame::s_touchX, cGame::s_touchY, left, cGame::kSoftkeyY, cGame::s_softkeyTouchWidth,
                               cGame::s_softkeyTouchHeight);
}

// States where only the left square (the pause or back corner) is live, dialog or not.
bool leftSquareOnly(jint state) {
    return state == cGame::kStatePlay || state == cGame::kStateInfoPages || state == cGame::kStatePauseMenu;
}

// States whose handling leaves the pointer record for a later state: nothing of theirs reads it.
bool keepsPointerRecord(jint state) {
    return state == cGame::kStateBoot || state == cGame::kStateInit || state == cGame::kStateLoading;
}

// Soft-key squares. True when the point is in a live square (the step ends there).
bool stepSoftkeySquares() {
    jint hit = 0;
    if (leftSquareOnly(cGame::s_state)) {
        if (insideSoftkeySquare(cGame::kLeftSoftkeyX)) hit = 1;
    } else if (!cGame::s_dialogOpen) {
        if (insideSoftkeySquare(cGame::kLeftSoftkeyX))
            hit = 1;
        else if (insideSoftkeySquare(cGame::kRightSoftkeyX))
            hit = 2;
    }
    if (hit == 0) {
        cGame::s_softkeyTouched = 0;
        return false;
    }
    if (cGame::s_touchUp) {
        cGame::s_softkeyTapTimer = cGame::kSoftkeyTapDelay;
        // A tap quicker than a frame was never seen down: the lift names the square.
        cGame::s_softkeyTouched = hit;
    } else if (cGame::s_touchDown) {
        cGame::s_softkeyTouched = hit;
    }
    return true;
}

// The open dialog takes the touch: a message box closes on a lift, a question's answer rows choose.
void stepDialog() {
    if (cGame::s_dialogType == 0) {
        if (cGame::s_touchUp) cGame::touchTap(-6);
        return;
    }
    if (!cGame::s_touchDown && !cGame::s_touchUp) return;
    cGame::s_dialogChoice = -1;
    IntArray* box = Runtime::newIntArray(4);
    jint choice = -1;
    for (jint answer = 0; answer < 2 && choice < 0; ++answer) {
        if (!cGame::dialogAnswerRect(box, cGame::s_dialogTextHeight, answer)) return;
        if (cGame::touchInRect(box)) choice = answer == 0 ? 1 : 0;
    }
    if (choice < 0) return;
    cGame::s_dialogChoice = choice;
    if (cGame::s_touchUp) cGame::touchTap(-6);
}

// The screen's own handling of the record.
void stepState() {
    const jint state = cGame::s_state;
    switch (state) {
        case cGame::kStateSplash:
        case 17:
        case cGame::kStateLevelEnd:
        case cGame::kStateInfoPages:
            if (cGame::s_touchUp) cGame::touchTap(-5);
            break;
        case cGame::kStateMainMenu:
        case cGame::kStateSoundMenu:
        case cGame::kStatePauseMenu:
        case cGame::kStateSoundMenuInGame:
        case cGame::kStateLevelSelect:
        case cGame::kStateDifficultyMenu:
        case cGame::kStatePromotionQuestion:
            cGame::touchMenuRows(state);
            break;
        case cGame::kStateLossMenu:
            if (cGame::touchHeroLives() > 0)
                cGame::touchMenuRows(state);
            else if (cGame::s_touchUp)
                cGame::touchTap(-5);
            break;
        case cGame::kStatePlay:
            cGame::touchPlayButtons();
            break;
        case cGame::kStatePictureBrowser:
            cGame::touchPageArrows();
            break;
        default:
            break;
    }
}

}  // namespace

void cGame::registerActorView(const ActorView* view) { s_actorView = view; }

// Each handler also hands the landscape point to the promotion screen's handler of the same kind;
// the promotion answers nothing while its screen is not running.
void cGame::pointerPressed(jint x, jint y) {
    GameLock lock;
    s_touchDown = true;
    s_touchX = x;
    s_touchY = y;
    IGP::pointerPressed(landscapeX(x, y), landscapeY(x, y));
}

void cGame::pointerReleased(jint x, jint y) {
    GameLock lock;
    s_touchUp = true;
    s_touchX = x;
    s_touchY = y;
    IGP::pointerReleased(landscapeX(x, y), landscapeY(x, y));
}

void cGame::pointerDragged(jint x, jint y) {
    GameLock lock;
    s_touchX = x;
    s_touchY = y;
    IGP::pointerDragged(landscapeX(x, y), landscapeY(x, y));
}

bool cGame::isPointInRect(jint px, jint py, jint x0, jint y0, jint x1, jint y1) {
    return px > x0 && px < x1 && py > y0 && py < y1;
}

bool cGame::isPointInBox(jint px, jint py, jint x, jint y, jint w, jint h) {
    return px > x && px < jt::add(x, w) && py > y && py < jt::add(y, h);
}

bool cGame::isInRange(jint a, jint b, jint v) { return a > b ? (b <= v && v <= a) : (a <= v && v <= b); }

bool cGame::touchInRect(IntArray* rect) {
    if (!rect || rect->length < 4) return false;
    return isPointInRect(s_touchX, s_touchY, rect->get(0), rect->get(1), rect->get(2), rect->get(3));
}

void cGame::touchTap(jint keyCode) {
    cGame* game = s_canvas ? s_canvas : s_game;
    if (!game) return;
    game->cGame::keyPressed(keyCode);
    game->cGame::keyReleased(keyCode);
}

jint cGame::touchHeroLives() {
    HudValues values{};
    if (!s_actorView || !s_actorView->hudValues || !s_actorView->hudValues(&values)) return 0;
    return values.lives;
}

void cGame::releaseTouchButton() {
    if (!s_touchUp) return;
    if (s_touchButton >= 0) {
        const jint key = touchButtonKey(s_touchLayoutTested, s_touchButton);
        if (key != 0) {
            cGame* game = s_canvas ? s_canvas : s_game;
            if (game) game->cGame::keyReleased(key);
        }
    }
    if (s_softkeyTapTimer <= 0) s_softkeyTouched = 0;
    s_touchButton = -1;
    s_touchDown = false;
    s_touchUp = false;
    s_touchX = kTouchNone;
    s_touchY = kTouchNone;
    s_arrowTouched = 0;
}

void cGame::updateTouchInput() {
    const bool keep = keepsPointerRecord(s_state);
    auto finish = [keep] {
        if (!keep) releaseTouchButton();
    };
    if (s_softkeyTapTimer > 0) {
        s_softkeyTapTimer = jt::sub(s_softkeyTapTimer, 1);
        if (s_softkeyTapTimer <= 0) {
            if (s_softkeyTouched == 1) touchTap(-6);
            if (s_softkeyTouched == 2) touchTap(-7);
        }
        finish();
        return;
    }
    if (s_chosen != -1 && s_chosenBlink > 0) {
        finish();
        return;
    }
    if (stepSoftkeySquares()) {
        finish();
        return;
    }
    if (s_dialogOpen) {
        stepDialog();
        // The dialog takes the lift: once it closes, the same lift must not reach the screen below.
        finish();
        return;
    }
    if (keep) return;
    stepState();
    BX_RETURN_IF_PENDING();
    releaseTouchButton();
}

namespace {

const StaticStartValues kStartValues(&cGameTouch::s_actorView, &cGameTouch::s_touchX, &cGameTouch::s_touchY,
                                     &cGameTouch::s_touchDown, &cGameTouch::s_touchUp, &cGameTouch::s_touchButton,
                                     &cGameTouch::s_softkeyTouched, &cGameTouch::s_softkeyTapTimer,
                                     &cGameTouch::s_arrowTouched, &cGameTouch::s_touchLayout,
                                     &cGameTouch::s_touchLayoutTested, &cGameTouch::s_touchButtonsShown,
                                     &cGameTouch::s_softkeyTouchWidth, &cGameTouch::s_softkeyTouchHeight,
                                     &cGameTouch::s_touchLayoutImages, &cGameTouch::s_touchLayoutButtons,
                                     &cGameTouch::s_touchLayoutRects, &cGameTouch::s_hudClock);

}  // namespace

void cGameTouch::resetStatics() { kStartValues.restore(); }
