// Touch input: the soft-key squares and their delayed key, the play screen's buttons (slides, the
// finger outside every button, layouts chosen from the hero), menu rows and arrows, a question's
// answers, the lift kept by the start-up and loading states, strict borders, and the two faults
// mended here: a row past the end of a shrunken list and a lift that outlived its dialog.
#include <gtest/gtest.h>

#include <vector>

#include "game/cgame.h"
#include "promo/igp.h"
#include "runtime/array.h"
#include "sprites/bxlib_player.h"
#include "tests/game/touch_fixture.h"
#include "tests/game/touch_points.h"
#include "tests/support/test_world.h"

namespace {

// Menu sprite: 6 and 7 the scroll arrows, 8 a row, 19 and 20 the page arrows.
std::vector<BoxFrame> menuFrames() {
    std::vector<BoxFrame> f(21);
    f[6] = f[7] = {-30, -15, 60, 30};
    f[8] = {-150, -30, 300, 60};
    f[19] = f[20] = {-20, -20, 40, 40};
    return f;
}

// Touch-button sprite: the pad's eight sectors as a 3 x 3 grid of 60-pixel cells around its anchor,
// and the action buttons left of their corner anchor.
std::vector<BoxFrame> touchFrames() {
    std::vector<BoxFrame> f(28);
    const int cell[][3] = {{4, 0, -1}, {5, 0, 1}, {6, -1, 0}, {7, 1, 0}, {8, -1, -1}, {9, -1, 1}, {10, 1, -1}, {11, 1, 1}};
    for (const auto& c : cell) f[c[0]] = {c[1] * 60 - 30, c[2] * 60 - 30, 60, 60};
    f[12] = {-100, -100, 90, 90};
    f[13] = {-200, -100, 90, 90};
    f[22] = {-100, -100, 90, 90};
    f[16] = {-100, -40, 90, 80};
    f[18] = {10, -40, 90, 80};
    f[20] = {-100, -100, 90, 90};
    f[25] = {10, -100, 90, 90};
    return f;
}

// The hero the tests steer through the actors' view.
struct FakeHero {
    static inline jint state = 0;
    static inline jint speedY = 0;
    static inline bool basic = false;
    static inline bool stopped = false;
    static inline jint angle = -1;
    static inline jint lives = 3;
    static const cGame::ActorView* view() {
        static const cGame::ActorView v{
            [](cGame::HudValues* out) {
                out->lives = lives;
                return true;
            },
            [] { return state; }, [] { return speedY; }, [] { stopped = true; }, [] { return basic; },
            [](jint a) { angle = a; }, nullptr};
        return &v;
    }
};

class TouchInputTest : public TestWorld {
protected:
    void SetUp() override {
        TestWorld::SetUp();
        cGame::initKeyMap();
        cGame::createKeyTables();
        game = new cGame();
        m_gameRoot = game;
        objectManager().addRoot(&m_gameRoot);
        cGame::s_canvas = game;
        cGame::initTouchLayouts();
        cGame::s_menuSprite = loadBoxSprite(menuFrames());
        ASSERT_NE(cGame::s_menuSprite, nullptr);
        cGame::s_arrowUpPlayer = Runtime::make<BXLibPlayer>();
        cGame::s_arrowDownPlayer = Runtime::make<BXLibPlayer>();
        cGame::s_arrowUpPlayer->init(cGame::s_menuSprite, 0, 0);
        cGame::s_arrowDownPlayer->init(cGame::s_menuSprite, 0, 0);
        cGame::s_menuItems = Runtime::newIntArray(20);
        cGame::s_state = cGame::kStateMainMenu;
        cGame::s_level = 0;
        cGame::s_altPlayerLevel = 0;
        cGame::s_menuCount = cGame::s_menuVisibleRows = cGame::s_menuFirstRow = 0;
        cGame::s_menuSelection = cGame::s_chosen = -1;
        cGame::s_chosenBlink = 0;
        cGame::s_dialogOpen = false;
        cGame::s_dialogType = 0;
        cGame::s_dialogChoice = -1;
        cGame::s_dialogTextHeight = 40;
        FakeHero::state = FakeHero::speedY = 0;
        FakeHero::basic = FakeHero::stopped = false;
        FakeHero::angle = -1;
        cGame::registerActorView(nullptr);
    }
    void TearDown() override {
        objectManager().removeRoot(&m_gameRoot);
        TestWorld::TearDown();
    }

