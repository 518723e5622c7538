// Collector pause: a full collection with the object heap 75% full of small live objects, held
// through arrays from one root, as a frame's level-0 collection would meet a busy game heap.
// Reported beside the 58 ms frame budget.
#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "runtime/array.h"
#include "runtime/memory_manager.h"
#include "runtime/object_manager.h"

namespace {

constexpr double kFrameBudgetMillis = 58.0;
constexpr jint kPerArray = 1024;

// A small object: the header words and two ints.
class Small : public Object {
public:
    jint a, b;
};

Object* g_root = nullptr;

// Fills the heap to 75% with Small objects reachable from g_root through ObjectArrays.
size_t fillHeap(ObjectManager& om) {
    MemoryManager& heap = Runtime::objectHeap();
    const size_t target = heap.arenaSize() * 3 / 4;
    std::vector<ObjectArray*> arrays;
    ObjectArray* current = nullptr;
    jint used = kPerArray;
    size_t count = 0;
    while (heap.usedBytes() < target) {
        if (used == kPerArray) {
            current = Runtime::newObjectArray(CID_Object, kPerArray);
            arrays.push_back(current);
            used = 0;
        }
        current->set(used++, new Small());
        ++count;
    }
    ObjectArray* root = Runtime::newObjectArray(CID_ObjectArray, static_cast<jint>(arrays.size()));
    for (size_t i = 0; i < arrays.size(); ++i) root->set(static_cast<jint>(i), arrays[i]);
    g_root = root;
    om.addRoot(&g_root);
    return count;
}

void BM_FullCollectionPause(benchmark::State& state) {
    if (!Runtime::initHeaps()) {
        state.SkipWithError("no heaps");
        return;
    }
    {
        ObjectManager om;
        om.setStress(false);
        const size_t objects = fillHeap(om);
        for (auto _ : state) {
            const auto start = std::chrono::steady_clock::now();
            om.gc(4);
            const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
            state.SetIterationTime(elapsed.count());
        }
        const double pauseMillis = static_cast<double>(om.statistics().lastPauseMicros) / 1000.0;
        state.counters["objects"] = static_cast<double>(objects);
        state.counters["heap_used_pct"] =
            100.0 * static_cast<double>(Runtime::objectHeap().usedBytes()) / Runtime::objectHeap().arenaSize();
        state.counters["pause_ms"] = pauseMillis;
        state.counters["frame_budget_ratio"] = pauseMillis / kFrameBudgetMillis;
        om.removeRoot(&g_root);
        g_root = nullptr;
        Runtime::destroyHeaps();
    }
}
BENCHMARK(BM_FullCollectionPause)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
