// MemoryManager: one fixed arena carved into blocks that tile it in address order, best fit with the
// lowest address winning ties. The native heap (keep-owners) records for every used block the field
// that points at its payload, so compaction can slide blocks and rewrite that field. Compaction moves
// other threads' data: it runs only while the world is stopped (the exhaustion hook decides when).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/short_lock.h"

class MemoryManager {
public:
    // 64-bit layout: the size word and the owner word are 8 bytes each; payloads are 8-aligned.
    static constexpr size_t kGranule = 8;
    static constexpr size_t kWord = 8;
    // The smallest block: its size word, the owner word, and the length a free block repeats in its
    // last word so the block above can find it.
    static constexpr size_t kMinBlock = 3 * kWord;
    // A remainder this many bytes above the header size is too small to split off (32 bytes of
    // 4-byte words on the phone: 8 words, 64 bytes here).
    static constexpr size_t kSplitSlack = 8 * kWord;
    static constexpr int kMaxCompactionMoves = 20;
    static constexpr int kMaxSlideCycles = 20;

    // Called with no lock held when a best fit finds nothing. It may collect (which frees into this
    // heap) and, while the world is stopped, compact. The allocation then tries once more. With no
    // hook installed, allocate runs compactForAllocation itself: one thread is a stopped world.
    using ExhaustedHook = void (*)(MemoryManager& heap, size_t need, void* context);
    // Called with the lock held on a block just taken and zeroed (the collector registers objects
    // this way, so a registration costs no lock of its own). It must not call this heap.
    using Registrar = void (*)(void* payload, size_t size, void* context);

    // One free block as a dump lists it: the block's own address (not its payload) and full length.
    struct FreeBlock {
        const uint8_t* address;
        size_t length;
    };

    MemoryManager();
    ~MemoryManager();
    MemoryManager(const MemoryManager&) = delete;
    MemoryManager& operator=(const MemoryManager&) = delete;

    // The arena size must be a multiple of the granule, at least kMinBlock and below 4 GB.
    [[nodiscard]] bool init(size_t size, bool keepOwners);
    void destroy();

    // A payload of at least `size` bytes, or null. When `owner` is given (native heap) it is recorded
    // as the block's owner before the lock is released, so no block exists without its owner.
    // `capacity`, when given, receives the payload's whole length (what blockSize would answer).
    [[nodiscard]] void* allocate(size_t size, void** owner = nullptr, size_t* capacity = nullptr);
    // A zeroed payload of at least `size` bytes, the whole block zeroed and handed to `registrar`
    // before the lock is released; or null (the registrar not called).
    [[nodiscard]] void* allocateRegistered(size_t size, Registrar registrar, void* context);
    // 0 when the address is not inside the arena (the caller tries elsewhere), else 1.
    int free(void* payload);
    // Frees `count` used blocks of this arena, given by payload in ascending address order, under
    // one lock: each run of adjacent blocks becomes one block first, so it merges with its free
    // neighbours once. (The collector's sweep frees this way, with the world stopped.)
    void freeAscending(void* const* payloads, size_t count);
    void setOwner(void* payload, void** ownerField);
    [[nodiscard]] void** ownerOf(const void* payload) const;
    [[nodiscard]] size_t blockSize(const void* payload) const;
    [[nodiscard]] bool contains(const void* address) const;

    // Compaction passes (native heap only). Each answers the payload-less block address of a free
    // block of at least `need` bytes (header included), or null. Caller guarantees a stopped world.
    void* compactByGain(size_t need);
    void* compactSlide(size_t need);
    void* compact(size_t need);
    // What the exhaustion path runs after a collection: compaction when used + need < size.
    void compactForAllocation(size_t need);

    void rebuildFreeList();
    // Checks every invariant (blocks tile the arena, free list ordered and complete, no two free
    // blocks adjacent, counts, used + free = size, the index holds exactly the free blocks).
    // On failure answers false and says why.
    [[nodiscard]] bool walk(std::string* why = nullptr) const;

    void setExhaustedHook(ExhaustedHook hook, void* context);

    // The heap's lock, for whoever keeps state that the registrar writes (the collector's registry).
    // While it is held, the holder must not call this heap.
    void lock() const { m_lock.lock(); }
    void unlock() const { m_lock.unlock(); }

    [[nodiscard]] size_t headerSize() const { return m_headerSize; }
    [[nodiscard]] size_t arenaSize() const { return m_size; }
    [[nodiscard]] size_t blockCount() const;
    [[nodiscard]] size_t freeBlockCount() const;
    [[nodiscard]] size_t usedBytes() const;
    [[nodiscard]] size_t peakUsedBytes() const;
    [[nodiscard]] bool keepsOwners() const { return m_keepOwners; }
    [[nodiscard]] const uint8_t* arenaBegin() const { return m_arena; }
    [[nodiscard]] const uint8_t* arenaEnd() const { return m_arena + m_size; }

    // The bytes a request of `size` takes: rounded up to the granule, plus the header, at least
    // kMinBlock.
    [[nodiscard]] size_t blockNeed(size_t size) const;

    // Free blocks in address order, copied under the lock so the caller may allocate while it
    // writes them out (a dump does).
    [[nodiscard]] std::vector<FreeBlock> freeBlocks() const;

private:
    class Index;  // size-ordered index of the free blocks (best fit without a linear walk)

    [[nodiscard]] void* allocateAfterCollecting(size_t need, void** owner, size_t* capacity);
    [[nodiscard]] void* takeRegistered(size_t need, size_t size, Registrar registrar, void* context);
    void runExhaustedHook(size_t need);
    [[nodiscard]] void* takeBestFit(size_t need, void** owner, size_t* capacity);
    [[nodiscard]] uint8_t* bestFit(size_t need, const uint8_t* skipA = nullptr,
                                   const uint8_t* skipB = nullptr, size_t* length = nullptr) const;
    size_t takeBlock(uint8_t* block, size_t length, size_t need);
    void releaseBlock(uint8_t* block);
    void releaseMerging(uint8_t* block);
    void writeFree(uint8_t* block, size_t length, bool markNext);
    void linkFree(uint8_t* block, size_t length, bool markNext);
    void moveStretch(uint8_t* from, size_t length, uint8_t* hole);
    [[nodiscard]] std::vector<uint8_t*> freeBlocksInAddressOrder() const;
    uint8_t* compactByGainLocked(size_t need);
    uint8_t* compactSlideLocked(size_t need);
    [[nodiscard]] size_t offsetOf(const uint8_t* p) const { return static_cast<size_t>(p - m_arena); }

    uint8_t* m_arena = nullptr;
    size_t m_size = 0;
    size_t m_blockCount = 0;
    size_t m_freeCount = 0;
    size_t m_used = 0;
    size_t m_peak = 0;
    bool m_keepOwners = false;
    size_t m_headerSize = kWord;
    ExhaustedHook m_hook = nullptr;
    void* m_hookContext = nullptr;
    mutable ShortLock m_lock;
    std::unique_ptr<Index> m_index;
};
