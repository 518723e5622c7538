// The index reader. Bytes are pulled in index order and counted, so every failure names the byte
// where its entry starts; nothing of the index is kept unless all of it is sound.
#include "archive/archive_index.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

#include "archive/modified_utf8.h"

namespace archive {

namespace {

// The archive's bytes in order, counting what was taken; false once the data ends early.
class IndexBytes {
public:
    IndexBytes(const ReadBytes& read, uint64_t archiveSize) : m_read(read), m_archiveSize(archiveSize) {}

    [[nodiscard]] bool take(uint8_t* into, std::size_t n) {
        std::size_t got = 0;
        while (got < n) {
            const std::size_t k = m_read(into + got, n - got);
            if (k == 0 || k > n - got) return false;
            got += k;
        }
        m_pos += n;
        return true;
    }
    [[nodiscard]] bool u16(uint16_t& v) {
        uint8_t b[2];
        if (!take(b, 2)) return false;
        v = static_cast<uint16_t>((b[0] << 8) | b[1]);
        return true;
    }
    [[nodiscard]] bool s32(int32_t& v) {
        uint8_t b[4];
        if (!take(b, 4)) return false;
        v = static_cast<int32_t>((static_cast<uint32_t>(b[0]) << 24) | (static_cast<uint32_t>(b[1]) << 16) |
                                 (static_cast<uint32_t>(b[2]) << 8) | b[3]);
        return true;
    }
    // True when n more bytes lie inside the archive.
    [[nodiscard]] bool fits(uint64_t n) const { return m_pos <= m_archiveSize && m_archiveSize - m_pos >= n; }
    [[nodiscard]] uint64_t pos() const { return m_pos; }

private:
    const ReadBytes& m_read;
    uint64_t m_archiveSize;
    uint64_t m_pos = 0;
};

}  // namespace

bool readIndex(const ReadBytes& read, uint64_t archiveSize, std::vector<IndexEntry>& entries, std::string& error) {
    IndexBytes in(read, archiveSize);
    uint16_t count16 = 0;
    if (!in.u16(count16)) {
        error = "shorter than the 2-byte entry count";
        return false;
    }
    const auto count = static_cast<int16_t>(count16);
    if (count < 0) {
        error = "entry count " + std::to_string(count) + " is negative (more than 32767 entries)";
        return false;
    }
    // The whole index first, so an index cut short is reported as such rather than as an entry
    // that runs past the end of what little was read.
    std::vector<IndexEntry> result;
    std::vector<uint64_t> starts;
    result.reserve(static_cast<std::size_t>(count));
    std::string name;
    for (int i = 0; i < count; ++i) {
        const uint64_t start = in.pos();
        const auto fail = [&](const std::string& message) {
            error = "index entry " + std::to_string(i) + " at byte " + std::to_string(start) + ": " + message;
            return false;
        };
        uint16_t length = 0;
        if (!in.u16(length) || !in.fits(length)) return fail("index cut short inside the name");
        name.resize(length);
        if (!in.take(reinterpret_cast<uint8_t*>(name.data()), length)) return fail("index cut short inside the name");
        IndexEntry entry;
        if (!decodeModifiedUtf8(name, entry.name)) return fail("name is not modified UTF-8");
        if (!in.s32(entry.offset) || !in.s32(entry.size)) return fail("index cut short after the name");
        result.push_back(std::move(entry));
        starts.push_back(start);
    }
    for (std::size_t i = 0; i < result.size(); ++i) {
        const IndexEntry& entry = result[i];
        const std::string where = "index entry " + std::to_string(i) + " at byte " + std::to_string(starts[i]) +
                                  ": \"" + printableUtf16(entry.name) + "\" ";
        if (entry.offset < 0 || entry.size < 0) {
            error = where + "has offset " + std::to_string(entry.offset) + " and size " + std::to_string(entry.size);
            return false;
        }
        const uint64_t end = static_cast<uint64_t>(entry.offset) + static_cast<uint64_t>(entry.size);
        if (end > archiveSize) {
            error = where + "ends at byte " + std::to_string(end) + ", past the end of the " +
                    std::to_string(archiveSize) + "-byte file";
            return false;
        }
    }
    entries = std::move(result);
    return true;
}

bool readIndex(std::string_view archive, std::vector<IndexEntry>& entries, std::string& error) {
    std::size_t at = 0;
    const ReadBytes read = [&](uint8_t* into, std::size_t n) {
        const std::size_t k = std::min(n, archive.size() - at);
        if (k > 0) std::memcpy(into, archive.data() + at, k);
        at += k;
        return k;
    };
    return readIndex(read, archive.size(), entries, error);
}

bool readIndexFile(const std::filesystem::path& path, std::vector<IndexEntry>& entries, std::string& error) {
    std::error_code ec;
    const uint64_t size = std::filesystem::file_size(path, ec);
    if (ec) {
        error = path.string() + ": " + ec.message();
        return false;
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        error = path.string() + ": cannot open: " + std::strerror(errno);
        return false;
    }
    const ReadBytes read = [&](uint8_t* into, std::size_t n) { return std::fread(into, 1, n, file.get()); };
    return readIndex(read, size, entries, error);
}

std::string formatIndex(const std::vector<IndexEntry>& entries) {
    std::string out = std::to_string(entries.size()) + (entries.size() == 1 ? " entry\n" : " entries\n");
    for (const IndexEntry& entry : entries) {
        char numbers[32];
        std::snprintf(numbers, sizeof numbers, "%10d %10d ", entry.offset, entry.size);
        out += numbers;
        out += printableUtf16(entry.name);
        out += '\n';
    }
    return out;
}

}  // namespace archive
