// A rendered test card: every primitive, each transform of an asymmetric sprite (plain, keyed and
// translucent), RGB blocks with alpha and text, written as a PNG for a person to look at. Set
// BRINDLEX_TEST_CARD=path to keep a copy.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "lcdui_text_fixture.h"
#include "platform/graphics/png_writer.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/string.h"
#include "tests/support/temp_folder.h"

namespace {

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

using LcduiTestCard = LcduiTextFixture;

// A 16 x 12 "F" on a magenta (key) background with a red top-left corner mark.
IntArray* spriteARGB(uint32_t alpha) {
    IntArray* a = Runtime::newIntArray(16 * 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) {
            uint32_t c = 0x00FF00FF;  // transparent
            if (x < 3 || y < 3 || (y >= 5 && y < 7 && x < 11)) c = alpha | 0x30C0FF;
            if (x < 3 && y < 3) c = alpha | 0xFF2020;
            a->elements()[y * 16 + x] = static_cast<jint>(c);
        }
    return a;
}

TEST_F(LcduiTestCard, RendersEveryPrimitiveTransformAndText) {
    Image* card = Image::createImage(320, 360);
    Graphics* g = card->getGraphics();
    g->setColor(0x202830);
    g->fillRect(0, 0, 320, 360);

    // Row 1: rectangles, lines, round rectangles, arcs, a triangle.
    g->setColor(0xFFFFFF);
    g->drawRect(8, 8, 40, 30);
    g->setColor(0xE04040);
    g->fillRect(12, 12, 33, 23);
    g->setColor(0xFFFF00);
    for (int i = 0; i <= 40; i += 8) g->drawLine(56, 8, 56 + i, 38);
    for (int i = 0; i <= 30; i += 6) g->drawLine(56, 8, 96, 8 + i);
    g->setColor(0x40E040);
    g->drawRoundRect(104, 8, 44, 30, 16, 16);
    g->fillRoundRect(154, 8, 44, 30, 20, 20);
    g->setColor(0x40A0FF);
    g->drawArc(206, 8, 40, 30, 0, 360);
    g->fillArc(252, 8, 30, 30, 0, 180);
    g->fillArc(286, 8, 30, 30, 90, 270);
    g->setColor(0xFF8000);
    g->fillTriangle(8, 90, 40, 48, 72, 80);
    g->m_color = 0x80FFFFFFu;  // translucent white fill over the triangle
    g->fillRect(30, 60, 60, 20);
    g->setColor(0xFF00FF);
    g->fillTriangle(100, 48, 140, 48, 120, 90);

    // Rows 2-4: the sprite in transforms 0..7, plain (opaque), keyed, translucent.
    Image* plain = Image::createRGBImage(spriteARGB(0xFF000000), 16, 12, 0);
    Image* keyed = Image::createRGBImage(spriteARGB(0xFF000000), 16, 12, 1);
    Image* translucent = Image::createRGBImage(spriteARGB(0x80000000), 16, 12, 1);
    Image* sprites[] = {plain, keyed, translucent};
    for (int row = 0; row < 3; ++row) {
        g->setColor(0x808080);
        g->fillRect(0, 110 + row * 36, 320, 14);  // a stripe under half of each sprite
        for (int t = 0; t < 8; ++t) g->drawRegion(sprites[row], 0, 0, 16, 12, t, 10 + t * 38, 104 + row * 36, 20);
    }

    // Row 5: an alpha ramp through drawRGB, and a clipped one.
    IntArray* ramp = Runtime::newIntArray(256 * 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 256; ++x) ramp->elements()[y * 256 + x] = static_cast<jint>(uint32_t(x) << 24 | 0x00FFFF);
    g->drawRGB(ramp, 0, 256, 10, 216, 256, 16, 1);
    g->setClip(10, 236, 128, 8);
    g->drawRGB(ramp, 0, 256, 10, 232, 256, 16, 1);
    g->setClip(0, 0, 320, 360);

    // Row 6: text with anchors.
    g->setColor(0xFFFFFF);
    g->drawString(String::fromCString("Brindlex test card"), 160, 260, 1 | 16);
    g->setColor(0x80FF80);
    g->drawString(String::fromCString("left/baseline"), 10, 300, 4 | 64);
    g->drawLine(10, 300, 130, 300);
    g->setColor(0xFF8080);
    g->drawString(String::fromCString("right/bottom"), 310, 340, 8 | 32);

    TempFolder temp;
    const Surface565 pixels = card->pixels565();
    ASSERT_NE(pixels.pixels, nullptr);
    const ConstSurface565 view{pixels.pixels, pixels.width, pixels.height, pixels.pitch};
    const std::filesystem::path path = temp.path() / "test_card.png";
    ASSERT_TRUE(writePng565(path.string(), view));
    EXPECT_GT(std::filesystem::file_size(path), 1000u);
    if (const char* keep = std::getenv("BRINDLEX_TEST_CARD")) {
        EXPECT_TRUE(writePng565(keep, view));
    }
}

}  // namespace
