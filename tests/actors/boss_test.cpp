// The bosses on synthetic sprites through the play step: the rock giant standing up as its damage
// adds up and dropping one pickup at a time, the dropping boss's reduced heavy hits, the night king's
// phases and volleys with its orbiter, each boss's death, and the faults they cope with (a frame
// that took no time, a missing or wrong orbiter, a full actor table, a king killed across a phase).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "actors/cenemy.h"
#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "tests/support/actor_world.h"

namespace {

constexpr jint kHeroId = 1, kBossId = 2, kOrbiterId = 3;
constexpr int kKept = cActor::kFlagKeptActive;

class BossTest : public ActorWorld {
protected:
    void SetUp() override {
        ActorWorld::SetUp();
        // The hero, the bosses, their rocks, pickups, escorts, minions, bursts and sparks; the
        // giant's throw needs 16 frames to reach its release frame.
        for (jint slot : {0, 7, 8, 13, 22, 24, 35, 38}) installSprite(slot, 16, 2);
        installSprite(6, 8, 16);
    }

    // The hero at (hx, 300), the boss of `type` at (400, 300) with `fields` from record value 7, and
    // an orbiter (radius 60, spinning `spin` a frame from angle 0) when `spin` is not 0.
    cEnemy* startWith(jint type, std::vector<int> fields = {}, jint spin = 0, jint hx = 200) {
        std::vector<int> values{type, kBossId, 400, 300, kKept, 0, 0};
        values.insert(values.end(), fields.begin(), fields.end());
        std::string boss(1, static_cast<char>(values.size()));
        for (int v : values) boss += le16(v);
        std::string records = record({1, kHeroId, hx, 300, kKept, 0, 0}) + boss;
        if (spin != 0) records += record({53, kOrbiterId, 400, 200, kKept, 0, 0, 60, spin, 0});
        startLevel(records);
        cActor* a = actorById(kBossId);
        EXPECT_NE(a, nullptr);
        EXPECT_EQ(a ? a->classId() : 0, CID_cEnemy);
        return static_cast<cEnemy*>(a);
    }

    static cActor* hero() { return actorById(kHeroId); }
    // Out of the update list: nothing strikes it and it strikes nothing, so the boss runs undisturbed.
    static void benchHero() { hero()->removeFromList(cActor::kListUpdate); }

    static jint countOfType(jint type) {
        jint n = 0;
        for (jint i = 0; i < cGame::s_actorCount; ++i)
            if (cGame::actorAt(i)->type == type) ++n;
        return n;
    }
    static void removeAllOfType(jint type) {
        for (jint i = cGame::s_actorCount - 1; i >= 0; --i)
            if (cGame::actorAt(i)->type == type) cGame::removeActor(cGame::actorAt(i));
    }
    // Fills the actor table with idle pulses; answers one of them, to free a place later.
    static cActor* fillTable() {
        cActor* last = nullptr;
        while (cActor* a = cGame::spawnActor(13, -1, 0, 0)) last = a;
        return last;
    }
    static void hit(cEnemy* e, jint damage) {
        e->hitTimer = -1;
        e->onMessage(nullptr, cActor::kMsgHit, 0, 0, damage);
    }
    static jint score() { return cGame::s_levelStats->get(2); }
    // Dead and killed (the king stays in the update list even so).
    static bool removed(cActor* a) { return a->state == cActor::kStateDead && a->hasFlag(cActor::kFlagKilled); }
    static jint escortsOf(cActor* boss) {
        jint n = 0;
        for (jint i = 0; i < cGame::s_actorCount; ++i)
            if (cGame::actorAt(i)->type == 24 && cGame::actorAt(i)->linked == boss) ++n;
        return n;
    }
};

// The giant's damage since it sat down counts towards standing up: stunned it turns to throw, throwing
// it walks, each exactly at 250.
TEST_F(BossTest, RockGiantStandsUpExactlyAt250DamageSinceTheLastReset) {
    struct Case {
        jint state;
        std::vector<jint> hits;
        jint stateAfter;
    };
    const Case cases[] = {
        {12, {30}, 187},               // a hit stuns the sitting giant
        {187, {100, 100, 49}, 187},
        {187, {100, 100, 50}, 186},    // turns to throw
        {185, {249}, 185},
        {185, {200, 50}, 1},           // gets up and walks
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.state << ", " << c.hits.size() << " hits");
        cEnemy* e = startWith(9);
        ASSERT_NE(e, nullptr);
        benchHero();
        e->setState(c.state);
        for (jint d : c.hits) hit(e, d);
        e->updateType9();
        EXPECT_EQ(e->state, c.stateAfter);
        jint total = 0;
        for (jint d : c.hits) total += d;
        EXPECT_EQ(cActor::typeValueOf(e, 0), c.stateAfter == 186 || c.stateAfter == 1 ? 0 : total);
    }
}

