// The sound sources of the asset compiler: the step notation compiled to exact MIDI events, the
// effect recipes rendered to a WAVE clip of the length they state, and the mistakes in either that
// must fail the build with the file and line.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/music_compiler.h"
#include "tools/sfx_synth.h"

namespace {

using namespace std::string_literals;

uint32_t be32(const std::string& s, size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(s[at])) << 24 | static_cast<uint8_t>(s[at + 1]) << 16 |
           static_cast<uint8_t>(s[at + 2]) << 8 | static_cast<uint8_t>(s[at + 3]);
}

// The chunks of a MIDI file: each "MTrk" body.
std::vector<std::string> trackBodies(const std::string& midi) {
    std::vector<std::string> tracks;
    for (size_t at = 14; at + 8 <= midi.size();) {
        const uint32_t size = be32(midi, at + 4);
        tracks.push_back(midi.substr(at + 8, size));
        at += 8 + size;
    }
    return tracks;
}

TEST(MusicCompilerTest, StepsBecomeTimedNoteEventsOnTheirChannel) {
    const char* source =
        "tempo 120   # a half second a beat\n"
        "steps 2\n"
        "bar 4\n"
        "instrument lead channel 3 program 10 volume 90 pan 20 reverb 0 velocity 80\n"
        "instrument drums channel 10\n"
        "pattern a\n"
        "  lead:  c#4 - . e4+g4! |\n"
        "  drums: k . s? .\n"
        "end\n"
        "song a*2\n";
    std::string midi, error;
    tools::MusicSummary summary;
    ASSERT_TRUE(tools::compileMusic(source, "a.notes", midi, error, &summary)) << error;
    EXPECT_EQ(summary.durationMicros, 2000000);   // 8 steps of a quarter second
    EXPECT_EQ(summary.tracks, 2);
    EXPECT_EQ(summary.notes, 10);
    EXPECT_EQ(midi.substr(0, 14), "MThd\0\0\0\x06\0\x01\0\x03\x01\xE0"s);   // format 1, 3 tracks, 480 a beat
    const std::vector<std::string> tracks = trackBodies(midi);
    ASSERT_EQ(tracks.size(), 3u);
    EXPECT_NE(tracks[0].find("\xFF\x51\x03\x07\xA1\x20"s), std::string::npos);   // 500000 us a beat
    EXPECT_NE(tracks[0].find("\xFF\x58\x04\x02"s), std::string::npos);           // 2 beats a bar
    // Channel 3: program 9 (0-based), volume, pan, reverb; then the notes, 240 ticks a step.
    const std::string lead = tracks[1].substr(tracks[1].find("\xC2"s));
    EXPECT_EQ(lead,
              "\xC2\x09" "\x00\xB2\x07\x5A" "\x00\xB2\x0A\x14" "\x00\xB2\x5B\x00"
              "\x00\x92\x3D\x50"                              // c#4 at 0
              "\x83\x60\x82\x3D\x40"                          // held one more step: off at 480
              "\x81\x70\x92\x40\x68" "\x00\x92\x43\x68"       // the accented chord at 720
              "\x81\x70\x82\x40\x40" "\x00\x82\x43\x40"       // off at the repeat, 960
              "\x00\x92\x3D\x50"
              "\x83\x60\x82\x3D\x40"
              "\x81\x70\x92\x40\x68" "\x00\x92\x43\x68"
              "\x81\x70\x82\x40\x40" "\x00\x82\x43\x40"       // the song's end releases them
              "\x00\xB2\x78\x00"                              // and silences the channel
              "\x00\xFF\x2F\x00"s);
    // Drums: kick 36 and a soft snare 38 on channel 10, no program.
    EXPECT_EQ(tracks[2].find("\xC9"s), std::string::npos);
    EXPECT_NE(tracks[2].find("\x00\x99\x24\x60"s), std::string::npos);
    EXPECT_NE(tracks[2].find("\x99\x26\x42"s), std::string::npos);   // 96 - 30
}

// A song's gain moves every instrument's volume controller by General MIDI's volume law
// (40 log10(v / 127) dB), kept within 1..127.
TEST(MusicCompilerTest, AGainMovesEveryVolumeControllerAndStaysInRange) {
    struct Case {
        const char* gain;
        std::string controller;   // channel 1's volume controller message
    };
    const Case cases[] = {
        {"", "\xB0\x07\x5A"s},         // 90 as written
        {"gain -6\n", "\xB0\x07\x40"s},  // 90 x 10^(-6/40) = 63.7
        {"gain 12\n", "\xB0\x07\x7F"s},  // 179 is past the top
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gain);
        const std::string source = std::string("tempo 120\nbar 4\n") + c.gain +
                                   "instrument p channel 1 program 1 volume 90\npattern a\n p: c4 . . .\nend\nsong a\n";
        std::string midi, error;
        ASSERT_TRUE(tools::compileMusic(source, "g.notes", midi, error)) << error;
        EXPECT_NE(midi.find(c.controller), std::string::npos);
    }
}