    static jint live(jint k) { return cGame::s_keysLive->elements()[k]; }
    static bool noKeyEvents() {
        for (jint k = 0; k < cGame::kGameKeyCount; ++k)
            if (live(k) != 0) return false;
        return true;
    }
    // One frame: the key snapshot, then the touch step.
    static void frame() {
        cGame::updateKeyStates();
        cGame::updateTouchInput();
    }
    void down(TapPoint p) { game->pointerPressed(p.x, p.y); }
    void drag(TapPoint p) { game->pointerDragged(p.x, p.y); }
    void up(TapPoint p) { game->pointerReleased(p.x, p.y); }
    static void menu(const std::vector<jint>& items, jint visible, jint first) {
        for (size_t i = 0; i < items.size(); ++i) cGame::s_menuItems->set(static_cast<jint>(i), items[i]);
        cGame::s_menuCount = static_cast<jint>(items.size());
        cGame::s_menuVisibleRows = visible;
        cGame::s_menuFirstRow = first;
    }
    static void playScreen() {
        cGame::s_state = cGame::kStatePlay;
        cGame::buildTouchLayoutRects(loadBoxSprite(touchFrames()));
        ASSERT_NE(cGame::s_touchLayoutRects, nullptr);
    }
    // The middle of a button's hit box in the current layout.
    static TapPoint button(jint layout, jint b) {
        auto* rects = static_cast<ObjectArray*>(cGame::s_touchLayoutRects->get(layout));
        return touchpoints::centreOf(static_cast<IntArray*>(rects->get(b)), true);
    }

    cGame* game = nullptr;

private:
    Object* m_gameRoot = nullptr;
};

TEST_F(TouchInputTest, SoftkeySquareSendsItsKeyFourFramesAfterTheLift) {
    struct Case {
        jint state;
        TapPoint point;
        jint touched;
        jint key;   // game key, -1 none
    };
    const Case cases[] = {
        {cGame::kStateMainMenu, leftSoftkeyTap(), 1, 18},
        {cGame::kStateMainMenu, rightSoftkeyTap(), 2, 19},
        {cGame::kStatePlay, leftSoftkeyTap(), 1, 18},
        {cGame::kStatePlay, rightSoftkeyTap(), 0, -1},   // only the left square is live in play
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state * 10 + c.touched);
        cGame::s_state = c.state;
        down(c.point);
        frame();
        EXPECT_EQ(cGame::s_softkeyTouched, c.touched);
        up(c.point);
        frame();
        for (int f = 1; f <= 4; ++f) {
            // Shown touched until the key goes.
            if (c.key >= 0) { EXPECT_EQ(cGame::s_softkeyTouched, c.touched) << f; }
            EXPECT_TRUE(noKeyEvents()) << f;
            frame();
            if (c.key >= 0 && f < 4) { EXPECT_TRUE(noKeyEvents()) << f; }
        }
        if (c.key >= 0) {
            EXPECT_EQ(live(c.key), -1);   // pressed and released: seen released in the next snapshot
            frame();
            EXPECT_TRUE(cGame::isKeyReleased(c.key));
        }
        frame();
        EXPECT_EQ(cGame::s_softkeyTouched, 0);
        cGame::clearKeys();
    }
}

TEST_F(TouchInputTest, QuickTapOnASoftkeySquareStillSendsItsKey) {
    // Down and up between two frames: the lift alone names the square.
    down(rightSoftkeyTap());
    up(rightSoftkeyTap());
    for (int f = 0; f < 5; ++f) frame();
    EXPECT_EQ(live(19), -1);
}

