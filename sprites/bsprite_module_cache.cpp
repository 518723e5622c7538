// Palette editing and the per-palette module caches (ARGB arrays or Images) that loading fills.
// Palette and module numbers arrive from callers and data: each is checked against its table.
#include <algorithm>

#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "platform/graphics/region_blit.h"
#include "platform/graphics/sprite_pixels.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/system_natives.h"
#include "sprites/bsprite.h"

namespace {

constexpr uint32_t kKeyRgb = 0xFF00FF;

bool visible(uint32_t c) { return (c & 0xFFFFFF) != kKeyRgb && (c >> 24) != 0; }

uint32_t withAlpha(uint32_t c, uint32_t a) { return (c & 0xFFFFFF) | (a & 0xFF) << 24; }

IntArray* paletteOf(ObjectArray* palettes, jint p) {
    if (!palettes || p < 0 || p >= palettes->length) return nullptr;
    return static_cast<IntArray*>(palettes->get(p));
}

void requestCollection() {
    if (ASprite::s_gcAtLoad) java_lang_System::gc();
}

}  // namespace

bool ASprite::EnsurePaletteCache(jint palette) {
    if (palette < 0 || palette >= paletteCount || moduleCount < 0) return false;
    ObjectArray*& table = (cacheModeFlags & 1) ? argbCache : imageCache;
    if (!table) table = Runtime::newObjectArray(CID_ObjectArray, paletteCount);
    if (!table || palette >= table->length) return false;
    if (!table->get(palette)) {
        ObjectArray* row = Runtime::newObjectArray((cacheModeFlags & 1) ? CID_IntArray : CID_javax_microedition_lcdui_Image,
                                                   moduleCount);
        if (!row) return false;
        table->set(palette, row);
    }
    return true;
}

void ASprite::SetPaletteAlpha(jint p, jint a, bool onlyVisible, bool scale) {
    IntArray* palette = paletteOf(palettes, p);
    if (!palette) return;
    auto* c = reinterpret_cast<uint32_t*>(palette->elements());
    for (jint i = 0; i < palette->length; ++i) {
        if (scale) {
            c[i] = withAlpha(c[i], static_cast<uint32_t>((jlong{c[i] >> 24} * a) >> 8));
        } else if (!onlyVisible || visible(c[i])) {
            c[i] = withAlpha(c[i], static_cast<uint32_t>(a));
        }
    }
}

void ASprite::SetPaletteColor(jint p, jint rgb) {
    hasTransparency = true;
    IntArray* palette = paletteOf(palettes, p);
    if (!palette) return;
    auto* c = reinterpret_cast<uint32_t*>(palette->elements());
    for (jint i = 0; i < palette->length; ++i) {
        if (visible(c[i])) c[i] = withAlpha(static_cast<uint32_t>(rgb), c[i] & 0xFF);
    }
}

void ASprite::SetPaletteAlphaFromPalette(jint p, jint q) {
    hasTransparency = true;
    hasPartialAlpha = true;
    IntArray* palette = paletteOf(palettes, p);
    IntArray* source = paletteOf(palettes, q);
    if (!palette || !source) return;
    auto* c = reinterpret_cast<uint32_t*>(palette->elements());
    const auto* from = reinterpret_cast<const uint32_t*>(source->elements());
    for (jint i = 0; i < palette->length && i < source->length; ++i) {
        if (visible(c[i])) c[i] = withAlpha(c[i], from[i] >> 16);
    }
}

void ASprite::ClearModuleCache() {
    ObjectArray* cache = (cacheModeFlags & 1) ? argbCache : imageCache;
    if (cache) {
        for (jint i = 0; i < cache->length; ++i) cache->set(i, nullptr);
    }
}

void Bsprite::BuildModuleCache(jint palette, jint first, jint last, jint fromPalette) {
    if (!EnsurePaletteCache(palette) || moduleCount <= 0 || !modulesW || !modulesH || !moduleKinds) return;
    if (last == -1) last = moduleCount - 1;
    if (first < 0) first = 0;
    if (last >= moduleCount) last = moduleCount - 1;
    if (!(dataFlags & (kFlagImageSection | kFlagCachedImages))) return;
    ObjectArray* table = (cacheModeFlags & 1) ? argbCache : imageCache;
    if (fromPalette < 0) {
        const jint saved = currentPalette;
        currentPalette = palette;
        requestCollection();
        for (jint m = first; m <= last; ++m) {
            const jint w = modulesW->get(m) & 0xFFFF;
            const jint h = modulesH->get(m) & 0xFFFF;
            if (moduleKinds->get(m) != kModuleImage || w < 1 || h < 1) continue;
            if (IntArray* pixels = DecodeModule(m)) StoreModuleCache(pixels, w, h, palette, m);
        }
        currentPalette = saved;
        requestCollection();
        return;
    }
    if (fromPalette >= table->length) return;
    auto* from = static_cast<ObjectArray*>(table->get(fromPalette));
    auto* to = static_cast<ObjectArray*>(table->get(palette));
    if (!from) return;
    for (jint m = first; m <= last; ++m) to->set(m, from->get(m));
}

