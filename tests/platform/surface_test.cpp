// The screen blit: copies at equal size, nearest and averaged scaling.
#include <gtest/gtest.h>

#include <vector>

#include "platform/graphics/surface.h"

TEST(SurfaceTest, CopiesRowsAtEqualSizeAcrossPitches) {
    std::vector<uint16_t> src = {1, 2, 99, 3, 4, 99};  // pitch 3, the third column is padding
    std::vector<uint16_t> dst(4, 0);
    stretchBlit({src.data(), 2, 2, 3}, {dst.data(), 2, 2, 2}, StretchMode::Smooth);
    EXPECT_EQ(dst, (std::vector<uint16_t>{1, 2, 3, 4}));
}

TEST(SurfaceTest, NearestTakesOneSourcePixel) {
    std::vector<uint16_t> src = {1, 2, 3, 4, 5, 6, 7, 8};  // 4x2
    std::vector<uint16_t> half(2, 0);
    stretchBlit({src.data(), 4, 2, 4}, {half.data(), 2, 1, 2}, StretchMode::Nearest);
    EXPECT_EQ(half, (std::vector<uint16_t>{1, 3}));
    std::vector<uint16_t> wide(8 * 2, 0);
    stretchBlit({src.data(), 4, 1, 4}, {wide.data(), 8, 2, 8}, StretchMode::Nearest);
    EXPECT_EQ(wide, (std::vector<uint16_t>{1, 1, 2, 2, 3, 3, 4, 4, 1, 1, 2, 2, 3, 3, 4, 4}));
}

TEST(SurfaceTest, SmoothAveragesTheCoveredPixelsPerChannel) {
    const uint16_t red = rgb565(255, 0, 0), blue = rgb565(0, 0, 255), white = 0xFFFF, black = 0;
    std::vector<uint16_t> src = {red, blue, white, black};  // 2x2 into 1x1
    std::vector<uint16_t> one(1, 0);
    stretchBlit({src.data(), 2, 2, 2}, {one.data(), 1, 1, 1}, StretchMode::Smooth);
    // red: (31 + 0 + 31 + 0) / 4 = 15.5 -> 16; green: 63 / 4 = 15.75 -> 16; blue: 62 / 4 -> 16.
    EXPECT_EQ(one[0], (16 << 11) | (16 << 5) | 16);
    std::vector<uint16_t> nearest(1, 0);
    stretchBlit({src.data(), 2, 2, 2}, {nearest.data(), 1, 1, 1}, StretchMode::Nearest);
    EXPECT_EQ(nearest[0], red);
}
