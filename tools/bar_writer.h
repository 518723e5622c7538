// The data.bar writer: index at offset 0 (s16 count; per entry the name in readUTF form, s32
// absolute offset, s32 size), then the entries' data in index order. Entries are sorted by name
// bytes, so the same entries always give the same file; a name lookup on the device ignores ASCII
// letter case, so names equal but for case are refused, as is anything a s16/s32/u16 cannot hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tools {

inline constexpr std::size_t kMaxBarEntries = 32767;

struct BarEntry {
    std::string name;                   // UTF-8, '/' between folders, no leading '/'
    std::uint64_t size = 0;             // bytes.size(), or the size of sourcePath when it is set
    std::string bytes;                  // the data itself, when sourcePath is empty
    std::filesystem::path sourcePath;   // else the file copied in at write time

    [[nodiscard]] static BarEntry fromBytes(std::string name, std::string bytes);
    [[nodiscard]] static BarEntry fromFile(std::string name, std::filesystem::path path, std::uint64_t size);
};

// A name as the device's lookup sees it: A-Z folded to a-z, every other byte as it is. (In UTF-8
// those letters are single bytes and every other character's bytes are >= 0x80.)
[[nodiscard]] std::string foldAsciiCase(const std::string& name);

// Sorts `entries` by name, checks them and builds the index bytes (data follows the index in
// entry order). Errors name the entry.
[[nodiscard]] bool layOutArchive(std::vector<BarEntry>& entries, std::string& index, std::string& error);

// Lays out and writes the archive to `out` through a temporary file in the same folder that is
// renamed over `out` only when complete; on any failure nothing is left behind.
[[nodiscard]] bool writeArchive(const std::filesystem::path& out, std::vector<BarEntry> entries, std::string& error);
// The writing half alone, for entries and index that layOutArchive has made.
[[nodiscard]] bool writeLaidOutArchive(const std::filesystem::path& out, const std::vector<BarEntry>& entries,
                                       const std::string& index, std::string& error);

}  // namespace tools
