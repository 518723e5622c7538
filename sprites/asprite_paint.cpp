// Painting frames and animation frames: each frame-module hands one module, its placement and its
// flags to the sprite's PaintModule; the caller's flips and turn are folded into the stored flags
// through the remap tables. Run with no Graphics and the measure switch set, the same road yields
// bounding rectangles. Every table index is checked: a number outside its table paints nothing.
#include <utility>

#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bsprite.h"
#include "sprites/cgame_draw.h"

const jint ASprite::kTransformTable[8] = {0, 2, 1, 3, 5, 7, 4, 6};
const jint ASprite::kFlipXRemap[8] = {1, 0, 3, 2, 6, 7, 4, 5};
const jint ASprite::kFlipYRemap[8] = {2, 3, 0, 1, 5, 4, 7, 6};
const jint ASprite::kRotateRemap[8] = {4, 5, 6, 7, 3, 2, 1, 0};

jint ASprite::s_measuring = 0;
jint ASprite::s_measureMinX = 0x7FFFFFFF;
jint ASprite::s_measureMinY = 0x7FFFFFFF;
jint ASprite::s_measureMaxX = static_cast<jint>(0x80000000u);
jint ASprite::s_measureMaxY = static_cast<jint>(0x80000000u);

namespace {

bool inside(const Array* table, jint i) { return table && i >= 0 && i < table->length; }

jint u16(const ShortArray* a, jint i) { return inside(a, i) ? (a->get(i) & 0xFFFF) : 0; }
jint s16(const ShortArray* a, jint i) { return inside(a, i) ? a->get(i) : 0; }
jint u8(const ByteArray* a, jint i) { return inside(a, i) ? (a->get(i) & 0xFF) : 0; }

// Effect 11 scales placement offsets by its percentage (truncating towards zero).
jint scaled(jint v, jint percent) { return static_cast<jint>(jlong{v} * percent / 100); }

void startMeasure() {
    ASprite::s_measuring = 1;
    ASprite::s_measureMinX = ASprite::s_measureMinY = 0x7FFFFFFF;
    ASprite::s_measureMaxX = ASprite::s_measureMaxY = static_cast<jint>(0x80000000u);
}

void endMeasure(IntArray* rect) {
    ASprite::s_measuring = 0;
    if (!rect || rect->length < 4) return;
    rect->set(0, ASprite::s_measureMinX);
    rect->set(1, ASprite::s_measureMinY);
    rect->set(2, ASprite::s_measureMaxX);
    rect->set(3, ASprite::s_measureMaxY);
}

}  // namespace

jint ASprite::MapModule(jint m) const {
    if (currentModuleMap < 0 || !moduleMaps || currentModuleMap >= moduleMaps->length) return m;
    auto* map = static_cast<ShortArray*>(moduleMaps->get(currentModuleMap));
    if (!inside(map, m)) return m;
    return map->get(m) & 0xFFFF;
}

jint ASprite::GetFModules(jint frame) const {
    return (frame >= 0 && frame < frameCount) ? u8(frameFmCount, frame) : 0;
}

jint ASprite::GetAFrames(jint anim) const { return (anim >= 0 && anim < animCount) ? u8(animAfCount, anim) : 0; }

jint ASprite::GetAFrameTime(jint anim, jint aframe) const {
    if (aframe < 0 || aframe >= GetAFrames(anim)) return 0;
    return u8(afTime, s16(animAfFirst, anim) + aframe);
}

jint ASprite::GetModuleWidth(jint module) const { return (module < moduleCount) ? u16(modulesW, module) : 0; }
jint ASprite::GetModuleHeight(jint module) const { return (module < moduleCount) ? u16(modulesH, module) : 0; }
jint ASprite::GetFModuleX(jint i) const { return s16(fmOffX, i); }
jint ASprite::GetFModuleY(jint i) const { return s16(fmOffY, i); }
jint ASprite::GetAFrameX(jint i) const { return s16(afOffX, i); }
jint ASprite::GetAFrameY(jint i) const { return s16(afOffY, i); }

