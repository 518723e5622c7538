// Browsing the promotion by keys and by the stylus over the shipped resource: pages left and right
// around the available items, the pressed-arrow hold, list selection and scrolling, hitTest's
// borders (strict for the button, rows and arrows, inclusive for the soft key's band), the pointer
// handlers' press, drag and release, and a visit's end, after which the stylus reaches nothing.
#include "tests/promo/promo_screen_fixture.h"

namespace {

// Press and release at one point, a frame between them as the game runs them.
void tap(jint x, jint y) {
    IGP::pointerPressed(x, y);
    IGP::pointerReleased(x, y);
}

}  // namespace

TEST_F(PromoScreenTest, PagesStepAroundTheAvailableItems) {
    openScreen();
    finishLoad();
    // Shipped: 0-2 titles, 3 special, 4 and 5 lists, 6 portal, all available.
    ASSERT_EQ(IGP::s_itemCount, 7);
    struct Step {
        const char* what;
        jint action;
        int paintsAfter;
        jint item;
    };
    const Step steps[] = {
        {"right", IGP::kActionRight, 5, 1},
        {"right again once the arrow was shown pressed", IGP::kActionRight, 5, 2},
        {"left", IGP::kActionLeft, 0, 1},
        {"right while the left arrow is still pressed sets the page up again only", IGP::kActionRight, 4, 1},
        {"still pressed after four frames", IGP::kActionRight, 1, 1},
        {"released after the fifth", IGP::kActionRight, 5, 2},
        {"left", IGP::kActionLeft, 5, 1},
        {"left", IGP::kActionLeft, 5, 0},
        {"left wraps to the last item", IGP::kActionLeft, 5, 6},
        {"right wraps to the first", IGP::kActionRight, 5, 0},
        {"up on a page without a list", IGP::kActionUp, 1, 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        ASSERT_FALSE(IGP::update(s.action));
        EXPECT_EQ(IGP::s_currentItem, s.item);
        for (int frame = 0; frame < s.paintsAfter; ++frame) IGP::paint(g);
    }
    // Unavailable items are stepped over; with one item left nothing moves.
    IGP::s_itemAvailable->set(1, false);
    IGP::s_itemAvailable->set(2, false);
    ASSERT_FALSE(IGP::update(IGP::kActionRight));
    EXPECT_EQ(IGP::s_currentItem, 3);
    for (int frame = 0; frame < 5; ++frame) IGP::paint(g);
    ASSERT_FALSE(IGP::update(IGP::kActionLeft));
    EXPECT_EQ(IGP::s_currentItem, 0);
    IGP::s_availableCount = 1;
    for (int frame = 0; frame < 5; ++frame) IGP::paint(g);
    ASSERT_FALSE(IGP::update(IGP::kActionLeft));
    EXPECT_EQ(IGP::s_currentItem, 0);
}

TEST_F(PromoScreenTest, HitTestBordersOnATitlePage) {
    openScreen();
    finishLoad();
    showItem(0);
    const jint bx = IGP::s_buttonX, by = IGP::s_buttonY, bw = IGP::s_buttonWidth, bh = IGP::s_buttonHeight;
    // Shipped pictures: page arrows 40 x 64, soft key 88 x 64.
    const jint aw = 40, ah = 64, kw = 88, kh = 64;
    struct Hit {
        const char* what;
        jint x, y, action;
    };
    const Hit hits[] = {
        {"button inside", bx + 1, by + 1, IGP::kActionStylusSelect},
        {"button far corner inside", bx + bw - 1, by + bh - 1, IGP::kActionStylusSelect},
        {"button left edge", bx, by + 1, 0},
        {"button top edge", bx + 1, by, 0},
        {"button right edge", bx + bw, by + 1, 0},
        {"left arrow", 1, 240, IGP::kActionLeft},
        {"left arrow band's top edge", 20, 240 - ah, 0},
        {"left arrow band inside its top", 20, 240 - ah + 1, IGP::kActionLeft},
        {"left arrow band's right edge", 2 * aw, 240, 0},
        {"x 0 is no point", 0, 240, 0},
        {"right arrow", 800 - 2 * aw + 1, 240, IGP::kActionRight},
        {"right arrow band's left edge", 800 - 2 * aw, 240, 0},
        {"right arrow at the screen's edge", 799, 240 + ah - 1, IGP::kActionRight},
        {"right arrow band's bottom edge", 799, 240 + ah, 0},
        {"soft key", 800 - 3, 480 - 3, IGP::kActionBack},
        {"soft key band's top row counts", 800 - 3, 480 - 2 * kh, IGP::kActionBack},
        {"above the soft key band", 800 - 3, 480 - 2 * kh - 1, 0},
        {"soft key's right edge", 800 - 2, 470, 0},
        {"soft key's left edge", 800 - 2 * kw - 2, 470, 0},
        {"soft key inside its left edge", 800 - 2 * kw - 1, 470, IGP::kActionBack},
        {"the left soft key does nothing", 10, 470, 0},
        {"y 0 is no point", 799, 0, 0},
    };
    for (const Hit& h : hits) EXPECT_EQ(IGP::hitTest(h.x, h.y), h.action) << h.what;

    // Nothing answers while loading or once the screen stops running.
    IGP::s_state = IGP::kStateLoading;
    EXPECT_EQ(IGP::hitTest(bx + 1, by + 1), 0);
    IGP::s_state = IGP::kStateBrowsing;
    IGP::s_running = false;
    EXPECT_EQ(IGP::hitTest(bx + 1, by + 1), 0);
}

TEST_F(PromoScreenTest, ListRowsAreSelectedByTheFirstTouchAndChosenByTheNext) {
    openScreen();
    finishLoad();
    showItem(IGP::s_listItem1);
    ASSERT_TRUE(IGP::s_listMode);
    ASSERT_EQ(IGP::s_listLength, 3);
    ASSERT_EQ(IGP::s_listVisibleRows, 3);
    const jint x = IGP::s_rowBoxX + 1, top = IGP::s_rowsTop, rh = IGP::s_rowHeight;
    struct Touch {
        const char* what;
        jint x, y;
        jint action, selection;
    };
    const Touch touches[] = {
        {"the selected row chooses", x, top + 1, IGP::kActionSelect, 0},
        {"another row only selects", x, top + rh + 1, 0, 1},
        {"then it chooses", x, top + 2 * rh - 1, IGP::kActionSelect, 1},
        {"the border between rows is neither", 400, top + rh, 0, 1},
        {"the row box's left edge is the left page arrow's", IGP::s_rowBoxX, top + 2 * rh + 1, IGP::kActionLeft, 1},
        {"the row box's right edge is the right page arrow's", IGP::s_rowBoxX + IGP::s_rowBoxWidth, top + 2 * rh + 1,
         IGP::kActionRight, 1},
        {"a row wins over the page arrow beside it", IGP::s_rowBoxX + IGP::s_rowBoxWidth - 1, top + 2 * rh + 1, 0, 2},
        {"below the rows", x, top + 3 * rh + 1, 0, 2},
    };
    for (const Touch& t : touches) {
        EXPECT_EQ(IGP::hitTest(t.x, t.y), t.action) << t.what;
        EXPECT_EQ(IGP::s_listSelection, t.selection) << t.what;
    }
    // Keys move the selection within the list.
    ASSERT_FALSE(IGP::update(IGP::kActionDown));
    EXPECT_EQ(IGP::s_listSelection, 2);
    for (int i = 0; i < 4; ++i) ASSERT_FALSE(IGP::update(IGP::kActionUp));
    EXPECT_EQ(IGP::s_listSelection, 0);
    EXPECT_EQ(IGP::s_listScroll, 0);

    // One tap on an unselected row: selected at the press, chosen at the release.
    IGP::paint(g);
    tap(x, top + rh + rh / 2);
    EXPECT_EQ(IGP::s_listSelection, 1);
    EXPECT_EQ(IGP::s_pressedAction, 0);
    ASSERT_FALSE(IGP::update(0));
    EXPECT_EQ(IGP::s_state.load(), IGP::kStateLaunching);
}

TEST_F(PromoScreenTest, ListsScrollWhenTheirRowsDoNotFit) {
    // 300 high: the heading, the text and the soft key leave room for one row of three.
    openScreen(800, 300);
    finishLoad();
    showItem(IGP::s_listItem0);
    ASSERT_EQ(IGP::s_listVisibleRows, 1);
    ASSERT_EQ(IGP::s_listLength, 3);
    struct Move {
        const char* what;
        bool byStylus;
        jint action;  // a key's action, or the arrow tapped
        jint selection, scroll;
    };
    const Move moves[] = {
        {"down by key", false, IGP::kActionDown, 1, 1},
        {"down by the arrow", true, IGP::kActionDown, 2, 2},
        {"down at the end", false, IGP::kActionDown, 2, 2},
        {"up by the arrow", true, IGP::kActionUp, 1, 1},
        {"up by key", false, IGP::kActionUp, 0, 0},
        {"up at the top", false, IGP::kActionUp, 0, 0},
    };
    for (const Move& m : moves) {
        SCOPED_TRACE(m.what);
        IGP::paint(g);
        if (m.byStylus) {
            const jint y = m.action == IGP::kActionUp ? IGP::s_upArrowY : IGP::s_downArrowY;
            IGP::pointerPressed(400, y);
            EXPECT_EQ(IGP::s_pressedAction, m.action);
            IGP::paint(g);  // the arrow highlighted while held
            IGP::pointerReleased(400, y);
            ASSERT_FALSE(IGP::update(0));
        } else {
            ASSERT_FALSE(IGP::update(m.action));
        }
        EXPECT_EQ(IGP::s_listSelection, m.selection);
        EXPECT_EQ(IGP::s_listScroll, m.scroll);
    }
    // The arrows answer only towards rows that exist, and only in their band across the middle.
    IGP::paint(g);
    EXPECT_EQ(IGP::hitTest(400, IGP::s_upArrowY), 0) << "nothing above the first row";
    EXPECT_EQ(IGP::hitTest(400, IGP::s_downArrowY), IGP::kActionDown);
    EXPECT_EQ(IGP::hitTest(3 * 88 / 2 + 2, IGP::s_downArrowY), 0);
    EXPECT_EQ(IGP::hitTest(3 * 88 / 2 + 3, IGP::s_downArrowY), IGP::kActionDown);
    ASSERT_FALSE(IGP::update(IGP::kActionDown));
    setTime(1600);
    IGP::paint(g);
    expectGolden("list_scrolled");
}

TEST_F(PromoScreenTest, PointerPressDragReleaseAndTheEndOfAVisit) {
    openScreen();
    finishLoad();
    setTime(2200);  // the button's hidden half
    showItem(0);
    const jint bx = IGP::s_buttonX + 2, by = IGP::s_buttonY + 2;
    IGP::pointerPressed(bx, by);
    EXPECT_EQ(IGP::s_pressedAction, IGP::kActionStylusSelect);
    IGP::paint(g);
    EXPECT_EQ(rgbAt(IGP::s_buttonX, IGP::s_buttonY), as565(0x5800F2)) << "held, the button shows pressed";
    // Dragged off the button: nothing is held, and letting go there chooses nothing.
    IGP::pointerDragged(bx, 5);
    EXPECT_EQ(IGP::s_pressedAction, 0);
    IGP::pointerReleased(bx, 5);
    ASSERT_FALSE(IGP::update(0));
    EXPECT_EQ(IGP::s_state.load(), IGP::kStateBrowsing);
    // Dragged onto the left arrow and let go: the page steps left.
    IGP::pointerDragged(10, 240);
    EXPECT_EQ(IGP::s_pressedAction, IGP::kActionLeft);
    IGP::pointerReleased(10, 240);
    EXPECT_EQ(IGP::s_pressedAction, 0);
    ASSERT_FALSE(IGP::update(IGP::kActionRight)) << "the stylus's action wins over the key's";
    EXPECT_EQ(IGP::s_currentItem, IGP::s_portalItem);

    // The soft key ends the visit; after it the stylus reaches nothing of what was freed.
    tap(790, 470);
    EXPECT_FALSE(IGP::update(0));
    EXPECT_EQ(IGP::s_state.load(), IGP::kStateFinished);
    EXPECT_TRUE(IGP::update(0));
    EXPECT_FALSE(IGP::s_running.load());
    EXPECT_EQ(IGP::s_fixedImages, nullptr);
    for (jint x : {1, 10, 400, 790})
        for (jint y : {1, 240, 470}) {
            IGP::pointerPressed(x, y);
            IGP::pointerDragged(x, y);
            IGP::pointerReleased(x, y);
            EXPECT_EQ(IGP::s_pressedAction, 0);
        }
}
