#include "tools/level_source.h"

#include <algorithm>
#include <charconv>
#include <mutex>
#include <set>

#include "game/cgame_actors.h"
#include "game/cgame_level_tables.h"
#include "tools/file_bytes.h"
#include "tools/little_endian.h"

namespace tools {

namespace {

struct TypeInfo {
    int type;
    const char* name;
    // Record index 6 is the width of the actor's box (with index 7 its height), not an animation.
    bool boxed;
    // Names of the per-type values from record index 7 on. A name ending in '?' may be left out (it
    // is written as 0); the others are read by the type and must be given.
    std::vector<const char*> fields;
    std::vector<int> links;  // record indices holding ids of actors or triggers; 0 names none
};

// Fields shared by the types that react to the hero inside their record rectangle (indices 7 to 10,
// relative to the actor's position).
#define RECT_FIELDS "rect-left", "rect-top", "rect-width", "rect-height"

// Types not listed use their number ("type23") and fields "p7", "p8"..., reading 7 values.
const std::vector<TypeInfo>& typeTable() {
    static const std::vector<TypeInfo> table = {
        {1, "hero", false, {}, {}},
        {2, "platform", false, {"polyline", "box-left", "box-top", "box-width", "box-height"}, {}},
        {4, "charger", false, {RECT_FIELDS, "carries?"}, {}},
        // Kind 11 names an actor in a, kind 12 a trigger to release in a and one to start in b.
        {5, "zone", true, {"height", "kind", "a?", "b?"}, {}},
        {6, "geyser", false, {"left", "top", "inner-left", "unused", "inner-right", "bottom", "right"}, {}},
        {7, "carriage", false, {"from-x", "from-y", "to-x", "to-y"}, {}},
        {8, "grabber", false, {"range-left", "unused?", "range-width"}, {}},
        {9, "rock-giant", false, {}, {}},
        {10, "switch", true,
         {"height", "condition", "count", "watch-1?", "watch-2?", "watch-3?", "target-1?", "target-2?", "target-3?",
          "action?"},
         {10, 11, 12, 13, 14, 15}},
        {11, "camera-zone", true, {"height", "mode", "shift-x?", "shift-y?", "unused?", "clamp?"}, {}},
        {12, "pickup", false, {}, {}},
        {13, "pulse", false, {}, {}},
        {14, "racer", false, {}, {}},
        {15, "carrier", false, {}, {}},
        {18, "warp-door", false,
         {"box-left", "box-top", "box-width", "box-height", "destination", "room", "disabled", "basic-mode", "dest-x",
          "dest-y", "unused?", "exit"},
         {11, 12}},
        {19, "obstacle", false, {}, {}},
        {20, "collectable", false, {}, {}},
        {21, "rival", false, {}, {}},
        {22, "prop", false, {RECT_FIELDS}, {}},
        {23, "guarded-target", false, {"wakes", "guard"}, {7, 8}},
        {24, "hazard", false, {"extent-x", "extent-y", "kind", "interval", "pause"}, {}},
        {25, "flyer", false, {RECT_FIELDS}, {}},
        {29, "lift", false, {"travel", "mode", "partner?"}, {9}},
        {30, "gate", false, {"lever", "partner"}, {8}},
        {32, "dropping-boss", false, {}, {}},
        {35, "watcher", false, {RECT_FIELDS}, {}},
        {36, "submarine", false, {}, {}},
        {37, "spinner", false, {}, {}},
        {38, "patroller", false, {RECT_FIELDS}, {}},
        {39, "releaser", false, {"drop-1?", "drop-2?", "drop-3?", "ride?"}, {7, 8, 9, 10}},
        {40, "air-station", false, {"air"}, {}},
        {41, "lurker", false, {}, {}},
        {42, "ride", false, {"stop-x", "leave-x"}, {}},
        {43, "dropper", false, {}, {}},
        {47, "sentry", false, {RECT_FIELDS, "watch"}, {}},
        {48, "trap", false, {RECT_FIELDS}, {}},
        {49, "nest", false, {}, {}},
        {51, "night-king", false, {"companion"}, {7}},
        {52, "fountain", false, {}, {}},
        {53, "orbiter", false, {"radius", "spin", "start-angle"}, {}},
    };
    return table;
}

#undef RECT_FIELDS

const TypeInfo* findType(int type) {
    for (const TypeInfo& info : typeTable())
        if (info.type == type) return &info;
    return nullptr;
}

const char* const kHeadFields[] = {"type", "id", "x", "y", "flags", "param-flags", "anim"};

bool isBoxed(int type) {
    const TypeInfo* info = findType(type);
    return info && info->boxed;
}

std::string fieldName(int type, std::size_t index) {
    if (index == 6 && isBoxed(type)) return "width";
    if (index < 7) return kHeadFields[index];
    const TypeInfo* info = findType(type);
    if (!info || index - 7 >= info->fields.size()) return "p" + std::to_string(index);
    std::string name = info->fields[index - 7];
    if (name.back() == '?') name.pop_back();
    return name;
}

// Whether the source must give record value `index` of the type (flags and, for most types, the
// starting animation may be left out).
bool isRequired(int type, std::size_t index) {
    if (index < 4) return index > 0;
    if (index < 6) return false;
    if (index == 6) return isBoxed(type);
    const TypeInfo* info = findType(type);
    return info && index - 7 < info->fields.size() && std::string_view(info->fields[index - 7]).back() != '?';
}

int minimumValues(int type) {
    const TypeInfo* info = findType(type);
    return 7 + (info ? static_cast<int>(info->fields.size()) : 0);
}

bool isSkippedType(int type) { return cGameActors::isSkippedLevelType(type); }

constexpr int kActorTableCapacity = cGameActors::kActorTableSize;  // level actors and platforms
constexpr int kMaxTriggers = 127;         // the item's count is a signed byte
// A checkpoint (kept in the game's 20,493-byte save buffer) takes 13 bytes, one per trigger, 22 of
// hero and camera and at most 20 per actor or platform: these two caps keep every level's inside it.
static_assert(13 + kMaxTriggers + 22 + kActorTableCapacity * 20 <= 20493);
constexpr int kTileSize = 40;
constexpr int kPickupKinds = 5;  // a life, energy, full energy, the gun meter, a special shot
constexpr int kMaxPolylinePoints = 33;

class Reader {
public:
    Reader(std::string_view fileName, LevelSource& level, std::vector<LevelProblem>& problems)
        : file_(fileName), level_(level), problems_(problems) {}

