// Painting sprites: where every frame-module lands for each caller flag (a recording sprite takes
// the PaintModule calls), the portrait turn and the measured rectangles, boxes, the draw-effect
// table, and golden pictures of a frame at the eight flag combinations and of the shapes and
// effects 10 and 11 (tests/fixtures/sprite_paint; BRINDLEX_UPDATE_GOLDEN=1 rewrites them).
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "platform/graphics/png_decoder.h"
#include "platform/graphics/png_writer.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/cgame_draw.h"
#include "tests/sprites/paint_sprite.h"
#include "tests/support/file_bytes.h"
#include "tests/support/test_world.h"

namespace {

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

// The landscape calls the recording sprite takes instead of drawing.
using Call = PaintCall;
std::vector<Call>& g_calls = recordedPaints();

class SpritePaintTest : public TestWorld {
protected:
    void SetUp() override {
        TestWorld::SetUp();
        g_calls.clear();
        cGameDraw::createDrawEffectParams();
    }
    static RecordingSprite* recorder() {
        auto* sprite = loadPaintSpriteAs<RecordingSprite>();
        EXPECT_NE(sprite, nullptr);
        g_calls.clear();
        return sprite;
    }
    static std::vector<jint> ints(IntArray* a) { return {a->elements(), a->elements() + a->length}; }
};

// The picture of a mutable image as RGB565 rows.
std::vector<uint16_t> pixels(Image* image) {
    const auto* p = static_cast<const uint16_t*>(image->m_pixels->data);
    std::vector<uint16_t> out;
    for (int y = 0; y < image->m_height; ++y)
        out.insert(out.end(), p + y * (image->m_stride / 2), p + y * (image->m_stride / 2) + image->m_width);
    return out;
}

// Compares the picture with its golden PNG (or rewrites the PNG when asked to).
void expectGolden(Image* image, const std::string& name) {
    std::vector<uint16_t> got = pixels(image);
    const std::string path = std::string(BRINDLEX_FIXTURES) + "/sprite_paint/" + name + ".png";
    const ConstSurface565 surface{got.data(), image->m_width, image->m_height, image->m_width};
    if (std::getenv("BRINDLEX_UPDATE_GOLDEN")) {
        ASSERT_TRUE(writePng565(path, surface));
        return;
    }
    const std::vector<uint8_t> png = readFile(path.c_str());
    ASSERT_FALSE(png.empty()) << path;
    std::vector<uint16_t> want(got.size());
    ASSERT_TRUE(decodePng(png.data(), png.size(), 0, want.data(), image->m_width, image->m_height, image->m_width));
    if (got != want) {
        const std::string seen = ::testing::TempDir() + name + "_got.png";
        (void)writePng565(seen, surface);
        ADD_FAILURE() << name << " differs from " << path << "; the picture drawn is " << seen;
    }
}

Image* blackImage(int w, int h, Graphics** g) {
    Image* image = Image::createImage(w, h);
    *g = image->getGraphics();
    (*g)->setColor(0x000000);
    (*g)->fillRect(0, 0, w, h);
    return image;
}

TEST_F(SpritePaintTest, FrameModulesLandByTheCallersFlags) {
    RecordingSprite* s = recorder();
    ASSERT_NE(s, nullptr);
    struct Case {
        const char* what;
        jint frame, flags, scale;   // scale: effect 11's percentage, 0 = off
        std::vector<Call> expected;
    };
    const Case cases[] = {
        {"as stored", 0, 0, 0, {{0, 101, 202, 0}}},
        {"flip x keeps the extent: x - (w + ox)", 0, 1, 0, {{0, 95, 202, 1}}},
        {"flip y: y - (h + oy)", 0, 2, 0, {{0, 101, 196, 2}}},
        {"both flips are a half turn: stored 0 becomes 3", 0, 3, 0, {{0, 95, 196, 3}}},
        {"a quarter turn: (-(h + oy), ox)", 0, 4, 0, {{0, 96, 201, 4}}},
        {"flip x then turn", 0, 5, 0, {{0, 96, 195, 5}}},
        {"flip y then turn", 0, 6, 0, {{0, 102, 201, 6}}},
        {"all three", 0, 7, 0, {{0, 102, 195, 7}}},
        {"a turned module: w and h exchanged; turn on turn is a half turn", 1, 4, 0,
         {{1, 98, 197, 5}, {0, 96, 204, 3}}},
        {"a stored flip meets the caller's flip", 1, 1, 0, {{1, 97, 199, 0}, {0, 94, 200, 6}}},
        {"effect 11 at 50 truncates towards zero: -3 becomes -1", 1, 0, 50, {{1, 99, 200, 1}, {0, 102, 200, 4}}},
        {"effect 11 after a flip: -5 becomes -2", 0, 1, 50, {{0, 98, 201, 1}}},
        {"a frame with no modules", 2, 0, 0, {}},
        {"a frame past the table", 6, 0, 0, {}},
        {"a negative frame", -1, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_calls.clear();
        cGameDraw::s_drawEffects = 0;
        if (c.scale) {
            cGameDraw::setDrawEffect(cGameDraw::kEffectScale, false);
            cGameDraw::setDrawEffectParam(cGameDraw::kEffectScale, 1, c.scale);
        }
        s->PaintFrame(nullptr, c.frame, 100, 200, c.flags, 0, 0);
        EXPECT_EQ(g_calls, c.expected);
    }
    g_calls.clear();
    s->PaintFModule(nullptr, 1, 2, 0, 0, 0);
    s->PaintFModule(nullptr, 1, -1, 0, 0, 0);
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(SpritePaintTest, AnimationFramesMirrorAboutTheirOrigin) {
    RecordingSprite* s = recorder();
    ASSERT_NE(s, nullptr);
    struct Case {
        const char* what;
        jint anim, aframe, flags;
        std::vector<Call> expected;
    };
    const Case cases[] = {
        {"stored flip x on the animation frame", 0, 1, 0, {{1, 102, 197, 0}, {0, 99, 198, 6}}},
        {"the caller's flip undoes it; the offset is negated without the size", 0, 1, 1,
         {{1, 92, 197, 1}, {0, 99, 198, 4}}},
        {"a quarter turn: (-oy, ox)", 2, 0, 4, {{0, 92, 204, 4}}},
        {"an empty animation", 1, 0, 0, {}},
        {"an animation frame past the animation", 0, 2, 0, {}},
        {"an animation past the table", 4, 0, 0, {}},
        {"a negative animation", -1, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_calls.clear();
        s->PaintAFrame(nullptr, c.anim, c.aframe, 100, 200, c.flags, 0, 0);
        EXPECT_EQ(g_calls, c.expected);
    }
}

TEST_F(SpritePaintTest, MeasuringFollowsThePortraitTurn) {
    Bsprite* s = loadPaintSprite();
    ASSERT_NE(s, nullptr);
    IntArray* rect = Runtime::newIntArray(4);
    const jint kMin = INT_MAX, kMax = INT_MIN;
    struct Case {
        const char* what;
        jint frame, x, y, flags;
        std::vector<jint> expected;
    };
    const Case cases[] = {
        // Module 7 is 10 x 20: at landscape (100, 30) it lands at portrait (430, 100), 20 wide.
        {"height 20 at (100, 30) lands at (430, 100)", 5, 100, 30, 0, {430, 100, 454, 116}},
        {"a 4 x 2 module at (1, 2)", 0, 0, 0, 0, {476, 1, 478, 5}},
        {"turned by the caller", 0, 0, 0, 4, {475, -4, 479, -2}},
        {"an empty module still counts", 3, 0, 0, 0, {475, 2, 478, 5}},
        {"no modules: the start values", 2, 0, 0, 0, {kMin, kMin, kMax, kMax}},
        {"a frame past the table: the start values", 9, 0, 0, 0, {kMin, kMin, kMax, kMax}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        s->GetFrameRect(rect, c.frame, c.x, c.y, c.flags);
        EXPECT_EQ(ints(rect), c.expected);
    }
    EXPECT_EQ(ASprite::s_measuring, 0);
    s->GetAFrameRect(rect, 2, 0, 0, 0, 0);   // frame 0 moved by (3, 4)
    EXPECT_EQ(ints(rect), (std::vector<jint>{472, 4, 474, 8}));

    // Flag 0x1000: the rectangles were computed at load, {minX, minY, w, h} (16-bit: 476 is no
    // byte); a frame without modules has {0, 0, 0, 0}.
    const std::vector<std::vector<jint>> frames = {{476, 1, 2, 4}, {0, 0, 0, 0}, {475, 2, 3, 3}};
    for (jint f : {0, 2, 3}) {
        const std::vector<jint> want = frames[f == 0 ? 0 : f == 2 ? 1 : 2];
        EXPECT_EQ((std::vector<jint>{s->GetFrameX(f), s->GetFrameY(f), s->GetFrameWidth(f), s->GetFrameHeight(f)}),
                  want)
            << "frame " << f;
    }
    EXPECT_EQ(s->GetFrameWidth(99), 0);
}

TEST_F(SpritePaintTest, BoxesAndAccessors) {
    Bsprite* s = loadPaintSprite();
    ASSERT_NE(s, nullptr);
    IntArray* box = Runtime::newIntArray(4);
    struct Case {
        const char* what;
        jint frame, item, flags;
        std::vector<jint> expected;
    };
    const Case cases[] = {
        {"as stored", 0, 0, 0, {-2, 3, 10, 20}},
        {"flip x: -(w + x)", 0, 0, 1, {-8, 3, 10, 20}},
        {"flip y: -(h + y)", 0, 0, 2, {-2, -23, 10, 20}},
        {"an item beyond the frame's boxes", 0, 1, 0, {0, 0, 0, 0}},
        {"the second box of frame 1", 1, 1, 0, {-1, -1, 2, 2}},
        {"a frame without boxes", 2, 0, 0, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        s->GetFrameBox(c.frame, c.item, box, c.flags);
        EXPECT_EQ(ints(box), c.expected);
    }
    // Animation frame 1: frame 1 with stored flip x, offsets (5, -2) added unmirrored.
    s->GetAFrameBox(0, 1, 0, box, 0, true);
    EXPECT_EQ(ints(box), (std::vector<jint>{1, -2, 4, 4}));
    s->GetAFrameBoxNoOffsets(0, 1, 0, box, 1);
    EXPECT_EQ(ints(box), (std::vector<jint>{0, 0, 4, 4}));

    EXPECT_EQ(s->GetFrameCount(), 6);
    EXPECT_EQ(s->GetFModules(1), 2);
    EXPECT_EQ(s->GetFModules(6), 0);
    EXPECT_EQ(s->GetAFrames(0), 2);
    EXPECT_EQ(s->GetAFrames(1), 0);
    EXPECT_EQ(s->GetAFrames(3), 3);
    EXPECT_EQ(s->GetAFrames(4), 0);
    EXPECT_EQ(s->GetAFrameTime(0, 1), 2);
    EXPECT_EQ(s->GetAFrameTime(0, 2), 0);
    EXPECT_EQ(s->GetModuleWidth(7), 10);
    EXPECT_EQ(s->GetModuleHeight(7), 20);
    EXPECT_EQ(s->GetFrameModule(1, 1), 0);
    EXPECT_EQ(s->GetFrameModuleX(1, 0), -3);
    EXPECT_EQ(s->GetFrameModuleY(5, 1), -4);
    EXPECT_EQ(s->GetAFrameX(1), 5);
    EXPECT_EQ(s->GetAFrameY(1), -2);
    s->GetModuleRect(box, 7, 3, 4, 4);
    EXPECT_EQ(ints(box), (std::vector<jint>{3, 4, 23, 14}));
}

TEST_F(SpritePaintTest, DrawEffectTableHasTheGamesDefaults) {
    EXPECT_EQ(cGameDraw::drawEffectParam(11, 0, 0), -1);
    EXPECT_EQ(cGameDraw::drawEffectParam(11, 1, 0), 100);
    EXPECT_EQ(cGameDraw::drawEffectParam(11, 2, 0), -1);
    EXPECT_EQ(cGameDraw::drawEffectParam(10, 1, 0), 255);
    EXPECT_EQ(cGameDraw::drawEffectParam(8, 3, 0), 0xFFFFFF);
    EXPECT_EQ(cGameDraw::drawEffectParam(9, 14, 0), 3);
    EXPECT_EQ(cGameDraw::drawEffectParam(12, 0, 77), 77);   // outside the table: the fallback

    cGameDraw::setDrawEffect(3, false);
    cGameDraw::setDrawEffect(11, false);
    EXPECT_TRUE(cGameDraw::hasDrawEffect(3));
    EXPECT_TRUE(cGameDraw::hasDrawEffect(11));
    EXPECT_EQ(cGameDraw::s_usedFrameEffects, 8);
    EXPECT_FALSE(cGameDraw::hasDrawEffect(32));
    cGameDraw::setDrawEffect(40, false);
    EXPECT_EQ(cGameDraw::s_drawEffects, 0x808);
    cGameDraw::s_effectsEnabled = 0;
    cGameDraw::setDrawEffect(0, false);   // bits of 0x27F go again while effects are off
    EXPECT_EQ(cGameDraw::s_drawEffects, 0x800);
    cGameDraw::setDrawEffectParam(10, 1, 7);
    cGameDraw::setDrawEffect(10, true);
    EXPECT_EQ(cGameDraw::drawEffectParam(10, 1, 0), 255);
}

TEST_F(SpritePaintTest, GoldenFrameAtTheEightFlagCombinations) {
    Bsprite* s = loadPaintSprite();
    ASSERT_NE(s, nullptr);
    Graphics* g = nullptr;
    Image* image = blackImage(120, 200, &g);
    // Landscape x runs down the portrait picture, landscape y leftwards from its right edge (480).
    for (jint flags = 0; flags < 8; ++flags) {
        s->PaintFrame(g, 5, 20 + 45 * (flags % 4), 380 + 45 * (flags / 4), flags, 0, 0);
    }
    expectGolden(image, "frame_flags");
}

TEST_F(SpritePaintTest, GoldenShapesAndEffects) {
    Bsprite* s = loadPaintSprite();
    ASSERT_NE(s, nullptr);
    Graphics* g = nullptr;
    Image* image = blackImage(120, 200, &g);
    cGameDraw::s_g = g;
    // Shapes: translucent tile, outline, arc, triangle; then turned.
    s->PaintFrame(g, 4, 10, 420, 0, 0, 0);
    s->PaintFrame(g, 4, 50, 420, 4, 0, 0);
    s->PaintFrame(g, 4, 90, 420, 3, 0, 0);
    // Effect 10 (alpha 96) on shapes and the image frame.
    cGameDraw::setDrawEffect(cGameDraw::kEffectAlpha, false);
    cGameDraw::setDrawEffectParam(cGameDraw::kEffectAlpha, 1, 96);
    s->PaintFrame(g, 4, 130, 420, 0, 0, 0);
    s->PaintFrame(g, 5, 170, 420, 0, 0, 0);
    cGameDraw::s_drawEffects = 0;
    // Effect 11: twice the size, and half with alpha 160 (parameter 2).
    cGameDraw::setDrawEffect(cGameDraw::kEffectScale, false);
    cGameDraw::setDrawEffectParam(cGameDraw::kEffectScale, 1, 200);
    s->PaintFrame(g, 5, 10, 370, 0, 0, 0);
    cGameDraw::setDrawEffectParam(cGameDraw::kEffectScale, 1, 50);
    cGameDraw::setDrawEffectParam(cGameDraw::kEffectScale, 2, 160);
    s->PaintFrame(g, 5, 70, 370, 1, 0, 0);
    cGameDraw::s_drawEffects = 0;
    s->PaintFrame(g, 5, 120, 370, 0, 0, 0);
    expectGolden(image, "shapes_effects");
}

TEST_F(SpritePaintTest, OutOfRangeAndExtremePaintsDrawNothing) {
    Bsprite* s = loadPaintSprite();
    ASSERT_NE(s, nullptr);
    Graphics* g = nullptr;
    Image* image = blackImage(64, 64, &g);
    const std::vector<uint16_t> before = pixels(image);
    s->PaintFrame(g, 6, 0, 440, 0, 0, 0);
    s->PaintFrame(g, -7, 0, 440, 0, 0, 0);
    s->PaintAFrame(g, 1, 0, 0, 440, 0, 0, 0);
    s->PaintAFrame(g, 0, 5, 0, 440, 0, 0, 0);
    s->PaintModule(g, 8, 0, 440, 0);
    s->PaintModule(g, -1, 0, 440, 0);
    s->PaintModuleScreen(g, 1000, 0, 0, 0);
    // A module map that names a module the sprite lacks.
    ShortArray* map = Runtime::newShortArray(8);
    for (jint i = 0; i < 8; ++i) map->set(i, 99);
    s->moduleMaps->set(0, map);
    s->SetModuleMap(0);
    s->PaintModule(g, 7, 0, 440, 0);
    s->SetModuleMap(-1);
    // Positions at the ends of the int range: worked in 64 bits, nothing wraps onto the picture.
    for (jint y : {INT_MIN, INT_MIN + 10, INT_MAX - 10, INT_MAX}) {
        for (jint x : {INT_MIN, -30, INT_MAX}) {
            s->PaintFrame(g, 5, x, y, 0, 0, 0);
            s->PaintModuleScreen(g, 7, y, x, 0);
            s->PaintModuleScreen(g, 1, y, x, 0);
        }
    }
    // Effect 11 with sizes whose output would be below one pixel or wider than the buffer.
    cGameDraw::setDrawEffect(cGameDraw::kEffectScale, false);
    for (jint percent : {-500, -10, 1000000, INT_MAX}) {
        SCOPED_TRACE(percent);
        cGameDraw::setDrawEffectParam(cGameDraw::kEffectScale, 1, percent);
        s->PaintModuleScreen(g, 7, 0, 0, 0);
    }
    EXPECT_EQ(pixels(image), before);
    // A scale that fits the buffer still draws.
    cGameDraw::setDrawEffectParam(cGameDraw::kEffectScale, 1, 150);
    s->PaintModuleScreen(g, 7, 0, 0, 0);
    EXPECT_NE(pixels(image), before);
}

TEST_F(SpritePaintTest, TiledFillKeepsTheClipAndOutlineDrawsFourSides) {
    Graphics* g = nullptr;
    Image* image = blackImage(40, 20, &g);
    g->setClip(2, 1, 30, 15);
    cGameDraw::getColorTile(static_cast<jint>(0xFFFFFFFF));
    cGameDraw::fillRectWithTile(g, -5, 3, 20, 25);
    EXPECT_EQ((std::vector<jint>{g->getClipX(), g->getClipY(), g->getClipWidth(), g->getClipHeight()}),
              (std::vector<jint>{2, 1, 30, 15}));
    const std::vector<uint16_t> p = pixels(image);
    auto at = [&](int x, int y) { return p[static_cast<size_t>(y) * 40 + x]; };
    EXPECT_EQ(at(2, 3), 0xFFFF);
    EXPECT_EQ(at(14, 15), 0xFFFF);
    EXPECT_EQ(at(1, 3), 0);    // left of the clip
    EXPECT_EQ(at(15, 3), 0);   // right of the rectangle
    EXPECT_EQ(at(5, 16), 0);   // below the clip
    EXPECT_EQ(at(5, 2), 0);    // above the rectangle

    g->setClip(0, 0, 40, 20);
    cGameDraw::drawRectOutline(g, 20, 2, 10, 6, static_cast<jint>(0xFFFFFFFF));
    const std::vector<uint16_t> q = pixels(image);
    auto lit = [&](int x, int y) { return q[static_cast<size_t>(y) * 40 + x] != 0; };
    EXPECT_TRUE(lit(25, 2));    // top
    EXPECT_TRUE(lit(20, 5));    // left
    EXPECT_TRUE(lit(30, 5));    // right
    EXPECT_TRUE(lit(25, 8));    // bottom
    EXPECT_FALSE(lit(25, 5));   // inside
}

TEST_F(SpritePaintTest, PixelEffectsOfTheBlitter) {
    Graphics* g = nullptr;
    Image* frame = blackImage(16, 16, &g);
    g->setColor(0x404040);
    g->fillRect(0, 0, 16, 16);
    cGameDraw::s_frameImage = frame;   // read back by effects 5 and 6
    IntArray* probe = Runtime::newIntArray(1);
    frame->getRGB(probe, 0, 1, 0, 0, 1, 1);
    const uint32_t frameColour = static_cast<uint32_t>(probe->get(0));
    ASSERT_EQ(frameColour & 0xF0F0F0, 0x404040u);
    IntArray* src = Runtime::newIntArray(4);
    const uint32_t in[4] = {0xFF204060, 0x80FF10FF, 0xFF303030, 0x00FF00FF};
    for (jint i = 0; i < 4; ++i) src->set(i, static_cast<jint>(in[i]));
    struct Case {
        const char* what;
        jint effect;
        std::vector<std::pair<jint, jint>> params;   // {index, value}
        bool processAlpha;
        std::vector<uint32_t> expected;   // empty: the source itself comes back
    };
    const Case cases[] = {
        {"10: alpha replaced, colours kept", 10, {{1, 0x90}}, false,
         {0x90204060, 0x90FF10FF, 0x90303030, 0x90FF00FF}},
        {"10 with the colour key and a clamped alpha", 10, {{1, 300}}, true,
         {0xFF204060, 0xFFFF10FF, 0xFF303030, 0}},
        {"10 scaling the pixels' alpha (mode 2)", 10, {{0, 2}, {1, 128}}, false,
         {0x7F204060, 0x40FF10FF, 0x7F303030, 0x00FF00FF}},
        {"7: halfway to the grey of red", 7, {{1, -1}, {2, 128}}, false,
         {0xFF203040, 0x80FF87FF, 0xFF303030, 0x00FF7FFF}},
        {"7 at factor 255 leaves the pixels", 7, {{1, -1}, {2, 255}}, false, {}},
        {"7 grey with alpha; the key drops any green", 7, {{1, 200}}, true,
         {0xC8202020, 0, 0xC8303030, 0}},
        {"11 at 100 percent without alpha: the pixels themselves", 11, {}, false, {}},
        {"5: channels summed with the frame, capped, alpha 0", 5, {}, false, {1}},
        {"6: d + d x s / 64, capped, alpha 0", 6, {}, false, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cGameDraw::createDrawEffectParams();
        for (const auto& [i, v] : c.params) cGameDraw::setDrawEffectParam(c.effect, i, v);
        cGameDraw::s_drawEffects = 1 << c.effect;
        IntArray* out = cGameDraw::drawRGBWithEffects(g, src, 2, 3, 4, 1, 0, c.processAlpha, false);
        ASSERT_NE(out, nullptr);
        if (c.expected.empty()) {
            EXPECT_EQ(out, src);
            continue;
        }
        EXPECT_NE(out, src);
        std::vector<uint32_t> got;
        for (jint i = 0; i < 4; ++i) got.push_back(static_cast<uint32_t>(out->get(i)));
        if (c.effect == 5 || c.effect == 6) {
            // Over the frame as read back (0x404040 through RGB565).
            std::vector<uint32_t> want;
            for (uint32_t p : in) {
                uint32_t o = 0;
                for (int sh : {16, 8, 0}) {
                    const uint32_t d = (frameColour >> sh) & 0xFF, v = (p >> sh) & 0xFF;
                    o |= std::min<uint32_t>(c.effect == 5 ? d + v : d + (d * v >> 6), 255) << sh;
                }
                want.push_back(o);
            }
            EXPECT_EQ(got, want);
        } else {
            EXPECT_EQ(got, c.expected);
        }
    }

    // Effect 8: a band over columns 1..4 of an 8-wide block, brightest at its centre, none where the
    // source is transparent; the source itself is drawn first.
    IntArray* wide = Runtime::newIntArray(8);
    for (jint i = 0; i < 8; ++i) wide->set(i, static_cast<jint>(i == 3 ? 0x00FFFFFF : 0xFF102030));
    cGameDraw::createDrawEffectParams();
    cGameDraw::setDrawEffectParam(8, 1, 0);
    cGameDraw::setDrawEffectParam(8, 2, 6);
    cGameDraw::s_drawEffects = 1 << 8;
    IntArray* band = cGameDraw::drawRGBWithEffects(g, wide, 0, 0, 8, 1, 0, false, false);
    ASSERT_NE(band, nullptr);
    std::vector<uint32_t> alphas;
    for (jint i = 0; i < 8; ++i) alphas.push_back(static_cast<uint32_t>(band->get(i)) >> 24);
    EXPECT_EQ(alphas, (std::vector<uint32_t>{0, 85, 170, 0, 170, 85, 0, 0}));
    EXPECT_EQ(static_cast<uint32_t>(band->get(1)) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(cGameDraw::s_resultProcessAlpha, 1);
}

}  // namespace

// 260 empty modules and 260 frames: frame-module 0 names module 3 + (0x40 << 2) = 259, frame-module
// 1 module 3; frame f uses frame-module 0 when f is 3, else 1; animation frame 0 names frame
// 3 + 256 = 259, animation frame 1 frame 3.
SpriteBytes wideIndexSpriteBytes() {
    SpriteBytes s;
    s.u16(0xBEEF).u32(0x1000);
    s.u16(260);
    for (int m = 0; m < 260; ++m) s.u8(0xFD).u8(2).u8(2);
    s.u16(2);
    s.u8(3).u8(0).u8(0).u8(0x40);
    s.u8(3).u8(0).u8(0).u8(0);
    s.u16(260);
    for (int f = 0; f < 260; ++f) s.u8(1).u8(0).u16(f == 3 ? 0 : 1);
    s.u16(2);
    s.u8(3).u8(1).u8(0).u8(0).u8(0x40);
    s.u8(3).u8(1).u8(0).u8(0).u8(0);
    s.u16(1);
    s.u8(2).u8(0).u16(0);
    return s;
}

TEST_F(SpritePaintTest, ModuleAndFrameNumbersPast255TakeTheirHighBitsFromTheFlags) {
    auto* s = Runtime::make<RecordingSprite>();
    ASSERT_TRUE(s->Load(wideIndexSpriteBytes().array(), 0));
    g_calls.clear();
    s->PaintFrame(nullptr, 3, 0, 0, 0, 0, 0);
    s->PaintFrame(nullptr, 259, 0, 0, 0, 0, 0);
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[0].module, 259);
    EXPECT_EQ(g_calls[1].module, 3);
    EXPECT_EQ(s->GetFrameModule(3, 0), 259);

    g_calls.clear();
    s->PaintAFrame(nullptr, 0, 0, 0, 0, 0, 0, 0);   // frame 259: its module is 3
    s->PaintAFrame(nullptr, 0, 1, 0, 0, 0, 0, 0);   // frame 3: module 259
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[0].module, 3);
    EXPECT_EQ(g_calls[1].module, 259);
}

// The cached-Image road turns a module through the drawRegion transform table, the ARGB road through
// its own pixel transform: both must give the same picture for every flag combination.
TEST_F(SpritePaintTest, CachedImageAndArgbRoadsDrawEveryFlagAlike) {
    ASprite::InitCachePools(1);
    ASprite::InitCachePool(0, 16);
    Bsprite* viaImage = loadPaintSprite();
    Bsprite* viaArgb = loadPaintSprite();
    ASSERT_NE(viaImage, nullptr);
    ASSERT_NE(viaArgb, nullptr);
    viaImage->SetCachePool(0);
    Bsprite::SetNoCacheFlag(viaArgb, true);
    Graphics* imageG = nullptr;
    Graphics* argbG = nullptr;
    Image* imagePicture = blackImage(120, 200, &imageG);
    Image* argbPicture = blackImage(120, 200, &argbG);
    for (jint flags = 0; flags < 8; ++flags) {
        const jint x = 10 + 45 * (flags % 4), y = 380 + 45 * (flags / 4);
        // Twice on the Image road: the paint that makes the Image and the one that finds it cached.
        viaImage->PaintModule(imageG, 7, x, y, flags);
        viaImage->PaintModule(imageG, 7, x, y, flags);
        viaArgb->PaintModule(argbG, 7, x, y, flags);
    }
    EXPECT_NE(viaImage->GetModuleImage(7, 0), nullptr);
    EXPECT_EQ(pixels(imagePicture), pixels(argbPicture));
}

// A module is culled only when it lies wholly outside the clip; one that touches the clip's edge
// goes on to the cache (and so is cached for its next paint).
TEST_F(SpritePaintTest, ClipCullKeepsModulesThatTouchTheClipEdge) {
    ASprite::InitCachePools(1);
    ASprite::InitCachePool(0, 16);
    Bsprite* s = loadPaintSprite();
    ASSERT_NE(s, nullptr);
    s->SetCachePool(0);
    Graphics* g = nullptr;
    blackImage(300, 300, &g);
    g->setClip(50, 60, 100, 100);   // module 7 is 10 x 20
    struct Case {
        jint X, Y;
        bool kept;
    };
    const Case cases[] = {{40, 100, true},  {39, 100, false}, {149, 100, true}, {150, 100, false},
                          {100, 40, true},  {100, 39, false}, {100, 159, true}, {100, 160, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.X << ", " << c.Y);
        s->ClearCacheEntry(0, 7);
        s->PaintModuleScreen(g, 7, c.X, c.Y, 0);
        EXPECT_EQ(s->IsModuleCached(7, 0), c.kept);
    }
}

// Module Images are cached turned: every flag combination draws from the cache the pixels the
// module's own Image draws with that combination's transform, keyed or translucent, with and
// without a pixel effect (effect 10, which reads the module back the way round it is).
TEST_F(SpritePaintTest, TurnedModuleCacheDrawsAsTheModulesOwnImage) {
    struct Case {
        const char* what;
        jint paletteAlpha;  // for the visible colours; 0xFF leaves them opaque (a keyed Image)
        bool alphaEffect;
    };
    const Case cases[] = {{"keyed", 0xFF, false}, {"translucent", 0x80, false}, {"keyed, effect 10", 0xFF, true}};
    constexpr jint kModule = 7, kW = 10, kH = 20;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bsprite* s = loadPaintSprite();
        ASSERT_NE(s, nullptr);
        if (c.paletteAlpha != 0xFF) s->SetPaletteAlpha(0, c.paletteAlpha, true, false);
        s->BuildModuleCache(0, kModule, kModule, -1);
        IntArray* exact = Runtime::newIntArray(kW * kH);
        IntArray* decoded = s->DecodeModule(kModule);
        ASSERT_NE(decoded, nullptr);
        std::copy_n(decoded->elements(), kW * kH, exact->elements());
        Image* own = Image::createRGBImage(exact, kW, kH, true);
        for (jint flags = 0; flags < 8; ++flags) {
            SCOPED_TRACE(testing::Message() << "flags " << flags);
            Graphics* g = nullptr;
            Graphics* expected = nullptr;
            Image* drawn = blackImage(40, 40, &g);
            Image* reference = blackImage(40, 40, &expected);
            g->setColor(0x406080);
            g->fillRect(0, 0, 20, 40);
            expected->setColor(0x406080);
            expected->fillRect(0, 0, 20, 40);
            if (c.alphaEffect) {
                cGameDraw::setDrawEffect(cGameDraw::kEffectAlpha, false);
                cGameDraw::setDrawEffectParam(cGameDraw::kEffectAlpha, 1, 96);
            }
            cGameDraw::s_g = g;
            s->PaintModuleScreen(g, kModule, 5, 7, flags);
            cGameDraw::s_g = expected;
            if (c.alphaEffect) {
                IntArray* argb = cGameDraw::drawImageWithEffects(expected, own, 5, 7, kW, kH, flags, true, false);
                ASSERT_NE(argb, nullptr);
                cGameDraw::drawRGBTransformed(expected, argb, 0, cGameDraw::s_resultWidth, 5, 7, cGameDraw::s_resultWidth,
                                              cGameDraw::s_resultHeight, cGameDraw::s_resultProcessAlpha, true, 0);
            } else {
                expected->drawRegion(own, 0, 0, kW, kH, ASprite::kTransformTable[flags], 5, 7, 0);
            }
            cGameDraw::s_drawEffects = 0;
            EXPECT_EQ(pixels(drawn), pixels(reference));
        }
    }
}
