// Whole-file reads for the small files the tools parse (constants, descriptors, archive indexes).
// A failure names the file and the system's reason.
#pragma once

#include <filesystem>
#include <string>

namespace tools {

[[nodiscard]] bool readFileBytes(const std::filesystem::path& path, std::string& bytes, std::string& error);

}  // namespace tools
