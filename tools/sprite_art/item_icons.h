// The item pictures shared by the heads-up display and the pick-up sprites, drawn centred on
// (cx, cy) at about `r` pixels of radius, with the art palette's outline.
#pragma once

#include "tools/sprite_art/sample_canvas.h"

namespace tools::art {

// The hero's head; with `scarf` its blue scarf trails to the right (the lives icon).
void drawHeroHead(SampleCanvas& c, double cx, double cy, double r, bool scarf);
// The star shell; `phase` 0..7 turns its twinkle round the shell.
void drawStarShell(SampleCanvas& c, double cx, double cy, double r, int phase);
// The spark gun's charge cell; `glow` 0..6 lights its bolt.
void drawChargeCell(SampleCanvas& c, double cx, double cy, double r, int glow);
// A feather tilted by `tilt` radians.
void drawFeather(SampleCanvas& c, double cx, double cy, double r, double tilt);
// A bubble squashed by `wobble` (-1..1).
void drawBubble(SampleCanvas& c, double cx, double cy, double r, double wobble);
void drawBerry(SampleCanvas& c, double cx, double cy, double r);
void drawPear(SampleCanvas& c, double cx, double cy, double r);
void drawBadge(SampleCanvas& c, double cx, double cy, double r);
// Wind curls; `phase` 0..3 moves them along.
void drawGust(SampleCanvas& c, double cx, double cy, double r, int phase);
// A four-pointed glint.
void drawSparkle(SampleCanvas& c, double cx, double cy, double size);

}  // namespace tools::art
