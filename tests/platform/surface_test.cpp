// The drawing room's surfaces: the screen blit (copies at equal size, nearest and averaged scaling),
// Rect clipping, and the fill, blend and copy primitives.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
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

namespace {

TEST(RectTest, ClipsInWideArithmeticAndEmptiesWhatLiesOutside) {
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    const Rect clip{10, 20, 100, 50};
    struct Case {
        const char* what;
        int64_t x, y, w, h;
        Rect want;
    };
    const Case cases[] = {
        {"inside", 15, 25, 10, 5, {15, 25, 10, 5}},
        {"over the left and top", 0, 0, 20, 30, {10, 20, 10, 10}},
        {"over the right and bottom", 100, 60, 50, 50, {100, 60, 10, 10}},
        {"covering all", -1000, -1000, 5000, 5000, {10, 20, 100, 50}},
        {"touching the left edge", 0, 20, 10, 5, {}},
        {"touching the right edge", 110, 20, 5, 5, {}},
        {"negative width", 50, 30, -5, 5, {}},
        {"zero height", 50, 30, 5, 0, {}},
        {"a huge size from a huge start cannot wrap", kMax, 20, kMax, 5, {}},
        {"a start past the int range (translated)", int64_t{kMax} + 5, 20, 10, 5, {}},
        {"a negative start with the largest size", kMin, kMin, kMax, kMax, {}},
        {"a negative start reaching in", -5, 20, int64_t{kMax}, 5, {10, 20, 100, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(clip.clip(c.x, c.y, c.w, c.h), c.want);
    }
    EXPECT_EQ(clip.intersect(Rect{0, 0, 15, 25}), (Rect{10, 20, 5, 5}));
    EXPECT_TRUE(clip.contains({10, 20}));
    EXPECT_FALSE(clip.contains({110, 20}));
}

TEST(SurfacePrimitivesTest, FillBlendAndCopyWriteOnlyTheirRectangle) {
    std::vector<uint16_t> pixels(6 * 4, 0x1111);
    const Surface565 s{pixels.data(), 5, 4, 6};  // one pixel of pitch beyond the width
    fillRect(s, Rect{1, 1, 2, 2}, uint16_t{0xF800});
    blendRect565(s, Rect{3, 0, 1, 1}, 0x80FFFFFFu);  // half white over 0x1111
    const std::vector<uint16_t> after = pixels;
    EXPECT_EQ(after[1 * 6 + 1], 0xF800);
    EXPECT_EQ(after[2 * 6 + 2], 0xF800);
    EXPECT_EQ(after[0 * 6 + 3], 0x8477);
    EXPECT_EQ(after[0 * 6 + 5], 0x1111);  // the pitch's spare pixel
    EXPECT_EQ(after[3 * 6 + 1], 0x1111);

    std::vector<uint32_t> argb(4 * 4, 0);
    const SurfaceARGB a{argb.data(), 4, 4, 4};
    fillRect(a, Rect{0, 0, 2, 2}, 0xFF00FF00u);
    std::vector<uint32_t> copy(4 * 4, 7);
    copyRect(ConstSurfaceARGB{argb.data(), 4, 4, 4}, Point{1, 1}, SurfaceARGB{copy.data(), 4, 4, 4}, Rect{2, 2, 2, 2});
    EXPECT_EQ(copy[2 * 4 + 2], 0xFF00FF00u);
    EXPECT_EQ(copy[2 * 4 + 3], 0u);
    EXPECT_EQ(copy[3 * 4 + 3], 0u);
    EXPECT_EQ(copy[1 * 4 + 1], 7u);
}

}  // namespace
