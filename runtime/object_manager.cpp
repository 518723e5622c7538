// The collector: registry, roots, iterative marking, sweep, and the allocator's exhaustion hook.
// Lock order: the collection lock, then the stopped world, then the registry lock, then the thread
// list; the object heap's lock (registration, the registry's readers) is innermost and never held
// across a call into anything else. A collection started on a thread that is already collecting (a
// destroy slot that allocates) does nothing.
#include "runtime/object_manager.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/clock.h"
#include "runtime/constant_pool.h"
#include "runtime/log.h"
#include "runtime/memory_manager.h"
#include "runtime/method_trace.h"
#include "runtime/monitor.h"
#include "runtime/object.h"
#include "runtime/static_class.h"
#include "runtime/thread_state.h"
#include "runtime/thread_table.h"

namespace {

std::atomic<ObjectManager*> g_manager{nullptr};
thread_local bool t_collecting = false;

constexpr size_t kGranule = MemoryManager::kGranule;
constexpr size_t kInitialMarkDepth = 2000;
// What stress mode collects at: a full collection that keeps the object made last.
constexpr int kStressLevel = ObjectManager::kKeepLast | 1;

bool envFlag(const char* name, const char* value) {
    const char* set = std::getenv(name);
    return set && std::strcmp(set, value) == 0;
}

bool hasTable(const Object* object) { return *reinterpret_cast<void* const*>(object) != nullptr; }

}  // namespace

ObjectManager::ObjectManager() {
    m_records = ClassTable::records();
    m_markStack.reserve(kInitialMarkDepth);
#ifdef BRINDLEX_GC_STRESS_DEFAULT
    m_stress = true;
#endif
    if (envFlag("BRINDLEX_GC_STRESS", "1")) m_stress = true;
    if (envFlag("BRINDLEX_GC_AUDIT", "1")) setAudit(true);
    if (envFlag("BRINDLEX_GC_AUDIT", "abort")) setAudit(true, true);
#ifdef NDEBUG
    m_abortOnExhaustion = false;
#endif
    g_manager.store(this);
    Runtime::setObjectRegistry(this);
    if (Runtime::heapsReady()) bindHeaps();
}

ObjectManager::~ObjectManager() {
    if (Runtime::objectRegistry() == this) Runtime::setObjectRegistry(nullptr);
    if (Runtime::heapsReady() && m_arenaBegin != 0) {
        Runtime::objectHeap().setExhaustedHook(nullptr, nullptr);
        Runtime::nativeHeap().setExhaustedHook(nullptr, nullptr);
    }
    ObjectManager* self = this;
    g_manager.compare_exchange_strong(self, nullptr);
}

void ObjectManager::bindHeaps() {
    std::lock_guard guard(m_registryLock);
    MemoryManager& objects = Runtime::objectHeap();
    {
        std::lock_guard heap(objects);
        m_objectCount = 0;
        m_lastRegistered = nullptr;
        m_arenaBegin = reinterpret_cast<uintptr_t>(objects.arenaBegin());
        m_arenaEnd = reinterpret_cast<uintptr_t>(objects.arenaEnd());
        const size_t granules = (m_arenaEnd - m_arenaBegin) / kGranule;
        m_starts.assign((granules + 63) / 64, 0);
    }
    objects.setExhaustedHook(&ObjectManager::onHeapExhausted, this);
    Runtime::nativeHeap().setExhaustedHook(&ObjectManager::onHeapExhausted, this);
}

void ObjectManager::forgetEverything() {
    std::lock_guard guard(m_registryLock);
    m_objectCount = 0;
    m_lastRegistered = nullptr;
    m_starts.clear();
    m_arenaBegin = m_arenaEnd = 0;
}

void ObjectManager::heapsCreated() { bindHeaps(); }

void ObjectManager::heapsDestroyed() {
    gc(kFreeAll);
    forgetEverything();
}

// ---- registry ----

bool ObjectManager::isObjectStart(uintptr_t address) const {
    if (address - m_arenaBegin >= m_arenaEnd - m_arenaBegin || (address & (kGranule - 1)) != 0) return false;
    const size_t granule = (address - m_arenaBegin) / kGranule;
    return (m_starts[granule / 64] >> (granule % 64)) & 1;
}

void ObjectManager::setObjectStart(uintptr_t address, bool on) {
    const size_t granule = (address - m_arenaBegin) / kGranule;
    const uint64_t bit = uint64_t{1} << (granule % 64);
    if (on) m_starts[granule / 64] |= bit;
    else m_starts[granule / 64] &= ~bit;
}

