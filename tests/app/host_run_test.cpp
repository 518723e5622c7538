// Whole runs on the headless device: the host loop's passes on the virtual clock, the paint road
// with a game thread (frames shown only while active and in front, captured to PNG), and a run
// that the MIDlet ends itself through notifyDestroyed.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "../classlib/thread_helpers.h"
#include "../platform/platform_test_support.h"
#include "app/host/application_impl.h"
#include "classlib/application.h"
#include "classlib/java_lang/java_lang_thread.h"
#include "runtime/compiled.h"
#include "host_fixture.h"
#include "runtime/heaps.h"

namespace {

class HostRunTest : public HostFixture {
protected:
    Watchdog watchdog{std::chrono::seconds(120)};
};

// White bars in the captured frame's bar row, counted from the left.
int barsIn(const RgbImage& image) {
    int bars = 0;
    while (barLeft(bars) < image.width) {
        const size_t at = (static_cast<size_t>(kBarTop + kBarHeight / 2) * image.width + barLeft(bars)) * 3;
        if (image.rgb[at] != 0xFF) break;
        ++bars;
    }
    return bars;
}

TEST_F(HostRunTest, EachPassSleepsTenMillisecondsOfDeviceTimeAndTheLimitEndsTheRun) {
    makeDevice();
    HostOptions options;
    options.frames = 25;
    EXPECT_EQ(WinMain(*device, options), 0);
    EXPECT_EQ(device->virtualClock().monotonicMillis(), 250);
    EXPECT_EQ(ApplicationImpl::getInstance()->passes(), 25);
    EXPECT_EQ(Application::getApplication(), nullptr);
    EXPECT_FALSE(Runtime::heapsReady());
    const Lines log = take();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(Lines(log.end() - 4, log.end()),
              (Lines{"destroyApp 1", "shell powerQueue close", "shell orientation 0", "shell redrawShell"}));
}

// The main thread is in the table before the statics run: Thread.currentThread() answers it, with
// the priority of a normal OS thread (9 - 3), and the threads it makes inherit that.
TEST_F(HostRunTest, TheMainThreadIsCurrentWithItsPriorityFromTheStart) {
    start();
    java_lang_Thread* main = java_lang_Thread::currentThread();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->getPriority(), 6);
    java_lang_Thread* made = Runtime::make<java_lang_Thread>();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->getPriority(), 6);
}

TEST_F(HostRunTest, AQuitShutsDownAndEndsWithItsExitCode) {
    makeDevice();
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(parseEventScript("100 quit 3", events, error)) << error;
    device->addEvents(events);
    HostOptions options;
    options.frames = 1000;
    EXPECT_EQ(WinMain(*device, options), 3);
    // It is handed over in the pause that reaches its time, before the clock moves: the run ends there.
    EXPECT_EQ(device->virtualClock().monotonicMillis(), 95);
    const Lines log = take();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(Lines(log.end() - 4, log.end()),
              (Lines{"destroyApp 1", "shell powerQueue close", "shell orientation 0", "shell redrawShell"}));
}

// A quit ends the run where the pump finds it: nothing after the clean-up turns the display
// back to the game's orientation, paints the please-wait screen or hides the task bar again.
TEST_F(HostRunTest, AQuitLeavesTheStartOrientationAndTheShellAsTheCleanUpRestoredThem) {
    struct Case {
        const char* name;
        const char* script;
        int exitCode;
    };
    const Case cases[] = {
        {"quit during start-up", "0 quit 4", 4},
        {"quit in the host loop", "100 quit 3", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HeadlessOptions turned;
        turned.orientation = Orientation::k180;
        makeDevice(turned);
        std::vector<ScriptEvent> events;
        std::string error;
        ASSERT_TRUE(parseEventScript(c.script, events, error)) << error;
        device->addEvents(events);
        HostOptions options;
        options.frames = 1000;
        EXPECT_EQ(WinMain(*device, options), c.exitCode);
        EXPECT_EQ(device->displayOrientation(), Orientation::k180);
        EXPECT_EQ(device->frameCount(), 0);
        const Lines log = take();
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(Lines(log.end() - 2, log.end()), (Lines{"shell orientation 2", "shell redrawShell"}));
    }
}

TEST_F(HostRunTest, FramesAreShownOnlyWhileActiveAndCapturedToPng) {
    start();
    device->setFrameCaptureFolder(temp.path().string());
    const int64_t before = device->frameCount();
    runGameFrames(3);
    EXPECT_EQ(device->frameCount(), before + 3);
    EXPECT_EQ(TestMIDletLog::paints(), 3);

    step("0 focuslost");
    runGameFrames(3);  // dropped: neither painted nor shown
    EXPECT_EQ(device->frameCount(), before + 3);
    EXPECT_EQ(TestMIDletLog::paints(), 3);

    step("0 focusgained");
    runGameFrames(2);
    EXPECT_EQ(device->frameCount(), before + 5);
    EXPECT_EQ(TestMIDletLog::paints(), 5);

    // The captures show the counter of the frame they were painted for.
    const int expectedBars[] = {1, 2, 3, 7, 8};
    for (int i = 0; i < 5; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "frame_%06lld.png", static_cast<long long>(before + i + 1));
        SCOPED_TRACE(name);
        const RgbImage image = readRgbPng((temp.path() / name).string());
        ASSERT_EQ(image.width, 480);
        ASSERT_EQ(image.height, 800);
        EXPECT_EQ(barsIn(image), expectedBars[i]);
    }
}

