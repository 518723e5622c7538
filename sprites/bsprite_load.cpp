// Bsprite loading: the sections of the sprite data in order, each checked as it is read. A section
// that runs past the data, or names a module, frame-module, frame or animation frame its table does
// not hold, refuses the whole sprite: painting then never meets an index it cannot follow.
#include "sprites/bsprite.h"

#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/static_class.h"
#include "runtime/system_natives.h"
#include "sprites/sprite_byte_reader.h"

jbyte ASprite::s_gcAtLoad = 1;
IntArray* ASprite::s_rgbPrimary;
IntArray* ASprite::s_rgbSecondary;

namespace {

using sprites::ByteReader;

const uint32_t kASpriteRefs[] = {
    BX_REF_FIELD(ASprite, moduleVersions), BX_REF_FIELD(ASprite, textScratch),
    BX_REF_FIELD(ASprite, modulesX),       BX_REF_FIELD(ASprite, modulesY),
    BX_REF_FIELD(ASprite, modulesW),       BX_REF_FIELD(ASprite, modulesH),
    BX_REF_FIELD(ASprite, shapeParams),    BX_REF_FIELD(ASprite, shapeIndex),
    BX_REF_FIELD(ASprite, moduleKinds),    BX_REF_FIELD(ASprite, moduleColours),
    BX_REF_FIELD(ASprite, fmModule),       BX_REF_FIELD(ASprite, fmOffX),
    BX_REF_FIELD(ASprite, fmOffY),         BX_REF_FIELD(ASprite, fmFlags),
    BX_REF_FIELD(ASprite, frameFmCount),   BX_REF_FIELD(ASprite, frameFmFirst),
    BX_REF_FIELD(ASprite, frameRects),     BX_REF_FIELD(ASprite, frameBoxes),
    BX_REF_FIELD(ASprite, frameBoxFirst),  BX_REF_FIELD(ASprite, afFrame),
    BX_REF_FIELD(ASprite, afTime),         BX_REF_FIELD(ASprite, afOffX),
    BX_REF_FIELD(ASprite, afOffY),         BX_REF_FIELD(ASprite, afFlags),
    BX_REF_FIELD(ASprite, animAfCount),    BX_REF_FIELD(ASprite, animAfFirst),
    BX_REF_FIELD(ASprite, moduleMaps),     BX_REF_FIELD(ASprite, imageData),
    BX_REF_FIELD(ASprite, moduleDataOffsets), BX_REF_FIELD(ASprite, palettes),
    BX_REF_FIELD(ASprite, argbCache),      BX_REF_FIELD(ASprite, imageCache),
    BX_REF_FIELD(ASprite, paletteBytes),   BX_REF_FIELD(ASprite, imageSection),
    BX_REF_FIELD(ASprite, imageSectionTable),
    BX_REF_FIELD(ASprite, charMap),
};
const RefFieldRegistration kASpriteRefsReg(CID_ASprite, kASpriteRefs);
const StaticRefRegistration kASpriteStatics(CID_ASprite, &ASprite::s_rgbPrimary, &ASprite::s_rgbSecondary);

// A 16-bit section count: the top bit set reads as negative, which is an empty section.
jint sectionCount(ByteReader& r) {
    const jint n = r.s16();
    return n < 0 ? 0 : n;
}

void requestCollection() {
    if (ASprite::s_gcAtLoad) java_lang_System::gc();
}

// Reads 4 x n values, 16-bit or one byte each, into a new table of the matching width.
Array* readRects(ByteReader& r, jint n, bool wide) {
    if (!r.has(4 * n * (wide ? 2 : 1))) {
        r.failed = true;
        return nullptr;
    }
    Array* table = wide ? static_cast<Array*>(Runtime::newShortArray(4 * n))
                        : static_cast<Array*>(Runtime::newByteArray(4 * n));
    if (!table) return nullptr;
    for (jint i = 0; i < 4 * n; ++i) {
        if (wide) {
            Array::setShort(table, i, r.s16());
        } else {
            Array::setByte(table, i, r.s8());
        }
    }
    return table;
}

}  // namespace

void Bsprite::init() {
    cachePoolIndex = reserved1 = reserved2 = versionedPalette = paletteVersion = -1;
    textScale = -1;
    currentModuleMap = -1;
    textScratch = Runtime::newIntArray(4);
}