// Before the block is taken: the collection must not meet it registered and not yet constructed.
void ObjectManager::beforeAllocation() {
    if (m_stress && !t_collecting) collect(kStressLevel, nullptr, 0);
}

// The object heap's lock is held.
void ObjectManager::registerObject(Object* object, size_t) {
    const auto address = reinterpret_cast<uintptr_t>(object);
    if (address - m_arenaBegin >= m_arenaEnd - m_arenaBegin) {
        Log::error("object %p registered from outside the object heap: never collected", static_cast<void*>(object));
        return;
    }
    ++m_objectCount;
    m_lastRegistered = object;
    setObjectStart(address, true);
}

template <class Visit>
void ObjectManager::forEachRegistered(Visit visit) const {
    for (size_t word = 0; word < m_starts.size(); ++word) {
        for (uint64_t bits = m_starts[word]; bits != 0; bits &= bits - 1) {
            const size_t granule = word * 64 + static_cast<size_t>(std::countr_zero(bits));
            visit(reinterpret_cast<Object*>(m_arenaBegin + granule * kGranule));
        }
    }
}

std::vector<Object*> ObjectManager::registeredObjects() const {
    std::vector<Object*> objects;
    if (!Runtime::heapsReady()) return objects;
    std::lock_guard heap(Runtime::objectHeap());
    objects.reserve(m_objectCount);
    forEachRegistered([&](Object* object) { objects.push_back(object); });
    return objects;
}

bool ObjectManager::isRegistered(Object* object) {
    if (!Runtime::heapsReady()) return false;
    std::lock_guard heap(Runtime::objectHeap());
    return m_arenaBegin != 0 && isObjectStart(reinterpret_cast<uintptr_t>(object));
}

size_t ObjectManager::objectCount() {
    if (!Runtime::heapsReady()) return 0;
    std::lock_guard heap(Runtime::objectHeap());
    return m_objectCount;
}

void ObjectManager::addRoot(Object** slot) {
    if (!slot) return;
    std::lock_guard guard(m_registryLock);
    m_roots.push_back(slot);
}

void ObjectManager::removeRoot(Object** slot) {
    std::lock_guard guard(m_registryLock);
    m_roots.erase(std::remove(m_roots.begin(), m_roots.end(), slot), m_roots.end());
}

ObjectManager::Statistics ObjectManager::statistics() {
    std::lock_guard guard(m_registryLock);
    return m_stats;
}

// ---- collection ----

void ObjectManager::gc(int level) { collect(level, nullptr, 0); }

// The entry of every collection. The mutator's stack ends here: callee-saved registers are spilled
// into this frame and the position below it is recorded, so the scan covers the mutator's frames
// and never the collector's own (whose slots may hold stale object pointers).
__attribute__((noinline)) void ObjectManager::collect(int level, MemoryManager* compactHeap, size_t need) {
    __builtin_unwind_init();
    if (t_collecting) return;
    const uintptr_t mutatorStackEnd = Runtime::stackPointerBelowCaller();
    collectFrom(mutatorStackEnd, level, compactHeap, need);
    asm volatile("" ::: "memory");
}

void ObjectManager::collectFrom(uintptr_t mutatorStackEnd, int level, MemoryManager* compactHeap, size_t need) {
    const int64_t last = m_lastCollection.load();
    if (level == 0 && last != kNever && Runtime::clock().monotonicMillis() - last < kThrottleMillis)
        return;
    t_collecting = true;
    // Stopping the world is what makes collections take turns: a thread that finds the world held
    // by another (collecting, or shutting down) waits parked, its stack scannable from here. No
    // second lock: one taken before the stop deadlocked against a stopper that then collected.
    Runtime::currentThreadState().savedStackPointer.store(mutatorStackEnd, std::memory_order_release);
    // Every other registered thread parks (or leaves) before anything is marked or moved.
    Runtime::suspendAllThreads();
    {
        Runtime::MethodTraceScope trace("ObjectManager::gc()");
        std::lock_guard registry(m_registryLock);
        const auto started = std::chrono::steady_clock::now();
        m_lastCollection = Runtime::clock().monotonicMillis();

        forEachRegistered([](Object* object) { object->setMarkBits(0); });
        if (level & kFreeAll) {
            forEachRegistered([](Object* object) { object->setCollectable(true); });
        } else {
            markRoots(level);
        }
        if (m_audit) audit();
        size_t freed = 0;
        sweep(freed);
        // The world is still stopped: the allocator's compaction may move other threads' data.
        if (compactHeap) compactHeap->compactForAllocation(need);

        m_lastCollection = Runtime::clock().monotonicMillis();
        ++m_stats.collections;
        m_stats.lastFreed = freed;
        m_stats.lastSurvivors = m_objectCount;
        m_stats.lastPauseMicros = std::chrono::duration_cast<std::chrono::microseconds>(
                                      std::chrono::steady_clock::now() - started)
                                      .count();
    }
    Runtime::resumeAllThreads();
    t_collecting = false;
}

