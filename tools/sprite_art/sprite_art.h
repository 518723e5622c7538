// spriteart's pictures: one function per sprite of the sprites pack, each filling a SpriteSheet with
// the frames and animations the game draws (numbers fixed by the game's code).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/sprite_art/sample_canvas.h"
#include "tools/sprite_art/sprite_sheet.h"

namespace tools::art {

// A canvas over the frame area [x0, x1) x [y0, y1) around the frame's origin, drawn in origin
// coordinates: at(x) and at(y) turn them into canvas coordinates.
struct FrameCanvas {
    int x0, y0;
    SampleCanvas canvas;
    FrameCanvas(int left, int top, int right, int bottom) : x0(left), y0(top), canvas(right - left, bottom - top) {}
    [[nodiscard]] double ax(double x) const { return x - x0; }
    [[nodiscard]] double ay(double y) const { return y - y0; }
    void addTo(SpriteSheet& sheet, int frame) const { sheet.frame(frame, canvas, -x0, -y0); }
};

// A glossy round shape of the interface: outline, body, a lighter top and a rim; `lit` is the
// pressed or highlighted look.
void drawRoundButton(SampleCanvas& c, double cx, double cy, double r, bool lit);

void drawHeroSprite(SpriteSheet& sheet);     // item 0
void drawRacerSprite(SpriteSheet& sheet);    // item 10
void drawEffectSprite(SpriteSheet& sheet);   // item 13
void drawSpecialShotSprite(SpriteSheet& sheet);   // item 15
void drawObstacleSprite(SpriteSheet& sheet); // item 14
void drawSubmarineSprite(SpriteSheet& sheet);    // item 29
void drawHookCarriageSprite(SpriteSheet& sheet); // item 4
void drawGateSprite(SpriteSheet& sheet);         // item 26
void drawHazardSprite(SpriteSheet& sheet);       // item 22
void drawTouchSprite(SpriteSheet& sheet);    // item 40
void drawHudSprite(SpriteSheet& sheet);      // item 2
void drawPickupSprite(SpriteSheet& sheet);   // item 7
void drawRaceItemSprite(SpriteSheet& sheet); // item 16
void drawPuffballSprite(SpriteSheet& sheet); // item 18
void drawLiftSprite(SpriteSheet& sheet);     // item 25
void drawLurkerSprite(SpriteSheet& sheet);   // item 33
void drawGeyserSprite(SpriteSheet& sheet);   // item 3
void drawBeaconSprite(SpriteSheet& sheet);   // item 9
void drawPodSprite(SpriteSheet& sheet);      // item 11
void drawWarpDoorSprite(SpriteSheet& sheet); // item 12
void drawRaceBackdropSprite(SpriteSheet& sheet);  // item 21
void drawCrateSprite(SpriteSheet& sheet);    // item 27
void drawBurrSprite(SpriteSheet& sheet);     // item 30
void drawAirStationSprite(SpriteSheet& sheet);    // item 32

// A sprite drawn by a table: its item number, its file name and its drawing.
struct NamedSprite {
    int item;
    std::string name;
    std::function<void(SpriteSheet&)> draw;
};
// The creatures (tools/sprite_art/creature_roster.cpp).
std::vector<NamedSprite> creatureSprites();

}  // namespace tools::art
