// BitmapFont: glyph data checked at load, glyph decoding at 1 and 2 bits per pixel with and without
// the outline, character widths, the three drawing roads giving the same pixels, and the shared
// glyph-image cache (hits, other fonts and tags, wrap-around, no cache at capacity 0).
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/string.h"
#include "sprites/bitmap_font.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_world.h"

namespace {

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

ByteArray* bytes(std::vector<int> values) {
    ByteArray* a = Runtime::newByteArray(static_cast<jint>(values.size()));
    for (size_t i = 0; i < values.size(); ++i) a->elements()[i] = static_cast<jbyte>(values[i]);
    return a;
}

std::vector<uint32_t> pixels(IntArray* a, jint n) {
    std::vector<uint32_t> out;
    for (jint i = 0; i < n; ++i) out.push_back(static_cast<uint32_t>(a->get(i)));
    return out;
}

class BitmapFontTest : public TestWorld {
protected:
    void TearDown() override {
        BitmapFont::staticReset();
        BitmapFont::s_cacheChars = nullptr;
        BitmapFont::s_cacheKeys = nullptr;
        BitmapFont::s_cacheImages = nullptr;
        TestWorld::TearDown();
    }
    // "AB" at 2 bits per pixel, 2 rows: A is 3 wide (1 2 0 / 3 1 0), B 1 wide (2 / 1).
    static BitmapFont* twoBitFont() {
        auto* font = Runtime::make<BitmapFont>();
        EXPECT_TRUE(font->Load(String::fromCString("AB"), bytes({3, 1}), bytes({0xC9, 0x01, 0x06}), 2, 2, 4));
        return font;
    }
    // The 6 x 2 picture of a glyph drawn at (1, 0) on black, read back.
    static std::vector<uint32_t> picture(Image* image) {
        IntArray* out = Runtime::newIntArray(12);
        image->getRGB(out, 0, 6, 0, 0, 6, 2);
        return pixels(out, 12);
    }
};

TEST_F(BitmapFontTest, DecodesPackedPixelsIntoTheFontColours) {
    BitmapFont* font = twoBitFont();
    EXPECT_EQ(pixels(font->DecodeGlyph(0, nullptr), 6), (std::vector<uint32_t>{0x0F000000, 0, 0, 0, 0x0F000000, 0}));
    font->SetColor(0x112233);
    EXPECT_EQ(pixels(font->DecodeGlyph(0, nullptr), 6), (std::vector<uint32_t>{0xFF112233, 0, 0, 0, 0xFF112233, 0}));
    font->SetOutlineColor(0x80445566);
    const uint32_t c = 0xFF112233, o = 0xFF445566;
    IntArray* out = Runtime::newIntArray(8);
    EXPECT_EQ(font->DecodeGlyph(0, out), out);  // a long enough array is reused
    EXPECT_EQ(pixels(out, 6), (std::vector<uint32_t>{c, o, 0, o, c, 0}));
    EXPECT_EQ(pixels(font->DecodeGlyph(1, Runtime::newIntArray(1)), 2), (std::vector<uint32_t>{o, c}));
    EXPECT_EQ(font->DecodeGlyph(2, nullptr), nullptr);
    EXPECT_EQ(font->DecodeGlyph(-1, nullptr), nullptr);

    // One bit per pixel, a glyph crossing a byte: 9 x 1 = bits 0..8.
    auto* one = Runtime::make<BitmapFont>();
    ASSERT_TRUE(one->Load(String::fromCString("x"), bytes({9}), bytes({0x81, 0x01}), 1, 1, 0));
    one->SetColor(0xFFFFFF);
    const uint32_t w = 0xFFFFFFFF;
    EXPECT_EQ(pixels(one->DecodeGlyph(0, nullptr), 9), (std::vector<uint32_t>{w, 0, 0, 0, 0, 0, 0, w, w}));
}

TEST_F(BitmapFontTest, RefusesGlyphDataThatDoesNotHold) {
    LogCapture log;
    struct Case {
        const char* map;
        std::vector<int> widths, bits;
        jint height, bpp;
    };
    const Case cases[] = {
        {"AB", {3, 1}, {0xC9, 0x01}, 2, 2},      // B's byte missing
        {"AB", {3}, {0xC9, 0x01, 0x06}, 2, 2},   // a width missing
        {"A", {-3}, {0, 0, 0}, 2, 2},            // negative width
        {"A", {127}, {0}, 127, 8},               // 127 x 127 bytes wanted
        {"A", {1}, {0}, 1, 3},                   // not a power of two
        {"A", {1}, {0}, 1, 16},
        {"A", {1}, {0}, 0, 1},                   // no rows
    };
    for (const Case& c : cases) {
        auto* font = Runtime::make<BitmapFont>();
        EXPECT_FALSE(font->Load(String::fromCString(c.map), bytes(c.widths), bytes(c.bits), c.height, c.bpp, 0))
            << c.map << " height " << c.height << " bpp " << c.bpp;
        EXPECT_FALSE(font->loaded);
        EXPECT_EQ(font->DecodeGlyph(0, nullptr), nullptr);
    }
    EXPECT_TRUE(log.contains("bitmap font refused"));
}

TEST_F(BitmapFontTest, WidthsAndInstanceNumbers) {
    BitmapFont::staticReset();
    BitmapFont* font = twoBitFont();
    EXPECT_EQ(font->instanceNumber, 0);
    EXPECT_EQ(Runtime::make<BitmapFont>()->instanceNumber, 1);
    const struct {
        jchar c;
        jint width;
    } cases[] = {{'A', 3}, {'B', 1}, {' ', 4}, {'|', 0}, {'C', 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(font->GetCharWidth(c.c), c.width) << static_cast<char>(c.c);
        EXPECT_EQ(font->DrawCharGlyph(nullptr, c.c, 0, 0), c.width) << static_cast<char>(c.c);
    }
}

TEST_F(BitmapFontTest, EveryRoadDrawsTheSamePixels) {
    BitmapFont* font = twoBitFont();
    font->SetColor(0xFF0000);
    font->SetOutlineColor(0x0000FF);
    const uint32_t k = 0xFF000000, r = 0xFFFF0000, b = 0xFF0000FF;
    const std::vector<uint32_t> want = {k, r, b, k, k, k, k, b, r, k, k, k};
    BitmapFont::SetCacheCapacity(4);
    for (int road = 0; road < 4; ++road) {
        SCOPED_TRACE(road);
        Image* image = Image::createImage(6, 2);
        Graphics* g = image->getGraphics();
        g->setColor(0x00FF00);
        jint width = 0;
        switch (road) {
            case 0: font->drawChar(g, 'A', 1, 0), width = 3; break;
            case 1: width = font->DrawCharGlyph(g, 'A', 1, 0); break;
            case 2: width = font->DrawGlyphBits(g, 'A', 1, 0); break;
            case 3: width = font->DrawCharCached(g, 'A', 1, 0); break;
        }
        EXPECT_EQ(width, 3);
        EXPECT_EQ(picture(image), want);
        EXPECT_EQ(static_cast<uint32_t>(g->getColor()), 0xFF00FF00u);  // the Graphics' colour is kept
        Runtime::keepAlive(image);
    }
    // The cached image draws again from the cache after the font's colours change.
    font->SetColor(0x00FF00);
    Image* image = Image::createImage(6, 2);
    EXPECT_EQ(font->DrawCharCached(image->getGraphics(), 'A', 1, 0), 3);
    EXPECT_EQ(picture(image), want);
    Runtime::keepAlive(image);
}

TEST_F(BitmapFontTest, TheCacheKeysByFontAndTagAndReusesItsSlotsInTurn) {
    BitmapFont* a = twoBitFont();
    BitmapFont* other = twoBitFont();
    Image* image = Image::createImage(8, 8);
    Graphics* g = image->getGraphics();
    BitmapFont::SetCacheCapacity(2);

    EXPECT_EQ(a->DrawCharCached(g, 'A', 0, 0), 3);  // miss: slot 1
    EXPECT_EQ(BitmapFont::s_cacheLast, 1);
    Object* first = BitmapFont::s_cacheImages->get(1);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(a->DrawCharCached(g, 'A', 0, 0), 3);  // hit
    EXPECT_EQ(BitmapFont::s_cacheLast, 1);
    EXPECT_EQ(BitmapFont::s_cacheImages->get(1), first);

    EXPECT_EQ(other->DrawCharCached(g, 'A', 0, 0), 3);  // another font: miss, slot 0
    EXPECT_EQ(BitmapFont::s_cacheLast, 0);
    EXPECT_EQ(BitmapFont::s_cacheChars->charAt(0), 'A');
    EXPECT_EQ(BitmapFont::s_cacheChars->charAt(1), 'A');
    EXPECT_EQ(a->DrawCharCached(g, 'A', 0, 0), 3);  // the first font's slot found past the other's
    EXPECT_EQ(BitmapFont::s_cacheLast, 0);

    a->SetCacheTag(5);
    EXPECT_EQ(a->DrawCharCached(g, 'B', 0, 0), 1);  // evicts slot 1
    EXPECT_EQ(BitmapFont::s_cacheLast, 1);
    EXPECT_EQ(BitmapFont::s_cacheChars->charAt(1), 'B');
    EXPECT_EQ(BitmapFont::s_cacheKeys->get(1), 5 | a->instanceNumber << 8);
    EXPECT_EQ(a->DrawCharCached(g, 'C', 0, 0), 0);  // not in the font: nothing cached
    EXPECT_EQ(BitmapFont::s_cacheLast, 1);
    Runtime::keepAlive(image);
}

TEST_F(BitmapFontTest, WithoutACacheGlyphsAreDrawnDirectly) {
    BitmapFont* font = twoBitFont();
    font->SetColor(0xFF0000);
    const jint capacities[] = {0, -3};
    for (jint capacity : capacities) {
        BitmapFont::SetCacheCapacity(capacity);
        EXPECT_EQ(BitmapFont::s_cacheCapacity, 0);
        Image* image = Image::createImage(6, 2);
        EXPECT_EQ(font->DrawCharCached(image->getGraphics(), 'B', 1, 0), 1);
        const std::vector<uint32_t> got = picture(image);
        EXPECT_EQ(got[7], 0xFFFF0000u);  // B's lower pixel (value 1)
        Runtime::keepAlive(image);
    }
    // A font that is not loaded draws and answers nothing.
    auto* empty = Runtime::make<BitmapFont>();
    EXPECT_EQ(empty->DrawCharCached(nullptr, 'A', 0, 0), 0);
    EXPECT_EQ(empty->DrawGlyphBits(nullptr, 'A', 0, 0), 0);
    EXPECT_EQ(empty->GetCharWidth('A'), 0);
}

}  // namespace
