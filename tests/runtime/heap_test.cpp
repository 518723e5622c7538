// MemoryManager: block sizes, the split rule, best fit, merging, compaction with owner rewriting,
// exhaustion, and a randomized run checked against a brute-force best fit. Offsets are of the block
// (its size word), counted from the start of the arena.
#include "runtime/memory_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr ptrdiff_t kNone = -1;

uint8_t patternByte(int id, size_t i) { return static_cast<uint8_t>(id * 31 + i * 7 + 1); }

void fillPattern(void* payload, size_t size, int id) {
    auto* p = static_cast<uint8_t*>(payload);
    for (size_t i = 0; i < size; ++i) p[i] = patternByte(id, i);
}

bool patternIntact(const void* payload, size_t size, int id) {
    const auto* p = static_cast<const uint8_t*>(payload);
    for (size_t i = 0; i < size; ++i) {
        if (p[i] != patternByte(id, i)) return false;
    }
    return true;
}

ptrdiff_t blockOffset(const MemoryManager& heap, const void* payload) {
    if (payload == nullptr) return kNone;
    return static_cast<const uint8_t*>(payload) - heap.arenaBegin() - static_cast<ptrdiff_t>(heap.headerSize());
}

void expectWalks(const MemoryManager& heap) {
    std::string why;
    EXPECT_TRUE(heap.walk(&why)) << why;
}

// Thresholds on 64-bit: a granule of 8 bytes, a header of 8 (object heap) or 16 (native heap, size
// word + owner word), no block under 24 bytes (three words), and a free block is taken whole when
// what would remain is at most header + 64 bytes (the phone's 32 bytes of 4-byte words, 8 words):
// 72 bytes in the object heap, 80 in the native heap.

TEST(HeapTest, RequestsRoundToGranulePlusHeaderAndMinimum) {
    struct Case {
        bool keepOwners;
        size_t size;
        size_t blockLength;
    };
    const Case cases[] = {
        {false, 0, 24}, {false, 1, 24}, {false, 8, 24}, {false, 9, 24},
        {false, 16, 24}, {false, 17, 32}, {false, 100, 112},
        {true, 0, 24}, {true, 8, 24}, {true, 9, 32}, {true, 17, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.keepOwners ? "native heap, size " : "object heap, size ") + std::to_string(c.size));
        MemoryManager heap;
        ASSERT_TRUE(heap.init(4096, c.keepOwners));
        EXPECT_EQ(heap.blockNeed(c.size), c.blockLength);
        void* payload = heap.allocate(c.size);
        ASSERT_NE(payload, nullptr);
        EXPECT_EQ(heap.blockSize(payload) + heap.headerSize(), c.blockLength);
        EXPECT_EQ(heap.freeBlocks().front().address - heap.arenaBegin(), static_cast<ptrdiff_t>(c.blockLength));
    }
}

TEST(HeapTest, SplitsOnlyAboveThreshold) {
    struct Case {
        bool keepOwners;
        size_t hole;       // length of the free block the request lands in
        size_t request;
        size_t taken;      // length of the block handed out
        size_t leftover;   // length of the free block left behind at offset `taken`, 0 for none
    };
    // Object heap: need 24, whole up to 24 + 72. Native heap: need 32, whole up to 32 + 80.
    const Case cases[] = {
        {false, 96, 16, 96, 0},
        {false, 104, 16, 24, 80},
        {true, 112, 16, 112, 0},
        {true, 120, 16, 32, 88},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.keepOwners ? "native heap, hole " : "object heap, hole ") + std::to_string(c.hole));
        MemoryManager heap;
        ASSERT_TRUE(heap.init(4096, c.keepOwners));
        void* hole = heap.allocate(c.hole - heap.headerSize());
        void* guard = heap.allocate(8);
        ASSERT_NE(guard, nullptr);
        ASSERT_EQ(heap.free(hole), 1);
        void* payload = heap.allocate(c.request);
        EXPECT_EQ(blockOffset(heap, payload), 0);
        EXPECT_EQ(heap.blockSize(payload) + heap.headerSize(), c.taken);
        const auto frees = heap.freeBlocks();
        ASSERT_FALSE(frees.empty());
        if (c.leftover != 0) {
            EXPECT_EQ(frees.front().address - heap.arenaBegin(), static_cast<ptrdiff_t>(c.taken));
            EXPECT_EQ(frees.front().length, c.leftover);
        } else {
            EXPECT_EQ(frees.size(), 1u);  // only the tail is left
        }
        expectWalks(heap);
    }
}

// ---- scripted runs ----

enum class Op { Alloc, Free, CompactByGain, CompactSlide };

