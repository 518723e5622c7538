// The checkpoint in the save buffer: written at a checkpoint and read back into a rebuilt level
// (trigger flags, hero, camera zone and bounds past 16 bits, each level actor's record: a killed
// actor stays dead, an active one is woken once, actors made at run time leave nothing), a restart
// from it with full energy, the level start raising the highest level reached, and a checkpoint
// that would not fit the buffer refused instead of written past it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actors/cactor.h"
#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "tests/game/trigger_script_bytes.h"
#include "tests/support/actor_world.h"
#include "tests/support/log_capture.h"

namespace {

using namespace script;

class CountingActor : public cActor {
public:
    void onMessage(cActor* sender, jint message, jint a, jint b, jint c) override {
        if (message >= 0 && message < 16) ++messages[message];
        cActor::onMessage(sender, message, a, b, c);
    }
    int messages[16] = {};
};

class CheckpointTest : public ActorWorld {
protected:
    void SetUp() override {
        ActorWorld::SetUp();
        installSprite(0, 1, 1);  // the hero's
        cGame::createKeyTables();
        cGame::registerLevelServices();
        cGame::s_saveBuffer = Runtime::newByteArray(cGame::kSaveBufferSize);
        cGame::s_saveBuffer->set(7, -1);
    }
    static std::string heroRecord() { return record({1, 1, 500, 300, 0, 0}); }
    static cHero* hero() { return static_cast<cHero*>(cGame::s_hero); }
    static jint saveByte(jint i) { return cGame::s_saveBuffer->get(i); }

