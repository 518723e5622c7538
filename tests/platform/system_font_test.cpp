// The built-in system font: metrics, clipping and the stand-in for characters it lacks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/graphics/system_font.h"

namespace {

// The rows of a drawn text as '#' and '.'.
std::vector<std::string> render(std::u16string_view text, int width, int height, int x, int y) {
    std::vector<uint16_t> pixels(static_cast<size_t>(width) * height, 0);
    SystemFont::drawText({pixels.data(), width, height, width}, x, y, text, 1);
    std::vector<std::string> rows;
    for (int r = 0; r < height; ++r) {
        std::string row;
        for (int c = 0; c < width; ++c) row += pixels[static_cast<size_t>(r) * width + c] ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

TEST(SystemFontTest, MeasuresFixedCells) {
    EXPECT_EQ(SystemFont::height(), 15);
    EXPECT_EQ(SystemFont::ascent(), 12);
    EXPECT_EQ(SystemFont::charWidth(u'W'), 9);
    EXPECT_EQ(SystemFont::textWidth(u"Bitte warten"), 12 * 9);
    EXPECT_EQ(SystemFont::textWidth(u""), 0);
}

TEST(SystemFontTest, DrawsTheGlyphWithinItsCell) {
    const auto rows = render(u"I", 9, 15, 0, 0);
    // A bar letter: ink in the middle columns only, between the top margin and the baseline.
    for (int r = 0; r < 15; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(rows[r][0], '.');
        EXPECT_EQ(rows[r][8], '.');
    }
    EXPECT_EQ(rows[0], ".........");
    EXPECT_NE(rows[6].find('#'), std::string::npos);
    EXPECT_EQ(rows[13], ".........");
}

TEST(SystemFontTest, ClipsAtTheSurfaceEdges) {
    const auto whole = render(u"M", 9, 15, 0, 0);
    const auto shifted = render(u"M", 9, 15, -4, -6);
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 5; ++c) EXPECT_EQ(shifted[r][c], whole[r + 6][c + 4]) << r << "," << c;
    for (int r = 9; r < 15; ++r) EXPECT_EQ(shifted[r], ".........");
    EXPECT_EQ(render(u"M", 9, 15, 9, 0), render(u"", 9, 15, 0, 0));  // wholly outside
}

TEST(SystemFontTest, DrawsLatin1AndAQuestionMarkForTheRest) {
    EXPECT_NE(render(u"é", 9, 15, 0, 0), render(u"e", 9, 15, 0, 0));
    EXPECT_EQ(render(u"\u20AC", 9, 15, 0, 0), render(u"?", 9, 15, 0, 0));
    EXPECT_EQ(render(u"\n", 9, 15, 0, 0), render(u"?", 9, 15, 0, 0));
}
