// MemoryManager: best fit through a (length, offset) index of the free blocks, merging through
// boundary tags. Invariant: blocks tile the arena; no two free blocks touch; a free block repeats its
// length in its last word; a block carries kPrevFree exactly when the block below is free; the word
// just past the arena reads as a used block; the index holds exactly the free blocks. Below the
// public methods, m_lock is held.
#include "runtime/memory_manager.h"

#include "runtime/free_block_index.h"
#include "runtime/log.h"

#include <algorithm>
#include <bit>
#include <iterator>
#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>

namespace {

// Flags live in the low bits of the size word (lengths are multiples of the granule).
constexpr uint64_t kUsed = 1;      // the block is handed out
constexpr uint64_t kPrevFree = 2;  // the block just below is free; its last word holds its length
constexpr uint64_t kFlags = kUsed | kPrevFree;

uint64_t& sizeWord(uint8_t* block) { return *reinterpret_cast<uint64_t*>(block); }
uint64_t sizeWord(const uint8_t* block) { return *reinterpret_cast<const uint64_t*>(block); }
size_t lengthOf(const uint8_t* block) { return static_cast<size_t>(sizeWord(block) & ~kFlags); }
bool isUsed(const uint8_t* block) { return (sizeWord(block) & kUsed) != 0; }
bool prevIsFree(const uint8_t* block) { return (sizeWord(block) & kPrevFree) != 0; }
uint64_t& lastWord(uint8_t* block, size_t length) {
    return *reinterpret_cast<uint64_t*>(block + length - sizeof(uint64_t));
}
// The owner word follows the size word (native heap only).
void**& ownerWord(uint8_t* block) { return *reinterpret_cast<void***>(block + MemoryManager::kWord); }

void logHeapFailure(const char* what, size_t need) { Log::debug("%s: no block of %zu bytes", what, need); }

}  // namespace

MemoryManager::MemoryManager() : m_index(std::make_unique<Index>()) {}

MemoryManager::~MemoryManager() { destroy(); }

bool MemoryManager::init(size_t size, bool keepOwners) {
    destroy();
    if (size < kMinBlock || size % kGranule != 0 || size > std::numeric_limits<uint32_t>::max()) {
        return false;
    }
    // One word past the arena stands for a used block above the last, so the free path reads the
    // block above without asking whether there is one.
    auto* arena = static_cast<uint8_t*>(std::malloc(size + kWord));
    if (arena == nullptr) return false;
    sizeWord(arena + size) = kUsed;
    std::lock_guard guard(m_lock);
    m_arena = arena;
    m_size = size;
    m_keepOwners = keepOwners;
    m_headerSize = keepOwners ? 2 * kWord : kWord;
    m_blockCount = 1;
    m_freeCount = 1;
    m_used = 0;
    m_peak = 0;
    m_index->reset(m_arena);
    linkFree(m_arena, m_size, false);
    return true;
}

void MemoryManager::destroy() {
    std::lock_guard guard(m_lock);
    std::free(m_arena);
    m_arena = nullptr;
    m_size = 0;
    m_blockCount = 0;
    m_freeCount = 0;
    m_used = 0;
    m_peak = 0;
    m_index->reset(nullptr);
}

size_t MemoryManager::blockNeed(size_t size) const {
    // Saturate rather than wrap: an impossible request must stay impossible.
    if (size > std::numeric_limits<size_t>::max() - kGranule - m_headerSize - kMinBlock) {
        return std::numeric_limits<size_t>::max();
    }
    const size_t rounded = (size + kGranule - 1) & ~(kGranule - 1);
    return std::max(rounded + m_headerSize, kMinBlock);
}

// Lock held: the best fit for `need` taken and its payload answered, or null.
BRINDLEX_HOT void* MemoryManager::takeBestFit(size_t need, void** owner, size_t* capacity) {
    size_t length = 0;
    const size_t offset = need <= m_size ? m_index->bestFit(need, &length) : Index::kNone;
    if (offset == Index::kNone) return nullptr;
    uint8_t* block = m_arena + offset;
    const size_t taken = takeBlock(block, length, need);
    if (m_keepOwners) ownerWord(block) = owner;
    if (capacity != nullptr) *capacity = taken - m_headerSize;
    return block + m_headerSize;
}

