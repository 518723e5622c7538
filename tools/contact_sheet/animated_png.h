// Animated PNG (APNG) output for the review previews: frames of one size shown in turn, looping for
// ever. Browsers and image viewers play it; a viewer without animation shows the first frame.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/png_picture.h"

namespace tools {

// False with `error` when the frames are missing or of different sizes, or the file cannot be written.
[[nodiscard]] bool writeAnimatedPng(const std::filesystem::path& path, const std::vector<Picture>& frames, int delayMs,
                                    std::string& error);

}  // namespace tools
