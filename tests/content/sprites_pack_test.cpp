// The sprites pack as the build made it, loaded and painted through the engine on a portrait
// screen: every touch button's drawn pixels are won by that button in its layout's hit order (boxes
// measured as the game measures them), the pad has no dead ring and a dead hub, every frame and
// animation frame paints something, and the review pictures (play screens, help pages, every
// frame) are written as PNG into $BRINDLEX_SPRITE_PNG_DIR, or the test's temp folder.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "platform/graphics/landscape_view.h"
#include "platform/graphics/png_writer.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "classlib/io/javax_microedition_io_resource_input_stream.h"
#include "runtime/heaps.h"
#include "sprites/bsprite.h"
#include "sprites/cgame_draw.h"
#include "tests/sprites/pack_fixture.h"
#include "tests/sprites/paint_sprite.h"

namespace {

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

constexpr jint kSpritesPack = 138;
constexpr jint kTouchItem = 40, kHudItem = 2;
constexpr int kScreenW = 480, kScreenH = 800;
constexpr uint16_t kBackdrop = 0xF81F;   // magenta: no sprite pixel comes out this colour

// The touch layouts' buttons {frame, landscape x, y} in hit order (layout 5 is layout 0's pad).
struct Button {
    jint frame, x, y;
};
struct Layout {
    int number;
    std::vector<Button> buttons;
};
const std::vector<Layout>& layouts() {
    static const std::vector<Layout> all = {
        {0, {{4, 150, 325}, {5, 150, 325}, {6, 150, 325}, {7, 150, 325}, {8, 150, 325}, {9, 150, 325},
             {10, 150, 325}, {11, 150, 325}, {12, 800, 480}, {13, 800, 480}}},
        {1, {{18, 0, 240}, {16, 800, 240}, {25, 0, 480}, {20, 800, 480}}},
        {2, {{18, 0, 240}, {16, 800, 240}, {14, 800, 480}}},
        {3, {{4, 150, 325}, {5, 150, 325}, {6, 150, 325}, {7, 150, 325}, {27, 800, 480}}},
        {4, {{22, 800, 480}}},
    };
    return all;
}

struct Box {
    jint minX, minY, maxX, maxY;
    // As the touch input tests a point: the border does not count.
    [[nodiscard]] bool holds(int x, int y) const { return x > minX && x < maxX && y > minY && y < maxY; }
    [[nodiscard]] bool onBorder(int x, int y) const {
        return x >= minX && x <= maxX && y >= minY && y <= maxY && !holds(x, y);
    }
};

class SpritesPackTest : public PackTest {
protected:
    void SetUp() override {
        PackTest::SetUp();
        ASSERT_TRUE(Runtime::initHeaps(8 << 20, 48 << 20));   // room for a screen and the sprites
        javax_microedition_io_ResourceInputStream::unloadArchiveIndex();   // it lived in the old heaps
        platform::setDataFile(BRINDLEX_DATA_BAR);
        loadPool();
        resetPaintStatics();
        cGameDraw::createDrawEffectParams();
        // The fixture lives outside the collector's view: the screen and its Graphics are roots.
        objectManager().addRoot(&m_held[0]);
        objectManager().addRoot(&m_held[1]);
        m_screen = Image::createImage(kScreenW, kScreenH);
        ASSERT_NE(m_screen, nullptr);
        m_held[0] = m_screen;
        m_g = m_screen->getGraphics();
        m_held[1] = m_g;
    }
    void TearDown() override {
        objectManager().removeRoot(&m_held[0]);
        objectManager().removeRoot(&m_held[1]);
        resetPaintStatics();
        PackTest::TearDown();
    }

    static Bsprite* load(jint item) {
        cGamePacks::packOpen(Runtime::ldcString(kSpritesPack));
        ByteArray* data = cGamePacks::packReadData(item);
        cGamePacks::packClose();
        auto* sprite = Runtime::make<Bsprite>();
        EXPECT_TRUE(data && sprite && sprite->Load(data, 0)) << "sprite " << item;
        return sprite;
    }