struct Step {
    Op op;
    int id;          // the block a step allocates or frees
    size_t size;     // request size (Alloc) or need (compaction)
    ptrdiff_t at;    // block offset answered, kNone for null; unused by Free
    size_t blocks;
    size_t frees;
    size_t used;
};

struct Script {
    const char* name;
    bool keepOwners;
    size_t arena;
    std::vector<Step> steps;
};

// Runs a script, checking after every step the answer, the counts, every invariant, and that every
// live block still holds its bytes (and, in the native heap, that its owner field points at it).
void runScript(const Script& script) {
    SCOPED_TRACE(script.name);
    MemoryManager heap;
    ASSERT_TRUE(heap.init(script.arena, script.keepOwners));
    std::array<void*, 16> fields{};
    std::array<size_t, 16> sizes{};
    for (size_t i = 0; i < script.steps.size(); ++i) {
        const Step& step = script.steps[i];
        SCOPED_TRACE("step " + std::to_string(i + 1));
        switch (step.op) {
        case Op::Alloc: {
            void** owner = script.keepOwners ? &fields[step.id] : nullptr;
            void* payload = heap.allocate(step.size, owner);
            EXPECT_EQ(blockOffset(heap, payload), step.at);
            fields[step.id] = payload;
            sizes[step.id] = step.size;
            if (payload != nullptr) fillPattern(payload, step.size, step.id);
            break;
        }
        case Op::Free:
            EXPECT_EQ(heap.free(fields[step.id]), 1);
            fields[step.id] = nullptr;
            break;
        case Op::CompactByGain:
        case Op::CompactSlide: {
            void* block = step.op == Op::CompactByGain ? heap.compactByGain(step.size) : heap.compactSlide(step.size);
            EXPECT_EQ(block == nullptr ? kNone : static_cast<uint8_t*>(block) - heap.arenaBegin(), step.at);
            break;
        }
        }
        EXPECT_EQ(heap.blockCount(), step.blocks);
        EXPECT_EQ(heap.freeBlockCount(), step.frees);
        EXPECT_EQ(heap.usedBytes(), step.used);
        expectWalks(heap);
        for (int id = 0; id < static_cast<int>(fields.size()); ++id) {
            if (fields[id] == nullptr) continue;
            EXPECT_TRUE(patternIntact(fields[id], sizes[id], id)) << "block " << id;
            if (script.keepOwners) {
                EXPECT_EQ(heap.ownerOf(fields[id]), &fields[id]) << "block " << id;
            }
        }
    }
}

TEST(HeapTest, BestFitTakesSmallestThenLowestAndMergesOnFree) {
    const Script scripts[] = {
        {"equal sizes go to the lower address; neighbours merge", false, 4096, {
            {Op::Alloc, 0, 40, 0, 2, 1, 48},
            {Op::Alloc, 1, 8, 48, 3, 1, 72},
            {Op::Alloc, 2, 40, 72, 4, 1, 120},
            {Op::Alloc, 3, 8, 120, 5, 1, 144},
            {Op::Alloc, 4, 88, 144, 6, 1, 240},
            {Op::Alloc, 5, 8, 240, 7, 1, 264},
            {Op::Free, 0, 0, 0, 7, 2, 216},
            {Op::Free, 2, 0, 0, 7, 3, 168},
            {Op::Free, 4, 0, 0, 7, 4, 72},
            {Op::Alloc, 6, 40, 0, 7, 3, 120},     // 48 at 0 and at 72: the lower wins
            {Op::Alloc, 7, 24, 72, 7, 2, 168},    // 48 for a need of 32: taken whole
            {Op::Alloc, 8, 16, 144, 7, 1, 264},   // 96 for a need of 24: 72 left over, taken whole
            {Op::Free, 1, 0, 0, 7, 2, 240},
            {Op::Free, 6, 0, 0, 6, 2, 192},       // merges with the free block above
            {Op::Free, 7, 0, 0, 5, 2, 144},       // merges with the free block below
            {Op::Free, 5, 0, 0, 4, 2, 120},
            {Op::Free, 8, 0, 0, 3, 2, 24},
            {Op::Free, 3, 0, 0, 1, 1, 0},         // between two free blocks: one free, two blocks fewer
        }},
        {"a smaller block at a higher address beats a larger lower one", false, 4096, {
            {Op::Alloc, 0, 88, 0, 2, 1, 96},
            {Op::Alloc, 1, 8, 96, 3, 1, 120},
            {Op::Alloc, 2, 40, 120, 4, 1, 168},
            {Op::Alloc, 3, 8, 168, 5, 1, 192},
            {Op::Free, 0, 0, 0, 5, 2, 96},
            {Op::Free, 2, 0, 0, 5, 3, 48},
            {Op::Alloc, 4, 32, 120, 5, 2, 96},
            {Op::Alloc, 5, 0, 0, 5, 1, 192},
        }},
    };
    for (const Script& script : scripts) runScript(script);
}

