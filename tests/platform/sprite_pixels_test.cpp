// Palette expansion and module pixel decoding: a table per format, and the malformed inputs that must
// fail without reading or writing outside their buffers.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/graphics/sprite_pixels.h"

namespace {

struct PaletteCase {
    const char* name;
    int format;
    std::vector<uint8_t> bytes;
    std::vector<uint32_t> colours;
    bool transparency;
    bool partialAlpha;
};

TEST(SpritePalette, ExpandsEachFormat) {
    const PaletteCase cases[] = {
        {"8888 direct", 0x8888, {0x33, 0x22, 0x11, 0xFF, 0x00, 0x00, 0x00, 0x80}, {0xFF112233, 0x80000000}, true, true},
        {"8888 opaque", 0x8888, {1, 2, 3, 0xFF}, {0xFF030201}, false, false},
        {"8888 alpha 0 is not partial", 0x8888, {1, 2, 3, 0}, {0x00030201}, true, false},
        {"4444 nibbles x17", 0x4444, {0x21, 0xF3, 0x00, 0x80}, {0xFF332211, 0x88000000}, true, true},
        {"5515 opaque", 0x5515, {0x1F, 0xFC}, {0xFFF800F8}, false, false},
        {"5515 key", 0x5515, {0x1F, 0x7C}, {0x00FF00FF}, true, false},
        {"5515 clear keeps rgb", 0x5515, {0x00, 0x7C}, {0x00F80000}, true, false},
        {"6505 rgb565", 0x6505, {0xE0, 0x07}, {0xFF00FC00}, false, false},
        {"6505 key", 0x6505, {0x1F, 0xF8}, {0x00FF00FF}, true, false},
        {"6505 opaque magenta-ish", 0x6505, {0x1E, 0xF8}, {0xFFF800F0}, false, false},
        {"unknown format zero", 0x1234, {0xFF, 0xFF}, {0}, false, false},
    };
    for (const auto& c : cases) {
        std::vector<uint32_t> out(c.colours.size(), 0xDEADBEEF);
        gfx::PaletteAlpha alpha;
        gfx::expandPalette(c.format, c.bytes.data(), static_cast<int>(c.colours.size()), out.data(), alpha);
        EXPECT_EQ(out, c.colours) << c.name;
        EXPECT_EQ(alpha.transparency, c.transparency) << c.name;
        EXPECT_EQ(alpha.partialAlpha, c.partialAlpha) << c.name;
    }
    EXPECT_EQ(gfx::paletteIndexBits(1), 0);
    EXPECT_EQ(gfx::paletteIndexBits(2), 1);
    EXPECT_EQ(gfx::paletteIndexBits(5), 3);
    EXPECT_EQ(gfx::paletteIndexBits(256), 8);
}

// Palette of 4 colours: index i is colour 0xFF0000i0 | i.
const uint32_t kPalette[4] = {0xFF000000, 0xFF000011, 0xFF000022, 0xFF000033};
constexpr uint32_t P0 = 0xFF000000, P1 = 0xFF000011, P2 = 0xFF000022, P3 = 0xFF000033;

struct PixelCase {
    const char* name;
    int format;
    std::vector<uint8_t> bytes;
    int n;
    bool ok;
    std::vector<uint32_t> pixels;   // expected when ok
};

TEST(SpritePixels, DecodesEachFormatAndRefusesBadData) {
    const int mask = 3, bits = 2;
    const PixelCase cases[] = {
        {"1 bit msb first", 0x0200, {0xA0}, 3, true, {P1, P0, P1}},
        {"2 bit", 0x0400, {0x1B, 0xC0}, 5, true, {P0, P1, P2, P3, P3}},
        {"4 bit high nibble first", 0x1600, {0x21, 0x30}, 3, true, {P2, P1, P3}},
        {"masked runs", 0x64F0, {0x06, 0x01}, 3, true, {P2, P2, P1}},
        {"masked run bits 0: one pixel", 0x64F0, {0x03}, 1, true, {P3}},
        {"short runs", 0x27F1, {0x02, 0x82, 0x01}, 3, true, {P2, P1, P1}},
        {"literal runs", 0x56F2, {0x02, 0x03, 0x82, 0x01, 0x00}, 4, true, {P3, P3, P1, P0}},
        {"alpha runs", 0xA256, {0x03, 0x01, 0x80, 0xFE, 0x02, 0x40}, 3, true,
         {0x80000011, 0x40000011, 0x40000011}},
        {"alpha 255 and 0 set one pixel", 0xA256, {0x02, 0x02, 0xFF, 0x00}, 2, true, {0xFF000022, 0x00000022}},
        {"undefined format is transparent", 0xA640, {0x01}, 2, true, {0, 0}},
        {"unknown format is transparent", 0x7777, {}, 2, true, {0, 0}},
        {"packed data short", 0x1600, {0x11}, 3, false, {}},
        {"index past palette", 0x1600, {0x41}, 2, false, {}},
        {"masked run past module", 0x64F0, {0x0D}, 3, false, {}},
        {"short run past module", 0x27F1, {0x85, 0x01}, 3, false, {}},
        {"short run index missing", 0x27F1, {0x82}, 2, false, {}},
        {"literal run past module", 0x56F2, {0x05, 0x01}, 3, false, {}},
        {"literal index past palette", 0x56F2, {0x81, 0x09}, 1, false, {}},
        {"literal data ends", 0x56F2, {0x83, 0x01}, 3, false, {}},
        {"alpha stream missing", 0xA256, {0x02, 0x01}, 2, false, {}},
        {"alpha run past module", 0xA256, {0x02, 0x01, 0xFE, 0x05, 0x10}, 2, false, {}},
        {"empty data", 0x0200, {}, 1, false, {}},
    };
    for (const auto& c : cases) {
        // One guard word past n shows that nothing is written beyond the module.
        std::vector<uint32_t> out(static_cast<size_t>(c.n) + 1, 0xDEADBEEF);
        const bool ok = gfx::decodeModulePixels(c.format, c.bytes.data(), c.bytes.size(), kPalette, 4, mask, bits,
                                                c.n, out.data());
        EXPECT_EQ(ok, c.ok) << c.name;
        EXPECT_EQ(out.back(), 0xDEADBEEF) << c.name;
        out.pop_back();
        if (c.ok) {
            EXPECT_EQ(out, c.pixels) << c.name;
        } else {
            EXPECT_EQ(out, std::vector<uint32_t>(static_cast<size_t>(c.n), 0u)) << c.name << ": cleared";
        }
    }
}

}  // namespace
