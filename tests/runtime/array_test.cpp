#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/array.h"
#include "runtime/memory_manager.h"
#include "runtime/string.h"
#include "runtime_fixture.h"

namespace {

using ArrayTest = RuntimeTest;

TEST_F(ArrayTest, EveryElementTypeHasItsIdWidthAndZeroedData) {
    struct Case {
        const char* what;
        Array* array;
        uint16_t id;
        jint width;
    };
    const Case cases[] = {
        {"Object", Runtime::newObjectArray(0, 5), CID_ObjectArray, 8},
        {"boolean", Runtime::newBooleanArray(5), CID_BoolArray, 1},
        {"byte", Runtime::newByteArray(5), CID_ByteArray, 1},
        {"char", Runtime::newCharArray(5), CID_CharArray, 2},
        {"short", Runtime::newShortArray(5), CID_ShortArray, 2},
        {"int", Runtime::newIntArray(5), CID_IntArray, 4},
        {"long", Runtime::newLongArray(5), CID_Long64Array, 8},
        {"float", Runtime::newFloatArray(5), CID_FloatArray, 4},
        {"double", Runtime::newDoubleArray(5), CID_DoubleArray, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(c.array, nullptr);
        EXPECT_EQ(c.array->classId(), c.id);
        EXPECT_EQ(c.array->elementSize(), c.width);
        EXPECT_EQ(c.array->length, 5);
        ASSERT_NE(c.array->data, nullptr);
        EXPECT_TRUE(Runtime::nativeHeap().contains(c.array->data));
        EXPECT_EQ(Runtime::nativeHeap().ownerOf(c.array->data), &c.array->data);
        const auto* bytes = static_cast<const uint8_t*>(c.array->data);
        for (jint i = 0; i < 5 * c.width; ++i) ASSERT_EQ(bytes[i], 0) << "byte " << i;
    }
}

TEST_F(ArrayTest, EmptyAndNegativeLengthsHaveNoData) {
    LogCapture log;
    IntArray* empty = Runtime::newIntArray(0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->length, 0);
    EXPECT_EQ(empty->data, nullptr);
    EXPECT_FALSE(log.contains("length of array"));

    ByteArray* negative = Runtime::newByteArray(-1);
    ASSERT_NE(negative, nullptr);
    EXPECT_EQ(negative->length, -1);
    EXPECT_EQ(negative->data, nullptr);
    EXPECT_TRUE(log.contains("length of array should be >= 0"));
    EXPECT_EQ(Array::getByte(negative, 0), 0);  // nothing to read, nothing read
}

TEST_F(ArrayTest, RawAccessorsSignExtendAndRefuseOutOfRange) {
    LogCapture log;
    ByteArray* bytes = Runtime::newByteArray(4);
    Array::setByte(bytes, 1, 200);
    EXPECT_EQ(Array::getByte(bytes, 1), -56);
    ShortArray* shorts = Runtime::newShortArray(2);
    Array::setShort(shorts, 0, 0xFFFF);
    EXPECT_EQ(Array::getShort(shorts, 0), -1);
    IntArray* ints = Runtime::newIntArray(3);
    Array::setInt32(ints, 2, -7);
    EXPECT_EQ(Array::getInt32(ints, 2), -7);

    Array::setInt32(ints, 3, 99);   // one past the end
    Array::setInt32(ints, -1, 99);
    EXPECT_EQ(Array::getInt32(ints, 3), 0);
    Array::setInt32(bytes, 1, 5);   // 4-byte access past a 4-byte array's first element
    EXPECT_EQ(Array::getByte(bytes, 1), -56);
    EXPECT_EQ(Array::getInt32(nullptr, 0), 0);
    EXPECT_TRUE(log.contains("NullPointer"));
}

TEST_F(ArrayTest, LiteralFillersStoreInOrderAndNeverPastTheEnd) {
    IntArray* ints = Runtime::newIntArray(3);
    ints->fill({7, -8, 9, 10});
    EXPECT_EQ(ints->get(0), 7);
    EXPECT_EQ(ints->get(1), -8);
    EXPECT_EQ(ints->get(2), 9);
    Long64Array* longs = Runtime::newLongArray(2);
    longs->fill({0x1122334455667788LL, -1});
    EXPECT_EQ(longs->get(0), 0x1122334455667788LL);
    EXPECT_EQ(longs->get(1), -1);
}

TEST_F(ArrayTest, MultiANewArrayBuildsNestedArraysByDescriptor) {
    const jint full[] = {3, 4};
    auto* grid = static_cast<ObjectArray*>(Runtime::multiANewArray("[[I", full, 2));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->classId(), CID_ObjectArray);
    ASSERT_EQ(grid->length, 3);
    for (jint i = 0; i < 3; ++i) {
        auto* row = static_cast<IntArray*>(grid->get(i));
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->classId(), CID_IntArray);
        EXPECT_EQ(row->length, 4);
        for (jint j = 0; j < 4; ++j) EXPECT_EQ(row->get(j), 0);
    }

