// The value wrappers: narrowing values, equality across classes, texts, and parsing that never
// fails (0 for unparsable text, the radix ignored, Long as the sign-extended int parse).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "classlib/java_lang/java_lang_boolean.h"
#include "classlib/java_lang/java_lang_byte.h"
#include "classlib/java_lang/java_lang_double.h"
#include "classlib/java_lang/java_lang_float.h"
#include "classlib/java_lang/java_lang_integer.h"
#include "classlib/java_lang/java_lang_long.h"
#include "runtime/exceptions.h"
#include "tests/classlib/pool_helpers.h"
#include "tests/runtime/runtime_fixture.h"
#include "tests/runtime/text_helpers.h"

namespace {

using NumberWrapperTest = RuntimeTest;

java_lang_Integer* integer(jint v) {
    auto* i = new java_lang_Integer();
    i->init(v);
    return i;
}

java_lang_Long* longOf(jlong v) {
    auto* l = new java_lang_Long();
    l->init(v);
    return l;
}

java_lang_Double* doubleOf(jdouble v) {
    auto* d = new java_lang_Double();
    d->init(v);
    return d;
}

java_lang_Byte* byteOf(jbyte v) {
    auto* b = new java_lang_Byte();
    b->init(v);
    return b;
}

TEST_F(NumberWrapperTest, IntegerNarrowsAndComparesOnlyWithIntegers) {
    struct Case {
        jint value;
        jbyte byteValue;
        jshort shortValue;
        jlong longValue;
        const char* text;
    };
    const Case cases[] = {
        {300, 44, 300, 300, "300"},
        {-1, -1, -1, -1, "-1"},
        {70000, 112, 4464, 70000, "70000"},
        {std::numeric_limits<jint>::min(), 0, 0, -2147483648LL, "-2147483648"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        java_lang_Integer* i = integer(c.value);
        EXPECT_EQ(i->byteValue(), c.byteValue);
        EXPECT_EQ(i->shortValue(), c.shortValue);
        EXPECT_EQ(i->intValue(), c.value);
        EXPECT_EQ(i->longValue(), c.longValue);
        EXPECT_EQ(i->hashCode(), c.value);
        EXPECT_EQ(narrow(i->toString()), c.text);
    }
    EXPECT_TRUE(integer(5)->equals(integer(5)));
    EXPECT_FALSE(integer(5)->equals(integer(6)));
    EXPECT_FALSE(integer(5)->equals(longOf(5)));
    EXPECT_FALSE(integer(5)->equals(nullptr));
    EXPECT_FALSE(integer(5)->equals(str("5")));
}

TEST_F(NumberWrapperTest, ParsingReadsBaseTenAndNeverFails) {
    LogCapture log;
    struct Case {
        const char* text;
        jint radix;
        jint intValue;
        jlong longValue;
    };
    const Case cases[] = {
        {"  -12abc", 10, -12, -12},
        {"abc", 10, 0, 0},
        {"7f", 16, 7, 7},
        {"5000000000", 10, 705032704, 705032704},
        {"3000000000", 10, -1294967296, -1294967296},
        {"-2147483648", 10, std::numeric_limits<jint>::min(), std::numeric_limits<jint>::min()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(java_lang_Integer::parseInt(str(c.text), c.radix), c.intValue);
        EXPECT_EQ(java_lang_Long::parseLong(str(c.text), c.radix), c.longValue);
        EXPECT_EQ(java_lang_Integer::valueOf(str(c.text))->intValue(), c.intValue);
    }
    EXPECT_TRUE(log.contains("base == 10"));
    EXPECT_TRUE(log.contains("stacktrace:"));
    EXPECT_EQ(java_lang_Integer::valueOf(nullptr)->intValue(), 0);
    // A unit's low 8 bits are what the C text sees.
    EXPECT_EQ(java_lang_Integer::parseInt(wide(u"1\u0132")), 12);
}

TEST_F(NumberWrapperTest, IntegerAndLongFormatTheirWholeValues) {
    EXPECT_EQ(narrow(java_lang_Integer::toHexString(-1)), "ffffffff");
    EXPECT_EQ(narrow(java_lang_Integer::toHexString(0x1F)), "1f");
    EXPECT_EQ(narrow(java_lang_Integer::toBinaryString(5)), "101");
    EXPECT_EQ(narrow(java_lang_Integer::toBinaryString(0)), "");
    EXPECT_EQ(narrow(java_lang_Long::toString(-9000000000LL)), "-9000000000");
    EXPECT_EQ(narrow(longOf(1LL << 40)->toString()), "1099511627776");
    EXPECT_EQ(longOf((1LL << 40) + 7)->hashCode(), 7);
    EXPECT_TRUE(longOf(5)->equals(longOf(5)));
    EXPECT_FALSE(longOf(5)->equals(integer(5)));
}

TEST_F(NumberWrapperTest, DoubleTruncatesTowardZeroThroughAnInt) {
    struct Case {
        jdouble value;
        jint intValue;
        jbyte byteValue;
        jshort shortValue;
        jlong longValue;
        const char* text;
    };
    const Case cases[] = {
        {3.9, 3, 3, 3, 3, "3.900000"},
        {-3.9, -3, -3, -3, -3, "-3.900000"},
        {300.5, 300, 44, 300, 300, "300.500000"},
        {1e10, 2147483647, -1, -1, 2147483647, "10000000000.000000"},
        {std::nan(""), 0, 0, 0, 0, "NaN"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        java_lang_Double* d = doubleOf(c.value);
        EXPECT_EQ(d->intValue(), c.intValue);
        EXPECT_EQ(d->byteValue(), c.byteValue);
        EXPECT_EQ(d->shortValue(), c.shortValue);
        EXPECT_EQ(d->longValue(), c.longValue);
        EXPECT_EQ(narrow(d->toString()), c.text);
    }
    EXPECT_EQ(doubleOf(0.1)->floatValue(), 0.1f);
    EXPECT_EQ(java_lang_Double::parseDouble(str(" -2.5e1")), -25.0);
    EXPECT_EQ(java_lang_Double::valueOf(str("x"))->doubleValue(), 0.0);
    EXPECT_EQ(java_lang_Double::valueOf(nullptr)->doubleValue(), 0.0);
    EXPECT_TRUE(doubleOf(std::nan(""))->isNaN());
    EXPECT_TRUE(java_lang_Double::isInfinite(-std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(java_lang_Double::isInfinite(std::nan("")));
}

TEST_F(NumberWrapperTest, FloatKeepsOnlyItsIntConversion) {
    auto* f = new java_lang_Float();
    f->init(2.9f);
    EXPECT_EQ(f->intValue(), 2);
    f->init(-2.9f);
    EXPECT_EQ(f->intValue(), -2);
    f->init(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(f->intValue(), 0);
    // Its text is a fixed literal, whatever the value.
    installPool({{265, "Float"}});
    EXPECT_EQ(f->toString(), Runtime::ldcString(265));
}

TEST_F(NumberWrapperTest, ByteParsesBaseTenWithinItsRange) {
    struct Case {
        const char* text;
        jbyte value;
        bool raises;  // NumberFormatException pending afterwards
    };
    // Unparsable text reads as 0 (parseInt's rule); only a number outside the byte range raises.
    const Case cases[] = {{"127", 127, false}, {"-128", -128, false}, {"x", 0, false},
                          {" 12", 12, false},  {"128", 0, true},      {"-129", 0, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(java_lang_Byte::parseByte(str(c.text)), c.value);
        Object* pending = Runtime::getPendingException();
        EXPECT_EQ(pending != nullptr, c.raises);
        if (pending) {
            EXPECT_EQ(pending->classId(), CID_java_lang_NumberFormatException);
        }
        Runtime::clearPendingException();
    }
    EXPECT_EQ(byteOf(-5)->hashCode(), -5);
    EXPECT_EQ(narrow(byteOf(-5)->toString()), "-5");
    EXPECT_TRUE(byteOf(3)->equals(byteOf(3)));
    EXPECT_FALSE(byteOf(3)->equals(integer(3)));
}

TEST_F(NumberWrapperTest, BooleanHasTwoSharedInstancesAndHashesToOneOrZero) {
    installPool({{271, "true"}, {272, "false"}});
    java_lang_Boolean::clinit();
    ASSERT_NE(java_lang_Boolean::TRUE, nullptr);
    ASSERT_NE(java_lang_Boolean::FALSE, nullptr);
    EXPECT_TRUE(java_lang_Boolean::TRUE->booleanValue());
    EXPECT_FALSE(java_lang_Boolean::FALSE->booleanValue());
    EXPECT_EQ(java_lang_Boolean::TRUE->hashCode(), 1);
    EXPECT_EQ(java_lang_Boolean::FALSE->hashCode(), 0);
    EXPECT_EQ(narrow(java_lang_Boolean::TRUE->toString()), "true");
    EXPECT_EQ(narrow(java_lang_Boolean::FALSE->toString()), "false");
    auto* seven = new java_lang_Boolean();
    seven->init(7);
    EXPECT_TRUE(seven->booleanValue());
    EXPECT_TRUE(seven->equals(java_lang_Boolean::TRUE));
    EXPECT_FALSE(seven->equals(java_lang_Boolean::FALSE));
    EXPECT_FALSE(seven->equals(integer(1)));
    // The heaps go away with the test: leave no statics pointing into them.
    java_lang_Boolean::TRUE = nullptr;
    java_lang_Boolean::FALSE = nullptr;
    Runtime::setConstantPool(nullptr);
}

}  // namespace