TEST(HeapTest, NativeHeapCompactsToMakeRoomAndRewritesOwners) {
    const Script scripts[] = {
        // Free blocks 24@0, 96@48, 96@168, 40@312. The pair around the 24-byte block at 144 gains
        // most; that block moves into the exact 24-byte hole at 0.
        {"pass A moves the stretch of greatest gain", true, 512, {
            {Op::Alloc, 0, 8, 0, 2, 1, 24},
            {Op::Alloc, 1, 8, 24, 3, 1, 48},
            {Op::Alloc, 2, 80, 48, 4, 1, 144},
            {Op::Alloc, 3, 8, 144, 5, 1, 168},
            {Op::Alloc, 4, 80, 168, 6, 1, 264},
            {Op::Alloc, 5, 32, 264, 7, 1, 312},
            {Op::Alloc, 6, 24, 312, 8, 1, 352},
            {Op::Alloc, 7, 144, 352, 8, 0, 512},
            {Op::Free, 0, 0, 0, 8, 1, 488},
            {Op::Free, 2, 0, 0, 8, 2, 392},
            {Op::Free, 4, 0, 0, 8, 3, 296},
            {Op::Free, 6, 0, 0, 8, 4, 256},
            {Op::Alloc, 8, 184, 48, 6, 1, 472},
        }},
        // Pass A moves the block at 48 into the hole at 216 (free 168 at 0), then finds no hole for
        // the 120-byte stretch; pass B slides the block at 168 into the hole at 288.
        {"pass A, then pass B", true, 512, {
            {Op::Alloc, 0, 32, 0, 2, 1, 48},
            {Op::Alloc, 1, 8, 48, 3, 1, 72},
            {Op::Alloc, 2, 80, 72, 4, 1, 168},
            {Op::Alloc, 3, 32, 168, 5, 1, 216},
            {Op::Alloc, 4, 32, 216, 6, 1, 264},
            {Op::Alloc, 5, 8, 264, 7, 1, 288},
            {Op::Alloc, 6, 48, 288, 8, 1, 352},
            {Op::Alloc, 7, 144, 352, 8, 0, 512},
            {Op::Free, 0, 0, 0, 8, 1, 464},
            {Op::Free, 2, 0, 0, 8, 2, 368},
            {Op::Free, 4, 0, 0, 8, 3, 320},
            {Op::Free, 6, 0, 0, 8, 4, 256},
            {Op::Alloc, 8, 184, 0, 5, 0, 512},
        }},
        {"pass A finds no hole, pass B slides; then the heap is full", true, 512, {
            {Op::Alloc, 0, 48, 0, 2, 1, 64},
            {Op::Alloc, 1, 16, 64, 3, 1, 96},
            {Op::Alloc, 2, 32, 96, 4, 1, 144},
            {Op::Alloc, 3, 48, 144, 5, 1, 208},
            {Op::Alloc, 4, 288, 208, 5, 0, 512},
            {Op::Free, 0, 0, 0, 5, 1, 448},
            {Op::Free, 3, 0, 0, 5, 2, 384},
            {Op::CompactByGain, 0, 96, kNone, 5, 2, 384},
            {Op::Alloc, 5, 112, kNone, 5, 2, 384},   // used + need = arena: no compaction
            {Op::Alloc, 6, 80, 0, 4, 0, 512},
            {Op::Alloc, 7, 0, kNone, 4, 0, 512},
        }},
        // Free blocks 64@0, 64@88, 64@176, 24@280. The first two pairs gain alike; the first wins,
        // and its block at 64 moves into the hole at 280.
        {"pass A keeps the first of equal gains", true, 512, {
            {Op::Alloc, 0, 48, 0, 2, 1, 64},
            {Op::Alloc, 1, 8, 64, 3, 1, 88},
            {Op::Alloc, 2, 48, 88, 4, 1, 152},
            {Op::Alloc, 3, 8, 152, 5, 1, 176},
            {Op::Alloc, 4, 48, 176, 6, 1, 240},
            {Op::Alloc, 5, 24, 240, 7, 1, 280},
            {Op::Alloc, 6, 8, 280, 8, 1, 304},
            {Op::Alloc, 7, 192, 304, 8, 0, 512},
            {Op::Free, 0, 0, 0, 8, 1, 448},
            {Op::Free, 2, 0, 0, 8, 2, 384},
            {Op::Free, 4, 0, 0, 8, 3, 320},
            {Op::Free, 6, 0, 0, 8, 4, 296},
            {Op::Alloc, 8, 136, 0, 6, 1, 448},
        }},
        // Free blocks 96@0, 24@120, 48@192. The stretch at 96 fits the pair's own 24@120 exactly,
        // but the hole must be another block: 48@192.
        {"pass A never fills a hole of the pair itself", true, 512, {
            {Op::Alloc, 0, 80, 0, 2, 1, 96},
            {Op::Alloc, 1, 8, 96, 3, 1, 120},
            {Op::Alloc, 2, 8, 120, 4, 1, 144},
            {Op::Alloc, 3, 32, 144, 5, 1, 192},
            {Op::Alloc, 4, 32, 192, 6, 1, 240},
            {Op::Alloc, 5, 256, 240, 6, 0, 512},
            {Op::Free, 0, 0, 0, 6, 1, 416},
            {Op::Free, 2, 0, 0, 6, 2, 392},
            {Op::Free, 4, 0, 0, 6, 3, 344},
            {Op::CompactByGain, 0, 144, 0, 4, 1, 368},
            {Op::Alloc, 6, 128, 0, 4, 0, 512},
        }},
        // Four free blocks of 48. The pair at 0 and 72 gains most; of the other two, the lower
        // (160) takes the 24-byte block at 48.
        {"among equal holes, the lowest one outside the pair", true, 512, {
            {Op::Alloc, 0, 32, 0, 2, 1, 48},
            {Op::Alloc, 1, 8, 48, 3, 1, 72},
            {Op::Alloc, 2, 32, 72, 4, 1, 120},
            {Op::Alloc, 3, 24, 120, 5, 1, 160},
            {Op::Alloc, 4, 32, 160, 6, 1, 208},
            {Op::Alloc, 5, 24, 208, 7, 1, 248},
            {Op::Alloc, 6, 32, 248, 8, 1, 296},
            {Op::Alloc, 7, 200, 296, 8, 0, 512},
            {Op::Free, 0, 0, 0, 8, 1, 464},
            {Op::Free, 2, 0, 0, 8, 2, 416},
            {Op::Free, 4, 0, 0, 8, 3, 368},
            {Op::Free, 6, 0, 0, 8, 4, 320},
            {Op::CompactByGain, 0, 120, 0, 6, 2, 344},
            {Op::Alloc, 8, 104, 0, 6, 1, 464},
        }},
        // Free blocks 104@0 and 112@312. The larger one starts 200 bytes before the end, too close
        // to grow to 208, so pass B grows the one at 0 by sliding the block at 104 into the other.
        {"pass B grows only a block that can reach the need", true, 512, {
            {Op::Alloc, 0, 88, 0, 2, 1, 104},
            {Op::Alloc, 1, 88, 104, 3, 1, 208},
            {Op::Alloc, 2, 88, 208, 4, 1, 312},
            {Op::Alloc, 3, 96, 312, 5, 1, 424},
            {Op::Alloc, 4, 72, 424, 5, 0, 512},
            {Op::Free, 0, 0, 0, 5, 1, 408},
            {Op::Free, 3, 0, 0, 5, 2, 296},
            {Op::CompactSlide, 0, 208, 0, 4, 1, 304},
            {Op::Alloc, 5, 192, 0, 4, 0, 512},
        }},
        {"the object heap never compacts", false, 512, {
            {Op::Alloc, 0, 56, 0, 2, 1, 64},
            {Op::Alloc, 1, 24, 64, 3, 1, 96},
            {Op::Alloc, 2, 40, 96, 4, 1, 144},
            {Op::Alloc, 3, 56, 144, 5, 1, 208},
            {Op::Alloc, 4, 296, 208, 5, 0, 512},
            {Op::Free, 0, 0, 0, 5, 1, 448},
            {Op::Free, 3, 0, 0, 5, 2, 384},
            {Op::CompactByGain, 0, 96, kNone, 5, 2, 384},
            {Op::Alloc, 5, 88, kNone, 5, 2, 384},
        }},
    };
    for (const Script& script : scripts) runScript(script);
}

