// Behaviours of the level's props through the play step: the hook carriage's path (a vertical one
// leaves the height alone) and its ride, the geyser's slanted updraft (an empty one when its top and bottom
// agree) and the rocks it throws, which drift down through it and fall freely below it; the
// switch's conditions, counts and actions; one spawner at a time; the bullet's end; the platforms
// that tip under the hero and the lift pair; the warp doors; the ride; the pickups, what each gives
// and the pull of a thrown one towards the hero; the releaser's drops and ride.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "actors/cactor.h"
#include "actors/chero.h"
#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "tests/support/actor_world.h"

namespace {

using Lifts = std::vector<std::pair<jint, jint>>;
Lifts g_lifts;  // message 33 and its b, per message

jint g_damage = 0;

class LiftProbe final : public cHero {
public:
    void onMessage(cActor*, jint message, jint, jint b, jint c) override {
        if (message == 33) g_lifts.push_back({message, b});
        if (message == kMsgHit) g_damage += c;
    }
};

class ActorBehavioursTest : public ActorWorld {
protected:
    void SetUp() override {
        ActorWorld::SetUp();
        g_lifts.clear();
        g_damage = 0;
    }

    static LiftProbe* placeHero(jint x, jint y) {
        auto* hero = Runtime::make<LiftProbe>();
        EXPECT_NE(hero, nullptr);
        hero->type = 1;
        hero->id = 1;
        hero->localBox->fill({-10 << 8, -40 << 8, 10 << 8, 0});
        hero->x = x << 8;
        hero->y = y << 8;
        hero->refreshCollisionRect();
        cGame::s_hero = hero;
        return hero;
    }
    // A geyser at (400, 400): top at 400 + top, bottom at 400 + bottom, sides at 300 and 500, rocks
    // from 350 to 500 (the sides slant in by 50 pixels at the top).
    static std::string geyser(jint top, jint bottom) {
        return record({6, 30, 400, 400, 0, 0, 0, -50, top, 100, 0, -100, bottom, 100});
    }
};

TEST_F(ActorBehavioursTest, CarriagePathGivesTheHeightForAnXAndAVerticalOneKeepsIt) {
    struct Case {
        const char* what;
        jint x0, y0, x1, y1, x, y, expectedY;
    };
    const Case cases[] = {
        {"half way along a slope", 100, 100, 300, 200, 200, 0, 150},
        {"at the start", 100, 100, 300, 200, 100, 0, 100},
        {"a vertical path", 100, 100, 100, 400, 100, 250, 250},
        {"a path of no length", 100, 100, 100, 100, 100, 70, 70},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* carriage = Runtime::make<cActor>();
        ASSERT_NE(carriage, nullptr);
        carriage->type = 7;
        carriage->typeData = Runtime::newIntArray(5);
        carriage->typeData->fill({c.x0 << 8, c.y0 << 8, c.x1 << 8, c.y1 << 8, 1});
        carriage->x = c.x << 8;
        carriage->y = c.y << 8;
        carriage->moveType7();
        EXPECT_EQ(carriage->y, c.expectedY << 8);
    }
}

TEST_F(ActorBehavioursTest, GeyserLiftsTheHeroInsideItsSlantedRegionOnly) {
    struct Case {
        jint x, y;
        bool lifted;
    };
    const Case cases[] = {
        {400, 250, true},  {310, 390, true}, {310, 130, false},  // the side slants in near the top
        {250, 300, false}, {400, 90, false}, {400, 480, true},   // up to 90 below the bottom
        {400, 500, false},
    };
    startLevel(geyser(-300, 0), {}, 1600, 960);
    LiftProbe* hero = placeHero(0, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        hero->x = c.x << 8;
        hero->y = c.y << 8;
        g_lifts.clear();
        step(1);
        const Lifts expected = c.lifted ? Lifts{{33, 100 << 8}} : Lifts{};
        EXPECT_EQ(g_lifts, expected);
    }
    // Rising through the top stops the hero there.
    hero->x = 400 << 8;
    hero->y = 130 << 8;
    hero->refreshCollisionRect();
    hero->speedY = -300 << 8;
    step(1);
    EXPECT_EQ(hero->speedY, 0);
}

TEST_F(ActorBehavioursTest, GeyserWithEqualTopAndBottomIsAnEmptyUpdraft) {
    startLevel(geyser(0, 0), {}, 1600, 960);
    for (jint y : {399, 400, 401, 450}) {
        placeHero(400, y);
        step(1);
    }
    EXPECT_TRUE(g_lifts.empty());
}

TEST_F(ActorBehavioursTest, GeyserRockRisesDriftsThroughTheUpdraftAndFallsBelowIt) {
    startLevel(geyser(-300, 0), {}, 1600, 960);
    placeHero(1200, 900);
    cActor* rock = nullptr;
    for (int i = 0; i < 45 && !rock; ++i) {
        step(1);
        for (jint k = 0; k < cGame::s_actorCount; ++k)
            if (actor(k)->type == 58) rock = actor(k);
    }
    ASSERT_NE(rock, nullptr);
    EXPECT_EQ(cGame::s_frameCounter + 1, 40) << "every 2000 ms, the level start's frame counted";
    EXPECT_GE(rock->x, 350 << 8);
    EXPECT_LT(rock->x, 500 << 8);
    EXPECT_EQ(rock->linked, actorById(30));
    // Up first, then down with gravity until it passes the top; then it drifts at 120 px/s.
    jint highest = rock->y;
    int frames = 0;
    for (; frames < 200 && rock->hasFlag(cActor::kFlagGravity); ++frames) {
        step(1);
        highest = std::min(highest, rock->y);
    }
    EXPECT_LT(highest, 60 << 8);
    EXPECT_GT(rock->y, 100 << 8);
    EXPECT_EQ(rock->speedY, 120 << 8);
    for (frames = 0; frames < 400 && rock->linked; ++frames) step(1);
    EXPECT_EQ(rock->linked, nullptr);
    EXPECT_GT(rock->y, 400 << 8);
    EXPECT_TRUE(rock->hasFlag(cActor::kFlagGravity));
}

TEST_F(ActorBehavioursTest, SwitchFiresWhenItsConditionHasHeldOneFrameMoreThanItsCount) {
    // Switch 40 at (100, 100) .. (300, 300) watches actor 50 and acts on 51 (out of view, asleep).
    struct Case {
        const char* what;
        jint condition, count, watched, action;
        bool watchedInside, watchedKilled;
        int firingFrame;  // the level start's frame is the first; -1 never within 10. The kill and the
                          // followed hero come after the level start: its frame does not count for them
    };
    const Case cases[] = {
        {"watched inside, count 2: the third frame", 1, 2, 50, 0, true, false, 3},
        {"watched outside", 1, 0, 50, 0, false, false, -1},
        {"a watched id that names no actor", 1, 0, 77, 0, true, false, -1},
        {"watched alive", 4, 0, 50, 0, true, false, -1},
        {"watched killed, count 1", 4, 1, 50, 2, true, true, 3},
        {"the followed actor inside", 0, 0, 0, 3, true, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        const std::string records =
            record({10, 40, 100, 100, 0, 0, 200, 200, c.condition, c.count, c.watched, 0, 0, 51, 0, 0, c.action}) +
            record({3, 50, c.watchedInside ? 150 : 600, 150, 0, 0}) + record({3, 51, 1500, 150, 0, 0});
        startLevel(records, {}, 1600, 960);
        LiftProbe* hero = placeHero(c.watchedInside ? 200 : 600, 250);
        hero->energy = 100;
        cGame::s_cameraFollow = hero;
        cActor* sw = actorById(40);
        cActor* target = actorById(51);
        if (c.watchedKilled) actorById(50)->setFlag(cActor::kFlagKilled);
        int frame = 1;
        while (frame < 10 && sw->hasFlag(cActor::kFlagActive)) {
            step(1);
            ++frame;
        }
        EXPECT_EQ(sw->hasFlag(cActor::kFlagActive) ? -1 : frame, c.firingFrame);
        if (c.firingFrame < 0) continue;
        EXPECT_TRUE(sw->hasFlag(cActor::kFlagKilled)) << "for good";
        const bool woken = target->hasFlag(cActor::kFlagActive), killed = target->hasFlag(cActor::kFlagKilled);
        const bool switchedOff = target->hasFlag(32);
        EXPECT_EQ(woken, c.action == 0);
        EXPECT_EQ(killed, c.action == 2);
        EXPECT_EQ(switchedOff, c.action != 0);
    }
}

TEST_F(ActorBehavioursTest, OnlyOneSpawnerRunsAtATime) {
    // Two starters with the same record rectangle (100, 0) .. (300, 100).
    startLevel(
        record({35, 60, 100, 100, 0, 0, 0, 0, -100, 200, 100}) + record({35, 61, 100, 100, 0, 0, 0, 0, -100, 200, 100}),
        {}, 1600, 960);
    placeHero(200, 50);
    step(2);
    std::vector<cActor*> spawners;
    for (jint k = 0; k < cGame::s_actorCount; ++k)
        if (actor(k)->type == 63) spawners.push_back(actor(k));
    ASSERT_EQ(spawners.size(), 1u);
    EXPECT_TRUE(cActor::s_spawnerActive);
    EXPECT_TRUE(spawners[0]->hasFlag(cActor::kFlagKeptActive));
    const int started = (actorById(60)->state == 246) + (actorById(61)->state == 246);
    EXPECT_EQ(started, 1);
    step(10);
    EXPECT_EQ(spawners[0]->state, 254) << "its first run";
}

TEST_F(ActorBehavioursTest, BulletHurtsTheHeroSideThenEndsInASparkWithItsSound) {
    startLevel({}, {}, 1600, 960);
    LiftProbe* hero = placeHero(300, 300);
    hero->addToList(cActor::kListUpdate);
    cGame::s_difficulty = 2;
    installSprite(28, 3, 2);  // its frame, 20 x 40 above its position, is what it hurts with
    cActor* bullet = cGame::spawnActor(64, 28, 300 << 8, 300 << 8);
    ASSERT_NE(bullet, nullptr);
    cGame::startPlayerAnim(bullet->player, 2, -1);  // as the spawner drops it
    bullet->updateType64();
    EXPECT_EQ(g_damage, 10);
    bullet->setState(259);
    step(1);
    bool removed = true, spark = false;
    for (jint k = 0; k < cGame::s_actorCount; ++k) {
        removed = removed && actor(k) != bullet;
        spark = spark || actor(k)->type == 61;
    }
    EXPECT_TRUE(removed);
    EXPECT_TRUE(spark);
    EXPECT_NE(std::find(soundLog.begin(), soundLog.end(), "1: play 9"), soundLog.end());
}

TEST_F(ActorBehavioursTest, TippingPlatformTipsFromTwoHundredToFourHundredInAboutHalfASecond) {
    startLevel(record({29, 70, 300, 300, 0, 0, 0, -100, 0, 71}) + record({3, 71, 600, 300, 0, 0}), {}, 1600, 960);
    cActor* platform = actorById(70);
    cActor* partner = actorById(71);
    EXPECT_EQ(platform->state, 229);
    EXPECT_EQ(partner->flags & 0x8000008, 0x8000008) << "held while the platform rests";
    LiftProbe* hero = placeHero(300, 290);
    hero->groundId = 70;
    step(1);
    EXPECT_EQ(platform->state, 230);
    EXPECT_EQ(platform->typeData->get(0), -200) << "facing right it tips down";
    // 400 a second in steps of whole units: 19 a 50 ms frame, -400 (held there) in the 11th frame.
    const jint perFrame = cActor::scaleBySpeedFactor(400);
    EXPECT_EQ(perFrame, 19);
    step(5);
    EXPECT_EQ(platform->typeData->get(0), -200 - 5 * perFrame);
    step(5);
    EXPECT_EQ(platform->state, 230);
    step(1);
    EXPECT_EQ(platform->typeData->get(0), -400);
    EXPECT_EQ(platform->state, 232);
    step(20);
    EXPECT_EQ(platform->state, 229) << "after a second tipped";
    EXPECT_FALSE(partner->hasFlag(cActor::kFlagWaiting)) << "let go";
    // Stepping off while it tips brings it back to rest.
    step(1);
    EXPECT_EQ(platform->state, 230);
    hero->groundId = -1;
    step(1);
    EXPECT_EQ(platform->state, 229);
}

TEST_F(ActorBehavioursTest, LiftPairRisesByItsTravelWithItsPartnerAndComesBack) {
    startLevel(record({29, 70, 300, 300, 0, 0, 0, -100, 2, 71}) + record({29, 71, 500, 300, 0, 0, 0, -100, 2, 70}), {},
               1600, 960);
    cActor* lift = actorById(70);
    cActor* partner = actorById(71);
    EXPECT_EQ(lift->state, 233);
    LiftProbe* hero = placeHero(300, 290);
    hero->groundId = 70;
    step(1);
    EXPECT_EQ(lift->state, 234);
    EXPECT_EQ(partner->state, 234);
    hero->groundId = -1;
    jint top = lift->y;
    for (int i = 0; i < 100 && lift->state != 233; ++i) {
        step(1);
        top = std::min(top, lift->y);
    }
    EXPECT_EQ(lift->state, 233);
    EXPECT_LE(top, 200 << 8);
    EXPECT_GT(top, 190 << 8) << "it turns at its travel";
    EXPECT_GE(lift->y, 300 << 8);
}

TEST_F(ActorBehavioursTest, GateWithoutItsLeverOpensBy160AndClosesHome) {
    startLevel(record({30, 80, 300, 300, 0, 0, 0, 0, 99}), {}, 1600, 960);  // lever 99 does not exist
    cActor* gate = actorById(80);
    EXPECT_EQ(gate->state, 240);
    EXPECT_EQ(gate->linked, nullptr);
    gate->setState(241);
    step(1);
    EXPECT_EQ(gate->speedY, -100 << 8);
    for (int i = 0; i < 60 && gate->speedY != 0; ++i) step(1);
    EXPECT_EQ(gate->speedY, 0);
    EXPECT_LE(gate->y, 140 << 8);
    EXPECT_GT(gate->y, 130 << 8);
    gate->setState(242);
    for (int i = 0; i < 60 && gate->y < (300 << 8); ++i) step(1);
    step(1);
    EXPECT_EQ(gate->speedY, 0) << "stopped at home";
    EXPECT_GE(gate->y, 300 << 8);
}

TEST_F(ActorBehavioursTest, CarriageHooksTheHeroRidesItsLineAndGoesHomeOutOfView) {
    // The line from (200, 100) to (500, 250); the hero's top corners meet the carriage's frame.
    const jint slot = Z::s_typeSprite ? Z::s_typeSprite->get(7) : -1;
    ASSERT_GE(slot, 0);
    installSprite(slot, 4, 1);
    startLevel(record({7, 90, 200, 100, 0, 0, 0, 0, 0, 300, 150}), {}, 4000, 960);
    cActor* carriage = actorById(90);
    ASSERT_NE(carriage, nullptr);
    std::vector<jint> hooks;
    struct Probe : cHero {
        std::vector<jint>* log;
        void onMessage(cActor*, jint message, jint, jint, jint) override { log->push_back(message); }
    };
    auto* hero = Runtime::make<Probe>();
    ASSERT_NE(hero, nullptr);
    hero->log = &hooks;
    hero->type = 1;
    hero->localBox->fill({-10 << 8, -40 << 8, 10 << 8, 0});
    hero->x = 200 << 8;
    hero->y = 130 << 8;  // its top at 90, inside the carriage's frame (60 .. 100)
    cGame::s_hero = hero;
    step(1);
    EXPECT_EQ(hooks, std::vector<jint>{34});
    EXPECT_EQ(carriage->state, 157);
    // Riding: the height follows the line, and the end of the run is passed over.
    hero->linked = carriage;
    carriage->speedX = 300 << 8;
    for (int i = 0; i < 60 && carriage->state == 157; ++i) {
        step(1);
        if (carriage->state == 157) {
            EXPECT_EQ(carriage->y, (100 << 8) + (carriage->x - (200 << 8)) / 2);
        }
    }
    EXPECT_EQ(carriage->state, 159);
    EXPECT_GE(carriage->x, 500 << 8);
    // More than 160 out of view (still near enough to be updated) it is back home, waiting.
    hero->linked = nullptr;
    hero->x = 1200 << 8;
    cGame::s_cameraFollow = hero;
    cGame::s_cameraSnap = 1;
    step(2);
    EXPECT_EQ(carriage->state, 156);
    EXPECT_EQ(carriage->x, 200 << 8);
    EXPECT_EQ(carriage->y, 100 << 8);
    EXPECT_EQ(carriage->speedX, 0);
}

TEST_F(ActorBehavioursTest, WarpDoorCarriesTheFallingHeroAndTheReturnWaitsUntilItStepsOff) {
    // Doors 100 at (200, 300) and 101 at (600, 300), each the other's destination; 102 disabled;
    // 103 a level exit. Each door's box is 40 x 80 above its position.
    installSprite(13, 5, 2);  // the warp spark: animation 3 and 4 of two frames
    auto door = [](jint id, jint x, jint dest, jint disabled, jint exitField) {
        return record({18, id, x, 300, 0, 0, 0, -20, -80, 40, 80, dest, 0, disabled, 0, 0, 0, 0, exitField});
    };
    startLevel(door(100, 200, 101, 0, -1) + door(101, 600, 100, 0, -1) + door(102, 400, 100, 1, -1) +
                   door(103, 700, 100, 0, 0),
               {}, 1600, 960);
    LiftProbe* hero = placeHero(200, 290);
    hero->flags = cActor::kFlagGround;
    hero->groundId = -1;
    hero->speedY = 256;  // falling
    // The hero is not in the update walk: its box follows it here.
    auto frame = [&] {
        hero->refreshCollisionRect();
        step(1);
    };
    frame();
    ASSERT_NE(cActor::s_waitEffect, nullptr);
    EXPECT_TRUE(hero->hasFlag(cActor::kFlagWaiting));
    for (int i = 0; i < 20 && hero->x != 600 << 8; ++i) frame();
    EXPECT_EQ(hero->x, 600 << 8);
    EXPECT_EQ(hero->y, 300 << 8);
    // The spark plays its arrival, then goes and lets the hero use checkpoints again.
    for (int i = 0; i < 20 && cActor::s_waitEffect; ++i) frame();
    EXPECT_EQ(cActor::s_waitEffect, nullptr);
    EXPECT_FALSE(hero->hasFlag(cActor::kFlagWaiting));
    // Still in door 101 and falling: no return trip until the hero has stepped off.
    hero->speedY = 256;  // the arrival put the hero into its first state
    for (int i = 0; i < 5; ++i) frame();
    EXPECT_EQ(cActor::s_waitEffect, nullptr);
    hero->x = 900 << 8;
    frame();
    hero->x = 600 << 8;
    frame();
    EXPECT_NE(cActor::s_waitEffect, nullptr) << "back the other way";
    for (int i = 0; i < 20 && hero->x != 200 << 8; ++i) frame();
    EXPECT_EQ(hero->x, 200 << 8);
    for (int i = 0; i < 20 && cActor::s_waitEffect; ++i) frame();

    // A disabled door never reacts; an exit door ends the level.
    for (jint x : {400, 700}) {
        hero->speedY = 256;
        hero->x = x << 8;
        frame();
        for (int i = 0; i < 20 && cActor::s_waitEffect; ++i) frame();
    }
    EXPECT_NE(hero->x, 200 << 8) << "the disabled door sent it nowhere";
    EXPECT_EQ(cGame::s_levelComplete, 1);
    EXPECT_EQ(cGame::s_nextState, 19);
}

TEST_F(ActorBehavioursTest, RideWaitsAtItsStopCarriesTheHeroToItsEndAndStartsAgainFromHome) {
    const jint slot = Z::s_typeSprite ? Z::s_typeSprite->get(42) : -1;
    ASSERT_GE(slot, 0);
    installSprite(slot, 4, 1);
    installSprite(18, 10, 1);  // the marker
    // Home (600, 390) on a line at 400; it stops at 400 and the ride ends at 200.
    const std::string line = ActorWorld::geometry({{{0}, {{0, 400}, {1000, 400}}}}, 1);
    startLevel(record({42, 110, 600, 390, 0, 0, 0, -200, -400}), line, 1600, 960);
    cActor* ride = actorById(110);
    ASSERT_NE(ride, nullptr);
    EXPECT_EQ(ride->state, 275);
    ride->setState(276);  // what its behaviour table does next
    for (int i = 0; i < 40 && ride->state != 278; ++i) step(1);
    ASSERT_EQ(ride->state, 278);
    EXPECT_LE(ride->x, 400 << 8);
    ASSERT_NE(ride->linked, nullptr);
    EXPECT_EQ(ride->linked->type, 61) << "the marker";
    // The hero drops onto it.
    LiftProbe* hero = placeHero(ride->x >> 8, (ride->y >> 8) - 20);
    hero->groundId = -1;
    hero->speedY = 256;
    hero->refreshCollisionRect();
    step(1);
    EXPECT_EQ(ride->state, 279);
    EXPECT_EQ(ride->linked, hero);
    EXPECT_EQ(hero->linked, ride);
    EXPECT_EQ(hero->state, 138);
    for (int i = 0; i < 40 && ride->state != 281; ++i) {
        step(1);
        if (ride->state != 281) {
            EXPECT_EQ(hero->x, ride->x);
        }
    }
    ASSERT_EQ(ride->state, 281);
    EXPECT_LE(ride->x, 200 << 8);
    EXPECT_EQ(hero->linked, nullptr) << "let go";
    EXPECT_EQ(hero->state, 0);
    for (int i = 0; i < 60 && ride->state != 276 && ride->state != 277; ++i) step(1);
    EXPECT_TRUE(ride->state == 276 || ride->state == 277);
    EXPECT_FALSE(ride->isFlipped());
}

TEST_F(ActorBehavioursTest, Type40CarriesItsLinkedActorThenEndsInASparkLeavingDust) {
    installSprite(13, 10, 1);
    startLevel(record({40, 120, 300, 300, 0, 0}) + record({3, 121, 500, 300, 0, 0}), {}, 1600, 960);
    cActor* carrier = actorById(120);
    cActor* carried = actorById(121);
    carrier->linked = carried;
    carrier->setState(263);
    step(1);
    EXPECT_EQ(carried->state, 143);
    EXPECT_NE(carried->x, 500 << 8) << "moved onto the carrier";
    carrier->linked = nullptr;  // a missing linked actor changes nothing
    step(1);
    auto count = [](jint anim) {
        jint n = 0;
        for (jint k = 0; k < cGame::s_actorCount; ++k)
            n += actor(k)->type == 61 && actor(k)->player && actor(k)->player->anim == anim;
        return n;
    };
    const jint dustBefore = count(9);
    cGame::s_frameCounter = 29;  // the dust puffs on frames that are multiples of 15
    carrier->setState(264);
    step(1);
    bool removed = true;
    for (jint k = 0; k < cGame::s_actorCount; ++k) removed = removed && actor(k) != carrier;
    EXPECT_TRUE(removed);
    EXPECT_EQ(count(0), 1) << "the spark";
    EXPECT_EQ(count(9), dustBefore + 1) << "a puff in the frame of its removal too";
    EXPECT_NE(std::find(soundLog.begin(), soundLog.end(), "1: play 9"), soundLog.end());
}

TEST_F(ActorBehavioursTest, PickupGivesByItsAnimationOnceThenPlaysItsEndAndGoes) {
    struct Case {
        const char* what;
        jint anim, energyBefore;
        jint lives, energy, meterCharge, specialShots, score;  // what the hero has after; lives from 3
        const char* sound;                                     // null: none
    };
    const Case cases[] = {
        {"a life", 0, 50, 4, 50, 0, 0, 1000, "1: play 8"},
        {"energy", 1, 50, 3, 54, 0, 0, 20, "1: play 7"},
        {"energy never above the maximum", 1, 98, 3, 100, 0, 0, 20, "1: play 7"},
        {"full energy", 2, 30, 3, 100, 0, 0, 1000, "1: play 8"},
        {"a gun meter charge", 3, 50, 3, 50, 250, 0, 50, "1: play 8"},
        {"a special shot", 4, 50, 3, 50, 0, 1, 300, "1: play 8"},
        {"an animation past the gifts gives nothing", 6, 50, 3, 50, 0, 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        installSprite(7, 7, 2);  // animation 5 is its end
        startLevel(record({12, 20, 300, 300, 0, 0, c.anim}), {}, 1600, 960);
        cActor* pickup = actorById(20);
        ASSERT_NE(pickup, nullptr);
        LiftProbe* hero = placeHero(600, 300);
        hero->maxEnergy = 100;
        hero->energy = c.energyBefore;
        cHero::s_lives = 3;
        cHero::s_gunEnergy = 1000;  // full: it only grows by the meter charge
        cGame::s_levelStats->set(3, 0);
        soundLog.clear();
        step(2);
        EXPECT_EQ(pickup->state, 0) << "out of the hero's reach";
        hero->x = 305 << 8;
        hero->y = 310 << 8;
        hero->refreshCollisionRect();
        step(1);
        EXPECT_EQ(pickup->state, 20);
        // Its end plays while the hero still touches it; it gives once, then goes.
        for (int i = 0; i < 20 && pickup->state != cActor::kStateDead; ++i) step(1);
        EXPECT_EQ(pickup->state, cActor::kStateDead);
        EXPECT_FALSE(pickup->hasFlag(cActor::kFlagActive));
        step(2);
        EXPECT_EQ(cHero::s_lives, c.lives);
        EXPECT_EQ(hero->energy, c.energy);
        EXPECT_EQ(cGame::s_heroMeterBonus + cHero::s_gunEnergy - 1000, c.meterCharge) << "pending or in the meter";
        EXPECT_EQ(cHero::s_specialShots, c.specialShots);
        EXPECT_EQ(cGame::s_levelStats->get(3), c.score);
        const auto plays = std::count_if(soundLog.begin(), soundLog.end(),
                                         [](const std::string& s) { return s == "1: play 7" || s == "1: play 8"; });
        EXPECT_EQ(plays, c.sound ? 1 : 0);
        if (c.sound) {
            EXPECT_NE(std::find(soundLog.begin(), soundLog.end(), c.sound), soundLog.end());
        }
    }
}

TEST_F(ActorBehavioursTest, PickupThatABossDroppedLetsItDropAnotherOnceCollected) {
    installSprite(7, 6, 2);
    startLevel({}, {}, 1600, 960);
    placeHero(300, 300);
    cActor* pickup = cGame::spawnType12(300 << 8, 300 << 8, 3);
    ASSERT_NE(pickup, nullptr);
    cHero::s_dropItem = pickup;
    pickup->updateType12();
    EXPECT_EQ(pickup->state, 20);
    EXPECT_EQ(cHero::s_dropItem, nullptr);
    EXPECT_EQ(cGame::s_heroMeterBonus, 250);
}

TEST_F(ActorBehavioursTest, ThrownPickupIsDrawnToTheHeroAtMostAtItsLimit) {
    struct Case {
        const char* what;
        bool gravity;
        jint speedX, speedY;  // px/s
        jint wantX, wantY;
    };
    // The hero is left of and below the pickup.
    const Case cases[] = {
        {"pulled by 40 on each axis", false, 100, 0, 60, 40},
        {"kept at the limit", false, -390, 390, -400, 400},
        {"falling ones are not pulled", true, 100, 0, 100, 0},
        {"still ones are not pulled", false, 0, 0, 0, 0},
    };
    installSprite(7, 6, 2);
    startLevel({}, {}, 1600, 960);
    placeHero(100, 500);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cActor* pickup = cGame::spawnActor(12, 7, 300 << 8, 300 << 8);
        ASSERT_NE(pickup, nullptr);
        if (c.gravity) pickup->setFlag(cActor::kFlagGravity);
        pickup->speedX = c.speedX << 8;
        pickup->speedY = c.speedY << 8;
        pickup->updateType12();
        EXPECT_EQ(pickup->speedX, c.wantX << 8);
        EXPECT_EQ(pickup->speedY, c.wantY << 8);
        EXPECT_EQ(pickup->state, 0);
        cGame::removeActor(pickup);
    }
}

TEST_F(ActorBehavioursTest, ReleaserHitOnceLetsItsDropsFallAndStartsItsRide) {
    struct Case {
        const char* what;
        jint drop1, drop2, drop3, ride;
        std::vector<jint> falling;  // the drops' ids that fall
        bool rideStarts;
    };
    // Drops 31 and 32 (type 43) hang at (400, 200) and (500, 200); 40 is a ride.
    const Case cases[] = {
        {"two drops and the ride", 31, 32, 0, 40, {31, 32}, true},
        {"ids naming no actor are passed over", 77, 0, 32, 78, {32}, false},
        {"no drops, only the ride", 0, 0, 0, 40, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        const std::string line = ActorWorld::geometry({{{0}, {{0, 400}, {1600, 400}}}}, 1);
        startLevel(record({39, 30, 300, 300, 0, 0, 0, c.drop1, c.drop2, c.drop3, c.ride}) +
                       record({43, 31, 400, 200, 0, 0}) + record({43, 32, 500, 200, 0, 0}) +
                       record({42, 40, 900, 390, 0, 0, 0, -200, -400}),
                   line, 1600, 960);
        cActor* releaser = actorById(30);
        cActor* ride = actorById(40);
        EXPECT_EQ(releaser->state, 267);
        EXPECT_EQ(actorById(31)->state, 271);
        LiftProbe* hero = placeHero(300, 300);
        releaser->onMessage(hero, cActor::kMsgHit, hero->x, hero->y, 10);
        ASSERT_EQ(Runtime::getPendingException(), nullptr);
        EXPECT_EQ(releaser->state, 268);
        for (jint id : {31, 32}) {
            const bool falls = std::find(c.falling.begin(), c.falling.end(), id) != c.falling.end();
            cActor* drop = actorById(id);
            EXPECT_EQ(drop->state, falls ? 272 : 271) << id;
            EXPECT_EQ(drop->hasFlag(cActor::kFlagGravity), falls) << id;
            EXPECT_EQ(drop->hasFlag(cActor::kFlagContactKind), !falls) << id << ": no longer stood on";
        }
        EXPECT_EQ(ride->state == 276, c.rideStarts);
        // A second hit releases nothing more.
        for (jint id : {31, 32}) actorById(id)->setState(271);
        releaser->onMessage(hero, cActor::kMsgHit, hero->x, hero->y, 10);
        EXPECT_EQ(actorById(31)->state, 271);
        EXPECT_EQ(actorById(32)->state, 271);
    }
}

TEST_F(ActorBehavioursTest, ReleasedDropFallsOutOfViewAndIsGone) {
    startLevel(record({39, 30, 300, 300, 0, 0, 0, 31}) + record({43, 31, 400, 200, 0, 0}), {}, 1600, 3000);
    LiftProbe* hero = placeHero(300, 300);
    cGame::s_cameraFollow = hero;
    actorById(30)->onMessage(hero, cActor::kMsgHit, hero->x, hero->y, 10);
    bool gone = false;
    for (int i = 0; i < 100 && !gone; ++i) {
        step(1);
        gone = actorById(31) == nullptr;
    }
    EXPECT_TRUE(gone);
}

}  // namespace
