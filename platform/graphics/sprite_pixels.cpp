// Sprite palette expansion and module pixel decoding.
#include "platform/graphics/sprite_pixels.h"

#include <algorithm>

#include "platform/graphics/region_blit.h"

namespace gfx {
namespace {

uint32_t widen5(uint32_t v) { return (v & 0x1F) << 3; }

// Magenta with alpha 0 from the 16-bit formats becomes the engine's key.
uint32_t keyed(uint32_t argb) { return argb == 0x00F800F8u ? kColourKey : argb; }

// Index reader over the encoded bytes: any read past the end fails the decode.
struct Source {
    const uint8_t* p;
    size_t size;
    size_t pos = 0;
    bool ok = true;
    int next() {
        if (pos >= size) {
            ok = false;
            return 0;
        }
        return p[pos++];
    }
};

struct Sink {
    const uint32_t* palette;
    int colours;
    int n;
    uint32_t* out;
    int written = 0;
    bool ok = true;
    // Writes `run` pixels of colour c; a bad index or a run past the module fails.
    void put(int c, int run) {
        if (c >= colours || run > n - written) {
            ok = false;
            return;
        }
        std::fill(out + written, out + written + run, palette[c]);
        written += run;
    }
};

bool decodePacked(Source& src, Sink& sink, int bits) {
    const int perByte = 8 / bits;
    const int mask = (1 << bits) - 1;
    while (sink.ok && sink.written < sink.n) {
        const int b = src.next();
        if (!src.ok) return false;
        for (int i = 0; i < perByte && sink.written < sink.n && sink.ok; ++i) {
            sink.put((b >> (8 - bits * (i + 1))) & mask, 1);
        }
    }
    return sink.ok;
}

// Colours of the literal-run formats until n pixels are written.
bool decodeRunLiteral(Source& src, Sink& sink) {
    while (sink.ok && sink.written < sink.n) {
        const int b = src.next();
        if (b < 128) {
            const int c = src.next();
            if (!src.ok) return false;
            sink.put(c, b);
        } else {
            for (int i = 0; i < b - 128 && sink.ok; ++i) {
                const int c = src.next();
                if (!src.ok) return false;
                sink.put(c, 1);
            }
        }
        if (!src.ok) return false;
    }
    return sink.ok;
}

bool decodeAlphaStream(Source& src, Sink& sink) {
    int i = 0;
    while (i < sink.n) {
        const int a = src.next();
        int run = 1;
        int v = a;
        if (a == 254) {
            run = src.next();
            v = src.next();
        }
        if (!src.ok || run > sink.n - i) return false;
        for (int k = 0; k < run; ++k, ++i) {
            sink.out[i] = (sink.out[i] & 0x00FFFFFFu) | static_cast<uint32_t>(v) << 24;
        }
    }
    return true;
}

}  // namespace

int paletteColourBytes(int format) { return format == kPalette8888 ? 4 : 2; }

void expandPalette(int format, const uint8_t* src, int count, uint32_t* out, PaletteAlpha& alpha) {
    for (int i = 0; i < count; ++i) {
        uint32_t c = 0;
        if (format == kPalette8888) {
            const uint8_t* s = src + 4 * i;
            c = s[0] | s[1] << 8 | s[2] << 16 | static_cast<uint32_t>(s[3]) << 24;
        } else {
            const uint32_t v = src[2 * i] | src[2 * i + 1] << 8;
            if (format == kPalette4444) {
                c = ((v >> 12) & 15) * 17 << 24 | ((v >> 8) & 15) * 17 << 16 | ((v >> 4) & 15) * 17 << 8 | (v & 15) * 17;
            } else if (format == kPalette5515) {
                c = keyed((v & 0x8000 ? 0xFF000000u : 0) | widen5(v >> 10) << 16 | widen5(v >> 5) << 8 | widen5(v));
                if (!(v & 0x8000)) alpha.transparency = true;
            } else if (format == kPalette6505) {
                c = keyed((v == 0xF81F ? 0 : 0xFF000000u) | widen5(v >> 11) << 16 | ((v >> 5) & 0x3F) << 10 |
                          widen5(v));
                if (v == 0xF81F) alpha.transparency = true;
            }
        }
        if (format == kPalette8888 || format == kPalette4444) {
            const uint32_t a = c >> 24;
            if (a != 0xFF) {
                alpha.transparency = true;
                if (a != 0) alpha.partialAlpha = true;
            }
        }
        out[i] = c;
    }
}

int paletteIndexBits(int colours) {
    int bits = 0;
    while (bits < 31 && ((colours - 1) >> bits) > 0) ++bits;
    return bits;
}

bool decodeModulePixels(int format, const uint8_t* src, size_t size, const uint32_t* palette, int colours,
                        int indexMask, int indexBits, int n, uint32_t* out) {
    if (n <= 0) return true;
    Source in{src, size};
    Sink sink{palette, colours, n, out};
    bool ok = true;
    switch (format) {
        case kPixels1Bit: ok = decodePacked(in, sink, 1); break;
        case kPixels2Bit: ok = decodePacked(in, sink, 2); break;
        case kPixels4Bit: ok = decodePacked(in, sink, 4); break;
        case kPixelsRunMasked:
            while (ok && sink.written < n) {
                const int b = in.next();
                if (!in.ok) {
                    ok = false;
                    break;
                }
                sink.put(b & indexMask, (b >> indexBits) + 1);
                ok = sink.ok;
            }
            break;
        case kPixelsRunShort:
            while (ok && sink.written < n) {
                const int b = in.next();
                if (b < 128) {
                    sink.put(b, 1);
                } else {
                    const int c = in.next();
                    if (in.ok) sink.put(c, b - 128);
                }
                ok = in.ok && sink.ok;
            }
            break;
        case kPixelsRunLiteral: ok = decodeRunLiteral(in, sink); break;
        case kPixelsRunAlpha: ok = decodeRunLiteral(in, sink) && decodeAlphaStream(in, sink); break;
        default:
            // No pixels are defined for the format: transparent rather than whatever the buffer held.
            std::fill(out, out + n, 0u);
            return true;
    }
    if (!ok) std::fill(out, out + n, 0u);
    return ok;
}

int spriteTransform(int flags) {
    static constexpr int kTransforms[8] = {0, 2, 1, 3, 5, 7, 4, 6};
    return kTransforms[flags & 7];
}

void transformARGB(const uint32_t* src, int srcW, int srcH, int transform, uint32_t* dst) {
    const bool swap = transformFlags(transform) & kSwapAxes;
    const int outW = swap ? srcH : srcW;
    const int outH = swap ? srcW : srcH;
    const RegionBlit plan = planRegionBlit(Rect{0, 0, outW, outH}, 0, 0, 0, 0, srcW, srcH, transform, 0, srcW, outW);
    if (plan.empty()) return;
    const BlitSteps& s = plan.steps;
    for (int row = 0; row < s.height; ++row) {
        const uint32_t* in = src + static_cast<ptrdiff_t>(plan.ySrc + row) * s.sourceStride + plan.xSrc;
        uint32_t* out = dst + plan.destination + row * s.rowStep;
        for (int col = 0; col < s.width; ++col) out[col * s.pixelStep] = in[col];
    }
}

}  // namespace gfx
