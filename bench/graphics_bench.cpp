// The drawing room's hot loops on the portrait screen's 480 x 800 16-bit buffer against memset and
// memcpy of the same bytes in the same run: opaque fill, opaque blit, the quarter-turn blit every
// sprite module takes, keyed and ARGB4444-blended blits, and drawRGB's alpha blend. Prints one
// `<name> ratio: X` line per figure (throughput against memset/memcpy; 1.0 is as fast).
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

struct Buffers {
    std::vector<uint16_t> target = std::vector<uint16_t>(kPixels);
    std::vector<uint16_t> opaque = std::vector<uint16_t>(kPixels);
    std::vector<uint16_t> keyed = std::vector<uint16_t>(kPixels);
    std::vector<uint16_t> argb4444 = std::vector<uint16_t>(kPixels);
    std::vector<uint32_t> argb = std::vector<uint32_t>(kPixels);

    Buffers() {
        std::mt19937 random(7);
        for (size_t i = 0; i < kPixels; ++i) {
            opaque[i] = static_cast<uint16_t>(random());
            keyed[i] = random() % 4 == 0 ? 0xF81F : opaque[i];
            argb4444[i] = static_cast<uint16_t>(random());
            argb[i] = static_cast<uint32_t>(random());
        }
    }
};

Buffers& buffers() {
    static Buffers b;
    return b;
}

// Straight steps for a whole-screen copy, or transform 5's for a landscape source of 800 x 480.
BlitSteps straight() { return {kWidth, kHeight, kWidth, 1, kWidth, false}; }
RegionBlit quarterTurn() {
    return planRegionBlit(Rect{0, 0, kWidth, kHeight}, 0, 0, 0, 0, kHeight, kWidth, 5, 0, kHeight, kWidth);
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

void BM_RGBAlphaBlit(benchmark::State& state) { runCopier(state, blendARGB, buffers().argb.data(), straight(), 0); }
BENCHMARK(BM_RGBAlphaBlit);

}  // namespace

int main(int argc, char** argv) {
    RatioReporter reporter;
    if (!runBenchmarks(argc, argv, reporter)) return 1;
    // Throughput against the reference: the reference's time over ours.
    reporter.printRatio("fill/memset", "BM_Memset", "BM_Fill");
    reporter.printRatio("opaque_blit/memcpy", "BM_Memcpy", "BM_OpaqueBlit");
    reporter.printRatio("rotated_blit/memcpy", "BM_Memcpy", "BM_RotatedBlit");
    reporter.printRatio("rotated_keyed_blit/memcpy", "BM_Memcpy", "BM_RotatedKeyedBlit");
    reporter.printRatio("keyed_blit/memcpy", "BM_Memcpy", "BM_KeyedBlit");
    reporter.printRatio("blended_blit/memcpy", "BM_Memcpy", "BM_BlendedBlit");
    reporter.printRatio("rgb_alpha_blit/memcpy", "BM_Memcpy", "BM_RGBAlphaBlit");
    return 0;
}
