// Lays each sub-file out as its offset table followed by its items, after the header for sub-file 0.
#include "tools/pack_writer.h"

#include <cstdint>
#include <limits>

#include "sprites/cgame_packs.h"
#include "tools/little_endian.h"
#include "tools/lzma_alone.h"

namespace tools {

namespace {

bool encodeItem(const PackItem& item, std::size_t index, std::string& out, std::string& error) {
    const std::string where = "item " + std::to_string(index) + ": ";
    out.clear();
    if (item.empty) return true;
    if (item.kind < 0 || item.kind > 126) {
        error = where + "kind " + std::to_string(item.kind) + " is not 0..126";
        return false;
    }
    if (!item.lzma) {
        out += static_cast<char>(item.kind);
        out += item.data;
        return true;
    }
    if (item.data.size() > static_cast<std::size_t>(cGamePacks::kMaxUnpackedSize)) {
        error = where + std::to_string(item.data.size()) + " bytes; the game unpacks at most " +
                std::to_string(cGamePacks::kMaxUnpackedSize);
        return false;
    }
    std::string packed;
    if (!compressLzmaAlone(item.data, packed, error)) {
        error = where + error;
        return false;
    }
    out += static_cast<char>(item.kind + 127);
    out += packed;
    return true;
}

}  // namespace

bool writePack(const std::vector<PackItem>& items, const std::vector<int>& firstItems,
               std::vector<std::string>& subFiles, std::string& error) {
    const std::size_t count = items.size();
    const std::size_t subFileCount = firstItems.size();
    if (count > 0xFFFF) {
        error = std::to_string(count) + " items, at most 65535 fit";
        return false;
    }
    if (subFileCount < 1 || subFileCount > 0x7FFF) {
        error = std::to_string(subFileCount) + " sub-files; 1 to 32767 are read";
        return false;
    }
    for (std::size_t k = 0; k < subFileCount; ++k) {
        const int first = firstItems[k];
        const bool inOrder = k == 0 ? first == 0 : first > firstItems[k - 1];
        if (!inOrder || (k > 0 && static_cast<std::size_t>(first) >= count)) {
            error = "sub-file " + std::to_string(k) + " starts at item " + std::to_string(first) +
                    " (sub-file 0 starts at 0, each later one after the one before and below the item count)";
            return false;
        }
    }

    std::vector<std::string> result(subFileCount);
    std::string encoded;
    for (std::size_t k = 0; k < subFileCount; ++k) {
        const std::size_t first = static_cast<std::size_t>(firstItems[k]);
        const std::size_t end = k + 1 < subFileCount ? static_cast<std::size_t>(firstItems[k + 1]) : count;
        std::string& out = result[k];
        if (k == 0) {
            appendU16LE(out, static_cast<uint32_t>(count));
            appendU16LE(out, static_cast<uint32_t>(subFileCount));
            for (const int f : firstItems) appendU16LE(out, static_cast<uint32_t>(f));
        }
        const std::size_t tableAt = out.size();
        out.append((end - first + 1) * 4, '\0');
        std::string data;
        std::string table;
        for (std::size_t i = first; i <= end; ++i) {
            const std::size_t offset = tableAt + (end - first + 1) * 4 + data.size();
            if (offset > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) {
                error = "sub-file " + std::to_string(k) + " grows past 2 GiB";
                return false;
            }
            appendU32LE(table, static_cast<uint32_t>(offset));
            if (i == end) break;
            if (!encodeItem(items[i], i, encoded, error)) return false;
            data += encoded;
        }
        out.replace(tableAt, table.size(), table);
        out += data;
    }
    subFiles = std::move(result);
    return true;
}

}  // namespace tools
