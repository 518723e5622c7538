// Number texts and parsing written out by hand so that every machine gives the same text and value;
// "%f" goes through std::to_chars, which is locale-free and rounds like printf.
#include "runtime/number_format.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <system_error>

namespace {

size_t writeSigned(char* out, int64_t value) {
    // std::to_chars for integers is exact, locale-free and fast; 20 digits and a sign always fit.
    return static_cast<size_t>(std::to_chars(out, out + NumberFormat::kMaxText, value).ptr - out);
}

// "%d" by pairs of digits from a table, written back to front after counting them: the
// formatting of every int appended to a StringBuffer, so it is worth a table per unit width (one
// load and one store a pair).
template <class Unit>
constexpr std::array<Unit, 200> makeDigitPairs() {
    std::array<Unit, 200> pairs{};
    for (size_t i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<Unit>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<Unit>('0' + i % 10);
    }
    return pairs;
}
template <class Unit>
constexpr std::array<Unit, 200> kDigitPairs = makeDigitPairs<Unit>();

size_t decimalDigits(uint32_t v) {
    static constexpr uint32_t kPowersOfTen[] = {1,      10,      100,      1000,      10000,
                                                100000, 1000000, 10000000, 100000000, 1000000000};
    // bits * 1233 / 4096 is log10(2^bits) rounded down: the digits, or one fewer.
    const auto bits = static_cast<uint32_t>(32 - std::countl_zero(v | 1));
    const uint32_t below = (bits * 1233) >> 12;
    return below + (v >= kPowersOfTen[below] ? 1 : 0) + (v == 0 ? 1 : 0);
}

uint32_t magnitude(jint value) {
    // MIN_VALUE's magnitude fits once it is unsigned.
    return value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
}

// Writes the text back to front into out[0, length), length counting the sign.
template <class Unit>
void writeDecimal(Unit* out, jint value, size_t length) {
    uint32_t v = magnitude(value);
    Unit* p = out + length;
    while (v >= 100) {
        p -= 2;
        std::memcpy(p, &kDigitPairs<Unit>[(v % 100) * 2], 2 * sizeof(Unit));
        v /= 100;
    }
    if (v >= 10) {
        p -= 2;
        std::memcpy(p, &kDigitPairs<Unit>[v * 2], 2 * sizeof(Unit));
    } else {
        *--p = static_cast<Unit>('0' + v);
    }
    if (value < 0) *--p = static_cast<Unit>('-');
}

size_t copyText(char* out, const char* text) {
    const size_t n = std::strlen(text);
    std::memcpy(out, text, n);
    return n;
}

// The C locale's isspace, whatever the process locale is.
bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

namespace NumberFormat {

size_t intTextLength(jint value) { return decimalDigits(magnitude(value)) + (value < 0 ? 1 : 0); }

size_t formatInt(char* out, jint value) {
    const size_t length = intTextLength(value);
    writeDecimal(out, value, length);
    return length;
}

void formatIntUnits(jchar* out, jint value, size_t length) { writeDecimal(out, value, length); }

size_t formatLong(char* out, jlong value) { return writeSigned(out, value); }

size_t formatHex(char* out, jint value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    auto bits = static_cast<uint32_t>(value);
    size_t n = 0;
    char reversed[8];
    do {
        reversed[n++] = kDigits[bits & 15];
        bits >>= 4;
    } while (bits != 0);
    for (size_t i = 0; i < n; ++i) out[i] = reversed[n - 1 - i];
    return n;
}

size_t formatBinary(char* out, jint value) {
    const auto bits = static_cast<uint32_t>(value);
    size_t n = 0;
    bool started = false;
    for (int k = 31; k >= 0; --k) {
        const bool one = ((bits >> k) & 1u) != 0;
        started = started || one;
        if (started) out[n++] = one ? '1' : '0';
    }
    return n;
}

size_t formatDouble(char* out, jdouble value) {
    // printf's texts for these depend on the C library; ours are fixed.
    if (std::isnan(value)) return copyText(out, "NaN");
    if (std::isinf(value)) return copyText(out, value > 0 ? "Infinity" : "-Infinity");
    const auto result = std::to_chars(out, out + kMaxText, value, std::chars_format::fixed, 6);
    return result.ec == std::errc() ? static_cast<size_t>(result.ptr - out) : copyText(out, "0.000000");
}

jint parseInt(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (isSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    uint32_t total = 0;
    while (isDigit(*p)) total = total * 10u + static_cast<uint32_t>(*p++ - '0');
    return static_cast<jint>(negative ? 0u - total : total);
}

jdouble parseDouble(const char* text) {
    if (!text) return 0.0;
    const char* p = text;
    while (isSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    const char* start = p;
    // Scan the shape ourselves: digits, point, digits, exponent. The decimal exponent of the first
    // significant digit decides between infinity and zero when the value is out of range.
    long magnitude = 0;
    bool significant = false;
    bool anyDigit = false;
    while (isDigit(*p)) {
        anyDigit = true;
        significant = significant || *p != '0';
        if (significant) ++magnitude;
        ++p;
    }
    if (*p == '.') {
        ++p;
        while (isDigit(*p)) {
            anyDigit = true;
            if (!significant) {
                if (*p != '0') significant = true;
                else --magnitude;
            }
            ++p;
        }
    }
    if (!anyDigit) return 0.0;
    const char* end = p;
    long exponent = 0;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        bool expNegative = false;
        if (*q == '+' || *q == '-') expNegative = *q++ == '-';
        if (isDigit(*q)) {
            while (isDigit(*q)) {
                if (exponent < 100000) exponent = exponent * 10 + (*q - '0');
                ++q;
            }
            if (expNegative) exponent = -exponent;
            end = q;
        }
    }
    double value = 0.0;
    const auto result = std::from_chars(start, end, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        value = significant && magnitude + exponent > 0 ? HUGE_VAL : 0.0;
    else if (result.ec != std::errc())
        value = 0.0;
    return negative ? -value : value;
}

}  // namespace NumberFormat
