// A sprite's readable source: a JSON description beside its PNG sheets.
//   {
//     "paletteFormat": "8888",          8888, 4444, 5515 or 6505 (default 8888)
//     "pixelFormat": "56F2",            0200, 0400, 1600, 64F0, 27F1, 56F2 or A256 (default 56F2)
//     "modulePositions": false,         store image modules' place in their sheet
//     "palettes": [["#AARRGGBB", ...], ...],
//         optional; palette 0 is what the sheets' pixels are matched against, the others recolour
//         it index by index. Without it: one palette of the sheets' colours in order of first use.
//     "modules": [
//       {"image": "sheet.png", "x": 0, "y": 0, "w": 16, "h": 16},   x, y, w, h default to the whole sheet
//       {"rect": "#FF00FF00", "w": 4, "h": 4}, {"fillRect": ...}, {"empty": true, "w": 4, "h": 4},
//       {"arc": "#FFFFFFFF", "w": 8, "h": 8, "start": 0, "angle": 90}, {"fillArc": ...},
//       {"triangle": "#FF0000FF", "points": [4, 0, 0, 6]}, {"fillTriangle": ...}
//     ],
//     "frames": [{"modules": [{"module": 0, "x": 0, "y": 0, "flags": 0}], "boxes": [[x, y, w, h]],
//                 "rect": [x, y, w, h]}],   rect defaults to the frame-modules' bounds
//     "animations": [{"frames": [{"frame": 0, "time": 1, "x": 0, "y": 0, "flags": 0}]}]
//   }
// A pixel of alpha 0 is the engine's colour key (#00FF00FF) whatever its colour channels. With
// pixel format A256 the palettes hold opaque colours and each pixel's alpha is stored on its own.
// Sheet names are relative to the description's folder and stay inside it. Errors read
// "FILE: field: message".
#pragma once

#include <filesystem>
#include <nlohmann/json_fwd.hpp>
#include <string>

#include "tools/sprite_definition.h"

namespace tools {

// The description `source` read from `file` (sheets are looked up beside it).
[[nodiscard]] bool readSpriteSource(const nlohmann::json& source, const std::filesystem::path& file,
                                    SpriteDefinition& sprite, std::string& error);

// Reads and parses the file, then readSpriteSource and writeSprite.
[[nodiscard]] bool compileSpriteFile(const std::filesystem::path& file, std::string& out, std::string& error);

}  // namespace tools
