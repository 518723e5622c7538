// Lettering for the art tools in the face and outline of the game's fonts (DejaVu Sans Bold,
// the palette's kOutline), so every picture's words match the texts the game draws.
#pragma once

#include <string>

#include "tools/art_canvas.h"

namespace tools::art {

// Text in DejaVu Sans Bold at `size` pixels, filled top to bottom from `top` to `bottom`, with an
// outline of `outline` pixels; `wave` lifts every other letter by that many pixels. The baseline
// lies ascent + ceil(outline) + 2 + wave pixels below the top, whatever the text.
Canvas boldText(const std::string& text, int size, Rgb top, Rgb bottom, double outline, int wave = 0);

}  // namespace tools::art
