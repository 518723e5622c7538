// cGame's fixed-point toolkit against exact values: the table cosine and tangent, the arc tangent by
// octant (with its 256 just below +x), segment intersection, the Java LCG behind getRandom, the 8.8
// helpers at their overflow points and the little-endian byte access.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "classlib/java_util/java_util_random.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "tests/support/test_world.h"

namespace {

constexpr jint kMin = std::numeric_limits<jint>::min();
constexpr jint kMax = std::numeric_limits<jint>::max();
constexpr uint64_t kMultiplier = 0x5DEECE66DULL;
constexpr uint64_t kMask = (1ULL << 48) - 1;

class FixedMathTest : public TestWorld {
protected:
    void SetUp() override {
        TestWorld::SetUp();
        // The boot pack's table: cos(2 pi i / 256) * 256 rounded, i = 0..64.
        IntArray* table = Runtime::newIntArray(65);
        for (jint i = 0; i <= 64; ++i) table->elements()[i] = static_cast<jint>(std::lround(256.0 * std::cos(i * M_PI / 128.0)));
        cGame::s_cosTable = table;
    }
};

// The Java generator written out: the oracle for getRandom.
struct JavaLcg {
    uint64_t state;
    explicit JavaLcg(int64_t seed) : state((static_cast<uint64_t>(seed) ^ kMultiplier) & kMask) {}
    int32_t nextInt() {
        state = (state * kMultiplier + 11) & kMask;
        return static_cast<int32_t>(static_cast<uint32_t>(state >> 16));
    }
};

TEST_F(FixedMathTest, CosineAndTangentFollowTheQuarterTable) {
    struct Case {
        jint angle, cos, tan;
    };
    const Case cases[] = {
        {0, 256, 0},          {32, 181, 256},      {64, 0, kMax},        {-32, 181, -256},   {96, -181, -256},
        {128, -256, 0},       {160, -181, 256},    {192, 0, kMax},       {224, 181, -256},   {256, 256, 0},
        {256 + 32, 181, 256}, {-256 - 32, 181, -256}, {100, -198, -209}, {kMin, 256, 0},   {1, 256, 6},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cGame::cos(c.angle), c.cos) << c.angle;
        EXPECT_EQ(cGame::tan(c.angle), c.tan) << c.angle;
    }
    for (jint a = -600; a <= 600; ++a) {
        ASSERT_EQ(cGame::cos(a), cGame::cos(-a)) << a;
        ASSERT_EQ(cGame::cos(a), cGame::cos(a + 256)) << a;
        ASSERT_EQ(cGame::cos(a), -cGame::cos(128 - a)) << a;
    }
    struct Degrees {
        jint degrees, cos, sin;
    };
    const Degrees degrees[] = {{0, 256, 0}, {1, 256, 0}, {45, 181, 181}, {90, 0, 256}, {180, -256, 0}, {-90, 0, -256}, {270, 0, -256}};
    for (const Degrees& d : degrees) {
        EXPECT_EQ(cGame::cosDeg(d.degrees), d.cos) << d.degrees;
        EXPECT_EQ(cGame::sinDeg(d.degrees), d.sin) << d.degrees;
    }
}

TEST_F(FixedMathTest, ACutOrMissingCosineTableReadsZeroWithoutFaulting) {
    cGame::s_cosTable = Runtime::newIntArray(10);
    cGame::s_cosTable->elements()[0] = 256;
    EXPECT_EQ(cGame::cos(0), 256);
    EXPECT_EQ(cGame::cos(32), 0);
    EXPECT_EQ(cGame::tan(32), kMax);
    cGame::s_cosTable = nullptr;
    EXPECT_EQ(cGame::cos(5), 0);
}

TEST_F(FixedMathTest, ArcTangentByOctantWithTheQuirkBelowPlusX) {
    struct Case {
        jint x, y, angle;
    };
    const Case cases[] = {
        {0, 0, 0},       {0, 5, 64},       {0, -5, 192},      {-5, 0, 128},       {5, 0, 0},
        {5, -1, 248},    {300, -1, 256},   {10, 10, 32},      {-10, 10, 96},      {-10, -10, 160},
        {10, -10, 224},  {1, 300, 64},     {-300, 1, 128},    {-1, -300, 192},    {-300, -1, 128},
        {1, -300, 192},  {100, 1, 0},      {-1, 300, 64},
        // Beyond 2^23 the 32-bit 256 * y would wrap into a wrong or negative index.
        {0x40000000, 0x40000000, 32},      {-0x40000000, 0x40000000, 96},
        {kMin, kMin, 160},                 {kMin, 0, 128},    {0, kMin, 192},     {kMax, kMin, 223},
    };
    for (const Case& c : cases) EXPECT_EQ(cGame::atan2(c.x, c.y), c.angle) << c.x << "," << c.y;
    ASSERT_NE(cGame::s_atanTable, nullptr);
    EXPECT_EQ(cGame::s_atanTable->length, 257);
    EXPECT_EQ(cGame::s_atanTable->elements()[0], 0);
    EXPECT_EQ(cGame::s_atanTable->elements()[256], 32);
    // Every direction lands within one unit of the true angle (mod a turn).
    for (jint deg = 0; deg < 360; deg += 3) {
        const double rad = deg * M_PI / 180.0;
        const jint x = static_cast<jint>(std::lround(10000 * std::cos(rad)));
        const jint y = static_cast<jint>(std::lround(10000 * std::sin(rad)));
        const jint want = static_cast<jint>(std::lround(deg * 256.0 / 360.0));
        const jint got = cGame::atan2(x, y);
        ASSERT_GE(got, 0);
        ASSERT_LE(got, 256);
        const jint diff = ((got - want) % 256 + 256 + 128) % 256 - 128;
        EXPECT_LE(std::abs(diff), 1) << deg;
    }
}

