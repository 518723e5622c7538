// The sound command engine over the headless wave device, with sounds loaded from a pack that the
// asset compiler built: queue cancelling and overflow, priorities at execution, loop counts, pause
// and resume, the game's paused flag, prefetched players kept for reuse, a sound that ended by itself,
// indices outside the tables, and the content type taken from the byte-array pack.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/java_lang/java_lang_exceptions.h"
#include "classlib/media/dummy_player.h"
#include "classlib/media/javax_microedition_media_player.h"
#include "platform/device/headless/headless_device.h"
#include "platform/device/wave_device.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"
#include "tests/sprites/pack_fixture.h"
#include "tests/sprites/sound_engine_reset.h"

namespace {

using B = BXLibPlayer;
using Player = javax_microedition_media_Player;

// An 8-bit mono 22050 Hz clip of `frames` loud frames.
std::string waveClip(uint32_t frames) {
    std::string b(44 + frames, '\xFF');
    const uint8_t header[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                                1, 0, 1, 0, 0x22, 0x56, 0, 0, 0x22, 0x56, 0, 0, 1, 0, 8, 0, 'd', 'a', 't', 'a',
                                static_cast<uint8_t>(frames), static_cast<uint8_t>(frames >> 8), 0, 0};
    for (int i = 0; i < 44; ++i) b[i] = static_cast<char>(header[i]);
    return b;
}

// Sound 0 lasts 100 ms, sound 1 a second (LZMA item), sound 2 is a WAVE clip whose type says MP3.
const char* kSoundsJson = R"({"items": [
  {"file": "short.wav"},
  {"file": "long.wav", "lzma": true},
  {"file": "short.wav", "kind": 1}
]})";
constexpr jint kShort = 0, kLong = 1, kMislabelled = 2, kSoundCount = 3;

// A player that records its calls and raises IllegalStateException from the ones named in `raising`.
// It lives in the object heap, which runs no C++ destructors: what it records belongs to the test.
class FailingPlayer : public Object, public javax_microedition_media_Player {
public:
    FailingPlayer() { setClassId(CID_javax_microedition_media_Player); }
    void* getInterface(jint classId) override {
        return classId == CID_javax_microedition_media_Player ? static_cast<Player*>(this) : nullptr;
    }
    Object* getControl(String*) override { return nullptr; }
    ObjectArray* getControls() override { return nullptr; }
    void realize() override { call("realize"); }
    void prefetch() override { call("prefetch"); }
    void start() override {
        if (call("start")) state = STARTED;
    }
    void stop() override {
        if (call("stop")) state = PREFETCHED;
    }
    void deallocate() override { call("deallocate"); }
    void close() override { call("close"); }
    jlong setMediaTime(jlong) override { return 0; }
    jlong getMediaTime() override { return 0; }
    jint getState() override { return call("getState") ? state : 0; }
    jlong getDuration() override { return 0; }
    String* getContentType() override { return nullptr; }
    void setLoopCount(jint count) override { call("setLoopCount " + std::to_string(count)); }

    // False when the call raised.
    bool call(const std::string& name) {
        *calls += name + ";";
        if (std::string(raising).find(name.substr(0, name.find(' ')) + ";") == std::string::npos) return true;
        Runtime::raise<java_lang_IllegalStateException>();
        return false;
    }
    std::string* calls = nullptr;
    const char* raising = "";
    jint state = PREFETCHED;
};

}  // namespace

class SoundEngineTest : public PackTest {
protected:
    void SetUp() override {
        PackTest::SetUp();
        Platform::setWaveDevice(&device.waveDevice());
        resetSoundEngine();
        copyShippedBasics("assets");
        temp.write("assets/packs/sounds.pack/pack.json", kSoundsJson);
        temp.write("assets/packs/sounds.pack/short.wav", waveClip(2205));
        temp.write("assets/packs/sounds.pack/long.wav", waveClip(22050));
        temp.write("assets/sound_types.arrays.txt", "audio/x-wav\naudio/mpeg\n");
        compileAssets("assets");
    }
    void TearDown() override {
        Runtime::clearPendingException();
        resetSoundEngine();
        PackTest::TearDown();  // players left open close here, on the device
        Platform::setWaveDevice(nullptr);
    }