bool Bsprite::Load(ByteArray* data, jint offset, jint /*paletteMask*/, jint /*loadFlags*/) {
    BX_RETURN_IF_NULL(data, false);
    requestCollection();
    const bool inside = offset >= 0 && offset <= data->length;
    ByteReader r{data, inside ? offset + 2 : 0};
    r.failed = !inside;
    dataFlags = r.s32();
    jint next = r.failed ? sprites::refuseSection("header", offset) : r.pos;
    if (next >= 0) next = LoadModules(next, data);
    if (next >= 0) next = LoadFModules(next, data);
    if (next >= 0) next = LoadFrames(next, data);
    if (next >= 0) next = LoadAFrames(next, data);
    if (next >= 0) next = LoadAnims(next, data);
    if (next >= 0 && moduleCount > 0) {
        if ((dataFlags & kFlagImageSection) && next < data->length) next = LoadPalettes(next, data);
        if (next >= 0) {
            moduleMaps = Runtime::newObjectArray(CID_ShortArray, kModuleMapSlots);
            currentModuleMap = -1;
        }
    }
    if (next >= 0 && (dataFlags & kFlagComputeRects) && !ComputeFrameRects()) next = -1;
    if (next < 0) {
        Unload();
        moduleCount = frameModuleCount = frameCount = aframeCount = animCount = boxCount = 0;
        paletteCount = 0;
    }
    requestCollection();
    return next >= 0;
}

jint Bsprite::LoadModules(jint offset, ByteArray* data) {
    ByteReader r{data, offset};
    const jint m = sectionCount(r);
    moduleCount = m;
    if (r.failed) return sprites::refuseSection("module count", offset);
    if (m == 0) return r.pos;
    const bool xy = dataFlags & kFlagModuleXY;
    const bool wide = dataFlags & kFlagModuleSize16;
    if (xy) {
        modulesX = Runtime::newShortArray(m);
        modulesY = Runtime::newShortArray(m);
    }
    modulesW = Runtime::newShortArray(m);
    modulesH = Runtime::newShortArray(m);
    moduleKinds = Runtime::newByteArray(m);
    moduleColours = Runtime::newIntArray(m);
    ShortArray* params = Runtime::newShortArray(4 * m);   // at most 4 values per module
    IntArray* paramCounts = Runtime::newIntArray(m);
    if (!modulesW || !modulesH || !moduleKinds || !moduleColours || !params || !paramCounts || (xy && !modulesY)) {
        return sprites::refuseSection("module tables", offset);
    }
    jint shapes = 0;
    jint values = 0;
    for (jint i = 0; i < m; ++i) {
        const jint byte = r.u8();
        jint kind;
        switch (byte) {
            case 0x00: kind = kModuleImage; break;
            case 0xFF: kind = kModuleRect; break;
            case 0xFE: kind = kModuleFillRect; break;
            case 0xFD: kind = kModuleEmpty; break;
            case 0xFC: kind = kModuleArc; break;
            case 0xFB: kind = kModuleFillArc; break;
            case 0xFA: kind = kModuleTriangle; break;
            case 0xF9: kind = kModuleFillTriangle; break;
            default: return r.failed ? sprites::refuseSection("module record", offset) : sprites::refuseSection("module kind", r.pos - 1);
        }
        moduleKinds->set(i, static_cast<jbyte>(kind));
        const bool triangle = kind == kModuleTriangle || kind == kModuleFillTriangle;
        if (kind != kModuleImage && kind != kModuleEmpty) moduleColours->set(i, r.s32());
        if (kind == kModuleImage && xy) {
            modulesX->set(i, static_cast<jshort>(r.s16()));
            modulesY->set(i, static_cast<jshort>(r.s16()));
        }
        if (!triangle) {
            modulesW->set(i, static_cast<jshort>(wide ? r.u16() : r.u8()));
            modulesH->set(i, static_cast<jshort>(wide ? r.u16() : r.u8()));
        }
        const jint n = triangle ? 4 : (kind == kModuleArc || kind == kModuleFillArc) ? 2 : 0;
        for (jint k = 0; k < n; ++k) params->set(4 * i + k, static_cast<jshort>(r.s16()));
        paramCounts->set(i, n);
        if (n) {
            ++shapes;
            values += n;
        }
        if (r.failed) return sprites::refuseSection("module record", offset);
    }
    if (shapes > 0) {
        shapeParams = Runtime::newShortArray(values);
        shapeIndex = Runtime::newShortArray(2 * shapes);
        if (!shapeParams || !shapeIndex) return sprites::refuseSection("shape tables", offset);
        jint s = 0;
        jint v = 0;
        for (jint i = 0; i < m; ++i) {
            const jint n = paramCounts->get(i);
            if (!n) continue;
            shapeIndex->set(2 * s, static_cast<jshort>(i));
            shapeIndex->set(2 * s + 1, static_cast<jshort>(v));
            ++s;
            for (jint k = 0; k < n; ++k) shapeParams->set(v++, params->get(4 * i + k));
        }
    }
    return r.pos;
}

