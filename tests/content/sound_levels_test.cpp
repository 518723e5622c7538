// The shipped sounds' levels, from the PCM the game plays: no sound reaches full scale (a clipped
// sum sounds harsh), and the songs and jingles (music items 0..6) sit at one loudness, their RMS
// levels within 1 dB of each other, so changing levels never jumps in volume.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive_index.h"
#include "platform/media/decoded_sound.h"
#include "tools/file_bytes.h"
#include "tools/pack_contents.h"

namespace {

constexpr int kSongs = 7;

struct Level {
    size_t clipped = 0;   // samples at full scale
    double rmsDb = -200;  // dBFS over the whole sound
};

Level levelOf(const int16_t* s, size_t n) {
    Level level;
    double sum = 0;
    for (size_t i = 0; i < n; ++i) {
        if (s[i] >= 32767 || s[i] <= -32768) ++level.clipped;
        sum += static_cast<double>(s[i]) * s[i];
    }
    if (n > 0 && sum > 0) level.rmsDb = 10 * std::log10(sum / static_cast<double>(n) / (32768.0 * 32768.0));
    return level;
}

class SoundLevelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(tools::readFileBytes(BRINDLEX_DATA_BAR, archive, error)) << error;
        std::vector<archive::IndexEntry> index;
        ASSERT_TRUE(archive::readIndex(archive, index, error)) << error;
        auto lookup = [&](const std::string& name) -> std::optional<std::string_view> {
            for (const archive::IndexEntry& e : index)
                if (std::string(e.name.begin(), e.name.end()) == name)
                    return std::string_view(archive).substr(static_cast<size_t>(e.offset), static_cast<size_t>(e.size));
            return std::nullopt;
        };
        ASSERT_TRUE(tools::readPack(lookup, "sounds", "_", items, error)) << error;
        ASSERT_EQ(items.size(), 17u);
    }

    // The sound's 16-bit samples as the players get them.
    static bool samplesOf(const std::string& payload, std::vector<int16_t>& out) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(payload.data());
        DecodedSound sound;
        if (payload.starts_with("RIFF") && payload.size() >= 44) {
            sound.pcm.assign(bytes + 44, bytes + payload.size());
        } else if (payload.starts_with("OggS")) {
            if (!Media::decodeOgg(bytes, payload.size(), sound)) return false;
        } else if (payload.starts_with("MThd")) {
            if (!Media::renderMidi(bytes, payload.size(), sound)) return false;
        } else {
            return false;
        }
        out.resize(sound.pcm.size() / 2);
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = static_cast<int16_t>(sound.pcm[2 * i] | sound.pcm[2 * i + 1] << 8);
        return true;
    }

    std::string archive;
    std::vector<tools::PackItemView> items;
};

TEST_F(SoundLevelsTest, NoSoundClipsAndTheSongsShareOneLoudness) {
    std::vector<double> songs;
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE("sound " + std::to_string(i));
        std::vector<int16_t> samples;
        ASSERT_TRUE(samplesOf(items[i].payload, samples));
        const Level level = levelOf(samples.data(), samples.size());
        EXPECT_EQ(level.clipped, 0u);
        if (i < kSongs) songs.push_back(level.rmsDb);
        std::printf("sound %zu: %.1f dBFS RMS, %zu samples at full scale\n", i, level.rmsDb, level.clipped);
    }
    const auto [quietest, loudest] = std::minmax_element(songs.begin(), songs.end());
    EXPECT_LE(*loudest - *quietest, 1.0) << "songs from " << *quietest << " to " << *loudest << " dBFS";
}

}  // namespace
