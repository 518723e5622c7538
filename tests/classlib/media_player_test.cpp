// The players over the headless wave device: the manager's choice of player, the WAVE player's
// state machine with the exact device calls it makes, Ogg and MIDI clips played to non-silent
// output, and the device's completion arriving from another thread.
#include <gtest/gtest.h>

#include <atomic>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/file_bytes.h"
#include "tests/support/log_capture.h"
#include "../runtime/runtime_fixture.h"
#include "classlib/java_io/java_io_byte_array_input_stream.h"
#include "classlib/java_lang/java_lang_exceptions.h"
#include "classlib/media/com_samsung_util_audio_clip.h"
#include "classlib/media/dummy_player.h"
#include "classlib/media/javax_microedition_media_manager.h"
#include "classlib/media/direct_show_player.h"
#include "classlib/media/sound_player_ogg.h"
#include "classlib/media/sound_player_wave.h"
#include "platform/device/headless/headless_device.h"
#include "platform/media/decoded_sound.h"
#include "runtime/array.h"
#include "runtime/exceptions.h"
#include "runtime/string.h"
#include "pool_helpers.h"
#include "runtime/java_lang_throwable.h"

namespace {

using Player = javax_microedition_media_Player;

std::vector<uint8_t> waveClip(uint32_t frames, uint8_t level = 255) {
    std::vector<uint8_t> b(44 + frames, level);
    const uint8_t header[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                                1, 0, 1, 0, 0x22, 0x56, 0, 0, 0x22, 0x56, 0, 0, 1, 0, 8, 0, 'd', 'a', 't', 'a',
                                static_cast<uint8_t>(frames), static_cast<uint8_t>(frames >> 8), 0, 0};
    std::copy(header, header + 44, b.begin());
    return b;
}

std::vector<uint8_t> midiNote() {
    return {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k', 0, 0, 0, 15,
            0x00, 0xC0, 0x00, 0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00};
}

size_t loudFrames(const std::vector<int16_t>& out, size_t from = 0) {
    size_t n = 0;
    for (size_t i = 2 * from; i + 1 < out.size(); i += 2) n += (out[i] > 512 || out[i] < -512);
    return n;
}

}  // namespace

class MediaTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        Platform::setWaveDevice(&device.waveDevice());
        device.headlessWave().keepOutput();
    }
    void TearDown() override {
        Runtime::clearPendingException();
        RuntimeTest::TearDown();  // players the test left open close here, on the device
        Platform::setWaveDevice(nullptr);
    }

    Object* create(const std::vector<uint8_t>& data, const char* type) {
        ByteArray* array = Runtime::newByteArray(static_cast<jint>(data.size()));
        if (!data.empty()) std::memcpy(array->data, data.data(), data.size());
        auto* stream = Runtime::make<java_io_ByteArrayInputStream>(array);
        return javax_microedition_media_Manager::createPlayer(stream, type ? String::fromCString(type) : nullptr);
    }

    static bool pendingIs(ClassId id) {
        Object* e = Runtime::getPendingException();
        Runtime::clearPendingException();
        return e && e->classId() == id;
    }

    // The pending IllegalArgumentException's message, cleared; empty when none is pending.
    static std::string pendingMessage() {
        Object* e = Runtime::getPendingException();
        Runtime::clearPendingException();
        if (!e || e->classId() != CID_java_lang_IllegalArgumentException) return "";
        String* m = static_cast<java_lang_Throwable*>(e)->getMessage();
        std::string text;
        for (jint i = 0; m && i < m->length(); ++i) text += static_cast<char>(m->charAt(i));
        return text;
    }

    void advance(int64_t millis) {
        device.virtualClock().advance(millis);
        device.headlessWave().catchUp();
    }

    HeadlessDevice device;
};

