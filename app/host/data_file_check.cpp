// checkDataFile: stat first (a FIFO given as the data file would block the open for ever), then the
// whole archive index read and checked the way the asset compiler checks it.
#include "app/host/data_file_check.h"

#include <system_error>
#include <vector>

#include "tools/bar_reader.h"
#include "tools/file_bytes.h"

namespace {

bool hasEntry(const std::vector<tools::BarIndexEntry>& entries, const std::u16string& name) {
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
    std::string bytes;
    std::string error;
    if (!tools::readFileBytes(path, bytes, error)) {
        why = error;
        return false;
    }
    if (bytes.empty()) {
        why = "the file is empty";
        return false;
    }
    std::vector<tools::BarIndexEntry> entries;
    if (!tools::readArchiveIndex(bytes, entries, error)) {
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
