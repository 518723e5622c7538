// The content contact sheet: everything the game loads before a level, painted by the game's own
// sprite engine from a data.bar and laid out on one PNG for review. Sections: the screens as the
// game composes them (splash, main menu with soft keys, level loading), every frame and animation
// frame of the interface sprites (title in both palettes, menu, wordmark, logo), the three fonts with
// sample text in both palettes, the images, and each actor sprite's animations as strips of frames
// with their frame boxes outlined. Sprites are painted onto the portrait 480 x 800
// screen image and turned back upright, so the sheet shows the landscape picture the player sees.
#pragma once

#include <filesystem>
#include <string>

#include "tools/png_picture.h"

namespace tools {

// Reads `dataBar` through the game's pack reader and paints the sheet. Needs the runtime's heaps and
// a collector (the caller's); false with `error` naming the pack or item that failed.
[[nodiscard]] bool renderContactSheet(const std::filesystem::path& dataBar, Picture& sheet, std::string& error);

// After renderContactSheet (the data.bar it opened): one animated PNG per actor sprite into `dir`,
// sprite_N.png, every animation of sprite N playing side by side (only sprite `onlySlot` when it is
// not negative).
[[nodiscard]] bool writeActorPreviews(const std::filesystem::path& dir, std::string& error, int onlySlot = -1);

// `contactsheet DATA.bar OUT.png [PREVIEW_DIR]`: makes the heaps, renders, writes (and the previews). Exit status 0 done, 1 failed,
// 2 wrong usage.
[[nodiscard]] int runContactSheet(int argc, const char* const* argv);

}  // namespace tools