TEST(HeapTest, PeakKeepsTheHighestUse) {
    MemoryManager heap;
    ASSERT_TRUE(heap.init(4096, false));
    void* a = heap.allocate(40);   // 48
    void* b = heap.allocate(88);   // 96
    ASSERT_EQ(heap.free(b), 1);
    void* c = heap.allocate(8);    // 24
    EXPECT_EQ(heap.usedBytes(), 72u);
    ASSERT_EQ(heap.free(a), 1);
    ASSERT_EQ(heap.free(c), 1);
    EXPECT_EQ(heap.usedBytes(), 0u);
    EXPECT_EQ(heap.peakUsedBytes(), 144u);
}

TEST(HeapTest, FreeOfAnOutsideAddressAnswersZeroAndChangesNothing) {
    MemoryManager heap;
    ASSERT_TRUE(heap.init(4096, true));
    void* owned = nullptr;
    owned = heap.allocate(40, &owned);
    ASSERT_NE(owned, nullptr);
    int onStack = 0;
    std::vector<uint8_t> elsewhere(64);
    struct Case {
        const char* name;
        void* address;
    };
    const Case cases[] = {
        {"a stack variable", &onStack},
        {"a general-allocator block", elsewhere.data()},
        {"one past the arena", const_cast<uint8_t*>(heap.arenaEnd())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(heap.free(c.address), 0);
        heap.setOwner(c.address, &owned);
        EXPECT_EQ(heap.blockSize(c.address), 0u);
        EXPECT_EQ(heap.blockCount(), 2u);
        EXPECT_EQ(heap.freeBlockCount(), 1u);
        EXPECT_EQ(heap.usedBytes(), 56u);
        EXPECT_EQ(heap.ownerOf(owned), &owned);
        expectWalks(heap);
    }
}

// ---- exhaustion ----

// 512-byte arena: free 64 at 0, used 32 at 64 and 48 at 96, free 64 at 144, used 304 at 208.
// A need of 96 fits nowhere, though 128 bytes are free.
struct Fragmented {
    MemoryManager heap;
    std::array<void*, 5> fields{};

    explicit Fragmented(bool keepOwners) {
        EXPECT_TRUE(heap.init(512, keepOwners));
        const size_t lengths[] = {64, 32, 48, 64, 304};
        for (size_t i = 0; i < fields.size(); ++i) {
            fields[i] = heap.allocate(lengths[i] - heap.headerSize(), &fields[i]);
        }
        heap.free(fields[0]);
        heap.free(fields[3]);
        fields[0] = fields[3] = nullptr;
    }
};

enum class HookAction { Nothing, FreeBlockAt96, Compact };

struct HookRecord {
    Fragmented* fragmented = nullptr;
    HookAction action = HookAction::Nothing;
    int calls = 0;
    size_t need = 0;
    bool walked = false;
};

// Touches the heap the way a collection would: if allocate still held the lock, this would block.
void exhaustedHook(MemoryManager& heap, size_t need, void* context) {
    auto* record = static_cast<HookRecord*>(context);
    ++record->calls;
    record->need = need;
    record->walked = heap.walk();
    void* scratch = heap.allocate(8);
    EXPECT_NE(scratch, nullptr);
    EXPECT_EQ(heap.free(scratch), 1);
    switch (record->action) {
    case HookAction::Nothing:
        break;
    case HookAction::FreeBlockAt96:
        heap.free(record->fragmented->fields[2]);
        record->fragmented->fields[2] = nullptr;
        break;
    case HookAction::Compact:
        heap.compactForAllocation(need);
        break;
    }
}

TEST(HeapTest, ExhaustedHookRunsUnlockedAndTheAllocationRetries) {
    struct Case {
        const char* name;
        bool keepOwners;
        HookAction action;
        ptrdiff_t at;
    };
    const Case cases[] = {
        {"object heap, the hook frees a neighbour", false, HookAction::FreeBlockAt96, 96},
        {"object heap, the hook finds nothing", false, HookAction::Nothing, kNone},
        {"native heap, the hook does not compact", true, HookAction::Nothing, kNone},
        {"native heap, the hook compacts", true, HookAction::Compact, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fragmented fragmented(c.keepOwners);
        MemoryManager& heap = fragmented.heap;
        HookRecord record{&fragmented, c.action};
        heap.setExhaustedHook(exhaustedHook, &record);
        void* owner = nullptr;
        owner = heap.allocate(96 - heap.headerSize(), &owner);
        EXPECT_EQ(blockOffset(heap, owner), c.at);
        EXPECT_EQ(record.calls, 1);
        EXPECT_EQ(record.need, 96u);
        EXPECT_TRUE(record.walked);
        expectWalks(heap);
        if (c.at == kNone) {
            // Nothing moved behind the hook's back.
            EXPECT_EQ(blockOffset(heap, fragmented.fields[1]), 64);
            EXPECT_EQ(heap.freeBlockCount(), 2u);
        }
    }
}

TEST(HeapTest, CompactionLeavesEveryOwnerPointingAtItsIntactBytes) {
    MemoryManager heap;
    ASSERT_TRUE(heap.init(64 * 1024, true));
    // Fill the arena with blocks of mixed sizes, then free every other one: many small holes.
    std::vector<void*> fields(1000, nullptr);
    std::vector<size_t> sizes(fields.size(), 0);
    std::mt19937 random(7);
    size_t count = 0;
    for (; count < fields.size(); ++count) {
        const size_t rest = heap.freeBlocks().back().length;
        const size_t size = rest < 300 ? rest - heap.headerSize() : 8 + random() % 200;
        fields[count] = heap.allocate(size, &fields[count]);
        ASSERT_NE(fields[count], nullptr);
        sizes[count] = size;
        fillPattern(fields[count], size, static_cast<int>(count));
        if (rest < 300) break;
    }
    ASSERT_EQ(heap.freeBlockCount(), 0u);
    for (size_t i = 0; i <= count; i += 2) {
        heap.free(fields[i]);
        fields[i] = nullptr;
    }
    const std::vector<void*> before = fields;
    size_t largest = 0;
    for (const auto& f : heap.freeBlocks()) largest = std::max(largest, f.length);
    const size_t need = 3 * largest;

    auto* block = static_cast<const uint8_t*>(heap.compact(need));

    ASSERT_NE(block, nullptr);
    bool found = false;
    for (const auto& f : heap.freeBlocks()) found = found || (f.address == block && f.length >= need);
    EXPECT_TRUE(found);
    expectWalks(heap);
    size_t moved = 0;
    for (size_t i = 1; i <= count; i += 2) {
        SCOPED_TRACE("block " + std::to_string(i));
        moved += fields[i] != before[i];
        EXPECT_TRUE(patternIntact(fields[i], sizes[i], static_cast<int>(i)));
        EXPECT_EQ(heap.ownerOf(fields[i]), &fields[i]);
    }
    EXPECT_GE(moved, 3u);
}

// ---- randomized runs ----

struct Reference {
    const uint8_t* address = nullptr;
    size_t length = 0;
};

// The policy, spelled out: the first block of the smallest qualifying length, an exact length
// ending the search.
Reference bruteForceBestFit(const std::vector<MemoryManager::FreeBlock>& frees, size_t need) {
    Reference best;
    for (const auto& f : frees) {
        if (f.length < need) continue;
        if (best.address == nullptr || f.length < best.length) best = {f.address, f.length};
        if (f.length == need) break;
    }
    return best;
}

void ignoreExhaustion(MemoryManager&, size_t, void*) {}

TEST(HeapTest, RandomTrafficChoosesTheBruteForceBestFit) {
    struct Case {
        bool keepOwners;
        unsigned seed;
    };
    const Case cases[] = {{false, 1}, {false, 2}, {true, 3}, {true, 4}};
    constexpr size_t kSlots = 350;
    constexpr int kSteps = 6000;
    for (const Case& c : cases) {
        SCOPED_TRACE((c.keepOwners ? "native heap, seed " : "object heap, seed ") + std::to_string(c.seed));
        MemoryManager heap;
        ASSERT_TRUE(heap.init(64 * 1024, c.keepOwners));
        heap.setExhaustedHook(ignoreExhaustion, nullptr);  // no compaction behind the reference's back
        std::vector<void*> fields(kSlots, nullptr);
        std::vector<size_t> sizes(kSlots, 0);
        std::vector<size_t> live;
        std::vector<size_t> spare;
        for (size_t i = kSlots; i-- > 0;) spare.push_back(i);
        std::mt19937 random(c.seed);
        auto checkLive = [&] {
            for (size_t slot : live) {
                ASSERT_TRUE(patternIntact(fields[slot], sizes[slot], static_cast<int>(slot))) << "slot " << slot;
                if (c.keepOwners) {
                    ASSERT_EQ(heap.ownerOf(fields[slot]), &fields[slot]) << "slot " << slot;
                }
            }
        };
        for (int step = 0; step < kSteps; ++step) {
            SCOPED_TRACE("step " + std::to_string(step));
            const bool allocate = !spare.empty() && (live.empty() || random() % 100 < 55);
            if (allocate) {
                const size_t size = random() % 25 == 0 ? random() % 2500 : random() % 160;
                const size_t need = heap.blockNeed(size);
                const Reference expected = bruteForceBestFit(heap.freeBlocks(), need);
                const size_t slot = spare.back();
                void* payload = heap.allocate(size, &fields[slot]);
                if (expected.address == nullptr) {
                    ASSERT_EQ(payload, nullptr);
                    continue;
                }
                ASSERT_NE(payload, nullptr);
                ASSERT_EQ(static_cast<uint8_t*>(payload) - heap.headerSize(), expected.address);
                const bool whole = expected.length - need <= heap.headerSize() + MemoryManager::kSplitSlack;
                ASSERT_EQ(heap.blockSize(payload) + heap.headerSize(), whole ? expected.length : need);
                spare.pop_back();
                live.push_back(slot);
                fields[slot] = payload;
                sizes[slot] = size;
                fillPattern(payload, size, static_cast<int>(slot));
            } else {
                const size_t pick = random() % live.size();
                const size_t slot = live[pick];
                live[pick] = live.back();
                live.pop_back();
                ASSERT_EQ(heap.free(fields[slot]), 1);
                fields[slot] = nullptr;
                spare.push_back(slot);
            }
            if (step % 50 == 0) {
                std::string why;
                ASSERT_TRUE(heap.walk(&why)) << why;
                checkLive();
            }
            if (step % 1000 == 999) {
                heap.rebuildFreeList();
                if (c.keepOwners) {
                    size_t largest = 0;
                    for (const auto& f : heap.freeBlocks()) largest = std::max(largest, f.length);
                    const size_t need = largest + 256;
                    if (heap.usedBytes() + need < heap.arenaSize()) {
                        auto* block = static_cast<const uint8_t*>(heap.compact(need));
                        if (block != nullptr) {
                            bool found = false;
                            for (const auto& f : heap.freeBlocks()) found = found || (f.address == block && f.length >= need);
                            ASSERT_TRUE(found);
                        }
                    }
                }
                std::string why;
                ASSERT_TRUE(heap.walk(&why)) << why;
                checkLive();
            }
        }
    }
}

// Hundreds of free blocks of three lengths: each length's blocks far outnumber what the index
// keeps at hand, and frees that merge take blocks out of the middle of a length's crowd.
TEST(HeapTest, CrowdedLengthsStillGiveTheLowestAddress) {
    MemoryManager heap;
    ASSERT_TRUE(heap.init(64 * 1024, false));
    heap.setExhaustedHook(ignoreExhaustion, nullptr);
    constexpr size_t kBlocks = 600;
    const size_t sizes[] = {32, 48, 64};  // blocks of 40, 56 and 72 bytes
    std::vector<void*> blocks(kBlocks);
    for (size_t i = 0; i < kBlocks; ++i) {
        blocks[i] = heap.allocate(sizes[i % 3]);
        ASSERT_NE(blocks[i], nullptr);
    }
    // Every other block freed in random order: 100 free blocks of each length, none touching.
    std::mt19937 random(7);
    std::vector<size_t> order;
    for (size_t i = 0; i < kBlocks; i += 2) order.push_back(i);
    std::shuffle(order.begin(), order.end(), random);
    for (size_t i : order) {
        ASSERT_EQ(heap.free(blocks[i]), 1);
        blocks[i] = nullptr;
    }
    expectWalks(heap);
    for (int step = 0; step < 4000; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        void*& block = blocks[random() % kBlocks];
        if (block != nullptr) {
            ASSERT_EQ(heap.free(block), 1);
            block = nullptr;
        } else {
            const size_t size = sizes[random() % 3];
            const Reference expected = bruteForceBestFit(heap.freeBlocks(), heap.blockNeed(size));
            block = heap.allocate(size);
            ASSERT_EQ(block == nullptr ? nullptr : static_cast<uint8_t*>(block) - heap.headerSize(), expected.address);
        }
        if (step % 100 == 0) {
            std::string why;
            ASSERT_TRUE(heap.walk(&why)) << why;
        }
    }
    expectWalks(heap);
}

TEST(HeapTest, ConcurrentTrafficKeepsTheHeapConsistent) {
    struct Case {
        bool keepOwners;
    };
    const Case cases[] = {{false}, {true}};
    constexpr int kThreads = 4;
    constexpr int kSteps = 4000;
    constexpr size_t kSlots = 64;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keepOwners ? "native heap" : "object heap");
        MemoryManager heap;
        ASSERT_TRUE(heap.init(1024 * 1024, c.keepOwners));
        std::vector<std::array<void*, kSlots>> fields(kThreads);
        std::vector<std::array<size_t, kSlots>> sizes(kThreads);
        std::vector<int> damaged(kThreads, 0);
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&, t] {
                std::mt19937 random(100 + t);
                auto& mine = fields[t];
                mine.fill(nullptr);
                for (int step = 0; step < kSteps; ++step) {
                    const size_t slot = random() % kSlots;
                    const int id = t * static_cast<int>(kSlots) + static_cast<int>(slot);
                    if (mine[slot] != nullptr) {
                        damaged[t] += !patternIntact(mine[slot], sizes[t][slot], id);
                        heap.free(mine[slot]);
                        mine[slot] = nullptr;
                    } else {
                        sizes[t][slot] = random() % 256;
                        mine[slot] = heap.allocate(sizes[t][slot], &mine[slot]);
                        if (mine[slot] != nullptr) fillPattern(mine[slot], sizes[t][slot], id);
                    }
                }
            });
        }
        for (auto& thread : threads) thread.join();
        size_t used = 0;
        for (int t = 0; t < kThreads; ++t) {
            EXPECT_EQ(damaged[t], 0) << "thread " << t;
            for (void* payload : fields[t]) {
                if (payload != nullptr) used += heap.blockSize(payload) + heap.headerSize();
            }
        }
        EXPECT_EQ(heap.usedBytes(), used);
        expectWalks(heap);
    }
}

}  // namespace