    const jint partial[] = {3};
    auto* rows = static_cast<ObjectArray*>(Runtime::multiANewArray("[[I", partial, 1));
    ASSERT_NE(rows, nullptr);
    ASSERT_EQ(rows->length, 3);
    for (jint i = 0; i < 3; ++i) EXPECT_EQ(rows->get(i), nullptr);

    const jint cube[] = {2, 3, 4};
    auto* outer = static_cast<ObjectArray*>(Runtime::multiANewArray("[[[J", cube, 3));
    ASSERT_NE(outer, nullptr);
    for (jint i = 0; i < 2; ++i) {
        auto* middle = static_cast<ObjectArray*>(outer->get(i));
        ASSERT_NE(middle, nullptr);
        ASSERT_EQ(middle->classId(), CID_ObjectArray);
        ASSERT_EQ(middle->length, 3);
        for (jint j = 0; j < 3; ++j) {
            Object* leaf = middle->get(j);
            ASSERT_NE(leaf, nullptr);
            EXPECT_EQ(leaf->classId(), CID_Long64Array);
            EXPECT_EQ(static_cast<Array*>(leaf)->length, 4);
        }
    }

    struct Leaf {
        const char* descriptor;
        uint16_t id;
    };
    const Leaf leaves[] = {{"[[B", CID_ByteArray},  {"[[C", CID_CharArray},   {"[[D", CID_DoubleArray},
                           {"[[F", CID_FloatArray}, {"[[S", CID_ShortArray},  {"[[Z", CID_BoolArray},
                           {"[[Ljava/lang/String;", CID_ObjectArray}};
    const jint twoByTwo[] = {2, 2};
    for (const auto& leaf : leaves) {
        SCOPED_TRACE(leaf.descriptor);
        auto* array = static_cast<ObjectArray*>(Runtime::multiANewArray(leaf.descriptor, twoByTwo, 2));
        ASSERT_NE(array, nullptr);
        ASSERT_NE(array->get(1), nullptr);
        EXPECT_EQ(array->get(1)->classId(), leaf.id);
    }
    EXPECT_EQ(Runtime::multiANewArray("I", full, 2), nullptr);
}

TEST_F(ArrayTest, ForeignBuffersAreUsedInPlaceAndNeverFreed) {
    alignas(8) static uint16_t pixels[6] = {1, 2, 3, 4, 5, 6};
    ShortArray* screen = Runtime::newForeignShortArray(pixels, 6);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->classId(), CID_ShortArray);
    EXPECT_EQ(screen->data, pixels);
    EXPECT_EQ(Array::getShort(screen, 5), 6);
    const size_t usedBefore = Runtime::nativeHeap().usedBytes();
    screen->destroy();  // what the collector does: the buffer must survive
    EXPECT_EQ(pixels[5], 6);
    EXPECT_EQ(Runtime::nativeHeap().usedBytes(), usedBefore);

    ByteArray* bytes = Runtime::newForeignByteArray(pixels, 12);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes->classId(), CID_ByteArray);
    bytes->destroy();
}

TEST_F(ArrayTest, DestroyGivesTheDataBack) {
    const size_t before = Runtime::nativeHeap().usedBytes();
    IntArray* ints = Runtime::newIntArray(100);
    EXPECT_GT(Runtime::nativeHeap().usedBytes(), before);
    ints->destroy();
    EXPECT_EQ(ints->data, nullptr);
    EXPECT_EQ(Runtime::nativeHeap().usedBytes(), before);
}