void* MemoryManager::allocate(size_t size, void** owner, size_t* capacity) {
    const size_t need = blockNeed(size);
    {
        std::lock_guard guard(m_lock);
        if (void* payload = takeBestFit(need, owner, capacity)) return payload;
    }
    return allocateAfterCollecting(need, owner, capacity);
}

// No block fits: the hook (or, with none, compaction) runs with the lock released, since the
// hook's collection frees into this heap; then the allocation tries once more.
void MemoryManager::runExhaustedHook(size_t need) {
    ExhaustedHook hook = nullptr;
    void* hookContext = nullptr;
    {
        std::lock_guard guard(m_lock);
        hook = m_hook;
        hookContext = m_hookContext;
    }
    if (hook != nullptr) {
        hook(*this, need, hookContext);
    } else {
        compactForAllocation(need);  // with no collector, this thread is the whole world
    }
}

void* MemoryManager::allocateAfterCollecting(size_t need, void** owner, size_t* capacity) {
    runExhaustedHook(need);
    {
        std::lock_guard guard(m_lock);
        if (void* payload = takeBestFit(need, owner, capacity)) return payload;
    }
    logHeapFailure("MemoryManager::allocate", need);
    return nullptr;
}

// Lock held: the best fit taken, zeroed whole (slack included: no stale word of a freed object may
// look like a field) and registered.
BRINDLEX_HOT void* MemoryManager::takeRegistered(size_t need, size_t size, Registrar registrar, void* context) {
    size_t capacity = 0;
    void* payload = takeBestFit(need, nullptr, &capacity);
    if (payload == nullptr) return nullptr;
    std::memset(payload, 0, capacity);
    if (registrar != nullptr) registrar(payload, size, context);
    return payload;
}

void* MemoryManager::allocateRegistered(size_t size, Registrar registrar, void* context) {
    const size_t need = blockNeed(size);
    {
        std::lock_guard guard(m_lock);
        if (void* payload = takeRegistered(need, size, registrar, context)) return payload;
    }
    runExhaustedHook(need);
    {
        std::lock_guard guard(m_lock);
        if (void* payload = takeRegistered(need, size, registrar, context)) return payload;
    }
    logHeapFailure("MemoryManager::allocate", need);
    return nullptr;
}

int MemoryManager::free(void* payload) {
    if (!contains(payload)) return 0;
    uint8_t* block = static_cast<uint8_t*>(payload) - m_headerSize;
    // The block's size word is usually a cache miss: fetched while the lock is taken.
    __builtin_prefetch(block, 1);
    std::lock_guard guard(m_lock);
    assert(isUsed(block) && "free of a block that is not in use");
    releaseBlock(block);
    return 1;
}

void MemoryManager::freeAscending(void* const* payloads, size_t count) {
    std::lock_guard guard(m_lock);
    size_t i = 0;
    while (i < count) {
        assert(contains(payloads[i]) && "a batch free outside the arena");
        uint8_t* first = static_cast<uint8_t*>(payloads[i]) - m_headerSize;
        assert(isUsed(first) && "free of a block that is not in use");
        size_t length = lengthOf(first);
        size_t blocks = 1;
        while (i + blocks < count && static_cast<uint8_t*>(payloads[i + blocks]) - m_headerSize == first + length) {
            assert(isUsed(first + length) && "free of a block that is not in use");
            length += lengthOf(first + length);
            ++blocks;
        }
        // The run becomes one used block (the words inside it are garbage now), then is freed.
        sizeWord(first) = length | kUsed | (sizeWord(first) & kPrevFree);
        m_blockCount -= blocks - 1;
        releaseBlock(first);
        i += blocks;
    }
}

void MemoryManager::setOwner(void* payload, void** ownerField) {
    if (!m_keepOwners || !contains(payload)) return;
    std::lock_guard guard(m_lock);
    ownerWord(static_cast<uint8_t*>(payload) - m_headerSize) = ownerField;
}

void** MemoryManager::ownerOf(const void* payload) const {
    if (!m_keepOwners || !contains(payload)) return nullptr;
    std::lock_guard guard(m_lock);
    return ownerWord(const_cast<uint8_t*>(static_cast<const uint8_t*>(payload)) - m_headerSize);
}

size_t MemoryManager::blockSize(const void* payload) const {
    if (!contains(payload)) return 0;
    std::lock_guard guard(m_lock);
    return lengthOf(static_cast<const uint8_t*>(payload) - m_headerSize) - m_headerSize;
}

