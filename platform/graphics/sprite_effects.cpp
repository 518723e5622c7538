// Sprite draw-effect pixel loops. Channels are computed separately in 32 or 64 bits so no product
// overflows into a neighbouring channel.
#include "platform/graphics/sprite_effects.h"

#include <algorithm>

namespace gfx {

namespace {

uint32_t channel(uint32_t p, int shift) { return (p >> shift) & 0xFF; }

uint32_t greyOfRed(uint32_t p) { return channel(p, 16) * 0x010101u; }

}  // namespace

void colourEffect(const uint32_t* src, uint32_t* dst, int n, int alpha, bool colourKey, bool scaleAlpha) {
    const uint32_t a = static_cast<uint32_t>(std::clamp(alpha, 0, 255));
    for (int i = n - 1; i >= 0; --i) {
        const uint32_t p = src[i];
        if (scaleAlpha) {
            dst[i] = (p & 0xFFFFFF) | ((p >> 24) * a >> 8) << 24;
        } else if (colourKey && (p & 0xFFFFFF) == 0xFF00FF) {
            dst[i] = 0;
        } else {
            dst[i] = (p & 0xFFFFFF) | a << 24;
        }
    }
}

bool pixelEffect(const uint32_t* src, uint32_t* dst, int n, int factor, int alpha, bool colourKey, bool scaleAlpha) {
    if (alpha < 0) {
        if (factor >= 255) return false;
        for (int i = n - 1; i >= 0; --i) {
            const uint32_t p = src[i];
            const int32_t r = static_cast<int32_t>(channel(p, 16));
            if (factor < 1) {
                dst[i] = (p & 0xFFFF0000) | static_cast<uint32_t>(r) * 257;
                continue;
            }
            const int32_t g = static_cast<int32_t>(channel(p, 8)), b = static_cast<int32_t>(channel(p, 0));
            const uint32_t ng = static_cast<uint32_t>(r + (((g - r) * factor) >> 8)) & 0xFF;
            const uint32_t nb = static_cast<uint32_t>(r + (((b - r) * factor) >> 8)) & 0xFF;
            dst[i] = (p & 0xFFFF0000) | ng << 8 | nb;
        }
        return true;
    }
    const uint32_t a = static_cast<uint32_t>(std::min(alpha, 255));
    for (int i = n - 1; i >= 0; --i) {
        const uint32_t p = src[i];
        if (scaleAlpha) {
            dst[i] = ((p >> 24) * a >> 8) << 24 | greyOfRed(p);
        } else if (colourKey && (p & 0xFF00FF) == 0xFF00FF) {
            dst[i] = 0;
        } else {
            dst[i] = a << 24 | greyOfRed(p);
        }
    }
    return true;
}

int64_t scaledExtent(int size, int percent) { return int64_t{size} * percent / 100 + 1; }

void scaleRows(const uint32_t* src, int64_t srcLength, int w, int h, int dw, int dh, int row0, int rows,
               const ScaleAlpha& alpha, uint32_t* out) {
    const uint32_t a = static_cast<uint32_t>(alpha.a) & 0xFF;
    for (int r = 0; r < rows; ++r) {
        const int64_t sy = int64_t{row0 + r} * h / dh;
        for (int c = 0; c < dw; ++c) {
            const int64_t at = sy * w + int64_t{c} * w / dw;
            const uint32_t p = (at >= 0 && at < srcLength) ? src[at] : 0;
            uint32_t& o = out[int64_t{r} * dw + c];
            if (alpha.a < 0) {
                o = p;
            } else if (alpha.useAlpha) {
                o = (p & 0xFFFFFF) | ((p >> 24) * static_cast<uint32_t>(alpha.a) >> 8) << 24;
            } else if (alpha.colourKey && (p & 0xFFFFFF) == 0xFF00FF) {
                o = 0;
            } else {
                o = (p & 0xFFFFFF) | a << 24;
            }
        }
    }
}

void highlightBand(const uint32_t* src, uint32_t* dst, int w, int h, int start, int width, uint32_t rgb, int bits,
                   bool useAlpha) {
    rgb &= 0xFFFFFF;
    const int64_t peak = (int64_t{1} << std::clamp(bits, 0, 8)) - 1;
    const int64_t half = std::max<int64_t>(width / 2, 1);
    const int64_t centre = int64_t{start} + width / 2;
    for (int c = 0; c < w; ++c) {
        int64_t columnAlpha = 0;
        if (c > start && c < int64_t{start} + width) {
            const int64_t distance = c > centre ? c - centre : centre - c;
            columnAlpha = std::max<int64_t>(peak - peak * distance / half, 0);
        }
        for (int r = 0; r < h; ++r) {
            const int64_t i = int64_t{r} * w + c;
            const uint32_t sa = src[i] >> 24;
            int64_t value = sa == 0 ? 0 : columnAlpha;
            if (useAlpha) value = value * sa >> 8;
            dst[i] = rgb | static_cast<uint32_t>(value) << 24;
        }
    }
}

void composeTransformed(const uint32_t* src, int w, int h, int flags, bool additive, bool lighten, uint32_t* dst) {
    const bool turn = flags & 4;
    const int W = turn ? h : w, H = turn ? w : h;
    for (int row = 0; row < H; ++row) {
        for (int col = 0; col < W; ++col) {
            int sr, sc;
            if (!turn) {
                sr = (flags & 2) ? h - 1 - row : row;
                sc = (flags & 1) ? w - 1 - col : col;
            } else {
                sc = (flags & 1) ? w - 1 - row : row;
                sr = (flags & 2) ? col : h - 1 - col;
            }
            const uint32_t s = src[int64_t{sr} * w + sc];
            uint32_t& d = dst[int64_t{row} * W + col];
            uint32_t out = 0;
            for (int shift : {16, 8, 0}) {
                uint32_t dc = channel(d, shift);
                const uint32_t sc8 = channel(s, shift);
                if (additive) dc = std::min<uint32_t>(dc + sc8, 255);
                if (lighten) dc = std::min<uint32_t>(dc + (dc * sc8 >> 6), 255);
                out |= dc << shift;
            }
            d = out;
        }
    }
}

}  // namespace gfx
