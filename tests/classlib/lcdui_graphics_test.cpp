// Image buffers and the Graphics state: layout by pixel type, clip arithmetic, translation and
// fillRect (opaque, blended, clipped, never outside the buffer).
#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

#include "../runtime/runtime_fixture.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/array.h"

namespace {

using Image = javax_microedition_lcdui_Image;
using Graphics = javax_microedition_lcdui_Graphics;
using LcduiGraphicsTest = RuntimeTest;

Image* newImage(jint width, jint height, jint creationWord) {
    auto* image = new Image();
    image->init(width, height, creationWord, 0);
    return image;
}

// Row y of the image's 16-bit pixels, pad pixels included.
std::vector<uint16_t> row(Image* image, jint y) {
    const jint perRow = image->m_stride / 2;
    auto* p = reinterpret_cast<uint16_t*>(image->m_pixels->data) + y * perRow;
    return std::vector<uint16_t>(p, p + perRow);
}

TEST_F(LcduiGraphicsTest, ImageBuffersAreLaidOutByPixelType) {
    struct Case {
        jint width, height;
        uint32_t creationWord;
        jint stride, elements;
        ClassId arrayClass;
        bool loggedType;
    };
    const Case cases[] = {
        {5, 3, kPixelRGB565, 12, 18, CID_ShortArray, false},
        {4, 3, kPixelARGB4444, 8, 12, CID_ShortArray, false},
        {5, 3, kPixelIndex8, 5, 16, CID_ByteArray, false},
        {5, 3, kPixelIndex4, 3, 10, CID_ByteArray, false},
        {5, 3, Image::kMutableBit | kPixelRGB565, 12, 18, CID_ShortArray, false},
        {2, 2, Image::kMutableBit | kPixelRGB565ColorKey, 4, 4, CID_ShortArray, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.creationWord);
        LogCapture log;
        Image* image = newImage(c.width, c.height, static_cast<jint>(c.creationWord));
        EXPECT_EQ(image->getWidth(), c.width);
        EXPECT_EQ(image->getHeight(), c.height);
        EXPECT_EQ(image->m_stride, c.stride);
        ASSERT_NE(image->m_pixels, nullptr);
        EXPECT_EQ(image->m_pixels->classId(), c.arrayClass);
        EXPECT_EQ(image->m_pixels->length, c.elements);
        EXPECT_EQ(image->isMutable(), (c.creationWord & Image::kMutableBit) ? 1 : 0);
        EXPECT_EQ(log.contains("imagetype"), c.loggedType);
    }
}

TEST_F(LcduiGraphicsTest, ImpossibleSizesLeaveAnEmptyImage) {
    for (const auto& size : {std::pair{-1, 4}, std::pair{4, -1}, std::pair{INT_MAX, INT_MAX}}) {
        SCOPED_TRACE(size.first);
        Image* image = newImage(size.first, size.second, static_cast<jint>(Image::kMutableBit));
        EXPECT_EQ(image->m_pixels, nullptr);
        EXPECT_EQ(image->getWidth(), 0);
        EXPECT_EQ(image->getHeight(), 0);
        Graphics* g = image->getGraphics();
        g->setColor(0xFFFFFF);
        g->fillRect(0, 0, 10, 10);  // nothing to draw into, nothing drawn
    }
}

TEST_F(LcduiGraphicsTest, ClipIsKeptInsideTheTargetRelativeToTheTranslation) {
    Image* image = Image::createImage(20, 10);
    Graphics* g = image->getGraphics();
    EXPECT_EQ(g->getClipX(), 0);
    EXPECT_EQ(g->getClipY(), 0);
    EXPECT_EQ(g->getClipWidth(), 20);
    EXPECT_EQ(g->getClipHeight(), 10);
    struct Clip {
        jint x, y, w, h;
    };
    struct Case {
        const char* what;
        jint tx, ty;
        Clip set;
        bool intersect;
        Clip with;
        Clip expected;  // getClipX, getClipY, getClipWidth, getClipHeight
    };
    const Case cases[] = {
        {"cut at the top left", 0, 0, {-5, -5, 10, 10}, false, {}, {0, 0, 5, 5}},
        {"cut at the bottom right", 0, 0, {15, 5, 10, 10}, false, {}, {15, 5, 5, 5}},
        {"relative to the translation", 3, 2, {1, 1, 4, 4}, false, {}, {1, 1, 4, 4}},
        {"translation pushes it off", -3, 0, {0, 0, 4, 4}, false, {}, {3, 0, 1, 4}},
        {"negative size kept", 0, 0, {4, 4, -2, 3}, false, {}, {4, 4, -2, 3}},
        {"intersection", 0, 0, {2, 2, 10, 5}, true, {5, 0, 20, 4}, {5, 2, 7, 2}},
        {"empty intersection stays inverted", 0, 0, {0, 0, 4, 4}, true, {6, 6, 2, 2}, {6, 6, -2, -2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g->init(image);
        g->translate(c.tx, c.ty);
        EXPECT_EQ(g->getTranslateX(), c.tx);
        EXPECT_EQ(g->getTranslateY(), c.ty);
        g->setClip(c.set.x, c.set.y, c.set.w, c.set.h);
        if (c.intersect) g->clipRect(c.with.x, c.with.y, c.with.w, c.with.h);
        EXPECT_EQ(g->getClipX(), c.expected.x);
        EXPECT_EQ(g->getClipY(), c.expected.y);
        EXPECT_EQ(g->getClipWidth(), c.expected.w);
        EXPECT_EQ(g->getClipHeight(), c.expected.h);
    }
}

TEST_F(LcduiGraphicsTest, ColourWordsCarryFullAlphaAfterSetColor) {
    Graphics* g = Image::createImage(1, 1)->getGraphics();
    EXPECT_EQ(g->getColor(), 0);
    g->setColor(0x123456);
    EXPECT_EQ(static_cast<uint32_t>(g->getColor()), 0xFF123456u);
    g->setColor(static_cast<jint>(0x00ABCDEF));
    EXPECT_EQ(g->getRedComponent(), 0xAB);
    EXPECT_EQ(g->getGreenComponent(), 0xCD);
    EXPECT_EQ(g->getBlueComponent(), 0xEF);
    g->setColor(1, 2, 3);
    EXPECT_EQ(static_cast<uint32_t>(g->getColor()), 0xFF010203u);
    LogCapture log;
    g->setColor(256, 0, 0);  // reported, used unmasked: the red bit 8 falls into the alpha byte
    EXPECT_EQ(static_cast<uint32_t>(g->getColor()), 0xFF000000u);
    EXPECT_TRUE(log.contains("outside 0..255"));
}

TEST_F(LcduiGraphicsTest, FillRectWritesOnlyInsideTheClip) {
    Image* image = Image::createImage(5, 4);  // one pad pixel per row
    Graphics* g = image->getGraphics();
    g->fillRect(0, 0, 5, 4);  // colour 0 has alpha 0: nothing changes
    for (jint y = 0; y < 4; ++y) EXPECT_EQ(row(image, y), std::vector<uint16_t>(6, 0));

    g->setColor(0xFF0000);
    g->fillRect(-3, -3, 5, 5);  // 2 x 2 left at the corner
    g->setColor(0x00FF00);
    g->translate(3, 2);
    g->fillRect(0, 0, INT_MAX, INT_MAX);  // from (3, 2) to the edges, never the pad
    g->setColor(0x0000FF);
    g->translate(-3, -2);
    g->setClip(1, 3, 1, 1);
    g->fillRect(-100, -100, 1000, 1000);  // the one clip pixel
    g->fillRect(4, 0, 1, 1);               // outside the clip
    const uint16_t R = 0xF800, G = 0x07E0, B = 0x001F;
    EXPECT_EQ(row(image, 0), (std::vector<uint16_t>{R, R, 0, 0, 0, 0}));
    EXPECT_EQ(row(image, 1), (std::vector<uint16_t>{R, R, 0, 0, 0, 0}));
    EXPECT_EQ(row(image, 2), (std::vector<uint16_t>{0, 0, 0, G, G, 0}));
    EXPECT_EQ(row(image, 3), (std::vector<uint16_t>{0, B, 0, G, G, 0}));
}

TEST_F(LcduiGraphicsTest, TranslucentColoursBlendIntoTheTarget) {
    Image* image = Image::createImage(2, 1);
    Graphics* g = image->getGraphics();
    g->setColor(0xFFFFFF);
    g->fillRect(0, 0, 2, 1);
    g->m_color = 0x80FF0000u;  // half-transparent red, as the pixel effects leave it
    g->fillRect(0, 0, 1, 1);
    EXPECT_EQ(row(image, 0), (std::vector<uint16_t>{0xF3EF, 0xFFFF}));
}

}  // namespace
