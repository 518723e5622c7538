// Fixture of the sprite-text and tile-layer tests: fresh heaps big enough for a screen and back
// buffers, WrapText's two literals in the pool, the shared statics reset around each test by the test
// world, fonts made from font_sprite.h, and the screen read back as the upright landscape
// picture (written as PNG into $BRINDLEX_SPRITE_PNG_DIR when it is set, for looking at).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "platform/graphics/landscape_view.h"
#include "platform/graphics/png_writer.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"
#include "tests/classlib/pool_helpers.h"
#include "tests/sprites/font_sprite.h"
#include "tests/sprites/paint_sprite.h"
#include "tests/support/test_world.h"

class SpriteTextTest : public TestWorld {
protected:
    using Image = javax_microedition_lcdui_Image;
    using Graphics = javax_microedition_lcdui_Graphics;
    static constexpr int kLandscapeW = 800, kLandscapeH = 480;

    SpriteTextTest() : TestWorld(4 << 20, 16 << 20) {}
    void SetUp() override {
        TestWorld::SetUp();
        installPool({{1, ""}, {44, "\n"}});
    }

    // Glyphs 10 wide, spaces 5; palettes white and yellow. Frames: ' ' 2, a 3, b 4, d 5, h 6, q 7, _ 8.
    static FontRecipe tenWide() {
        FontRecipe recipe;
        recipe.chars = u" abdhq_";
        recipe.advance = [](char16_t c) { return c == ' ' ? 5 : 10; };
        recipe.colours = {0xFFFFFFFF, 0xFFFFFF00};
        return recipe;
    }

    static Bsprite* makeFont(const FontRecipe& recipe) {
        ByteArray* data = fontSprite(recipe).array();
        auto* font = Runtime::make<Bsprite>();
        EXPECT_TRUE(font->Load(data, 0));
        font->BuildCharMap(fontCharMap(recipe));
        return font;
    }

    // The portrait screen, cleared to `background`.
    static Image* screen(uint32_t background) {
        Image* image = Image::createImage(kLandscapeH, kLandscapeW);
        Graphics* g = image->getGraphics();
        g->setColor(static_cast<jint>(background));
        g->fillRect(0, 0, kLandscapeH, kLandscapeW);
        return image;
    }
    // The screen as the upright landscape picture, RGB565 row by row.
    static std::vector<uint16_t> landscape(Image* image) {
        std::vector<uint16_t> out(kLandscapeW * kLandscapeH);
        const Surface565 p = image->pixels565();
        turnToLandscape(ConstSurface565{p.pixels, p.width, p.height, p.pitch},
                        Surface565{out.data(), kLandscapeW, kLandscapeH, kLandscapeW});
        return out;
    }
    static void keepPng(const std::vector<uint16_t>& picture, const std::string& name) {
        const char* dir = std::getenv("BRINDLEX_SPRITE_PNG_DIR");
        if (!dir) return;
        EXPECT_TRUE(writePng565(std::string(dir) + "/" + name + ".png",
                                ConstSurface565{picture.data(), kLandscapeW, kLandscapeH, kLandscapeW}));
    }
};