TEST_F(TouchInputTest, PadSlideSwapsKeysInOneFrameAndAFingerOutsideClearsThem) {
    playScreen();
    down(button(0, 0));   // the up sector
    frame();
    EXPECT_EQ(live(1), 1);
    EXPECT_EQ(cGame::s_touchButton, 0);
    drag(button(0, 3));   // slides into the right sector
    frame();
    EXPECT_LT(live(1), 0);
    EXPECT_EQ(live(4), 1);
    cGame::updateKeyStates();
    EXPECT_TRUE(cGame::isKeyReleased(1));
    EXPECT_TRUE(cGame::isKeyDown(4));   // no frame without a direction
    EXPECT_EQ(cGame::s_touchButton, 3);

    // A keyboard key held meanwhile goes too when the finger rests outside every button.
    game->keyPressed(-3);
    drag({240, 400});
    cGame::updateTouchInput();
    EXPECT_TRUE(noKeyEvents());
    EXPECT_EQ(cGame::s_touchButton, -1);

    // A lift on a button releases what is held and the record is cleared.
    drag(button(0, 9));
    frame();
    EXPECT_EQ(live(5), 1);
    up(button(0, 9));
    frame();
    EXPECT_LT(live(5), 0);
    EXPECT_EQ(cGame::s_touchButton, -1);
    EXPECT_FALSE(cGame::s_touchDown);
    EXPECT_EQ(cGame::s_touchX, cGame::kTouchNone);
}

TEST_F(TouchInputTest, LayoutFollowsTheLevelAndTheHero) {
    playScreen();
    struct Case {
        bool hero;
        jint level, heroState;
        bool basic;
        jint layout;
        bool shown;
    };
    const Case cases[] = {
        {false, 0, 0, false, 0, true},     {false, 1, 0, false, 1, true},  {true, 8, 105, false, 2, true},
        {true, 8, 111, false, 2, true},    {true, 3, 105, false, 0, true}, {true, 3, 138, false, 4, true},
        {true, 4, 138, false, 1, true},    {true, 0, 0, true, 5, true},    {true, 3, 137, false, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level * 1000 + c.heroState);
        cGame::registerActorView(c.hero ? FakeHero::view() : nullptr);
        cGame::setLevel(c.level);
        FakeHero::state = c.heroState;
        FakeHero::basic = c.basic;
        frame();
        EXPECT_EQ(cGame::s_touchLayout, c.layout);
        EXPECT_EQ(cGame::s_touchButtonsShown, c.shown);
    }

    // Riding the submarine the finger steers it and holds fire; the lift lets go.
    down({100, 300});
    frame();
    EXPECT_EQ(FakeHero::angle, cGame::atan2(100, -140));
    EXPECT_EQ(live(5), 1);
    up({100, 300});
    frame();
    EXPECT_LT(live(5), 0);

    // A button held when the hero's state changes the layout is let go.
    cGame::setLevel(0);
    FakeHero::state = 0;
    down(button(0, 8));   // '0': the second action key
    frame();
    EXPECT_EQ(live(6), 1);
    FakeHero::state = 138;   // layout 4's fire button lies under the finger
    frame();
    EXPECT_LT(live(6), 0);
    EXPECT_EQ(live(5), 1);
    EXPECT_EQ(cGame::s_touchLayout, 4);

    // Pressing a down sector while rising stops the hero.
    up({0, 0});
    frame();
    FakeHero::state = 0;
    FakeHero::speedY = -300;
    down(button(0, 1));
    frame();
    EXPECT_TRUE(FakeHero::stopped);
}

TEST_F(TouchInputTest, AButtonHeldOnAnAlternatePlayerLevelStaysHeld) {
    // The layout is chosen whole each frame, so layout 1's held button is not let go and pressed
    // again every frame (which would show the key as just pressed in every snapshot).
    playScreen();
    cGame::setLevel(4);
    down(button(1, 0));   // '4': left
    for (jint held = 1; held <= 4; ++held) {
        frame();
        EXPECT_EQ(live(3), held);
    }
    EXPECT_EQ(cGame::s_touchLayout, 1);
}

