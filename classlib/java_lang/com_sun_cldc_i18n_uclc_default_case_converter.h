// com_sun_cldc_i18n_uclc_DefaultCaseConverter (class id 14): Latin-1 case and digit rules, static
// functions only. The ranges are the phone's: 223 (sharp s) and 255 count as lower case, so
// toUpperCase(223) is 191 and toUpperCase(255) is 223.
#pragma once

#include "runtime/jtypes.h"

struct com_sun_cldc_i18n_uclc_DefaultCaseConverter {
    // 97..122, 223..246, 248..255.
    [[nodiscard]] static bool isLowerCase(jchar c);
    // 65..90, 192..214, 216..222.
    [[nodiscard]] static bool isUpperCase(jchar c);
    [[nodiscard]] static jchar toLowerCase(jchar c);
    [[nodiscard]] static jchar toUpperCase(jchar c);
    // 48..57.
    [[nodiscard]] static bool isDigit(jchar c);
    // -1 unless radix is 2..36; digits count 0..9, every letter of the ranges above (c & 31) + 9.
    [[nodiscard]] static jint digit(jchar c, jint radix);
};
