// The loader's step tables for the game start (kind 0: texts, fonts, sounds, the kept sprites, the
// interface sprites, the images, the promotion) and the release of a level (kind 2), with the
// helpers the level load shares. Each pack item read is checked; a missing or malformed one is
// logged with its pack and item and leaves its slot empty, so the menus still run.
#include <iterator>

#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "game/cgame_loader_steps.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/log.h"
#include "runtime/string.h"
#include "sprites/asprite.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"

namespace {

using Image = javax_microedition_lcdui_Image;
using B = BXLibPlayer;

constexpr jint kTextPackPrefixLiteral = 132, kFontPackLiteral = 134, kSpritePackLiteral = 138,
               kImagePackLiteral = 141;
constexpr jint kModuleImagePoolSize = 300;
constexpr jint kPermanentSprites[] = {7, 16, 18, 25, 33};
constexpr jint kEffectImageCount = 10;

// Fonts by their slot in s_fonts, each from its pack item with its palettes and caching. Fonts 0
// and 2 keep their glyphs as decoded ARGB: an Image cache would store them as ARGB4444 and draw
// other pixels, so they are spared the decode on every character instead.
struct FontLoad {
    jint font, item, paletteMask;
    bool buildCache, dropData, argbCache;
};
constexpr FontLoad kFonts[] = {
    {1, 2, 1, true, false, false}, {0, 1, 3, true, false, true}, {2, 3, 1, true, false, true}};
constexpr jint kCharMapItem = 0;
constexpr jint kBadgeItem = 0;

Bsprite* fontAt(jint font) {
    ObjectArray* fonts = cGame::s_fonts;
    if (!fonts || font < 0 || font >= fonts->length) return nullptr;
    Object* f = fonts->get(font);
    return f && f->classId() == CID_Bsprite ? static_cast<Bsprite*>(f) : nullptr;
}

// Kind 0 ---------------------------------------------------------------------------------------

// The text pack of the current language (its code follows the prefix literal).
void loadTexts() {
    String* code = cGame::getLanguageName(cGame::s_language);
    if (!code) {
        Log::warn("loader: language %d has no code; the texts of language 0 are loaded", cGame::s_language);
        code = cGame::getLanguageName(0);
    }
    String* prefix = Runtime::ldcString(kTextPackPrefixLiteral);
    BX_RETURN_IF_NULL(prefix);
    String* name = prefix->concat(code);
    BX_RETURN_IF_PENDING();
    BX_RETURN_IF_NULL(name);
    cGame::packLoadText(name, 0);
    BX_RETURN_IF_PENDING();
    if (!cGame::s_textCache || cGame::s_textCache->length == 0) {
        loader::logBadItem(loader::packName(name), 0, "every text is empty");
    }
}

void openFontPack() { cGame::packOpen(Runtime::ldcString(kFontPackLiteral)); }

void loadFonts() {
    BX_RETURN_IF_NULL(cGame::s_fonts);
    for (const FontLoad& f : kFonts) {
        Bsprite* font = cGame::loadSprite(f.item, f.paletteMask, 0, 0, f.buildCache, f.dropData, f.argbCache);
        BX_RETURN_IF_PENDING();
        if (!font) loader::logBadItem(loader::packName(kFontPackLiteral), f.item, "its font draws nothing");
        if (f.font < cGame::s_fonts->length) cGame::s_fonts->set(f.font, font);
    }
}

void buildCharMaps() {
    Object* map = cGame::packReadStream(kCharMapItem);
    BX_RETURN_IF_PENDING();
    if (!map || map->classId() != CID_ShortArray) {
        loader::logBadItem(loader::packName(kFontPackLiteral), kCharMapItem, "the fonts have no character map");
        return;
    }
    for (const FontLoad& f : kFonts) {
        if (Bsprite* font = fontAt(f.font)) font->BuildCharMap(static_cast<ShortArray*>(map));
        BX_RETURN_IF_PENDING();
    }
}

void closePack() { cGame::packClose(); }

void loadPermanentSprites() {
    cGame::packOpen(Runtime::ldcString(kSpritePackLiteral));
    for (jint n : kPermanentSprites) {
        Object* kept = cGame::s_sprites && n < cGame::s_sprites->length ? cGame::s_sprites->get(n) : nullptr;
        if (!kept) loader::loadTableSprite(kSpritePackLiteral, n);
        BX_RETURN_IF_PENDING();
    }
    cGame::packClose();
}

void loadInterfaceSprites() {
    cGame::packOpen(Runtime::ldcString(cGame::kInterfacePackLiteral));
    cGame::loadInterfaceSprite(false);
    BX_RETURN_IF_PENDING();
    cGame::loadMenuSprites();
    BX_RETURN_IF_PENDING();
    cGame::loadInterfaceSprite2(false);
    BX_RETURN_IF_PENDING();
    cGame::packClose();
    const std::string pack = loader::packName(cGame::kInterfacePackLiteral);
    if (!cGame::s_loadingPicture) loader::logBadItem(pack, cGame::kLoadingPictureItem, "no title or loading picture");
    if (!cGame::s_menuSprite) loader::logBadItem(pack, cGame::kMenuSpriteItem, "the menus and questions draw plain rows, without arrows");
    if (!cGame::s_interfaceSprite2) loader::logBadItem(pack, cGame::kInterfaceSprite2Item, "it draws nothing");
}

void loadImagesAndPromotion() {
    cGame::packOpen(Runtime::ldcString(kImagePackLiteral));
    ByteArray* data = cGame::packReadData(kBadgeItem);
    cGame::packClose();
    BX_RETURN_IF_PENDING();
    Image* badge = data ? Image::createImage(data, 0, data->length) : nullptr;
    if (Runtime::pending()) {
        // Not a picture the platform can read: the menus go without the badge.
        Runtime::clearPendingException();
        badge = nullptr;
    }
    if (!badge) loader::logBadItem(loader::packName(kImagePackLiteral), kBadgeItem, "the menus show no badge");
    else if (cGame::s_screenImages && cGame::s_screenImages->length > 0) cGame::s_screenImages->set(0, badge);
    cGame::initPromotion();
}

void (*const kGameStartSteps[])() = {
    loadTexts,                                 // 0
    openFontPack,                              // 1
    loadFonts,                                 // 2
    buildCharMaps,                             // 3
    cGame::openMainPack,                       // 4
    closePack,                                 // 5
    cGame::loadSoundBank,                      // 6
    loadPermanentSprites,                      // 7
    loadInterfaceSprites,                      // 8
    loadImagesAndPromotion,                    // 9
};

// Kind 2 ---------------------------------------------------------------------------------------

void releaseEffectsAndState() {
    const cGame::LevelServices& s = cGame::s_levelServices;
    if (auto* clear = loader::service(s.clearFrameCaches, "clearFrameCaches")) clear();
    cGame::s_effectImages = Runtime::newObjectArray(CID_Object, kEffectImageCount);
    cGame::resetLevelState(true);
    if (auto* triggers = loader::service(s.resetTriggers, "resetTriggers")) triggers();
    if (auto* counters = loader::service(s.resetLevelCounters, "resetLevelCounters")) counters();
}

void releaseActors() {
    cGame::clearActorTable();
    cGame::s_levelRecords = nullptr;
    cGame::s_levelGeometry = nullptr;
    cGame::s_polyCount = 0;
    // The next level marks the sprites it needs afresh.
    cGame::s_spriteMask[0] = cGame::s_spriteMask[1] = 0;
}

void releaseSprites() {
    loader::dropLevelSprites();
    ASprite::FreeCachePool(0);
    loader::resetModuleImageCache();
}

void releaseTileLayers() {
    loader::dropLayerSprites();
    for (jint layer : {2, 3, 1, 0, 4}) B::TilesetAllocLayer(layer, true);
}

void (*const kUnloadSteps[])() = {
    releaseEffectsAndState,   // 0
    releaseActors,            // 1
    releaseSprites,           // 2
    releaseTileLayers,        // 3
};

template <size_t N>
void runStep(void (*const (&steps)[N])(), jint step) {
    if (step >= 0 && step < static_cast<jint>(N)) steps[step]();
}

}  // namespace

