// The game's own drawing on the portrait screen: the landscape wrappers that turn rectangles,
// lines and images a quarter, the framed menu box, and the unturned toolkit beside them (clipped
// image regions and RGB blocks, the colour-key copy of an image). Everything goes through the
// current Graphics; the pixels are the Graphics' own.
#include <algorithm>
#include <climits>
#include <optional>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "game/cgame.h"
#include "platform/graphics/rect.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/static_start_values.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"

namespace {

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

constexpr jint kTurnImage = 5;   // the image transform that turns a quarter, as the rectangles turn
constexpr jint kBoxArc = 40;
constexpr jint kColourKey = 0xFF00FF;
constexpr jint kCell = 40;   // the world's tile cells

struct Wide {
    jlong x, y, w, h;
};

bool fitsInt(jlong v) { return v >= INT_MIN && v <= INT_MAX; }

// Landscape (x, y, w, h) as the portrait rectangle.
Wide turned(jlong x, jlong y, jlong w, jlong h) { return {cGame::kPortraitWidth - y - h, x, h, w}; }

// A rectangle the Graphics can take: as it is when it fits in ints, else the part of it inside a
// box a billion pixels around the origin (no screen or translation reaches that far), or nothing.
std::optional<Rect> narrow(const Wide& r) {
    if (fitsInt(r.x) && fitsInt(r.y) && fitsInt(r.w) && fitsInt(r.h)) {
        return Rect{static_cast<int>(r.x), static_cast<int>(r.y), static_cast<int>(r.w), static_cast<int>(r.h)};
    }
    constexpr int kFar = 1 << 30;
    const Rect cut = Rect{-kFar, -kFar, INT_MAX, INT_MAX}.clip(r.x, r.y, r.w, r.h);
    if (cut.empty()) return std::nullopt;
    return cut;
}

}  // namespace


void cGame::setClipRotated(jint x, jint y, jint w, jint h) {
    BX_RETURN_IF_NULL(s_g);
    if (const auto r = narrow(turned(x, y, w, h))) {
        s_g->setClip(r->x, r->y, r->w, r->h);
    } else {
        s_g->setClip(0, 0, 0, 0);
    }
}

void cGame::fillRectRotated(jint x, jint y, jint w, jint h) {
    BX_RETURN_IF_NULL(s_g);
    if (const auto r = narrow(turned(x, y, w, h))) s_g->fillRect(r->x, r->y, r->w, r->h);
}

void cGame::drawRectRotated(jint x, jint y, jint w, jint h) {
    BX_RETURN_IF_NULL(s_g);
    if (const auto r = narrow(turned(x, y, w, h))) s_g->drawRect(r->x, r->y, r->w, r->h);
}

void cGame::drawRoundRectRotated(jint x, jint y, jint w, jint h, jint arcW, jint arcH) {
    BX_RETURN_IF_NULL(s_g);
    if (const auto r = narrow(turned(x, y, w, h))) s_g->drawRoundRect(r->x, r->y, r->w, r->h, arcH, arcW);
}

void cGame::fillRoundRectRotated(jint x, jint y, jint w, jint h, jint arcW, jint arcH) {
    BX_RETURN_IF_NULL(s_g);
    if (const auto r = narrow(turned(x, y, w, h))) s_g->fillRoundRect(r->x, r->y, r->w, r->h, arcH, arcW);
}

void cGame::drawLineRotated(jint x1, jint y1, jint x2, jint y2) {
    BX_RETURN_IF_NULL(s_g);
    const jlong px1 = kPortraitWidth - jlong{y1}, px2 = kPortraitWidth - jlong{y2};
    if (!fitsInt(px1) || !fitsInt(px2)) return;
    s_g->drawLine(static_cast<jint>(px1), x1, static_cast<jint>(px2), x2);
}

void cGame::drawImageRotated(Image* image, jint x, jint y, jint anchor) {
    BX_RETURN_IF_NULL(s_g);
    if (!image) return;
    const jint iw = image->getWidth(), ih = image->getHeight();
    if (iw < 1 || ih < 1) return;
    const jlong px = kPortraitWidth - jlong{ih} - y;
    if (!fitsInt(px)) return;
    s_g->drawRegion(image, 0, 0, iw, ih, kTurnImage, static_cast<jint>(px), x, anchor);
}

