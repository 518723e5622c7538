// Sprites of plain boxes for the touch and heads-up display tests: frame f is one filled rectangle at a
// landscape offset from the anchor (or nothing), so its measured screen box is known; animations list
// frames. Loaded as any Bsprite subclass (a recording one for the display tests).
#pragma once

#include <vector>

#include "runtime/compiled.h"
#include "sprites/bsprite.h"
#include "tests/sprites/sprite_bytes.h"

struct BoxFrame {
    int x = 0, y = 0, w = 0, h = 0;   // w 0: an empty frame
};

inline SpriteBytes boxSpriteBytes(const std::vector<BoxFrame>& frames, const std::vector<std::vector<int>>& anims = {}) {
    SpriteBytes s;
    s.u16(0xBEEF).u32(0x10 | 0x400 | 0x1000);   // 16-bit sizes and offsets, rectangles measured at load
    std::vector<int> moduleOf;
    int modules = 0;
    for (const BoxFrame& f : frames) moduleOf.push_back(f.w > 0 ? modules++ : -1);
    s.u16(static_cast<uint32_t>(modules));
    for (const BoxFrame& f : frames)
        if (f.w > 0) s.u8(0xFE).u32(0xFF40A0E0).u16(static_cast<uint32_t>(f.w)).u16(static_cast<uint32_t>(f.h));
    s.u16(static_cast<uint32_t>(modules));
    for (size_t i = 0; i < frames.size(); ++i)
        if (moduleOf[i] >= 0)
            s.u8(static_cast<uint32_t>(moduleOf[i])).u16(static_cast<uint32_t>(frames[i].x)).u16(static_cast<uint32_t>(frames[i].y)).u8(0);
    s.u16(static_cast<uint32_t>(frames.size()));
    for (size_t i = 0; i < frames.size(); ++i) s.u8(moduleOf[i] >= 0 ? 1 : 0).u8(0).u16(static_cast<uint32_t>(moduleOf[i] >= 0 ? moduleOf[i] : 0));
    int aframes = 0;
    for (const auto& a : anims) aframes += static_cast<int>(a.size());
    s.u16(static_cast<uint32_t>(aframes));
    for (const auto& a : anims)
        for (int f : a) s.u8(static_cast<uint32_t>(f)).u8(1).u8(0).u8(0).u8(0);
    s.u16(static_cast<uint32_t>(anims.size()));
    int first = 0;
    for (const auto& a : anims) {
        s.u8(static_cast<uint32_t>(a.size())).u8(0).u16(static_cast<uint32_t>(first));
        first += static_cast<int>(a.size());
    }
    return s;
}

template <class S = Bsprite>
S* loadBoxSprite(const std::vector<BoxFrame>& frames, const std::vector<std::vector<int>>& anims = {}) {
    ByteArray* data = boxSpriteBytes(frames, anims).array();
    auto* sprite = Runtime::make<S>();
    if (!data || !sprite || !sprite->Load(data, 0)) return nullptr;
    return sprite;
}
