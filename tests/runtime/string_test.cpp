// String: storage rule, hash and comparison quirks, search, derived texts, the codecs, valueOf.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "runtime/array.h"
#include "runtime/memory_manager.h"
#include "runtime/string.h"
#include "runtime/string_buffer.h"
#include "runtime_fixture.h"
#include "text_helpers.h"

namespace {

using StringTest = RuntimeTest;

TEST_F(StringTest, KeepsUpToFourteenUnitsInlineAndLongerTextsInAnOwnedNativeBlock) {
    struct Case {
        jint length;
        bool inlineStorage;
    };
    const Case cases[] = {{0, true}, {1, true}, {14, true}, {15, false}, {40, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        String* s = str(std::string(static_cast<size_t>(c.length), 'x').c_str());
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->count, c.length + 1);
        EXPECT_EQ(s->chars[c.length], 0);
        EXPECT_EQ(s->chars == s->inlineBuffer, c.inlineStorage);
        if (!c.inlineStorage) {
            EXPECT_EQ(Runtime::nativeHeap().ownerOf(s->chars), reinterpret_cast<void**>(&s->chars));
            EXPECT_GE(Runtime::nativeHeap().blockSize(s->chars), static_cast<size_t>(c.length + 1) * 2);
        }
        // The copy constructor always takes a native block.
        auto* copy = new String();
        copy->initCopy(s);
        EXPECT_NE(copy->chars, copy->inlineBuffer);
        EXPECT_EQ(Runtime::nativeHeap().ownerOf(copy->chars), reinterpret_cast<void**>(&copy->chars));
        EXPECT_TRUE(copy->equals(s));
    }
}

TEST_F(StringTest, HashRunsOverTheTerminatorToo) {
    struct Case {
        const char* text;
        jint hash;
    };
    // 31 times the usual Java hash: 'a' is 97 * 31. The longer texts wrap past 2^32.
    const Case cases[] = {{"", 0},
                          {"a", 3007},
                          {"ab", 96255},
                          {"abc", 2986974},
                          {"hello world", -217287236},
                          {"hello, world", 1615961076}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(str(c.text)->hashCode(), c.hash);
    }
}

TEST_F(StringTest, CompareToSeesTheTerminatorOfAProperPrefix) {
    struct Case {
        const char* a;
        const char* b;
        jint result;
    };
    const Case cases[] = {
        {"ab", "abc", -99}, {"abc", "ab", 99}, {"abc", "abc", 0}, {"", "a", -97},
        {"b", "a", 1},      {"abd", "abc", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        EXPECT_EQ(str(c.a)->compareTo(str(c.b)), c.result);
    }
}

TEST_F(StringTest, EqualityNeedsAStringOfTheSameUnits) {
    String* ab = str("ab");
    auto* buffer = new StringBuffer();
    buffer->initFromString(ab);
    EXPECT_FALSE(ab->equals(buffer));
    EXPECT_FALSE(ab->equals(nullptr));
    EXPECT_TRUE(ab->equals(ab));
    EXPECT_TRUE(ab->equals(str("ab")));
    EXPECT_FALSE(ab->equals(str("ab ")));

    struct Case {
        const char* text;
        const char* other;
        bool equal;
        bool equalIgnoringCase;
    };
    const Case cases[] = {
        {"UTF", "UTF8", false, false}, {"", "x", false, false},       {"", "", true, true},
        {"UTF-8", "utf-8", false, true}, {"\xE9", "\xE9", false, false},  // bytes read as signed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " vs " + c.other);
        EXPECT_EQ(str(c.text)->equalsCString(c.other), c.equal);
        EXPECT_EQ(str(c.text)->equalsIgnoreCaseCString(c.other), c.equalIgnoringCase);
    }
    EXPECT_TRUE(str("Hello")->equalsIgnoreCase(str("hELLO")));
    EXPECT_FALSE(str("Hello")->equalsIgnoreCase(str("Hell")));
}

TEST_F(StringTest, RegionsAndAffixesStayInsideBothTexts) {
    String* text = str("Hello World");
    struct Case {
        const char* what;
        bool result;
        bool expected;
    };
    const Case cases[] = {
        {"region equal", text->regionMatches(false, 6, str("World"), 0, 5), true},
        {"region case differs", text->regionMatches(false, 0, str("hello"), 0, 5), false},
        {"region ignoring case", text->regionMatches(true, 0, str("hELLO"), 0, 5), true},
        {"region past this end", text->regionMatches(false, 8, str("World"), 0, 5), false},
        {"region past other end", text->regionMatches(false, 0, str("Hel"), 0, 5), false},
        {"negative offset", text->regionMatches(false, -1, str("Hello"), 0, 0), false},
        {"empty region", text->regionMatches(false, 11, str(""), 0, 0), true},
        {"startsWith", text->startsWith(str("Hell")), true},
        {"startsWith longer", str("He")->startsWith(str("Hell")), false},
        {"startsWith null", text->startsWith(nullptr), false},
        {"startsWith empty", text->startsWith(str("")), true},
        {"startsWithAt", text->startsWithAt(str("World"), 6), true},
        {"startsWithAt running past the end", text->startsWithAt(str("Worlds"), 6), false},
        {"startsWithAt beyond", text->startsWithAt(str(""), 12), false},
        {"endsWith", text->endsWith(str("World")), true},
        {"endsWith longer", str("ld")->endsWith(str("World")), false},
        {"endsWith empty", text->endsWith(str("")), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.result, c.expected);
    }
}

TEST_F(StringTest, SearchesFindTheFirstOrLastMatchAndSeeTheTerminatorFromTheEnd) {
    String* text = str("abcabc");
    struct Case {
        const char* what;
        jint result;
        jint expected;
    };
    const Case cases[] = {
        {"indexOf", text->indexOf('b'), 1},
        {"indexOf from", text->indexOf('b', 2), 4},
        {"indexOf negative from", text->indexOf('a', -5), 0},
        {"indexOf from the end", text->indexOf('a', 6), -1},
        {"indexOf missing", text->indexOf('z'), -1},
        {"lastIndexOf", text->lastIndexOf('a'), 3},
        {"lastIndexOf from", text->lastIndexOf('a', 2), 0},
        {"lastIndexOf far beyond", text->lastIndexOf('c', 100), 5},
        {"lastIndexOf the terminator", text->lastIndexOf(0), 6},
        {"lastIndexOf negative", text->lastIndexOf('a', -1), -1},
        {"indexOfString", text->indexOfString(str("ca")), 2},
        {"indexOfString from", text->indexOfStringFrom(str("abc"), 1), 3},
        {"indexOfString one unit", text->indexOfStringFrom(str("c"), 3), 5},
        {"indexOfString empty", text->indexOfStringFrom(str(""), 4), 4},
        {"indexOfString empty at the end", text->indexOfStringFrom(str(""), 6), 6},
        {"indexOfString empty beyond", text->indexOfStringFrom(str(""), 7), -1},
        {"indexOfString longer than the text", str("ab")->indexOfString(str("abc")), -1},
        {"indexOfString missing", text->indexOfString(str("cb")), -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.result, c.expected);
    }
}

TEST_F(StringTest, LongTextsHashAndSearchUnitByUnitToo) {
    // Long texts take the wide paths: every lane, block boundary and tail must count.
    std::u16string high;
    for (int i = 0; i < 40; ++i) high += static_cast<char16_t>(i % 5 == 0 ? 0x20AC : i % 7 == 0 ? 0xFFFF : 'a' + i % 26);
    struct HashCase {
        std::u16string text;
        jint hash;
    };
    const HashCase hashes[] = {{std::u16string(15, u'x'), 1118271368},
                               {u"abcdefghijklmnop", -485740552},
                               {u"item123456:brindlex-pla", 2083614452},
                               {high, -218928948}};
    for (const auto& c : hashes) {
        SCOPED_TRACE(c.text.size());
        EXPECT_EQ(wide(c.text)->hashCode(), c.hash);
    }

    // std::u16string::find is the reference for every start.
    const std::u16string text = u"1,2,3,12,1,\uFFFF1,11,111,1,2,,1,21,1,2,3,4,5,6,7,8,9,0,1,2,1,,1";
    String* s = wide(text);
    const std::u16string needles[] = {u",1", u",1,2", u"1,2,3,4,5,6,7,8,9,0,1,2,1", u",,1", u"\uFFFF1", u"2,1,", u"9,x",
                                      u"1,2,1,,1", u"1,2,1,,1,"};
    for (const auto& needle : needles) {
        for (jint from = -1; from <= static_cast<jint>(text.size()) + 1; ++from) {
            SCOPED_TRACE(narrow(needle) + " from " + std::to_string(from));
            const size_t found = text.find(needle, static_cast<size_t>(std::max(from, 0)));
            EXPECT_EQ(s->indexOfStringFrom(wide(needle), from), found == std::u16string::npos ? -1 : static_cast<jint>(found));
        }
    }
    for (char16_t unit : {u'1', u',', u'9', u'\uFFFF', u'x'}) {
        for (jint from = -1; from <= static_cast<jint>(text.size()) + 1; ++from) {
            SCOPED_TRACE(std::to_string(unit) + " from " + std::to_string(from));
            const size_t found = text.find(unit, static_cast<size_t>(std::max(from, 0)));
            EXPECT_EQ(s->indexOf(unit, from), found == std::u16string::npos ? -1 : static_cast<jint>(found));
        }
    }
    // Only a whole unit value matches: the high bits of an int are not cut away.
    EXPECT_EQ(s->indexOf(0x10031), -1);
    EXPECT_EQ(s->indexOf(-1), -1);
}

TEST_F(StringTest, DerivedTextsAreNewExceptWhereNothingChanges) {
    String* text = str("  Mixed Case  ");
    struct Case {
        const char* what;
        String* result;
        const char* expected;
    };
    const Case cases[] = {
        {"substring", str("hamburger")->substring(4, 8), "urge"},
        {"substringFrom", str("unhappy")->substringFrom(2), "happy"},
        {"substring reversed", str("abc")->substring(2, 1), ""},
        {"substring cut to the text", str("abc")->substring(-3, 99), "abc"},
        {"concat", str("to")->concat(str("get")), "toget"},
        {"replace", str("mesquite")->replace('e', 'o'), "mosquito"},
        {"lower", text->toLowerCase(), "  mixed case  "},
        {"upper", text->toUpperCase(), "  MIXED CASE  "},
        {"upper leaves Latin-1 alone", str("\xE9")->toUpperCase(), "\xE9"},
        {"trim", str("  a b  ")->trim(), "a b"},
        {"trim of control units", str("\t\n\x01x\x1F")->trim(), "x"},
        {"trim of blanks only", str("   ")->trim(), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(narrow(c.result), c.expected);
    }
    String* abc = str("abc");
    EXPECT_EQ(abc->concat(str("")), abc);
    EXPECT_EQ(abc->replace('z', 'y'), abc);
    EXPECT_EQ(abc->replace('a', 'a'), abc);
    EXPECT_NE(abc->trim(), abc);
    EXPECT_TRUE(abc->trim()->equals(abc));
    EXPECT_NE(abc->substring(0, 3), abc);
}

TEST_F(StringTest, DecodesEachEncodingInsideTheGivenRange) {
    struct Case {
        const char* what;
        ByteArray* bytes;
        jint offset;
        jint n;
        const char* encoding;  // null: the default, ISO-8859-1
        std::u16string expected;
    };
    const Case cases[] = {
        {"UTF-8 two bytes", bytesOf({0xC3, 0xA9}), 0, 2, "UTF-8", u"\u00E9"},
        {"UTF-8 three bytes", bytesOf({0xE2, 0x82, 0xAC}), 0, 3, "utf8", u"\u20AC"},
        {"UTF-8 encoded zero", bytesOf({'a', 0xC0, 0x80, 'b'}), 0, 4, "UTF-8", std::u16string(u"a\0b", 3)},
        {"UTF-8 stray bytes skipped", bytesOf({0x80, 'a', 0xF0, 'b'}), 0, 4, "UTF-8", u"ab"},
        {"UTF-8 cut sequence", bytesOf({'a', 0xE2, 0x82}), 0, 3, "UTF-8", u"a"},
        {"UTF-8 cut by the range", bytesOf({'a', 0xC3, 0xA9}), 0, 2, "UTF-8", u"a"},
        {"SJIS double byte", bytesOf({0x82, 0xA0}), 0, 2, "SJIS", u"\u82A0"},
        {"SJIS half-width katakana", bytesOf({0xB1, 'A'}), 0, 2, "SJIS", u"\u00B1A"},
        {"SJIS cut lead byte", bytesOf({'A', 0x82}), 0, 2, "SJIS", u"A"},
        {"ISO-8859-1", bytesOf({'a', 0xE9, 0xFF}), 0, 3, "ISO-8859-1", u"a\u00E9\u00FF"},
        {"default", bytesOf({0xE9}), 0, 1, nullptr, u"\u00E9"},
        {"unknown name", bytesOf({'a'}), 0, 1, "EBCDIC", u""},
        {"range inside", bytesOf({'a', 'b', 'c', 'd'}), 1, 2, nullptr, u"bc"},
        {"range past the end", bytesOf({'a', 'b', 'c'}), 1, 50, "UTF-8", u"bc"},
        {"offset past the end", bytesOf({'a', 'b'}), 5, 1, nullptr, u""},
        {"negative count", bytesOf({'a', 'b'}), 0, -1, "SJIS", u""},
        {"negative offset", bytesOf({'a', 'b'}), -1, 2, nullptr, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto* s = new String();
        s->initFromBytesEnc(c.bytes, c.offset, c.n, c.encoding ? str(c.encoding) : nullptr);
        EXPECT_EQ(unitsOf(s), c.expected);
        EXPECT_EQ(s->chars[s->length()], 0);
    }
    auto* whole = new String();
    whole->initFromBytesAllEnc(bytesOf({0xE2, 0x82, 0xAC, '!'}), str("UTF-8"));
    EXPECT_EQ(unitsOf(whole), u"\u20AC!");
}

TEST_F(StringTest, EncodesModifiedUtf8UnitByUnit) {
    struct Case {
        std::u16string units;
        const char* bytes;
    };
    const Case cases[] = {
        {u"A", "41"},
        {std::u16string(1, u'\0'), "C0 80"},
        {u"\u00E9", "C3 A9"},
        {u"\u07FF", "DF BF"},
        {u"\u0800", "E0 A0 80"},
        {u"\u20AC", "E2 82 AC"},
        {u"\xD83D", "ED A0 BD"},  // a lone surrogate is just another unit
        {u"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        String* s = wide(c.units);
        EXPECT_EQ(hexOf(s->encodeUtf8()), c.bytes);
        EXPECT_EQ(hexOf(s->getBytesEnc(str("utf-8"))), c.bytes);
    }
    EXPECT_EQ(str("x")->getBytesEnc(str("ISO-8859-1")), nullptr);
    EXPECT_EQ(hexOf(wide(u"A\u00E9\u20AC")->getBytes()), "41 E9 AC");
}

TEST_F(StringTest, ValueOfFormatsLikeThePhonesRuntime) {
    struct Case {
        const char* what;
        String* result;
        const char* expected;
    };
    const Case cases[] = {
        {"float", String::valueOfFloat(1.5f), "1.500000"},
        {"float rounding", String::valueOfFloat(0.1f), "0.100000"},
        {"double", String::valueOfDouble(-2.25), "-2.250000"},
        {"double tie at the sixth decimal", String::valueOfDouble(0.0078125), "0.007812"},
        {"double large", String::valueOfDouble(1e20), "100000000000000000000.000000"},
        {"negative zero", String::valueOfDouble(-0.0), "-0.000000"},
        {"NaN", String::valueOfDouble(std::nan("")), "NaN"},
        {"infinity", String::valueOfFloat(std::numeric_limits<float>::infinity()), "Infinity"},
        {"negative infinity", String::valueOfDouble(-std::numeric_limits<double>::infinity()), "-Infinity"},
        {"int", String::valueOfInt(-7), "-7"},
        {"int min", String::valueOfInt(std::numeric_limits<jint>::min()), "-2147483648"},
        {"long", String::valueOfLong(-5000000000LL), "-5000000000"},
        {"char", String::valueOfChar('q'), "q"},
        {"char zero", String::valueOfChar(0), ""},
        {"true", String::valueOfBoolean(1), "true"},
        {"any nonzero", String::valueOfBoolean(2), "true"},
        {"false", String::valueOfBoolean(0), "false"},
        {"null object", String::valueOfObject(nullptr), "null"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(narrow(c.result), c.expected);
    }
    String* s = str("self");
    EXPECT_EQ(String::valueOfObject(s), s);
}

TEST_F(StringTest, CopiesOutOnlyWhatFitsBothSides) {
    String* text = str("abcdef");
    struct Case {
        const char* what;
        jint srcBegin, srcEnd, dstBegin;
        const char* expected;
    };
    const Case cases[] = {
        {"middle", 1, 4, 1, "-bcd-"},
        {"all that fits", 0, 5, 0, "abcde"},
        {"past the source", 4, 7, 0, "-----"},
        {"past the destination", 0, 3, 3, "-----"},
        {"negative source", -1, 2, 0, "-----"},
        {"negative destination", 0, 2, -1, "-----"},
        {"reversed", 3, 1, 0, "-----"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CharArray* dst = Runtime::newCharArray(5);
        for (jint i = 0; i < 5; ++i) dst->set(i, '-');
        text->getChars(c.srcBegin, c.srcEnd, dst, c.dstBegin);
        EXPECT_EQ(narrow(unitsOf(dst->elements(), 5)), c.expected);
    }
    CharArray* all = text->toCharArray();
    EXPECT_EQ(all->length, 6);
    EXPECT_EQ(narrow(unitsOf(all->elements(), 6)), "abcdef");
    auto* fromArray = new String();
    fromArray->initFromChars(all, 2, 10);
    EXPECT_EQ(narrow(fromArray), "cdef");
}

TEST_F(StringTest, CStringIsOwnedNarrowTextOfTheLowBytes) {
    const std::string text = wide(u"12\u0133x")->toCString();
    EXPECT_EQ(text, std::string("12\x33x"));
    // The result outlives the heaps' movements: it is a std::string, not array storage.
    EXPECT_EQ(str("")->toCString(), "");
}

TEST_F(StringTest, WideAndUnitConstructorsCopyUpToTheTerminator) {
    const jchar text[] = {'w', 0x20AC, 0, 'x'};
    EXPECT_EQ(unitsOf(Runtime::newStringFromWide(text)), u"w\u20AC");
    auto* at = new String();
    at->initFromUnitsAt(text, 1, 1);
    EXPECT_EQ(unitsOf(at), u"\u20AC");
    // A source inside the movable heap is safe even when its block moves during our allocation.
    String* longer = str("a text long enough for a native block");
    String* copy = String::fromUnits(longer->chars, longer->length());
    EXPECT_TRUE(copy->equals(longer));
}

}  // namespace

namespace {

// A length one past what count (= length + 1) can hold once wrapped into the inline buffer and let
// every decoder write past it. Such texts are refused, logged, and nothing is written.
TEST_F(StringTest, LengthsThatCannotBeStoredLeaveAnEmptyTextAndWriteNothing) {
    LogCapture log;
    auto* direct = new String();
    EXPECT_FALSE(direct->initWithLength(String::kMaxLength + 1));
    EXPECT_EQ(direct->length(), 0);
    EXPECT_TRUE(log.contains("cannot be stored"));

    // 2^31 - 1 zero bytes (untouched pages, so cheap), decoded one unit a byte.
    ByteArray* huge = Runtime::newByteArray(std::numeric_limits<jint>::max());
    ASSERT_NE(huge, nullptr);
    auto* decoded = new String();
    decoded->initFromByteArray(huge);
    EXPECT_EQ(decoded->length(), 0);
    EXPECT_EQ(decoded->chars[0], 0);

    // concat's sum is checked before anything is made: a text claiming the largest length.
    String* big = str("0123456789012345678901234567890123456789");
    const jint realCount = big->count;
    big->count = String::kMaxLength + 1;
    EXPECT_EQ(big->concat(str("xy")), nullptr);
    big->count = realCount;
    EXPECT_EQ(big->concat(str("xy"))->length(), 42);
}

}  // namespace
