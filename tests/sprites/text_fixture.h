// Fixture of the sprite-text tests: fresh heaps, WrapText's two literals in the pool, the shared text
// state and decode buffers cleared around each test, and fonts made from font_sprite.h.
#pragma once

#include <gtest/gtest.h>

#include "runtime/constant_pool.h"
#include "runtime/compiled.h"
#include "sprites/bsprite.h"
#include "tests/classlib/pool_helpers.h"
#include "tests/runtime/runtime_fixture.h"
#include "tests/sprites/font_sprite.h"

class SpriteTextTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        resetStatics();
        installPool({{1, ""}, {44, "\n"}});
    }
    void TearDown() override {
        Runtime::setConstantPool(nullptr);
        resetStatics();
        RuntimeTest::TearDown();
    }
    static void resetStatics() {
        ASprite::s_lineTable = nullptr;
        ASprite::s_substringStart = ASprite::s_substringEnd = ASprite::s_charLimit = -1;
        ASprite::s_rgbPrimary = ASprite::s_rgbSecondary = nullptr;
        ASprite::s_poolOwners = ASprite::s_poolSprites = nullptr;
        ASprite::s_poolNext = ASprite::s_poolSize = nullptr;
    }

    // Glyphs 10 wide, spaces 5; palettes white and yellow. Frames: ' ' 2, a 3, b 4, d 5, h 6, q 7, _ 8.
    static FontSpec tenWide() {
        FontSpec spec;
        spec.chars = u" abdhq_";
        spec.advance = [](char16_t c) { return c == ' ' ? 5 : 10; };
        spec.colours = {0xFFFFFFFF, 0xFFFFFF00};
        return spec;
    }

    static Bsprite* makeFont(const FontSpec& spec) {
        ByteArray* data = fontSprite(spec).array();
        auto* font = Runtime::make<Bsprite>();
        EXPECT_TRUE(font->Load(data, 0));
        font->BuildCharMap(fontCharMap(spec));
        return font;
    }
};
