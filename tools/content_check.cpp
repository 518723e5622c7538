// The rules, one function per pack, each failing with "SOURCE: field: what is wrong". The source
// named is the file a pack item was compiled from, looked up in the pack's pack.json.
#include "tools/content_check.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstring>
#include <map>

#include "game/cgame_text_ids.h"
#include "tools/actor_sprite_uses.h"
#include "tools/constants_compiler.h"
#include "tools/file_bytes.h"
#include "tools/pack_contents.h"
#include "tools/sprite_info.h"

namespace tools {

namespace {

namespace fs = std::filesystem;

// Pool literals that name what the checker looks for.
constexpr int kTextPackPrefixLiteral = 132;
constexpr int kLanguage0Literal = 167;
constexpr int kTimesPackLiteral = 142;
constexpr int kSoundTypesLiteral = 153;
constexpr int kSoundsPackLiteral = 154;
constexpr int kBootPackLiteral = 188;
constexpr int kSubFileSeparatorLiteral = 330;
constexpr int kSpritesPackLiteral = 138;
constexpr int kInterfacePackLiteral = 139;

constexpr int kLevels = 10;
constexpr int kSounds = 17;
constexpr int kCosines = 65;

constexpr int kCreditsText = text_id::kCreditsText;

// The sprites the game draws before any actor code (the sprites pack's touch buttons, heads-up
// display and lasting sprites; the interface pack's), with the frames and animations it draws.
struct SpriteUse {
    int packLiteral;
    int item;
    const char* role;
    std::vector<int> frames;
    std::vector<int> animations;
};
const std::vector<SpriteUse>& spriteUses() {
    static const std::vector<SpriteUse> uses = {
        {kSpritesPackLiteral, 40, "the touch buttons: frames of the touch layouts and of help pages 0, 1 and 6",
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27}, {}},
        {kSpritesPackLiteral, 2,
         "the heads-up display: lives, meter, race counters, racers' markers and gauge; the special-shot icon",
         {0, 9, 16, 17, 18, 19, 20}, {3}},
        {kSpritesPackLiteral, 7, "the pick-ups: animation 1 is the energy icon, 0 to 4 are on help pages 2 and 3", {},
         {0, 1, 2, 3, 4}},
        {kSpritesPackLiteral, 16, "the race pick-ups of help pages 4 and 5", {}, {0, 1, 2}},
        {kSpritesPackLiteral, 18, "the puffball prop: idle and bursting", {}, {0, 1}},
        {kSpritesPackLiteral, 25, "the lift of help page 5", {}, {0}},
        {kSpritesPackLiteral, 33, "the lurker of help page 6", {}, {0}},
        {kInterfacePackLiteral, 0, "the first logo", {0}, {}},
        {kInterfacePackLiteral, 1,
         "the title and loading picture: its frame, the figure's run, the splash's and the menus' title", {0},
         {0, 1, 2}},
        {kInterfacePackLiteral, 3, "the title wordmark the game start loads", {0}, {0}},
        {kInterfacePackLiteral, 2,
         "the menu sprite: arrows, rows, soft keys and page arrows; the transition and the arrows' animations",
         {6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    return uses;
}

class Checker {
public:
    Checker(const std::vector<BarEntry>& entries, std::string_view constants, const std::string& constantsFile,
            const fs::path& assetsDir)
        : m_constants(constants), m_constantsFile(constantsFile), m_assets(assetsDir) {
        for (const BarEntry& e : entries) {
            if (e.sourcePath.empty()) m_entries.emplace(e.name, &e.bytes);
            else m_files.emplace(foldAsciiCase(e.name), e.sourcePath);
        }
    }

    bool run(std::string& error) {
        const bool ok = literal(kSubFileSeparatorLiteral, m_separator) && texts() && boot() && times() && sounds() && sprites() && icon();
        if (!ok) error = m_error;
        return ok;
    }

private:
    bool fail(const std::string& where, const std::string& message) {
        m_error = where + ": " + message;
        return false;
    }

    bool literal(int index, std::string& text) {
        std::string why;
        if (findConstant(m_constants, m_constantsFile, index, text, why)) return true;
        m_error = why;
        return false;
    }

    // The file pack item `item` was compiled from, as pack.json names it; else pack.json's field.
    std::string source(const std::string& pack, size_t item) const {
        const fs::path folder = m_assets / (pack + ".pack");
        const std::string field = (folder / "pack.json").string() + ": items[" + std::to_string(item) + "]";
        std::string text, why;
        if (!readFileBytes(folder / "pack.json", text, why)) return field;
        const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
        if (!json.is_object() || !json.contains("items") || !json["items"].is_array() || item >= json["items"].size())
            return field;
        for (const char* key : {"texts", "music", "synth", "nested", "file", "sprite", "font", "charMap"}) {
            const nlohmann::json& named = json["items"][item];
            if (named.is_object() && named.contains(key) && named[key].is_string())
                return (folder / named[key].get<std::string>()).string();
        }
        return field;
    }

    EntryLookup lookup() const {
        return [this](const std::string& n) -> std::optional<std::string_view> {
            const auto it = m_entries.find(n);
            if (it == m_entries.end()) return std::nullopt;
            return std::string_view(*it->second);
        };
    }

    bool pack(int nameLiteral, std::string& name, std::vector<PackItemView>& items, const char* what) {
        if (!literal(nameLiteral, name)) return false;
        std::string why;
        if (!readPack(lookup(), name, m_separator, items, why))
            return fail((m_assets / (name + ".pack")).string(),
                        why + " (" + what + "; its name is literal " + std::to_string(nameLiteral) + ")");
        return true;
    }

    bool texts() {
        std::string prefix, code, name;
        std::vector<PackItemView> items;
        if (!literal(kTextPackPrefixLiteral, prefix) || !literal(kLanguage0Literal, code)) return false;
        name = prefix + code;
        std::vector<std::string> texts;
        if (!findPack(name, items)) return false;
        const std::string where = source(name, 0);
        if (items.empty() || !readTextPack(items[0].payload, texts))
            return fail(where, "item 0 is no text pack (the game loads its texts from it)");
        for (const text_id::Use& use : text_id::kDrawn) {
            if (use.id >= static_cast<int>(texts.size()))
                return fail(where, "text " + std::to_string(use.id) + " is missing (" + use.role + "); the pack has " +
                                       std::to_string(texts.size()) + " texts");
            if (texts[use.id].empty())
                return fail(where, "text " + std::to_string(use.id) + " is empty, but the game draws it (" + use.role + ")");
        }
        if (texts[kCreditsText].find("%s0") == std::string::npos)
            return fail(where, "text 81 has no %s0 (the credits show the edition property there)");
        return true;
    }

    // The text pack's name is prefix + code, not a literal of its own.
    bool findPack(const std::string& name, std::vector<PackItemView>& items) {
        std::string why;
        if (readPack(lookup(), name, m_separator, items, why)) return true;
        return fail((m_assets / (name + ".pack")).string(),
                    why + " (the texts of language 0: literal 132 followed by literal 167)");
    }

    bool intTable(int nameLiteral, const char* what, size_t minimum, std::vector<int32_t>& values, std::string& where) {
        std::string name;
        std::vector<PackItemView> items;
        if (!pack(nameLiteral, name, items, what)) return false;
        where = items.empty() ? (m_assets / (name + ".pack")).string() : source(name, 0);
        if (items.empty() || !readNestedInts(items[0].payload, values))
            return fail(where, std::string("item 0 is not an int array (") + what + ")");
        if (values.size() < minimum)
            return fail(where, std::to_string(values.size()) + " entries, the game reads " + std::to_string(minimum) +
                                   " (" + what + ")");
        return true;
    }

    bool boot() {
        std::vector<int32_t> cosines;
        std::string where;
        if (!intTable(kBootPackLiteral, "the cosine table", kCosines, cosines, where)) return false;
        for (int i = 0; i < kCosines; ++i) {
            const double exact = 256.0 * std::cos(i * M_PI / 128.0);
            if (std::fabs(cosines[i] - exact) > 1.0)
                return fail(where, "entry " + std::to_string(i) + " is " + std::to_string(cosines[i]) +
                                       ", the cosine of angle " + std::to_string(i) + " is " +
                                       std::to_string(std::lround(exact)));
        }
        return true;
    }

    bool times() {
        std::vector<int32_t> seconds;
        std::string where;
        if (!intTable(kTimesPackLiteral, "the levels' reference times", kLevels, seconds, where)) return false;
        for (int level = 0; level < kLevels; ++level)
            if (seconds[level] < 1)
                return fail(where, "entry " + std::to_string(level) + " is " + std::to_string(seconds[level]) +
                                       " s; a reference time is a positive number of seconds");
        return true;
    }

    bool sounds() {
        std::string typesName;
        if (!literal(kSoundTypesLiteral, typesName)) return false;
        const std::string typesFile = (m_assets / (typesName + ".arrays.txt")).string();
        const auto types = m_entries.find(typesName);
        std::vector<std::string> contentTypes;
        std::string why;
        if (types == m_entries.end()) return fail(typesFile, "missing (the sound content types, literal 153)");
        if (!readByteArrayPack(*types->second, contentTypes, why)) return fail(typesFile, why);

        std::string name;
        std::vector<PackItemView> items;
        if (!pack(kSoundsPackLiteral, name, items, "the sounds")) return false;
        const std::string packFile = (m_assets / (name + ".pack") / "pack.json").string();
        if (items.size() > kSounds)
            return fail(packFile, "items[" + std::to_string(kSounds) + "]: sound ids are 0 to 16; the game never loads it");
        if (items.size() < kSounds)
            return fail(packFile, "sound " + std::to_string(items.size()) + " is missing (the game loads sounds 0 to 16)");
        static const std::map<std::string, const char*> kMagic = {
            {"audio/x-wav", "RIFF"}, {"audio/ogg", "OggS"}, {"audio/midi", "MThd"}};
        for (size_t i = 0; i < items.size(); ++i) {
            const PackItemView& item = items[i];
            const std::string field = source(name, i);
            if (item.empty) return fail(field, "sound " + std::to_string(i) + " is empty");
            if (item.kind >= static_cast<int>(contentTypes.size()))
                return fail(field, "kind " + std::to_string(item.kind) + " names no content type (" + typesFile +
                                       " has " + std::to_string(contentTypes.size()) + ")");
            const auto magic = kMagic.find(contentTypes[item.kind]);
            if (magic == kMagic.end())
                return fail(field, "kind " + std::to_string(item.kind) + " is \"" + contentTypes[item.kind] +
                                       "\", which no player of the game plays");
            if (item.payload.size() < 4 || std::memcmp(item.payload.data(), magic->second, 4) != 0)
                return fail(field, "kind " + std::to_string(item.kind) + " says " + contentTypes[item.kind] +
                                       ", but the data is not of that type");
        }
        return true;
    }

    // Every frame the code draws has something to draw, every animation it plays has frames.
    bool sprites() {
        for (const int packLiteral : {kSpritesPackLiteral, kInterfacePackLiteral}) {
            std::string name;
            std::vector<PackItemView> items;
            if (!pack(packLiteral, name, items, packLiteral == kSpritesPackLiteral ? "the game's sprites by sprite number"
                                                                                   : "the interface sprites"))
                return false;
            for (const SpriteUse& use : spriteUses())
                if (use.packLiteral == packLiteral && !sprite(name, items, use)) return false;
            if (packLiteral != kSpritesPackLiteral) continue;
            for (const ActorSpriteUse& use : actorSpriteUses())
                if (!actorSprite(name, items, use)) return false;
        }
        return true;
    }

    // The counts of sprite `item`, failing with the pack's or the source's field when it is not there.
    bool counted(const std::string& name, const std::vector<PackItemView>& items, int item, const std::string& role,
                 SpriteCounts& counts) {
        const size_t i = static_cast<size_t>(item);
        if (i >= items.size() || items[i].empty)
            return fail((m_assets / (name + ".pack") / "pack.json").string(),
                        "items[" + std::to_string(item) + "]: sprite " + std::to_string(item) + " is missing" + role);
        std::string notSprite;
        if (!countSprite(items[i].payload, counts, notSprite) || counts.bytesRead != items[i].payload.size())
            return fail(source(name, i), "not a whole sprite" + role);
        return true;
    }

    bool actorSprite(const std::string& name, const std::vector<PackItemView>& items, const ActorSpriteUse& use) {
        const std::string role = std::string(" (") + use.role + ")";
        SpriteCounts counts;
        if (!counted(name, items, use.slot, role, counts)) return false;
        const std::string field = source(name, static_cast<size_t>(use.slot));
        for (const ActorAnimationUse& a : use.animations) {
            const std::string anim = "animations[" + std::to_string(a.animation) + "]";
            const size_t ai = static_cast<size_t>(a.animation);
            if (ai >= counts.animationFrames.size())
                return fail(field, anim + " is missing; the sprite has " + std::to_string(counts.animationFrames.size()) +
                                       " animations" + role);
            const std::vector<int>& shown = counts.animationFrameOf[ai];
            if (static_cast<int>(shown.size()) < a.minFrames)
                return fail(field, anim + " has " + std::to_string(shown.size()) + " frames, the code needs " +
                                       std::to_string(a.minFrames) + role);
            if (a.maxFrames > 0 && static_cast<int>(shown.size()) > a.maxFrames)
                return fail(field, anim + " has " + std::to_string(shown.size()) + " frames, the code copes with " +
                                       std::to_string(a.maxFrames) + role);
            if (a.boxes == 0) continue;
            auto hasBoxes = [&](size_t k) {
                const int f = shown[k];
                return f >= 0 && static_cast<size_t>(f) < counts.frameBoxes.size() && counts.frameBoxes[f] >= a.boxes;
            };
            const std::string need = " frame box" + std::string(a.boxes > 1 ? "es 0 to " + std::to_string(a.boxes - 1) : " 0");
            if (a.boxFrame >= 0) {
                const size_t k = static_cast<size_t>(a.boxFrame);
                if (k >= shown.size() || !hasBoxes(k))
                    return fail(field, anim + " frame " + std::to_string(a.boxFrame) + " lacks" + need + role);
            } else {
                size_t with = 0;
                for (size_t k = 0; k < shown.size(); ++k) with += hasBoxes(k);
                if (a.boxFrame == ActorAnimationUse::kEveryFrame && with < shown.size())
                    return fail(field, anim + ": a frame lacks" + need + role);
                if (with == 0) return fail(field, anim + ": no frame has" + need + role);
            }
        }
        return true;
    }

    bool sprite(const std::string& name, const std::vector<PackItemView>& items, const SpriteUse& use) {
        const size_t item = static_cast<size_t>(use.item);
        const std::string role = std::string(" (") + use.role + ")";
        SpriteCounts counts;
        if (!counted(name, items, use.item, role, counts)) return false;
        const std::string field = source(name, item);
        for (const int frame : use.frames) {
            const size_t f = static_cast<size_t>(frame);
            if (f >= counts.frameModules.size())
                return fail(field, "frames[" + std::to_string(frame) + "] is missing; the sprite has " +
                                       std::to_string(counts.frameModules.size()) + " frames" + role);
            if (counts.frameModules[f] < 1) return fail(field, "frames[" + std::to_string(frame) + "] draws nothing" + role);
        }
        for (const int anim : use.animations) {
            const size_t a = static_cast<size_t>(anim);
            if (a >= counts.animationFrames.size())
                return fail(field, "animations[" + std::to_string(anim) + "] is missing; the sprite has " +
                                       std::to_string(counts.animationFrames.size()) + " animations" + role);
            if (counts.animationFrames[a] < 1)
                return fail(field, "animations[" + std::to_string(anim) + "] has no frames" + role);
        }
        return true;
    }

    // The icon app.jad's MIDlet-1 line names ("NAME, /ICON, CLASS") is a PNG in the data file.
    bool icon() {
        const std::string where = (m_assets / "app.jad").string();
        const auto jad = m_entries.find("app.jad");
        if (jad == m_entries.end()) return fail(where, "missing");
        const std::string& text = *jad->second;
        const size_t line = text.find("MIDlet-1:");
        if (line == std::string::npos) return fail(where, "no MIDlet-1 line (the MIDlet's name, icon and class)");
        const std::string value = text.substr(line, text.find('\n', line) - line);
        const size_t first = value.find(','), second = value.find(',', first + 1);
        if (first == std::string::npos || second == std::string::npos)
            return fail(where, "MIDlet-1 is not NAME, ICON, CLASS");
        std::string path = value.substr(first + 1, second - first - 1);
        path.erase(0, path.find_first_not_of(' '));
        path.erase(path.find_last_not_of(" \r") + 1);
        const std::string name = path.starts_with('/') ? path.substr(1) : path;
        const auto file = m_files.find(foldAsciiCase(name));
        std::string bytes, why;
        if (file == m_files.end() || !readFileBytes(file->second, bytes, why))
            return fail(where, "MIDlet-1 names the icon " + path + ", which the data file lacks");
        if (!bytes.starts_with("\x89PNG\r\n\x1a\n")) return fail(file->second.string(), "the icon is no PNG");
        return true;
    }

    std::string_view m_constants;
    std::string m_constantsFile;
    std::map<std::string, fs::path> m_files;   // entries copied from files, by folded name
    fs::path m_assets;
    std::map<std::string, const std::string*> m_entries;
    std::string m_separator;
    std::string m_error;
};

}  // namespace

bool checkGameContent(const std::vector<BarEntry>& entries, std::string_view constantsText,
                      const std::string& constantsFile, const fs::path& assetsDir, std::string& error) {
    return Checker(entries, constantsText, constantsFile, assetsDir).run(error);
}

}  // namespace tools
