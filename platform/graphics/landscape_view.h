// How a window shows the portrait screen: turned a quarter so the game's landscape picture stands
// upright, fitted to the window with its aspect kept, and the way back from window to screen pixels.
// Invariant: landscape (x, y) is portrait (portraitWidth - 1 - y, x), the turn the game draws with.
#pragma once

#include "platform/graphics/surface.h"

struct Viewport {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The largest rectangle of the picture's aspect that fits the window, centred (bars on two sides).
[[nodiscard]] Viewport fitPicture(int windowWidth, int windowHeight, int pictureWidth, int pictureHeight);

// Window point to portrait screen pixel for a portrait screen of the given size shown in view.
// Points outside the picture give coordinates outside the screen (negative on the left and top).
struct ScreenPoint {
    int x = 0;
    int y = 0;
};
[[nodiscard]] ScreenPoint windowToPortrait(int windowX, int windowY, const Viewport& view, int portraitWidth,
                                           int portraitHeight);

// Writes the upright picture: landscape must be portrait.height wide and portrait.width high.
void turnToLandscape(const ConstSurface565& portrait, const Surface565& landscape);
