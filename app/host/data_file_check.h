// The check of the data file before anything starts: the program cannot run without the archive's
// literals and properties, so a missing, special, empty or broken file is named and refused.
#pragma once

#include <filesystem>
#include <string>

// True when `path` is a regular file holding a well-formed archive with "app.jad", a whole
// "constants.bin" of every literal the program reads, and language 0's text pack with every text
// the game draws; else false with `why` saying what is wrong. Never opens a FIFO or device (no hang).
[[nodiscard]] bool checkDataFile(const std::filesystem::path& path, std::string& why);
