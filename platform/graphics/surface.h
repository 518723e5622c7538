// A view of RGB565 pixels and the one stretch copy between two views (the screen blit).
// Invariant: a view never owns its pixels; pitch is in pixels and at least the width.
#pragma once

#include <cstdint>

struct Surface565 {
    uint16_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;

    [[nodiscard]] uint16_t* row(int y) const { return pixels + static_cast<long>(y) * pitch; }
    void fill(uint16_t colour) const;
};

struct ConstSurface565 {
    const uint16_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;

    [[nodiscard]] const uint16_t* row(int y) const { return pixels + static_cast<long>(y) * pitch; }
};

enum class StretchMode : uint8_t {
    Nearest,  // each target pixel takes one source pixel (COLORONCOLOR)
    Smooth,   // each target pixel averages the source pixels it covers (the filtering mode)
};

// Copies src onto the whole of dst, scaled to dst's size. Equal sizes copy rows unchanged.
void stretchBlit(const ConstSurface565& src, const Surface565& dst, StretchMode mode);

[[nodiscard]] constexpr uint16_t rgb565(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<uint16_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3));
}
