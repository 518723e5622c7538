// Module painting on the portrait screen: the landscape position is turned into the 480-wide
// portrait buffer (X = 480 - H - y, Y = x) and the module's flags get a quarter turn; the module is
// then drawn with the Graphics shape operations or from the module caches, honouring the draw
// effects. Culling and sizes are worked in 64 bits, so no position near the int range wraps back
// onto the screen.
#include <utility>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "platform/graphics/region_blit.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bsprite.h"
#include "sprites/cgame_draw.h"

namespace {

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

// Green and blue take the red channel; alpha and red stay.
jint greyFromRed(jint colour) {
    const jint r = (colour >> 16) & 0xFF;
    return (colour & static_cast<jint>(0xFFFF0000u)) | (r << 8) | r;
}

jint scaled(jint v, jint percent) { return static_cast<jint>(jlong{v} * percent / 100); }

bool fitsInt(jlong v) { return v >= INT32_MIN && v <= INT32_MAX; }

}  // namespace

void Bsprite::PaintModule(Graphics* g, jint module, jint x, jint y, jint flags) {
    if (module < 0 || module >= moduleCount) return;
    const jint H = (flags & 4) ? GetModuleWidth(module) : GetModuleHeight(module);
    const jlong X = jlong{kScreenWidth} - H - y;
    if (!fitsInt(X)) return;
    PaintModuleScreen(g, module, static_cast<jint>(X), x, kRotateRemap[flags & 7]);
}

