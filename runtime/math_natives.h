// java_lang_Math (class id 43): static natives only. min and max answer y when x is NaN or the two
// are equal, so max(1.0f, NaN) is NaN but max(NaN, 1.0f) is 1.0f; abs(MIN_VALUE) is MIN_VALUE.
// The fixed-point functions work in 16.16 (65536 = 1.0): degrees for sinFixed, radians elsewhere.
#pragma once

#include "runtime/jtypes.h"

struct java_lang_Math {
    [[nodiscard]] static jint abs(jint v);
    [[nodiscard]] static jlong abs(jlong v);
    [[nodiscard]] static jfloat abs(jfloat v);
    [[nodiscard]] static jdouble abs(jdouble v);
    [[nodiscard]] static jint max(jint x, jint y) { return x > y ? x : y; }
    [[nodiscard]] static jint min(jint x, jint y) { return x < y ? x : y; }
    [[nodiscard]] static jlong maxLong(jlong x, jlong y) { return x > y ? x : y; }
    [[nodiscard]] static jlong minLong(jlong x, jlong y) { return x < y ? x : y; }
    [[nodiscard]] static jfloat max(jfloat x, jfloat y) { return x > y ? x : y; }
    [[nodiscard]] static jfloat min(jfloat x, jfloat y) { return x < y ? x : y; }
    [[nodiscard]] static jdouble max(jdouble x, jdouble y) { return x > y ? x : y; }
    [[nodiscard]] static jdouble min(jdouble x, jdouble y) { return x < y ? x : y; }

    // The C library's double functions; float arguments are widened and results narrowed.
    [[nodiscard]] static jdouble sqrt(jdouble x);
    [[nodiscard]] static jdouble sin(jdouble x);
    [[nodiscard]] static jdouble cos(jdouble x);
    [[nodiscard]] static jfloat sqrt(jfloat x);
    [[nodiscard]] static jfloat sin(jfloat x);
    [[nodiscard]] static jfloat cos(jfloat x);
    [[nodiscard]] static jfloat asin(jfloat x);
    [[nodiscard]] static jfloat acos(jfloat x);
    [[nodiscard]] static jfloat tan(jfloat x);
    [[nodiscard]] static jfloat atan2(jfloat y, jfloat x);
    [[nodiscard]] static jfloat toRadians(jfloat x);
    // x * 180 in float, then times 1/pi in double.
    [[nodiscard]] static jfloat toDegrees(jfloat x);

    // Fixed point.
    // The integer square root of a 32-bit value, bit by bit from bit 15 down.
    [[nodiscard]] static jint isqrt(jint x);
    // Table sine of an angle in 16.16 degrees, linearly interpolated between whole degrees.
    [[nodiscard]] static jint sinFixed(jint a);
    // Polynomial for |x| <= 1, pi/2 - atan(1/x) above, mirrored for x below -1.
    [[nodiscard]] static jint atanFixed(jint x);
    // Defined for 0..65536; values outside are taken to the nearest end of -65536..65536.
    [[nodiscard]] static jint acosFixed(jint x);
    [[nodiscard]] static jint asinFixed(jint x);
    // Entry i: sin(i degrees) * 65536 rounded to the nearest integer.
    [[nodiscard]] static jint sineTableEntry(jint degrees);
};