void cGame::drawFramedBox(jint fill, jint line, jint x, jint y, jint w, jint h) {
    BX_RETURN_IF_NULL(s_g);
    s_g->setClip(0, 0, kPortraitWidth, kPortraitHeight);
    s_g->setColor(fill);
    fillRoundRectRotated(x, y, w, h, kBoxArc, kBoxArc);
    s_g->setColor(line);
    // Three outlines, each a pixel inside the last: the frame is 3 pixels thick.
    for (jint i = 0; i < 3; ++i) {
        const Wide r = turned(jlong{x} + i, jlong{y} + i, jlong{w} - 2 * i, jlong{h} - 2 * i);
        if (const auto n = narrow(r)) s_g->drawRoundRect(n->x, n->y, n->w, n->h, kBoxArc - i, kBoxArc - i);
    }
}

void cGame::setColorRGB(jint r, jint g, jint b) {
    BX_RETURN_IF_NULL(s_g);
    s_g->setColor((r << 16) | (g << 8) | b);
}

void cGame::setClip(jint x, jint y, jint w, jint h) {
    BX_RETURN_IF_NULL(s_g);
    s_g->setClip(x, y, w, h);
}

void cGame::drawLine(jint x1, jint y1, jint x2, jint y2) {
    BX_RETURN_IF_NULL(s_g);
    s_g->drawLine(x1, y1, x2, y2);
}

void cGame::drawRect(jint x, jint y, jint w, jint h) {
    BX_RETURN_IF_NULL(s_g);
    s_g->drawRect(x, y, w, h);
}

void cGame::drawRoundRect(jint x, jint y, jint w, jint h, jint arcW, jint arcH) {
    BX_RETURN_IF_NULL(s_g);
    s_g->drawRoundRect(x, y, w, h, arcW, arcH);
}

void cGame::fillRoundRect(jint x, jint y, jint w, jint h, jint arcW, jint arcH) {
    BX_RETURN_IF_NULL(s_g);
    s_g->fillRoundRect(x, y, w, h, arcW, arcH);
}

void cGame::drawImage(Graphics* g, Image* image, jint x, jint y, jint anchor) {
    BX_RETURN_IF_NULL(g);
    if (!image) return;
    g->drawImage(image, x, y, anchor);
}

void cGame::fillRect(Graphics* g, jint x, jint y, jint w, jint h) {
    BX_RETURN_IF_NULL(g);
    g->fillRect(x, y, w, h);
}

Image* cGame::createRGBImageAlpha(IntArray* rgb, jint w, jint h, bool processAlpha) {
    return Image::createRGBImage(rgb, w, h, processAlpha);
}

void cGame::getImageRGB(Image* image, IntArray* rgb, jint offset, jint scan, jint x, jint y, jint w, jint h) {
    if (!image) return;
    image->getRGB(rgb, offset, scan, x, y, w, h);
}

void cGame::drawImageRegionClipped(Image* image, jint sx, jint sy, jint w, jint h, jint transform, jint x, jint y,
                                   jint anchor) {
    BX_RETURN_IF_NULL(s_g);
    if (!image) return;
    // Each axis: a negative start eats into the length, and the region ends at the image's edge.
    const auto cut = [](jlong& start, jlong& length, jlong size) {
        if (start < 0) {
            length += start;
            start = 0;
        }
        if (start + length >= size) length = size - start;
    };
    jlong x0 = sx, y0 = sy, cw = w, ch = h;
    cut(x0, cw, image->getWidth());
    cut(y0, ch, image->getHeight());
    if (cw < 1 || ch < 1) return;
    s_g->drawRegion(image, static_cast<jint>(x0), static_cast<jint>(y0), static_cast<jint>(cw),
                    static_cast<jint>(ch), transform, x, y, anchor);
}

