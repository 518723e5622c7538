// The pixel loops of the sprite draw effects over 32-bit ARGB runs: the alpha-only and grey-from-red
// effects, the scaled copy of effect 11 (one strip of output rows at a time), the highlight band of
// effect 8 and the additive / lighten composition of effects 5 and 6. Memory only; the caller
// checks every size against its arrays.
#pragma once

#include <cstdint>

namespace gfx {

// Alpha-only: colours kept; alpha := alpha (clamped to 0..255), or scaled by it with scaleAlpha;
// with colourKey (and not scaleAlpha) a colour of exactly 0xFF00FF becomes 0.
void colourEffect(const uint32_t* src, uint32_t* dst, int n, int alpha, bool colourKey, bool scaleAlpha);

// Grey from red. alpha < 0: factor < 1 turns green and blue to red, factor >= 255 leaves the pixels
// (answers false: nothing written), between blends back towards the colour. alpha >= 0: grey of red
// with that alpha (scaled by the pixel's with scaleAlpha; colourKey drops pixels with bits 0xFF00FF).
// Pixels are processed from the last to the first, so src and dst may be the same run.
bool pixelEffect(const uint32_t* src, uint32_t* dst, int n, int factor, int alpha, bool colourKey, bool scaleAlpha);

// Effect 11's output size for a w x h source at `percent`: trunc(w x percent / 100) + 1.
[[nodiscard]] int64_t scaledExtent(int size, int percent);

// How each output pixel of the scaled copy takes its alpha (a = the effect's parameter 2).
struct ScaleAlpha {
    int a = -1;              // < 0: pixels kept as they are
    bool useAlpha = false;   // alpha := source alpha x a >> 8
    bool colourKey = false;  // 0xFF00FF pixels become 0, others take alpha a
};

// Output rows [row0, row0 + rows) of the dw x dh nearest-neighbour copy of the w x h source into
// out (dw per row): source row r x h / dh, column c x w / dw; an index past `srcLength` reads 0.
void scaleRows(const uint32_t* src, int64_t srcLength, int w, int h, int dw, int dh, int row0, int rows,
               const ScaleAlpha& alpha, uint32_t* out);

// Effect 8: a w x h overlay of colour rgb whose alpha is 0 outside columns (start, start + width)
// and where the source's alpha is 0, peaks at 2^bits - 1 on the band's centre column and falls off
// linearly to its edges; with useAlpha it is scaled by the source alpha (>> 8).
void highlightBand(const uint32_t* src, uint32_t* dst, int w, int h, int start, int width, uint32_t rgb, int bits,
                   bool useAlpha);

// Effects 5 and 6: composes the w x h source, turned and mirrored by sprite flags & 7, into the
// W x H screen block dst (W = h, H = w for flag 4): additive sums channels, lighten adds d x s >> 6,
// each capped at 255; composed pixels have alpha 0.
void composeTransformed(const uint32_t* src, int w, int h, int flags, bool additive, bool lighten, uint32_t* dst);

}  // namespace gfx
