// Actor painting and the race levels' frame caches over sprites built in code: frames rendered and
// cached at load (a frame too large for the work buffer left out), the scaled frame with its
// mirrors and key, the wheel's depth scale and image cache, the blinking title, and the scenery of
// an overdraw zone drawn over the hero. Two scenes are written as PNG files to the temp folder
// (paint_level.png, paint_wheel.png) for looking at.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actors/cactor.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "game/cgame.h"
#include "platform/graphics/landscape_view.h"
#include "platform/graphics/png_writer.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"
#include "tests/sprites/sprite_bytes.h"
#include "tests/support/actor_world.h"
#include "tools/sprite_writer.h"

namespace {

using Graphics = javax_microedition_lcdui_Graphics;

struct Block {
    int x, y, w, h;
    uint32_t colour;
};
using Frame = std::vector<Block>;

// One animation (or one per frame when `animPerFrame`) over frames of filled blocks.
Bsprite* blockSprite(const std::vector<Frame>& frames, bool animPerFrame = false) {
    tools::SpriteDefinition s;
    s.palettes = {{0xFF000000u}};
    tools::SpriteAnimation all;
    for (size_t f = 0; f < frames.size(); ++f) {
        tools::SpriteFrame fr;
        int x0 = 1 << 20, y0 = 1 << 20, x1 = -(1 << 20), y1 = -(1 << 20);
        for (const Block& b : frames[f]) {
            tools::SpriteModule m;
            m.kind = tools::ModuleKind::FillRect;
            m.colour = b.colour;
            m.w = b.w;
            m.h = b.h;
            fr.modules.push_back({static_cast<int>(s.modules.size()), b.x, b.y, 0});
            s.modules.push_back(m);
            x0 = std::min(x0, b.x), y0 = std::min(y0, b.y), x1 = std::max(x1, b.x + b.w), y1 = std::max(y1, b.y + b.h);
        }
        fr.rect = {x0, y0, x1 - x0, y1 - y0};
        fr.boxes = {{x0, y0, x1 - x0, y1 - y0}};
        s.frames.push_back(fr);
        if (animPerFrame) s.animations.push_back({{{static_cast<int>(f), 1, 0, 0, 0}}});
        else all.frames.push_back({static_cast<int>(f), 1, 0, 0, 0});
    }
    if (!animPerFrame) s.animations.push_back(all);
    std::string bytes, error;
    EXPECT_TRUE(tools::writeSprite(s, "test sprite", bytes, error)) << error;
    ByteArray* data = Runtime::newByteArray(static_cast<jint>(bytes.size()));
    if (!data) return nullptr;
    for (size_t i = 0; i < bytes.size(); ++i) data->set(static_cast<jint>(i), static_cast<jbyte>(bytes[i]));
    auto* sprite = Runtime::make<Bsprite>();
    return sprite && sprite->Load(data, 0) ? sprite : nullptr;
}

// A little figure: a body with a lighter head to one side, so mirroring shows.
Frame figure(int w, int h, uint32_t body, uint32_t head) {
    return {{-w / 2, -h, w, h, body}, {0, -h - h / 3, w / 2, h / 3, head}};
}

class ActorPaintTest : public ActorWorld {
protected:
    void SetUp() override {
        ActorWorld::SetUp();
        clearScreen(0);
        cGame::s_g = cGame::s_frameImage->getGraphics();
    }
    void TearDown() override {
        cGame::s_g = nullptr;
        ActorWorld::TearDown();
    }

    static void clearScreen(jint rgb) {
        Graphics* g = cGame::s_frameImage->getGraphics();
        g->setClip(0, 0, kScreenW, kScreenH);
        g->setColor(rgb);
        g->fillRect(0, 0, kScreenW, kScreenH);
    }
    static int changedPixels(uint16_t background) {
        int n = 0;
        for (int y = 0; y < kScreenH; ++y)
            for (int x = 0; x < kScreenW; ++x) n += pixel(x, y) != background;
        return n;
    }
    // Landscape pixel (x, y) of the portrait screen.
    static uint16_t at(int x, int y) { return pixel(kScreenW - 1 - y, x); }
    static uint16_t rgb565(uint32_t c) {
        return static_cast<uint16_t>(((c >> 8) & 0xF800) | ((c >> 5) & 0x07E0) | ((c >> 3) & 0x1F));
    }
    static void writePicture(const std::string& name) {
        std::vector<uint16_t> out(kScreenW * kScreenH);
        const Surface565 p = cGame::s_frameImage->pixels565();
        turnToLandscape(ConstSurface565{p.pixels, p.width, p.height, p.pitch}, Surface565{out.data(), kScreenH, kScreenW, kScreenH});
        EXPECT_TRUE(writePng565(::testing::TempDir() + name, ConstSurface565{out.data(), kScreenH, kScreenW, kScreenH}));
    }

