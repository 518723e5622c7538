// checkDataFile: stat first (a FIFO given as the data file would block the open for ever), then the
// archive index read and checked by the one index reader the library and the tools use, then the
// literal pool and the text pack the program reads from its first frame.
#include "app/host/data_file_check.h"

#include <fstream>
#include <optional>
#include <system_error>
#include <vector>

#include "app/host/data_file_tables.h"
#include "archive/archive_index.h"

namespace {

const archive::IndexEntry* findEntry(const std::vector<archive::IndexEntry>& entries, const std::u16string& name) {
    for (const auto& entry : entries)
        if (entry.name == name || entry.name == u"/" + name) return &entry;
    return nullptr;
}

bool hasEntry(const std::vector<archive::IndexEntry>& entries, const std::u16string& name) {
    return findEntry(entries, name) != nullptr;
}

// An entry's bytes (the index reader has checked that it lies inside the file); nothing when the
// archive has no such entry or the read comes up short.
std::optional<std::string> entryBytes(const std::filesystem::path& path, const std::vector<archive::IndexEntry>& entries,
                                      const std::string& name) {
    const archive::IndexEntry* entry = findEntry(entries, std::u16string(name.begin(), name.end()));
    if (!entry) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<size_t>(entry->size), '\0');
    if (!in.seekg(entry->offset) || !in.read(bytes.data(), entry->size)) return std::nullopt;
    return bytes;
}

}  // namespace

bool checkDataFile(const std::filesystem::path& path, std::string& why) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) {
        why = "not found";
        return false;
    }
    if (!std::filesystem::is_regular_file(status)) {
        why = "not a regular file";
        return false;
    }
    if (std::filesystem::file_size(path, ec) == 0 && !ec) {
        why = "the file is empty";
        return false;
    }
    std::vector<archive::IndexEntry> entries;
    std::string error;
    if (!archive::readIndexFile(path, entries, error)) {
        why = "not a data archive: " + error;
        return false;
    }
    struct Needed {
        const char16_t* name;
        const char* text;
    };
    for (const Needed& needed : {Needed{u"constants.bin", "constants.bin"}, Needed{u"app.jad", "app.jad"}}) {
        if (!hasEntry(entries, needed.name)) {
            why = std::string("the archive has no ") + needed.text;
            return false;
        }
    }
    std::vector<std::string> pool;
    const auto constants = entryBytes(path, entries, "constants.bin");
    if (!constants || !checkLiteralPool(*constants, pool, why)) {
        if (!constants) why = "constants.bin cannot be read";
        return false;
    }
    const std::string textPack = textPackName(pool);
    const auto texts = entryBytes(path, entries, textPack);
    if (!texts) {
        why = "the archive has no text pack " + textPack;
        return false;
    }
    return checkTextPack(*texts, textPack, why);
}
