// The content contact sheet: everything the game loads before a level, painted by the game's own
// sprite engine from a data.bar and laid out on one PNG for review. Sections: the screens as the
// game composes them (splash, main menu with soft keys, level loading), every frame and animation
// frame of the interface sprites (title in both palettes, menu, wordmark, logo), the three fonts with
// sample text in both palettes, and the images. Sprites are painted onto the portrait 480 x 800
// screen image and turned back upright, so the sheet shows the landscape picture the player sees.
#pragma once

#include <filesystem>
#include <string>

#include "tools/png_picture.h"

namespace tools {

// Reads `dataBar` through the game's pack reader and paints the sheet. Needs the runtime's heaps and
// a collector (the caller's); false with `error` naming the pack or item that failed.
[[nodiscard]] bool renderContactSheet(const std::filesystem::path& dataBar, Picture& sheet, std::string& error);

// `contactsheet DATA.bar OUT.png`: makes the heaps, renders, writes. Exit status 0 done, 1 failed,
// 2 wrong usage.
[[nodiscard]] int runContactSheet(int argc, const char* const* argv);

}  // namespace tools
