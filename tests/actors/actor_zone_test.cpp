// The level's zones through the play step: each trigger kind's effect when the hero is inside (and
// nothing while it is outside), the checkpoint held back by a waited effect, the information page
// only below the hardest difficulty, the texts' timing, and the camera zones taking, giving up and
// locking the camera.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "actors/cactor.h"
#include "actors/chero.h"
#include "actors/csubmarine.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "tests/support/actor_world.h"

namespace {

struct Message {
    jint message, a, b, c;
    bool operator==(const Message&) const = default;
};
std::vector<Message> g_messages;
std::vector<jint> g_checkpoints, g_firedTriggers;

// The hero as the zones see it: a box 20 wide and 40 high above its feet, standing on ground id 0,
// recording the messages sent to it.
class ProbeHero final : public cHero {
public:
    void onMessage(cActor*, jint message, jint a, jint b, jint c) override { g_messages.push_back({message, a, b, c}); }
};

class ActorZoneTest : public ActorWorld {
protected:
    static constexpr jint kZoneId = 10;
    // Every zone lies at (100, 100) .. (300, 300).
    static std::string zone(jint type, jint id, jint kind, jint w9 = 0, jint w10 = 0, jint w12 = 0, jint x = 100) {
        return record({type, id, x, 100, 0, 0, 200, 200, kind, w9, w10, 0, w12});
    }

    void SetUp() override {
        ActorWorld::SetUp();
        g_messages.clear();
        g_checkpoints.clear();
        g_firedTriggers.clear();
    }

    // The level with the zones (those in view run in its first frame), and the probe hero at (x, y) followed by the
    // camera.
    ProbeHero* start(const std::string& zones, jint x, jint y, const std::string& lines = {}) {
        startLevel(zones, lines, 1600, 960);
        cGame::s_levelServices.writeSaveBuffer = [](jint id) { g_checkpoints.push_back(id); };
        cGame::s_levelServices.fireTrigger = [](jint id) { g_firedTriggers.push_back(id); };
        auto* hero = Runtime::make<ProbeHero>();
        EXPECT_NE(hero, nullptr);
        hero->type = 1;
        hero->id = 1;
        hero->localBox->fill({-10 << 8, -40 << 8, 10 << 8, 0});
        hero->flags = cActor::kFlagGround;
        hero->groundId = 0;
        moveHero(hero, x, y);
        cGame::s_hero = hero;
        cGame::s_cameraFollow = hero;
        return hero;
    }
    static void moveHero(cActor* hero, jint x, jint y) {
        hero->x = x << 8;
        hero->y = y << 8;
        hero->refreshCollisionRect();
    }
};

TEST_F(ActorZoneTest, EachTriggerKindActsOnTheHeroInsideAndOnlyThere) {
    struct Case {
        const char* what;
        jint kind, w9, w10;
        std::function<void(cActor* zone, cActor* hero, bool inside)> check;
    };
    auto messages = [](std::vector<Message> expected) {
        return [expected](cActor*, cActor*, bool inside) {
            EXPECT_EQ(g_messages, inside ? expected : std::vector<Message>{});
        };
    };
    const std::vector<Case> cases = {
        {"level exit: the hero leaves facing right, the exit goes", 0, 0, 0,
         [](cActor* zone, cActor* hero, bool inside) {
             EXPECT_EQ(hero->state == 136, inside);
             EXPECT_EQ(zone->hasFlag(cActor::kFlagActive), !inside);
         }},
        {"checkpoint: written once with the zone's id", 1, 0, 0,
         [](cActor* zone, cActor*, bool inside) {
             EXPECT_EQ(g_checkpoints, inside ? std::vector<jint>{kZoneId} : std::vector<jint>{});
             EXPECT_EQ(zone->hasFlag(cActor::kFlagActive), !inside);
         }},
        {"grab edge, right side: the box's right edge and top", 2, 1, 0, messages({{30, 300 << 8, 100 << 8, 0}})},
        {"grab edge, left side, the hero facing right", 2, 0, 0,
         [](cActor*, cActor*, bool) { EXPECT_TRUE(g_messages.empty()); }},
        {"landing record", 3, 0, 0, messages({{31, 0, 0, 0}})},
        {"lift zone: the box's top", 4, 0, 0, messages({{33, 0, 100 << 8, 0}})},
        {"overdraw window in whole pixels", 6, 0, 0,
         [](cActor*, cActor*, bool inside) {
             EXPECT_EQ(cGame::s_overdrawActive != 0, inside);
             if (inside) {
                 ASSERT_NE(cGame::s_overdrawRect, nullptr);
                 EXPECT_EQ(std::vector<jint>(cGame::s_overdrawRect->elements(), cGame::s_overdrawRect->elements() + 4),
                           (std::vector<jint>{100, 300, 100, 300}));
             }
         }},
        {"blackout", 8, 0, 0, [](cActor*, cActor*, bool inside) { EXPECT_EQ(cGame::s_blackout != 0, inside); }},
        {"bounce pad", 9, 0, 0, messages({{38, 0, 0, 0}})},
    };
    for (const Case& c : cases) {
        for (bool inside : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (inside ? ", inside" : ", outside"));
            TearDown();
            SetUp();
            cActor* hero = start(zone(5, kZoneId, c.kind, c.w9, c.w10), inside ? 200 : 400, 250);
            g_messages.clear();
            step(1);
            c.check(actorById(kZoneId), hero, inside);
        }
    }
}

