// PNG files as 0xAARRGGBB pixels for the tools (sprite sheets, sample sheets). libpng does the work;
// a failure names the file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tools {

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> argb;   // row by row
};

[[nodiscard]] bool readPngPicture(const std::filesystem::path& path, Picture& picture, std::string& error);
[[nodiscard]] bool writePngPicture(const std::filesystem::path& path, const Picture& picture, std::string& error);

}  // namespace tools
