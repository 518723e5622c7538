// Sprite bytes from a SpriteDefinition. The size flags are chosen from the values: 16-bit module
// sizes, 32-bit pixel-data sizes, 16-bit frame offsets/rectangles/boxes and 16-bit animation-frame
// offsets only when a value outgrows the small form; boxes and the image section only when present.
// Frame rectangles are always stored (never computed at load). Every limit the loader enforces is
// checked first, and every palette colour must come back unchanged from the palette format: a
// failure names the field ("WHERE: modules[3]: ..."). The encoded modules are decoded again through
// the engine's decoder and compared, so what is written is what the game shows.
#pragma once

#include <string>

#include "tools/sprite_definition.h"

namespace tools {

[[nodiscard]] bool writeSprite(const SpriteDefinition& sprite, const std::string& where, std::string& out,
                               std::string& error);

// The colour `argb` becomes once stored in `paletteFormat` and expanded again (the format's
// rounding and its colour key); unknown formats give 0.
[[nodiscard]] uint32_t paletteRoundTrip(int paletteFormat, uint32_t argb);

[[nodiscard]] bool knownPaletteFormat(int format);

// Most colours a pixel format can index (2, 4, 16 or 256); 0 for a format the compiler cannot write.
[[nodiscard]] int pixelFormatColours(int pixelFormat);

}  // namespace tools
