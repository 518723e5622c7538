// Portrait tap points for scripted runs and tests, taken from the very boxes the touch step hit-tests
// (sprite frame rectangles measured through the rotated painter), so a script never hard-codes art.
// The menu sprite and its arrow players must be loaded first (loadTapSprites, from the data file with
// its constant pool loaded, e.g. under ShippedDataTest); a point whose box cannot be measured comes
// back invalid (-1, -1).
#pragma once

#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/constant_pool.h"

struct TapPoint {
    int x = -1;
    int y = -1;
    [[nodiscard]] bool valid() const { return x >= 0 && y >= 0; }
};

namespace touchpoints {

// The middle of a box {minX, minY, maxX, maxY}; invalid for an empty one.
inline TapPoint centreOf(IntArray* rect, bool measured) {
    if (!measured || !rect || rect->get(0) >= rect->get(2) || rect->get(1) >= rect->get(3)) return {};
    return {(rect->get(0) + rect->get(2)) / 2, (rect->get(1) + rect->get(3)) / 2};
}

inline IntArray* scratch() { return Runtime::newIntArray(4); }

}  // namespace touchpoints

// The shipped menu sprite and its arrow players, as the game's start-up loads them; false when the
// interface pack does not hold them.
inline bool loadTapSprites() {
    cGamePacks::packOpen(Runtime::ldcString(cGamePacks::kInterfacePackLiteral));
    cGamePacks::loadMenuSprites();
    cGamePacks::packClose();
    return cGame::s_menuSprite && cGame::s_arrowUpPlayer && cGame::s_arrowDownPlayer;
}

// Row i of a list of `rows` visible rows centred on landscape y `centreY` (285 main menu, sound menu
// and level select; 240 pause menus; 318 difficulty; 360 loss menu and promotion question).
inline TapPoint menuRowTap(int centreY, int rows, int i) {
    IntArray* r = touchpoints::scratch();
    return touchpoints::centreOf(r, r && cGame::menuRowRect(r, centreY, rows, i));
}

// A list's scroll arrow: 0 up, 1 down.
inline TapPoint menuArrowTap(int centreY, int arrow) {
    IntArray* r = touchpoints::scratch();
    return touchpoints::centreOf(r, r && cGame::menuArrowRect(r, centreY, arrow));
}

// The soft-key squares: fixed corners of the screen.
inline TapPoint leftSoftkeyTap() {
    return {cGame::kLeftSoftkeyX + cGame::s_softkeyTouchWidth / 2, cGame::kSoftkeyY + cGame::s_softkeyTouchHeight / 2};
}
inline TapPoint rightSoftkeyTap() {
    return {cGame::kRightSoftkeyX + cGame::s_softkeyTouchWidth / 2, cGame::kSoftkeyY + cGame::s_softkeyTouchHeight / 2};
}

// A question's answer: 0 the first (text 6, "yes"), 1 the second (text 7); textHeight is the
// question's measured text height (cGame::s_dialogTextHeight once the dialog is prepared).
inline TapPoint dialogAnswerTap(int textHeight, int answer) {
    IntArray* r = touchpoints::scratch();
    return touchpoints::centreOf(r, r && cGame::dialogAnswerRect(r, textHeight, answer));
}

// The picture pages' arrows: 0 back (left), 1 forward (right).
inline TapPoint pageArrowTap(int arrow) {
    IntArray* r = touchpoints::scratch();
    return touchpoints::centreOf(r, r && cGame::pageArrowRect(r, arrow));
}
