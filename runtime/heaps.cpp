// Heaps and allocation entry points. The heaps are created once by the application and torn down
// at close; everything here assumes they exist (a missing heap is a start-up bug, reported loudly).
#include "runtime/heaps.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "runtime/constant_pool.h"
#include "runtime/log.h"
#include "runtime/memory_manager.h"
#include "runtime/thread_state.h"

namespace {

MemoryManager* g_objectHeap = nullptr;
MemoryManager* g_nativeHeap = nullptr;
ObjectRegistry* g_registry = nullptr;

void registerWith(void* payload, size_t size, void* registry) {
    static_cast<ObjectRegistry*>(registry)->registerObject(static_cast<Object*>(payload), size);
}

[[noreturn]] void heapsMissing() {
    std::fprintf(stderr, "heaps used before Runtime::initHeaps\n");
    std::abort();
}

}  // namespace

namespace Runtime {

bool initHeaps(size_t objectHeapSize, size_t nativeHeapSize) {
    destroyHeaps();
    auto* objects = new MemoryManager();
    auto* natives = new MemoryManager();
    if (!objects->init(objectHeapSize, false) || !natives->init(nativeHeapSize, true)) {
        delete objects;
        delete natives;
        return false;
    }
    g_objectHeap = objects;
    g_nativeHeap = natives;
    if (g_registry) g_registry->heapsCreated();
    return true;
}

void destroyHeaps() {
    if (!g_objectHeap) return;
    if (g_registry) g_registry->heapsDestroyed();
    // Pending exceptions and the constant pool live in the object heap and die with it.
    forEachThreadState([](ThreadState& state, void*) { state.pendingException = nullptr; }, nullptr);
    setConstantPool(nullptr);
    delete g_objectHeap;
    delete g_nativeHeap;
    g_objectHeap = nullptr;
    g_nativeHeap = nullptr;
}

bool heapsReady() { return g_objectHeap != nullptr; }

MemoryManager& objectHeap() {
    if (!g_objectHeap) heapsMissing();
    return *g_objectHeap;
}

MemoryManager& nativeHeap() {
    if (!g_nativeHeap) heapsMissing();
    return *g_nativeHeap;
}

void setObjectRegistry(ObjectRegistry* registry) { g_registry = registry; }
ObjectRegistry* objectRegistry() { return g_registry; }

void* newObject(size_t size, int nativeFlag) {
    if (nativeFlag != 0) return nativeAlloc(size);
    ObjectRegistry* registry = g_registry;
    if (registry == nullptr) return objectHeap().allocateRegistered(size, nullptr, nullptr);
    registry->beforeAllocation();
    // Zeroed and registered under the heap's lock: a registration takes no lock of its own.
    return objectHeap().allocateRegistered(size, &registerWith, registry);
}

void* nativeAlloc(size_t size, void** owner) {
    void* block = nativeHeap().allocate(size, owner);
    if (!block) {
        // The fallback never moves, so it needs no owner.
        block = std::calloc(1, size ? size : 1);
        if (!block) newHandler();
        return block;
    }
    std::memset(block, 0, size);
    return block;
}

void nativeFree(void* block) { freeBlock(block); }

void freeBlock(void* block) {
    if (!block) return;
    if (nativeHeap().free(block)) return;
    if (objectHeap().free(block)) return;
    std::free(block);
}

void newHandler() {
    std::fputs("ERROR: Operator new failed: out of store.\n", stdout);
    std::fflush(stdout);
    throw std::bad_alloc();
}

}  // namespace Runtime
