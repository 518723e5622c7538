// Character and the Latin-1 case converter: the phone's exact ranges, including the lower-case
// sharp s and y-diaeresis that map outside the letters.
#include <gtest/gtest.h>

#include "classlib/java_lang/com_sun_cldc_i18n_uclc_default_case_converter.h"
#include "classlib/java_lang/java_lang_character.h"
#include "classlib/java_lang/java_lang_integer.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/system_natives.h"
#include "tests/classlib/pool_helpers.h"
#include "tests/runtime/runtime_fixture.h"
#include "tests/runtime/text_helpers.h"

namespace {

using Converter = com_sun_cldc_i18n_uclc_DefaultCaseConverter;

// The static functions' first call looks the converter up through the pool and a system property,
// so they run with the literals of that lookup installed.
class CharacterTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        installPool({{266, "com.sun.cldc.i18n"},
                     {267, "com.sun.cldc.i18n.uclc"},
                     {268, "com.sun.cldc.i18n.uclc.DefaultCaseConverter"}});
    }
    void TearDown() override {
        java_lang_System::setPropertyLookup(nullptr);
        Runtime::setConstantPool(nullptr);
        RuntimeTest::TearDown();
    }
};

TEST_F(CharacterTest, CaseRangesAreTheLatinOneLettersWithTheirGaps) {
    struct Case {
        jint c;
        bool lower;
        bool upper;
        jchar toUpper;
        jchar toLower;
    };
    const Case cases[] = {
        {'a', true, false, 'A', 'a'},   {'z', true, false, 'Z', 'z'},   {'A', false, true, 'A', 'a'},
        {'@', false, false, '@', '@'},  {'[', false, false, '[', '['},  {233, true, false, 201, 233},
        {201, false, true, 201, 233},   {223, true, false, 191, 223},   {255, true, false, 223, 255},
        {215, false, false, 215, 215},  {247, false, false, 247, 247},  {192, false, true, 192, 224},
        {222, false, true, 222, 254},   {0x100, false, false, 0x100, 0x100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.c);
        EXPECT_EQ(Converter::isLowerCase(static_cast<jchar>(c.c)), c.lower);
        EXPECT_EQ(Converter::isUpperCase(static_cast<jchar>(c.c)), c.upper);
        EXPECT_EQ(java_lang_Character::toUpperCase(c.c), c.toUpper);
        EXPECT_EQ(java_lang_Character::toLowerCase(c.c), c.toLower);
        EXPECT_EQ(java_lang_Character::isLowerCase(c.c), c.lower);
        EXPECT_EQ(java_lang_Character::isUpperCase(c.c), c.upper);
    }
    // The static functions read only the low 16 bits.
    EXPECT_EQ(java_lang_Character::toUpperCase(0x10000 + 'q'), 'Q');
}

TEST_F(CharacterTest, DigitsCountEveryLetterOfTheRanges) {
    struct Case {
        jint c;
        jint radix;
        jint value;
    };
    const Case cases[] = {
        {'7', 10, 7},  {'b', 16, 11}, {'B', 16, 11}, {'z', 10, -1}, {'z', 36, 35}, {'a', 1, -1},
        {'0', 37, -1}, {'9', 2, -1},  {'1', 2, 1},   {' ', 36, -1}, {233, 36, 18},  // 'é' & 31 = 9
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.c) + " radix " + std::to_string(c.radix));
        EXPECT_EQ(java_lang_Character::digit(c.c, c.radix), c.value);
    }
    EXPECT_TRUE(java_lang_Character::isDigit('5'));
    EXPECT_FALSE(java_lang_Character::isDigit('a'));
}

// The lookup finds nothing to switch to whatever the property names: a class that does not exist
// leaves the flag 0, the results unchanged and no exception pending.
TEST_F(CharacterTest, ConverterLookupOfAMissingClassChangesNothing) {
    java_lang_System::setPropertyLookup([](String*) { return String::fromCString("no.such.Converter"); });
    EXPECT_EQ(java_lang_Character::getCaseConverter(), 0);
    EXPECT_EQ(java_lang_Character::toUpperCase(233), 201);
    EXPECT_EQ(java_lang_Character::digit('b', 16), 11);
    EXPECT_EQ(Runtime::getPendingException(), nullptr);
    EXPECT_EQ(java_lang_Character::getCaseConverter(), 0);
}

TEST_F(CharacterTest, ObjectsCompareByUnitAndPrintThroughACharArray) {
    auto* e = new java_lang_Character();
    e->init(0x20AC);
    auto* same = new java_lang_Character();
    same->init(0x20AC);
    auto* zero = new java_lang_Character();
    zero->init(0);
    EXPECT_EQ(e->charValue(), 0x20AC);
    EXPECT_EQ(e->hashCode(), 0x20AC);
    EXPECT_TRUE(e->equals(same));
    EXPECT_FALSE(e->equals(zero));
    auto* integer = new java_lang_Integer();
    integer->init(0x20AC);
    EXPECT_FALSE(e->equals(integer));
    EXPECT_EQ(unitsOf(e->toString()), u"\u20AC");
    EXPECT_EQ(unitsOf(zero->toString()), u"");
}

}  // namespace
