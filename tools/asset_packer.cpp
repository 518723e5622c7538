// The folder walk. File contents other than the two special files are not read here; the writer
// copies them, so memory use does not grow with the assets.
#include "tools/asset_packer.h"

#include <algorithm>
#include <cstdint>
#include <system_error>

#include "sprites/cgame_packs.h"
#include "tools/constants_compiler.h"
#include "tools/content_check.h"
#include "tools/file_bytes.h"
#include "tools/jad_check.h"
#include "tools/pack_source.h"
#include "tools/promo_source.h"
#include "tools/text_pack_compiler.h"

namespace tools {

namespace fs = std::filesystem;

bool endsWith(const std::string& name, std::string_view suffix) {
    return name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

constexpr std::string_view kPackFolder = ".pack";
constexpr std::string_view kByteArrayPack = ".arrays.txt";
constexpr std::string_view kPromoFolder = ".igp";

bool collectAssets(const fs::path& assetsDir, std::vector<BarEntry>& entries, std::string& error,
                   const PackOptions& options) {
    std::error_code ec;
    if (!fs::is_directory(assetsDir, ec)) {
        error = assetsDir.string() + ": not a folder";
        return false;
    }
    std::vector<BarEntry> result;
    bool haveConstants = false;
    bool haveDescriptor = false;
    std::string constantsText;
    fs::path constantsPath;
    std::vector<std::pair<fs::path, std::string>> packFolders;  // compiled once the separator is known
    fs::recursive_directory_iterator it(assetsDir, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const fs::directory_entry& item = *it;
        const fs::path& path = item.path();
        if (item.is_directory(ec)) {
            if (item.is_symlink(ec)) {
                error = path.string() + ": links to folders are not followed; copy the folder instead";
                return false;
            }
            std::string name = path.lexically_relative(assetsDir).generic_string();
            if (endsWith(name, kPackFolder)) {
                name.resize(name.size() - kPackFolder.size());
                packFolders.emplace_back(path, std::move(name));
                it.disable_recursion_pending();
            } else if (endsWith(name, kPromoFolder)) {
                name.resize(name.size() - kPromoFolder.size());
                std::string resource;
                if (!compilePromoFolder(path, resource, error)) return false;
                result.push_back(BarEntry::fromBytes(std::move(name), std::move(resource)));
                it.disable_recursion_pending();
            }
            continue;
        }
        if (!item.is_regular_file(ec)) {
            error = path.string() + ": not a regular file";
            return false;
        }
        std::string name = path.lexically_relative(assetsDir).generic_string();
        const bool topLevel = name.find('/') == std::string::npos;

        if (topLevel && foldAsciiCase(name) == "constants.txt") {
            std::string bin;
            if (!readFileBytes(path, constantsText, error) || !compileConstants(constantsText, path.string(), bin, error))
                return false;
            result.push_back(BarEntry::fromBytes("constants.bin", std::move(bin)));
            constantsPath = path;
            haveConstants = true;
        } else if (topLevel && foldAsciiCase(name) == "app.jad") {
            std::string text, latin1;
            if (!readFileBytes(path, text, error) || !checkAppDescriptor(text, path.string(), latin1, error)) return false;
            result.push_back(BarEntry::fromBytes(std::move(name), std::move(latin1)));
            haveDescriptor = true;
        } else if (endsWith(name, kByteArrayPack)) {
            std::string text, bytes;
            if (!readFileBytes(path, text, error) || !compileByteArrayPack(text, path.string(), bytes, error)) return false;
            name.resize(name.size() - kByteArrayPack.size());
            result.push_back(BarEntry::fromBytes(std::move(name), std::move(bytes)));
        } else {
            const std::uintmax_t size = item.file_size(ec);
            if (ec) break;
            result.push_back(BarEntry::fromFile(std::move(name), path, size));
        }
    }
    if (ec) {
        error = assetsDir.string() + ": cannot read the folder: " + ec.message();
        return false;
    }
    if (!haveConstants) {
        error = (assetsDir / "constants.txt").string() + ": missing (the runtime loads its literals from it)";
        return false;
    }
    if (!haveDescriptor) {
        error = (assetsDir / "app.jad").string() + ": missing (the MIDlet reads its properties from it)";
        return false;
    }
    if (!packFolders.empty()) {
        std::string separator;
        if (!findConstant(constantsText, constantsPath.string(), cGamePacks::kSubFileSeparatorLiteral, separator,
                          error)) {
            error += " (the packs' sub-file separator)";
            return false;
        }
        for (const auto& [folder, packName] : packFolders)
            if (!compilePackFolder(folder, packName, separator, options.builtFolder, result, error)) return false;
    }
    if (options.checkContent && !checkGameContent(result, constantsText, constantsPath.string(), assetsDir, error))
        return false;
    entries = std::move(result);
    return true;
}

bool packAssets(const fs::path& assetsDir, const fs::path& out, std::string& error, const PackOptions& options) {
    std::vector<BarEntry> entries;
    if (!collectAssets(assetsDir, entries, error, options)) return false;
    std::string index;
    if (!layOutArchive(entries, index, error)) {
        error = assetsDir.string() + ": " + error;
        return false;
    }
    return writeLaidOutArchive(out, entries, index, error);
}

}  // namespace tools
