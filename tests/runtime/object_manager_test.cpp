#include <gtest/gtest.h>

#include <cstdio>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/clock.h"
#include "runtime/memory_manager.h"
#include "runtime/object_manager.h"
#include "runtime/string.h"
#include "runtime/string_buffer.h"
#include "runtime_fixture.h"

namespace {

// A superclass with one reference field and a subclass adding its own, with an interface
// sub-object for Runnable, under ids whose chain is 120 -> 83 -> 87.
class Node : public Object {
public:
    Node() { setClassId(CID_javax_microedition_lcdui_Displayable); }
    Object* m_first;
    jint m_value;
};
class GameNode : public Node {
public:
    GameNode() { setClassId(CID_cGame); }
    void* getInterface(jint id) override { return id == CID_java_lang_Runnable ? &m_runnable : nullptr; }
    uint64_t m_runnable;
    Object* m_second;
};
const uint32_t kNodeRefs[] = {BX_REF_FIELD(Node, m_first)};
const RefFieldRegistration kNodeRefsReg(CID_javax_microedition_lcdui_Displayable, kNodeRefs);
const uint32_t kGameNodeRefs[] = {BX_REF_FIELD(GameNode, m_second)};
const RefFieldRegistration kGameNodeRefsReg(CID_cGame, kGameNodeRefs);

// A class whose reference field was left out of its list (the audit must notice).
class Unlisted : public Object {
public:
    Unlisted() { setClassId(CID_java_util_Random); }
    Object* m_forgotten;
};

// Addresses the test must not hold as references: kept inverted, so no scan mistakes them. Objects
// are made in helpers, and the dead stack below the test is scrubbed before collecting, so that no
// stale copy of a pointer keeps garbage alive.
uintptr_t hide(const void* p) { return ~reinterpret_cast<uintptr_t>(p); }
Object* reveal(uintptr_t hidden) { return reinterpret_cast<Object*>(~hidden); }

__attribute__((noinline)) void scrubStack() {
    uint8_t buffer[1 << 16];
    std::memset(buffer, 0, sizeof buffer);
    asm volatile("" : : "r"(buffer) : "memory");
}

class ObjectManagerTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        objectManager().setStress(false);  // these tests count collections and survivors themselves
        Runtime::setClock(&clock);
    }
    void TearDown() override {
        Runtime::setClock(nullptr);
        RuntimeTest::TearDown();
    }
    void collect(int level) {
        scrubStack();
        objectManager().gc(level);
    }
    bool isLive(uintptr_t hidden) { return objectManager().isRegistered(reveal(hidden)); }
    bool isFreed(uintptr_t hidden) {
        // The block is free now: read the stamp from memory, not through the (possibly reused) table.
        uint16_t id = 0;
        std::memcpy(&id, reinterpret_cast<const uint8_t*>(reveal(hidden)) + sizeof(void*), sizeof id);
        return !objectManager().isRegistered(reveal(hidden)) && id == kCollectedClassId;
    }
    ManualClock clock;
};

// Makes garbage: nodes nobody holds.
__attribute__((noinline)) std::vector<uintptr_t> makeGarbage(int n) {
    std::vector<uintptr_t> hidden;
    for (int i = 0; i < n; ++i) hidden.push_back(hide(new Node()));
    return hidden;
}

Object* s_staticOnly = nullptr;
Object* s_holder = nullptr;

struct Scene {
    uintptr_t staticOnly, second, first, interfaceOnly;
};

// s_staticOnly holds one node; s_holder a GameNode whose own and inherited fields hold one each;
// a fourth node is reachable only through the interface pointer handed back.
__attribute__((noinline)) Scene buildScene(void*& iface) {
    Scene scene{};
    s_staticOnly = new Node();
    scene.staticOnly = hide(s_staticOnly);
    auto* game = new GameNode();
    s_holder = game;
    game->m_second = new Node();
    scene.second = hide(game->m_second);
    game->m_first = new Node();
    scene.first = hide(game->m_first);
    auto* loose = new GameNode();
    scene.interfaceOnly = hide(loose);
    iface = loose->getInterface(CID_java_lang_Runnable);
    return scene;
}

// Collects while a callee's local holds a node; answers whether it survived.
__attribute__((noinline)) bool survivesAsCalleeLocal(ObjectManager& om, uintptr_t& hidden) {
    Node* local = new Node();
    hidden = hide(local);
    scrubStack();
    om.gc(4);
    asm volatile("" : : "r"(local) : "memory");
    return om.isRegistered(local) && local->classId() == CID_javax_microedition_lcdui_Displayable;
}

