// Views of pixels (RGB565 for the screen and images, 32-bit ARGB for effects) and the primitives
// that write them: fills, the blended fill and rectangle copies take a rectangle the caller has
// already clipped to the surface (Rect::clip); the one stretch copy between two views is the
// screen blit. Invariant: a view never owns its pixels; pitch is in pixels and at least the width.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "platform/graphics/rect.h"

template <class Pixel>
struct SurfaceView {
    Pixel* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;

    [[nodiscard]] Pixel* row(int y) const { return pixels + static_cast<long>(y) * pitch; }
    [[nodiscard]] Rect bounds() const { return {0, 0, width, height}; }
    void fill(std::remove_const_t<Pixel> colour) const;
};

using Surface565 = SurfaceView<uint16_t>;
using ConstSurface565 = SurfaceView<const uint16_t>;
using SurfaceARGB = SurfaceView<uint32_t>;
using ConstSurfaceARGB = SurfaceView<const uint32_t>;

// Every pixel of `area` (inside the surface) set to `colour`.
template <class Pixel>
void fillRect(const SurfaceView<Pixel>& surface, const Rect& area, Pixel colour) {
    if (area.empty()) return;
    for (int y = area.y; y < area.bottom(); ++y) std::fill_n(surface.row(y) + area.x, area.w, colour);
}

template <class Pixel>
void SurfaceView<Pixel>::fill(std::remove_const_t<Pixel> colour) const {
    fillRect(*this, bounds(), colour);
}

// `area` (inside dst) takes the pixels of src from `from` on (the same size inside src).
template <class Pixel>
void copyRect(const SurfaceView<const Pixel>& src, Point from, const SurfaceView<Pixel>& dst, const Rect& area) {
    if (area.empty()) return;
    for (int y = 0; y < area.h; ++y)
        std::memmove(dst.row(area.y + y) + area.x, src.row(from.y + y) + from.x, sizeof(Pixel) * area.w);
}

// Each RGB565 field of `area` weighed by 256 - alpha against the ARGB colour's top bits weighed by
// alpha (the colour's alpha byte).
void blendRect565(const Surface565& surface, const Rect& area, uint32_t argb);

enum class StretchMode : uint8_t {
    Nearest,  // each target pixel takes one source pixel (COLORONCOLOR)
    Smooth,   // each target pixel averages the source pixels it covers (the filtering mode)
};

// Copies src onto the whole of dst, scaled to dst's size. Equal sizes copy rows unchanged.
void stretchBlit(const ConstSurface565& src, const Surface565& dst, StretchMode mode);

[[nodiscard]] constexpr uint16_t rgb565(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<uint16_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3));
}
