// The copiers of blit.h. One loop shape serves them all: rows of contiguous (or reversed)
// destination pixels run straight; column stepping (the quarter turns) goes in small tiles so the
// destination is written contiguously while the tile's source rows stay in cache. The blends and
// keyed copies that work a row at a time (blends in runs by alpha) take quarter turns through
// turned strips instead. Every path writes exactly what the pixel-by-pixel loop writes.
#include "platform/graphics/blit.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/graphics/shapes.h"

namespace {

constexpr int kTileRows = 16;
constexpr int kTileColumns = 64;

// The loops below copy the steps into locals and take restrict pointers: the build has no strict
// aliasing, so without them every pixel store could change the steps or the source and nothing
// would vectorise. Only the in-order loop may see source and destination overlap.
// Inlined into each build of the public copiers, so every one gets its own instruction set.
#define BX_INLINE inline __attribute__((always_inline))

template <class Src, class Op>
BX_INLINE void forwardRun(const Src* __restrict in, uint16_t* __restrict out, int n, Op op) {
    for (int c = 0; c < n; ++c) op(out[c], in[c]);
}
template <class Src, class Op>
BX_INLINE void backwardRun(const Src* __restrict in, uint16_t* __restrict out, int n, Op op) {
    for (int c = 0; c < n; ++c) op(out[-c], in[c]);
}
template <class Src, class Op>
BX_INLINE void columnRun(const Src* __restrict in, ptrdiff_t inStep, uint16_t* __restrict out, ptrdiff_t outStep, int n, Op op) {
    for (int r = 0; r < n; ++r) op(out[r * outStep], in[r * inStep]);
}

// An 8 x 8 block of 16-bit pixels turned over its diagonal: out[c][r] = in[r * stride + c], or
// with `reversed` out[c][7 - r], so every destination run can be written forwards.
// Rows of the result go to out + i * outStride.
BX_INLINE void transpose8x8(const uint16_t* in, ptrdiff_t stride, uint16_t* out, ptrdiff_t outStride, bool reversed) {
#if defined(__SSE2__)
    __m128i r[8];
    for (int i = 0; i < 8; ++i) r[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i * stride));
    const __m128i a0 = _mm_unpacklo_epi16(r[0], r[1]), a1 = _mm_unpackhi_epi16(r[0], r[1]);
    const __m128i a2 = _mm_unpacklo_epi16(r[2], r[3]), a3 = _mm_unpackhi_epi16(r[2], r[3]);
    const __m128i a4 = _mm_unpacklo_epi16(r[4], r[5]), a5 = _mm_unpackhi_epi16(r[4], r[5]);
    const __m128i a6 = _mm_unpacklo_epi16(r[6], r[7]), a7 = _mm_unpackhi_epi16(r[6], r[7]);
    const __m128i b0 = _mm_unpacklo_epi32(a0, a2), b1 = _mm_unpackhi_epi32(a0, a2);
    const __m128i b2 = _mm_unpacklo_epi32(a1, a3), b3 = _mm_unpackhi_epi32(a1, a3);
    const __m128i b4 = _mm_unpacklo_epi32(a4, a6), b5 = _mm_unpackhi_epi32(a4, a6);
    const __m128i b6 = _mm_unpacklo_epi32(a5, a7), b7 = _mm_unpackhi_epi32(a5, a7);
    const __m128i c[8] = {_mm_unpacklo_epi64(b0, b4), _mm_unpackhi_epi64(b0, b4), _mm_unpacklo_epi64(b1, b5),
                          _mm_unpackhi_epi64(b1, b5), _mm_unpacklo_epi64(b2, b6), _mm_unpackhi_epi64(b2, b6),
                          _mm_unpacklo_epi64(b3, b7), _mm_unpackhi_epi64(b3, b7)};
    for (int i = 0; i < 8; ++i) {
        __m128i v = c[i];
        if (reversed) v = _mm_shuffle_epi32(_mm_shufflehi_epi16(_mm_shufflelo_epi16(v, 0x1B), 0x1B), 0x4E);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i * outStride), v);
    }
