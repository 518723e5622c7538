// The game's sound requests read back from the sound engine's queues: the switches, channel 1's
// replace rule and the sticky effect 12, channel 2 never interrupting, music remembered while off,
// the level music, a failing playing test, and ids outside the 17 sounds ignored (requests and engine).
#include <gtest/gtest.h>

#include <string>

#include "classlib/java_lang/java_lang_exceptions.h"
#include "classlib/media/javax_microedition_media_player.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"
#include "tests/classlib/record_store_fixture.h"
#include "tests/sprites/sound_engine_reset.h"
#include "tests/support/test_world.h"

namespace {

using B = BXLibPlayer;
using Player = javax_microedition_media_Player;

// A channel's Player that answers a chosen state, or raises from getState.
class StubPlayer : public Object, public Player {
public:
    StubPlayer() { setClassId(CID_javax_microedition_media_Player); }
    void* getInterface(jint classId) override {
        return classId == CID_javax_microedition_media_Player ? static_cast<Player*>(this) : nullptr;
    }
    Object* getControl(String*) override { return nullptr; }
    ObjectArray* getControls() override { return nullptr; }
    void realize() override {}
    void prefetch() override {}
    void start() override {}
    void stop() override {}
    void deallocate() override {}
    void close() override {}
    jlong setMediaTime(jlong) override { return 0; }
    jlong getMediaTime() override { return 0; }
    jint getState() override {
        if (raises) Runtime::raise<java_lang_IllegalStateException>();
        return state;
    }
    jlong getDuration() override { return 0; }
    String* getContentType() override { return nullptr; }
    void setLoopCount(jint) override {}

    jint state = PREFETCHED;
    bool raises = false;
};

class SoundRequestTest : public RecordStoreTest {
protected:
    void SetUp() override {
        RecordStoreTest::SetUp();
        resetSoundEngine();
        B::SndInit(cGame::kSoundCount);
        ASSERT_TRUE(B::s_sndEnabled);
        cGame::s_musicOn = cGame::s_sfxOn = true;
        cGame::s_currentSfx = cGame::s_lastSound = cGame::s_musicId = -1;
        cGame::s_musicLoop = 0;
        cGame::s_levelMusicOverride = -1;
        cGame::s_levelMusicOverrideOn = 0;
        cGame::s_levelMusic = nullptr;
        cGame::s_level = 0;
    }
    void TearDown() override {
        resetSoundEngine();
        RecordStoreTest::TearDown();
    }

    // Channel `channel` reports playing (or raises when asked).
    static StubPlayer* playerOn(jint channel, jint state, bool raises = false) {
        auto* p = new StubPlayer();
        p->state = state;
        p->raises = raises;
        B::s_chPlayer->set(channel, p);
        return p;
    }

