// The promotion screen state (31) over the built data file, frame by frame on the test's thread: the
// game-start load's join initialises the promotion, the state paints its landscape picture turned
// onto the portrait screen, keys become its actions, select hands the link to the platform once and
// ends the program, back returns to the main menu with the 1 x 1 frame picture again.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "classlib/application.h"
#include "classlib/java_lang/java_lang_thread.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "game/cgame.h"
#include "game/cgame_loader_steps.h"
#include "promo/igp.h"
#include "runtime/compiled.h"
#include "tests/classlib/application_fixture.h"
#include "tests/classlib/recording_midlet_host.h"
#include "tests/classlib/thread_helpers.h"
#include "tests/support/test_world.h"

namespace {

class TestMIDlet final : public javax_microedition_midlet_MIDlet {
public:
    void startApp() override {}
    void pauseApp() override {}
    void destroyApp(jboolean) override {}
};

class IgpStateTest : public ApplicationFixture {
protected:
    void SetUp() override {
        platform::setHomeFolder(temp.path() / "home");
        platform::setDataFile(BRINDLEX_DATA_BAR);
        frame.assign(static_cast<size_t>(Application::kScreenWidth) * Application::kScreenHeight, 0);
        ASSERT_TRUE(app.init(frame.data(), {kHeapBytes * 16, kHeapBytes * 16}, kStartupOrder));
        app.setMIDletHost(&host);
        auto* midlet = new TestMIDlet();
        ASSERT_NE(midlet, nullptr);
        midlet->init();
        game = new cGame();
        ASSERT_NE(game, nullptr);
        game->init(midlet, nullptr);
        cGame::createKeyTables();
        cGame::s_g = app.screenGraphics();
        loader::runGameStartStep(0);  // the texts: the loading text comes from them
        cGame::initPromotion();
        ASSERT_GT(cGame::promoEntryCount(), 0);
        // Straight from the boot state (its handler out of the way) into the promotion.
        bootHandler = cGame::setStateHandler(cGame::kStateBoot, nullptr);
        cGame::setState(cGame::kStateIGP);
        step();
    }
    void TearDown() override {
        IGP::stopLinkThread();
        ApplicationFixture::TearDown();
    }
    // One frame as the game thread runs it: under the game lock.
    void step() {
        cGame::GameLock lock;
        cGame::updateKeyStates();
        cGame::stepStateMachine(game);
        ASSERT_FALSE(Runtime::pending());
    }
    // A key held one frame and released the next (the state acts on the release).
    void press(jint code) {
        game->keyPressed(code);
        step();
        game->keyReleased(code);
        step();
    }
    void loadPromotion() {
        for (int i = 0; i < 40 && IGP::s_state != IGP::kStateBrowsing; ++i) step();
        ASSERT_EQ(IGP::s_state, IGP::kStateBrowsing);
    }
    template <class F>
    static bool waitFor(F done) {
        for (int i = 0; i < 1000 && !done(); ++i) java_lang_Thread::sleep(5);
        return done();
    }

