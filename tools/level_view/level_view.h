// The level viewer: a level source drawn whole onto one picture for review. The tile layers are
// painted by the engine's own tile painter with the tile sets of a data.bar (screen by screen on the
// landscape screen), the actors by the sprite engine with their types' sprites, then the polylines with their flags, the actors' boxes with ids and types, the
// geyser bounds and carriage paths, and the trigger scripts' move targets are drawn over them.
#pragma once

#include <filesystem>
#include <string>

#include "tools/png_picture.h"

namespace tools {

// Reads, checks (tiles and animations against what the data.bar holds) and draws `source`;
// `spritesDrawn` counts the actors painted with a sprite (a type without art gets its box only).
// Needs the runtime's heaps and a collector (the caller's); false with `error` naming the file, line
// and field.
[[nodiscard]] bool renderLevelView(const std::filesystem::path& source, const std::filesystem::path& dataBar,
                                   Picture& picture, int& spritesDrawn, std::string& error);

// `levelview LEVEL.level DATA.bar OUT.png`. Exit status 0 done, 1 failed, 2 wrong usage.
[[nodiscard]] int runLevelView(int argc, const char* const* argv);

}  // namespace tools