TEST_F(HostRunTest, TheMIDletEndsTheRunThroughNotifyDestroyed) {
    TestMIDletLog::setGameThread(20, 50);
    makeDevice();
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(parseEventScript("300 focuslost\n600 focusgained", events, error)) << error;
    device->addEvents(events);
    HostOptions options;
    options.frames = 100000;  // a bound for a broken run; the MIDlet ends it long before
    EXPECT_EQ(WinMain(*device, options), 0);
    EXPECT_LT(ApplicationImpl::getInstance()->passes(), 100000);
    EXPECT_GE(device->virtualClock().monotonicMillis(), 20 * 50);
    EXPECT_EQ(ApplicationImpl::getInstance()->threadsLeftStopped(), 0);
    // Every shown frame was painted, none twice; frames while inactive were dropped.
    EXPECT_EQ(device->frameCount(), TestMIDletLog::paints());
    EXPECT_LE(TestMIDletLog::paints(), 20);
    const Lines log = take();
    EXPECT_NE(std::find(log.begin(), log.end(), "pauseApp"), log.end());
    EXPECT_EQ(log.back(), "shell redrawShell");
    EXPECT_FALSE(Runtime::heapsReady());
}

// A key due on the very step a frame wakes at is seen by that frame, not by the one before nor
// only by the one after, however the threads are scheduled: a key on each of eight frames' steps,
// twenty runs beside spinning threads.
TEST_F(HostRunTest, AnEventDueOnAFramesStepIsSeenByThatFrameEvenUnderLoad) {
    constexpr int64_t kFramePeriod = 50, kFirstKey = 100, kKeys = 8;
    std::string script;
    for (int64_t k = 0; k < kKeys; ++k) {
        const int64_t at = kFirstKey + k * kFramePeriod;
        script += std::to_string(at) + " keydown 5\n" + std::to_string(at + 20) + " keyup 5\n";
    }
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(parseEventScript(script, events, error)) << error;
    std::atomic<bool> spinning{true};
    std::vector<std::thread> load;
    for (int i = 0; i < 3; ++i)
        load.emplace_back([&spinning] {
            while (spinning.load(std::memory_order_relaxed)) {
            }
        });
    for (int run = 0; run < 20; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        TestMIDletLog::reset();
        TestMIDletLog::setGameThread(12, kFramePeriod);
        makeDevice();
        device->addEvents(events);
        HostOptions options;
        options.frames = 100000;  // a bound for a broken run; the MIDlet ends it
        EXPECT_EQ(WinMain(*device, options), 0);
        Host::cleanup();
        const std::vector<TestMIDletLog::FrameSeen> frames = TestMIDletLog::framesSeen();
        ASSERT_EQ(frames.size(), 12u);
        for (const TestMIDletLog::FrameSeen& f : frames) {
            SCOPED_TRACE("frame at " + std::to_string(f.time));
            EXPECT_EQ(f.time % kFramePeriod, 0);
            const int64_t due = f.time < kFirstKey ? 0 : std::min(kKeys, (f.time - kFirstKey) / kFramePeriod + 1);
            EXPECT_EQ(f.keysPressed, due);
        }
    }
    spinning.store(false);
    for (std::thread& t : load) t.join();
}

}  // namespace
