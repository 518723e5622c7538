// Sprites loaded from a pack item: the palette treatments, the module caches of both kinds, dropping
// the pixel data, and missing or refused items answering null.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "sprites/bsprite.h"
#include "tests/sprites/pack_fixture.h"
#include "tests/sprites/sprite_bytes.h"

namespace {

using P = cGamePacks;
using Image = javax_microedition_lcdui_Image;

// A one-sub-file pack of uncompressed items (kind 126).
std::string onePack(const std::vector<std::string>& payloads) {
    std::vector<std::string> items;
    for (const std::string& payload : payloads) items.push_back("\x7E" + payload);
    return packbytes::onePack(items);
}

std::string asString(const SpriteBytes& s) { return {s.b.begin(), s.b.end()}; }

class SpritePackTest : public PackTest {
protected:
    void SetUp() override {
        PackTest::SetUp();
        ASprite::s_rgbPrimary = ASprite::s_rgbSecondary = nullptr;
        SpriteBytes bad = sampleSprite(kSmallForms);
        bad.b.at(33) = 9;   // a frame-module naming a missing module
        // Pack "t" holds the sample at items 5 and 21 (the tile sprite's item) and nothing elsewhere.
        std::vector<std::string> items(22);
        items[5] = items[21] = asString(sampleSprite(kSmallForms));
        packEntries({tools::BarEntry::fromBytes("s", onePack({asString(sampleSprite(kSmallForms)), asString(bad)})),
                     tools::BarEntry::fromBytes("t", onePack(items))});
        P::packOpen(str("s"));
    }
    void TearDown() override {
        ASprite::s_rgbPrimary = ASprite::s_rgbSecondary = nullptr;
        PackTest::TearDown();
    }
    static ObjectArray* row(ObjectArray* cache, jint palette) {
        return cache ? static_cast<ObjectArray*>(cache->get(palette)) : nullptr;
    }
};

TEST_F(SpritePackTest, PaletteTreatmentsAndCaches) {
    // Image caches for palette 0 only; the data stays.
    Bsprite* s = P::loadSpriteFlags(0, 1, true, false);
    ASSERT_NE(s, nullptr);
    ObjectArray* images = row(s->imageCache, 0);
    ASSERT_NE(images, nullptr);
    auto* image = static_cast<Image*>(images->get(0));
    ASSERT_NE(image, nullptr);
    // Kept turned as the portrait screen shows it: the 3 x 2 module is 2 wide and 3 high.
    EXPECT_EQ(image->getWidth(), 2);
    EXPECT_EQ(image->getHeight(), 3);
    EXPECT_EQ(images->get(1), nullptr);   // shape modules are never cached
    EXPECT_EQ(row(s->imageCache, 1), nullptr);
    EXPECT_NE(s->imageData, nullptr);

    // ARGB caches for both palettes with visible colours' alpha set; then the data is dropped and
    // the caches remain.
    s = P::loadSprite(0, 3, 1, 0x80, true, true, true);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->imageData, nullptr);
    EXPECT_EQ(s->palettes, nullptr);
    auto* pixels = static_cast<IntArray*>(row(s->argbCache, 1)->get(0));
    ASSERT_NE(pixels, nullptr);
    ASSERT_EQ(pixels->length, 6);
    EXPECT_EQ(pixels->get(0), 0x00FF00FF);
    EXPECT_EQ(pixels->get(1), static_cast<jint>(0x80AAAAAA));
    EXPECT_EQ(pixels->get(3), static_cast<jint>(0x80CCCCCC));
    EXPECT_EQ(s->DecodeModule(0), nullptr);

    // Alpha from the last palette's red channel.
    s = P::loadSprite(0, 1, 2, 0, false, false, false);
    ASSERT_NE(s, nullptr);
    auto* palette0 = static_cast<IntArray*>(s->palettes->get(0));
    EXPECT_EQ(palette0->get(0), 0x00FF00FF);
    EXPECT_EQ(palette0->get(1), static_cast<jint>(0xAA111111));
    EXPECT_TRUE(s->hasPartialAlpha);
    EXPECT_EQ(s->imageCache, nullptr);