jint ASprite::GetFrameModule(jint frame, jint j) const {
    if (j < 0 || j >= GetFModules(frame)) return 0;
    const jint k = s16(frameFmFirst, frame) + j;
    return u8(fmModule, k) + ((u8(fmFlags, k) & 0xC0) << 2);
}

jint ASprite::GetFrameModuleX(jint frame, jint j) const {
    return (j >= 0 && j < GetFModules(frame)) ? s16(fmOffX, s16(frameFmFirst, frame) + j) : 0;
}

jint ASprite::GetFrameModuleY(jint frame, jint j) const {
    return (j >= 0 && j < GetFModules(frame)) ? s16(fmOffY, s16(frameFmFirst, frame) + j) : 0;
}

void ASprite::GetModuleRect(IntArray* rect, jint module, jint x, jint y, jint flags) {
    BX_RETURN_IF_NULL(rect);
    if (rect->length < 4) return;
    jint w = GetModuleWidth(module);
    jint h = GetModuleHeight(module);
    if (flags & 4) std::swap(w, h);
    rect->set(0, x);
    rect->set(1, y);
    rect->set(2, x + w);
    rect->set(3, y + h);
}

void ASprite::PaintFrame(javax_microedition_lcdui_Graphics* g, jint frame, jint x, jint y, jint flags, jint,
                         jint) {
    const jint n = GetFModules(frame);
    for (jint i = 0; i < n; ++i) PaintFModule(g, frame, i, x, y, flags);
}

void ASprite::PaintFModule(javax_microedition_lcdui_Graphics* g, jint frame, jint index, jint x, jint y,
                           jint flags) {
    if (index < 0 || index >= GetFModules(frame)) return;
    const jint k = s16(frameFmFirst, frame) + index;
    if (k < 0 || k >= frameModuleCount) return;
    jint f = u8(fmFlags, k);
    const jint m = u8(fmModule, k) + ((f & 0xC0) << 2);
    const jint placed = MapModule(m);
    jint w = GetModuleWidth(placed);
    jint h = GetModuleHeight(placed);
    if (f & 4) std::swap(w, h);
    jint ox = s16(fmOffX, k);
    jint oy = s16(fmOffY, k);
    if (flags & 1) {
        f = kFlipXRemap[f & 7] | (f & ~7);
        ox = -(w + ox);
    }
    if (flags & 2) {
        f = kFlipYRemap[f & 7] | (f & ~7);
        oy = -(h + oy);
    }
    if (flags & 4) {
        f = kRotateRemap[f & 7] | (f & ~7);
        const jint turned = -(h + oy);
        oy = ox;
        ox = turned;
    }
    if (cGameDraw::hasDrawEffect(cGameDraw::kEffectScale)) {
        const jint s = cGameDraw::drawEffectParam(cGameDraw::kEffectScale, 1, 100);
        ox = scaled(ox, s);
        oy = scaled(oy, s);
    }
    static_cast<Bsprite*>(this)->PaintModule(g, m, x + ox, y + oy, f & 15);
}

void ASprite::PaintAFrame(javax_microedition_lcdui_Graphics* g, jint anim, jint aframe, jint x, jint y, jint flags,
                          jint hx, jint hy) {
    if (aframe < 0 || aframe >= GetAFrames(anim)) return;
    const jint k = s16(animAfFirst, anim) + aframe;
    if (k < 0 || k >= aframeCount) return;
    const jint a = u8(afFlags, k);
    const jint frame = u8(afFrame, k) + ((a & 0xC0) << 2);
    jint ox = s16(afOffX, k);
    jint oy = s16(afOffY, k);
    jint f = a & 15;
    if (flags & 1) {
        f = kFlipXRemap[f & 7] | (f & ~7);
        ox = -ox;
    }
    if (flags & 2) {
        f = kFlipYRemap[f & 7] | (f & ~7);
        oy = -oy;
    }
    if (flags & 4) {
        f = kRotateRemap[f & 7] | (f & ~7);
        const jint turned = -oy;
        oy = ox;
        ox = turned;
    }
    PaintFrame(g, frame, x + ox, y + oy, f, hx, hy);
}

