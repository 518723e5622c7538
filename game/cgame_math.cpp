// cGame's fixed-point toolkit: 8.8 values, table trigonometry on angles of 256 units per turn, the
// arc tangent by octant, segment intersection with 64-bit cross products, the game's random numbers
// and little-endian byte-array access. Integer work only; nothing allocates after the arc tangent
// table exists, nothing raises.
#include <cstdint>
#include <limits>

#include "classlib/java_util/java_util_random.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"

jint cGameMath::s_angleUnitsPerTurn = 256;
jint cGameMath::s_angleQuarter = 64;
jint cGameMath::s_angleHalf = 128;
jint cGameMath::s_angleThreeQuarters = 192;
jint cGameMath::s_angleFullTurn = 256;
IntArray* cGameMath::s_cosTable = nullptr;
IntArray* cGameMath::s_atanTable = nullptr;
java_util_Random* cGameMath::s_random = nullptr;
jint cGameMath::s_intersectX = 0;
jint cGameMath::s_intersectY = 0;

namespace {

// The 8.8 one as a static, kept with the toolkit; nothing reads it.
jint g_fixedOne = 256;

const StaticRefRegistration kStatics(CID_cGame, &cGame::s_cosTable, &cGame::s_atanTable, &cGame::s_random);

constexpr jint kLargestInt = std::numeric_limits<jint>::max();
constexpr jint kAtanEntries = 257;

// The table entry of an angle 0..64; a table cut short reads 0 there (logged by the array).
jint cosEntry(jint i) {
    BX_RETURN_IF_NULL(cGame::s_cosTable, 0);
    return cGame::s_cosTable->get(i);
}

// 256 * small / large of two magnitudes with small <= large, large > 0: an index 0..256. Taken in
// 64 bits, so vectors beyond 2^23 never wrap into a wrong or negative index.
jint ratioIndex(jlong small, jlong large) { return static_cast<jint>((small << 8) / large); }

IntArray* atanTable() {
    if (!cGame::s_atanTable) {
        IntArray* table = Runtime::newIntArray(kAtanEntries);
        BX_RETURN_IF_NULL(table, nullptr);
        for (jint i = 0; i < kAtanEntries; ++i) table->elements()[i] = cGame::atanOfRatio(256, i);
        cGame::s_atanTable = table;
    }
    return cGame::s_atanTable;
}

// The four edge tests of one axis (step 1 of the intersection): true when the boxes are apart.
bool apartOnAxis(jint a1, jint a2, jint b3, jint b4, jint bDelta) {
    const jint lo = a1 < a2 ? a1 : a2;
    const jint hi = a1 < a2 ? a2 : a1;
    if (bDelta > 0) return hi < b4 || b3 < lo;
    return hi < b3 || b4 < lo;
}

// Apart when the parameter numerator n lies outside [0, f] (or [f, 0] when f <= 0).
bool outsideParameter(jlong n, jlong f) { return f > 0 ? (n < 0 || n > f) : (n > 0 || n < f); }

// num / f rounded half away from zero, in 64 bits.
jlong roundedQuotient(jlong num, jlong f) {
    const jlong offset = cGame::sameSignLong(num, f) ? (f >> 1) : (jt::neg(f) >> 1);
    return jt::div(jt::add(num, offset), f);
}

}  // namespace

jint cGame::cos(jint angle) {
    const jint a = (angle < 0 ? jt::neg(angle) : angle) & 255;
    if (a <= 64) return cosEntry(a);
    if (a < 128) return jt::neg(cosEntry(128 - a));
    if (a <= 192) return jt::neg(cosEntry(a - 128));
    return cosEntry(256 - a);
}

jint cGame::tan(jint angle) {
    const jint c = cos(angle);
    if (c == 0) return kLargestInt;
    return jt::div(jt::shl(cos(jt::sub(64, angle)), 8), c);
}

jint cGame::cosDeg(jint degrees) { return cos(jt::div(jt::mul(degrees, 256), 360)); }

jint cGame::sinDeg(jint degrees) { return cos(jt::sub(64, jt::div(jt::mul(degrees, 256), 360))); }

jint cGame::atanSearch(jint from, jint to, jint ratio) {
    for (jint a = from; a < to; ++a) {
        if (tan(a) <= ratio && ratio < tan(a + 1)) return a;
    }
    if (from == 64 || to == 64) return 64;
    if (from == 192 || to == 192) return 192;
    return 0;
}

jint cGame::atanOfRatio(jint x, jint y) {
    if (x == 0) return y > 0 ? 64 : (y < 0 ? 192 : 0);
    if (y == 0) return x > 0 ? 0 : 128;
    const jint r = jt::div(jt::mul(256, y), x);
    if (x > 0) return y > 0 ? atanSearch(0, 64, r) : atanSearch(192, 256, r);
    return y > 0 ? atanSearch(64, 128, r) : atanSearch(128, 192, r);
}

