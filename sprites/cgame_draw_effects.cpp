// The RGB blitter of the draw effects: effect 11 draws a scaled copy in strips, 10 and 7 rewrite the
// pixels' alpha or colour, 8 lays a highlight band over the picture, 5 and 6 compose the picture into
// the frame read back. The destination is the shared buffer the source is not.
#include <algorithm>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "platform/graphics/rect.h"
#include "platform/graphics/sprite_effects.h"
#include "platform/graphics/sprite_pixels.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/asprite.h"
#include "sprites/cgame_draw.h"

namespace {

using Graphics = javax_microedition_lcdui_Graphics;

uint32_t* pixelsOf(IntArray* a) { return reinterpret_cast<uint32_t*>(a->elements()); }

bool holds(const IntArray* a, jlong n) { return a && n >= 0 && n <= a->length; }

// Effect 11: a nearest-neighbour copy at parameter 1 percent, drawn in strips that fit the buffer.
void drawScaled(Graphics* g, IntArray* pixels, IntArray* buffer, jint x, jint y, jint w, jint h,
                bool processAlpha, const gfx::ScaleAlpha& alpha) {
    const jint percent = cGameDraw::drawEffectParam(cGameDraw::kEffectScale, 1, 100);
    const int64_t dw = gfx::scaledExtent(w, percent), dh = gfx::scaledExtent(h, percent);
    // A width below one pixel or wider than the buffer has no strip to draw in.
    if (dw < 1 || dh < 1 || dw > buffer->length) return;
    const jint rowsPerStrip = static_cast<jint>(buffer->length / dw);
    jlong at = y;
    for (jint row = 0; row < dh; row += rowsPerStrip) {
        const jint rows = static_cast<jint>(std::min<int64_t>(rowsPerStrip, dh - row));
        gfx::scaleRows(pixelsOf(pixels), pixels->length, w, h, static_cast<int>(dw), static_cast<int>(dh), row, rows,
                       alpha, pixelsOf(buffer));
        if (at > INT32_MAX) return;
        cGameDraw::drawRGBUntranslated(g, buffer, 0, static_cast<jint>(dw), x, static_cast<jint>(at),
                                       static_cast<jint>(dw), rows, alpha.a < 0 ? processAlpha : true);
        at += rows;
    }
}

}  // namespace

IntArray* cGameDraw::drawRGBWithEffects(Graphics* g, IntArray* pixels, jint x, jint y, jint w, jint h, jint flags,
                                        bool processAlpha, bool partialAlpha) {
    BX_RETURN_IF_NULL(pixels, nullptr);
    s_resultProcessAlpha = processAlpha;
    s_resultWidth = w;
    s_resultHeight = h;
    if (w < 1 || h < 1 || !holds(pixels, jlong{w} * h)) return nullptr;
    if (s_drawEffects & 0xD80) {
        if (flags & 4) {
            std::swap(w, h);
            s_resultWidth = w;
            s_resultHeight = h;
        }
        pixels = ASprite::TransformRGB(pixels, w, h, flags);
        if (!pixels) return nullptr;
        flags = 0;
    }
    IntArray* dst = ASprite::GetRGBBuffer(pixels);
    if (!dst) return nullptr;
    const jint n = w * h;
    auto useAlpha = [partialAlpha](jint mode) { return mode != 1 && (mode == 2 || partialAlpha); };

    if (hasDrawEffect(kEffectScale)) {
        const jint p1 = drawEffectParam(kEffectScale, 1, 100), p2 = drawEffectParam(kEffectScale, 2, -1);
        if (p1 == 100 && p2 == -1) return pixels;
        BX_RETURN_IF_NULL(g, nullptr);
        gfx::ScaleAlpha alpha{p2, useAlpha(drawEffectParam(kEffectScale, 0, -1)), processAlpha};
        drawScaled(g, pixels, dst, x, y, w, h, processAlpha, alpha);
        return nullptr;
    }
    if (hasDrawEffect(kEffectAlpha)) {
        return applyColorEffect(pixels, dst, n, drawEffectParam(kEffectAlpha, 1, 255), processAlpha,
                                useAlpha(drawEffectParam(kEffectAlpha, 0, -1)));
    }
    if (hasDrawEffect(kEffectGreyFromRed)) {
        return applyPixelEffect(pixels, dst, n, drawEffectParam(kEffectGreyFromRed, 2, 0),
                                drawEffectParam(kEffectGreyFromRed, 1, -1), processAlpha,
                                useAlpha(drawEffectParam(kEffectGreyFromRed, 0, -1)));
    }
    if (hasDrawEffect(kEffectHighlight)) {
        BX_RETURN_IF_NULL(g, nullptr);
        drawRGBUntranslated(g, pixels, 0, w, x, y, w, h, processAlpha);
        auto p = [](jint i, jint fallback) { return drawEffectParam(kEffectHighlight, i, fallback); };
        const jint width = p(2, 40);
        const jlong start = p(4, 0) == 0 ? jlong{p(1, 0)} : jlong{p(1, 0)} - width / 2 - x;
        gfx::highlightBand(pixelsOf(pixels), pixelsOf(dst), w, h,
                           static_cast<int>(std::clamp<jlong>(start, INT32_MIN / 2, INT32_MAX / 2)), width,
                           static_cast<uint32_t>(p(3, 0xFFFFFF)), p(5, 8), useAlpha(p(0, -1)));
        s_resultProcessAlpha = 1;
        return dst;
    }
    if (hasDrawEffect(kEffectAdditive) || hasDrawEffect(kEffectLighten)) {
        return transformRGBClipped(g, pixels, dst, x, y, w, h, flags, hasDrawEffect(kEffectAdditive),
                                   hasDrawEffect(kEffectLighten), true);
    }
    return nullptr;
}

