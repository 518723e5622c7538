// Hazard emitters, the spawner and effects through the play step: where and when each emitter kind
// fires, the dropper rolling along a polyline and coming home, the sprayer's bursts and pauses with
// a fixed seed, the spawner's rows, the effects' removal rules, and every spawner living through a
// full actor table.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "actors/cactor.h"
#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"
#include "tests/actors/motion_world.h"

namespace {

struct Shot {
    jint frame, x, y, state;
    bool flipped;
};

class ActorEmitterTest : public MotionWorld {
protected:
    static constexpr jint kEmitterId = 20;

    // An emitter record: fields 7 and 8 extents, 9 kind, 10 interval, 11 pause.
    static std::string emitter(jint kind, jint x, jint y, jint f7, jint f8, jint f10, jint f11) {
        return record({24, kEmitterId, x, y, 0, 0, 0, f7, f8, kind, f10, f11});
    }

    void SetUp() override {
        MotionWorld::SetUp();
        installSprite(22, 8, 8, 100);  // the shots: 8 frames of 100 ms
    }

    // A still hero at (x, y) for the emitters that watch it (not updated itself).
    static cActor* placeHero(jint x, jint y) {
        auto* hero = Runtime::make<cHero>();
        EXPECT_NE(hero, nullptr);
        hero->type = 1;
        hero->x = x << 8;
        hero->y = y << 8;
        cGame::s_hero = hero;
        return hero;
    }

    // The shots fired this frame (they entered their state in it), in pixels relative to (ox, oy).
    static void collectShots(std::vector<Shot>& out, jint ox, jint oy) {
        for (jint i = 0; i < cGame::s_actorCount; ++i) {
            cActor* a = actor(i);
            if (a->type != 24 || a->params || a->stateEntryFrame != cGame::s_frameCounter) continue;
            out.push_back({cGame::s_frameCounter, (a->x >> 8) - ox, (a->y >> 8) - oy, a->state, a->isFlipped()});
        }
    }
    static bool inTable(const cActor* a) {
        for (jint i = 0; i < cGame::s_actorCount; ++i)
            if (actor(i) == a) return true;
        return false;
    }

    // The level with the emitter active, and the shots of its first frame (the level start runs one).
    void startEmitter(const std::string& records, std::vector<Shot>& shots, jint ox, jint oy,
                      const std::string& geometryItem = {}) {
        startLevel(records, geometryItem, 1600, 960);
        actorById(kEmitterId)->activate();
        collectShots(shots, ox, oy);
    }
    void run(std::vector<Shot>& shots, int frames, jint ox, jint oy) {
        for (int i = 0; i < frames; ++i) {
            step(1);
            collectShots(shots, ox, oy);
        }
    }
};

TEST_F(ActorEmitterTest, RowEmitterStepsFortyPixelsToItsEndThenPauses) {
    struct Case {
        jint f7;
        std::vector<jint> offsets;
    };
    for (const Case& c : {Case{120, {0, 40, 80, 0, 40}}, Case{-80, {0, -40, 0, -40, 0}}}) {
        SCOPED_TRACE(c.f7);
        TearDown();
        SetUp();
        std::vector<Shot> shots;
        startEmitter(emitter(1, 200, 300, c.f7, 0, 100, 1000), shots, 200, 300);
        run(shots, 80, 200, 300);
        ASSERT_GE(shots.size(), c.offsets.size());
        for (size_t i = 0; i < c.offsets.size(); ++i) {
            EXPECT_EQ(shots[i].x, c.offsets[i]) << i;
            EXPECT_EQ(shots[i].y, 0);
            EXPECT_EQ(shots[i].state, 224);
        }
        // 100 ms between the shots of a row, the 1000 ms pause after its last.
        const jint rowLength = c.f7 > 0 ? 3 : 2;
        EXPECT_EQ(shots[1].frame - shots[0].frame, 2);
        EXPECT_EQ(shots[rowLength].frame - shots[rowLength - 1].frame, 20);
    }
}

TEST_F(ActorEmitterTest, PairEmitterWaitsForTheHeroThenClimbsToItsLimit) {
    cActor* hero = placeHero(150, 280);  // left of the span
    std::vector<Shot> shots;
    startEmitter(emitter(2, 200, 300, 100, -80, 100, 200), shots, 200, 300);
    run(shots, 10, 200, 300);
    EXPECT_TRUE(shots.empty());
    hero->x = 250 << 8;
    run(shots, 40, 200, 300);
    // Pairs 20 pixels apart round the span's middle, 40 pixels higher each time up to field 8.
    ASSERT_GE(shots.size(), 6u);
    const std::vector<std::pair<jint, jint>> expected = {{40, 0}, {60, 0}, {40, -40}, {60, -40}, {40, 0}, {60, 0}};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(shots[i].x, expected[i].first) << i;
        EXPECT_EQ(shots[i].y, expected[i].second) << i;
    }
}

