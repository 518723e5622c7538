// The menu engine: scrolling and the arrows shown, the remembered selection on entry (kept inside
// the list when rows were removed), removing and disabling items, the chosen row's blink, and the
// screen transition's halves and actions.
#include <gtest/gtest.h>

#include <vector>

#include "promo/igp.h"
#include "tests/game/menu_fixture.h"

namespace {

constexpr jint kCentre = 240;
constexpr jint kUpArrowY = kCentre - 110, kDownArrowY = kCentre + 110;

std::vector<jint> items(jint n) {
    std::vector<jint> ids;
    for (jint i = 0; i < n; ++i) ids.push_back(57 + i);
    return ids;
}

TEST_F(MenuTest, ScrollingStopsAtTheEndsAndTheArrowsShowWhereMoreRowsAre) {
    struct Case {
        const char* name;
        jint count, visible, remembered;
        std::vector<jint> keys;  // released one a frame
        jint firstRow;
        bool upArrow, downArrow;
    };
    const Case cases[] = {
        {"two items, three rows: down does not scroll", 2, 3, 0, {2}, 0, false, false},
        {"seven items: one down", 7, 3, 0, {14}, 1, true, true},
        {"seven items: down six times stops at 4", 7, 3, 0, {2, 2, 14, 2, 2, 2}, 4, true, false},
        {"and back up past the top", 7, 3, 0, {2, 2, 1, 8, 1}, 0, false, true},
        {"remembered 5 of 7 opens at row 3", 7, 3, 5, {}, 3, true, true},
        {"remembered 2 of 7 needs no scroll", 7, 3, 2, {}, 0, false, true},
        {"remembered past the count opens at the top", 7, 3, 8, {}, 0, false, true},
        // A remembered selection equal to the count (its row was removed) stays inside the list:
        // the last page, never a wrapped row.
        {"remembered 7 of 7 opens at the last page", 7, 3, 7, {}, 4, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setItems(items(c.count), c.visible, 0, c.remembered);
        EXPECT_EQ(cGame::s_menuSelection, -1);
        for (jint k : c.keys) {
            release(k);
            cGame::menuNavigate();
            EXPECT_EQ(cGame::s_menuSelection, -1);
        }
        EXPECT_EQ(cGame::s_menuFirstRow, c.firstRow);
        const auto picture = paint([] { cGame::paintMenuList(kCentre); });
        EXPECT_EQ(shows(picture, 400, kUpArrowY, 6) || shows(picture, 400, kUpArrowY, 19), c.upArrow);
        EXPECT_EQ(shows(picture, 400, kDownArrowY, 7) || shows(picture, 400, kDownArrowY, 20), c.downArrow);
        // Every shown row is an item of the list, in order from the first row.
        const jint n = std::min(c.count, c.visible);
        EXPECT_LE(cGame::s_menuFirstRow + n, c.count);
    }
}

TEST_F(MenuTest, RowsShowTheirStateAndTheRememberedSelectionKeepsInsideTheList) {
    // initMenuList alone keeps the remembered selection: equal to the count it lands on the last row.
    setItems(items(4), 3);
    cGame::s_menuRemembered->set(1, 4);
    cGame::initMenuList(1, 3);
    EXPECT_EQ(cGame::s_menuSelection, 3);
    EXPECT_EQ(cGame::s_menuFirstRow, 1);

    cGame::s_menuItems->set(1, cGame::s_menuItems->get(1) | cGame::kMenuDisabled);
    cGame::s_menuSelection = 2;
    // Rows at 170, 240, 310 show items 1 (disabled), 2 (selected), 3.
    const auto picture = paint([] { cGame::paintMenuList(kCentre); });
    EXPECT_TRUE(shows(picture, 310, 170, 9));
    EXPECT_TRUE(shows(picture, 310, 240, 10));
    EXPECT_TRUE(shows(picture, 310, 310, 8));
    EXPECT_TRUE(shows(picture, 400, kUpArrowY, 6));
    EXPECT_FALSE(shows(picture, 400, kDownArrowY, 7));
}

TEST_F(MenuTest, RemovingItemsKeepsTheSelectionAndFirstRowInsideTheList) {
    struct Case {
        const char* name;
        jint count, firstRow, selection, remove;
        bool removes;
        std::vector<jint> after;  // the first items afterwards (flags included)
        jint selectionAfter, firstRowAfter, countAfter;
    };
    const jint off = cGame::kMenuDisabled;
    const Case cases[] = {
        {"disable only flags the item", 3, 0, 1, 58, false, {57, 58 | off, 59}, 1, 0, 3},
        {"remove a middle item", 4, 0, 1, 58, true, {57, 59, 60}, 1, 0, 3},
        {"an id not in the list removes nothing", 4, 0, 3, 99, true, {57, 58, 59, 60}, 3, 0, 4},
        // The selected last row removed: the selection equals the new count and would name a stale
        // entry; it moves to the row that is now last.
        {"remove the selected last item", 4, 1, 3, 60, true, {57, 58, 59}, 2, 0, 3},
        {"a selection past the new count goes to the top", 3, 0, 4, 57, true, {58, 59}, 0, 0, 2},
        {"the first row comes back when the list got shorter", 7, 4, -1, 57, true, {58, 59, 60}, -1, 3, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setItems(items(c.count), 3);
        cGame::s_menuFirstRow = c.firstRow;
        cGame::s_menuSelection = c.selection;
        cGame::disableMenuItem(c.remove, c.removes);
        for (size_t i = 0; i < c.after.size(); ++i) EXPECT_EQ(cGame::s_menuItems->get(static_cast<jint>(i)), c.after[i]) << i;
        EXPECT_EQ(cGame::s_menuSelection, c.selectionAfter);
        EXPECT_EQ(cGame::s_menuFirstRow, c.firstRowAfter);
        EXPECT_EQ(cGame::s_menuCount, c.countAfter);
    }
    // replaceMenuItem swaps the first match only.
    setItems({27, 29, 27}, 3);
    cGame::replaceMenuItem(27, 28);
    EXPECT_EQ(cGame::s_menuItems->get(0), 28);
    EXPECT_EQ(cGame::s_menuItems->get(2), 27);
}

// The special row carries the promotion marker while the promotion is unvisited: the badge turned
// upright once, its top-right corner at screen (490 - y, 650).
TEST_F(MenuTest, TheSpecialRowShowsThePromotionMarker) {
    using Image = javax_microedition_lcdui_Image;
    Image* badge = Image::createImage(30, 10);
    Graphics* bg = badge->getGraphics();
    bg->setColor(static_cast<jint>(0xFFF80000));
    bg->fillRect(0, 0, 30, 10);
    cGame::s_screenImages = Runtime::newObjectArray(CID_javax_microedition_lcdui_Image, 2);
    cGame::s_screenImages->set(0, badge);
    setItems({57, 58 | cGame::kMenuSpecial}, 3);  // rows at 205 and 275
    const uint16_t red = Graphics::toRGB565(0xFFF80000);
    struct Case {
        bool available, visited;
        bool shown;
    };
    for (const Case c : {Case{true, false, true}, Case{false, false, false}, Case{true, true, false}}) {
        SCOPED_TRACE(testing::Message() << c.available << c.visited);
        IGP::s_available = c.available;
        IGP::s_visited = c.visited;
        IGP::s_visitedChecked = true;
        IGP::s_markerVisible = false;  // the first call toggles it on
        IGP::s_markerToggleTime = 0;
        Image* s = screen(kBack);
        cGame::s_g = s->getGraphics();
        cGame::paintMenuList(kCentre);
        cGame::s_g = nullptr;
        EXPECT_EQ(cGame::s_promoMarkerShown, c.shown);
        const Surface565 p = s->pixels565();
        auto px = [&](int x, int y) { return p.pixels[y * p.pitch + x]; };
        // Upright the badge is 10 wide and 30 tall: x 205..214, y 650..679 of the portrait screen.
        EXPECT_EQ(px(490 - 275 - 5, 665) == red, c.shown);
        EXPECT_NE(px(490 - 275 - 5, 649), red);
        EXPECT_NE(px(490 - 275 + 1, 665), red);
    }
    auto* upright = static_cast<Image*>(cGame::s_screenImages->get(0));
    EXPECT_EQ(upright->getWidth(), 10);
    EXPECT_EQ(upright->getHeight(), 30);
    IGP::s_available = false;
    IGP::s_visited = IGP::s_visitedChecked = false;
}

TEST_F(MenuTest, AChosenRowBlinksForFourPaintedFrames) {
    setItems(items(3), 3);
    cGame::s_menuSelection = 1;
    cGame::s_chosen = 58;
    cGame::s_chosenBlink = cGame::kBlinkFrames;
    std::vector<int> frames;
    for (int i = 0; i < 6; ++i) {
        const auto picture = paint([] { cGame::paintMenuList(kCentre); });
        frames.push_back(shows(picture, 310, kCentre, 10) ? 10 : shows(picture, 310, kCentre, 8) ? 8 : -1);
    }
    EXPECT_EQ(frames, (std::vector<int>{8, 10, 8, 10, 10, 10}));
    EXPECT_EQ(cGame::s_chosenBlink, 0);
}

TEST_F(MenuTest, TheTransitionClosesPerformsAndOpensInHalvesOf300Ms) {
    struct Case {
        jint action;
        jint nextState;  // requested state, -1 none
        bool dialogOpen, opens;
    };
    const Case cases[] = {
        {cGame::kActionLoad, cGame::kStateLoading, false, false},
        {cGame::kActionOpenDialog, -1, true, true},
        {cGame::kActionCloseDialog, -1, false, true},
        {cGame::kActionLoadTarget, 21, false, false},
        {cGame::kActionReopen, -1, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        cGame::resetStateMachine();
        cGame::s_loadTarget = 21;
        cGame::s_dialogOpen = c.action == cGame::kActionCloseDialog;
        cGame::s_transitionPhase = 0;
        cGame::s_transitionTime = cGame::kTransitionHalf;
        cGame::s_pendingAction = c.action;
        cGame::s_chosen = 58;
        release(-1);
        // Closing: 50 ms a frame, the half ends in the sixth frame.
        for (int f = 0; f < 5; ++f) {
            EXPECT_FALSE(cGame::updateTransition(true));
            EXPECT_EQ(cGame::s_transitionPhase, -1);
            EXPECT_EQ(cGame::s_transitionPlayer->anim, 1);
        }
        EXPECT_EQ(cGame::s_nextState, -1);
        EXPECT_TRUE(cGame::updateTransition(true));
        EXPECT_EQ(cGame::s_transitionTime, 0);
        EXPECT_EQ(cGame::s_pendingAction, 0);
        EXPECT_EQ(cGame::s_chosen, -1);
        EXPECT_EQ(cGame::s_transitionPlayer->anim, 0);
        EXPECT_EQ(cGame::s_nextState, c.nextState);
        EXPECT_EQ(cGame::s_dialogOpen, c.dialogOpen);
        EXPECT_EQ(cGame::s_transitionPhase, c.opens ? 1 : 0);
        if (!c.opens) continue;
        // Opening: true once the time passes 300 (the seventh frame), held at 300.
        for (int f = 0; f < 6; ++f) EXPECT_FALSE(cGame::updateTransition(true));
        EXPECT_TRUE(cGame::updateTransition(true));
        EXPECT_EQ(cGame::s_transitionTime, cGame::kTransitionHalf);
        EXPECT_EQ(cGame::s_transitionPhase, 0);
        EXPECT_FALSE(cGame::updateTransition(true));
    }
    cGame::resetStateMachine();

    // Without perform the action is dropped; the right soft key closes without the closing animation.
    cGame::startPlayerAnim(cGame::s_transitionPlayer, 2, -2);
    cGame::s_pendingAction = cGame::kActionOpenDialog;
    cGame::s_transitionTime = 100;
    release(19);
    EXPECT_FALSE(cGame::updateTransition(false));
    EXPECT_EQ(cGame::s_transitionPlayer->anim, 2);
    release(-1);
    EXPECT_TRUE(cGame::updateTransition(false));
    EXPECT_FALSE(cGame::s_dialogOpen);
    EXPECT_EQ(cGame::s_transitionPhase, 0);
    EXPECT_EQ(cGame::s_pendingAction, 0);
    EXPECT_EQ(cGame::s_transitionPlayer->anim, 0);
}

}  // namespace