bool MemoryManager::contains(const void* address) const {
    const auto* p = static_cast<const uint8_t*>(address);
    return m_arena != nullptr && p >= m_arena && p < m_arena + m_size;
}

void MemoryManager::setExhaustedHook(ExhaustedHook hook, void* context) {
    std::lock_guard guard(m_lock);
    m_hook = hook;
    m_hookContext = context;
}

size_t MemoryManager::blockCount() const {
    std::lock_guard guard(m_lock);
    return m_blockCount;
}

size_t MemoryManager::freeBlockCount() const {
    std::lock_guard guard(m_lock);
    return m_freeCount;
}

size_t MemoryManager::usedBytes() const {
    std::lock_guard guard(m_lock);
    return m_used;
}

size_t MemoryManager::peakUsedBytes() const {
    std::lock_guard guard(m_lock);
    return m_peak;
}

std::vector<MemoryManager::FreeBlock> MemoryManager::freeBlocks() const {
    std::lock_guard guard(m_lock);
    std::vector<FreeBlock> blocks;
    blocks.reserve(m_freeCount);
    for (const uint8_t* block : freeBlocksInAddressOrder()) blocks.push_back({block, lengthOf(block)});
    return blocks;
}

// ---- blocks (lock held) ----

uint8_t* MemoryManager::bestFit(size_t need, const uint8_t* skipA, const uint8_t* skipB,
                                size_t* length) const {
    if (need > m_size) return nullptr;
    auto skip = [this](const uint8_t* block) { return block == nullptr ? Index::kNone : offsetOf(block); };
    size_t found = 0;
    const size_t offset = m_index->bestFit(need, skip(skipA), skip(skipB), &found);
    if (offset == Index::kNone) return nullptr;
    if (length != nullptr) *length = found;
    return m_arena + offset;
}

// Hands out `need` bytes of a free block: the whole block when the rest would be too small to be
// worth a block of its own, else the low part, leaving the rest free in the block's place.
// The caller passes the length it found in the index: the block is written, never read.
// Answers the bytes taken.
BRINDLEX_HOT size_t MemoryManager::takeBlock(uint8_t* block, size_t length, size_t need) {
    const size_t remainder = length - need;
    size_t taken = length;
    if (remainder <= m_headerSize + kSplitSlack) {
        m_index->erase(offsetOf(block), length);
        sizeWord(block) = length | kUsed;
        sizeWord(block + length) &= ~kPrevFree;  // the end sentinel too: nobody reads its flag
        --m_freeCount;
    } else {
        // The block above the remainder already carries kPrevFree.
        uint8_t* rest = block + need;
        sizeWord(block) = need | kUsed;
        writeFree(rest, remainder, false);
        m_index->replace(offsetOf(block), length, offsetOf(rest), remainder);
        ++m_blockCount;
        taken = need;
    }
    m_used += taken;
    m_peak = std::max(m_peak, m_used);
    return taken;
}

// Returns a used block. Most frees have no free neighbour: they write the block free and add it to
// the index; the rest merge out of line.
BRINDLEX_HOT void MemoryManager::releaseBlock(uint8_t* block) {
    const size_t length = lengthOf(block);
    uint8_t* next = block + length;  // at the arena's end, the sentinel, which reads as used
    if (!isUsed(next) || prevIsFree(block)) [[unlikely]] {
        releaseMerging(block);
        return;
    }
    m_used -= length;
    ++m_freeCount;
    linkFree(block, length, true);
}

// Frees a used block that has a free neighbour and merges them. The merged block takes the index
// entry of a free neighbour.
[[gnu::noinline]] void MemoryManager::releaseMerging(uint8_t* block) {
    size_t length = lengthOf(block);
    m_used -= length;
    ++m_freeCount;
    size_t replacedOffset = Index::kNone;
    size_t replacedLength = 0;
    uint8_t* next = block + length;
    bool markNext = true;
    if (!isUsed(next)) {
        replacedOffset = offsetOf(next);
        replacedLength = lengthOf(next);
        length += replacedLength;
        --m_freeCount;
        --m_blockCount;
        markNext = false;  // the block above the absorbed one is marked already
    }
    if (prevIsFree(block)) {
        const auto below = static_cast<size_t>(*reinterpret_cast<const uint64_t*>(block - kWord));
        block -= below;
        if (replacedOffset != Index::kNone) m_index->erase(replacedOffset, replacedLength);
        replacedOffset = offsetOf(block);
        replacedLength = below;
        length += below;
        --m_freeCount;
        --m_blockCount;
    }
    writeFree(block, length, markNext);
    m_index->replace(replacedOffset, replacedLength, offsetOf(block), length);
}

