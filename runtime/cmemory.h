// CMemory: a simple pool allocator. Fragments carry a three-word header (previous, next, payload
// size) before their payload; the free fragments form a list in address order, and after a Free no
// two of them touch. Not thread-safe: each pool has one user.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CMemory {
public:
    static constexpr size_t kHeaderSize = 3 * sizeof(void*);
    // A leftover of fewer bytes than this stays with the fragment rather than becoming a fragment
    // of its own. It counts bytes, not words, so the 64-bit build keeps the figure unchanged.
    static constexpr size_t kSplitLimit = 257;

    struct FreeFragment {
        size_t offset;  // of the fragment's header, from the start of the pool
        size_t size;    // payload bytes
        friend bool operator==(const FreeFragment&, const FreeFragment&) = default;
    };

    CMemory() = default;
    virtual ~CMemory();
    CMemory(const CMemory&) = delete;
    CMemory& operator=(const CMemory&) = delete;

    // 1 when a pool of `size` bytes was obtained and became one free fragment, else 0.
    int Init(size_t size);
    void Release();
    // A zero-filled payload of at least `size` bytes, or null.
    [[nodiscard]] void* Malloc(size_t size);
    // 0 when the address is outside the pool; else puts the fragment back, merging, and answers 1.
    // searchForward picks the end the list is searched from for the fragment's place.
    int Free(void* payload, int searchForward);

    [[nodiscard]] const uint8_t* Pool() const { return m_pool; }
    [[nodiscard]] size_t PoolSize() const { return m_poolSize; }
    // The free list from head to tail.
    [[nodiscard]] std::vector<FreeFragment> FreeFragments() const;

private:
    struct Fragment {
        Fragment* prev;
        Fragment* next;
        size_t size;
    };

    // The free fragment after which `fragment` belongs; head < fragment < tail.
    [[nodiscard]] Fragment* GetAfterFragment(const Fragment* fragment, int searchForward) const;
    void Unlink(Fragment* fragment);

    uint8_t* m_pool = nullptr;
    size_t m_poolSize = 0;
    Fragment* m_pMemHead = nullptr;
    Fragment* m_pMemTail = nullptr;
};
