// cGame's drawing statics, the draw-effect table and the small drawing operations of the sprite
// road: the colour tile and its tiled fill, the anti-aliased line and the rectangle outline, and the
// RGB draws with and without a transform.
#include "sprites/cgame_draw.h"

#include <algorithm>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "platform/graphics/rect.h"
#include "platform/graphics/sprite_pixels.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"
#include "sprites/asprite.h"

javax_microedition_lcdui_Graphics* cGameDraw::s_g;
jint cGameDraw::s_drawEffects;
jint cGameDraw::s_usedFrameEffects;
ObjectArray* cGameDraw::s_drawEffectParams;
jbyte cGameDraw::s_effectsEnabled = 1;
jbyte cGameDraw::s_effectsSupported = 1;
javax_microedition_lcdui_Image* cGameDraw::s_frameImage;
jbyte cGameDraw::s_resultProcessAlpha;
jint cGameDraw::s_resultWidth;
jint cGameDraw::s_resultHeight;
javax_microedition_lcdui_Image* cGameDraw::s_colorTile;
jint cGameDraw::s_colorTileColor;

namespace {

const StaticRefRegistration kDrawStatics(CID_cGame, &cGameDraw::s_g, &cGameDraw::s_drawEffectParams,
                                         &cGameDraw::s_frameImage, &cGameDraw::s_colorTile);

void initDrawStatics() {
    cGameDraw::s_drawEffects = 0;
    cGameDraw::s_usedFrameEffects = 0;
    cGameDraw::s_effectsEnabled = 1;
    cGameDraw::s_effectsSupported = 1;
    cGameDraw::s_colorTileColor = 0;
    cGameDraw::createDrawEffectParams();
}

const StaticInitRegistration kDrawInit("cGame::initDrawEffects", &initDrawStatics);

IntArray* paramsOf(jint n) {
    ObjectArray* table = cGameDraw::s_drawEffectParams;
    if (!table || n < 0 || n >= table->length) return nullptr;
    return static_cast<IntArray*>(table->get(n));
}

}  // namespace

void cGameDraw::setDrawEffect(jint n, bool setUp) {
    if (n < 0 || n > 31) return;
    s_drawEffects |= static_cast<jint>(1u << n);
    if (!s_effectsEnabled) s_drawEffects &= ~0x27F;
    if (n < 5) s_usedFrameEffects |= 1 << n;
    if (setUp) setDrawEffectParams(n);
}

bool cGameDraw::hasDrawEffect(jint n) {
    return n >= 0 && n <= 31 && (static_cast<uint32_t>(s_drawEffects) >> n & 1);
}

void cGameDraw::setDrawEffectParams(jint n) {
    IntArray* p = paramsOf(n);
    if (!p) return;
    auto put = [p](jint i, jint v) {
        if (i < p->length) p->set(i, v);
    };
    switch (n) {
        case 0: put(4, 250); break;
        case 1: put(3, 250); break;
        case 7: put(1, -1); put(0, -1); put(2, 0); break;
        case 8: put(1, 0); put(2, 40); put(3, 0xFFFFFF); put(4, 0); put(5, 8); put(0, -1); break;
        case 9: {
            const jint v[] = {172, 104, 2, 0, 0, 0, 256, 512, 4, 4, 16, 112, 64, 72, 3};
            for (jint i = 0; i < 15; ++i) put(i, v[i]);
            break;
        }
        case 10: put(1, 255); put(0, -1); break;
        case 11: put(1, 100); put(2, -1); put(0, -1); break;
        default: break;
    }
}

void cGameDraw::createDrawEffectParams() {
    ObjectArray* table = Runtime::newObjectArray(CID_IntArray, kEffectCount);
    if (!table) return;
    s_drawEffectParams = table;
    for (jint n = 0; n < kEffectCount; ++n) {
        IntArray* p = Runtime::newIntArray(kEffectParamLength);
        if (!p) return;
        s_drawEffectParams->set(n, p);
        setDrawEffectParams(n);
    }
}

jint cGameDraw::drawEffectParam(jint n, jint i, jint fallback) {
    IntArray* p = paramsOf(n);
    return (p && i >= 0 && i < p->length) ? p->get(i) : fallback;
}

void cGameDraw::setDrawEffectParam(jint n, jint i, jint value) {
    IntArray* p = paramsOf(n);
    if (p && i >= 0 && i < p->length) p->set(i, value);
}

void cGameDraw::getColorTile(jint argb) {
    if (s_colorTile && s_colorTileColor == argb) return;
    // A scratch of exactly the tile's size: the image's alpha test reads the whole array.
    IntArray* scratch = Runtime::newIntArray(256);
    if (!scratch) return;
    std::fill_n(scratch->elements(), 256, argb);
    javax_microedition_lcdui_Image* tile = javax_microedition_lcdui_Image::createRGBImage(scratch, 16, 16, true);
    BX_RETURN_IF_PENDING();
    if (!tile) return;
    s_colorTile = tile;
    s_colorTileColor = argb;
}

