// Sprites loaded from the current pack: the item's bytes parsed into a Bsprite, then the palette
// treatment and the module caches the caller asks for.
#include <algorithm>

#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/log.h"
#include "runtime/static_class.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"
#include "sprites/cgame_packs.h"
#include "sprites/interface_frames.h"

ObjectArray* cGamePacks::s_sprites;
jint cGamePacks::s_tileW;
jint cGamePacks::s_tileH;
jint cGamePacks::s_tileW2;
jint cGamePacks::s_tileH2;
jint cGamePacks::s_tileArea2;
IntArray* cGamePacks::s_tilePixels;
Bsprite* cGamePacks::s_loadingPicture;
BXLibPlayer* cGamePacks::s_loadingPlayer;
Bsprite* cGamePacks::s_interfaceSprite2;
Bsprite* cGamePacks::s_menuSprite;
BXLibPlayer* cGamePacks::s_transitionPlayer;
BXLibPlayer* cGamePacks::s_arrowUpPlayer;
BXLibPlayer* cGamePacks::s_arrowDownPlayer;

namespace {

using P = cGamePacks;

const StaticRefRegistration kSpriteStatics(CID_cGame, &P::s_sprites, &P::s_tilePixels, &P::s_loadingPicture,
                                           &P::s_loadingPlayer, &P::s_interfaceSprite2, &P::s_menuSprite,
                                           &P::s_transitionPlayer, &P::s_arrowUpPlayer, &P::s_arrowDownPlayer);

// A player on the sprite at (0, 0); null when the heap is exhausted.
BXLibPlayer* newPlayer(ASprite* sprite) {
    auto* player = Runtime::make<BXLibPlayer>();
    if (player) player->init(sprite, 0, 0);
    return player;
}

BXLibPlayer* newAnimPlayer(ASprite* sprite, jint anim) {
    BXLibPlayer* player = newPlayer(sprite);
    if (player) player->SetAnim(anim, 0);
    return player;
}

// Loads one interface sprite, inside the interface pack when openPack asks for it (loadSprite logs a
// missing or refused item). The pack is closed even when the load raised.
Bsprite* loadInterfaceItem(bool openPack, jint item, jint paletteMask, bool buildCache, bool dropData) {
    if (openPack) {
        P::packOpen(Runtime::ldcString(P::kInterfacePackLiteral));
        BX_RETURN_IF_PENDING(nullptr);
    }
    Bsprite* sprite = P::loadSpriteFlags(item, paletteMask, buildCache, dropData);
    if (openPack) P::packClose();
    return sprite;
}

}  // namespace

void cGamePacks::loadInterfaceSprite(bool openPack) {
    if (s_loadingPicture) return;
    Bsprite* sprite = loadInterfaceItem(openPack, kLoadingPictureItem, 2, true, false);
    if (!sprite) return;
    BXLibPlayer* player = newPlayer(sprite);
    if (!player) return;
    player->SetFrame(0);
    s_loadingPicture = sprite;
    s_loadingPlayer = player;
}

void cGamePacks::loadInterfaceSprite2(bool openPack) {
    if (s_interfaceSprite2) return;
    s_interfaceSprite2 = loadInterfaceItem(openPack, kInterfaceSprite2Item, 1, false, false);
}

void cGamePacks::loadMenuSprites() {
    if (s_menuSprite) return;
    Bsprite* sprite = loadInterfaceItem(false, kMenuSpriteItem, 1, true, true);
    if (!sprite) return;
    BXLibPlayer* transition = newAnimPlayer(sprite, MenuSprite::kOpeningAnim);
    BXLibPlayer* up = newAnimPlayer(sprite, MenuSprite::kArrowUpIdleAnim);
    BXLibPlayer* down = newAnimPlayer(sprite, MenuSprite::kArrowDownIdleAnim);
    if (!transition || !up || !down) return;
    s_menuSprite = sprite;
    s_transitionPlayer = transition;
    s_arrowUpPlayer = up;
    s_arrowDownPlayer = down;
}

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
    // The module's own size: its cached Image is kept turned.
    const jint w = tile->getHeight();
    const jint h = tile->getWidth();
    s_tileW = w;
    s_tileH = h;
    s_tileW2 = 2 * w;
    s_tileH2 = 2 * h;
    s_tileArea2 = 2 * w * 2 * h;
    s_tilePixels = Runtime::newIntArray(w * h);
    if (!s_tilePixels) return;
    IntArray* pixels = Bsprite::UnturnedModulePixels(tile, w, h);
    if (pixels) std::copy_n(pixels->elements(), w * h, s_tilePixels->elements());
}
