// Reads and validates a data.bar index the way the device reads it (readShort, readUTF, readInt),
// and additionally requires every entry to lie inside the file. For listing and checking archives.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tools {

struct BarIndexEntry {
    std::u16string name;
    int32_t offset = 0;
    int32_t size = 0;
};

// `archive` is the whole file. Fails with a message naming the entry and what is wrong when the
// index is cut short, its count is negative, a name is not valid modified UTF-8, or an entry's
// offset or size is negative or runs past the end of the file.
[[nodiscard]] bool readArchiveIndex(std::string_view archive, std::vector<BarIndexEntry>& entries, std::string& error);

// One line per entry, "OFFSET SIZE NAME", after a line giving the count.
[[nodiscard]] std::string formatArchiveIndex(const std::vector<BarIndexEntry>& entries);

}  // namespace tools