jint Bsprite::LoadFModules(jint offset, ByteArray* data) {
    ByteReader r{data, offset};
    const jint f = sectionCount(r);
    frameModuleCount = f;
    if (r.failed) return sprites::refuseSection("frame-module count", offset);
    if (f == 0) return r.pos;
    const bool wide = dataFlags & kFlagFrame16;
    fmModule = Runtime::newByteArray(f);
    fmOffX = Runtime::newShortArray(f);
    fmOffY = Runtime::newShortArray(f);
    fmFlags = Runtime::newByteArray(f);
    if (!fmModule || !fmOffX || !fmOffY || !fmFlags) return sprites::refuseSection("frame-module tables", offset);
    for (jint i = 0; i < f; ++i) {
        const jint module = r.u8();
        const jint x = wide ? r.s16() : r.s8();
        const jint y = wide ? r.s16() : r.s8();
        const jint flags = r.u8();
        if (r.failed) return sprites::refuseSection("frame-module record", offset);
        if (module + (flags & 0xC0) * 4 >= moduleCount) return sprites::refuseSection("frame-module's module", r.pos - 4);
        fmModule->set(i, static_cast<jbyte>(module));
        fmOffX->set(i, static_cast<jshort>(x));
        fmOffY->set(i, static_cast<jshort>(y));
        fmFlags->set(i, static_cast<jbyte>(flags));
    }
    return r.pos;
}

jint Bsprite::LoadFrames(jint offset, ByteArray* data) {
    ByteReader r{data, offset};
    const bool wide = dataFlags & kFlagFrame16;
    const bool boxes = dataFlags & kFlagBoxes;
    boxCount = 0;
    if (boxes) {
        boxCount = sectionCount(r);
        if (!r.failed && boxCount > 0) frameBoxes = readRects(r, boxCount, wide);
        if (r.failed || (boxCount > 0 && !frameBoxes)) return sprites::refuseSection("frame boxes", offset);
    }
    const jint n = sectionCount(r);
    frameCount = n;
    if (r.failed) return sprites::refuseSection("frame count", offset);
    if (n == 0) return r.pos;
    frameFmCount = Runtime::newByteArray(n);
    frameFmFirst = Runtime::newShortArray(n);
    frameBoxFirst = Runtime::newShortArray(n + 1);
    if (!frameFmCount || !frameFmFirst || !frameBoxFirst) return sprites::refuseSection("frame tables", offset);
    jint boxesBefore = 0;
    for (jint i = 0; i < n; ++i) {
        const jint count = r.u8();
        r.u8();
        const jint first = r.s16();
        const jint frameBoxes = boxes ? r.s8() : 0;
        if (r.failed) return sprites::refuseSection("frame record", offset);
        if (first < 0 || first + count > frameModuleCount) return sprites::refuseSection("frame's frame-modules", r.pos);
        if (frameBoxes < 0 || frameBoxes > boxCount - boxesBefore) return sprites::refuseSection("frame's boxes", r.pos);
        frameFmCount->set(i, static_cast<jbyte>(count));
        frameFmFirst->set(i, static_cast<jshort>(first));
        frameBoxFirst->set(i, static_cast<jshort>(boxesBefore));
        boxesBefore += frameBoxes;
    }
    frameBoxFirst->set(n, static_cast<jshort>(boxesBefore));
    if (!(dataFlags & kFlagComputeRects)) {
        frameRects = readRects(r, n, wide);
        if (r.failed || !frameRects) return sprites::refuseSection("frame rectangles", offset);
    }
    return r.pos;
}

