// Index validation for --list. Positions are checked before every read; nothing is assumed of an
// archive's contents.
#include "tools/bar_reader.h"

#include <cstdio>

#include "tools/big_endian.h"
#include "tools/modified_utf8.h"

namespace tools {

bool readArchiveIndex(std::string_view archive, std::vector<BarIndexEntry>& entries, std::string& error) {
    const auto count16 = readU16(archive, 0);
    if (!count16) {
        error = "shorter than the 2-byte entry count";
        return false;
    }
    const auto count = static_cast<int16_t>(*count16);
    if (count < 0) {
        error = "entry count " + std::to_string(count) + " is negative (more than 32767 entries)";
        return false;
    }
    // The whole index first, so an index cut short is reported as such rather than as an entry
    // that runs past the end of what little was read.
    std::vector<BarIndexEntry> result;
    std::vector<std::size_t> starts;
    result.reserve(static_cast<std::size_t>(count));
    std::size_t pos = 2;
    for (int i = 0; i < count; ++i) {
        const auto fail = [&](const std::string& message) {
            error = "index entry " + std::to_string(i) + " at byte " + std::to_string(pos) + ": " + message;
            return false;
        };
        const auto length = readU16(archive, pos);
        if (!length || archive.size() - pos - 2 < *length) return fail("index cut short inside the name");
        BarIndexEntry entry;
        if (!decodeModifiedUtf8(archive.substr(pos + 2, *length), entry.name)) return fail("name is not modified UTF-8");
        const auto offset = readS32(archive, pos + 2 + *length);
        const auto size = readS32(archive, pos + 2 + *length + 4);
        if (!offset || !size) return fail("index cut short after the name");
        entry.offset = *offset;
        entry.size = *size;
        result.push_back(std::move(entry));
        starts.push_back(pos);
        pos += 2 + *length + 8;
    }
    for (std::size_t i = 0; i < result.size(); ++i) {
        const BarIndexEntry& entry = result[i];
        const std::string where = "index entry " + std::to_string(i) + " at byte " + std::to_string(starts[i]) + ": \"" +
                                  printableUtf16(entry.name) + "\" ";
        if (entry.offset < 0 || entry.size < 0) {
            error = where + "has offset " + std::to_string(entry.offset) + " and size " + std::to_string(entry.size);
            return false;
        }
        const std::uint64_t end = static_cast<std::uint64_t>(entry.offset) + static_cast<std::uint64_t>(entry.size);
        if (end > archive.size()) {
            error = where + "ends at byte " + std::to_string(end) + ", past the end of the " +
                    std::to_string(archive.size()) + "-byte file";
            return false;
        }
    }
    entries = std::move(result);
    return true;
}

std::string formatArchiveIndex(const std::vector<BarIndexEntry>& entries) {
    std::string out = std::to_string(entries.size()) + (entries.size() == 1 ? " entry\n" : " entries\n");
    for (const BarIndexEntry& entry : entries) {
        char numbers[32];
        std::snprintf(numbers, sizeof numbers, "%10d %10d ", entry.offset, entry.size);
        out += numbers;
        out += printableUtf16(entry.name);
        out += '\n';
    }
    return out;
}

}  // namespace tools
