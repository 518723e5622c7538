// The per-level tables that say what a level's pack holds: the geometry item of each level, the
// tile sprite of each tile layer, and which levels the alternate player plays. Constants only, so
// the level compiler checks levels against the very tables the game loads them by.
#pragma once

#include <iterator>

#include "runtime/jtypes.h"

namespace level_tables {

inline constexpr jint kLevelCount = 10;
inline constexpr jint kLayersPerLevel = 5;

// Item of the geometry pack per level, -1 when the level has no polylines; the eleventh entry
// belongs to no level.
inline constexpr jint kGeometryItems[] = {0, -1, 1, 2, -1, 3, 4, -1, 5, 6, -1};

// Per level the sprite item of tile layers 0..4, -1 when the level has no such layer.
inline constexpr jint kLayerItems[] = {
    1,  -1, 0,  0,  -1,  // level 0
    2,  -1, -1, -1, -1,  // level 1
    4,  -1, 3,  3,  -1,  // level 2
    4,  -1, 3,  3,  -1,  // level 3
    2,  -1, -1, -1, -1,  // level 4
    6,  -1, 5,  5,  5,   // level 5
    6,  -1, 5,  5,  5,   // level 6
    2,  -1, -1, -1, -1,  // level 7
    -1, -1, 7,  7,  7,   // level 8
    -1, -1, 7,  7,  7,   // level 9
};
static_assert(std::size(kLayerItems) == kLevelCount * kLayersPerLevel);
static_assert(std::size(kGeometryItems) == kLevelCount + 1);

// The race levels, where the alternate player runs an open extent instead of a tiled map.
constexpr bool isAltPlayerLevel(jint level) { return level == 1 || level == 4 || level == 7; }

}  // namespace level_tables
