#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runtime/array.h"
#include "runtime/operand_stack.h"
#include "runtime_fixture.h"

namespace {

using OperandStackTest = RuntimeTest;

TEST_F(OperandStackTest, ReferencesAreTaggedByNullness) {
    OperandFrame<8> s;
    auto* o = new Object();
    s.pushRef(o);
    s.pushRef(nullptr);
    s.pushRefDup(o);
    s.pushIntDup(-3);
    EXPECT_EQ(s.depth(), 6);
    const uint8_t wantTags[] = {0, 0, 1, 1, 0, 1};  // top first
    for (int i = 0; i < 6; ++i) EXPECT_EQ(s.tagAt(i), wantTags[i]) << i;
    EXPECT_EQ(s.popInt(), -3);
    EXPECT_EQ(s.popInt(), -3);
    EXPECT_EQ(s.popRef(), o);
}

TEST_F(OperandStackTest, DupFormsMoveValuesAndKeepOldTags) {
    auto* o = new Object();
    OperandFrame<8> x2;
    x2.pushInt(7);
    x2.pushInt(8);
    x2.pushInt(9);
    x2.dup_x2();  // 7, 8, 9 -> 9, 7, 8, 9
    ASSERT_EQ(x2.depth(), 4);
    EXPECT_EQ(x2.popInt(), 9);
    EXPECT_EQ(x2.popInt(), 8);
    EXPECT_EQ(x2.popInt(), 7);
    EXPECT_EQ(x2.popInt(), 9);

    OperandFrame<8> d;
    d.pushInt(1);
    d.pushRef(o);  // c=1, b=o... as c, b, a with a on top:
    d.pushInt(3);
    d.dup2_x1();   // c, b, a -> b, a, c, b, a
    ASSERT_EQ(d.depth(), 5);
    const uint64_t want[] = {3, reinterpret_cast<uintptr_t>(o), 1, 3, reinterpret_cast<uintptr_t>(o)};  // top first
    const uint8_t wantTags[] = {0, 1, 0, 1, 0};  // new slots copy the old top two; old slots keep theirs
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(d.slotAt(i), want[i]);
        EXPECT_EQ(d.tagAt(i), wantTags[i]);
    }

    OperandFrame<8> two;
    two.pushLong(0x1122334455667788LL);
    two.dup2();
    EXPECT_EQ(two.popLong(), 0x1122334455667788LL);
    EXPECT_EQ(two.popLong(), 0x1122334455667788LL);
}

TEST_F(OperandStackTest, PeekWideJoinsTheTwoHalvesLowWordBelow) {
    OperandFrame<8> s;
    s.pushInt(-5);
    s.pushLong(-2);  // 0xFFFFFFFF_FFFFFFFE
    s.pushDouble(1.5);
    EXPECT_EQ(s.peekWide(0), std::bit_cast<int64_t>(1.5));
    EXPECT_EQ(s.peekWide(2), -2);
    EXPECT_EQ(s.peekWide(4), -5);  // a 32-bit slot, sign-extended
    EXPECT_EQ(s.depth(), 5);
    EXPECT_EQ(s.popDouble(), 1.5);
}

