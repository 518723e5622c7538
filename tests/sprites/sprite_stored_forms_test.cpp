// The sprite's other stored forms and cache tools: a whole indexed PNG recoloured per palette,
// modules stored as colours, pictures cached per frame and drawn whole, extra cache rows, and the
// rectangle copy between ARGB arrays.
#include <gtest/gtest.h>

#include <zlib.h>

#include <string>
#include <vector>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bsprite.h"
#include "tests/runtime/runtime_fixture.h"
#include "tests/sprites/paint_sprite.h"
#include "tests/sprites/sprite_bytes.h"

namespace {

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

class SpriteStoredFormsTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        resetPaintStatics();
    }
    void TearDown() override {
        resetPaintStatics();
        RuntimeTest::TearDown();
    }
    static Bsprite* sample() {
        auto* sprite = Runtime::make<Bsprite>();
        sprite->init();
        EXPECT_TRUE(sprite->Load(sampleSprite(kSmallForms).array(), 0));
        return sprite;
    }
    static std::vector<jint> pixelsOf(Image* image) {
        IntArray* out = Runtime::newIntArray(image->m_width * image->m_height);
        image->getRGB(out, 0, image->m_width, 0, 0, image->m_width, image->m_height);
        return {out->elements(), out->elements() + out->length};
    }
};

// PNG pieces written the way a PNG encoder writes them (big-endian lengths, zlib checksums).
void chunk(std::string& png, const char* name, const std::string& data) {
    for (int i = 3; i >= 0; --i) png += static_cast<char>(data.size() >> (8 * i));
    const std::string body = name + data;
    png += body;
    const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
    for (int i = 3; i >= 0; --i) png += static_cast<char>(crc >> (8 * i));
}

// A 4 x 1 picture of indices 0 1 2 3, colour type 3, with the given header tail and 4 colours.
std::string indexedPng(const std::string& tail = {8, 3, 0, 0, 0}) {
    std::string png = "\x89PNG\r\n\x1A\n";
    chunk(png, "IHDR", std::string("\0\0\0\x04\0\0\0\x01", 8) + tail);
    chunk(png, "PLTE", std::string("\xFF\0\0\0\xFF\0\0\0\xFF\xFF\xFF\xFF", 12));
    chunk(png, "tRNS", std::string("\0\xFF\xFF\xFF", 4));
    const std::string raw("\0\0\1\2\3", 5);
    std::vector<Bytef> packed(compressBound(raw.size()));
    uLongf packedSize = packed.size();
    compress(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(raw.data()), raw.size());
    chunk(png, "IDAT", std::string(packed.begin(), packed.begin() + static_cast<long>(packedSize)));
    chunk(png, "IEND", "");
    return png;
}

TEST_F(SpriteStoredFormsTest, PalettedPngDecodesInEveryPaletteItCarries) {
    const std::string png = indexedPng();
    SpriteBytes s;
    s.u16(static_cast<uint32_t>(png.size()));
    for (char c : png) s.u8(static_cast<uint8_t>(c));
    s.u8(2).u8(4);
    // Palette 1: black, grey, yellow, green; index 3 half-transparent in the PNG's own terms.
    for (uint32_t b : {0x00u, 0x00u, 0x00u, 0x80u, 0x80u, 0x80u, 0xFFu, 0xFFu, 0x00u, 0x00u, 0xFFu, 0x00u}) s.u8(b);
    for (uint32_t a : {0xFFu, 0xFFu, 0xFFu, 0x00u}) s.u8(a);
    s.u8(0x5A);   // what follows the block
    auto* sprite = Runtime::make<Bsprite>();
    sprite->init();
    ByteArray* data = s.array();
    EXPECT_EQ(sprite->BuildPaletteImageData(0, data), data->length - 1);

    Image* first = sprite->CreatePaletteImage(0);
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first->m_width, 4);
    EXPECT_EQ(pixelsOf(first)[1] & 0xFFFFFF, 0x00FF00);
    EXPECT_EQ(pixelsOf(first)[3] & 0xFFFFFF, 0xFFFFFF);
    EXPECT_EQ(static_cast<uint32_t>(pixelsOf(first)[0]) >> 24, 0u);
    Image* second = sprite->CreatePaletteImage(1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(pixelsOf(second)[0] & 0xFFFFFF, 0x000000);
    EXPECT_EQ(static_cast<uint32_t>(pixelsOf(second)[0]) >> 24, 0xFFu);
    EXPECT_EQ(pixelsOf(second)[2] & 0xFFFFFF, 0xFFFF00);
    EXPECT_EQ(static_cast<uint32_t>(pixelsOf(second)[3]) >> 24, 0u);
    EXPECT_EQ(sprite->CreatePaletteImage(2), nullptr);
}

