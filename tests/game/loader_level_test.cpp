// Level runs (kind 1) and their release (kind 2) over small packs written here with the project's
// pack and sprite writers: a level loads in its 53 frames and ends in its target state with its tile
// layers, size, records, reference time, touch buttons and the sprites its mask names; the later
// subsystems' services are called in order (and each missing one is logged once); a release and a
// new level keep the game-wide sprites, fonts and interface sprites; equal layer items share one
// sprite; an alternate-player level takes the open extent and the arc table; a level's trigger
// scripts load with it and bring their sprites, and malformed ones leave it playing without them;
// and a level whose pack items are missing or malformed is logged by pack and item and sends the
// game back to the menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "actors/cactor.h"
#include "game/cgame.h"
#include "runtime/string.h"
#include "tests/game/loader_fixture.h"
#include "tests/game/trigger_script_bytes.h"
#include "tests/support/log_capture.h"

namespace {

using B = BXLibPlayer;

std::string u16(uint32_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; }
std::string s32(uint32_t v) { return u16(v & 0xFFFF) + u16(v >> 16); }

struct Layer {
    int cols, rows;
};

// A layer's three items: tile ids (a checker of tiles 0 and 1), header, cell flags.
std::vector<tools::PackItem> layerItems(Layer l) {
    std::string tiles, flags;
    for (int i = 0; i < l.cols * l.rows; ++i) {
        tiles += u16(static_cast<uint32_t>((i % l.cols + i / l.cols) % 2));
        flags += '\0';
    }
    return {LoaderTest::item(tiles), LoaderTest::item(u16(l.cols) + u16(l.rows)), LoaderTest::item(flags)};
}

// Records, trigger scripts, then the layers' items in the order 0, 2, 3, 4.
std::vector<tools::PackItem> levelItems(const std::vector<Layer>& layers) {
    std::vector<tools::PackItem> items{LoaderTest::item("REC0"), LoaderTest::item("TRG")};
    for (const Layer& l : layers) {
        for (auto& i : layerItems(l)) items.push_back(i);
    }
    return items;
}

// What the fake services saw.
std::vector<std::string>* g_calls = nullptr;
void note(const std::string& what) {
    if (g_calls) g_calls->push_back(what);
}

cGame::LevelServices fakeServices() {
    cGame::LevelServices s{};
    s.redrawSceneCache = [] { note("redrawSceneCache"); };
    s.dropSceneCache = [] { note("dropSceneCache"); };
    s.clearFrameCaches = [] { note("clearFrameCaches"); };
    s.buildFrameCaches = [] { note("buildFrameCaches"); };
    s.resetTriggers = [] { note("resetTriggers"); };
    s.resetLevelCounters = [] { note("resetLevelCounters"); };
    s.loadTriggerScripts = [](ByteArray* data) { note("loadTriggerScripts " + std::to_string(data ? data->length : -1)); };
    s.writeSaveBuffer = [](jint slot) { note("writeSaveBuffer " + std::to_string(slot)); };
    return s;
}

constexpr Layer kLevel0Layer0{5, 3}, kLevel0Layer2{30, 15}, kLevel0Layer3{25, 14};
// The level's own mask (sprites 0, 2, 8, 13 and 15; its records make no actor) of which the pack
// holds 2 and 13.
constexpr jint kMaskSprites[] = {2, 13};
constexpr jint kKeptSprites[] = {7, 16, 18, 25, 33};

class LoaderLevelTest : public LoaderTest {
protected:
    void SetUp() override {
        LoaderTest::SetUp();
        g_calls = &calls;
    }
    void TearDown() override {
        g_calls = nullptr;
        LoaderTest::TearDown();
    }