IntArray* cGameDraw::drawImageWithEffects(Graphics* g, javax_microedition_lcdui_Image* image, jint x, jint y, jint w,
                                          jint h, jint flags, bool processAlpha, bool partialAlpha) {
    BX_RETURN_IF_NULL(image, nullptr);
    IntArray* buffer = ASprite::GetRGBBuffer(nullptr);
    if (w < 1 || h < 1 || !holds(buffer, jlong{w} * h)) return nullptr;
    image->getRGB(buffer, 0, w, 0, 0, w, h);
    BX_RETURN_IF_PENDING(nullptr);
    return drawRGBWithEffects(g, buffer, x, y, w, h, flags, processAlpha, partialAlpha);
}

IntArray* cGameDraw::applyColorEffect(IntArray* src, IntArray* dst, jint n, jint alpha, bool colourKey,
                                      bool scaleAlpha) {
    BX_RETURN_IF_NULL(src, nullptr);
    BX_RETURN_IF_NULL(dst, nullptr);
    if (!holds(src, n) || !holds(dst, n)) return dst;
    gfx::colourEffect(pixelsOf(src), pixelsOf(dst), n, alpha, colourKey, scaleAlpha);
    s_resultProcessAlpha = 1;
    return dst;
}

IntArray* cGameDraw::applyPixelEffect(IntArray* src, IntArray* dst, jint n, jint factor, jint alpha, bool colourKey,
                                      bool scaleAlpha) {
    BX_RETURN_IF_NULL(src, nullptr);
    BX_RETURN_IF_NULL(dst, nullptr);
    if (!holds(src, n) || !holds(dst, n)) return dst;
    if (!gfx::pixelEffect(pixelsOf(src), pixelsOf(dst), n, factor, alpha, colourKey, scaleAlpha)) return src;
    if (alpha >= 0) s_resultProcessAlpha = 1;
    return dst;
}

IntArray* cGameDraw::transformRGBClipped(Graphics* g, IntArray* src, IntArray* dst, jint x, jint y, jint w, jint h,
                                         jint flags, bool additive, bool lighten, bool readBack) {
    BX_RETURN_IF_NULL(g, src);
    BX_RETURN_IF_NULL(src, src);
    BX_RETURN_IF_NULL(dst, src);
    const bool turn = flags & 4;
    const jint W = turn ? h : w, H = turn ? w : h;
    if (W < 1 || H < 1 || !holds(src, jlong{w} * h) || !holds(dst, jlong{W} * H)) return src;
    const Rect clip{g->getClipX(), g->getClipY(), g->getClipWidth(), g->getClipHeight()};
    const Rect visible = clip.clip(x, y, W, H);
    if (visible.empty()) return src;
    if (readBack && s_effectsSupported && s_effectsEnabled && s_frameImage) {
        // The frame under the visible part, placed at its position in the W x H block.
        const jint skipX = static_cast<jint>(visible.x - jlong{x}), skipY = static_cast<jint>(visible.y - jlong{y});
        s_frameImage->getRGB(dst, skipX + skipY * W, W, visible.x + g->getTranslateX(), visible.y + g->getTranslateY(),
                             visible.w, visible.h);
        BX_RETURN_IF_PENDING(dst);
    }
    gfx::composeTransformed(pixelsOf(src), w, h, flags, additive, lighten, pixelsOf(dst));
    s_resultProcessAlpha = 0;
    s_resultWidth = W;
    s_resultHeight = H;
    return dst;
}
