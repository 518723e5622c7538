#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tools/level_source.h"

namespace {

// Level 2: layers 0 (set 4), 2 and 3 (set 3); geometry item 1.
const std::string kGood =
    "level 2\n"                                        // 1
    "layer 0 tileset 4\n"                              // 2
    "  0 1\n"                                          // 3
    "end\n"                                            // 4
    "layer 2 tileset 3\n"                              // 5
    "  . . . .\n"                                      // 6
    "  . . 5 .\n"                                      // 7
    "end\n"                                            // 8
    "layer 3 tileset 3\n"                              // 9
    "  . . . .\n"                                      // 10
    "  1 2h 2v 3hv\n"                                  // 11
    "end\n"                                            // 12
    "poly one-way harmful: 0,70 80,70 159,60\n"        // 13
    "actor hero id=1 x=20 y=60 anim=0\n"               // 14
    "actor carriage id=2 x=40 y=40 from-x=0 from-y=0 to-x=60 to-y=10\n"  // 15
    "actor geyser id=3 x=90 y=70 left=-10 top=-40 inner-left=-4 unused=0 inner-right=4 bottom=0 right=10\n"  // 16
    "actor gate id=4 x=100 y=50 lever=1 partner=2\n"   // 17
    "trigger 9\n"                                      // 18
    "  camera\n"                                       // 19
    "    at 0: move 100,40\n"                          // 20
    "  actor 2\n"                                      // 21
    "    at 0: anim 3; set 0x800000\n"                 // 22
    "    at 20: move 120,30; wake 4\n"                 // 23
    "  other\n"                                        // 24
    "    at 3: sound 9\n"                              // 25
    "end\n";                                           // 26

std::string replaceLine(const std::string& text, int line, const std::string& with) {
    std::string out;
    int n = 1;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        out += n == line ? with : text.substr(start, end - start);
        out += '\n';
        start = end + 1;
        ++n;
    }
    return out;
}

tools::LevelContent content() {
    tools::LevelContent c;
    c.tileCounts = {{3, 6}, {4, 2}};
    c.typeAnimations = {{1, 12}, {7, 4}};
    return c;
}