    // An actor of `type` playing animation `anim` of the sprite, at (x, y) pixels.
    static cActor* actorOn(Bsprite* sprite, jint type, jint xPx, jint yPx, jint anim = 0) {
        auto* a = Runtime::make<cActor>();
        EXPECT_NE(a, nullptr);
        a->type = type;
        a->x = xPx << 8;
        a->y = yPx << 8;
        a->player = Runtime::make<BXLibPlayer>(sprite, 0, 0);
        a->player->SetAnim(anim, 0);
        return a;
    }
    static void setView(jint topPx) {
        cGame::s_viewRect->fill({0, topPx << 8, 1000 << 8, (topPx + 480) << 8});
    }
    static Object* cachedImage(jint frame, jint band) {
        return static_cast<ObjectArray*>(cActor::s_frameImages->get(frame))->get(band);
    }
    static int cachedImageCount() {
        int n = 0;
        for (jint f = 0; f < cActor::kFrameImageFrames; ++f)
            for (jint b = 0; b < cActor::kFrameImageBands; ++b) n += cachedImage(f, b) != nullptr;
        return n;
    }
};

TEST_F(ActorPaintTest, ScaledFrameDoublesHalvesMirrorsAndKeys) {
    // A 10 x 10 frame in cache A: pixel (x, y) = x + 16 y, the corner (0, 0) the key colour.
    constexpr jint kKey = 0xFF00FF;
    IntArray* pixels = Runtime::newIntArray(100);
    for (jint i = 0; i < 100; ++i) pixels->set(i, static_cast<jint>(0xFF000000u) | (i % 10 + 16 * (i / 10)));
    pixels->set(0, static_cast<jint>(0xFF000000u) | kKey);
    IntArray* info = Runtime::newIntArray(3);
    info->fill({kKey, 10, 10});
    cGame::s_cacheFramesA = Runtime::newObjectArray(CID_IntArray, 1);
    cGame::s_cacheInfoA = Runtime::newObjectArray(CID_IntArray, 1);
    cGame::s_cacheFramesA->set(0, pixels);
    cGame::s_cacheInfoA->set(0, info);
    auto src = [](jint x, jint y) {
        return x == 0 && y == 0 ? cGame::kTransparentKey : static_cast<jint>(0xFF000000u) | (x + 16 * y);
    };

    struct Case {
        const char* what;
        jint scale, flags, w, h;
        std::vector<std::array<jint, 4>> samples;   // out x, out y, source x, source y
    };
    const std::vector<Case> cases = {
        {"double size: pairs of columns and rows after the first", 512, 0, 20, 20,
         {{0, 0, 0, 0}, {1, 1, 1, 1}, {2, 2, 1, 1}, {5, 3, 3, 2}, {6, 4, 3, 2}, {18, 18, 9, 9}}},
        {"one to one, mirrored left to right", 256, 1, 10, 10, {{0, 0, 9, 0}, {9, 0, 0, 0}, {2, 7, 7, 7}}},
        {"one to one, mirrored top to bottom", 256, 2, 10, 10, {{0, 0, 0, 9}, {0, 9, 0, 0}, {3, 1, 3, 8}}},
        {"a quarter: 2.5 rounds to 3", 64, 0, 3, 3, {{0, 0, 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        IntArray* size = cGame::drawCachedFrameEffect(cGame::kCacheKindA, nullptr, 0, 0, 0, 0, c.flags, c.scale);
        ASSERT_NE(size, nullptr);
        EXPECT_EQ(size->get(0), c.w);
        EXPECT_EQ(size->get(1), c.h);
        for (const auto& [ox, oy, sx, sy] : c.samples)
            EXPECT_EQ(cGame::s_scaledFrame->get(oy * c.w + ox), src(sx, sy)) << ox << "," << oy;
    }
    // A side that rounds to nothing leaves nothing to draw.
    IntArray* tiny = cGame::drawCachedFrameEffect(cGame::kCacheKindA, nullptr, 0, 0, 0, 0, 0, 1);
    ASSERT_NE(tiny, nullptr);
    EXPECT_EQ(tiny->get(0), 0);
    // 203 x 203 pixels do not fit the scaled buffer (202 x 202 do); a frame the cache lacks is none.
    EXPECT_NE(cGame::drawCachedFrameEffect(cGame::kCacheKindA, nullptr, 0, 0, 0, 0, 0, 5160), nullptr);
    EXPECT_EQ(cGame::drawCachedFrameEffect(cGame::kCacheKindA, nullptr, 0, 0, 0, 0, 0, 5200), nullptr);
    EXPECT_EQ(cGame::drawCachedFrameEffect(cGame::kCacheKindA, nullptr, 0, 1, 0, 0, 0, 256), nullptr);
    EXPECT_EQ(cGame::drawCachedFrameEffect(cGame::kCacheKindB, nullptr, 0, 0, 0, 0, 0, 256), nullptr);
}

TEST_F(ActorPaintTest, LoadCachesEveryFrameThatFitsTheWorkBuffer) {
    // Frame 1 is 300 x 200 = 60000 pixels: more than the 40960 of the work buffer.
    constexpr uint32_t kBody = 0xFF3060C0u;
    Bsprite* cars = blockSprite({figure(20, 40, kBody, kBody), {{-150, -200, 300, 200, kBody}}, figure(10, 10, kBody, kBody)});
    ASSERT_NE(cars, nullptr);
    cGame::s_sprites->set(cGame::kCacheSpriteA, cars);
    Bsprite* wheels = blockSprite({figure(8, 8, kBody, kBody), figure(6, 6, kBody, kBody), figure(4, 4, kBody, kBody)},
                                  true);
    cGame::s_sprites->set(cGame::kCacheSpriteB, wheels);
    cGame::s_workBuffer = nullptr;   // made by the first frame rendered, not by a later load step
    cGame::buildFrameCaches();
    ASSERT_FALSE(Runtime::pending());
    ASSERT_NE(cGame::s_workBuffer, nullptr);

    auto info = [](ObjectArray* infos, jint f) { return static_cast<IntArray*>(infos->get(f)); };
    ASSERT_EQ(cGame::s_cacheInfoA->length, 3);
    // Kept as the portrait screen shows them: landscape height across.
    IntArray* first = info(cGame::s_cacheInfoA, 0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->get(1), 53);   // the body's 40 and the head's 13
    EXPECT_EQ(first->get(2), 20);
    EXPECT_EQ(info(cGame::s_cacheInfoA, 1), nullptr);
    EXPECT_EQ(cGame::s_cacheFramesA->get(1), nullptr);
    EXPECT_NE(info(cGame::s_cacheInfoA, 2), nullptr);
    EXPECT_EQ(cGame::drawCachedFrameEffect(cGame::kCacheKindA, nullptr, 0, 1, 0, 0, 0, 256), nullptr);
    // The head covers half the width: the rest of its rows is the key, turned transparent.
    IntArray* size = cGame::drawCachedFrameEffect(cGame::kCacheKindA, nullptr, 0, 0, 0, 0, 0, 256);
    ASSERT_NE(size, nullptr);
    int keyed = 0;
    for (jint i = 0; i < 53 * 20; ++i) keyed += cGame::s_scaledFrame->get(i) == cGame::kTransparentKey;
    EXPECT_EQ(keyed, 13 * 10);
    // Cache B: one animation per frame here, each with its one frame.
    for (jint anim = 0; anim < 3; ++anim) {
        SCOPED_TRACE(anim);
        auto* infos = static_cast<ObjectArray*>(cGame::s_cacheInfoB->get(anim));
        ASSERT_NE(infos, nullptr);
        ASSERT_EQ(infos->length, 1);
        EXPECT_NE(info(infos, 0), nullptr);
    }
    // A new level starts without them.
    cGame::clearFrameCaches();
    EXPECT_EQ(cGame::s_cacheFramesA, nullptr);
    EXPECT_EQ(cGame::drawCachedFrameEffect(cGame::kCacheKindA, nullptr, 0, 0, 0, 0, 0, 256), nullptr);
}

TEST_F(ActorPaintTest, WheelDrawsByDepthAndKeepsImagesPerFrameAndBand) {
    chooseLevel(1);
    ASSERT_TRUE(cGame::s_altPlayerLevel);
    setView(0);
    std::vector<Frame> frames;
    for (int f = 0; f < 7; ++f) frames.push_back(figure(30, 60, 0xFF2080E0u + 0x200000u * f, 0xFFF0E040u));
    Bsprite* cars = blockSprite(frames);
    cGame::s_sprites->set(cGame::kCacheSpriteA, cars);
    cGame::buildFrameCaches();
    cActor* car = actorOn(cars, 19, 100, 0);

    struct Case {
        const char* what;
        jint yPx, frame;
        bool drawn;
        int cachedAfter;      // images stored in the table afterwards
        jint band;            // where frame 0's image lands (-1: none)
    };
    const std::vector<Case> cases = {
        {"2 pixels below the top: scale 0, nothing", 2, 0, false, 0, -1},
        {"600 pixels below: scale 256, drawn unscaled", 600, 0, true, 0, -1},
        {"scale 27 stores band 1", 64, 0, true, 1, 1},
        {"scale 51 draws band 1's image", 120, 0, true, 1, 1},
        {"scale 52 is band 2", 122, 0, true, 2, 2},
        {"frame 4 is the table's last", 122, 4, true, 3, -1},
        {"frame 5 is past the table: drawn, not stored", 122, 5, true, 3, -1},
        {"frame 6 too", 300, 6, true, 3, -1},
    };
    Object* band1 = nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clearScreen(0);
        car->y = c.yPx << 8;
        car->player->SetFrame(c.frame);
        car->paint();
        ASSERT_FALSE(Runtime::pending());
        EXPECT_EQ(changedPixels(0) > 0, c.drawn);
        // Unscaled, the figure covers its 30 x 60 body and 15 x 20 head exactly.
        if (c.yPx == 600) {
            EXPECT_EQ(changedPixels(0), 30 * 60 + 15 * 20);
        }
        EXPECT_EQ(cachedImageCount(), c.cachedAfter);
        if (c.band >= 0) {
            EXPECT_NE(cachedImage(0, c.band), nullptr);
        }
        if (c.band == 1) {
            if (!band1) band1 = cachedImage(0, 1);
            EXPECT_EQ(cachedImage(0, 1), band1) << "the second scale of the band reuses the image";
        }
    }
    // Facing the other way draws the stored image mirrored: the head swaps sides on screen.
    auto headSide = [&](bool mirrored) {
        clearScreen(0);
        car->y = 300 << 8;
        car->player->SetFrame(0);
        car->setFlipped(mirrored);
        car->paint();
        jint sum = 0, n = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 800; ++x)
                if (at(x, y) == rgb565(0xF0E040)) sum += x, ++n;
        return n ? sum / n : -1;
    };
    const jint right = headSide(false), left = headSide(true);
    ASSERT_GT(right, 0);
    ASSERT_GT(left, 0);
    EXPECT_NE(right, left);
    // The next level's load drops the stored images with the caches they were made from.
    cActor::registerPaintServices();
    cGame::s_levelServices.clearFrameCaches();
    EXPECT_EQ(cachedImageCount(), 0);
    EXPECT_EQ(cGame::s_cacheFramesA, nullptr);
}

TEST_F(ActorPaintTest, TitleZoneBlinksInTheFirstHalfOfEveryTenFrames) {
    auto* zone = Runtime::make<cActor>();
    zone->type = 5;
    zone->params = Runtime::newShortArray(9);
    zone->params->set(8, 14);
    zone->state = 1;
    std::vector<jint> shown;
    for (jint frame = 0; frame < 20; ++frame) {
        cGame::s_frameCounter = frame;
        const jint before = cGame::s_titleFrames;
        zone->paint();
        if (cGame::s_titleFrames != before) shown.push_back(frame);
    }
    EXPECT_EQ(shown, (std::vector<jint>{0, 1, 2, 3, 4, 10, 11, 12, 13, 14}));
}

// The scenery for the ordinary level: 20 x 12 cells of 40 pixels. Layer 2 holds brick pillars
// (tile 1) in columns 6 and 7; layer 3 a ground of tile 2 in the last two rows; the sky is a fill.
void loadLayers(Bsprite* tiles) {
    BXLibPlayer::TilesetInit(800, 480, 40, 40);
    cGame::s_layerSprites = Runtime::newObjectArray(CID_Object, 5);
    for (jint layer : {2, 3}) {
        SpriteBytes header, ids, flags;
        header.u16(20).u16(12);
        for (int row = 0; row < 12; ++row) {
            for (int col = 0; col < 20; ++col) {
                uint32_t id = 0xFFFF;
                if (layer == 2 && (col == 6 || col == 7) && row < 10) id = 1;
                else if (row >= 10) id = 2;
                ids.u16(id);
                flags.u8(0);
            }
        }
        BXLibPlayer::TilesetLoadLayer(layer, header.array(), ids.array(), flags.array(), tiles, false, 16, 2, 2);
        BXLibPlayer::TilesetSetPosition(layer, 0, 0);
        cGame::s_layerSprites->set(layer, tiles);
    }
}

TEST_F(ActorPaintTest, SceneOfTileLayersActorsAndTheHeroBehindAnOverdrawZone) {
    Bsprite* tiles = blockSprite({{{0, 0, 40, 40, 0xFF6090D0u}},
                                  {{0, 0, 40, 40, 0xFF803020u}, {2, 2, 36, 17, 0xFFB05030u}, {2, 21, 36, 17, 0xFFB05030u}},
                                  {{0, 0, 40, 40, 0xFF406020u}, {0, 0, 40, 6, 0xFF60A030u}}});
    ASSERT_NE(tiles, nullptr);
    loadLayers(tiles);
    constexpr uint32_t kHero = 0xFFE0C020u, kFace = 0xFFFFFFFFu;
    Bsprite* people = blockSprite({figure(30, 80, kHero, kFace), figure(40, 50, 0xFFC02060u, 0xFF200000u)});
    // The hero stands half in front of the pillars, the enemy further on.
    cActor* hero = actorOn(people, 1, 240, 400);
    cActor* enemy = actorOn(people, 4, 500, 400);
    enemy->player->SetFrame(1);
    enemy->setFlipped(true);
    cGame::s_overdrawRect = Runtime::newIntArray(4);
    // Left, right, top, bottom: the pillars and a cell of open sky either side of them.
    cGame::s_overdrawRect->fill({200, 359, 0, 399});

    auto draw = [&](bool overdraw) {
        cGame::s_overdrawActive = overdraw ? 1 : 0;
        clearScreen(0x6090D0);
        BXLibPlayer::TilesetDraw(cGame::s_g, 0, 0, 2);
        BXLibPlayer::TilesetDraw(cGame::s_g, 0, 0, 3);
        for (cActor* a : {enemy, hero}) a->paint();
        ASSERT_FALSE(Runtime::pending());
    };
    draw(false);
    EXPECT_EQ(at(230, 370), rgb565(kHero)) << "the hero left of the zone";
    EXPECT_EQ(at(250, 370), rgb565(kHero)) << "the hero over the pillar without the zone";
    draw(true);
    writePicture("paint_level.png");
    EXPECT_EQ(at(230, 370), rgb565(kHero)) << "in the zone, where it has no scenery, the hero stays in front";
    EXPECT_EQ(at(250, 370), rgb565(0xB05030)) << "inside it the pillar covers the hero";
    EXPECT_EQ(at(500, 380), rgb565(0xC02060)) << "the enemy";
    EXPECT_EQ(at(100, 455), rgb565(0x406020)) << "the ground";
}

TEST_F(ActorPaintTest, SceneOfTheWheel) {
    chooseLevel(1);
    setView(0);
    std::vector<Frame> frames;
    for (int f = 0; f < 5; ++f) frames.push_back(figure(60, 100, 0xFF2080E0u + 0x300000u * f, 0xFFF0E040u));
    Bsprite* cars = blockSprite(frames);
    cGame::s_sprites->set(cGame::kCacheSpriteA, cars);
    Bsprite* rocks = blockSprite({{{-40, -40, 80, 80, 0xFF808080u}, {-30, -30, 30, 30, 0xFFB0B0B0u}}});
    cGame::buildFrameCaches();
    clearScreen(0x101830);
    // Rows of cars from the horizon down, spread round the wheel, every other one facing back. The
    // draw list of these levels runs by depth, far (near the top of the view) first.
    for (int row = 0; row < 6; ++row) {
        for (int k = 0; k < 4; ++k) {
            cActor* a = actorOn(cars, 19, -300 + 200 * k + 40 * row, 60 + 100 * row);
            a->player->SetFrame((row + k) % 5);
            a->setFlipped(k % 2 == 1);
            a->addToList(cActor::kListDraw);   // at once: the list keeps it from the collector
        }
    }
    actorOn(rocks, 40, 0, 350)->addToList(cActor::kListDraw);
    actorOn(cars, 19, 100, 650)->addToList(cActor::kListDraw);   // past scale 256: unscaled
    cActor::paintList(cActor::kListDraw);
    ASSERT_FALSE(Runtime::pending());
    writePicture("paint_wheel.png");
    EXPECT_GT(changedPixels(rgb565(0x101830)), 20000);
}

}  // namespace
