// Sprite fonts and sprite text: the char map, the metrics and their scaling, the separator search,
// line splitting and wrapping, measuring, and the codes inside texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/string.h"
#include "sprites/bsprite.h"
#include "tests/classlib/pool_helpers.h"
#include "tests/runtime/runtime_fixture.h"
#include "tests/sprites/font_sprite.h"
#include "tests/sprites/text_fixture.h"

namespace {

using Lines = std::vector<std::vector<jint>>;  // {end, width, flags} per line

Lines lines(ShortArray* table) {
    Lines out;
    for (jint n = 0; n < table->get(0); ++n) {
        out.push_back({table->get(3 * n + 1), table->get(3 * n + 2), table->get(3 * n + 3)});
    }
    return out;
}

TEST_F(SpriteTextTest, CharMapFindsFirstAndLaterPairsAndFallsBackToFrameOne) {
    Bsprite* font = makeFont(tenWide());
    // Buckets of 7: 'a' (97) and 'h' (104) share bucket 6, 'a' first; 'q' (113) is alone in bucket 1.
    // 'o' (111) and 'x' (120) fall in those buckets and are not mapped.
    EXPECT_EQ(font->MapChar('a'), 3);
    EXPECT_EQ(font->MapChar('h'), 6);
    EXPECT_EQ(font->MapChar('q'), 7);
    EXPECT_EQ(font->MapChar(' '), 2);
    EXPECT_EQ(font->MapChar('o'), 1) << "absent from a long bucket (6)";
    EXPECT_EQ(font->MapChar('x'), 1) << "absent from bucket 1, which holds two entries";
    EXPECT_EQ(font->MapChar(0x8001), 1);
}

TEST_F(SpriteTextTest, BadCharMapDefinitionsAreRefusedWhole) {
    Bsprite* font = makeFont(tenWide());
    const std::vector<std::vector<jint>> bad = {
        {},                          // no bucket count
        {0},                         // no buckets
        {2, 'a', 2},                 // initial pairs cut short
        {1, 'a', 2, 1, 1, 'b', 3},   // bucket 1 of 1
        {1, 'a', 2, 0, 2, 'b', 3},   // two pairs announced, one given
        {1, 'a', 2, 0, -1},          // negative pair count
    };
    for (const auto& def : bad) {
        ShortArray* a = Runtime::newShortArray(static_cast<jint>(def.size()));
        for (size_t i = 0; i < def.size(); ++i) a->set(static_cast<jint>(i), static_cast<jshort>(def[i]));
        font->BuildCharMap(fontCharMap(tenWide()));
        font->BuildCharMap(a);
        EXPECT_EQ(font->charMap, nullptr) << def.size();
        EXPECT_EQ(font->MapChar('a'), 1);
    }
}

TEST_F(SpriteTextTest, MetricsComeFromTheMetricsFrameAndScale) {
    Bsprite* font = makeFont(tenWide());
    EXPECT_EQ(font->yOffset, 2);
    EXPECT_EQ(font->GetLineSpacing(), 3);
    EXPECT_EQ(font->GetFontHeight(), 15);
    EXPECT_EQ(font->GetSpaceWidth(), 5);
    EXPECT_EQ(font->GetCharWidth('a'), 10);
    EXPECT_EQ(font->GetCharWidth(' '), 5);
    EXPECT_EQ(font->ComputeFontHeight(), 1);
    EXPECT_EQ(font->fontHeight, 12);
    EXPECT_EQ(font->ComputeSpaceWidth(), 5);

    font->textScale = 128;
    EXPECT_EQ(font->GetSpaceWidth(), 2);
    EXPECT_EQ(font->GetLineSpacing(), 1);
    EXPECT_EQ(font->GetCharWidth(' '), 2);
    EXPECT_EQ(font->GetCharWidth('a'), 10) << "a glyph's own width is not scaled";
    EXPECT_EQ(font->GetFrameWidthScaled(font->MapChar('a')), 5);
    EXPECT_EQ(font->Scaled(7), 3);
    EXPECT_EQ(font->Scaled(-7), -4);
    font->charSpacing = 5;
    EXPECT_EQ(font->GetCharSpacing(), 2);
    font->ResetCharSpacing();
    EXPECT_EQ(font->GetCharSpacing(), 0);
}

TEST_F(SpriteTextTest, FindSeparatorsSplitsARange) {
    String* s = String::fromCString("ab,c,,d");
    IntArray* out = Runtime::newIntArray(8);
    EXPECT_EQ(ASprite::FindSeparators(s, 0, 7, ',', out), 4);
    EXPECT_EQ((std::vector<jint>{out->get(0), out->get(1), out->get(2), out->get(3), out->get(4)}),
              (std::vector<jint>{-1, 2, 4, 5, 7}));
    EXPECT_EQ(ASprite::FindSeparators(s, 3, 4, ',', out), 1);
    EXPECT_EQ(out->get(0), 2);
    EXPECT_EQ(out->get(1), 4);
    IntArray* tiny = Runtime::newIntArray(2);
    EXPECT_EQ(ASprite::FindSeparators(s, 0, 7, ',', tiny), 4) << "entries past the array are not written";
}

// Glyphs 10 wide, spaces 5, no char spacing; flags 0 = palette 0, plain.
TEST_F(SpriteTextTest, SplitTextTable) {
    Bsprite* font = makeFont(tenWide());
    struct Case {
        const char* text;
        jint maxWidth;
        Lines expected;
    };
    const Case cases[] = {
        {"aa bb", 30, {{3, 20, 0}, {5, 20, 0}}},
        {"aaaaa", 30, {{5, 50, 0}}},                          // a word is never split
        {"aa   bb", 25, {{5, 20, 0}, {7, 20, 0}}},            // broken at a space: its spaces do not count
        {"aa  \nbb", 60, {{4, 30, 0}, {7, 20, 0}}},           // ended by '\n': they do
        {"aa  ", 60, {{4, 30, 0}}},                           // the last line: they do
        {"aa\nbbbb", 30, {{2, 20, 0}, {7, 40, 0}}},           // never broken back before the '\n'
        {"aa bb cc", 50, {{6, 45, 0}, {8, 20, 0}}},
        {"", 30, {{0, 0, 0}}},
        {"\\^aa\nbb", 60, {{4, 22, 0}, {7, 22, 0x1000}}},     // a line after a bold escape is bold
        {"aa \\^bbbb", 40, {{3, 20, 0}, {9, 44, 0}}},         // the break restores the last space's state
        {"\\_a\\1b\nc", 60, {{6, 20, 0}, {8, 10, 0x2001}}},
        {"\\9a\nb", 60, {{3, 10, 0}, {5, 10, 0}}},            // palette 9 does not exist
        {"a\x01\x05" "b", 60, {{4, 20, 0}}},                  // code 1 and its argument measure nothing
        {"a\x02\x03", 60, {{3, 20, 0}}},                      // code 2: glyph frame 3
        {"a\x02\x7F", 60, {{3, 10, 0}}},                      // a frame the font lacks counts as frame 0
        {"a\tb", 60, {{3, 20, 0}}},
        {"aa\\", 60, {{3, 20, 0}}},                           // a trailing escape ends the text
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lines(font->SplitText(String::fromCString(c.text), c.maxWidth)), c.expected) << c.text;
    }
}

