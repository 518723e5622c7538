// java_lang_Math: abs/min/max with their NaN order, angle conversions, and the 16.16 functions at
// table points, between them and against the true values.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runtime/math_natives.h"

namespace {

using M = java_lang_Math;
constexpr float kNaNf = std::numeric_limits<float>::quiet_NaN();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(MathTest, AbsMinMaxKeepThePhonesEdgeResults) {
    EXPECT_EQ(M::abs(std::numeric_limits<jint>::min()), std::numeric_limits<jint>::min());
    EXPECT_EQ(M::abs(jint{-5}), 5);
    EXPECT_EQ(M::abs(std::numeric_limits<jlong>::min()), std::numeric_limits<jlong>::min());
    EXPECT_EQ(M::abs(jlong{-5}), 5);
    EXPECT_TRUE(std::signbit(M::abs(-0.0f)));  // -0.0 >= 0: returned unchanged
    EXPECT_EQ(M::abs(-2.5), 2.5);
    EXPECT_EQ(M::maxLong(-1, 3), 3);
    EXPECT_EQ(M::minLong(-1, 3), -1);

    struct Case {
        const char* what;
        float result;
        float expected;  // NaN: expect NaN
    };
    const Case cases[] = {
        {"max(1, NaN) is NaN", M::max(1.0f, kNaNf), kNaNf},
        {"max(NaN, 1) is 1", M::max(kNaNf, 1.0f), 1.0f},
        {"min(1, NaN) is NaN", M::min(1.0f, kNaNf), kNaNf},
        {"min(NaN, 1) is 1", M::min(kNaNf, 1.0f), 1.0f},
        {"max", M::max(2.0f, 1.0f), 2.0f},
        {"min", M::min(2.0f, 1.0f), 1.0f},
        {"double max(1, NaN)", static_cast<float>(M::max(1.0, kNaN)), kNaNf},
        {"double max(NaN, 1)", static_cast<float>(M::max(kNaN, 1.0)), 1.0f},
        {"double min(NaN, 1)", static_cast<float>(M::min(kNaN, 1.0)), 1.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (std::isnan(c.expected)) {
            EXPECT_TRUE(std::isnan(c.result));
        } else {
            EXPECT_EQ(c.result, c.expected);
        }
    }
    // Equal values answer y: visible with signed zeros.
    EXPECT_TRUE(std::signbit(M::max(0.0f, -0.0f)));
}

TEST(MathTest, AngleConversionsRoundThroughDoubleAsThePhoneDid) {
    EXPECT_EQ(M::toRadians(180.0f), static_cast<float>(180.0 * 0.017453292519943295));
    EXPECT_EQ(M::toDegrees(3.14159265f), static_cast<float>(static_cast<double>(3.14159265f * 180.0f) * 0.3183098861837907));
    EXPECT_NEAR(M::toDegrees(1.0f), 57.29578f, 1e-4f);
    EXPECT_FLOAT_EQ(M::sqrt(2.0f), 1.4142135f);
    EXPECT_FLOAT_EQ(M::atan2(1.0f, 1.0f), 0.78539819f);
}

TEST(FixedMathTest, IntegerSquareRootIsTheFloor) {
    struct Case {
        jint x;
        jint root;
    };
    const Case cases[] = {{0, 0}, {1, 1}, {15, 3}, {16, 4}, {65535, 255}, {65536, 256}, {2147483647, 46340}, {-1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(M::isqrt(c.x), c.root);
    }
}

TEST(FixedMathTest, SineReadsTheTableAndInterpolatesBetweenDegrees) {
    struct Case {
        const char* what;
        jint angle;
        jint value;
    };
    const Case cases[] = {
        {"0", 0, 0},
        {"30", 30 << 16, 32768},
        {"90", 90 << 16, 65536},
        {"270", 270 << 16, -65536},
        {"360 wraps to 0", 360 << 16, 0},
        {"450 wraps to 90", 450 << 16, 65536},
        {"halfway 45..46", (45 << 16) + 32768, 46341 + ((47143 - 46341) * 32768 >> 16)},
        {"just below 1", 65535, 1143},
        {"between 359 and 360 interpolates towards entry 0", (359 << 16) + 32768, -572},
        {"-90 is a full turn below 270", -(90 << 16), -65536},
        {"most negative angle stays in the table", std::numeric_limits<jint>::min(), M::sinFixed(std::numeric_limits<jint>::min() % (360 << 16) + (360 << 16))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(M::sinFixed(c.angle), c.value);
    }
    EXPECT_EQ(M::sineTableEntry(45), 46341);
    EXPECT_EQ(M::sineTableEntry(46), 47143);
    for (jint degrees = 0; degrees < 360; ++degrees)
        ASSERT_NEAR(M::sinFixed(degrees << 16), std::sin(degrees * M_PI / 180.0) * 65536.0, 0.5) << degrees;
}

TEST(FixedMathTest, ArcFunctionsFollowTheirPolynomials) {
    // Exact values at the ends of the polynomials.
    EXPECT_EQ(M::atanFixed(0), 0);
    EXPECT_EQ(M::atanFixed(65536), 51472);
    EXPECT_EQ(M::acosFixed(0), 102939);
    EXPECT_EQ(M::acosFixed(65536), 0);
    EXPECT_EQ(M::asinFixed(65536), 102943);
    EXPECT_EQ(M::asinFixed(0), 4);
    EXPECT_NEAR(M::atanFixed(std::numeric_limits<jint>::min()), -102943, 2);
    // And close to the true functions in between (radians in 16.16).
    for (double v : {-3.0, -1.0, -0.5, 0.25, 0.5, 0.75, 1.5, 4.0, 100.0}) {
        SCOPED_TRACE(v);
        EXPECT_NEAR(M::atanFixed(static_cast<jint>(v * 65536)), std::atan(v) * 65536.0, 8.0);
    }
    for (double v : {0.1, 0.3, 0.5, 0.7, 0.9, 0.99}) {
        SCOPED_TRACE(v);
        EXPECT_NEAR(M::acosFixed(static_cast<jint>(v * 65536)), std::acos(v) * 65536.0, 16.0);
        EXPECT_NEAR(M::asinFixed(static_cast<jint>(v * 65536)), std::asin(v) * 65536.0, 16.0);
    }
}

}  // namespace
