// TimeZone: the default and known zones, the argument checks of getOffset, the rule checks of the
// rule constructor and the daylight-saving decision at the rule's edges.
#include <gtest/gtest.h>

#include <string>

#include "../runtime/text_helpers.h"
#include "classlib/java_lang/java_lang_exceptions.h"
#include "date_fixture.h"
#include "runtime/array.h"
#include "runtime/exceptions.h"

namespace {

// The pending exception's message ("-" for none), cleared.
std::string takeRaised() {
    Object* pending = Runtime::getPendingException();
    if (!pending) return "-";
    EXPECT_EQ(pending->classId(), CID_java_lang_IllegalArgumentException);
    std::string message = narrow(static_cast<java_lang_Throwable*>(pending)->getMessage());
    Runtime::clearPendingException();
    return message;
}

using TimeZoneTest = DateTest;

TEST_F(TimeZoneTest, TheDefaultZoneIsUnnamedAtOffsetZeroAndMadeOnce) {
    java_util_TimeZone* zone = java_util_TimeZone::getDefault();
    ASSERT_NE(zone, nullptr);
    EXPECT_EQ(zone, java_util_TimeZone::getDefault());
    EXPECT_EQ(zone->classId(), CID_java_util_TimeZoneImpl);
    EXPECT_EQ(zone->getID(), nullptr);
    EXPECT_EQ(zone->getRawOffset(), 0);
    EXPECT_FALSE(zone->useDaylightTime());
    EXPECT_EQ(zone->getOffset(1, 2009, 6, 15, 4, 43200000), 0);

    ObjectArray* ids = java_util_TimeZone::getAvailableIDs();
    ASSERT_NE(ids, nullptr);
    ASSERT_EQ(ids->length, 2);
    EXPECT_EQ(narrow(static_cast<String*>(ids->get(0))), "GMT");
    EXPECT_EQ(narrow(static_cast<String*>(ids->get(1))), "UTC");
    EXPECT_EQ(java_util_TimeZone::getAvailableIDs(), ids);
    for (jint i = 0; i < 2; ++i) {
        auto* known = static_cast<java_util_TimeZoneImpl*>(java_util_TimeZoneImpl::zones->get(i));
        EXPECT_EQ(known->getRawOffset(), 0);
        EXPECT_FALSE(known->useDaylightTime());
        EXPECT_EQ(known->dstSavings, 3600000);
    }
}

TEST_F(TimeZoneTest, GetOffsetChecksEveryArgument) {
    struct Case {
        jint era, month, day, dayOfWeek, millis;
        const char* raised;  // "-": none, the offset is 0
    };
    const Case cases[] = {
        {1, 1, 29, 1, 0, "-"},  // February has 29 days in every year here
        {0, 1, 29, 1, 0, "-"},
        {1, 11, 31, 7, 86399999, "-"},
        {1, 12, 1, 1, 0, "Illegal month 12"},
        {1, -1, 1, 1, 0, "Illegal month -1"},
        {1, 1, 30, 1, 0, ""},
        {1, 3, 31, 1, 0, ""},
        {1, 0, 0, 1, 0, ""},
        {1, 0, 1, 1, 86400000, ""},
        {1, 0, 1, 1, -1, ""},
        {2, 0, 1, 1, 0, ""},
        {-1, 0, 1, 1, 0, ""},
        {1, 0, 1, 0, 0, ""},
        {1, 0, 1, 8, 0, ""},
    };
    auto* zone = static_cast<java_util_TimeZoneImpl*>(java_util_TimeZone::getDefault());
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.era << ' ' << c.month << ' ' << c.day << ' ' << c.dayOfWeek << ' '
                                        << c.millis);
        EXPECT_EQ(zone->getOffset(c.era, 2009, c.month, c.day, c.dayOfWeek, c.millis), 0);
        EXPECT_EQ(takeRaised(), c.raised);
    }
    for (jint monthLen : {27, 32}) {
        EXPECT_EQ(zone->offsetWithMonthLength(1, 2009, 0, 1, 1, 0, monthLen), 0);
        EXPECT_EQ(takeRaised(), "");
    }
    EXPECT_EQ(zone->offsetWithMonthLength(1, 2009, 1, 28, 1, 0, 28), 0);
    EXPECT_EQ(takeRaised(), "-");
}

