// GameCanvas's flush: the off-screen Image drawn into the screen Image within the region, the
// screen Graphics' clip given back afterwards.
#include <gtest/gtest.h>

#include "application_fixture.h"
#include "classlib/lcdui/javax_microedition_lcdui_game_game_canvas.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"

namespace {

using GameCanvasFlushTest = ApplicationFixture;

TEST_F(GameCanvasFlushTest, FlushDrawsTheOffScreenImageWithinTheRegion) {
    startRuntime(nullptr);
    auto* canvas = new javax_microedition_lcdui_game_GameCanvas();
    canvas->init();
    ASSERT_NE(canvas->m_image, nullptr);
    javax_microedition_lcdui_Graphics* off = canvas->m_image->getGraphics();
    off->setColor(0xFFFFFF);
    off->fillRect(0, 0, 480, 800);

    javax_microedition_lcdui_Graphics* screen = app.screenGraphics();
    ASSERT_NE(screen, nullptr);
    screen->translate(2, 1);
    screen->setClip(0, 0, 100, 100);
    canvas->flushGraphicsRegion(10, 20, 3, 2);  // relative to the translation: (12, 21)
    for (int y = 19; y < 25; ++y)
        for (int x = 10; x < 17; ++x)
            EXPECT_EQ(pixel(x, y), x >= 12 && x < 15 && y >= 21 && y < 23 ? 0xFFFF : 0) << x << "," << y;
    EXPECT_EQ(screen->getClipX(), 0);
    EXPECT_EQ(screen->getClipY(), 0);
    EXPECT_EQ(screen->getClipWidth(), 100);
    EXPECT_EQ(screen->getClipHeight(), 100);

    screen->translate(-2, -1);
    screen->setClip(0, 0, 480, 800);
    canvas->flushGraphics();
    EXPECT_EQ(pixel(0, 0), 0xFFFF);
    EXPECT_EQ(pixel(479, 799), 0xFFFF);
}

}  // namespace
