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

namespace {

// Drawing: text is painted glyph by glyph on the screen and read back as the landscape picture.
class SpriteTextDrawTest : public SpriteTextTest {
protected:
    static constexpr uint32_t kBack = 0xFF000000;

    // The picture of f(g) drawn on a fresh screen.
    template <class F>
    static std::vector<uint16_t> render(F&& f) {
        Image* s = screen(kBack);
        f(s->getGraphics());
        return landscape(s);
    }
    static bool lit(const std::vector<uint16_t>& p, int x, int y) {
        return p[y * kLandscapeW + x] != Graphics::toRGB565(kBack);
    }
    static int count(const std::vector<uint16_t>& p, int x, int y, int w, int h, uint32_t colour) {
        int n = 0;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) n += p[j * kLandscapeW + i] == Graphics::toRGB565(colour);
        return n;
    }
};

TEST_F(SpriteTextDrawTest, UnderlineEscapeCoversTheGlyphsAndSpacesBetweenIt) {
    Bsprite* font = makeFont(tenWide());
    // The '_' glyph's pixels, relative to the pen (the y offset of 2 included).
    const auto alone = render([&](Graphics* g) { font->DrawStringAt(g, String::fromCString("_"), 100, 100, 0, false); });
    std::vector<std::pair<int, int>> bar;
    for (int y = 100; y < 120; ++y)
        for (int x = 100; x < 112; ++x)
            if (lit(alone, x, y)) bar.emplace_back(x - 100, y - 100);
    ASSERT_FALSE(bar.empty());
    auto underlined = [&](const std::vector<uint16_t>& p, int x) {
        for (auto [dx, dy] : bar)
            if (!lit(p, x + dx, 100 + dy)) return false;
        return true;
    };
    // a, \_, b, space, c, \_, b: pens at 100 (a), 110 (b), 120 (space, bar centred at 117), 125 (c),
    // 135 (b).
    const auto p = render([&](Graphics* g) {
        font->DrawStringAt(g, String::fromCString("a\\_b c\\_b"), 100, 100, 0, false);
    });
    EXPECT_FALSE(underlined(p, 100));
    EXPECT_TRUE(underlined(p, 110));
    EXPECT_TRUE(underlined(p, 117));
    EXPECT_TRUE(underlined(p, 125));
    EXPECT_FALSE(underlined(p, 135));
    EXPECT_FALSE(font->underline);
}

TEST_F(SpriteTextDrawTest, PaletteCodesAndTheRestoreCode) {
    Bsprite* font = makeFont(tenWide());
    const uint32_t white = 0xFFFFFFFF, yellow = 0xFFFFFF00;
    String* text = String::fromCString("\x01\x01" "a\x01\xFF" "a");
    auto p = render([&](Graphics* g) { font->DrawStringAt(g, text, 100, 100, 0, true); });
    EXPECT_GT(count(p, 100, 100, 10, 20, yellow), 10);
    EXPECT_EQ(count(p, 100, 100, 10, 20, white), 0);
    EXPECT_GT(count(p, 110, 100, 10, 20, white), 10) << "255 restores the palette the string began with";
    EXPECT_EQ(font->currentPalette, 0);

    p = render([&](Graphics* g) { font->DrawStringAt(g, text, 100, 100, 0, false); });
    EXPECT_GT(count(p, 110, 100, 10, 20, yellow), 10) << "without palette use 255 does nothing";
    EXPECT_EQ(font->currentPalette, 1);

    font->SetCurrentPalette(0);
    p = render([&](Graphics* g) { font->DrawStringAt(g, String::fromCString("a\\1a\\0a"), 100, 100, 0, true); });
    EXPECT_GT(count(p, 110, 100, 10, 20, yellow), 10);
    EXPECT_GT(count(p, 120, 100, 10, 20, white), 10);
}

