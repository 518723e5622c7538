// Tile layers: loading and its refusals, positions with clamp and repeat, and the two drawing roads
// rendered onto the screen and compared pixel by pixel with a picture computed from the map, at
// aligned and non-aligned origins, for frame and module tilesets, and for incremental buffer refresh.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/array.h"
#include "sprites/bxlib_player.h"
#include "tests/sprites/text_fixture.h"

namespace {

using B = BXLibPlayer;

constexpr int kTile = 40, kCols = 7, kRows = 5, kTileKinds = 12;
constexpr int kViewW = 190, kViewH = 110;     // not whole tiles: buffers of 240 x 160
constexpr int kAtX = 30, kAtY = 20;           // where the view goes on the screen
constexpr uint32_t kBackground = 0xFF203040;

// Palette index of tile t's pixel (u, v): a border, a marker in the top-left corner (so mirroring
// shows), and the tile's own colour.
int tileIndex(int t, int u, int v) {
    if (u == 0 || v == 0) return 15;
    if (u < 10 && v < 6) return 14;
    return 1 + t % 13;
}

uint32_t paletteColour(int i) {
    static const uint32_t colours[16] = {0x00FF00FF, 0xFFF80000, 0xFF00FC00, 0xFF0000F8, 0xFFF8FC00, 0xFF00FCF8,
                                         0xFFF800F8, 0xFF808080, 0xFF804000, 0xFF008040, 0xFF400080, 0xFFF88040,
                                         0xFF40F880, 0xFF8040F8, 0xFFFFFFFF, 0xFF000000};
    return colours[i];
}

// kTileKinds 40x40 image modules; with frames, frame t is module t at (0, 0).
SpriteBytes tileSprite(bool withFrames) {
    SpriteBytes s;
    s.u16(0).u32(0x01000000);
    s.u16(kTileKinds);
    for (int t = 0; t < kTileKinds; ++t) s.u8(0x00).u8(kTile).u8(kTile);
    if (withFrames) {
        s.u16(kTileKinds);
        for (int t = 0; t < kTileKinds; ++t) s.u8(static_cast<uint32_t>(t)).u8(0).u8(0).u8(0);
        s.u16(kTileKinds);
        for (int t = 0; t < kTileKinds; ++t) s.u8(1).u8(0).u16(static_cast<uint32_t>(t));
        for (int t = 0; t < kTileKinds; ++t) s.u8(0).u8(0).u8(kTile).u8(kTile);
    } else {
        s.u16(0);
        s.u16(0);
    }
    s.u16(0).u16(0);
    s.u16(0x8888).u8(1).u8(16);
    for (int i = 0; i < 16; ++i) s.u32(paletteColour(i));
    s.u16(0x1600);
    for (int t = 0; t < kTileKinds; ++t) {
        s.u16(kTile * kTile / 2);
        for (int p = 0; p < kTile * kTile; p += 2) {
            s.u8(static_cast<uint32_t>(tileIndex(t, p % kTile, p / kTile) << 4 |
                                       tileIndex(t, (p + 1) % kTile, (p + 1) / kTile)));
        }
    }
    return s;
}

struct Map {
    int cols = kCols, rows = kRows;
    std::vector<int> ids, flags;
    Map() {
        for (int i = 0; i < cols * rows; ++i) {
            ids.push_back((i * 5 + i / cols) % kTileKinds);
            flags.push_back(i % 4);
        }
    }
    [[nodiscard]] ByteArray* header() const {
        SpriteBytes h;
        h.u16(static_cast<uint32_t>(cols)).u16(static_cast<uint32_t>(rows));
        return h.array();
    }
    [[nodiscard]] ByteArray* tiles() const {
        SpriteBytes b;
        for (int id : ids) b.u16(static_cast<uint32_t>(id));
        return b.array();
    }
    [[nodiscard]] ByteArray* cellFlags() const {
        SpriteBytes b;
        for (int f : flags) b.u8(static_cast<uint32_t>(f));
        return b.array();
    }
};

class TileLayerTest : public SpriteTextTest {
protected:
    void SetUp() override {
        SpriteTextTest::SetUp();
        B::TilesetInit(kViewW, kViewH, kTile, kTile);
    }

