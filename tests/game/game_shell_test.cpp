// cGame's shell under the Application: the MIDlet makes one game and one game thread, whose run
// loop paints frames until destroyApp; frames, keys, taps and show/hide from the host thread never
// run at once (the game lock; ThreadSanitizer watches this test); a frame's exception stops the
// game; the frame timing rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>

#include "classlib/java_lang/java_lang_exceptions.h"
#include "classlib/java_lang/java_lang_thread.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "game/cgame.h"
#include "game/vorpazqti.h"
#include "runtime/compiled.h"
#include "tests/classlib/application_fixture.h"
#include "tests/classlib/thread_helpers.h"
#include "tests/support/test_world.h"

namespace {

struct Watch {
    std::atomic<int> inside{0};
    std::atomic<int> mostInside{0};
    std::atomic<int> updates{0};
    std::atomic<int> shows{0};
    std::atomic<int> hides{0};
    std::atomic<bool> raiseOnUpdate{false};
};
Watch* g_watch = nullptr;

// Every message counts who is inside a handler; the update allocates and yields, so a collection
// or another thread's handler would meet it there if the lock let them.
void watchedState(cGame*, jint message) {
    const int now = g_watch->inside.fetch_add(1) + 1;
    int most = g_watch->mostInside.load();
    while (now > most && !g_watch->mostInside.compare_exchange_weak(most, now)) {
    }
    if (message == cGame::kMsgUpdate) {
        g_watch->updates.fetch_add(1);
        (void)new Object();
        java_lang_Thread::yield();
        if (g_watch->raiseOnUpdate.load()) Runtime::raise<java_lang_IllegalStateException>();
    }
    if (message == cGame::kMsgShow) g_watch->shows.fetch_add(1);
    if (message == cGame::kMsgHide) g_watch->hides.fetch_add(1);
    g_watch->inside.fetch_sub(1);
}

class GameShellTest : public ApplicationFixture {
protected:
    void SetUp() override {
        g_watch = &watch;
        saved = cGame::setStateHandler(1, &watchedState);
    }
    void TearDown() override {
        stopGame();
        ApplicationFixture::TearDown();
        g_watch = nullptr;
    }
    void start() {
        startRuntime(nullptr);
        baseline = java_lang_Thread::activeCount();
        app.startApp();
        ASSERT_NE(cGame::s_game, nullptr);
    }
    // Waits, parked, until the condition holds (a 20 s bound).
    template <class F>
    bool waitFor(F condition) {
        for (int i = 0; i < 4000; ++i) {
            if (condition()) return true;
            java_lang_Thread::sleep(5);
        }
        return false;
    }
    void stopGame() {
        if (!cGame::s_game) return;
        app.destoryMIDlet();
        EXPECT_TRUE(waitFor([this] { return java_lang_Thread::activeCount() <= baseline; }));
    }

    Watch watch;
    cGame::StateHandler saved = nullptr;
    jint baseline = 0;
    Watchdog watchdog{std::chrono::seconds(120)};

private:
    // The statics reset before the set-up and after the tear-down.
    WorldStatics m_world;
};

TEST_F(GameShellTest, OneGameOneThreadFramesUntilDestroyed) {
    start();
    cGame* game = cGame::s_game;
    const jint threads = java_lang_Thread::activeCount();
    EXPECT_EQ(threads, baseline + 1);
    EXPECT_EQ(app.current(), game);
    EXPECT_TRUE(waitFor([] { return g_watch->updates.load() >= 3; }));
    EXPECT_EQ(cGame::s_runFlag, 0);
    // A second start (a resume) makes no second game and no second thread.
    app.startAndShow();
    EXPECT_EQ(cGame::s_game, game);
    EXPECT_EQ(java_lang_Thread::activeCount(), threads);
    // Every painted frame is a fixed 50 ms step; the clip is the whole screen again.
    EXPECT_EQ(cGame::s_speedFactor, 12);
    stopGame();
    EXPECT_EQ(cGame::s_runFlag, -1);
    EXPECT_EQ(cGame::s_keysLive, nullptr);
    EXPECT_EQ(cGame::s_keysFrame, nullptr);
}

TEST_F(GameShellTest, PauseStopsFramesAndResumeRestartsTheTiming) {
    start();
    ASSERT_TRUE(waitFor([] { return g_watch->updates.load() >= 2; }));
    app.pauseAndHide();
    EXPECT_EQ(cGame::s_paused, 1);
    EXPECT_GE(watch.hides.load(), 1);
    const int updates = watch.updates.load();
    java_lang_Thread::sleep(300);
    EXPECT_EQ(watch.updates.load(), updates);  // hidden: no frame
    app.startAndShow();
    EXPECT_EQ(cGame::s_paused, 0);
    EXPECT_TRUE(waitFor([updates] { return g_watch->updates.load() > updates + 1; }));
    // destroyApp while hidden ends the loop too.
    app.pauseAndHide();
    stopGame();
}

TEST_F(GameShellTest, AnExceptionInAFrameStopsTheGame) {
    start();
    ASSERT_TRUE(waitFor([] { return g_watch->updates.load() >= 1; }));
    watch.raiseOnUpdate.store(true);
    EXPECT_TRUE(waitFor([this] { return java_lang_Thread::activeCount() <= baseline; }));
    EXPECT_EQ(cGame::s_runFlag, -1);
}

struct Storm {
    Application* app;
    std::atomic<bool> done{false};
};

void hostEvents(void* context) {
    auto& storm = *static_cast<Storm*>(context);
    for (int round = 0; round < 60; ++round) {
        storm.app->keyPressed('5');
        storm.app->pointerPressed(10, 20 + round);
        storm.app->pointerDragged(12, 22 + round);
        storm.app->keyReleased('5');
        storm.app->pointerReleased(12, 22 + round);
        if (round % 6 == 0) storm.app->pauseAndHide();
        if (round % 6 == 3) storm.app->startAndShow();
        java_lang_Thread::sleep(2);
    }
    storm.app->startAndShow();
    storm.done.store(true);
}

TEST_F(GameShellTest, HostEventsAndFramesNeverRunAtOnce) {
    start();
    Storm storm{&app};
    java_lang_Thread* host = newThread(&hostEvents, &storm);
    ASSERT_EQ(host->start(), 1);
    host->join();
    EXPECT_TRUE(storm.done.load());
    const int updates = watch.updates.load();
    EXPECT_TRUE(waitFor([updates] { return g_watch->updates.load() > updates + 1; }));
    EXPECT_EQ(watch.mostInside.load(), 1);
    EXPECT_GE(watch.shows.load(), 10);
    EXPECT_GE(watch.hides.load(), 10);
    EXPECT_EQ(cGame::s_paused, 0);
}

}  // namespace