TEST_F(ActorEmitterTest, DropperRollsAlongTheGroundFallsOffAndComesHome) {
    const std::string line = ActorWorld::geometry({{{0}, {{0, 400}, {500, 400}}}}, 1);
    placeHero(150, 350);
    std::vector<Shot> shots;
    startEmitter(emitter(3, 100, 399, 300, -100, 200, 100), shots, 100, 399, line);
    cActor* dropper = actorById(kEmitterId);
    run(shots, 2, 100, 399);
    ASSERT_FALSE(shots.empty());
    EXPECT_EQ(shots[0].state, 226) << "the idle shot where it starts";
    run(shots, 3, 100, 399);
    EXPECT_EQ(dropper->state, 220);
    const jint x0 = dropper->x;
    run(shots, 10, 100, 399);
    EXPECT_GT(dropper->x, x0 + (100 << 8)) << "320 px/s to the right";
    EXPECT_LE(std::abs((dropper->y >> 8) - 400), 1) << "on the line";
    size_t rolling = 0;
    for (const Shot& s : shots) rolling += s.state == 224;
    EXPECT_GE(rolling, 2u);
    // Past the line's end it falls, and once out of view it is back home, watching.
    for (int i = 0; i < 200 && dropper->state != 218; ++i) step(1);
    EXPECT_EQ(dropper->state, 218);
    EXPECT_EQ(dropper->x, 100 << 8);
    EXPECT_EQ(dropper->y, 399 << 8);
}

TEST_F(ActorEmitterTest, SprayerFiresBurstsThenPausesBetweenItsFields) {
    seed(7);
    std::vector<Shot> shots;
    startEmitter(emitter(4, 200, 300, 0, 0, 1000, 1500), shots, 200, 300);
    run(shots, 600, 200, 300);
    ASSERT_GE(shots.size(), 10u);
    bool sawBurst = false, sawPause = false, sawLeft = false, sawRight = false;
    jint burst = 0;  // shots since the last pause
    for (size_t i = 1; i < shots.size(); ++i) {
        const jint ms = (shots[i].frame - shots[i - 1].frame) * 50;
        const Shot& prev = shots[i - 1];
        if (ms == 300 || ms == 800) {
            sawBurst = true;
            // 800 ms follow a shot that hurts all through (225), 300 ms one that hurts half (224).
            EXPECT_EQ(prev.state, ms == 800 ? 225 : 224) << i;
            ++burst;
        } else {
            sawPause = true;
            EXPECT_GE(ms, 1000) << i;
            EXPECT_LE(ms, 1500) << i;
            burst = 0;
        }
        // Every other shot of a burst comes from 100 pixels higher.
        EXPECT_EQ(shots[i].y, (burst & 1) ? -100 : 0) << i;
        (shots[i].flipped ? sawLeft : sawRight) = true;
    }
    EXPECT_TRUE(sawBurst && sawPause && sawLeft && sawRight);
}

TEST_F(ActorEmitterTest, ShotsHurtTheHeroSideOnlyInTheFirstHalfOfAHalfHurtingAnimation) {
    startLevel({}, {}, 1600, 960);
    struct Hurt : cHero {
        void onMessage(cActor*, jint message, jint, jint, jint c) override {
            if (message == kMsgHit) received += c;
        }
        jint received = 0;
    };
    auto* hero = Runtime::make<Hurt>();
    ASSERT_NE(hero, nullptr);
    hero->type = 1;
    hero->x = 300 << 8;
    hero->y = 300 << 8;
    hero->localBox->fill({-10 << 8, -40 << 8, 10 << 8, 0});
    hero->addToList(cActor::kListUpdate);
    cGame::s_hero = hero;
    cGame::s_difficulty = 2;
    struct Case {
        jint state, frame;
        jint damage;
    };
    for (const Case& c : {Case{224, 4, 10}, Case{224, 5, 0}, Case{225, 7, 10}, Case{226, 0, 0}}) {
        SCOPED_TRACE(testing::Message() << c.state << " frame " << c.frame);
        cActor* shot = cGame::spawnActor(24, 22, 300 << 8, 300 << 8);
        ASSERT_NE(shot, nullptr);
        shot->setState(c.state);
        shot->player->SetFrame(c.frame);
        hero->received = 0;
        shot->updateType24();
        EXPECT_EQ(hero->received, c.damage);
        cGame::removeActor(shot);
    }
}

