// Reads pack.json, turns each item into its payload, and hands them to the pack writer. Errors read
// "FOLDER/pack.json: items[i]: ...".
#include "tools/pack_source.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <iterator>

#include "tools/file_bytes.h"
#include "tools/level_source.h"
#include "tools/music_compiler.h"
#include "tools/nested_array_compiler.h"
#include "tools/pack_writer.h"
#include "tools/sfx_synth.h"
#include "tools/sprite_font.h"
#include "tools/sprite_source.h"
#include "tools/sprite_writer.h"
#include "tools/text_pack_compiler.h"

namespace tools {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

bool parseJson(const std::string& text, const fs::path& file, json& out, std::string& error) {
    out = json::parse(text, nullptr, false);
    if (out.is_discarded()) {
        error = file.string() + ": not valid JSON";
        return false;
    }
    return true;
}

// A file named by pack.json: relative, inside the folder.
bool namedPath(const fs::path& folder, const json& name, const std::string& where, fs::path& path,
               std::string& error) {
    if (!name.is_string()) {
        error = where + ": a file name is a string";
        return false;
    }
    const fs::path relative = fs::path(name.get<std::string>()).lexically_normal();
    if (relative.empty() || relative.is_absolute() || *relative.begin() == "..") {
        error = where + ": \"" + name.get<std::string>() + "\" is not a path inside the pack's folder";
        return false;
    }
    path = folder / relative;
    return true;
}

bool readNamedFile(const fs::path& folder, const json& name, const std::string& where, std::string& bytes,
                   std::string& error) {
    fs::path path;
    return namedPath(folder, name, where, path, error) && readFileBytes(path, bytes, error);
}

constexpr const char* kContentKeys[] = {"file",   "nested", "texts",   "music", "synth",   "built",
                                        "sprite", "font",   "charMap", "level", "geometry", "empty"};

bool readItem(const fs::path& folder, const fs::path& builtFolder, const json& source, const std::string& where,
              PackItem& item, std::string& error) {
    const auto fail = [&](const std::string& message) {
        error = where + ": " + message;
        return false;
    };
    if (!source.is_object()) return fail("an item is an object");
    int contents = 0;
    for (const auto& [key, value] : source.items()) {
        (void)value;
        if (std::find(std::begin(kContentKeys), std::end(kContentKeys), key) != std::end(kContentKeys)) ++contents;
        else if (key != "kind" && key != "lzma" && key != "part") return fail("unknown key \"" + key + "\"");
    }
    if (contents != 1)
        return fail("exactly one of \"file\", \"nested\", \"texts\", \"music\", \"synth\", \"built\", \"sprite\", \"font\", \"charMap\", \"level\", \"geometry\", \"empty\" is needed");
    if (source.contains("part") != source.contains("level")) return fail("\"part\" goes with \"level\" and only there");
    if (source.contains("empty")) {
        if (source["empty"] != true) return fail("\"empty\" is true or absent");
        if (source.contains("kind") || source.contains("lzma")) return fail("an empty item has no kind and no LZMA");
        item.empty = true;
        return true;
    }
    if (source.contains("kind")) {
        const json& kind = source["kind"];
        if (!kind.is_number_integer() || kind.get<int64_t>() < 0 || kind.get<int64_t>() > 126)
            return fail("\"kind\" is an integer from 0 to 126");
        item.kind = kind.get<int>();
    }
    if (source.contains("lzma")) {
        if (!source["lzma"].is_boolean()) return fail("\"lzma\" is true or false");
        item.lzma = source["lzma"].get<bool>();
    }
    if (source.contains("file")) return readNamedFile(folder, source["file"], where + ".file", item.data, error);
    if (source.contains("sprite")) {
        fs::path path;
        return namedPath(folder, source["sprite"], where + ".sprite", path, error) &&
               compileSpriteFile(path, item.data, error);
    }
    if (source.contains("font")) {
        fs::path path;
        SpriteDefinition font;
        return namedPath(folder, source["font"], where + ".font", path, error) && renderSpriteFont(path, font, error) &&
               writeSprite(font, path.string(), item.data, error);
    }
    if (source.contains("charMap")) {
        fs::path path;
        return namedPath(folder, source["charMap"], where + ".charMap", path, error) &&
               compileCharMap(path, item.data, error);
    }
    if (source.contains("built")) {
        if (builtFolder.empty()) return fail("\"built\" items are made by the build; pack with its build folder");
        if (!readNamedFile(builtFolder, source["built"], where + ".built", item.data, error)) {
            error += " (the build makes it; build the data_bar target)";
            return false;
        }
        return true;
    }
    if (source.contains("music") || source.contains("synth")) {
        const bool music = source.contains("music");
        const json& name = source[music ? "music" : "synth"];
        std::string text;
        if (!readNamedFile(folder, name, where + (music ? ".music" : ".synth"), text, error)) return false;
        const std::string file = (folder / name.get<std::string>()).string();
        if (music) return compileMusic(text, file, item.data, error);
        std::vector<int16_t> pcm;
        if (!renderSfx(text, file, pcm, error)) return false;
        item.data = waveClip(pcm, kSfxRate);
        return true;
    }
    if (source.contains("level") || source.contains("geometry")) {
        const bool geometry = source.contains("geometry");
        const json& name = source[geometry ? "geometry" : "level"];
        const json part = geometry ? json(-1) : source["part"];
        if (!part.is_number_integer() || part.get<int64_t>() < -1 || part.get<int64_t>() > 255)
            return fail("\"part\" is the item of the level pack, from 0");
        // A level source lives in its level's pack; another pack (the geometry pack gathers every
        // level's polylines) names it by that pack's folder: "level0.pack/meadow.level".
        const fs::path assets = folder.parent_path();
        const std::string named = name.is_string() ? name.get<std::string>() : std::string();
        const std::size_t slash = named.find('/');
        const bool inOtherPack = slash != std::string::npos && named.substr(0, slash).ends_with(".pack");
        fs::path path;
        return namedPath(inOtherPack ? assets : folder, name, where + (geometry ? ".geometry" : ".level"), path,
                         error) &&
               compileLevelFile(path, part.get<int>(), assets, item.data, error);
    }
    if (source.contains("texts")) {
        std::string text;
        if (!readNamedFile(folder, source["texts"], where + ".texts", text, error)) return false;
        return compileTextPack(text, (folder / source["texts"].get<std::string>()).string(), item.data, error);
    }
    const json& nested = source["nested"];
    if (!nested.is_string()) return compileNestedArray(nested, where + ".nested", item.data, error);
    std::string text;
    json node;
    if (!readNamedFile(folder, nested, where + ".nested", text, error)) return false;
    const fs::path file = folder / nested.get<std::string>();
    return parseJson(text, file, node, error) && compileNestedArray(node, file.string(), item.data, error);
}

}  // namespace