TEST_F(SpriteTextTest, SplitTextStartsFromTheSpritesState) {
    Bsprite* font = makeFont(tenWide());
    font->currentPalette = 1;
    font->bold = true;
    EXPECT_EQ(lines(font->SplitText(String::fromCString(""), 30)), (Lines{{0, 0, 0x1001}}));
    font->underline = true;
    EXPECT_EQ(lines(font->SplitText(String::fromCString("a"), 30)), (Lines{{1, 11, 0x3001}}));
}

TEST_F(SpriteTextTest, SplitTextStopsAtTheLastLineOfTheTable) {
    Bsprite* font = makeFont(tenWide());
    std::string text;
    for (int i = 0; i < 250; ++i) text += "a\n";
    text += "aa bb";
    ShortArray* table = font->SplitText(String::fromCString(text.c_str()), 25);
    ASSERT_EQ(table->length, ASprite::kLineTableLength);
    ASSERT_EQ(table->get(0), ASprite::kMaxLines);
    EXPECT_EQ(table->get(3 * 197 + 1), 2 * 197 + 1);
    EXPECT_EQ(table->get(3 * 198 + 1), static_cast<jint>(text.size())) << "the rest of the text is the last line";
    EXPECT_EQ(font->SplitText(String::fromCString("x"), 25), table) << "one table, reused";
    EXPECT_EQ(table->get(0), 1);
}

