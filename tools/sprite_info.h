// `spritetool info`: a sprite's tables as text for review (flags, modules, frames with their
// frame-modules, boxes and rectangles, animations, palettes, pixel format and data sizes). The bytes
// are untrusted: a section that runs past the end is reported, never read past.
#pragma once

#include <string>
#include <vector>

namespace tools {

// False (with `error` saying where the data ends) when the bytes are not a whole sprite; `out` then
// holds the tables read so far.
[[nodiscard]] bool describeSprite(const std::string& bytes, std::string& out, std::string& error);

// How many frame-modules each frame has and how many frames each animation has.
struct SpriteCounts {
    std::vector<int> frameModules;
    std::vector<int> animationFrames;
};
// Reads the counts of a whole sprite; false with `error` as for describeSprite.
[[nodiscard]] bool countSprite(const std::string& bytes, SpriteCounts& counts, std::string& error);

}  // namespace tools
