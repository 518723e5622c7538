// Calendar and Date: the fields' get and set rules, the 12-hour clock, the formatters, the shared
// calendar, and the faults mended (a month of 12..15 in the texts, stale hour bits, Dates that lost
// their instant). Field arithmetic across the calendar is compared with the JVM in
// calendar_oracle_test.cpp.
#include <gtest/gtest.h>

#include <string>

#include "../runtime/text_helpers.h"
#include "classlib/java_lang/java_lang_exceptions.h"
#include "classlib/java_util/java_util_date.h"
#include "date_fixture.h"
#include "runtime/clock.h"
#include "runtime/exceptions.h"

namespace {

using Cal = java_util_Calendar;

constexpr jlong kInstant = 1236413109000;  // 2009-03-07 08:05:09 UTC, a Saturday

class CalendarTest : public DateTest {
protected:
    void SetUp() override {
        Runtime::setClock(&m_clock);
        DateTest::SetUp();
    }
    void TearDown() override {
        DateTest::TearDown();
        Runtime::setClock(nullptr);
    }
    ManualClock m_clock;
};

TEST_F(CalendarTest, ANewCalendarShowsTheWallClockInWholeSecondsInTheDefaultZone) {
    m_clock.setWall(kInstant + 999);
    Cal* c = Runtime::make<Cal>();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->getTimeZone(), java_util_TimeZone::getDefault());
    EXPECT_EQ(c->getTimeInMillis(), kInstant);
    EXPECT_EQ(narrow(Cal::formatCalendar(c)), "Sat Mar 07 08:05:09 2009");
    EXPECT_EQ(Cal::getInstance(), Cal::getInstance());
    EXPECT_NE(Cal::getInstance(), c);

    // getInstance(zone) moves the shared calendar to the zone, keeping its instant.
    Cal* shared = Cal::getInstance();
    java_util_TimeZoneImpl* plusOne = Runtime::make<java_util_TimeZoneImpl>(jint{3600000}, String::fromCString("P1"));
    EXPECT_EQ(Cal::getInstance(plusOne), shared);
    EXPECT_EQ(shared->getTimeZone(), plusOne);
    EXPECT_EQ(shared->getTimeInMillis(), kInstant);
    EXPECT_EQ(shared->get(Cal::HOUR_OF_DAY), 9);
}

// The ends of the long range: local time saturates instead of wrapping, and nothing reads or
// writes outside the fields (the year keeps its low 23 bits there, far past any real date).
TEST_F(CalendarTest, TheEndsOfTheLongRangeStayInsideTheFields) {
    for (const char* zone : {"UTC", "P0530", "M0500", "NORTH"}) {
        SCOPED_TRACE(zone);
        Cal* c = calendarIn(zoneNamed(zone));
        for (jlong instant : {INT64_MIN, INT64_MIN + 1, INT64_MAX, INT64_MAX - 1}) {
            c->setTimeInMillis(instant);
            EXPECT_EQ(c->getTimeInMillis(), instant);
            for (jint field : {Cal::MONTH, Cal::DATE, Cal::DAY_OF_WEEK, Cal::HOUR_OF_DAY, Cal::MINUTE}) {
                const jint value = c->get(field);
                EXPECT_GE(value, 0);
                EXPECT_LE(value, 59);
            }
            EXPECT_NE(Cal::formatCalendar(c), nullptr);
            c->set(Cal::SECOND, 1);  // and back from the fields
            (void)c->getTimeInMillis();
        }
    }
    EXPECT_FALSE(Runtime::pending());
}