TEST_F(ActorZoneTest, CheckpointWaitsWhileTheHeroWaitsOnAnEffect) {
    cActor* hero = start(zone(5, kZoneId, 1), 200, 250);
    hero->setFlag(cActor::kFlagWaiting);
    step(3);
    EXPECT_TRUE(g_checkpoints.empty());
    hero->clearFlag(cActor::kFlagWaiting);
    step(3);
    EXPECT_EQ(g_checkpoints, std::vector<jint>{kZoneId});
}

TEST_F(ActorZoneTest, ExitNeedsTheHeroOnTheGroundAndBarrierHoldsItBack) {
    cActor* hero = start(zone(5, kZoneId, 0) + zone(5, 11, 7, 0, 0, 0, 600), 200, 250);
    hero->groundId = -1;  // jumping through the exit
    step(2);
    EXPECT_NE(hero->state, 136);
    // The barrier lets the hero in, then keeps it from passing its right edge.
    moveHero(hero, 650, 250);
    step(1);
    moveHero(hero, 900, 250);
    step(1);
    EXPECT_EQ(hero->x, 800 << 8);
    moveHero(hero, 200, 250);
    hero->groundId = 0;
    step(1);
    EXPECT_EQ(hero->state, 136);
    EXPECT_FALSE(hero->isFlipped());
}

TEST_F(ActorZoneTest, InfoScreenShowsItsPageBelowTheHardestDifficultyAndGoesEitherWay) {
    struct Case {
        jint difficulty, w10, page, arg;
        bool shown;
    };
    for (const Case& c : {Case{1, 5, 104, 5, true}, Case{0, 1, 104, 0, true}, Case{2, 5, 0, 0, false}}) {
        SCOPED_TRACE(c.difficulty);
        TearDown();
        SetUp();
        cGame::s_difficulty = c.difficulty;
        start(zone(5, kZoneId, 13, 2, c.w10), 500, 250);  // the page needs no hero inside
        step(1);
        EXPECT_EQ(cGame::s_infoPage, c.page);
        EXPECT_EQ(cGame::s_infoPageArg, c.arg);
        EXPECT_EQ(cGame::s_stateChangePending && cGame::s_nextState == 26, c.shown);
        EXPECT_FALSE(actorById(kZoneId)->hasFlag(cActor::kFlagActive));
    }
}

TEST_F(ActorZoneTest, ScrollingTextMovesTwoPixelsAFrameAndFiresItsFollowUpAfterwards) {
    start(zone(5, kZoneId, 12, 0, 44), 500, 250);  // the level start ran its first frame
    EXPECT_EQ(cGame::s_loadStep, 448);
    const jint height = cGame::s_scrollHeight;
    step(10);
    EXPECT_EQ(cGame::s_loadStep, 428);
    // It stops once y has reached -height; the next frame removes it and fires trigger 44.
    const int frames = (448 + height) / 2 - 10;
    step(frames);
    EXPECT_TRUE(g_firedTriggers.empty());
    step(1);
    EXPECT_EQ(g_firedTriggers, std::vector<jint>{44});
    EXPECT_FALSE(actorById(kZoneId)->hasFlag(cActor::kFlagActive));
}

TEST_F(ActorZoneTest, TitleTextRisesForTenFramesOnceItHasBlinkedIn) {
    start(zone(5, kZoneId, 14, 3), 500, 250);
    EXPECT_EQ(cGame::s_titleTextId, 133);
    ASSERT_NE(cGame::s_titleOffsets, nullptr);
    for (jint i = 0; i < cGame::s_titleOffsets->length; ++i) {
        EXPECT_GE(cGame::s_titleOffsets->get(i), 5);
        EXPECT_LT(cGame::s_titleOffsets->get(i), 10);
    }
    cActor* zoneActor = actorById(kZoneId);
    cGame::s_titleFrames = 11;  // what the painter counts while the title blinks
    step(1);
    EXPECT_EQ(zoneActor->state, 3);
    step(10);
    EXPECT_EQ(cGame::s_titleFrames, 10);
    step(1);
    EXPECT_EQ(cGame::s_titleOffsets, nullptr);
    EXPECT_FALSE(zoneActor->hasFlag(cActor::kFlagActive));
}

