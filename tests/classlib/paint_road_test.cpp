// The paint road: the host decides whether a frame is painted and shown, and the host thread and
// the game thread never paint at once — the one that waits for the road is parked, so a collection
// started by the painter does not wait for it.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include "application_fixture.h"
#include "classlib/lcdui/javax_microedition_lcdui_canvas.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "runtime/object_manager.h"
#include "thread_helpers.h"

namespace {

struct RoadLog {
    std::atomic<int> inside{0};
    std::atomic<int> mostInside{0};
    std::atomic<int> paints{0};
    std::vector<std::string> events;  // single-threaded tests only
};
RoadLog* g_road = nullptr;

// Holds the road for a while: yields (parking points) and allocations, and a full collection
// every fifth frame.
class BusyCanvas final : public javax_microedition_lcdui_Canvas {
public:
    BusyCanvas() { setClassId(CID_cGame); }
    void paint(javax_microedition_lcdui_Graphics* g) override {
        const int now = g_road->inside.fetch_add(1) + 1;
        int most = g_road->mostInside.load();
        while (now > most && !g_road->mostInside.compare_exchange_weak(most, now)) {
        }
        for (int i = 0; i < 10; ++i) {
            java_lang_Thread::yield();
            (void)new Object();
        }
        const int frame = g_road->paints.fetch_add(1) + 1;
        if (frame % 5 == 0) Application::getApplication()->objectManager()->gc(1);
        g->setColor(frame);
        g->fillRect(0, 0, getWidth(), getHeight());
        g_road->inside.fetch_sub(1);
    }
};

class RecordingHost final : public ScreenHost {
public:
    bool mayPaint() override {
        g_road->events.emplace_back("mayPaint");
        return allow;
    }
    void flush() override { g_road->events.emplace_back("flush"); }
    bool allow = false;
};

class PaintRoadTest : public ApplicationFixture {
protected:
    void SetUp() override { g_road = &road; }
    void TearDown() override {
        ApplicationFixture::TearDown();
        g_road = nullptr;
    }
    RoadLog road;
    Watchdog watchdog{std::chrono::seconds(60)};
};

constexpr int kFramesPerThread = 25;

void paintFrames(void*) {
    for (int i = 0; i < kFramesPerThread; ++i) javax_microedition_lcdui_Canvas::repaint(nullptr);
}

TEST_F(PaintRoadTest, TwoThreadsNeverPaintAtOnce) {
    startRuntime(nullptr);
    app.setCurrent(new BusyCanvas());
    java_lang_Thread* game = newThread(&paintFrames, nullptr);
    ASSERT_EQ(game->start(), 1);
    paintFrames(nullptr);  // the host thread's show handling, frame after frame
    game->join();
    EXPECT_EQ(road.paints.load(), 2 * kFramesPerThread);
    EXPECT_EQ(road.mostInside.load(), 1);
}

TEST_F(PaintRoadTest, TheHostDecidesWhetherAFrameIsPaintedAndShown) {
    startRuntime(nullptr);
    app.setCurrent(new BusyCanvas());
    RecordingHost host;
    app.setScreenHost(&host);
    javax_microedition_lcdui_Canvas::repaint(nullptr);
    EXPECT_EQ(road.paints.load(), 0);
    EXPECT_EQ(road.events, (std::vector<std::string>{"mayPaint"}));
    host.allow = true;
    road.events.clear();
    javax_microedition_lcdui_Canvas::repaint(nullptr);
    EXPECT_EQ(road.paints.load(), 1);
    EXPECT_EQ(road.events, (std::vector<std::string>{"mayPaint", "flush"}));
    app.setScreenHost(nullptr);
}

}  // namespace