TEST_F(CalendarTest, TheTwelveHourClockAndItsPendingHalves) {
    Cal* c = calendarIn(zoneNamed("UTC"));
    struct Case {
        const char* what;
        jint hourOfDay;  // the start
        jint fields[3][2];  // up to three sets, {0, 0} ends
        jint hourAfter, hour, amPm;
    };
    const Case cases[] = {
        {"00:30 is 12 AM", 0, {{0, 0}}, 0, 12, 0},
        {"12:30 is 12 PM", 12, {{0, 0}}, 12, 12, 1},
        {"HOUR 3 then PM", 8, {{Cal::HOUR, 3}, {Cal::AM_PM, 1}}, 15, 3, 1},
        {"PM then HOUR 12", 8, {{Cal::AM_PM, 1}, {Cal::HOUR, 12}}, 12, 12, 1},
        {"AM then HOUR 12", 8, {{Cal::AM_PM, 0}, {Cal::HOUR, 12}}, 0, 12, 0},
        {"HOUR 15 stores 12", 8, {{Cal::HOUR, 15}}, 12, 12, 1},
        {"HOUR 12 then AM", 8, {{Cal::HOUR, 12}, {Cal::AM_PM, 0}}, 0, 12, 0},
        {"PM alone waits for an hour", 8, {{Cal::AM_PM, 1}}, 8, 8, 0},
        {"HOUR_OF_DAY drops a pending PM", 8, {{Cal::AM_PM, 1}, {Cal::HOUR_OF_DAY, 2}, {Cal::HOUR, 4}}, 4, 4, 0},
        {"HOUR_OF_DAY 26 is 2", 8, {{Cal::HOUR_OF_DAY, 26}}, 2, 2, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        c->setTimeInMillis(kInstant - 8 * 3600000LL + k.hourOfDay * 3600000LL + 30 * 60000LL);
        c->pendingHour = -1;
        c->pendingAmPm = -1;
        for (const auto& f : k.fields)
            if (f[0] != 0) c->set(f[0], f[1]);
        EXPECT_EQ(c->get(Cal::HOUR_OF_DAY), k.hourAfter);
        EXPECT_EQ(c->get(Cal::HOUR), k.hour);
        EXPECT_EQ(c->get(Cal::AM_PM), k.amPm);
    }
    EXPECT_FALSE(Runtime::pending());
}

TEST_F(CalendarTest, UnknownFieldsRaiseIndexErrorsAndValuesAreMaskedIntoTheirBits) {
    Cal* c = calendarIn(zoneNamed("UTC"));
    c->setTimeInMillis(kInstant);
    for (jint field : {0, 3, 4, 6, 8, 15, -1}) {
        SCOPED_TRACE(field);
        EXPECT_EQ(c->get(field), 0);
        Object* pending = Runtime::getPendingException();
        ASSERT_NE(pending, nullptr);
        EXPECT_EQ(pending->classId(), CID_java_lang_ArrayIndexOutOfBoundsException);
        EXPECT_EQ(narrow(static_cast<java_lang_Throwable*>(pending)->getMessage()), "");  // no message of its own
        Runtime::clearPendingException();
    }
    c->set(Cal::DAY_OF_WEEK, 3);
    Object* pending = Runtime::getPendingException();
    ASSERT_NE(pending, nullptr);
    EXPECT_EQ(pending->classId(), CID_java_lang_ArrayIndexOutOfBoundsException);
    Runtime::clearPendingException();

    c->set(Cal::DATE, 31 + 32);
    c->set(Cal::MINUTE, 64 + 7);
    c->set(Cal::SECOND, 64 + 8);
    c->set(Cal::MILLISECOND, 1024 + 9);
    c->set(Cal::YEAR, -44);
    EXPECT_EQ(c->get(Cal::DATE), 31);
    EXPECT_EQ(c->get(Cal::MINUTE), 7);
    EXPECT_EQ(c->get(Cal::SECOND), 8);
    EXPECT_EQ(c->get(Cal::MILLISECOND), 9);
    EXPECT_EQ(c->get(Cal::YEAR), -44);
    EXPECT_EQ(c->get(Cal::MONTH), 2);
    EXPECT_EQ(c->isTimeSet, 0);
}

// A set month of 12..15 is carried into the year before either text names it.
TEST_F(CalendarTest, AMonthOf12To15IsCarriedIntoTheYearBeforeItIsNamed) {
    Cal* c = calendarIn(zoneNamed("UTC"));
    const char* expected[] = {"Thu Jan 07 08:05:09 UTC 2010", "Sun Feb 07 08:05:09 UTC 2010",
                              "Sun Mar 07 08:05:09 UTC 2010", "Wed Apr 07 08:05:09 UTC 2010"};
    for (jint month = 12; month <= 15; ++month) {
        SCOPED_TRACE(month);
        c->setTimeInMillis(kInstant);
        c->set(Cal::MONTH, month);
        EXPECT_EQ(c->get(Cal::MONTH), month);  // set never normalises
        EXPECT_EQ(narrow(Cal::formatCalendar(c)), expected[month - 12]);
        EXPECT_EQ(c->get(Cal::MONTH), month - 12);
        EXPECT_EQ(c->get(Cal::YEAR), 2010);
    }
    // The day past a month's end and day 0 are no error either: the recomputation normalises them.
    c->setTimeInMillis(kInstant);
    c->set(Cal::MONTH, 3);
    c->set(Cal::DATE, 31);
    EXPECT_EQ(narrow(Cal::formatCalendar(c)), "Fri May 01 08:05:09 UTC 2009");
    c->set(Cal::DATE, 0);
    EXPECT_EQ(narrow(Cal::formatCalendar(c)), "Thu Apr 30 08:05:09 UTC 2009");
    EXPECT_FALSE(Runtime::pending());
}

// The hour bits are written whole: a negative hour set earlier leaves nothing behind once the
// fields are recomputed from an instant.
TEST_F(CalendarTest, TheHourIsWrittenWholeAndANegativeHourCountsBack) {
    Cal* c = calendarIn(zoneNamed("UTC"));
    c->setTimeInMillis(kInstant);
    c->set(Cal::HOUR_OF_DAY, -1);
    EXPECT_EQ(c->get(Cal::HOUR_OF_DAY), -1);
    EXPECT_EQ(c->getTimeInMillis(), kInstant - 9 * 3600000LL);  // 23:05:09 the day before
    c->set(Cal::HOUR_OF_DAY, -1);
    c->setTimeInMillis(kInstant);
    EXPECT_EQ(c->get(Cal::HOUR_OF_DAY), 8);
    EXPECT_EQ(c->timeOfDay >> 22, 8u);
    c->setTimeInMillis(kInstant + 15 * 3600000LL);
    EXPECT_EQ(c->get(Cal::HOUR_OF_DAY), 23);
    EXPECT_EQ(c->timeOfDay >> 22, 23u);
}

TEST_F(CalendarTest, TheFormattersPadYearsAndShowTheZone) {
    struct Case {
        const char* zone;  // "" for the default zone
        jint rawOffset;
        jlong instant;
        const char* text;
        const char* digits;
    };
    const Case cases[] = {
        {"", 0, kInstant, "Sat Mar 07 08:05:09 2009", "2009 03 07 08 05 09 +0000"},
        {"GMT", 0, 0, "Thu Jan 01 00:00:00 GMT 1970", "1970 01 01 00 00 00 +0000"},
        {"X", -5400000, kInstant + 5400000, "Sat Mar 07 08:05:09 X 2009", "2009 03 07 08 05 09 -0130"},
        {"Y", 19800000, -1 - 19800000, "Wed Dec 31 23:59:59 Y 1969", "1969 12 31 23 59 59 +0530"},
        {"", 0, -30610224000000, "Wed Dec 27 00:00:00 0999", "0999 12 27 00 00 00 +0000"},
        {"", 0, -62198755200000, "Fri Jan 03 00:00:00 -1", "-1 01 03 00 00 00 +0000"},
        {"", 0, -62135596800000 - 86400000LL * 365, "Sun Jan 04 00:00:00 0000", "0000 01 04 00 00 00 +0000"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        java_util_TimeZone* zone = *k.zone ? static_cast<java_util_TimeZone*>(Runtime::make<java_util_TimeZoneImpl>(
                                                 k.rawOffset, String::fromCString(k.zone)))
                                           : java_util_TimeZone::getDefault();
        Cal* c = calendarIn(zone);
        c->setTimeInMillis(k.instant);
        EXPECT_EQ(narrow(Cal::formatCalendar(c)), k.text);
        EXPECT_EQ(narrow(Cal::formatCalendarDigits(c)), k.digits);
    }
    EXPECT_EQ(narrow(Cal::formatCalendar(nullptr)), "Thu Jan 01 00:00:00 UTC 1970");
    EXPECT_EQ(narrow(Cal::formatCalendarDigits(nullptr)), "0000 00 00 00 00 00 +0000");
}

TEST_F(CalendarTest, EqualityAndOrderFollowTheInstantAndTheZone) {
    java_util_TimeZoneImpl* utc = zoneNamed("UTC");
    Cal* a = calendarIn(utc);
    Cal* b = calendarIn(utc);
    Cal* other = calendarIn(zoneNamed("UTC"));  // an equal zone, but another object
    a->setTimeInMillis(kInstant);
    b->setTimeInMillis(kInstant);
    other->setTimeInMillis(kInstant);
    EXPECT_TRUE(a->equals(a));
    EXPECT_TRUE(a->equals(b));
    EXPECT_FALSE(a->equals(other));
    EXPECT_FALSE(a->equals(utc));
    EXPECT_FALSE(a->equals(nullptr));
    b->set(Cal::SECOND, 10);  // stale: equals derives the instant first
    EXPECT_FALSE(a->equals(b));
    EXPECT_TRUE(a->before(b));
    EXPECT_FALSE(a->after(b));
    EXPECT_TRUE(b->after(a));
    EXPECT_FALSE(a->before(utc));
    EXPECT_FALSE(a->after(nullptr));
    EXPECT_EQ(b->getTimeInMillis(), kInstant + 1000);
}

TEST_F(CalendarTest, DaylightTimeShowsInTheFieldsAndTheOffset) {
    Cal* c = calendarIn(zoneNamed("NORTH"));
    c->setTimeInMillis(kInstant + 120LL * 86400000);  // July 5, 09:05:09 standard
    EXPECT_EQ(c->get(Cal::HOUR_OF_DAY), 10);
    EXPECT_EQ(c->dstOffset, 3600000);
    EXPECT_EQ(c->refreshDstOffset(), 7200000);
    c->setTimeInMillis(kInstant);
    EXPECT_EQ(c->get(Cal::HOUR_OF_DAY), 9);
    EXPECT_EQ(c->refreshDstOffset(), 3600000);
    EXPECT_EQ(c->dstOffset, 0);
    // The same fields read in another zone are another instant; the zone change keeps the instant.
    c->setTimeZone(zoneNamed("UTC"));
    EXPECT_EQ(c->getTimeInMillis(), kInstant);
    EXPECT_EQ(c->get(Cal::HOUR_OF_DAY), 8);
}

// Every Date keeps its own instant (a second Date, a setTime or a calendar's getTime no longer moves
// the others); the constructors still move the shared calendar, which getInstance shows.
TEST_F(CalendarTest, EachDateKeepsItsOwnInstant) {
    const jlong x = 0x123456789ALL;
    const jlong y = kInstant;
    java_util_Date* first = Runtime::make<java_util_Date>(x);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->hashCode(), 0x12 ^ 0x3456789A);
    EXPECT_EQ(Cal::getInstance()->getTimeInMillis(), x);
    java_util_Date* second = Runtime::make<java_util_Date>(y);
    EXPECT_EQ(Cal::getInstance()->getTimeInMillis(), y);
    EXPECT_EQ(first->getTime(), x);
    EXPECT_FALSE(first->equals(second));
    EXPECT_TRUE(second->equals(Runtime::make<java_util_Date>(y)));
    EXPECT_EQ(narrow(first->toString()), "Fri Jun 23 22:44:53 1972");
    EXPECT_EQ(narrow(second->toString()), "Sat Mar 07 08:05:09 2009");
    EXPECT_EQ(Cal::getInstance()->getTimeInMillis(), y);  // toString leaves the shared calendar alone

    Cal* c = calendarIn(zoneNamed("UTC"));
    c->setTimeInMillis(x);
    java_util_Date* got = c->getTime();
    c->setTimeInMillis(y);
    java_util_Date* gotLater = c->getTime();
    EXPECT_NE(got, gotLater);
    EXPECT_EQ(got->getTime(), x);
    EXPECT_EQ(gotLater->getTime(), y);
    c->setTime(got);
    EXPECT_EQ(c->getTimeInMillis(), x);

    m_clock.advance(4321);  // Date() reads the tick count, as the timer does
    EXPECT_EQ(Runtime::make<java_util_Date>()->getTime(), 4321);
    first->calendar = nullptr;
    EXPECT_EQ(narrow(first->toString()), "Thu Jan 01 00:00:00 UTC 1970");
}

}  // namespace
