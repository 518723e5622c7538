// Sprite fonts written by the tests: frame 0 carries the line metrics, frame 1 is the fallback glyph,
// then one frame per character. Each glyph frame is an empty module at (advance, 0), which carries
// the advance, then the glyph's picture at (0, 0): the built-in 9x15 bitmap font drawn in colour 1
// of a two-colour palette (one palette per colour asked for). Also its char-map definition.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/graphics/surface.h"
#include "platform/graphics/system_font.h"
#include "runtime/array.h"
#include "tests/sprites/sprite_bytes.h"

struct FontRecipe {
    std::u16string chars;                               // the mapped characters, ' ' included
    std::function<int(char16_t)> advance;               // per character; ' ' gives the space width
    int yOffsetFm = -2;                                 // y of the metrics frame's first frame-module
    int lineSpacingFm = 1;                              // y of its second
    int fontHeight = 15;                                // the metrics frame's height
    std::vector<uint32_t> colours = {0xFFFFFFFF};       // one palette per colour
    int buckets = 7;
};

inline constexpr int kGlyphW = 9, kGlyphH = 15;

// The frame of chars[i] is i + 2.
inline SpriteBytes fontSprite(const FontRecipe& recipe) {
    const int n = static_cast<int>(recipe.chars.size());
    SpriteBytes s;
    s.u16(0).u32(0x01000000);
    // Modules: 0 empty 1x1; 1 + i the glyph of chars[i]; 1 + n the fallback box.
    s.u16(static_cast<uint32_t>(n + 2));
    s.u8(0xFD).u8(1).u8(1);
    for (int i = 0; i <= n; ++i) s.u8(0x00).u8(kGlyphW).u8(kGlyphH);
    // Frame-modules: 3 metrics, then two per glyph frame (fallback first). The module byte carries
    // bits 8-9 of the index in flag bits 6-7.
    auto fm = [&s](int module, int x, int y) {
        s.u8(static_cast<uint32_t>(module & 0xFF)).u8(static_cast<uint32_t>(x)).u8(static_cast<uint32_t>(y));
        s.u8(static_cast<uint32_t>((module >> 8) << 6));
    };
    s.u16(static_cast<uint32_t>(3 + 2 * (n + 1)));
    fm(0, 0, recipe.yOffsetFm);
    fm(0, 0, recipe.lineSpacingFm);
    fm(0, 0, recipe.yOffsetFm + recipe.fontHeight);
    fm(0, kGlyphW + 1, 0);
    fm(1 + n, 0, 0);
    for (int i = 0; i < n; ++i) {
        fm(0, recipe.advance(recipe.chars[i]), 0);
        fm(1 + i, 0, 0);
    }
    // Frames.
    s.u16(static_cast<uint32_t>(n + 2));
    s.u8(3).u8(0).u16(0);
    for (int f = 1; f < n + 2; ++f) s.u8(2).u8(0).u16(static_cast<uint32_t>(3 + 2 * (f - 1)));
    // Frame rectangles.
    s.u8(0).u8(0).u8(kGlyphW).u8(static_cast<uint32_t>(recipe.fontHeight));
    for (int f = 1; f < n + 2; ++f) {
        const int w = f == 1 ? kGlyphW + 1 : recipe.advance(recipe.chars[f - 2]);
        s.u8(0).u8(0).u8(static_cast<uint32_t>(w)).u8(kGlyphH);
    }
    s.u16(0);  // animation frames
    s.u16(0);  // animations
    // Image section: palettes of {key, colour}, 4-bit pixels.
    s.u16(0x8888).u8(static_cast<uint32_t>(recipe.colours.size())).u8(2);
    for (uint32_t c : recipe.colours) s.u32(0x00FF00FF).u32(c);
    s.u16(0x1600);
    s.u16(0);  // the empty module
    std::vector<uint16_t> cell(kGlyphW * kGlyphH);
    for (int i = 0; i <= n; ++i) {
        std::fill(cell.begin(), cell.end(), 0);
        Surface565 surface{cell.data(), kGlyphW, kGlyphH, kGlyphW};
        if (i < n) {
            SystemFont::drawText(surface, 0, 0, std::u16string(1, recipe.chars[i]), 0xFFFF);
        } else {
            for (int y = 0; y < kGlyphH; ++y) cell[y * kGlyphW] = cell[y * kGlyphW + kGlyphW - 1] = 0xFFFF;
            for (int x = 0; x < kGlyphW; ++x) cell[x] = cell[(kGlyphH - 1) * kGlyphW + x] = 0xFFFF;
        }
        const int pixels = kGlyphW * kGlyphH;
        s.u16(static_cast<uint32_t>((pixels + 1) / 2));
        for (int p = 0; p < pixels; p += 2) {
            const int hi = cell[p] ? 1 : 0, lo = p + 1 < pixels && cell[p + 1] ? 1 : 0;
            s.u8(static_cast<uint32_t>(hi << 4 | lo));
        }
    }
    return s;
}

// The char map of the font: bucket b starts with the first character c with c mod B = b (or the
// pair {0, 1} when there is none); the others follow in one record per bucket.
inline ShortArray* fontCharMap(const FontRecipe& recipe) {
    const int b = recipe.buckets, n = static_cast<int>(recipe.chars.size());
    std::vector<std::vector<int>> pairs(b);
    for (int i = 0; i < n; ++i) {
        pairs[recipe.chars[i] % b].push_back(recipe.chars[i]);
        pairs[recipe.chars[i] % b].push_back(i + 2);
    }
    std::vector<int> def{b};
    for (int k = 0; k < b; ++k) {
        def.push_back(pairs[k].empty() ? 0 : pairs[k][0]);
        def.push_back(pairs[k].empty() ? 1 : pairs[k][1]);
    }
    for (int k = 0; k < b; ++k) {
        if (pairs[k].size() <= 2) continue;
        def.push_back(k);
        def.push_back(static_cast<int>(pairs[k].size() / 2 - 1));
        def.insert(def.end(), pairs[k].begin() + 2, pairs[k].end());
    }
    ShortArray* a = Runtime::newShortArray(static_cast<jint>(def.size()));
    for (size_t i = 0; i < def.size(); ++i) a->set(static_cast<jint>(i), static_cast<jshort>(def[i]));
    return a;
}