TEST_F(TouchInputTest, MenuRowsSelectAndFire) {
    constexpr jint kDisabled = static_cast<jint>(0x80000000u);
    struct Case {
        const char* name;
        std::vector<jint> items;
        jint first, row;
        jint selection;
        bool fires;
    };
    const Case cases[] = {
        {"plain row", {10, 11, 12}, 0, 1, 1, true},
        {"scrolled list", {10, 11, 12, 13, 14, 15, 16}, 2, 1, 3, true},
        {"disabled row", {10, 11 | kDisabled, 12}, 0, 1, -1, false},
        // A list shrunk under its scroll position: the last row shows item 0 but is past the end.
        {"past the end", {10, 11, 12}, 1, 2, -1, false},
    };
    cGame::s_state = cGame::kStateMainMenu;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        menu(c.items, 3, c.first);
        const TapPoint p = menuRowTap(285, 3, c.row);
        ASSERT_TRUE(p.valid());
        down(p);
        frame();
        EXPECT_EQ(cGame::s_menuSelection, c.selection);
        EXPECT_TRUE(noKeyEvents());
        up(p);
        frame();
        EXPECT_EQ(cGame::s_menuSelection, c.selection);
        EXPECT_EQ(live(5), c.fires ? -1 : 0);
        EXPECT_FALSE(cGame::s_touchUp);
        cGame::clearKeys();
    }
}

TEST_F(TouchInputTest, ScrollArrowsShowTouchedAndScrollOnTheLift) {
    cGame::s_state = cGame::kStateLevelSelect;
    menu({1, 2, 3, 4, 5}, 3, 0);
    const TapPoint upArrow = menuArrowTap(285, 0), downArrow = menuArrowTap(285, 1);
    down(downArrow);
    frame();
    EXPECT_EQ(cGame::s_arrowTouched, 2);
    up(downArrow);
    frame();
    EXPECT_EQ(live(2), -1);
    EXPECT_EQ(cGame::s_arrowTouched, 0);
    // The up arrow does not exist while the list is at its top.
    down(upArrow);
    frame();
    EXPECT_EQ(cGame::s_arrowTouched, 1);
    up(upArrow);
    frame();
    EXPECT_EQ(live(1), 0);
    // Nor the down arrow once the last item shows; one row before, it scrolls.
    for (const auto& [first, scrolls] : {std::pair{1, true}, std::pair{2, false}}) {
        SCOPED_TRACE(first);
        cGame::clearKeys();
        menu({1, 2, 3, 4, 5}, 3, first);
        down(downArrow);
        frame();
        up(downArrow);
        frame();
        EXPECT_EQ(live(2), scrolls ? -1 : 0);
    }
}

TEST_F(TouchInputTest, QuestionAnswersChooseAndConfirm) {
    cGame::s_dialogOpen = true;
    cGame::s_dialogType = 1;
    const TapPoint first = dialogAnswerTap(40, 0), second = dialogAnswerTap(40, 1);
    ASSERT_TRUE(first.valid());
    EXPECT_EQ(second.x, first.x - 80);
    down(second);
    frame();
    EXPECT_EQ(cGame::s_dialogChoice, 0);
    EXPECT_TRUE(noKeyEvents());
    drag(first);
    frame();
    EXPECT_EQ(cGame::s_dialogChoice, 1);
    up(first);
    frame();
    EXPECT_EQ(cGame::s_dialogChoice, 1);
    EXPECT_EQ(live(18), -1);
    // Away from both answers the choice is cleared.
    down({5, 5});
    frame();
    EXPECT_EQ(cGame::s_dialogChoice, -1);
}

TEST_F(TouchInputTest, DialogTakesTheLiftSoTheMenuBelowNeverSeesIt) {
    cGame::s_state = cGame::kStateMainMenu;
    menu({10, 11, 12}, 3, 0);
    cGame::s_dialogOpen = true;   // a message box over the menu
    cGame::s_dialogType = 0;
    const TapPoint row = menuRowTap(285, 3, 0);
    down(row);
    up(row);
    frame();
    EXPECT_EQ(live(18), -1);   // closes the box
    EXPECT_FALSE(cGame::s_touchUp);
    cGame::s_dialogOpen = false;
    cGame::clearKeys();
    frame();
    EXPECT_EQ(cGame::s_menuSelection, -1);
    EXPECT_TRUE(noKeyEvents());
}

