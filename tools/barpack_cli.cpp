// Argument handling and messages for barpack; every failure is one line on `err` prefixed
// "barpack: " and naming the file concerned.
#include "tools/barpack_cli.h"

#include <cstdio>
#include <map>

#include "archive/archive_index.h"
#include "tools/asset_packer.h"
#include "tools/file_bytes.h"
#include "tools/pack_contents.h"
#include "tools/promo_source.h"

#include <filesystem>

namespace tools {

namespace {

constexpr const char* kUsage =
    "usage: barpack ASSETS_DIR OUT.bar [--built DIR] [--check]   pack a folder into an archive\n"
    "       barpack --list FILE.bar                 check an archive's index and print it\n"
    "       barpack --contents FILE.bar             list the packs, their items and the other files\n"
    "       barpack --item FILE.bar PACK N OUT      write one pack item, unpacked, to a file\n"
    "       barpack --promo SOURCE                  compile a NAME.igp folder (or read a compiled\n"
    "                                               promotion resource) and print what the screen reads\n";

constexpr size_t kSeparatorLiteral = 330;

// An archive read whole, its entries by name (UTF-8; the names we write are ASCII).
struct Archive {
    std::string bytes;
    std::vector<archive::IndexEntry> index;
    std::map<std::string, std::string_view> entries;
    std::string separator = "_";
};

std::string narrowName(const std::u16string& name) {
    std::string out;
    for (const char16_t c : name) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

// Literal `index` of constants.bin (s32 count, then u16 length and modified UTF-8 each, big-endian),
// when it is ASCII.
bool poolLiteral(std::string_view bin, size_t index, std::string& text) {
    const auto u16 = [&](size_t at) { return static_cast<size_t>(static_cast<uint8_t>(bin[at]) << 8 | static_cast<uint8_t>(bin[at + 1])); };
    if (bin.size() < 4) return false;
    size_t at = 4;
    for (size_t i = 0; at + 2 <= bin.size(); ++i) {
        const size_t length = u16(at);
        if (at + 2 + length > bin.size()) return false;
        if (i == index) {
            text.assign(bin.substr(at + 2, length));
            return true;
        }
        at += 2 + length;
    }
    return false;
}

bool openArchive(const std::string& path, Archive& archive, std::ostream& err) {
    std::string error;
    if (!readFileBytes(path, archive.bytes, error)) {
        err << "barpack: " << error << '\n';
        return false;
    }
    if (!archive::readIndex(archive.bytes, archive.index, error)) {
        err << "barpack: " << path << ": " << error << '\n';
        return false;
    }
    const std::string_view all(archive.bytes);
    for (const archive::IndexEntry& e : archive.index)
        archive.entries.emplace(narrowName(e.name), all.substr(static_cast<size_t>(e.offset), static_cast<size_t>(e.size)));
    if (const auto pool = archive.entries.find("constants.bin"); pool != archive.entries.end()) {
        std::string separator;
        if (poolLiteral(pool->second, kSeparatorLiteral, separator) && !separator.empty()) archive.separator = separator;
    }
    return true;
}

EntryLookup lookupIn(const Archive& archive) {
    return [&archive](const std::string& name) -> std::optional<std::string_view> {
        const auto it = archive.entries.find(name);
        if (it == archive.entries.end()) return std::nullopt;
        return it->second;
    };
}

int listArchive(const std::string& path, std::ostream& out, std::ostream& err) {
    Archive archive;
    if (!openArchive(path, archive, err)) return 1;
    out << archive::formatIndex(archive.index);
    return 0;
}

// A sub-file k >= 1 of a pack listed with the pack: NAME + separator + digits where NAME is a pack.
bool isLaterSubFile(const Archive& archive, const std::string& name) {
    const size_t cut = name.rfind(archive.separator);
    if (cut == std::string::npos || cut + archive.separator.size() >= name.size()) return false;
    for (size_t i = cut + archive.separator.size(); i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    const auto base = archive.entries.find(name.substr(0, cut));
    return base != archive.entries.end() && looksLikePack(base->second);
}

int listContents(const std::string& path, std::ostream& out, std::ostream& err) {
    Archive archive;
    if (!openArchive(path, archive, err)) return 1;
    out << path << ": " << archive.entries.size() << " entries\n";
    char line[256];
    for (const auto& [name, bytes] : archive.entries) {
        if (isLaterSubFile(archive, name)) continue;
        std::vector<PackItemView> items;
        std::string error;
        if (looksLikePack(bytes) && readPack(lookupIn(archive), name, archive.separator, items, error)) {
            out << "pack " << name << ": " << items.size() << (items.size() == 1 ? " item\n" : " items\n");
            for (size_t i = 0; i < items.size(); ++i) {
                const PackItemView& item = items[i];
                if (item.empty) {
                    std::snprintf(line, sizeof line, "  %4zu  empty\n", i);
                } else {
                    std::snprintf(line, sizeof line, "  %4zu  kind %3d  %-6s %8zu -> %8zu  ", i, item.kind,
                                  item.lzma ? "LZMA" : "stored", item.storedSize, item.payload.size());
                }
                out << line << (item.empty ? "" : describePayload(item.payload) + "\n");
            }
            continue;
        }
        if (!error.empty()) {
            err << "barpack: " << path << ": " << error << '\n';
            return 1;
        }
        std::vector<std::string> entries;
        if (name.find('.') == std::string::npos && readByteArrayPack(bytes, entries, error)) {
            out << "byte-array pack " << name << ": " << entries.size() << " entries\n";
            for (size_t i = 0; i < entries.size(); ++i) out << "  " << i << "  \"" << entries[i] << "\"\n";
            continue;
        }
        out << "file " << name << ": " << bytes.size() << " bytes\n";
    }
    return 0;
}

int writeItem(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Archive archive;
    if (!openArchive(args[1], archive, err)) return 1;
    size_t used = 0;
    long item = -1;
    try {
        item = std::stol(args[3], &used);
    } catch (...) {
    }
    if (used != args[3].size() || item < 0) {
        err << "barpack: " << args[3] << ": not an item number\n";
        return 2;
    }
    std::vector<PackItemView> items;
    std::string error;
    if (!readPack(lookupIn(archive), args[2], archive.separator, items, error)) {
        err << "barpack: " << args[1] << ": " << error << '\n';
        return 1;
    }
    if (static_cast<size_t>(item) >= items.size()) {
        err << "barpack: " << args[1] << ": pack \"" << args[2] << "\" has " << items.size() << " items\n";
        return 1;
    }
    std::FILE* f = std::fopen(args[4].c_str(), "wb");
    const std::string& payload = items[static_cast<size_t>(item)].payload;
    const bool written = f && std::fwrite(payload.data(), 1, payload.size(), f) == payload.size();
    if (f && std::fclose(f) != 0) f = nullptr;
    if (!written || !f) {
        err << "barpack: " << args[4] << ": cannot write\n";
        return 1;
    }
    out << args[4] << ": " << describePayload(payload) << '\n';
    return 0;
}

int pack(const std::vector<std::string>& args, std::ostream& err) {
    PackOptions options;
    for (size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--check") options.checkContent = true;
        else if (args[i] == "--built" && i + 1 < args.size()) options.builtFolder = args[++i];
        else {
            err << kUsage;
            return 2;
        }
    }
    std::string error;
    if (!packAssets(args[0], args[1], error, options)) {
        err << "barpack: " << error << '\n';
        return 1;
    }
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
    if (args.size() == 2 && args[0] == "--contents") return listContents(args[1], out, err);
    if (args.size() == 5 && args[0] == "--item") return writeItem(args, out, err);
    if (args.size() >= 2 && !args[0].starts_with("-") && !args[1].starts_with("-")) return pack(args, err);
    err << kUsage;
    return 2;
}

}  // namespace tools