TEST_F(MediaTest, ManagerChoosesThePlayerByTypeOrByTheFirstBytes) {
    const std::vector<uint8_t> wave = waveClip(100);
    const std::vector<uint8_t> ogg = readFile(BRINDLEX_TONE_OGG);
    const std::vector<uint8_t> id3 = {'I', 'D', '3', 4, 0, 0, 0, 0};
    enum Kind { Wave, Ogg, Graph, Dummy };
    struct Case {
        const std::vector<uint8_t>* data;
        const char* type;
        Kind kind;
    };
    const Case cases[] = {
        {&wave, "AUDIO/X-WAV", Wave}, {&wave, nullptr, Wave},     {&wave, "audio/mpeg", Dummy},
        {&id3, nullptr, Dummy},       {&ogg, nullptr, Ogg},       {&ogg, "audio/ogg", Ogg},
        {&id3, "audio/amr", Graph},   {&wave, "audio/ogg", Ogg},
    };
    for (const Case& c : cases) {
        Object* player = create(*c.data, c.type);
        ASSERT_NE(player, nullptr);
        ASSERT_NE(Runtime::asPlayer(player), nullptr);
        const Kind kind = dynamic_cast<SoundPlayerOGG*>(player)     ? Ogg
                          : dynamic_cast<SoundPlayerWAVE*>(player)  ? Wave
                          : dynamic_cast<DirectShowPlayer*>(player) ? Graph
                                                                    : Dummy;
        EXPECT_EQ(kind, c.kind) << (c.type ? c.type : "(null type)");
        EXPECT_EQ(player->classId(), kind == Dummy ? CID_Object : CID_javax_microedition_media_Player);
        Runtime::asPlayer(player)->close();
    }
    EXPECT_EQ(javax_microedition_media_Manager::createPlayer(nullptr, nullptr), nullptr);
    // Nothing available: a dummy that only moves its state.
    Object* dummy = create({}, "audio/x-wav");
    Player* p = Runtime::asPlayer(dummy);
    ASSERT_NE(dynamic_cast<DummyPlayer*>(dummy), nullptr);
    EXPECT_TRUE(p->getContentType()->equalsCString("audio/dummy"));
    p->start();
    EXPECT_EQ(p->getState(), Player::STARTED);
    EXPECT_EQ(p->getDuration(), -1);
    // An AMR clip has no renderer: the player exists, its graph does not.
    auto* amr = dynamic_cast<DirectShowPlayer*>(create(id3, "audio/amr"));
    ASSERT_NE(amr, nullptr);
    EXPECT_FALSE(amr->graphBuilt());
    EXPECT_TRUE(amr->getContentType()->equalsCString("audio/amr"));
    ObjectArray* types = javax_microedition_media_Manager::getSupportedContentTypes(nullptr);
    ASSERT_EQ(types->length, 4);
    EXPECT_TRUE(static_cast<String*>(types->get(2))->equalsCString("audio/midi"));
    EXPECT_EQ(types->get(3), nullptr);
}

TEST_F(MediaTest, WavePlayerStateMachineMakesTheseDeviceCalls) {
    Object* object = create(waveClip(2205), nullptr);  // 100 ms at 22050 Hz
    Player* p = Runtime::asPlayer(object);
    auto* volume = Runtime::asVolumeControl(object);
    ASSERT_NE(volume, nullptr);
    EXPECT_EQ(p->getState(), Player::UNREALIZED);
    EXPECT_EQ(p->getContentType(), nullptr);
    EXPECT_TRUE(pendingIs(CID_java_lang_IllegalStateException));
    p->setLoopCount(2);
    p->realize();
    EXPECT_EQ(p->getState(), Player::REALIZED);
    p->setLoopCount(3);  // the next realize's business: this clip plays twice
    EXPECT_EQ(p->getDuration(), 2249 / 22 * 1000);
    EXPECT_TRUE(p->getContentType()->equalsCString("audio/x-wav"));
    p->start();  // prefetches on the way
    EXPECT_EQ(p->getState(), Player::STARTED);
    p->start();  // already playing: nothing
    advance(150);
    EXPECT_EQ(p->getState(), Player::STARTED);
    EXPECT_EQ(p->getMediaTime(), 149000);
    advance(60);
    EXPECT_EQ(p->getState(), Player::PREFETCHED);  // the device finished both loops
    EXPECT_EQ(volume->setLevel(150), 100);
    EXPECT_EQ(volume->getLevel(), 100);
    EXPECT_EQ(volume->setLevel(50), 100);
    volume->setMute(true);
    p->start();  // muted: stays
    EXPECT_EQ(p->getState(), Player::PREFETCHED);
    volume->setMute(false);
    p->start();
    p->stop();
    EXPECT_EQ(p->getState(), Player::PREFETCHED);
    p->deallocate();
    EXPECT_EQ(p->getState(), Player::REALIZED);
    p->close();
    EXPECT_EQ(p->getState(), Player::CLOSED);
    p->start();
    EXPECT_EQ(p->getState(), Player::CLOSED);
    EXPECT_EQ(p->getDuration(), 0);
    EXPECT_TRUE(pendingIs(CID_java_lang_IllegalStateException));
    EXPECT_EQ(p->getMediaTime(), 0);
    EXPECT_TRUE(pendingIs(CID_java_lang_IllegalStateException));
    EXPECT_EQ(device.headlessWave().calls(),
              (std::vector<std::string>{"open 1 22050/8/1", "write 1 2205 loops 2", "volume 1 0xFFFFFFFF",
                                        "volume 1 0x7FFF7FFF", "write 1 2205 loops 2", "reset 1",
                                        "volume 1 0xFFFFFFFF", "close 1"}));
    const std::vector<int16_t> out = device.headlessWave().output();
    EXPECT_EQ(loudFrames(out), 2u * 2205);
    // The collector keeps objects by their start, never by an interface pointer: the player's own
    // reference stays live to here (the stress run collects at every allocation above).
    EXPECT_EQ(Runtime::asPlayer(object), p);
}

