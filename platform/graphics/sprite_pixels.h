// Sprite palettes and module pixels decoded into 0xAARRGGBB. Memory only; every input is untrusted:
// a short source, an index past the palette or a run past the module fails the decode.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gfx {

// Palette formats.
constexpr int kPalette8888 = 0x8888;
constexpr int kPalette4444 = 0x4444;
constexpr int kPalette5515 = 0x5515;
constexpr int kPalette6505 = 0x6505;

// Pixel formats.
constexpr int kPixels1Bit = 0x0200;
constexpr int kPixels2Bit = 0x0400;
constexpr int kPixels4Bit = 0x1600;
constexpr int kPixelsRunMasked = 0x64F0;
constexpr int kPixelsRunShort = 0x27F1;
constexpr int kPixelsRunLiteral = 0x56F2;
constexpr int kPixelsRunAlpha = 0xA256;
constexpr int kPixelsUndefined = 0xA640;

// The engine's colour key as a decoded colour: magenta with alpha 0.
constexpr uint32_t kColourKey = 0x00FF00FF;
// Largest module the decode buffers hold.
constexpr int kMaxModulePixels = 40960;

// Bytes per stored colour: 4 for 0x8888, else 2.
[[nodiscard]] int paletteColourBytes(int format);

struct PaletteAlpha {
    bool transparency = false;   // some colour is not fully opaque
    bool partialAlpha = false;   // some colour's alpha is neither 0 nor 0xFF
};

// Expands `count` colours from src (count * paletteColourBytes bytes, which the caller has checked)
// into out. An unknown format gives all zero colours.
void expandPalette(int format, const uint8_t* src, int count, uint32_t* out, PaletteAlpha& alpha);

// The index bits of the masked run format: bits needed for colours - 1.
[[nodiscard]] int paletteIndexBits(int colours);

// Decodes n pixels of a module from src[0, size) through palette[0, colours) into out[0, n).
// False when the data ends early, holds an index past the palette, or a run passes n (out is then
// all transparent). Unknown formats (0xA640 included) give n transparent pixels and true.
[[nodiscard]] bool decodeModulePixels(int format, const uint8_t* src, size_t size, const uint32_t* palette,
                                      int colours, int indexMask, int indexBits, int n, uint32_t* out);

// The drawRegion transform (0..7) for sprite flip/turn flags & 7.
[[nodiscard]] int spriteTransform(int flags);

// Writes the srcW x srcH picture into dst as drawRegion draws it with `transform` at the origin:
// dst is srcH x srcW for the quarter turns, else srcW x srcH.
void transformARGB(const uint32_t* src, int srcW, int srcH, int transform, uint32_t* dst);

}  // namespace gfx