TEST(LevelSourceTest, EachBrokenRuleIsRefusedWithFileLineAndField) {
    struct Case {
        const char* rule;
        int line;
        std::string with;  // replaces that line of the good level
        int wantLine;
        const char* wantField;
    };
    const std::vector<Case> cases = {
        {"skipped type", 17, "actor type16 id=4 x=1 y=1 flags=0 param-flags=0 anim=0", 17, "type"},
        {"type 58 and above", 17, "actor type58 id=4 x=1 y=1 flags=0 param-flags=0 anim=0", 17, "type"},
        {"field missing for the type", 15, "actor carriage id=2 x=40 y=40 from-x=0 from-y=0 to-x=60", 15, "to-y"},
        {"id below 1", 17, "actor gate id=0 x=100 y=50 lever=1 partner=2", 17, "id"},
        {"id shared with a trigger", 18, "trigger 3", 18, "id"},
        {"link to a missing actor", 17, "actor gate id=4 x=100 y=50 lever=1 partner=77", 17, "partner"},
        {"switch target missing", 17, "actor switch id=4 x=1 y=1 width=40 height=40 condition=0 count=0 target-2=77", 17,
         "target-2"},
        {"zone names a missing actor", 17, "actor zone id=4 x=1 y=1 width=40 height=40 kind=11 a=77", 17, "a"},
        {"zone without its box", 17, "actor zone id=4 x=1 y=1 height=40 kind=0", 17, "width"},
        {"field of another type", 17, "actor gate id=4 x=1 y=1 lever=1 partner=2 kind=3", 17, "kind"},
        {"script names a missing actor", 21, "  actor 66", 21, "actor"},
        {"script wakes a missing id", 23, "    at 20: move 120,30; wake 40", 23, "wake"},
        {"polyline of one point", 13, "poly one-way: 0,70", 13, "points"},
        {"polyline of 34 points", 13, [] {
             std::string p = "poly:";
             for (int i = 0; i < 34; ++i) p += " " + std::to_string(i * 4) + ",60";
             return p;
         }(), 13, "points"},
        {"unknown polyline flag", 13, "poly sticky: 0,70 80,70", 13, "sticky"},
        {"vertical carriage path", 15, "actor carriage id=2 x=40 y=40 from-x=5 from-y=0 to-x=5 to-y=10", 15, "to-x"},
        {"zero-length carriage path", 15, "actor carriage id=2 x=4 y=4 from-x=5 from-y=7 to-x=5 to-y=7", 15, "to-x"},
        {"geyser with equal bounds", 16,
         "actor geyser id=3 x=90 y=70 left=-10 top=-4 inner-left=-4 unused=0 inner-right=4 bottom=-4 right=10", 16,
         "bottom"},
        {"animation the sprite lacks", 14, "actor hero id=1 x=20 y=60 anim=12", 14, "anim"},
        {"pickup that gives nothing", 17, "actor pickup id=4 x=1 y=1 anim=5", 17, "anim"},
        {"releaser dropping the hero", 17, "actor releaser id=4 x=1 y=1 drop-2=1", 17, "drop-2"},
        {"releaser dropping itself", 17, "actor releaser id=4 x=1 y=1 drop-1=4", 17, "drop-1"},
        {"releaser dropping a trigger", 17, "actor releaser id=4 x=1 y=1 drop-3=9", 17, "drop-3"},
        {"releaser whose ride is no ride", 17, "actor releaser id=4 x=1 y=1 drop-1=2 ride=3", 17, "ride"},
        {"script animation the sprite lacks", 22, "    at 0: anim 4; set 0x800000", 22, "anim"},
        {"script that does not parse", 22, "    at 0: anim 3; jump", 22, "jump"},
        {"camera given an animation", 20, "    at 0: anim 2", 20, "anim"},
        {"tile outside the tile set", 11, "  1 2h 2v 6", 11, "tile"},
        {"ragged tile row", 11, "  1 2 3", 11, "row"},
        {"layer the level lacks", 2, "layer 4 tileset 4", 2, "layer"},
        {"layer drawn with another set", 9, "layer 3 tileset 4", 9, "tileset"},
        {"hero missing", 14, "actor dropper id=1 x=20 y=60", 1, "hero"},
        {"hero off the map", 14, "actor hero id=1 x=160 y=60", 14, "x"},
        {"hero below the map", 14, "actor hero id=1 x=10 y=80", 14, "y"},
        {"level number missing", 1, "", 1, "level"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        const std::string text = replaceLine(kGood, c.line, c.with);
        tools::LevelSource level;
        std::vector<tools::LevelProblem> problems;
        if (tools::readLevelSource(text, "meadow.level", level, problems)) {
            EXPECT_FALSE(tools::checkLevel(level, content(), problems));
        }
        ASSERT_FALSE(problems.empty());
        const tools::LevelProblem& p = problems.front();
        EXPECT_EQ(p.file, "meadow.level");
        EXPECT_EQ(p.line, c.wantLine) << tools::describe(p);
        EXPECT_EQ(p.field, c.wantField) << tools::describe(p);
    }
}

// The build checks a level against the sources of the assets beside it: the tile sets' frames and
// the animations of the sprite each type is drawn with (the hero's is item 0 of the sprites pack).
TEST(LevelSourceTest, TheBuildChecksTilesAndAnimationsAgainstTheAssets) {
    TempFolder assets;
    auto frames = [](int n) {
        std::string list;
        for (int i = 0; i < n; ++i) list += std::string(i ? "," : "") + "{}";
        return "{\"frames\": [" + list + "], \"animations\": [" + list + "]}";
    };
    assets.write("tiles.pack/pack.json", R"({"items": [{"empty": true}, {"empty": true}, {"empty": true},
        {"sprite": "cave.json"}, {"sprite": "backdrop.json"}]})");
    assets.write("tiles.pack/cave.json", frames(6));
    assets.write("tiles.pack/backdrop.json", frames(2));
    assets.write("sprites.pack/pack.json", R"({"items": [{"sprite": "hero.json"}]})");
    assets.write("sprites.pack/hero.json", frames(12));
    tools::LevelContent content;
    std::string error;
    ASSERT_TRUE(tools::readLevelContent(assets.path(), content, error)) << error;
    EXPECT_EQ(content.tileCounts, (std::map<int, int>{{3, 6}, {4, 2}}));
    EXPECT_EQ(content.typeAnimations, (std::map<int, int>{{1, 12}, {34, 12}})) << "types 1 and 34 share the hero's";
    EXPECT_EQ(content.slotAnimations, (std::map<int, int>{{0, 12}}));

    struct Case {
        int line;
        std::string with;
        std::string error;   // empty: compiles
    };
    const std::vector<Case> cases = {
        {11, "  1 2h 2v 5", ""},
        {11, "  1 2h 2v 6", "meadow.level:11: field tile: tile 6 outside set 3 of 6 tiles"},
        {14, "actor hero id=1 x=20 y=60 anim=11", ""},
        {14, "actor hero id=1 x=20 y=60 anim=12", "meadow.level:14: field anim: the sprite of hero has 12 animations"},
        {24, "  spawn 0\n    at 1: anim 11", ""},
        {24, "  spawn 0\n    at 1: anim 12", "meadow.level:25: field anim: the sprite of slot 0 has 12 animations"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.with);
        const auto level = assets.write("level2.pack/meadow.level", replaceLine(kGood, c.line, c.with));
        std::string bytes;
        const bool compiled = tools::compileLevelFile(level, 0, assets.path(), bytes, error);
        EXPECT_EQ(compiled, c.error.empty());
        if (!compiled) {
            EXPECT_EQ(error, (assets.path() / "level2.pack" / c.error).string());
        }
    }
}