TEST_F(FixedMathTest, AtanSearchFallsBackOnTheAxes) {
    EXPECT_EQ(cGame::atanSearch(0, 64, 1 << 30), 63);
    EXPECT_EQ(cGame::atanSearch(0, 64, kMax), 64);
    EXPECT_EQ(cGame::atanSearch(128, 192, kMax), 192);
    EXPECT_EQ(cGame::atanSearch(200, 256, kMax), 0);
    EXPECT_EQ(cGame::atanSearch(0, 64, 51), 8);
    EXPECT_EQ(cGame::atanOfRatio(256, 256), 32);
    EXPECT_EQ(cGame::atanOfRatio(-5, 0), 128);
    EXPECT_EQ(cGame::atanOfRatio(0, -5), 192);
}

TEST_F(FixedMathTest, SegmentIntersectionCases) {
    struct Case {
        jint x1, y1, x2, y2, x3, y3, x4, y4, result, x, y;
    };
    const Case cases[] = {
        {0, 0, 10, 10, 0, 10, 10, 0, 1, 5, 5},            // crossing
        {0, 0, 10, 10, 10, 10, 20, 0, 1, 10, 10},         // shared endpoint
        {0, 0, 10, 0, 3, -1, 4, 1, 1, 4, 0},              // 3.5 rounds away from zero
        {0, 0, -10, 0, -3, -1, -4, 1, 1, -4, 0},          // and -3.5 too
        {0, 0, 10, 0, 5, 0, 15, 0, -1, 0, 0},             // collinear, boxes overlap
        {0, 0, 10, 10, 1, 0, 11, 10, 0, 0, 0},            // parallel, distinct lines
        {0, 0, 1, 1, 5, 5, 6, 7, 0, 0, 0},                // boxes apart
        {0, 0, 10, 0, 5, 1, 5, 10, 0, 0, 0},              // would meet only beyond P3
        {0, 0, 4, 0, 6, -1, 6, 1, 0, 0, 0},               // lines meet past P2
        {-256000, 0, 256000, 0, 0, -256000, 0, 256000, 1, 0, 0},  // products past 32 bits
    };
    for (const Case& c : cases) {
        cGame::s_intersectX = cGame::s_intersectY = 12345;
        const jint got = cGame::segmentsIntersect(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4);
        EXPECT_EQ(got, c.result) << c.x1 << "," << c.y1 << " " << c.x3 << "," << c.y3;
        if (c.result == 1) {
            EXPECT_EQ(cGame::s_intersectX, c.x);
            EXPECT_EQ(cGame::s_intersectY, c.y);
        } else {
            EXPECT_EQ(cGame::s_intersectX, 12345);  // only a meeting writes the point
        }
    }
}

TEST_F(FixedMathTest, RandomFollowsTheJavaGenerator) {
    EXPECT_EQ(cGame::getRandom(3, 9), 3);  // nothing seeded yet: min, nothing drawn
    cGame::setRandomSeed(42);
    ASSERT_NE(cGame::s_random, nullptr);
    EXPECT_EQ(cGame::s_random->state(), (42 ^ kMultiplier) & kMask);
    JavaLcg oracle(42);
    const uint64_t before = cGame::s_random->state();
    EXPECT_EQ(cGame::getRandom(5, 5), 5);
    EXPECT_EQ(cGame::s_random->state(), before);  // min == max draws nothing
    const jint ranges[][2] = {{0, 1}, {0, 10}, {-50, 50}, {100, 1000}, {-7, -3}, {0, kMax}, {kMin + 1, 0}};
    for (int round = 0; round < 40; ++round) {
        for (const auto& range : ranges) {
            const int64_t r = oracle.nextInt();
            const int64_t want = range[0] + std::llabs(r) % (int64_t{range[1]} - range[0]);
            ASSERT_EQ(cGame::getRandom(range[0], range[1]), want) << range[0] << ".." << range[1];
        }
    }
    EXPECT_EQ(JavaLcg(42).nextInt(), -1170105035);  // new Random(42).nextInt() on a JVM
    // Re-seeding the existing generator restarts its sequence.
    java_util_Random* same = cGame::s_random;
    cGame::setRandomSeed(42);
    EXPECT_EQ(cGame::s_random, same);
    EXPECT_EQ(cGame::s_random->state(), (42 ^ kMultiplier) & kMask);
}