    void fail(int line, const std::string& field, const std::string& message) {
        problems_.push_back({file_, line, field, message});
    }

    static std::vector<std::string_view> split(std::string_view s, std::string_view separators) {
        std::vector<std::string_view> out;
        std::size_t i = 0;
        while (i < s.size()) {
            while (i < s.size() && separators.find(s[i]) != std::string_view::npos) ++i;
            std::size_t j = i;
            while (j < s.size() && separators.find(s[j]) == std::string_view::npos) ++j;
            if (j > i) out.push_back(s.substr(i, j - i));
            i = j;
        }
        return out;
    }

    bool number(std::string_view text, int line, const std::string& field, int& value, long lo, long hi) {
        long v = 0;
        int base = 10;
        bool negative = false;
        if (!text.empty() && text[0] == '-') {
            negative = true;
            text.remove_prefix(1);
        }
        if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
            base = 16;
            text.remove_prefix(2);
        }
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, base);
        if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
            fail(line, field, "not a number");
            return false;
        }
        if (negative) v = -v;
        if (v < lo || v > hi) {
            fail(line, field, "out of range " + std::to_string(lo) + ".." + std::to_string(hi));
            return false;
        }
        value = static_cast<int>(v);
        return true;
    }

    bool point(std::string_view text, int line, const std::string& field, int& x, int& y) {
        const std::size_t comma = text.find(',');
        if (comma == std::string_view::npos) {
            fail(line, field, "expected X,Y");
            return false;
        }
        return number(text.substr(0, comma), line, field, x, -32768, 32767) &&
               number(text.substr(comma + 1), line, field, y, -32768, 32767);
    }

    void read(std::string_view text) {
        std::vector<std::string_view> lines;
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            std::string_view line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            const std::size_t hash = line.find('#');
            if (hash != std::string_view::npos) line = line.substr(0, hash);
            lines.push_back(line);
            start = end + 1;
        }
        std::size_t i = 0;
        while (i < lines.size()) {
            const int lineNo = static_cast<int>(i) + 1;
            const auto words = split(lines[i], " \t");
            ++i;
            if (words.empty()) continue;
            if (words[0] == "level") {
                level_.levelLine = lineNo;
                if (words.size() != 2) fail(lineNo, "level", "expected: level N");
                else number(words[1], lineNo, "level", level_.level, 0, 9);
            } else if (words[0] == "layer") {
                readLayer(words, lineNo, lines, i);
            } else if (words[0].substr(0, words[0].find(':')) == "poly") {
                readPolyline(lines[i - 1], lineNo);
            } else if (words[0] == "actor") {
                readActor(words, lineNo);
            } else if (words[0] == "trigger") {
                readTrigger(words, lineNo, lines, i);
            } else {
                fail(lineNo, std::string(words[0]), "unknown statement");
            }
        }
        if (level_.levelLine == 0) fail(1, "level", "the level number is missing");
    }