    void clear(uint32_t colour = 0xFF00FF) {
        m_g->setClip(0, 0, kScreenW, kScreenH);
        m_g->setColor(static_cast<jint>(colour));
        m_g->fillRect(0, 0, kScreenW, kScreenH);
    }
    [[nodiscard]] uint16_t pixel(int x, int y) const {
        const auto* p = static_cast<const uint16_t*>(m_screen->m_pixels->data);
        return p[y * (m_screen->m_stride / 2) + x];
    }
    // The screen points the last paint changed.
    [[nodiscard]] std::vector<std::pair<int, int>> drawn() const {
        std::vector<std::pair<int, int>> out;
        for (int y = 0; y < kScreenH; ++y)
            for (int x = 0; x < kScreenW; ++x)
                if (pixel(x, y) != kBackdrop) out.emplace_back(x, y);
        return out;
    }
    static Box measure(Bsprite* sprite, const Button& b) {
        IntArray* rect = Runtime::newIntArray(4);
        sprite->GetFrameRect(rect, b.frame, b.x, b.y, 0);
        return {rect->get(0), rect->get(1), rect->get(2), rect->get(3)};
    }
    // The screen as the upright landscape picture, written for review.
    void keep(const std::string& name) const {
        std::vector<uint16_t> picture(800 * 480);
        const Surface565 p = m_screen->pixels565();
        turnToLandscape(ConstSurface565{p.pixels, p.width, p.height, p.pitch}, Surface565{picture.data(), 800, 480, 800});
        const char* dir = std::getenv("BRINDLEX_SPRITE_PNG_DIR");
        const std::string path = (dir ? std::string(dir) : ::testing::TempDir()) + "/" + name + ".png";
        EXPECT_TRUE(writePng565(path, ConstSurface565{picture.data(), 800, 480, 800})) << path;
    }