TEST(MusicCompilerTest, MistakesNameTheFileAndLine) {
    const std::string head = "tempo 100\nbar 4\ninstrument p channel 1 program 1\ninstrument d channel 10\n";
    struct Case {
        std::string source;
        const char* error;
    };
    const Case cases[] = {
        {head + "pattern a\n p: c4 h4 . .\nend\nsong a\n", "m.notes:6: p: \"h4\" is not a note"},
        {head + "pattern a\n p: k . . .\nend\nsong a\n", "m.notes:6: p: \"k\" is not a note"},
        {head + "pattern a\n d: k q . .\nend\nsong a\n", "m.notes:6: d: \"q\" is not a drum name or note"},
        {head + "pattern a\n p: . - . .\nend\nsong a\n", "m.notes:6: p: '-' at step 1 holds no note"},
        {head + "pattern a\n p: c4 . . | .\nend\nsong a\n", "m.notes:6: p: a bar line after 3 steps, bars are 4 steps"},
        {head + "pattern a\n p: c4 . . . . .\nend\nsong a\n", "m.notes:6: p: 6 steps is no whole number of bars"},
        {head + "pattern a\n p: c4 . . .\n d: k . . . k . . .\nend\nsong a\n",
         "m.notes:7: pattern \"a\": d has 8 steps, the lines before it 4"},
        {head + "pattern a\n x: c4 . . .\nend\nsong a\n", "m.notes:6: \"x\" is no instrument"},
        {head + "pattern a\n p: c4 . . .\nend\nsong a b\n", "m.notes:8: song: no pattern \"b\""},
        {head + "pattern a\n p: c4 . . .\n", "m.notes:5: pattern \"a\" has no \"end\""},
        {"bar 4\ninstrument p channel 17 program 1\n", "m.notes:2: instrument p: channel is 1 to 16"},
        {"instrument p channel 2\n", "m.notes:1: instrument p: program is missing"},
        {"tempo 100\n", "m.notes:1: no \"song\" line"},
        {"tempo 1000\n", "m.notes:1: tempo: 20 to 400"},
        {"steps 7\n", "m.notes:1: steps: a divisor of 480"},
        {"gain 20\n", "m.notes:1: gain: -24 to 12 dB"},
        {head + "pattern a\n p: c10 . . .\nend\nsong a\n", "m.notes:6: p: \"c10\" is not a note"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        std::string midi, error;
        EXPECT_FALSE(tools::compileMusic(c.source, "m.notes", midi, error));
        EXPECT_TRUE(error.starts_with(c.error)) << error;
    }
}

TEST(SfxSynthTest, ARecipeRendersItsLengthWithEachVoiceOnlyWhereItSounds) {
    const char* recipe =
        "# two tones one after the other\n"
        "length 100\n"
        "voice square from 441 volume 0.5 attack 0 release 0 end 50\n"
        "voice noise from 5000 volume 0.25 start 50 attack 0 release 0 seed 3  # the rest\n";
    std::vector<int16_t> pcm, again;
    std::string error;
    ASSERT_TRUE(tools::renderSfx(recipe, "r.sfx", pcm, error)) << error;
    ASSERT_EQ(pcm.size(), 2205u);
    int squareHigh = 0, noiseMax = 0;
    for (size_t i = 0; i < 1102; ++i) squareHigh += pcm[i] == 16384;   // only +0.5 and -0.5
    for (size_t i = 1103; i < pcm.size(); ++i) noiseMax = std::max<int>(noiseMax, std::abs(pcm[i]));
    EXPECT_NEAR(squareHigh, 551, 30);
    for (size_t i = 0; i < 1102; ++i) ASSERT_EQ(std::abs(pcm[i]), 16384) << i;
    EXPECT_GT(noiseMax, 4000);
    EXPECT_LE(noiseMax, 8192);
    ASSERT_TRUE(tools::renderSfx(recipe, "r.sfx", again, error));
    EXPECT_EQ(pcm, again);   // the noise is the same every build

    const std::string wave = tools::waveClip({1, -2}, 22050);
    EXPECT_EQ(wave, "RIFF\x28\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x44\xAC\0\0\x02\0\x10\0data\x04\0\0\0"
                    "\x01\0\xFE\xFF"s);
}

TEST(SfxSynthTest, MistakesNameTheFileAndLine) {
    struct Case {
        const char* source;
        const char* error;
    };
    const Case cases[] = {
        {"length 50\nvoice buzz from 10\n", "s.sfx:2: voice: a wave comes first"},
        {"length 50\nvoice sine from 0\n", "s.sfx:2: voice: from is a number from 1 to 20000"},
        {"length 50\nvoice sine volume 2\n", "s.sfx:2: voice: volume is a number from 0 to 1"},
        {"length 50\nvoice sine loud 1\n", "s.sfx:2: voice: unknown field \"loud\""},
        {"length 50\nvoice sine from\n", "s.sfx:2: voice: from has no value"},
        {"length 50\nvoice sine start 30 end 20\n", "s.sfx:2: voice: end comes after start"},
        {"length 50\nvoice sine curve log\n", "s.sfx:2: voice: curve is exp or lin"},
        {"length 0\n", "s.sfx:1: length: 1 to 10000 ms"},
        {"voice sine\n", "s.sfx:1: no \"length\" line"},
        {"length 10\n", "s.sfx:1: no \"voice\" line"},
        {"length 10\nfilter 3\n", "s.sfx:2: unknown statement \"filter\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        std::vector<int16_t> pcm;
        std::string error;
        EXPECT_FALSE(tools::renderSfx(c.source, "s.sfx", pcm, error));
        EXPECT_TRUE(error.starts_with(c.error)) << error;
    }
}

}  // namespace