#else
    for (int rr = 0; rr < 8; ++rr)
        for (int cc = 0; cc < 8; ++cc) out[cc * outStride + (reversed ? 7 - rr : rr)] = in[rr * stride + cc];
#endif
}

// Quarter turns of 16-bit sources (rowStep +-1): whole 8 x 8 blocks are transposed in registers,
// then each block column is one contiguous run of 8 destination pixels; the ragged edges go
// column by column.
// With kStore (a plain copy) the transposed rows are stored straight into the destination.
template <bool kStore, class Op>
BX_INLINE void runTransposed(const uint16_t* src, uint16_t* dst, const BlitSteps& steps, Op op) {
    const int width = steps.width, height = steps.height;
    const ptrdiff_t stride = steps.sourceStride, pixelStep = steps.pixelStep, rowStep = steps.rowStep;
    const int fullRows = height & ~7, fullColumns = width & ~7;
    constexpr int kBlock = 8;
    uint16_t block[8][8];
    for (int r0 = 0; r0 < fullRows; r0 += 8) {
        for (int c0 = 0; c0 < fullColumns; c0 += 8) {
            const bool reversed = rowStep == -1;
            if constexpr (kStore) {
                transpose8x8(src + r0 * stride + c0, stride, dst + c0 * pixelStep + r0 * rowStep - (reversed ? 7 : 0),
                             pixelStep, reversed);
                continue;
            }
            transpose8x8(src + r0 * stride + c0, stride, &block[0][0], 8, reversed);
            for (int c = 0; c < 8; ++c) {
                uint16_t* out = dst + (c0 + c) * pixelStep + r0 * rowStep + (rowStep == -1 ? -7 : 0);
                forwardRun(block[c], out, kBlock, op);
            }
        }
        for (int c = fullColumns; c < width; ++c)
            columnRun(src + r0 * stride + c, stride, dst + c * pixelStep + r0 * rowStep, rowStep, 8, op);
    }
    if (fullRows == height) return;
    for (int c = 0; c < width; ++c)
        columnRun(src + fullRows * stride + c, stride, dst + c * pixelStep + fullRows * rowStep, rowStep,
                  height - fullRows, op);
}

template <class Src, class Op>
BX_INLINE void runBlit(const Src* src, uint16_t* dst, const BlitSteps& steps, Op op) {
    const int width = steps.width, height = steps.height;
    const ptrdiff_t stride = steps.sourceStride, pixelStep = steps.pixelStep, rowStep = steps.rowStep;
    if (width <= 0 || height <= 0) return;
    if (steps.inOrder) {
        for (int r = 0; r < height; ++r) {
            const Src* in = src + r * stride;
            uint16_t* out = dst + r * rowStep;
            for (int c = 0; c < width; ++c) op(out[c * pixelStep], in[c]);
        }
        return;
    }
    if (pixelStep == 1 || pixelStep == -1) {
        for (int r = 0; r < height; ++r) {
            if (pixelStep == 1) forwardRun(src + r * stride, dst + r * rowStep, width, op);
            else backwardRun(src + r * stride, dst + r * rowStep, width, op);
        }
        return;
    }
    if constexpr (sizeof(Src) == 2) {
        if (rowStep == 1 || rowStep == -1) return runTransposed<false>(src, dst, steps, op);
    }
    // Column stepping: each tile column becomes a short contiguous destination run.
    for (int r0 = 0; r0 < height; r0 += kTileRows) {
        const int rows = std::min(kTileRows, height - r0);
        for (int c0 = 0; c0 < width; c0 += kTileColumns) {
            const int end = std::min(c0 + kTileColumns, width);
            for (int c = c0; c < end; ++c) {
                const Src* in = src + r0 * stride + c;
                uint16_t* out = dst + c * pixelStep + r0 * rowStep;
                if (rowStep == 1) columnRun(in, stride, out, ptrdiff_t{1}, rows, op);
                else if (rowStep == -1) columnRun(in, stride, out, ptrdiff_t{-1}, rows, op);
                else columnRun(in, stride, out, rowStep, rows, op);
            }
        }
    }
}

