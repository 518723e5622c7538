// java_lang_System: arraycopy by the source's width with memmove semantics and checked ranges,
// the injectable clocks, and getProperty's fixed answers.
#include <gtest/gtest.h>

#include <vector>

#include "runtime/array.h"
#include "runtime/clock.h"
#include "runtime/object_manager.h"
#include "runtime/string.h"
#include "runtime/system_natives.h"
#include "runtime_fixture.h"
#include "text_helpers.h"

namespace {

using SystemTest = RuntimeTest;

std::vector<jint> intsOf(IntArray* a) { return std::vector<jint>(a->elements(), a->elements() + a->length); }

IntArray* intArray(std::initializer_list<jint> values) {
    IntArray* a = Runtime::newIntArray(static_cast<jint>(values.size()));
    a->fill(values);
    return a;
}

TEST_F(SystemTest, ArraycopyWithinOneArrayBehavesLikeMemmove) {
    struct Case {
        const char* what;
        jint srcPos, dstPos, n;
        std::vector<jint> expected;
    };
    const Case cases[] = {
        {"up by one", 0, 1, 3, {1, 1, 2, 3, 5}},
        {"down by one", 1, 0, 3, {2, 3, 4, 4, 5}},
        {"onto itself", 1, 1, 4, {1, 2, 3, 4, 5}},
        {"nothing", 0, 3, 0, {1, 2, 3, 4, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        IntArray* a = intArray({1, 2, 3, 4, 5});
        java_lang_System::arraycopy(a, c.srcPos, a, c.dstPos, c.n);
        EXPECT_EQ(intsOf(a), c.expected);
    }
}

TEST_F(SystemTest, ArraycopyTakesTheWidthFromTheSourceAndStaysInsideBothArrays) {
    CharArray* chars = Runtime::newCharArray(3);
    chars->fill({'a', 'b', 'c'});
    CharArray* charsOut = Runtime::newCharArray(4);
    java_lang_System::arraycopy(chars, 0, charsOut, 1, 3);
    EXPECT_EQ(narrow(unitsOf(charsOut->elements(), 4)), std::string("\0abc", 4));

    Long64Array* longs = Runtime::newLongArray(2);
    longs->fill({-1, 1LL << 40});
    Long64Array* longsOut = Runtime::newLongArray(2);
    java_lang_System::arraycopy(longs, 0, longsOut, 0, 2);
    EXPECT_EQ(longsOut->get(0), -1);
    EXPECT_EQ(longsOut->get(1), 1LL << 40);

    ObjectArray* refs = Runtime::newObjectArray(CID_String, 2);
    String* s = str("x");
    refs->set(1, s);
    java_lang_System::arraycopy(refs, 1, refs, 0, 1);
    EXPECT_EQ(refs->get(0), s);

    // Bytes into an int array: four one-byte elements fill one int.
    ByteArray* bytes = bytesOf({1, 2, 3, 4});
    IntArray* ints = Runtime::newIntArray(2);
    java_lang_System::arraycopy(bytes, 0, ints, 0, 4);
    EXPECT_EQ(ints->get(0), 0x04030201);

    LogCapture log;
    struct Case {
        const char* what;
        jint srcPos, dstPos, n;
    };
    const Case rejected[] = {
        {"past the source", 3, 0, 3},
        {"past the destination", 0, 4, 2},
        {"negative source position", -1, 0, 2},
        {"negative destination position", 0, -1, 2},
        {"negative count", 0, 0, -1},
    };
    for (const auto& c : rejected) {
        SCOPED_TRACE(c.what);
        IntArray* src = intArray({1, 2, 3, 4, 5});
        IntArray* dst = intArray({0, 0, 0, 0, 0});
        java_lang_System::arraycopy(src, c.srcPos, dst, c.dstPos, c.n);
        EXPECT_EQ(intsOf(dst), (std::vector<jint>{0, 0, 0, 0, 0}));
    }
    EXPECT_TRUE(log.contains("arraycopy"));
    java_lang_System::arraycopy(nullptr, 0, ints, 0, 1);
    EXPECT_TRUE(log.contains("NullPointer"));
    java_lang_System::arraycopy(str("not an array"), 0, ints, 0, 1);
    EXPECT_TRUE(log.contains("arraycopy: not an array"));
}

TEST_F(SystemTest, ClocksReadTheInstalledSource) {
    ManualClock clock;
    Runtime::setClock(&clock);
    EXPECT_EQ(java_lang_System::currentTimeMillis(), 0);
    clock.advance(1234);
    EXPECT_EQ(java_lang_System::currentTimeMillis(), 1234);
    clock.setWall(1700000000999);
    EXPECT_EQ(java_lang_System::wallClockMillis(), 1700000000000);
    clock.setWall(-1);
    EXPECT_EQ(java_lang_System::wallClockMillis(), -1000);
    Runtime::setClock(nullptr);
    EXPECT_GT(java_lang_System::wallClockMillis(), 1500000000000);
}

TEST_F(SystemTest, GcCollectsAtMostOnceInTwoSeconds) {
    ManualClock clock;
    Runtime::setClock(&clock);
    clock.advance(ObjectManager::kThrottleMillis);  // whatever collected before is long past
    const auto collections = [&] { return objectManager().statistics().collections; };
    const uint64_t before = collections();
    java_lang_System::gc();
    EXPECT_EQ(collections(), before + 1);
    java_lang_System::gc();
    clock.advance(ObjectManager::kThrottleMillis - 1);
    java_lang_System::gc();
    EXPECT_EQ(collections(), before + 1);
    clock.advance(1);
    java_lang_System::gc();
    EXPECT_EQ(collections(), before + 2);
    Runtime::setClock(nullptr);
}

String* lookupOnlyA(String* key) { return key->equalsCString("a") ? str("value of a") : nullptr; }

TEST_F(SystemTest, GetPropertyNeverAnswersNull) {
    EXPECT_EQ(narrow(java_lang_System::getProperty(str("microedition.media.version"))), "1.0");
    String* first = java_lang_System::getProperty(str("missing"));
    EXPECT_EQ(narrow(first), "PROPERTY VALUE EMPTY");
    EXPECT_NE(java_lang_System::getProperty(str("missing")), first);
    java_lang_System::setPropertyLookup(lookupOnlyA);
    EXPECT_EQ(narrow(java_lang_System::getProperty(str("a"))), "value of a");
    EXPECT_EQ(narrow(java_lang_System::getProperty(str("b"))), "PROPERTY VALUE EMPTY");
    java_lang_System::setPropertyLookup(nullptr);
    EXPECT_EQ(narrow(java_lang_System::getProperty(str("a"))), "PROPERTY VALUE EMPTY");
}

}  // namespace