// Spans of 2^31 and the draw whose 32-bit value is the smallest int stay inside [min, max).
TEST_F(FixedMathTest, RandomStaysInsideItsRangeAtTheIntLimits) {
    cGame::setRandomSeed(7);
    for (int i = 0; i < 2000; ++i) {
        const jint a = cGame::getRandom(kMin, 0);
        ASSERT_LT(a, 0);
        const jint b = cGame::getRandom(-1, kMax);
        ASSERT_GE(b, -1);
        ASSERT_LT(b, kMax);
    }
    // Place the state one step before the draw 0x80000000: (next - 11) / multiplier mod 2^48.
    uint64_t inverse = 1;
    for (int i = 0; i < 6; ++i) inverse *= 2 - kMultiplier * inverse;
    const uint64_t target = 0x800000000000ULL;
    const uint64_t previous = ((target - 11) * inverse) & kMask;
    cGame::s_random->seedLow = static_cast<uint32_t>(previous);
    cGame::s_random->seedHigh = static_cast<uint32_t>(previous >> 32);
    EXPECT_EQ(cGame::getRandom(0, 10), 8);  // 2^31 mod 10, never -8
    EXPECT_EQ(cGame::s_random->state(), target);
}

TEST_F(FixedMathTest, EightEightHelpersAtTheirEdges) {
    struct Binary {
        jint a, b, mul, div;
    };
    const Binary binary[] = {
        {256, 256, 256, 256},     {384, 128, 192, 768},     {-384, 128, -192, -768},
        {256, 3, 3, 21845},       {-256, 3, -3, -21845},    {1, 512, 2, 1},
        {kMax, 256, kMax, kMax},  {65536, 65536, 1 << 24, 256},
        {0x10000000, 0x1000, 0, 1 << 24},  // the product's low 32 bits
    };
    for (const Binary& c : binary) {
        EXPECT_EQ(cGame::fixedMul(c.a, c.b), c.mul) << c.a << "*" << c.b;
        EXPECT_EQ(cGame::fixedDiv(c.a, c.b), c.div) << c.a << "/" << c.b;
    }
    const jint toInt[][2] = {{128, 1}, {127, 0}, {-128, 0}, {-129, -1}, {256 * 7, 7}, {kMax, 8388608}, {kMin, -8388608}};
    for (const auto& c : toInt) EXPECT_EQ(cGame::fixedToInt(c[0]), c[1]) << c[0];
    const jint log[][2] = {{kMin, 0}, {-5, 0}, {0, 0}, {1, 0}, {2, 1}, {3, 1}, {255, 7}, {256, 8}, {kMax, 30}};
    for (const auto& c : log) EXPECT_EQ(cGame::log2Floor(c[0]), c[1]) << c[0];
    EXPECT_TRUE(cGame::rectsOverlap(0, 0, 10, 10, 10, 10, 20, 20));  // edges inclusive
    EXPECT_FALSE(cGame::rectsOverlap(0, 0, 10, 10, 11, 0, 20, 10));
    EXPECT_FALSE(cGame::rectsOverlap(0, 0, 10, 10, 0, 11, 10, 20));
    EXPECT_TRUE(cGame::sameSign(0, 5));
    EXPECT_FALSE(cGame::sameSign(-1, 0));
    EXPECT_TRUE(cGame::sameSignLong(-1, std::numeric_limits<jlong>::min()));
}

TEST_F(FixedMathTest, LittleEndianBytesRoundTrip) {
    ByteArray* a = Runtime::newByteArray(8);
    EXPECT_EQ(cGame::putIntLE(a, 1, 1), 5);
    const std::vector<jbyte> want = {0, 1, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<jbyte>(a->elements(), a->elements() + 8), want);
    for (jint v : {0, 1, -1, kMin, kMax, 0x12345678, -0x12345678}) {
        EXPECT_EQ(cGame::putIntLE(a, 2, v), 6);
        EXPECT_EQ(cGame::getIntLE(a, 2), v);
    }
    const jint shorts[][2] = {{-2, -2}, {32767, 32767}, {32768, -32768}, {0x12345, 0x2345}, {-1, -1}};
    for (const auto& s : shorts) {
        EXPECT_EQ(cGame::putShortLE(a, 0, s[0]), 2);
        EXPECT_EQ(cGame::getShortLE(a, 0), s[1]) << s[0];
    }
    EXPECT_EQ(cGame::putByte(a, 7, 0x1FF), 8);
    EXPECT_EQ(cGame::getByte(a, 7), -1);
    // Past the end: the write is dropped, the read is 0, the offset still moves.
    EXPECT_EQ(cGame::putIntLE(a, 6, 0x01020304), 10);
    EXPECT_EQ(cGame::getByte(a, 6), 4);
    EXPECT_EQ(cGame::getByte(a, 8), 0);
}

}  // namespace