TEST_F(TimeZoneTest, TheRuleConstructorChecksEachRuleAndLeavesTheLastFault) {
    struct Case {
        const char* what;
        jint startMonth, startDay, startDayOfWeek, startTime, endMonth, endDay, endDayOfWeek, endTime, savings;
        const char* raised;
        jint startMode, endMode;
    };
    const Case cases[] = {
        {"weekday in month", 2, -1, 1, 3600000, 9, 2, 1, 7200000, 3600000, "-", 2, 2},
        {"on or after, on or before", 2, 8, -1, 0, 10, -25, -7, 0, 3600000, "-", 3, 4},
        {"day of month, Feb 29", 1, 29, 0, 0, 8, 30, 0, 0, 3600000, "-", 1, 1},
        {"start time a whole day", 2, 1, 0, 86400000, 8, 1, 0, 0, 1, "-", 1, 1},
        {"weeks 5 and -5 are the last allowed", 2, 5, 1, 0, 9, -5, 1, 0, 3600000, "-", 2, 2},
        {"week 6", 2, 6, 1, 0, 9, 1, 1, 0, 3600000, "Illegal start day of week in month 6", 2, 2},
        {"week -6", 2, 1, 1, 0, 9, -6, 1, 0, 3600000, "Illegal end day of week in month -6", 2, 2},
        {"start month 12", 12, 1, 0, 0, 9, 1, 0, 0, 3600000, "Illegal start month 12", 0, 1},
        {"end month -1", 2, 1, 0, 0, -1, 1, 0, 0, 3600000, "Illegal end month -1", 1, 0},
        {"start time -1", 2, 1, 0, -1, 9, 1, 0, 0, 3600000, "Illegal start time -1", 0, 1},
        {"end time past the day", 2, 1, 0, 0, 9, 1, 0, 86400001, 3600000, "Illegal end time 86400001", 1, 0},
        {"weekday 8", 2, 1, 8, 0, 9, 1, 1, 0, 3600000, "Illegal start day of week 8", 2, 2},
        {"weekday -8 is 8", 2, 1, 1, 0, 9, 1, -8, 0, 3600000, "Illegal end day of week 8", 2, 3},
        {"April 31", 3, 31, 0, 0, 9, 1, 0, 0, 3600000, "Illegal start day 31", 1, 1},
        {"on or before -31 of April", 2, 1, 0, 0, 3, -31, -1, 0, 3600000, "Illegal end day 31", 1, 4},
        {"no savings", 2, 1, 0, 0, 9, 1, 0, 0, 0, "Illegal DST savings", 1, 1},
        {"several faults: the last stays", 12, 1, 0, 0, 9, 1, 0, -5, 0, "Illegal DST savings", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* zone = Runtime::make<java_util_TimeZoneImpl>(
            jint{0}, String::fromCString("R"), c.startMonth, c.startDay, c.startDayOfWeek, c.startTime, c.endMonth,
            c.endDay, c.endDayOfWeek, c.endTime, c.savings);
        ASSERT_NE(zone, nullptr);
        EXPECT_EQ(takeRaised(), c.raised);
        EXPECT_EQ(zone->startMode, c.startMode);
        EXPECT_EQ(zone->endMode, c.endMode);
    }
    // A day of 0 in either rule means no daylight saving, and that rule is not checked.
    auto* off = Runtime::make<java_util_TimeZoneImpl>(0, String::fromCString("R"), 2, 0, 99, -1, 9, 1, 0, 0, 3600000);
    EXPECT_EQ(takeRaised(), "-");
    EXPECT_FALSE(off->useDaylightTime());
    EXPECT_EQ(off->getOffset(1, 2009, 5, 1, 1, 0), 0);
}

// 2009: March 29 and October 25 are the last Sundays; a northern zone from 01:00 standard on the
// first to 02:00 wall on the second, and its southern mirror.
TEST_F(TimeZoneTest, DaylightTimeStartsAndEndsAtTheRulesMoments) {
    constexpr jint kRaw = 3600000;
    constexpr jint kSavings = 3600000;
    auto* north = Runtime::make<java_util_TimeZoneImpl>(kRaw, String::fromCString("N"), 2, -1, 1, 3600000, 9, -1, 1,
                                                        7200000, kSavings);
    auto* south = Runtime::make<java_util_TimeZoneImpl>(kRaw, String::fromCString("S"), 9, -1, 1, 3600000, 2, -1, 1,
                                                        7200000, kSavings);
    ASSERT_FALSE(Runtime::pending());
    EXPECT_TRUE(north->useDaylightTime());
    struct Case {
        const char* what;
        jint month, day, dayOfWeek, millis;
        bool northDaylight;
    };
    const Case cases[] = {
        {"January", 0, 15, 5, 43200000, false},
        {"June", 5, 15, 2, 43200000, true},
        {"the Saturday before the start", 2, 28, 7, 86399999, false},
        {"a ms before the start", 2, 29, 1, 3599999, false},
        {"the start", 2, 29, 1, 3600000, true},
        {"the last day of March", 2, 31, 3, 0, true},
        {"a ms before the end in wall time", 9, 25, 1, 3599999, true},
        {"the end in wall time", 9, 25, 1, 3600000, false},
        {"the day before the end, late (wall time crosses midnight)", 9, 24, 7, 86399999, true},
        {"December", 11, 31, 5, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(north->getOffset(1, 2009, c.month, c.day, c.dayOfWeek, c.millis),
                  c.northDaylight ? kRaw + kSavings : kRaw);
        EXPECT_EQ(north->getOffset(0, 2009, c.month, c.day, c.dayOfWeek, c.millis), kRaw);  // BC: no rules
        if (c.month == 0 || c.month == 5 || c.month == 11) {
            EXPECT_EQ(south->getOffset(1, 2009, c.month, c.day, c.dayOfWeek, c.millis),
                      c.northDaylight ? kRaw : kRaw + kSavings);
        }
    }
    EXPECT_FALSE(Runtime::pending());
}

}  // namespace
