// A frame drawn whole from a picture cached under the frame's number (rather than module by module).
// The frame number comes from the caller: the cache rows are checked before anything is drawn.
#include <utility>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bsprite.h"
#include "sprites/cgame_draw.h"

bool Bsprite::PaintFrameImage(javax_microedition_lcdui_Graphics* g, jint frame, jint x, jint y, jint flags) {
    BX_RETURN_IF_NULL(g, false);
    jint fx = GetFrameX(frame), fy = GetFrameY(frame);
    jint fw = GetFrameWidth(frame), fh = GetFrameHeight(frame);
    if (flags & 4) {
        std::swap(fx, fy);
        std::swap(fw, fh);
    }
    const jint px = (flags & 1) ? x - fx - fw : x + fx;
    const jint py = (flags & 2) ? y - fy - fh : y + fy;
    if (auto* img = static_cast<javax_microedition_lcdui_Image*>(GetModuleImage(frame, currentPalette))) {
        const jint transform = kTransformTable[flags & 7];
        if (transform != 0) {
            g->drawRegion(img, 0, 0, img->m_width, img->m_height, transform, px, py, 0);
        } else {
            g->drawImage(img, px, py, 0);
        }
        return true;
    }
    IntArray* argb = GetModuleArgb(frame, currentPalette);
    if (!argb) return false;
    // The array holds the unturned frame: its width is the frame's own.
    const jint w = (flags & 4) ? fh : fw, h = (flags & 4) ? fw : fh;
    if (w < 1 || h < 1 || jlong{w} * h > argb->length) return false;
    cGameDraw::drawRGBTransformed(g, argb, 0, w, px, py, w, h, hasTransparency, hasTransparency, flags);
    return true;
}
