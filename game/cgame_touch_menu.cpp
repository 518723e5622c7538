// Touch on the menu screens: rows, scroll arrows, a question's answers and the picture pages' arrows,
// each hit-tested against the screen box of the sprite frame the painter draws there.
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"
#include "sprites/interface_frames.h"

namespace {

constexpr jint kRowX = 400;
constexpr jint kRowPitch = 70;
constexpr jint kArrowOffset = 110;
constexpr jint kPageLeftX = 330, kPageRightX = 470, kPageArrowY = 418;
constexpr jint kAnswerPitch = 80;

// Landscape y of each menu screen's list centre; 0 for a state without a list.
jint listCentre(jint state) {
    switch (state) {
        case cGame::kStateMainMenu:
        case cGame::kStateSoundMenu:
        case cGame::kStateLevelSelect:
            return 285;
        case cGame::kStatePauseMenu:
        case cGame::kStateSoundMenuInGame:
            return 240;
        case cGame::kStateDifficultyMenu:
            return 318;
        case cGame::kStateLossMenu:
        case cGame::kStatePromotionQuestion:
            return 360;
        default:
            return 0;
    }
}

bool measure(ASprite* sprite, IntArray* rect, jint frame, jint x, jint y) {
    if (!sprite || !rect || rect->length < 4) return false;
    sprite->GetFrameRect(rect, frame, x, y, 0);
    return true;
}

// A row's box: the menu sprite's row frame, or the plain row drawn in its place when the sprite is
// missing (landscape (x - w/2, y - h/2, w, h) turned onto the portrait screen).
bool measureRow(IntArray* rect, jint x, jint y) {
    if (cGame::s_menuSprite) return measure(cGame::s_menuSprite, rect, MenuSprite::kRowFrame, x, y);
    if (!rect || rect->length < 4) return false;
    const jint left = x - cGame::kPlainRowWidth / 2, top = y - cGame::kPlainRowHeight / 2;
    rect->set(0, cGame::kPortraitWidth - top - cGame::kPlainRowHeight);
    rect->set(1, left);
    rect->set(2, cGame::kPortraitWidth - top);
    rect->set(3, left + cGame::kPlainRowWidth);
    return true;
}

ASprite* playerSprite(BXLibPlayer* player) { return player ? player->sprite : nullptr; }

jint visibleRows() {
    return cGame::s_menuCount < cGame::s_menuVisibleRows ? cGame::s_menuCount : cGame::s_menuVisibleRows;
}

// The item under row i: its index, or -1 when the index lies past the list (a list whose rows were
// removed under a remembered scroll position): such a row chooses nothing.
jint rowItem(jint i) {
    const jint index = jt::add(cGame::s_menuFirstRow, i);
    if (index < 0 || index >= cGame::s_menuCount || !cGame::s_menuItems || index >= cGame::s_menuItems->length)
        return -1;
    return index;
}

bool disabled(jint index) { return (cGame::s_menuItems->get(index) & cGame::kMenuDisabled) != 0; }

}  // namespace

bool cGame::menuRowRect(IntArray* rect, jint centre, jint rows, jint i) {
    const jint y0 = centre - (rows - 1) * (kRowPitch / 2);
    return measureRow(rect, kRowX, y0 + kRowPitch * i);
}

bool cGame::menuArrowRect(IntArray* rect, jint centre, jint arrow) {
    if (arrow == 0)
        return measure(playerSprite(s_arrowUpPlayer), rect, MenuSprite::kArrowUpFrame, kRowX, centre - kArrowOffset);
    return measure(playerSprite(s_arrowDownPlayer), rect, MenuSprite::kArrowDownFrame, kRowX, centre + kArrowOffset);
}

bool cGame::dialogAnswerRect(IntArray* rect, jint textHeight, jint answer) {
    const jint h = textHeight;
    const jint y = ((h >> 1) + 191) * 2 - ((h + 284) >> 1);
    if (!measureRow(rect, kRowX, y)) return false;
    if (answer != 0) {
        // The second answer sits 80 landscape pixels lower: 80 to the left on the screen.
        rect->set(0, jt::sub(rect->get(0), kAnswerPitch));
        rect->set(2, jt::sub(rect->get(2), kAnswerPitch));
    }
    return true;
}

bool cGame::pageArrowRect(IntArray* rect, jint arrow) {
    if (arrow == 0)
        return measure(playerSprite(s_arrowUpPlayer), rect, MenuSprite::kPageLeftFrame, kPageLeftX, kPageArrowY);
    return measure(playerSprite(s_arrowDownPlayer), rect, MenuSprite::kPageRightFrame, kPageRightX, kPageArrowY);
}

void cGame::touchMenuRows(jint state) {
    const jint centre = listCentre(state);
    s_arrowTouched = 0;
    if (!s_touchDown && !s_touchUp) return;
    s_menuSelection = -1;
    IntArray* box = Runtime::newIntArray(4);
    const jint n = visibleRows();
    for (jint i = 0; i < n; ++i) {
        if (!menuRowRect(box, centre, n, i)) return;
        if (!touchInRect(box)) continue;
        const jint index = rowItem(i);
        if (index < 0 || disabled(index)) return;
        s_menuSelection = index;
        if (s_touchUp) touchTap(-5);
        return;
    }
    if (s_menuCount <= s_menuVisibleRows) return;
    const bool upShown = !s_touchUp || s_menuFirstRow > 0;
    const bool downShown = !s_touchUp || s_menuFirstRow < s_menuCount - s_menuVisibleRows;
    if (upShown && menuArrowRect(box, centre, 0) && touchInRect(box)) {
        if (s_touchUp)
            touchTap(-1);
        else
            s_arrowTouched = 1;
    } else if (downShown && menuArrowRect(box, centre, 1) && touchInRect(box)) {
        if (s_touchUp)
            touchTap(-2);
        else
            s_arrowTouched = 2;
    }
}

void cGame::touchPageArrows() {
    if (!s_touchDown && !s_touchUp) return;
    IntArray* box = Runtime::newIntArray(4);
    for (jint arrow = 0; arrow < 2; ++arrow) {
        if (!pageArrowRect(box, arrow) || !touchInRect(box)) continue;
        if (!s_touchUp) {
            s_arrowTouched = arrow + 1;
        } else if (arrow == 0) {
            touchTap('4');
            s_arrowUpPlayer->SetAnim(MenuSprite::kPageLeftPressAnim, 1);
        } else {
            touchTap('6');
            s_arrowDownPlayer->SetAnim(MenuSprite::kPageRightPressAnim, 1);
        }
        return;
    }
}
