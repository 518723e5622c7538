// `spritetool info`: a sprite's tables as text for review (flags, modules, frames with their
// frame-modules, boxes and rectangles, animations, palettes, pixel format and data sizes). The bytes
// are untrusted: a section that runs past the end is reported, never read past.
#pragma once

#include <string>

namespace tools {

// False (with `error` saying where the data ends) when the bytes are not a whole sprite; `out` then
// holds the tables read so far.
[[nodiscard]] bool describeSprite(const std::string& bytes, std::string& out, std::string& error);

}  // namespace tools
