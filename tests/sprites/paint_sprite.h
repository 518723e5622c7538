// The sprite the painting tests draw: modules of every kind, frames built from them, boxes and two
// animations (one of them empty). Its frame rectangles are computed at load (flag 0x1000).
#pragma once

#include <ostream>
#include <vector>

#include "runtime/compiled.h"
#include "sprites/bsprite.h"
#include "sprites/cgame_draw.h"
#include "tests/sprites/sprite_bytes.h"

// Modules: 0 image 4 x 2 (palette colours 1 2 3 1 / 2 3 1 0, 0 = key); 1 filled rect 6 x 3 opaque
// yellow; 2 filled rect 5 x 5 of alpha 0x80 white; 3 rect outline 7 x 4 cyan; 4 filled arc
// 12 x 12 (0, 270); 5 filled triangle (8, 0), (0, 6); 6 empty 3 x 3; 7 image 10 x 20 (an "F").
// Frame-modules: 0: module 0 at (1, 2); 1: module 1 at (-3, -1) flip x; 2: module 0 at (4, 0)
// turned; 3: module 6 at (2, 2); 4: module 2 at (0, 0); 5: 3 at (0, 0); 6: 4 at (10, 0); 7: 5 at (25, 0);
// 8: module 7 at (0, 0); 9: module 1 at (10, -4).
// Frames: 0 = fm 0; 1 = fm 1, 2; 2 = nothing; 3 = fm 3 (empty module); 4 = fm 4..7 (shapes);
// 5 = fm 8, 9.
// Boxes: frame 0 has one box {-2, 3, 10, 20}; frame 1 has two.
// Animation frames: 0: frame 0 at (0, 0) time 1; 1: frame 1 at (5, -2) flip x, time 2;
// 2: frame 0 at (3, 4) time 0. Animations: 0 = aframes 0, 1; 1 = none; 2 = aframe 2; 3 = aframes 0, 1, 2.
inline SpriteBytes paintSpriteBytes() {
    SpriteBytes s;
    s.u16(0xBEEF).u32(0x01000000 | 0x1000 | 0x8000);
    s.u16(8);
    s.u8(0x00).u8(4).u8(2);
    s.u8(0xFE).u32(0xFFFFFF00).u8(6).u8(3);
    s.u8(0xFE).u32(0x80FFFFFF).u8(5).u8(5);
    s.u8(0xFF).u32(0xFF00FFFF).u8(7).u8(4);
    s.u8(0xFB).u32(0xFFFF8000).u8(12).u8(12).u16(0).u16(270);
    s.u8(0xF9).u32(0xFF8080FF).u16(8).u16(0).u16(0).u16(6);
    s.u8(0xFD).u8(3).u8(3);
    s.u8(0x00).u8(10).u8(20);
    const int fm[][4] = {{0, 1, 2, 0}, {1, -3, -1, 1}, {0, 4, 0, 4}, {6, 2, 2, 0}, {2, 0, 0, 0},
                         {3, 0, 0, 0}, {4, 10, 0, 0}, {5, 25, 0, 0}, {7, 0, 0, 0}, {1, 10, -4, 0}};
    s.u16(10);
    for (const auto& f : fm) s.u8(f[0]).u8(static_cast<uint32_t>(f[1])).u8(static_cast<uint32_t>(f[2])).u8(f[3]);
    s.u16(3);
    for (int v : {-2, 3, 10, 20, 0, 0, 4, 4, -1, -1, 2, 2}) s.u8(static_cast<uint32_t>(v));
    const int frames[][3] = {{1, 0, 1}, {2, 1, 2}, {0, 0, 0}, {1, 3, 0}, {4, 4, 0}, {2, 8, 0}};
    s.u16(6);
    for (const auto& f : frames) s.u8(f[0]).u8(0).u16(f[1]).u8(f[2]);
    s.u16(3);
    s.u8(0).u8(1).u8(0).u8(0).u8(0);
    s.u8(1).u8(2).u8(5).u8(static_cast<uint32_t>(-2)).u8(1);
    s.u8(0).u8(0).u8(3).u8(4).u8(0);
    s.u16(4);
    s.u8(2).u8(0).u16(0);
    s.u8(0).u8(0).u16(0);
    s.u8(1).u8(0).u16(2);
    s.u8(3).u8(0).u16(0);
    s.u16(0x8888).u8(1).u8(4);
    for (uint32_t c : {0x00FF00FFu, 0xFFE03020u, 0xFF20C040u, 0xFF3060F0u}) s.u32(c);
    s.u16(0x1600);
    const uint8_t image0[] = {0x12, 0x31, 0x23, 0x10};
    s.u16(sizeof image0);
    for (uint8_t b : image0) s.u8(b);
    for (int m = 1; m < 7; ++m) s.u16(0);
    // Module 7: an "F" on its side, so every turn and mirror shows: a red bar along the top, a green
    // bar down the left, a blue bar across the middle; the rest is key (transparent).
    s.u16(100);
    auto pixel = [](int x, int y) { return y < 3 ? 1 : x < 3 ? 2 : (y >= 9 && y < 12 && x < 7) ? 3 : 0; };
    for (int i = 0; i < 200; i += 2) s.u8(static_cast<uint32_t>(pixel(i % 10, i / 10) << 4 | pixel(i % 10 + 1, i / 10)));
    return s;
}


// A module paint as a recording sprite was asked for it (landscape place and flags).
struct PaintCall {
    jint module, x, y, flags;
    friend bool operator==(const PaintCall&, const PaintCall&) = default;
};
inline void PrintTo(const PaintCall& c, std::ostream* os) {
    *os << "{m" << c.module << " " << c.x << "," << c.y << " f" << c.flags << "}";
}
// The calls recorded so far, in order; tests clear it.
inline std::vector<PaintCall>& recordedPaints() {
    static std::vector<PaintCall> calls;
    return calls;
}
// Records the module paints instead of drawing; frames reach it through their frame-modules.
class RecordingSprite : public Bsprite {
public:
    void PaintModule(javax_microedition_lcdui_Graphics*, jint module, jint x, jint y, jint flags) override {
        recordedPaints().push_back({module, x, y, flags});
    }
};

// Sprite loaded from paintSpriteBytes as the test's own Bsprite subclass (one that records what it
// is asked to paint); null when refused.
template <class S>
S* loadPaintSpriteAs() {
    ByteArray* data = paintSpriteBytes().array();
    auto* sprite = Runtime::make<S>();
    if (!sprite || !sprite->Load(data, 0)) return nullptr;
    return sprite;
}

inline Bsprite* loadPaintSprite() { return loadPaintSpriteAs<Bsprite>(); }

// The sprite and drawing statics as a fresh start-up leaves them (the heaps of the previous test are
// gone, so no static may keep pointing into them).
inline void resetPaintStatics() {
    ASprite::s_rgbPrimary = ASprite::s_rgbSecondary = nullptr;
    ASprite::s_poolOwners = ASprite::s_poolSprites = nullptr;
    ASprite::s_poolNext = ASprite::s_poolSize = nullptr;
    cGameDraw::s_drawEffectParams = nullptr;
    cGameDraw::s_colorTile = nullptr;
    cGameDraw::s_g = nullptr;
    cGameDraw::s_frameImage = nullptr;
    cGameDraw::s_drawEffects = 0;
    cGameDraw::s_usedFrameEffects = 0;
    cGameDraw::s_effectsEnabled = 1;
}