    // The live records queued on a channel, oldest first, taken off the queue.
    static std::string drain(jint channel) {
        std::string out;
        for (B::SndQueuePop(channel); B::s_sndScratch->get(B::kSndRecordWords) > 0; B::SndQueuePop(channel)) {
            const jint code = B::s_sndScratch->get(0);
            std::string record;
            if (code == B::kSndPlay) {
                record = "play " + std::to_string(B::s_sndScratch->get(1)) + " loops " +
                         std::to_string(B::s_sndScratch->get(4)) + " vol " + std::to_string(B::s_sndScratch->get(3)) +
                         " pri " + std::to_string(B::s_sndScratch->get(2));
            } else if (code == B::kSndStop) {
                record = "stop";
            } else if (code == B::kSndPause) {
                record = "pause";
            } else if (code == B::kSndResume) {
                record = "resume";
            } else if (code != B::kSndCancelled) {
                record = "code " + std::to_string(code);
            }
            if (record.empty()) continue;
            out += (out.empty() ? "" : "; ") + record;
        }
        return out;
    }
    static std::string drainAll() {
        std::string out;
        for (jint c = 0; c < B::kSndChannels; ++c) {
            const std::string queued = drain(c);
            if (!queued.empty()) out += (out.empty() ? "" : " | ") + std::to_string(c) + ": " + queued;
        }
        return out;
    }

private:
    // The statics reset before the set-up and after the tear-down.
    WorldStatics m_world;
};

TEST_F(SoundRequestTest, ChannelOneReplacesItsEffectUnlessSameOrSticky) {
    struct Step {
        jint id;
        const char* queued;
        jint currentAfter;
    };
    const Step steps[] = {
        {5, "1: stop; play 5 loops 1 vol 100 pri 0", 5},
        {5, "1: play 5 loops 1 vol 100 pri 0", 5},           // the same effect: no stop
        {6, "1: stop; play 6 loops 1 vol 100 pri 0", 6},
        {12, "1: stop; play 12 loops 1 vol 100 pri 0", 12},
        {7, "1: play 7 loops 1 vol 100 pri 0", 12},          // 12 is sticky: no stop, still 12
        {12, "1: play 12 loops 1 vol 100 pri 0", 12},
    };
    for (const Step& s : steps) {
        cGame::playSfx(s.id);
        EXPECT_EQ(drainAll(), s.queued) << s.id;
        EXPECT_EQ(cGame::s_currentSfx, s.currentAfter) << s.id;
        EXPECT_EQ(cGame::s_lastSound, s.id);
    }
    // playSound on channel 1 follows the same rule, looping on request.
    cGame::s_currentSfx = 3;
    cGame::playSound(1, 4, true);
    EXPECT_EQ(drainAll(), "1: stop; play 4 loops 0 vol 100 pri 0");
    EXPECT_EQ(cGame::s_currentSfx, 4);
}

TEST_F(SoundRequestTest, SwitchesDecideWhichChannelsHear) {
    struct Case {
        bool music, sfx;
        const char* plays;
        const char* controls;
    };
    // Each row: playSound on 0 and 2 (ids 3, 5) and playSfx(6); then stop, pause and resume of 0..2.
    // Drained in between: a queue cancels earlier records of the same command.
    const char* kPlay3 = "0: play 3 loops 1 vol 100 pri 0";
    const char* kAll = "0: stop; pause; resume | 1: stop; pause; resume | 2: stop; pause; resume";
    const Case cases[] = {
        {true, true, "0: play 3 loops 1 vol 100 pri 0 | 1: stop; play 6 loops 1 vol 100 pri 0 | 2: play 5 loops 1 vol 100 pri 0", kAll},
        {true, false, kPlay3, "0: stop; pause; resume"},
        {false, true, "1: stop; play 6 loops 1 vol 100 pri 0 | 2: play 5 loops 1 vol 100 pri 0",
         "1: stop; pause; resume | 2: stop; pause; resume"},
        {false, false, "", ""},
    };
    for (const Case& c : cases) {
        cGame::s_musicOn = c.music;
        cGame::s_sfxOn = c.sfx;
        cGame::s_currentSfx = cGame::s_lastSound = -1;
        cGame::playSound(0, 3, false);
        cGame::playSound(2, 5, false);
        cGame::playSfx(6);
        cGame::playSound(3, 4, false);   // not a game channel
        EXPECT_EQ(drainAll(), c.plays) << c.music << c.sfx;
        EXPECT_EQ(cGame::s_lastSound, c.sfx ? 6 : c.music ? 3 : -1) << "unchanged when nothing played";
        for (jint channel = 0; channel < 4; ++channel) {
            cGame::stopChannel(channel);
            cGame::pauseChannel(channel);
            cGame::resumeChannel(channel);
        }
        EXPECT_EQ(drainAll(), c.controls) << c.music << c.sfx;
    }
    cGame::s_musicOn = true;
    cGame::s_sfxOn = false;
    cGame::stopAllSounds();
    EXPECT_EQ(drainAll(), "0: stop");
    cGame::s_musicOn = false;
    cGame::s_sfxOn = true;
    cGame::resumeAllSounds();
    EXPECT_EQ(drainAll(), "1: resume | 2: resume");
}

TEST_F(SoundRequestTest, ChannelTwoNeverInterruptsAndAFailingQuestionEndsTheRequest) {
    StubPlayer* p = playerOn(2, Player::STARTED);
    cGame::playSound(2, 9, false);
    EXPECT_EQ(drainAll(), "");
    EXPECT_EQ(cGame::s_lastSound, -1);
    p->state = Player::PREFETCHED;   // it ended
    cGame::playSound(2, 9, false);
    EXPECT_EQ(drainAll(), "2: play 9 loops 1 vol 100 pri 0");

    playerOn(1, Player::STARTED, true);
    cGame::playSfx(5);
    cGame::playSound(1, 5, false);
    EXPECT_EQ(drainAll(), "");
    EXPECT_FALSE(Runtime::pending()) << "the failure is swallowed";
    EXPECT_EQ(cGame::s_currentSfx, -1);
    EXPECT_EQ(cGame::s_lastSound, 9);
}

TEST_F(SoundRequestTest, MusicIsRememberedWhileOffAndTheLevelChoosesItsOwn) {
    cGame::s_musicOn = false;
    cGame::playMusic(3, true);
    EXPECT_EQ(drainAll(), "");
    EXPECT_EQ(cGame::s_musicId, 3);
    EXPECT_EQ(cGame::s_musicLoop, 1);
    EXPECT_EQ(cGame::s_lastSound, -1);
    cGame::s_musicOn = true;
    cGame::playMusic(cGame::s_musicId, cGame::s_musicLoop != 0);   // what the shell does on show
    EXPECT_EQ(drainAll(), "0: play 3 loops 0 vol 100 pri 0");
    EXPECT_EQ(cGame::s_lastSound, 3);
    cGame::playMusic(4, false);
    EXPECT_EQ(drainAll(), "0: play 4 loops 1 vol 100 pri 0");
    EXPECT_EQ(cGame::s_musicLoop, 0);

    cGame::s_levelMusic = Runtime::newIntArray(10);
    cGame::s_levelMusic->fill({0, 1, 2, 2, 1, 3, 3, 1, 4, 4});
    cGame::s_level = 5;
    cGame::playLevelMusic();
    EXPECT_EQ(drainAll(), "0: play 3 loops 0 vol 100 pri 0");
    cGame::s_levelMusicOverride = 1;
    cGame::s_levelMusicOverrideOn = 1;
    cGame::playLevelMusic();
    EXPECT_EQ(drainAll(), "0: play 1 loops 0 vol 100 pri 0");
    playerOn(0, Player::STARTED);
    cGame::playLevelMusic();
    EXPECT_EQ(drainAll(), "") << "music already playing is not restarted";
    B::s_chPlayer->set(0, nullptr);
    cGame::s_levelMusicOverrideOn = 0;
    cGame::s_level = 12;   // no such level: no music
    cGame::playLevelMusic();
    EXPECT_EQ(drainAll(), "");
}

TEST_F(SoundRequestTest, IdsOutsideTheSeventeenSoundsAreIgnored) {
    cGame::s_currentSfx = 4;
    cGame::s_musicId = 2;
    cGame::s_musicLoop = 1;
    for (jint id : {-1, -2147483647 - 1, 17, 99}) {
        cGame::playSfx(id);
        cGame::playSound(1, id, false);
        cGame::playSound(2, id, true);
        cGame::playMusic(id, false);
        EXPECT_EQ(drainAll(), "") << id;
        EXPECT_EQ(cGame::s_currentSfx, 4) << id;
        EXPECT_EQ(cGame::s_lastSound, -1) << id;
        EXPECT_EQ(cGame::s_musicId, 2) << id;
        EXPECT_EQ(cGame::s_musicLoop, 1) << id;
        // The engine refuses them too, whoever queues.
        B::SndQueueCommand(1, B::kSndPlay, id, 0, 100, 1);
        B::SndQueueCommand(1, B::kSndPrepare, id, 0, -1, -1);
        B::SndPlay(2, id, 1, 100, 0);
        EXPECT_EQ(drainAll(), "") << id;
    }
    cGame::playSfx(16);
    EXPECT_EQ(drainAll(), "1: stop; play 16 loops 1 vol 100 pri 0") << "the last sound";
    cGame::playSfx(0);
    EXPECT_EQ(drainAll(), "1: stop; play 0 loops 1 vol 100 pri 0") << "the first sound";
}

}  // namespace