// Quarter turns (row step +-1) for the copiers that work on whole destination rows: eight source
// columns at a time are turned into a strip of eight destination-ordered runs (reversed for row
// step -1), whole 8 x 8 blocks in registers, which rowOp(in, out, n) then writes straight.
template <class RowOp>
BX_INLINE void runTurnedRows(const uint16_t* src, uint16_t* dst, const BlitSteps& steps, RowOp rowOp) {
    constexpr int kStripRows = 256;
    alignas(32) uint16_t strip[8][kStripRows];
    const int width = steps.width, height = steps.height;
    const ptrdiff_t stride = steps.sourceStride, pixelStep = steps.pixelStep, rowStep = steps.rowStep;
    const bool reversed = rowStep == -1;
    for (int r0 = 0; r0 < height; r0 += kStripRows) {
        const int rows = std::min(kStripRows, height - r0), fullRows = rows & ~7;
        for (int c0 = 0; c0 < width; c0 += 8) {
            const int columns = std::min(8, width - c0);
            const uint16_t* in = src + r0 * stride + c0;
            int first = 0;
            if (columns == 8) {
                for (; first < fullRows; first += 8)
                    transpose8x8(in + first * stride, stride, &strip[0][reversed ? rows - 8 - first : first], kStripRows,
                                 reversed);
            }
            for (int i = first; i < rows; ++i)
                for (int c = 0; c < columns; ++c) strip[c][reversed ? rows - 1 - i : i] = in[i * stride + c];
            for (int c = 0; c < columns; ++c) {
                uint16_t* out = dst + (c0 + c) * pixelStep + r0 * rowStep - (reversed ? rows - 1 : 0);
                rowOp(strip[c], out, rows);
            }
        }
    }
}

// Sixteen 16-bit lanes: one AVX2 register, two SSE2 ones in the baseline build.
typedef int16_t Lanes16 __attribute__((vector_size(32)));
typedef uint16_t UnsignedLanes16 __attribute__((vector_size(32)));

// Sixteen ARGB4444 pixels over RGB565, in place. Per field, the blend is
// d + floor((s - d) x alpha / 256) on the field's own value (the in-place form masks to the same);
// at alpha 15 (`opaque`) that is the source's, one step lower where the source's is above.
BX_INLINE void blend16(const uint16_t* __restrict from, uint16_t* __restrict to, bool opaque) {
    Lanes16 s, d;
    std::memcpy(&s, from, sizeof s);
    std::memcpy(&d, to, sizeof d);
    const Lanes16 sr = ((s >> 8) & 0xF) << 1, sg = ((s >> 4) & 0xF) << 2, sb = (s & 0xF) << 1;
    const Lanes16 dr = (d >> 11) & 0x1F, dg = (d >> 5) & 0x3F, db = d & 0x1F;
    Lanes16 r, g, b;
    if (opaque) {
        // A true compare is -1.
        r = sr + (sr > dr);
        g = sg + (sg > dg);
        b = sb + (sb > db);
    } else {
        const Lanes16 a = ((s >> 12) & 0xF) * 17;
        r = dr + (((sr - dr) * a) >> 8);
        g = dg + (((sg - dg) * a) >> 8);
        b = db + (((sb - db) * a) >> 8);
    }
    const UnsignedLanes16 mixed = (UnsignedLanes16(r) << 11) | (UnsignedLanes16(g) << 5) | UnsignedLanes16(b);
    std::memcpy(to, &mixed, sizeof mixed);
}

// The kind of sixteen pixels from their alphas, read as four words (cheaper than from the vector):
// -1 none shown, 1 all at alpha 15, 0 any other.
BX_INLINE int runKind4444(const uint16_t* in) {
    constexpr uint64_t kAlphas = 0xF000F000F000F000u;
    uint64_t w[4];
    std::memcpy(w, in, sizeof w);
    if (((w[0] | w[1] | w[2] | w[3]) & kAlphas) == 0) return -1;
    return (w[0] & w[1] & w[2] & w[3] & kAlphas) == kAlphas ? 1 : 0;
}

