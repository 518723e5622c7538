// drawRegion's plan; see region_blit.h. All positions are 64-bit until they are inside the clip.
#include "platform/graphics/region_blit.h"

#include "platform/graphics/anchor.h"

uint8_t transformFlags(int transform) {
    static constexpr uint8_t kFlags[8] = {0, 2, 1, 3, 6, 4, 7, 5};
    return transform >= 0 && transform < 8 ? kFlags[transform] : 0;
}

RegionBlit planRegionBlit(const Rect& clip, int64_t x, int64_t y, int xSrc, int ySrc, int width, int height,
                          int transform, int anchor, ptrdiff_t sourcePitch, ptrdiff_t targetPitch) {
    const uint8_t f = transformFlags(transform);
    const bool swap = (f & kSwapAxes) != 0;
    const int64_t dw = swap ? height : width, dh = swap ? width : height;
    if (anchor & kAnchorHCenter) x -= dw >> 1;
    else if (anchor & kAnchorRight) x -= dw;
    if (anchor & kAnchorVCenter) y -= dh >> 1;
    else if (anchor & kAnchorBottom) y -= dh;

    int64_t sx = xSrc, sy = ySrc, w = width, h = height;
    // A cut of the destination's columns (rows) comes off the source's columns, or its rows when
    // the axes swap; whether it moves the source origin depends on the mirror of that source axis.
    auto cut = [](int64_t excess, int64_t& size, int64_t& origin, bool moves) {
        if (excess <= 0) return;
        size -= excess;
        if (moves) origin += excess;
    };
    const int64_t clipX2 = clip.right(), clipY2 = clip.bottom();
    if (!swap) {
        cut(clip.x - x, w, sx, !(f & kMirrorX));
        if (x < clip.x) x = clip.x;
        cut(x + w - clipX2, w, sx, f & kMirrorX);
        cut(clip.y - y, h, sy, !(f & kMirrorY));
        if (y < clip.y) y = clip.y;
        cut(y + h - clipY2, h, sy, f & kMirrorY);
    } else {
        cut(clip.x - x, h, sy, f & kMirrorY);
        if (x < clip.x) x = clip.x;
        cut(x + h - clipX2, h, sy, !(f & kMirrorY));
        cut(clip.y - y, w, sx, !(f & kMirrorX));
        if (y < clip.y) y = clip.y;
        cut(y + w - clipY2, w, sx, f & kMirrorX);
    }
    RegionBlit plan;
    if (w < 1 || h < 1) return plan;
    plan.xSrc = static_cast<int>(sx);
    plan.ySrc = static_cast<int>(sy);
    BlitSteps& s = plan.steps;
    s.width = static_cast<int>(w);
    s.height = static_cast<int>(h);
    s.sourceStride = sourcePitch;
    const ptrdiff_t S = targetPitch;
    int64_t fx = x, fy = y;
    switch (transform) {
        case 0: s.pixelStep = 1, s.rowStep = S; break;
        case 1: fy += h - 1, s.pixelStep = 1, s.rowStep = -S; break;
        case 2: fx += w - 1, s.pixelStep = -1, s.rowStep = S; break;
        case 3: fx += w - 1, fy += h - 1, s.pixelStep = -1, s.rowStep = -S; break;
        case 4: s.pixelStep = S, s.rowStep = 1; break;
        case 5: fx += h - 1, s.pixelStep = S, s.rowStep = -1; break;
        case 6: fy += w - 1, s.pixelStep = -S, s.rowStep = 1; break;
        case 7: fx += h - 1, fy += w - 1, s.pixelStep = -S, s.rowStep = -1; break;
        default: return {};
    }
    plan.destination = fy * S + fx;
    return plan;
}
