// Collector pause: a full collection with the object heap 75% full, of which 0%, 25% or 50% is
// garbage scattered through the live data (so the sweep frees blocks between survivors, as a game
// heap has them). Two heaps: small objects held through arrays from one root, and a game-like
// graph (hash tables with entry chains, vectors of boxed ints, arrays of strings with their
// characters, linked chains of entries). Each case is built afresh and collected kRepeats times;
// the median pause is printed per case, and the 50%-garbage graph pause last, beside the 58 ms
// frame budget.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "classlib/java_lang/java_lang_integer.h"
#include "classlib/java_util/java_util_hashtable.h"
#include "classlib/java_util/java_util_vector.h"
#include "runtime/array.h"
#include "runtime/memory_manager.h"
#include "runtime/object_manager.h"
#include "runtime/string.h"

namespace {

constexpr double kFrameBudgetMillis = 58.0;
constexpr int kRepeats = 11;
constexpr jint kPerArray = 1024;
constexpr jint kGroups = 4096;  // root slots of the graph heap

// A small object: the header words and two ints.
class Small : public Object {
public:
    jint a, b;
};

Object* g_root = nullptr;

java_lang_Integer* boxed(jint v) {
    auto* i = new java_lang_Integer();
    i->init(v);
    return i;
}

bool belowTarget() {
    MemoryManager& heap = Runtime::objectHeap();
    return heap.usedBytes() < heap.arenaSize() * 3 / 4;
}

// Small objects in arrays of kPerArray; `garbagePercent` of each array's slots are dropped after
// filling, spread evenly, so garbage and survivors interleave.
void fillSmall(int garbagePercent) {
    std::vector<ObjectArray*> arrays;
    ObjectArray* current = nullptr;
    jint used = kPerArray;
    while (belowTarget()) {
        if (used == kPerArray) {
            current = Runtime::newObjectArray(CID_Object, kPerArray);
            arrays.push_back(current);
            used = 0;
        }
        current->set(used++, new Small());
    }
    ObjectArray* root = Runtime::newObjectArray(CID_ObjectArray, static_cast<jint>(arrays.size()));
    for (size_t i = 0; i < arrays.size(); ++i) root->set(static_cast<jint>(i), arrays[i]);
    g_root = root;
    // Every (100 / garbagePercent)-th slot: 25% drops 1 in 4, 50% 1 in 2.
    if (garbagePercent > 0) {
        const jint every = 100 / garbagePercent;
        for (ObjectArray* array : arrays)
            for (jint i = 0; i < kPerArray; i += every) array->set(i, nullptr);
    }
}

// One group of the graph: a hash table of boxed ints keyed by strings (entries chained in
// buckets), a vector of boxed ints, and a chain of entries linked through `next`.
Object* makeGroup(jint seed) {
    auto* group = Runtime::newObjectArray(CID_Object, 3);
    auto* table = new java_util_Hashtable();
    table->init(8);
    for (jint k = 0; k < 12; ++k) {
        const std::string text = "k" + std::to_string(seed) + "-" + std::to_string(k);
        table->put(String::fromCString(text.c_str()), boxed(k));
    }
    auto* vector = new java_util_Vector();
    vector->init(16);
    for (jint k = 0; k < 16; ++k) vector->addElement(boxed(seed + k));
    java_util_HashtableEntry* chain = nullptr;
    for (jint k = 0; k < 12; ++k) {
        auto* entry = new java_util_HashtableEntry();
        entry->hash = k;
        entry->value = boxed(k);
        entry->next = chain;
        chain = entry;
    }
    group->set(0, table);
    group->set(1, vector);
    group->set(2, chain);
    return group;
}

// Groups until the heap is 75% full; garbage groups are dropped in the same even spread.
void fillGraph(int garbagePercent) {
    auto* root = Runtime::newObjectArray(CID_Object, kGroups);
    g_root = root;
    jint groups = 0;
    while (belowTarget() && groups < kGroups) {
        root->set(groups, makeGroup(groups));
        ++groups;
    }
    if (garbagePercent > 0) {
        const jint every = 100 / garbagePercent;
        for (jint i = 0; i < groups; i += every) root->set(i, nullptr);
    }
}

struct Pause {
    double millis;
    size_t freed;
    size_t survivors;
};

Pause collectOnce(bool graph, int garbagePercent) {
    Pause pause{};
    if (!Runtime::initHeaps()) return pause;
    {
        ObjectManager om;
        om.setStress(false);
        om.addRoot(&g_root);
        if (graph) fillGraph(garbagePercent);
        else fillSmall(garbagePercent);
        const auto start = std::chrono::steady_clock::now();
        om.gc(1);
        const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
        pause = {elapsed.count(), om.statistics().lastFreed, om.statistics().lastSurvivors};
        om.removeRoot(&g_root);
        g_root = nullptr;
        Runtime::destroyHeaps();
    }
    return pause;
}

double medianPause(bool graph, int garbagePercent) {
    std::vector<double> pauses;
    Pause last{};
    for (int i = 0; i < kRepeats; ++i) {
        last = collectOnce(graph, garbagePercent);
        pauses.push_back(last.millis);
    }
    std::sort(pauses.begin(), pauses.end());
    const double median = pauses[pauses.size() / 2];
    std::printf("%-13s 75%% full, %2d%% garbage: median pause %.3f ms (min %.3f, max %.3f; %zu freed, %zu kept)\n",
                graph ? "graph heap," : "small objects,", garbagePercent, median, pauses.front(), pauses.back(),
                last.freed, last.survivors);
    return median;
}

}  // namespace

int main() {
    double headline = 0;
    for (const bool graph : {false, true})
        for (const int garbage : {0, 25, 50}) headline = medianPause(graph, garbage);
    std::printf("gc pause, graph heap 75%% full, half garbage: %.3f ms median (%.3f of the %.0f ms frame)\n", headline,
                headline / kFrameBudgetMillis, kFrameBudgetMillis);
    return 0;
}
