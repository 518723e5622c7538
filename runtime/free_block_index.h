// MemoryManager's free-block index, kept apart from the allocator and compactor that use it. Only
// memory_manager.cpp includes it: its members are inline because the allocation and free paths
// call them on every block. Invariant: it holds exactly the arena's free blocks, by (length, offset).
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <vector>

#include "runtime/memory_manager.h"

// The allocation and free paths are a handful of small steps; flattening them into their two
// callers saves more than the steps themselves cost.
#define BRINDLEX_HOT [[gnu::always_inline]] inline

// The free blocks by (length, offset): the smallest qualifying length first, and among equal
// lengths the lowest address, which is the best fit the policy asks for. Lengths up to kSmallMax
// have a bin each. A bin keeps its kSlots lowest offsets sorted in a small inline array, updated
// without branches (whether a bin is empty is a coin toss for the branch predictor), and any more
// in a min-heap of offsets whose blocks keep their heap position in their second word. A bitmap
// (and a summary word over its words) finds the next non-empty bin. Longer blocks (the tail, big
// holes) are few and live in a sorted vector of (length, offset) keys.
class MemoryManager::Index {
public:
    static constexpr size_t kSmallMax = 4096;
    static constexpr size_t kNone = ~size_t{0};

    Index() { reset(nullptr); }

    void reset(uint8_t* arena) {
        m_arena = arena;
        for (Bin& bin : m_bins) std::fill(std::begin(bin.slots), std::end(bin.slots), kEmpty);
        for (auto& rest : m_rest) rest.clear();
        std::fill(std::begin(m_occupied), std::end(m_occupied), 0);
        m_occupiedWords = 0;
        m_large.clear();
    }

    // Counted, not kept: only the checks ask.
    [[nodiscard]] size_t size() const {
        size_t count = m_large.size();
        for (size_t b = 0; b < kBins; ++b) {
            count += static_cast<size_t>(std::count_if(std::begin(m_bins[b].slots), std::end(m_bins[b].slots),
                                                       [](uint32_t slot) { return slot != kEmpty; }));
            count += m_rest[b].size();
        }
        return count;
    }

    BRINDLEX_HOT void insert(size_t offset, size_t length) {
        if (length > kSmallMax) [[unlikely]] {
            insertLarge(offset, length);
            return;
        }
        const size_t b = length / kGranule;
        uint32_t* slots = m_bins[b].slots;
        const auto o = static_cast<uint32_t>(offset);
        const uint32_t spill = slots[kSlots - 1];
        if (o > spill) [[unlikely]] {
            pushRest(m_rest[b], o);  // a crowded bin (its slots are full), and o is not among its lowest
            return;
        }
        // Sorted insert: below o a slot keeps its offset, at o's place o, above it the one below.
        uint32_t below = 0;
        for (size_t i = 0; i < kSlots; ++i) {
            const uint32_t slot = slots[i];
            slots[i] = std::min(slot, std::max(o, below));
            below = slot;
        }
        if (spill != kEmpty) [[unlikely]] pushRest(m_rest[b], spill);
        m_occupied[b / 64] |= uint64_t{1} << (b % 64);
        m_occupiedWords |= uint64_t{1} << (b / 64);
    }

    BRINDLEX_HOT void erase(size_t offset, size_t length) {
        if (length > kSmallMax) [[unlikely]] {
            m_large.erase(std::lower_bound(m_large.begin(), m_large.end(), largeKey(length, offset)));
            return;
        }
        const size_t b = length / kGranule;
        const auto o = static_cast<uint32_t>(offset);
        // The slots hold the bin's lowest offsets: anything above the last slot is in the heap.
        if (o > m_bins[b].slots[kSlots - 1]) removeRest(m_rest[b], positionOf(o));
        else eraseSlot(b, o);
    }

    // One free block becomes another (a split's remainder, a merge): erase and insert in one step,
    // so a long block that stays long slides to its new place in the sorted keys.
    BRINDLEX_HOT void replace(size_t oldOffset, size_t oldLength, size_t offset, size_t length) {
        if (oldLength <= kSmallMax || length <= kSmallMax) {
            erase(oldOffset, oldLength);
            insert(offset, length);
            return;
        }
        const uint64_t key = largeKey(length, offset);
        auto at = std::lower_bound(m_large.begin(), m_large.end(), largeKey(oldLength, oldOffset));
        if (key < *at) {
            for (; at != m_large.begin() && *(at - 1) > key; --at) *at = *(at - 1);
        } else {
            for (; at + 1 != m_large.end() && *(at + 1) < key; ++at) *at = *(at + 1);
        }
        *at = key;
    }