void ASprite::GetFrameRect(IntArray* rect, jint frame, jint x, jint y, jint flags) {
    startMeasure();
    PaintFrame(nullptr, frame, x, y, flags, 0, 0);
    endMeasure(rect);
}

void ASprite::GetAFrameRect(IntArray* rect, jint anim, jint aframe, jint x, jint y, jint flags) {
    startMeasure();
    PaintAFrame(nullptr, anim, aframe, x, y, flags, 0, 0);
    endMeasure(rect);
}

void ASprite::GetFrameBox(jint frame, jint item, IntArray* box, jint flags) {
    if (!frameBoxes || !frameBoxFirst || !box || box->length < 4) return;
    if (frame < 0 || frame + 1 >= frameBoxFirst->length) return;
    const jint first = frameBoxFirst->get(frame);
    const jint n = frameBoxFirst->get(frame + 1) - first;
    const jint b = (first + item) * 4;
    if (n < 1 || item < 0 || item >= n || b < 0 || b + 3 >= frameBoxes->length) {
        for (jint i = 0; i < 4; ++i) box->set(i, 0);
        return;
    }
    const bool wide = dataFlags & kFlagFrame16;
    auto value = [&](jint i, bool isSigned) {
        const jint v = wide ? Array::getShort(frameBoxes, b + i) : Array::getByte(frameBoxes, b + i);
        return isSigned ? v : (v & (wide ? 0xFFFF : 0xFF));
    };
    jint bx = value(0, true);
    jint by = value(1, true);
    const jint bw = value(2, false);
    const jint bh = value(3, false);
    if (flags & 1) bx = -(bw + bx);
    if (flags & 2) by = -(bh + by);
    box->set(0, bx);
    box->set(1, by);
    box->set(2, bw);
    box->set(3, bh);
}

void ASprite::GetAFrameBox(jint anim, jint aframe, jint item, IntArray* box, jint flags, bool addOffsets) {
    if (!box || box->length < 4 || aframe < 0 || aframe >= GetAFrames(anim)) return;
    const jint k = s16(animAfFirst, anim) + aframe;
    if (k < 0 || k >= aframeCount) return;
    const jint a = u8(afFlags, k);
    const jint frame = u8(afFrame, k) + ((a & 0xC0) << 2);
    GetFrameBox(frame, item, box, (a & 15) ^ flags);
    if (addOffsets) {
        box->set(0, box->get(0) + s16(afOffX, k));
        box->set(1, box->get(1) + s16(afOffY, k));
    }
}

bool ASprite::ComputeFrameRects() {
    if (frameCount <= 0) return true;
    // Always 16-bit: measured in portrait coordinates, x reaches 480, which no byte holds.
    ShortArray* table = Runtime::newShortArray(4 * frameCount);
    IntArray* rect = Runtime::newIntArray(4);
    if (!table || !rect) return false;
    frameRects = table;
    for (jint f = 0; f < frameCount; ++f) {
        GetFrameRect(rect, f, 0, 0, 0);
        const jlong minX = rect->get(0), minY = rect->get(1);
        if (minX > rect->get(2) || minY > rect->get(3)) continue;   // no modules: {0, 0, 0, 0}
        table->set(4 * f, static_cast<jshort>(minX));
        table->set(4 * f + 1, static_cast<jshort>(minY));
        table->set(4 * f + 2, static_cast<jshort>(rect->get(2) - minX));
        table->set(4 * f + 3, static_cast<jshort>(rect->get(3) - minY));
    }
    return true;
}

