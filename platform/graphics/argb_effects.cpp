// The ARGB buffer's blends, fill and copy. Channels are taken apart before any product, so
// every product stays below 2^24 (the packed red-and-blue form would overflow and carry between
// channels).
#include "platform/graphics/argb_effects.h"

#include <algorithm>

namespace gfx {

namespace {

constexpr int channel(uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); }

// d moved towards c by weight w (0..255) out of 256, rounding down.
constexpr int mix(int d, int c, int w) { return (d + (((c - d) * w) >> 8)) & 0xFF; }

}  // namespace

uint32_t blendOverOpaque(uint32_t c, uint32_t d, int a) {
    const int r = mix(channel(d, 16), channel(c, 16), a);
    const int g = mix(channel(d, 8), channel(c, 8), a);
    const int b = mix(channel(d, 0), channel(c, 0), a);
    return 0xFF000000u | static_cast<uint32_t>(r << 16 | g << 8 | b);
}

uint32_t blendOverOpaqueFromColour(uint32_t c, uint32_t d, int a) {
    const int w = 255 - a;
    const int r = mix(channel(c, 16), channel(d, 16), w);
    const int g = mix(channel(c, 8), channel(d, 8), w);
    const int b = mix(channel(c, 0), channel(d, 0), w);
    return 0xFF000000u | static_cast<uint32_t>(r << 16 | g << 8 | b);
}

uint32_t composite(uint32_t c, uint32_t d, int a) {
    const int da = channel(d, 24);
    const int out = (65025 - (255 - da) * (255 - a)) >> 8;
    if (out <= 0) return 0;
    const int keep = (255 - a) * da;  // the buffer's weight, < 2^16
    auto one = [&](int shift) {
        return std::min(255, (((keep * channel(d, shift)) >> 8) + channel(c, shift) * a) / out);
    };
    return static_cast<uint32_t>(out) << 24 | static_cast<uint32_t>(one(16) << 16 | one(8) << 8 | one(0));
}

void fillRectARGB(const SurfaceARGB& buffer, const Rect& area, uint32_t argb, bool bufAlpha) {
    const int a = channel(argb, 24);
    if (a == 0 || area.empty()) return;
    if (a == 255) {
        fillRect(buffer, area, argb);
        return;
    }
    for (int y = area.y; y < area.bottom(); ++y) {
        uint32_t* row = buffer.row(y);
        for (int x = area.x; x < area.right(); ++x) {
            const uint32_t d = row[x];
            const int da = channel(d, 24);
            if (!bufAlpha || da == 255)
                row[x] = blendOverOpaqueFromColour(argb, d, a);
            else if (da == 0)
                row[x] = argb;
            else
                row[x] = composite(argb, d, a);
        }
    }
}

namespace {

inline void put(uint32_t& t, uint32_t s, int mode, bool bufAlpha) {
    if (mode == kBlitCopy) {
        t = s;
        return;
    }
    if (mode == kBlitSkipClear) {
        if (s > 0xFFFFFFu) t = s;
        return;
    }
    const int sa = channel(s, 24);
    const int da = channel(t, 24);
    if (sa == 255 || (bufAlpha && da == 0))
        t = s;
    else if (sa == 0)
        return;
    else if (!bufAlpha || da == 255)
        t = blendOverOpaque(s, t, sa);
    else
        t = composite(s, t, sa);
}

}  // namespace

void blitARGB(const SurfaceARGB& buffer, const Rect& area, Point origin, const uint32_t* src, int srcW, int srcH,
              int mode, int transform, bool bufAlpha) {
    if (area.empty() || srcW < 1 || srcH < 1) return;
    const bool mirrorCols = (transform & 1) != 0;
    const bool mirrorRows = (transform & 2) != 0;
    const bool swap = (transform & 4) != 0;
    // Target columns [c0, c1) and rows [r0, r1), counted from the origin.
    const int c0 = area.x - origin.x, c1 = c0 + area.w;
    const int r0 = area.y - origin.y, r1 = r0 + area.h;
    // The source block that lands there, read in its own order. Without the exchange a source row
    // is a target row; with it a source row is a target column.
    int sr0, sr1, sc0, sc1;
    if (!swap) {
        sr0 = mirrorRows ? srcH - r1 : r0, sr1 = mirrorRows ? srcH - r0 : r1;
        sc0 = mirrorCols ? srcW - c1 : c0, sc1 = mirrorCols ? srcW - c0 : c1;
    } else {
        sr0 = mirrorRows ? c0 : srcH - c1, sr1 = mirrorRows ? c1 : srcH - c0;
        sc0 = mirrorCols ? srcW - r1 : r0, sc1 = mirrorCols ? srcW - r0 : r1;
    }
    for (int sr = sr0; sr < sr1; ++sr) {
        const uint32_t* in = src + static_cast<long>(sr) * srcW;
        for (int sc = sc0; sc < sc1; ++sc) {
            int c, r;
            if (!swap) {
                r = mirrorRows ? srcH - 1 - sr : sr;
                c = mirrorCols ? srcW - 1 - sc : sc;
            } else {
                c = mirrorRows ? sr : srcH - 1 - sr;
                r = mirrorCols ? srcW - 1 - sc : sc;
            }
            put(buffer.row(origin.y + r)[origin.x + c], in[sc], mode, bufAlpha);
        }
    }
}

}  // namespace gfx
