// A level written as a level source, compiled by the level compiler and loaded by the game's own
// level run (kind 1): the tile layers, the actors made from the records, the polylines and their
// platforms, and the trigger scripts the loader hands over are the ones the source wrote.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actors/cactor.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "tests/game/loader_fixture.h"
#include "tools/level_source.h"

namespace {

using B = BXLibPlayer;

constexpr int kGroundCols = 30, kGroundRows = 14;

// Level 5: layer 0 with set 6, layers 2, 3 and 4 with set 5; geometry item 3.
std::string levelText() {
    std::string ground;
    for (int r = 0; r < kGroundRows; ++r) {
        ground += " ";
        for (int c = 0; c < kGroundCols; ++c) {
            const int t = (c * 3 + r) % 7;
            ground += t == 6 ? " ." : " " + std::to_string(t) + (c == 4 && r == 2 ? "h" : c == 5 ? "v" : "");
        }
        ground += "\n";
    }
    return "level 5\n"
           "layer 0 tileset 6\n  0 1 2\n  3 4 5\nend\n"
           "layer 2 tileset 5\n  . 3 .\nend\n"
           "layer 3 tileset 5\n" + ground + "end\n"
           "layer 4 tileset 5\n  4 . 5 1\nend\n"
           "poly one-way: 0,400 600,400 1100,380\n"
           "poly wall-kick hang-bar: 700,100 700,300\n"
           "actor hero id=1 x=100 y=399\n"
           "actor zone id=2 x=500 y=300 width=80 height=100 kind=1\n"
           "actor switch id=3 x=300 y=300 width=40 height=40 condition=1 count=2 watch-1=1 target-1=9\n"
           "actor gate id=4 x=900 y=380 lever=1 partner=5 flags=1\n"
           "actor gate id=5 x=65000 y=380 lever=0 partner=4 param-flags=0x8000\n"
           "trigger 9\n"
           "  camera\n    at 0: move 100,40\n"
           "  actor 4\n    at 5: anim 1; set 0x800000\n"
           "  other\n    at 3: sound 9\n"
           "end\n";
}

std::string s32(uint32_t v) {
    std::string out;
    for (int i = 0; i < 4; ++i) out += static_cast<char>(v >> (8 * i) & 0xFF);
    return out;
}

std::string g_scripts;   // what the loader handed to the trigger loader

class LevelSourceLoadTest : public LoaderTest {
protected:
    void SetUp() override {
        LoaderTest::SetUp();
        std::vector<tools::LevelProblem> problems;
        ASSERT_TRUE(tools::readLevelSource(levelText(), "trial.level", source, problems))
            << tools::describe(problems[0]);
        ASSERT_TRUE(tools::checkLevel(source, tools::LevelContent{}, problems)) << tools::describe(problems[0]);
        items = tools::compileLevel(source);
    }

    // The tile sets the level draws with (5 and 6), the sprites pack's touch buttons, the reference
    // times, the geometry pack with the level's item at 3 and the level's pack.
    std::vector<tools::BarEntry> entries() const {
        std::vector<tools::PackItem> tiles(7, emptyItem());
        tiles[5] = item(tileSprite(6, 0x204060u));
        tiles[6] = item(tileSprite(6, 0x608020u));
        std::vector<tools::PackItem> sprites(41, emptyItem());
        sprites[40] = item(tileSprite(1, 0x0F0F0Fu));
        std::string times = "\x22\x0A";
        for (uint32_t l = 0; l < 10; ++l) times += s32(l * 100 + 7);
        std::vector<tools::PackItem> geometry(7, emptyItem());
        geometry[items.geometryItem] = item(items.geometry);
        std::vector<tools::PackItem> level;
        for (const std::string& bytes : items.levelPack) level.push_back(item(bytes));
        return {pack("tiles", tiles), pack("sprites", sprites), pack("times", {item(times)}),
                pack("geometry", geometry), pack("level5", level)};
    }

