// The actors' view as the game's heads-up display, touch play and pulsing picture read it: the
// hero's counters and state, the submarine it rides, and the racer's values on a race level.
#include <gtest/gtest.h>

#include "actors/cactor.h"
#include "actors/cenemy.h"
#include "actors/chero.h"
#include "actors/csubmarine.h"
#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "tests/actors/motion_world.h"

namespace {

jint px(jint v) { return v << 8; }

class ActorViewTest : public MotionWorld {
protected:
    void SetUp() override {
        MotionWorld::SetUp();
        cHero::s_godMode = false;
        cActor::registerActorView();
        ASSERT_NE(cGame::s_actorView, nullptr);
        installSprite(0, 2, 1);
        installSprite(29, 75, 1);
    }
    void TearDown() override {
        cHero::s_godMode = false;
        MotionWorld::TearDown();
    }
    static const cGame::ActorView& view() { return *cGame::s_actorView; }
    static cGame::HudValues hud() {
        cGame::HudValues v{};
        EXPECT_TRUE(view().hudValues(&v));
        return v;
    }
    static cHero* hero() { return static_cast<cHero*>(cGame::s_hero); }
};

TEST_F(ActorViewTest, HeroCountersStateAndStopComeFromTheHero) {
    cGame::HudValues none{};
    cGame::PulseValues pulse{};
    startLevel(boxRecord(5, 100, 100));
    EXPECT_FALSE(view().hudValues(&none));   // no hero, no alternate player
    EXPECT_FALSE(view().pulseValues(&pulse));
    EXPECT_EQ(view().heroState(), -1);
    view().stopHero();
    view().steerSubmarine(10);

    startLevel(record({1, 1, 800, 600, 0, 0, 0}));
    ASSERT_NE(hero(), nullptr);
    hero()->energy = 14;
    cHero::s_lives = 3;
    cHero::s_gunEnergy = 1234;
    cHero::s_specialShots = 2;
    const cGame::HudValues v = hud();
    EXPECT_EQ(v.energy, 14);
    EXPECT_EQ(v.lives, 3);
    EXPECT_EQ(v.meter, 1234);
    EXPECT_EQ(v.specialShots, 2);
    EXPECT_FALSE(v.inVehicle);
    EXPECT_EQ(v.raceTop, Z::DIST_36000PX);
    EXPECT_FALSE(view().pulseValues(&pulse));

    EXPECT_EQ(view().heroState(), hero()->state);
    hero()->speedX = px(120);
    hero()->speedY = px(-300);
    EXPECT_EQ(view().heroSpeedY(), px(-300));
    view().stopHero();
    EXPECT_EQ(hero()->speedX, 0);
    EXPECT_EQ(hero()->speedY, 0);

    EXPECT_FALSE(view().heroBasicMode());
    cHero::setBasicMode(true);
    EXPECT_TRUE(view().heroBasicMode());
    cHero::setBasicMode(false);
}

TEST_F(ActorViewTest, AboardTheSubmarineTheAirShowsAndTheFingerSteersIt) {
    startLevel(record({1, 1, 800, 600, 0, 0, 0}) + record({36, 2, 800, 600, 0, 0, 0}));
    auto* sub = static_cast<cSubmarine*>(actorById(2));
    ASSERT_NE(sub, nullptr);
    view().steerSubmarine(10);   // not aboard yet: the waiting submarine keeps its heading
    EXPECT_EQ(sub->heading, 192);
    EXPECT_FALSE(hud().inVehicle);

    step();
    ASSERT_EQ(sub->state, cSubmarine::kStateDriving);
    step(10);
    const cGame::HudValues v = hud();
    EXPECT_TRUE(v.inVehicle);
    EXPECT_LT(v.airMs, cSubmarine::kBoardedAirMs);
    EXPECT_EQ(v.airMs, cSubmarine::s_airMs);
    EXPECT_EQ(view().heroState(), hero()->state);

    view().steerSubmarine(300);   // a whole turn and 44
    EXPECT_EQ(sub->heading, 44);
    view().steerSubmarine(-20);
    EXPECT_EQ(sub->heading, 236);
}

class RaceViewTest : public ActorViewTest {
protected:
    void SetUp() override {
        ActorViewTest::SetUp();
        chooseLevel(1);
        ASSERT_TRUE(cGame::s_altPlayerLevel);
        installSprite(10, 16, 1);
        installSprite(17, 3, 1);
        installSprite(13, 9, 1);
    }
    void stepMs(jint ms, int n) {
        for (int i = 0; i < n; ++i) {
            cGame::s_frameTime = ms;
            cGame::s_speedFactor = ms * 256 / 1000;
            step();
        }
    }
};

TEST_F(RaceViewTest, RacerValuesHeightsAndPulseFollowTheRace) {
    startLevel(record({14, 1, 500, 30000, cActor::kFlagKeptActive, 0, 0}) +
                   record({21, 2, 700, 30500, cActor::kFlagKeptActive, 0, 0}),
               {}, 1000, 37000);
    auto* racer = static_cast<cEnemy*>(cGame::s_altPlayer);
    ASSERT_NE(racer, nullptr);
    ASSERT_NE(racer->typeData, nullptr);
    ASSERT_GE(racer->typeData->length, 2);
    stepMs(50, 20);
    racer->health = 9;
    racer->typeData->set(0, 17);
    racer->typeData->set(1, 3);
    cHero::s_lives = 4;

    cGame::HudValues v = hud();
    EXPECT_EQ(v.lives, 4);
    EXPECT_EQ(v.altHealth, 9);
    EXPECT_EQ(v.altValues[0], 17);
    EXPECT_EQ(v.altValues[1], 3);
    EXPECT_EQ(v.raceHeightPlayer, racer->y);
    ASSERT_NE(actorById(2), nullptr);
    EXPECT_EQ(v.raceHeightRival, actorById(2)->y);
    EXPECT_LT(v.raceHeightPlayer, px(30000));   // it has climbed
    EXPECT_EQ(v.raceTop, px(36000));

    // Cruising the picture stays dark; at the boost's top speed it is bright.
    cGame::PulseValues pulse{};
    ASSERT_TRUE(view().pulseValues(&pulse));
    EXPECT_EQ(pulse.altPlayerState, racer->state);
    EXPECT_GT(pulse.threshold, pulse.limit);
    racer->typeData->set(2, 5000);
    stepMs(140, 30);   // 4200 of its 5000 ms
    ASSERT_TRUE(view().pulseValues(&pulse));
    EXPECT_EQ(pulse.threshold, px(-800));
    EXPECT_LE(pulse.threshold, pulse.limit);

    // A racer without its values reads them as 0.
    IntArray* values = racer->typeData;
    racer->typeData = nullptr;
    v = hud();
    EXPECT_EQ(v.altValues[0], 0);
    EXPECT_EQ(v.altValues[1], 0);
    racer->typeData = values;
}

}  // namespace