// The sweep's batch free: every run of adjacent blocks merged first, then with its neighbours. It
// must leave exactly the heap that freeing the same blocks one at a time leaves.
TEST(HeapTest, BatchFreeInAddressOrderEqualsFreeingOneAtATime) {
    for (const unsigned seed : {7u, 8u, 9u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        MemoryManager batch;
        MemoryManager single;
        ASSERT_TRUE(batch.init(64 * 1024, false));
        ASSERT_TRUE(single.init(64 * 1024, false));
        std::mt19937 random(seed);
        std::vector<void*> inBatch;
        std::vector<void*> inSingle;
        // Fill most of the arena, leaving a few holes, so dead runs meet free and used neighbours.
        for (;;) {
            const size_t size = random() % 120;
            void* a = batch.allocate(size);
            void* b = single.allocate(size);
            ASSERT_EQ(a == nullptr, b == nullptr);
            if (a == nullptr || batch.usedBytes() > batch.arenaSize() * 7 / 8) break;
            ASSERT_EQ(blockOffset(batch, a), blockOffset(single, b));
            inBatch.push_back(a);
            inSingle.push_back(b);
        }
        for (size_t i = 0; i < inBatch.size(); i += 9) {
            batch.free(inBatch[i]);
            single.free(inSingle[i]);
            inBatch[i] = inSingle[i] = nullptr;
        }
        // Runs of dead blocks of random lengths, in address order (allocation order here).
        std::vector<void*> dead;
        for (size_t i = 0; i < inBatch.size(); ++i) {
            if (inBatch[i] == nullptr || random() % 3 != 0) continue;
            dead.push_back(inBatch[i]);
            ASSERT_EQ(single.free(inSingle[i]), 1);
        }
        std::sort(dead.begin(), dead.end());
        batch.freeAscending(dead.data(), dead.size());
        expectWalks(batch);
        EXPECT_EQ(batch.usedBytes(), single.usedBytes());
        EXPECT_EQ(batch.blockCount(), single.blockCount());
        const auto a = batch.freeBlocks();
        const auto b = single.freeBlocks();
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i].address - batch.arenaBegin(), b[i].address - single.arenaBegin()) << i;
            EXPECT_EQ(a[i].length, b[i].length) << i;
        }
        for (int i = 0; i < 200; ++i) {
            const size_t size = random() % 300;
            EXPECT_EQ(blockOffset(batch, batch.allocate(size)), blockOffset(single, single.allocate(size))) << size;
        }
        expectWalks(batch);
    }
}

