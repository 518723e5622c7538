// The 16.16 fixed-point half of java_lang_Math: integer square root, table sine, polynomial arc
// functions. Products are taken in 64 bits and shifted right arithmetically (floor), as the phone did.
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "runtime/math_natives.h"

namespace {

constexpr jint kFullTurn = 360 << 16;
constexpr jint kHalfPi = 102943;
constexpr jint kPi = 205887;

const std::array<jint, 360>& sineTable() {
    static const std::array<jint, 360> table = [] {
        std::array<jint, 360> t{};
        const double degree = std::acos(-1.0) / 180.0;
        for (int i = 0; i < 360; ++i) t[static_cast<size_t>(i)] = static_cast<jint>(std::lround(std::sin(i * degree) * 65536.0));
        return t;
    }();
    return table;
}

// (a * b) >> 16 with a 64-bit product.
jint mulFixed(jlong a, jlong b) { return static_cast<jint>((a * b) >> 16); }

// floor(sqrt(v)) of a 64-bit value.
jint isqrt64(uint64_t v) {
    uint64_t root = 0;
    for (int k = 31; k >= 0; --k) {
        const uint64_t trial = root | (1ull << k);
        if (trial * trial <= v) root = trial;
    }
    return static_cast<jint>(root);
}

}  // namespace

jint java_lang_Math::isqrt(jint x) {
    jint root = 0;
    jint rem = x;
    for (int k = 15; k >= 0; --k) {
        const jint trial = jt::shl(jt::add(jt::mul(2, root), jint{1} << k), k);
        if (rem >= trial) {
            root += jint{1} << k;
            rem = jt::sub(rem, trial);
        }
    }
    return root;
}

jint java_lang_Math::sineTableEntry(jint degrees) {
    return degrees >= 0 && degrees < 360 ? sineTable()[static_cast<size_t>(degrees)] : 0;
}

jint java_lang_Math::sinFixed(jint a) {
    // A negative angle is brought into 0..360 by a full turn (negating it would flip the sine).
    jint r = a % kFullTurn;
    if (r < 0) r += kFullTurn;
    const jint i = r >> 16;
    const jint f = r & 0xFFFF;
    const jint j = i + 1 > 359 ? 0 : i + 1;
    const auto& t = sineTable();
    const jint ti = t[static_cast<size_t>(i)];
    const jint tj = t[static_cast<size_t>(j)];
    return ti + mulFixed(static_cast<jlong>(tj) - ti, f);
}

jint java_lang_Math::atanFixed(jint x) {
    // The polynomial holds for |x| <= 1 only; atan is odd, so large negative x mirror large positive.
    if (x < -65536) return -atanFixed(x == std::numeric_limits<jint>::min() ? std::numeric_limits<jint>::max() : -x);
    if (x > 65536) return kHalfPi - atanFixed(static_cast<jint>((jlong{1} << 32) / x));
    const jlong t = mulFixed(x, x);
    // P(t) = 65527 - 21646 t + 11805 t^2 - 5579 t^3 + 1365 t^4, Horner form.
    jlong p = mulFixed(1365, t);
    p = mulFixed(-5579 + p, t);
    p = mulFixed(11805 + p, t);
    p = mulFixed(-21646 + p, t);
    p = 65527 + p;
    return mulFixed(x, p);
}

jint java_lang_Math::acosFixed(jint x) {
    if (x < 0) return kPi - acosFixed(x < -65536 ? 65536 : -x);
    if (x > 65536) x = 65536;
    const jint root = isqrt64(static_cast<uint64_t>(65536 - x) << 16);
    // Q(x) = 102939 - 13901 x + 4866 x^2 - 1228 x^3, Horner form.
    jlong q = mulFixed(-1228, x);
    q = mulFixed(4866 + q, x);
    q = mulFixed(-13901 + q, x);
    q = 102939 + q;
    return mulFixed(root, q);
}

jint java_lang_Math::asinFixed(jint x) { return kHalfPi - acosFixed(x); }
