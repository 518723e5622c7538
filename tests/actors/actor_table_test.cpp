// The actors of a level through the actor world: records read from blobs (with the record faults
// mended: short and truncated records, types past the sprite map, a full table), the update order,
// a behaviour that dies on time, the messages of activation and death, the update walk when a
// behaviour takes another actor out, the wake that fires a trigger, and the hero's per-frame reset.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "actors/cactor.h"
#include "actors/cenemy.h"
#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "sprites/bxlib_player.h"
#include "tests/support/actor_world.h"
#include "tests/support/log_capture.h"

namespace {

// An actor that counts what reaches it and, when told, deactivates a victim from its own update.
class RecordingActor : public cActor {
public:
    void onMessage(cActor* sender, jint message, jint a, jint b, jint c) override {
        if (message >= 0 && message < 16) ++messages[message];
        cActor::onMessage(sender, message, a, b, c);
    }
    void update() override {
        ++updates;
        if (victim) victim->deactivate(false);
    }
    int messages[16] = {};
    int updates = 0;
    cActor* victim = nullptr;   // kept alive by the list it is in (and the test's stack)
};

RecordingActor* recordingActor(jint id, jint type) {
    auto* a = Runtime::make<RecordingActor>();
    a->id = id;
    a->type = type;
    a->updateOrder = type == 5 ? 49 : 50;
    a->addToList(cActor::kListLevel);
    return a;
}

std::vector<jint> updateListIds() {
    std::vector<jint> ids;
    for (cActor* a = cActor::listHead(cActor::kListUpdate); a; a = a->nextIn(cActor::kListUpdate)) ids.push_back(a->id);
    return ids;
}

using ActorTableTest = ActorWorld;

TEST_F(ActorTableTest, RecordBlobsBecomeActors) {
    installSprite(1, 4, 2);   // type 4's sprite
    installSprite(0, 2, 1);   // slot 0, which a type outside the map must not reach
    struct Case {
        const char* what;
        std::string records;
        jint count;           // actors made
        jint x, flags, anim;  // of the last one (8.8 x; flag bits that must be set; player animation)
        bool loops;           // its animation loops for ever
        const char* logged;
    };
    const Case cases[] = {
        {"empty item", "", 0, 0, 0, 0, false, nullptr},
        {"a skipped type, then a read one", record({16, 1, 0, 0, 0, 0, 9, 9}) + record({4, 2, 10, 20, 0, 0}), 1,
         10 << 8, 0, -1, false, nullptr},
        {"n = 6: no animation", record({4, 1, 10, 20, 0, 0}), 1, 10 << 8, 0, -1, false, nullptr},
        {"n = 7: its animation, looping", record({4, 1, 10, 20, 0, 0, 2}), 1, 10 << 8, 0, 2, true, nullptr},
        {"x = 0xFFFF is unsigned", record({4, 1, 0xFFFF, 20, 0, 0}), 1, 65535 << 8, 0, -1, false, nullptr},
        // Bits 16..24 (above them come the active, killed and parked bits, which the first play step
        // acts on).
        {"flag bit 15 is sign-extended", record({4, 1, 10, 20, 0x8000, 0}), 1, 10 << 8, 0x01FF8000, -1, false,
         nullptr},
        {"a truncated record ends the reading", record({4, 1, 10, 20, 0, 0}) + std::string("\x07\x04\x00", 3), 1,
         10 << 8, 0, -1, false, "runs past the end"},
        {"fewer than 6 values: skipped", record({4, 1, 10}) + record({4, 2, 30, 20, 0, 0}), 1, 30 << 8, 0, -1, false,
         "fewer than 6"},
        {"types past the sprite map have no player", record({58, 1, 10, 20, 0, 0, 1}) + record({70, 2, 10, 20, 0, 0, 1}),
         2, 10 << 8, 0, -1, false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LogCapture log;
        startLevel(c.records);
        ASSERT_EQ(cGame::s_actorCount, c.count);
        if (c.logged) {
            EXPECT_TRUE(log.contains(c.logged));
        }
        if (c.count == 0) continue;
        cActor* a = actor(c.count - 1);
        EXPECT_EQ(a->x, c.x);
        EXPECT_EQ(a->flags & c.flags, c.flags);
        const jint anim = a->player ? a->player->anim : -1;
        EXPECT_EQ(anim, c.anim);
        if (c.loops) {
            EXPECT_LT(a->player->loops, 0);
        }
    }
}

TEST_F(ActorTableTest, NewestFirstAmongEqualOrdersAndLowerOrdersBeforeThem) {
    startLevel("");
    RecordingActor* a = recordingActor(1, 4);
    RecordingActor* b = recordingActor(2, 4);
    RecordingActor* c = recordingActor(3, 4);
    RecordingActor* zone = recordingActor(4, 5);   // order 49
    a->activate();
    b->activate();
    c->activate();
    zone->activate();
    EXPECT_EQ(updateListIds(), (std::vector<jint>{4, 3, 2, 1}));
}

TEST_F(ActorTableTest, ABehaviourOfTwoSecondsThenDeathEndsAfterFortyFrames) {
    installSprite(6, 7, 2);   // type 9's sprite: its table's animation 6
    startLevel(record({9, 1, 100, 100, cActor::kFlagKeptActive, 0}));
    cActor* enemy = actorById(1);
    ASSERT_NE(enemy, nullptr);
    ASSERT_EQ(enemy->behaviourId, 3);
    enemy->setState(20);   // {20, 6, 2000, -1, -2}
    EXPECT_EQ(enemy->player->anim, 6);
    EXPECT_LT(enemy->player->loops, 0) << "a timed state loops its animation";
    step(39);
    EXPECT_EQ(enemy->state, 20);
    step(1);
    EXPECT_EQ(enemy->state, cActor::kStateDead);
    EXPECT_TRUE(enemy->hasFlag(cActor::kFlagKilled));
    EXPECT_FALSE(enemy->hasFlag(cActor::kFlagActive));
    EXPECT_FALSE(enemy->isInList(cActor::kListUpdate));
}

TEST_F(ActorTableTest, ActivationAndDeathSendTheirMessagesOnce) {
    startLevel("");
    RecordingActor* a = recordingActor(1, 4);
    a->activate();
    a->activate();   // already active: nothing
    a->deactivate(true);
    EXPECT_EQ(a->messages[cActor::kMsgActivated], 1);
    EXPECT_EQ(a->messages[cActor::kMsgDeactivated], 1);
    EXPECT_EQ(a->messages[cActor::kMsgKilled], 1);
    EXPECT_FALSE(a->isInList(cActor::kListUpdate));
    RecordingActor* b = recordingActor(2, 4);
    b->activate();
    a->removeFromList(cActor::kListUpdate);   // not in it: nothing happens to the list
    EXPECT_EQ(cActor::listHead(cActor::kListUpdate), b);
    EXPECT_TRUE(b->isInList(cActor::kListUpdate));
}

TEST_F(ActorTableTest, AnActorTakenOutByAnotherIsSkippedAndTheWalkGoesOn) {
    startLevel("");
    RecordingActor* c = recordingActor(3, 4);
    RecordingActor* b = recordingActor(2, 4);
    RecordingActor* a = recordingActor(1, 4);
    c->activate();
    b->activate();
    a->activate();   // list: a, b, c
    a->victim = b;
    cGame::updateActors(cActor::kListUpdate);
    EXPECT_EQ(a->updates, 1);
    EXPECT_EQ(b->updates, 0);
    EXPECT_EQ(c->updates, 1) << "the actor after the one taken out is still updated";
}

TEST_F(ActorTableTest, WakingAnIdNoActorHoldsFiresThatTrigger) {
    static std::vector<jint> fired;
    fired.clear();
    cGame::s_levelServices.fireTrigger = [](jint id) { fired.push_back(id); };
    startLevel(record({4, 5, 10, 20, 0, 0}));
    EXPECT_EQ(cGame::wakeActorById(7), nullptr);
    EXPECT_EQ(cGame::wakeActorById(0), nullptr);
    cActor* woken = cGame::wakeActorById(5);
    ASSERT_NE(woken, nullptr);
    EXPECT_TRUE(woken->hasFlag(cActor::kFlagActive));
    EXPECT_EQ(fired, std::vector<jint>{7});
}

TEST_F(ActorTableTest, FullTableRefusesTheSpawnOnceLogged) {
    startLevel("");
    LogCapture log;
    for (jint i = 0; i < cGame::kActorTableSize; ++i) ASSERT_NE(cGame::spawnActor(61, -1, 0, 0), nullptr) << i;
    EXPECT_EQ(cGame::spawnActor(61, -1, 0, 0), nullptr);
    EXPECT_EQ(cGame::spawnDust(0, 0), nullptr);
    EXPECT_EQ(cGame::spawnType12(0, 0, 1), nullptr);
    EXPECT_EQ(cGame::spawnType24(0, 0, 1, 2, 3, 4, 5), nullptr);
    int logged = 0;
    for (const auto& l : log.lines) logged += l.find("table is full") != std::string::npos;
    EXPECT_EQ(logged, 1);
    EXPECT_EQ(cGame::s_actorCount, cGame::kActorTableSize);
}

TEST_F(ActorTableTest, TypeMasksFollowJavasShiftAndNegativeTypesGetNoBit) {
    struct Case {
        jint type;
        bool gravity;
    };
    const jlong gravityTypes = 0x0400024184000300LL;
    for (Case c : {Case{8, true}, Case{72, true}, Case{58, true}, Case{64 + 58, true}, Case{1, false}, Case{-1, false},
                   Case{-56, false}}) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(cActor::typeInMask(gravityTypes, c.type), c.gravity);
    }
}

TEST_F(ActorTableTest, HeroFrameResetClearsTheLiftReturnNotTheInvulnerability) {
    installSprite(0, 1, 1);
    startLevel(record({1, 1, 100, 100, 0, 0}));
    auto* hero = static_cast<cHero*>(cGame::s_hero);
    ASSERT_NE(hero, nullptr);
    hero->flags |= cActor::kFlagLift | 0x8000;
    hero->returnY = 5000;
    cGame::updateActors(cActor::kListUpdate);
    EXPECT_EQ(hero->returnY, INT_MAX);
    EXPECT_EQ(hero->invulnerableMs, -1);
    EXPECT_EQ(hero->flags & cActor::kFlagHeroFrame, 0);
}

TEST_F(ActorTableTest, CheckpointRecordsRestoreActiveActorsIntoTheUpdateList) {
    startLevel("");
    struct Case {
        const char* what;
        jint stored;          // the flag word written
        bool active, inList;  // afterwards
        int activations;
    };
    const jint active = cActor::kFlagActive;
    const Case cases[] = {
        {"active", active, true, true, 1},
        {"killed: not activated", active | cActor::kFlagKilled, false, false, 0},
        {"parked: cannot join the list again", active | cActor::kFlagParked, false, false, 0},
        {"inactive", 0, false, false, 0},
    };
    jint id = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingActor* a = recordingActor(id++, 4);
        a->flags = c.stored;
        a->angle = -1;
        ByteArray* buffer = Runtime::newByteArray(32);
        EXPECT_EQ(a->saveState(buffer, 2), 20);
        EXPECT_EQ(buffer->get(18), -1);
        EXPECT_EQ(buffer->get(19), -1);
        a->flags = 0;
        a->angle = 0;
        EXPECT_EQ(a->loadState(buffer, 2), 20);
        EXPECT_EQ(a->angle, -1);
        EXPECT_EQ(a->hasFlag(cActor::kFlagActive), c.active);
        EXPECT_EQ(a->isInList(cActor::kListUpdate), c.inList);
        EXPECT_EQ(a->messages[cActor::kMsgActivated], c.activations);
    }
}

}  // namespace
