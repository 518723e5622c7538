// The data.bar index, read the one way the library, the host and the tools all read it: an s16 count,
// then per entry the name as readUTF reads it, an s32 offset and an s32 size, all big-endian. An
// index is taken whole or not at all: cut short, a negative count, a name that is not modified
// UTF-8, or an entry outside the file refuses it, naming the entry and what is wrong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace archive {

struct IndexEntry {
    std::u16string name;
    int32_t offset = 0;
    int32_t size = 0;
};

// Gives up to n bytes of the archive, from where the last call stopped, into `into`; fewer only at
// the end of the data.
using ReadBytes = std::function<std::size_t(uint8_t* into, std::size_t n)>;

// Reads the index from the start of an archive of archiveSize bytes. Nothing is taken on trust: a
// name's length is checked against the file before its bytes are read.
[[nodiscard]] bool readIndex(const ReadBytes& read, uint64_t archiveSize, std::vector<IndexEntry>& entries,
                             std::string& error);
// The same over the whole file in memory.
[[nodiscard]] bool readIndex(std::string_view archive, std::vector<IndexEntry>& entries, std::string& error);
// The same over a file, reading only the index. A missing or unreadable file fails with the reason.
[[nodiscard]] bool readIndexFile(const std::filesystem::path& path, std::vector<IndexEntry>& entries,
                                 std::string& error);

// One line per entry, "OFFSET SIZE NAME", after a line giving the count.
[[nodiscard]] std::string formatIndex(const std::vector<IndexEntry>& entries);

}  // namespace archive
