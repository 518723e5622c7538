// Argument handling and messages for barpack; every failure is one line on `err` prefixed
// "barpack: " and naming the file concerned.
#include "tools/barpack_cli.h"

#include "tools/asset_packer.h"
#include "tools/bar_reader.h"
#include "tools/file_bytes.h"
#include "tools/promo_source.h"

#include <filesystem>

namespace tools {

namespace {

constexpr const char* kUsage =
    "usage: barpack ASSETS_DIR OUT.bar   pack a folder into an archive\n"
    "       barpack --list FILE.bar      check an archive's index and print it\n"
    "       barpack --promo SOURCE       compile a NAME.igp folder (or read a compiled promotion\n"
    "                                    resource) and print what the screen reads from it\n";

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

int dumpPromo(const std::string& path, std::ostream& out, std::ostream& err) {
    std::string bytes, listing, error;
    const bool ok = std::filesystem::is_directory(path) ? compilePromoFolder(path, bytes, error)
                                                        : readFileBytes(path, bytes, error);
    if (!ok || !dumpPromoResource(bytes, listing, error)) {
        err << "barpack: " << (error.starts_with(path) ? "" : path + ": ") << error << '\n';
        return 1;
    }
    out << listing;
    return 0;
}

}  // namespace

int runBarpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return 0;
    }
    if (args.size() == 2 && args[0] == "--list") return listArchive(args[1], out, err);
    if (args.size() == 2 && args[0] == "--promo") return dumpPromo(args[1], out, err);
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