void Bsprite::StoreModuleCache(IntArray* pixels, jint w, jint h, jint palette, jint module) {
    BX_RETURN_IF_NULL(pixels);
    const jlong n = jlong{w} * h;
    if (w < 1 || h < 1 || n > pixels->length || module < 0 || module >= moduleCount) return;
    if (!EnsurePaletteCache(palette)) return;
    const bool argb = cacheModeFlags & 1;
    auto* row = static_cast<ObjectArray*>((argb ? argbCache : imageCache)->get(palette));
    if (!argb) {
        // The Image's alpha test looks at every entry of the array it is given, and the decode
        // buffer holds other modules' pixels past n: only the module's own pixels are looked at.
        bool processAlpha = false;
        for (jint i = 0; i < n && !processAlpha; ++i) processAlpha = (static_cast<uint32_t>(pixels->get(i)) >> 24) != 0xFF;
        javax_microedition_lcdui_Image* image = CreateModuleImage(pixels, w, h, processAlpha);
        BX_RETURN_IF_PENDING();
        row->set(module, image);
        return;
    }
    auto* copy = static_cast<IntArray*>(row->get(module));
    if (!copy || copy->length != n) copy = Runtime::newIntArray(static_cast<jint>(n));
    if (!copy) return;
    std::copy_n(pixels->elements(), n, copy->elements());
    row->set(module, copy);
}

javax_microedition_lcdui_Image* Bsprite::CreateModuleImage(IntArray* pixels, jint w, jint h, bool processAlpha) {
    BX_RETURN_IF_NULL(pixels, nullptr);
    const jlong n = jlong{w} * h;
    if (w < 1 || h < 1 || n > pixels->length) return nullptr;
    IntArray* turned = Runtime::newIntArray(static_cast<jint>(n));
    if (!turned) return nullptr;
    // Both arrays' data are read after the allocation, which may have moved them.
    gfx::transformARGB(reinterpret_cast<const uint32_t*>(pixels->elements()), w, h, kCacheTurn,
                       reinterpret_cast<uint32_t*>(turned->elements()));
    return javax_microedition_lcdui_Image::createRGBImage(turned, h, w, processAlpha);
}

IntArray* Bsprite::UnturnedModulePixels(javax_microedition_lcdui_Image* image, jint w, jint h) {
    BX_RETURN_IF_NULL(image, nullptr);
    const jlong n = jlong{w} * h;
    if (w < 1 || h < 1 || image->getWidth() != h || image->getHeight() != w) return nullptr;
    IntArray* turned = Runtime::newIntArray(static_cast<jint>(n));
    if (!turned) return nullptr;
    image->getRGB(turned, 0, h, 0, 0, h, w);
    BX_RETURN_IF_PENDING(nullptr);
    IntArray* buffer = GetRGBBuffer(nullptr);
    if (!buffer || buffer->length < n) return nullptr;
    gfx::transformARGB(reinterpret_cast<const uint32_t*>(turned->elements()), h, w, transformAfter(0, kCacheTurn),
                       reinterpret_cast<uint32_t*>(buffer->elements()));
    return buffer;
}

jint ASprite::AddPaletteCache(jint count) {
    ObjectArray*& table = (cacheModeFlags & 1) ? argbCache : imageCache;
    if (!table || count < 0 || table->length >= kMaxPalettes) return -1;
    const jint palette = table->length;
    ObjectArray* grown = Runtime::newObjectArray(CID_ObjectArray, palette + 1);
    // Every row holds at least the module count: the cache code indexes rows by module.
    ObjectArray* row = Runtime::newObjectArray((cacheModeFlags & 1) ? CID_IntArray : CID_javax_microedition_lcdui_Image,
                                               std::max(count, moduleCount));
    if (!grown || !row) return -1;
    for (jint p = 0; p < palette; ++p) grown->set(p, table->get(p));
    grown->set(palette, row);
    table = grown;
    // The new row is a palette like the others: it can be made current and painted from.
    paletteCount = std::max(paletteCount, palette + 1);
    return palette;
}
