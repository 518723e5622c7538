// The blended rectangle fill and transformed copy into a 32-bit ARGB buffer, and their blends (the
// pixel effects themselves are in sprite_effects.h). Blends work one channel at a time, so no
// product leaves the int range whatever the inputs. Memory only; the caller has checked every
// range it passes.
#pragma once

#include <cstdint>

#include "platform/graphics/rect.h"
#include "platform/graphics/surface.h"

namespace gfx {

// c of alpha a (1..254) over an opaque pixel d: each channel d + ((c - d) x a >> 8); opaque.
[[nodiscard]] uint32_t blendOverOpaque(uint32_t c, uint32_t d, int a);
// The same from the colour's side: each channel c + ((d - c) x (255 - a) >> 8); opaque.
[[nodiscard]] uint32_t blendOverOpaqueFromColour(uint32_t c, uint32_t d, int a);
// c of alpha a (1..254) composited onto d of alpha 1..254.
[[nodiscard]] uint32_t composite(uint32_t c, uint32_t d, int a);

// Fills `area` (already cut to the buffer) with argb blended by its alpha; with bufAlpha the
// buffer's own alpha counts.
void fillRectARGB(const SurfaceARGB& buffer, const Rect& area, uint32_t argb, bool bufAlpha);

// The copy modes: every pixel; pixels that have alpha; blended by alpha.
constexpr int kBlitCopy = 0;
constexpr int kBlitSkipClear = 1;

// Copies the srcW x srcH block src, turned by transform & 7 (bit 0 mirrors columns, bit 1 rows,
// bit 2 exchanges rows and columns), onto the target rectangle whose top-left is `origin`; only
// the part inside `area` (already cut to the buffer and inside the target rectangle) is written.
void blitARGB(const SurfaceARGB& buffer, const Rect& area, Point origin, const uint32_t* src, int srcW, int srcH,
              int mode, int transform, bool bufAlpha);

}  // namespace gfx