    // Actors 2..4 of the level, as a level build makes them: plain ones that count their messages.
    static std::vector<CountingActor*> addActors() {
        std::vector<CountingActor*> made;
        for (jint id = 2; id <= 4; ++id) {
            auto* a = Runtime::make<CountingActor>();
            a->id = id;
            a->type = 4;
            a->x = (600 + 10 * id) << 8;
            a->addToList(cActor::kListLevel);
            EXPECT_TRUE(cGame::addActor(a));
            made.push_back(a);
        }
        cGame::sortActorTable(0);
        return made;
    }
    static void loadTwoTriggers() {
        cGame::loadTriggerScripts(bytes(item({trigger(50, {camera({{9, {}}})}), trigger(51, {camera({})})})));
    }
};

TEST_F(CheckpointTest, ARoundTripBringsTheLevelBackAsItWas) {
    startLevel(heroRecord());
    std::vector<CountingActor*> actors = addActors();
    loadTwoTriggers();
    hero()->energy = 37;
    cGame::activateTrigger(0);  // running: fired
    cGame::activateTrigger(1);
    cGame::releaseTrigger(1);  // released once
    actors[0]->flags |= cActor::kFlagKilled;
    actors[1]->activate();
    actors[2]->angle = -1;
    actors[2]->paramFlags = 0x1234;
    hero()->x = 900 << 8;
    cHero::s_gunEnergy = 777;
    cHero::s_basicMode = 1;
    cGame::s_cameraZone = actors[2];
    cGame::setCameraBounds(0, 0, 40000, 33000);  // past what 16 bits hold
    const jlong before = cGame::checkpointBytes();
    ASSERT_NE(cGame::spawnActor(61, -1, 0, 0), nullptr);  // made at run time: no record
    EXPECT_EQ(cGame::checkpointBytes(), before);

    cGame::writeSaveBuffer(5);
    EXPECT_EQ(saveByte(11), 5);
    EXPECT_EQ(saveByte(12), 0);
    EXPECT_EQ(saveByte(13), cGame::kTriggerFiredBit);
    EXPECT_EQ(saveByte(14), cGame::kTriggerWasReleasedBit);
    // Hero (20 bytes: it has a player), then actors 2..4 (18 bytes each) after the fixed 22 bytes.
    const jint actor4 = 15 + cGame::kCheckpointFixedBytes + 20 + 2 * 18;
    EXPECT_EQ(saveByte(actor4 + 16), -1);
    EXPECT_EQ(saveByte(actor4 + 17), -1);  // angle -1 as FF FF
    EXPECT_EQ(saveByte(actor4 + 18), 0) << "nothing after the last record";

    // The level built again, as a restart does, then the checkpoint read back.
    startLevel(heroRecord());
    actors = addActors();
    cGame::resetTriggerStates();
    cGame::setCameraBounds(0, 0, 3200, 1520);
    cGame::restoreCheckpoint();
    EXPECT_EQ(cGame::s_triggerFlags->get(0), cGame::kTriggerFiredBit);
    EXPECT_EQ(cGame::s_triggerFlags->get(1), cGame::kTriggerWasReleasedBit);
    EXPECT_EQ(hero()->energy, 37);
    EXPECT_EQ(hero()->x, 900 << 8);
    EXPECT_EQ(hero()->state, 0);
    EXPECT_EQ(cHero::s_gunEnergy, 777);
    EXPECT_EQ(cHero::s_basicMode, 1);
    EXPECT_EQ(cGame::s_cameraMaxX, 40000);
    EXPECT_EQ(cGame::s_cameraMaxY, 33000);
    EXPECT_EQ(cGame::s_cameraZone, actors[2]);
    EXPECT_EQ(actors[2]->state, 194);
    EXPECT_EQ(cGame::s_cameraLock, 0);

    EXPECT_TRUE(actors[0]->hasFlag(cActor::kFlagKilled));
    EXPECT_FALSE(actors[0]->isInList(cActor::kListUpdate)) << "a killed actor stays dead";
    EXPECT_EQ(actors[0]->messages[cActor::kMsgActivated], 0);
    EXPECT_TRUE(actors[1]->hasFlag(cActor::kFlagActive));
    EXPECT_TRUE(actors[1]->isInList(cActor::kListUpdate));
    EXPECT_EQ(actors[1]->messages[cActor::kMsgActivated], 1) << "woken once";
    EXPECT_EQ(actors[2]->angle, -1);
    EXPECT_EQ(actors[2]->paramFlags, 0x1234);
    EXPECT_EQ(actors[2]->x, 640 << 8);
}

TEST_F(CheckpointTest, ARestartAfterADeathStartsFromTheCheckpointWithFullEnergy) {
    startLevel(heroRecord());
    cGame::s_levelGeometry = bytes(geometry({}, 1));  // level 0 has geometry: none here
    cGame::s_difficulty = 2;
    hero()->x = 1500 << 8;
    hero()->energy = 60;
    cGame::writeSaveBuffer(3);
    EXPECT_EQ(saveByte(10), 2) << "the setting goes with it";
    hero()->x = 2000 << 8;
    hero()->energy = 0;  // dead
    ASSERT_NE(cGame::spawnActor(61, -1, 0, 0), nullptr);
    const jint levelActors = cGame::s_actorCount - 1;

    cGame::restartLevel(true);
    ASSERT_NE(hero(), nullptr);
    EXPECT_EQ(hero()->x, 1500 << 8);
    EXPECT_EQ(hero()->energy, 100);
    EXPECT_EQ(cGame::s_actorCount, levelActors);
    EXPECT_EQ(cGame::s_difficulty, 2);

    // Without a checkpoint (a restart of the level itself): from the level's start, and no
    // checkpoint kept.
    cGame::writeSaveBuffer(0);
    cGame::restartLevel(true);
    EXPECT_EQ(hero()->x, 500 << 8);
    EXPECT_EQ(saveByte(11), 0);
}

TEST_F(CheckpointTest, TheLevelStartOnlyEverRaisesTheHighestLevel) {
    struct Case {
        jint level, stored, expected;
    };
    for (const Case c : {Case{3, 1, 3}, Case{0, -1, 0}, Case{2, 5, 5}, Case{9, 9, 9}}) {
        SCOPED_TRACE(c.level);
        cGame::s_level = c.level;
        cGame::s_saveBuffer->set(7, static_cast<jbyte>(c.stored));
        cGame::s_saveBuffer->set(11, 7);  // an old checkpoint
        cGame::writeSaveBuffer(0);
        EXPECT_EQ(saveByte(7), c.expected);
        EXPECT_EQ(saveByte(11), 0);
    }
    // No checkpoint (id 0 or negative): the restore does nothing.
    chooseLevel(0);
    startLevel(heroRecord());
    hero()->x = 700 << 8;
    for (jint id : {0, -3}) {
        (void)cGame::putShortLE(cGame::s_saveBuffer, 11, id);
        cGame::restoreCheckpoint();
        EXPECT_EQ(hero()->x, 700 << 8);
    }
}

TEST_F(CheckpointTest, ACheckpointThatWouldNotFitIsNotWritten) {
    startLevel(heroRecord());
    addActors();
    loadTwoTriggers();
    const jlong needed = cGame::checkpointBytes();
    EXPECT_EQ(needed, 15 + cGame::kCheckpointFixedBytes + 20 + 3 * 18);
    // A buffer one byte short of it, and one with room.
    ByteArray* roomy = Runtime::newByteArray(static_cast<jint>(needed) + 8);
    ByteArray* shortBuffer = Runtime::newByteArray(static_cast<jint>(needed) - 1);
    for (ByteArray* buffer : {roomy, shortBuffer}) {
        cGame::s_saveBuffer = buffer;
        LogCapture log;
        cGame::writeSaveBuffer(4);
        const bool fits = buffer == roomy;
        EXPECT_EQ(saveByte(11), fits ? 4 : 0);
        EXPECT_EQ(log.contains("no checkpoint kept"), !fits);
        if (fits) {
            EXPECT_EQ(saveByte(46), static_cast<jbyte>(0xF4)) << "the hero's x, 500 << 8, in its record";
        } else {
            for (jint i = 13; i < buffer->length; ++i) ASSERT_EQ(saveByte(i), 0) << i;
        }
    }
}

}  // namespace