private:
    static bool isEnd(std::string_view line) {
        const auto words = split(line, " \t");
        return words.size() == 1 && words[0] == "end";
    }

    void readLayer(const std::vector<std::string_view>& words, int lineNo,
                   const std::vector<std::string_view>& lines, std::size_t& i) {
        LevelTileLayer layer;
        layer.line = lineNo;
        if (words.size() != 4 || words[2] != "tileset") {
            fail(lineNo, "layer", "expected: layer N tileset ITEM");
        } else {
            number(words[1], lineNo, "layer", layer.layer, 0, 4);
            number(words[3], lineNo, "tileset", layer.tileSet, 0, 127);
        }
        bool ended = false;
        while (i < lines.size()) {
            const int rowLine = static_cast<int>(i) + 1;
            std::string_view row = lines[i++];
            if (isEnd(row)) {
                ended = true;
                break;
            }
            const auto cells = split(row, " \t");
            if (cells.empty()) continue;
            if (layer.width == 0) layer.width = static_cast<int>(cells.size());
            if (static_cast<int>(cells.size()) != layer.width) {
                fail(rowLine, "row", "has " + std::to_string(cells.size()) + " cells, the first row " +
                                         std::to_string(layer.width));
                continue;
            }
            for (std::string_view cell : cells) readCell(cell, rowLine, layer);
            layer.rowLines.push_back(rowLine);
            ++layer.height;
        }
        if (!ended) fail(lineNo, "layer", "no end line");
        if (layer.height == 0) fail(lineNo, "layer", "no rows");
        level_.layers.push_back(std::move(layer));
    }

    void readCell(std::string_view cell, int line, LevelTileLayer& layer) {
        if (cell == ".") {
            layer.tiles.push_back(0xFFFF);
            layer.cellFlags.push_back(0);
            return;
        }
        uint8_t flags = 0;
        while (!cell.empty() && (cell.back() == 'h' || cell.back() == 'v')) {
            flags |= cell.back() == 'h' ? 1 : 2;
            cell.remove_suffix(1);
        }
        int tile = 0;
        number(cell, line, "tile", tile, 0, 0xFFFE);
        layer.tiles.push_back(static_cast<uint16_t>(tile));
        layer.cellFlags.push_back(flags);
    }

    void readPolyline(std::string_view line, int lineNo) {
        LevelPolyline poly;
        poly.line = lineNo;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            fail(lineNo, "poly", "expected: poly FLAGS... : X,Y X,Y ...");
            return;
        }
        const auto names = split(line.substr(0, colon), " \t");
        for (std::size_t k = 1; k < names.size(); ++k) {
            const auto& table = polylineFlagNames();
            auto it = std::find_if(table.begin(), table.end(), [&](const auto& e) { return e.first == names[k]; });
            if (it == table.end()) fail(lineNo, std::string(names[k]), "unknown polyline flag");
            else poly.flags |= it->second;
        }
        for (std::string_view p : split(line.substr(colon + 1), " \t")) {
            int x = 0, y = 0;
            if (point(p, lineNo, "points", x, y)) poly.points.emplace_back(x, y);
        }
        level_.polylines.push_back(std::move(poly));
    }

    int typeByName(std::string_view name, int line) {
        for (const TypeInfo& info : typeTable())
            if (name == info.name) return info.type;
        int type = 0;
        if (name.substr(0, 4) == "type" && number(name.substr(4), line, "type", type, 1, 127)) return type;
        if (name.substr(0, 4) != "type") fail(line, "type", "unknown actor type " + std::string(name));
        return 0;
    }

    void readActor(const std::vector<std::string_view>& words, int lineNo) {
        LevelActor actor;
        actor.line = lineNo;
        if (words.size() < 2) {
            fail(lineNo, "type", "expected: actor TYPE field=value ...");
            return;
        }
        actor.type = typeByName(words[1], lineNo);
        auto set = [&](std::size_t index, int value) {
            if (actor.values.size() <= index) {
                actor.values.resize(index + 1, 0);
                actor.given.resize(index + 1, false);
            }
            actor.values[index] = value;
            actor.given[index] = true;
        };
        set(0, actor.type);
        for (std::size_t k = 2; k < words.size(); ++k) {
            const std::size_t eq = words[k].find('=');
            const std::string name(words[k].substr(0, eq));
            if (eq == std::string_view::npos) {
                fail(lineNo, name, "expected field=value");
                continue;
            }
            std::size_t index = 0;
            for (std::size_t j = 1; j < 64 && index == 0; ++j)
                if (fieldName(actor.type, j) == name) index = j;
            if (index == 0) {
                fail(lineNo, name, "not a field of " + actorTypeName(actor.type));
                continue;
            }
            // x and y are read unsigned, flag words sign-extended: both spellings of 16 bits are fine.
            int value = 0;
            const long lo = index == 2 || index == 3 ? 0 : -32768;
            const long hi = index == 2 || index == 3 || index == 4 || index == 5 ? 65535 : 32767;
            if (number(words[k].substr(eq + 1), lineNo, name, value, lo, hi)) set(index, value);
        }
        // Fields that may be left out are written as 0: the record always carries every value the
        // type reads.
        const std::size_t length = std::max<std::size_t>(actor.values.size(), minimumValues(actor.type));
        actor.values.resize(length, 0);
        actor.given.resize(length, false);
        level_.actors.push_back(std::move(actor));
    }

    bool readAction(std::string_view text, int line, int opcode, LevelAction& action) {
        const auto words = split(text, " \t");
        action.line = line;
        if (words.empty()) {
            fail(line, "action", "empty action");
            return false;
        }
        const std::string verb(words[0]);
        const int base = opcode == 1 ? 10 : opcode == 3 ? 40 : 20;
        auto arity = [&](std::size_t n) {
            if (words.size() == n + 1) return true;
            fail(line, verb, "takes " + std::to_string(n) + " argument(s)");
            return false;
        };
        int a = 0, b = 0;
        if (opcode == 1 && (verb == "anim" || verb == "set" || verb == "clear")) {
            fail(line, verb, "a camera has no " + verb);
            return false;
        }
        if (verb == "move" || verb == "centre") {
            if (!arity(1) || !point(words[1], line, verb, a, b)) return false;
            if (verb == "centre" && opcode != 1) {
                fail(line, verb, "only a camera command centres");
                return false;
            }
            action.code = verb == "centre" ? 12 : base + 1;
            action.args = {a, b};
        } else if (verb == "anim") {
            if (!arity(1) || !number(words[1], line, verb, a, 0, 255)) return false;
            action.code = base + 2;
            action.args = {a};
        } else if (verb == "set" || verb == "clear") {
            long mask = 0;
            if (!arity(1)) return false;
            std::string_view m = words[1];
            const int mbase = m.size() > 2 && m[0] == '0' && (m[1] == 'x' || m[1] == 'X') ? 16 : 10;
            if (mbase == 16) m.remove_prefix(2);
            auto [end, ec] = std::from_chars(m.data(), m.data() + m.size(), mask, mbase);
            if (m.empty() || ec != std::errc() || end != m.data() + m.size() || mask < 0 || mask > 0xFFFFFFFFL) {
                fail(line, verb, "not a 32-bit mask");
                return false;
            }
            action.code = base + (verb == "set" ? 3 : 4);
            action.args = {static_cast<int>(static_cast<uint32_t>(mask))};
        } else if (verb == "wake" || verb == "sleep") {
            if (!arity(1) || !number(words[1], line, verb, a, 1, 32767)) return false;
            action.code = 34;
            action.args = {a, verb == "wake" ? 0 : 1};
        } else if (verb == "sound") {
            if (!arity(1) || !number(words[1], line, verb, a, 0, 17)) return false;
            action.code = 37;
            action.args = {a};
        } else {
            fail(line, verb, "unknown action");
            return false;
        }
        return true;
    }

    void readTrigger(const std::vector<std::string_view>& words, int lineNo,
                     const std::vector<std::string_view>& lines, std::size_t& i) {
        LevelTrigger trigger;
        trigger.line = lineNo;
        if (words.size() != 2) fail(lineNo, "id", "expected: trigger ID");
        else number(words[1], lineNo, "id", trigger.id, -32768, 32767);
        bool ended = false;
        while (i < lines.size()) {
            const int line = static_cast<int>(i) + 1;
            std::string_view text = lines[i++];
            if (isEnd(text)) {
                ended = true;
                break;
            }
            const auto head = split(text, " \t");
            if (head.empty()) continue;
            if (head[0] == "camera" || head[0] == "actor" || head[0] == "spawn" || head[0] == "other") {
                LevelCommand command;
                command.line = line;
                command.opcode = head[0] == "camera" ? 1 : head[0] == "actor" ? 2 : head[0] == "spawn" ? 3 : 4;
                const std::size_t want = command.opcode == 2 || command.opcode == 3 ? 2 : 1;
                if (head.size() != want) fail(line, std::string(head[0]), "wrong number of arguments");
                else if (want == 2)
                    number(head[1], line, std::string(head[0]), command.subject, command.opcode == 3 ? 0 : 1,
                           command.opcode == 3 ? 63 : 32767);
                trigger.commands.push_back(std::move(command));
            } else if (head[0] == "at") {
                const std::size_t colon = text.find(':');
                if (trigger.commands.empty()) {
                    fail(line, "at", "an entry before its command");
                    continue;
                }
                if (colon == std::string_view::npos || head.size() < 2) {
                    fail(line, "at", "expected: at FRAME: action; action");
                    continue;
                }
                LevelEntry entry;
                entry.line = line;
                std::string_view frame = split(text.substr(0, colon), " \t").back();
                if (!number(frame, line, "frame", entry.frame, 0, 32767)) continue;
                for (std::string_view part : split(text.substr(colon + 1), ";")) {
                    LevelAction action;
                    if (readAction(part, line, trigger.commands.back().opcode, action))
                        entry.actions.push_back(std::move(action));
                }
                if (entry.actions.size() > 127) fail(line, "at", "more than 127 actions");
                trigger.commands.back().entries.push_back(std::move(entry));
            } else {
                fail(line, std::string(head[0]), "unknown trigger line");
            }
        }
        if (!ended) fail(lineNo, "trigger", "no end line");
        level_.triggers.push_back(std::move(trigger));
    }

    std::string file_;
    LevelSource& level_;
    std::vector<LevelProblem>& problems_;
};

}  // namespace