TEST_F(MediaTest, WavePlayerLoopsForeverAndRefusesBrokenClips) {
    Player* p = Runtime::asPlayer(create(waveClip(2205), "audio/x-wav"));
    p->setLoopCount(-1);
    p->start();
    EXPECT_EQ(device.headlessWave().calls().at(1), "write 1 2205 loops 2147483647");
    advance(1000);
    EXPECT_EQ(p->getState(), Player::STARTED);
    // PCM length far beyond the data, then a header that is no WAVE at all.
    std::vector<uint8_t> lying = waveClip(100);
    lying[42] = 0xFF, lying[43] = 0xFF;
    Player* q = Runtime::asPlayer(create(lying, "audio/x-wav"));
    q->realize();
    EXPECT_EQ(q->getState(), Player::REALIZED);
    EXPECT_EQ(device.headlessWave().calls().back(), "open 2 22050/8/1");
    std::vector<uint8_t> foreign = waveClip(100);
    foreign[20] = 0x55;  // MP3 in a RIFF box
    LogCapture log;
    Player* r = Runtime::asPlayer(create(foreign, "audio/x-wav"));
    r->start();
    EXPECT_EQ(r->getState(), Player::UNREALIZED);
    Player* s = Runtime::asPlayer(create(std::vector<uint8_t>(20, 'R'), "audio/x-wav"));
    s->prefetch();
    EXPECT_EQ(s->getState(), Player::UNREALIZED);
    Player* t = Runtime::asPlayer(create(waveClip(0), "audio/x-wav"));
    t->realize();
    EXPECT_EQ(t->getState(), Player::UNREALIZED);
}