    static Bsprite* loadTiles(bool withFrames) {
        auto* sprite = Runtime::make<Bsprite>();
        EXPECT_TRUE(sprite->Load(tileSprite(withFrames).array(), 0));
        return sprite;
    }

    // The view of map m at origin (ox, oy) as it should look on the screen: each view pixel shows the
    // tile under it (map wrapped when repeating), mirrored by its cell flags; empty cells and tile ids
    // the sprite lacks show the background.
    static std::vector<uint16_t> expected(const Map& m, int ox, int oy, bool repeat) {
        std::vector<uint16_t> out(kLandscapeW * kLandscapeH, Graphics::toRGB565(kBackground));
        for (int y = 0; y < kViewH; ++y) {
            for (int x = 0; x < kViewW; ++x) {
                const int wx = ox + x, wy = oy + y;
                int col = wx >= 0 ? wx / kTile : -((-wx + kTile - 1) / kTile);
                int row = wy >= 0 ? wy / kTile : -((-wy + kTile - 1) / kTile);
                int u = wx - col * kTile, v = wy - row * kTile;
                if (repeat) col = (col % m.cols + m.cols) % m.cols, row = (row % m.rows + m.rows) % m.rows;
                if (col < 0 || col >= m.cols || row < 0 || row >= m.rows) continue;
                const int id = m.ids[row * m.cols + col], f = m.flags[row * m.cols + col];
                if (id >= kTileKinds) continue;
                if (f & 1) u = kTile - 1 - u;
                if (f & 2) v = kTile - 1 - v;
                out[(kAtY + y) * kLandscapeW + kAtX + x] = Graphics::toRGB565(paletteColour(tileIndex(id, u, v)));
            }
        }
        return out;
    }

    // Draws the layer at (kAtX, kAtY) on a fresh screen and compares; answers the number of pixels
    // that differ (the first few are reported).
    static int drawAndCompare(jint layer, const std::vector<uint16_t>& want, const std::string& name) {
        Image* screenImage = screen(kBackground);
        Graphics* g = screenImage->getGraphics();
        B::TilesetDraw(g, kAtX, kAtY, layer);
        EXPECT_EQ(g->getClipWidth(), kLandscapeH) << "the clip is restored";
        const std::vector<uint16_t> got = landscape(screenImage);
        keepPng(got, name);
        int bad = 0;
        for (size_t i = 0; i < got.size(); ++i) {
            if (got[i] != want[i] && bad++ < 3) {
                ADD_FAILURE() << name << ": pixel (" << i % kLandscapeW << ", " << i / kLandscapeW << ") is "
                              << got[i] << ", expected " << want[i];
            }
        }
        return bad;
    }
};

TEST_F(TileLayerTest, LoadingFillsTheRecordAndRefusesEmptyMaps) {
    Map m;
    Bsprite* tiles = loadTiles(true);
    B::TilesetLoadLayer(2, m.header(), m.tiles(), m.cellFlags(), tiles, true, 32, 1, 0);
    auto* rec = static_cast<IntArray*>(B::s_layerRecords->get(2));
    const std::vector<jint> want = {1, 1, kCols, kRows, kCols * kTile, kRows * kTile, 240, 160, -1, -1, -1, -1, 0, 0,
                                    B::kTileRepeatX | B::kTileClampY | B::kTileBuffered | B::kTileYUp};
    for (jint i = 0; i < B::kLayerRecordWords; ++i) EXPECT_EQ(rec->get(i), want[i]) << "word " << i;
    auto* buffer = static_cast<Image*>(B::s_layerImages->get(2));
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->getWidth(), 160) << "held turned";
    EXPECT_EQ(buffer->getHeight(), 240);
    B::TilesetLoadLayer(2, m.header(), m.tiles(), m.cellFlags(), tiles, true, 16, 2, 2);
    EXPECT_EQ(B::s_layerImages->get(2), buffer) << "a buffer of the right size is reused";
    EXPECT_EQ(static_cast<IntArray*>(B::s_layerRecords->get(2))->get(B::kLayerFlags), B::kTileBuffered);

