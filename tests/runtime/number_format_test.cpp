// Number texts and parsing: the phone's atoi/atof/printf results, pinned so that no machine's C
// library changes them (overflow wraps, NaN and infinity texts are ours).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "runtime/number_format.h"

namespace {

TEST(NumberFormatTest, ParseIntIsAtoiWrappingModuloTwoToThe32) {
    struct Case {
        const char* text;
        jint value;
    };
    const Case cases[] = {
        {"  -12abc", -12},
        {"abc", 0},
        {"", 0},
        {"+7", 7},
        {"\t\n\v\f\r 42", 42},
        {"- 5", 0},
        {"0x1F", 0},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<jint>::min()},
        {"2147483648", std::numeric_limits<jint>::min()},
        {"5000000000", 705032704},
        {"99999999999999999999", 1661992959},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(NumberFormat::parseInt(c.text), c.value);
    }
    EXPECT_EQ(NumberFormat::parseInt(nullptr), 0);
}

TEST(NumberFormatTest, IntTextsAreRightAtEveryDigitCountInBothWidths) {
    // Each power of ten and the value below it, both signs, and the two ends of the range.
    std::vector<jint> values{0, std::numeric_limits<jint>::max(), std::numeric_limits<jint>::min()};
    for (jint p = 1; p <= 1000000000; p *= 10) {
        for (jint v : {p, p - 1, p + 1}) values.insert(values.end(), {v, -v});
        if (p == 1000000000) break;
    }
    for (jint v : values) {
        SCOPED_TRACE(v);
        const std::string expected = std::to_string(v);
        char narrow[NumberFormat::kMaxText];
        EXPECT_EQ(std::string(narrow, NumberFormat::formatInt(narrow, v)), expected);
        ASSERT_EQ(NumberFormat::intTextLength(v), expected.size());
        // One unit of room on either side must stay untouched.
        std::vector<jchar> units(NumberFormat::kMaxIntUnits + 2, 0xFFFF);
        NumberFormat::formatIntUnits(units.data() + 1, v, expected.size());
        EXPECT_EQ(std::u16string(units.begin() + 1, units.begin() + 1 + static_cast<long>(expected.size())),
                  std::u16string(expected.begin(), expected.end()));
        EXPECT_EQ(units[0], 0xFFFF);
        EXPECT_EQ(units[expected.size() + 1], 0xFFFF);
    }
}

TEST(NumberFormatTest, ParseDoubleReadsOnlyDecimalNumbers) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"1.5", 1.5},       {"  -2.25e2x", -225.0}, {".5", 0.5},    {"5.", 5.0},      {"1e", 1.0},
        {"12abc", 12.0},    {"abc", 0.0},           {"", 0.0},      {"nan", 0.0},     {"inf", 0.0},
        {"0x10", 0.0},      {"1e400", kInf},        {"-1e400", -kInf}, {"1e-400", 0.0}, {"0.1", 0.1},
        {"0.000e999999999", 0.0}, {"123456789012345678901234567890", 1.2345678901234568e29},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(NumberFormat::parseDouble(c.text), c.value);
    }
}

TEST(NumberFormatTest, FormatsEachTextExactly) {
    using Format = std::function<size_t(char*)>;
    struct Case {
        const char* what;
        Format format;
        std::string text;
    };
    const Case cases[] = {
        {"hex -1", [](char* o) { return NumberFormat::formatHex(o, -1); }, "ffffffff"},
        {"hex 255", [](char* o) { return NumberFormat::formatHex(o, 255); }, "ff"},
        {"hex 0", [](char* o) { return NumberFormat::formatHex(o, 0); }, "0"},
        {"binary 5", [](char* o) { return NumberFormat::formatBinary(o, 5); }, "101"},
        {"binary 0", [](char* o) { return NumberFormat::formatBinary(o, 0); }, ""},
        {"binary min", [](char* o) { return NumberFormat::formatBinary(o, std::numeric_limits<jint>::min()); },
         "1" + std::string(31, '0')},
        {"int min", [](char* o) { return NumberFormat::formatInt(o, std::numeric_limits<jint>::min()); }, "-2147483648"},
        {"int 0", [](char* o) { return NumberFormat::formatInt(o, 0); }, "0"},
        {"long min", [](char* o) { return NumberFormat::formatLong(o, std::numeric_limits<jlong>::min()); },
         "-9223372036854775808"},
        {"long", [](char* o) { return NumberFormat::formatLong(o, -9000000000LL); }, "-9000000000"},
        {"double", [](char* o) { return NumberFormat::formatDouble(o, 2.5); }, "2.500000"},
        {"double rounding up", [](char* o) { return NumberFormat::formatDouble(o, 0.0000005000001); }, "0.000001"},
        {"exact tie rounds to even", [](char* o) { return NumberFormat::formatDouble(o, 0.0078125); }, "0.007812"},
        {"float widened", [](char* o) { return NumberFormat::formatFloat(o, 0.1f); }, "0.100000"},
        {"NaN of either sign", [](char* o) { return NumberFormat::formatDouble(o, -std::nan("")); }, "NaN"},
        {"infinity", [](char* o) { return NumberFormat::formatDouble(o, std::numeric_limits<double>::infinity()); },
         "Infinity"},
        {"negative infinity",
         [](char* o) { return NumberFormat::formatFloat(o, -std::numeric_limits<float>::infinity()); }, "-Infinity"},
        {"largest double", [](char* o) { return NumberFormat::formatDouble(o, -std::numeric_limits<double>::max()); },
         "-179769313486231570814527423731704356798070567525844996598917476803157260780028538760589558632766878171540458953514382464234321326889464182768467546703537516986049910576551282076245490090389328944075868508455133942304583236903222948165808559332123348274797826204144723168738177180919299881250404026184124858368.000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        char out[NumberFormat::kMaxText];
        EXPECT_EQ(std::string(out, c.format(out)), c.text);
    }
}

}  // namespace
