// Fixture of the sprite-text and tile-layer tests: fresh heaps big enough for a screen and back
// buffers, WrapText's two literals in the pool, the shared text, tile and decode state cleared around
// each test, fonts made from font_sprite.h, and the screen read back as the upright landscape
// picture (written as PNG into $BRINDLEX_SPRITE_PNG_DIR when it is set, for looking at).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "platform/graphics/landscape_view.h"
#include "platform/graphics/png_writer.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"
#include "tests/classlib/pool_helpers.h"
#include "tests/sprites/font_sprite.h"
#include "tests/sprites/paint_sprite.h"

class SpriteTextTest : public ::testing::Test {
protected:
    using Image = javax_microedition_lcdui_Image;
    using Graphics = javax_microedition_lcdui_Graphics;
    static constexpr int kLandscapeW = 800, kLandscapeH = 480;

    void SetUp() override {
        ASSERT_TRUE(Runtime::initHeaps(4 << 20, 16 << 20));
        m_objectManager = std::make_unique<ObjectManager>();
        resetStatics();
        installPool({{1, ""}, {44, "\n"}});
    }
    void TearDown() override {
        Runtime::setConstantPool(nullptr);
        resetStatics();
        Runtime::destroyHeaps();
        m_objectManager.reset();
    }
    static void resetStatics() {
        BXLibPlayer::s_tilesEnabled = false;
        BXLibPlayer::s_tileParams = nullptr;
        BXLibPlayer::s_layerRecords = BXLibPlayer::s_layerPlanes = BXLibPlayer::s_layerImages = nullptr;
        BXLibPlayer::s_layerGraphics = BXLibPlayer::s_layerSprites = nullptr;
        ASprite::s_lineTable = nullptr;
        ASprite::s_substringStart = ASprite::s_substringEnd = ASprite::s_charLimit = -1;
        resetPaintStatics();
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

private:
    std::unique_ptr<ObjectManager> m_objectManager;
};
