// Number texts and number parsing for String, StringBuffer and the wrapper classes. Every result is
// defined by this file alone (no C-library overflow or locale behaviour): parsing wraps modulo 2^32
// as the phone's C runtime did, and the NaN and infinity texts are fixed here.
#pragma once

#include <cstddef>

#include "runtime/jtypes.h"

namespace NumberFormat {

// Room for any text below: "%f" of the largest double is 309 digits, the point and six decimals.
inline constexpr size_t kMaxText = 330;

// Each writes the text into `out` (at least kMaxText bytes, not NUL-terminated) and answers its
// length in bytes.
size_t formatInt(char* out, jint value);                 // "%d"
// "%d" straight into 16-bit units, so StringBuffer and String need no narrow text in between:
// intTextLength units (at most kMaxIntUnits) written at out by formatIntUnits.
inline constexpr size_t kMaxIntUnits = 11;
[[nodiscard]] size_t intTextLength(jint value);
void formatIntUnits(jchar* out, jint value, size_t length);
size_t formatLong(char* out, jlong value);               // the whole signed 64-bit value
size_t formatHex(char* out, jint value);                 // "%x" of the unsigned 32-bit value
size_t formatBinary(char* out, jint value);              // binary digits, none for 0
size_t formatDouble(char* out, jdouble value);           // "%f": fixed, six decimals
inline size_t formatFloat(char* out, jfloat value) { return formatDouble(out, static_cast<jdouble>(value)); }

// atoi over a NUL-terminated narrow text: white space, an optional sign, decimal digits up to the
// first other character; no digits give 0. The value wraps modulo 2^32.
[[nodiscard]] jint parseInt(const char* text);
// atof over a NUL-terminated narrow text: white space, an optional sign, digits with an optional
// point and exponent; no digits give 0.0. Too large gives an infinity, too small a zero. "inf" and
// "nan" are not numbers here.
[[nodiscard]] jdouble parseDouble(const char* text);

}  // namespace NumberFormat