// A row blended forwards in runs of 16 by their alpha: kind(run) is -1 for a run with none shown
// (skipped), 1 for one all opaque, 0 for any other; blend(run, destination, opaque) does the rest.
// Sprites are mostly one or the other, so few pixels pay for the multiplies. A row's ragged end is
// the run of its last 16 pixels, blended from the destination as it was before the row and stored
// after it, so the pixels it shares with the last whole run get the same value twice. Rows under
// 16 pixels go through a copy padded with transparent pixels.
template <class Src, class Kind, class Blend>
BX_INLINE void blendRowInRuns(const Src* __restrict in, uint16_t* __restrict out, int n, Kind kind, Blend blend) {
    constexpr int kRun = 16;
    if (n < kRun) {
        if (n <= 0) return;
        Src from[kRun] = {};
        uint16_t to[kRun] = {};
        std::memcpy(from, in, sizeof(Src) * static_cast<size_t>(n));
        std::memcpy(to, out, sizeof(uint16_t) * static_cast<size_t>(n));
        const int k = kind(from);
        if (k < 0) return;
        blend(from, to, k > 0);
        std::memcpy(out, to, sizeof(uint16_t) * static_cast<size_t>(n));
        return;
    }
    const int last = n - kRun;
    const int lastKind = (n % kRun) != 0 ? kind(in + last) : -1;
    uint16_t end[kRun];
    if (lastKind >= 0) {
        std::memcpy(end, out + last, sizeof end);
        blend(in + last, end, lastKind > 0);
    }
    for (int c = 0; c + kRun <= n; c += kRun) {
        const int k = kind(in + c);
        if (k >= 0) blend(in + c, out + c, k > 0);
    }
    if (lastKind >= 0) std::memcpy(out + last, end, sizeof end);
}

BX_INLINE void blendRow4444(const uint16_t* __restrict in, uint16_t* __restrict out, int n) {
    blendRowInRuns(in, out, n, runKind4444, blend16);
}

// Sixteen 32-bit lanes: two AVX2 registers.
typedef uint32_t Lanes32 __attribute__((vector_size(64)));

// The kind of sixteen 32-bit ARGB pixels, as runKind4444 gives it.
BX_INLINE int runKindARGB(const uint32_t* in) {
    uint32_t any = 0, all = 0xFFFFFFFFu;
    for (int i = 0; i < 16; ++i) {
        any |= in[i];
        all &= in[i];
    }
    if ((any >> 24) == 0) return -1;
    return (all >> 24) == 0xFF ? 1 : 0;
}

// Sixteen 32-bit ARGB pixels over RGB565, in place: alpha 255 writes the colour's RGB565, 0 leaves
// the destination, any other moves each field by floor((c - d) x alpha / 256), worked on the fields
// shifted down (the same value as on the fields in place) so every product fits 16 bits.
BX_INLINE void blendARGB16(const uint32_t* __restrict from, uint16_t* __restrict to, bool opaque) {
    Lanes32 s;
    Lanes16 d;
    std::memcpy(&s, from, sizeof s);
    std::memcpy(&d, to, sizeof d);
    const Lanes16 cr = __builtin_convertvector((s >> 19) & 0x1F, Lanes16);
    const Lanes16 cg = __builtin_convertvector((s >> 10) & 0x3F, Lanes16);
    const Lanes16 cb = __builtin_convertvector((s >> 3) & 0x1F, Lanes16);
    Lanes16 r = cr, g = cg, b = cb;
    if (!opaque) {
        const Lanes16 a = __builtin_convertvector(s >> 24, Lanes16);
        const Lanes16 dr = (d >> 11) & 0x1F, dg = (d >> 5) & 0x3F, db = d & 0x1F;
        const Lanes16 full = a == 0xFF;
        r = full ? cr : dr + (((cr - dr) * a) >> 8);
        g = full ? cg : dg + (((cg - dg) * a) >> 8);
        b = full ? cb : db + (((cb - db) * a) >> 8);
    }
    const UnsignedLanes16 mixed = (UnsignedLanes16(r) << 11) | (UnsignedLanes16(g) << 5) | UnsignedLanes16(b);
    std::memcpy(to, &mixed, sizeof mixed);
}

}  // namespace

