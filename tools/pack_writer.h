// Resource packs: N items split over K sub-files. Sub-file 0 opens with u16 N, u16 K and the K
// first-item indices; every sub-file then has its C + 1 u32 offsets (from the sub-file's start) and
// the items' bytes. A non-empty item is a kind byte (kind, or kind + 127 for LZMA) and its payload;
// an empty item has no bytes at all. All little-endian.
#pragma once

#include <string>
#include <vector>

namespace tools {

struct PackItem {
    bool empty = false;   // no kind byte, no payload
    int kind = 0;         // 0..126
    bool lzma = false;    // payload stored LZMA-Alone compressed
    std::string data;     // the unpacked payload
};

// `firstItems`: the first item of each sub-file, starting at 0 and ascending below the item count.
// On success `subFiles[k]` holds sub-file k's bytes. Errors name the item or sub-file.
[[nodiscard]] bool writePack(const std::vector<PackItem>& items, const std::vector<int>& firstItems,
                             std::vector<std::string>& subFiles, std::string& error);

}  // namespace tools
