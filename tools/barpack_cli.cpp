// Argument handling and messages for barpack; every failure is one line on `err` prefixed
// "barpack: " and naming the file concerned.
#include "tools/barpack_cli.h"

#include "tools/asset_packer.h"
#include "tools/bar_reader.h"
#include "tools/file_bytes.h"

namespace tools {

namespace {

constexpr const char* kUsage =
    "usage: barpack ASSETS_DIR OUT.bar   pack a folder into an archive\n"
    "       barpack --list FILE.bar      check an archive's index and print it\n";

int listArchive(const std::string& path, std::ostream& out, std::ostream& err) {
    std::string bytes, error;
    std::vector<BarIndexEntry> entries;
    if (!readFileBytes(path, bytes, error)) {
        err << "barpack: " << error << '\n';
        return 1;
    }
    if (!readArchiveIndex(bytes, entries, error)) {
        err << "barpack: " << path << ": " << error << '\n';
        return 1;
    }
    out << formatArchiveIndex(entries);
    return 0;
}

}  // namespace

int runBarpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return 0;
    }
    if (args.size() == 2 && args[0] == "--list") return listArchive(args[1], out, err);
    if (args.size() == 2 && !args[0].starts_with("-") && !args[1].starts_with("-")) {
        std::string error;
        if (!packAssets(args[0], args[1], error)) {
            err << "barpack: " << error << '\n';
            return 1;
        }
        return 0;
    }
    err << kUsage;
    return 2;
}

}  // namespace tools