TEST_F(SpriteTextDrawTest, AnchorsPlaceTheMeasuredText) {
    Bsprite* font = makeFont(tenWide());
    String* text = String::fromCString("ab\nbd a");
    font->MeasureText(text, nullptr);
    const jint w = ASprite::s_textWidth, h = ASprite::s_textHeight;
    ASSERT_EQ(w, 35);
    ASSERT_EQ(h, 21);
    struct Case {
        jint anchor, dx, dy;
    };
    for (const Case& c : {Case{1, -17, 0}, Case{8, -35, 0}, Case{32, 0, -21}, Case{2, 0, -10}, Case{1 | 32, -17, -21}}) {
        const auto anchored = render([&](Graphics* g) { font->DrawStringAt(g, text, 400, 200, c.anchor, false); });
        const auto placed =
            render([&](Graphics* g) { font->DrawStringAt(g, text, 400 + c.dx, 200 + c.dy, 0, false); });
        EXPECT_EQ(anchored, placed) << "anchor " << c.anchor;
    }
}

TEST_F(SpriteTextDrawTest, PagesSplitAtNewlinesAndLineTablesDrawWithTheirFlags) {
    Bsprite* font = makeFont(tenWide());
    String* text = String::fromCString("ab\nbd\nq");
    const jint lineHeight = 15 + 3;
    // Anchor 32: the first line starts two line heights up, and each line is bottom-anchored itself.
    const auto bottom = render([&](Graphics* g) { font->DrawPage(g, text, 100, 300, 32, 0, text->length()); });
    const auto top = render([&](Graphics* g) {
        font->DrawPage(g, text, 100, 300 - 2 * lineHeight - 3, 0, 0, text->length());
    });
    EXPECT_EQ(bottom, top);
    const auto full = render([&](Graphics* g) { font->DrawPageFull(g, text, 100, 300, 0); });
    const auto lines = render([&](Graphics* g) {
        font->DrawStringAt(g, String::fromCString("ab"), 100, 300, 0, false);
        font->DrawStringAt(g, String::fromCString("bd"), 100, 300 + lineHeight, 0, false);
        font->DrawStringAt(g, String::fromCString("q"), 100, 300 + 2 * lineHeight, 0, false);
    });
    EXPECT_EQ(full, lines) << "the whole text, its last character included";
    EXPECT_EQ(ASprite::s_substringStart, -1);

    // A line table: the second line starts bold and yellow (the state at the space it breaks at); the
    // call's state returns after.
    String* styled = String::fromCString("aa \\^\\1bb dd");
    ShortArray* table = font->SplitText(styled, 60);
    ASSERT_EQ(table->get(0), 2);
    EXPECT_EQ(table->get(1), 10);
    EXPECT_EQ(table->get(2), 47);
    EXPECT_EQ(table->get(3), 0);
    EXPECT_EQ(table->get(6), 0x1001);
    const auto paged = render([&](Graphics* g) { font->DrawPageB(g, styled, table, 100, 100, 0, -1, 0, -1); });
    EXPECT_EQ(font->currentPalette, 0);
    EXPECT_FALSE(font->bold);
    auto boldYellow = [&](Graphics* g, const char* s, jint x, jint y) {
        font->bold = true;
        font->SetCurrentPalette(1);
        font->DrawStringAt(g, String::fromCString(s), x, y, 0, false);
        font->bold = false;
        font->SetCurrentPalette(0);
    };
    const auto byHand = render([&](Graphics* g) {
        font->DrawStringAt(g, String::fromCString("aa \\^\\1bb "), 100, 100, 0, false);
        boldYellow(g, "dd", 100, 100 + lineHeight);
    });
    EXPECT_EQ(paged, byHand);

    // Typing effect: four characters from the start of line 0, the fourth an escape whose argument
    // lies past the limit.
    const auto typed = render([&](Graphics* g) { font->DrawPageB(g, styled, table, 100, 100, 0, 999, 0, 4); });
    const auto aa = render([&](Graphics* g) { font->DrawStringAt(g, String::fromCString("aa"), 100, 100, 0, false); });
    EXPECT_EQ(typed, aa);
    EXPECT_EQ(ASprite::s_charLimit, -1);

    // Line 1 alone, right-anchored by its stored width.
    const auto second = render([&](Graphics* g) { font->DrawPageB(g, styled, table, 300, 100, 1, 1, 8, -1); });
    const auto secondByHand = render([&](Graphics* g) { boldYellow(g, "dd", 300 - 22, 100); });
    EXPECT_EQ(second, secondByHand);
}

