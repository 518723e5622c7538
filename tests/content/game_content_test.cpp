// The game's own content as the build made it (the real data.bar), read through the game's own
// readers: every pack and item the loader asks for so far, the texts by id, the cosine table through
// the game's trigonometry, and each of the 17 sounds played by its player on the headless device,
// audible and as long as its source says.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "classlib/media/direct_show_player.h"
#include "classlib/media/javax_microedition_media_player.h"
#include "classlib/media/sound_player_ogg.h"
#include "classlib/media/sound_player_wave.h"
#include "game/cgame.h"
#include "platform/device/headless/headless_device.h"
#include "platform/media/decoded_sound.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "classlib/io/javax_microedition_io_resource_input_stream.h"
#include "runtime/heaps.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"
#include "tests/sprites/pack_fixture.h"
#include "tests/sprites/sound_engine_reset.h"
#include "tools/barpack_cli.h"
#include "tools/file_bytes.h"
#include "tools/music_compiler.h"
#include "tools/sfx_synth.h"

namespace {

using B = BXLibPlayer;
using Player = javax_microedition_media_Player;

constexpr jint kSounds = 17;

// Pool literals of the pack names the loader uses.
constexpr jint kTextPrefix = 132, kLanguage0 = 167, kTimes = 142, kSoundTypes = 153, kSoundsPack = 154, kBoot = 188;
constexpr jint kGeometry = 152, kLevelPack0 = 199;

// What a sound's source says: its kind of player and its length.
struct SoundSource {
    enum Kind { Wave, Ogg, Midi } kind;
    int64_t micros;
    std::string file;
};

std::vector<SoundSource> soundSources() {
    const std::string folder = std::string(BRINDLEX_ASSETS) + "/sounds.pack/";
    std::string text, error;
    EXPECT_TRUE(tools::readFileBytes(folder + "pack.json", text, error)) << error;
    std::vector<SoundSource> out;
    const nlohmann::json pack = nlohmann::json::parse(text);
    for (const auto& item : pack["items"]) {
        SoundSource s{};
        std::string source;
        if (item.contains("music")) {
            s.kind = SoundSource::Midi;
            s.file = folder + item["music"].get<std::string>();
            tools::MusicSummary summary;
            std::string midi;
            EXPECT_TRUE(tools::readFileBytes(s.file, source, error) && tools::compileMusic(source, s.file, midi, error, &summary))
                << error;
            s.micros = summary.durationMicros;
        } else {
            s.kind = item.contains("built") ? SoundSource::Ogg : SoundSource::Wave;
            s.file = folder + (item.contains("built") ? item["built"].get<std::string>() + ".sfx" : item["synth"].get<std::string>());
            std::vector<int16_t> pcm;
            EXPECT_TRUE(tools::readFileBytes(s.file, source, error) && tools::renderSfx(source, s.file, pcm, error)) << error;
            s.micros = static_cast<int64_t>(pcm.size()) * 1000000 / tools::kSfxRate;
        }
        out.push_back(s);
    }
    return out;
}

size_t loudFrames(const std::vector<int16_t>& out, size_t fromFrame) {
    size_t n = 0;
    for (size_t i = 2 * fromFrame; i + 1 < out.size(); i += 2) n += (out[i] > 512 || out[i] < -512);
    return n;
}

}  // namespace

class GameContentTest : public PackTest {
protected:
    void SetUp() override {
        PackTest::SetUp();
        platform::setDataFile(BRINDLEX_DATA_BAR);
        loadPool();
        Platform::setWaveDevice(&device.waveDevice());
        device.headlessWave().keepOutput();
        resetSoundEngine();
    }
    void TearDown() override {
        Runtime::clearPendingException();
        resetSoundEngine();
        PackTest::TearDown();
        Platform::setWaveDevice(nullptr);
    }

    static String* lit(jint i) { return Runtime::ldcString(i); }

    // The end of the last audible frame of sound `i` rendered by the game's MIDI renderer.
    static int64_t lastAudibleMicros(jint i) {
        cGamePacks::packOpen(lit(kSoundsPack));
        ByteArray* data = cGamePacks::packReadData(i);
        cGamePacks::packClose();
        DecodedSound sound;
        if (!data || !Media::renderMidi(static_cast<const uint8_t*>(data->data), static_cast<size_t>(data->length), sound))
            return -1;
        const auto* samples = reinterpret_cast<const int16_t*>(sound.pcm.data());
        size_t last = 0;
        for (size_t k = 0; k < sound.pcm.size() / 2; ++k)
            if (samples[k] > 256 || samples[k] < -256) last = k / 2 + 1;
        return static_cast<int64_t>(last) * 1000000 / Media::kMidiRate;
    }

