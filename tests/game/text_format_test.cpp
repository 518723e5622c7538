// Numbers with the shipped separators per language, the one-separator thousands form, placeholders
// (a missing parameter left in place) and the results' time row, over the shipped constant pool.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/constant_pool.h"
#include "tests/classlib/record_store_fixture.h"
#include "tests/runtime/text_helpers.h"
#include "tests/support/test_world.h"

namespace {

class TextFormatTest : public RecordStoreTest {
private:
    // The statics reset before the set-up and after the tear-down.
    WorldStatics m_world;
};

std::string shown(String* s) { return narrow(s); }

TEST_F(TextFormatTest, NumbersTakeTheirLanguagesSeparators) {
    struct Case {
        jint n, language;
        const char* expected;
    };
    // Shipped separators: 193 ",", 194 ".", 195 " "; literal 1 is the empty text.
    const Case cases[] = {
        {999, 0, "999"},          {1000, 0, "1,000"},        {1005, 0, "1,005"},
        {1050, 0, "1,050"},       {1234567, 0, "1,234,567"}, {1000000, 0, "1,000,000"},
        {2147483647, 9, "2,147,483,647"},
        {0, 0, "0"},              {-5, 0, "-5"},             {-1234567, 0, "-1234567"},
        {-2147483647 - 1, 1, "-2147483648"},
        {999, 2, "999"},          {1000, 2, "1000"},         {5000, 2, "5000"},
        {9999, 2, "9999"},        {10000, 2, "10 000"},      {50000, 2, "50 000"},
        {1234567, 2, "1 234 567"},
        {1234567, 1, "1.234.567"}, {1234567, 5, "1.234.567"}, {1234567, 3, "1 234 567"},
        {1234567, 12, "1 234 567"}, {1234567, 13, "1 234 567"}, {1234567, 7, "1,234,567"},
        {5000, 11, "5000"},       {50000, 11, "50.000"},     {50000, 14, "50.000"},
        {5000, 4, "5000"},        {5000, 6, "5000"},         {5000, 10, "5000"},
        {1234, 20, "1234"},       {1234567, 20, "1234567"},  {1234567, -1, "1234567"},
        {1234567, 15, "1234567"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shown(cGame::formatNumber(c.n, c.language)), c.expected) << c.n << " in language " << c.language;
    }
}

TEST_F(TextFormatTest, TheStartLiteralStaysAtTheEndOfAGroupedNumber) {
    // With a visible start literal the grouping shows where it goes: last, and alone for small n.
    Runtime::constantPool()->elements()[1] = String::fromCString("#");
    EXPECT_EQ(shown(cGame::formatNumber(1000, 0)), "1,000#");
    EXPECT_EQ(shown(cGame::formatNumber(5000, 2)), "5#000#") << "the start literal as the separator";
    EXPECT_EQ(shown(cGame::formatNumber(999, 0)), "#999");
    EXPECT_EQ(shown(cGame::formatNumber(1234, 20)), "#1234");
    EXPECT_EQ(shown(cGame::formatThousands(12)), "#12");
}

TEST_F(TextFormatTest, ThousandsPlaceOneSeparatorOnly) {
    const std::vector<std::pair<jint, const char*>> cases = {
        {0, "0"},         {-7, "-7"},          {999, "999"},          {1000, "1,000"},
        {1005, "1,005"},  {1234567, "1234,567"}, {2147483647, "2147483,647"},
    };
    for (const auto& [n, expected] : cases) EXPECT_EQ(shown(cGame::formatThousands(n)), expected) << n;
}

TEST_F(TextFormatTest, PlaceholdersTakeTheirParametersAndMissingOnesStay) {
    auto params = [](std::vector<const char*> values) {
        ObjectArray* a = Runtime::newObjectArray(CID_String, static_cast<jint>(values.size()));
        for (size_t i = 0; i < values.size(); ++i) a->set(static_cast<jint>(i), String::fromCString(values[i]));
        return a;
    };
    struct Case {
        const char* text;
        std::vector<const char*> params;
        const char* expected;
    };
    const Case cases[] = {
        {"%s0 of %s1", {"3", "10"}, "3 of 10"},
        {"%s1 before %s0", {"3", "10"}, "10 before 3"},
        {"%s0%s0", {"ab"}, "abab"},
        {"score %s1", {"3"}, "score %s1"},           // no params[1]: left as it stands
        {"%s0 and %s9", {"x"}, "x and %s9"},
        {"%s0", {}, "%s0"},
        {"50%", {"x"}, "50%"},                       // '%' last
        {"50%s", {"x"}, "50%s"},                     // '%' 's' at the very end
        {"%sx %d %%s0", {"y"}, "%sx %d %y"},         // no digit, no 's'; then a real one
        {"plain", {"x"}, "plain"},
        {"", {"x"}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shown(cGame::formatText(String::fromCString(c.text), params(c.params))), c.expected) << c.text;
    }
    EXPECT_EQ(shown(cGame::formatText(String::fromCString("a %s0 b"), nullptr)), "a %s0 b");
    EXPECT_EQ(shown(cGame::formatText(nullptr, params({"x"}))), "") << "no text is the empty text";
    ObjectArray* holes = Runtime::newObjectArray(CID_String, 1);
    EXPECT_EQ(shown(cGame::formatText(String::fromCString("[%s0]"), holes)), "[]") << "a null parameter is empty";
    EXPECT_EQ(shown(cGame::formatText1(String::fromCString("go %s0!"), String::fromCString("now"))), "go now!");
    EXPECT_EQ(shown(cGame::formatText1(String::fromCString("%s1"), String::fromCString("now"))), "%s1");
}

TEST_F(TextFormatTest, TheTimeRowWritesMinutesAndTwoDigitSeconds) {
    // Shipped: 189 "0:", 190 ":", 13 "0".
    const std::vector<std::pair<jint, const char*>> cases = {
        {0, "0:00"}, {9, "0:09"}, {10, "0:10"}, {59, "0:59"}, {60, "1:00"},
        {61, "1:01"}, {125, "2:05"}, {3599, "59:59"}, {6000, "100:00"},
    };
    for (const auto& [seconds, expected] : cases) EXPECT_EQ(shown(cGame::formatTime(seconds)), expected) << seconds;
}

}  // namespace