// A race (levels 1, 4 and 7) is played with the racer: it takes the hero's place in the rules, the
// hero is refused there, and so is an exit zone, which would stop the racer short of the top.
TEST(LevelSourceTest, RaceLevelsArePlayedWithTheRacer) {
    const std::string race =
        "level 4\n"                                                     // 1
        "layer 0 tileset 2\n"                                           // 2
        "  0 1\n"                                                       // 3
        "end\n"                                                         // 4
        "actor racer id=1 x=500 y=30000\n"                              // 5
        "actor rival id=2 x=400 y=30000\n"                              // 6
        "actor zone id=3 x=0 y=20000 width=1000 height=40 kind=13\n";   // 7
    struct Case {
        const char* rule;
        int line;
        std::string with;   // replaces that line; empty field: the race is good
        int wantLine;
        const char* wantField;
    };
    const std::vector<Case> cases = {
        {"a good race", 7, "actor zone id=3 x=0 y=20000 width=1000 height=40 kind=13", 0, ""},
        {"racer missing", 5, "actor obstacle id=1 x=500 y=30000", 1, "racer"},
        {"hero on a race", 6, "actor hero id=2 x=400 y=30000", 6, "type"},
        {"exit zone on a race", 7, "actor zone id=3 x=0 y=20000 width=1000 height=40 kind=0", 7, "kind"},
        {"geometry on a race", 7, "poly: 0,70 80,70", 7, "poly"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        tools::LevelSource level;
        std::vector<tools::LevelProblem> problems;
        ASSERT_TRUE(tools::readLevelSource(replaceLine(race, c.line, c.with), "race.level", level, problems));
        EXPECT_EQ(tools::checkLevel(level, content(), problems), c.wantLine == 0);
        if (c.wantLine == 0) continue;
        ASSERT_FALSE(problems.empty());
        EXPECT_EQ(problems.front().line, c.wantLine) << tools::describe(problems.front());
        EXPECT_EQ(problems.front().field, c.wantField) << tools::describe(problems.front());
    }
}

TEST(LevelSourceTest, TooManyActorsForTheTableAreRefused) {
    std::string text = kGood;
    for (int i = 0; i < 650; ++i)
        text += "actor dropper id=" + std::to_string(100 + i) + " x=1 y=1\n";
    tools::LevelSource level;
    std::vector<tools::LevelProblem> problems;
    ASSERT_TRUE(tools::readLevelSource(text, "crowd.level", level, problems));
    EXPECT_FALSE(tools::checkLevel(level, content(), problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].line, 1);
    EXPECT_EQ(problems[0].field, "actor");
}

}  // namespace