TEST_F(ArrayTest, FullNativeHeapFallsBackToMallocWithoutOwner) {
    Runtime::destroyHeaps();
    ASSERT_TRUE(Runtime::initHeaps(1 << 16, 1 << 12));
    IntArray* big = Runtime::newIntArray(4096);  // 16 KB: more than the whole native heap
    ASSERT_NE(big, nullptr);
    ASSERT_NE(big->data, nullptr);
    EXPECT_FALSE(Runtime::nativeHeap().contains(big->data));
    big->set(4095, 42);
    EXPECT_EQ(big->get(4095), 42);
    big->destroy();  // goes back to malloc (ASan would see a wrong free)
}

TEST_F(ArrayTest, CharArrayToStringStopsAtTheFirstZero) {
    CharArray* chars = Runtime::newCharArray(6);
    chars->fill({'a', 'b', 0, 'c'});
    String* s = chars->toString();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->length(), 2);
    EXPECT_EQ(s->charAt(1), 'b');
    CharArray* full = Runtime::newCharArray(3);
    full->fill({'x', 'y', 'z'});
    EXPECT_EQ(full->toString()->length(), 3);
}

// Stands in for another thread's collection that compacts the native heap while this thread is
// parked inside an allocation: the first registration after arming frees `hole`'s data and
// compacts, so the blocks after that hole move.
class CompactingRegistry : public ObjectRegistry {
public:
    explicit CompactingRegistry(ObjectRegistry* real) : m_real(real) {}
    void registerObject(Object* object, size_t size) override {
        m_real->registerObject(object, size);
        if (!hole) return;
        hole->destroy();
        hole = nullptr;
        MemoryManager& heap = Runtime::nativeHeap();
        heap.compact(heap.arenaSize() - heap.usedBytes() - 64);
    }
    Array* hole = nullptr;

private:
    ObjectRegistry* m_real;
};

TEST_F(ArrayTest, CharArrayToStringReadsTheCharactersAfterItsOwnAllocation) {
    IntArray* hole = Runtime::newIntArray(64);
    CharArray* chars = Runtime::newCharArray(40);
    for (jint i = 0; i < 40; ++i) chars->set(i, static_cast<jchar>('A' + i));
    const void* before = chars->data;
    CompactingRegistry registry(Runtime::objectRegistry());
    registry.hole = hole;
    Runtime::setObjectRegistry(&registry);
    String* s = chars->toString();
    Runtime::setObjectRegistry(&objectManager());
    ASSERT_NE(s, nullptr);
    ASSERT_NE(chars->data, before) << "the compaction did not move the characters";
    ASSERT_EQ(s->length(), 40);
    for (jint i = 0; i < 40; ++i) EXPECT_EQ(s->charAt(i), 'A' + i) << i;
}

TEST_F(ArrayTest, ElementsStayIntactWhenCompactionMovesTheData) {
    // Fragment the native heap: a hole, a live array, a hole; compaction must slide the live one.
    IntArray* keep[8];
    IntArray* drop[8];
    for (int i = 0; i < 8; ++i) {
        drop[i] = Runtime::newIntArray(64);
        keep[i] = Runtime::newIntArray(64);
        for (jint j = 0; j < 64; ++j) keep[i]->set(j, i * 1000 + j);
    }
    for (auto* d : drop) d->destroy();
    void* before[8];
    for (int i = 0; i < 8; ++i) before[i] = keep[i]->data;
    Runtime::nativeHeap().compact(Runtime::nativeHeap().arenaSize() - Runtime::nativeHeap().usedBytes() - 64);
    bool moved = false;
    for (int i = 0; i < 8; ++i) {
        moved = moved || keep[i]->data != before[i];
        for (jint j = 0; j < 64; ++j) ASSERT_EQ(keep[i]->get(j), i * 1000 + j);
    }
    EXPECT_TRUE(moved);
    std::string why;
    EXPECT_TRUE(Runtime::nativeHeap().walk(&why)) << why;
}

}  // namespace
