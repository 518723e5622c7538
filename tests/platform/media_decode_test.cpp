// The sound readers over untrusted bytes: WAVE headers (good and bad), Ogg Vorbis through Tremor
// (a tone made by libvorbisenc, then cut and corrupted), MIDI rendered by FluidSynth.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/file_bytes.h"
#include "platform/media/decoded_sound.h"
#include "platform/media/wave_clip.h"

namespace {

void put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

struct Header {
    uint16_t tag, channels;
    uint32_t rate;
    uint16_t align, bits;
    uint32_t pcmLength;
};

std::vector<uint8_t> wave(const Header& h, size_t pcmBytes) {
    std::vector<uint8_t> b(44 + pcmBytes, 0x80);
    b[0] = 'R', b[1] = 'I', b[2] = 'F', b[3] = 'F';
    put16(b, 20, h.tag);
    put16(b, 22, h.channels);
    put32(b, 24, h.rate);
    put32(b, 28, h.rate * h.align);
    put16(b, 32, h.align);
    put16(b, 34, h.bits);
    put32(b, 40, h.pcmLength);
    return b;
}

int32_t peak(const std::vector<uint8_t>& pcm16) {
    int32_t best = 0;
    for (size_t i = 0; i + 1 < pcm16.size(); i += 2)
        best = std::max(best, std::abs(static_cast<int16_t>(pcm16[i] | (pcm16[i + 1] << 8)) + 0));
    return best;
}

// One track: program 0, middle C for one beat at 120 bpm (480 ticks), then the end.
std::vector<uint8_t> midiNote() {
    return {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0,  // format 0, 1 track, 480 ticks
            'M', 'T', 'r', 'k', 0, 0, 0, 15,                          //
            0x00, 0xC0, 0x00,                                         // program 0
            0x00, 0x90, 60, 100,                                      // note on
            0x83, 0x60, 0x80, 60, 0,                                  // 480 ticks later, note off
            0x00, 0xFF, 0x2F, 0x00};                                  // end of track
}

}  // namespace

struct WaveCase {
    const char* name;
    Header header;
    size_t pcmBytes;
    bool accepted;
    uint32_t pcmLength;
    int64_t durationMicros;
};

class WaveClipTest : public ::testing::TestWithParam<WaveCase> {};

TEST_P(WaveClipTest, ReadsOrRefusesTheHeader) {
    const WaveCase& c = GetParam();
    const std::vector<uint8_t> bytes = wave(c.header, c.pcmBytes);
    WaveClip clip;
    ASSERT_EQ(Media::readWaveClip(bytes.data(), bytes.size(), clip), c.accepted) << c.name;
    if (!c.accepted) return;
    EXPECT_EQ(clip.pcmLength, c.pcmLength);
    EXPECT_EQ(clip.pcmOffset, 44u);
    EXPECT_EQ(clip.durationMicros, c.durationMicros);
    EXPECT_EQ(clip.format.samplesPerSec, c.header.rate);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, WaveClipTest,
    ::testing::Values(
        // 22094 bytes at 22 kHz, 8 bits: 22094 / 22 x 1000 microseconds (the header counts).
        WaveCase{"mono8", {1, 1, 22050, 1, 8, 22050}, 22050, true, 22050, 1004000},
        WaveCase{"stereo16", {1, 2, 44100, 4, 16, 400}, 400, true, 400, 5000},  // 444 / 88 bytes per ms
        WaveCase{"length beyond data is cut", {1, 1, 8000, 1, 8, 0x7FFFFFFF}, 100, true, 100, 18000},
        WaveCase{"negative length is cut", {1, 1, 8000, 1, 8, 0xFFFFFFF0u}, 100, true, 100, 18000},
        WaveCase{"partial block dropped", {1, 2, 22050, 4, 16, 10}, 10, true, 8, 1000},
        WaveCase{"low rate has no duration", {1, 1, 999, 1, 8, 10}, 10, true, 10, 0},
        WaveCase{"zero length", {1, 1, 22050, 1, 8, 0}, 100, false, 0, 0},
        WaveCase{"no data after header", {1, 1, 22050, 1, 8, 100}, 0, false, 0, 0},
        WaveCase{"compressed format", {2, 1, 22050, 1, 8, 10}, 10, false, 0, 0},
        WaveCase{"zero channels", {1, 0, 22050, 0, 8, 10}, 10, false, 0, 0},
        WaveCase{"twelve bits", {1, 1, 22050, 2, 12, 10}, 10, false, 0, 0},
        WaveCase{"align lies", {1, 2, 22050, 1, 16, 10}, 10, false, 0, 0},
        WaveCase{"absurd rate", {1, 1, 0xFFFFFFFFu, 1, 8, 10}, 10, false, 0, 0},
        WaveCase{"zero rate", {1, 1, 0, 1, 8, 10}, 10, false, 0, 0}));

TEST(WaveClipReaderTest, RefusesShortAndForeignData) {
    std::vector<uint8_t> bytes = wave({1, 1, 22050, 1, 8, 10}, 10);
    WaveClip clip;
    EXPECT_FALSE(Media::readWaveClip(bytes.data(), 43, clip));
    EXPECT_FALSE(Media::readWaveClip(nullptr, 0, clip));
    bytes[0] = 'r';
    EXPECT_FALSE(Media::readWaveClip(bytes.data(), bytes.size(), clip));
}

