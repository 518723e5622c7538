// CMemory: best fit over the free fragments, the split limit, zero-filled payloads, and Free putting
// fragments back in address order and merging them. Offsets count from the start of the pool.
#include "runtime/cmemory.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr ptrdiff_t kNone = -1;

std::string describe(const std::vector<CMemory::FreeFragment>& list) {
    std::string text;
    for (const auto& f : list) text += "{" + std::to_string(f.offset) + "," + std::to_string(f.size) + "}";
    return text;
}

bool allZero(const void* payload, size_t size) {
    const auto* p = static_cast<const uint8_t*>(payload);
    for (size_t i = 0; i < size; ++i) {
        if (p[i] != 0) return false;
    }
    return true;
}

enum class Op { Malloc, Free };

struct Step {
    Op op;
    int id;
    size_t size;        // Malloc: request size
    int forward;        // Free: searchForward
    ptrdiff_t payload;  // Malloc: payload offset, kNone for null
    std::vector<CMemory::FreeFragment> freeList;
};

// Pool of 2048 bytes: one free fragment of 2024 payload bytes behind its 24-byte header. A request
// takes the size plus 8, rounded up to 8; a leftover of 257 bytes or more is split off.
TEST(CMemoryTest, MallocAndFreeKeepTheFreeListOrderedAndMerged) {
    const std::vector<Step> steps = {
        {Op::Malloc, 0, 100, 0, 24, {{136, 1888}}},                   // request 112
        {Op::Malloc, 1, 0, 0, 160, {{168, 1856}}},                    // request 8
        {Op::Malloc, 2, 100, 0, 192, {{304, 1720}}},
        {Op::Malloc, 3, 1, 0, 328, {{344, 1680}}},                    // request 16
        {Op::Free, 0, 0, 1, 0, {{0, 112}, {344, 1680}}},              // before the head
        {Op::Free, 2, 0, 0, 0, {{0, 112}, {168, 112}, {344, 1680}}},  // found from the tail
        {Op::Malloc, 4, 90, 0, 24, {{168, 112}, {344, 1680}}},        // request 104: of equal fits
                                                                      // the first, 8 left: whole
        {Op::Malloc, 5, 100, 0, 192, {{344, 1680}}},                  // exact fit
        {Op::Free, 1, 0, 1, 0, {{136, 8}, {344, 1680}}},
        {Op::Free, 3, 0, 1, 0, {{136, 8}, {304, 1720}}},              // merges with the next
        {Op::Free, 5, 0, 0, 0, {{136, 1888}}},                        // merges on both sides
        {Op::Free, 4, 0, 1, 0, {{0, 2024}}},
        {Op::Malloc, 6, 2017, 0, kNone, {{0, 2024}}},                 // request 2032
        {Op::Malloc, 7, 1760, 0, 24, {}},                             // request 1768: 256 left, whole
        {Op::Free, 7, 0, 1, 0, {{0, 2024}}},
        {Op::Malloc, 8, 1752, 0, 24, {{1784, 240}}},                  // request 1760: 264 left, split
    };
    CMemory pool;
    ASSERT_EQ(pool.Init(2048), 1);
    ASSERT_EQ(pool.FreeFragments(), (std::vector<CMemory::FreeFragment>{{0, 2024}}));
    std::array<void*, 9> payloads{};
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        SCOPED_TRACE("step " + std::to_string(i + 1));
        if (step.op == Op::Malloc) {
            void* payload = pool.Malloc(step.size);
            EXPECT_EQ(payload == nullptr ? kNone : static_cast<uint8_t*>(payload) - pool.Pool(), step.payload);
            if (payload != nullptr) {
                EXPECT_TRUE(allZero(payload, step.size));
                std::memset(payload, 0xAB, step.size);  // a later Malloc of these bytes must clear them
            }
            payloads[step.id] = payload;
        } else {
            EXPECT_EQ(pool.Free(payloads[step.id], step.forward), 1);
            payloads[step.id] = nullptr;
        }
        const auto list = pool.FreeFragments();
        EXPECT_EQ(list, step.freeList) << describe(list);
    }
}

TEST(CMemoryTest, FreeSearchesFromEitherEndToTheSamePlace) {
    for (int forward : {1, 0}) {
        SCOPED_TRACE(forward != 0 ? "from the head" : "from the tail");
        CMemory pool;
        ASSERT_EQ(pool.Init(2048), 1);
        std::array<void*, 5> payloads{};
        for (void*& p : payloads) p = pool.Malloc(0);  // 32-byte fragments at 0, 32, 64, 96, 128
        EXPECT_EQ(pool.Free(payloads[0], 1), 1);
        EXPECT_EQ(pool.Free(payloads[2], 1), 1);
        // 96 lies between the head (0) and the tail (160), after the free fragment at 64.
        EXPECT_EQ(pool.Free(payloads[3], forward), 1);
        const auto list = pool.FreeFragments();
        EXPECT_EQ(list, (std::vector<CMemory::FreeFragment>{{0, 8}, {64, 40}, {160, 1864}})) << describe(list);
    }
}

TEST(CMemoryTest, OutsideAddressesAndEmptyPoolsAreRefused) {
    CMemory pool;
    EXPECT_EQ(pool.Init(0), 0);
    EXPECT_EQ(pool.Init(16), 0);  // no room for a fragment header
    ASSERT_EQ(pool.Init(256), 1);
    int onStack = 0;
    std::vector<uint8_t> elsewhere(64);
    EXPECT_EQ(pool.Free(&onStack, 1), 0);
    EXPECT_EQ(pool.Free(elsewhere.data(), 0), 0);
    EXPECT_EQ(pool.FreeFragments(), (std::vector<CMemory::FreeFragment>{{0, 232}}));
    pool.Release();
    EXPECT_EQ(pool.Pool(), nullptr);
    EXPECT_EQ(pool.Malloc(8), nullptr);
}

}  // namespace