// A sound the players cannot use is said once in the log, by the name the game gave it and with the
// reason; never by an unrelated line.
TEST_F(MediaTest, ABadSoundIsNamedOnceWithItsReason) {
    std::vector<uint8_t> noChannels = waveClip(100);
    noChannels[22] = 0;
    std::vector<uint8_t> noRate = waveClip(100);
    std::fill(noRate.begin() + 24, noRate.begin() + 28, 0);
    std::vector<uint8_t> hugeData = waveClip(100);
    hugeData[40] = 0xFF, hugeData[41] = 0xFF, hugeData[42] = 0xFF, hugeData[43] = 0x7F;
    std::vector<uint8_t> noDivision = midiNote();
    noDivision[12] = 0, noDivision[13] = 0;
    struct Case {
        const char* name;
        std::vector<uint8_t> data;
        const char* type;
        const char* said;
    };
    const Case cases[] = {
        {"sound 7 (audio/x-wav)", noChannels, "audio/x-wav",
         "sound 7 (audio/x-wav): cannot be played: a format the device cannot play (tag 1, 0 channels, 22050 Hz"},
        {"sound 8 (audio/x-wav)", noRate, "audio/x-wav",
         "sound 8 (audio/x-wav): cannot be played: a format the device cannot play (tag 1, 1 channels, 0 Hz"},
        {"sound 10 (audio/x-wav)", hugeData, "audio/x-wav",
         "sound 10 (audio/x-wav): its header claims 2147483647 bytes of PCM, 100 are there"},
        {"sound 3 (audio/midi)", noDivision, "audio/midi", "sound 3 (audio/midi): cannot be played: a division of 0 ticks per beat"},
        {"sound 4 (audio/nonsense)", waveClip(100), "audio/nonsense", "sound 4 (audio/nonsense): no player takes it"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;
        Player* p = Runtime::asPlayer(create(c.data, c.type));
        ASSERT_NE(p, nullptr);
        p->nameForLog(c.name);
        p->realize();
        p->prefetch();
        if (auto* graph = dynamic_cast<DirectShowPlayer*>(p)) (void)graph->graphBuilt();
        int said = 0;
        for (const std::string& line : log.lines) {
            said += line.rfind(c.said, 0) == 0 ? 1 : 0;
            EXPECT_EQ(line.find("filter graph"), std::string::npos) << line;
        }
        EXPECT_EQ(said, 1);
        p->close();
    }
}

TEST_F(MediaTest, WavePlayerWithoutDeviceStaysUnrealizedUntilOneIsThere) {
    Platform::setWaveDevice(nullptr);
    Player* p = Runtime::asPlayer(create(waveClip(2205), nullptr));
    p->realize();
    EXPECT_EQ(p->getState(), Player::UNREALIZED);
    Platform::setWaveDevice(&device.waveDevice());
    p->realize();
    EXPECT_EQ(p->getState(), Player::REALIZED);
}

TEST_F(MediaTest, OggPlayerDecodesAtRealizeAndPlaysTheTone) {
    Player* p = Runtime::asPlayer(create(readFile(BRINDLEX_TONE_OGG), nullptr));
    p->realize();
    ASSERT_EQ(p->getState(), Player::REALIZED);
    EXPECT_EQ(p->getDuration(), 2000000);
    p->start();
    // A new player's loop count is 0, which the device plays once.
    EXPECT_EQ(device.headlessWave().calls().at(1), "write 1 88200 loops 0");
    advance(2100);
    EXPECT_EQ(p->getState(), Player::PREFETCHED);
    EXPECT_GT(loudFrames(device.headlessWave().output()), 22050u);
    std::vector<uint8_t> broken = readFile(BRINDLEX_TONE_OGG);
    broken.resize(60);
    Player* q = Runtime::asPlayer(create(broken, nullptr));
    q->realize();
    EXPECT_EQ(q->getState(), Player::UNREALIZED);
}

TEST_F(MediaTest, MidiPlayerRendersAudibleMusicAndPlaysAgainAfterItsEnd) {
    Object* object = create(midiNote(), nullptr);
    auto* graph = dynamic_cast<DirectShowPlayer*>(object);
    ASSERT_NE(graph, nullptr);
    ASSERT_TRUE(graph->graphBuilt());
    Player* p = Runtime::asPlayer(object);
    EXPECT_EQ(p->getState(), 0);  // below realized the graph reads as closed
    p->start();
    EXPECT_EQ(p->getState(), Player::STARTED);
    const jlong duration = p->getDuration();
    EXPECT_GE(duration, 500000);
    advance(500);
    EXPECT_GT(loudFrames(device.headlessWave().output()), 2205u);
    advance(duration / 1000 + 10);
    EXPECT_EQ(p->getState(), 0);  // finished
    const size_t before = device.headlessWave().output().size() / 2;
    p->start();
    EXPECT_EQ(p->getState(), Player::STARTED);
    advance(500);
    EXPECT_GT(loudFrames(device.headlessWave().output(), before), 2205u);
    p->stop();
    EXPECT_EQ(p->getState(), 0);
    EXPECT_EQ(p->getMediaTime(), 0);
    auto* volume = Runtime::asVolumeControl(object);
    EXPECT_EQ(volume->setLevel(-20), 0);
    EXPECT_EQ(volume->getLevel(), 0);  // -20 hundredths of a decibel
    volume->setMute(true);
    EXPECT_TRUE(volume->isMuted());
    EXPECT_EQ(volume->setLevel(50), -1);  // above 0 dB
    p->close();
    EXPECT_EQ(device.headlessWave().openHandles(), 0);
}

TEST_F(MediaTest, WavePlayerLoopCountZeroPlaysOnce) {
    Player* p = Runtime::asPlayer(create(waveClip(2205), nullptr));
    p->setLoopCount(5);
    p->setLoopCount(0);   // not "no change": once
    p->start();
    EXPECT_EQ(device.headlessWave().calls().at(1), "write 1 2205 loops 1");
}

// The sound engine pauses a channel with stop() and resumes it with start(); loop counts 0 and 1
// leave the count as it was, a negative one loops for good.
TEST_F(MediaTest, MidiPlayerLoopsAsAskedAndPlaysAgainAfterStop) {
    struct Case {
        std::vector<jint> counts;
        const char* loops;
    };
    const Case cases[] = {{{3}, " loops 3"}, {{3, 0}, " loops 3"}, {{4, 1}, " loops 4"}, {{-1}, " loops 100000"},
                          {{}, " loops 1"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.loops);
        Object* object = create(midiNote(), nullptr);
        Player* p = Runtime::asPlayer(object);
        for (jint n : c.counts) p->setLoopCount(n);
        p->start();
        ASSERT_EQ(p->getState(), Player::STARTED);
        const std::vector<std::string> calls = device.headlessWave().calls();
        ASSERT_FALSE(calls.empty());
        const std::string& write = calls.back();
        EXPECT_EQ(write.rfind("write ", 0), 0u) << write;
        EXPECT_TRUE(write.ends_with(c.loops)) << write;

        advance(200);
        p->stop();
        EXPECT_EQ(p->getMediaTime(), 0);
        const size_t before = device.headlessWave().output().size() / 2;
        p->start();
        EXPECT_EQ(p->getState(), Player::STARTED);
        advance(400);
        EXPECT_GT(loudFrames(device.headlessWave().output(), before), 2205u);
        p->close();
    }
}

// The thread tests, apart so that the thread-sanitizer run takes only them (FluidSynth's OpenMP
// runtime is not instrumented).
class MediaThreadTest : public MediaTest {};

// The completion arrives on the thread that moves the device's time, while the game thread polls.
TEST_F(MediaThreadTest, CompletionFromTheDeviceThreadReachesAPollingPlayer) {
    Player* p = Runtime::asPlayer(create(waveClip(2205), nullptr));
    p->start();
    ASSERT_EQ(p->getState(), Player::STARTED);
    std::atomic<bool> stop{false};
    std::thread deviceThread([&] {
        while (!stop.load()) {
            device.virtualClock().advance(10);
            device.headlessWave().catchUp();
            std::this_thread::yield();
        }
    });
    jint state = Player::STARTED;
    // Bounded only against a hang: the device thread's progress decides when this ends.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (state == Player::STARTED && std::chrono::steady_clock::now() < giveUp) {
        state = p->getState();
        std::this_thread::yield();
    }
    stop.store(true);
    deviceThread.join();
    EXPECT_EQ(state, Player::PREFETCHED);
    p->close();
    EXPECT_EQ(p->getState(), Player::CLOSED);
}