TEST_F(ActorZoneTest, MissingActorsOfSwitchZonesChangeNothing) {
    // A remote switch naming no actor, and a track switch whose platforms do not exist.
    cActor* hero = start(zone(5, kZoneId, 11, 99) + zone(5, 11, 5), 200, 250);
    cActor* track = actorById(11);
    ASSERT_NE(track->typeData, nullptr);
    track->typeData->fill({70, 0, 71, 0, 0});
    hero->groundId = 70;
    hero->state = 1;
    hero->moveX = 256;
    step(2);
    EXPECT_EQ(track->typeData->get(0), 70) << "nothing was exchanged";
    EXPECT_EQ(hero->x, 200 << 8);
}

TEST_F(ActorZoneTest, CameraZonesTakeReleaseAndLockTheCamera) {
    // Zone 10 at 100..300 clamps the camera's left edge to the box (flag 1); zone 11 overlaps it.
    cActor* hero = start(zone(11, kZoneId, 0, 0, 0, 1) + zone(11, 11, 0, 0, 0, 0, 250), 200, 250);
    cActor* first = actorById(kZoneId);
    cActor* second = actorById(11);
    step(2);  // taken in the first frame, the target set from the second
    EXPECT_EQ(cGame::s_cameraZone, first);
    EXPECT_EQ(first->state, 194);
    EXPECT_EQ(cGame::s_cameraTargetX, 100) << "the target would be left of the box";
    // The second zone takes the camera from the first.
    moveHero(hero, 280, 250);
    second->update();
    EXPECT_EQ(cGame::s_cameraZone, second);
    EXPECT_EQ(first->state, 0);
    EXPECT_EQ(cGame::s_cameraLock, 2);
    // Leaving an ordinary zone gives the camera back.
    moveHero(hero, 900, 250);
    cGame::s_cameraLock = 0;
    step(1);
    EXPECT_EQ(cGame::s_cameraZone, nullptr);
    EXPECT_EQ(second->state, 0);
    EXPECT_EQ(cGame::s_cameraLock, 2);

    // A locking zone (mode 4) keeps the camera after the hero has left.
    TearDown();
    SetUp();
    hero = start(zone(11, kZoneId, 4), 200, 250);
    step(1);
    moveHero(hero, 900, 250);
    step(3);
    EXPECT_EQ(cGame::s_cameraZone, actorById(kZoneId));
}

TEST_F(ActorZoneTest, TrackSwitchMovesTheWalkingHeroOntoTheOtherPlatformOncePerVisit) {
    // Two lines across the zone: 0 at y 280 (active), 1 at y 200 (switched off).
    const std::string lines = geometry({{{0}, {{0, 280}, {1000, 280}}}, {{0}, {{0, 200}, {1000, 200}}}}, 1);
    cActor* hero = start(zone(5, kZoneId, 5), 200, 280, lines);
    cActor* lower = nullptr;
    cActor* upper = nullptr;
    for (jint i = 0; i < cGame::s_actorCount; ++i) {
        cActor* a = actor(i);
        if (a->type == 2 && a->param(7) == 0) lower = a;
        if (a->type == 2 && a->param(7) == 1) upper = a;
    }
    ASSERT_TRUE(lower && upper);
    upper->setFlag(cActor::kFlagSwitchedOff);
    cActor* track = actorById(kZoneId);
    ASSERT_NE(track->typeData, nullptr);
    track->typeData->fill({lower->id, 0, upper->id, 0, 0});
    hero->groundId = lower->id;
    hero->state = 1;
    hero->moveX = 256;
    step(1);
    EXPECT_TRUE(lower->hasFlag(cActor::kFlagSwitchedOff));
    EXPECT_FALSE(upper->hasFlag(cActor::kFlagSwitchedOff));
    EXPECT_EQ(track->typeData->get(0), upper->id);
    EXPECT_EQ(track->typeData->get(2), lower->id);
    EXPECT_EQ(hero->groundId, upper->id);
    EXPECT_LT(hero->y, 210 << 8) << "on the upper line";
    // Still inside and walking: no second switch until the hero has left the zone.
    hero->groundId = upper->id;
    step(2);
    EXPECT_EQ(track->typeData->get(0), upper->id);
}

TEST_F(ActorZoneTest, VehicleExitTakesTheDrivenVehicleWhollyInsideTheBoxOnly) {
    struct Case {
        const char* what;
        jint state, x;
        bool leaves;
    };
    const Case cases[] = {
        {"driven, wholly inside", 142, 200, true},
        {"driven, reaching past the left edge", 142, 105, false},
        {"not driven", 140, 200, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        start(zone(5, kZoneId, 10), 500, 250);
        auto* vehicle = Runtime::make<cSubmarine>();
        ASSERT_NE(vehicle, nullptr);
        vehicle->state = c.state;
        vehicle->x = c.x << 8;
        vehicle->y = 250 << 8;
        vehicle->localBox->fill({-20 << 8, -20 << 8, 20 << 8, 20 << 8});
        vehicle->addToList(cActor::kListUpdate);
        cGame::s_hero->refreshCollisionRect();
        step(1);
        EXPECT_EQ(vehicle->state == 144, c.leaves);
    }
}

}  // namespace
