// Bsprite's ARGB buffer operations: the cut to the buffer and the current Graphics' clip, then the
// pixel work of gfx::fillRectARGB and gfx::blitARGB. The clip is taken in the buffer's coordinates.
#include <algorithm>
#include <cstdint>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "platform/graphics/argb_effects.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/log.h"
#include "sprites/bsprite.h"
#include "sprites/cgame_draw.h"

namespace {

// The buffer as a surface; width 0 when its size is not positive or the array is shorter.
SurfaceARGB bufferView(IntArray* buf, jint bufW, jint bufH) {
    if (bufW < 1 || bufH < 1 || int64_t{bufW} * bufH > buf->length) {
        Log::warn("ARGB buffer refused: %d x %d over %d pixels", bufW, bufH, buf->length);
        return {};
    }
    return {reinterpret_cast<uint32_t*>(buf->elements()), bufW, bufH, bufW};
}

// (x, y, width, height) cut to the buffer, then to the current Graphics' clip.
Rect cut(const SurfaceARGB& buffer, jint x, jint y, jint width, jint height) {
    Rect area = buffer.bounds().clip(x, y, width, height);
    if (auto* g = cGameDraw::s_g)
        area = area.clip(g->getClipX(), g->getClipY(), g->getClipWidth(), g->getClipHeight());
    return area;
}

}  // namespace

void Bsprite::FillRectARGB(IntArray* buf, jint bufW, jint bufH, bool bufAlpha, jint x, jint y, jint w, jint h,
                           jint argb) {
    if (w < 1 || h < 1) return;
    BX_RETURN_IF_NULL(buf);
    const SurfaceARGB buffer = bufferView(buf, bufW, bufH);
    if (buffer.width == 0) return;
    gfx::fillRectARGB(buffer, cut(buffer, x, y, w, h), static_cast<uint32_t>(argb), bufAlpha);
}

void Bsprite::DrawRectARGB(IntArray* buf, jint bufW, jint bufH, bool bufAlpha, jint x, jint y, jint w, jint h,
                           jint argb) {
    FillRectARGB(buf, bufW, bufH, bufAlpha, x, y, w, 1, argb);
    FillRectARGB(buf, bufW, bufH, bufAlpha, x, jt::add(y, h), w, 1, argb);
    FillRectARGB(buf, bufW, bufH, bufAlpha, x, y, 1, h, argb);
    FillRectARGB(buf, bufW, bufH, bufAlpha, jt::add(x, w), y, 1, jt::add(h, 1), argb);
}

void Bsprite::BlitARGB(IntArray* buf, jint bufW, jint bufH, bool bufAlpha, jint x, jint y, IntArray* src, jint srcW,
                       jint srcH, jint mode, jint transform) {
    if (srcW < 1 || srcH < 1) return;
    BX_RETURN_IF_NULL(buf);
    BX_RETURN_IF_NULL(src);
    if (int64_t{srcW} * srcH > src->length) {
        Log::warn("ARGB copy refused: %d x %d source over %d pixels", srcW, srcH, src->length);
        return;
    }
    const SurfaceARGB buffer = bufferView(buf, bufW, bufH);
    if (buffer.width == 0) return;
    const bool swap = (transform & 4) != 0;
    const Rect area = cut(buffer, x, y, swap ? srcH : srcW, swap ? srcW : srcH);
    if (area.empty()) return;
    gfx::blitARGB(buffer, area, {x, y}, reinterpret_cast<const uint32_t*>(src->elements()), srcW, srcH, mode,
                  transform & 7, bufAlpha);
}

void ASprite::CopyRGBRect(IntArray* src, jint srcW, jint srcH, IntArray* dst, jint dstOffset, jint dstStride, jint x,
                          jint y, jint w, jint h) {
    BX_RETURN_IF_NULL(src);
    BX_RETURN_IF_NULL(dst);
    if (x < 0 || y < 0 || srcW < 1 || srcH < 1 || int64_t{srcW} * srcH > src->length) return;
    w = static_cast<jint>(std::min<int64_t>(w, int64_t{srcW} - x));
    h = static_cast<jint>(std::min<int64_t>(h, int64_t{srcH} - y));
    if (w < 1 || h < 1) return;
    // Every row checked before the first is copied: a bad stride writes nothing, not half a picture.
    const int64_t last = int64_t{dstOffset} + int64_t{dstStride} * (h - 1);
    if (dstOffset < 0 || last < 0 || std::max<int64_t>(dstOffset, last) + w > dst->length) return;
    for (jint r = 0; r < h; ++r) {
        std::copy_n(src->elements() + int64_t{y + r} * srcW + x, w, dst->elements() + dstOffset + int64_t{dstStride} * r);
    }
}