    // The game's view: 840 x 520, 21 x 13 tiles.
    B::TilesetInit(800, 480, 40, 40);
    B::TilesetLoadLayer(0, m.header(), m.tiles(), nullptr, tiles, true, 16, 1, 1);
    rec = static_cast<IntArray*>(B::s_layerRecords->get(0));
    EXPECT_EQ(rec->get(B::kLayerBufferW), 840);
    EXPECT_EQ(rec->get(B::kLayerBufferH), 520);

    for (auto [cols, rows] : {std::pair{0, 5}, {7, 0}, {-3, 5}, {7, 0x8000}}) {
        Map bad;
        bad.cols = cols, bad.rows = rows;
        B::TilesetLoadLayer(1, bad.header(), m.tiles(), nullptr, tiles, false, 16, 1, 1);
        rec = static_cast<IntArray*>(B::s_layerRecords->get(1));
        EXPECT_EQ(rec->get(B::kLayerShown), 0) << cols << " x " << rows;
        EXPECT_EQ(rec->get(B::kLayerCols), 0);
    }
    B::TilesetLoadLayer(1, Runtime::newByteArray(3), m.tiles(), nullptr, tiles, false, 16, 1, 1);
    EXPECT_EQ(static_cast<IntArray*>(B::s_layerRecords->get(1))->get(B::kLayerShown), 0) << "short header";
    B::TilesetLoadLayer(5, m.header(), m.tiles(), nullptr, tiles, false, 16, 1, 1);
    B::TilesetLoadLayer(-1, m.header(), m.tiles(), nullptr, tiles, false, 16, 1, 1);
}

TEST_F(TileLayerTest, NothingBeforeInit) {
    B::s_tilesEnabled = false;
    Map m;
    B::TilesetLoadLayer(0, m.header(), m.tiles(), nullptr, nullptr, false, 16, 1, 1);
    B::TilesetSetPosition(0, 5, 5);
    EXPECT_EQ(B::TilesetGetTile(0, 0, 0), B::kEmptyTile);
    B::TilesetDraw(nullptr, 0, 0, -1);
    B::TilesetInit(0, 480, 40, 40);
    EXPECT_FALSE(B::s_tilesEnabled);
}

