// cGame's static data: the per-level tables, the menu lists, the containers the later screens fill,
// and the questions answered from them (level properties, the language index).
// Invariant: every array here is made once, by initStaticData, and stored in its static before it is
// filled, so a collection during start-up meets only reachable arrays.
#include <iterator>

#include "actors/z.h"
#include "game/cgame.h"
#include "game/cgame_level_tables.h"
#include "game/cgame_text_ids.h"
#include "runtime/array.h"
#include "runtime/class_ids.h"
#include "runtime/constant_pool.h"
#include "runtime/log.h"
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"
#include "runtime/string.h"

jint cGameStaticData::s_level = 0;
jbyte cGameStaticData::s_altPlayerLevel = 0;
ObjectArray* cGameStaticData::s_levelPackNames = nullptr;
IntArray* cGameStaticData::s_levelGeometryItems = nullptr;
IntArray* cGameStaticData::s_levelLayerItems = nullptr;
IntArray* cGameStaticData::s_levelMusic = nullptr;
Long64Array* cGameStaticData::s_levelSpriteBits = nullptr;
IntArray* cGameStaticData::s_levelNames = nullptr;
IntArray* cGameStaticData::s_menuMain = nullptr;
IntArray* cGameStaticData::s_menuPause = nullptr;
IntArray* cGameStaticData::s_menuYesNo = nullptr;
IntArray* cGameStaticData::s_menuSound = nullptr;
IntArray* cGameStaticData::s_menuDifficulty = nullptr;
ObjectArray* cGameStaticData::s_fonts = nullptr;
ObjectArray* cGameStaticData::s_layerSprites = nullptr;
IntArray* cGameStaticData::s_levelStats = nullptr;
IntArray* cGameStaticData::s_viewRect = nullptr;
IntArray* cGameStaticData::s_menuRemembered = nullptr;
IntArray* cGameStaticData::s_menuItems = nullptr;
ObjectArray* cGameStaticData::s_effectImages = nullptr;
ObjectArray* cGameStaticData::s_behaviours = nullptr;
ShortArray* cGameStaticData::s_typeSprite = nullptr;

namespace {

const StaticRefRegistration kStatics(CID_cGame, &cGame::s_levelPackNames, &cGame::s_levelGeometryItems,
                                     &cGame::s_levelLayerItems, &cGame::s_levelMusic, &cGame::s_levelSpriteBits,
                                     &cGame::s_levelNames, &cGame::s_menuMain, &cGame::s_menuPause,
                                     &cGame::s_menuYesNo, &cGame::s_menuSound, &cGame::s_menuDifficulty,
                                     &cGame::s_fonts, &cGame::s_layerSprites, &cGame::s_levelStats,
                                     &cGame::s_viewRect, &cGame::s_menuRemembered, &cGame::s_menuItems,
                                     &cGame::s_effectImages, &cGame::s_behaviours,
                                     &cGame::s_typeSprite);

constexpr jint kFirstLevelPackName = 199;
constexpr jint kTextEncodingName = 45;

using level_tables::kGeometryItems;
using level_tables::kLayerItems;
constexpr jint kLevelMusic[] = {0, 1, 2, 2, 1, 3, 3, 1, 4, 4};
constexpr jlong kLevelSpriteBits[] = {256, 128, jlong{1} << 22, jlong{1} << 22, 128, 0, 0, 128, 0, jlong{1} << 39};
constexpr jint kLevelNames[] = {text_id::kLevel0Name, text_id::kLevel1Name, text_id::kLevel2Name, text_id::kLevel3Name, text_id::kLevel4Name,
                                text_id::kLevel5Name, text_id::kLevel6Name, text_id::kLevel7Name, text_id::kLevel8Name, text_id::kLevel9Name};
static_assert(std::size(kLevelMusic) == cGame::kLevelCount && std::size(kLevelSpriteBits) == cGame::kLevelCount &&
              std::size(kLevelNames) == cGame::kLevelCount);

// Literal i of this table is language i for languageIndexOf. Index 4 is literal 171 here but 198 in
// the code table, and 178 (11) comes before 177 (12) in both.
constexpr jint kLanguageIndexLiterals[] = {167, 168, 169, 170, 171, 172, 173, 46, 174, 175, 176, 178, 177, 179, 180};

constexpr jint kMenuMain[] = {text_id::kNewGame, text_id::kLevelSelect, text_id::kPromotion, text_id::kSound, text_id::kHelp, text_id::kCredits, text_id::kQuit};
constexpr jint kMenuPause[] = {text_id::kResume, text_id::kRestart, text_id::kSound, text_id::kHelp, text_id::kLeaveLevel, text_id::kQuit};
constexpr jint kMenuYesNo[] = {text_id::kYes, text_id::kNo};
constexpr jint kMenuSound[] = {text_id::kMusicOn, text_id::kEffectsOn, text_id::kResetProgress};
constexpr jint kMenuDifficulty[] = {text_id::kDifficultyNormal, text_id::kDifficultyHard};

template <class A, class T, size_t N>
[[nodiscard]] bool makeFilled(A*& slot, A* (*make)(jint), const T (&values)[N]) {
    slot = make(static_cast<jint>(N));
    if (!slot) return false;
    for (size_t i = 0; i < N; ++i) slot->set(static_cast<jint>(i), values[i]);
    return true;
}

[[nodiscard]] bool makeEmpty(IntArray*& slot, jint length) { return (slot = Runtime::newIntArray(length)) != nullptr; }

[[nodiscard]] bool makeEmpty(ObjectArray*& slot, jint length) {
    return (slot = Runtime::newObjectArray(CID_Object, length)) != nullptr;
}

[[nodiscard]] bool makeLevelPackNames() {
    cGame::s_levelPackNames = Runtime::newObjectArray(CID_String, cGame::kLevelCount);
    if (!cGame::s_levelPackNames) return false;
    for (jint level = 0; level < cGame::kLevelCount; ++level)
        cGame::s_levelPackNames->set(level, Runtime::ldcString(kFirstLevelPackName + level));
    return true;
}

}  // namespace

