// The image section: palettes expanded to ARGB, the pixel format, each module's encoded bytes copied
// into one image-data array; and decoding a module through the current palette into the primary
// buffer. Sizes and counts come from untrusted data and are checked before anything is made.
#include <algorithm>

#include "platform/graphics/sprite_pixels.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/log.h"
#include "runtime/system_natives.h"
#include "sprites/bsprite.h"
#include "sprites/sprite_byte_reader.h"

jint ASprite::LoadPalettes(jint offset, ByteArray* data) {
    BX_RETURN_IF_NULL(data, -1);
    sprites::ByteReader r{data, offset};
    const jint format = r.u16();
    const jint count = r.u8();
    jint colours = r.u8();
    if (colours == 0) colours = 256;
    if (r.failed) return sprites::refuseSection("image section header", offset);
    if (count > kMaxPalettes) return sprites::refuseSection("palette count", offset + 2);
    const jint bytes = gfx::paletteColourBytes(format);
    if (!r.has(count * colours * bytes)) return sprites::refuseSection("palettes", r.pos);
    if (!palettes) palettes = Runtime::newObjectArray(CID_IntArray, kMaxPalettes);
    if (!palettes) return -1;
    gfx::PaletteAlpha alpha;
    for (jint p = 0; p < count; ++p) {
        IntArray* palette = Runtime::newIntArray(colours);
        if (!palette) return -1;
        gfx::expandPalette(format, reinterpret_cast<const uint8_t*>(data->elements()) + r.pos, colours,
                           reinterpret_cast<uint32_t*>(palette->elements()), alpha);
        palettes->set(p, palette);
        r.pos += colours * bytes;
    }
    paletteCount = count;
    colourCount = colours;
    hasTransparency = alpha.transparency;
    hasPartialAlpha = alpha.partialAlpha;
    pixelFormat = r.s16();
    if (r.failed) return sprites::refuseSection("pixel format", r.pos);
    const jint code = pixelFormat & 0xFFFF;
    indexBits = 0;
    indexMask = 0;
    if (code == gfx::kPixelsRunMasked || code == gfx::kPixelsUndefined) {
        indexBits = gfx::paletteIndexBits(colours);
        indexMask = (1 << indexBits) - 1;
    }
    if (code == gfx::kPixelsRunAlpha) hasTransparency = hasPartialAlpha = true;
    if (moduleCount <= 0) return r.pos;

    // Sizes first, so the offsets table and the image data are made once at their final size.
    const bool wide = dataFlags & kFlagDataSize32;
    const jint first = r.pos;
    jint total = 0;
    for (jint m = 0; m < moduleCount; ++m) {
        const jint size = wide ? r.s32() : r.s16();
        if (r.failed || size < 0 || !r.has(size)) return sprites::refuseSection("module pixel data", first);
        r.pos += size;
        total += size;
    }
    moduleDataOffsets = Runtime::newIntArray(moduleCount + 1);
    imageData = Runtime::newByteArray(total);
    if (!moduleDataOffsets || !imageData) return -1;
    r.pos = first;
    jint at = 0;
    for (jint m = 0; m < moduleCount; ++m) {
        const jint size = wide ? r.s32() : r.s16();
        moduleDataOffsets->set(m, at);
        std::copy_n(data->elements() + r.pos, size, imageData->elements() + at);
        r.pos += size;
        at += size;
    }
    moduleDataOffsets->set(moduleCount, at);
    return r.pos;
}

IntArray* ASprite::GetRGBBuffer(IntArray* current) {
    IntArray*& slot = (current && current == s_rgbPrimary) ? s_rgbSecondary : s_rgbPrimary;
    if (!slot) slot = Runtime::newIntArray(gfx::kMaxModulePixels);
    return slot;
}

IntArray* ASprite::TransformRGB(IntArray* pixels, jint w, jint h, jint flags) {
    BX_RETURN_IF_NULL(pixels, nullptr);
    if ((flags & 7) == 0) return pixels;
    const jlong n = jlong{w} * h;
    if (w < 1 || h < 1 || n > pixels->length || n > gfx::kMaxModulePixels) return nullptr;
    IntArray* out = GetRGBBuffer(pixels);
    if (!out) return nullptr;
    const bool swap = flags & 4;
    gfx::transformARGB(reinterpret_cast<const uint32_t*>(pixels->elements()), swap ? h : w, swap ? w : h,
                       gfx::spriteTransform(flags), reinterpret_cast<uint32_t*>(out->elements()));
    return out;
}

bool ASprite::DecodeModuleRGB(ByteArray* data, jint offset, jint w, jint h, jint size) {
    BX_RETURN_IF_NULL(data, false);
    if (!palettes || currentPalette < 0 || currentPalette >= palettes->length) return false;
    if (w < 0 || h < 0 || static_cast<jlong>(w) * h > gfx::kMaxModulePixels) return false;
    if (offset < 0 || size < 0 || offset > data->length || size > data->length - offset) return false;
    IntArray* out = GetRGBBuffer(nullptr);
    auto* palette = static_cast<IntArray*>(palettes->get(currentPalette));
    if (!out || !palette) return false;
    return gfx::decodeModulePixels(pixelFormat & 0xFFFF, reinterpret_cast<const uint8_t*>(data->elements()) + offset,
                                   static_cast<size_t>(size), reinterpret_cast<const uint32_t*>(palette->elements()),
                                   palette->length, indexMask, indexBits, w * h,
                                   reinterpret_cast<uint32_t*>(out->elements()));
}

jint ASprite::GetModuleDataOffset(jint module) {
    if (!moduleDataOffsets || module < 0 || module >= moduleDataOffsets->length - 1) return -1;
    return moduleDataOffsets->get(module);
}

void ASprite::ClearImageData() {
    imageData = nullptr;
    moduleDataOffsets = nullptr;
    imageSection = nullptr;
    palettes = nullptr;
    if (s_gcAtLoad) java_lang_System::gc();
}

IntArray* Bsprite::DecodeModule(jint module) {
    if (!imageData || !moduleDataOffsets || !moduleKinds || !modulesW || !modulesH || module < 0 || module >= moduleCount) return nullptr;
    if (moduleKinds->get(module) != kModuleImage) return nullptr;
    const jint w = modulesW->get(module) & 0xFFFF;
    const jint h = modulesH->get(module) & 0xFFFF;
    if (static_cast<jlong>(w) * h > gfx::kMaxModulePixels) {
        Log::warn("sprite: module %d of %dx%d is larger than the decode buffer", module, w, h);
        return nullptr;
    }
    const jint at = GetModuleDataOffset(module);
    const jint size = moduleDataOffsets->get(module + 1) - at;
    if (!DecodeModuleRGB(imageData, at, w, h, size)) return nullptr;
    return s_rgbPrimary;
}
