// The drawing room's hot loops on the portrait screen's 480 x 800 16-bit buffer against memset and
// memcpy of the same bytes in the same run: opaque fill, opaque blit, the quarter turn (pixel step
// 480, row step -1) a landscape picture takes onto the screen, keyed and ARGB4444-blended blits,
// and drawRGB's alpha blend. The blends and keyed copies are timed twice more over a picture made
// as sprites are (runs of transparent, opaque and edge pixels): turned as drawRegion turns it, and
// straight from a copy kept turned, as the sprite caches hold it. Prints one `<name> ratio: X`
// line per figure (throughput against memset/memcpy; 1.0 is as fast).
#include <benchmark/benchmark.h>

#include "bench/ratio_reporter.h"

#include <cstring>
#include <random>
#include <vector>

#include "platform/graphics/blit.h"
#include "platform/graphics/region_blit.h"
#include "platform/graphics/surface.h"

namespace {

constexpr int kWidth = 480, kHeight = 800;
constexpr size_t kPixels = size_t{kWidth} * kHeight;

// Straight steps for a whole-screen copy, or transform 5's for a landscape source of 800 x 480.
BlitSteps straight() { return {kWidth, kHeight, kWidth, 1, kWidth, false}; }
RegionBlit quarterTurn() {
    return planRegionBlit(Rect{0, 0, kWidth, kHeight}, 0, 0, 0, 0, kHeight, kWidth, 5, 0, kHeight, kWidth);
}

struct Buffers {
    std::vector<uint16_t> target = std::vector<uint16_t>(kPixels);
    std::vector<uint16_t> opaque = std::vector<uint16_t>(kPixels);
    std::vector<uint16_t> keyed = std::vector<uint16_t>(kPixels);
    std::vector<uint16_t> argb4444 = std::vector<uint16_t>(kPixels);
    std::vector<uint32_t> argb = std::vector<uint32_t>(kPixels);
    // Sprite-like: an 800 x 480 landscape picture, and the same kept turned (480 x 800).
    std::vector<uint16_t> spriteKeyed = std::vector<uint16_t>(kPixels);
    std::vector<uint16_t> sprite4444 = std::vector<uint16_t>(kPixels);
    std::vector<uint16_t> turnedKeyed = std::vector<uint16_t>(kPixels);
    std::vector<uint16_t> turned4444 = std::vector<uint16_t>(kPixels);

    Buffers() {
        std::mt19937 random(7);
        for (size_t i = 0; i < kPixels; ++i) {
            opaque[i] = static_cast<uint16_t>(random());
            keyed[i] = random() % 4 == 0 ? 0xF81F : opaque[i];
            argb4444[i] = static_cast<uint16_t>(random());
            argb[i] = static_cast<uint32_t>(random());
        }
        // Along each row: a transparent stretch, a two-pixel soft edge, an opaque body, an edge.
        for (size_t i = 0; i < kPixels;) {
            const size_t gap = 8 + random() % 40, body = 24 + random() % 120;
            for (size_t k = 0; k < gap + body + 4 && i < kPixels; ++k, ++i) {
                const uint16_t colour = static_cast<uint16_t>(random());
                const bool clear = k < gap, edge = k - gap < 2 || k >= gap + 2 + body;
                spriteKeyed[i] = clear ? kColorKey565 : colour;
                sprite4444[i] = static_cast<uint16_t>((colour & 0x0FFF) | (clear ? 0 : edge ? 0x7000 : 0xF000));
            }
        }
        const RegionBlit plan = quarterTurn();
        copyPixels(spriteKeyed.data(), turnedKeyed.data() + plan.destination, plan.steps);
        copyPixels(sprite4444.data(), turned4444.data() + plan.destination, plan.steps);
    }
};

Buffers& buffers() {
    static Buffers b;
    return b;
}

void setBytes(benchmark::State& state) { state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPixels * 2)); }

void BM_Memset(benchmark::State& state) {
    Buffers& b = buffers();
    for (auto _ : state) {
        std::memset(b.target.data(), 0x5A, kPixels * 2);
        benchmark::ClobberMemory();
    }
    setBytes(state);
}
BENCHMARK(BM_Memset);

void BM_Fill(benchmark::State& state) {
    Buffers& b = buffers();
    const Surface565 s{b.target.data(), kWidth, kHeight, kWidth};
    for (auto _ : state) {
        fillRect(s, s.bounds(), uint16_t{0x5A5A});
        benchmark::ClobberMemory();
    }
    setBytes(state);
}
BENCHMARK(BM_Fill);

void BM_Memcpy(benchmark::State& state) {
    Buffers& b = buffers();
    for (auto _ : state) {
        std::memcpy(b.target.data(), b.opaque.data(), kPixels * 2);
        benchmark::ClobberMemory();
    }
    setBytes(state);
}
BENCHMARK(BM_Memcpy);