TEST_F(ObjectManagerTest, RootsStacksAndFieldsKeepObjectsAndTheRestIsStamped) {
    objectManager().addRoot(&s_staticOnly);
    objectManager().addRoot(&s_holder);
    void* iface = nullptr;
    const Scene scene = buildScene(iface);
    const std::vector<uintptr_t> garbage = makeGarbage(3);

    uintptr_t calleeLocal = 0;
    EXPECT_TRUE(survivesAsCalleeLocal(objectManager(), calleeLocal));
    for (uintptr_t kept : {scene.staticOnly, scene.second, scene.first}) EXPECT_TRUE(isLive(kept));
    EXPECT_TRUE(isFreed(scene.interfaceOnly)) << "an interface pointer is not a reference";
    for (uintptr_t g : garbage) EXPECT_TRUE(isFreed(g));
    EXPECT_NE(iface, nullptr);

    s_staticOnly = nullptr;
    s_holder = nullptr;
    collect(4);
    for (uintptr_t gone : {scene.staticOnly, scene.second, scene.first, calleeLocal}) EXPECT_TRUE(isFreed(gone));
    EXPECT_EQ(objectManager().objectCount(), 0u);
    objectManager().removeRoot(&s_staticOnly);
    objectManager().removeRoot(&s_holder);
}

Object* s_chain = nullptr;
Object* s_cycle = nullptr;

__attribute__((noinline)) std::vector<uintptr_t> makeChain(int depth) {
    std::vector<uintptr_t> hidden;
    ObjectArray* tail = Runtime::newObjectArray(CID_ObjectArray, 1);
    s_chain = tail;
    hidden.push_back(hide(tail));
    for (int i = 0; i < depth; ++i) {
        ObjectArray* next = Runtime::newObjectArray(CID_ObjectArray, 1);
        tail->set(0, next);
        tail = next;
        hidden.push_back(hide(next));
    }
    return hidden;
}

__attribute__((noinline)) std::vector<uintptr_t> makeCycle() {
    auto* a = new Node();
    auto* b = new GameNode();
    a->m_first = b;
    b->m_second = a;
    b->m_first = b;
    s_cycle = a;
    return {hide(a), hide(b)};
}

TEST_F(ObjectManagerTest, DeepChainsAndCyclesAreMarkedWithoutOverrunningTheMarkStack) {
    objectManager().addRoot(&s_chain);
    objectManager().addRoot(&s_cycle);
    const std::vector<uintptr_t> chain = makeChain(10000);
    const std::vector<uintptr_t> cycle = makeCycle();

    collect(4);
    EXPECT_EQ(objectManager().statistics().lastFreed, 0u);
    EXPECT_EQ(objectManager().objectCount(), chain.size() + 2);

    s_cycle = nullptr;  // the cycle alone keeps nothing
    collect(4);
    for (uintptr_t c : cycle) EXPECT_TRUE(isFreed(c));
    s_chain = nullptr;
    collect(4);
    EXPECT_EQ(objectManager().statistics().lastFreed, chain.size());
    for (uintptr_t link : chain) ASSERT_TRUE(isFreed(link));
    objectManager().removeRoot(&s_chain);
    objectManager().removeRoot(&s_cycle);
}

Object* s_rooted = nullptr;

__attribute__((noinline)) uintptr_t makeRootedNonCollectable() {
    s_rooted = new Node();
    s_rooted->setCollectable(false);
    return hide(s_rooted);
}

TEST_F(ObjectManagerTest, LevelsThrottleKeepTheLastOrFreeEverything) {
    objectManager().addRoot(&s_rooted);
    const uintptr_t rooted = makeRootedNonCollectable();
    const uint64_t before = objectManager().statistics().collections;

    collect(0);  // the first level-0 collection runs
    EXPECT_EQ(objectManager().statistics().collections, before + 1);
    std::vector<uintptr_t> garbage = makeGarbage(2);
    clock.advance(1000);
    collect(0);  // 1 s later: throttled
    EXPECT_EQ(objectManager().statistics().collections, before + 1);
    EXPECT_TRUE(isLive(garbage[0]));

    collect(9);  // runs regardless, and keeps the last registered object
    EXPECT_EQ(objectManager().statistics().collections, before + 2);
    EXPECT_TRUE(isFreed(garbage[0]));
    EXPECT_TRUE(isLive(garbage[1]));
    collect(4);  // runs regardless, keeps nothing extra
    EXPECT_TRUE(isFreed(garbage[1]));
    EXPECT_TRUE(isLive(rooted));

    garbage = makeGarbage(1);
    collect(0);  // still within 2 s of the last collection
    EXPECT_TRUE(isLive(garbage[0]));
    clock.advance(2000);
    collect(0);
    EXPECT_TRUE(isFreed(garbage[0]));

    collect(2);  // shutdown: rooted and non-collectable objects go too
    EXPECT_TRUE(isFreed(rooted));
    EXPECT_EQ(objectManager().objectCount(), 0u);
    s_rooted = nullptr;
    objectManager().removeRoot(&s_rooted);
}

__attribute__((noinline)) void makeData() {
    for (int i = 0; i < 4; ++i) (void)Runtime::newIntArray(100);
    (void)String::fromCString("a string longer than the inline buffer");
}

