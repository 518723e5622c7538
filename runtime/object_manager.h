// ObjectManager: the collector. Every object is registered at allocation; a collection stops the
// world, marks from the roots (registered root slots, the statics registered with StaticClass, the
// constant pool, every thread's pending exception and Thread object, the thread stacks scanned
// conservatively for exact object starts) and sweeps the rest: destroy slot, stamp 0xFEEE, free.
// Invariant: the object-start bitmap has a bit set exactly for the registered objects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <atomic>
#include <string>
#include <vector>

#include "runtime/heaps.h"
#include "runtime/jtypes.h"
#include "runtime/short_lock.h"

class ClassRecord;
class MemoryManager;
class Object;

class ObjectManager final : public ObjectRegistry {
public:
    // Level bits: kFreeAll frees every registered object (shutdown), kKeepLast also keeps the most
    // recently registered one (the allocator's collection). Level 0 is throttled.
    static constexpr int kFreeAll = 2;
    static constexpr int kKeepLast = 8;
    static constexpr int64_t kThrottleMillis = 2000;

    struct Statistics {
        uint64_t collections = 0;   // collections that ran (throttled calls not counted)
        size_t lastFreed = 0;
        size_t lastSurvivors = 0;
        int64_t lastPauseMicros = 0;
        size_t auditFindings = 0;   // registration-audit reports since start
    };

    // Installs itself as the object registry and as both heaps' exhaustion hook. Reads
    // BRINDLEX_GC_STRESS (1: collect at every allocation) and BRINDLEX_GC_AUDIT (1: audit before
    // each sweep; "abort": stop at the first finding).
    ObjectManager();
    ~ObjectManager() override;
    ObjectManager(const ObjectManager&) = delete;
    ObjectManager& operator=(const ObjectManager&) = delete;

    void registerObject(Object* object, size_t size) override;
    void heapsCreated() override;
    void heapsDestroyed() override;

    void gc(int level);
    // Marks object and everything reachable from it (iteratively; the mark stack grows as needed).
    void markObject(Object* object);
    // Treats every aligned word between the two addresses (either order; the word must lie wholly
    // inside the range) as a possible reference: exact object starts are marked.
    void scanConservative(const void* from, const void* to);

    // Root slots outside the statics (Application's words): read at every collection, null skipped.
    void addRoot(Object** slot);
    void removeRoot(Object** slot);

    [[nodiscard]] bool isRegistered(Object* object);
    [[nodiscard]] size_t objectCount();
    // The phone's measure, kept so figures compare with its logs: 8 per object (its two 32-bit
    // header words; here they take 16), plus each String's and StringBuffer's length in units and
    // each array's elements in bytes.
    [[nodiscard]] size_t usedBytes();
    void printMemoryStats();
    // The bytes of "memdump.dat": the class names, the registry and both heaps' free blocks, taken
    // under the registry lock. The class library writes them to the file (writeMemoryDump).
    [[nodiscard]] std::vector<uint8_t> memoryDump();

    [[nodiscard]] Statistics statistics();
    void setStress(bool on) { m_stress = on; }
    [[nodiscard]] bool stress() const { return m_stress; }
    void setAudit(bool on, bool abortOnFinding = false) {
        m_audit = on;
        m_auditAborts = abortOnFinding;
    }
    // Debug builds stop with the method trace when the object heap is exhausted even after a
    // collection; tests that exhaust the heap on purpose turn that off.
    void setAbortOnExhaustion(bool on) { m_abortOnExhaustion = on; }

private:
    struct MarkFrame {
        Object* object;
        jint next;  // index of the next element or field to scan
    };

    void collect(int level, MemoryManager* compactHeap, size_t need);
    void collectFrom(uintptr_t mutatorStackEnd, int level, MemoryManager* compactHeap, size_t need);
    void markRoots(int level);
    void scanThreadStacks();
    void audit();
    void sweep(size_t& freed);
    [[nodiscard]] bool hasReferences(const Object* object) const;
    [[nodiscard]] Object* nextChild(MarkFrame& frame);
    void bindHeaps();
    void forgetEverything();
    static void onHeapExhausted(MemoryManager& heap, size_t need, void* context);
    void reportExhaustion(MemoryManager& heap, size_t need);

    // Object-start bitmap: one bit per 8-byte granule of the object arena.
    [[nodiscard]] bool isObjectStart(uintptr_t address) const;
    void setObjectStart(uintptr_t address, bool on);

    RecursiveShortLock m_registryLock;  // registrations; held through a collection
    std::vector<Object*> m_registry;
    Object* m_lastRegistered = nullptr;
    std::vector<Object**> m_roots;
    std::vector<MarkFrame> m_markStack;
    std::vector<uint64_t> m_starts;
    uintptr_t m_arenaBegin = 0;
    uintptr_t m_arenaEnd = 0;
    const ClassRecord* m_records = nullptr;
    static constexpr int64_t kNever = INT64_MIN;
    std::atomic<int64_t> m_lastCollection{kNever};  // monotonic ms; read unlocked by the throttle
    Statistics m_stats;
    bool m_stress = false;
    bool m_audit = false;
    bool m_auditAborts = false;
    bool m_abortOnExhaustion = true;
};

namespace Runtime {

// The installed collector, or null.
[[nodiscard]] ObjectManager* getObjectManager();

}  // namespace Runtime
