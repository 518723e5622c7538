// Reads PNG pictures held in memory: a chunk scan of our own for the header, libpng for the pixels,
// which land as RGB565 or ARGB4444 rows. Invariant: nothing is read outside data[0..length) and
// nothing is written outside width x height pixels of the rows given.
#pragma once

#include <cstddef>
#include <cstdint>

// The largest width or height a picture may declare; anything bigger is refused before decoding.
inline constexpr int32_t kPngMaxSide = 4096;

// The key colour (magenta in RGB565) that marks a transparent pixel of an opaque image.
inline constexpr uint16_t kPngKeyPixel = 0xF81F;

struct PngHeaderInfo {
    int32_t width = 0, height = 0, bitDepth = 0, colorType = 0, paletteEntries = 0;
    uint8_t hasTransparency = 0;
};

// The chunk scan over data[0..length): false when no usable IHDR (missing, cut short, or a size
// <= 0 or above kPngMaxSide; width and height then stay 0). The scan ends at IEND or at the end of
// the data; CRCs are not checked.
bool readPngHeader(const uint8_t* data, size_t length, PngHeaderInfo& info);

// Decodes into RGB565 (pixelType 0) or ARGB4444 (pixelType 2) rows of `stride` uint16_t.
// With a tRNS chunk (or an alpha channel in a pixelType 0 image) alpha-0 pixels become
// kPngKeyPixel and every other pixel is opaque RGB565. ARGB4444 keeps the high nibble of each
// byte; RGB565 truncates. False on any failure (pixels then untouched or partly written, never
// written outside width x height x stride), including a picture whose size is not width x height.
bool decodePng(const uint8_t* data, size_t length, int pixelType, uint16_t* pixels, int32_t width, int32_t height,
               int32_t stride);
