// The row copiers against plain scalar references, bit for bit, over random pixels, sizes and every
// transform's steps (the fast paths tile and reverse; the references walk pixel by pixel), plus
// the pixel conversions and widening tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "platform/graphics/blit.h"
#include "platform/graphics/region_blit.h"
#include "platform/graphics/shapes.h"

namespace {

// The references: the copy loop as written down, one pixel at a time in row order.
template <class Src, class Op>
void referenceBlit(const Src* src, uint16_t* dst, const BlitSteps& s, Op op) {
    for (int r = 0; r < s.height; ++r)
        for (int c = 0; c < s.width; ++c) {
            uint16_t& d = dst[r * s.rowStep + c * s.pixelStep];
            d = op(d, src[r * s.sourceStride + c]);
        }
}
uint16_t refCopy(uint16_t, uint16_t s) { return s; }
uint16_t refKeyed(uint16_t d, uint16_t s) { return s == 0xF81F ? d : s; }
uint16_t refBlend4444(uint16_t d, uint16_t s) {
    const int a = (s >> 12) * 17;
    auto field = [&](int dv, int sv, int mask) { return (dv + (((sv - dv) * a) >> 8)) & mask; };
    return static_cast<uint16_t>(field(d & 0xF800, ((s >> 8) & 0xF) << 12, 0xF800) |
                                 field(d & 0x07E0, ((s >> 4) & 0xF) << 7, 0x07E0) |
                                 field(d & 0x001F, (s & 0xF) << 1, 0x001F));
}
uint16_t to565(uint32_t c) { return static_cast<uint16_t>(((c >> 8) & 0xF800) | ((c >> 5) & 0x07E0) | ((c >> 3) & 0x1F)); }
uint16_t refOpaque(uint16_t, uint32_t s) { return to565(s); }
uint16_t refBlendARGB(uint16_t d, uint32_t s) {
    const int a = static_cast<int>(s >> 24);
    if (a == 255) return to565(s);
    if (a == 0) return d;
    const int c = to565(s);
    auto field = [&](int mask) { return ((d & mask) + ((((c & mask) - (d & mask)) * a) >> 8)) & mask; };
    return static_cast<uint16_t>(field(0xF800) | field(0x07E0) | field(0x001F));
}
uint16_t ref4444(uint16_t, uint32_t s) {
    return static_cast<uint16_t>((s >> 28) << 12 | ((s >> 20) & 0xF) << 8 | ((s >> 12) & 0xF) << 4 | ((s >> 4) & 0xF));
}

struct Transformed {
    BlitSteps steps;
    ptrdiff_t first;
};
// The steps a transform gives a w x h copy into a target of `pitch` pixels at (x, y).
Transformed stepsFor(int transform, int w, int h, ptrdiff_t pitch, int x, int y, ptrdiff_t sourcePitch) {
    const RegionBlit plan = planRegionBlit(Rect{0, 0, 1 << 20, 1 << 20}, x, y, 0, 0, w, h, transform, 0,
                                           sourcePitch, pitch);
    return {plan.steps, static_cast<ptrdiff_t>(plan.destination)};
}

TEST(BlitTest, FastCopiersMatchTheReferencesBitForBit) {
    std::mt19937 random(20261210);
    auto pixel16 = [&] {
        // A good share of keys and of the extreme alphas, so every branch is taken.
        const uint32_t pick = random() % 8;
        if (pick == 0) return uint16_t{0xF81F};
        if (pick == 1) return static_cast<uint16_t>(0xF000 | (random() & 0xFFF));
        if (pick == 2) return static_cast<uint16_t>(random() & 0x0FFF);
        return static_cast<uint16_t>(random());
    };
    auto pixel32 = [&] {
        const uint32_t pick = random() % 4;
        const uint32_t c = static_cast<uint32_t>(random()) & 0xFFFFFF;
        return pick == 0 ? c : pick == 1 ? c | 0xFF000000u : c | (static_cast<uint32_t>(random()) << 24);
    };
    for (int round = 0; round < 300; ++round) {
        const int w = 1 + static_cast<int>(random() % 90), h = 1 + static_cast<int>(random() % 90);
        const int transform = static_cast<int>(random() % 8);
        const bool swap = transform >= 4;
        const int dw = swap ? h : w, dh = swap ? w : h;
        const int pitch = dw + static_cast<int>(random() % 7), rows = dh + static_cast<int>(random() % 5);
        const int x = static_cast<int>(random() % (pitch - dw + 1)), y = static_cast<int>(random() % (rows - dh + 1));
        const int sourcePitch = w + static_cast<int>(random() % 9);
        SCOPED_TRACE(testing::Message() << "round " << round << " transform " << transform << " " << w << "x" << h);
        std::vector<uint16_t> src16(static_cast<size_t>(sourcePitch) * h);
        std::vector<uint32_t> src32(src16.size());
        // Every other round in runs of one kind, as sprites come: transparent, opaque or mixed.
        const bool runs = round % 2 == 1;
        for (size_t i = 0; i < src16.size();) {
            const size_t length = runs ? 1 + random() % 40 : 1;
            const uint32_t kind = random() % 3;
            for (size_t end = std::min(src16.size(), i + length); i < end; ++i) {
                const uint16_t p = pixel16();
                const uint32_t q = pixel32();
                src16[i] = !runs || kind == 2 ? p : kind == 0 ? static_cast<uint16_t>(p & 0x0FFF) : static_cast<uint16_t>(p | 0xF000);
                src32[i] = !runs || kind == 2 ? q : kind == 0 ? q & 0xFFFFFF : q | 0xFF000000u;
            }
        }
        std::vector<uint16_t> background(static_cast<size_t>(pitch) * rows);
        for (auto& p : background) p = static_cast<uint16_t>(random());
        const Transformed t = stepsFor(transform, w, h, pitch, x, y, sourcePitch);
        ASSERT_EQ(t.steps.width, w);
        ASSERT_EQ(t.steps.height, h);

        auto check16 = [&](void (*fast)(const uint16_t*, uint16_t*, const BlitSteps&), uint16_t (*ref)(uint16_t, uint16_t),
                           const char* name) {
            std::vector<uint16_t> a = background, b = background;
            fast(src16.data(), a.data() + t.first, t.steps);
            referenceBlit(src16.data(), b.data() + t.first, t.steps, ref);
            EXPECT_EQ(a, b) << name;
        };
        auto check32 = [&](void (*fast)(const uint32_t*, uint16_t*, const BlitSteps&), uint16_t (*ref)(uint16_t, uint32_t),
                           const char* name) {
            std::vector<uint16_t> a = background, b = background;
            fast(src32.data(), a.data() + t.first, t.steps);
            referenceBlit(src32.data(), b.data() + t.first, t.steps, ref);
            EXPECT_EQ(a, b) << name;
        };
        check16(copyPixels, refCopy, "copy");
        check16(copyKeyedPixels, refKeyed, "keyed");
        check16(blendPixels4444, refBlend4444, "4444 blend");
        check32(copyARGBOpaque, refOpaque, "ARGB opaque");
        check32(blendARGB, refBlendARGB, "ARGB blend");
        check32(storeARGB4444, ref4444, "ARGB to 4444");
    }
}

// A picture kept turned by one transform and drawn with transformAfter lands as the picture drawn
// with the wanted one, for every pair.
TEST(BlitTest, ATurnedPictureDrawnWithTheTransformAfterLandsAsTheWantedOne) {
    constexpr int w = 5, h = 3, side = 8;
    std::vector<uint16_t> picture(w * h);
    for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<uint16_t>(i + 1);
    auto draw = [](const uint16_t* src, int sw, int sh, int transform, std::vector<uint16_t>& target) {
        const Transformed t = stepsFor(transform, sw, sh, side, 1, 2, sw);
        copyPixels(src, target.data() + t.first, t.steps);
    };
    for (int applied = 0; applied < 8; ++applied) {
        std::vector<uint16_t> turned(side * side);
        const Transformed t = stepsFor(applied, w, h, applied >= 4 ? h : w, 0, 0, w);
        copyPixels(picture.data(), turned.data() + t.first, t.steps);
        for (int wanted = 0; wanted < 8; ++wanted) {
            SCOPED_TRACE(testing::Message() << "applied " << applied << " wanted " << wanted);
            std::vector<uint16_t> direct(side * side), twice(side * side);
            draw(picture.data(), w, h, wanted, direct);
            draw(turned.data(), applied >= 4 ? h : w, applied >= 4 ? w : h, transformAfter(wanted, applied), twice);
            EXPECT_EQ(twice, direct);
        }
    }
}

TEST(BlitTest, OverlappingCopiesReadAsTheRowOrderLoopDoes) {
    // One buffer, a quarter turn of its top-left 4 x 4 onto itself shifted by one column.
    std::vector<uint16_t> a(8 * 8), b;
    for (size_t i = 0; i < a.size(); ++i) a[i] = static_cast<uint16_t>(i);
    b = a;
    Transformed t = stepsFor(5, 4, 4, 8, 1, 0, 8);
    t.steps.inOrder = true;
    copyPixels(a.data(), a.data() + t.first, t.steps);
    referenceBlit(b.data(), b.data() + t.first, t.steps, refCopy);
    EXPECT_EQ(a, b);
}

// Every opaque ARGB4444 colour over destinations that put each field below, at and above it, in
// rows whose ragged end overlaps the last whole run of 16; every other row has translucent pixels
// in that overlap, which must be blended once.
TEST(BlitTest, OpaqueRunsAndRaggedRowEndsMatchTheReference) {
    constexpr int kWidth = 37;
    std::vector<uint16_t> src, background;
    for (uint32_t colour = 0; colour < 4096; ++colour) {
        for (uint32_t k = 0; k < 64; k += 3) {
            const bool translucent = (colour + k) % 2 == 1 && (src.size() % kWidth) >= 21;
            src.push_back(static_cast<uint16_t>((translucent ? 0x9000 : 0xF000) | colour));
            background.push_back(static_cast<uint16_t>((k & 31) << 11 | k << 5 | (31 - (k & 31))));
        }
    }
    const int rows = static_cast<int>(src.size() / kWidth);
    const BlitSteps steps{kWidth, rows, kWidth, 1, kWidth, false};
    std::vector<uint16_t> fast = background, reference = background;
    blendPixels4444(src.data(), fast.data(), steps);
    referenceBlit(src.data(), reference.data(), steps, refBlend4444);
    EXPECT_EQ(fast, reference);
}

TEST(BlitTest, BlendsAndTablesKeepTheirExactValues) {
    EXPECT_EQ(blend4444(0x1234, 0x0FFF), 0x1234);              // alpha 0: unchanged
    const uint16_t nearWhite = blend4444(0x0000, 0xFFFF);      // alpha 15 over black
    EXPECT_EQ(nearWhite, (29 << 11) | (59 << 5) | 29);          // one step short of 30, 60, 30
    EXPECT_EQ(blend565(0x0000, 0xFFFF, 0x80), 0x7BEF);
    EXPECT_EQ(argbTo565(0xFFFF00FF), 0xF81F);
    EXPECT_EQ(argbTo4444(0x7F102030), 0x7123);
    const WideningTables& t = wideningTables();
    EXPECT_EQ(t.from5[5], 41);
    EXPECT_EQ(t.from5[31], 255);
    EXPECT_EQ(t.from6[1], 4);
    EXPECT_EQ(t.from6[62], 250);
    EXPECT_EQ(t.from4[8], 136);
    const uint16_t in[3] = {0xF800, 0xF81F, 0x07E0};
    uint32_t out[3];
    widen565(in, out, 3, true);
    EXPECT_EQ(out[0], 0xFFFF0000u);
    EXPECT_EQ(out[1], 0u);
    EXPECT_EQ(out[2], 0xFF00FF00u);
    widen565(in, out, 3, false);
    EXPECT_EQ(out[1], 0xFFFF00FFu);
    const uint16_t nibbles = 0x8F0A;
    widen4444(&nibbles, out, 1);
    EXPECT_EQ(out[0], 0x88FF00AAu);
}

TEST(ShapesTest, LinesAreClippedAndWalkedToTheirEnds) {
    struct Case {
        const char* what;
        LineEnds in;
        bool accepted;
        LineEnds out;
    };
    const Rect clip{10, 10, 10, 10};  // columns and rows 10..19
    const Case cases[] = {
        {"inside", {11, 12, 15, 18}, true, {11, 12, 15, 18}},
        {"left of the clip", {0, 0, 9, 30}, false, {}},
        {"across, horizontal", {0, 15, 40, 15}, true, {10, 15, 19, 15}},
        {"across, vertical", {12, 40, 12, -40}, true, {12, 19, 12, 10}},
        {"diagonal through a corner", {0, 0, 30, 30}, true, {10, 10, 19, 19}},
        {"far ends do not overflow", {-(int64_t{1} << 32), 15, int64_t{1} << 32, 15}, true, {10, 15, 19, 15}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LineEnds line = c.in;
        ASSERT_EQ(clipLine(clip, line), c.accepted);
        if (!c.accepted) continue;
        EXPECT_EQ(line.x1, c.out.x1);
        EXPECT_EQ(line.y1, c.out.y1);
        EXPECT_EQ(line.x2, c.out.x2);
        EXPECT_EQ(line.y2, c.out.y2);
    }
    LineEnds any{0, 0, 5, 5};
    EXPECT_FALSE(clipLine(Rect{3, 3, 0, 4}, any));  // an empty clip takes nothing

    // (0,0)-(3,1): along x, the minor step after the second pixel.
    std::vector<uint16_t> p(4 * 2, 0);
    drawLine565({p.data(), 4, 2, 4}, {0, 0, 3, 1}, 0xFFFFFFFF);
    EXPECT_EQ(p, (std::vector<uint16_t>{0xFFFF, 0xFFFF, 0, 0, 0, 0, 0xFFFF, 0xFFFF}));
}

}  // namespace

namespace {

// Where source pixel (i, j) of a w x h region lands for each transform, by the transforms' own
// definitions: mirrors first, then the quarter turns.
std::pair<int, int> transformedPlace(int transform, int i, int j, int w, int h) {
    switch (transform) {
        case 0: return {i, j};
        case 1: return {i, h - 1 - j};           // MIRROR_ROT180
        case 2: return {w - 1 - i, j};           // MIRROR
        case 3: return {w - 1 - i, h - 1 - j};   // ROT180
        case 4: return {j, i};                   // MIRROR_ROT270
        case 5: return {h - 1 - j, i};           // ROT90
        case 6: return {j, w - 1 - i};           // ROT270
        default: return {h - 1 - j, w - 1 - i};  // MIRROR_ROT90
    }
}

}  // namespace

// Every transform against a clip cutting each edge in turn: the plan's pixels are exactly those of
// the whole transformed region that fall inside the clip.
TEST(RegionBlitTest, ClipCutsEveryTransformAtEachEdgeAsTheWholePictureWouldBeCut) {
    constexpr int kPitch = 9, kXSrc = 2, kYSrc = 1, kW = 5, kH = 3, kTarget = 16;
    const Rect clips[] = {{0, 0, kTarget, kTarget}, {0, 6, kTarget, 10}, {0, 0, kTarget, 7},
                          {6, 0, 10, kTarget},      {0, 0, 7, kTarget},  {6, 6, 2, 1}};
    for (int transform = 0; transform < 8; ++transform) {
        for (const Rect& clip : clips) {
            for (int x : {4, 5}) {
                for (int y : {4, 5}) {
                    SCOPED_TRACE(testing::Message() << "transform " << transform << " clip " << clip.x << "," << clip.y
                                                    << " " << clip.w << "x" << clip.h << " at " << x << "," << y);
                    std::vector<int> want(kTarget * kTarget, -1), got(kTarget * kTarget, -1);
                    for (int j = 0; j < kH; ++j) {
                        for (int i = 0; i < kW; ++i) {
                            const auto [dx, dy] = transformedPlace(transform, i, j, kW, kH);
                            const int px = x + dx, py = y + dy;
                            if (px >= clip.x && px < clip.right() && py >= clip.y && py < clip.bottom())
                                want[py * kTarget + px] = (kYSrc + j) * kPitch + kXSrc + i;
                        }
                    }
                    const RegionBlit plan =
                        planRegionBlit(clip, x, y, kXSrc, kYSrc, kW, kH, transform, 0, kPitch, kTarget);
                    for (int r = 0; !plan.empty() && r < plan.steps.height; ++r) {
                        for (int p = 0; p < plan.steps.width; ++p) {
                            const int64_t at = plan.destination + r * plan.steps.rowStep + p * plan.steps.pixelStep;
                            ASSERT_GE(at, 0);
                            ASSERT_LT(at, kTarget * kTarget);
                            got[at] = (plan.ySrc + r) * kPitch + plan.xSrc + p;
                        }
                    }
                    EXPECT_EQ(got, want);
                }
            }
        }
    }
}
