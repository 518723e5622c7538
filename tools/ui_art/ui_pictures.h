// The interface art's pictures, each drawn at its final size in the palette of tools/art_palette.h.
// `night` draws the moonlit colouring (the title sprite's palette 0), otherwise daylight.
#pragma once

#include <string>

#include "tools/art_canvas.h"
#include "tools/art_lettering/art_lettering.h"
#include "tools/art_palette.h"

namespace tools::art {

// A palette colour, moonlit when `night` (mixed towards the night sky by `amount`).
Rgb shade(Rgb colour, bool night, double amount);
inline Rgb shade(uint32_t colour, bool night, double amount = 0.3) { return shade(hex(colour), night, amount); }

// The landscape behind the title and the menus: 800 x 480.
Canvas titleScene(bool night);

// The hero standing, facing right, about 150 tall: idle poses 0..3 (breath, tail, blink, scarf).
// Its feet are at (kHeroFootX, kHeroFootY) of the picture.
inline constexpr int kHeroW = 150, kHeroH = 170, kHeroFootX = 70, kHeroFootY = 160;
Canvas heroStanding(int pose, bool night);

// The small hero running right (the loading bar's runner), poses 0..5 of the stride; feet at
// (kRunnerFootX, kRunnerFootY).
inline constexpr int kRunnerW = 64, kRunnerH = 60, kRunnerFootX = 30, kRunnerFootY = 54;
Canvas heroRunning(int pose, bool night);

// The game's name as the title shows it; `shine` (0..1) places a light sweep across it, < 0 none.
Canvas wordmark(double shine);

// The hero's head in a gold ring: the studio emblem (diameter `size`).
Canvas emblem(int size);

}  // namespace tools::art
