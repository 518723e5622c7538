// The game's three sprite fonts as the build renders them: the frames the digit drawing and the
// text metrics rely on, Latin-1 coverage, the char map's lookup, and glyph lists that break a rule.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"
#include "tools/sprite_font.h"
#include "tools/sprite_writer.h"

namespace {

const std::string kFonts = std::string(BRINDLEX_FIXTURES) + "/../../assets/fonts.pack/";

// The char map's values back from the nested array of shorts (a 16-bit length past 255 values).
std::vector<int> charMapValues(const std::string& bytes) {
    const int type = static_cast<uint8_t>(bytes[0]);
    size_t at = 1;
    int length = static_cast<uint8_t>(bytes[at++]);
    if (type & 8) length |= static_cast<uint8_t>(bytes[at++]) << 8;
    const int width = 1 << ((type >> 4) & 3);
    std::vector<int> values;
    for (int i = 0; i < length; ++i, at += width) {
        values.push_back(width == 2 ? static_cast<int16_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8)
                                    : static_cast<int8_t>(bytes[at]));
    }
    return values;
}

// The game's lookup: the bucket's first pair, then (in buckets of 3 entries or more) the others.
int mapChar(const std::vector<int>& def, int c) {
    const int buckets = def[0];
    std::vector<std::vector<int>> map(buckets);
    for (int b = 0; b < buckets; ++b) map[b] = {def[1 + 2 * b], def[2 + 2 * b]};
    for (size_t at = 1 + 2 * buckets; at < def.size();) {
        const int b = def[at], n = def[at + 1];
        for (int k = 0; k < 2 * n; ++k) map[b].push_back(def[at + 2 + k]);
        at += 2 + 2 * n;
    }
    const std::vector<int>& bucket = map[c % buckets];
    if ((bucket[0] & 0xFFFF) == c) return bucket[1];
    for (size_t i = 2; bucket.size() >= 3 && i + 1 < bucket.size(); i += 2)
        if ((bucket[i] & 0xFFFF) == c) return bucket[i + 1];
    return 1;
}

TEST(SpriteFontTest, TheThreeFontsHoldEveryLatin1GlyphWithTheMetricsTheTextCodeReads) {
    for (int n = 0; n < 3; ++n) {
        const std::string file = kFonts + "font" + std::to_string(n) + ".json";
        SCOPED_TRACE(file);
        tools::SpriteDefinition font;
        std::u32string glyphs;
        std::string error, bytes;
        ASSERT_TRUE(tools::renderSpriteFont(file, font, error, &glyphs)) << error;
        ASSERT_TRUE(tools::writeSprite(font, file, bytes, error)) << error;
        ASSERT_EQ(font.frames.size(), glyphs.size());
        for (char32_t c = U'.'; c <= U'9'; ++c) EXPECT_EQ(glyphs[c - 46], c);
        for (char32_t c = 32; c <= 0xFF; ++c) {
            if (c >= 127 && c < 160) continue;
            EXPECT_NE(glyphs.find(c), std::u32string::npos) << static_cast<int>(c);
        }
        EXPECT_GE(font.palettes.size(), 2u);

        const std::vector<uint8_t> text = readFile(file.c_str());
        const nlohmann::json source = nlohmann::json::parse(text.begin(), text.end());
        const int gap = source["lineGap"];
        const tools::SpriteFrame& metrics = font.frames[0];
        const int height = metrics.modules[1].y - metrics.modules[0].y;
        EXPECT_GT(height, source["size"].get<int>());
        for (size_t f = 0; f < font.frames.size(); ++f) {
            const tools::SpriteFrame& frame = font.frames[f];
            ASSERT_GE(frame.modules.size(), 3u) << f;
            // Advance = x of frame-module 0 = the rectangle's width; the metrics frame-modules.
            EXPECT_EQ(frame.modules[0].x, frame.rect[2]) << f;
            EXPECT_GT(frame.rect[2], 0) << f;
            EXPECT_EQ(frame.modules[0].y, frame.rect[1]) << f;
            // Line spacing (module 1 below the top) is the box height; font height (module 2 below
            // module 1, and the rectangle's height) is the gap between lines.
            EXPECT_EQ(frame.modules[1].y - frame.modules[0].y, height) << f;
            EXPECT_EQ(frame.modules[2].y - frame.modules[1].y, gap) << f;
            EXPECT_EQ(frame.rect[3], gap) << f;
            const bool blank = glyphs[f] == U' ' || glyphs[f] == 0xA0;
            EXPECT_EQ(frame.modules.size(), blank ? 3u : 4u) << f;
            // Every glyph's pixels stay inside its line.
            if (!blank) {
                const tools::SpriteFModule& fm = frame.modules[3];
                EXPECT_GE(fm.y, frame.rect[1]) << f;
                EXPECT_LE(fm.y + font.modules[fm.module].h, frame.rect[1] + height) << f;
            }
        }
        // The digit drawing puts digits 25 pixels apart.
        if (n == 0) {
            for (char32_t c = U'0'; c <= U'9'; ++c) EXPECT_LE(font.frames[c - 46].rect[2], 25);
        }
    }

    std::string bytes, error;
    ASSERT_TRUE(tools::compileCharMap(kFonts + "glyphs.txt", bytes, error)) << error;
    const std::vector<int> def = charMapValues(bytes);
    tools::SpriteDefinition font;
    std::u32string glyphs;
    ASSERT_TRUE(tools::renderSpriteFont(kFonts + "font1.json", font, error, &glyphs)) << error;
    for (size_t i = 0; i < glyphs.size(); ++i) EXPECT_EQ(mapChar(def, static_cast<int>(glyphs[i])), static_cast<int>(i));
    EXPECT_EQ(mapChar(def, 0x100), 1);
    EXPECT_EQ(mapChar(def, 0x20AC), 1);
}