TEST_F(ActorEmitterTest, SpawnerDropsSixAlternatingRowsAndEnds) {
    startLevel({}, {}, 4000, 960);
    cGame::s_cameraX = 1000;
    cGame::s_viewRect->fill({1000 << 8, 0, 1800 << 8, 480 << 8});
    cActor::s_spawnerActive = 1;
    cActor* spawner = cGame::spawnActor(63, -1, 0, 0);
    ASSERT_NE(spawner, nullptr);
    spawner->typeData = Runtime::newIntArray(4);
    spawner->setState(255);
    std::vector<std::vector<jint>> rows(1);
    jint seen = 0;
    for (int f = 0; f < 1000 && cActor::s_spawnerActive; ++f) {
        cGame::s_viewRect->fill({1000 << 8, 0, 1800 << 8, 480 << 8});  // the camera stays put
        spawner->update();
        for (jint i = 0; i < cGame::s_actorCount; ++i) {
            cActor* a = actor(i);
            if (a->type != 64 || a->stateEntryFrame == -7) continue;
            a->stateEntryFrame = -7;  // counted
            if (rows.back().size() == 21) rows.emplace_back();
            rows.back().push_back((a->x >> 8) - 1000);
            ++seen;
        }
        ++cGame::s_frameCounter;
    }
    EXPECT_EQ(seen, 126);
    ASSERT_EQ(rows.size(), 6u);
    for (size_t r = 0; r < rows.size(); ++r) {
        SCOPED_TRACE(r);
        const bool even = r % 2 == 0;
        EXPECT_EQ(rows[r].front(), even ? 800 : 0);
        EXPECT_EQ(rows[r].back(), even ? 0 : 800);
    }
    EXPECT_FALSE(cActor::s_spawnerActive);
    EXPECT_FALSE(inTable(spawner));
}