    HeadlessDevice device;
};

TEST_F(GameContentTest, TheLoadersPacksAndItemsReadThroughTheGamesReaders) {
    // Kind-0 load step 0: the texts of language 0, every id the game draws.
    String* textPack = lit(kTextPrefix)->concat(lit(kLanguage0));
    cGamePacks::packLoadText(textPack, 0);
    ASSERT_EQ(cGamePacks::s_textCount, 158);
    for (jint id : {5, 6, 7, 25, 35, 37, 57, 63, 81, 83, 95, 101, 119, 134, 135, 150, 152, 157}) {
        String* s = cGamePacks::getString(id);
        ASSERT_NE(s, nullptr) << id;
        EXPECT_GT(s->length(), 0) << id;
    }
    EXPECT_EQ(text16(cGamePacks::getString(6)), "Yes");
    EXPECT_NE(text16(cGamePacks::getString(81)).find("%s0"), std::string::npos);

    // The boot state: the cosine table, read as the game reads it and used by its trigonometry.
    cGamePacks::packOpen(lit(kBoot));
    Object* table = cGamePacks::packReadStream(0);
    cGamePacks::packClose();
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->classId(), CID_IntArray);
    cGame::s_cosTable = static_cast<IntArray*>(table);
    struct Angle {
        jint angle, cos;
    };
    for (const Angle a : {Angle{0, 256}, Angle{32, 181}, Angle{64, 0}, Angle{128, -256}, Angle{192, 0}, Angle{-32, 181}})
        EXPECT_EQ(cGame::cos(a.angle), a.cos) << a.angle;

    // Kind-1 load step 0: one reference time per level.
    cGamePacks::packOpen(lit(kTimes));
    Object* times = cGamePacks::packReadStream(0);
    cGamePacks::packClose();
    ASSERT_NE(times, nullptr);
    ASSERT_EQ(times->classId(), CID_IntArray);
    ASSERT_EQ(static_cast<IntArray*>(times)->length, 10);
    for (jint level = 0; level < 10; ++level) EXPECT_GT(static_cast<IntArray*>(times)->get(level), 0) << level;

    // Kind-0 load step 6: the content types and the sounds' items.
    cGamePacks::packLoadArrays(lit(kSoundTypes));
    EXPECT_EQ(text16(cGamePacks::packGetArrayString(0)), "audio/x-wav");
    EXPECT_EQ(text16(cGamePacks::packGetArrayString(1)), "audio/ogg");
    EXPECT_EQ(text16(cGamePacks::packGetArrayString(2)), "audio/midi");
    cGamePacks::packOpen(lit(kSoundsPack));
    EXPECT_EQ(cGamePacks::s_packItemCount, kSounds);
    for (jint i = 0; i < kSounds; ++i) {
        ByteArray* data = cGamePacks::packReadData(i);
        ASSERT_NE(data, nullptr) << i;
        EXPECT_GT(data->length, 44) << i;
        EXPECT_LT(cGamePacks::s_packItemKind, 3) << i;
    }
    cGamePacks::packClose();
    EXPECT_FALSE(Runtime::pending());
}

