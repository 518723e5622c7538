// The blended fill, and the screen blit: a straight row copy at equal sizes, else nearest or
// box-averaged scaling. Source spans are computed in 64-bit so large screens cannot overflow.
#include "platform/graphics/surface.h"

#include <algorithm>
#include <cstring>

void blendRect565(const Surface565& surface, const Rect& area, uint32_t argb) {
    const uint32_t a = argb >> 24;
    const uint32_t ia = 256 - a;
    const uint32_t red = (((argb >> 16) & 0xFF) * a) >> 11;
    const uint32_t green = (((argb >> 8) & 0xFF) * a) >> 10;
    const uint32_t blue = ((argb & 0xFF) * a) >> 11;
    for (int y = area.y; y < area.bottom(); ++y) {
        uint16_t* dst = surface.row(y) + area.x;
        for (int col = 0; col < area.w; ++col) {
            const uint32_t d = dst[col];
            const uint32_t r = ((((d >> 11) & 0x1F) * ia) >> 8) + red;
            const uint32_t g = ((((d >> 5) & 0x3F) * ia) >> 8) + green;
            const uint32_t b = (((d & 0x1F) * ia) >> 8) + blue;
            dst[col] = static_cast<uint16_t>(((r & 0x1F) << 11) | ((g & 0x3F) << 5) | (b & 0x1F));
        }
    }
}

namespace {

// First source index covered by target index i, and one past the last (at least one index).
struct Span {
    int begin, end;
};
Span coveredSpan(int i, int sourceSize, int targetSize) {
    const int begin = static_cast<int>(int64_t{i} * sourceSize / targetSize);
    int end = static_cast<int>((int64_t{i + 1} * sourceSize + targetSize - 1) / targetSize);
    return {begin, std::max(end, begin + 1)};
}

uint16_t averageBlock(const ConstSurface565& src, Span xs, Span ys) {
    uint32_t r = 0, g = 0, b = 0, n = 0;
    for (int y = ys.begin; y < ys.end; ++y) {
        const uint16_t* p = src.row(y);
        for (int x = xs.begin; x < xs.end; ++x) {
            r += p[x] >> 11;
            g += (p[x] >> 5) & 0x3F;
            b += p[x] & 0x1F;
            ++n;
        }
    }
    // Rounded to the nearest level.
    r = (r + n / 2) / n;
    g = (g + n / 2) / n;
    b = (b + n / 2) / n;
    return static_cast<uint16_t>((r << 11) | (g << 5) | b);
}

}  // namespace

void stretchBlit(const ConstSurface565& src, const Surface565& dst, StretchMode mode) {
    if (src.width <= 0 || src.height <= 0 || dst.width <= 0 || dst.height <= 0) return;
    if (src.width == dst.width && src.height == dst.height) {
        for (int y = 0; y < dst.height; ++y)
            std::memcpy(dst.row(y), src.row(y), static_cast<size_t>(dst.width) * sizeof(uint16_t));
        return;
    }
    for (int y = 0; y < dst.height; ++y) {
        const Span ys = coveredSpan(y, src.height, dst.height);
        uint16_t* out = dst.row(y);
        if (mode == StretchMode::Nearest) {
            const uint16_t* in = src.row(ys.begin);
            for (int x = 0; x < dst.width; ++x) out[x] = in[int64_t{x} * src.width / dst.width];
        } else {
            for (int x = 0; x < dst.width; ++x)
                out[x] = averageBlock(src, coveredSpan(x, src.width, dst.width), ys);
        }
    }
}