jint Bsprite::LoadAFrames(jint offset, ByteArray* data) {
    ByteReader r{data, offset};
    const jint a = sectionCount(r);
    aframeCount = a;
    if (r.failed) return sprites::refuseSection("animation-frame count", offset);
    if (a == 0) return r.pos;
    const bool wide = dataFlags & kFlagAFrameOffset16;
    afFrame = Runtime::newByteArray(a);
    afTime = Runtime::newByteArray(a);
    afOffX = Runtime::newShortArray(a);
    afOffY = Runtime::newShortArray(a);
    afFlags = Runtime::newByteArray(a);
    if (!afFrame || !afTime || !afOffX || !afOffY || !afFlags) return sprites::refuseSection("animation-frame tables", offset);
    for (jint i = 0; i < a; ++i) {
        const jint frame = r.u8();
        const jint time = r.u8();
        const jint x = wide ? r.s16() : r.s8();
        const jint y = wide ? r.s16() : r.s8();
        const jint flags = r.u8();
        if (r.failed) return sprites::refuseSection("animation-frame record", offset);
        if (frame + (flags & 0xC0) * 4 >= frameCount) return sprites::refuseSection("animation frame's frame", r.pos);
        afFrame->set(i, static_cast<jbyte>(frame));
        afTime->set(i, static_cast<jbyte>(time));
        afOffX->set(i, static_cast<jshort>(x));
        afOffY->set(i, static_cast<jshort>(y));
        afFlags->set(i, static_cast<jbyte>(flags));
    }
    return r.pos;
}

jint Bsprite::LoadAnims(jint offset, ByteArray* data) {
    ByteReader r{data, offset};
    const jint c = sectionCount(r);
    animCount = c;
    if (r.failed) return sprites::refuseSection("animation count", offset);
    if (c == 0) return r.pos;
    animAfCount = Runtime::newByteArray(c);
    animAfFirst = Runtime::newShortArray(c);
    if (!animAfCount || !animAfFirst) return sprites::refuseSection("animation tables", offset);
    for (jint i = 0; i < c; ++i) {
        const jint count = r.u8();
        r.u8();
        const jint first = r.s16();
        if (r.failed) return sprites::refuseSection("animation record", offset);
        if (first < 0 || first + count > aframeCount) return sprites::refuseSection("animation's frames", r.pos);
        animAfCount->set(i, static_cast<jbyte>(count));
        animAfFirst->set(i, static_cast<jshort>(first));
    }
    return r.pos;
}

jint ASprite::ReadShorts(ByteArray* data, jint offset, ShortArray* destination, jint destOffset, jint count) {
    BX_RETURN_IF_NULL(data, -1);
    BX_RETURN_IF_NULL(destination, -1);
    ByteReader r{data, offset};
    if (count < 0 || destOffset < 0 || count > destination->length - destOffset || !r.has(2 * count)) return -1;
    for (jint i = 0; i < count; ++i) destination->set(destOffset + i, static_cast<jshort>(r.s16()));
    return r.pos;
}

void Bsprite::SetCurrentPalette(jint p) {
    if (p >= 0 && p < paletteCount) currentPalette = p;
}

void Bsprite::SetNoCacheFlag(Bsprite* sprite, bool on) {
    BX_RETURN_IF_NULL(sprite);
    sprite->cacheModeFlags = on ? (sprite->cacheModeFlags | 1) : (sprite->cacheModeFlags & ~1);
}

void Bsprite::Unload() {
    modulesX = modulesY = modulesW = modulesH = nullptr;
    frameFmCount = nullptr;
    frameFmFirst = nullptr;
    frameRects = frameBoxes = nullptr;
    frameBoxFirst = nullptr;
    animAfCount = nullptr;
    animAfFirst = nullptr;
    for (ObjectArray* table : {moduleMaps, palettes, imageSectionTable}) {
        if (table) {
            for (jint i = 0; i < table->length; ++i) table->set(i, nullptr);
        }
    }
    paletteBytes = nullptr;
    imageData = nullptr;
    moduleDataOffsets = nullptr;
    ClearModuleCache();
}