void cGame::drawRGBClipped(Graphics* g, jint screenW, jint screenH, IntArray* rgb, jint scan, jint off, jint row,
                           jint x, jint y, jint w, jint h, bool alpha) {
    BX_RETURN_IF_NULL(g);
    if (!rgb) return;
    jlong start = jlong{off} + jlong{scan} * row;
    jlong bx = x, by = y, bw = w, bh = h;
    if (g == s_frameGraphics) {
        if (bx >= screenW || by >= screenH || bx + bw <= 0 || by + bh <= 0) return;
        if (bx <= 0) {
            start -= bx;
            bw += bx;
            bx = 0;
        }
        if (by <= 0) {
            start -= by * scan;
            bh += by;
            by = 0;
        }
        bw = std::min<jlong>(bw, screenW - bx);
        bh = std::min<jlong>(bh, screenH - by);
    }
    if (bw < 1 || bh < 1 || !fitsInt(start)) return;
    // Drawn in the plane without the translation, at the same place on the target.
    const jint tx = g->getTranslateX(), ty = g->getTranslateY();
    const jlong dx = jlong{tx} + bx, dy = jlong{ty} + by;
    if (!fitsInt(dx) || !fitsInt(dy)) return;
    g->translate(-tx, -ty);
    g->drawRGB(rgb, static_cast<jint>(start), scan, static_cast<jint>(dx), static_cast<jint>(dy),
               static_cast<jint>(bw), static_cast<jint>(bh), alpha);
    g->translate(tx, ty);
}

Image* cGame::imageToColorKeyRGB(Image* image) {
    if (!image) return nullptr;
    const jint w = image->getWidth(), h = image->getHeight();
    if (w < 1 || h < 1) return nullptr;
    const jlong n = jlong{w} * h;
    if (n > INT_MAX) return nullptr;
    Image* canvas = Image::createImage(w, h);
    BX_RETURN_IF_PENDING(nullptr);
    Graphics* g = canvas ? canvas->getGraphics() : nullptr;
    if (!g) return nullptr;
    g->setColor(kColourKey);
    g->fillRect(0, 0, w, h);
    g->drawImage(image, 0, 0, 0);
    IntArray* pixels = Runtime::newIntArray(static_cast<jint>(n));
    BX_RETURN_IF_PENDING(nullptr);
    if (!pixels) return nullptr;
    canvas->getRGB(pixels, 0, w, 0, 0, w, h);
    BX_RETURN_IF_PENDING(nullptr);
    jint* p = pixels->elements();
    std::replace_if(
        p, p + n, [](jint c) { return (c & 0xFFFFFF) == kColourKey; }, jint{kColourKey});
    return Image::createRGBImage(pixels, w, h, true);
}

void cGame::paintLayerTileAt(Graphics* g, jint layer, jint x, jint y) {
    // Floor division: a point just left of or above the map is off it, not in its first cell.
    const auto cellOf = [](jlong v) { return static_cast<jint>(v >= 0 ? v / kCell : (v - kCell + 1) / kCell); };
    const jint tile = BXLibPlayer::TilesetGetTile(layer, cellOf(x), cellOf(y));
    if (tile == BXLibPlayer::kEmptyTile || !s_layerSprites || layer < 0 || layer >= s_layerSprites->length) return;
    auto* sprite = static_cast<Bsprite*>(s_layerSprites->get(layer));
    if (!sprite) return;
    const jint flags = BXLibPlayer::TilesetGetCellFlags(layer, cellOf(x), cellOf(y)) & 0xFF;
    const bool frames = sprite->GetFrameCount() > 0;
    // A mirrored frame turns about its origin, so it is placed a cell further along the mirrored axis.
    const jlong px = jlong{x} - s_cameraX + (frames && (flags & 1) ? kCell : 0);
    const jlong py = jlong{y} - s_cameraY + (frames && (flags & 2) ? kCell : 0);
    if (!fitsInt(px) || !fitsInt(py)) return;
    if (frames) {
        sprite->PaintFrame(g, tile, static_cast<jint>(px), static_cast<jint>(py), flags, 0, 0);
    } else {
        sprite->PaintModule(g, tile, static_cast<jint>(px), static_cast<jint>(py), flags);
    }
}

namespace {

const StaticStartValues kStartValues(&cGameRotated::s_pulsePhase, &cGameRotated::s_pulseStep,
                                     &cGameRotated::s_pulseColour, &cGameRotated::s_pulseImages,
                                     &cGameRotated::s_pulseMask, &cGameRotated::s_workBuffer,
                                     &cGameCamera::s_cameraX, &cGameCamera::s_cameraY);

}  // namespace

void cGameRotated::resetStatics() { kStartValues.restore(); }
