// What a level's checks need from the rest of the assets, read from their sources: the tiles of
// each tile set and the animations of the sprite each actor type is drawn with.
#include <nlohmann/json.hpp>

#include "actors/z.h"
#include "tools/file_bytes.h"
#include "tools/level_source.h"

namespace tools {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

bool readJson(const fs::path& file, json& out, std::string& error) {
    std::string text;
    if (!readFileBytes(file, text, error)) return false;
    out = json::parse(text, nullptr, false);
    if (out.is_discarded()) {
        error = file.string() + ": not JSON";
        return false;
    }
    return true;
}

// The sprite sources of a pack by item ("sprite" items only; other items stay empty). False when
// the pack has no source.
bool packSprites(const fs::path& folder, std::vector<json>& sprites, std::string& error) {
    json pack;
    if (!fs::exists(folder / "pack.json") || !readJson(folder / "pack.json", pack, error)) return false;
    if (!pack.contains("items") || !pack["items"].is_array()) return false;
    for (const json& item : pack["items"]) {
        json sprite;
        if (item.is_object() && item.contains("sprite") && item["sprite"].is_string() &&
            !readJson(folder / item["sprite"].get<std::string>(), sprite, error))
            return false;
        sprites.push_back(std::move(sprite));
    }
    return true;
}

int countOf(const json& sprite, const char* key) {
    const bool listed = sprite.is_object() && sprite.contains(key) && sprite[key].is_array();
    return listed ? static_cast<int>(sprite[key].size()) : 0;
}

}  // namespace

bool readLevelContent(const fs::path& assets, LevelContent& content, std::string& error) {
    content = LevelContent{};
    std::vector<json> sprites;
    error.clear();
    if (packSprites(assets / "tiles.pack", sprites, error)) {
        for (std::size_t item = 0; item < sprites.size(); ++item)
            if (!sprites[item].is_null()) content.tileCounts[static_cast<int>(item)] = countOf(sprites[item], "frames");
    }
    if (!error.empty()) return false;
    sprites.clear();
    if (packSprites(assets / "sprites.pack", sprites, error)) {
        for (std::size_t slot = 0; slot < sprites.size(); ++slot)
            if (!sprites[slot].is_null())
                content.slotAnimations[static_cast<int>(slot)] = countOf(sprites[slot], "animations");
        for (int type = 0; type < Z::kTypeSpriteCount; ++type) {
            const int slot = Z::kTypeSprites[type];
            if (slot >= 0 && slot < static_cast<int>(sprites.size()) && !sprites[slot].is_null())
                content.typeAnimations[type] = countOf(sprites[slot], "animations");
        }
    }
    return error.empty();
}

}  // namespace tools
