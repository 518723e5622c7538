// Number and placeholder formatting. Every result starts from the empty literal and is built through
// a StringBuffer; a missing text or parameter reads as the empty text, so no result is ever null
// while memory lasts.
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/string.h"
#include "runtime/string_buffer.h"

namespace {

constexpr jint kStartLiteral = 1;       // the empty text every result starts from
constexpr jint kOneZero = 13;           // fill before a block below 100, and before seconds below 10
constexpr jint kTwoZeros = 213;         // fill before a block below 10
constexpr jint kComma = 193, kDot = 194, kSpace = 195;
constexpr jint kUnderAMinute = 189;     // the time row before the seconds under a minute
constexpr jint kMinutesSeparator = 190;
constexpr jint kNoSeparator = -1;

String* lit(jint index) { return Runtime::ldcString(index); }

StringBuffer* newBuffer(String* start) {
    auto* buffer = new StringBuffer();
    BX_RETURN_IF_NULL(buffer, nullptr);
    buffer->initFromString(start);
    return buffer;
}

// Appends s, a null one as nothing.
void append(StringBuffer* buffer, String* s) {
    if (s) buffer->appendString(s);
}

// The separator literal of a language for n (n is at least 1000); kStartLiteral where the language
// writes none below 10000, kNoSeparator where it writes none at all.
jint separatorOf(jint n, jint language) {
    switch (language) {
        case 0: case 7: case 8: case 9: return kComma;
        case 1: case 5: return kDot;
        case 3: case 12: case 13: return kSpace;
        case 2: case 4: case 6: case 10: return n >= 10000 ? kSpace : kStartLiteral;
        case 11: case 14: return n >= 10000 ? kDot : kStartLiteral;
        default: return kNoSeparator;
    }
}

// The start literal followed by n in decimal.
String* plain(jint n) {
    StringBuffer* buffer = newBuffer(lit(kStartLiteral));
    BX_RETURN_IF_NULL(buffer, nullptr);
    buffer->appendInt(n);
    return buffer->toString();
}

}  // namespace

String* cGame::formatThousands(jint n) {
    if (n < 1000) return plain(n);
    String* digits = String::valueOfInt(n);
    BX_RETURN_IF_NULL(digits, nullptr);
    auto* buffer = newBuffer(lit(kStartLiteral));
    BX_RETURN_IF_NULL(buffer, nullptr);
    buffer->appendInt(n / 1000);
    append(buffer, lit(kComma));
    append(buffer, digits->substringFrom(digits->length() - 3));
    return buffer->toString();
}

String* cGame::formatNumber(jint n, jint language) {
    if (n < 1000) return plain(n);
    const jint separator = separatorOf(n, language);
    if (separator == kNoSeparator) return plain(n);
    // Blocks of three go in front, so the start literal ends up last.
    StringBuffer* result = newBuffer(lit(kStartLiteral));
    BX_RETURN_IF_NULL(result, nullptr);
    while (n >= 1000) {
        const jint block = n % 1000;
        result->insertInt(0, block);
        if (block < 10) {
            result->insertString(0, lit(kTwoZeros));
        } else if (block < 100) {
            result->insertString(0, lit(kOneZero));
        }
        result->insertString(0, lit(separator));
        n /= 1000;
    }
    result->insertInt(0, n);
    return result->toString();
}

String* cGame::formatText(String* text, ObjectArray* params) {
    if (!text) return lit(kStartLiteral);
    if (text->indexOf('%') < 0) return text;
    StringBuffer* result = newBuffer(lit(kStartLiteral));
    BX_RETURN_IF_NULL(result, nullptr);
    const jint length = text->length();
    const jint given = params ? params->length : 0;
    jint unreplaced = 0;
    for (jint p = 0;;) {
        const jint i = text->indexOf('%', p);
        if (i < 0 || i >= length - 1) break;
        const jchar digit = i + 2 < length ? text->charAt(i + 2) : 0;
        const jint d = digit - '0';
        // A placeholder whose parameter was not given stays as it is.
        if (text->charAt(i + 1) == 's' && d >= 0 && d <= 9 && d < given) {
            append(result, text->substring(unreplaced, i));
            if (Object* param = params->get(d)) result->appendObject(param);
            unreplaced = p = i + 3;
        } else {
            p = i + 1;
        }
    }
    append(result, text->substringFrom(unreplaced));
    return result->toString();
}

String* cGame::formatText1(String* text, String* param) {
    ObjectArray* params = Runtime::newObjectArray(CID_String, 1);
    BX_RETURN_IF_NULL(params, nullptr);
    params->set(0, param);
    return formatText(text, params);
}

String* cGame::formatTime(jint seconds) {
    StringBuffer* buffer = newBuffer(lit(kStartLiteral));
    BX_RETURN_IF_NULL(buffer, nullptr);
    if (seconds >= 60) {
        buffer->appendInt(seconds / 60);
        append(buffer, lit(kMinutesSeparator));
    } else {
        append(buffer, lit(kUnderAMinute));
    }
    const jint rest = seconds % 60;
    if (rest < 10) append(buffer, lit(kOneZero));
    buffer->appendInt(rest);
    return buffer->toString();
}
