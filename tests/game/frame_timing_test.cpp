// One frame's timing on a clock the test moves: the clamp to 0..1000 ms, the fixed 50 ms step and
// the real-time step of the alternate-player levels, the average frame rate past 2^31, a paused
// game painting nothing, and the first frame after a resume not counting the pause.
#include <gtest/gtest.h>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "game/cgame.h"
#include "runtime/clock.h"
#include "tests/support/test_world.h"

namespace {

void quietState(cGame*, jint) {}

class FrameTimingTest : public TestWorld {
protected:
    void SetUp() override {
        TestWorld::SetUp();
        clock.advance(1'000'000);
        Runtime::setClock(&clock);
        saved = cGame::setStateHandler(1, &quietState);
        cGame::resetStateMachine();
        game = new cGame();
        m_root = game;
        objectManager().addRoot(&m_root);
        image = javax_microedition_lcdui_Image::createImage(4, 4);
        m_imageRoot = image;
        objectManager().addRoot(&m_imageRoot);
        cGame::s_inPaint = 0;
        cGame::s_paused = 0;
        cGame::s_altPlayerLevel = 0;
        cGame::s_frameCounter = 0;
        cGame::s_totalFrameTime = 0;
        cGame::s_lastTick = clock.monotonicMillis();
    }
    void TearDown() override {
        objectManager().removeRoot(&m_imageRoot);
        objectManager().removeRoot(&m_root);
        Runtime::setClock(nullptr);
        TestWorld::TearDown();
    }
    // Moves the clock and paints one frame; answers whether the frame ran to its clip reset.
    bool frameAfter(jlong millis) {
        clock.advance(millis);
        auto* g = image->getGraphics();
        g->setClip(1, 1, 1, 1);
        game->onPaint(g);
        return g->getClipX() == 0 && g->getClipY() == 0;
    }

    ManualClock clock;
    cGame* game = nullptr;
    javax_microedition_lcdui_Image* image = nullptr;
    cGame::StateHandler saved = nullptr;

private:
    Object* m_root = nullptr;
    Object* m_imageRoot = nullptr;
};

TEST_F(FrameTimingTest, FrameTimeAndSpeedFactor) {
    struct Case {
        const char* name;
        jlong elapsed;
        jbyte alternatePlayer;
        jint frameTime;
        jint speedFactor;
    };
    const Case cases[] = {
        {"a period on an alternate-player level", 58, 1, 58, 14},
        {"a long load is clamped", 1500, 1, 1000, 256},
        {"the fixed step ignores the clock", 1500, 0, 50, 12},
        {"the fixed step at the period", 58, 0, 50, 12},
        {"no time at all", 0, 1, 0, 0},
    };
    for (const Case& c : cases) {
        cGame::s_altPlayerLevel = c.alternatePlayer;
        EXPECT_TRUE(frameAfter(c.elapsed)) << c.name;
        EXPECT_EQ(cGame::s_frameTime, c.frameTime) << c.name;
        EXPECT_EQ(cGame::s_speedFactor, c.speedFactor) << c.name;
        EXPECT_EQ(cGame::s_now, clock.monotonicMillis()) << c.name;
    }
    EXPECT_EQ(cGame::s_frameCounter, 5);
    // A clock that went back gives a frame time of 0, not a negative one.
    cGame::s_altPlayerLevel = 1;
    cGame::s_lastTick = clock.monotonicMillis() + 100;
    frameAfter(0);
    EXPECT_EQ(cGame::s_frameTime, 0);
}

TEST_F(FrameTimingTest, AverageFrameRateIsTakenIn64Bits) {
    // 30,000 frames x 100,000 passes 2^31; the rate is still frames x 100000 / (total + 1).
    cGame::s_altPlayerLevel = 1;
    cGame::s_frameCounter = 30000;
    cGame::s_totalFrameTime = 1'739'942;
    frameAfter(58);
    EXPECT_EQ(cGame::s_averageFps, static_cast<jint>(jlong{30000} * 100000 / (1'740'000 + 1)));
    EXPECT_EQ(cGame::s_averageFps, 1724);
    EXPECT_EQ(cGame::s_frameCounter, 30001);
}

TEST_F(FrameTimingTest, APausedGamePaintsNothingAndAResumeRestartsTheTiming) {
    cGame::s_altPlayerLevel = 1;
    frameAfter(58);
    game->onHideNotify();
    EXPECT_EQ(cGame::s_paused, 1);
    EXPECT_FALSE(frameAfter(58));
    EXPECT_EQ(cGame::s_frameCounter, 1);  // hidden: no frame
    clock.advance(5000);
    game->onShowNotify();  // no Application: the repaint it asks for paints nothing
    EXPECT_EQ(cGame::s_paused, 0);
    EXPECT_EQ(cGame::s_fullRedraw, 1);
    frameAfter(3);
    EXPECT_EQ(cGame::s_frameCounter, 2);
    EXPECT_EQ(cGame::s_frameTime, 3);  // not the 5 s of the pause
}

TEST_F(FrameTimingTest, AFrameInsideAFrameIsRefused) {
    cGame::s_inPaint = 1;
    EXPECT_FALSE(frameAfter(58));
    EXPECT_EQ(cGame::s_frameCounter, 0);
}

}  // namespace