    // Tile sprites by item (level 0 uses 1 for layer 0 and 0 for layers 2 and 3, level 1 uses 2 for
    // layer 0, level 5 uses 6 for layer 0 and 5 for layers 2, 3 and 4), the sprites pack (the five kept sprites, the mask's
    // sprites and the touch buttons at 40), one reference time per level, and the level packs.
    std::vector<tools::BarEntry> entries(std::vector<tools::PackItem> level0 = levelItems({kLevel0Layer0, kLevel0Layer2,
                                                                                           kLevel0Layer3})) {
        std::vector<tools::PackItem> tiles;
        for (int i = 0; i < 7; ++i) tiles.push_back(i >= 3 && i <= 4 ? emptyItem() : item(tileSprite(2, 0x101010u * i)));
        std::vector<tools::PackItem> sprites(41, emptyItem());
        for (int n : {2, 7, 13, 16, 18, 25, 33, 39, 40}) sprites[n] = item(tileSprite(1, 0x0F0F0Fu * (n % 16)));
        std::string times = "\x22\x0A";
        for (uint32_t l = 0; l < 10; ++l) times += s32(l * 100 + 7);
        // Each level's geometry: one polyline of two points (flag word 1).
        const std::string line = u16(1) + u16(1) + u16(1) + u16(2) + u16(100) + u16(300) + u16(400) + u16(300);
        std::vector<tools::PackItem> geometry(7, item(line));
        std::vector<tools::BarEntry> out{pack("tiles", tiles), pack("sprites", sprites), pack("times", {item(times)}),
                                         pack("geometry", geometry),
                                         pack("level1", levelItems({{20, 12}})),
                                         pack("level5", levelItems({{20, 12}, {20, 12}, {22, 13}, {20, 12}}))};
        if (!level0.empty()) out.push_back(pack("level0", level0));
        return out;
    }
    static Bsprite* spriteAt(jint n) { return static_cast<Bsprite*>(cGame::s_sprites->get(n)); }
    static Object* layerSprite(jint k) { return cGame::s_layerSprites->get(k); }
    [[nodiscard]] size_t count(const std::string& call) const { return std::count(calls.begin(), calls.end(), call); }