TEST_F(BossTest, RockGiantThrowsOneRockPerThrow) {
    cEnemy* e = startWith(9);
    ASSERT_NE(e, nullptr);
    benchHero();
    e->setState(185);
    std::vector<jint> rocksPerThrow;   // by the throw's entry frame
    jint entry = -1, rocks = countOfType(58);
    for (int i = 0; i < 150; ++i) {
        step();
        ASSERT_EQ(e->state, 185);
        if (e->stateEntryFrame != entry) {
            entry = e->stateEntryFrame;
            rocksPerThrow.push_back(0);
        }
        rocksPerThrow.back() += std::max(0, countOfType(58) - rocks);   // a rock may leave the table at once
        rocks = countOfType(58);
    }
    ASSERT_GE(rocksPerThrow.size(), 3u);
    rocksPerThrow.pop_back();   // the throw still running
    for (jint n : rocksPerThrow) EXPECT_EQ(n, 1);
}

// At most one pickup while the hero's gun runs low and no bonus is pending; another once it is gone.
TEST_F(BossTest, RockGiantDropsOnePickupAtATimeWhileTheGunRunsLow) {
    struct Case {
        jint gunEnergy, meterBonus, pickups;
    };
    for (const Case& c : {Case{100, 0, 1}, Case{101, 0, 0}, Case{100, 1, 0}, Case{0, 0, 1}}) {
        SCOPED_TRACE(testing::Message() << "gun " << c.gunEnergy << ", bonus " << c.meterBonus);
        cEnemy* e = startWith(9);
        ASSERT_NE(e, nullptr);
        benchHero();
        cHero::s_gunEnergy = c.gunEnergy;
        cGame::s_heroMeterBonus = c.meterBonus;
        for (int i = 0; i < 5; ++i) e->updateType9();
        EXPECT_EQ(countOfType(12), c.pickups);
        if (c.pickups == 0) continue;
        cActor* p = cHero::s_dropItem;
        ASSERT_NE(p, nullptr);
        EXPECT_LT(p->x, e->x) << "on the hero's side";
        p->setState(cActor::kStateDead);   // taken: out of the table
        e->updateType9();
        EXPECT_EQ(countOfType(12), 1) << "the next one";
        EXPECT_NE(cHero::s_dropItem, p);
    }
}

// Its hits' damage: a heavy 300 strike takes only 50, anything else whole; the hurt state then rounds
// the hit points down to the hundred that picks its animation.
TEST_F(BossTest, DroppingBossTakesOnly50OfAHeavy300Strike) {
    struct Case {
        jint damage, healthAfter, anim;
    };
    for (const Case& c : {Case{300, 900, 13 - 9}, Case{299, 700, 13 - 7}, Case{30, 900, 13 - 9}}) {
        SCOPED_TRACE(c.damage);
        cEnemy* e = startWith(32);
        ASSERT_NE(e, nullptr);
        benchHero();
        e->setState(3);
        e->clearFlag(cActor::kFlagHidden);
        e->health = 1000;
        cActor* striker = cGame::spawnActor(61, 13, e->x, e->y);
        ASSERT_NE(striker, nullptr);
        striker->player->SetAnim(0, -1);
        cActor::setTargetTypes({32});
        EXPECT_EQ(striker->attack(c.damage), e);
        EXPECT_EQ(e->health, c.healthAfter);
        EXPECT_EQ(e->state, cEnemy::kHurtState);
        EXPECT_EQ(e->player->anim, c.anim);
        EXPECT_EQ(e->hitTimer, 10000);
    }
}