    // Mask 0: no cache, no palette change.
    s = P::loadSprite(0, 0, 1, 0x10, true, false, false);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->imageCache, nullptr);
    EXPECT_EQ(static_cast<IntArray*>(s->palettes->get(0))->get(1), static_cast<jint>(0xFF111111));
}

TEST_F(SpritePackTest, PaletteEditingAndSharedCacheRows) {
    Bsprite* s = P::loadSpriteFlags(0, 0, false, false);
    ASSERT_NE(s, nullptr);
    auto colour = [&](jint p, jint i) { return static_cast<uint32_t>(static_cast<IntArray*>(s->palettes->get(p))->get(i)); };
    s->SetPaletteAlpha(0, 0x80, false, true);   // scaled
    EXPECT_EQ(colour(0, 1), 0x7F111111u);
    EXPECT_EQ(colour(0, 0), 0x00FF00FFu);
    s->SetPaletteAlpha(0, 0x20, false, false);   // every colour, the key included
    EXPECT_EQ(colour(0, 0), 0x20FF00FFu);
    s->SetPaletteColor(1, 0x123456);
    EXPECT_EQ(colour(1, 0), 0x00FF00FFu);
    EXPECT_EQ(colour(1, 1), 0xAA123456u);
    s->SetPaletteColor(7, 0);   // no palette 7: nothing
    s->SetPaletteAlphaFromPalette(0, 9);

    // Palette 1 shares palette 0's decoded entries.
    Bsprite::SetNoCacheFlag(s, true);
    s->BuildModuleCache(0, 0, -1, -1);
    s->BuildModuleCache(1, 0, -1, 0);
    EXPECT_NE(row(s->argbCache, 0)->get(0), nullptr);
    EXPECT_EQ(row(s->argbCache, 1)->get(0), row(s->argbCache, 0)->get(0));
    s->ClearModuleCache();
    EXPECT_EQ(s->argbCache->get(0), nullptr);
    s->BuildModuleCache(5, 0, -1, -1);   // no such palette
    s->BuildModuleCache(0, -4, 99, -1);  // range clipped to the modules
}

TEST_F(SpritePackTest, MissingOrRefusedItemsAreNull) {
    EXPECT_EQ(P::loadSprite(1, 1, 0, 0, true, false, false), nullptr);
    EXPECT_EQ(P::loadSprite(2, 1, 0, 0, true, false, false), nullptr);
    EXPECT_EQ(P::loadSprite(-1, 1, 0, 0, true, false, false), nullptr);
}

TEST_F(SpritePackTest, SpriteTableAndTheTileSprite) {
    P::packOpen(str("t"));
    P::s_sprites = Runtime::newObjectArray(CID_Bsprite, 41);
    P::loadSpriteWithPalettes(5);
    auto* five = static_cast<Bsprite*>(P::s_sprites->get(5));
    ASSERT_NE(five, nullptr);
    EXPECT_EQ(five->cachePoolIndex, 0);
    EXPECT_EQ(five->imageCache->length, 2);
    EXPECT_EQ(P::s_tilePixels, nullptr);

    P::loadSpriteWithPalettes(21);
    auto* tile = static_cast<Bsprite*>(P::s_sprites->get(21));
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(static_cast<uint32_t>(static_cast<IntArray*>(tile->palettes->get(0))->get(1)), 0x110000C0u);
    EXPECT_EQ(P::s_tileW, 3);
    EXPECT_EQ(P::s_tileH, 2);
    EXPECT_EQ(P::s_tileW2, 6);
    EXPECT_EQ(P::s_tileH2, 4);
    EXPECT_EQ(P::s_tileArea2, 24);
    ASSERT_NE(P::s_tilePixels, nullptr);
    ASSERT_EQ(P::s_tilePixels->length, 6);
    const auto pixel = static_cast<uint32_t>(P::s_tilePixels->get(1));
    EXPECT_LT(pixel >> 24, 0x80u);
    EXPECT_GT(pixel & 0xFF, 0x80u);
    EXPECT_EQ(pixel & 0xFFFF00, 0u);

    // An item past the table still loads, into no slot; a missing item leaves its slot's sprite empty.
    P::loadSpriteWithPalettes(60);
    P::loadSpriteWithPalettes(3);
    EXPECT_EQ(static_cast<Bsprite*>(P::s_sprites->get(3))->moduleCount, 0);
}

}  // namespace
