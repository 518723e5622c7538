// The menu engine's list: the items a screen installs, the scroll position and selection, up and
// down scrolling, disabling, removing and replacing items. The flags live in the working copy
// s_menuItems; the list given by the screen is never changed.
// Invariant after every operation here: 0 <= s_menuFirstRow <= menuLastFirstRow() and the selection
// is -1 or an index inside the list, so a shown or touched row (first row + i) is a real item.
#include <algorithm>

#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"
#include "sprites/bxlib_player.h"
#include "sprites/interface_frames.h"

IntArray* cGameMenus::s_menuList = nullptr;
jint cGameMenus::s_menuCount = 0;
jint cGameMenus::s_menuVisibleRows = 0;
jint cGameMenus::s_menuFirstRow = 0;
jint cGameMenus::s_menuSelection = -1;
jint cGameMenus::s_chosen = -1;
jint cGameMenus::s_chosenBlink = 0;
bool cGameMenus::s_redraw = false;
bool cGameMenus::s_promoMarkerShown = false;

namespace {

const StaticRefRegistration kStatics(CID_cGame, &cGame::s_menuList);

constexpr jint kScrollSound = 10;
constexpr jint kRememberedMenus = 8;

// Starts the arrow's animation from frame 0 unless it already runs that one.
void setArrowAnim(BXLibPlayer* player, jint anim) {
    if (player && player->anim != anim) cGame::startPlayerAnim(player, anim, 0);
}

void scrollTo(jint firstRow, BXLibPlayer* arrow, jint flash) {
    cGame::playSfx(kScrollSound);
    cGame::s_menuFirstRow = firstRow;
    setArrowAnim(arrow, flash);
    cGame::s_menuSelection = -1;
    cGame::s_redraw = true;
}

// Keeps a selection that is not cleared inside the list and the first row inside its range.
void clampToList() {
    if (cGame::s_menuSelection >= cGame::s_menuCount) cGame::s_menuSelection = cGame::s_menuCount - 1;
    cGame::s_menuFirstRow = std::clamp(cGame::s_menuFirstRow, 0, cGame::menuLastFirstRow());
}

}  // namespace

void cGame::startPlayerAnim(BXLibPlayer* player, jint anim, jint loops) {
    if (!player) return;
    player->anim = anim;
    player->frame = 0;
    player->time = 0;
    player->loops = loops;
    player->finished = 0;
}

jint cGame::menuLastFirstRow() { return std::max(0, s_menuCount - s_menuVisibleRows); }

void cGame::setMenuItems(jint menu, IntArray* items, jint visibleRows) {
    s_menuList = items;
    const jint capacity = s_menuItems ? std::min(s_menuItems->length, kMenuCapacity) : 0;
    s_menuCount = items ? std::clamp(items->length, 0, capacity) : 0;
    for (jint i = 0; i < s_menuCount; ++i) s_menuItems->set(i, items->get(i));
    initMenuList(menu, visibleRows);
    s_menuSelection = -1;
}

void cGame::initMenuList(jint menu, jint visibleRows) {
    s_menuFirstRow = 0;
    s_menuVisibleRows = visibleRows;
    jint r = 0;
    if (menu >= 0 && menu < kRememberedMenus && s_menuRemembered) r = s_menuRemembered->get(menu);
    if (r > s_menuCount || r < 0) r = 0;
    s_menuSelection = r;
    if (r > visibleRows - 1) s_menuFirstRow = r - visibleRows + 1;
    // A remembered selection equal to the count (its row was removed) would scroll past the end.
    clampToList();
    setArrowAnim(s_arrowUpPlayer, MenuSprite::kArrowUpIdleAnim);
    setArrowAnim(s_arrowDownPlayer, MenuSprite::kArrowDownIdleAnim);
}

void cGame::menuNavigate() {
    if (isKeyReleased(kKeyUp) || isKeyReleased(kKey2)) {
        scrollTo(std::max(0, s_menuFirstRow - 1), s_arrowUpPlayer, MenuSprite::kArrowUpFlashAnim);
    }
    if (isKeyReleased(kKeyDown) || isKeyReleased(kKey8)) {
        scrollTo(std::min(s_menuFirstRow + 1, menuLastFirstRow()), s_arrowDownPlayer, MenuSprite::kArrowDownFlashAnim);
    }
}

void cGame::disableMenuItem(jint id, bool remove) {
    if (!s_menuItems) return;
    const jint n = std::min(s_menuItems->length, kMenuCapacity);
    jint first = -1;
    for (jint i = 0; i < n; ++i) {
        if (s_menuItems->get(i) != id) continue;
        s_menuItems->set(i, id | kMenuDisabled);
        if (first < 0) first = i;
    }
    if (!remove || first < 0 || first >= s_menuCount) return;
    for (jint i = first; i + 1 < n; ++i) s_menuItems->set(i, s_menuItems->get(i + 1));
    s_menuCount -= 1;
    if (s_menuSelection > s_menuCount) s_menuSelection = 0;
    if (s_menuSelection > s_menuFirstRow + s_menuVisibleRows - 1) {
        s_menuFirstRow = s_menuSelection - s_menuVisibleRows + 1;
    }
    clampToList();
}

void cGame::replaceMenuItem(jint id, jint newId) {
    if (!s_menuItems) return;
    const jint n = std::min(s_menuItems->length, kMenuCapacity);
    for (jint i = 0; i < n; ++i) {
        if (s_menuItems->get(i) == id) {
            s_menuItems->set(i, newId);
            return;
        }
    }
}

namespace {

const StaticStartValues kStartValues(&cGameMenus::s_menuList, &cGameMenus::s_menuCount, &cGameMenus::s_menuVisibleRows,
                                     &cGameMenus::s_menuFirstRow, &cGameMenus::s_menuSelection, &cGameMenus::s_chosen,
                                     &cGameMenus::s_chosenBlink, &cGameMenus::s_pendingAction,
                                     &cGameMenus::s_transitionPhase, &cGameMenus::s_transitionTime,
                                     &cGameMenus::s_redraw, &cGameMenus::s_promoMarkerShown, &cGameMenus::s_dialogOpen,
                                     &cGameMenus::s_dialogType, &cGameMenus::s_dialogTextId, &cGameMenus::s_dialogText,
                                     &cGameMenus::s_wrappedText, &cGameMenus::s_dialogTextHeight,
                                     &cGameMenus::s_dialogChoice, &cGameMenus::s_dialogCancelable,
                                     &cGameMenus::s_dialogAnswered, &cGameMenus::s_softkeyLeft,
                                     &cGameMenus::s_softkeyRight, &cGameMenus::s_softkeyFlag);

}  // namespace

void cGameMenus::resetStatics() { kStartValues.restore(); }