    // Offset of the best fit for `need`, or kNone; its length in `length`.
    [[nodiscard]] BRINDLEX_HOT size_t bestFit(size_t need, size_t* length) const {
        if (need <= kSmallMax) {
            const size_t b = firstOccupied(need / kGranule);
            if (b != kNone) {
                *length = b * kGranule;
                return m_bins[b].slots[0];
            }
        }
        const auto it = std::lower_bound(m_large.begin(), m_large.end(), largeKey(need, 0));
        if (it == m_large.end()) return kNone;
        *length = static_cast<size_t>(*it >> 32);
        return static_cast<size_t>(*it & 0xFFFFFFFFu);
    }

    // The same, passing over the two skip offsets.
    [[nodiscard]] size_t bestFit(size_t need, size_t skipA, size_t skipB, size_t* length) const {
        if (need <= kSmallMax) {
            for (size_t b = firstOccupied(need / kGranule); b != kNone; b = firstOccupied(b + 1)) {
                const size_t found = lowestInBin(b, skipA, skipB);
                if (found != kNone) {
                    *length = b * kGranule;
                    return found;
                }
            }
        }
        for (auto it = std::lower_bound(m_large.begin(), m_large.end(), largeKey(need, 0)); it != m_large.end(); ++it) {
            const size_t offset = static_cast<size_t>(*it & 0xFFFFFFFFu);
            if (offset != skipA && offset != skipB) {
                *length = static_cast<size_t>(*it >> 32);
                return offset;
            }
        }
        return kNone;
    }

    [[nodiscard]] bool holds(size_t offset, size_t length) const {
        if (length > kSmallMax) return std::binary_search(m_large.begin(), m_large.end(), largeKey(length, offset));
        const size_t b = length / kGranule;
        const uint32_t* slots = m_bins[b].slots;
        if (std::find(slots, slots + kSlots, offset) != slots + kSlots) return true;
        const auto& rest = m_rest[b];
        if (rest.empty()) return false;
        const size_t at = positionOf(offset);
        return at < rest.size() && rest[at] == offset;
    }

    // Every bin's slots sorted with the empty ones last, a heap only behind full slots and above
    // them, heap order in every bin, the long keys sorted, and the bitmap marks exactly the
    // non-empty bins (its summary exactly the non-zero words).
    [[nodiscard]] bool ordered() const {
        if (!std::is_sorted(m_large.begin(), m_large.end())) return false;
        for (size_t w = 0; w < std::size(m_occupied); ++w) {
            if (((m_occupiedWords >> w) & 1) != (m_occupied[w] != 0 ? 1u : 0u)) return false;
        }
        for (size_t b = 0; b < kBins; ++b) {
            const uint32_t* slots = m_bins[b].slots;
            const auto& rest = m_rest[b];
            const bool marked = (m_occupied[b / 64] >> (b % 64)) & 1;
            if (marked != (slots[0] != kEmpty)) return false;
            for (size_t i = 1; i < kSlots; ++i) {
                if (slots[i] <= slots[i - 1] && slots[i] != kEmpty) return false;
            }
            if (!rest.empty() && (slots[kSlots - 1] == kEmpty || rest[0] <= slots[kSlots - 1])) return false;
            for (size_t i = 1; i < rest.size(); ++i) {
                if (rest[i] < rest[(i - 1) / 2]) return false;
            }
        }
        return true;
    }

private:
    static constexpr size_t kBins = kSmallMax / kGranule + 1;
    static constexpr size_t kSlots = 4;
    static constexpr uint32_t kEmpty = ~uint32_t{0};  // above every offset: arenas stay below 4 GB

    struct alignas(kSlots * sizeof(uint32_t)) Bin {
        uint32_t slots[kSlots];  // ascending, kEmpty past the last
    };

    static uint64_t largeKey(size_t length, size_t offset) {
        return (static_cast<uint64_t>(length) << 32) | static_cast<uint64_t>(offset);
    }

