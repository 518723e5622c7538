// The copiers of blit.h. One loop shape serves them all: rows of contiguous (or reversed)
// destination pixels run straight; column stepping (the quarter turns) goes in small tiles so the
// destination is written contiguously while the tile's source rows stay in cache.
#include "platform/graphics/blit.h"

#include <algorithm>
#include <cstring>

#include "platform/graphics/shapes.h"

namespace {

constexpr int kTileRows = 16;
constexpr int kTileColumns = 64;

template <class Src, class Op>
void runRows(const Src* src, uint16_t* dst, const BlitSteps& s, Op op) {
    const ptrdiff_t step = s.pixelStep;
    for (int r = 0; r < s.height; ++r) {
        const Src* in = src + r * s.sourceStride;
        uint16_t* out = dst + r * s.rowStep;
        if (s.inOrder) {
            for (int c = 0; c < s.width; ++c) op(out[c * step], in[c]);
        } else if (step == 1) {
            for (int c = 0; c < s.width; ++c) op(out[c], in[c]);
        } else {
            for (int c = 0; c < s.width; ++c) op(out[-c], in[c]);
        }
    }
}

template <class Src, class Op>
void runBlit(const Src* src, uint16_t* dst, const BlitSteps& s, Op op) {
    if (s.width <= 0 || s.height <= 0) return;
    if (s.inOrder || s.pixelStep == 1 || s.pixelStep == -1) return runRows(src, dst, s, op);
    for (int r0 = 0; r0 < s.height; r0 += kTileRows) {
        const int rows = std::min(kTileRows, s.height - r0);
        for (int c0 = 0; c0 < s.width; c0 += kTileColumns) {
            const int end = std::min(c0 + kTileColumns, s.width);
            for (int c = c0; c < end; ++c) {
                const Src* in = src + r0 * s.sourceStride + c;
                uint16_t* out = dst + c * s.pixelStep + r0 * s.rowStep;
                if (s.rowStep == 1) {
                    for (int r = 0; r < rows; ++r) op(out[r], in[r * s.sourceStride]);
                } else if (s.rowStep == -1) {
                    for (int r = 0; r < rows; ++r) op(out[-r], in[r * s.sourceStride]);
                } else {
                    for (int r = 0; r < rows; ++r) op(out[r * s.rowStep], in[r * s.sourceStride]);
                }
            }
        }
    }
}

}  // namespace

void copyPixels(const uint16_t* src, uint16_t* dst, const BlitSteps& steps) {
    if (!steps.inOrder && steps.pixelStep == 1 && steps.width > 0) {
        for (int r = 0; r < steps.height; ++r)
            std::memcpy(dst + r * steps.rowStep, src + r * steps.sourceStride, sizeof(uint16_t) * steps.width);
        return;
    }
    runBlit(src, dst, steps, [](uint16_t& d, uint16_t s) { d = s; });
}

void copyKeyedPixels(const uint16_t* src, uint16_t* dst, const BlitSteps& steps) {
    // Always a store (of d itself for the key), so rows vectorise.
    runBlit(src, dst, steps, [](uint16_t& d, uint16_t s) { d = s == kColorKey565 ? d : s; });
}

void blendPixels4444(const uint16_t* src, uint16_t* dst, const BlitSteps& steps) {
    runBlit(src, dst, steps, [](uint16_t& d, uint16_t s) { d = blend4444(d, s); });
}

void copyARGBOpaque(const uint32_t* src, uint16_t* dst, const BlitSteps& steps) {
    runBlit(src, dst, steps, [](uint16_t& d, uint32_t s) { d = argbTo565(s); });
}

void blendARGB(const uint32_t* src, uint16_t* dst, const BlitSteps& steps) {
    runBlit(src, dst, steps, [](uint16_t& d, uint32_t s) {
        const uint32_t a = s >> 24;
        if (a == 0xFF) d = argbTo565(s);
        else if (a != 0) d = blend565(d, argbTo565(s), static_cast<int32_t>(a));
    });
}

void storeARGB4444(const uint32_t* src, uint16_t* dst, const BlitSteps& steps) {
    runBlit(src, dst, steps, [](uint16_t& d, uint32_t s) { d = argbTo4444(s); });
}

const WideningTables& wideningTables() {
    static const WideningTables tables = [] {
        WideningTables t{};
        for (int i = 0; i < 16; ++i) t.from4[i] = static_cast<uint16_t>(i * 17);
        for (int i = 0; i < 32; ++i) t.from5[i] = static_cast<uint16_t>(i * 255 / 31);
        for (int i = 0; i < 64; ++i) t.from6[i] = static_cast<uint16_t>(i * 255 / 63);
        return t;
    }();
    return tables;
}

void widen565(const uint16_t* src, uint32_t* dst, int count, bool keyed) {
    const WideningTables& t = wideningTables();
    for (int i = 0; i < count; ++i) {
        const uint16_t p = src[i];
        dst[i] = keyed && p == kColorKey565
                     ? 0
                     : 0xFF000000u | uint32_t{t.from5[p >> 11]} << 16 | uint32_t{t.from6[(p >> 5) & 0x3F]} << 8 |
                           t.from5[p & 0x1F];
    }
}

void widen4444(const uint16_t* src, uint32_t* dst, int count) {
    const WideningTables& t = wideningTables();
    for (int i = 0; i < count; ++i) {
        const uint16_t p = src[i];
        dst[i] = uint32_t{t.from4[p >> 12]} << 24 | uint32_t{t.from4[(p >> 8) & 0xF]} << 16 |
                 uint32_t{t.from4[(p >> 4) & 0xF]} << 8 | t.from4[p & 0xF];
    }
}
