// Java arithmetic on C++ types: ints wrap, shift counts are masked, '/' and '%' truncate and
// MIN / -1 wraps, float -> integral saturates with NaN -> 0. Nothing here has undefined behaviour.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

using jint = int32_t;
using jlong = int64_t;
using jshort = int16_t;
using jbyte = int8_t;
using jchar = uint16_t;
using jboolean = uint8_t;
using jfloat = float;
using jdouble = double;

namespace jt {

[[nodiscard]] constexpr jint add(jint a, jint b) { return static_cast<jint>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }
[[nodiscard]] constexpr jint sub(jint a, jint b) { return static_cast<jint>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b)); }
[[nodiscard]] constexpr jint mul(jint a, jint b) { return static_cast<jint>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b)); }
[[nodiscard]] constexpr jint neg(jint a) { return static_cast<jint>(0u - static_cast<uint32_t>(a)); }
[[nodiscard]] constexpr jlong add(jlong a, jlong b) { return static_cast<jlong>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b)); }
[[nodiscard]] constexpr jlong sub(jlong a, jlong b) { return static_cast<jlong>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b)); }
[[nodiscard]] constexpr jlong mul(jlong a, jlong b) { return static_cast<jlong>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b)); }
[[nodiscard]] constexpr jlong neg(jlong a) { return static_cast<jlong>(0ull - static_cast<uint64_t>(a)); }

// Division by zero is the caller's business (compiled code raises ArithmeticException first);
// here it answers 0 rather than trapping.
[[nodiscard]] constexpr jint div(jint a, jint b) {
    if (b == 0) return 0;
    if (b == -1) return neg(a);
    return a / b;
}
[[nodiscard]] constexpr jint rem(jint a, jint b) {
    if (b == 0 || b == -1) return 0;
    return a % b;
}
[[nodiscard]] constexpr jlong div(jlong a, jlong b) {
    if (b == 0) return 0;
    if (b == -1) return neg(a);
    return a / b;
}
[[nodiscard]] constexpr jlong rem(jlong a, jlong b) {
    if (b == 0 || b == -1) return 0;
    return a % b;
}

[[nodiscard]] constexpr jint shl(jint a, jint n) { return static_cast<jint>(static_cast<uint32_t>(a) << (n & 31)); }
[[nodiscard]] constexpr jint shr(jint a, jint n) { return a >> (n & 31); }  // arithmetic (C++20)
[[nodiscard]] constexpr jint ushr(jint a, jint n) { return static_cast<jint>(static_cast<uint32_t>(a) >> (n & 31)); }
[[nodiscard]] constexpr jlong shl(jlong a, jint n) { return static_cast<jlong>(static_cast<uint64_t>(a) << (n & 63)); }
[[nodiscard]] constexpr jlong shr(jlong a, jint n) { return a >> (n & 63); }
[[nodiscard]] constexpr jlong ushr(jlong a, jint n) { return static_cast<jlong>(static_cast<uint64_t>(a) >> (n & 63)); }

// Narrowing conversions (l2i, i2b, i2s, i2c) keep the low bits.
[[nodiscard]] constexpr jint l2i(jlong a) { return static_cast<jint>(static_cast<uint32_t>(static_cast<uint64_t>(a))); }
[[nodiscard]] constexpr jbyte i2b(jint a) { return static_cast<jbyte>(static_cast<uint8_t>(static_cast<uint32_t>(a))); }
[[nodiscard]] constexpr jshort i2s(jint a) { return static_cast<jshort>(static_cast<uint16_t>(static_cast<uint32_t>(a))); }
[[nodiscard]] constexpr jchar i2c(jint a) { return static_cast<jchar>(static_cast<uint32_t>(a)); }

template <class To, class From>
[[nodiscard]] constexpr To saturate(From v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<From>(std::numeric_limits<To>::max())) return std::numeric_limits<To>::max();
    if (v <= static_cast<From>(std::numeric_limits<To>::min())) return std::numeric_limits<To>::min();
    return static_cast<To>(v);
}
[[nodiscard]] inline jint f2i(jfloat v) { return saturate<jint>(v); }
[[nodiscard]] inline jint d2i(jdouble v) { return saturate<jint>(v); }
[[nodiscard]] inline jlong f2l(jfloat v) { return saturate<jlong>(v); }
[[nodiscard]] inline jlong d2l(jdouble v) { return saturate<jlong>(v); }

}  // namespace jt
