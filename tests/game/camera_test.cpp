// The chase camera step by step: the chase's acceleration and speed limit (never past the target),
// the snap, the trigger lock and a holding zone, the shake's run, the bounds, the race levels' wide
// view, and layer 0's vertical parallax (with the ratio that cannot divide).
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "actors/cactor.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "tests/support/actor_world.h"

namespace {

class CameraTest : public ActorWorld {
protected:
    // A plain followed actor (type 4) at world pixels (x, y) in a level of 4000 x 2000.
    cActor* followed(jint x, jint y) {
        startLevel(record({4, 1, x, y, 0, 0}));
        cActor* a = actorById(1);
        cGame::s_cameraFollow = a;
        cGame::s_cameraSnap = 0;
        return a;
    }
};

TEST_F(CameraTest, ChaseAcceleratesToItsLimitAndNeverPassesTheTarget) {
    cActor* a = followed(400, 240);
    cGame::updateCamera();
    cGame::s_cameraSnap = 1;
    cGame::updateCamera();
    ASSERT_EQ(cGame::s_cameraX, 0);
    a->x += 1000 << 8;   // the target moves 1000 pixels to the right
    std::vector<jint> velocities;
    jint previous = cGame::s_cameraX;
    for (int i = 0; i < 100; ++i) {
        cGame::updateCamera();
        velocities.push_back(cGame::s_cameraX - previous);
        previous = cGame::s_cameraX;
        ASSERT_LE(cGame::s_cameraX, 1000) << "step " << i;
    }
    EXPECT_EQ(cGame::s_cameraX, 1000);
    // 90 px/s² at 50 ms steps is 4 pixels per step more each step, up to the limit of 40.
    EXPECT_EQ(std::vector<jint>(velocities.begin(), velocities.begin() + 3), (std::vector<jint>{4, 8, 12}));
    EXPECT_EQ(*std::max_element(velocities.begin(), velocities.end()), 40);
    EXPECT_EQ(velocities[20], 40);
}

TEST_F(CameraTest, SnapLandsOnTheTargetWithTheJumpAsVelocity) {
    followed(1400, 900);
    cGame::s_cameraSnap = 1;
    cGame::updateCamera();
    EXPECT_EQ(cGame::s_cameraX, 1000);
    EXPECT_EQ(cGame::s_cameraY, 680);   // 900 + 20 - 240
    EXPECT_EQ(cGame::s_cameraVelY, 680);
    EXPECT_EQ(cGame::s_cameraSnap, 0);
}

TEST_F(CameraTest, LockAndHoldingZoneStopTheChaseButNotShakeOrBounds) {
    cActor* a = followed(1400, 900);
    struct Case {
        const char* what;
        jint lock;
        bool zone;
    };
    for (Case c : {Case{"trigger lock", 1, false}, Case{"a zone holding the camera", 0, true}}) {
        SCOPED_TRACE(c.what);
        cGame::s_cameraX = 5000;   // past the bounds
        cGame::s_cameraY = 100;
        cGame::s_cameraLock = c.lock;
        cGame::s_cameraZone = c.zone ? a : nullptr;
        a->state = c.zone ? 1 : 0;
        const jint target = cGame::s_cameraTargetX;
        cGame::updateCamera();
        EXPECT_EQ(cGame::s_cameraX, 4000 - 800) << "clamped";
        EXPECT_EQ(cGame::s_cameraTargetX, target) << "no new target";
        if (c.lock == 1) {
            EXPECT_EQ(cGame::s_cameraY, 100) << "no chase";
        }
        cGame::s_cameraLock = 0;
        cGame::s_cameraZone = nullptr;
    }
}

TEST_F(CameraTest, ShakeRunsDownAndASecondOneWaits) {
    followed(400, 240);
    cGame::s_cameraLock = 1;   // a still camera, so the offsets show alone
    cGame::s_cameraX = cGame::s_cameraY = 100;
    cGame::startScreenShake(3, 1000);
    std::vector<jint> offsets;
    for (int i = 0; i < 6; ++i) {
        const jint before = cGame::s_cameraX;
        cGame::updateCamera();
        offsets.push_back(cGame::s_cameraX - before);
        cGame::s_cameraX = before;
    }
    EXPECT_EQ(offsets, (std::vector<jint>{-3, 2, -2, 1, -1, 0}));
    EXPECT_EQ(cGame::s_shakeActive, 0);
    cGame::startScreenShake(5, 100);   // 700 ms of the first one's time left
    EXPECT_EQ(cGame::s_shakeActive, 0);
    EXPECT_EQ(cGame::s_shakeX, 0);
}

TEST_F(CameraTest, RaceLevelsViewIsAThousandPixelsWide) {
    struct Case {
        jint level, right;
    };
    for (Case c : {Case{0, 799}, Case{1, 999}, Case{4, 999}}) {
        SCOPED_TRACE(c.level);
        chooseLevel(c.level);
        followed(400, 240);
        cGame::s_cameraX = cGame::s_cameraY = 0;
        cGame::s_cameraLock = 1;
        cGame::updateCamera();
        EXPECT_EQ(cGame::s_viewRect->get(2), c.right << 8);
        EXPECT_EQ(cGame::s_viewRect->get(3), 479 << 8);
        cGame::s_cameraLock = 0;
    }
}

TEST_F(CameraTest, LayerZeroParallaxFollowsTheRatioOrStaysWhenThereIsNone) {
    struct Case {
        const char* what;
        jint levelWidth, layerHeight, cameraY, y0;
    };
    const Case cases[] = {
        {"half speed", 2480, 1480, 200, 100},
        {"a layer no taller than the view", 2480, 480, 200, 0},
        {"a level as narrow as 480: no ratio", 480, 1480, 200, 0},
        {"a level narrower than 480: negative ratio", 400, 1480, 200, 0},
        {"a ratio that rounds to 0", 481, 100000, 200, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cGame::s_levelWidth = c.levelWidth;
        EXPECT_EQ(cGame::layer0ParallaxY(c.cameraY, c.layerHeight), c.y0);
    }
}

}  // namespace
