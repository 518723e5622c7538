// The Latin-1 case converter: plain range tests, kept exactly as the phone had them.
#include "classlib/java_lang/com_sun_cldc_i18n_uclc_default_case_converter.h"

using Converter = com_sun_cldc_i18n_uclc_DefaultCaseConverter;

bool Converter::isLowerCase(jchar c) { return (c >= 97 && c <= 122) || (c >= 223 && c <= 246) || (c >= 248 && c <= 255); }

bool Converter::isUpperCase(jchar c) { return (c >= 65 && c <= 90) || (c >= 192 && c <= 214) || (c >= 216 && c <= 222); }

jchar Converter::toLowerCase(jchar c) { return isUpperCase(c) ? static_cast<jchar>(c + 32) : c; }

jchar Converter::toUpperCase(jchar c) { return isLowerCase(c) ? static_cast<jchar>(c - 32) : c; }

bool Converter::isDigit(jchar c) { return c >= 48 && c <= 57; }

jint Converter::digit(jchar c, jint radix) {
    if (radix < 2 || radix > 36) return -1;
    jint v = -1;
    if (isDigit(c)) v = c - 48;
    else if (isUpperCase(c) || isLowerCase(c)) v = (c & 31) + 9;
    return v < radix ? v : -1;
}