TEST_F(SpriteStoredFormsTest, PalettedPngIsRefusedUnlessItsChunksAreWhereTheFormatSays) {
    struct Case {
        const char* what;
        std::string png;
        uint32_t palettes, extraBytes;
    };
    std::string badSignature = indexedPng();
    badSignature[1] = 'Q';
    std::string noAlpha = indexedPng();
    noAlpha[3 * 4 + 49] = 'x';   // the tRNS name
    const Case cases[] = {
        {"signature", badSignature, 1, 0},
        {"true-colour header", indexedPng({8, 6, 0, 0, 0}), 1, 0},
        {"tRNS not after PLTE", noAlpha, 1, 0},
        {"no palette", indexedPng(), 0, 0},
        {"second palette cut short", indexedPng(), 2, 15},
        {"cut inside the PLTE chunk", indexedPng().substr(0, 44), 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SpriteBytes s;
        s.u16(static_cast<uint32_t>(c.png.size()));
        for (char ch : c.png) s.u8(static_cast<uint8_t>(ch));
        s.u8(c.palettes).u8(4);
        for (uint32_t i = 0; i < c.extraBytes; ++i) s.u8(0);
        auto* sprite = Runtime::make<Bsprite>();
        sprite->init();
        EXPECT_EQ(sprite->BuildPaletteImageData(0, s.array()), -1);
        EXPECT_EQ(sprite->imageData, nullptr);
        EXPECT_EQ(sprite->CreatePaletteImage(0), nullptr);
    }
}

TEST_F(SpriteStoredFormsTest, TrueColourModulesBecomeTheArgbCacheInEachFormat) {
    struct Case {
        uint32_t format;
        std::vector<uint8_t> pixel;   // one pixel's bytes, repeated for module 0's six pixels
        uint32_t argb;
    };
    const Case cases[] = {
        {0x8888, {0x30, 0x20, 0x10, 0x80}, 0x80102030},
        {0x8888, {0xFF, 0x00, 0xFF, 0xC0}, 0x00FF00FF},   // the colour key, whatever its alpha
        {0x8808, {0x30, 0x20, 0x10}, 0xFF102030},
        {0x4444, {0x5A, 0xF3}, 0xFF3355AA},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.format << " " << c.argb);
        Bsprite* sprite = sample();
        SpriteBytes s;
        s.u16(c.format).u8(2);
        for (int palette = 0; palette < 2; ++palette) {
            s.u32(6 * static_cast<uint32_t>(c.pixel.size()));
            for (int i = 0; i < 6; ++i) {
                for (uint8_t b : c.pixel) s.u8(b);
            }
            s.u32(0).u32(0);   // the rectangle and the triangle carry no pixels
        }
        ByteArray* data = s.array();
        ASSERT_EQ(sprite->LoadTrueColorModules(0, data), data->length);
        EXPECT_EQ(sprite->paletteCount, 2);
        for (jint palette : {0, 1}) {
            IntArray* module = sprite->GetModuleArgb(0, palette);
            ASSERT_NE(module, nullptr);
            ASSERT_EQ(module->length, 6);
            EXPECT_EQ(static_cast<uint32_t>(module->get(5)), c.argb);
        }
        EXPECT_EQ(sprite->GetModuleArgb(1, 0), nullptr);
        EXPECT_EQ(sprite->hasTransparency, (c.argb >> 24) != 0xFF);
    }
}

