// Enemies on synthetic sprites through the play step: set-up from the difficulty's table, the hit
// reaction (hurt state, invulnerability, death with the score, removal), the hit spark, and the main
// move of each ordinary enemy's routine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <string>
#include <vector>

#include "actors/cenemy.h"
#include "actors/chero.h"
#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "tests/support/actor_world.h"

namespace {

constexpr jint kHeroId = 1, kEnemyId = 2;
constexpr int kKept = cActor::kFlagKeptActive;

class EnemyTest : public ActorWorld {
protected:
    // Sprites for the hero, every enemy and the effects, debris, pickups and minions they spawn.
    void SetUp() override {
        ActorWorld::SetUp();
        for (jint slot : {0, 1, 5, 7, 8, 13, 20, 23, 29, 30, 31, 33, 35, 36, 37, 38, 39}) installSprite(slot, 16, 2);
    }

    // The hero at (hx, 300) and one enemy of `type` at (ex, 300), both starting on animation 0; the
    // enemy's record rectangle (fields 7 to 10: offset and size) is `zone`.
    cEnemy* startWith(jint type, jint hx = 200, jint ex = 400, std::vector<int> zone = {}) {
        std::vector<int> fields{type, kEnemyId, ex, 300, kKept, 0, 0};
        fields.insert(fields.end(), zone.begin(), zone.end());
        std::string enemy(1, static_cast<char>(fields.size()));
        for (int v : fields) enemy += le16(v);
        startLevel(record({1, kHeroId, hx, 300, kKept, 0, 0}) + enemy);
        cActor* a = actorById(kEnemyId);
        EXPECT_NE(a, nullptr);
        EXPECT_EQ(a ? a->classId() : 0, CID_cEnemy);
        return static_cast<cEnemy*>(a);
    }