    tools::LevelSource source;
    tools::LevelItems items;
};

TEST_F(LevelSourceLoadTest, TheGamesLevelRunGivesBackWhatTheSourceWrote) {
    writeData(entries());
    g_scripts = "none";
    cGame::s_levelServices.loadTriggerScripts = [](ByteArray* data) {
        g_scripts = data ? std::string(static_cast<const char*>(data->data), static_cast<size_t>(data->length)) : "";
        cGame::loadTriggerScripts(data);
    };
    cGame::setLevel(5);
    ASSERT_EQ(items.geometryItem, 3);
    EXPECT_EQ(runLoad(cGame::kLoadKindLevel, cGame::kStatePlay), 53);
    ASSERT_EQ(cGame::s_state, cGame::kStatePlay);

    // Tile layers: every cell's tile as the rows were written; the ground gives the level its size.
    for (const tools::LevelTileLayer& layer : source.layers) {
        SCOPED_TRACE("layer " + std::to_string(layer.layer));
        for (int r = 0; r < layer.height; ++r)
            for (int c = 0; c < layer.width; ++c) {
                const int at = r * layer.width + c;
                ASSERT_EQ(B::TilesetGetTile(layer.layer, c, r), layer.tiles[at]) << c << "," << r;
                ASSERT_EQ(B::TilesetGetCellFlags(layer.layer, c, r), layer.cellFlags[at]) << c << "," << r;
            }
        EXPECT_EQ(B::TilesetGetTile(layer.layer, layer.width, 0), B::kEmptyTile);
    }
    EXPECT_EQ(B::TilesetGetCellFlags(3, 4, 2), 1) << "4,2 is mirrored";
    EXPECT_EQ(cGame::s_levelWidth, kGroundCols * 40);
    EXPECT_EQ(cGame::s_levelHeight, kGroundRows * 40);

    // Actors: each record made the actor of its type and id, at its place, holding its values
    // (x read unsigned, the flag words sign-extended).
    for (const tools::LevelActor& written : source.actors) {
        SCOPED_TRACE("actor line " + std::to_string(written.line));
        cActor* a = cGame::findActorById(written.values[1]);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->type, written.type);
        EXPECT_EQ(a->x >> 8, written.values[2]);
        EXPECT_EQ(a->y >> 8, written.values[3]);
        EXPECT_EQ(a->paramFlags, static_cast<int16_t>(written.values[5]));
        ASSERT_NE(a->params, nullptr);
        ASSERT_EQ(a->params->length, static_cast<jint>(written.values.size()));
        for (size_t k = 0; k < written.values.size(); ++k)
            EXPECT_EQ(a->params->get(static_cast<jint>(k)), static_cast<int16_t>(written.values[k])) << k;
    }
    EXPECT_EQ(cGame::s_hero, cGame::findActorById(1));
    EXPECT_EQ(cGame::findActorById(5)->x >> 8, 65000) << "x is read unsigned";
    EXPECT_EQ(cGame::findActorById(5)->paramFlags, -32768) << "the flag word is sign-extended";

    // Polylines: their flags, their points relative to the first, and a platform at the first point.
    ASSERT_EQ(cGame::s_polyCount, static_cast<jint>(source.polylines.size()));
    ASSERT_EQ(cGame::s_actorCount, static_cast<jint>(source.actors.size() + source.polylines.size()));
    for (size_t i = 0; i < source.polylines.size(); ++i) {
        SCOPED_TRACE("polyline " + std::to_string(i));
        const tools::LevelPolyline& poly = source.polylines[i];
        EXPECT_EQ(cGame::s_polyFlags->get(static_cast<jint>(i)), static_cast<jint>(poly.flags));
        auto* points = static_cast<IntArray*>(cGame::s_polyPoints->get(static_cast<jint>(i)));
        ASSERT_NE(points, nullptr);
        ASSERT_EQ(points->length, static_cast<jint>(2 * poly.points.size()));
        const auto [x0, y0] = poly.points[0];
        for (size_t p = 0; p < poly.points.size(); ++p) {
            EXPECT_EQ(points->get(static_cast<jint>(2 * p)), (poly.points[p].first - x0) << 8);
            EXPECT_EQ(points->get(static_cast<jint>(2 * p + 1)), (poly.points[p].second - y0) << 8);
        }
        cActor* platform = nullptr;
        for (jint k = 0; k < cGame::s_actorCount; ++k) {
            cActor* a = cGame::actorAt(k);
            if (a->type == 2 && a->param(7) == static_cast<jint>(i)) platform = a;
        }
        ASSERT_NE(platform, nullptr);
        EXPECT_EQ(platform->x >> 8, x0);
        EXPECT_EQ(platform->y >> 8, y0);
        EXPECT_GT(platform->id, 5) << "platform ids follow the level's ids";
    }

    // The trigger scripts reach their loader as compiled, and it takes them: trigger 9 with its
    // camera, actor and other commands, idle.
    EXPECT_EQ(g_scripts, items.levelPack[1]);
    ASSERT_EQ(cGame::triggerCount(), 1);
    const jint t = cGame::findTriggerById(9);
    ASSERT_EQ(t, 0);
    auto* commands = static_cast<ObjectArray*>(cGame::s_triggerCommands->get(t));
    ASSERT_NE(commands, nullptr);
    EXPECT_EQ(commands->length, 3);
    EXPECT_EQ(cGame::s_triggerTime->get(t), cGame::kTriggerIdle);
}

}  // namespace
