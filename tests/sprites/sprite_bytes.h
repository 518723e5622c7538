// Sprite bytes written by a test: little-endian appenders and a small sprite with every section,
// whose field widths follow the data flags the test picks.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/array.h"

struct SpriteBytes {
    std::vector<uint8_t> b;

    SpriteBytes& u8(uint32_t v) {
        b.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    SpriteBytes& u16(uint32_t v) { return u8(v).u8(v >> 8); }
    SpriteBytes& u32(uint32_t v) { return u16(v).u16(v >> 16); }
    // A 16-bit field when `wide`, else 8 bits.
    SpriteBytes& field(bool wide, uint32_t v) { return wide ? u16(v) : u8(v); }

    [[nodiscard]] ByteArray* array() const {
        ByteArray* a = Runtime::newByteArray(static_cast<jint>(b.size()));
        if (a) {
            for (size_t i = 0; i < b.size(); ++i) a->set(static_cast<jint>(i), static_cast<jbyte>(b[i]));
        }
        return a;
    }
};

// Flags of the two forms the sample sprite is written in.
constexpr uint32_t kSmallForms = 0x01000000 | 0x8000;
constexpr uint32_t kWideForms = 0x01000000 | 0x8000 | 0x10 | 0x20 | 0x80 | 0x400 | 0x40000;

// Three modules: image 0 (3x2, 4-bit pixels), filled rect 1 (colour 0x80FF0000, 5x4), filled
// triangle 2. Two frame-modules, two frames (the second with one box), three animation frames, one
// animation of all three. Palettes: two 0x8888 palettes of 4 colours.
inline SpriteBytes sampleSprite(uint32_t flags) {
    const bool size16 = flags & 0x10, xy = flags & 0x20, data32 = flags & 0x80, f16 = flags & 0x400,
               af16 = flags & 0x40000;
    SpriteBytes s;
    s.u16(0xBEEF).u32(flags);
    s.u16(3);
    s.u8(0x00);
    if (xy) s.u16(7).u16(0xFFF8);
    s.field(size16, 3).field(size16, 2);
    s.u8(0xFE).u32(0x80FF0000).field(size16, 5).field(size16, 4);
    s.u8(0xF9).u32(0xFF00FF00).u16(1).u16(2).u16(0xFFFD).u16(4);
    // Frame-modules: module 0 at (-2, 3) flip x; module 2 at (5, -6) rotate.
    s.u16(2);
    s.u8(0).field(f16, 0xFFFE).field(f16, 3).u8(1);
    s.u8(2).field(f16, 5).field(f16, 0xFFFA).u8(4);
    if (flags & 0x8000) {
        s.u16(1);
        for (uint32_t v : {1u, 0xFFFEu, 10u, 200u}) s.field(f16, v);
    }
    s.u16(2);
    s.u8(2).u8(0x99).u16(0);
    if (flags & 0x8000) s.u8(0);
    s.u8(1).u8(0x99).u16(1);
    if (flags & 0x8000) s.u8(1);
    if (!(flags & 0x1000)) {
        for (uint32_t v : {0xFFFEu, 3u, 5u, 2u, 1u, 0xFFFAu, 250u, 9u}) s.field(f16, v);
    }
    s.u16(3);
    s.u8(0).u8(3).field(af16, 0xFFFF).field(af16, 2).u8(0);
    s.u8(1).u8(5).field(af16, 4).field(af16, 0xFFFC).u8(2);
    s.u8(0).u8(255).field(af16, 0).field(af16, 0).u8(3);
    s.u16(1);
    s.u8(3).u8(0x99).u16(0);
    if (flags & 0x01000000) {
        s.u16(0x8888).u8(2).u8(4);
        for (uint32_t c : {0x00FF00FFu, 0xFF111111u, 0xFF222222u, 0xFF333333u}) s.u32(c);
        for (uint32_t c : {0x00FF00FFu, 0xFFAAAAAAu, 0xFFBBBBBBu, 0xFFCCCCCCu}) s.u32(c);
        s.u16(0x1600);
        // Module 0: 6 pixels 0,1,2,3,2,1; the other modules have no pixels.
        if (data32) s.u32(3); else s.u16(3);
        s.u8(0x01).u8(0x23).u8(0x21);
        for (int m = 1; m < 3; ++m) {
            if (data32) s.u32(0); else s.u16(0);
        }
    }
    return s;
}