    static jint countOfType(jint type) {
        jint n = 0;
        for (jint i = 0; i < cGame::s_actorCount; ++i)
            if (cGame::actorAt(i)->type == type) ++n;
        return n;
    }
    static jint score() { return cGame::s_levelStats->get(2); }
    static bool removed(cActor* a) { return a->state == cActor::kStateDead && !a->isInList(cActor::kListUpdate); }
};

// Hurt state, invulnerability window, death with the score and removal, per ordinary enemy type.
TEST_F(EnemyTest, HitHurtsOnceThenLethalDamageKillsWithTheScore) {
    struct Case {
        jint type, hurtState, hitTimer;
        bool refilled;   // health put back after a hit that does not kill
        bool removedAfterDeath;
    };
    const Case cases[] = {
        {4, 5, 500, false, true},   {8, 5, 500, false, true},   {23, 5, 500, false, false},
        {25, 5, 500, false, true},  {37, 5, 500, false, true},  {38, 18, 500, true, true},
        {41, 5, 500, false, true},  {47, 0, -1, true, true},    {48, 5, 500, false, true},
        {49, 5, 500, false, true},  {52, 5, 500, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        cEnemy* e = startWith(c.type, 200, 400);
        ASSERT_NE(e, nullptr);
        ASSERT_GT(e->maxHealth, 3);
        const jint full = e->maxHealth;
        EXPECT_EQ(e->health, full);
        e->state = 0;
        e->onMessage(nullptr, cActor::kMsgHit, 0, 0, 3);
        EXPECT_EQ(e->state, c.hurtState);
        if (c.hitTimer > 0) {
            EXPECT_EQ(e->hitTimer, c.hitTimer);
        } else {
            EXPECT_LT(e->hitTimer, 0);
        }
        EXPECT_EQ(e->health, c.refilled ? full : full - 3);
        if (c.hitTimer > 0) {
            jint h = e->health;
            e->onMessage(nullptr, cActor::kMsgHit, 0, 0, 3);
            EXPECT_EQ(e->health, h) << "inside the window";
            step(9);   // 450 ms
            h = e->health;
            e->onMessage(nullptr, cActor::kMsgHit, 0, 0, 3);
            EXPECT_EQ(e->health, h) << "still inside the window";
            step(2);
            EXPECT_LT(e->hitTimer, 0);
        }
        // Exactly the remaining hit points kill.
        const jint before = score();
        e->health = 7;
        e->hitTimer = -1;
        e->onMessage(nullptr, cActor::kMsgHit, 0, 0, 7);
        EXPECT_EQ(e->health, 0);
        EXPECT_EQ(e->state, cEnemy::kDyingState);
        EXPECT_EQ(score(), before + e->scoreValue);
        e->onMessage(nullptr, cActor::kMsgHit, 0, 0, 7);
        EXPECT_EQ(score(), before + e->scoreValue) << "a dying enemy takes no hits";
        if (c.removedAfterDeath) {
            for (int i = 0; i < 400 && !removed(e); ++i) step();
            EXPECT_TRUE(removed(e));
        }
    }
}

// The hit reaction's per-type exceptions: killed outright by a ride, refilled and hidden, turned to
// the attacker with or without the window.
TEST_F(EnemyTest, HitExceptionsByTypeSenderAndHerosState) {
    struct Case {
        jint type, senderType, field11, heroState;
        jint state, hitTimer, healthLost, scoreGained;
        jint facesLeft;   // -1: not concerned
    };
    const Case cases[] = {
        {41, 42, 0, 0, 20, -1, 0, 0, -1},   // a ride kills at once, for no score
        {41, 1, 0, 0, 5, 500, 3, 0, -1},
        {47, 1, 1, 0, 177, -1, 0, 0, -1},   // refilled, ducks away, no window
        {38, 1, 0, 0, 18, 500, 0, 0, 1},    // refilled, turned to the hero on its left
        {38, 1, 0, 113, 18, -1, 0, 0, 1},   // a shooting hero gets no window to wait out
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << " hit by " << c.senderType);
        cEnemy* e = startWith(c.type, 200, 400, {0, 0, 0, 0, c.field11});
        ASSERT_NE(e, nullptr);
        cActor* sender = actorById(kHeroId);
        if (c.senderType != 1) {
            sender = cGame::spawnActor(c.senderType, -1, 300 << 8, 300 << 8);
            ASSERT_NE(sender, nullptr);
        }
        actorById(kHeroId)->state = c.heroState;
        e->hitTimer = -1;
        const jint health = e->health, before = score();
        e->onMessage(sender, cActor::kMsgHit, 0, 0, 3);
        EXPECT_EQ(e->state, c.state);
        if (c.hitTimer > 0) {
            EXPECT_EQ(e->hitTimer, c.hitTimer);
        } else {
            EXPECT_LT(e->hitTimer, 0);
        }
        EXPECT_EQ(health - e->health, c.healthLost);
        EXPECT_EQ(score() - before, c.scoreGained);
        if (c.facesLeft >= 0) {
            EXPECT_EQ(e->isFlipped(), c.facesLeft == 1);
        }
    }
}

TEST_F(EnemyTest, HitWindowCountsDownWithoutEverWrappingPositive) {
    cEnemy* e = startWith(4);
    ASSERT_NE(e, nullptr);
    e->hitTimer = INT32_MIN + 20;
    step(3);
    EXPECT_EQ(e->hitTimer, INT32_MIN);
    e->onMessage(nullptr, cActor::kMsgHit, 0, 0, 3);
    EXPECT_EQ(e->hitTimer, cEnemy::kHitInvulnerableMs) << "still open to a hit";
}

TEST_F(EnemyTest, SetUpTakesTheDifficultysTableAndTypes44And45WithoutAPlayerKeepNoHitPoints) {
    struct Case {
        jint difficulty, type, health, damage, score;
    };
    for (const Case& c : {Case{1, 25, 50, 5, 100}, Case{2, 25, 70, 10, 100}, Case{1, 8, 90, 5, 100},
                          Case{2, 8, 110, 10, 100}, Case{2, 44, 0, 0, 0}}) {
        SCOPED_TRACE(testing::Message() << c.difficulty << "/" << c.type);
        cGame::s_difficulty = c.difficulty;
        cEnemy* e = startWith(c.type);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->health, c.health);
        EXPECT_EQ(e->maxHealth, c.health);
        EXPECT_EQ(e->damage, c.damage);
        EXPECT_EQ(e->scoreValue, c.score);
        EXPECT_EQ(e->behaviourId, cEnemy::behaviourIdOf(c.type));
    }
    // Without a sprite there is no set-up: the first hit kills.
    cEnemy* e = actorById(kEnemyId) ? static_cast<cEnemy*>(actorById(kEnemyId)) : nullptr;
    ASSERT_NE(e, nullptr);
    e->onMessage(nullptr, cActor::kMsgHit, 0, 0, 1);
    EXPECT_EQ(e->state, cEnemy::kDyingState);
}