TEST_F(OperandStackTest, ArrayOperationsWidenNarrowAndCheck) {
    LogCapture log;
    OperandFrame<8> s;
    ShortArray* shorts = Runtime::newShortArray(2);
    s.pushRef(shorts);
    s.pushInt(1);
    s.pushInt(0x1FFFF);
    s.sastore();  // the low 16 bits
    struct Case {
        const char* what;
        void (OperandStack::*load)();
        jint want;
    };
    const Case cases[] = {
        {"caload zero-extends", &OperandStack::caload, 65535},
        {"saload sign-extends", &OperandStack::saload, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        s.pushRef(shorts);
        s.pushInt(1);
        (s.*c.load)();
        EXPECT_EQ(s.tagAt(0), 0);
        EXPECT_EQ(s.popInt(), c.want);
    }

    ObjectArray* objects = Runtime::newObjectArray(CID_Object, 2);
    auto* o = new Object();
    s.pushRef(objects);
    s.pushInt(1);
    s.pushRef(o);
    s.iastore();  // a reference array stores the whole reference
    s.pushRef(objects);
    s.pushInt(1);
    s.aaload();
    EXPECT_EQ(s.tagAt(0), 1);
    EXPECT_EQ(s.popRef(), o);

    IntArray* ints = Runtime::newIntArray(3);
    s.pushRef(ints);
    s.pushInt(3);  // one past the end: refused
    s.pushInt(42);
    s.iastore();
    s.pushRef(ints);
    s.arrayLength();
    EXPECT_EQ(s.popInt(), 3);
    s.pushRef(nullptr);
    s.pushInt(0);
    s.baload();
    EXPECT_EQ(s.popInt(), 0);
    EXPECT_EQ(s.depth(), 0);
    EXPECT_TRUE(log.contains("out of range"));
    EXPECT_TRUE(log.contains("NullPointer"));
}

TEST_F(OperandStackTest, ComparisonsPopBThenA) {
    struct Case {
        jint a, b;
        bool eq, ne, lt, le, gt, ge;
    };
    const Case cases[] = {
        {1, 2, false, true, true, true, false, false},
        {2, 2, true, false, false, true, false, true},
        {-1, std::numeric_limits<jint>::min(), false, true, false, false, true, true},
    };
    OperandFrame<4> s;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + " vs " + std::to_string(c.b));
        const bool got[] = {
            (s.pushInt(c.a), s.pushInt(c.b), s.icmpEQ()), (s.pushInt(c.a), s.pushInt(c.b), s.icmpNE()),
            (s.pushInt(c.a), s.pushInt(c.b), s.icmpLT()), (s.pushInt(c.a), s.pushInt(c.b), s.icmpLE()),
            (s.pushInt(c.a), s.pushInt(c.b), s.icmpGT()), (s.pushInt(c.a), s.pushInt(c.b), s.icmpGE()),
        };
        const bool want[] = {c.eq, c.ne, c.lt, c.le, c.gt, c.ge};
        for (int i = 0; i < 6; ++i) EXPECT_EQ(got[i], want[i]) << i;
        EXPECT_EQ(s.depth(), 0);
    }
}

TEST_F(OperandStackTest, FcmplGivesMinusOneForNaN) {
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float a, b;
        jint want;
    };
    const Case cases[] = {{1.0f, NAN, -1}, {NAN, 1.0f, -1}, {2.0f, 1.0f, 1}, {1.0f, 2.0f, -1},
                          {3.5f, 3.5f, 0}, {inf, inf, 0},   {-0.0f, 0.0f, 0}};
    OperandFrame<4> s;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + " vs " + std::to_string(c.b));
        s.pushFloat(c.a);
        s.pushFloat(c.b);
        s.fcmpl();
        EXPECT_EQ(s.tagAt(0), 0);
        EXPECT_EQ(s.popInt(), c.want);
    }
}

struct Fields {
    jint value;
    jboolean flag;
};

TEST_F(OperandStackTest, PutFieldSkipsANullObject) {
    LogCapture log;
    static jboolean staticFlag = 0;
    Fields fields{};
    auto* o = new Object();
    OperandFrame<4> s;
    s.pushRef(o);
    s.pushInt(-9);
    s.putfieldInt(&fields.value);
    s.pushRef(o);
    s.pushInt(256);  // non-zero, although its low byte is 0
    s.putfieldBoolean(&fields.flag);
    s.pushInt(7);
    s.putstaticBoolean(&staticFlag);
    EXPECT_EQ(fields.value, -9);
    EXPECT_EQ(fields.flag, 1);
    EXPECT_EQ(staticFlag, 1);

    s.pushRef(nullptr);
    s.pushInt(5);
    s.putfieldInt(&fields.value);
    EXPECT_EQ(fields.value, -9);
    EXPECT_EQ(s.depth(), 0);
    EXPECT_TRUE(log.contains("NullPointer"));
}

TEST_F(OperandStackTest, MultiANewArrayPopsTheLengthsLastDimensionOnTop) {
    OperandFrame<4> s;
    s.pushInt(2);
    s.pushInt(3);
    s.multiANewArray("[[I", 2);
    ASSERT_EQ(s.depth(), 1);
    EXPECT_EQ(s.tagAt(0), 1);
    auto* outer = static_cast<ObjectArray*>(s.popRef());
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(outer->length, 2);
    auto* row = static_cast<IntArray*>(outer->get(1));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->length, 3);
}

}  // namespace
