// Four registered threads build and verify checksummed linked structures (payloads in the movable
// native heap) while they block in wait, on a contended monitor and in sleep, and a fifth thread
// collects and forces native-heap compaction in a loop. A broken checksum or a hang fails the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>

#include "../runtime/runtime_fixture.h"
#include "classlib/java_lang/java_lang_thread.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/memory_manager.h"
#include "runtime/monitor.h"
#include "thread_helpers.h"

namespace {

// A list node under an id no other test class uses.
class Node : public Object {
public:
    Node() { setClassId(CID_DBG); }
    Node* m_next;
    IntArray* m_payload;
    jint m_value;
};
const uint32_t kNodeRefs[] = {BX_REF_FIELD(Node, m_next), BX_REF_FIELD(Node, m_payload)};
const RefFieldRegistration kNodeRefsReg(CID_DBG, kNodeRefs);

constexpr auto kRunFor = std::chrono::milliseconds(3000);

struct Shared {
    Object* waitLock = nullptr;
    Object* contended = nullptr;
    std::chrono::steady_clock::time_point end;
    std::atomic<int> broken{0};
    std::atomic<int> rounds{0};
    std::atomic<int> moved{0};
    std::atomic<int> collections{0};
    std::atomic<int> working{0};
};

struct Worker {
    Shared* shared;
    int index;
};

uint32_t mix(uint32_t sum, jint value) { return sum * 31u + static_cast<uint32_t>(value); }

// Builds a list of n nodes, each with a payload of pseudo-random length; answers the head.
Node* build(int n, uint32_t seed, uint32_t& sum) {
    Node* head = nullptr;
    for (int i = 0; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        auto* node = new Node();
        if (!node) return head;
        node->m_value = static_cast<jint>(seed >> 8);
        node->m_next = head;
        head = node;
        IntArray* payload = Runtime::newIntArray(static_cast<jint>(1 + (seed >> 20) % 48));
        head->m_payload = payload;
        for (jint k = 0; payload && k < payload->length; ++k) payload->set(k, node->m_value ^ k);
        sum = mix(sum, node->m_value);
        for (jint k = 0; payload && k < payload->length; ++k) sum = mix(sum, payload->get(k));
    }
    return head;
}

// The checksum of a list, the same walk as build's in reverse: nodes are summed head last.
uint32_t checksum(Node* head) {
    Node* order[64];
    int n = 0;
    for (Node* node = head; node && n < 64; node = node->m_next) order[n++] = node;
    uint32_t sum = 0;
    for (int i = n - 1; i >= 0; --i) {
        sum = mix(sum, order[i]->m_value);
        IntArray* payload = order[i]->m_payload;
        for (jint k = 0; payload && k < payload->length; ++k) sum = mix(sum, payload->get(k));
    }
    return sum;
}

// Each worker blocks its own way between building and verifying.
void block(Shared& shared, int index) {
    switch (index) {
        case 0:
        case 1: {
            MonitorLock hold(shared.waitLock);
            shared.waitLock->notifyAll();
            shared.waitLock->wait(2);
            break;
        }
        case 2: java_lang_Thread::sleep(1); break;
        default: break;  // 3 builds inside the contended monitor instead
    }
}

void work(void* context) {
    auto& w = *static_cast<Worker*>(context);
    Shared& shared = *w.shared;
    uint32_t seed = 7u + static_cast<uint32_t>(w.index);
    while (std::chrono::steady_clock::now() < shared.end) {
        uint32_t sum = 0;
        Node* head = nullptr;
        if (w.index >= 2) {
            MonitorLock hold(shared.contended);  // 2 and 3 contend; 3 also collects in it
            head = build(24, seed, sum);
        } else {
            head = build(24, seed, sum);
        }
        const uintptr_t firstData = head && head->m_payload ? reinterpret_cast<uintptr_t>(head->m_payload->data) : 0;
        block(shared, w.index);
        if (checksum(head) != sum) shared.broken.fetch_add(1);
        if (head && head->m_payload && reinterpret_cast<uintptr_t>(head->m_payload->data) != firstData)
            shared.moved.fetch_add(1);
        seed = seed * 69069u + 1u;
        shared.rounds.fetch_add(1);
    }
    shared.working.fetch_sub(1);
    MonitorLock hold(shared.waitLock);
    shared.waitLock->notifyAll();
}

// Collects, then asks the native heap for more than its largest free block: the allocator's
// collection compacts the heap inside the stopped world.
void collect(void* context) {
    auto& shared = *static_cast<Shared*>(context);
    while (shared.working.load() > 0) {
        Runtime::getObjectManager()->gc(ObjectManager::kKeepLast | 1);
        size_t largest = 0;
        for (const auto& block : Runtime::nativeHeap().freeBlocks()) largest = std::max(largest, block.length);
        ByteArray* big = Runtime::newByteArray(static_cast<jint>(largest + 64));
        (void)big;
        shared.collections.fetch_add(1);
        java_lang_Thread::yield();
    }
}

class ThreadStressTest : public RuntimeTest {
protected:
    Watchdog m_watchdog{std::chrono::seconds(120)};
};

TEST_F(ThreadStressTest, ListsSurviveCollectionsAndCompactionWhileThreadsBlockEveryWay) {
    Shared shared;
    shared.waitLock = new Object();
    shared.contended = new Object();
    shared.end = std::chrono::steady_clock::now() + kRunFor;
    shared.working = 4;
    Worker workers[4];
    ObjectArray* threads = Runtime::newObjectArray(CID_java_lang_Thread, 5);
    for (int i = 0; i < 4; ++i) {
        workers[i] = {&shared, i};
        threads->set(i, newThread(&work, &workers[i]));
    }
    threads->set(4, newThread(&collect, &shared));
    for (jint i = 0; i < 5; ++i) static_cast<java_lang_Thread*>(threads->get(i))->start();
    for (jint i = 0; i < 5; ++i) static_cast<java_lang_Thread*>(threads->get(i))->join();
    RecordProperty("rounds", shared.rounds.load());
    RecordProperty("moved", shared.moved.load());
    RecordProperty("collections", shared.collections.load());
    EXPECT_EQ(shared.broken.load(), 0);
    EXPECT_GT(shared.rounds.load(), 4);
    EXPECT_GT(shared.collections.load(), 0);
    EXPECT_GT(shared.moved.load(), 0);  // compaction did move live payloads
}

}  // namespace
