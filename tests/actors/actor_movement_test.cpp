// Movement: the first frame of a falling box and where it comes to rest, the pending move in 64 bits
// for strong gravity and long frames, the slope rule on steep ground, the angle slot, the ground
// probe, and the platform search that edge following uses.
#include <gtest/gtest.h>

#include "actors/cactor.h"
#include "actors/chero.h"
#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "tests/actors/motion_world.h"

namespace {

using ActorMovementTest = MotionWorld;

const std::string kFlatLine = ActorWorld::geometry({{{0}, {{0, 600}, {300, 600}, {700, 600}, {1000, 600}}}}, 1);

TEST_F(ActorMovementTest, GravityBoxFallsOntoAFlatSegmentAndRestsHalfAPixelAboveIt) {
    startLevel(boxRecord(1, 500, 100), kFlatLine);
    cActor* box = actorById(1);
    ASSERT_NE(box, nullptr);
    // The level start ran one frame: 2000 px/s² for 50 ms from rest.
    EXPECT_EQ(box->speedY, 25600);
    EXPECT_EQ(box->moveY, 1840);
    EXPECT_EQ(box->y, (100 << 8) + 1840);
    setBox(box, -20, -20, 20, 20);
    step(40);
    cActor* platform = platformOf(0);
    ASSERT_NE(platform, nullptr);
    EXPECT_EQ(box->y, restingY(600, 20));
    EXPECT_EQ(box->x, 500 << 8);
    EXPECT_EQ(box->contactFlags & 15, cActor::kDirFloor);
    EXPECT_EQ(box->groundId, platform->id);
    EXPECT_EQ(box->contactFlags >> 16, 1) << "the segment from 300 to 700";
    EXPECT_EQ(box->angle, 0);
    EXPECT_EQ(box->speedY, 0);
    EXPECT_TRUE(box->isOnGround());
}

TEST_F(ActorMovementTest, StrongGravityAndLongFramesFallTheFullDistance) {
    struct Case {
        const char* what;
        jint level, frameTime, type;
        bool strong;
        jint speedY, moveY;
    };
    const Case cases[] = {
        {"a box, 50 ms", 0, 50, kBoxType, false, 25600, 1840},
        // frameTime² x a is 6.4e9: it wraps in 32 bits.
        {"the hero, five times the gravity", 8, 50, 1, true, 128000, 6000 + 3200},
        // 100² x 512000 is 5.12e9.
        {"a box, a 100 ms frame", 0, 100, kBoxType, false, 51200, 5000 + 2560},
        // 70² x 512000 is 2.5e9: in 32 bits the term turns negative.
        {"a box, a 70 ms hitch", 0, 70, kBoxType, false, 35840, 2380 + 1254},
        {"the hero, strong gravity only on level 8", 3, 50, 1, true, 25600, 1840},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        chooseLevel(c.level);
        installSprite(0, 1, 1);
        startLevel(record({c.type, 1, 500, 100, kFalling, 0, 0}));
        cActor* a = actorById(1);
        ASSERT_NE(a, nullptr);
        a->speedY = a->speedX = 0;
        cActor::s_strongGravity = c.strong ? 1 : 0;
        cGame::s_frameTime = c.frameTime;
        cGame::s_speedFactor = c.frameTime * 256 / 1000;
        a->updateMovement();
        EXPECT_EQ(a->accelY, c.strong && c.level == 8 ? 5 * Z::GRAVITY : Z::GRAVITY);
        EXPECT_EQ(a->speedY, c.speedY);
        EXPECT_EQ(a->moveY, c.moveY);
    }
}

TEST_F(ActorMovementTest, SlopeSpeedFollowsTheTangentAndHoldsOnNearVerticalGround) {
    startLevel(boxRecord(1, 500, 100, kSliding));
    cActor* a = actorById(1);
    ASSERT_NE(a, nullptr);
    struct Case {
        const char* what;
        jint angle, speedX;
        bool onGround;
        jint speedY;
    };
    const Case cases[] = {
        {"45 degrees down to the right", 32, 25600, true, 25600},
        {"moving up the slope", 32, -25600, true, 0},
        {"in the air", 32, 25600, false, 0},
        // tan(63) is 10922: the product is 2.2e10, past 32 bits.
        {"nearly vertical, fast", 63, 2000000, true, 85328125},
        // The vertical tangent (the largest int) is held at 64:1.
        {"vertical", 64, 25600, true, 25600 * 64},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        a->angle = c.angle;
        a->speedX = c.speedX;
        a->speedY = 0;
        a->groundId = c.onGround ? 7 : -1;
        a->applySlope();
        EXPECT_EQ(a->speedY, c.speedY);
    }
}

TEST_F(ActorMovementTest, AngleSlotTurnsDegreesAndMirrorsFromAQuarterToThreeQuarters) {
    installSprite(0, 1, 1);
    startLevel(record({1, 1, 500, 100, 0, 0}));
    cActor* hero = cGame::s_hero;
    ASSERT_NE(hero, nullptr);
    struct Case {
        jint degrees, angle;
        bool mirrored;
    };
    for (const Case& c : {Case{90, 64, true}, Case{89, 63, false}, Case{270, 192, true}, Case{271, 192, true},
                          Case{272, 193, false}, Case{-90, -64, false}}) {
        SCOPED_TRACE(c.degrees);
        hero->setAngle(c.degrees);
        EXPECT_EQ(hero->angle, c.angle);
        EXPECT_EQ(hero->isFlipped(), c.mirrored);
    }
}

TEST_F(ActorMovementTest, HeroSlideSpeedComesFromLandingSlopesAndStopsByFriction) {
    installSprite(0, 1, 1);
    startLevel(record({1, 1, 500, 100, 0, 0, 0}));
    auto* hero = static_cast<cHero*>(cGame::s_hero);
    ASSERT_NE(hero, nullptr);
    struct Case {
        const char* what;
        jint landing, angle, state, speed;
        bool sliding;
        jint speedAfter, accelAfter;
    };
    const Case cases[] = {
        // Three quarters of the landing speed, then one frame of friction against it.
        {"landing on ground falling right", 25600, 0, 0, 0, false, 19200 - 10240, -Z::HERO_SLIDE_FRICTION},
        {"landing on ground falling left", 25600, 100, 0, 0, false, -19200 + 10240, Z::HERO_SLIDE_FRICTION},
        {"sliding down in state 0", 0, 20, 0, 0, true, 2560, Z::HERO_SLOPE_ACCEL},
        {"sliding, falling left, state 133", 0, 200, 133, 0, true, -2560, -Z::HERO_SLOPE_ACCEL},
        {"sliding in another state stops", 0, 20, 5, 1000, true, 0, 0},
        {"friction past zero stops", 0, 0, 0, 5000, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        hero->landingSpeed = c.landing;
        hero->angle = c.angle;
        hero->state = c.state;
        hero->heroSpeedX = c.speed;
        hero->heroAccelX = 0;
        hero->flags = c.sliding ? hero->flags | cActor::kFlagSliding : hero->flags & ~cActor::kFlagSliding;
        hero->updateSlideSpeed();
        EXPECT_EQ(hero->heroSpeedX, c.speedAfter);
        EXPECT_EQ(hero->heroAccelX, c.accelAfter);
        EXPECT_EQ(hero->landingSpeed, 0);
    }
}

TEST_F(ActorMovementTest, SegmentSnapPutsTheActorOnThatSegment) {
    startLevel(boxRecord(1, 500, 520, kSliding), kFlatLine);
    cActor* box = actorById(1);
    setBox(box, -20, -20, 20, 20);
    box->snapToSegment(-5, 1);   // no such platform: nothing happens
    EXPECT_EQ(box->y, 520 << 8);
    box->snapToSegment(platformOf(0)->id, 1);
    EXPECT_EQ(box->y, restingY(600, 20));
    EXPECT_EQ(box->groundId, platformOf(0)->id);
    EXPECT_EQ(box->contactFlags >> 16, 1);
}

TEST_F(ActorMovementTest, GroundProbeDropsAtMost160PixelsOrLeavesTheActorAlone) {
    struct Case {
        const char* what;
        int startY;
        bool lands;
    };
    for (const Case& c : {Case{"100 px above", 480, true}, Case{"200 px above", 380, false}}) {
        SCOPED_TRACE(c.what);
        startLevel(boxRecord(1, 500, c.startY, kSliding), kFlatLine);
        cActor* box = actorById(1);
        setBox(box, -20, -20, 20, 20);
        box->moveX = 77;
        box->moveY = 5;
        const jint y0 = box->y;
        box->probeGround();
        EXPECT_EQ(box->isOnGround(), c.lands);
        if (c.lands) {
            EXPECT_EQ(box->y, restingY(600, 20));
            EXPECT_EQ(box->groundId, platformOf(0)->id);
        } else {
            EXPECT_EQ(box->y, y0);
            EXPECT_EQ(box->moveX, 77);
            EXPECT_EQ(box->moveY, 5);
        }
    }
}

TEST_F(ActorMovementTest, PlatformSearchSeesTheLastTableEntryAndPassesOverALineWithoutSegments) {
    // Three lines end to end; the last one made is the table's last entry.
    startLevel(boxRecord(1, 100, 100, kSliding), geometry({{{0}, {{0, 600}, {150, 600}, {300, 600}}},
                                                           {{0}, {{300, 600}, {600, 600}}},
                                                           {{0}, {{600, 600}, {900, 640}}}},
                                                          1));
    cActor *a = platformOf(0), *b = platformOf(1), *c = platformOf(2);
    ASSERT_TRUE(a && b && c);
    ASSERT_EQ(cGame::actorAt(cGame::s_actorCount - 1), c);
    EXPECT_TRUE(cActor::findPlatformAt(b->id, 600 << 8, 600 << 8, 1));
    EXPECT_EQ(cActor::s_edgePlatform, c);
    EXPECT_EQ(cActor::s_edgeSegment, 0);
    EXPECT_TRUE(cActor::findPlatformAt(b->id, 300 << 8, 600 << 8, 0));
    EXPECT_EQ(cActor::s_edgePlatform, a);
    EXPECT_EQ(cActor::s_edgeSegment, 1) << "the last segment ends there";
    EXPECT_FALSE(cActor::findPlatformAt(c->id, 600 << 8, 600 << 8, 1)) << "the excluded platform";
    // A line left with one point does not hide the ones after it.
    IntArray* onePoint = Runtime::newIntArray(2);
    cGame::s_polyPoints->set(0, onePoint);
    EXPECT_TRUE(cActor::findPlatformAt(-1, 600 << 8, 600 << 8, 1));
    EXPECT_EQ(cActor::s_edgePlatform, c);
}

TEST_F(ActorMovementTest, ZoneSegmentSearchPassesOverALineWithoutSegments) {
    // A zone of 100 x 100 pixels from (250, 550) holds the second line's middle point.
    startLevel(record({5, 1, 250, 550, 0, 0, 100, 100, 2}),
               geometry({{{1}, {{0, 300}, {600, 300}}}, {{1}, {{0, 600}, {300, 600}, {600, 600}}}}, 1));
    cGame::s_polyPoints->set(0, Runtime::newIntArray(2));
    cActor* zone = actorById(1);
    zone->findZoneSegment();
    ASSERT_NE(zone->typeData, nullptr);
    EXPECT_EQ(zone->typeData->get(0), platformOf(1)->id);
    EXPECT_EQ(zone->typeData->get(1), 1);
}

TEST_F(ActorMovementTest, AnActorWalkingOffALineEndIsPutOnTheNextLine) {
    startLevel(boxRecord(1, 100, 100, kSliding),
               geometry({{{0}, {{0, 600}, {150, 600}, {300, 600}}}, {{0}, {{300, 600}, {600, 600}}}}, 1));
    cActor *a = platformOf(0), *b = platformOf(1);
    cActor* box = actorById(1);
    setBox(box, -20, -20, 20, 20);
    box->x = 310 << 8;
    box->y = restingY(600, 20);
    box->groundId = -1;
    box->prevGroundId = a->id;
    box->prevGroundSegment = 1;
    box->moveX = 4 << 8;
    box->moveY = 0;
    EXPECT_TRUE(box->followGroundEdge());
    EXPECT_EQ(box->groundId, b->id);
    EXPECT_EQ(box->contactFlags >> 16, 0);
    EXPECT_EQ(box->y, restingY(600, 20));
    // Moving back left onto the first line's last segment is the previous-line case; standing still
    // follows nothing.
    box->groundId = -1;
    box->prevGroundId = b->id;
    box->prevGroundSegment = 0;
    box->x = 290 << 8;
    box->moveX = -(4 << 8);
    EXPECT_TRUE(box->followGroundEdge());
    EXPECT_EQ(box->groundId, a->id);
    EXPECT_EQ(box->contactFlags >> 16, 1);
    box->groundId = -1;
    box->moveX = 0;
    EXPECT_FALSE(box->followGroundEdge());
}

}  // namespace
