// The play screen's touch buttons: six layouts of the touch-button sprite, the layout chosen each frame
// from the level and the hero, and buttons that hold a keypad key while the finger rests on them.
// The hero is reached through the actors' registered view; without it the layout rules run with no
// hero (layout 0, or 1 on the alternate player's levels).
#include <iterator>

#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/class_ids.h"
#include "runtime/compiled.h"
#include "runtime/log.h"
#include "runtime/static_class.h"
#include "sprites/bsprite.h"

ObjectArray* cGameTouch::s_touchLayoutImages = nullptr;
ObjectArray* cGameTouch::s_touchLayoutButtons = nullptr;
ObjectArray* cGameTouch::s_touchLayoutRects = nullptr;

namespace {

const StaticRefRegistration kLayoutStatics(CID_cGame, &cGame::s_touchLayoutImages, &cGame::s_touchLayoutButtons,
                                           &cGame::s_touchLayoutRects);

constexpr jint kImageRow = 3, kButtonRow = 4;

// Idle drawing rows {frame, x, y} per layout.
constexpr jint kImages0[] = {0, 150, 325, 2, 800, 480};
constexpr jint kImages1[] = {17, 0, 240, 15, 800, 240, 24, 0, 480, 19, 800, 480};
constexpr jint kImages2[] = {17, 0, 240, 15, 800, 240, 3, 800, 480};
constexpr jint kImages3[] = {1, 150, 325, 26, 800, 480};
constexpr jint kImages4[] = {22, 800, 480};
constexpr jint kImages5[] = {0, 150, 325};

// Buttons {frame, x, y, device key} per layout; the first box holding the point wins.
constexpr jint kButtons0[] = {4,  150, 325, '2', 5,  150, 325, '8', 6,  150, 325, '4', 7,  150, 325, '6',
                              8,  150, 325, '1', 9,  150, 325, '7', 10, 150, 325, '3', 11, 150, 325, '9',
                              12, 800, 480, '0', 13, 800, 480, '5'};
constexpr jint kButtons1[] = {18, 0, 240, '4', 16, 800, 240, '6', 25, 0, 480, '8', 20, 800, 480, '5'};
constexpr jint kButtons2[] = {18, 0, 240, '4', 16, 800, 240, '6', 14, 800, 480, '5'};
constexpr jint kButtons3[] = {4, 150, 325, '2', 5, 150, 325, '8', 6, 150, 325, '4', 7, 150, 325, '6', 27, 800, 480, '5'};
constexpr jint kButtons4[] = {22, 800, 480, '5'};
constexpr jint kButtons5[] = {4, 150, 325, '2', 5, 150, 325, '8', 6,  150, 325, '4', 7,  150, 325, '6',
                              8, 150, 325, '1', 9, 150, 325, '7', 10, 150, 325, '3', 11, 150, 325, '9'};

struct Table {
    const jint* data;
    jint length;
};
template <size_t N>
constexpr Table table(const jint (&a)[N]) {
    return {a, static_cast<jint>(N)};
}
constexpr Table kImages[] = {table(kImages0), table(kImages1), table(kImages2),
                             table(kImages3), table(kImages4), table(kImages5)};
constexpr Table kButtons[] = {table(kButtons0), table(kButtons1), table(kButtons2),
                              table(kButtons3), table(kButtons4), table(kButtons5)};
static_assert(std::size(kImages) == cGame::kTouchLayoutCount && std::size(kButtons) == cGame::kTouchLayoutCount);

constexpr jint kHeroLevel8Special1 = 105, kHeroLevel8Special2 = 111, kHeroSingleButton = 138, kHeroInSubmarine = 137;

// Each layout's rows into a new int[] inside `tables` (stored before it is filled).
bool makeTables(ObjectArray*& tables, const Table (&source)[cGame::kTouchLayoutCount]) {
    tables = Runtime::newObjectArray(CID_IntArray, cGame::kTouchLayoutCount);
    if (!tables) return false;
    for (jint l = 0; l < cGame::kTouchLayoutCount; ++l) {
        IntArray* rows = Runtime::newIntArray(source[l].length);
        if (!rows) return false;
        tables->set(l, rows);
        for (jint i = 0; i < source[l].length; ++i) rows->set(i, source[l].data[i]);
    }
    return true;
}

IntArray* buttonsOf(jint layout) {
    if (!cGame::s_touchLayoutButtons || layout < 0 || layout >= cGame::s_touchLayoutButtons->length) return nullptr;
    return static_cast<IntArray*>(cGame::s_touchLayoutButtons->get(layout));
}

IntArray* rectOf(jint layout, jint button) {
    if (!cGame::s_touchLayoutRects || layout < 0 || layout >= cGame::s_touchLayoutRects->length) return nullptr;
    auto* rects = static_cast<ObjectArray*>(cGame::s_touchLayoutRects->get(layout));
    if (!rects || button < 0 || button >= rects->length) return nullptr;
    return static_cast<IntArray*>(rects->get(button));
}

cGame* canvas() { return cGame::s_canvas ? cGame::s_canvas : cGame::s_game; }

void press(jint key) {
    if (cGame* game = canvas()) game->cGame::keyPressed(key);
}

void release(jint key) {
    if (cGame* game = canvas()) game->cGame::keyReleased(key);
}

// The layout the rules choose this frame, and whether the buttons show.
jint chooseLayout(bool& shown) {
    const cGame::ActorView* hero = cGame::s_actorView;
    jint layout = 0;
    shown = true;
    if (hero && hero->heroState) {
        const jint state = hero->heroState();
        if (cGame::s_level == 8 && (state == kHeroLevel8Special1 || state == kHeroLevel8Special2)) layout = 2;
        if (!cGame::s_altPlayerLevel) {
            if (state == kHeroSingleButton) layout = 4;
            if (state == kHeroInSubmarine) shown = false;
        }
    }
    if (cGame::s_altPlayerLevel) layout = 1;
    if (hero && hero->heroBasicMode && hero->heroBasicMode()) layout = 5;
    return layout;
}

// The finger steers the submarine the hero rides and holds fire.
void steerSubmarine() {
    const cGame::ActorView* hero = cGame::s_actorView;
    if (cGame::s_touchDown && !cGame::s_touchUp) {
        const jint angle = cGame::atan2(jt::sub(400, cGame::s_touchY), jt::sub(cGame::s_touchX, 240));
        if (hero && hero->steerSubmarine) hero->steerSubmarine(angle);
        press('5');
    } else if (cGame::s_touchUp) {
        release('5');
    }
}

}  // namespace