TEST_F(TileLayerTest, PositionsClampRepeatAndCountRowsFromTheBottom) {
    Map m;
    Bsprite* tiles = loadTiles(true);
    B::TilesetLoadLayer(0, m.header(), m.tiles(), m.cellFlags(), tiles, false, 16, 0, 0);
    auto* rec = static_cast<IntArray*>(B::s_layerRecords->get(0));
    struct Case {
        jint x, y, ox, oy;
    };
    for (const Case& c : {Case{-5, -1, 0, 0}, Case{500, 900, 280 - kViewW, 200 - kViewH}, Case{13, 7, 13, 7}}) {
        B::TilesetSetPosition(0, c.x, c.y);
        EXPECT_EQ(rec->get(B::kLayerOriginX), c.ox) << c.x;
        EXPECT_EQ(rec->get(B::kLayerOriginY), c.oy) << c.y;
    }
    B::TilesetLayerSetFlag(0, B::kTileClampX | B::kTileClampY, false);
    B::TilesetSetPosition(0, -5, 900);
    EXPECT_EQ(rec->get(B::kLayerOriginX), -5);
    EXPECT_EQ(rec->get(B::kLayerOriginY), 900);
    EXPECT_FALSE(B::TilesetLayerHasFlag(0, B::kTileClampX));

    B::TilesetLoadLayer(3, m.header(), m.tiles(), m.cellFlags(), tiles, false, 32, 1, 1);
    B::TilesetSetPosition(3, 0, 30);
    EXPECT_EQ(static_cast<IntArray*>(B::s_layerRecords->get(3))->get(B::kLayerOriginY), 200 - 30 - kViewH);

    EXPECT_EQ(B::TilesetGetTile(0, 3, 2), m.ids[2 * kCols + 3]);
    EXPECT_EQ(B::TilesetGetCellFlags(0, 3, 2), m.flags[2 * kCols + 3]);
    EXPECT_EQ(B::TilesetGetTile(0, kCols, 0), B::kEmptyTile) << "outside the map";
    EXPECT_EQ(B::TilesetGetTile(0, -1, 0), B::kEmptyTile);
    EXPECT_EQ(B::TilesetGetCellFlags(0, 0, kRows), 0);
    B::TilesetLoadLayer(4, m.header(), m.tiles(), nullptr, tiles, false, 16, 1, 1);
    EXPECT_EQ(B::TilesetGetCellFlags(4, 1, 1), 0) << "no flag plane";
    B::TilesetLoadLayer(4, m.header(), Runtime::newByteArray(10), nullptr, tiles, false, 16, 1, 1);
    EXPECT_EQ(B::TilesetGetTile(4, 4, 0), 0);
    EXPECT_EQ(B::TilesetGetTile(4, 5, 0), B::kEmptyTile) << "past a short tile plane";
}

// The unbuffered road, frames and modules, at aligned and non-aligned origins, clamped and repeated,
// with empty cells and ids the sprite lacks.
TEST_F(TileLayerTest, UnbufferedRoadDrawsTheWholeView) {
    Map m;
    m.ids[8] = 0xFFFF;
    m.ids[9] = kTileKinds + 3;
    struct Case {
        bool frames;
        jint repeat;   // 1 repeat, 0 clamp
        jint ox, oy;
    };
    const Case cases[] = {
        {true, 0, 0, 0},     {true, 0, 13, 7},   {true, 0, 90, 90},  {true, 0, 41, 39},
        {true, 1, -17, -23}, {true, 1, 250, 170}, {false, 0, 13, 7}, {false, 1, -57, 301},
    };
    for (const Case& c : cases) {
        Bsprite* tiles = loadTiles(c.frames);
        B::TilesetLoadLayer(1, m.header(), m.tiles(), m.cellFlags(), tiles, false, 16, c.repeat, c.repeat);
        B::TilesetSetPosition(1, c.ox, c.oy);
        const std::string name = std::string("tiles_unbuffered_") + (c.frames ? "frames" : "modules") + "_" +
                                 std::to_string(c.ox) + "_" + std::to_string(c.oy);
        EXPECT_EQ(drawAndCompare(1, expected(m, c.ox, c.oy, c.repeat == 1), name), 0) << name;
    }
}

// The buffered road over a scroll: each step paints only what came into view, then one to four
// copies of the buffer fill the view.
TEST_F(TileLayerTest, BufferedRoadFollowsAScroll) {
    Map m;
    for (jint repeat : {0, 1}) {
        Bsprite* tiles = loadTiles(true);
        B::TilesetLoadLayer(2, m.header(), m.tiles(), m.cellFlags(), tiles, true, 16, repeat, repeat);
        const std::vector<std::pair<jint, jint>> path =
            repeat ? std::vector<std::pair<jint, jint>>{{-17, -23}, {0, 0}, {250, 170}, {500, 400}, {239, 159}}
                   : std::vector<std::pair<jint, jint>>{{0, 0}, {13, 7}, {55, 41}, {90, 90}, {3, 80}, {40, 40}};
        for (auto [ox, oy] : path) {
            B::TilesetSetPosition(2, ox, oy);
            const std::string name = "tiles_buffered_" + std::string(repeat ? "repeat_" : "clamp_") +
                                     std::to_string(ox) + "_" + std::to_string(oy);
            EXPECT_EQ(drawAndCompare(2, expected(m, ox, oy, repeat == 1), name), 0) << name;
        }
    }
}