void ObjectManager::markRoots(int level) {
    for (Object** slot : m_roots) markObject(*slot);
    StaticClass::forEachStaticRoot([](Object** slot, void* self) { static_cast<ObjectManager*>(self)->markObject(*slot); },
                                   this);
    markObject(reinterpret_cast<Object*>(Runtime::constantPool()));
    Runtime::forEachThreadState(
        [](ThreadState& state, void* self) { static_cast<ObjectManager*>(self)->markObject(state.pendingException); },
        this);
    ThreadTable::forEachThread([](Object* thread, void* self) { static_cast<ObjectManager*>(self)->markObject(thread); },
                               this);
    scanThreadStacks();
    if ((level & kKeepLast) && m_lastRegistered) markObject(m_lastRegistered);
}

// The world is stopped: every other registered thread is parked with its stack pointer recorded,
// and this one recorded its own at the collection's entry.
void ObjectManager::scanThreadStacks() {
    Runtime::forEachThreadState(
        [](ThreadState& state, void* self) {
            static_cast<ObjectManager*>(self)->scanConservative(
                reinterpret_cast<const void*>(state.savedStackPointer.load(std::memory_order_acquire)),
                reinterpret_cast<const void*>(state.stackBase));
        },
        this);
}

// Reads stack words the sanitizer would call redzones: a conservative scan reads them on purpose.
__attribute__((no_sanitize("address", "thread"))) void ObjectManager::scanConservative(const void* from, const void* to) {
    uintptr_t low = std::min(reinterpret_cast<uintptr_t>(from), reinterpret_cast<uintptr_t>(to));
    const uintptr_t high = std::max(reinterpret_cast<uintptr_t>(from), reinterpret_cast<uintptr_t>(to));
    if (low == 0) return;
    low = (low + sizeof(uintptr_t) - 1) & ~(sizeof(uintptr_t) - 1);
    for (uintptr_t p = low; p + sizeof(uintptr_t) <= high; p += sizeof(uintptr_t)) {
        const uintptr_t word = *reinterpret_cast<const uintptr_t*>(p);
        if (isObjectStart(word) && reinterpret_cast<Object*>(word)->markBits() == 0)
            markObject(reinterpret_cast<Object*>(word));
    }
}

bool ObjectManager::hasReferences(const Object* object) const {
    const uint16_t id = object->classId();
    if (id == CID_ObjectArray) return true;
    return id < kClassCount && m_records[id].refFieldCount() > 0;
}

void ObjectManager::markObject(Object* object) {
    if (!object || !isObjectStart(reinterpret_cast<uintptr_t>(object)) || object->markBits() != 0) return;
    object->setMarkBits(1);
    if (!hasReferences(object)) return;
    m_markStack.push_back({object, 0});
    while (!m_markStack.empty()) {
        if (Object* child = nextChild(m_markStack.back())) m_markStack.push_back({child, 0});
        else m_markStack.pop_back();
    }
}

// Marks the frame's next unmarked references; answers the first that has references of its own
// (to be entered), or null when the frame's object is done.
Object* ObjectManager::nextChild(MarkFrame& frame) {
    Object* object = frame.object;
    Object* const* slots;
    jint count;
    const uint32_t* offsets = nullptr;
    if (object->classId() == CID_ObjectArray) {
        auto* array = static_cast<ObjectArray*>(object);
        slots = array->data ? array->elements() : nullptr;
        count = slots ? std::max<jint>(array->length, 0) : 0;
    } else {
        const ClassRecord& record = m_records[object->classId()];
        slots = nullptr;
        offsets = record.refFieldOffsets();
        count = static_cast<jint>(record.refFieldCount());
    }
    while (frame.next < count) {
        const jint i = frame.next++;
        Object* ref = offsets ? *reinterpret_cast<Object* const*>(reinterpret_cast<const uint8_t*>(object) + offsets[i])
                              : slots[i];
        // Only exact starts of registered objects are references (never an interface pointer).
        if (!ref || !isObjectStart(reinterpret_cast<uintptr_t>(ref)) || ref->markBits() != 0) continue;
        ref->setMarkBits(1);
        if (hasReferences(ref)) return ref;
    }
    return nullptr;
}