template <class Src>
void runCopier(benchmark::State& state, void (*copier)(const Src*, uint16_t*, const BlitSteps&), const Src* src,
               const BlitSteps& steps, ptrdiff_t first) {
    Buffers& b = buffers();
    for (auto _ : state) {
        copier(src, b.target.data() + first, steps);
        benchmark::ClobberMemory();
    }
    setBytes(state);
}

void BM_OpaqueBlit(benchmark::State& state) { runCopier(state, copyPixels, buffers().opaque.data(), straight(), 0); }
BENCHMARK(BM_OpaqueBlit);

void BM_RotatedBlit(benchmark::State& state) {
    const RegionBlit plan = quarterTurn();
    runCopier(state, copyPixels, buffers().opaque.data(), plan.steps, static_cast<ptrdiff_t>(plan.destination));
}
BENCHMARK(BM_RotatedBlit);

void BM_RotatedKeyedBlit(benchmark::State& state) {
    const RegionBlit plan = quarterTurn();
    runCopier(state, copyKeyedPixels, buffers().keyed.data(), plan.steps, static_cast<ptrdiff_t>(plan.destination));
}
BENCHMARK(BM_RotatedKeyedBlit);

void BM_KeyedBlit(benchmark::State& state) { runCopier(state, copyKeyedPixels, buffers().keyed.data(), straight(), 0); }
BENCHMARK(BM_KeyedBlit);

void BM_BlendedBlit(benchmark::State& state) {
    runCopier(state, blendPixels4444, buffers().argb4444.data(), straight(), 0);
}
BENCHMARK(BM_BlendedBlit);

void BM_RotatedBlendedBlit(benchmark::State& state) {
    const RegionBlit plan = quarterTurn();
    runCopier(state, blendPixels4444, buffers().argb4444.data(), plan.steps, static_cast<ptrdiff_t>(plan.destination));
}
BENCHMARK(BM_RotatedBlendedBlit);

template <void (*kCopier)(const uint16_t*, uint16_t*, const BlitSteps&)>
void rotatedSprite(benchmark::State& state, const std::vector<uint16_t>& picture) {
    const RegionBlit plan = quarterTurn();
    runCopier(state, kCopier, picture.data(), plan.steps, static_cast<ptrdiff_t>(plan.destination));
}
void BM_RotatedSpriteBlend(benchmark::State& state) { rotatedSprite<blendPixels4444>(state, buffers().sprite4444); }
BENCHMARK(BM_RotatedSpriteBlend);
void BM_RotatedSpriteKeyed(benchmark::State& state) { rotatedSprite<copyKeyedPixels>(state, buffers().spriteKeyed); }
BENCHMARK(BM_RotatedSpriteKeyed);
void BM_TurnedCacheBlend(benchmark::State& state) { runCopier(state, blendPixels4444, buffers().turned4444.data(), straight(), 0); }
BENCHMARK(BM_TurnedCacheBlend);
void BM_TurnedCacheKeyed(benchmark::State& state) { runCopier(state, copyKeyedPixels, buffers().turnedKeyed.data(), straight(), 0); }
BENCHMARK(BM_TurnedCacheKeyed);

void BM_RGBAlphaBlit(benchmark::State& state) { runCopier(state, blendARGB, buffers().argb.data(), straight(), 0); }
BENCHMARK(BM_RGBAlphaBlit);

}  // namespace

int main(int argc, char** argv) {
    RatioReporter reporter(RatioReporter::kCpuTime);
    if (!runBenchmarks(argc, argv, reporter)) return 1;
    // Throughput against the reference: the reference's time over ours.
    reporter.printRatio("fill/memset", "BM_Memset", "BM_Fill");
    reporter.printRatio("opaque_blit/memcpy", "BM_Memcpy", "BM_OpaqueBlit");
    reporter.printRatio("rotated_blit/memcpy", "BM_Memcpy", "BM_RotatedBlit");
    reporter.printRatio("rotated_keyed_blit/memcpy", "BM_Memcpy", "BM_RotatedKeyedBlit");
    reporter.printRatio("keyed_blit/memcpy", "BM_Memcpy", "BM_KeyedBlit");
    reporter.printRatio("blended_blit/memcpy", "BM_Memcpy", "BM_BlendedBlit");
    reporter.printRatio("rotated_blended_blit/memcpy", "BM_Memcpy", "BM_RotatedBlendedBlit");
    reporter.printRatio("rgb_alpha_blit/memcpy", "BM_Memcpy", "BM_RGBAlphaBlit");
    reporter.printRatio("rotated_sprite_blend/memcpy", "BM_Memcpy", "BM_RotatedSpriteBlend");
    reporter.printRatio("rotated_sprite_keyed/memcpy", "BM_Memcpy", "BM_RotatedSpriteKeyed");
    reporter.printRatio("turned_cache_blend/memcpy", "BM_Memcpy", "BM_TurnedCacheBlend");
    reporter.printRatio("turned_cache_keyed/memcpy", "BM_Memcpy", "BM_TurnedCacheKeyed");
    return 0;
}
