#include <gtest/gtest.h>

#include <limits>

#include "runtime/jtypes.h"

namespace {

constexpr jint kMin = std::numeric_limits<jint>::min();
constexpr jint kMax = std::numeric_limits<jint>::max();
constexpr jlong kLMin = std::numeric_limits<jlong>::min();
constexpr jlong kLMax = std::numeric_limits<jlong>::max();

TEST(JavaArithmeticTest, IntOperationsWrapAndTruncate) {
    struct Case {
        const char* what;
        jint got;
        jint want;
    };
    const Case cases[] = {
        {"MAX + 1", jt::add(kMax, 1), kMin},
        {"MIN - 1", jt::sub(kMin, 1), kMax},
        {"MAX * 2", jt::mul(kMax, 2), -2},
        {"-MIN", jt::neg(kMin), kMin},
        {"MIN / -1", jt::div(kMin, -1), kMin},
        {"MIN % -1", jt::rem(kMin, -1), 0},
        {"-7 / 2", jt::div(-7, 2), -3},
        {"-7 % 2", jt::rem(-7, 2), -1},
        {"7 % -2", jt::rem(7, -2), 1},
        {"1 << 33", jt::shl(1, 33), 2},
        {"1 << -1", jt::shl(1, -1), kMin},
        {"-8 >> 1", jt::shr(-8, 1), -4},
        {"-8 >> 33", jt::shr(-8, 33), -4},
        {"-1 >>> 28", jt::ushr(-1, 28), 15},
        {"-1 >>> 32", jt::ushr(-1, 32), -1},
        {"(int)0x1_0000_0005L", jt::l2i(0x100000005LL), 5},
        {"(byte)200", jt::i2b(200), -56},
        {"(short)40000", jt::i2s(40000), -25536},
        {"(char)-1", jt::i2c(-1), 65535},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.got, c.want);
    }
}

TEST(JavaArithmeticTest, LongOperationsWrapAndMaskShifts) {
    EXPECT_EQ(jt::add(kLMax, jlong{1}), kLMin);
    EXPECT_EQ(jt::mul(kLMax, jlong{2}), jlong{-2});
    EXPECT_EQ(jt::div(kLMin, jlong{-1}), kLMin);
    EXPECT_EQ(jt::rem(kLMin, jlong{-1}), 0);
    EXPECT_EQ(jt::shl(jlong{1}, 65), 2);
    EXPECT_EQ(jt::shr(jlong{-16}, 66), -4);
    EXPECT_EQ(jt::ushr(jlong{-1}, 60), 15);
}

TEST(JavaArithmeticTest, FloatingToIntegralSaturatesAndNanIsZero) {
    const float nanf = std::numeric_limits<float>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        jlong got;
        jlong want;
    };
    const Case cases[] = {
        {"f2i NaN", jt::f2i(nanf), 0},
        {"f2i 3e9", jt::f2i(3e9f), kMax},
        {"f2i -3e9", jt::f2i(-3e9f), kMin},
        {"f2i -2.9", jt::f2i(-2.9f), -2},
        {"d2i inf", jt::d2i(inf), kMax},
        {"d2i -inf", jt::d2i(-inf), kMin},
        {"d2i 2147483647.5", jt::d2i(2147483647.5), kMax},
        {"d2l 1e19", jt::d2l(1e19), kLMax},
        {"d2l -1e19", jt::d2l(-1e19), kLMin},
        {"f2l NaN", jt::f2l(nanf), 0},
        {"d2l -7.99", jt::d2l(-7.99), -7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.got, c.want);
    }
}

}  // namespace