namespace {

// Value i of the frame rectangle table, whose width (bytes or shorts) is its own: loaded tables
// follow flag 0x400, computed ones are 16-bit.
jint rectValue(Array* rects, jlong i) {
    if (!rects || i < 0 || i >= rects->length) return 0;
    return rects->elementSize() == 2 ? Array::getShort(rects, static_cast<jint>(i))
                                     : Array::getByte(rects, static_cast<jint>(i));
}

}  // namespace

jint Bsprite::GetFrameX(jint frame) const { return frame < 0 ? 0 : rectValue(frameRects, 4 * jlong{frame}); }
jint Bsprite::GetFrameY(jint frame) const { return frame < 0 ? 0 : rectValue(frameRects, 4 * jlong{frame} + 1); }

jint Bsprite::GetFrameWidth(jint frame) const {
    if (frame < 0 || !frameRects) return 0;
    return rectValue(frameRects, 4 * jlong{frame} + 2) & (frameRects->elementSize() == 2 ? 0xFFFF : 0xFF);
}

jint Bsprite::GetFrameHeight(jint frame) const {
    if (frame < 0 || !frameRects) return 0;
    return rectValue(frameRects, 4 * jlong{frame} + 3) & (frameRects->elementSize() == 2 ? 0xFFFF : 0xFF);
}

namespace {

Object* cacheEntry(ObjectArray* table, jint palette, jint module) {
    if (!table || palette < 0 || palette >= table->length) return nullptr;
    auto* row = static_cast<ObjectArray*>(table->get(palette));
    return (row && module >= 0 && module < row->length) ? row->get(module) : nullptr;
}

}  // namespace

IntArray* ASprite::GetModuleArgb(jint module, jint palette) const {
    return static_cast<IntArray*>(cacheEntry(argbCache, palette, module));
}

Object* ASprite::GetModuleImage(jint module, jint palette) const { return cacheEntry(imageCache, palette, module); }

bool ASprite::IsModuleCached(jint module, jint palette) const {
    return GetModuleArgb(module, palette) || GetModuleImage(module, palette);
}

void ASprite::ClearCacheEntry(jint palette, jint module) {
    for (ObjectArray* table : {argbCache, imageCache}) {
        if (!table || palette < 0 || palette >= table->length) continue;
        auto* row = static_cast<ObjectArray*>(table->get(palette));
        if (!row) continue;
        if (module == -1) {
            for (jint m = 0; m < row->length; ++m) row->set(m, nullptr);
        } else if (module >= 0 && module < row->length) {
            row->set(module, nullptr);
        }
    }
}

void ASprite::DrawImageRGB(javax_microedition_lcdui_Graphics* g, jint module, Object* image, jint mode, jint x, jint y,
                           jint w, jint h, jint flags) {
    BX_RETURN_IF_NULL(image);
    IntArray* buffer = GetRGBBuffer(nullptr);
    if (!buffer || w < 1 || h < 1 || jlong{w} * h > buffer->length) return;
    static_cast<javax_microedition_lcdui_Image*>(image)->getRGB(buffer, 0, w, x, y, w, h);
    BX_RETURN_IF_PENDING();
    DrawRGB(g, module, buffer, mode, x, y, w, h, flags);
}

void ASprite::DrawRGB(javax_microedition_lcdui_Graphics* g, jint module, IntArray* pixels, jint mode, jint x, jint y,
                      jint w, jint h, jint flags) {
    BX_RETURN_IF_NULL(g);
    BX_RETURN_IF_NULL(pixels);
    IntArray* moduleArgb = GetModuleArgb(module, 0);
    if (!moduleArgb) return;   // nothing cached to combine
    IntArray* out = cGameDraw::transformRGBClipped(g, moduleArgb, pixels, x, y, w, h, flags, mode == 2, mode == 3, false);
    if (out != pixels) return;   // nothing of it visible
    cGameDraw::drawRGBUntranslated(g, pixels, 0, w, x, y, w, h, false);
}