std::string describe(const LevelProblem& p) {
    return p.file + ":" + std::to_string(p.line) + ": field " + p.field + ": " + p.message;
}

const std::vector<std::pair<std::string, uint32_t>>& polylineFlagNames() {
    static const std::vector<std::pair<std::string, uint32_t>> names = {
        {"one-way", 16},     {"switch-on", 32},    {"switch-off", 64},    {"harmful", 128},
        {"wall-kick", 0x100}, {"hang-bar", 0x200}, {"pass-right", 0x400}, {"pass-left", 0x800},
        {"repel", 0x1000},   {"aim", 0x2000},      {"aim-alt", 0x4000},
    };
    return names;
}

bool actorHasBox(int type) { return isBoxed(type); }

int actorFieldIndex(int type, std::string_view name) {
    for (int index = 1; index < minimumValues(type); ++index)
        if (fieldName(type, static_cast<std::size_t>(index)) == name) return index;
    return -1;
}

std::string actorTypeName(int type) {
    const TypeInfo* info = findType(type);
    return info ? info->name : "type" + std::to_string(type);
}

int levelGeometryItem(int level) {
    return level >= 0 && level < level_tables::kLevelCount ? level_tables::kGeometryItems[level] : -1;
}
int levelLayerItem(int level, int layer) {
    using level_tables::kLayersPerLevel;
    return level >= 0 && level < level_tables::kLevelCount && layer >= 0 && layer < kLayersPerLevel
               ? level_tables::kLayerItems[level * kLayersPerLevel + layer]
               : -1;
}
bool levelIsAltPlayer(int level) { return level_tables::isAltPlayerLevel(level); }

