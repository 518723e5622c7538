// Graphics' primitives and image copies on small images, pixel by pixel: the exact shapes (line
// ends, drawRect's size, arcs by quadrant, the triangle's excluded column), each transform's
// destination and clip, anchors, key and blend results, RGB images and getRGB's widening, and the
// arguments that draw nothing.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "../runtime/runtime_fixture.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "tests/support/log_capture.h"

namespace {

using Image = javax_microedition_lcdui_Image;
using Graphics = javax_microedition_lcdui_Graphics;
using LcduiDrawingTest = RuntimeTest;

uint16_t* pixelsOf(Image* image) { return static_cast<uint16_t*>(image->m_pixels->data); }
uint16_t at(Image* image, int x, int y) { return pixelsOf(image)[y * (image->m_stride / 2) + x]; }

// The image as rows of '#' (white), '.' (black) and '?' (anything else).
std::vector<std::string> picture(Image* image) {
    std::vector<std::string> rows;
    for (int y = 0; y < image->getHeight(); ++y) {
        std::string row;
        for (int x = 0; x < image->getWidth(); ++x) {
            const uint16_t p = at(image, x, y);
            row += p == 0xFFFF ? '#' : p == 0 ? '.' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<uint16_t> allPixels(Image* image) {
    return std::vector<uint16_t>(pixelsOf(image), pixelsOf(image) + image->m_pixels->length);
}

IntArray* intArray(std::initializer_list<uint32_t> values) {
    IntArray* a = Runtime::newIntArray(static_cast<jint>(values.size()));
    jint i = 0;
    for (uint32_t v : values) a->elements()[i++] = static_cast<jint>(v);
    return a;
}

TEST_F(LcduiDrawingTest, PrimitivesCoverTheirExactPixels) {
    struct Case {
        const char* what;
        int width, height;
        std::function<void(Graphics*)> draw;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"drawRect 0 x 0 is one pixel", 3, 2, [](Graphics* g) { g->drawRect(0, 0, 0, 0); }, {"#..", "..."}},
        {"drawRect 2 x 1 covers 3 x 2", 4, 3, [](Graphics* g) { g->drawRect(0, 0, 2, 1); }, {"###.", "###.", "...."}},
        {"a diagonal walks along x, both ends", 4, 4, [](Graphics* g) { g->drawLine(0, 0, 3, 3); },
         {"#...", ".#..", "..#.", "...#"}},
        {"a steep line walks along y", 3, 4, [](Graphics* g) { g->drawLine(2, 3, 0, 0); }, {"#..", ".#.", ".#.", "..#"}},
        {"a line cut by the clip",
         5, 3,
         [](Graphics* g) {
             g->setClip(1, 0, 3, 3);
             g->drawLine(-10, 1, 20, 1);
         },
         {".....", ".###.", "....."}},
        {"translation moves lines", 4, 2,
         [](Graphics* g) {
             g->translate(1, 1);
             g->drawLine(0, 0, 1, 0);
         },
         {"....", ".##."}},
        {"the triangle excludes its right column; the last row is empty", 6, 6,
         [](Graphics* g) { g->fillTriangle(0, 0, 4, 0, 0, 4); }, {"####..", "###...", "##....", "#.....", "......", "......"}},
        {"a triangle far beyond the int range's middle is walked only where visible", 4, 3,
         [](Graphics* g) { g->fillTriangle(-1000000000, -1000000000, 1000000000, -1000000000, 0, 2000000000); },
         {"####", "####", "####"}},
        {"a whole circle of radius 2", 5, 5, [](Graphics* g) { g->drawArc(0, 0, 4, 4, 0, 360); },
         {".###.", "#...#", "#...#", "#...#", ".###."}},
        {"45 to 135 degrees holds no whole quadrant", 5, 5, [](Graphics* g) { g->drawArc(0, 0, 4, 4, 45, 90); },
         {".....", ".....", ".....", ".....", "....."}},
        {"an arc wrapping past 360 draws nothing", 5, 5, [](Graphics* g) { g->drawArc(0, 0, 4, 4, 270, 180); },
         {".....", ".....", ".....", ".....", "....."}},
        {"start above 360 comes down: 450 is 90, the upper left quadrant", 5, 5,
         [](Graphics* g) { g->fillArc(0, 0, 4, 4, 450, 90); }, {".##..", "###..", "###..", ".....", "....."}},
        {"fillArc 0..180 fills the upper half, centre row included", 5, 5, [](Graphics* g) { g->fillArc(0, 0, 4, 4, 0, 180); },
         {".###.", "#####", "#####", ".....", "....."}},
        {"drawRoundRect covers w x h with round corners", 8, 6,
         [](Graphics* g) { g->drawRoundRect(0, 0, 8, 6, 6, 99); },
         {".######.", "#......#", "#......#", "#......#", "#......#", ".######."}},
        {"fillRoundRect", 8, 6, [](Graphics* g) { g->fillRoundRect(0, 0, 8, 6, 6, 0); },
         {".######.", "########", "########", "########", "########", ".######."}},
        {"arc width 2 or less gives square corners", 4, 3, [](Graphics* g) { g->drawRoundRect(0, 0, 4, 3, 2, 2); },
         {"####", "#..#", "####"}},
        {"huge sizes stay inside the image", 3, 2,
         [](Graphics* g) {
             g->drawRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
             g->fillRoundRect(1, 1, INT_MAX, INT_MAX, 0, 0);
         },
         {"...", ".##"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Image* image = Image::createImage(c.width, c.height);
        Graphics* g = image->getGraphics();
        g->setColor(0xFFFFFF);
        c.draw(g);
        EXPECT_EQ(picture(image), c.expected);
    }
}

TEST_F(LcduiDrawingTest, AFreshGraphicsDrawsNothingUntilSetColor) {
    Image* image = Image::createImage(6, 6);
    Graphics* g = image->getGraphics();
    g->fillRect(0, 0, 6, 6);
    g->drawLine(0, 0, 5, 5);
    g->fillTriangle(0, 0, 5, 0, 0, 5);
    g->fillRoundRect(0, 0, 6, 6, 4, 4);
    g->fillArc(0, 0, 5, 5, 0, 360);
    EXPECT_EQ(allPixels(image), std::vector<uint16_t>(36, 0));
}

TEST_F(LcduiDrawingTest, TranslucentLinesBlendPerField) {
    Image* image = Image::createImage(2, 1);
    Graphics* g = image->getGraphics();
    g->m_color = 0x80FFFFFFu;
    g->drawLine(0, 0, 1, 0);
    EXPECT_EQ(at(image, 0, 0), 0x7BEF);
    // Primitives write RGB565 even into an ARGB4444 image.
    Image* argb = Runtime::make<Image>(1, 1, static_cast<jint>(kPixelARGB4444), 0);
    Graphics* h = Runtime::make<Graphics>(argb);
    h->setColor(0x0000FF);
    h->drawLine(0, 0, 0, 0);
    EXPECT_EQ(at(argb, 0, 0), 0x001F);
}

// A 3 x 2 source of the values 1..6 ("abc" over "def") in a 5 x 4 image at (1, 1).
Image* letters() {
    Image* src = Image::createImage(5, 4);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) pixelsOf(src)[(y + 1) * (src->m_stride / 2) + x + 1] = static_cast<uint16_t>(1 + y * 3 + x);
    return src;
}

std::vector<std::string> lettersAt(Image* image) {
    std::vector<std::string> rows;
    for (int y = 0; y < image->getHeight(); ++y) {
        std::string row;
        for (int x = 0; x < image->getWidth(); ++x) {
            const uint16_t p = at(image, x, y);
            row += p >= 1 && p <= 6 ? static_cast<char>('a' + p - 1) : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

TEST_F(LcduiDrawingTest, EachTransformPlacesTheRegion) {
    const std::vector<std::string> expected[8] = {
        {"....", ".abc", ".def", "....", "...."},  // none
        {"....", ".def", ".abc", "....", "...."},  // mirror + rotate 180
        {"....", ".cba", ".fed", "....", "...."},  // mirror
        {"....", ".fed", ".cba", "....", "...."},  // rotate 180
        {"....", ".ad.", ".be.", ".cf.", "...."},  // mirror + rotate 270
        {"....", ".da.", ".eb.", ".fc.", "...."},  // rotate 90
        {"....", ".cf.", ".be.", ".ad.", "...."},  // rotate 270
        {"....", ".fc.", ".eb.", ".da.", "...."},  // mirror + rotate 90
    };
    Image* src = letters();
    for (int t = 0; t < 8; ++t) {
        SCOPED_TRACE(t);
        Image* image = Image::createImage(4, 5);
        image->getGraphics()->drawRegion(src, 1, 1, 3, 2, t, 1, 1, 20);
        EXPECT_EQ(lettersAt(image), expected[t]);
    }
    // A 2 x 1 region turned a quarter: (0, 0) at (x, y), (1, 0) below it.
    Image* image = Image::createImage(4, 5);
    image->getGraphics()->drawRegion(src, 1, 1, 2, 1, 5, 2, 2, 0);
    EXPECT_EQ(lettersAt(image), (std::vector<std::string>{"....", "....", "..a.", "..b.", "...."}));
}

TEST_F(LcduiDrawingTest, EachTransformsClipCutsTheRightSourcePixels) {
    // Random-free but thorough: every transform, anchor and clip of a 4 x 3 region whose source
    // pixels are all different; the clipped drawing must equal the unclipped one inside the clip
    // and leave everything outside it alone.
    Image* src = Image::createImage(7, 6);
    for (int i = 0; i < src->m_pixels->length; ++i) pixelsOf(src)[i] = static_cast<uint16_t>(100 + i);
    const int anchors[] = {20, 24, 36, 3, 40};
    const Rect clips[] = {{0, 0, 9, 9}, {3, 2, 2, 3}, {5, 5, 4, 4}, {0, 4, 9, 1}, {4, 0, 1, 9}, {2, 3, 0, 5}};
    for (int t = 0; t < 8; ++t)
        for (int anchor : anchors)
            for (const Rect& c : clips) {
                SCOPED_TRACE(testing::Message() << "transform " << t << " anchor " << anchor << " clip " << c.x << ","
                                                << c.y << " " << c.w << "x" << c.h);
                Image* whole = Image::createImage(9, 9);
                whole->getGraphics()->drawRegion(src, 2, 1, 4, 3, t, 4, 4, anchor);
                Image* cut = Image::createImage(9, 9);
                Graphics* g = cut->getGraphics();
                g->setClip(c.x, c.y, c.w, c.h);
                g->drawRegion(src, 2, 1, 4, 3, t, 4, 4, anchor);
                for (int y = 0; y < 9; ++y)
                    for (int x = 0; x < 9; ++x) {
                        const uint16_t want = c.contains({x, y}) ? at(whole, x, y) : 0;
                        ASSERT_EQ(at(cut, x, y), want) << x << "," << y;
                    }
            }
}

TEST_F(LcduiDrawingTest, AnchorsPlaceImages) {
    Image* sprite = Image::createImage(10, 20);
    Graphics* s = sprite->getGraphics();
    s->setColor(0xFFFFFF);
    s->fillRect(0, 0, 10, 20);
    struct Case {
        int anchor;
        Rect covered;
    };
    const Case cases[] = {
        {1 | 2, {95, 90, 10, 20}}, {0, {100, 100, 10, 20}},   {4 | 16, {100, 100, 10, 20}},
        {8 | 32, {90, 80, 10, 20}}, {4 | 64, {100, 100, 10, 20}},  // baseline counts as top
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.anchor);
        Image* target = Image::createImage(200, 200);
        Graphics* g = target->getGraphics();
        g->drawImage(sprite, 100, 100, c.anchor);
        for (int y = 80; y < 125; ++y)
            for (int x = 85; x < 115; ++x) ASSERT_EQ(at(target, x, y) == 0xFFFF, c.covered.contains({x, y})) << x << "," << y;
    }
}

TEST_F(LcduiDrawingTest, KeyedAndTranslucentSourcesCombineWithTheTarget) {
    Image* target = Image::createImage(3, 1);
    Graphics* g = target->getGraphics();
    g->setColor(0x0000FF);
    g->fillRect(0, 0, 3, 1);

    Image* keyed = Image::createImage(3, 1);
    uint16_t* k = pixelsOf(keyed);
    k[0] = 0xF81F, k[1] = 0x07E0, k[2] = 0xF81F;
    keyed->m_pixelType = kPixelRGB565ColorKey;
    g->drawImage(keyed, 0, 0, 0);
    EXPECT_EQ(allPixels(target), (std::vector<uint16_t>{0x001F, 0x07E0, 0x001F, 0}));

    Image* translucent = Runtime::make<Image>(3, 1, static_cast<jint>(kPixelARGB4444), 0);
    uint16_t* p = pixelsOf(translucent);
    p[0] = 0x0FFF, p[1] = 0xFFFF, p[2] = 0x8F00;
    g->drawImage(translucent, 0, 0, 0);
    // alpha 0 leaves blue; alpha 15 lands a step short of white (from green: 29, 60, 29); alpha 8
    // (136) half-way to red.
    EXPECT_EQ(at(target, 0, 0), 0x001F);
    EXPECT_EQ(at(target, 1, 0), (29 << 11) | (60 << 5) | 29);
    EXPECT_EQ(at(target, 2, 0), (15 << 11) | (0 << 5) | 14);
}

TEST_F(LcduiDrawingTest, BadArgumentsDrawNothing) {
    Image* src = Image::createImage(4, 4);
    Graphics* s = src->getGraphics();
    s->setColor(0xFFFFFF);
    s->fillRect(0, 0, 4, 4);
    Image* indexed = Runtime::make<Image>(4, 4, static_cast<jint>(kPixelIndex8), 0);
    IntArray* rgb = intArray({0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF});
    struct Case {
        const char* what;
        std::function<void(Graphics*)> draw;
    };
    const Case cases[] = {
        {"null source", [&](Graphics* g) { g->drawRegion(nullptr, 0, 0, 4, 4, 0, 0, 0, 0); }},
        {"transform 8", [&](Graphics* g) { g->drawRegion(src, 0, 0, 4, 4, 8, 0, 0, 0); }},
        {"transform -1", [&](Graphics* g) { g->drawRegion(src, 0, 0, 4, 4, -1, 0, 0, 0); }},
        {"region past the right", [&](Graphics* g) { g->drawRegion(src, 1, 0, 4, 4, 0, 0, 0, 0); }},
        {"region above the top", [&](Graphics* g) { g->drawRegion(src, 0, -1, 2, 2, 0, 0, 0, 0); }},
        {"region of overflowing size", [&](Graphics* g) { g->drawRegion(src, 2, 0, INT_MAX, 4, 0, 0, 0, 0); }},
        {"indexed source", [&](Graphics* g) { g->drawImage(indexed, 0, 0, 0); }},
        {"null rgb", [&](Graphics* g) { g->drawRGB(nullptr, 0, 2, 0, 0, 2, 2, 0); }},
        {"rgb block past the array's end", [&](Graphics* g) { g->drawRGB(rgb, 1, 2, 0, 0, 2, 2, 0); }},
        {"rgb offset before the array", [&](Graphics* g) { g->drawRGB(rgb, -1, 2, 0, 0, 2, 2, 0); }},
        {"rgb rows past the end by the scan length", [&](Graphics* g) { g->drawRGB(rgb, 0, 3, 0, 0, 2, 2, 0); }},
        {"rgb negative scan length reaching before the start", [&](Graphics* g) { g->drawRGB(rgb, 1, -2, 0, 0, 2, 2, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Image* target = Image::createImage(4, 4);
        c.draw(target->getGraphics());
        EXPECT_EQ(allPixels(target), std::vector<uint16_t>(16, 0));
    }
}

TEST_F(LcduiDrawingTest, DrawRGBConvertsBlendsOrStoresByTarget) {
    IntArray* rgb = intArray({0x80FFFFFF, 0x00FFFFFF, 0xFFFF0000, 0x12345678});
    Image* target = Image::createImage(4, 1);
    Graphics* g = target->getGraphics();
    g->drawRGB(rgb, 0, 4, 0, 0, 4, 1, 1);  // 0x12345678: 0x32AF at alpha 18 over black
    EXPECT_EQ(allPixels(target), (std::vector<uint16_t>{0x7BEF, 0x0000, 0xF800, 0x0021}));
    g->drawRGB(rgb, 0, 4, 0, 0, 4, 1, 0);  // alpha ignored
    EXPECT_EQ(allPixels(target), (std::vector<uint16_t>{0xFFFF, 0xFFFF, 0xF800, 0x32AF}));

    Image* argb = Runtime::make<Image>(4, 1, static_cast<jint>(kPixelARGB4444), 0);
    Runtime::make<Graphics>(argb)->drawRGB(rgb, 0, 4, 0, 0, 4, 1, 1);
    EXPECT_EQ(allPixels(argb), (std::vector<uint16_t>{0x8FFF, 0x0FFF, 0xFF00, 0x1357}));

    // Clipped at the top left: the first pixel read is offset + scanlength + 1.
    IntArray* grid = intArray({0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFFFFFFFF, 0xFF000000});
    Image* small = Image::createImage(2, 2);
    Graphics* h = small->getGraphics();
    h->translate(-1, -1);
    h->drawRGB(grid, 0, 3, 0, 0, 3, 2, 0);
    EXPECT_EQ(picture(small), (std::vector<std::string>{"#.", ".."}));
}

TEST_F(LcduiDrawingTest, RGBImagesChooseTheirTypeAndReadBack) {
    // Fully transparent pixels become the key: type 1.
    Image* keyed = Image::createRGBImage(intArray({0x00000000, 0xFFFF0000}), 2, 1, 1);
    EXPECT_EQ(keyed->m_pixelType, kPixelRGB565ColorKey);
    EXPECT_FALSE(keyed->isMutable());
    EXPECT_EQ(at(keyed, 0, 0), 0xF81F);
    IntArray* back = Runtime::newIntArray(2);
    keyed->getRGB(back, 0, 2, 0, 0, 2, 1);
    EXPECT_EQ(static_cast<uint32_t>(back->elements()[0]), 0u);
    EXPECT_EQ(static_cast<uint32_t>(back->elements()[1]), 0xFFFF0000u);

    // One translucent pixel: type 2, alpha widened from its nibble.
    Image* translucent = Image::createRGBImage(intArray({0x80FFFFFF, 0xFF00FF00}), 2, 1, 1);
    EXPECT_EQ(translucent->m_pixelType, kPixelARGB4444);
    translucent->getRGB(back, 0, 2, 0, 0, 2, 1);
    EXPECT_EQ(static_cast<uint32_t>(back->elements()[0]), 0x88FFFFFFu);
    EXPECT_EQ(static_cast<uint32_t>(back->elements()[1]), 0xFF00FF00u);

    // Magenta with partial alpha is not translucent: it blends over the key fill into the key.
    Image* magenta = Image::createRGBImage(intArray({0x80FF00FF, 0xFF000000}), 2, 1, 1);
    EXPECT_EQ(magenta->m_pixelType, kPixelRGB565ColorKey);
    EXPECT_EQ(at(magenta, 0, 0), 0xF81F);
    // Without processAlpha nothing is keyed and alpha is ignored.
    Image* opaque = Image::createRGBImage(intArray({0x00FFFFFF, 0x80000000}), 2, 1, 0);
    EXPECT_EQ(opaque->m_pixelType, kPixelRGB565);
    EXPECT_EQ(at(opaque, 0, 0), 0xFFFF);

    // A short array gives its complete rows; sizes <= 0 and a null array an empty image.
    LogCapture log;
    Image* partial = Image::createRGBImage(intArray({0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}), 2, 2, 0);
    EXPECT_EQ(partial->getWidth(), 2);
    EXPECT_EQ(picture(partial), (std::vector<std::string>{"##", ".."}));
    EXPECT_TRUE(log.contains("createRGBImage length"));
    EXPECT_EQ(Image::createRGBImage(intArray({1}), 0, 1, 0)->getWidth(), 0);
    EXPECT_EQ(Image::createRGBImage(intArray({1}), 1, -1, 0)->getHeight(), 0);
    EXPECT_EQ(Image::createRGBImage(nullptr, 1, 1, 0)->getWidth(), 0);
}

TEST_F(LcduiDrawingTest, GetRGBReadsRowsByStrideAndRefusesBadRanges) {
    Image* image = Image::createImage(5, 2);  // 6 elements a row
    pixelsOf(image)[6 + 3] = 0x07E0;          // (3, 1)
    IntArray* out = Runtime::newIntArray(6);
    for (int i = 0; i < 6; ++i) out->elements()[i] = -1;
    image->getRGB(out, 1, 3, 2, 0, 2, 2);  // rows at 1 and 4
    const std::vector<jint> got(out->elements(), out->elements() + 6);
    EXPECT_EQ(got, (std::vector<jint>{-1, static_cast<jint>(0xFF000000), static_cast<jint>(0xFF000000), -1,
                                      static_cast<jint>(0xFF000000), static_cast<jint>(0xFF00FF00)}));
    struct Case {
        jint offset, scanlength, x, y, w, h;
    };
    const Case bad[] = {{0, 5, -1, 0, 1, 1}, {0, 5, 0, -1, 1, 1}, {0, 5, 4, 0, 2, 1}, {0, 5, 0, 1, 1, 2},
                        {5, 5, 0, 0, 2, 1},  {-1, 5, 0, 0, 1, 1}, {0, 5, 0, 0, 2, 2}, {0, -5, 0, 0, 1, 2}};
    for (const Case& c : bad) {
        for (int i = 0; i < 6; ++i) out->elements()[i] = -1;
        image->getRGB(out, c.offset, c.scanlength, c.x, c.y, c.w, c.h);
        EXPECT_EQ(std::vector<jint>(out->elements(), out->elements() + 6), std::vector<jint>(6, -1));
    }
    image->getRGB(nullptr, 0, 1, 0, 0, 1, 1);  // logged, nothing else
}

TEST_F(LcduiDrawingTest, RegionImagesSwapTheirSizeForQuarterTurns) {
    Image* src = letters();
    Image* turned = Image::createImage(src, 1, 1, 3, 2, 5);
    ASSERT_NE(turned, nullptr);
    EXPECT_TRUE(turned->isMutable());
    EXPECT_EQ(turned->getWidth(), 2);
    EXPECT_EQ(turned->getHeight(), 3);
    EXPECT_EQ(lettersAt(turned), (std::vector<std::string>{"da", "eb", "fc"}));
    Image* big = Image::createImage(Image::createImage(30, 30), 0, 0, 10, 20, 5);
    EXPECT_EQ(big->getWidth(), 20);
    EXPECT_EQ(big->getHeight(), 10);
}

}  // namespace