    size_t& positionWord(size_t offset) const { return *reinterpret_cast<size_t*>(m_arena + offset + kWord); }
    size_t positionOf(size_t offset) const { return positionWord(offset); }

    void insertLarge(size_t offset, size_t length) {
        const uint64_t key = largeKey(length, offset);
        m_large.insert(std::lower_bound(m_large.begin(), m_large.end(), key), key);
    }

    // Drops `o` from bin b's slots: the slots above it move down one, and the last takes the heap's
    // smallest, if the bin has a heap (only a bin whose slots were full can).
    BRINDLEX_HOT void eraseSlot(size_t b, uint32_t o) {
        uint32_t* slots = m_bins[b].slots;
        const uint32_t last = slots[kSlots - 1];
        for (size_t i = 0; i + 1 < kSlots; ++i) slots[i] = slots[i] < o ? slots[i] : slots[i + 1];
        slots[kSlots - 1] = kEmpty;
        if (last != kEmpty) [[unlikely]] {
            auto& rest = m_rest[b];
            if (!rest.empty()) {
                slots[kSlots - 1] = rest[0];
                removeRest(rest, 0);
            }
        }
        m_occupied[b / 64] &= ~(uint64_t{slots[0] == kEmpty} << (b % 64));
        m_occupiedWords &= ~(uint64_t{m_occupied[b / 64] == 0} << (b / 64));
    }

    void place(std::vector<uint32_t>& rest, size_t at, uint32_t offset) const {
        rest[at] = offset;
        positionWord(offset) = at;
    }

    void pushRest(std::vector<uint32_t>& rest, uint32_t offset) const {
        rest.push_back(offset);
        siftUp(rest, rest.size() - 1);
    }

    // Drops the heap entry at `at`; the last entry fills the place and sifts whichever way it must.
    void removeRest(std::vector<uint32_t>& rest, size_t at) const {
        const uint32_t last = rest.back();
        rest.pop_back();
        if (at < rest.size()) {
            rest[at] = last;
            if (at > 0 && rest[(at - 1) / 2] > last) siftUp(rest, at);
            else siftDown(rest, at);
        }
    }

    void siftUp(std::vector<uint32_t>& rest, size_t at) const {
        const uint32_t offset = rest[at];
        while (at > 0 && rest[(at - 1) / 2] > offset) {
            place(rest, at, rest[(at - 1) / 2]);
            at = (at - 1) / 2;
        }
        place(rest, at, offset);
    }

    void siftDown(std::vector<uint32_t>& rest, size_t at) const {
        const uint32_t offset = rest[at];
        for (;;) {
            size_t child = 2 * at + 1;
            if (child >= rest.size()) break;
            if (child + 1 < rest.size() && rest[child + 1] < rest[child]) ++child;
            if (rest[child] >= offset) break;
            place(rest, at, rest[child]);
            at = child;
        }
        place(rest, at, offset);
    }

    // With at most two offsets skipped, the answer is among a bin's three lowest, all in its slots.
    size_t lowestInBin(size_t b, size_t skipA, size_t skipB) const {
        static_assert(kSlots >= 3);
        for (const uint32_t slot : m_bins[b].slots) {
            if (slot == kEmpty) break;
            if (slot != skipA && slot != skipB) return slot;
        }
        return kNone;
    }

    [[nodiscard]] BRINDLEX_HOT size_t firstOccupied(size_t from) const {
        size_t word = from / 64;
        if (word >= std::size(m_occupied)) return kNone;
        const uint64_t bits = m_occupied[word] & (~uint64_t{0} << (from % 64));
        if (bits != 0) return word * 64 + static_cast<size_t>(std::countr_zero(bits));
        const uint64_t later = m_occupiedWords & (~uint64_t{1} << word);  // the words above `word`
        if (later == 0) return kNone;
        word = static_cast<size_t>(std::countr_zero(later));
        return word * 64 + static_cast<size_t>(std::countr_zero(m_occupied[word]));
    }

    uint8_t* m_arena = nullptr;
    Bin m_bins[kBins];
    std::vector<uint32_t> m_rest[kBins];
    uint64_t m_occupied[(kBins + 63) / 64] = {};
    uint64_t m_occupiedWords = 0;  // bit w: m_occupied[w] is not zero
    static_assert((kBins + 63) / 64 <= 64, "the summary word covers every bitmap word");
    std::vector<uint64_t> m_large;  // sorted
};