bool readLevelSource(std::string_view text, std::string_view fileName, LevelSource& level,
                     std::vector<LevelProblem>& problems) {
    level = LevelSource{};
    level.file = fileName;
    const std::size_t before = problems.size();
    Reader(fileName, level, problems).read(text);
    return problems.size() == before;
}

bool checkLevel(const LevelSource& level, const LevelContent& content, std::vector<LevelProblem>& problems) {
    const std::size_t before = problems.size();
    auto fail = [&](int line, const std::string& field, const std::string& message) {
        problems.push_back({level.file, line, field, message});
    };

    // Tile layers: the ones the level's table names, with its tile sets, and tiles those sets hold.
    const LevelTileLayer* ground = nullptr;
    std::set<int> layersSeen;
    for (const LevelTileLayer& layer : level.layers) {
        if (!layersSeen.insert(layer.layer).second) fail(layer.line, "layer", "given twice");
        if (layer.layer == 3) ground = &layer;
        const int item = levelLayerItem(level.level, layer.layer);
        if (item < 0) fail(layer.line, "layer", "level " + std::to_string(level.level) + " has no layer " +
                                                    std::to_string(layer.layer));
        else if (item != layer.tileSet)
            fail(layer.line, "tileset", "level " + std::to_string(level.level) + " draws this layer with set " +
                                            std::to_string(item));
        auto count = content.tileCounts.find(layer.tileSet);
        if (count == content.tileCounts.end()) continue;
        for (std::size_t c = 0; c < layer.tiles.size(); ++c)
            if (layer.tiles[c] != 0xFFFF && layer.tiles[c] >= count->second) {
                fail(layer.rowLines[c / layer.width], "tile",
                     "tile " + std::to_string(layer.tiles[c]) + " outside set " + std::to_string(layer.tileSet) +
                         " of " + std::to_string(count->second) + " tiles");
                break;
            }
    }
    for (int k : {0, 2, 3, 4})
        if (levelLayerItem(level.level, k) >= 0 && !layersSeen.count(k))
            fail(level.levelLine, "layer", "layer " + std::to_string(k) + " is missing");

    // Polylines.
    if (levelGeometryItem(level.level) < 0 && !level.polylines.empty())
        fail(level.polylines.front().line, "poly", "level " + std::to_string(level.level) + " has no geometry");
    for (const LevelPolyline& poly : level.polylines)
        if (poly.points.size() < 2 || poly.points.size() > kMaxPolylinePoints)
            fail(poly.line, "points", std::to_string(poly.points.size()) + " points, 2 to 33 allowed");

    // Ids: actors and triggers share one space.
    std::map<int, int> idLines;
    auto claim = [&](int id, int line) {
        if (id < 1) fail(line, "id", "ids start at 1");
        else if (!idLines.emplace(id, line).second)
            fail(line, "id", "id " + std::to_string(id) + " already used on line " + std::to_string(idLines[id]));
    };
    for (const LevelActor& actor : level.actors) claim(actor.values.size() > 1 ? actor.values[1] : 0, actor.line);
    for (const LevelTrigger& trigger : level.triggers) claim(trigger.id, trigger.line);
    auto linked = [&](int id, int line, const std::string& field) {
        if (!idLines.count(id)) fail(line, field, "no actor or trigger has id " + std::to_string(id));
    };
    std::map<int, int> actorTypes;  // id -> type
    for (const LevelActor& actor : level.actors)
        if (actor.values.size() > 1) actorTypes.emplace(actor.values[1], actor.type);

    // Actors. A race is played with the racer, not the hero: the racer takes the hero's place, and
    // an exit zone is refused there (it would stop the racer short of its own finish at the top).
    const bool race = levelIsAltPlayer(level.level);
    const int figureType = race ? 14 : 1;
    const LevelActor* hero = nullptr;
    for (const LevelActor& actor : level.actors) {
        const int type = actor.type;
        if (type == figureType) hero = &actor;
        if (race && type == 1) {
            fail(actor.line, "type", "a race level is played with the racer, not the hero");
            continue;
        }
        if (type >= 58 || isSkippedType(type) || type < 1) {
            fail(actor.line, "type", actorTypeName(type) + " cannot be placed in a level");
            continue;
        }
        const int needed = minimumValues(type);
        bool complete = true;
        for (int k = 1; k < needed && complete; ++k)
            if (isRequired(type, k) && (k >= static_cast<int>(actor.given.size()) || !actor.given[k])) {
                fail(actor.line, fieldName(type, k), "missing for " + actorTypeName(type));
                complete = false;
            }
        if (!complete) continue;
        const auto& v = actor.values;
        if (const TypeInfo* info = findType(type))
            for (int k : info->links)
                if (v[k] != 0) linked(v[k], actor.line, fieldName(type, k));
        if (type == 5 && v[8] == 11 && v[9] != 0) linked(v[9], actor.line, "a");
        if (type == 5 && v[8] == 12)
            for (int k : {9, 10})
                if (v[k] != 0) linked(v[k], actor.line, fieldName(type, k));
        if (type == 7 && v[7] == v[9])
            fail(actor.line, "to-x", v[8] == v[10] ? "the path has no length" : "the path is vertical");
        if (type == 6 && v[8] == v[12]) fail(actor.line, "bottom", "equals top");
        if (type == 12 && (v[6] < 0 || v[6] >= kPickupKinds))
            fail(actor.line, "anim", "a pickup's animation is what it gives: 0 to " + std::to_string(kPickupKinds - 1));
        if (type == 39) {
            // Its drops fall and its ride starts: other actors than the hero and itself, the ride a ride.
            for (int k = 7; k <= 10; ++k) {
                if (v[k] == 0 || !idLines.count(v[k])) continue;  // a missing id is refused above
                const auto named = actorTypes.find(v[k]);
                const int namedType = named == actorTypes.end() ? 0 : named->second;
                if (k == 10 && namedType != 42) fail(actor.line, "ride", "names no ride");
                else if (namedType == 0 || namedType == 1 || v[k] == v[1])
                    fail(actor.line, fieldName(type, k), "names a trigger, the hero or the releaser itself");
            }
        }
        if (race && type == 5 && v[8] == 0) fail(actor.line, "kind", "a race ends at the top of its course, not at an exit");
        auto anims = content.typeAnimations.find(type);
        if (anims != content.typeAnimations.end() && !isBoxed(type) && v[6] >= anims->second)
            fail(actor.line, "anim", "the sprite of " + actorTypeName(type) + " has " +
                                         std::to_string(anims->second) + " animations");
    }
    const std::size_t placed = level.actors.size() + level.polylines.size();
    if (placed > kActorTableCapacity)
        fail(level.levelLine, "actor", std::to_string(placed) + " actors and platforms, the table holds " +
                                           std::to_string(kActorTableCapacity));

    // The hero (the racer on a race), inside the ground layer's pixels.
    if (!hero) {
        fail(level.levelLine, race ? "racer" : "hero", race ? "the race has no racer" : "the level has no hero");
    } else if (hero->values.size() > 3 && ground) {
        const int w = ground->width * kTileSize, h = ground->height * kTileSize;
        if (hero->values[2] >= w) fail(hero->line, "x", "the hero is right of the map (" + std::to_string(w) + ")");
        if (hero->values[3] >= h) fail(hero->line, "y", "the hero is below the map (" + std::to_string(h) + ")");
    }

    // Trigger scripts: what the loader would walk, and the animations they give actors.
    if (level.triggers.size() > static_cast<std::size_t>(kMaxTriggers))
        fail(level.triggers[kMaxTriggers].line, "trigger", "more than 127 triggers");
    for (const LevelTrigger& trigger : level.triggers) {
        if (trigger.commands.size() > 255) fail(trigger.line, "trigger", "more than 255 commands");
        for (const LevelCommand& command : trigger.commands) {
            if (command.opcode == 2) linked(command.subject, command.line, "actor");
            // The animations of the command's subject: an actor's by its type, a spawned one's by its slot.
            int animations = -1;
            std::string whose;
            if (command.opcode == 2) {
                const auto subject = actorTypes.find(command.subject);
                const auto anims = subject != actorTypes.end() ? content.typeAnimations.find(subject->second)
                                                               : content.typeAnimations.end();
                if (anims != content.typeAnimations.end())
                    animations = anims->second, whose = actorTypeName(subject->second);
            } else if (command.opcode == 3) {
                const auto anims = content.slotAnimations.find(command.subject);
                if (anims != content.slotAnimations.end())
                    animations = anims->second, whose = "slot " + std::to_string(command.subject);
            }
            for (const LevelEntry& entry : command.entries)
                for (const LevelAction& action : entry.actions) {
                    if (action.code == 34) linked(action.args[0], action.line, action.args[1] ? "sleep" : "wake");
                    if ((action.code == 22 || action.code == 42) && animations >= 0 && action.args[0] >= animations)
                        fail(action.line, "anim",
                             "the sprite of " + whose + " has " + std::to_string(animations) + " animations");
                }
        }
    }
    return problems.size() == before;
}