// Every pack and item the loader asks for, in the order of its steps, read by the reader the step
// uses. An item nobody has made yet is listed with the reason; it may be absent, but once present it
// must load like the others.
TEST_F(GameContentTest, EveryPackAndItemTheLoaderAsksForLoadsThroughItsReader) {
    ASSERT_TRUE(Runtime::initHeaps(8 << 20, 48 << 20));   // the sprites are decoded here
    javax_microedition_io_ResourceInputStream::unloadArchiveIndex();   // it lived in the old heaps
    loadPool();
    using P = cGamePacks;
    enum class Read { Text, Nested, Sprite, Png, Sound, Arrays, Open, Data };
    struct Row {
        const char* step;
        jint literal;             // the pack's name; -1: `name`
        const char* name;
        std::vector<jint> items;
        Read read;
        const char* awaited;      // why it may be absent yet; null: it must be there
    };
    std::vector<jint> actorSprites;   // kind 1, steps 8 to 48: sprite s - 8 when the level needs it
    for (jint s = 0; s < 40; ++s)
        if (s != 2 && s != 7 && s != 16 && s != 18 && s != 25 && s != 33) actorSprites.push_back(s);
    const std::vector<Row> rows = {
        {"kind 0 step 0: the texts of language 0", kTextPrefix, nullptr, {0}, Read::Text, nullptr},
        {"kind 0 step 2: the three fonts", 134, nullptr, {1, 2, 3}, Read::Sprite, nullptr},
        {"kind 0 step 3: the fonts' character map", 134, nullptr, {0}, Read::Nested, nullptr},
        {"kind 0 step 4: the main pack, opened for no item", -1, "main", {}, Read::Open, nullptr},
        {"kind 0 step 6: the sound content types", kSoundTypes, nullptr, {0}, Read::Arrays, nullptr},
        {"kind 0 step 6: the sounds", kSoundsPack, nullptr, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
         Read::Sound, nullptr},
        {"kind 0 step 7: the sprites that stay loaded", 138, nullptr, {7, 16, 18, 25, 33}, Read::Sprite, nullptr},
        {"kind 0 step 8: the interface sprites", 139, nullptr, {0, 1, 2, 3}, Read::Sprite, nullptr},
        {"kind 0 step 9 and the logos: the badge and the second logo", 141, nullptr, {0, 1}, Read::Png, nullptr},
        {"kind 1 step 0: the reference times", kTimes, nullptr, {0}, Read::Nested, nullptr},
        {"kind 1 step 1: the tile sprites", 144, nullptr, {0, 1, 2, 3, 4, 5, 6, 7}, Read::Sprite, nullptr},
        {"kind 1 steps 2 to 4: level 0's records, scripts and three tile layers", kLevelPack0, nullptr,
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, Read::Data, nullptr},
        {"kind 1 step 6: level 0's geometry", kGeometry, nullptr, {0}, Read::Data, nullptr},
        {"kind 1 step 7: the touch buttons", 138, nullptr, {40}, Read::Sprite, nullptr},
        {"kind 1 steps 8 to 48: the heads-up display", 138, nullptr, {2}, Read::Sprite, nullptr},
        {"kind 1 steps 8 to 48: the actors' sprites and the race's backdrop", 138, nullptr, actorSprites, Read::Sprite,
         nullptr},
    };
    P::s_sprites = Runtime::newObjectArray(CID_Bsprite, 41);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.step);
        String* name = row.literal < 0            ? String::fromCString(row.name)
                       : row.read == Read::Text ? lit(kTextPrefix)->concat(lit(kLanguage0))
                                                : lit(row.literal);
        if (row.read == Read::Open) {
            P::packOpen(name);
            EXPECT_FALSE(Runtime::pending());
            EXPECT_EQ(P::s_packItemCount, 0);
            P::packClose();
            continue;
        }
        if (row.read == Read::Arrays) {
            P::packLoadArrays(name);
            EXPECT_NE(P::packGetArrayString(0), nullptr);
            continue;
        }
        for (const jint item : row.items) {
            SCOPED_TRACE("item " + std::to_string(item));
            P::packOpen(name);
            ByteArray* bytes = Runtime::pending() ? nullptr : P::packReadData(item);
            Runtime::clearPendingException();
            const bool present = bytes && bytes->length > 0;
            if (!present) {
                EXPECT_NE(row.awaited, nullptr) << "missing";
                P::packClose();
                continue;
            }
            switch (row.read) {
                case Read::Text:
                    P::packClose();
                    P::packLoadText(name, item);
                    EXPECT_EQ(P::s_textCount, 158);
                    break;
                case Read::Nested:
                    EXPECT_NE(P::packReadStream(item), nullptr);
                    P::packClose();
                    break;
                case Read::Sprite: {
                    Bsprite* sprite = P::loadSpriteFlags(item, 1, false, false);
                    P::packClose();
                    ASSERT_NE(sprite, nullptr);
                    EXPECT_GT(sprite->GetFrameCount(), 0);
                    break;
                }
                case Read::Png: {
                    P::packClose();
                    auto* image = javax_microedition_lcdui_Image::createImage(bytes, 0, bytes->length);
                    ASSERT_NE(image, nullptr);
                    EXPECT_GT(image->getWidth(), 0);
                    break;
                }
                case Read::Sound:
                    EXPECT_GT(bytes->length, 44);
                    EXPECT_LT(P::s_packItemKind, 3);
                    P::packClose();
                    break;
                case Read::Data: P::packClose(); break;
                default: break;
            }
            EXPECT_FALSE(Runtime::pending());
            Runtime::clearPendingException();
        }
    }
    // The loader's own call for the sprites that stay loaded puts them in the sprite table.
    P::packOpen(lit(138));
    for (const jint item : {7, 16, 18, 25, 33}) P::loadSpriteWithPalettes(item);
    P::packClose();
    for (const jint item : {7, 16, 18, 25, 33}) {
        auto* sprite = static_cast<Bsprite*>(P::s_sprites->get(item));
        ASSERT_NE(sprite, nullptr) << item;
        EXPECT_GT(sprite->animCount, 0) << item;
    }
    P::s_sprites = nullptr;
}