TEST(OggDecodeTest, DecodesTheToneBackToItsLengthAndLevel) {
    const std::vector<uint8_t> ogg = readFile(BRINDLEX_TONE_OGG);
    ASSERT_GT(ogg.size(), 100u);
    DecodedSound sound;
    ASSERT_TRUE(Media::decodeOgg(ogg.data(), ogg.size(), sound));
    EXPECT_EQ(sound.format.channels, 1);
    EXPECT_EQ(sound.format.samplesPerSec, 22050u);
    EXPECT_EQ(sound.format.bitsPerSample, 16);
    EXPECT_EQ(sound.format.blockAlign, 2);
    EXPECT_EQ(sound.pcm.size(), 2u * 44100);  // 2 s exactly: the encoder keeps the length
    EXPECT_EQ(sound.durationMicros, 2000000);
    const int32_t level = peak(sound.pcm);
    EXPECT_GT(level, 14000);  // a half-scale sine, within the codec's error
    EXPECT_LT(level, 19000);
}

TEST(OggDecodeTest, TruncatedStreamKeepsWhatCameAndGarbageIsRefused) {
    const std::vector<uint8_t> ogg = readFile(BRINDLEX_TONE_OGG);
    ASSERT_GT(ogg.size(), 100u);
    DecodedSound sound;
    // Cut in the last page: the pages before it decode.
    const size_t cut = ogg.size() - 100;
    ASSERT_TRUE(Media::decodeOgg(ogg.data(), cut, sound));
    EXPECT_GT(sound.pcm.size(), 2u * 11025);
    EXPECT_LT(sound.pcm.size(), 2u * 44100);
    EXPECT_EQ(sound.durationMicros, static_cast<int64_t>(sound.pcm.size() / 2) * 1000 / 22050 * 1000);  // whole ms
    // Cut inside the headers: nothing to decode.
    EXPECT_FALSE(Media::decodeOgg(ogg.data(), 40, sound));
    std::vector<uint8_t> garbage(ogg.size());
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(i * 37 + 11);
    EXPECT_FALSE(Media::decodeOgg(garbage.data(), garbage.size(), sound));
    EXPECT_FALSE(Media::decodeOgg(nullptr, 0, sound));
}

TEST(MidiRenderTest, RendersANoteThroughTheSoundFont) {
    const std::vector<uint8_t> midi = midiNote();
    DecodedSound sound;
    ASSERT_TRUE(Media::renderMidi(midi.data(), midi.size(), sound));
    EXPECT_EQ(sound.format.channels, 2);
    EXPECT_EQ(sound.format.samplesPerSec, Media::kMidiRate);
    // One beat at 120 bpm is half a second, then only the note's ring-out: no idle tail after it.
    EXPECT_GE(sound.durationMicros, 500000);
    EXPECT_LE(sound.durationMicros, 1500000);
    // The note sounds in its beat.
    const std::vector<uint8_t> beat(sound.pcm.begin(), sound.pcm.begin() + 4 * Media::kMidiRate / 2);
    EXPECT_GT(peak(beat), 2000);
}

TEST(MidiRenderTest, GarbageAndBrokenFilesEndWithoutSound) {
    DecodedSound sound;
    std::vector<uint8_t> midi = midiNote();
    const std::vector<uint8_t> noHeader(midi.begin() + 4, midi.end());
    EXPECT_FALSE(Media::renderMidi(noHeader.data(), noHeader.size(), sound));
    // A track whose length runs far past the data: refused or rendered, but bounded.
    midi[18] = 0x7F;
    DecodedSound broken;
    if (Media::renderMidi(midi.data(), midi.size(), broken)) {
        EXPECT_LT(broken.pcm.size(), 40u * Media::kMidiRate);
    }
    std::vector<uint8_t> garbage = {'M', 'T', 'h', 'd', 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_FALSE(Media::renderMidi(garbage.data(), garbage.size(), sound));
}

// A song far longer than any of the game's (here a held note of ten minutes) is rendered only up to
// the cap, and says it was cut; the game's own songs stay below it.
TEST(MidiRenderTest, ASongBeyondTheCapIsCutThereAndSaysSo) {
    const std::vector<uint8_t> midi = midiNote();
    // 288000 ticks at 480 a beat and 120 bpm: 300 s. The delta as a 3-byte variable-length number.
    const std::vector<uint8_t> longDelta = {0x91, 0xCA, 0x00};
    std::vector<uint8_t> held(midi.begin(), midi.begin() + 22);  // the header and the track's mark
    const std::vector<uint8_t> events = {0x00, 0xC0, 19, 0x00, 0x90, 60, 100};  // organ, note on
    held.insert(held.end(), events.begin(), events.end());
    held.insert(held.end(), longDelta.begin(), longDelta.end());
    const std::vector<uint8_t> tail = {0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00};
    held.insert(held.end(), tail.begin(), tail.end());
    held[21] = static_cast<uint8_t>(held.size() - 22);
    DecodedSound sound;
    std::string why;
    ASSERT_TRUE(Media::renderMidi(held.data(), held.size(), sound, nullptr, nullptr, &why)) << why;
    EXPECT_TRUE(sound.cut);
    EXPECT_LE(sound.pcm.size(), Media::kMaxMidiBytes);
    EXPECT_GE(sound.pcm.size(), Media::kMaxMidiBytes - 8192);
    EXPECT_EQ(sound.durationMicros / 1000000, static_cast<int64_t>(Media::kMaxMidiSeconds) - 1);

    DecodedSound note;
    ASSERT_TRUE(Media::renderMidi(midi.data(), midi.size(), note));
    EXPECT_FALSE(note.cut);
}