TEST_F(ObjectManagerTest, SweptObjectsAreDestroyedAndTheirDataFreed) {
    const size_t nativeBefore = Runtime::nativeHeap().usedBytes();
    makeData();
    EXPECT_GT(Runtime::nativeHeap().usedBytes(), nativeBefore);
    collect(4);
    EXPECT_EQ(Runtime::nativeHeap().usedBytes(), nativeBefore);
    EXPECT_EQ(Runtime::objectHeap().usedBytes(), 0u);
}

TEST_F(ObjectManagerTest, ExhaustedObjectHeapCollectsAndRetries) {
    Runtime::destroyHeaps();
    ASSERT_TRUE(Runtime::initHeaps(1 << 16, 1 << 16));
    // Far more nodes than fit at once: each collection makes room for the next.
    for (int i = 0; i < 20000; ++i) ASSERT_NE(new Node(), nullptr) << i;
    EXPECT_GT(objectManager().statistics().collections, 0u);
}

Object* s_unlisted = nullptr;

__attribute__((noinline)) void makeUnlisted() {
    auto* unlisted = new Unlisted();
    unlisted->m_forgotten = new Node();
    s_unlisted = unlisted;
}

TEST_F(ObjectManagerTest, AuditReportsAReferenceFieldMissingFromTheList) {
    LogCapture log;
    objectManager().setAudit(true);
    objectManager().addRoot(&s_unlisted);
    makeUnlisted();
    const size_t before = objectManager().statistics().auditFindings;
    collect(4);
    EXPECT_EQ(objectManager().statistics().auditFindings, before + 1);
    EXPECT_TRUE(log.contains("registration audit: java_util_Random"));
    s_unlisted = nullptr;
    objectManager().removeRoot(&s_unlisted);
    objectManager().setAudit(false);
}

// The statistics count as the phone did: 8 per object, units of texts, bytes of array elements.
TEST_F(ObjectManagerTest, StatisticsAndDumpDescribeTheRegistry) {
    LogCapture log;
    IntArray* ints = Runtime::newIntArray(10);
    String* text = String::fromCString("abc");  // short enough to keep its units inline
    EXPECT_EQ(objectManager().usedBytes(), 8u + 40u + 8u + 3u);
    objectManager().printMemoryStats();
    EXPECT_TRUE(log.contains("Memory allocation:\n\tString: 1 (11)\n\tIntArray: 1 (48)\n"));
    EXPECT_TRUE(log.contains("\tTOTAL: 2 (59)\n"));

    const std::vector<uint8_t> bytes = objectManager().memoryDump();
    size_t namesLength = 0;
    for (const char* name : kClassNames) namesLength += 2 + std::strlen(name);
    const size_t objects = 4 + 4 + namesLength;
    ASSERT_GE(bytes.size(), objects + 4 + 32 + 32);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[7], kClassCount);
    EXPECT_EQ(bytes[objects + 3], 2);  // registry count, big-endian
    auto little = [&](size_t at, int n) {
        uint64_t v = 0;
        for (int i = n - 1; i >= 0; --i) v = v << 8 | bytes[at + static_cast<size_t>(i)];
        return v;
    };
    // Records in registration order: the array's data is a native block, the String's inline units
    // are data outside the native heap (block -1).
    const size_t array = objects + 4;
    EXPECT_EQ(little(array, 4), CID_IntArray);
    EXPECT_EQ(little(array + 4, 8), reinterpret_cast<uintptr_t>(ints));
    EXPECT_EQ(little(array + 20, 4), 1u);
    EXPECT_EQ(little(array + 36, 4), 40u);
    const size_t string = array + 40;
    EXPECT_EQ(little(string, 4), CID_String);
    EXPECT_EQ(little(string + 20, 4), 1u);
    EXPECT_EQ(little(string + 24, 8), reinterpret_cast<uintptr_t>(text->chars));
    EXPECT_EQ(little(string + 32, 4), 0xFFFFFFFFu);
    EXPECT_EQ(little(string + 36, 4), 6u);  // units x 2
}

TEST_F(ObjectManagerTest, StatisticsAndDumpCountAStringBuffersUnits) {
    auto* buffer = new StringBuffer();
    ASSERT_NE(buffer, nullptr);
    buffer->initWithCapacity(32);
    buffer->appendCString("hello");
    EXPECT_EQ(objectManager().usedBytes(), 8u + 5u);

    const std::vector<uint8_t> bytes = objectManager().memoryDump();
    size_t record = 4 + 4 + 4;  // leading bytes, class-name count, then the names; the registry count
    for (const char* name : kClassNames) record += 2 + std::strlen(name);
    ASSERT_GE(bytes.size(), record + 40);
    auto little = [&](size_t at, int n) {
        uint64_t v = 0;
        for (int i = n - 1; i >= 0; --i) v = v << 8 | bytes[at + static_cast<size_t>(i)];
        return v;
    };
    EXPECT_EQ(little(record, 4), CID_StringBuffer);
    EXPECT_EQ(little(record + 20, 4), 1u);  // has data
    EXPECT_EQ(little(record + 24, 8), reinterpret_cast<uintptr_t>(buffer->chars));
    EXPECT_EQ(little(record + 36, 4), 10u);  // length x 2
}

}  // namespace