LevelItems compileLevel(const LevelSource& level) {
    LevelItems items;
    std::string records;
    for (const LevelActor& actor : level.actors) {
        records += static_cast<char>(actor.values.size());
        for (int v : actor.values) appendU16LE(records, static_cast<uint32_t>(v));
    }
    std::string scripts;
    scripts += static_cast<char>(level.triggers.size());
    for (const LevelTrigger& trigger : level.triggers) {
        appendU16LE(scripts, static_cast<uint32_t>(trigger.id));
        scripts += static_cast<char>(trigger.commands.size());
        appendU16LE(scripts, 0);
        for (const LevelCommand& command : trigger.commands) {
            scripts += static_cast<char>(command.opcode);
            scripts += '\0';
            if (command.opcode == 2 || command.opcode == 3) appendU16LE(scripts, static_cast<uint32_t>(command.subject));
            appendU16LE(scripts, static_cast<uint32_t>(command.entries.size()));
            for (const LevelEntry& entry : command.entries) {
                appendU16LE(scripts, static_cast<uint32_t>(entry.frame));
                scripts += static_cast<char>(entry.actions.size());
                for (const LevelAction& action : entry.actions) {
                    scripts += static_cast<char>(action.code);
                    if (action.code % 10 == 2 && action.code != 12) {
                        scripts += static_cast<char>(action.args[0]);
                    } else if (action.code % 10 == 3 || action.code % 10 == 4) {
                        if (action.code == 34) {
                            appendU16LE(scripts, static_cast<uint32_t>(action.args[0]));
                            appendU16LE(scripts, static_cast<uint32_t>(action.args[1]));
                        } else {
                            appendU32LE(scripts, static_cast<uint32_t>(action.args[0]));
                        }
                    } else {
                        for (int a : action.args) appendU16LE(scripts, static_cast<uint32_t>(a));
                    }
                }
            }
        }
    }
    items.levelPack.push_back(std::move(records));
    items.levelPack.push_back(std::move(scripts));
    // Layers in the loader's order, three items each: tiles, header, cell flags.
    for (int k : {0, 2, 3, 4}) {
        for (const LevelTileLayer& layer : level.layers) {
            if (layer.layer != k) continue;
            std::string tiles, header, flags;
            for (uint16_t t : layer.tiles) appendU16LE(tiles, t);
            appendU16LE(header, static_cast<uint32_t>(layer.width));
            appendU16LE(header, static_cast<uint32_t>(layer.height));
            flags.assign(layer.cellFlags.begin(), layer.cellFlags.end());
            items.levelPack.push_back(std::move(tiles));
            items.levelPack.push_back(std::move(header));
            items.levelPack.push_back(std::move(flags));
        }
    }
    items.geometryItem = levelGeometryItem(level.level);
    if (items.geometryItem >= 0) {
        std::string& g = items.geometry;
        appendU16LE(g, static_cast<uint32_t>(level.polylines.size()));
        appendU16LE(g, 1);  // one attribute value: the flag word
        for (const LevelPolyline& poly : level.polylines) {
            appendU16LE(g, poly.flags);
            appendU16LE(g, static_cast<uint32_t>(poly.points.size()));
            for (auto [x, y] : poly.points) {
                appendU16LE(g, static_cast<uint32_t>(x));
                appendU16LE(g, static_cast<uint32_t>(y));
            }
        }
    }
    return items;
}