TEST_F(EnemyTest, MinionAtNoHitPointsIsRemovedInTheSameFrameAndSparksOnlyForTheHerosShot) {
    cEnemy* nest = startWith(49, 200, 300);
    ASSERT_NE(nest, nullptr);
    cActor* m = cGame::spawnActor(65, 35, 300 << 8, 200 << 8);
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->classId(), CID_cEnemy);
    static_cast<cEnemy*>(m)->health = 1;
    m->onMessage(nullptr, cActor::kMsgHit, 0, 0, 1);
    EXPECT_TRUE(removed(m));

    const jint sparks = countOfType(61);
    nest->onMessage(nullptr, cActor::kMsgHit, 0, 0, 1);
    EXPECT_EQ(countOfType(61), sparks);
    nest->hitTimer = -1;
    cHero::s_shotEffect = cGame::spawnActor(61, 13, 0, 0);
    nest->onMessage(cHero::s_shotEffect, cActor::kMsgHit, 0, 0, 1);
    EXPECT_EQ(countOfType(61), sparks + 2) << "the shot effect and its spark";
}

TEST_F(EnemyTest, PatrollerStaysWithin80PixelsOfHomeWhileTheHeroIsOutside) {
    cEnemy* e = startWith(4, 200, 1000);
    ASSERT_NE(e, nullptr);
    jint lo = e->x, hi = e->x;
    for (int i = 0; i < 200; ++i) {
        step();
        lo = std::min(lo, e->x);
        hi = std::max(hi, e->x);
        ASSERT_EQ(e->state, 0);
    }
    EXPECT_LT(lo, (1000 - 80) << 8);
    EXPECT_GT(hi, (1000 + 80) << 8);
    EXPECT_GE(lo, (1000 - 80 - 10) << 8);
    EXPECT_LE(hi, (1000 + 80 + 10) << 8);
}

TEST_F(EnemyTest, PatrollerSeeingTheHeroApproachesDivesAndClimbsBack) {
    cEnemy* e = startWith(4, 400, 520, {-400, -200, 800, 600});
    ASSERT_NE(e, nullptr);
    e->y = 150 << 8;
    actorById(kHeroId)->removeFromList(cActor::kListUpdate);   // not struck: the dive goes on
    std::vector<jint> seen;
    jint lowest = e->y;
    for (int i = 0; i < 200 && seen.size() < 6; ++i) {
        step();
        lowest = std::max(lowest, e->y);
        if (seen.empty() || seen.back() != e->state) seen.push_back(e->state);
    }
    EXPECT_EQ(seen, (std::vector<jint>{1, 152, 150, 12, 1, 152}));
    const jint heroBottom = actorById(kHeroId)->collisionRect->get(3);
    EXPECT_GE(lowest, heroBottom - (60 << 8)) << "dives to the hero's feet";
}

TEST_F(EnemyTest, SentryRestsHalfASecondThenRunsItsRoundTurningAtTheEnd) {
    cEnemy* e = startWith(47, 200, 400);
    ASSERT_NE(e, nullptr);
    const bool facing = e->isFlipped();
    std::vector<jint> seen;
    jint restFrames = 0;
    for (int i = 0; i < 60 && seen.size() < 5; ++i) {
        step();
        if (seen.empty() || seen.back() != e->state) seen.push_back(e->state);
        if (seen.size() == 1 && e->state == 0) ++restFrames;
    }
    EXPECT_EQ(seen, (std::vector<jint>{0, 175, 4, 176, 0}));
    EXPECT_EQ(restFrames, 8) << "leaves on the frame its clock reaches 500 ms (the first 50 ms at the start)";
    EXPECT_NE(e->isFlipped(), facing);
}

TEST_F(EnemyTest, WalkerPacesItsRecordRectangleAtItsDifficultysSpeed) {
    for (jint difficulty : {1, 2}) {
        SCOPED_TRACE(difficulty);
        cGame::s_difficulty = difficulty;
        cEnemy* e = startWith(38, 2000, 400, {-100, -50, 200, 100});
        ASSERT_NE(e, nullptr);
        jint lo = e->x, hi = e->x, fastest = 0;
        for (int i = 0; i < 120; ++i) {
            step();
            lo = std::min(lo, e->x);
            hi = std::max(hi, e->x);
            fastest = std::max(fastest, std::abs(e->speedX));
        }
        EXPECT_LT(lo, 300 << 8);
        EXPECT_GT(hi, 500 << 8);
        EXPECT_GE(lo, (300 - 10) << 8);
        EXPECT_LE(hi, (500 + 10) << 8);
        EXPECT_EQ(fastest, (difficulty == 1 ? 120 : 100) << 8);
    }
}