// The size word and last word of a free block (its second word belongs to the index).
BRINDLEX_HOT void MemoryManager::writeFree(uint8_t* block, size_t length, bool markNext) {
    sizeWord(block) = length;  // the block below a free block is never free
    lastWord(block, length) = length;
    if (markNext) sizeWord(block + length) |= kPrevFree;  // the end sentinel too: nobody reads its flag
}

void MemoryManager::linkFree(uint8_t* block, size_t length, bool markNext) {
    writeFree(block, length, markNext);
    m_index->insert(offsetOf(block), length);
}

std::vector<uint8_t*> MemoryManager::freeBlocksInAddressOrder() const {
    std::vector<uint8_t*> blocks;
    for (uint8_t* block = m_arena; block < m_arena + m_size; block += lengthOf(block)) {
        if (!isUsed(block)) blocks.push_back(block);
    }
    return blocks;
}

// ---- compaction (lock held) ----

// Copies the used blocks [from, from + length) into `hole`, points every recorded owner at its
// block's new payload, and frees the old place so it merges with its free neighbours.
void MemoryManager::moveStretch(uint8_t* from, size_t length, uint8_t* hole) {
    takeBlock(hole, lengthOf(hole), length);
    const size_t taken = lengthOf(hole);
    std::memcpy(hole, from, length);
    uint8_t* last = hole;
    for (uint8_t* block = hole; block < hole + length; block += lengthOf(block)) {
        sizeWord(block) &= ~kPrevFree;  // a free block's neighbours are used, so the hole's are
        if (void** owner = ownerWord(block)) *owner = block + m_headerSize;
        last = block;
    }
    // A hole taken whole keeps its slack: the last copied block grows over it.
    sizeWord(last) += taken - length;
    // The copy adds as many blocks beyond the one taken as collapsing the old stretch removes.
    sizeWord(from) = length | kUsed | (sizeWord(from) & kPrevFree);
    releaseBlock(from);
}

uint8_t* MemoryManager::compactByGainLocked(size_t need) {
    for (int move = 0; move < kMaxCompactionMoves; ++move) {
        // Pick the pair of neighbouring free blocks whose used stretch between them is worth most
        // to move away, among those whose stretch fits somewhere else.
        const std::vector<uint8_t*> frees = freeBlocksInAddressOrder();
        uint8_t* bestFirst = nullptr;
        uint8_t* bestHole = nullptr;
        size_t bestGap = 0;
        int64_t bestGain = 0;
        for (size_t i = 0; i + 1 < frees.size(); ++i) {
            uint8_t* first = frees[i];
            uint8_t* second = frees[i + 1];
            uint8_t* gapStart = first + lengthOf(first);
            const auto gap = static_cast<size_t>(second - gapStart);
            const int64_t gain = static_cast<int64_t>(lengthOf(first) + lengthOf(second)) -
                                 static_cast<int64_t>(gap);
            if (bestFirst != nullptr && gain <= bestGain) continue;
            uint8_t* hole = bestFit(gap, first, second);
            if (hole == nullptr) continue;
            bestFirst = first;
            bestHole = hole;
            bestGap = gap;
            bestGain = gain;
        }
        if (bestFirst == nullptr) return nullptr;
        moveStretch(bestFirst + lengthOf(bestFirst), bestGap, bestHole);
        if (lengthOf(bestFirst) >= need) return bestFirst;
    }
    return nullptr;
}

uint8_t* MemoryManager::compactSlideLocked(size_t need) {
    uint8_t* const end = m_arena + m_size;
    for (int cycle = 0; cycle < kMaxSlideCycles; ++cycle) {
        // The largest free block that can still grow to `need` before the arena ends.
        uint8_t* grow = nullptr;
        for (uint8_t* block : freeBlocksInAddressOrder()) {
            if (static_cast<size_t>(end - block) < need) break;
            if (grow == nullptr || lengthOf(block) > lengthOf(grow)) grow = block;
        }
        if (grow == nullptr) return nullptr;
        bool moved = false;
        for (uint8_t* next = grow + lengthOf(grow); next < end; next = grow + lengthOf(grow)) {
            const size_t length = lengthOf(next);
            uint8_t* hole = bestFit(length, grow);
            if (hole == nullptr) break;
            moveStretch(next, length, hole);
            moved = true;
            if (lengthOf(grow) >= need) return grow;
        }
        // A cycle that moved nothing leaves the arena as it was: every later cycle would repeat it.
        if (!moved) return nullptr;
    }
    return nullptr;
}

