// `spritetool info` and `barpack --contents`: a sprite's tables as text for review (flags, modules, frames with their
// frame-modules, boxes and rectangles, animations, palettes, pixel format and data sizes). The bytes
// are untrusted: a section that runs past the end is reported, never read past.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tools {

// False (with `error` saying where the data ends) when the bytes are not a whole sprite; `out` then
// holds the tables read so far.
[[nodiscard]] bool describeSprite(const std::string& bytes, std::string& out, std::string& error);

// How many frame-modules and boxes each frame has, how many frames each animation has and which
// frames they show, the module and palette counts, and how many bytes the sprite's tables took
// (less than the data when something follows them, so other data is not taken for a sprite).
struct SpriteCounts {
    std::vector<int> frameModules;
    std::vector<int> frameBoxes;                       // boxes of each frame
    std::vector<int> animationFrames;
    std::vector<std::vector<int>> animationFrameOf;    // the frame each animation frame shows; -1 none
    int modules = 0, palettes = 0;
    size_t bytesRead = 0;
};
// Reads the counts of a whole sprite; false with `error` as for describeSprite.
[[nodiscard]] bool countSprite(const std::string& bytes, SpriteCounts& counts, std::string& error);

}  // namespace tools
