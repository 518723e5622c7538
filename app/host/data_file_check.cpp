// checkDataFile: stat first (a FIFO given as the data file would block the open for ever), then the
// archive index read and checked by the one index reader the library and the tools use.
#include "app/host/data_file_check.h"

#include <system_error>
#include <vector>

#include "archive/archive_index.h"

namespace {

bool hasEntry(const std::vector<archive::IndexEntry>& entries, const std::u16string& name) {
    for (const auto& entry : entries)
        if (entry.name == name || entry.name == u"/" + name) return true;
    return false;
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
    return true;
}