    // The engine for three sounds, loaded from the pack as the game does.
    void loadSounds(bool prefetch) {
        B::SndInit(kSoundCount);
        cGamePacks::packLoadArrays(str("sound_types"));
        for (jint i = 0; i < kSoundCount; ++i) cGamePacks::packLoadSound(str("packs/sounds"), i, prefetch);
        cGamePacks::packClose();
        ASSERT_FALSE(Runtime::pending());
    }

    // Channel c's queue from its head: "code:sound:priority" per record, "x" for a cancelled one.
    static std::string queued(jint c) {
        std::string out;
        const jint head = B::s_sndQueueHead->get(c);
        for (jint k = 0; k < B::s_sndQueueCount->get(c); ++k) {
            const jint w = (c * B::kSndQueueLength + (head + k) % B::kSndQueueLength) * B::kSndRecordWords;
            if (!out.empty()) out += ' ';
            const jint code = B::s_sndQueue->get(w);
            out += code == 0 ? "x"
                             : std::to_string(code) + ":" + std::to_string(B::s_sndQueue->get(w + 1)) + ":" +
                                   std::to_string(B::s_sndQueue->get(w + 2));
        }
        return out;
    }
    static jint state(jint c) { return B::s_chState->get(c); }
    static Player* player(jint c) { return Runtime::asPlayer(B::s_chPlayer->get(c)); }

    std::vector<std::string> callsSince(size_t from) {
        const std::vector<std::string> all = device.headlessWave().calls();
        return std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())), all.end());
    }
    size_t callCount() { return device.headlessWave().calls().size(); }
    void advance(int64_t millis) {
        device.virtualClock().advance(millis);
        device.headlessWave().catchUp();
    }

    HeadlessDevice device;
};