struct Registration {
    void* payload = nullptr;
    size_t size = 0;
    bool zeroed = false;
    size_t capacity = 0;
};

void recordRegistration(void* payload, size_t size, void* context) {
    auto* seen = static_cast<Registration*>(context);
    seen->payload = payload;
    seen->size = size;
    const auto* bytes = static_cast<const uint8_t*>(payload);
    seen->zeroed = std::all_of(bytes, bytes + seen->capacity, [](uint8_t b) { return b == 0; });
}

TEST(HeapTest, RegisteredAllocationIsZeroedWholeBeforeItsRegistration) {
    MemoryManager heap;
    ASSERT_TRUE(heap.init(4096, false));
    // A block with slack (taken whole), dirtied and freed, comes back for a smaller request.
    void* dirty = heap.allocate(100);
    void* guard = heap.allocate(8);
    ASSERT_NE(guard, nullptr);
    const size_t capacity = heap.blockSize(dirty);
    std::memset(dirty, 0xAB, capacity);
    ASSERT_EQ(heap.free(dirty), 1);
    Registration seen;
    seen.capacity = capacity;
    void* again = heap.allocateRegistered(60, recordRegistration, &seen);
    ASSERT_EQ(again, dirty);
    EXPECT_EQ(heap.blockSize(again), capacity);
    EXPECT_EQ(seen.payload, again);
    EXPECT_EQ(seen.size, 60u);
    EXPECT_TRUE(seen.zeroed);
    // No block: null, and no registration.
    Registration none;
    EXPECT_EQ(heap.allocateRegistered(8192, recordRegistration, &none), nullptr);
    EXPECT_EQ(none.payload, nullptr);
    expectWalks(heap);
}
