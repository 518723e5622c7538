// drawRegion's plan; see region_blit.h. All positions are 64-bit until they are inside the clip.
#include "platform/graphics/region_blit.h"

#include <array>

#include "platform/graphics/anchor.h"

uint8_t transformFlags(int transform) {
    static constexpr uint8_t kFlags[8] = {0, 2, 1, 3, 6, 4, 7, 5};
    return transform >= 0 && transform < 8 ? kFlags[transform] : 0;
}

namespace {

struct Cell {
    int x, y;
};

// Where source pixel (c, r) of a w x h picture lands under each transform, as planRegionBlit's
// steps place it.
constexpr Cell place(int transform, int w, int h, Cell p) {
    switch (transform) {
        case 1: return {p.x, h - 1 - p.y};
        case 2: return {w - 1 - p.x, p.y};
        case 3: return {w - 1 - p.x, h - 1 - p.y};
        case 4: return {p.y, p.x};
        case 5: return {h - 1 - p.y, p.x};
        case 6: return {p.y, w - 1 - p.x};
        case 7: return {h - 1 - p.y, w - 1 - p.x};
        default: return p;
    }
}

constexpr bool swapsAxes(int transform) { return transform >= 4; }

// By brute force over a 3 x 2 picture, whose cells all land in different places.
constexpr std::array<std::array<int8_t, 8>, 8> kAfter = [] {
    std::array<std::array<int8_t, 8>, 8> table{};
    constexpr int w = 3, h = 2;
    for (int wanted = 0; wanted < 8; ++wanted) {
        for (int applied = 0; applied < 8; ++applied) {
            const int aw = swapsAxes(applied) ? h : w, ah = swapsAxes(applied) ? w : h;
            for (int u = 0; u < 8; ++u) {
                bool same = true;
                for (int c = 0; c < w; ++c)
                    for (int r = 0; r < h; ++r) {
                        const Cell once = place(applied, w, h, {c, r}), twice = place(u, aw, ah, once);
                        const Cell direct = place(wanted, w, h, {c, r});
                        same = same && twice.x == direct.x && twice.y == direct.y;
                    }
                if (same) table[wanted][applied] = static_cast<int8_t>(u);
            }
        }
    }
    return table;
}();

}  // namespace

int transformAfter(int wanted, int applied) {
    if (wanted < 0 || wanted > 7 || applied < 0 || applied > 7) return 0;
    return kAfter[wanted][applied];
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
