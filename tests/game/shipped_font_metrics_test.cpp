// The shipped sprite fonts as the engine measures them: one line is as tall as its tallest glyph
// paints, each further line adds one even pitch a small gap above a line's height, so text anchored
// on its centre or bottom lands there.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "game/cgame.h"
#include "runtime/string.h"
#include "sprites/bsprite.h"
#include "tests/game/shipped_interface.h"
#include "tests/support/child_output.h"

namespace {

// Per font: the heights of one, two and three lines and the painted height of 'É' and 'g' together.
std::string measureFonts() {
    return withShippedInterface(std::string(), [] {
        std::string out;
        for (jint f = 0; f < 3; ++f) {
            Bsprite* font = cGame::fontSprite(f);
            if (!font) return out + "missing\n";
            jint heights[3];
            const jchar text[] = {0xC9, 'g', '\n', 0xC9, 'g', '\n', 0xC9, 'g'};
            for (int n = 0; n < 3; ++n) {
                font->MeasureText(String::fromUnits(text, 3 * n + 2), nullptr);
                heights[n] = ASprite::s_textHeight;
            }
            // The glyph's pixels are its frame's fourth frame-module, placed from the line's top.
            jint top = 1 << 20, bottom = -(1 << 20);
            for (jint c : {jint{0xC9}, jint{'g'}}) {
                const jint frame = font->MapChar(c);
                const jint y = font->GetFrameModuleY(frame, 3);
                top = std::min(top, y);
                bottom = std::max(bottom, y + font->GetModuleHeight(font->GetFrameModule(frame, 3)));
            }
            out += std::to_string(heights[0]) + " " + std::to_string(heights[1]) + " " + std::to_string(heights[2]) +
                   " " + std::to_string(bottom - top) + "\n";
        }
        return out;
    });
}

TEST(ShippedFontMetricsTest, OneLineMeasuresItsGlyphsAndLinesStepEvenly) {
    std::istringstream in(outputOfChild(measureFonts));
    for (int f = 0; f < 3; ++f) {
        SCOPED_TRACE(f);
        int one = 0, two = 0, three = 0, painted = 0;
        ASSERT_TRUE(in >> one >> two >> three >> painted);
        EXPECT_GE(one, painted) << "a line is as tall as its glyphs paint";
        EXPECT_LE(one, painted + 8);
        const int gap = two - 2 * one;
        EXPECT_GE(gap, 0);
        EXPECT_LE(gap, 8);
        EXPECT_EQ(three - two, one + gap) << "lines step by a line's height and the gap";
    }
}

}  // namespace