TEST_F(SpriteTextTest, WrapTextInsertsTheSeparatorAtItsOwnBreaksOnly) {
    Bsprite* font = makeFont(tenWide());
    struct Case {
        const char* text;
        jint maxWidth;
        const char* expected;
    };
    const Case cases[] = {
        {"aa bb", 30, "aa \nbb"},
        {"aa\nbb", 30, "aa\nbb"},                  // the text's own '\n' gets no separator
        {"aa bb cc dd", 50, "aa bb \ncc dd"},
        {"aa   bb", 25, "aa   \nbb"},             // spaces at a break stay with its line
        {"", 30, ""},
        {"aaaaa", 30, "aaaaa"},
    };
    for (const Case& c : cases) {
        String* wrapped = font->WrapText(String::fromCString(c.text), c.maxWidth);
        ASSERT_NE(wrapped, nullptr);
        EXPECT_TRUE(wrapped->equalsCString(c.expected)) << c.text;
    }
}

TEST_F(SpriteTextTest, MeasureTextTable) {
    Bsprite* font = makeFont(tenWide());
    font->charSpacing = 2;
    struct Case {
        const char* text;
        jint width, height;
    };
    // Line spacing 3, font height 15.
    const Case cases[] = {
        {"aa\nb", 22, 3 + 15 + 3},
        {"b\naa", 22, 21},
        {"", 0, 3},
        {"a b", 12 + 5 + 12 - 2, 3},
        {"  ", 10 - 2, 3},                 // only spaces still lose one char spacing
        {"\\^aa", 2 * 13 - 2, 3},          // bold adds one per glyph
        {"\\_a", 12 - 2, 3},
        {"a\x01\x07", 10, 3},
        {"\x02\x03", 10, 3},
        {"a\\", 10, 3},
        {"\n\n", 0, 3 + 2 * 18},
    };
    for (const Case& c : cases) {
        font->MeasureText(String::fromCString(c.text), nullptr);
        EXPECT_EQ(ASprite::s_textWidth, c.width) << c.text;
        EXPECT_EQ(ASprite::s_textHeight, c.height) << c.text;
    }
    EXPECT_FALSE(font->bold) << "measuring keeps the sprite's bold";

    CharArray* chars = Runtime::newCharArray(3);
    chars->set(0, 'a');
    chars->set(1, ' ');
    chars->set(2, 'a');
    font->MeasureText(nullptr, chars);
    EXPECT_EQ(ASprite::s_textWidth, 12 + 5 + 12 - 2);
    font->MeasureText(nullptr, nullptr);
    EXPECT_EQ(ASprite::s_textWidth, 12 + 5 + 12 - 2) << "nothing to measure keeps the last values";

    ASprite::s_substringStart = 2;
    ASprite::s_substringEnd = 3;
    font->MeasureText(String::fromCString("a aaaa"), nullptr);
    EXPECT_EQ(ASprite::s_textWidth, 10);

    font->textScale = 128;
    ASprite::s_substringStart = ASprite::s_substringEnd = -1;
    font->MeasureText(String::fromCString("a a"), nullptr);
    EXPECT_EQ(ASprite::s_textWidth, 6 + 2 + 6 - 1);
}

}  // namespace