TEST_F(TouchInputTest, StartAndLoadingStatesKeepTheLiftForALaterState) {
    for (jint state : {cGame::kStateBoot, cGame::kStateInit, cGame::kStateLoading}) {
        SCOPED_TRACE(state);
        cGame::s_state = state;
        down({240, 400});
        up({240, 400});
        frame();
        frame();
        EXPECT_TRUE(cGame::s_touchUp);
        EXPECT_EQ(cGame::s_touchX, 240);
        EXPECT_TRUE(noKeyEvents());
        cGame::s_state = cGame::kStateSplash;   // the splash takes it as fire
        frame();
        EXPECT_EQ(live(5), -1);
        EXPECT_FALSE(cGame::s_touchUp);
        EXPECT_EQ(cGame::s_touchY, cGame::kTouchNone);
        cGame::clearKeys();
    }
}

TEST_F(TouchInputTest, PageArrowsTurnPages) {
    cGame::s_state = cGame::kStatePictureBrowser;
    const TapPoint back = pageArrowTap(0), forward = pageArrowTap(1);
    down(forward);
    frame();
    EXPECT_EQ(cGame::s_arrowTouched, 2);
    up(forward);
    frame();
    EXPECT_EQ(live(4), -1);
    EXPECT_EQ(cGame::s_arrowDownPlayer->anim, 9);
    down(back);
    up(back);
    frame();
    EXPECT_EQ(live(3), -1);
    EXPECT_EQ(cGame::s_arrowUpPlayer->anim, 7);
}

TEST_F(TouchInputTest, PromotionScreenGetsTheLandscapePointOfEachEvent) {
    // The promotion running with only its button laid out: landscape (290..310, 370..390), which is
    // portrait (90..110, 290..310).
    IGP::s_running = true;
    IGP::s_state = IGP::kStateBrowsing;
    IGP::s_listMode = false;
    IGP::s_commandMode = true;   // no soft key to hit
    IGP::s_buttonX = 290, IGP::s_buttonY = 370, IGP::s_buttonWidth = IGP::s_buttonHeight = 20;
    game->pointerPressed(100, 300);
    EXPECT_EQ(IGP::s_pressedAction, IGP::kActionStylusSelect);
    game->pointerDragged(300, 100);   // landscape (100, 180): off the button
    EXPECT_EQ(IGP::s_pressedAction, IGP::kActionNone);
    game->pointerReleased(95, 305);
    EXPECT_EQ(IGP::s_action, IGP::kActionStylusSelect);
    EXPECT_TRUE(cGame::s_touchDown && cGame::s_touchUp);
    EXPECT_EQ(cGame::s_touchX, 95);
    IGP::s_running = false;
    IGP::s_state = IGP::kStateLoading;
    IGP::resetData();
    IGP::resetStylus();
    IGP::resetPainting();
}

TEST_F(TouchInputTest, BordersDoNotCount) {
    struct Case {
        jint px, py;
        bool inRect, inBox;
    };
    // Rectangle (10, 20)-(30, 40); box (10, 20) of 20 x 20: the same area.
    const Case cases[] = {{20, 30, true, true},   {10, 30, false, false}, {30, 30, false, false},
                          {20, 20, false, false}, {20, 40, false, false}, {11, 21, true, true},
                          {29, 39, true, true}};
    for (const Case& c : cases) {
        EXPECT_EQ(cGame::isPointInRect(c.px, c.py, 10, 20, 30, 40), c.inRect) << c.px << "," << c.py;
        EXPECT_EQ(cGame::isPointInBox(c.px, c.py, 10, 20, 20, 20), c.inBox) << c.px << "," << c.py;
    }
    const jint ranges[][4] = {{1, 5, 1, 1}, {1, 5, 5, 1}, {5, 1, 3, 1}, {5, 1, 0, 0}, {1, 5, 6, 0}, {3, 3, 3, 1}};
    for (const auto& r : ranges) EXPECT_EQ(cGame::isInRange(r[0], r[1], r[2]), r[3] != 0) << r[0] << r[1] << r[2];
    // A lift exactly on the soft-key square's edge is no tap.
    down({400, 760});
    up({400, 760});
    for (int f = 0; f < 6; ++f) frame();
    EXPECT_TRUE(noKeyEvents());
}

}  // namespace
