// Cache pools: a ring of slots per pool shared by every sprite bound to it. Pool numbers, slot codes
// and the owning sprite's tables are all checked before an eviction touches them.
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/static_class.h"
#include "sprites/asprite.h"

ObjectArray* ASprite::s_poolOwners;
IntArray* ASprite::s_poolNext;
IntArray* ASprite::s_poolSize;
ObjectArray* ASprite::s_poolSprites;

namespace {

const StaticRefRegistration kPoolStatics(CID_ASprite, &ASprite::s_poolOwners, &ASprite::s_poolNext,
                                         &ASprite::s_poolSize, &ASprite::s_poolSprites);

bool isPool(jint i) { return ASprite::s_poolOwners && i >= 0 && i < ASprite::s_poolOwners->length; }

ObjectArray* cacheRow(ASprite* sprite, jint palette) {
    ObjectArray* table = sprite ? sprite->imageCache : nullptr;
    if (!table || palette < 0 || palette >= table->length) return nullptr;
    return static_cast<ObjectArray*>(table->get(palette));
}

}  // namespace

void ASprite::InitCachePools(jint n) {
    if (n < 0) return;
    s_poolOwners = Runtime::newObjectArray(CID_ShortArray, n);
    s_poolNext = Runtime::newIntArray(n);
    s_poolSize = Runtime::newIntArray(n);
    s_poolSprites = Runtime::newObjectArray(CID_ObjectArray, n);
}

void ASprite::InitCachePool(jint i, jint size) {
    if (!isPool(i) || size <= 0) return;
    ShortArray* owners = Runtime::newShortArray(size);
    ObjectArray* sprites = Runtime::newObjectArray(CID_ASprite, size);
    if (!owners || !sprites) return;
    for (jint s = 0; s < size; ++s) owners->set(s, -1);
    s_poolSize->set(i, size);
    s_poolNext->set(i, 0);
    s_poolOwners->set(i, owners);
    s_poolSprites->set(i, sprites);
}

void ASprite::FreeCachePool(jint i) {
    if (!isPool(i)) return;
    s_poolOwners->set(i, nullptr);
    s_poolNext->set(i, 0);
    s_poolSize->set(i, 0);
    s_poolSprites->set(i, nullptr);
}

void ASprite::SetCachePool(jint p) {
    cachePoolIndex = p;
    if (cacheModeFlags & 1) return;
    for (jint palette = 0; palette < paletteCount; ++palette) {
        if (!EnsurePaletteCache(palette)) return;
    }
}

void ASprite::CacheStoreImage(jint module, Object* image) {
    // Owner codes keep 10 bits of module: a higher module would evict the wrong entry later.
    if (!isPool(cachePoolIndex) || module < 0 || module >= moduleCount || module > 0x3FF) return;
    auto* owners = static_cast<ShortArray*>(s_poolOwners->get(cachePoolIndex));
    auto* sprites = static_cast<ObjectArray*>(s_poolSprites->get(cachePoolIndex));
    const jint size = s_poolSize->get(cachePoolIndex);
    if (!owners || !sprites || size <= 0 || !EnsurePaletteCache(currentPalette)) return;
    ObjectArray* row = cacheRow(this, currentPalette);
    if (!row || row->get(module)) return;
    const jint slot = s_poolNext->get(cachePoolIndex);
    if (slot < 0 || slot >= size) return;
    const jint code = owners->get(slot);
    if (code >= 0) {
        // The owner may have been unloaded or rebuilt since: clear only what is still there.
        auto* owner = static_cast<ASprite*>(sprites->get(slot));
        ObjectArray* ownerRow = cacheRow(owner, code >> 10);
        if (ownerRow && (code & 0x3FF) < ownerRow->length) ownerRow->set(code & 0x3FF, nullptr);
    }
    owners->set(slot, static_cast<jshort>((module & 0x3FF) + (currentPalette << 10)));
    sprites->set(slot, this);
    s_poolNext->set(cachePoolIndex, (slot + 1) % size);
    row->set(module, image);
}