    Image* m_screen = nullptr;
    Graphics* m_g = nullptr;
    Object* m_held[2] = {nullptr, nullptr};
};

TEST_F(SpritesPackTest, EachTouchButtonWinsItsOwnPixelsInItsLayoutsHitOrder) {
    Bsprite* touch = load(kTouchItem);
    ASSERT_GE(touch->GetFrameCount(), 28);
    for (const Layout& layout : layouts()) {
        std::vector<Box> boxes;
        for (const Button& b : layout.buttons) boxes.push_back(measure(touch, b));
        for (size_t i = 0; i < layout.buttons.size(); ++i) {
            const Button& b = layout.buttons[i];
            SCOPED_TRACE("layout " + std::to_string(layout.number) + ", frame " + std::to_string(b.frame));
            clear();
            touch->PaintFrame(m_g, b.frame, b.x, b.y, 0, 0, 0);
            const auto points = drawn();
            ASSERT_GT(points.size(), 500u);
            size_t own = 0, lost = 0;
            std::pair<int, int> firstLost{-1, -1};
            for (const auto& [x, y] : points) {
                size_t winner = boxes.size();
                for (size_t j = 0; j < boxes.size() && winner == boxes.size(); ++j)
                    if (boxes[j].holds(x, y)) winner = j;
                if (winner == i) ++own;
                // Only the button's own border may be out of every box.
                else if (!(winner == boxes.size() && boxes[i].onBorder(x, y)) && lost++ == 0) firstLost = {x, y};
            }
            EXPECT_EQ(lost, 0u) << "first at screen (" << firstLost.first << ", " << firstLost.second << ")";
            EXPECT_GT(own, points.size() * 95 / 100);
        }
    }

    // The idle pad of layout 0: its ring (outside the hub's reach) is all sectors, its hub none.
    std::vector<Box> pad;
    for (int k = 0; k < 8; ++k) pad.push_back(measure(touch, layouts()[0].buttons[static_cast<size_t>(k)]));
    clear();
    touch->PaintFrame(m_g, 0, 150, 325, 0, 0, 0);
    const int cx = 480 - 325, cy = 150;   // the anchor on the screen
    size_t ring = 0, dead = 0;
    for (const auto& [x, y] : drawn()) {
        const double d = std::hypot(x - cx, y - cy);
        if (d < 58 || d > 104) continue;
        ++ring;
        bool hit = false;
        for (const Box& b : pad) hit = hit || b.holds(x, y);
        dead += !hit;
    }
    EXPECT_GT(ring, 20000u);
    EXPECT_EQ(dead, 0u);
    for (const Box& b : pad) EXPECT_FALSE(b.holds(cx, cy) || b.holds(cx + 20, cy - 20));
}

// Every frame and every animation frame of the pack's sprites paints pixels where it is measured.
TEST_F(SpritesPackTest, EveryFrameAndAnimationFramePaints) {
    for (const jint item : {0, kHudItem, 7, 16, 18, 25, 33, kTouchItem}) {
        Bsprite* sprite = load(item);
        ASSERT_GT(sprite->GetFrameCount(), 0) << item;
        for (jint f = 0; f < sprite->GetFrameCount(); ++f) {
            clear();
            sprite->PaintFrame(m_g, f, 400, 240, 0, 0, 0);
            const Box box = measure(sprite, {f, 400, 240});
            size_t inside = 0;
            const auto points = drawn();
            for (const auto& [x, y] : points) inside += x >= box.minX && x < box.maxX && y >= box.minY && y < box.maxY;
            EXPECT_GT(points.size(), 30u) << "sprite " << item << " frame " << f;
            EXPECT_EQ(inside, points.size()) << "sprite " << item << " frame " << f;
        }
        for (jint a = 0; a < sprite->animCount; ++a) {
            ASSERT_GT(sprite->GetAFrames(a), 0) << "sprite " << item << " animation " << a;
            for (jint af = 0; af < sprite->GetAFrames(a); ++af) {
                clear();
                sprite->PaintAFrame(m_g, a, af, 400, 240, 0, 0, 0);
                EXPECT_GT(drawn().size(), 30u) << "sprite " << item << " animation " << a << " frame " << af;
            }
        }
    }
}

// The pictures to look at: the play screens with their touch buttons and heads-up display, the
// help pages' pictures at their places, and every frame of every sprite.
TEST_F(SpritesPackTest, ReviewPictures) {
    Bsprite* touch = load(kTouchItem);
    Bsprite* hud = load(kHudItem);
    Bsprite* pickups = load(7);
    Bsprite* race = load(16);
    Bsprite* puff = load(18);
    Bsprite* lift = load(25);
    Bsprite* lurker = load(33);

    // Font 1 with its char map, for the heads-up display's counts.
    cGamePacks::packOpen(Runtime::ldcString(134));
    Object* charMap = cGamePacks::packReadStream(0);
    Bsprite* font = cGamePacks::loadSpriteFlags(2, 1, false, false);
    cGamePacks::packClose();
    ASSERT_TRUE(font && charMap && charMap->classId() == CID_ShortArray);
    font->BuildCharMap(static_cast<ShortArray*>(charMap));
    auto count = [&](const char* text, jint x, jint y) {
        font->DrawString(m_g, String::fromCString(text), nullptr, x, y, 0, true);
    };

    // Layout 0 with the up-right sector and the strike button held; the hero's heads-up display.
    clear(0x5A8F4A);
    touch->PaintFrame(m_g, 0, 150, 325, 0, 0, 0);
    touch->PaintFrame(m_g, 2, 800, 480, 0, 0, 0);
    touch->PaintFrame(m_g, 10, 150, 325, 0, 0, 0);
    touch->PaintFrame(m_g, 13, 800, 480, 0, 0, 0);
    hud->PaintFrame(m_g, 0, 6, 30, 0, 0, 0);
    pickups->PaintAFrame(m_g, 1, 0, 233, 44, 0, 0, 0);
    hud->PaintFrame(m_g, 9, 340, 30, 0, 0, 0);
    count("x3", 116, 34);
    count("85%", 266, 34);
    count("x1,250", 400, 30);
    puff->PaintAFrame(m_g, 0, 0, 420, 300, 0, 0, 0);
    lift->PaintAFrame(m_g, 0, 0, 520, 260, 0, 0, 0);
    lurker->PaintAFrame(m_g, 0, 2, 330, 420, 0, 0, 0);
    keep("play_pad");

    // Layout 1, the race: the arrows, brake and shield (left held), the race display and gauge.
    clear(0x3C5A8C);
    for (const jint f : {18, 15, 24, 19}) {
        const Button& b = f == 18 ? Button{18, 0, 240} : f == 15 ? Button{15, 800, 240} : f == 24 ? Button{24, 0, 480} : Button{19, 800, 480};
        touch->PaintFrame(m_g, b.frame, b.x, b.y, 0, 0, 0);
    }
    hud->PaintFrame(m_g, 0, 6, 30, 0, 0, 0);
    pickups->PaintAFrame(m_g, 1, 0, 233, 44, 0, 0, 0);
    hud->PaintFrame(m_g, 16, 400, 30, 0, 0, 0);
    hud->PaintFrame(m_g, 17, 566, 30, 0, 0, 0);
    count("x3", 116, 34);
    count("100%", 266, 34);
    count("x27", 450, 34);
    count("x2", 616, 34);
    hud->PaintFrame(m_g, 20, 140, 70, 0, 0, 0);
    hud->PaintFrame(m_g, 19, 142 + 120, 110, 0, 0, 0);
    hud->PaintFrame(m_g, 18, 142 + 200, 110, 0, 0, 0);
    hud->PaintAFrame(m_g, 3, 2, 340, 130, 0, 0, 0);
    race->PaintAFrame(m_g, 0, 0, 300, 300, 0, 0, 0);
    race->PaintAFrame(m_g, 1, 0, 380, 300, 0, 0, 0);
    race->PaintAFrame(m_g, 2, 0, 460, 300, 0, 0, 0);
    keep("play_race");

    // Help pages 0 to 6, pictures only, as the help browser places them (black pages).
    struct Picture {
        Bsprite* sprite;
        jint anim;   // -1: a frame of the touch sprite
        jint index, x, y;
    };
    const std::vector<std::vector<Picture>> pages = {
        {{touch, -1, 0, 150, 230}},
        {{touch, -1, 12, 220, 330}, {touch, -1, 13, 318, 387}},
        {{pickups, 3, 0, 100, 120}, {pickups, 4, 0, 100, 300}},
        {{pickups, 1, 0, 100, 120}, {pickups, 2, 0, 100, 225}, {pickups, 0, 0, 100, 330}},
        {{race, 2, 0, 100, 135}, {race, 1, 0, 100, 325}},
        {{race, 0, 0, 100, 120}, {lift, 0, 0, 100, 333}},
        {{lurker, 0, 0, 100, 135}, {touch, -1, 24, 20, 385}},
    };
    clear(0x000000);
    for (size_t p = 0; p < pages.size(); ++p) {
        clear(0x000000);
        for (const Picture& pic : pages[p]) {
            if (pic.anim < 0) pic.sprite->PaintFrame(m_g, pic.index, pic.x, pic.y, 0, 0, 0);
            else pic.sprite->PaintAFrame(m_g, pic.anim, pic.index, pic.x, pic.y, 0, 0, 0);
        }
        // Where the page's texts start, so the pictures can be seen to keep clear of them.
        m_g->setColor(0x6F93C8);
        m_g->fillRect(0, p < 2 ? 283 : 200, 480, 1);
        keep("help_page_" + std::to_string(p));
    }

    // Every frame of every sprite, in cells as big as the sprite's biggest frame, each centred.
    for (const auto& [name, sprite] : std::vector<std::pair<std::string, Bsprite*>>{
             {"hud", hud}, {"pickups", pickups}, {"race_items", race}, {"puffball", puff}, {"lift", lift},
             {"lurker", lurker}, {"touch", touch}}) {
        // Measured on the screen: landscape x = screen y, landscape y = 480 - screen x.
        std::vector<Box> boxes;
        jint cellW = 1, cellH = 1;
        for (jint f = 0; f < sprite->GetFrameCount(); ++f) {
            boxes.push_back(measure(sprite, {f, 0, 0}));
            cellW = std::max(cellW, boxes.back().maxY - boxes.back().minY + 8);
            cellH = std::max(cellH, boxes.back().maxX - boxes.back().minX + 8);
        }
        const jint columns = std::max<jint>(1, 800 / cellW), perSheet = columns * std::max<jint>(1, 480 / cellH);
        for (jint first = 0; first < sprite->GetFrameCount(); first += perSheet) {
            clear(0x27406B);
            for (jint f = first; f < std::min(first + perSheet, sprite->GetFrameCount()); ++f) {
                const Box& b = boxes[static_cast<size_t>(f)];
                const jint w = b.maxY - b.minY, h = b.maxX - b.minX;
                const jint cellX = (f - first) % columns * cellW + cellW / 2, cellY = (f - first) / columns * cellH + cellH / 2;
                sprite->PaintFrame(m_g, f, cellX - b.minY - w / 2, cellY - (480 - b.maxX) - h / 2, 0, 0, 0);
            }
            keep("frames_" + name + "_" + std::to_string(first / perSheet));
        }
    }
}

}  // namespace