// In address order: the dead leave the registry first (a destroy slot that allocates registers
// objects the sweep must not meet), then each is destroyed and stamped, their monitors are
// released in one pass (by address only), and the object heap frees them all under one lock.
void ObjectManager::sweep(size_t& freed) {
    m_dead.clear();
    for (size_t word = 0; word < m_starts.size(); ++word) {
        uint64_t dead = 0;
        for (uint64_t bits = m_starts[word]; bits != 0; bits &= bits - 1) {
            const unsigned bit = static_cast<unsigned>(std::countr_zero(bits));
            auto* object = reinterpret_cast<Object*>(m_arenaBegin + (word * 64 + bit) * kGranule);
            if (object->markBits() != 0 || !object->isCollectable()) continue;
            dead |= uint64_t{1} << bit;
            m_dead.push_back(object);
        }
        m_starts[word] &= ~dead;
    }
    m_objectCount -= m_dead.size();
    if (m_lastRegistered && !isObjectStart(reinterpret_cast<uintptr_t>(m_lastRegistered))) m_lastRegistered = nullptr;
    for (Object* object : m_dead) {
        if (hasTable(object)) object->destroy();
        object->stampCollected();
    }
    // Here, not in Object's destroy, the monitors: overrides of destroy need not chain to it.
    MonitorTable::releaseMonitors(m_dead.data(), m_dead.size());
    Runtime::objectHeap().freeAscending(reinterpret_cast<void* const*>(m_dead.data()), m_dead.size());
    freed = m_dead.size();
    // A shutdown's sweep frees everything: the list's memory goes too.
    if (m_objectCount == 0) std::vector<Object*>().swap(m_dead);
}

// Registration audit: a word of a live object's body that is the start of an object about to be
// freed, at an offset the class's reference list does not name, is a field missing from the list.
void ObjectManager::audit() {
    MemoryManager& heap = Runtime::objectHeap();
    forEachRegistered([&](Object* object) {
        if (object->markBits() == 0) return;
        const uint16_t id = object->classId();
        const uint32_t* offsets = id < kClassCount ? m_records[id].refFieldOffsets() : nullptr;
        const uint32_t count = id < kClassCount ? m_records[id].refFieldCount() : 0;
        const size_t size = heap.blockSize(object) & ~(sizeof(uintptr_t) - 1);
        for (size_t offset = sizeof(void*) + sizeof(uint64_t); offset < size; offset += sizeof(uintptr_t)) {
            if (std::find(offsets, offsets + count, offset) != offsets + count) continue;
            const uintptr_t word = *reinterpret_cast<const uintptr_t*>(reinterpret_cast<const uint8_t*>(object) + offset);
            if (!isObjectStart(word) || reinterpret_cast<Object*>(word)->markBits() != 0) continue;
            const ClassRecord* holder = Class::forId(id);
            const ClassRecord* target = Class::forId(reinterpret_cast<Object*>(word)->classId());
            Log::error("registration audit: %s @%p holds %s @%p at offset %zu, which its reference-field list lacks",
                       holder ? holder->name() : "?", static_cast<void*>(object), target ? target->name() : "?",
                       reinterpret_cast<void*>(word), offset);
            ++m_stats.auditFindings;
            if (m_auditAborts) std::abort();
        }
    });
}

// ---- exhaustion ----

void ObjectManager::onHeapExhausted(MemoryManager& heap, size_t need, void* context) {
    auto* self = static_cast<ObjectManager*>(context);
    self->collect(kKeepLast | 1, &heap, need);
    // The native heap's users fall back to the general allocator; only the object heap can fail.
    if (&heap == &Runtime::objectHeap()) self->reportExhaustion(heap, need);
}

void ObjectManager::reportExhaustion(MemoryManager& heap, size_t need) {
    for (const MemoryManager::FreeBlock& block : heap.freeBlocks())
        if (block.length >= need) return;
    Log::error("object heap exhausted: no block of %zu bytes after a collection (%zu of %zu bytes in use, %zu objects)",
               need, heap.usedBytes(), heap.arenaSize(), objectCount());
    Log::write(LogLevel::Error, Runtime::getStackTrace());
    if (m_abortOnExhaustion) std::abort();
}

namespace Runtime {

ObjectManager* getObjectManager() { return g_manager.load(); }

}  // namespace Runtime