TEST_F(EnemyTest, FountainEmitsOneDebrisOnEveryThirdFrame) {
    cEnemy* e = startWith(52, 200, 400);
    ASSERT_NE(e, nullptr);
    while (e->state != 4) step();
    for (int i = 0; i < 12; ++i) {
        const jint before = countOfType(61);
        const bool inFour = e->state == 4;
        step();
        const bool emits = inFour && cGame::s_frameCounter % 3 == 0;
        EXPECT_EQ(countOfType(61) - before, emits ? 1 : 0) << "frame " << cGame::s_frameCounter;
    }
}

TEST_F(EnemyTest, NestInViewReleasesAMinionAtOnceThenOneEachTimeItsClockPasses1000Ms) {
    cEnemy* e = startWith(49, 200, 300);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(countOfType(65), 1) << "released on the level's first frame";
    actorById(kHeroId)->removeFromList(cActor::kListUpdate);   // out of the minions' reach: they stay
    std::vector<jint> releases;
    jint minions = countOfType(65);
    for (int frame = 0; frame < 70; ++frame) {
        step();
        if (countOfType(65) != minions) releases.push_back(frame);
        EXPECT_LE(countOfType(65) - minions, 1);
        minions = countOfType(65);
    }
    // 50 ms frames: the clock first exceeds 1000 ms on the 21st frame after a release.
    EXPECT_EQ(releases, (std::vector<jint>{20, 41, 62}));
}

TEST_F(EnemyTest, MinionBurstsIntoASparkWhenItStrikesTheHero) {
    cEnemy* host = startWith(52, 400, 400);
    ASSERT_NE(host, nullptr);
    host->releaseMinion();
    cActor* m = nullptr;
    for (jint i = 0; i < cGame::s_actorCount; ++i)
        if (cGame::actorAt(i)->type == 65) m = cGame::actorAt(i);
    ASSERT_NE(m, nullptr);
    const jint sparks = countOfType(61);
    auto* minion = static_cast<cEnemy*>(m);
    minion->updateType65();
    EXPECT_TRUE(removed(m));
    EXPECT_EQ(countOfType(61), sparks + 1);
}

TEST_F(EnemyTest, MinionTurnsAtMost16TowardsItsTargetTheShorterWay) {
    startWith(49, 200, 2000);
    cActor* m = cGame::spawnActor(65, 35, 300 << 8, 200 << 8);
    ASSERT_NE(m, nullptr);
    auto* e = static_cast<cEnemy*>(m);
    struct Case {
        jint angle, target, after;
    };
    for (const Case& c : {Case{10, 138, 26}, Case{138, 10, 122}, Case{10, 200, 250}, Case{250, 5, 10},
                          Case{100, 105, 116}, Case{0, 0, 240}}) {
        SCOPED_TRACE(testing::Message() << c.angle << " -> " << c.target);
        e->angle = c.angle;
        e->typeData->set(0, c.target);
        e->stateTime = 100;   // not an aiming frame
        e->updateType65();
        EXPECT_EQ(e->angle, c.after);
    }
}

// Each routine's attack on the hero standing on it, where the routine is dangerous, and the state
// the hit or the spared hero leads to.
TEST_F(EnemyTest, RoutinesStrikeTheHeroOnlyWhereTheyAreDangerous) {
    struct Case {
        jint type, enemyState, heroState;
        bool hits;
        jint stateAfter;
    };
    const Case cases[] = {
        {8, 1, 0, true, 172},      // the grabber reaches the hero...
        {8, 1, 119, false, 172},   // ...but spares a hanging one while it walks
        {8, 172, 125, true, 170},  // and grabs one hanging in state 125
        {38, 1, 0, true, 250},     // the patroller stops on a hit
        {41, 12, 0, true, 4},      // the lurker strikes
        {41, 12, 5, false, 12},    // not at a hurt hero
        {37, 0, 0, true, 0},       // the spinning projectile hurts while it flies
        {47, 175, 0, true, 175},   // the sentry in every state...
        {47, 177, 0, false, 177},  // ...but its hidden one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << " in " << c.enemyState << ", hero in " << c.heroState);
        cEnemy* e = startWith(c.type, 400, 400);
        ASSERT_NE(e, nullptr);
        cActor* hero = actorById(kHeroId);
        e->setState(c.enemyState);
        e->x = hero->x;
        e->y = hero->y;
        e->updateBoxes();
        hero->state = c.heroState;
        hero->clearFlag(cActor::kFlagHidden);   // not caught blinking from an earlier case's hit
        cActor::s_lastHit = nullptr;
        e->updateByEnemyType();
        EXPECT_EQ(cActor::s_lastHit == hero, c.hits);
        EXPECT_EQ(e->state, c.stateAfter);
    }
}