void cGame::initStaticData() {
    const bool made = makeLevelPackNames() &&
                      makeFilled(s_levelGeometryItems, &Runtime::newIntArray, kGeometryItems) &&
                      makeFilled(s_levelLayerItems, &Runtime::newIntArray, kLayerItems) &&
                      makeFilled(s_levelMusic, &Runtime::newIntArray, kLevelMusic) &&
                      makeFilled(s_levelSpriteBits, &Runtime::newLongArray, kLevelSpriteBits) &&
                      makeFilled(s_levelNames, &Runtime::newIntArray, kLevelNames) &&
                      makeFilled(s_menuMain, &Runtime::newIntArray, kMenuMain) &&
                      makeFilled(s_menuPause, &Runtime::newIntArray, kMenuPause) &&
                      makeFilled(s_menuYesNo, &Runtime::newIntArray, kMenuYesNo) &&
                      makeFilled(s_menuSound, &Runtime::newIntArray, kMenuSound) &&
                      makeFilled(s_menuDifficulty, &Runtime::newIntArray, kMenuDifficulty) &&
                      makeEmpty(s_fonts, 3) && makeEmpty(s_layerSprites, 5) && makeEmpty(s_levelStats, 6) &&
                      makeEmpty(s_viewRect, 4) && makeEmpty(s_menuRemembered, 8) && makeEmpty(s_menuItems, 20) &&
                      makeEmpty(s_effectImages, 10);
    if (!made) {
        Log::error("cGame: no memory for the static data");
        return;
    }
    // The text packs' encoding is the pack engine's own static (boot sets it again).
    s_encoding = Runtime::ldcString(kTextEncodingName);
    initCheatSequence();
    initTouchLayouts();
}

void cGame::setLevel(jint n) {
    s_level = n;
    s_altPlayerLevel = level_tables::isAltPlayerLevel(n) ? 1 : 0;
}

jint cGame::languageIndexOf(String* code) {
    for (jint i = 0; i < static_cast<jint>(std::size(kLanguageIndexLiterals)); ++i)
        if (code == Runtime::ldcString(kLanguageIndexLiterals[i])) return i;
    return 0;
}

void cGame::copyActorTables() {
    s_behaviours = Z::s_behaviours;
    s_typeSprite = Z::s_typeSprite;
}

namespace {

const StaticStartValues kStartValues(&cGameStaticData::s_level, &cGameStaticData::s_altPlayerLevel,
                                     &cGameStaticData::s_levelPackNames, &cGameStaticData::s_levelGeometryItems,
                                     &cGameStaticData::s_levelLayerItems, &cGameStaticData::s_levelMusic,
                                     &cGameStaticData::s_levelSpriteBits, &cGameStaticData::s_levelNames,
                                     &cGameStaticData::s_menuMain, &cGameStaticData::s_menuPause,
                                     &cGameStaticData::s_menuYesNo, &cGameStaticData::s_menuSound,
                                     &cGameStaticData::s_menuDifficulty, &cGameStaticData::s_fonts,
                                     &cGameStaticData::s_layerSprites, &cGameStaticData::s_levelStats,
                                     &cGameStaticData::s_viewRect, &cGameStaticData::s_menuRemembered,
                                     &cGameStaticData::s_menuItems, &cGameStaticData::s_effectImages,
                                     &cGameStaticData::s_behaviours, &cGameStaticData::s_typeSprite);

}  // namespace

void cGameStaticData::resetStatics() { kStartValues.restore(); }