// The music renders on its own thread: a player closed or collected while it renders cancels and
// joins the render, and start() right after the build waits for it and plays what the renderer
// makes of the file (to a few steps: the shared synth's dither and chorus phase run on).
TEST_F(MediaThreadTest, MidiRenderInTheBackgroundIsJoinedAndPlaysTheRenderersPcm) {
    std::vector<uint8_t> song = midiNote();
    song[0x1D] = 0x9F;  // a note of several seconds: still rendering when the player goes
    song[0x1E] = 0x60;
    for (int round = 0; round < 3; ++round) Runtime::asPlayer(create(song, nullptr))->close();
    for (int round = 0; round < 3; ++round) (void)create(song, nullptr);
    objectManager().gc(ObjectManager::kFreeAll);
    EXPECT_EQ(device.headlessWave().openHandles(), 0);

    const std::vector<uint8_t> midi = midiNote();
    DecodedSound direct;
    ASSERT_TRUE(Media::renderMidi(midi.data(), midi.size(), direct));
    Player* p = Runtime::asPlayer(create(midi, nullptr));
    p->start();
    ASSERT_EQ(p->getState(), Player::STARTED);
    // The ring-out ends at the first quiet block, which the running dither can move by a block or two.
    const jlong block = 1024LL * 1000000 / Media::kMidiRate;
    EXPECT_NEAR(static_cast<double>(p->getDuration()), static_cast<double>(direct.durationMicros), 3.0 * block);
    advance(direct.durationMicros / 1000 + 300);
    const std::vector<int16_t>& out = device.headlessWave().output();
    const size_t compared = std::min(out.size(), direct.pcm.size() / 2);
    ASSERT_GE(compared + 3 * 1024 * 2, direct.pcm.size() / 2);
    int worst = 0;
    for (size_t i = 0; i < compared; ++i) {
        const auto sample = static_cast<int16_t>(direct.pcm[2 * i] | (direct.pcm[2 * i + 1] << 8));
        worst = std::max(worst, std::abs(out[i] - sample));
    }
    EXPECT_LE(worst, 32);
    p->close();
}

