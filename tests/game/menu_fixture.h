// Fixture of the menu, dialog and soft-key tests: the sprite-text heaps and screen, the game's key
// tables, the menu containers, two capital-letter fonts, a small text pack, and a menu sprite whose
// frames are plain coloured boxes, so a picture shows which frame was painted where.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/java_io/java_io_byte_array_input_stream.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/string.h"
#include "tests/sprites/text_fixture.h"
#include "tools/text_pack_compiler.h"

// Frame f of the test menu sprite is one filled box of menuFrameColour(f). Boxes around the frame's
// point: rows 8..10 200 x 50 centred; arrows 6, 7, 19, 20 40 x 20 centred; soft keys 11, 12 60 x 40
// left and below the point, 13, 14 right and above, 15..18 left and above; the rest 20 x 20 centred.
// Animations: 0 opening (frame 0), 1 closing (frame 1), 2 up idle (6), 3 up flash (19), 4 down idle
// (7), 5 down flash (20), each one animation frame of 62 ms.
inline uint32_t menuFrameColour(int f) {
    static const uint32_t kColours[] = {0xFF102030, 0xFF203040, 0xFF304050, 0xFF405060, 0xFF506070, 0xFF607080,
                                        0xFFF80000, 0xFF00F800, 0xFF0000F8, 0xFF808080, 0xFFF8F800, 0xFFF800F8,
                                        0xFF00F8F8, 0xFFF88000, 0xFF80F800, 0xFF0080F8, 0xFFF80080, 0xFF8000F8,
                                        0xFF00F880, 0xFFF8A0A0, 0xFFA0F8A0};
    return kColours[f];
}
inline constexpr int kMenuFrames = 21;

inline SpriteBytes menuSpriteBytes() {
    struct Box {
        int x, y, w, h;
    };
    auto box = [](int f) -> Box {
        if (f >= 8 && f <= 10) return {-100, -25, 200, 50};
        if (f == 6 || f == 7 || f == 19 || f == 20) return {-20, -10, 40, 20};
        if (f == 11 || f == 12) return {-60, 0, 60, 40};
        if (f == 13 || f == 14) return {0, -40, 60, 40};
        if (f >= 15 && f <= 18) return {-60, -40, 60, 40};
        return {-10, -10, 20, 20};
    };
    SpriteBytes s;
    s.u16(0).u32(0x01000000 | 0x1000);
    s.u16(kMenuFrames);
    for (int f = 0; f < kMenuFrames; ++f) s.u8(0xFE).u32(menuFrameColour(f)).u8(box(f).w).u8(box(f).h);
    s.u16(kMenuFrames);
    for (int f = 0; f < kMenuFrames; ++f) {
        s.u8(f).u8(static_cast<uint32_t>(box(f).x)).u8(static_cast<uint32_t>(box(f).y)).u8(0);
    }
    s.u16(kMenuFrames);
    for (int f = 0; f < kMenuFrames; ++f) s.u8(1).u8(0).u16(f);
    const int animFrames[] = {0, 1, 6, 19, 7, 20};
    s.u16(6);
    for (int f : animFrames) s.u8(f).u8(1).u8(0).u8(0).u8(0);
    s.u16(6);
    for (int a = 0; a < 6; ++a) s.u8(1).u8(0).u16(a);
    s.u16(0x8888).u8(1).u8(2).u32(0x00FF00FF).u32(0xFFFFFFFF);
    s.u16(0x1600);
    for (int f = 0; f < kMenuFrames; ++f) s.u16(0);
    return s;
}

class MenuTest : public SpriteTextTest {
protected:
    static constexpr uint32_t kBack = 0xFF000000;

    void SetUp() override {
        SpriteTextTest::SetUp();
        cGame::createKeyTables();
        cGame::s_menuItems = Runtime::newIntArray(cGame::kMenuCapacity);
        cGame::s_menuRemembered = Runtime::newIntArray(8);
        FontRecipe caps;
        caps.chars = u" ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        caps.advance = [](char16_t c) { return c == ' ' ? 5 : 10; };
        caps.colours = {0xFFFFFFFF, 0xFFFFFF00};
        cGame::s_fonts = Runtime::newObjectArray(CID_Object, 3);
        cGame::s_fonts->set(0, makeFont(caps));
        cGame::s_fonts->set(1, makeFont(caps));
        loadTexts();
        auto* sprite = Runtime::make<Bsprite>();
        ASSERT_TRUE(sprite->Load(menuSpriteBytes().array(), 0));
        cGame::s_menuSprite = sprite;
        cGame::s_transitionPlayer = player(sprite, 0);
        cGame::s_arrowUpPlayer = player(sprite, 2);
        cGame::s_arrowDownPlayer = player(sprite, 4);
        cGame::s_frameTime = 50;
        cGame::s_state = cGame::kStateMainMenu;
    }
    static BXLibPlayer* player(Bsprite* sprite, jint anim) {
        auto* p = Runtime::make<BXLibPlayer>();
        p->init(sprite, 0, 0);
        p->SetAnim(anim, 0);
        return p;
    }
    // Texts 0..79: "T<id>"; the answers 6 YES and 7 NO; 35 PRESS; items 57.. named.
    static void loadTexts() {
        std::string lines;
        for (int id = 0; id < 80; ++id) {
            std::string t = "T" + std::to_string(id);
            if (id == 6) t = "YES";
            if (id == 7) t = "NO";
            if (id == 35) t = "PRESS A KEY";
            lines += t + "\n";
        }
        std::string packed, error;
        ASSERT_TRUE(tools::compileTextPack(lines, "menu texts", packed, error)) << error;
        ByteArray* bytes = Runtime::newByteArray(static_cast<jint>(packed.size()));
        for (size_t i = 0; i < packed.size(); ++i) bytes->set(static_cast<jint>(i), static_cast<jbyte>(packed[i]));
        ASSERT_GT(cGame::textLoad(java_io_ByteArrayInputStream::over(bytes)), 0);
    }
    static std::string text(String* s) { return s ? s->toCString() : "(null)"; }

    // One frame's snapshot with only game key k released (-1: none).
    static void release(jint k) {
        jbyte* frame = cGame::s_keysFrame->elements();
        std::fill(frame, frame + cGame::kGameKeyCount, jbyte{0});
        if (k >= 0) frame[k] = -1;
    }
    static void setItems(const std::vector<jint>& ids, jint visible, jint menu = 0, jint remembered = 0) {
        IntArray* list = Runtime::newIntArray(static_cast<jint>(ids.size()));
        for (size_t i = 0; i < ids.size(); ++i) list->set(static_cast<jint>(i), ids[i]);
        cGame::s_menuRemembered->set(menu, remembered);
        cGame::setMenuItems(menu, list, visible);
    }
    // The upright landscape picture of what f() paints on a fresh black screen.
    template <class F>
    static std::vector<uint16_t> paint(F&& f) {
        Image* s = screen(kBack);
        cGame::s_g = s->getGraphics();
        f();
        cGame::s_g = nullptr;
        return landscape(s);
    }
    static uint16_t at(const std::vector<uint16_t>& p, int x, int y) { return p[static_cast<size_t>(y * kLandscapeW + x)]; }
    static bool shows(const std::vector<uint16_t>& p, int x, int y, int frame) {
        return at(p, x, y) == Graphics::toRGB565(menuFrameColour(frame));
    }
};