TEST_F(BossTest, DroppingBossWaitsHiddenDropsOnTheHeroAndSummonsTwoEscortsPerHit) {
    cEnemy* e = startWith(32);
    ASSERT_NE(e, nullptr);
    benchHero();
    step();
    EXPECT_EQ(e->state, 12);
    EXPECT_TRUE(e->hasFlag(cActor::kFlagHidden));
    for (int i = 0; i < 80 && e->state == 12; ++i) step();
    EXPECT_NE(e->state, 12) << "drops after its 3 s wait";
    EXPECT_FALSE(e->hasFlag(cActor::kFlagHidden));

    // Hit: it flies off blinking; the escorts come once each, after half a second.
    e->setState(3);
    hit(e, 30);
    ASSERT_EQ(e->state, cEnemy::kHurtState);
    e->y = 4000 << 8;   // far below the view: it stays in the hurt state long enough
    std::vector<jint> escortsByFrame;
    for (int i = 0; i < 20; ++i) {
        step();
        escortsByFrame.push_back(escortsOf(e));
    }
    EXPECT_EQ(escortsByFrame[8], 0) << "450 ms";
    EXPECT_EQ(escortsByFrame[10], 2) << "550 ms";
    EXPECT_EQ(escortsByFrame.back(), 2) << "once per hit";
    EXPECT_EQ(cActor::s_enemyBossFlag, 1);
}

