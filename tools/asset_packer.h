// Turns an assets folder into archive entries: every regular file under it becomes an entry named
// by its path relative to the folder ('/' between folders), except the two files handled here.
// Top-level constants.txt is compiled to the entry "constants.bin"; top-level app.jad is checked
// and packed in ISO-8859-1. Both must exist. (Both names match in any letter case, as lookups do.)
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/bar_writer.h"

namespace tools {

[[nodiscard]] bool collectAssets(const std::filesystem::path& assetsDir, std::vector<BarEntry>& entries,
                                 std::string& error);

// collectAssets, then the checked archive written atomically to `out`.
[[nodiscard]] bool packAssets(const std::filesystem::path& assetsDir, const std::filesystem::path& out,
                              std::string& error);

}  // namespace tools