jint cGame::atan2(jint x, jint y) {
    if (x == 0) return y > 0 ? 64 : (y < 0 ? 192 : 0);
    IntArray* table = atanTable();
    if (!table) return 0;
    const jint* t = table->elements();
    // Magnitudes in 64 bits: the negation of the smallest int has no 32-bit value.
    const jlong ax = x < 0 ? -static_cast<jlong>(x) : x;
    const jlong ay = y < 0 ? -static_cast<jlong>(y) : y;
    if (x > 0 && y >= 0) return ax >= ay ? t[ratioIndex(ay, ax)] : 64 - t[ratioIndex(ax, ay)];
    if (x > 0) return ax >= ay ? 256 - t[ratioIndex(ay, ax)] : 192 + t[ratioIndex(ax, ay)];
    if (y >= 0) return ax >= ay ? 128 - t[ratioIndex(ay, ax)] : 64 + t[ratioIndex(ax, ay)];
    return ax >= ay ? 128 + t[ratioIndex(ay, ax)] : 192 - t[ratioIndex(ax, ay)];
}

jint cGame::segmentsIntersect(jint x1, jint y1, jint x2, jint y2, jint x3, jint y3, jint x4, jint y4) {
    const jint ax = jt::sub(x2, x1);
    const jint bx = jt::sub(x3, x4);
    if (apartOnAxis(x1, x2, x3, x4, bx)) return 0;
    const jint ay = jt::sub(y2, y1);
    const jint by = jt::sub(y3, y4);
    if (apartOnAxis(y1, y2, y3, y4, by)) return 0;
    const jlong cx = jt::sub(x1, x3);
    const jlong cy = jt::sub(y1, y3);
    const jlong d = jt::sub(jt::mul(jlong{by}, cx), jt::mul(jlong{bx}, cy));
    const jlong f = jt::sub(jt::mul(jlong{ay}, jlong{bx}), jt::mul(jlong{ax}, jlong{by}));
    if (outsideParameter(d, f)) return 0;
    const jlong e = jt::sub(jt::mul(jlong{ax}, cy), jt::mul(jlong{ay}, cx));
    if (outsideParameter(e, f)) return 0;
    if (f == 0) return -1;
    s_intersectX = jt::add(x1, jt::l2i(roundedQuotient(jt::mul(d, jlong{ax}), f)));
    s_intersectY = jt::add(y1, jt::l2i(roundedQuotient(jt::mul(d, jlong{ay}), f)));
    return 1;
}

jint cGame::getRandom(jint min, jint max) {
    if (max == min) return min;
    BX_RETURN_IF_NULL(s_random, min);
    const jint r = s_random->nextInt();
    // Magnitudes taken unsigned: the smallest int keeps its magnitude 2^31 and a span of 2^31 or
    // more stays positive, so the result always lies in [min, max).
    const uint64_t magnitude = r < 0 ? 0ull - static_cast<uint64_t>(static_cast<jlong>(r)) : static_cast<uint64_t>(r);
    const jlong span = static_cast<jlong>(max) - min;
    const uint64_t width = static_cast<uint64_t>(span < 0 ? -span : span);
    return jt::add(min, static_cast<jint>(magnitude % width));
}

void cGame::setRandomSeed(jlong seed) {
    if (s_random) {
        s_random->setSeed(seed);
        return;
    }
    s_random = Runtime::make<java_util_Random>(seed);
}

jint cGame::fixedMul(jint a, jint b) { return jt::l2i(jt::add(jt::mul(jlong{a}, jlong{b}), jlong{128}) >> 8); }

jint cGame::fixedDiv(jint a, jint b) { return jt::l2i(jt::add(jt::div(jt::shl(jlong{a}, 9), jlong{b}), jlong{1}) >> 1); }

jint cGame::log2Floor(jint v) {
    jint k = 0;
    while (k < 31 && (v >> (k + 1)) >= 1) ++k;
    return v < 2 ? 0 : k;
}

bool cGame::rectsOverlap(jint ax0, jint ay0, jint ax1, jint ay1, jint bx0, jint by0, jint bx1, jint by1) {
    return ax1 >= bx0 && ax0 <= bx1 && ay1 >= by0 && ay0 <= by1;
}

jint cGame::putByte(ByteArray* a, jint off, jint v) {
    BX_RETURN_IF_NULL(a, jt::add(off, 1));
    a->set(off, jt::i2b(v));
    return jt::add(off, 1);
}

jint cGame::putShortLE(ByteArray* a, jint off, jint v) {
    putByte(a, off, v);
    return putByte(a, jt::add(off, 1), v >> 8);
}

jint cGame::putIntLE(ByteArray* a, jint off, jint v) {
    for (jint i = 0; i < 4; ++i) off = putByte(a, off, v >> (8 * i));
    return off;
}

jint cGame::getByte(ByteArray* a, jint off) {
    BX_RETURN_IF_NULL(a, 0);
    return a->get(off);
}

jint cGame::getShortLE(ByteArray* a, jint off) { return (getByte(a, off) & 0xFF) + getByte(a, jt::add(off, 1)) * 256; }

jint cGame::getIntLE(ByteArray* a, jint off) {
    uint32_t v = 0;
    for (jint i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint32_t>(getByte(a, jt::add(off, i)) & 0xFF);
    return static_cast<jint>(v);
}

namespace {

const StaticStartValues kStartValues(&g_fixedOne, &cGameMath::s_angleUnitsPerTurn,
                                     &cGameMath::s_angleQuarter, &cGameMath::s_angleHalf,
                                     &cGameMath::s_angleThreeQuarters, &cGameMath::s_angleFullTurn,
                                     &cGameMath::s_cosTable, &cGameMath::s_atanTable, &cGameMath::s_random,
                                     &cGameMath::s_intersectX, &cGameMath::s_intersectY);

}  // namespace

void cGameMath::resetStatics() { kStartValues.restore(); }
