// A level written by a person (docs/level_source.md) and what it compiles to: the level pack's
// items (actor records, trigger scripts, three items per tile layer) and the level's item of the
// geometry pack. Reading, checking and compiling are separate steps so that every rule the game
// relies on is refused here, naming the file, the line and the field.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tools {

struct LevelProblem {
    std::string file;
    int line = 0;
    std::string field;
    std::string message;
};

// "FILE:LINE: field FIELD: MESSAGE".
std::string describe(const LevelProblem& problem);

struct LevelTileLayer {
    int line = 0;
    int layer = 0;    // 0, 2, 3 or 4
    int tileSet = 0;  // item of the tile sprite in the level sprite pack
    int width = 0;
    int height = 0;
    std::vector<uint16_t> tiles;  // row-major, 0xFFFF empty
    std::vector<uint8_t> cellFlags;
    std::vector<int> rowLines;  // source line of each row
};

struct LevelPolyline {
    int line = 0;
    uint32_t flags = 0;
    std::vector<std::pair<int, int>> points;
};

struct LevelActor {
    int line = 0;
    int type = 0;
    std::vector<int> values;      // record values [0..n-1]; [0] type, [1] id ...
    std::vector<bool> given;      // whether the source set value i
};

struct LevelAction {
    int line = 0;
    int code = 0;
    std::vector<int> args;  // 16-bit values, or one 32-bit mask for flag codes, or a byte for anim
};

struct LevelEntry {
    int line = 0;
    int frame = 0;
    std::vector<LevelAction> actions;
};

struct LevelCommand {
    int line = 0;
    int opcode = 0;   // 1 camera, 2 actor, 3 spawned actor, 4 no subject
    int subject = 0;  // actor id (2) or sprite slot (3)
    std::vector<LevelEntry> entries;
};

struct LevelTrigger {
    int line = 0;
    int id = 0;
    std::vector<LevelCommand> commands;
};

struct LevelSource {
    std::string file;
    int levelLine = 0;
    int level = -1;
    std::vector<LevelTileLayer> layers;
    std::vector<LevelPolyline> polylines;
    std::vector<LevelActor> actors;
    std::vector<LevelTrigger> triggers;
};

// What the checks need from the rest of the content; an empty map skips that check.
struct LevelContent {
    std::map<int, int> tileCounts;      // tile set item -> number of tiles it holds
    std::map<int, int> typeAnimations;  // actor type -> animations of its sprite
    std::map<int, int> slotAnimations;  // sprite slot (a script's spawn) -> animations of that sprite
};

struct LevelItems {
    std::vector<std::string> levelPack;  // item 0 records, 1 triggers, then tiles/header/flags per layer
    std::string geometry;                // empty when the level has no geometry
    int geometryItem = -1;
};

// Parses `text`; false with the problems found (the first few are enough to fix a file).
[[nodiscard]] bool readLevelSource(std::string_view text, std::string_view fileName, LevelSource& level,
                                   std::vector<LevelProblem>& problems);

// Every rule the game relies on; true when none is broken.
[[nodiscard]] bool checkLevel(const LevelSource& level, const LevelContent& content,
                              std::vector<LevelProblem>& problems);

// The exact binary forms; only for a level that passed checkLevel.
LevelItems compileLevel(const LevelSource& level);

// The content the checks need, from the sources in `assets` (the tiles and sprites packs); a pack
// without a source leaves its map empty. False only when a source cannot be read.
[[nodiscard]] bool readLevelContent(const std::filesystem::path& assets, LevelContent& content, std::string& error);

// Reads, checks (against the content in `assets`) and compiles a level source file; `part` picks an
// item of its level pack, -1 its geometry item. Errors name the file, line and field of the first
// problem.
[[nodiscard]] bool compileLevelFile(const std::filesystem::path& path, int part, const std::filesystem::path& assets,
                                    std::string& bytes, std::string& error);

// The per-level tables the compiled level must agree with (the game's static data).
int levelGeometryItem(int level);
int levelLayerItem(int level, int layer);
bool levelIsAltPlayer(int level);

// The names of polyline flags and actor types, for the viewer and the docs.
const std::vector<std::pair<std::string, uint32_t>>& polylineFlagNames();
std::string actorTypeName(int type);
// Whether record values 6 and 7 of the type are its box's width and height (zones, switches and
// camera zones), not a starting animation.
bool actorHasBox(int type);
// The record index of the type's field `name`, -1 when the type has none of that name.
int actorFieldIndex(int type, std::string_view name);

}  // namespace tools