TEST(SpriteFontTest, BrokenSourcesNameTheFileAndField) {
    TempFolder folder;
    const nlohmann::json font = {{"face", "DejaVuSans.ttf"}, {"size", 12}, {"glyphs", "g.txt"},
                                 {"palettes", {{{"top", "#FFFFFF"}, {"bottom", "#FFFFFF"}, {"outline", "#000000"}}}}};
    struct Case {
        std::string glyphs;
        std::function<void(nlohmann::json&)> change;
        std::string error;
    };
    const std::string g = (folder.path() / "g.txt").string();
    const std::string f = (folder.path() / "f.json").string();
    const Case cases[] = {
        {"0123456789./ ", [](nlohmann::json&) {}, g + ": the list starts with \"./0123456789\" (the digit font's frames)"},
        {"./0123456789", [](nlohmann::json&) {}, g + ": the list holds ' ' (its advance is the space width)"},
        {"./0123456789 a\tb", [](nlohmann::json&) {}, g + ": character 14 (U+0009): a control character"},
        {"./0123456789 aa", [](nlohmann::json&) {}, g + ": character 14 (U+0061): listed twice"},
        {"./0123456789 \xC4\x80", [](nlohmann::json&) {}, g + ": character 13 (U+0100): above U+00FF"},
        {"./0123456789 ", [](nlohmann::json& s) { s["face"] = "../DejaVuSans.ttf"; },
         f + ": face: is a file name in /usr/share/fonts/truetype/dejavu"},
        {"./0123456789 ", [](nlohmann::json& s) { s["face"] = "Missing.ttf"; },
         f + ": face: /usr/share/fonts/truetype/dejavu/Missing.ttf cannot be opened (fonts-dejavu-core installs it)"},
        {"./0123456789 ", [](nlohmann::json& s) { s["outline"] = 5; }, f + ": outline: is an integer from 0 to 4"},
        {"./0123456789 ", [](nlohmann::json& s) { s["palettes"][0]["top"] = "white"; },
         f + ": palettes[0]: is {\"top\", \"bottom\", \"outline\"}, each \"#RRGGBB\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        nlohmann::json source = font;
        c.change(source);
        folder.write("g.txt", c.glyphs + "\n");
        folder.write("f.json", source.dump());
        tools::SpriteDefinition sprite;
        std::string error;
        EXPECT_FALSE(tools::renderSpriteFont(f, sprite, error));
        EXPECT_EQ(error, c.error);
    }
}

}  // namespace
