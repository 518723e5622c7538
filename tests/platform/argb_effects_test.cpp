// ARGB pixel effects and the ARGB buffer's blends, fill and transformed copy: exact pixel results,
// including the extremes of alpha and colour and the channel mixes a packed form would carry.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/graphics/argb_effects.h"
#include "platform/graphics/sprite_effects.h"

TEST(ArgbEffectsTest, PixelEffectTable) {
    struct Case {
        uint32_t src;
        int factor, alpha;
        bool colourKey, scaleAlpha;
        uint32_t want;
        bool written;
    };
    const Case cases[] = {
        {0xFF204060, 128, -1, false, false, 0xFF203040, true},  // halfway to red's grey
        {0x80204060, 0, -1, false, false, 0x80202020, true},    // grey from red, alpha kept
        {0x80204060, -7, -1, true, true, 0x80202020, true},
        {0xFF00FF00, 1, -1, false, false, 0xFF000000, true},
        {0xFF00FFFF, 254, -1, false, false, 0xFF00FDFD, true},
        {0xFFFF0000, 128, -1, false, false, 0xFFFF7F7F, true},  // rounds down below red
        {0xFF204060, 255, -1, false, false, 0x12345678, false},   // dst left alone
        {0xFF8040C0, 0, 0x40, false, false, 0x40808080, true},
        {0xFFFFFFFF, 99, 0, false, false, 0x00FFFFFF, true},
        {0x80AB0000, 0, 255, false, true, 0x7FABABAB, true},
        {0xFF123456, 0, 300, false, true, 0xFE121212, true},      // alpha capped at 255
        {0xFF123456, 0, 300, false, false, 0xFF121212, true},
        {0xFFFF10FF, 0, 200, true, false, 0x00000000, true},      // any green is keyed
        {0xFFFE10FF, 0, 200, true, false, 0xC8FEFEFE, true},
        {0xFFFF10FF, 0, 200, true, true, 0xC7FFFFFF, true},       // scaling wins over the key
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.src << " factor " << std::dec << c.factor << " alpha "
                                        << c.alpha);
        uint32_t dst = 0x12345678;
        EXPECT_EQ(gfx::pixelEffect(&c.src, &dst, 1, c.factor, c.alpha, c.colourKey, c.scaleAlpha), c.written);
        EXPECT_EQ(dst, c.want);
    }
}

TEST(ArgbEffectsTest, ColourEffectTable) {
    struct Case {
        uint32_t src;
        int alpha;
        bool colourKey, scaleAlpha;
        uint32_t want;
    };
    const Case cases[] = {
        {0x12345678, 300, false, false, 0xFF345678},  // clamped to 255
        {0x12345678, -5, false, false, 0x00345678},   // clamped to 0
        {0xFFFF10FF, 128, true, false, 0x80FF10FF},   // green set: not the key
        {0x00FF00FF, 128, true, false, 0x00000000},
        {0xFF102030, 128, false, true, 0x7F102030},
        {0xFF102030, -1, false, true, 0x00102030},
        {0x40102030, 1000, false, true, 0x3F102030},
    };
    for (const Case& c : cases) {
        uint32_t dst = 0;
        gfx::colourEffect(&c.src, &dst, 1, c.alpha, c.colourKey, c.scaleAlpha);
        EXPECT_EQ(dst, c.want) << std::hex << c.src << " alpha " << std::dec << c.alpha;
    }
}

TEST(ArgbEffectsTest, EffectsRunOverTheWholeRunInPlaceAndNothingForZero) {
    std::vector<uint32_t> px = {0xFF102030, 0xFF405060, 0xFF708090};
    gfx::pixelEffect(px.data(), px.data(), 3, 0, -1, false, false);
    EXPECT_EQ(px, (std::vector<uint32_t>{0xFF101010, 0xFF404040, 0xFF707070}));
    const std::vector<uint32_t> before = px;
    gfx::pixelEffect(px.data(), px.data(), 0, 0, 10, false, false);
    gfx::colourEffect(px.data(), px.data(), 0, 10, false, false);
    EXPECT_EQ(px, before);
}

TEST(ArgbEffectsTest, BlendsPerChannelAtTheExtremes) {
    struct Case {
        uint32_t c, d;
        int a;
        uint32_t over, fromColour;
    };
    const Case cases[] = {
        {0x80FF0000, 0xFF000000, 128, 0xFF7F0000, 0xFF800000},  // the two forms differ in the lowest bit
        {0x01FFFFFF, 0xFF000000, 1, 0xFF000000, 0xFF010101},
        {0xFEFFFFFF, 0xFF000000, 254, 0xFFFDFDFD, 0xFFFEFEFE},
        {0x80000000, 0xFFFFFFFF, 128, 0xFF7F7F7F, 0xFF7E7E7E},
        {0x800000FF, 0xFFFF0000, 128, 0xFF7F007F, 0xFF7E0080},  // red falls while blue rises: no carry
        {0xC80000FF, 0xFFFF0000, 200, 0xFF3700C7, 0xFF3600C8},
        {0x40123456, 0x00123456, 64, 0xFF123456, 0xFF123456},   // equal colours stay, made opaque
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.c << " over " << c.d);
        EXPECT_EQ(gfx::blendOverOpaque(c.c, c.d, c.a), c.over);
        EXPECT_EQ(gfx::blendOverOpaqueFromColour(c.c, c.d, c.a), c.fromColour);
    }
}

TEST(ArgbEffectsTest, CompositesOntoPartlyTransparentPixels) {
    EXPECT_EQ(gfx::composite(0x80FF0000, 0x800000FF, 128), 0xBFAA0054u);
    EXPECT_EQ(gfx::composite(0x01FFFFFF, 0x01FFFFFF, 1), 0x01FFFFFFu);  // capped at 255
    EXPECT_EQ(gfx::composite(0xFE000000, 0xFEFFFFFF, 254), 0xFE000000u);
}