TEST_F(SpriteStoredFormsTest, TrueColourModulesWithAWrongCountOrFormatLeaveTheCacheAlone) {
    struct Case {
        const char* what;
        uint32_t format, bytes;
    };
    const Case cases[] = {{"count off by one pixel", 0x8888, 20}, {"unknown format", 0x5551, 12},
                          {"count past the data", 0x4444, 0x7FFFFFF0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bsprite* sprite = sample();
        SpriteBytes s;
        s.u16(c.format).u8(1).u32(c.bytes);
        for (int i = 0; i < 24; ++i) s.u8(0xFF);
        s.u32(0).u32(0);
        EXPECT_EQ(sprite->LoadTrueColorModules(0, s.array()), -1);
        EXPECT_EQ(sprite->argbCache, nullptr);
        EXPECT_EQ(sprite->paletteCount, 2);
    }
}

TEST_F(SpriteStoredFormsTest, AddedPaletteRowCanShareAndReportCachedModules) {
    Bsprite* sprite = sample();
    EXPECT_EQ(sprite->AddPaletteCache(3), -1);   // no cache table yet
    sprite->BuildModuleCache(0, 0, -1, -1);
    EXPECT_TRUE(sprite->IsModuleCached(0, 0));
    EXPECT_FALSE(sprite->IsModuleCached(0, 1));
    EXPECT_FALSE(sprite->IsModuleCached(1, 0));   // a shape is never cached
    EXPECT_FALSE(sprite->IsModuleCached(7, 0));
    EXPECT_FALSE(sprite->IsModuleCached(0, -1));

    // A row shorter than the module count still holds every module.
    EXPECT_EQ(sprite->AddPaletteCache(1), 2);
    EXPECT_EQ(sprite->paletteCount, 3);
    sprite->BuildModuleCache(2, 0, -1, 0);
    EXPECT_TRUE(sprite->IsModuleCached(0, 2));
    EXPECT_EQ(sprite->GetModuleImage(0, 2), sprite->GetModuleImage(0, 0));
    sprite->SetCurrentPalette(2);
    EXPECT_EQ(sprite->currentPalette, 2);

    Bsprite::SetNoCacheFlag(sprite, true);
    sprite->BuildModuleCache(1, 0, -1, -1);
    EXPECT_TRUE(sprite->IsModuleCached(0, 1));   // the ARGB table answers too
}

TEST_F(SpriteStoredFormsTest, FrameImageLandsOnTheFrameRectangleMirroredAndTurned) {
    Bsprite* sprite = loadPaintSprite();
    ASSERT_NE(sprite, nullptr);
    constexpr jint kFrame = 5, kLeft = 60, kTop = 70;
    const jint fx = sprite->GetFrameX(kFrame), fy = sprite->GetFrameY(kFrame);
    const jint fw = sprite->GetFrameWidth(kFrame), fh = sprite->GetFrameHeight(kFrame);
    ASSERT_GT(fw, 1);
    ASSERT_GT(fh, 1);
    ASSERT_NE(fw, fh);
    IntArray* white = Runtime::newIntArray(fw * fh);
    for (jint i = 0; i < white->length; ++i) white->set(i, static_cast<jint>(0xFFFFFFFF));

    // The frame's rectangle is in screen terms: the picture's corner is the point moved by it.
    struct Case {
        jint flags;
        bool argb;
        jint dx, dy, w, h;
    };
    const Case cases[] = {
        {0, false, fx, fy, fw, fh},      {1, false, -fx - fw, fy, fw, fh},
        {2, false, fx, -fy - fh, fw, fh}, {4, false, fy, fx, fh, fw},
        {0, true, fx, fy, fw, fh},       {7, true, -fy - fh, -fx - fw, fh, fw},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << c.flags << (c.argb ? " ARGB" : " Image"));
        Bsprite::SetNoCacheFlag(sprite, c.argb);
        sprite->imageCache = sprite->argbCache = nullptr;
        Graphics* g = nullptr;
        Image* target = Image::createImage(200, 200);
        g = target->getGraphics();
        g->setColor(0);
        g->fillRect(0, 0, 200, 200);
        EXPECT_FALSE(sprite->PaintFrameImage(g, kFrame, kLeft - c.dx, kTop - c.dy, c.flags));
        ASSERT_TRUE(sprite->EnsurePaletteCache(0));
        auto* row = static_cast<ObjectArray*>((c.argb ? sprite->argbCache : sprite->imageCache)->get(0));
        if (c.argb) {
            row->set(kFrame, white);
        } else {
            row->set(kFrame, Image::createRGBImage(white, fw, fh, false));
        }
        ASSERT_TRUE(sprite->PaintFrameImage(g, kFrame, kLeft - c.dx, kTop - c.dy, c.flags));
        IntArray* seen = Runtime::newIntArray(200 * 200);
        target->getRGB(seen, 0, 200, 0, 0, 200, 200);
        jint minX = 200, minY = 200, maxX = -1, maxY = -1;
        for (jint i = 0; i < seen->length; ++i) {
            if ((seen->get(i) & 0xFFFFFF) == 0) continue;
            minX = std::min(minX, i % 200);
            maxX = std::max(maxX, i % 200);
            minY = std::min(minY, i / 200);
            maxY = std::max(maxY, i / 200);
        }
        EXPECT_EQ(minX, kLeft);
        EXPECT_EQ(minY, kTop);
        EXPECT_EQ(maxX - minX + 1, c.w);
        EXPECT_EQ(maxY - minY + 1, c.h);
    }
}

