// Sprites loaded from the current pack: the item's bytes parsed into a Bsprite, then the palette
// treatment and the module caches the caller asks for.
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/array.h"
#include "runtime/static_class.h"
#include "runtime/compiled.h"
#include "runtime/log.h"
#include "sprites/bsprite.h"
#include "sprites/cgame_packs.h"

ObjectArray* cGamePacks::s_sprites;
jint cGamePacks::s_tileW;
jint cGamePacks::s_tileH;
jint cGamePacks::s_tileW2;
jint cGamePacks::s_tileH2;
jint cGamePacks::s_tileArea2;
IntArray* cGamePacks::s_tilePixels;

namespace {
const StaticRefRegistration kSpriteStatics(CID_cGame, &cGamePacks::s_sprites, &cGamePacks::s_tilePixels);
}  // namespace

Bsprite* cGamePacks::loadSprite(jint item, jint paletteMask, jint paletteOp, jint alpha, bool buildCache,
                                bool dropData, bool argbCache) {
    auto* sprite = Runtime::make<Bsprite>();
    if (!sprite) return nullptr;
    ByteArray* data = packReadData(item);
    BX_RETURN_IF_PENDING(nullptr);
    if (!data) {
        Log::warn("sprite: pack item %d missing", item);
        return nullptr;
    }
    if (!sprite->Load(data, 0)) {
        Log::warn("sprite: pack item %d refused", item);
        return nullptr;
    }
    if (argbCache) Bsprite::SetNoCacheFlag(sprite, true);
    for (jint p = 0; (static_cast<uint32_t>(paletteMask) >> p) != 0 && p < 32; ++p) {
        if (!((static_cast<uint32_t>(paletteMask) >> p) & 1)) continue;
        if (paletteOp == 1) sprite->SetPaletteAlphaDefault(p, alpha);
        if (paletteOp == 2) sprite->SetPaletteAlphaFromLast(p);
        if (buildCache) sprite->BuildModuleCache(p, 0, -1, -1);
        BX_RETURN_IF_PENDING(nullptr);
    }
    if (buildCache && dropData) {
        sprite->imageData = nullptr;
        sprite->moduleDataOffsets = nullptr;
        sprite->palettes = nullptr;
        sprite->imageSection = nullptr;
    }
    return sprite;
}

Bsprite* cGamePacks::loadSpriteFlags(jint item, jint paletteMask, bool buildCache, bool dropData) {
    return loadSprite(item, paletteMask, 0, 0, buildCache, dropData, false);
}

void cGamePacks::loadSpriteWithPalettes(jint item) {
    auto* sprite = Runtime::make<Bsprite>();
    if (!sprite) return;
    if (s_sprites && item >= 0 && item < s_sprites->length) s_sprites->set(item, sprite);
    ByteArray* data = packReadData(item);
    BX_RETURN_IF_PENDING();
    if (!data || !sprite->Load(data, 0)) {
        Log::warn("sprite: pack item %d missing or refused", item);
        return;
    }
    sprite->SetCachePool(0);
    if (item != kTileSpriteItem) return;
    sprite->SetPaletteColor(0, kTileColour);
    sprite->BuildModuleCache(0, 0, -1, -1);
    BX_RETURN_IF_PENDING();
    ObjectArray* row = sprite->imageCache ? static_cast<ObjectArray*>(sprite->imageCache->get(0)) : nullptr;
    auto* tile = row ? static_cast<javax_microedition_lcdui_Image*>(row->get(0)) : nullptr;
    if (!tile) {
        Log::warn("sprite: tile sprite %d has no module 0 image", item);
        return;
    }
    const jint w = tile->getWidth();
    const jint h = tile->getHeight();
    s_tileW = w;
    s_tileH = h;
    s_tileW2 = 2 * w;
    s_tileH2 = 2 * h;
    s_tileArea2 = 2 * w * 2 * h;
    s_tilePixels = Runtime::newIntArray(w * h);
    if (s_tilePixels) tile->getRGB(s_tilePixels, 0, w, 0, 0, w, h);
}
