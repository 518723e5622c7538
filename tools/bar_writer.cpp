// Archive layout and the atomic write. Offsets are computed once in layOutArchive; the writer then
// emits exactly the promised bytes and fails if a source file no longer has its recorded size.
#include "tools/bar_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>

#include "archive/big_endian.h"
#include "archive/modified_utf8.h"

namespace tools {

namespace {

constexpr std::uint64_t kMaxS32 = static_cast<std::uint64_t>(std::numeric_limits<int32_t>::max());

std::string inQuotes(const std::string& name) { return "\"" + name + "\""; }

std::string systemError(const std::string& what, const std::filesystem::path& path) {
    return path.string() + ": " + what + ": " + std::strerror(errno);
}

}  // namespace

std::string foldAsciiCase(const std::string& name) {
    std::string folded = name;
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return folded;
}

namespace {

// Copies exactly entry.size bytes of the entry's data to `file`.
bool writeEntryData(std::FILE* file, const BarEntry& entry, const std::filesystem::path& out, std::string& error) {
    if (entry.sourcePath.empty()) {
        if (std::fwrite(entry.bytes.data(), 1, entry.bytes.size(), file) != entry.bytes.size()) {
            error = systemError("cannot write", out);
            return false;
        }
        return true;
    }
    std::FILE* in = std::fopen(entry.sourcePath.c_str(), "rb");
    if (in == nullptr) {
        error = systemError("cannot open", entry.sourcePath);
        return false;
    }
    char buffer[1 << 16];
    std::uint64_t copied = 0;
    bool ok = true;
    while (ok) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, in);
        if (n == 0) break;
        copied += n;
        if (copied > entry.size) break;
        if (std::fwrite(buffer, 1, n, file) != n) {
            error = systemError("cannot write", out);
            ok = false;
        }
    }
    if (ok && std::ferror(in)) {
        error = systemError("cannot read", entry.sourcePath);
        ok = false;
    }
    if (ok && copied != entry.size) {
        error = entry.sourcePath.string() + ": changed size while being packed";
        ok = false;
    }
    std::fclose(in);
    return ok;
}

}  // namespace

BarEntry BarEntry::fromBytes(std::string name, std::string bytes) {
    BarEntry entry;
    entry.name = std::move(name);
    entry.size = bytes.size();
    entry.bytes = std::move(bytes);
    return entry;
}

BarEntry BarEntry::fromFile(std::string name, std::filesystem::path path, std::uint64_t size) {
    BarEntry entry;
    entry.name = std::move(name);
    entry.size = size;
    entry.sourcePath = std::move(path);
    return entry;
}

bool layOutArchive(std::vector<BarEntry>& entries, std::string& index, std::string& error) {
    if (entries.size() > kMaxBarEntries) {
        error = std::to_string(entries.size()) + " entries, at most " + std::to_string(kMaxBarEntries) +
                " fit the index count";
        return false;
    }
    std::sort(entries.begin(), entries.end(), [](const BarEntry& a, const BarEntry& b) { return a.name < b.name; });

    std::vector<std::string> folded;
    folded.reserve(entries.size());
    for (const BarEntry& entry : entries) folded.push_back(foldAsciiCase(entry.name));
    std::vector<std::size_t> byFolded(entries.size());
    for (std::size_t i = 0; i < byFolded.size(); ++i) byFolded[i] = i;
    std::sort(byFolded.begin(), byFolded.end(), [&](std::size_t a, std::size_t b) { return folded[a] < folded[b]; });
    for (std::size_t k = 1; k < byFolded.size(); ++k) {
        const std::size_t a = byFolded[k - 1];
        const std::size_t b = byFolded[k];
        if (entries[a].name == entries[b].name) {
            error = "two entries are named " + inQuotes(entries[a].name);
            return false;
        }
        if (folded[a] == folded[b]) {
            error = "entries " + inQuotes(entries[std::min(a, b)].name) + " and " + inQuotes(entries[std::max(a, b)].name) +
                    " have the same name but for letter case (lookups would only ever find one)";
            return false;
        }
    }

    std::vector<std::string> encoded(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& name = entries[i].name;
        std::string why;
        if (name.empty()) {
            error = "an entry has an empty name";
            return false;
        }
        if (name.front() == '/') {
            error = "entry " + inQuotes(name) + ": name starts with '/' (lookups drop one leading '/', so it could not be found)";
            return false;
        }
        if (!archive::appendModifiedUtf8(name, encoded[i], why)) {
            error = "entry " + inQuotes(name) + ": name is not UTF-8: " + why;
            return false;
        }
        if (encoded[i].size() > archive::kMaxUtfBytes) {
            error = "entry " + inQuotes(name) + ": name is " + std::to_string(encoded[i].size()) +
                    " bytes encoded, at most " + std::to_string(archive::kMaxUtfBytes) + " fit";
            return false;
        }
    }

    std::uint64_t indexSize = 2;
    for (const std::string& name : encoded) indexSize += 2 + name.size() + 4 + 4;
    if (indexSize > kMaxS32) {
        error = "the index alone is " + std::to_string(indexSize) + " bytes, more than an archive can address";
        return false;
    }
    std::uint64_t offset = indexSize;
    for (const BarEntry& entry : entries) {
        if (entry.size > kMaxS32 - offset) {
            error = "entry " + inQuotes(entry.name) + ": " + std::to_string(entry.size) + " bytes at offset " +
                    std::to_string(offset) + " go past the 2147483647 bytes an archive can address";
            return false;
        }
        offset += entry.size;
    }

    index.clear();
    index.reserve(static_cast<std::size_t>(indexSize));
    archive::appendU16(index, static_cast<uint16_t>(entries.size()));
    offset = indexSize;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        archive::appendU16(index, static_cast<uint16_t>(encoded[i].size()));
        index += encoded[i];
        archive::appendS32(index, static_cast<int32_t>(offset));
        archive::appendS32(index, static_cast<int32_t>(entries[i].size));
        offset += entries[i].size;
    }
    return true;
}

bool writeArchive(const std::filesystem::path& out, std::vector<BarEntry> entries, std::string& error) {
    std::string index;
    return layOutArchive(entries, index, error) && writeLaidOutArchive(out, entries, index, error);
}

bool writeLaidOutArchive(const std::filesystem::path& out, const std::vector<BarEntry>& entries,
                         const std::string& index, std::string& error) {
    std::string tempName = out.string() + ".XXXXXX";
    const int fd = ::mkstemp(tempName.data());
    if (fd < 0) {
        error = systemError("cannot create a temporary file next to it", out);
        return false;
    }
    const std::filesystem::path temp = tempName;
    ::fchmod(fd, 0644);  // mkstemp makes it private; the archive is ordinary data
    std::FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) {
        error = systemError("cannot open", temp);
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    }

    bool ok = std::fwrite(index.data(), 1, index.size(), file) == index.size();
    if (!ok) error = systemError("cannot write", temp);
    for (const BarEntry& entry : entries) {
        if (!ok) break;
        ok = writeEntryData(file, entry, temp, error);
    }
    if (ok && (std::fflush(file) != 0 || ::fsync(::fileno(file)) != 0)) {
        error = systemError("cannot write", temp);
        ok = false;
    }
    if (std::fclose(file) != 0 && ok) {
        error = systemError("cannot write", temp);
        ok = false;
    }
    if (ok && std::rename(temp.c_str(), out.c_str()) != 0) {
        error = systemError("cannot rename to " + out.string(), temp);
        ok = false;
    }
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

}  // namespace tools