void Bsprite::PaintModuleScreen(Graphics* g, jint module, jint X, jint Y, jint flags) {
    const jint m = MapModule(module);
    if (m < 0 || m >= moduleCount || !moduleKinds) return;
    jint w = GetModuleWidth(m);
    jint h = GetModuleHeight(m);
    jint W = w, H = h;
    if (flags & 4) std::swap(W, H);
    const bool scale = cGameDraw::hasDrawEffect(cGameDraw::kEffectScale);
    const jint percent = cGameDraw::drawEffectParam(cGameDraw::kEffectScale, 1, 100);
    const jint kind = moduleKinds->get(m);

    if (kind != kModuleImage && g) {
        jint colour = (moduleColours && m < moduleColours->length) ? moduleColours->get(m) : 0;
        const bool grey = cGameDraw::hasDrawEffect(cGameDraw::kEffectGreyFromRed);
        if (grey) colour = greyFromRed(colour);
        g->setColor(colour);
        if (scale) {
            W = scaled(W, percent);
            H = scaled(H, percent);
        }
        const bool alphaEffect = cGameDraw::hasDrawEffect(cGameDraw::kEffectAlpha);
        const jint p1 = cGameDraw::drawEffectParam(cGameDraw::kEffectAlpha, 1, 255);
        const jint withEffectAlpha = (colour & 0xFFFFFF) + static_cast<jint>(static_cast<uint32_t>(p1) << 24);
        switch (kind) {
            case kModuleRect:
                if (alphaEffect) {
                    cGameDraw::drawRectOutline(g, X, Y, W - 1, H - 1, withEffectAlpha);
                } else {
                    Graphics* target = cGameDraw::s_g ? cGameDraw::s_g : g;
                    target->setColor(colour);
                    target->drawRect(X, Y, W - 1, H - 1);
                }
                return;
            case kModuleFillRect: {
                const uint32_t alpha = static_cast<uint32_t>(colour) >> 24;
                if (alpha != 0xFF && alpha != 0) {
                    cGameDraw::getColorTile(colour);
                    cGameDraw::fillRectWithTile(g, X, Y, W, H);
                } else if (alphaEffect) {
                    cGameDraw::getColorTile(withEffectAlpha);
                    cGameDraw::fillRectWithTile(g, X, Y, W, H);
                } else {
                    g->fillRect(X, Y, W, H);
                }
                return;
            }
            case kModuleArc:
            case kModuleFillArc:
            case kModuleTriangle:
            case kModuleFillTriangle: {
                // The shape's parameters through the index of {module, first parameter} pairs.
                jint first = -1;
                for (jint i = 0; shapeIndex && i + 1 < shapeIndex->length; i += 2) {
                    if (shapeIndex->get(i) == m) {
                        first = shapeIndex->get(i + 1);
                        break;
                    }
                }
                const jint needed = (kind == kModuleArc || kind == kModuleFillArc) ? 2 : 4;
                if (first < 0 || !shapeParams || first > shapeParams->length - needed) return;
                auto p = [this, first](jint i) { return static_cast<jint>(shapeParams->get(first + i)); };
                if (needed == 2) {
                    jint start = (flags & 1) ? 90 - p(0) : p(0);
                    if (flags & 2) start = -start;
                    if (flags & 4) start -= 90;
                    const jint arc = (flags & 2) ? -p(1) : p(1);
                    if (kind == kModuleArc) {
                        g->drawArc(X, Y, W, H, start, arc);
                    } else {
                        g->fillArc(X, Y, W, H, start, arc);
                    }
                } else if (kind == kModuleTriangle) {
                    g->drawLine(X, Y, X + p(0), Y + p(1));
                    g->drawLine(X + p(0), Y + p(1), X + p(2), Y + p(3));
                    g->drawLine(X, Y, X + p(2), Y + p(3));
                } else {
                    g->fillTriangle(X, Y, X + p(0), Y + p(1), X + p(2), Y + p(3));
                }
                return;
            }
            default:
                return;   // kind 5 and unknown kinds draw nothing
        }
    }

    if (s_measuring) {
        s_measureMinX = std::min(s_measureMinX, X);
        s_measureMinY = std::min(s_measureMinY, Y);
        s_measureMaxX = static_cast<jint>(std::max<jlong>(s_measureMaxX, std::min<jlong>(jlong{X} + W, INT32_MAX)));
        s_measureMaxY = static_cast<jint>(std::max<jlong>(s_measureMaxY, std::min<jlong>(jlong{Y} + H, INT32_MAX)));
        return;
    }
    if (currentPalette == versionedPalette && moduleVersions && m < moduleVersions->length &&
        moduleVersions->get(m) != static_cast<jbyte>(paletteVersion)) {
        const jbyte saved = s_gcAtLoad;
        s_gcAtLoad = 0;
        BuildModuleCache(currentPalette, m, m, -1);
        s_gcAtLoad = saved;
        moduleVersions->set(m, static_cast<jbyte>(paletteVersion));
    }
    if (W < 1 || H < 1 || !g) return;
    const jlong shownW = scale ? jlong{W} * percent / 100 : W;
    const jlong shownH = scale ? jlong{H} * percent / 100 : H;
    const jlong cx = g->getClipX(), cy = g->getClipY();
    if (X + shownW < cx || Y + shownH < cy || X >= cx + g->getClipWidth() || Y >= cy + g->getClipHeight()) return;
    if (!(dataFlags & (kFlagImageSection | kFlagCachedImages))) return;

    auto cached = [this, m](ObjectArray* table) -> Object* {
        if (!table || currentPalette < 0 || currentPalette >= table->length) return nullptr;
        auto* row = static_cast<ObjectArray*>(table->get(currentPalette));
        return (row && m < row->length) ? row->get(m) : nullptr;
    };
    auto* img = static_cast<Image*>(cached(imageCache));
    auto* argb = static_cast<IntArray*>(cached(argbCache));
    bool alpha = hasTransparency;
    const bool effects = cGameDraw::s_effectsEnabled && (cGameDraw::s_drawEffects & cGameDraw::kPixelEffectsMask);

    if ((cacheModeFlags & 1) || !img) {
        if (!argb) argb = DecodeModule(m);
        if (!argb) return;
        if (effects) {
            argb = cGameDraw::drawRGBWithEffects(g, argb, X, Y, w, h, flags, alpha, hasPartialAlpha);
            if (!argb) return;
            alpha = cGameDraw::s_resultProcessAlpha;
            w = cGameDraw::s_resultWidth;
            h = cGameDraw::s_resultHeight;
            flags = 0;
        }
        // An Image made here joins the pool's cache; a picture changed by an effect never does.
        if (!(cacheModeFlags & 1) && !effects && cachePoolIndex >= 0 && EnsurePaletteCache(currentPalette)) {
            img = CreateModuleImage(argb, w, h, hasTransparency);
            BX_RETURN_IF_PENDING();
            if (!img) return;
            CacheStoreImage(m, img);
        } else {
            cGameDraw::drawRGBTransformed(g, argb, 0, w, X, Y, w, h, alpha, alpha, flags);
            return;
        }
    } else if (effects) {
        // The effects work on the module the way round it is; the cache is kept turned.
        argb = UnturnedModulePixels(img, w, h);
        BX_RETURN_IF_PENDING();
        if (argb) argb = cGameDraw::drawRGBWithEffects(g, argb, X, Y, w, h, flags, alpha, hasPartialAlpha);
        if (argb) {
            cGameDraw::drawRGBTransformed(g, argb, 0, cGameDraw::s_resultWidth, X, Y, cGameDraw::s_resultWidth,
                                          cGameDraw::s_resultHeight, cGameDraw::s_resultProcessAlpha, true, 0);
        }
        return;
    } else {
        CacheStoreImage(m, img);
    }
    const jint transform = transformAfter(kTransformTable[flags & 7], kCacheTurn);
    if (transform != 0) {
        g->drawRegion(img, 0, 0, img->m_width, img->m_height, transform, X, Y, 0);
    } else {
        g->drawImage(img, X, Y, 0);
    }
}