// Each boss's death: the dying state, the score once, removal; only the night king, the last boss,
// wins the level by its death (the others leave it to the level's exit).
TEST_F(BossTest, EachBossDiesScoresOnceAndIsRemovedAndOnlyTheNightKingEndsTheLevel) {
    struct Case {
        const char* what;
        jint type, health, damage, stateAfterHit;
        jbyte levelComplete;
    };
    const Case cases[] = {
        {"rock giant", 9, 30, 30, 20, 0},
        {"dropping boss killed outright", 32, 100, 100, 20, 0},
        {"dropping boss left under 100", 32, 100, 30, 5, 0},   // rounded to 0 as it flies off
        {"night king without an orbiter", 51, 30, 30, 20, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cEnemy* e = startWith(c.type);
        ASSERT_NE(e, nullptr);
        benchHero();
        e->setState(c.type == 32 ? 3 : 12);
        e->clearFlag(cActor::kFlagHidden);
        e->health = c.health;
        const jint before = score();
        hit(e, c.damage);
        EXPECT_EQ(e->state, c.stateAfterHit);
        for (int i = 0; i < 200 && !removed(e); ++i) step();
        EXPECT_TRUE(removed(e));
        EXPECT_EQ(score(), before + e->scoreValue);
        EXPECT_EQ(cGame::s_levelComplete, c.levelComplete);
        EXPECT_EQ(cActor::s_enemyBossFlag, 0);
    }
}

// How a level ends the fight with a boss that does not end it by its death: a switch watching the
// boss ("no watched actor alive") wakes the exit zone that sleeps until then.
TEST_F(BossTest, ASwitchWatchingTheBossWakesTheSleepingExitOnceTheBossIsGone) {
    constexpr jint kSwitchId = 5, kExitId = 6;
    for (jint type : {9, 32}) {
        SCOPED_TRACE(type);
        startLevel(record({1, kHeroId, 200, 300, kKept, 0, 0}) + record({type, kBossId, 400, 300, kKept, 0, 0}) +
                   record({10, kSwitchId, 0, 0, kKept, 0, 40, 40, 4, 0, kBossId, 0, 0, kExitId, 0, 0, 0}) +
                   record({5, kExitId, 200, 300, cActor::kFlagNoViewWake, 0, 60, 80, 0}));
        auto* boss = static_cast<cEnemy*>(actorById(kBossId));
        cActor* exit = actorById(kExitId);
        ASSERT_NE(exit, nullptr);
        benchHero();
        boss->setState(type == 32 ? 3 : 12);
        boss->clearFlag(cActor::kFlagHidden);
        step(5);
        EXPECT_FALSE(exit->hasFlag(cActor::kFlagActive)) << "asleep while the boss lives";
        boss->health = 30;
        hit(boss, 30);
        for (int i = 0; i < 200 && !exit->hasFlag(cActor::kFlagActive); ++i) {
            step();
            EXPECT_EQ(cGame::s_levelComplete, 0);
        }
        EXPECT_TRUE(removed(boss));
        EXPECT_TRUE(exit->hasFlag(cActor::kFlagActive)) << "woken by the switch";
    }
}

// Every 300 hit points a phase: the hit points held at the threshold, the orbiter swung to the
// phase's angle, then the volleys: one in the first two phases, two from the third on, never more.
// The orbiter spins 4 a frame from 0, so it never stands on either phase angle (14, 113): it steps
// over them.
TEST_F(BossTest, NightKingChangesPhaseEvery300HitPointsWithAtMostTwoVolleysPerCycle) {
    cEnemy* e = startWith(51, {kOrbiterId}, 4);
    ASSERT_NE(e, nullptr);
    cActor* orbiter = actorById(kOrbiterId);
    ASSERT_NE(orbiter, nullptr);
    benchHero();
    step();
    ASSERT_EQ(e->linked, orbiter);
    ASSERT_EQ(orbiter->linked, e);
    std::vector<jint> healthAtPhase, volleys, bursts;
    for (jint phase = 0; phase < 6; ++phase) {
        SCOPED_TRACE(phase);
        for (int i = 0; i < 400 && !(orbiter->state == 0 && (e->state < 165 || e->state > 167)); ++i) step();
        hit(e, 450);   // past the threshold: held at it
        step();
        healthAtPhase.push_back(e->health);
        EXPECT_EQ(orbiter->state, 284);
        EXPECT_EQ(orbiter->isFlipped(), phase % 2 == 1) << "faces left for the narrow angle";
        const jint h = e->health;
        hit(e, 30);
        EXPECT_EQ(e->health, h) << "no hits while the orbiter swings";
        jint n = 0, burstCount = 0, previous = e->state;
        for (int i = 0; i < 800 && !(orbiter->state == 0 && n > 0); ++i) {
            const jint before = countOfType(61);
            step();
            removeAllOfType(65);   // the minions would fill the table
            if (e->state == 167 && previous != 167) ++n;
            previous = e->state;
            burstCount += countOfType(61) > before ? 1 : 0;
        }
        volleys.push_back(n);
        bursts.push_back(burstCount);
    }
    EXPECT_EQ(healthAtPhase, (std::vector<jint>{1700, 1400, 1100, 800, 500, 200}));
    EXPECT_EQ(volleys, (std::vector<jint>{1, 1, 2, 2, 2, 2}));
    EXPECT_EQ(bursts, volleys) << "one burst a volley";
}

// A hit that kills across a phase threshold leaves the king dying: no phase brings it back, and its
// orbiter hands nothing to a dying king.
TEST_F(BossTest, NightKingKilledAcrossAThresholdStaysDead) {
    cEnemy* e = startWith(51, {kOrbiterId}, 3);
    ASSERT_NE(e, nullptr);
    cActor* orbiter = actorById(kOrbiterId);
    benchHero();
    step();
    orbiter->setState(285);
    const jint before = score();
    e->setState(0);
    e->health = 290;
    hit(e, 300);
    ASSERT_EQ(e->state, cEnemy::kDyingState);
    for (int i = 0; i < 60 && !removed(e); ++i) {
        step();
        ASSERT_EQ(e->health, 0);
        ASSERT_TRUE(e->state == cEnemy::kDyingState || e->state == cActor::kStateDead);
    }
    EXPECT_TRUE(removed(e));
    EXPECT_EQ(score(), before + e->scoreValue);
}

// The orbiter's id comes from the level: naming nothing, or an actor that is no orbiter, leaves the
// king alone with its phases; that actor is never touched.
TEST_F(BossTest, NightKingWithoutItsOrbiterChangesPhaseAndTouchesNothingElse) {
    for (jint companion : {0, 999, kHeroId}) {
        SCOPED_TRACE(companion);
        cEnemy* e = startWith(51, {companion});
        ASSERT_NE(e, nullptr);
        benchHero();
        const jint heroState = hero()->state;
        step();
        EXPECT_EQ(e->linked, nullptr);
        hit(e, 450);
        for (int i = 0; i < 100; ++i) {
            step();
            removeAllOfType(65);
            ASSERT_TRUE(e->state < 165 || e->state > 167) << "no volley without the orbiter";
        }
        EXPECT_EQ(e->health, 1700);
        EXPECT_EQ(cActor::typeValueOf(e, 1), 1);
        EXPECT_EQ(hero()->linked, nullptr);
        EXPECT_EQ(hero()->state, heroState);
    }
}

// With the table full nothing is spawned and nothing fails; the rock, the pickup and the escorts come
// once there is room again.
TEST_F(BossTest, SpawnsRefusedByAFullTableAreMadeWhenThereIsRoom) {
    struct Case {
        const char* what;
        jint type, state, spawnedType, spawnedAfter;
    };
    const Case cases[] = {
        {"the giant's rock", 9, 185, 58, 1},
        {"the giant's pickup", 9, 12, 12, 1},
        {"the giant's dying sparks", 9, 20, 61, 1},
        {"the dropping boss's escorts", 32, 5, 24, 1},
        {"the king's burst", 51, 167, 61, 0},   // the volley's moment is past
        {"the king's minions", 51, 163, 65, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cEnemy* e = startWith(c.type);
        ASSERT_NE(e, nullptr);
        benchHero();
        cHero::s_gunEnergy = c.spawnedType == 12 ? 50 : 1500;
        e->setState(c.state);
        e->y = 4000 << 8;   // the dropping boss stays in its hurt state, below the view
        e->updateBoxes();
        e->stateTime = 600;
        cActor::setTypeValueOf(e, 5, 1);   // the king's volley fires one burst
        cEnemy::s_bossMinionRelease = 1;
        cActor* filler = fillTable();
        ASSERT_NE(filler, nullptr);
        const jint before = countOfType(c.spawnedType);
        for (int i = 0; i < 40; ++i) {
            if (c.state == 163) e->setState(164);   // leaving 163 releases minions
            e->updateByEnemyType();
            ASSERT_EQ(Runtime::getPendingException(), nullptr);
            e->advanceAnimation();
            if (c.state == 163) e->setState(163);
            if (c.state == 20) e->stateTime = 0;
        }
        EXPECT_EQ(countOfType(c.spawnedType), before);
        cGame::removeActor(filler);
        if (c.type == 51) continue;
        for (int i = 0; i < 40 && countOfType(c.spawnedType) == before; ++i) {
            e->updateByEnemyType();
            e->advanceAnimation();
            if (c.state == 20) e->stateTime = 0;
        }
        EXPECT_EQ(countOfType(c.spawnedType), before + c.spawnedAfter);
    }
}

// The giant's dying sparks fall on every other frame of its dying time; a frame that took no time
// makes none (and divides by nothing).
TEST_F(BossTest, RockGiantDyingSparksOnAlternateFramesAndNoneOnAFrameWithoutTime) {
    struct Case {
        jint frameTime;
        std::vector<jint> stateTimes;
        jint sparks;
    };
    for (const Case& c : {Case{50, {0, 50, 100, 150, 200}, 3}, Case{0, {0, 0, 0}, 0}}) {
        SCOPED_TRACE(c.frameTime);
        cEnemy* e = startWith(9);
        ASSERT_NE(e, nullptr);
        benchHero();
        e->setState(cEnemy::kDyingState);
        cGame::s_frameTime = c.frameTime;
        const jint before = countOfType(61);
        for (jint t : c.stateTimes) {
            e->stateTime = t;
            e->updateType9();
        }
        EXPECT_EQ(countOfType(61) - before, c.sparks);
        chooseLevel(0);
    }
}

}  // namespace
