// The game's landscape-on-portrait drawing: a table of turned rectangles (where their pixels land on
// a real portrait screen, extreme coordinates included), lines, turned images, the framed box,
// the clipped region and RGB draws, the colour-key copy, and a rendered landscape scene checked
// pixel by pixel (its picture is written to the test's temp folder as rotated_scene.png).
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "game/cgame.h"
#include "platform/graphics/png_writer.h"
#include "platform/graphics/rect.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"
#include "tests/sprites/paint_sprite.h"
#include "tests/support/test_world.h"

// Rectangles print as (x,y,w,h) in failures.
static void PrintTo(const Rect& r, std::ostream* os) { *os << "(" << r.x << "," << r.y << "," << r.w << "," << r.h << ")"; }

namespace {

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

constexpr jint kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;

class RotatedDrawingTest : public TestWorld {
protected:
    RotatedDrawingTest() : TestWorld(8 << 20, 8 << 20) {}
    // A black screen of w x h that the wrappers draw on.
    static Image* screen(jint w, jint h) {
        Image* image = Image::createImage(w, h);
        Graphics* g = image->getGraphics();
        g->setColor(kBlack);
        g->fillRect(0, 0, w, h);
        cGame::s_g = g;
        return image;
    }
};

jint pixel(Image* image, jint x, jint y) {
    IntArray* one = Runtime::newIntArray(1);
    image->getRGB(one, 0, 1, x, y, 1, 1);
    return one->get(0) & 0xFFFFFF;
}

// The smallest rectangle holding every pixel that is not black (empty when none is).
Rect litBounds(Image* image) {
    const jint w = image->getWidth(), h = image->getHeight();
    IntArray* all = Runtime::newIntArray(w * h);
    image->getRGB(all, 0, w, 0, 0, w, h);
    jint x0 = w, y0 = h, x1 = -1, y1 = -1;
    for (jint y = 0; y < h; ++y) {
        for (jint x = 0; x < w; ++x) {
            if ((all->get(y * w + x) & 0xFFFFFF) == kBlack) continue;
            x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
        }
    }
    if (x1 < 0) return {};
    return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

TEST_F(RotatedDrawingTest, TurnedRectanglesLandWhereTheRuleSays) {
    struct Case {
        const char* what;
        jint x, y, w, h;
        Rect portrait;   // the lit pixels on the 480 x 800 screen
    };
    const Case cases[] = {
        {"the rule's example", 10, 20, 30, 40, {420, 10, 40, 30}},
        {"the whole landscape picture is the whole screen", 0, 0, 800, 480, {0, 0, 480, 800}},
        {"landscape origin is the portrait top-right", 0, 0, 1, 1, {479, 0, 1, 1}},
        {"landscape bottom-right is the portrait bottom-left", 799, 479, 1, 1, {0, 799, 1, 1}},
        {"overhanging the top-left is cut", -5, 470, 20, 30, {0, 0, 10, 15}},
        {"zero width draws nothing", 10, 20, 0, 40, {}},
        {"negative height draws nothing", 10, 20, 30, -4, {}},
        {"below the landscape picture: beyond the screen's left", 10, 480, 30, 40, {}},
        {"y near the int minimum does not wrap onto the screen", 10, INT_MIN, 30, 40, {}},
        {"x near the int maximum stays below the screen", INT_MAX - 5, 0, 30, 40, {}},
        {"sizes whose sums pass the int range still cover the screen", -1000, -1000, INT_MAX, INT_MAX,
         {0, 0, 480, 800}},
        {"a top edge at the int minimum with the widest height", 0, INT_MIN, 5, INT_MAX, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Image* image = screen(480, 800);
        cGame::s_g->setColor(kWhite);
        cGame::fillRectRotated(c.x, c.y, c.w, c.h);
        EXPECT_EQ(litBounds(image), c.portrait);
        // The clip turns the same way: a fill of the whole landscape picture through it lights the
        // same pixels.
        image = screen(480, 800);
        cGame::s_g->setColor(kWhite);
        cGame::setClipRotated(c.x, c.y, c.w, c.h);
        cGame::fillRectRotated(0, 0, 800, 480);
        EXPECT_EQ(litBounds(image), c.portrait);
    }
}

TEST_F(RotatedDrawingTest, OutlinesLinesAndArcsTurn) {
    // The outline of (10, 20, 30, 40) runs round the portrait rectangle (420, 10, 40, 30).
    Image* image = screen(480, 800);
    cGame::s_g->setColor(kWhite);
    cGame::drawRectRotated(10, 20, 30, 40);
    EXPECT_EQ(litBounds(image), (Rect{420, 10, 41, 31}));
    EXPECT_EQ(pixel(image, 420, 25), kWhite);
    EXPECT_EQ(pixel(image, 440, 25), kBlack);

    // The landscape top edge (0, 0)-(800, 0) is the portrait column 480, top to bottom: seen on a
    // screen one pixel wider.
    image = screen(481, 801);
    cGame::s_g->setColor(kWhite);
    cGame::drawLineRotated(0, 0, 800, 0);
    EXPECT_EQ(litBounds(image), (Rect{480, 0, 1, 801}));

    // A landscape vertical line is a portrait horizontal one, right to left.
    image = screen(480, 800);
    cGame::s_g->setColor(kWhite);
    cGame::drawLineRotated(10, 20, 10, 100);
    EXPECT_EQ(litBounds(image), (Rect{380, 10, 81, 1}));
    image = screen(480, 800);
    cGame::s_g->setColor(kWhite);
    cGame::drawLineRotated(0, INT_MIN, 10, 0);   // a far end beyond the int range: nothing
    EXPECT_TRUE(litBounds(image).empty());

    // Arc sizes swap with the sides: landscape arcs (4, 20) are portrait arcs (20, 4), and the
    // screen rounds its corners by the arc width: a corner of radius 10, not 2.
    Image* turned = screen(480, 800);
    cGame::s_g->setColor(kWhite);
    cGame::fillRoundRectRotated(100, 100, 200, 20, 4, 20);
    Image* direct = screen(480, 800);
    cGame::s_g->setColor(kWhite);
    cGame::s_g->fillRoundRect(360, 100, 20, 200, 20, 4);
    for (jint y = 100; y < 300; y += 7) {
        for (jint x = 360; x < 380; ++x) ASSERT_EQ(pixel(turned, x, y), pixel(direct, x, y)) << x << "," << y;
    }
    EXPECT_EQ(pixel(turned, 361, 101), kBlack);   // the corner is rounded off by radius 10
    EXPECT_EQ(pixel(turned, 370, 200), kWhite);
}

// A 3 x 2 landscape picture: red green blue over white yellow red.
Image* smallPicture() {
    IntArray* rgb = Runtime::newIntArray(6);
    const jint colours[] = {kRed, kGreen, kBlue, kWhite, 0xFFFF00, kRed};
    for (jint i = 0; i < 6; ++i) rgb->set(i, static_cast<jint>(0xFF000000u) | colours[i]);
    return Image::createRGBImage(rgb, 3, 2, false);
}

TEST_F(RotatedDrawingTest, TurnedImagesStandUprightInTheLandscapePicture) {
    Image* picture = smallPicture();
    Image* image = screen(480, 800);
    cGame::drawImageRotated(picture, 10, 20, 20);   // top | left
    // Landscape pixel (10 + i, 20 + j) is portrait (480 - 20 - j - 1, 10 + i).
    EXPECT_EQ(litBounds(image), (Rect{458, 10, 2, 3}));
    const jint want[2][3] = {{kRed, kGreen, kBlue}, {kWhite, 0xFFFF00, kRed}};
    for (jint j = 0; j < 2; ++j) {
        for (jint i = 0; i < 3; ++i) EXPECT_EQ(pixel(image, 459 - j, 10 + i), want[j][i]) << i << "," << j;
    }
    // A null image draws nothing; a place beyond the int range draws nothing.
    image = screen(480, 800);
    cGame::drawImageRotated(nullptr, 10, 20, 20);
    cGame::drawImageRotated(picture, 10, INT_MIN, 20);
    EXPECT_TRUE(litBounds(image).empty());
    EXPECT_FALSE(Runtime::pending());
}

TEST_F(RotatedDrawingTest, ClippedRegionsAndBlocks) {
    Image* picture = smallPicture();
    struct Region {
        const char* what;
        jint sx, sy, w, h;
        Rect lit;
    };
    const Region regions[] = {
        {"a negative start eats into the width", -5, 0, 10, 2, {100, 100, 3, 2}},
        {"sx = -2, w = 3: one column from column 0", -2, 0, 3, 1, {100, 100, 1, 1}},
        {"the region ends at the image's edge", 1, 1, 50, 50, {100, 100, 2, 1}},
        {"nothing left", -3, 0, 3, 2, {}},
        {"a start past the edge", 3, 0, 2, 2, {}},
        {"extreme sizes", INT_MIN, INT_MIN, INT_MAX, INT_MAX, {}},
    };
    for (const Region& r : regions) {
        SCOPED_TRACE(r.what);
        Image* image = screen(200, 200);
        cGame::drawImageRegionClipped(picture, r.sx, r.sy, r.w, r.h, 0, 100, 100, 20);
        EXPECT_EQ(litBounds(image), r.lit);
        EXPECT_FALSE(Runtime::pending());
    }
    Image* image = screen(200, 200);
    cGame::drawImageRegionClipped(picture, -2, 0, 3, 1, 0, 100, 100, 20);
    EXPECT_EQ(pixel(image, 100, 100), kRed);   // the drawn column is the image's column 0
    cGame::drawImageRegionClipped(nullptr, 0, 0, 3, 2, 0, 0, 0, 20);
    EXPECT_FALSE(Runtime::pending());

    // RGB blocks: a 4 x 3 block of column colours red, green, blue, white.
    IntArray* block = Runtime::newIntArray(12);
    const jint columns[] = {kRed, kGreen, kBlue, kWhite};
    for (jint i = 0; i < 12; ++i) block->set(i, static_cast<jint>(0xFF000000u) | columns[i % 4]);
    image = screen(20, 20);
    cGame::s_frameGraphics = cGame::s_g;
    // On the screen's own Graphics a block over the left edge skips its overhanging columns.
    cGame::drawRGBClipped(cGame::s_g, 20, 20, block, 4, 0, 0, -2, 5, 4, 3, false);
    EXPECT_EQ(litBounds(image), (Rect{0, 5, 2, 3}));
    EXPECT_EQ(pixel(image, 0, 5), kBlue);
    // Over the top edge it skips rows (row 1 of the block starts it), and is cut at the right.
    image = screen(20, 20);
    cGame::s_frameGraphics = cGame::s_g;
    cGame::drawRGBClipped(cGame::s_g, 20, 20, block, 4, 0, 0, 18, -1, 4, 3, false);
    EXPECT_EQ(litBounds(image), (Rect{18, 0, 2, 2}));
    // Wholly outside, or at positions that pass the int range: nothing, no fault.
    cGame::drawRGBClipped(cGame::s_g, 20, 20, block, 4, 0, 0, 20, 0, 4, 3, false);
    cGame::drawRGBClipped(cGame::s_g, 20, 20, block, 4, 0, 0, INT_MIN, 0, INT_MAX, 3, false);
    cGame::drawRGBClipped(cGame::s_g, 20, 20, nullptr, 4, 0, 0, 0, 0, 4, 3, false);
    EXPECT_EQ(litBounds(image), (Rect{18, 0, 2, 2}));
    EXPECT_FALSE(Runtime::pending());
    // Another Graphics is not cut, and its translation is kept: the block starts at off + scan * row.
    Image* other = Image::createImage(20, 20);
    Graphics* og = other->getGraphics();
    og->setColor(kBlack);
    og->fillRect(0, 0, 20, 20);
    og->translate(3, 4);
    cGame::drawRGBClipped(og, 20, 20, block, 4, 1, 1, 0, 0, 2, 2, false);
    EXPECT_EQ(og->getTranslateX(), 3);
    EXPECT_EQ(litBounds(other), (Rect{3, 4, 2, 2}));
    EXPECT_EQ(pixel(other, 3, 4), kGreen);
}

TEST_F(RotatedDrawingTest, ColourKeyCopyAndColourTile) {
    IntArray* rgb = Runtime::newIntArray(4);
    rgb->set(0, static_cast<jint>(0xFFFF00FFu));
    rgb->set(1, static_cast<jint>(0xFF00FF00u));
    rgb->set(2, static_cast<jint>(0xFF0000FFu));
    rgb->set(3, static_cast<jint>(0xFFFF00FFu));
    Image* keyed = cGame::imageToColorKeyRGB(Image::createRGBImage(rgb, 2, 2, false));
    ASSERT_NE(keyed, nullptr);
    IntArray* out = Runtime::newIntArray(4);
    keyed->getRGB(out, 0, 2, 0, 0, 2, 2);
    EXPECT_EQ(out->get(0) >> 24, 0);
    EXPECT_EQ(static_cast<uint32_t>(out->get(1)), 0xFF00FF00u);
    EXPECT_EQ(static_cast<uint32_t>(out->get(2)), 0xFF0000FFu);
    EXPECT_EQ(out->get(3) >> 24, 0);
    EXPECT_EQ(cGame::imageToColorKeyRGB(nullptr), nullptr);

    cGame::s_colorTile = nullptr;
    cGame::getColorTile(static_cast<jint>(0x80FF0000u));
    Image* first = cGame::s_colorTile;
    cGame::getColorTile(static_cast<jint>(0x80FF0000u));
    EXPECT_EQ(cGame::s_colorTile, first);   // the same colour twice builds the image once
    cGame::getColorTile(static_cast<jint>(0x8000FF00u));
    EXPECT_NE(cGame::s_colorTile, first);
    cGame::s_colorTile = nullptr;
}

std::vector<PaintCall>& g_paints = recordedPaints();

TEST_F(RotatedDrawingTest, LayerTilesUnderAWorldPoint) {
    // Layer 2: 3 x 2 cells of 40; tile ids 0, empty, 1 / 0, 0, 0; the first cell of row 1 mirrored.
    BXLibPlayer::TilesetInit(800, 480, 40, 40);
    SpriteBytes header, tiles, flags;
    header.u16(3).u16(2);
    for (uint32_t id : {0u, 0xFFFFu, 1u, 0u, 0u, 0u}) tiles.u16(id);
    for (uint32_t f : {0u, 0u, 0u, 1u, 0u, 0u}) flags.u8(f);
    auto* modules = Runtime::make<RecordingSprite>();   // no frames: tile ids are modules
    BXLibPlayer::TilesetLoadLayer(2, header.array(), tiles.array(), flags.array(), modules, false, 16, 2, 2);
    cGame::s_layerSprites = Runtime::newObjectArray(CID_Object, 5);
    cGame::s_layerSprites->set(2, modules);
    cGame::s_cameraX = 100;
    cGame::s_cameraY = 50;
    Graphics* g = screen(480, 800)->getGraphics();

    struct Case {
        const char* what;
        jint layer, x, y;
        std::vector<PaintCall> paints;
    };
    const std::vector<Case> cases = {
        {"tile 1 at the point less the camera", 2, 85, 15, {{1, -15, -35, 0}}},
        {"a mirrored cell keeps its flips", 2, 5, 45, {{0, -95, -5, 1}}},
        {"the empty tile draws nothing", 2, 45, 10, {}},
        {"just left of the map is off it", 2, -10, 5, {}},
        {"just above the map is off it", 2, 5, -1, {}},
        {"right of the map", 2, 120, 5, {}},
        {"a layer without a sprite", 3, 85, 15, {}},
        {"a layer that does not exist", 7, 85, 15, {}},
        {"a layer number below zero", -1, 85, 15, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_paints.clear();
        cGame::paintLayerTileAt(g, c.layer, c.x, c.y);
        EXPECT_EQ(g_paints, c.paints);
        EXPECT_FALSE(Runtime::pending());
    }

    // A tile sprite with frames paints the tile id as a frame, a cell further along a mirrored axis.
    auto* framed = loadPaintSpriteAs<RecordingSprite>();
    ASSERT_NE(framed, nullptr);
    cGame::s_layerSprites->set(2, framed);
    for (const auto& [x, y, frame, px, py, f] : {std::tuple{5, 45, 0, -55, -5, 1}, std::tuple{85, 15, 1, -15, -35, 0}}) {
        g_paints.clear();
        framed->PaintFrame(g, frame, px, py, f, 0, 0);
        const std::vector<PaintCall> want = g_paints;
        ASSERT_FALSE(want.empty());
        g_paints.clear();
        cGame::paintLayerTileAt(g, 2, x, y);
        EXPECT_EQ(g_paints, want) << x << "," << y;
    }
    // The camera far away: positions past the int range draw nothing.
    cGame::s_cameraX = INT_MIN;
    g_paints.clear();
    cGame::paintLayerTileAt(g, 2, 85, 15);
    EXPECT_TRUE(g_paints.empty());
}

// A landscape scene as a menu screen draws it: a framed box, a turned bar, a line and a picture,
// checked where each must be on the portrait screen. The picture is kept for a look.
TEST_F(RotatedDrawingTest, RenderedLandscapeSceneLandsOnThePortraitScreen) {
    Image* image = screen(480, 800);
    cGame::s_g->setClip(5, 5, 10, 10);   // the box resets the clip to the whole screen
    cGame::drawFramedBox(kBlue, kWhite, 100, 50, 600, 300);
    cGame::s_g->setColor(kRed);
    cGame::fillRectRotated(150, 100, 200, 40);
    cGame::s_g->setColor(kGreen);
    cGame::drawLineRotated(150, 300, 650, 300);
    cGame::drawImageRotated(smallPicture(), 600, 200, 20);
    cGame::setColorRGB(255, 255, 0);
    cGame::fillRectRotated(0, 0, 20, 10);   // a yellow mark at the landscape top-left corner

    const std::string seen = ::testing::TempDir() + "rotated_scene.png";
    const std::vector<uint16_t> rows(static_cast<const uint16_t*>(image->m_pixels->data),
                                     static_cast<const uint16_t*>(image->m_pixels->data) +
                                         image->m_height * (image->m_stride / 2));
    EXPECT_TRUE(writePng565(seen, ConstSurface565{rows.data(), 480, 800, image->m_stride / 2}));

    // The box (100, 50, 600, 300) is portrait (130, 100, 300, 600) (the screen's round rectangles
    // cover w x h pixels): three white outline pixels on
    // each side at its middle, blue inside, black outside; the corners are rounded.
    struct Probe {
        jint x, y, colour;
    };
    const Probe probes[] = {
        {129, 400, kBlack}, {130, 400, kWhite}, {131, 400, kWhite}, {132, 400, kWhite}, {133, 400, kBlue},
        {429, 400, kWhite}, {427, 400, kWhite}, {426, 400, kBlue},  {430, 400, kBlack},
        {280, 99, kBlack},  {280, 100, kWhite}, {280, 102, kWhite}, {280, 103, kBlue},
        {280, 699, kWhite}, {280, 697, kWhite}, {280, 696, kBlue},  {280, 700, kBlack},
        {131, 101, kBlack},   // rounded corner
        // The bar (150, 100, 200, 40) is portrait (340, 150, 40, 200).
        {340, 150, kRed}, {379, 349, kRed}, {339, 200, kBlue}, {380, 200, kBlue}, {360, 350, kBlue},
        // The line at landscape y 300 is portrait column 180, rows 150..650.
        {180, 150, kGreen}, {180, 650, kGreen}, {180, 400, kGreen}, {181, 400, kBlue},
        // The picture at landscape (600, 200): its top row is portrait column 279.
        {279, 600, kRed}, {279, 601, kGreen}, {279, 602, kBlue}, {278, 600, kWhite},
        // The landscape top-left corner is the portrait top-right.
        {479, 0, 0xFFFF00}, {470, 19, 0xFFFF00}, {469, 0, kBlack}, {479, 20, kBlack},
    };
    for (const Probe& p : probes) EXPECT_EQ(pixel(image, p.x, p.y), p.colour) << "at " << p.x << "," << p.y;
    EXPECT_EQ(cGame::s_g->getClipWidth(), 480);
    EXPECT_EQ(cGame::s_g->getClipHeight(), 800);
}

// The pulsing picture's inputs for a 4 x 3 mask whose top-left pixel is hidden: the alternate
// player as a registered view, and an arc table lit only at the entries `lit` names.
struct PulseFixture {
    static inline cGame::PulseValues values{};
    static inline bool present = false;
    static const cGame::ActorView* view() {
        static const cGame::ActorView v{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                        [](cGame::PulseValues* out) {
                                            *out = values;
                                            return present;
                                        }};
        return &v;
    }
    static void setUp(const std::vector<jint>& lit) {
        cGame::s_sprites = Runtime::newObjectArray(CID_Object, 41);
        cGame::s_sprites->set(21, Runtime::make<Bsprite>());
        cGame::s_tileW = 4;
        cGame::s_tileH = 3;
        cGame::s_tilePixels = Runtime::newIntArray(12);
        for (jint i = 1; i < 12; ++i) cGame::s_tilePixels->set(i, static_cast<jint>(0xFF000000u | 0x123456));
        cGame::s_arcTable = Runtime::newIntArray(cGame::kPulsePeriod);
        for (jint i : lit) cGame::s_arcTable->set(i, 255);
        cGame::s_pulsePhase = cGame::s_pulseStep = 0;
        cGame::s_pulseImages = nullptr;
        cGame::s_state = cGame::kStatePlay;
        present = false;
        cGame::registerActorView(view());
    }
    static void tearDown() {
        cGame::registerActorView(nullptr);
        cGame::s_sprites = nullptr;
        cGame::s_tilePixels = nullptr;
        cGame::s_arcTable = nullptr;
        cGame::s_pulseImages = nullptr;
        cGame::s_pulseMask = nullptr;
        cGame::s_workBuffer = nullptr;
        cGame::s_state = 0;
    }
};

std::vector<jint> allEntries() {
    std::vector<jint> all(cGame::kPulsePeriod);
    for (jint i = 0; i < cGame::kPulsePeriod; ++i) all[i] = i;
    return all;
}

TEST_F(RotatedDrawingTest, PulsingPictureIsFourMirroredQuartersAroundItsPoint) {
    PulseFixture::setUp(allEntries());
    Image* image = screen(480, 800);
    cGame::paintPulsingPicture();
    EXPECT_EQ(litBounds(image), (Rect{276, 397, 8, 6}));
    // The hidden mask pixel lands in each outer corner: plain, mirrored, half turned, flipped.
    for (const auto& [x, y] : {std::pair{276, 397}, std::pair{283, 397}, std::pair{283, 402}, std::pair{276, 402}}) {
        EXPECT_EQ(pixel(image, x, y), kBlack) << x << "," << y;
    }
    // No alternate player: the dark blue.
    const jint dark = pixel(image, 277, 397);
    EXPECT_EQ(dark & 0xFFFF00, 0);
    EXPECT_GT(dark & 0xFF, 0xB0);
    PulseFixture::tearDown();
}

TEST_F(RotatedDrawingTest, PulsingPictureFollowsThePhaseTheArcAndTheAlternatePlayer) {
    struct Case {
        const char* what;
        jint state, phase, step, altState, threshold, limit;
        bool present;
        std::vector<jint> lit;    // arc entries at 255
        bool drawn;
        jint colour;              // of a shown pixel when drawn
        jint phaseAfter, frame;   // the phase after the paint and the cached frame
    };
    const jint limit = -2048;   // bright: the step becomes (2048 + 128) >> 11 = 1
    const Case cases[] = {
        {"the phase moves by the step in play", cGame::kStatePlay, 300, 40, 0, 0, 0, false, allEntries(), true,
         0x0000C0, 34, 1},
        {"and stands still in any other state", cGame::kStatePauseMenu, 300, 40, 0, 0, 0, false, allEntries(), true,
         0x0000C0, 300, 9},
        {"the arc entry of phase + the mask's alpha", cGame::kStatePauseMenu, 62, 0, 0, 0, 0, false, {(62 + 255) % 306},
         true, 0x0000C0, 62, 2},
        {"another entry of the arc", cGame::kStatePauseMenu, 63, 0, 0, 0, 0, false, {(62 + 255) % 306}, false, 0, 63,
         2},
        {"at or below the limit: bright, step from the limit", cGame::kStatePlay, 30, 40, 5, limit, limit, true,
         allEntries(), true, 0xFFFFFF, 31, 1},
        {"above the limit: dark", cGame::kStatePlay, 30, 0, 5, limit + 1, limit, true, allEntries(), true, 0x0000C0,
         30, 0},
        {"state 196 hides it", cGame::kStatePlay, 0, 0, 196, 0, 0, true, allEntries(), false, 0, 0, -1},
        {"state 201 hides it", cGame::kStatePlay, 0, 0, 201, 0, 0, true, allEntries(), false, 0, 0, -1},
        {"state 202 shows it", cGame::kStatePlay, 0, 0, 202, 1, 0, true, allEntries(), true, 0x0000C0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PulseFixture::setUp(c.lit);
        PulseFixture::present = c.present;
        PulseFixture::values = {c.altState, c.threshold, c.limit};
        cGame::s_state = c.state;
        cGame::s_pulsePhase = c.phase;
        cGame::s_pulseStep = c.step;
        Image* image = screen(480, 800);
        cGame::paintPulsingPicture();
        EXPECT_EQ(cGame::s_pulsePhase, c.phaseAfter);
        const jint shown = pixel(image, 277, 397);
        if (!c.drawn) {
            EXPECT_EQ(shown, kBlack);
        } else if (c.colour == 0xFFFFFF) {
            EXPECT_EQ(shown, 0xFFFFFF);
        } else {
            EXPECT_EQ(shown & 0xFFFF00, 0);
            EXPECT_GT(shown & 0xFF, 0xB0);
        }
        for (jint f = 0; f < cGame::kPulseFrames && cGame::s_pulseImages; ++f) {
            EXPECT_EQ(cGame::s_pulseImages->get(f) != nullptr, f == c.frame) << f;
        }
        PulseFixture::tearDown();
    }
}

TEST_F(RotatedDrawingTest, PulsingPictureRemakesItsFramesForAnotherColourAndDrawsNothingWithoutItsData) {
    PulseFixture::setUp(allEntries());
    Image* image = screen(480, 800);
    cGame::paintPulsingPicture();   // dark, frame 0 cached
    PulseFixture::present = true;
    PulseFixture::values = {0, -5000, -4000};
    cGame::s_pulseStep = 0;
    image = screen(480, 800);
    cGame::paintPulsingPicture();   // the same frame, now bright
    EXPECT_EQ(pixel(image, 277, 397), 0xFFFFFF);

    struct Case {
        const char* what;
        void (*spoil)();
    };
    const Case cases[] = {
        {"no tile sprite", [] { cGame::s_sprites->set(21, nullptr); }},
        {"no sprite table", [] { cGame::s_sprites = nullptr; }},
        {"no mask", [] { cGame::s_tilePixels = nullptr; }},
        {"a mask shorter than its size", [] { cGame::s_tileH = 4; }},
        {"no arc table", [] { cGame::s_arcTable = nullptr; }},
        {"a size past the work buffer", [] { cGame::s_tileW = 50000; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PulseFixture::tearDown();
        PulseFixture::setUp(allEntries());
        c.spoil();
        image = screen(480, 800);
        cGame::paintPulsingPicture();
        EXPECT_EQ(litBounds(image), Rect{});
        EXPECT_FALSE(Runtime::pending());
    }
    PulseFixture::tearDown();
}

}  // namespace