TEST_F(SpriteTextDrawTest, AnEscapeAtTheEndOfTheRangeEndsTheText) {
    Bsprite* font = makeFont(tenWide());
    String* text = String::fromCString("a\\_b");
    ASprite::s_substringStart = 0;
    ASprite::s_substringEnd = 2;
    const auto p = render([&](Graphics* g) { font->DrawStringAt(g, text, 100, 100, 0, false); });
    EXPECT_FALSE(font->underline) << "the escape's argument lies past the range";
    ASprite::s_substringStart = ASprite::s_substringEnd = -1;
    const auto a = render([&](Graphics* g) { font->DrawStringAt(g, String::fromCString("a"), 100, 100, 0, false); });
    EXPECT_EQ(p, a);
    const auto nothing = render([&](Graphics* g) {
        font->DrawStringAt(g, String::fromCString(""), 100, 100, 0, false);
        font->DrawStringAt(g, String::fromCString("\\"), 100, 100, 0, false);
        font->DrawStringAt(g, String::fromCString("\x01"), 100, 100, 0, false);
        font->DrawStringAt(g, String::fromCString("\x02"), 100, 100, 0, false);
        font->DrawStringAt(g, String::fromCString("\x02\x7F"), 100, 100, 0, false);
    });
    EXPECT_EQ(std::count_if(nothing.begin(), nothing.end(), [](uint16_t v) { return v != 0; }), 0)
        << "a frame the font lacks (127) draws nothing";
}

// A page in a font of every printable character, written for looking at.
TEST_F(SpriteTextDrawTest, RenderedPage) {
    FontRecipe recipe;
    for (char16_t c = 32; c < 127; ++c) recipe.chars += c;
    recipe.advance = [](char16_t c) { return c == ' ' ? 5 : SystemFont::charWidth(c); };
    recipe.colours = {0xFFFFFFFF, 0xFFFFFF00, 0xFFFF4040, 0xFF40C0FF};
    recipe.buckets = 16;
    Bsprite* font = makeFont(recipe);
    font->charSpacing = 1;
    String* paragraph = String::fromCString(
        "Sprite fonts paint every character as a frame of a sprite. Long lines are split at spaces to fit a "
        "width, and a word is never broken.\nA new line starts here, and \\^bold\\^ or \\2red\\0 text keeps "
        "its state across the break that the splitter finds for it.");
    const auto page = render([&](Graphics* g) {
        font->SetCurrentPalette(2);
        font->DrawStringAt(g, String::fromCString("\\^Sprite text\\^"), 400, 10, 1, true);
        font->SetCurrentPalette(0);
        ShortArray* table = font->SplitText(paragraph, 360);
        font->DrawPageB(g, paragraph, table, 20, 50, 0, -1, 0, -1);
        String* wrapped = font->WrapText(paragraph, 300);
        font->DrawPage(g, wrapped, 780, 50, 8, 0, wrapped->length());
        font->DrawStringAt(g, String::fromCString("plain \\_underlined words\\_ \\^bold\\^ \\1yellow\\0 "
                                                  "\x01\x03" "blue\x01\xFF" " back"),
                           20, 330, 0, true);
        font->DrawPage(g, String::fromCString("centred\nin the middle\nof the bottom"), 400, 440, 1 | 32, 0, 38);
    });
    keepPng(page, "text_page");
    EXPECT_GT(count(page, 0, 0, kLandscapeW, 40, 0xFFFF4040), 100) << "the red bold title";
    EXPECT_GT(count(page, 0, 320, 400, 30, 0xFF40C0FF), 30) << "the blue words";
}

}  // namespace
