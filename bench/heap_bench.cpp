// Small-object traffic in the object heap against malloc/free doing the same work in the same run:
// 10,000 live blocks of 16..128 bytes; each iteration frees one at random and allocates a
// replacement of a random size. Prints heap time / malloc time at the end (of the medians when
// repeated).
#include "runtime/memory_manager.h"

#include <benchmark/benchmark.h>

#include "bench/ratio_reporter.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

constexpr size_t kLive = 10000;
constexpr size_t kSequence = 1 << 16;  // precomputed, so the random generator stays out of the loop

struct Traffic {
    std::vector<uint32_t> slots;
    std::vector<uint32_t> sizes;

    Traffic() : slots(kSequence), sizes(kSequence) {
        std::mt19937 random(12345);
        for (size_t i = 0; i < kSequence; ++i) {
            slots[i] = static_cast<uint32_t>(random() % kLive);
            sizes[i] = static_cast<uint32_t>(16 + random() % 113);
        }
    }
};

const Traffic& traffic() {
    static const Traffic t;
    return t;
}

template <class Allocate, class Release>
void runTraffic(benchmark::State& state, Allocate allocate, Release release) {
    const Traffic& t = traffic();
    std::vector<void*> live(kLive);
    for (size_t i = 0; i < kLive; ++i) live[i] = allocate(t.sizes[i]);
    size_t k = 0;
    for (auto _ : state) {
        const size_t at = k++ & (kSequence - 1);
        void*& slot = live[t.slots[at]];
        release(slot);
        slot = allocate(t.sizes[at]);
        benchmark::DoNotOptimize(slot);
    }
    for (void* p : live) release(p);
}

void BM_HeapSmallObjects(benchmark::State& state) {
    MemoryManager heap;
    if (!heap.init(0x400000, false)) {
        state.SkipWithError("no arena");
        return;
    }
    runTraffic(state, [&](size_t size) { return heap.allocate(size); }, [&](void* p) { heap.free(p); });
}
BENCHMARK(BM_HeapSmallObjects);

void BM_MallocSmallObjects(benchmark::State& state) {
    runTraffic(state, [](size_t size) { return std::malloc(size); }, [](void* p) { std::free(p); });
}
BENCHMARK(BM_MallocSmallObjects);

}  // namespace

int main(int argc, char** argv) {
    RatioReporter reporter;
    if (!runBenchmarks(argc, argv, reporter)) return 1;
    reporter.printRatio("heap/malloc", "BM_HeapSmallObjects", "BM_MallocSmallObjects");
    return 0;
}