TEST_F(SoundEngineTest, QueueingCancelsEarlierRecordsAndNeverOverflows) {
    struct Op {
        jint channel, code, sound, priority;
    };
    struct Case {
        const char* name;
        std::vector<Op> ops;
        const char* queue0;
    };
    auto plays = [](std::vector<Op> ops, jint from, jint to) {
        for (jint p = from; p <= to; ++p) ops.push_back({0, B::kSndPlay, p % kSoundCount, p});
        return ops;
    };
    const Case cases[] = {
        {"a more important play cancels", {{0, 3, 0, 5}, {0, 3, 1, 3}}, "x 3:1:3"},
        {"an equal play cancels", {{0, 3, 0, 3}, {0, 3, 1, 3}}, "x 3:1:3"},
        {"a less important play keeps the first", {{0, 3, 0, 3}, {0, 3, 1, 5}}, "3:0:3 3:1:5"},
        {"prepares rank like plays", {{0, 1, 0, 2}, {0, 1, 1, 9}, {0, 3, 1, 1}}, "1:0:2 1:1:9 3:1:1"},
        {"a second stop cancels the first", {{0, 4, -1, -1}, {0, 4, -1, -1}}, "x 4:-1:-1"},
        {"other channels are left alone", {{0, 4, -1, -1}, {1, 4, -1, -1}}, "4:-1:-1"},
        {"an unknown code is kept and skipped later", {{0, 9, -1, -1}}, "9:-1:-1"},
        {"channels and sounds outside the tables", {{16, 4, -1, -1}, {-1, 4, -1, -1}, {0, 3, 3, 0}, {0, 1, -1, 0}}, ""},
        // Nine plays of rising priority values all survive cancelling: the two oldest make room.
        {"overflow drops the oldest", plays({}, 0, 8), "3:2:2 3:0:3 3:1:4 3:2:5 3:0:6 3:1:7 3:2:8"},
        // The cancelled stop goes first; the live stop survives.
        {"overflow drops cancelled records first", plays({{0, 4, -1, -1}, {0, 4, -1, -1}}, 0, 5),
         "4:-1:-1 3:0:0 3:1:1 3:2:2 3:0:3 3:1:4 3:2:5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        B::SndInit(kSoundCount);
        for (const Op& op : c.ops) B::SndQueueCommand(op.channel, op.code, op.sound, op.priority, 100, 1);
        EXPECT_EQ(queued(0), c.queue0);
    }
    // Overflow over a wrapped head: a pass empties the queue part-way round, then ten more plays.
    B::SndInit(kSoundCount);
    B::s_sndQueueHead->set(0, 5);
    for (jint p = 0; p < 10; ++p) B::SndQueueCommand(0, B::kSndPlay, 0, p, 100, 1);
    EXPECT_EQ(queued(0), "3:0:3 3:0:4 3:0:5 3:0:6 3:0:7 3:0:8 3:0:9");
    // SndPlay filters volume 0 and negative sounds; the simple commands carry -1.
    B::SndInit(kSoundCount);
    B::SndPlay(0, 1, 2, 0, 4);
    B::SndPlay(0, -1, 2, 100, 4);
    B::SndPause(0);
    B::SndResume(0);
    B::SndPlay(0, 1, 2, 100, 4);
    EXPECT_EQ(queued(0), "5:-1:-1 6:-1:-1 3:1:4");
    EXPECT_EQ(B::s_sndQueue->get(2 * B::kSndRecordWords + 3), 100);  // a = volume
    EXPECT_EQ(B::s_sndQueue->get(2 * B::kSndRecordWords + 4), 2);    // b = loops
}

TEST_F(SoundEngineTest, PassPlaysByPriorityWithTheLoopCount) {
    loadSounds(false);
    // Queued together: the less important second play finds the first playing and is refused.
    B::SndPlay(0, kLong, 0, 100, 3);
    B::SndPlay(0, kShort, 1, 100, 5);
    B::SndUpdate();
    EXPECT_EQ(B::SndGetSound(0), kLong);
    EXPECT_EQ(state(0), B::kChannelPlaying);
    EXPECT_TRUE(B::SndIsPlaying(0));
    EXPECT_EQ(callsSince(0), (std::vector<std::string>{"open 1 22050/8/1", "write 1 22050 loops 2147483647"}));
    // The same sound again changes nothing; a more important one replaces it, once.
    B::SndPlay(0, kLong, 1, 100, 3);
    B::SndUpdate();
    EXPECT_EQ(callCount(), 2u);
    B::SndPlay(0, kShort, 1, 80, 1);
    B::SndUpdate();
    EXPECT_EQ(callsSince(2),
              (std::vector<std::string>{"reset 1", "volume 1 0xFFFFFFFF", "close 1", "open 2 22050/8/1",
                                        "write 2 2205 loops 1"}));
    EXPECT_EQ(B::SndGetSound(0), kShort);
    EXPECT_EQ(B::s_chPriority->get(0), 1);
    EXPECT_EQ(B::s_chVolume->get(0), 80);
    EXPECT_EQ(B::s_chLoops->get(0), 1);
    EXPECT_EQ(B::s_sndQueueCount->get(0), 0);
    // Stop all runs at once; free releases the channel.
    B::SndStopAll();
    EXPECT_EQ(state(0), B::kChannelReady);
    EXPECT_FALSE(B::SndIsPlaying(0));
    B::SndQueueSimple(0, B::kSndFree);
    B::SndUpdate();
    EXPECT_EQ(state(0), B::kChannelFree);
    EXPECT_EQ(B::SndGetSound(0), -1);
    EXPECT_EQ(device.headlessWave().calls().back(), "close 2");
}

TEST_F(SoundEngineTest, PauseResumeAndTheGamePausedFlag) {
    loadSounds(false);
    B::SndPlay(2, kLong, 1, 100, 0);
    B::SndUpdate();
    const size_t started = callCount();
    B::SndPause(2);
    B::SndUpdate();
    EXPECT_EQ(state(2), B::kChannelPaused);
    EXPECT_FALSE(B::SndIsPlaying(2));
    B::SndPlay(2, kLong, 1, 100, 0);  // holding it paused: no restart
    B::SndPause(2);                   // not playing: nothing
    B::SndUpdate();
    EXPECT_EQ(state(2), B::kChannelPaused);
    B::SndResume(2);
    B::SndUpdate();
    EXPECT_EQ(state(2), B::kChannelPlaying);
    B::SndResume(2);  // playing: nothing
    B::SndUpdate();
    EXPECT_EQ(callsSince(started), (std::vector<std::string>{"reset 1", "write 1 22050 loops 1"}));
    B::SndStop(2);
    B::SndUpdate();
    EXPECT_EQ(state(2), B::kChannelReady);
    // While the game is hidden, plays are consumed without effect.
    cGamePacks::s_paused = 1;
    const size_t stopped = callCount();
    B::SndPlay(2, kShort, 1, 100, 0);
    B::SndPlay(3, kShort, 1, 100, 0);
    B::SndUpdate();
    EXPECT_EQ(B::s_sndQueueCount->get(2), 0);
    EXPECT_EQ(B::SndGetSound(2), kLong);
    EXPECT_EQ(state(3), B::kChannelFree);
    EXPECT_EQ(callCount(), stopped);
    cGamePacks::s_paused = 0;
    B::SndPlay(2, kShort, 1, 100, 0);
    B::SndUpdate();
    EXPECT_TRUE(B::SndIsPlaying(2));
}

TEST_F(SoundEngineTest, PrefetchedPlayerIsReusedAndNeverClosed) {
    loadSounds(true);
    for (jint i = 0; i < kSoundCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(B::SndIsLoaded(i));
        EXPECT_EQ(B::s_sndData->get(i), nullptr);
        ASSERT_NE(B::s_sndPrefetched->get(i), nullptr);
    }
    Object* shortPlayer = B::s_sndPrefetched->get(kShort);
    EXPECT_EQ(Runtime::asPlayer(shortPlayer)->getState(), Player::PREFETCHED);
    // The content type comes from the byte-array pack: the clip labelled MP3 gets no WAVE player.
    EXPECT_NE(dynamic_cast<DummyPlayer*>(B::s_sndPrefetched->get(kMislabelled)), nullptr);
    const size_t loaded = callCount();
    B::SndPlay(1, kShort, 0, 100, 0);
    B::SndUpdate();
    EXPECT_EQ(B::s_chPlayer->get(1), shortPlayer);
    B::SndQueueSimple(1, B::kSndFree);
    B::SndUpdate();
    EXPECT_EQ(state(1), B::kChannelFree);
    EXPECT_EQ(Runtime::asPlayer(shortPlayer)->getState(), Player::PREFETCHED);
    B::SndPlay(1, kShort, 0, 100, 0);
    B::SndUpdate();
    EXPECT_EQ(B::s_chPlayer->get(1), shortPlayer);
    EXPECT_TRUE(B::SndIsPlaying(1));
    // Loaded once, opened once: no close and no second open.
    EXPECT_EQ(callsSince(loaded), (std::vector<std::string>{"write 1 2205 loops 0", "reset 1", "write 1 2205 loops 0"}));
}

TEST_F(SoundEngineTest, SoundThatEndedIsFoundAtTheNextCommand) {
    loadSounds(false);
    B::SndPlay(0, kShort, 1, 100, 0);
    B::SndUpdate();
    advance(200);
    B::SndUpdate();  // nothing queued: the channel is not looked at
    EXPECT_EQ(state(0), B::kChannelPlaying);
    EXPECT_FALSE(B::SndIsPlaying(0));
    B::SndPause(0);  // finds it stopped: ready, so the pause does nothing
    B::SndUpdate();
    EXPECT_EQ(state(0), B::kChannelReady);
    // A less important play now gets the channel, and the sound plays again.
    B::SndPlay(0, kShort, 1, 100, 9);
    B::SndUpdate();
    EXPECT_EQ(state(0), B::kChannelPlaying);
    EXPECT_EQ(device.headlessWave().calls().back(), "write 1 2205 loops 1");
    device.headlessWave().keepOutput();
    advance(50);
    EXPECT_GT(device.headlessWave().output().size(), 0u);
}

TEST_F(SoundEngineTest, IndicesOutsideTheTablesAndADisabledEngineAreIgnored) {
    // Not initialised: everything returns at once.
    B::SndQueueCommand(0, B::kSndPlay, 0, 0, 100, 1);
    B::SndStopAll();
    B::SndUpdate();
    B::SndSetVolume(50);
    cGamePacks::packLoadSound(str("packs/sounds"), 0, false);
    EXPECT_EQ(B::SndGetSound(0), -1);
    EXPECT_FALSE(B::SndIsPlaying(0));
    EXPECT_FALSE(B::SndIsLoaded(0));
    EXPECT_EQ(cGamePacks::s_packName, nullptr);  // the pack was not even opened
    EXPECT_EQ(B::s_sndMasterVolume, 0);
    // A negative sound count gets no tables, so the engine stays off.
    B::SndInit(-1);
    EXPECT_FALSE(B::s_sndEnabled);
    B::SndPlay(0, 0, 1, 100, 0);
    B::SndUpdate();

    loadSounds(false);
    EXPECT_EQ(B::s_sndMasterVolume, 100);
    B::SndSetVolume(40);
    EXPECT_EQ(B::s_sndMasterVolume, 40);
    ByteArray* bytes = Runtime::newByteArray(4);
    B::SndLoadSound(bytes, 0, kSoundCount, true);
    B::SndLoadSound(bytes, 0, -1, true);
    cGamePacks::packLoadSound(str("packs/sounds"), 7, false);  // no such item
    EXPECT_EQ(callCount(), 0u);
    for (jint i : {-1, kSoundCount, 7}) EXPECT_FALSE(B::SndIsLoaded(i)) << i;
    for (jint c : {-1, B::kSndChannels}) {
        EXPECT_EQ(B::SndGetSound(c), -1) << c;
        EXPECT_FALSE(B::SndIsPlaying(c)) << c;
    }
    // A play of a sound past the table does not free the channel's sound.
    B::SndPlay(0, kShort, 0, 100, 5);
    B::SndUpdate();
    B::SndPlay(0, kSoundCount, 1, 100, 0);
    B::SndQueueCommand(0, B::kSndPrepare, 99, 0, -1, -1);
    B::SndUpdate();
    EXPECT_EQ(B::SndGetSound(0), kShort);
    EXPECT_TRUE(B::SndIsPlaying(0));
    // The LZMA item came back whole.
    auto* longData = static_cast<ByteArray*>(B::s_sndData->get(kLong));
    ASSERT_NE(longData, nullptr);
    EXPECT_EQ(text(longData), waveClip(22050));
    EXPECT_EQ(B::s_sndType->get(kMislabelled), 1);
}

TEST_F(SoundEngineTest, RunEndsAtOnceWithoutItsFlag) {
    loadSounds(false);
    auto* engine = new BXLibPlayer();  // the header constructor is all the sound half needs
    ASSERT_NE(engine, nullptr);
    java_lang_Runnable* runnable = Runtime::asRunnable(engine);
    ASSERT_NE(runnable, nullptr);
    B::SndPlay(0, kShort, 1, 100, 0);
    runnable->run();
    EXPECT_EQ(B::s_sndQueueCount->get(0), 1);  // nothing ran
}

TEST_F(SoundEngineTest, PlayerFailuresCostOnlyTheirCommand) {
    B::SndInit(kSoundCount);
    auto* fake = new FailingPlayer();
    ASSERT_NE(fake, nullptr);
    std::string calls;
    fake->calls = &calls;
    B::s_sndPrefetched->set(kShort, fake);
    // A start that raises leaves the channel ready; the pass goes on with the next record and the
    // next channel.
    fake->raising = "start;";
    B::SndPlay(0, kShort, 0, 100, 0);
    B::SndPause(0);
    B::SndPlay(1, kShort, 2, 100, 0);
    B::SndUpdate();
    EXPECT_FALSE(Runtime::pending());
    EXPECT_EQ(calls, "setLoopCount -1;start;setLoopCount 2;start;");
    EXPECT_EQ(state(0), B::kChannelReady);
    EXPECT_EQ(B::s_sndQueueCount->get(0), 0);
    // A playing channel whose Player raises from getState counts as stopped.
    fake->raising = "";
    B::SndPlay(0, kShort, 1, 100, 0);
    B::SndUpdate();
    EXPECT_EQ(state(0), B::kChannelPlaying);
    fake->raising = "getState;stop;";
    calls.clear();
    B::SndPause(0);
    B::SndUpdate();
    EXPECT_EQ(state(0), B::kChannelReady);
    // A stop that raises keeps the channel as it was; the free after it still runs, raises in its
    // own stop, and the prefetched player is never closed.
    B::SndStop(0);
    B::SndQueueSimple(0, B::kSndFree);
    B::SndUpdate();
    EXPECT_FALSE(Runtime::pending());
    EXPECT_EQ(calls, "getState;stop;stop;");
    fake->raising = "";
    B::SndQueueSimple(0, B::kSndFree);
    B::SndUpdate();
    EXPECT_EQ(state(0), B::kChannelFree);
    EXPECT_EQ(calls.find("close"), std::string::npos);
}