    RecordingHost host;
    cGame* game = nullptr;
    cGame::StateHandler bootHandler = nullptr;
    Watchdog watchdog{std::chrono::seconds(120)};

private:
    // The statics reset before the set-up and after the tear-down.
    WorldStatics m_world;
};

TEST_F(IgpStateTest, SelectOpensTheLinkOnceAndEndsTheProgram) {
    step();
    EXPECT_EQ(cGame::s_state, cGame::kStateIGP);
    ASSERT_NE(game->m_frameImage, nullptr);
    EXPECT_EQ(game->m_frameImage->getWidth(), 800);
    EXPECT_EQ(game->m_frameImage->getHeight(), 480);
    loadPromotion();
    step();
    // The first title page's background reaches every corner of the portrait screen.
    const auto page = static_cast<uint16_t>(((IGP::kPageColour >> 8) & 0xF800) | ((IGP::kPageColour >> 5) & 0x07E0) |
                                            ((IGP::kPageColour >> 3) & 0x001F));
    EXPECT_EQ(pixel(0, 0), page);
    EXPECT_EQ(pixel(479, 799), page);

    press('5');
    EXPECT_EQ(IGP::s_state, IGP::kStateLaunching);
    // Frames go on (each offers the link again) until the thread has opened it and ended the run.
    for (int i = 0; i < 1000 && host.destroyed.load() == 0; ++i) {
        step();
        java_lang_Thread::sleep(5);
    }
    ASSERT_EQ(host.destroyed.load(), 1);
    for (int i = 0; i < 3; ++i) step();
    EXPECT_EQ(host.urls(), std::vector<std::string>{"https://games.example.com/get?game=skylark&lang=EN&title=01"});
    EXPECT_EQ(IGP::s_state, IGP::kStateBrowsing);
    EXPECT_TRUE(IGP::isVisited());
}

TEST_F(IgpStateTest, KeysBrowseAndBackReturnsToTheMainMenu) {
    struct Case {
        jint key;
        jint action;
    };
    const Case cases[] = {{1, 21}, {8, 21}, {2, 32}, {14, 32}, {3, 23}, {10, 23}, {4, 24}, {12, 24},
                          {5, 25}, {18, 25}, {19, 26}, {6, 0},   {-1, 0},  {0, 0}};
    for (const Case& c : cases) EXPECT_EQ(cGame::promotionAction(c.key), c.action) << c.key;

    step();
    // A hide during the load parks it; the show starts it again from the first step.
    cGame::dispatchState(game, cGame::kMsgHide);
    EXPECT_EQ(IGP::s_state, IGP::kStateParked);
    cGame::dispatchState(game, cGame::kMsgShow);
    EXPECT_EQ(IGP::s_loadStep, -1);
    loadPromotion();
    const jint first = IGP::s_currentItem;
    press('6');  // right
    EXPECT_NE(IGP::s_currentItem, first);

    press(-7);  // the right soft key: back
    step();
    EXPECT_EQ(cGame::s_state, cGame::kStateMainMenu);
    EXPECT_EQ(cGame::s_musicOnMenuEntry, 1);
    ASSERT_NE(game->m_frameImage, nullptr);
    EXPECT_EQ(game->m_frameImage->getWidth(), 1);
    EXPECT_FALSE(IGP::s_running);
    EXPECT_TRUE(waitFor([] { return !IGP::linkThreadAlive(); }));
    EXPECT_TRUE(host.urls().empty());
}

// The host thread's taps reach the promotion's hit test while the game thread's frames load it and
// then free its pictures on back: the game lock keeps them apart (ThreadSanitizer watches).
TEST_F(IgpStateTest, TapsFromTheHostThreadWhileTheScreenEnds) {
    struct Taps {
        cGame* game;
        std::atomic<bool> stop{false};
        std::atomic<bool> hold{false};
        std::atomic<int> count{0};
    } taps{game};
    java_lang_Thread* tapper = newThread(
        [](void* context) {
            auto* t = static_cast<Taps*>(context);
            while (!t->stop.load()) {
                if (t->hold.load()) {
                    java_lang_Thread::yield();
                    continue;
                }
                // The select button's middle and a page arrow, in portrait coordinates.
                t->game->pointerPressed(240, 400);
                t->game->pointerDragged(240, 30);
                t->game->pointerReleased(240, 30);
                t->count.fetch_add(1);
                java_lang_Thread::yield();
            }
        },
        &taps);
    ASSERT_NE(tapper, nullptr);
    ASSERT_GE(tapper->start(), 0);
    for (int visit = 0; visit < 3; ++visit) {
        if (visit > 0) {
            cGame::setState(cGame::kStateIGP);
            step();
        }
        loadPromotion();
        for (int i = 0; i < 5; ++i) step();
        // A tap released in the same frame wins over the key (it keeps its action): back again.
        // On a loaded machine the tapper can win every frame, so after ten tries it holds its taps.
        for (int i = 0; i < 50 && cGame::s_state == cGame::kStateIGP; ++i) {
            taps.hold = i >= 10;
            press(-7);
            step();
        }
        taps.hold = false;
        EXPECT_EQ(cGame::s_state, cGame::kStateMainMenu);
        EXPECT_EQ(IGP::s_fixedImages, nullptr);
    }
    taps.stop = true;
    tapper->join();
    EXPECT_GT(taps.count.load(), 0);
    EXPECT_TRUE(host.urls().empty());
}

}  // namespace