TEST_F(MediaTest, AudioClipPlaysThroughAPlayerAndChecksItsArguments) {
    installPool({{273, "audio/midi"}, {274, "audio/mmf"}, {275, "audio/mpeg"}, {276, "AudioClip: unsupported type "},
                 {277, "AudioClip: loop count out of range "}, {278, "AudioClip: volume out of range "}});
    const std::vector<uint8_t> midi = midiNote();
    ByteArray* data = Runtime::newByteArray(static_cast<jint>(midi.size()) + 3);
    std::memcpy(static_cast<uint8_t*>(data->data) + 3, midi.data(), midi.size());
    auto* clip = Runtime::make<com_samsung_util_AudioClip>(com_samsung_util_AudioClip::TYPE_MIDI, data, 3,
                                                           static_cast<jint>(midi.size()));
    ASSERT_NE(clip, nullptr);
    ASSERT_NE(dynamic_cast<DirectShowPlayer*>(clip->player), nullptr);
    clip->play(256, 3);
    EXPECT_EQ(pendingMessage(), "AudioClip: loop count out of range 256");
    clip->play(2, 6);
    EXPECT_EQ(pendingMessage(), "AudioClip: volume out of range 6");
    clip->play(2, 5);
    Player* p = Runtime::asPlayer(clip->player);
    EXPECT_EQ(p->getState(), Player::STARTED);
    const std::vector<std::string> calls = device.headlessWave().calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0], "open 1 22050/16/2");
    EXPECT_EQ(calls[1], "volume 1 0xFFFFFFFF");
    EXPECT_EQ(calls[2].substr(0, 8), "write 1 ");
    EXPECT_EQ(calls[2].substr(calls[2].size() - 8), " loops 2");
    clip->pause();
    EXPECT_EQ(p->getState(), 0);
    clip->resume();
    EXPECT_EQ(p->getState(), Player::STARTED);
    clip->stop();
    auto* bad = Runtime::make<com_samsung_util_AudioClip>(7, data, 0, 4);
    EXPECT_EQ(pendingMessage(), "AudioClip: unsupported type 7");
    EXPECT_EQ(bad->player, nullptr);
    bad->stop();  // no player: nothing
    LogCapture log;
    bad->resume();
    EXPECT_TRUE(log.contains("NullPointer"));
    Runtime::setConstantPool(nullptr);
}

// A player dropped while it plays: the collector's destroy closes its handle, and the device's
// completion can no longer reach the freed object.
TEST_F(MediaTest, CollectedPlayerClosesItsHandle) {
    Player* p = Runtime::asPlayer(create(waveClip(22050), nullptr));
    p->start();
    ASSERT_EQ(p->getState(), Player::STARTED);
    EXPECT_EQ(device.headlessWave().openHandles(), 1);
    objectManager().gc(ObjectManager::kFreeAll);  // as at shutdown: roots or not, everything goes
    EXPECT_EQ(device.headlessWave().openHandles(), 0);
    advance(2000);  // ASan would see a completion written into the freed player
    EXPECT_EQ(device.headlessWave().calls().back(), "close 1");
}