TEST_F(EnemyTest, TrapSnapsWhileTheHeroIsInsideThenRetractsAndRestsFourSeconds) {
    cEnemy* e = startWith(48, 2000, 420, {-100, -100, 200, 200});
    ASSERT_NE(e, nullptr);
    cActor* hero = actorById(kHeroId);
    hero->removeFromList(cActor::kListUpdate);   // held where it stands, whatever the snap does to it
    hero->x = 400 << 8;
    std::vector<jint> frames;
    for (int i = 0; i < 10; ++i) {
        step();
        EXPECT_EQ(e->state, 4);
        frames.push_back(e->player->frame);
    }
    EXPECT_NE(std::find(frames.begin(), frames.end(), 1), frames.end()) << "the snap animates";
    hero->x = 2000 << 8;
    std::vector<jint> seen;
    for (int i = 0; i < 120; ++i) {
        step();
        if (seen.empty() || seen.back() != e->state) seen.push_back(e->state);
    }
    EXPECT_EQ(seen, (std::vector<jint>{4, 181, 0, 182, 181, 0}));
}

TEST_F(EnemyTest, FlyerSwoopsFasterTowardsTheHeroUpTo1000PixelsPerSecond) {
    cEnemy* e = startWith(25, 300, 500, {-400, -200, 800, 400});
    ASSERT_NE(e, nullptr);
    step();
    ASSERT_EQ(e->state, 1);
    jint previous = e->behaviourSpeed;
    for (int i = 0; i < 6; ++i) {
        step();
        EXPECT_EQ(e->behaviourSpeed, std::min(previous + (100 << 8), 1000 << 8));
        previous = e->behaviourSpeed;
    }
    EXPECT_LT(e->speedX, 0) << "towards the hero on its left";
    EXPECT_TRUE(e->isFlipped());
}

// What enemies leave behind when they are hurt or die: the grabber's pickup for a hurt hero, debris,
// sparks.
TEST_F(EnemyTest, HurtAndDyingEnemiesLeavePickupsDebrisAndSparks) {
    struct Case {
        jint type, state, heroEnergy;
        bool stepOutOfView;   // one frame after, moved out of the view
        jint spawnedType, spawned;
    };
    const Case cases[] = {
        {8, 5, 50, false, 12, 1},   // a pickup while the hero is hurt...
        {8, 5, 100, false, 12, 0},  // ...none for a hero at full energy
        {8, 20, 100, false, 61, 6}, {48, 20, 100, false, 61, 6},
        {37, 20, 100, true, 61, 1}, {49, 20, 100, true, 61, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << " entering " << c.state);
        cEnemy* e = startWith(c.type, 200, 400);
        ASSERT_NE(e, nullptr);
        auto* hero = static_cast<cHero*>(actorById(kHeroId));
        hero->energy = c.heroEnergy;
        hero->maxEnergy = 100;
        const jint before = countOfType(c.spawnedType);
        e->setState(c.state);
        if (c.stepOutOfView) {
            e->x = 3000 << 8;
            step();
            EXPECT_TRUE(removed(e));
        }
        EXPECT_EQ(countOfType(c.spawnedType) - before, c.spawned);
    }
}

TEST_F(EnemyTest, LandingProjectileAndGuardedTargetReactAsTheirRoutinesSay) {
    cEnemy* e = startWith(37);
    ASSERT_NE(e, nullptr);
    e->setState(3);
    e->updateType37();
    EXPECT_EQ(e->state, 3) << "still in the air";
    e->flags |= cActor::kFlagGround;
    e->groundId = 0;
    e->updateType37();
    EXPECT_EQ(e->state, cEnemy::kDyingState);

    // A target whose guard is idle stays whole; once down it starts the pulse.
    cEnemy* t = startWith(23);
    ASSERT_NE(t, nullptr);
    t->health = 1;
    t->updateType23();
    EXPECT_EQ(cGame::s_pulseActive, 0);
    t->health = 0;
    t->updateType23();
    EXPECT_EQ(cGame::s_pulseActive, 1);
}

}  // namespace
