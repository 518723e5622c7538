// The submarine through the actor world: boarding, thrust against drag up to the top speed, turning,
// the wall bounce and its hull damage with the damage look, the air running out and the refill at
// a station, the engines' animation per heading, and the cut-back of its leading edges at a segment.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "actors/cactor.h"
#include "actors/chero.h"
#include "actors/csubmarine.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"
#include "tests/actors/motion_world.h"

namespace {

constexpr jint kDragPerFrame = -3840;   // -300 px/s² over 50 ms, 8.8

class SubmarineTest : public MotionWorld {
protected:
    void SetUp() override {
        MotionWorld::SetUp();
        cHero::s_godMode = false;
        installSprite(0, 2, 1);
        installSprite(29, 75, 1);
    }
    void TearDown() override {
        cHero::s_godMode = false;
        MotionWorld::TearDown();
    }

    // The hero and the vehicle on the same spot, far from any wall; the hero boards on the next frame.
    cSubmarine* boarded(const std::string& extra = {}) {
        startLevel(record({1, 1, 800, 600, 0, 0, 0}) + record({36, 2, 800, 600, 0, 0, 0}) + extra);
        auto* sub = static_cast<cSubmarine*>(actorById(2));
        EXPECT_NE(sub, nullptr);
        if (!sub) return nullptr;
        EXPECT_EQ(sub->state, cSubmarine::kStateWaiting);
        step();
        EXPECT_EQ(sub->state, cSubmarine::kStateDriving);
        return sub;
    }
    static void expectHeroAboard(const cSubmarine* sub) {
        ASSERT_NE(cGame::s_hero, nullptr);
        EXPECT_EQ(cGame::s_hero->x, sub->x);
        EXPECT_EQ(cGame::s_hero->y, sub->y);
    }
};

TEST_F(SubmarineTest, BoardingTakesTheHeroAndThrustUpAccumulatesAgainstDrag) {
    cSubmarine* sub = boarded();
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(cGame::s_inVehicle);
    EXPECT_EQ(cGame::s_vehicle, sub);
    EXPECT_EQ(cSubmarine::s_airMs, cSubmarine::kBoardedAirMs);
    EXPECT_EQ(sub->hull, 20);
    EXPECT_EQ(sub->heading, 192);

    holdKey(cGame::kKeyFire);
    jint lastY = sub->y, lastSpeed = 0;
    for (int f = 0; f < 10; ++f) {
        SCOPED_TRACE(f);
        step();
        if (f > 0) {
            EXPECT_LT(sub->y, lastY) << "moves up, a frame after the velocity is set";
        }
        EXPECT_GT(sub->behaviourSpeed, lastSpeed);
        EXPECT_LT(sub->behaviourSpeed, cSubmarine::kTopSpeed);
        EXPECT_EQ(sub->course, 192);
        EXPECT_EQ(sub->speedX, 0);
        EXPECT_EQ(sub->speedY, -sub->behaviourSpeed);
        expectHeroAboard(sub);
        lastY = sub->y;
        lastSpeed = sub->behaviourSpeed;
    }

    // Off the axes the engine outruns the drag, so the top speed caps it; the drag then takes its
    // share of the frame.
    sub->heading = 16;
    for (int f = 0; f < 80; ++f) {
        step();
        ASSERT_LE(sub->behaviourSpeed, cSubmarine::kTopSpeed + kDragPerFrame) << f;
    }
    EXPECT_EQ(sub->behaviourSpeed, cSubmarine::kTopSpeed + kDragPerFrame);
    EXPECT_EQ(sub->heading, 16);

    // Without thrust the water stops it, never pushing it backwards.
    releaseKey(cGame::kKeyFire);
    for (int f = 0; f < 40; ++f) {
        step();
        ASSERT_GE(sub->behaviourSpeed, 0);
    }
    EXPECT_EQ(sub->behaviourSpeed, 0);
    EXPECT_EQ(sub->speedX, 0);
    EXPECT_EQ(sub->speedY, 0);
    expectHeroAboard(sub);

    // A level trigger lets the hero out: back on its feet, the vehicle parked.
    sub->setState(cSubmarine::kStateLeaving);
    step();
    EXPECT_EQ(sub->state, cSubmarine::kStateLeft);
    EXPECT_FALSE(cGame::s_inVehicle);
    EXPECT_EQ(cGame::s_vehicle, nullptr);
    EXPECT_EQ(sub->behaviourSpeed, 0);
    EXPECT_TRUE(cGame::s_hero->hasFlag(cActor::kFlagGround));
    EXPECT_TRUE(cGame::s_hero->hasFlag(cActor::kFlagGravity));
}

TEST_F(SubmarineTest, HeadingStaysInOneTurnWhicheverWayItIsTurned) {
    cSubmarine* sub = boarded();
    ASSERT_NE(sub, nullptr);
    struct Case {
        jint angle, heading;
    };
    for (const Case& c : {Case{-10, 246}, Case{256, 0}, Case{-266, 246}, Case{511, 255}, Case{1000, 232}, Case{-256, 0}, Case{INT32_MIN, 0}}) {
        sub->setAngle(c.angle);
        EXPECT_EQ(sub->heading, c.heading) << c.angle;
    }
    sub->setAngle(192);
    holdKey(cGame::kKeyLeft);
    step(20);   // 200 units to the left of straight up
    EXPECT_EQ(sub->heading, 248);
    releaseKey(cGame::kKeyLeft);
    holdKey(cGame::kKeyRight);
    step(3);
    EXPECT_EQ(sub->heading, 22);
}

TEST_F(SubmarineTest, WallBounceMirrorsTheCourseAndHardImpactsCostHullAndShowDamage) {
    cSubmarine* sub = boarded();
    ASSERT_NE(sub, nullptr);
    struct Case {
        const char* what;
        jint wallX, wallY, course, speedPx;
        jint hullAfter, courseAfter;
    };
    const Case cases[] = {
        {"straight down onto a floor", 100, 0, 64, 300, 19, -64},
        {"grazing a floor below the threshold", 100, 0, 20, 300, 19, -20},
        {"right into a wall", 0, 100, 0, 250, 18, -128},
        {"just at the threshold into a wall", 0, 100, 128, 200, 17, -256},
        {"slowly into a wall", 0, 100, 0, 199, 17, -128},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sub->course = c.course;
        sub->behaviourSpeed = c.speedPx << 8;
        cSubmarine::s_wallHit = 1;
        cSubmarine::s_wallX = c.wallX;
        cSubmarine::s_wallY = c.wallY;
        step();
        EXPECT_EQ(sub->hull, c.hullAfter);
        EXPECT_EQ(sub->course, c.courseAfter);
        EXPECT_EQ(cSubmarine::s_wallHit, 0) << "consumed by the update";
    }
    drawFrame();
    ASSERT_NE(sub->player, nullptr);
    EXPECT_EQ(sub->player->anim, 4) << "three hull points lost";

    struct Look {
        jint hull, anim;
    };
    for (const Look& l : {Look{20, -1}, Look{19, 3}, Look{15, 5}, Look{10, 7}, Look{1, 10}})
        EXPECT_EQ(cSubmarine::hullAnimation(l.hull), l.anim) << l.hull;

    // In god mode a hard impact costs nothing; out of it the last hull point destroys the vehicle,
    // which then loses the hero.
    cHero::s_godMode = true;
    sub->hull = 1;
    sub->behaviourSpeed = 300 << 8;
    sub->course = 64;
    cSubmarine::s_wallHit = 1;
    cSubmarine::s_wallX = 100;
    cSubmarine::s_wallY = 0;
    step();
    EXPECT_EQ(sub->hull, 1);
    cHero::s_godMode = false;
    sub->behaviourSpeed = 300 << 8;
    sub->course = 64;
    cSubmarine::s_wallHit = 1;
    step();
    EXPECT_EQ(sub->hull, 0);
    EXPECT_EQ(sub->state, cSubmarine::kStateDestroyed);
    for (int f = 0; f < 20 && cGame::s_hero->state != 20; ++f) step();
    EXPECT_EQ(sub->state, cSubmarine::kStateHeroLost);
    EXPECT_EQ(cGame::s_hero->state, 20);
}

TEST_F(SubmarineTest, DrivenIntoAWallItBouncesBackLosingAHullPoint) {
    startLevel(record({1, 1, 800, 600, 0, 0, 0}) + record({36, 2, 800, 600, 0, 0, 0}),
               geometry({{{0}, {{1400, 0}, {1400, 2000}}}}, 1));
    auto* sub = static_cast<cSubmarine*>(actorById(2));
    ASSERT_NE(sub, nullptr);
    step();
    ASSERT_EQ(sub->state, cSubmarine::kStateDriving);
    sub->setAngle(0);
    holdKey(cGame::kKeyFire);
    int f = 0;
    for (; f < 200 && sub->hull == cSubmarine::kFullHull; ++f) step();
    ASSERT_LT(f, 200) << "never reached the wall";
    EXPECT_EQ(sub->hull, cSubmarine::kFullHull - 1);
    EXPECT_LT(sub->speedX, 0) << "thrown back";
    EXPECT_LE(sub->collisionRect->get(2), 1400 << 8);
    releaseKey(cGame::kKeyFire);
    step(5);
    EXPECT_LT(sub->x + sub->localBox->get(2), 1400 << 8);
    EXPECT_EQ(sub->hull, cSubmarine::kFullHull - 1);
    expectHeroAboard(sub);
}

TEST_F(SubmarineTest, AirRunsDownToDestructionAndAStationRefillsItToItsCapacity) {
    // A station (type 40) far away, linked as the station's message links it.
    cSubmarine* sub = boarded(record({40, 3, 3000, 600, 0, 0, 0, 25}));
    ASSERT_NE(sub, nullptr);
    cActor* station = actorById(3);
    ASSERT_NE(station, nullptr);

    step(4);
    EXPECT_EQ(cSubmarine::s_airMs, cSubmarine::kBoardedAirMs - 4 * 50);

    cHero::s_godMode = true;
    step(2);
    EXPECT_EQ(cSubmarine::s_airMs, cSubmarine::kBoardedAirMs - 4 * 50) << "no air used in god mode";
    cHero::s_godMode = false;

    // At the station: 5 ms of air per ms, capped at the capacity, then released to the right.
    sub->linked = station;
    station->linked = sub;
    cSubmarine::s_airMaxMs = 1000;
    cSubmarine::s_airMs = 600;
    sub->behaviourSpeed = 100 << 8;
    sub->setState(cSubmarine::kStateRefilling);
    step();
    EXPECT_EQ(cSubmarine::s_airMs, 850);
    EXPECT_EQ(sub->behaviourSpeed, 0) << "held still while refilling";
    step();
    EXPECT_EQ(cSubmarine::s_airMs, 1000);
    EXPECT_EQ(sub->state, cSubmarine::kStateRefilling);
    step();
    EXPECT_EQ(sub->state, cSubmarine::kStateDriving);
    EXPECT_EQ(station->state, 264);
    EXPECT_EQ(sub->behaviourSpeed, cSubmarine::kLeaveStationSpeed);
    EXPECT_EQ(sub->course, 256);
    const jint x = sub->x;
    step(2);
    EXPECT_GT(sub->x, x) << "leaves to the right";
    EXPECT_EQ(sub->y, cGame::s_hero->y);

    expectHeroAboard(sub);

    // Out of air: destroyed, and the hero is lost.
    cSubmarine::s_airMs = 120;
    step(2);
    EXPECT_EQ(sub->state, cSubmarine::kStateDriving);
    step();
    EXPECT_EQ(sub->state, cSubmarine::kStateDestroyed);
    for (int f = 0; f < 20 && cGame::s_hero->state != 20; ++f) step();
    EXPECT_EQ(cGame::s_hero->state, 20);
}

TEST_F(SubmarineTest, EnginesTurnWithTheHeadingInThirtyTwoStepsAndShowThrust) {
    struct Case {
        jint heading;
        bool thrusting;
        jint anim;
    };
    const Case cases[] = {
        {0, false, 26},   {7, false, 26},   {8, false, 27},  {128, false, 42}, {136, false, 11},
        {192, false, 18}, {255, false, 25}, {0, true, 58},   {128, true, 74},  {136, true, 43},
        {192, true, 50},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cSubmarine::engineAnimation(c.heading, c.thrusting), c.anim) << c.heading << " " << c.thrusting;

    cSubmarine* sub = boarded();
    ASSERT_NE(sub, nullptr);
    holdKey(cGame::kKeyFire);
    step();
    drawFrame();
    ASSERT_NE(cSubmarine::s_enginePlayer, nullptr);
    EXPECT_EQ(cSubmarine::s_enginePlayer->anim, 50);
    EXPECT_EQ(cSubmarine::s_enginePlayer->sprite, sub->player->sprite);
    releaseKey(cGame::kKeyFire);
    holdKey(cGame::kKeyRight);
    step();
    drawFrame();
    EXPECT_EQ(cSubmarine::s_enginePlayer->anim, cSubmarine::engineAnimation(202, false));
    EXPECT_EQ(cSubmarine::s_enginePlayer->frame, 0);
}

TEST_F(SubmarineTest, ASpriteWithoutTheDamageAndEngineAnimationsIsStillPainted) {
    installSprite(29, 2, 1);   // a pack's sprite may hold fewer animations than the vehicle asks for
    cSubmarine* sub = boarded();
    ASSERT_NE(sub, nullptr);
    sub->hull = 5;
    holdKey(cGame::kKeyFire);
    step();
    drawFrame();
    EXPECT_EQ(Runtime::getPendingException(), nullptr);
    ASSERT_NE(cSubmarine::s_enginePlayer, nullptr);
    EXPECT_EQ(cSubmarine::s_enginePlayer->anim, 50);
}

TEST_F(SubmarineTest, LeadingEdgesStopAtASegmentEndInsideTheHull) {
    // Two spikes whose tips the hull's corners would pass by: one below it, one to its right.
    startLevel(record({36, 2, 500, 500, kSliding, 0, 0}),
               geometry({{{0}, {{500, 540}, {500, 700}}}, {{0}, {{540, 500}, {700, 500}}}}, 1));
    auto* sub = static_cast<cSubmarine*>(actorById(2));
    ASSERT_NE(sub, nullptr);
    setBox(sub, -20, -20, 20, 20);
    struct Case {
        const char* what;
        jint polyline, segment, moveX, moveY;
        jint result, moveXAfter, moveYAfter, wallX, wallY;
    };
    const Case cases[] = {
        {"down onto the tip below", 0, 0, 0, 30, 1, 0, 20, 100, 0},
        {"right onto the tip beside", 1, 0, 30, 0, 1, 20, 0, 0, 100},
        {"up, away from the tip", 0, 0, 0, -30, 0, 0, -30, -1, -1},
        {"past the polyline's last point", 0, 1, 0, 30, 0, 0, 30, -1, -1},
        {"standing still", 0, 0, 0, 0, 0, 0, 0, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sub->moveX = c.moveX << 8;
        sub->moveY = c.moveY << 8;
        sub->refreshCollisionRect();
        cSubmarine::s_wallHit = 0;
        cSubmarine::s_wallX = cSubmarine::s_wallY = -1;
        EXPECT_EQ(sub->collideSegmentEdges(platformOf(c.polyline), c.segment), c.result);
        EXPECT_EQ(sub->moveX, c.moveXAfter << 8);
        EXPECT_EQ(sub->moveY, c.moveYAfter << 8);
        EXPECT_EQ(cSubmarine::s_wallHit, c.result);
        EXPECT_EQ(cSubmarine::s_wallX, c.wallX);
        EXPECT_EQ(cSubmarine::s_wallY, c.wallY);
    }
    EXPECT_EQ(sub->collideSegmentEdges(nullptr, 0), 0);

    // The same through a frame's contact pass: the hull's bottom stops on the tip.
    sub->moveX = sub->moveY = 0;
    cSubmarine::s_wallHit = 0;
    sub->speedY = speedFor(30);
    physicsFrame();
    EXPECT_EQ(sub->y + (20 << 8), 540 << 8);
    EXPECT_EQ(sub->x, 500 << 8);
    EXPECT_EQ(cSubmarine::s_wallHit, 1);
    EXPECT_EQ(cSubmarine::s_wallX, 100);
}

}  // namespace