    std::vector<std::string> calls;
};

TEST_F(LoaderLevelTest, LevelLoadsInItsStepsAndEndsInTheTargetState) {
    writeData(entries());
    cGame::s_levelServices = fakeServices();
    cGame::setLevel(0);
    cGame::setSoftkeys(55, cGame::kSoftkeyIcon, false);   // the screen before: the loading screen shows none
    EXPECT_EQ(runLoad(cGame::kLoadKindLevel, cGame::kStatePlay), 53);
    EXPECT_EQ(cGame::s_state, cGame::kStatePlay);
    EXPECT_EQ(cGame::s_softkeyLeft, cGame::kSoftkeyNone);
    EXPECT_EQ(cGame::s_softkeyRight, cGame::kSoftkeyNone);

    // Tile layers 0, 2 and 3 (layer 3's size is the level's), records, triggers, reference time.
    EXPECT_EQ(cGame::s_levelWidth, 25 * 40);
    EXPECT_EQ(cGame::s_levelHeight, 14 * 40);
    for (const auto& [layer, l] : std::vector<std::pair<jint, Layer>>{{0, kLevel0Layer0}, {2, kLevel0Layer2}, {3, kLevel0Layer3}}) {
        SCOPED_TRACE(layer);
        EXPECT_EQ(B::TilesetGetTile(layer, 1, 0), 1);
        EXPECT_EQ(B::TilesetGetTile(layer, l.cols - 1, l.rows - 1), (l.cols + l.rows) % 2);
        EXPECT_EQ(B::TilesetGetTile(layer, l.cols, 0), B::kEmptyTile);
        // A back buffer is opaque: over the background it would hide it where the layer has no tile.
        auto* record = static_cast<IntArray*>(B::s_layerRecords->get(layer));
        ASSERT_NE(record, nullptr);
        EXPECT_EQ((record->get(B::kLayerFlags) & B::kTileBuffered) != 0, layer == 0);
    }
    EXPECT_EQ(B::TilesetGetTile(4, 0, 0), B::kEmptyTile);
    ASSERT_NE(cGame::s_levelRecords, nullptr);
    EXPECT_EQ(std::string(static_cast<const char*>(cGame::s_levelRecords->data), 4), "REC0");
    EXPECT_EQ(cGame::s_levelStats->get(5), 7);
    ASSERT_NE(layerSprite(0), nullptr);
    EXPECT_NE(layerSprite(0), layerSprite(2));
    EXPECT_EQ(layerSprite(3), layerSprite(2)) << "layers 2 and 3 both use tile item 0";
    EXPECT_EQ(layerSprite(4), nullptr);

    // The mask's sprites and the touch buttons; nothing else.
    for (jint n = 0; n < 41; ++n) {
        const bool wanted = std::find(std::begin(kMaskSprites), std::end(kMaskSprites), n) != std::end(kMaskSprites);
        EXPECT_EQ(spriteAt(n) != nullptr, wanted) << n;
        if (wanted) {
            EXPECT_GT(spriteAt(n)->moduleCount, 0) << n;
        }
    }
    ASSERT_NE(cGame::s_touchSprite, nullptr);
    EXPECT_EQ(cGame::s_touchSprite->cachePoolIndex, 1) << "the touch buttons' own cache";

    const std::vector<std::string> expected{"redrawSceneCache", "dropSceneCache", "loadTriggerScripts 3",
                                            "writeSaveBuffer 0"};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(cGame::s_cameraMaxX, 200);
    EXPECT_EQ(cGame::s_cameraMaxY, 80);
    EXPECT_EQ(cGame::s_cameraSnap, 1) << "the camera jumps to its target on its next move";
    EXPECT_EQ(cGame::s_polyCount, 1);
    ASSERT_EQ(cGame::s_actorCount, 1) << "the polyline's platform; the records make no actor";
    EXPECT_EQ(cGame::actorAt(0)->type, 2);
}

TEST_F(LoaderLevelTest, ReleaseThenNewLevelKeepsTheGameWideSprites) {
    writeData(entries());
    // What the game start loaded: the five kept sprites, the fonts, the interface sprites; and the
    // previous level's sprite 2 and sprite 13.
    cGame::packOpen(Runtime::ldcString(138));
    for (jint n : {2, 7, 13, 16, 18, 25, 33}) cGame::loadSpriteWithPalettes(n);
    cGame::packClose();
    std::vector<Object*> kept;
    for (jint n : kKeptSprites) kept.push_back(spriteAt(n));
    for (jint f = 0; f < 3; ++f) cGame::s_fonts->set(f, Runtime::make<Bsprite>());
    std::vector<Object*> fonts{cGame::s_fonts->get(0), cGame::s_fonts->get(1), cGame::s_fonts->get(2)};
    cGame::s_loadingPicture = Runtime::make<Bsprite>();
    cGame::s_menuSprite = Runtime::make<Bsprite>();
    Object* picture = cGame::s_loadingPicture;
    Object* menu = cGame::s_menuSprite;
    auto expectKept = [&] {
        for (size_t i = 0; i < std::size(kKeptSprites); ++i) EXPECT_EQ(spriteAt(kKeptSprites[i]), kept[i]) << kKeptSprites[i];
        for (jint f = 0; f < 3; ++f) EXPECT_EQ(cGame::s_fonts->get(f), fonts[f]) << f;
        EXPECT_EQ(cGame::s_loadingPicture, picture);
        EXPECT_EQ(cGame::s_menuSprite, menu);
    };

    LogCapture log;
    EXPECT_EQ(runLoad(cGame::kLoadKindUnload, cGame::kStateMainMenu), 4);
    EXPECT_EQ(cGame::s_state, cGame::kStateMainMenu);
    expectKept();
    EXPECT_EQ(spriteAt(2), nullptr);
    EXPECT_EQ(spriteAt(13), nullptr);

    // No service is registered: the level still loads, sprite 7 is not read again, and each
    // missing service is logged once, however many steps ask for it.
    cGame::setLevel(0);
    cGame::s_spriteMask[0] = (1 << 2) | (1 << 7);
    EXPECT_EQ(runLoad(cGame::kLoadKindLevel, cGame::kStatePlay), 53);
    EXPECT_EQ(cGame::s_state, cGame::kStatePlay);
    expectKept();
    ASSERT_NE(spriteAt(2), nullptr);
    EXPECT_GT(spriteAt(2)->moduleCount, 0);
    for (const char* name : {"clearFrameCaches", "resetTriggers", "writeSaveBuffer"}) {
        EXPECT_EQ(std::count_if(log.lines.begin(), log.lines.end(),
                                [&](const std::string& l) { return l.find(std::string("no ") + name + " registered") != std::string::npos; }),
                  1)
            << name;
    }
}

TEST_F(LoaderLevelTest, LayerItemsEqualToLayerTwosShareItsSprite) {
    writeData(entries());
    cGame::setLevel(5);   // layer items 6, -1, 5, 5, 5
    EXPECT_EQ(runLoad(cGame::kLoadKindLevel, cGame::kStatePlay), 53);
    ASSERT_NE(layerSprite(2), nullptr);
    EXPECT_EQ(layerSprite(3), layerSprite(2));
    EXPECT_EQ(layerSprite(4), layerSprite(2));
    EXPECT_NE(layerSprite(0), layerSprite(2));
    EXPECT_EQ(B::s_layerSprites->get(4), layerSprite(2)) << "the tile engine paints layer 4 with it";
    EXPECT_EQ(cGame::s_levelWidth, 22 * 40) << "layer 3's size";
    EXPECT_EQ(cGame::s_levelStats->get(5), 507);
}

TEST_F(LoaderLevelTest, AlternatePlayerLevelTakesTheOpenExtentAndTheArcTable) {
    writeData(entries());
    cGame::s_levelServices = fakeServices();
    cGame::setLevel(1);   // layer 0 only, no polylines
    EXPECT_EQ(runLoad(cGame::kLoadKindLevel, cGame::kStatePlay), 53);
    EXPECT_EQ(cGame::s_levelWidth, 256000);
    EXPECT_EQ(cGame::s_levelHeight, 9216000);
    EXPECT_EQ(count("buildFrameCaches"), 1u);
    EXPECT_EQ(cGame::s_polyCount, 0);
    ASSERT_NE(cGame::s_arcTable, nullptr);
    ASSERT_EQ(cGame::s_arcTable->length, 306);
    struct Arc {
        jint i, value;
    };
    for (Arc a : {Arc{0, 0}, Arc{1, 0}, Arc{13, 1}, Arc{152, 151}, Arc{153, 153}, Arc{154, 151}, Arc{200, 73}, Arc{305, 0}}) {
        EXPECT_EQ(cGame::s_arcTable->get(a.i), a.value) << a.i;
    }
}

TEST_F(LoaderLevelTest, TriggerScriptsComeWithTheirSpritesAndMalformedOnesLeaveTheLevelPlaying) {
    struct Case {
        const char* what;
        std::string scripts;
        jint triggers;
        bool malformed;
    };
    // Sprite 39 is in the sprites pack but not in level 0's own mask: only a spawn command asks for it.
    const Case cases[] = {
        {"a spawn command's sprite", script::item({script::trigger(9, {script::command(3, 39, {{2, {}}})})}), 1, false},
        {"a count past the item", "TRG", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        resetWorldStatics();
        std::vector<tools::PackItem> level0 = levelItems({kLevel0Layer0, kLevel0Layer2, kLevel0Layer3});
        level0[1] = item(c.scripts);
        writeData(entries(level0));
        cGame::registerLevelServices();
        cGame::setLevel(0);
        LogCapture log;
        EXPECT_EQ(runLoad(cGame::kLoadKindLevel, cGame::kStatePlay), 53);
        EXPECT_EQ(cGame::s_state, cGame::kStatePlay);
        EXPECT_EQ(cGame::triggerCount(), c.triggers);
        EXPECT_EQ(log.contains("trigger scripts are malformed"), c.malformed);
        EXPECT_EQ(spriteAt(39) != nullptr, !c.malformed);
        StaticClass::releaseStatics();
    }
}

TEST_F(LoaderLevelTest, MissingOrMalformedLevelItemsSendTheGameBackToTheMenu) {
    struct Case {
        const char* what;
        std::vector<tools::PackItem> level0;   // empty: no level pack at all
        bool tileItemOneMissing;
        const char* logged;
        int stepsRun;   // the failing step included
    };
    auto withItem = [](size_t i, tools::PackItem replacement) {
        std::vector<tools::PackItem> items = levelItems({kLevel0Layer0, kLevel0Layer2, kLevel0Layer3});
        items[i] = std::move(replacement);
        return items;
    };
    auto cutAfter = [](size_t n) {
        std::vector<tools::PackItem> items = levelItems({kLevel0Layer0, kLevel0Layer2, kLevel0Layer3});
        items.resize(n);
        return items;
    };
    const Case cases[] = {
        {"no level pack", {}, false, "pack \"level0\" is missing", 3},
        {"tile sprite missing", levelItems({kLevel0Layer0, kLevel0Layer2, kLevel0Layer3}), true, "item 1 of pack \"tiles\"", 2},
        {"layer header empty", withItem(3, emptyItem()), false, "item 3 of pack \"level0\"", 4},
        {"layer header of no columns", withItem(6, item(u16(0) + u16(15))), false, "item 6 of pack \"level0\"", 4},
        {"tile ids cut short", withItem(5, item(std::string("\x01\x00", 2))), false, "item 5 of pack \"level0\"", 4},
        {"cell flags cut short", withItem(10, item(std::string(3, '\0'))), false, "item 10 of pack \"level0\"", 4},
        {"layer 3's items missing", cutAfter(8), false, "item 9 of pack \"level0\"", 4},
    };
    for (size_t c = 0; c < std::size(cases); ++c) {
        const Case& k = cases[c];
        SCOPED_TRACE(k.what);
        resetWorldStatics();
        std::vector<tools::BarEntry> e = entries(k.level0);
        if (k.tileItemOneMissing) {
            std::vector<tools::PackItem> tiles;
            for (int i = 0; i < 7; ++i) tiles.push_back(i >= 1 && i <= 4 ? emptyItem() : item(tileSprite(2, 0x202020)));
            e[0] = pack("tiles", tiles);
        }
        writeData(std::move(e));
        cGame::packOpen(Runtime::ldcString(138));
        cGame::loadSpriteWithPalettes(7);
        cGame::loadSpriteWithPalettes(2);
        cGame::packClose();
        Object* kept = spriteAt(7);

        LogCapture log;
        cGame::setLevel(0);
        const int frames = runLoad(cGame::kLoadKindLevel, cGame::kStatePlay);
        EXPECT_LT(frames, 53);
        EXPECT_EQ(cGame::s_state, cGame::kStateMainMenu);
        EXPECT_TRUE(log.contains(k.logged)) << k.logged;
        EXPECT_TRUE(log.contains("level 0 cannot be loaded"));
        // The steps that ran, not the bar's full count.
        const std::string ended = "loader: kind 1 abandoned after " + std::to_string(k.stepsRun) + " of 53 steps";
        EXPECT_TRUE(log.contains(ended)) << ended;
        EXPECT_EQ(cGame::s_dialogType, 0);   // a message box with the failure text
        ASSERT_NE(cGame::s_dialogText, nullptr);
        EXPECT_TRUE(cGame::s_dialogText->equals(cGame::getString(cGame::kLevelLoadFailedText)));
        EXPECT_EQ(cGame::s_pendingAction, 2);
        EXPECT_EQ(cGame::s_loading, 0);
        // Released: no level sprites, tile sprites or records are left; the kept sprite stays.
        EXPECT_EQ(spriteAt(2), nullptr);
        EXPECT_EQ(spriteAt(7), kept);
        for (jint k4 : {0, 2, 3, 4}) EXPECT_EQ(layerSprite(k4), nullptr) << k4;
        EXPECT_EQ(cGame::s_levelRecords, nullptr);
        StaticClass::releaseStatics();
    }
}

}  // namespace
