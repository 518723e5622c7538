// Loading sprites written by the tests: every table in both field widths, the module kinds, the
// flags that change the layout, decoding through the palettes, and malformed data refused whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bsprite.h"
#include "tests/sprites/sprite_bytes.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_world.h"

namespace {

class SpriteLoadTest : public TestWorld {
protected:
    void SetUp() override {
        TestWorld::SetUp();
        resetBuffers();
    }
    void TearDown() override {
        resetBuffers();
        TestWorld::TearDown();
    }
    static void resetBuffers() {
        ASprite::s_rgbPrimary = nullptr;
        ASprite::s_rgbSecondary = nullptr;
        ASprite::s_poolOwners = ASprite::s_poolSprites = nullptr;
        ASprite::s_poolNext = ASprite::s_poolSize = nullptr;
    }
    static Bsprite* load(const SpriteBytes& bytes, bool* ok = nullptr) {
        ByteArray* data = bytes.array();
        auto* sprite = Runtime::make<Bsprite>();
        const bool loaded = sprite->Load(data, 0);
        if (ok) *ok = loaded;
        return sprite;
    }
    static std::vector<jint> bytes(Array* a) {
        std::vector<jint> v;
        for (jint i = 0; a && i < a->length; ++i) v.push_back(Array::getByte(a, i));
        return v;
    }
    static std::vector<jint> ints(Array* a) {
        std::vector<jint> v;
        for (jint i = 0; a && i < a->length; ++i) v.push_back(Array::getInt32(a, i));
        return v;
    }
    static std::vector<jint> shorts(Array* a) {
        std::vector<jint> v;
        for (jint i = 0; a && i < a->length; ++i) v.push_back(Array::getShort(a, i));
        return v;
    }
};

TEST_F(SpriteLoadTest, ReadsEveryTableInSmallAndWideForms) {
    for (uint32_t flags : {kSmallForms, kWideForms}) {
        SCOPED_TRACE(flags);
        const bool wide = flags & 0x400;
        bool ok = false;
        Bsprite* s = load(sampleSprite(flags), &ok);
        ASSERT_TRUE(ok);
        EXPECT_EQ(s->dataFlags, static_cast<jint>(flags));
        EXPECT_EQ(s->moduleCount, 3);
        EXPECT_EQ(bytes(s->moduleKinds), (std::vector<jint>{0, 2, 7}));
        EXPECT_EQ(shorts(s->modulesW), (std::vector<jint>{3, 5, 0}));
        EXPECT_EQ(shorts(s->modulesH), (std::vector<jint>{2, 4, 0}));
        EXPECT_EQ(s->moduleColours->get(1), static_cast<jint>(0x80FF0000));
        EXPECT_EQ(s->moduleColours->get(0), 0);
        if (flags & 0x20) {
            EXPECT_EQ(shorts(s->modulesX), (std::vector<jint>{7, 0, 0}));
            EXPECT_EQ(shorts(s->modulesY), (std::vector<jint>{-8, 0, 0}));
        } else {
            EXPECT_EQ(s->modulesX, nullptr);
        }
        EXPECT_EQ(shorts(s->shapeIndex), (std::vector<jint>{2, 0}));
        EXPECT_EQ(shorts(s->shapeParams), (std::vector<jint>{1, 2, -3, 4}));

        EXPECT_EQ(bytes(s->fmModule), (std::vector<jint>{0, 2}));
        EXPECT_EQ(shorts(s->fmOffX), (std::vector<jint>{-2, 5}));
        EXPECT_EQ(shorts(s->fmOffY), (std::vector<jint>{3, -6}));
        EXPECT_EQ(bytes(s->fmFlags), (std::vector<jint>{1, 4}));

        EXPECT_EQ(s->frameCount, 2);
        EXPECT_EQ(bytes(s->frameFmCount), (std::vector<jint>{2, 1}));
        EXPECT_EQ(shorts(s->frameFmFirst), (std::vector<jint>{0, 1}));
        EXPECT_EQ(shorts(s->frameBoxFirst), (std::vector<jint>{0, 0, 1}));
        ASSERT_NE(s->frameRects, nullptr);
        EXPECT_EQ(s->frameRects->elementSize(), wide ? 2 : 1);
        EXPECT_EQ(s->frameBoxes->elementSize(), wide ? 2 : 1);
        const auto rects = wide ? shorts(s->frameRects) : bytes(s->frameRects);
        EXPECT_EQ(rects, (std::vector<jint>{-2, 3, 5, 2, 1, -6, wide ? 250 : -6, 9}));   // w read back unsigned
        // Offsets are signed, sizes unsigned: a 250-pixel width stored in a byte is still 250.
        EXPECT_EQ((std::vector<jint>{s->GetFrameX(1), s->GetFrameY(1), s->GetFrameWidth(1), s->GetFrameHeight(1)}),
                  (std::vector<jint>{1, -6, 250, 9}));
        const auto boxes = wide ? shorts(s->frameBoxes) : bytes(s->frameBoxes);
        EXPECT_EQ(boxes, (std::vector<jint>{1, -2, 10, wide ? 200 : -56}));

        EXPECT_EQ(bytes(s->afFrame), (std::vector<jint>{0, 1, 0}));
        EXPECT_EQ(bytes(s->afTime), (std::vector<jint>{3, 5, -1}));
        EXPECT_EQ(shorts(s->afOffX), (std::vector<jint>{-1, 4, 0}));
        EXPECT_EQ(shorts(s->afOffY), (std::vector<jint>{2, -4, 0}));
        EXPECT_EQ(bytes(s->afFlags), (std::vector<jint>{0, 2, 3}));
        EXPECT_EQ(bytes(s->animAfCount), (std::vector<jint>{3}));
        EXPECT_EQ(shorts(s->animAfFirst), (std::vector<jint>{0}));

        ASSERT_NE(s->moduleMaps, nullptr);
        EXPECT_EQ(s->moduleMaps->length, 16);
        EXPECT_EQ(s->currentModuleMap, -1);
        EXPECT_EQ(s->paletteCount, 2);
        EXPECT_EQ(s->colourCount, 4);
        EXPECT_TRUE(s->hasTransparency);
        EXPECT_FALSE(s->hasPartialAlpha);
        EXPECT_EQ(s->pixelFormat, 0x1600);
        EXPECT_EQ(ints(s->moduleDataOffsets), (std::vector<jint>{0, 3, 3, 3}));
        EXPECT_EQ(s->GetModuleDataOffset(1), 3);
        EXPECT_EQ(s->GetModuleDataOffset(3), -1);

        // Module 0 through each palette; shape modules decode to nothing.
        IntArray* pixels = s->DecodeModule(0);
        ASSERT_NE(pixels, nullptr);
        const jint p0[] = {0x00FF00FF, static_cast<jint>(0xFF111111), static_cast<jint>(0xFF222222),
                           static_cast<jint>(0xFF333333), static_cast<jint>(0xFF222222), static_cast<jint>(0xFF111111)};
        for (jint i = 0; i < 6; ++i) EXPECT_EQ(pixels->get(i), p0[i]) << i;
        s->SetCurrentPalette(1);
        ASSERT_EQ(s->DecodeModule(0), pixels);
        EXPECT_EQ(pixels->get(3), static_cast<jint>(0xFFCCCCCC));
        EXPECT_EQ(s->DecodeModule(1), nullptr);
        EXPECT_EQ(s->DecodeModule(3), nullptr);
    }
}

TEST_F(SpriteLoadTest, LayoutFlagsAndEmptySections) {
    // Rectangles computed at load are not stored: the frame section has no rectangle values, the
    // sections after it still line up, and the table is measured instead (16-bit, 4 per frame).
    bool ok = false;
    Bsprite* s = load(sampleSprite(0x1000), &ok);
    ASSERT_TRUE(ok);
    ASSERT_NE(s->frameRects, nullptr);
    EXPECT_EQ(s->frameRects->length, 8);
    EXPECT_EQ(s->frameRects->elementSize(), 2);
    EXPECT_EQ(s->animCount, 1);
    EXPECT_EQ(s->frameBoxes, nullptr);
    EXPECT_EQ(s->palettes, nullptr);   // no image section flag

    // Module count 0: no module maps, no image section even with the flag; counts with the top bit
    // set are empty sections.
    SpriteBytes empty;
    empty.u16(0).u32(0x01000000).u16(0).u16(0x8000).u16(0xFFFF).u16(0).u16(0);
    empty.u16(0x8888).u8(1).u8(1).u32(0xFF000000).u16(0x0200);
    s = load(empty, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(s->moduleCount, 0);
    EXPECT_EQ(s->frameModuleCount, 0);
    EXPECT_EQ(s->frameCount, 0);
    EXPECT_EQ(s->moduleMaps, nullptr);
    EXPECT_EQ(s->palettes, nullptr);

    // Every module kind and the fields each carries.
    SpriteBytes kinds;
    kinds.u16(0).u32(0).u16(8);
    kinds.u8(0x00).u8(1).u8(2);
    kinds.u8(0xFF).u32(0x11).u8(3).u8(4);
    kinds.u8(0xFE).u32(0x22).u8(5).u8(6);
    kinds.u8(0xFD).u8(7).u8(8);
    kinds.u8(0xFC).u32(0x33).u8(9).u8(10).u16(0).u16(90);
    kinds.u8(0xFB).u32(0x44).u8(11).u8(12).u16(45).u16(180);
    kinds.u8(0xFA).u32(0x55).u16(1).u16(2).u16(3).u16(4);
    kinds.u8(0xF9).u32(0x66).u16(5).u16(6).u16(7).u16(8);
    kinds.u16(0).u16(0).u16(0).u16(0);
    s = load(kinds, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(bytes(s->moduleKinds), (std::vector<jint>{0, 1, 2, 5, 3, 4, 6, 7}));
    EXPECT_EQ(shorts(s->modulesW), (std::vector<jint>{1, 3, 5, 7, 9, 11, 0, 0}));
    EXPECT_EQ(s->moduleColours->get(3), 0);
    EXPECT_EQ(s->moduleColours->get(7), 0x66);
    EXPECT_EQ(shorts(s->shapeIndex), (std::vector<jint>{4, 0, 5, 2, 6, 4, 7, 8}));
    EXPECT_EQ(shorts(s->shapeParams), (std::vector<jint>{0, 90, 45, 180, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(s->moduleMaps->length, 16);

    // Unload forgets the tables and the pixels; decoding then answers null.
    s = load(sampleSprite(kSmallForms), &ok);
    ASSERT_TRUE(ok);
    s->Unload();
    EXPECT_EQ(s->modulesW, nullptr);
    EXPECT_EQ(s->frameRects, nullptr);
    EXPECT_EQ(s->imageData, nullptr);
    EXPECT_EQ(s->palettes->get(0), nullptr);
    EXPECT_EQ(s->DecodeModule(0), nullptr);
}

TEST_F(SpriteLoadTest, PaletteAndBufferRules) {
    bool ok = false;
    Bsprite* s = load(sampleSprite(kSmallForms), &ok);
    ASSERT_TRUE(ok);
    s->SetCurrentPalette(2);   // = palette count: unchanged
    EXPECT_EQ(s->currentPalette, 0);
    s->SetCurrentPalette(-1);
    EXPECT_EQ(s->currentPalette, 0);
    s->palettes->set(0, nullptr);
    EXPECT_EQ(s->DecodeModule(0), nullptr);

    IntArray* primary = ASprite::GetRGBBuffer(nullptr);
    IntArray* secondary = ASprite::GetRGBBuffer(primary);
    EXPECT_NE(primary, secondary);
    EXPECT_EQ(primary->length, 40960);
    EXPECT_EQ(ASprite::GetRGBBuffer(secondary), primary);

    ShortArray* dest = Runtime::newShortArray(3);
    ByteArray* data = SpriteBytes().u16(0xFFFF).u16(7).array();
    EXPECT_EQ(ASprite::ReadShorts(data, 0, dest, 1, 2), 4);
    EXPECT_EQ(shorts(dest), (std::vector<jint>{0, -1, 7}));
    EXPECT_EQ(ASprite::ReadShorts(data, 2, dest, 0, 2), -1);   // data too short
    EXPECT_EQ(ASprite::ReadShorts(data, 0, dest, 2, 2), -1);   // destination too short

    Bsprite::SetNoCacheFlag(s, true);
    EXPECT_EQ(s->cacheModeFlags, 1);
    Bsprite::SetNoCacheFlag(s, false);
    EXPECT_EQ(s->cacheModeFlags, 0);
}

// A module cached as an Image keeps its alpha whenever some pixel is not opaque, also when none is
// fully transparent: drawn over black, half-transparent white comes out grey.
TEST_F(SpriteLoadTest, ModuleOfOnlyPartialAlphaIsCachedWithItsAlpha) {
    struct Case {
        uint32_t colour;
        bool blended;
    };
    for (const Case c : {Case{0x80FFFFFF, true}, Case{0xFFFFFFFF, false}}) {
        SCOPED_TRACE(testing::Message() << std::hex << c.colour);
        bool ok = false;
        Bsprite* s = load(sampleSprite(kSmallForms), &ok);
        ASSERT_TRUE(ok);
        auto* palette = static_cast<IntArray*>(s->palettes->get(0));
        for (jint i = 0; i < palette->length; ++i) palette->set(i, static_cast<jint>(c.colour));
        s->BuildModuleCache(0, 0, -1, -1);
        auto* image = static_cast<javax_microedition_lcdui_Image*>(s->GetModuleImage(0, 0));
        ASSERT_NE(image, nullptr);
        javax_microedition_lcdui_Image* target = javax_microedition_lcdui_Image::createImage(3, 2);
        javax_microedition_lcdui_Graphics* g = target->getGraphics();
        g->setColor(0);
        g->fillRect(0, 0, 3, 2);
        g->drawImage(image, 0, 0, 0);
        IntArray* seen = Runtime::newIntArray(6);
        target->getRGB(seen, 0, 3, 0, 0, 3, 2);
        const jint red = (seen->get(0) >> 16) & 0xFF;
        if (c.blended) {
            EXPECT_GT(red, 0x60);
            EXPECT_LT(red, 0xA0);
        } else {
            EXPECT_EQ(red, 0xFF);
        }
    }
}

TEST_F(SpriteLoadTest, TransformRGBTurnsAndMirrorsByFlags) {
    // Input 3 x 2: a b c / d e f, as 1..6.
    IntArray* in = Runtime::newIntArray(6);
    for (jint i = 0; i < 6; ++i) in->set(i, i + 1);
    struct Case {
        jint flags, w, h;
        std::vector<jint> out;
    };
    const Case cases[] = {
        {1, 3, 2, {3, 2, 1, 6, 5, 4}},   // mirror left-right
        {2, 3, 2, {4, 5, 6, 1, 2, 3}},   // mirror top-bottom
        {3, 3, 2, {6, 5, 4, 3, 2, 1}},   // both
        {4, 2, 3, {4, 1, 5, 2, 6, 3}},   // quarter turn clockwise
        {5, 2, 3, {6, 3, 5, 2, 4, 1}},
        {6, 2, 3, {1, 4, 2, 5, 3, 6}},
        {7, 2, 3, {3, 6, 2, 5, 1, 4}},
    };
    for (const auto& c : cases) {
        IntArray* out = ASprite::TransformRGB(in, c.w, c.h, c.flags);
        ASSERT_NE(out, nullptr) << c.flags;
        EXPECT_EQ(out, ASprite::s_rgbPrimary) << c.flags;
        std::vector<jint> got;
        for (jint i = 0; i < 6; ++i) got.push_back(out->get(i));
        EXPECT_EQ(got, c.out) << c.flags;
    }
    EXPECT_EQ(ASprite::TransformRGB(in, 3, 2, 8), in);   // flags & 7 = 0: the input itself
    EXPECT_EQ(ASprite::TransformRGB(ASprite::s_rgbPrimary, 3, 2, 1), ASprite::s_rgbSecondary);
    EXPECT_EQ(ASprite::TransformRGB(in, 4, 2, 1), nullptr);   // larger than the input
    EXPECT_EQ(ASprite::TransformRGB(in, 0, 2, 1), nullptr);
}

TEST_F(SpriteLoadTest, PoolOfOneSlotEvictsTheOtherSpritesImage) {
    bool ok = false;
    Bsprite* a = load(sampleSprite(kSmallForms), &ok);
    Bsprite* b = load(sampleSprite(kSmallForms), &ok);
    ASSERT_TRUE(ok);
    ASprite::InitCachePools(2);
    ASprite::InitCachePool(1, 1);
    a->SetCachePool(1);
    b->SetCachePool(1);
    ASSERT_NE(a->imageCache, nullptr);
    EXPECT_EQ(a->imageCache->length, 2);   // every palette's row
    auto row = [](ASprite* s, jint p) { return static_cast<ObjectArray*>(s->imageCache->get(p)); };
    IntArray* first = Runtime::newIntArray(1);
    IntArray* second = Runtime::newIntArray(1);
    a->CacheStoreImage(0, first);
    EXPECT_EQ(row(a, 0)->get(0), first);
    a->CacheStoreImage(0, second);          // already cached: kept
    EXPECT_EQ(row(a, 0)->get(0), first);
    b->SetCurrentPalette(1);
    b->CacheStoreImage(0, second);
    EXPECT_EQ(row(a, 0)->get(0), nullptr);  // evicted
    EXPECT_EQ(row(b, 1)->get(0), second);
    // The owner's cache is gone before its slot comes round: nothing to clear, nothing broken.
    b->Unload();
    b->imageCache = nullptr;
    a->CacheStoreImage(1, first);
    EXPECT_EQ(row(a, 0)->get(1), first);
    // Without a pool, or a pool never made, nothing is stored.
    Bsprite* c = load(sampleSprite(kSmallForms), &ok);
    c->SetCachePool(0);
    c->CacheStoreImage(0, first);
    EXPECT_EQ(row(c, 0)->get(0), nullptr);
    c->SetCachePool(-1);
    c->CacheStoreImage(0, first);
    EXPECT_EQ(row(c, 0)->get(0), nullptr);
    ASprite::FreeCachePool(1);
    a->CacheStoreImage(2, first);
    EXPECT_EQ(row(a, 0)->get(2), nullptr);
}

// Patches one byte of the sample sprite (small forms) at `at`.
SpriteBytes patched(size_t at, uint8_t value) {
    SpriteBytes s = sampleSprite(kSmallForms);
    s.b.at(at) = value;
    return s;
}

TEST_F(SpriteLoadTest, MalformedSpritesAreRefusedWhole) {
    // Byte positions in the small-form sample: header 6, module count 2, module 0 at 8 (kind, w, h),
    // module 1 at 11, module 2 at 18, frame-module count at 31, records at 33 and 37, box count at
    // 41, box values at 43, frame count at 47, frame records at 49 and 54, rectangles at 59,
    // animation-frame count at 67, records at 69, 74, 79, animation count at 84, record at 86,
    // image section at 90: palette count at 92, pixel format at 126, module sizes from 128.
    struct Case {
        const char* name;
        SpriteBytes bytes;
    };
    const Case cases[] = {
        {"unknown module kind", patched(8, 0x42)},
        {"frame-module names a module past the table", patched(33, 3)},
        {"frame-module's high index bits past the table", patched(36, 0x41)},
        {"frame's frame-modules run past the table", patched(49, 3)},
        {"frame's first frame-module negative", patched(52, 0xFF)},
        {"frame's boxes past the box table", patched(58, 2)},
        {"frame's box count negative", patched(58, 0xFF)},
        {"animation frame names a missing frame", patched(69, 2)},
        {"animation's frames run past the table", patched(86, 4)},
        {"more than 16 palettes", patched(92, 17)},
        {"palettes past the data", patched(93, 0xF0)},
        {"module size negative in 16 bits", patched(129, 0x80)},
        {"module size past the data", patched(128, 9)},
    };
    for (const auto& c : cases) {
        LogCapture log;
        bool ok = true;
        Bsprite* s = load(c.bytes, &ok);
        EXPECT_FALSE(ok) << c.name;
        EXPECT_EQ(s->moduleCount, 0) << c.name;
        EXPECT_EQ(s->DecodeModule(0), nullptr) << c.name;
        EXPECT_TRUE(log.contains("sprite: ")) << c.name;
    }
    // Every prefix of a valid sprite: refused, or (once the tables are whole) loaded; never a read
    // past the bytes.
    const SpriteBytes whole = sampleSprite(kWideForms);
    for (size_t n = 0; n < whole.b.size(); ++n) {
        SpriteBytes cut;
        cut.b.assign(whole.b.begin(), whole.b.begin() + static_cast<long>(n));
        bool ok = true;
        Bsprite* s = load(cut, &ok);
        if (ok) {
            EXPECT_EQ(s->DecodeModule(0) == nullptr, s->imageData == nullptr) << n;
        }
    }
    bool ok = false;
    load(whole, &ok);
    EXPECT_TRUE(ok);
    // Start offsets outside the data.
    ByteArray* data = whole.array();
    auto* s = Runtime::make<Bsprite>();
    for (jint offset : {-1, data->length, data->length - 1, 0x7FFFFFFF, static_cast<jint>(0x80000000)}) {
        EXPECT_FALSE(s->Load(data, offset)) << offset;
    }
}

}  // namespace