TEST_F(TileLayerTest, BufferedRoadPaintsOnlyNewlyExposedTiles) {
    Map m;
    Bsprite* tiles = loadTiles(true);
    ByteArray* ids = m.tiles();
    B::TilesetLoadLayer(0, m.header(), ids, m.cellFlags(), tiles, true, 16, 0, 0);
    B::TilesetDraw(nullptr, 0, 0, 0);   // fills the buffer without drawing
    auto* rec = static_cast<IntArray*>(B::s_layerRecords->get(0));
    EXPECT_EQ(rec->get(B::kLayerFirstCol), 0);
    EXPECT_EQ(rec->get(B::kLayerLastCol), 5);
    EXPECT_EQ(rec->get(B::kLayerLastRow), 3);

    // The map changes under the buffer: tiles already buffered keep their old pictures.
    Map changed = m;
    for (int& id : changed.ids) id = 11;
    for (jint i = 0; i < ids->length; ++i) ids->set(i, changed.tiles()->get(i));
    B::TilesetSetPosition(0, 13, 7);
    EXPECT_EQ(drawAndCompare(0, expected(m, 13, 7, false), "tiles_stale_13_7"), 0);

    // Crossing a tile border paints exactly the one new column (6), from the changed map; it comes
    // into view at the next step, beside the columns buffered before the change.
    B::TilesetSetPosition(0, 41, 7);
    EXPECT_EQ(drawAndCompare(0, expected(m, 41, 7, false), "tiles_new_column_41_7"), 0);
    EXPECT_EQ(rec->get(B::kLayerFirstCol), 1);
    EXPECT_EQ(rec->get(B::kLayerLastCol), 6);
    B::TilesetSetPosition(0, 81, 7);
    std::vector<uint16_t> want = expected(m, 81, 7, false);
    const std::vector<uint16_t> fresh = expected(changed, 81, 7, false);
    for (int y = kAtY; y < kAtY + kViewH; ++y) {
        for (int x = kAtX + 6 * kTile - 81; x < kAtX + kViewW; ++x) want[y * kLandscapeW + x] = fresh[y * kLandscapeW + x];
    }
    EXPECT_EQ(drawAndCompare(0, want, "tiles_new_column_81_7"), 0);
}

TEST_F(TileLayerTest, LayerMinusOneDrawsEveryLayerInOrder) {
    Map back, front;
    for (size_t i = 0; i < front.ids.size(); ++i) front.ids[i] = i % 2 ? 0xFFFF : 4;
    Bsprite* tiles = loadTiles(true);
    B::TilesetLoadLayer(0, back.header(), back.tiles(), back.cellFlags(), tiles, false, 16, 0, 0);
    B::TilesetLoadLayer(3, front.header(), front.tiles(), front.cellFlags(), tiles, false, 16, 0, 0);
    B::TilesetSetPosition(0, 22, 33);
    B::TilesetSetPosition(3, 22, 33);
    std::vector<uint16_t> want = expected(back, 22, 33, false);
    const std::vector<uint16_t> over = expected(front, 22, 33, false);
    for (int y = 0; y < kViewH; ++y) {
        for (int x = 0; x < kViewW; ++x) {
            const int wx = 22 + x, wy = 33 + y, i = (kAtY + y) * kLandscapeW + kAtX + x;
            if (front.ids[(wy / kTile) * kCols + wx / kTile] != 0xFFFF) want[i] = over[i];
        }
    }
    EXPECT_EQ(drawAndCompare(-1, want, "tiles_all_layers"), 0);
}

}  // namespace