TEST_F(GameContentTest, EverySoundPlaysAudiblyThroughItsPlayerForTheLengthItsSourceGives) {
    const std::vector<SoundSource> sources = soundSources();
    ASSERT_EQ(sources.size(), static_cast<size_t>(kSounds));
    // As the loader does it: the engine for 17 sounds, each item prefetched into its player.
    B::SndInit(kSounds);
    cGamePacks::packLoadArrays(lit(kSoundTypes));
    for (jint i = 0; i < kSounds; ++i) cGamePacks::packLoadSound(lit(kSoundsPack), i, true);
    cGamePacks::packClose();
    ASSERT_FALSE(Runtime::pending());
    for (jint i = 0; i < kSounds; ++i) {
        const SoundSource& source = sources[static_cast<size_t>(i)];
        SCOPED_TRACE(source.file);
        Object* object = B::s_sndPrefetched->get(i);
        ASSERT_NE(object, nullptr);
        const bool rightPlayer = source.kind == SoundSource::Midi  ? dynamic_cast<DirectShowPlayer*>(object) != nullptr
                                 : source.kind == SoundSource::Ogg ? dynamic_cast<SoundPlayerOGG*>(object) != nullptr
                                                                   : dynamic_cast<SoundPlayerWAVE*>(object) != nullptr &&
                                                                         !dynamic_cast<SoundPlayerOGG*>(object);
        EXPECT_TRUE(rightPlayer);
        Player* player = Runtime::asPlayer(object);
        // Music sounds to its last bar and no further, and lasts just that (a loop restarts on its
        // beat: the render keeps no idle tail, only a ring-out); clips are exactly their samples.
        const jlong duration = player->getDuration();
        if (source.kind == SoundSource::Midi) {
            EXPECT_GE(duration, source.micros);
            EXPECT_LE(duration, source.micros + 1000000);
            const int64_t lastMicros = lastAudibleMicros(i);
            EXPECT_GT(lastMicros, source.micros * 3 / 5);   // a jingle's last bar may be its ring-out
            EXPECT_LE(lastMicros, source.micros + 500000);  // the reverb's tail after the last bar
        } else {
            EXPECT_NEAR(static_cast<double>(duration), static_cast<double>(source.micros), source.micros * 0.01 + 3000);
        }
        // Played on channel 1 by the engine, once: loud for a good part of the time it plays.
        const size_t before = device.headlessWave().output().size() / 2;
        B::SndQueueCommand(1, 3, i, 0, 100, 1);
        B::SndUpdate();
        EXPECT_TRUE(B::SndIsPlaying(1));
        const int64_t playedMs = std::min<int64_t>(source.micros / 1000, 3000);
        device.virtualClock().advance(playedMs);
        device.headlessWave().catchUp();
        const size_t played = static_cast<size_t>(playedMs) * 22050 / 1000;
        EXPECT_GT(loudFrames(device.headlessWave().output(), before), played / 5);
        B::SndQueueCommand(1, 4, -1, -1, -1, -1);
        B::SndUpdate();
        device.virtualClock().advance(200);
        device.headlessWave().catchUp();
    }
}

TEST_F(GameContentTest, TheContentsListingShowsEveryPackAndItem) {
    std::ostringstream out, err;
    ASSERT_EQ(tools::runBarpack({"--contents", BRINDLEX_DATA_BAR}, out, err), 0) << err.str();
    const std::string listing = out.str();
    for (const char* line : {"pack boot: 1 item\n", "int[65]\n", "pack sounds: 17 items\n", "MIDI format 1: 6 tracks",
                             "WAVE 22050 Hz 16-bit mono, 0.150 s\n", "kind   1  stored", "Ogg Vorbis",
                             "byte-array pack soundtypes: 3 entries\n", "  2  \"audio/midi\"\n",
                             "pack text_EN: 1 item\n", "text pack: 158 texts\n", "pack times: 1 item\n", "int[10]\n",
                             "file app.jad: ", "pack sprites: 41 items\n", "sprite: 28 frames, 0 animations",
                             "sprite: 21 frames, 4 animations"})
        EXPECT_NE(listing.find(line), std::string::npos) << line << "\n" << listing;
}