namespace {

// What the level checks read of the tiles and sprites packs, as names, sizes and change times: a
// pack source compiles a level once per item, and the content is read again only when this changes.
std::string contentFingerprint(const std::filesystem::path& assets) {
    std::string print = assets.string();
    for (const char* pack : {"tiles.pack", "sprites.pack"}) {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(assets / pack, ec)) {
            std::error_code statError;
            const auto size = entry.file_size(statError);
            const auto time = entry.last_write_time(statError).time_since_epoch().count();
            print += "|" + entry.path().filename().string() + ":" + std::to_string(statError ? 0 : size) + ":" +
                     std::to_string(statError ? 0 : time);
        }
    }
    return print;
}

// The last level compiled, by its path, its text and the content it was checked against.
struct CompiledLevel {
    std::string key;
    LevelItems items;
    int number = -1;
};

}  // namespace

bool compileLevelFile(const std::filesystem::path& path, int part, const std::filesystem::path& assets,
                      std::string& bytes, std::string& error) {
    std::string text;
    if (!readFileBytes(path, text, error)) return false;
    static std::mutex lock;
    static CompiledLevel last;
    const std::string key = path.string() + '\n' + contentFingerprint(assets) + '\n' + text;
    LevelItems items;
    int number = -1;
    {
        std::lock_guard guard(lock);
        if (last.key == key) {
            items = last.items;
            number = last.number;
        }
    }
    if (items.levelPack.empty()) {
        LevelContent content;
        if (!readLevelContent(assets, content, error)) return false;
        LevelSource level;
        std::vector<LevelProblem> problems;
        if (!readLevelSource(text, path.string(), level, problems) || !checkLevel(level, content, problems)) {
            error = describe(problems.front());
            return false;
        }
        items = compileLevel(level);
        number = level.level;
        std::lock_guard guard(lock);
        last = CompiledLevel{key, items, number};
    }
    if (part < 0) {
        if (items.geometryItem < 0) {
            error = path.string() + ": level " + std::to_string(number) + " has no geometry item";
            return false;
        }
        bytes = items.geometry;
        return true;
    }
    if (static_cast<std::size_t>(part) >= items.levelPack.size()) {
        error = path.string() + ": the level pack has " + std::to_string(items.levelPack.size()) + " items";
        return false;
    }
    bytes = items.levelPack[part];
    return true;
}

}  // namespace tools