void cGame::openMainPack() {
    packOpen(Runtime::ldcString(kMainPackLiteral));
    copyActorTables();
    packClose();
}

namespace loader {

void runGameStartStep(jint step) { runStep(kGameStartSteps, step); }

void runUnloadStep(jint step) { runStep(kUnloadSteps, step); }

void loadTableSprite(jint packLiteral, jint n) {
    cGame::loadSpriteWithPalettes(n);
    BX_RETURN_IF_PENDING();
    ObjectArray* table = cGame::s_sprites;
    if (!table || n < 0 || n >= table->length) return;
    auto* sprite = static_cast<Bsprite*>(table->get(n));
    if (sprite && sprite->moduleCount > 0) return;
    // Left empty, so the next run that needs the sprite reads it again.
    table->set(n, nullptr);
    logBadItem(packName(packLiteral), n, "the sprite is not drawn");
}

void resetModuleImageCache() {
    ASprite::InitCachePools(2);
    ASprite::InitCachePool(0, kModuleImagePoolSize);
}

void dropLevelSprites() {
    ObjectArray* table = cGame::s_sprites;
    BX_RETURN_IF_NULL(table);
    for (jint n = 0; n < table->length; ++n)
        if (!cGame::isPermanentSprite(n)) table->set(n, nullptr);
}

void dropLayerSprites() {
    ObjectArray* layers = cGame::s_layerSprites;
    BX_RETURN_IF_NULL(layers);
    for (jint layer : {0, 2, 3, 4})
        if (layer < layers->length) layers->set(layer, nullptr);
}

}  // namespace loader
