// The two heaps of the runtime and the allocation entry points over them. Objects and array headers
// come from the object heap and are registered with the collector; array elements, string
// characters and other variable data come from the movable native heap (owner recorded), else
// from malloc, where blocks never move.
#pragma once

#include <cstddef>

class MemoryManager;
class Object;

// What allocation needs of the collector; the collector installs itself, tests may install a probe.
class ObjectRegistry {
public:
    virtual ~ObjectRegistry() = default;
    // Before every object allocation, no lock held (stress mode collects here: a collection must
    // never meet a block registered but not yet constructed).
    virtual void beforeAllocation() {}
    // Called with the object heap's lock held, on the zeroed block just taken: registration needs
    // no lock of its own. It must not use the object heap.
    virtual void registerObject(Object* object, size_t size) = 0;
    // Called after initHeaps made new heaps, and before destroyHeaps drops them (every object with
    // them: the registry frees what it holds while the heaps still exist).
    virtual void heapsCreated() {}
    virtual void heapsDestroyed() {}
};

namespace Runtime {

// The phone's 4 MB and 6 MB were sized for 4-byte references; objects here are about twice as big.
inline constexpr size_t kObjectHeapSize = 0x800000;
inline constexpr size_t kNativeHeapSize = 0xC00000;

// Creates both heaps (the application does this once at start-up); answers false when the general
// allocator cannot provide an arena.
[[nodiscard]] bool initHeaps(size_t objectHeapSize = kObjectHeapSize, size_t nativeHeapSize = kNativeHeapSize);
void destroyHeaps();
[[nodiscard]] bool heapsReady();
[[nodiscard]] MemoryManager& objectHeap();
[[nodiscard]] MemoryManager& nativeHeap();

void setObjectRegistry(ObjectRegistry* registry);
[[nodiscard]] ObjectRegistry* objectRegistry();

// nativeFlag 0: a zeroed object-heap block registered with the collector, or null.
// Non-zero: a zeroed native-heap (else malloc) block, not registered.
[[nodiscard]] void* newObject(size_t size, int nativeFlag);
// A zero-filled block from the native heap, else malloc. `owner`, when given, is recorded as the
// block's owner inside the allocation, so compaction can rewrite it.
[[nodiscard]] void* nativeAlloc(size_t size, void** owner = nullptr);
void nativeFree(void* block);
// Gives a block back to whichever source it came from: native heap, object heap, else malloc.
void freeBlock(void* block);
// Installed as the handler of an exhausted operator new.
[[noreturn]] void newHandler();

}  // namespace Runtime
