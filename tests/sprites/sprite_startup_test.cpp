// The sprite layer's steps of the one start-up sequence: each runs at its place among the library's
// (the game's are not linked here and stay quiet), and leaves the bitmap font, animation player,
// sound engine, tile layer and ASprite statics at their first values, whatever they held before.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/array.h"
#include "sprites/asprite.h"
#include "sprites/bitmap_font.h"
#include "sprites/bxlib_player.h"
#include "tests/classlib/startup_fixture.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_world.h"

namespace {

class SpriteStartupTest : public StartupTest {
private:
    // The statics reset before the set-up and after the tear-down.
    WorldStatics m_world;
};
using B = BXLibPlayer;

TEST_F(SpriteStartupTest, StepsRunInOrderAndSetTheFirstValues) {
    // Values a previous run could have left.
    BitmapFont::s_cacheCapacity = 9;
    BitmapFont::s_instanceCount = 7;
    B::s_sndEnabled = B::s_tilesEnabled = B::s_spareFlag = true;
    B::s_overlayBase = B::s_overlayLayer = B::s_overlayMode = 3;
    ASprite::s_gcAtLoad = 0;
    ASprite::s_measuring = 1;
    ASprite::s_measureMinX = ASprite::s_measureMinY = ASprite::s_measureMaxX = ASprite::s_measureMaxY = 5;
    ASprite::s_textWidth = ASprite::s_textHeight = ASprite::s_savedPalette = 4;
    ASprite::s_substringStart = ASprite::s_substringEnd = ASprite::s_charLimit = 2;

    LogCapture log;
    StaticClass::initStatics(kStartupOrder);
    const std::vector<std::string> ran = stepsRan(log);
    EXPECT_EQ(ran, (std::vector<std::string>{"BitmapFont statics", "BXLibPlayer constants", "cGame::initDrawEffects",
                                             "BXLibPlayer arrays", "java_lang_System::clinit",
                                             "java_lang_Boolean::clinit", "ASprite::staticInit",
                                             "java_lang_Runtime::clinit"}));
    EXPECT_FALSE(log.contains("the start-up order has no place"));

    EXPECT_EQ(BitmapFont::s_cacheCapacity, 0);
    EXPECT_EQ(BitmapFont::s_instanceCount, 0);

    EXPECT_EQ(B::kMsPerTimeUnit, 62);
    EXPECT_EQ(B::kSndChannels, 16);
    EXPECT_FALSE(B::s_sndEnabled);
    EXPECT_FALSE(B::s_tilesEnabled);
    EXPECT_EQ(B::kTileLayers, 5);
    EXPECT_EQ(B::s_overlayBase, -1);
    EXPECT_EQ(B::s_overlayLayer, -1);
    EXPECT_EQ(B::s_overlayMode, 0);

    EXPECT_EQ(ASprite::s_gcAtLoad, 1);
    EXPECT_EQ(ASprite::s_measuring, 0);
    EXPECT_EQ(ASprite::s_measureMinX, 0x7FFFFFFF);
    EXPECT_EQ(ASprite::s_measureMinY, 0x7FFFFFFF);
    EXPECT_EQ(ASprite::s_measureMaxX, static_cast<jint>(0x80000000u));
    EXPECT_EQ(ASprite::s_measureMaxY, static_cast<jint>(0x80000000u));
    EXPECT_EQ(ASprite::s_textWidth, 0);
    EXPECT_EQ(ASprite::s_textHeight, 0);
    EXPECT_EQ(ASprite::s_savedPalette, 0);
    EXPECT_EQ(ASprite::s_substringStart, -1);
    EXPECT_EQ(ASprite::s_substringEnd, -1);
    EXPECT_EQ(ASprite::s_charLimit, -1);

    // The spare tables: empty, of 24, kept by the collector.
    objectManager().gc(1);
    EXPECT_FALSE(B::s_spareFlag);
    ASSERT_NE(B::s_spareInts, nullptr);
    EXPECT_EQ(B::s_spareInts->length, 24);
    EXPECT_TRUE(objectManager().isRegistered(B::s_spareInts));
    for (jint i = 0; i < 24; ++i) EXPECT_EQ(B::s_spareInts->get(i), 0);
    for (Long64Array* longs : {B::s_spareLongsA, B::s_spareLongsB, B::s_spareLongsC}) {
        ASSERT_NE(longs, nullptr);
        EXPECT_EQ(longs->length, 24);
        EXPECT_TRUE(objectManager().isRegistered(longs));
        for (jint i = 0; i < 24; ++i) EXPECT_EQ(longs->get(i), 0);
    }
    EXPECT_NE(B::s_spareLongsA, B::s_spareLongsB);
    EXPECT_NE(B::s_spareLongsB, B::s_spareLongsC);
    ASSERT_NE(B::s_spareObjects, nullptr);
    EXPECT_EQ(B::s_spareObjects->length, 24);
    EXPECT_TRUE(objectManager().isRegistered(B::s_spareObjects));
    for (jint i = 0; i < 24; ++i) EXPECT_EQ(B::s_spareObjects->get(i), nullptr);
}

}  // namespace