// Each public copier is built twice, for AVX2 and for the baseline, and picked when the program
// loads: the blends need 32-bit vector multiplies that the baseline lacks. Not under
// ThreadSanitizer: the loader runs the picking code before the sanitizer's runtime is set up.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
#define BX_COPIER __attribute__((target_clones("avx2", "default")))
#else
#define BX_COPIER
#endif

BX_COPIER void copyPixels(const uint16_t* src, uint16_t* dst, const BlitSteps& steps) {
    if (!steps.inOrder && steps.pixelStep == 1 && steps.width > 0) {
        const size_t bytes = sizeof(uint16_t) * static_cast<size_t>(steps.width);
        const ptrdiff_t stride = steps.sourceStride, rowStep = steps.rowStep;
        for (int r = 0; r < steps.height; ++r) std::memcpy(dst + r * rowStep, src + r * stride, bytes);
        return;
    }
    if (!steps.inOrder && (steps.rowStep == 1 || steps.rowStep == -1) && steps.width > 0 && steps.height > 0)
        return runTransposed<true>(src, dst, steps, [](uint16_t& d, uint16_t s) { d = s; });
    runBlit(src, dst, steps, [](uint16_t& d, uint16_t s) { d = s; });
}

BX_COPIER void copyKeyedPixels(const uint16_t* src, uint16_t* dst, const BlitSteps& steps) {
    // Always a store (of d itself for the key), so rows vectorise.
    const auto keyed = [](uint16_t& d, uint16_t s) { d = s == kColorKey565 ? d : s; };
    if (!steps.inOrder && steps.pixelStep != 1 && (steps.rowStep == 1 || steps.rowStep == -1))
        return runTurnedRows(src, dst, steps, [&](const uint16_t* in, uint16_t* out, int n) { forwardRun(in, out, n, keyed); });
    runBlit(src, dst, steps, keyed);
}

BX_COPIER void blendPixels4444(const uint16_t* src, uint16_t* dst, const BlitSteps& steps) {
    if (!steps.inOrder && steps.pixelStep == 1) {
        for (int r = 0; r < steps.height; ++r)
            blendRow4444(src + r * steps.sourceStride, dst + r * steps.rowStep, steps.width);
        return;
    }
    if (!steps.inOrder && (steps.rowStep == 1 || steps.rowStep == -1))
        return runTurnedRows(src, dst, steps, blendRow4444);
    runBlit(src, dst, steps, [](uint16_t& d, uint16_t s) { d = blend4444(d, s); });
}

BX_COPIER void copyARGBOpaque(const uint32_t* src, uint16_t* dst, const BlitSteps& steps) {
    runBlit(src, dst, steps, [](uint16_t& d, uint32_t s) { d = argbTo565(s); });
}

BX_COPIER void blendARGB(const uint32_t* src, uint16_t* dst, const BlitSteps& steps) {
    // Selects rather than branches, so rows vectorise.
    const auto blend = [](uint16_t& d, uint32_t s) {
        const uint32_t a = s >> 24;
        const uint16_t c = argbTo565(s);
        const uint16_t mixed = blend565(d, c, static_cast<int32_t>(a));
        d = a == 0xFF ? c : a == 0 ? d : mixed;
    };
    if (steps.inOrder || steps.pixelStep != 1) return runBlit(src, dst, steps, blend);
    for (int r = 0; r < steps.height; ++r)
        blendRowInRuns(src + r * steps.sourceStride, dst + r * steps.rowStep, steps.width, runKindARGB, blendARGB16);
}

BX_COPIER void storeARGB4444(const uint32_t* src, uint16_t* dst, const BlitSteps& steps) {
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