void cGame::initTouchLayouts() {
    s_touchX = s_touchY = kTouchNone;
    s_touchDown = s_touchUp = false;
    s_touchButton = -1;
    s_softkeyTapTimer = 0;
    s_softkeyTouched = 0;
    s_arrowTouched = 0;
    s_touchLayout = s_touchLayoutTested = 0;
    s_softkeyTouchWidth = s_softkeyTouchHeight = 80;
    s_touchLayoutRects = nullptr;
    if (!makeTables(s_touchLayoutImages, kImages) || !makeTables(s_touchLayoutButtons, kButtons))
        Log::error("cGame: no memory for the touch layouts");
}

jint cGame::touchButtonKey(jint layout, jint button) {
    IntArray* rows = buttonsOf(layout);
    const jint at = button * kButtonRow + 3;
    if (!rows || button < 0 || at >= rows->length) return 0;
    return rows->get(at);
}

void cGame::buildTouchLayoutRects(Bsprite* touchSprite) {
    if (s_touchLayoutRects || !touchSprite || !s_touchLayoutButtons) return;
    ObjectArray* layouts = Runtime::newObjectArray(CID_ObjectArray, kTouchLayoutCount);
    BX_RETURN_IF_NULL(layouts);
    for (jint l = 0; l < kTouchLayoutCount; ++l) {
        IntArray* rows = buttonsOf(l);
        const jint n = rows ? rows->length / kButtonRow : 0;
        ObjectArray* rects = Runtime::newObjectArray(CID_IntArray, n);
        BX_RETURN_IF_NULL(rects);
        layouts->set(l, rects);
        for (jint b = 0; b < n; ++b) {
            IntArray* rect = Runtime::newIntArray(4);
            BX_RETURN_IF_NULL(rect);
            rects->set(b, rect);
            rows = buttonsOf(l);
            touchSprite->GetFrameRect(rect, rows->get(b * kButtonRow), rows->get(b * kButtonRow + 1),
                                      rows->get(b * kButtonRow + 2), 0);
            BX_RETURN_IF_PENDING();
        }
    }
    // Stored only when whole: a half-built table would be taken as built.
    s_touchLayoutRects = layouts;
}

void cGame::setTouchLayout(jint layout) {
    if (s_touchButton >= 0 && layout != s_touchLayoutTested) {
        const jint key = touchButtonKey(s_touchLayoutTested, s_touchButton);
        if (key != 0) release(key);
        s_touchButton = -1;
    }
    s_touchLayout = layout;
}

void cGame::touchPlayButtons() {
    bool shown = true;
    const jint layout = chooseLayout(shown);
    setTouchLayout(layout);
    s_touchButtonsShown = shown;
    if (!shown) {
        steerSubmarine();
        return;
    }
    s_touchLayoutTested = s_touchLayout;
    IntArray* rows = buttonsOf(s_touchLayout);
    const jint n = rows ? rows->length / kButtonRow : 0;
    for (jint b = 0; b < n; ++b) {
        if (!touchInRect(rectOf(s_touchLayout, b))) continue;
        if (s_touchUp) {
            if (s_touchButton >= 0) release(touchButtonKey(s_touchLayout, s_touchButton));
            s_touchButton = -1;
            return;
        }
        if (s_touchButton >= 0 && s_touchButton != b) release(touchButtonKey(s_touchLayout, s_touchButton));
        press(rows->get(b * kButtonRow + 3));
        s_touchButton = b;
        const jint frame = rows->get(b * kButtonRow);
        const ActorView* hero = s_actorView;
        // Pressing down while rising stops the climb at once.
        if ((frame == 5 || frame == 9 || frame == 11) && hero && hero->heroSpeedY && hero->heroSpeedY() < 0 &&
            hero->stopHero)
            hero->stopHero();
        return;
    }
    if (s_touchDown) {
        clearKeys();
        s_touchButton = -1;
    }
}