void* MemoryManager::compactByGain(size_t need) {
    std::lock_guard guard(m_lock);
    return m_keepOwners ? compactByGainLocked(need) : nullptr;
}

void* MemoryManager::compactSlide(size_t need) {
    std::lock_guard guard(m_lock);
    return m_keepOwners ? compactSlideLocked(need) : nullptr;
}

void* MemoryManager::compact(size_t need) {
    std::lock_guard guard(m_lock);
    if (!m_keepOwners) return nullptr;
    if (uint8_t* block = compactByGainLocked(need)) return block;
    return compactSlideLocked(need);
}

void MemoryManager::compactForAllocation(size_t need) {
    std::lock_guard guard(m_lock);
    // The object heap never moves a block; and no compaction can make room that is not there.
    if (!m_keepOwners || need >= m_size - m_used) return;
    if (compactByGainLocked(need) == nullptr) compactSlideLocked(need);
}

// ---- checks ----

void MemoryManager::rebuildFreeList() {
    std::lock_guard guard(m_lock);
    m_index->reset(m_arena);
    bool belowIsFree = false;
    for (uint8_t* block = m_arena; block < m_arena + m_size; block += lengthOf(block)) {
        sizeWord(block) = (sizeWord(block) & ~kPrevFree) | (belowIsFree ? kPrevFree : 0);
        belowIsFree = !isUsed(block);
        if (belowIsFree) {
            lastWord(block, lengthOf(block)) = lengthOf(block);
            m_index->insert(offsetOf(block), lengthOf(block));
        }
    }
}

bool MemoryManager::walk(std::string* why) const {
    std::lock_guard guard(m_lock);
    auto fail = [why](std::string message) {
        if (why != nullptr) *why = std::move(message);
        return false;
    };
    size_t blocks = 0;
    size_t frees = 0;
    size_t used = 0;
    size_t freeBytes = 0;
    bool belowIsFree = false;
    const uint8_t* const end = m_arena + m_size;
    const uint8_t* block = m_arena;
    for (; block < end; block += lengthOf(block)) {
        const size_t at = offsetOf(block);
        const size_t length = lengthOf(block);
        if (length < kMinBlock || length % kGranule != 0 || length > static_cast<size_t>(end - block)) {
            return fail("block at " + std::to_string(at) + " has length " + std::to_string(length));
        }
        if (prevIsFree(block) != belowIsFree) {
            return fail("block at " + std::to_string(at) + " has a wrong free-below flag");
        }
        if (isUsed(block)) {
            used += length;
        } else {
            if (belowIsFree) return fail("free blocks touch at " + std::to_string(at));
            if (*reinterpret_cast<const uint64_t*>(block + length - kWord) != length) {
                return fail("free block at " + std::to_string(at) + " has a wrong last word");
            }
            if (!m_index->holds(at, length)) {
                return fail("free block at " + std::to_string(at) + " is missing from the index");
            }
            ++frees;
            freeBytes += length;
        }
        belowIsFree = !isUsed(block);
        ++blocks;
    }
    if (block != end) return fail("blocks overrun the arena");
    if (blocks != m_blockCount) {
        return fail(std::to_string(blocks) + " blocks, counted " + std::to_string(m_blockCount));
    }
    if (frees != m_freeCount) {
        return fail(std::to_string(frees) + " free blocks, counted " + std::to_string(m_freeCount));
    }
    if (m_index->size() != frees) {
        return fail("the index holds " + std::to_string(m_index->size()) + " blocks, not " +
                    std::to_string(frees));
    }
    if (!m_index->ordered()) return fail("the index is out of order");
    if (used != m_used) return fail(std::to_string(used) + " bytes used, counted " + std::to_string(m_used));
    if (used + freeBytes != m_size) return fail("used + free bytes do not add up to the arena size");
    return true;
}
