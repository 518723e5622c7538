// `spritetool info` and `barpack --contents`: a sprite's tables as text for review (flags, modules, frames with their
// frame-modules, boxes and rectangles, animations, palettes, pixel format and data sizes). The bytes
// are untrusted: a section that runs past the end is reported, never read past.
#pragma once

#include <string>
#include <vector>

namespace tools {

// False (with `error` saying where the data ends) when the bytes are not a whole sprite; `out` then
// holds the tables read so far.
[[nodiscard]] bool describeSprite(const std::string& bytes, std::string& out, std::string& error);

struct SpriteCounts {
    int modules = 0, frames = 0, animations = 0, palettes = 0;
    std::vector<int> frameModules;      // per frame, its frame-module count
    std::vector<int> animationFrames;   // per animation, its frame count
};

// The table sizes when `bytes` is exactly one whole sprite: every section read and nothing left
// over (so other data is not taken for a sprite).
[[nodiscard]] bool countSprite(const std::string& bytes, SpriteCounts& counts);

}  // namespace tools
