// Texts drawn one character at a time and with a chosen palette, compared with pictures of the same
// glyphs drawn at hand-computed places: centring on the measured width, per-character advances
// (spacing after a space too), the triangle wave and its speed, the title offsets, bad font indices.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/string.h"
#include "tests/sprites/text_fixture.h"

namespace {

class TextDrawTest : public SpriteTextTest {
protected:
    static constexpr uint32_t kBack = 0xFF000000, kWhite = 0xFFFFFFFF, kYellow = 0xFFFFFF00;
    static constexpr jint kY = 240;

    void SetUp() override {
        SpriteTextTest::SetUp();
        FontRecipe recipe;
        recipe.chars = u" ab";
        recipe.advance = [](char16_t c) { return c == ' ' ? 5 : c == 'a' ? 8 : 12; };
        recipe.colours = {kWhite, kYellow};
        m_font = makeFont(recipe);
        m_font->charSpacing = 2;
        cGame::s_fonts = Runtime::newObjectArray(CID_Object, 3);
        cGame::s_fonts->set(0, m_font);
        cGame::s_fonts->set(2, String::fromCString("not a font"));
        cGame::s_frameCounter = 0;
    }

    // The picture of f() drawn on a fresh screen through cGame::s_g.
    template <class F>
    static std::vector<uint16_t> render(F&& f) {
        Image* s = screen(kBack);
        cGame::s_g = s->getGraphics();
        f();
        cGame::s_g = nullptr;
        return landscape(s);
    }
    // Single characters, each drawn by itself at its pen (left, vertical centre).
    std::vector<uint16_t> chars(const std::vector<std::tuple<const char*, jint, jint>>& placed) {
        return render([&] {
            for (const auto& [c, x, y] : placed) m_font->DrawStringAt(cGame::s_g, String::fromCString(c), x, y, 6, true);
        });
    }
    static int count(const std::vector<uint16_t>& p, uint32_t colour) {
        int n = 0;
        for (uint16_t v : p) n += v == Graphics::toRGB565(colour);
        return n;
    }

    Bsprite* m_font = nullptr;
};

TEST_F(TextDrawTest, FlatTextIsCentredOnItsMeasuredWidth) {
    // "abba": advances 8 + 2, 12 + 2, 12 + 2, 8 + 2, less the last spacing: 46, so the pen starts at
    // 400 - 23; drawn as a whole it gives the same picture.
    const auto whole = render([&] { m_font->DrawStringAt(cGame::s_g, String::fromCString("abba"), 377, kY, 6, true); });
    const auto wavy = render([&] { cGame::drawWavyText(String::fromCString("abba"), 0, 400, kY, 99, 0); });
    EXPECT_EQ(wavy, whole);
    EXPECT_GT(count(wavy, kWhite), 40);
    EXPECT_EQ(render([&] { cGame::drawTextPerChar(String::fromCString("abba"), 0, 400, kY, 0, 0, 1); }), whole);

    // A space advances by its width and the spacing: "ab ba" measures 51 (the space without
    // spacing), pens 375, 385, (399), 406, 420.
    const auto spaced = chars({{"a", 375, kY}, {"b", 385, kY}, {"b", 406, kY}, {"a", 420, kY}});
    EXPECT_EQ(render([&] { cGame::drawWavyText(String::fromCString("ab ba"), 0, 400, kY, 0, 0); }), spaced);
}

TEST_F(TextDrawTest, WavingCharactersFollowATriangleTwoFramesApart) {
    // "aaaa" measures 38: pens 381, 391, 401, 411.
    struct Case {
        jint frame, amplitude;
        std::vector<jint> dy;
    };
    const Case cases[] = {
        {0, 10, {-5, -3, -1, 1}},
        {9, 10, {4, 4, 2, 0}},      // phases 9..15 turn at 10
        {20, 10, {-5, -3, -1, 1}},  // one period on
        {5, 40, {0, 2, 4, 6}},      // amplitude 40 runs at 2^2 frames per frame: phases 20..26
    };
    for (const Case& c : cases) {
        cGame::s_frameCounter = c.frame;
        std::vector<std::tuple<const char*, jint, jint>> placed;
        for (jint i = 0; i < 4; ++i) placed.emplace_back("a", 381 + 10 * i, kY + c.dy[static_cast<size_t>(i)]);
        EXPECT_EQ(render([&] { cGame::drawWavyText(String::fromCString("aaaa"), 0, 400, kY, 0, c.amplitude); }),
                  chars(placed))
            << "frame " << c.frame << " amplitude " << c.amplitude;
    }
}

TEST_F(TextDrawTest, TitleModeMovesEachCharacterByItsOffset) {
    // "aba" measures 8 + 2 + 12 + 2 + 8 = 32: pens 384, 394, 408.
    cGame::s_titleOffsets = Runtime::newIntArray(2);
    cGame::s_titleOffsets->fill({2, -1});
    cGame::s_titleFrames = 3;
    EXPECT_EQ(render([&] { cGame::drawTextPerChar(String::fromCString("aba"), 0, 400, kY, 34, 10, 3); }),
              chars({{"a", 384, kY + 6}, {"b", 394, kY - 3}, {"a", 408, kY}}))
        << "a character past the offsets stays on the line";
    const auto blank = render([] {});
    for (jint mode : {0, 2, 4}) {
        EXPECT_EQ(render([&] { cGame::drawTextPerChar(String::fromCString("aba"), 0, 400, kY, 0, 0, mode); }), blank)
            << mode;
    }
}

TEST_F(TextDrawTest, PaletteTextAndFontsThatAreNotThere) {
    const auto yellow = render([&] { cGame::drawStringWithPalette(0, 1, String::fromCString("ab"), 100, 100, 0); });
    EXPECT_GT(count(yellow, kYellow), 20);
    EXPECT_EQ(count(yellow, kWhite), 0);
    EXPECT_EQ(m_font->currentPalette, 1);
    EXPECT_EQ(render([&] { cGame::drawStringWithPalette(0, 9, String::fromCString("ab"), 100, 100, 0); }), yellow)
        << "a palette the font lacks leaves the current one";

    const auto blank = render([] {});
    for (jint font : {-1, 1, 2, 3}) {
        EXPECT_EQ(render([&] {
                      cGame::drawWavyText(String::fromCString("ab"), font, 400, kY, 0, 10);
                      cGame::drawTextPerChar(String::fromCString("ab"), font, 400, kY, 0, 0, 1);
                      cGame::drawStringWithPalette(font, 0, String::fromCString("ab"), 100, 100, 0);
                  }),
                  blank)
            << font;
    }
    EXPECT_EQ(render([&] {
                  cGame::drawWavyText(String::fromCString(""), 0, 400, kY, 0, 10);
                  cGame::drawWavyText(nullptr, 0, 400, kY, 0, 10);
                  cGame::drawTextPerChar(nullptr, 0, 400, kY, 0, 0, 1);
                  cGame::drawStringWithPalette(0, 0, nullptr, 100, 100, 0);
              }),
              blank);
    cGame::s_g = nullptr;
    cGame::drawWavyText(String::fromCString("ab"), 0, 400, kY, 0, 10);   // no frame Graphics: nothing
}

}  // namespace