namespace {

struct Buffer {
    std::vector<uint32_t> px;
    int w, h;
    Buffer(int w_, int h_, uint32_t fill) : px(static_cast<size_t>(w_) * h_, fill), w(w_), h(h_) {}
    SurfaceARGB view() { return {px.data(), w, h, w}; }
};

}  // namespace

TEST(ArgbEffectsTest, FillBlendsByTheColourAndTheBuffersAlpha) {
    Buffer row(4, 1, 0xFF000000);
    gfx::fillRectARGB(row.view(), {0, 0, 4, 1}, 0x80FF0000, false);
    EXPECT_EQ(row.px, std::vector<uint32_t>(4, 0xFF800000));

    // With the buffer's alpha: 0 takes the colour, 255 blends, anything else composites.
    Buffer mixed(4, 1, 0);
    mixed.px = {0x00123456, 0xFF000000, 0x800000FF, 0xFF000000};
    gfx::fillRectARGB(mixed.view(), {0, 0, 3, 1}, 0x80FF0000, true);
    EXPECT_EQ(mixed.px, (std::vector<uint32_t>{0x80FF0000, 0xFF800000, 0xBFAA0054, 0xFF000000}));

    // Alpha 0 changes nothing; 255 writes the colour unchanged, over alpha too.
    mixed.px = {0x00123456, 0x40123456, 0xFF000000, 0x80808080};
    const std::vector<uint32_t> before = mixed.px;
    gfx::fillRectARGB(mixed.view(), {0, 0, 4, 1}, 0x00FFFFFF, true);
    EXPECT_EQ(mixed.px, before);
    gfx::fillRectARGB(mixed.view(), {1, 0, 3, 1}, 0xFF00FF00, true);
    EXPECT_EQ(mixed.px, (std::vector<uint32_t>{0x00123456, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00}));
}

namespace {

// The 3 x 2 source 1 2 3 / 4 5 6 (opaque) and what each transform makes of it.
const std::vector<uint32_t> kSource = {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004, 0xFF000005, 0xFF000006};
struct Turned {
    int w, h;
    std::vector<int> px;
};
const Turned kTurned[8] = {
    {3, 2, {1, 2, 3, 4, 5, 6}}, {3, 2, {3, 2, 1, 6, 5, 4}}, {3, 2, {4, 5, 6, 1, 2, 3}}, {3, 2, {6, 5, 4, 3, 2, 1}},
    {2, 3, {4, 1, 5, 2, 6, 3}}, {2, 3, {6, 3, 5, 2, 4, 1}}, {2, 3, {1, 4, 2, 5, 3, 6}}, {2, 3, {3, 6, 2, 5, 1, 4}},
};

}  // namespace

TEST(ArgbEffectsTest, CopiesWithEveryTransformWholeAndCut) {
    for (int t = 0; t < 8; ++t) {
        SCOPED_TRACE(t);
        const Turned& want = kTurned[t];
        Buffer whole(want.w, want.h, 0);
        gfx::blitARGB(whole.view(), {0, 0, want.w, want.h}, {0, 0}, kSource.data(), 3, 2, gfx::kBlitCopy, t, false);
        for (size_t i = 0; i < whole.px.size(); ++i) EXPECT_EQ(whole.px[i], 0xFF000000u | want.px[i]) << i;

        // Placed one pixel up and left of the buffer: only the rest lands, each pixel where it belongs.
        Buffer cut(want.w, want.h, 0);
        gfx::blitARGB(cut.view(), {0, 0, want.w - 1, want.h - 1}, {-1, -1}, kSource.data(), 3, 2, gfx::kBlitCopy, t,
                      false);
        for (int y = 0; y < want.h; ++y)
            for (int x = 0; x < want.w; ++x) {
                const bool inside = x < want.w - 1 && y < want.h - 1;
                const uint32_t expect = inside ? 0xFF000000u | want.px[(y + 1) * want.w + x + 1] : 0u;
                EXPECT_EQ(cut.px[y * want.w + x], expect) << x << "," << y;
            }
    }
}

TEST(ArgbEffectsTest, CopyModesSkipAndBlendByTheSourceAlpha) {
    const std::vector<uint32_t> src = {0x00FFFFFF, 0x01000000, 0xFFFF0000, 0x80FF0000};
    struct Case {
        int mode;
        bool bufAlpha;
        std::vector<uint32_t> under, want;
    };
    const Case cases[] = {
        {0, false, {0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000}, {0x00FFFFFF, 0x01000000, 0xFFFF0000, 0x80FF0000}},
        {1, false, {0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000}, {0xFF000000, 0x01000000, 0xFFFF0000, 0x80FF0000}},
        {2, false, {0xFF000000, 0xFF000000, 0x00000000, 0xFF000000}, {0xFF000000, 0xFF000000, 0xFFFF0000, 0xFF7F0000}},
        // With the buffer's alpha: a clear target takes even a clear source; 255 blends; else composites.
        {2, true, {0x00000000, 0x00000000, 0x80000000, 0x800000FF}, {0x00FFFFFF, 0x01000000, 0xFFFF0000, 0xBFAA0054}},
        {7, true, {0x12000000, 0xFF000000, 0xFF000000, 0xFF000000}, {0x12000000, 0xFF000000, 0xFFFF0000, 0xFF7F0000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " bufAlpha " << c.bufAlpha);
        Buffer row(4, 1, 0);
        row.px = c.under;
        gfx::blitARGB(row.view(), {0, 0, 4, 1}, {0, 0}, src.data(), 4, 1, c.mode, 0, c.bufAlpha);
        EXPECT_EQ(row.px, c.want);
    }
}
