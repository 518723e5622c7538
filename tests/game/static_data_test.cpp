// cGame's static data after initStaticData over the shipped constant pool: table lengths, last
// entries, the 64-bit sprite bits, the level properties and the identity-based language index.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/constant_pool.h"
#include "runtime/static_class.h"
#include "runtime/string.h"
#include "tests/classlib/record_store_fixture.h"
#include "tests/support/test_world.h"

namespace {

class StaticDataTest : public RecordStoreTest {
protected:
    void SetUp() override {
        RecordStoreTest::SetUp();
        cGame::initStaticData();
    }
    void TearDown() override {
        StaticClass::releaseStatics();  // the heaps go away with the fixture
        cGame::setLevel(0);
        RecordStoreTest::TearDown();
    }
    static std::vector<jint> ints(IntArray* a) {
        std::vector<jint> v;
        for (jint i = 0; i < a->length; ++i) v.push_back(a->get(i));
        return v;
    }

private:
    // The statics reset before the set-up and after the tear-down.
    WorldStatics m_world;
};

TEST_F(StaticDataTest, LevelTablesHaveTheirLengthsAndLastEntries) {
    ASSERT_NE(cGame::s_levelGeometryItems, nullptr);
    EXPECT_EQ(ints(cGame::s_levelGeometryItems), (std::vector<jint>{0, -1, 1, 2, -1, 3, 4, -1, 5, 6, -1}));
    ASSERT_EQ(cGame::s_levelLayerItems->length, 50);
    const std::vector<jint> layers = ints(cGame::s_levelLayerItems);
    EXPECT_EQ(std::vector<jint>(layers.begin() + 25, layers.begin() + 30), (std::vector<jint>{6, -1, 5, 5, 5}));
    EXPECT_EQ(std::vector<jint>(layers.begin() + 40, layers.end()), (std::vector<jint>{-1, -1, 7, 7, 7, -1, -1, 7, 7, 7}));
    EXPECT_EQ(ints(cGame::s_levelMusic), (std::vector<jint>{0, 1, 2, 2, 1, 3, 3, 1, 4, 4}));
    EXPECT_EQ(ints(cGame::s_levelNames), (std::vector<jint>{83, 84, 85, 86, 87, 88, 89, 90, 94, 95}));
    ASSERT_EQ(cGame::s_levelSpriteBits->length, 10);
    EXPECT_EQ(cGame::s_levelSpriteBits->get(0), 256);
    EXPECT_EQ(cGame::s_levelSpriteBits->get(2), jlong{1} << 22);
    EXPECT_EQ(cGame::s_levelSpriteBits->get(9), jlong{1} << 39);  // above the first int of the mask
    EXPECT_EQ(cGame::s_levelSpriteBits->get(8), 0);
    ASSERT_EQ(cGame::s_levelPackNames->length, 10);
    for (jint level = 0; level < 10; ++level)
        EXPECT_EQ(cGame::s_levelPackNames->get(level), Runtime::ldcString(199 + level)) << level;  // the pooled objects
}

// Levels 1, 4 and 7 run on real frame time, and they are the levels without polylines whose only
// tile layer is layer 0.
TEST_F(StaticDataTest, AltPlayerLevelsAreThoseWithoutGeometryAndWithLayerZeroOnly) {
    for (jint level = 0; level < 10; ++level) {
        SCOPED_TRACE(level);
        cGame::setLevel(level);
        EXPECT_EQ(cGame::s_level, level);
        bool onlyLayerZero = cGame::s_levelLayerItems->get(level * 5) != -1;
        for (jint layer = 1; layer < 5; ++layer) onlyLayerZero &= cGame::s_levelLayerItems->get(level * 5 + layer) == -1;
        const bool noGeometry = cGame::s_levelGeometryItems->get(level) == -1;
        EXPECT_EQ(cGame::s_altPlayerLevel != 0, level == 1 || level == 4 || level == 7);
        EXPECT_EQ(cGame::s_altPlayerLevel != 0, noGeometry && onlyLayerZero);
    }
}

TEST_F(StaticDataTest, LevelPredicatesNameTheirLevels) {
    for (jint level = -1; level <= 10; ++level) {
        SCOPED_TRACE(level);
        cGame::setLevel(level);
        EXPECT_EQ(cGame::isLevel8(), level == 8);
        EXPECT_EQ(cGame::isLevel8or9(), level == 8 || level == 9);
        EXPECT_EQ(cGame::isLevel5or6(), level == 5 || level == 6);
    }
}

TEST_F(StaticDataTest, MenuListsHoldTheirItemsInOrder) {
    EXPECT_EQ(ints(cGame::s_menuMain), (std::vector<jint>{57, 74, 58, 62, 63, 65, 67}));
    EXPECT_EQ(ints(cGame::s_menuPause), (std::vector<jint>{76, 77, 62, 63, 55, 67}));
    EXPECT_EQ(ints(cGame::s_menuYesNo), (std::vector<jint>{6, 7}));
    EXPECT_EQ(ints(cGame::s_menuSound), (std::vector<jint>{27, 29, 68}));
    EXPECT_EQ(ints(cGame::s_menuDifficulty), (std::vector<jint>{43, 44}));
}

TEST_F(StaticDataTest, ContainersStartEmptyWithTheirSizes) {
    const std::pair<ObjectArray*, jint> references[] = {
        {cGame::s_fonts, 3}, {cGame::s_layerSprites, 5}, {cGame::s_effectImages, 10}};
    for (const auto& [array, length] : references) {
        ASSERT_NE(array, nullptr);
        ASSERT_EQ(array->length, length);
        for (jint i = 0; i < length; ++i) EXPECT_EQ(array->get(i), nullptr);
    }
    const std::pair<IntArray*, jint> numbers[] = {{cGame::s_levelStats, 6}, {cGame::s_viewRect, 4},
                                                  {cGame::s_menuRemembered, 8}, {cGame::s_menuItems, 20}};
    for (const auto& [array, length] : numbers) {
        ASSERT_NE(array, nullptr);
        EXPECT_EQ(ints(array), std::vector<jint>(static_cast<size_t>(length), 0));
    }
    EXPECT_EQ(cGame::s_encoding, Runtime::ldcString(45));
    EXPECT_NE(cGame::s_cheatSequence, nullptr);
}

TEST_F(StaticDataTest, LanguageIndexComparesPooledLiteralsByIdentity) {
    struct Case {
        jint literal;
        jint index;
    };
    const Case cases[] = {{167, 0}, {168, 1}, {170, 3}, {171, 4}, {198, 0}, {173, 6}, {46, 7},
                          {176, 10}, {178, 11}, {177, 12}, {180, 14}, {13, 0}};
    for (const Case& c : cases) EXPECT_EQ(cGame::languageIndexOf(Runtime::ldcString(c.literal)), c.index) << c.literal;
    String* same = String::fromCString(narrow(Runtime::ldcString(168)).c_str());  // equal text, another object
    ASSERT_NE(same, Runtime::ldcString(168));
    EXPECT_EQ(cGame::languageIndexOf(same), 0);
    EXPECT_EQ(cGame::languageIndexOf(nullptr), 0);
}

}  // namespace