bool compilePackFolder(const fs::path& folder, const std::string& packName, const std::string& separator,
                       const fs::path& builtFolder, std::vector<BarEntry>& entries, std::string& error) {
    const fs::path sourceFile = folder / "pack.json";
    const std::string where = sourceFile.string();
    std::string text;
    json source;
    if (!readFileBytes(sourceFile, text, error) || !parseJson(text, sourceFile, source, error)) return false;
    if (!source.is_object() || !source.contains("items") || !source["items"].is_array()) {
        error = where + ": needs \"items\", a list";
        return false;
    }
    for (const auto& [key, value] : source.items()) {
        (void)value;
        if (key != "items" && key != "subFiles") {
            error = where + ": unknown key \"" + key + "\"";
            return false;
        }
    }
    std::vector<int> firstItems{0};
    if (source.contains("subFiles")) {
        const json& list = source["subFiles"];
        firstItems.clear();
        for (const json& f : list.is_array() ? list : json::array({nullptr})) {
            if (!f.is_number_integer() || f.get<int64_t>() < 0 || f.get<int64_t>() > 0xFFFF) {
                error = where + ": \"subFiles\" is a list of item indices";
                return false;
            }
            firstItems.push_back(f.get<int>());
        }
    }
    std::vector<PackItem> items;
    const fs::path packBuilt = builtFolder.empty() ? fs::path() : builtFolder / (packName + ".pack");
    const json& list = source["items"];
    for (std::size_t i = 0; i < list.size(); ++i) {
        PackItem item;
        if (!readItem(folder, packBuilt, list[i], where + ": items[" + std::to_string(i) + "]", item, error)) return false;
        items.push_back(std::move(item));
    }
    std::vector<std::string> subFiles;
    if (!writePack(items, firstItems, subFiles, error)) {
        error = where + ": " + error;
        return false;
    }
    for (std::size_t k = 0; k < subFiles.size(); ++k) {
        std::string name = k == 0 ? packName : packName + separator + std::to_string(k);
        entries.push_back(BarEntry::fromBytes(std::move(name), std::move(subFiles[k])));
    }
    return true;
}

}  // namespace tools