namespace {

using namespace std::string_literals;

int s16(const std::string& b, std::size_t at) {
    return static_cast<int16_t>(static_cast<uint8_t>(b.at(at)) | static_cast<uint8_t>(b.at(at + 1)) << 8);
}

TEST(LevelSourceTest, GoodLevelCompilesToTheGamesLayouts) {
    tools::LevelSource level;
    std::vector<tools::LevelProblem> problems;
    ASSERT_TRUE(tools::readLevelSource(kGood, "meadow.level", level, problems));
    ASSERT_TRUE(tools::checkLevel(level, content(), problems)) << tools::describe(problems.front());
    const tools::LevelItems items = tools::compileLevel(level);
    ASSERT_EQ(items.levelPack.size(), 2u + 3 * 3);

    // Actor records: a count byte, then 16-bit values; flags and animation always present.
    const std::string& records = items.levelPack[0];
    std::vector<std::vector<int>> actors;
    for (std::size_t at = 0; at < records.size();) {
        const int n = static_cast<int8_t>(records[at++]);
        std::vector<int> values;
        for (int k = 0; k < n; ++k, at += 2) values.push_back(s16(records, at));
        actors.push_back(values);
    }
    ASSERT_EQ(actors.size(), 4u);
    EXPECT_EQ(actors[0], (std::vector<int>{1, 1, 20, 60, 0, 0, 0}));
    EXPECT_EQ(actors[1], (std::vector<int>{7, 2, 40, 40, 0, 0, 0, 0, 0, 60, 10}));
    EXPECT_EQ(actors[2], (std::vector<int>{6, 3, 90, 70, 0, 0, 0, -10, -40, -4, 0, 4, 0, 10}));
    EXPECT_EQ(actors[3], (std::vector<int>{30, 4, 100, 50, 0, 0, 0, 1, 2}));

    // Trigger scripts, walked by the argument sizes the loader skips by.
    const std::string want = std::string("\x01", 1) +
                             "\x09\x00" "\x03" "\x00\x00"s +                 // trigger 9, 3 commands
                             "\x01\x00" "\x01\x00" "\x00\x00\x01" "\x0B\x64\x00\x28\x00"s +  // camera
                             "\x02\x00" "\x02\x00" "\x02\x00"s +             // actor 2, 2 entries
                             "\x00\x00\x02" "\x16\x03" "\x17\x00\x00\x80\x00"s +
                             "\x14\x00\x02" "\x15\x78\x00\x1E\x00" "\x22\x04\x00\x00\x00"s +
                             "\x04\x00" "\x01\x00" "\x03\x00\x01" "\x25\x09\x00"s;  // sound 9 at frame 3
    EXPECT_EQ(items.levelPack[1], want);

    // Tile layers 0, 2, 3: tiles, header, cell flags.
    EXPECT_EQ(items.levelPack[2], "\x00\x00\x01\x00"s);
    EXPECT_EQ(items.levelPack[3], "\x02\x00\x01\x00"s);
    EXPECT_EQ(s16(items.levelPack[8], 0), -1);
    EXPECT_EQ(s16(items.levelPack[8], 8), 1);
    EXPECT_EQ(items.levelPack[9], "\x04\x00\x02\x00"s);
    EXPECT_EQ(items.levelPack[10], "\0\0\0\0\0\1\2\3"s);

    // Geometry: level 2's item, one polyline whose flag word is its last attribute.
    EXPECT_EQ(items.geometryItem, 1);
    EXPECT_EQ(items.geometry, "\x01\x00\x01\x00" "\x90\x00\x03\x00" "\x00\x00\x46\x00" "\x50\x00\x46\x00"
                              "\x9F\x00\x3C\x00"s);
}

}  // namespace