TEST_F(ActorEmitterTest, EffectsEndWithTheirAnimationFarFromViewOrWhenWaitedOn) {
    startLevel({}, {}, 4000, 960);
    installSprite(13, 16, 2);
    cActor* hero = placeHero(100, 100);
    struct Case {
        const char* what;
        jint x, anim, loops;
        bool waited, shot;
        int framesAlive;  // frames until it is gone; -1 stays, 0 with its animation
    };
    const std::vector<Case> cases = {
        {"an endless effect in view stays", 400, 9, -1, false, false, -1},
        {"far beyond the view grown by 400", 1300, 9, -1, false, false, 1},
        {"a played-once animation ends it", 400, 3, 1, false, true, 0},
        {"the waited effect ends with animation 4", 400, 4, 1, true, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cActor* e = cGame::spawnActor(61, 13, c.x << 8, 200 << 8);
        ASSERT_NE(e, nullptr);
        e->clearFlag(cActor::kFlagGravity);
        cGame::startPlayerAnim(e->player, c.anim, c.loops);
        if (c.waited) {
            cActor::s_waitEffect = e;
            hero->setFlag(cActor::kFlagWaiting);
        }
        if (c.shot) cHero::s_shotEffect = e;
        int frames = 0;
        for (; frames < 10 && inTable(e); ++frames) {
            const bool over = e->isAnimOver();
            step(1);
            EXPECT_FALSE(c.framesAlive == 0 && over && inTable(e)) << "kept after its animation ended";
        }
        if (c.framesAlive == 0) {
            EXPECT_GT(frames, 1);
            EXPECT_LT(frames, 10);
        } else {
            EXPECT_EQ(frames == 10 ? -1 : frames, c.framesAlive);
        }
        if (c.waited) {
            EXPECT_EQ(cActor::s_waitEffect, nullptr);
            EXPECT_FALSE(hero->hasFlag(cActor::kFlagWaiting));
        }
        if (c.shot) {
            EXPECT_EQ(cHero::s_shotEffect, nullptr);
        }
        if (inTable(e)) cGame::removeActor(e);
    }
}

TEST_F(ActorEmitterTest, EmittersAndTheSpawnerGoOnWhenTheActorTableIsFull) {
    startLevel(
        emitter(1, 200, 300, 120, 0, 50, 100) + record({24, kEmitterId + 1, 300, 300, 0, 0, 0, 0, 0, 4, 50, 100}), {},
        1600, 960);
    actorById(kEmitterId)->activate();
    actorById(kEmitterId + 1)->activate();
    cActor* spawner = cGame::spawnActor(63, -1, 0, 0);
    ASSERT_NE(spawner, nullptr);
    spawner->typeData = Runtime::newIntArray(4);
    spawner->setState(255);
    while (cGame::s_actorCount < cGame::kActorTableSize) {
        cActor* filler = cGame::spawnActor(3, -1, 0, 0);
        ASSERT_NE(filler, nullptr);
        filler->deactivate(false);
    }
    step(40);
    EXPECT_EQ(cGame::s_actorCount, cGame::kActorTableSize);
    EXPECT_EQ(spawner->state, 254) << "the run goes on without its drops";
}

TEST_F(ActorEmitterTest, SpecialShotHitsAlongItsAimAndOnlyAheadOfTheHero) {
    struct Hit {
        jint id, damage;
        bool operator==(const Hit&) const = default;
    };
    static std::vector<Hit> hits;
    struct Target : cActor {
        void onMessage(cActor*, jint message, jint, jint, jint c) override {
            if (message == kMsgHit) hits.push_back({id, c});
        }
    };
    struct Case {
        const char* what;
        jint aim;
        bool heroFacesLeft;
        std::vector<Hit> expected;
    };
    // The shot at (200, 300), the hero at (150, 320). Targets (boxes 60 high: the line may pass
    // 120 from a centre): 1 up-right on the diagonal, 2 a boss there too, 3 straight right, 4
    // down-right on the diagonal, 5 up-left on it (behind a hero facing right), 6 of a type shots
    // never aim at, on the diagonal, 7 at the muzzle, touching the shot's frame.
    const Case cases[] = {
        {"up-right", 1, false, {{1, 300}, {2, 50}, {7, 300}}},
        {"down-right", 3, false, {{4, 300}, {7, 300}}},
        {"up, facing left", 1, true, {{5, 300}}},
        {"straight ahead: what the shot's frame touches", 0, false, {{7, 300}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        hits.clear();
        startLevel({}, {}, 1600, 960);
        installSprite(15, 5, 1);
        cActor* hero = placeHero(150, 320);
        hero->player = Runtime::make<BXLibPlayer>(nullptr, 0, 0);
        hero->setFlipped(c.heroFacesLeft);
        struct Place {
            jint id, type, x, y;
        };
        const Place places[] = {{1, 4, 300, 200}, {2, 32, 350, 150}, {3, 4, 400, 300}, {4, 9, 300, 400},
                                {5, 4, 100, 200}, {6, 15, 260, 240}, {7, 4, 215, 300}};
        for (const Place& p : places) {
            auto* t = Runtime::make<Target>();
            ASSERT_NE(t, nullptr);
            t->id = p.id + 100;
            t->type = p.type;
            t->x = p.x << 8;
            t->y = p.y << 8;
            t->localBox->fill({-10 << 8, -30 << 8, 10 << 8, 30 << 8});
            t->addToList(cActor::kListDraw);
            t->addToList(cActor::kListUpdate);
        }
        cActor* shot = cGame::spawnActor(61, 15, 200 << 8, 300 << 8);
        ASSERT_NE(shot, nullptr);
        cGame::startPlayerAnim(shot->player, c.aim, -1);
        cHero::s_shotEffect = shot;
        cHero::s_aimIndex = c.aim;
        shot->updateEffect();
        std::vector<Hit> expected;
        for (Hit h : c.expected) expected.push_back({h.id + 100, h.damage});
        std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.id < b.id; });
        EXPECT_EQ(hits, expected);
    }
}

TEST_F(ActorEmitterTest, BossEscortEmitterGoesOnceEightyPixelsBeyondTheView) {
    startLevel({}, {}, 4000, 960);
    auto* boss = Runtime::make<cActor>();
    ASSERT_NE(boss, nullptr);
    boss->type = 32;
    struct Case {
        jint x;
        bool kept;
    };
    // The view is 0..800; the emitter's frame is 20 wide around its position.
    for (const Case& c : {Case{870, true}, Case{895, false}, Case{-95, false}, Case{400, true}}) {
        SCOPED_TRACE(c.x);
        cActor* escort = cGame::spawnType24(c.x << 8, 300 << 8, 0, 0, 1, 1000, 1000);
        ASSERT_NE(escort, nullptr);
        escort->linked = boss;
        escort->updateType24();
        bool inTableNow = false;
        for (jint i = 0; i < cGame::s_actorCount; ++i) inTableNow = inTableNow || actor(i) == escort;
        EXPECT_EQ(inTableNow, c.kept);
        if (inTableNow) cGame::removeActor(escort);
    }
}

}  // namespace