TEST_F(SpriteStoredFormsTest, RectangleCopyCutsAtTheSourceEdgesAndRefusesBadTargets) {
    // Source 4 x 3 holding 1..12; target 8 x 4 of zeros.
    struct Case {
        const char* what;
        jint srcLength, dstOffset, dstStride, x, y, w, h;
        std::vector<jint> wantRows;   // the target's first two rows (16 values), or empty: untouched
    };
    const Case cases[] = {
        {"inside", 12, 1, 8, 1, 1, 2, 2, {0, 6, 7, 0, 0, 0, 0, 0, 0, 10, 11, 0, 0, 0, 0, 0}},
        {"cut at the right and bottom", 12, 0, 8, 2, 1, 9, 9, {7, 8, 0, 0, 0, 0, 0, 0, 11, 12, 0, 0, 0, 0, 0, 0}},
        {"stride of one row back", 12, 8, -8, 0, 0, 2, 2, {5, 6, 0, 0, 0, 0, 0, 0, 1, 2, 0, 0, 0, 0, 0, 0}},
        {"negative x", 12, 0, 8, -1, 0, 2, 2, {}},
        {"rows past the target", 12, 20, 8, 0, 0, 4, 3, {}},
        {"source shorter than its size", 11, 0, 8, 0, 0, 2, 2, {}},
        {"start past the source", 12, 0, 8, 4, 0, 2, 2, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        IntArray* src = Runtime::newIntArray(c.srcLength);
        for (jint i = 0; i < c.srcLength; ++i) src->set(i, i + 1);
        IntArray* dst = Runtime::newIntArray(32);
        ASprite::CopyRGBRect(src, 4, 3, dst, c.dstOffset, c.dstStride, c.x, c.y, c.w, c.h);
        std::vector<jint> want = c.wantRows;
        want.resize(32, 0);
        EXPECT_EQ(std::vector<jint>(dst->elements(), dst->elements() + 32), want);
    }
}

}  // namespace
