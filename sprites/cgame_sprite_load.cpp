// Sprites loaded from the current pack: the item's bytes parsed into a Bsprite, then the palette
// treatment and the module caches the caller asks for.
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/log.h"
#include "sprites/bsprite.h"
#include "sprites/cgame_packs.h"

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
        if (paletteOp == 1) sprite->SetPaletteAlpha(p, alpha, sprite->hasTransparency, sprite->hasPartialAlpha);
        if (paletteOp == 2) sprite->SetPaletteAlphaFromPalette(p, sprite->paletteCount - 1);
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
