// Many strings and buffers built and edited on a small, fragmented native heap, with compaction
// both between operations and inside allocations: every text must survive every move.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "runtime/heaps.h"
#include "runtime/memory_manager.h"
#include "runtime/string.h"
#include "runtime/string_buffer.h"
#include "runtime_fixture.h"
#include "text_helpers.h"

namespace {

class StringStressTest : public ::testing::Test {
protected:
    // A native heap small enough that allocations keep failing best fit and compact on their own.
    void SetUp() override { ASSERT_TRUE(Runtime::initHeaps(4 << 20, 20 << 10)); }
    void TearDown() override { Runtime::destroyHeaps(); }
};

struct Live {
    Object* object;
    std::u16string expected;
    [[nodiscard]] bool isBuffer() const { return object->classId() == CID_StringBuffer; }
    [[nodiscard]] const jchar* data() const {
        return isBuffer() ? static_cast<StringBuffer*>(object)->chars : static_cast<String*>(object)->chars;
    }
    [[nodiscard]] std::u16string actual() const {
        return isBuffer() ? unitsOf(static_cast<StringBuffer*>(object)) : unitsOf(static_cast<String*>(object));
    }
};

std::u16string asciiOf(const char* text) {
    std::u16string out;
    for (const char* p = text; *p; ++p) out += static_cast<char16_t>(static_cast<uint8_t>(*p));
    return out;
}

TEST_F(StringStressTest, EveryTextSurvivesCompactionBetweenAndDuringOperations) {
    LogCapture log;  // a full heap reports each fallback to malloc; expected here
    std::mt19937 rng(20240611);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    std::vector<Live> live;
    MemoryManager& heap = Runtime::nativeHeap();
    int moves = 0;
    // Count the compactions that run inside an allocation, in the middle of an operation.
    int compactionsInside = 0;
    heap.setExhaustedHook(
        [](MemoryManager& h, size_t need, void* counter) {
            ++*static_cast<int*>(counter);
            h.compactForAllocation(need);
        },
        &compactionsInside);

    auto randomText = [&] {
        std::u16string t;
        const int n = pick(60);
        for (int i = 0; i < n; ++i) t += pick(8) == 0 ? static_cast<char16_t>(0x20AC + pick(50)) : static_cast<char16_t>('a' + pick(26));
        return t;
    };
    auto anyString = [&]() -> Live* {
        for (int tries = 0; tries < 8 && !live.empty(); ++tries) {
            Live& l = live[static_cast<size_t>(pick(static_cast<int>(live.size())))];
            if (!l.isBuffer()) return &l;
        }
        return nullptr;
    };
    auto anyBuffer = [&]() -> Live* {
        for (int tries = 0; tries < 8 && !live.empty(); ++tries) {
            Live& l = live[static_cast<size_t>(pick(static_cast<int>(live.size())))];
            if (l.isBuffer()) return &l;
        }
        return nullptr;
    };
    auto drop = [&](size_t i) {
        // concat with an empty text answers the String itself: free an object only once.
        int holders = 0;
        for (const auto& l : live) holders += l.object == live[i].object ? 1 : 0;
        if (holders == 1) {
            live[i].object->destroy();
            Runtime::freeBlock(live[i].object);
        }
        live.erase(live.begin() + static_cast<long>(i));
    };

    for (int step = 0; step < 3000; ++step) {
        SCOPED_TRACE(step);
        Live* s = anyString();
        Live* b = anyBuffer();
        switch (pick(11)) {
            case 0: {
                const std::u16string t = randomText();
                live.push_back({wide(t), t});
                break;
            }
            case 1:
                if (s) {
                    Live* other = anyString();
                    if (!other) break;
                    const std::u16string expected = s->expected + other->expected;
                    live.push_back({static_cast<String*>(s->object)->concat(static_cast<String*>(other->object)), expected});
                }
                break;
            case 2:
                if (s) {
                    const jint n = static_cast<jint>(s->expected.size());
                    const jint begin = pick(n + 1);
                    const jint end = begin + pick(n - begin + 1);
                    live.push_back({static_cast<String*>(s->object)->substring(begin, end),
                                    s->expected.substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin))});
                }
                break;
            case 3:
                if (s) {
                    auto* nb = new StringBuffer();
                    nb->initFromString(static_cast<String*>(s->object));
                    live.push_back({nb, s->expected});
                }
                break;
            case 4:
                if (b && s) {
                    static_cast<StringBuffer*>(b->object)->appendString(static_cast<String*>(s->object));
                    b->expected += s->expected;
                }
                break;
            case 5:
                if (b) {
                    auto* sb = static_cast<StringBuffer*>(b->object);
                    const jint i = static_cast<jint>(rng());
                    const double d = static_cast<double>(static_cast<jint>(rng())) / 64.0;
                    const jint flag = pick(2);
                    sb->appendInt(i)->appendDouble(d)->appendBoolean(flag);
                    char text[400];
                    std::snprintf(text, sizeof text, "%d%f%s", i, d, flag ? "true" : "false");
                    b->expected += asciiOf(text);
                }
                break;
            case 6:
                if (b && s) {
                    const jint at = pick(static_cast<int>(b->expected.size()) + 1);
                    static_cast<StringBuffer*>(b->object)->insertString(at, static_cast<String*>(s->object));
                    b->expected.insert(static_cast<size_t>(at), s->expected);
                }
                break;
            case 7:
                if (b) {
                    const jint n = static_cast<jint>(b->expected.size());
                    const jint start = pick(n + 1);
                    const jint end = start + pick(n - start + 1);
                    static_cast<StringBuffer*>(b->object)->delete_(start, end);
                    b->expected.erase(static_cast<size_t>(start), static_cast<size_t>(end - start));
                }
                break;
            case 8:
                if (b) {
                    static_cast<StringBuffer*>(b->object)->reverse();
                    b->expected.assign(b->expected.rbegin(), b->expected.rend());
                }
                break;
            case 9:
                if (b) live.push_back({static_cast<StringBuffer*>(b->object)->toString(), b->expected});
                break;
            case 10:
                if (!live.empty()) drop(static_cast<size_t>(pick(static_cast<int>(live.size()))));
                break;
        }
        while (live.size() > 60) drop(static_cast<size_t>(pick(static_cast<int>(live.size()))));
        // Buffers that grew too long would fill the small heap: restart them.
        for (auto& l : live) {
            if (l.isBuffer() && l.expected.size() > 400) {
                static_cast<StringBuffer*>(l.object)->setLength(0);
                l.expected.clear();
            }
        }
        ASSERT_TRUE(live.empty() || live.back().object != nullptr);

        // Every few steps slide everything that can move; in between, let holes build up so that
        // allocations compact by themselves. Then check every text.
        std::vector<const jchar*> before;
        for (const auto& l : live) before.push_back(l.data());
        const size_t freeBytes = heap.arenaSize() - heap.usedBytes();
        if (step % 8 == 0 && freeBytes > 64) (void)heap.compact(freeBytes - 64);
        for (size_t i = 0; i < live.size(); ++i) {
            if (live[i].data() != before[i]) ++moves;
            ASSERT_EQ(live[i].actual(), live[i].expected) << "entry " << i;
        }
    }
    std::string why;
    EXPECT_TRUE(heap.walk(&why)) << why;
    EXPECT_GT(moves, 100);
    EXPECT_GT(compactionsInside, 10);
    while (!live.empty()) drop(live.size() - 1);
}

}  // namespace
