// Turns an assets folder into archive entries: every regular file under it becomes an entry named
// by its path relative to the folder ('/' between folders), except the two files handled here.
// Top-level constants.txt is compiled to the entry "constants.bin"; top-level app.jad is checked
// and packed in ISO-8859-1. Both must exist. (Both names match in any letter case, as lookups do.)
// A folder NAME.pack is a pack's source (tools/pack_source.h), compiled into the entries NAME and
// NAME + separator + k (the separator is constants.txt's literal for it); a file NAME.arrays.txt is a
// byte-array pack (tools/text_pack_compiler.h), compiled into the entry NAME; a folder NAME.igp is the
// promotion resource's source (tools/promo_source.h), compiled into the entry NAME.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/bar_writer.h"

namespace tools {

struct PackOptions {
    std::filesystem::path builtFolder;   // where "built" pack items are (tools/pack_source.h); empty: none
    bool checkContent = false;           // hold the result to the game's rules (tools/content_check.h)
};

[[nodiscard]] bool collectAssets(const std::filesystem::path& assetsDir, std::vector<BarEntry>& entries,
                                 std::string& error, const PackOptions& options = {});

// collectAssets, then the checked archive written atomically to `out`.
[[nodiscard]] bool packAssets(const std::filesystem::path& assetsDir, const std::filesystem::path& out,
                              std::string& error, const PackOptions& options = {});

}  // namespace tools