void cGameDraw::fillRectWithTile(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h) {
    BX_RETURN_IF_NULL(g);
    if (!s_colorTile) return;
    const Rect clip{g->getClipX(), g->getClipY(), g->getClipWidth(), g->getClipHeight()};
    const Rect area = clip.clip(x, y, w, h);
    if (area.empty()) return;
    g->setClip(area.x, area.y, area.w, area.h);
    // Tiles stay on the rectangle's 16-pixel grid; those wholly before the visible part are skipped.
    const jlong firstX = x + (jlong{area.x} - x) / 16 * 16;
    const jlong firstY = y + (jlong{area.y} - y) / 16 * 16;
    for (jlong ty = firstY; ty < area.bottom(); ty += 16) {
        for (jlong tx = firstX; tx < area.right(); tx += 16) {
            g->drawImage(s_colorTile, static_cast<jint>(tx), static_cast<jint>(ty), 0);
        }
    }
    g->setClip(clip.x, clip.y, clip.w, clip.h);
}

void cGameDraw::drawRectOutline(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h, jint argb) {
    const jint a = static_cast<jint>(static_cast<uint32_t>(argb) >> 24);
    const jint rgb = argb & 0xFFFFFF;
    drawLineARGB(g, x + 1, y, x + w, y, rgb, a, a);
    drawLineARGB(g, x, y, x, y + h, rgb, a, a);
    drawLineARGB(g, x + w, y + h, x + w, y, rgb, a, a);
    drawLineARGB(g, x + w + 1, y + h, x, y + h, rgb, a, a);
}

void cGameDraw::drawLineARGB(javax_microedition_lcdui_Graphics* g, jint x1, jint y1, jint x2, jint y2, jint rgb,
                             jint alpha1, jint alpha2) {
    BX_RETURN_IF_NULL(g);
    const jlong dx = jlong{x2} - x1, dy = jlong{y2} - y1;
    if (dx == 0 && dy == 0) return;
    IntArray* strip = ASprite::s_rgbPrimary;
    if (!strip) strip = ASprite::GetRGBBuffer(nullptr);
    if (!strip || strip->length < 2) return;
    const bool xMajor = (dx < 0 ? -dx : dx) > (dy < 0 ? -dy : dy);
    // Along the major axis from the smaller end; the minor coordinate and the alpha in 16.16.
    jlong m0 = xMajor ? x1 : y1, m1 = xMajor ? x2 : y2, n0 = xMajor ? y1 : x1, n1 = xMajor ? y2 : x2;
    jlong a0 = alpha1, a1 = alpha2;
    if (m0 > m1) {
        std::swap(m0, m1);
        std::swap(n0, n1);
        std::swap(a0, a1);
    }
    const jlong grad = ((n1 - n0) << 16) / (m1 - m0);
    const jlong astep = ((a1 - a0) << 16) / (m1 - m0);
    jlong n = (n0 << 16) + grad;
    jlong a = a0 << 16;
    const uint32_t colour = static_cast<uint32_t>(rgb) & 0xFFFFFF;
    for (jlong m = m0; m < m1; ++m) {
        const uint32_t f = static_cast<uint32_t>(n & 0xFFFF);
        const auto alphaOf = [a](uint32_t coverage) {
            return static_cast<uint32_t>((jlong{coverage} * a) & 0xFF000000);
        };
        strip->set(0, static_cast<jint>(alphaOf((65535 - f) >> 8) | colour));
        strip->set(1, static_cast<jint>(alphaOf(f >> 8) | colour));
        const jint major = static_cast<jint>(m), minor = static_cast<jint>(n >> 16);
        if (xMajor) {
            drawRGBUntranslated(g, strip, 0, 1, major, minor, 1, 2, true);
        } else {
            drawRGBUntranslated(g, strip, 0, 2, minor, major, 2, 1, true);
        }
        n += grad;
        a += astep;
    }
}

void cGameDraw::drawRGBUntranslated(javax_microedition_lcdui_Graphics* g, IntArray* pixels, jint offset,
                                    jint scanlength, jint x, jint y, jint w, jint h, bool processAlpha) {
    BX_RETURN_IF_NULL(g);
    // Taking the translation out and shifting the point by it lands where a plain drawRGB does.
    g->drawRGB(pixels, offset, scanlength, x, y, w, h, processAlpha);
}

void cGameDraw::drawRGBTransformed(javax_microedition_lcdui_Graphics* g, IntArray* pixels, jint offset,
                                   jint scanlength, jint x, jint y, jint w, jint h, bool processAlpha, bool,
                                   jint flags) {
    BX_RETURN_IF_NULL(g);
    if ((flags & 7) == 0) {
        g->drawRGB(pixels, offset, scanlength, x, y, w, h, processAlpha);
        return;
    }
    if (offset != 0 || scanlength != w) return;   // the turns work on a packed w x h block
    if (flags & 4) std::swap(w, h);   // TransformRGB takes the output's size
    IntArray* turned = ASprite::TransformRGB(pixels, w, h, flags);
    if (!turned) return;
    g->drawRGB(turned, 0, w, x, y, w, h, processAlpha);
}

namespace {

const StaticStartValues kStartValues(&cGameDraw::s_g, &cGameDraw::s_drawEffects, &cGameDraw::s_usedFrameEffects,
                                     &cGameDraw::s_drawEffectParams, &cGameDraw::s_effectsEnabled,
                                     &cGameDraw::s_effectsSupported, &cGameDraw::s_frameImage,
                                     &cGameDraw::s_resultProcessAlpha, &cGameDraw::s_resultWidth,
                                     &cGameDraw::s_resultHeight, &cGameDraw::s_colorTile, &cGameDraw::s_colorTileColor);

}  // namespace

void cGameDraw::resetStatics() { kStartValues.restore(); }
