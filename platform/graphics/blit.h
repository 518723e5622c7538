// The row copiers every image copy runs through, their steps (`BlitSteps`), and the pixel
// conversions between RGB565, ARGB4444 and 32-bit ARGB. Invariant: a copier writes exactly
// width x height destination pixels at dst + column * pixelStep + row * rowStep and reads
// src + row * sourceStride + column; the caller has clipped both ranges into their buffers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

constexpr uint16_t kColorKey565 = 0xF81F;  // magenta: the transparent pixel of keyed images

// Steps in pixels of the source's and the destination's own size, native width (a 16-bit record
// would overflow on wide targets).
struct BlitSteps {
    int width = 0;   // source pixels per row
    int height = 0;  // source rows
    ptrdiff_t sourceStride = 0;
    ptrdiff_t pixelStep = 0;  // destination step per source pixel
    ptrdiff_t rowStep = 0;    // destination step per source row
    // Source and destination share a buffer: copy in row order, pixel by pixel, as the plain loop
    // does, so overlapping copies read what that loop would read.
    bool inOrder = false;
};

// The three image copiers: every pixel; every pixel but the key; ARGB4444 blended into RGB565.
void copyPixels(const uint16_t* src, uint16_t* dst, const BlitSteps& steps);
void copyKeyedPixels(const uint16_t* src, uint16_t* dst, const BlitSteps& steps);
void blendPixels4444(const uint16_t* src, uint16_t* dst, const BlitSteps& steps);

// The three copiers from 32-bit ARGB: RGB565 ignoring alpha; alpha-blended into RGB565 (255 writes,
// 0 leaves); ARGB4444 keeping each byte's high nibble (alpha stored, nothing blended).
void copyARGBOpaque(const uint32_t* src, uint16_t* dst, const BlitSteps& steps);
void blendARGB(const uint32_t* src, uint16_t* dst, const BlitSteps& steps);
void storeARGB4444(const uint32_t* src, uint16_t* dst, const BlitSteps& steps);

// RGB565 of 0xAARRGGBB: the low bits of each component dropped.
[[nodiscard]] constexpr uint16_t argbTo565(uint32_t c) {
    return static_cast<uint16_t>(((c >> 8) & 0xF800) | ((c >> 5) & 0x07E0) | ((c >> 3) & 0x001F));
}
[[nodiscard]] constexpr uint16_t argbTo4444(uint32_t c) {
    return static_cast<uint16_t>(((c >> 16) & 0xF000) | ((c >> 12) & 0x0F00) | ((c >> 8) & 0x00F0) | ((c >> 4) & 0x000F));
}

// ARGB4444 over an RGB565 pixel: alpha A x 17, source fields widened (R << 1, G << 2, B << 1),
// each field moved by floor((s - d) x alpha / 256), in place and masked.
[[nodiscard]] inline uint16_t blend4444(uint32_t d, uint32_t s) {
    const int32_t a = static_cast<int32_t>(s >> 12) * 17;
    const int32_t di = static_cast<int32_t>(d);
    const int32_t sr = static_cast<int32_t>((s >> 8) & 0xF) << 12, sg = static_cast<int32_t>((s >> 4) & 0xF) << 7,
                  sb = static_cast<int32_t>(s & 0xF) << 1;
    const int32_t r = ((di & 0xF800) + (((sr - (di & 0xF800)) * a) >> 8)) & 0xF800;
    const int32_t g = ((di & 0x07E0) + (((sg - (di & 0x07E0)) * a) >> 8)) & 0x07E0;
    const int32_t b = ((di & 0x001F) + (((sb - (di & 0x001F)) * a) >> 8)) & 0x001F;
    return static_cast<uint16_t>(r | g | b);
}

// The widening tables of getRGB: 4, 5 and 6 bits to 8 (floor(i x 255 / max)).
struct WideningTables {
    std::array<uint16_t, 16> from4;
    std::array<uint16_t, 32> from5;
    std::array<uint16_t, 64> from6;
};
[[nodiscard]] const WideningTables& wideningTables();

// One row of pixels as 0xAARRGGBB: RGB565 opaque (with `keyed`, the key reads as 0); ARGB4444
// nibbles widened, alpha included.
void widen565(const uint16_t* src, uint32_t* dst, int count, bool keyed);
void widen4444(const uint16_t* src, uint32_t* dst, int count);
