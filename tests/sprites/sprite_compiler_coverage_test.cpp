// The sprite compiler against the engine's loader: a coverage sprite compiled in every palette
// format x pixel format, with colour keys, partial alpha where the formats carry it, runs longer than
// one record holds and widths that leave packed bits over. Each module decoded by Bsprite equals
// the pixels of the source PNG.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <vector>

#include "platform/graphics/sprite_pixels.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bsprite.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_world.h"
#include "tools/png_picture.h"
#include "tools/sprite_font.h"
#include "tools/sprite_source.h"
#include "tools/sprite_writer.h"

namespace {

class SpriteCompilerCoverageTest : public TestWorld {
protected:
    void SetUp() override {
        TestWorld::SetUp();
        ASprite::s_rgbPrimary = nullptr;
        ASprite::s_rgbSecondary = nullptr;
    }
    void TearDown() override {
        ASprite::s_rgbPrimary = nullptr;
        ASprite::s_rgbSecondary = nullptr;
        TestWorld::TearDown();
    }
};

struct ModuleBox {
    int w, h;
};
// A lone pixel, widths that leave 1, 2 and 4-bit bytes part-filled, and one module near the size
// limit whose runs pass every run record's length.
constexpr ModuleBox kModules[] = {{1, 1}, {7, 3}, {13, 11}, {3, 5}, {200, 200}};

// Colours `paletteFormat` stores exactly; partial alpha only where the palette or pixel format
// carries it. The key is always colour 0.
std::vector<uint32_t> coverageColours(int paletteFormat, int pixelFormat, std::mt19937& random) {
    // One palette format takes the whole 256 colours its pixel formats hold (stored as count 0).
    const int wanted = paletteFormat == gfx::kPalette8888 ? tools::pixelFormatColours(pixelFormat)
                                                          : std::min(tools::pixelFormatColours(pixelFormat), 40);
    const bool alpha = paletteFormat == gfx::kPalette8888 || paletteFormat == gfx::kPalette4444 ||
                       pixelFormat == gfx::kPixelsRunAlpha;
    std::vector<uint32_t> colours{gfx::kColourKey};
    while (static_cast<int>(colours.size()) < wanted) {
        uint32_t c = random() | 0xFF000000u;
        if (alpha && colours.size() % 3 == 1) c = (c & 0x00FFFFFF) | (17 + random() % 222) << 24;
        const uint32_t a = c >> 24;
        uint32_t r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
        if (paletteFormat == gfx::kPalette4444) {
            r = r / 17 * 17, g = g / 17 * 17, b = b / 17 * 17;
            c = (a / 17 * 17) << 24 | r << 16 | g << 8 | b;
        } else if (paletteFormat == gfx::kPalette5515 || paletteFormat == gfx::kPalette6505) {
            const uint32_t gMask = paletteFormat == gfx::kPalette6505 ? 0xFC : 0xF8;
            c = a << 24 | (r & 0xF8) << 16 | (g & gMask) << 8 | (b & 0xF8);
        }
        // With per-pixel alpha the palette holds the colour; the alpha is the pixel's.
        const uint32_t stored = pixelFormat == gfx::kPixelsRunAlpha ? c | 0xFF000000u : c;
        if (tools::paletteRoundTrip(paletteFormat, stored) != stored) {
            // The colour was cut to the format above: only the key's own RGB may come back changed.
            // (Skipping others quietly would let a faulty palette expansion shrink this test.)
            if ((stored & 0xFFFFFF) == (gfx::kColourKey & 0xFFFFFF)) continue;
            ADD_FAILURE() << std::hex << stored << " does not survive palette format " << paletteFormat;
            return colours;
        }
        if (std::find(colours.begin(), colours.end(), c) != colours.end()) continue;
        colours.push_back(c);
    }
    return colours;
}

// The sheet: modules stacked top to bottom, filled with runs of 1 to 300 pixels of every colour.
tools::Picture coverageSheet(const std::vector<uint32_t>& colours, std::mt19937& random) {
    tools::Picture sheet;
    sheet.width = 200;
    for (const ModuleBox& m : kModules) sheet.height += m.h;
    sheet.argb.assign(static_cast<size_t>(sheet.width) * sheet.height, gfx::kColourKey);
    int top = 0;
    size_t next = 0;
    for (const ModuleBox& m : kModules) {
        int left = 0;
        while (left < m.w * m.h) {
            const int run = std::min<int>(1 + random() % (random() % 4 == 0 ? 300 : 4), m.w * m.h - left);
            // Every colour once first, so the palette is as long as the colour list.
            const uint32_t c = next < colours.size() ? colours[next++] : colours[random() % colours.size()];
            for (int k = left; k < left + run; ++k) sheet.argb[static_cast<size_t>(top + k / m.w) * sheet.width + k % m.w] = c;
            left += run;
        }
        top += m.h;
    }
    return sheet;
}

TEST_F(SpriteCompilerCoverageTest, EveryPaletteAndPixelFormatDecodesToTheSheetsPixels) {
    const int paletteFormats[] = {gfx::kPalette8888, gfx::kPalette4444, gfx::kPalette5515, gfx::kPalette6505};
    const int pixelFormats[] = {gfx::kPixels1Bit,       gfx::kPixels2Bit,      gfx::kPixels4Bit,       gfx::kPixelsRunMasked,
                                gfx::kPixelsRunShort,   gfx::kPixelsRunLiteral, gfx::kPixelsRunAlpha};
    TempFolder folder;
    std::mt19937 random(1234);
    bool sawPartialAlpha = false, sawKey = false;
    for (const int paletteFormat : paletteFormats) {
        for (const int pixelFormat : pixelFormats) {
            char name[32];
            std::snprintf(name, sizeof name, "%04X-%04X", paletteFormat, pixelFormat);
            SCOPED_TRACE(name);
            const tools::Picture sheet = coverageSheet(coverageColours(paletteFormat, pixelFormat, random), random);
            std::string error;
            ASSERT_TRUE(tools::writePngPicture(folder.path() / (std::string(name) + ".png"), sheet, error)) << error;
            nlohmann::json source = {{"paletteFormat", std::string(name).substr(0, 4)},
                                     {"pixelFormat", std::string(name).substr(5)},
                                     {"modules", nlohmann::json::array()},
                                     {"frames", nlohmann::json::array()}};
            int top = 0;
            for (const ModuleBox& m : kModules) {
                source["modules"].push_back({{"image", std::string(name) + ".png"}, {"y", top}, {"w", m.w}, {"h", m.h}});
                top += m.h;
            }
            const std::string file = (folder.path() / (std::string(name) + ".json")).string();
            folder.write(std::string(name) + ".json", source.dump());
            std::string bytes;
            ASSERT_TRUE(tools::compileSpriteFile(file, bytes, error)) << error;

            ByteArray* data = Runtime::newByteArray(static_cast<jint>(bytes.size()));
            for (size_t i = 0; i < bytes.size(); ++i) data->set(static_cast<jint>(i), static_cast<jbyte>(bytes[i]));
            auto* sprite = Runtime::make<Bsprite>();
            ASSERT_TRUE(sprite->Load(data, 0));
            EXPECT_EQ(sprite->pixelFormat, static_cast<int16_t>(pixelFormat));
            if (pixelFormat == gfx::kPixelsRunAlpha) {
                // Per-pixel alpha: whatever the palette says, the sprite has both kinds of alpha.
                EXPECT_TRUE(sprite->hasTransparency);
                EXPECT_TRUE(sprite->hasPartialAlpha);
            }
            // 32-bit module sizes only where a module's data needs them (some 256-colour literals do).
            EXPECT_EQ(sprite->dataFlags & ASprite::kFlagComputeRects, 0);
            ASSERT_EQ(sprite->moduleCount, static_cast<jint>(std::size(kModules)));
            top = 0;
            for (jint m = 0; m < sprite->moduleCount; ++m) {
                const ModuleBox box = kModules[m];
                IntArray* pixels = sprite->DecodeModule(m);
                ASSERT_NE(pixels, nullptr) << m;
                int mismatches = 0;
                for (int k = 0; k < box.w * box.h; ++k) {
                    const uint32_t want = sheet.argb[static_cast<size_t>(top + k / box.w) * sheet.width + k % box.w];
                    sawKey |= want == gfx::kColourKey;
                    sawPartialAlpha |= (want >> 24) != 0 && (want >> 24) != 0xFF;
                    mismatches += static_cast<uint32_t>(pixels->get(k)) != want;
                }
                EXPECT_EQ(mismatches, 0) << "module " << m;
                top += box.h;
            }
        }
    }
    EXPECT_TRUE(sawKey);
    EXPECT_TRUE(sawPartialAlpha);
}

// The fonts the build renders load through the engine with every glyph decodable in every palette.
TEST_F(SpriteCompilerCoverageTest, TheGamesFontsLoadAndDecode) {
    for (int n = 0; n < 3; ++n) {
        const std::string file = std::string(BRINDLEX_FIXTURES) + "/../../assets/fonts.pack/font" + std::to_string(n) + ".json";
        SCOPED_TRACE(file);
        tools::SpriteDefinition font;
        std::string bytes, error;
        ASSERT_TRUE(tools::renderSpriteFont(file, font, error)) << error;
        ASSERT_TRUE(tools::writeSprite(font, file, bytes, error)) << error;
        ByteArray* data = Runtime::newByteArray(static_cast<jint>(bytes.size()));
        for (size_t i = 0; i < bytes.size(); ++i) data->set(static_cast<jint>(i), static_cast<jbyte>(bytes[i]));
        auto* sprite = Runtime::make<Bsprite>();
        ASSERT_TRUE(sprite->Load(data, 0));
        EXPECT_EQ(sprite->frameCount, static_cast<jint>(font.frames.size()));
        EXPECT_EQ(sprite->paletteCount, static_cast<jint>(font.palettes.size()));
        EXPECT_TRUE(sprite->hasPartialAlpha);
        for (jint p = 0; p < sprite->paletteCount; ++p) {
            sprite->SetCurrentPalette(p);
            for (jint m = 1; m < sprite->moduleCount; ++m) {
                IntArray* pixels = sprite->DecodeModule(m);
                ASSERT_NE(pixels, nullptr) << m;
                const tools::SpriteModule& module = font.modules[m];
                int mismatches = 0;
                for (size_t k = 0; k < module.indices.size(); ++k)
                    mismatches += static_cast<uint32_t>(pixels->get(static_cast<jint>(k))) != font.palettes[p][module.indices[k]];
                EXPECT_EQ(mismatches, 0) << m;
            }
        }
    }
}

}  // namespace
