// java_util_Calendar (class id 53): an instant (UTC ms since 1970) and the local-time fields of it in
// a zone, packed in two words; proleptic Julian before the cutover 1582-10-15, Gregorian from it.
// Years are astronomical (year 0 lies before year 1; no era field).
// Invariant: isTimeSet = 1 when `time` agrees with the fields; a `set` clears it (and dayOfWeek),
// and the next reader of the instant (getTimeInMillis, getTime, equals, before, after,
// setTimeZone, get(DAY_OF_WEEK)) derives `time` from the fields. `set` masks a value into its bits
// and never normalises the others.
#pragma once

#include "runtime/object.h"

class IntArray;
class ObjectArray;
class String;
class java_util_Date;
class java_util_TimeZone;

class java_util_Calendar : public Object {
public:
    static constexpr ClassId kClassId = CID_java_util_Calendar;

    // The field numbers get and set accept.
    static constexpr jint YEAR = 1;
    static constexpr jint MONTH = 2;
    static constexpr jint DATE = 5;
    static constexpr jint DAY_OF_WEEK = 7;
    static constexpr jint AM_PM = 9;
    static constexpr jint HOUR = 10;
    static constexpr jint HOUR_OF_DAY = 11;
    static constexpr jint MINUTE = 12;
    static constexpr jint SECOND = 13;
    static constexpr jint MILLISECOND = 14;

    java_util_Calendar() { setClassId(CID_java_util_Calendar); }

    // The default zone at the wall clock's time (whole seconds).
    void init();

    // Slot 1: an equal instant and an equal zone.
    bool equals(Object* other) override;
    // Slot 6: `date` and `dayOfWeek` of the local instant.
    virtual void fieldsFromLocalTime(jlong localMillis);
    // Slot 7: the Julian day number of the `date` fields, Gregorian or Julian; a month of 12..15
    // carries into the year.
    virtual jlong julianDayOf(jboolean isGregorian, jint year);

    // The shared calendar, made on the first call.
    static java_util_Calendar* getInstance();
    // The shared calendar moved to `zone`.
    static java_util_Calendar* getInstance(java_util_TimeZone* zone);

    // Unknown field numbers raise ArrayIndexOutOfBoundsException.
    jint get(jint field);
    void set(jint field, jint value);
    void setTimeInMillis(jlong millis);
    jlong getTimeInMillis();
    void setTime(java_util_Date* date);
    // A new Date of this calendar's instant (also kept in dateCache).
    java_util_Date* getTime();
    void setTimeZone(java_util_TimeZone* zone);
    java_util_TimeZone* getTimeZone() { return zone; }
    jboolean before(Object* other);
    jboolean after(Object* other);
    // Sets dstOffset from the fields and answers the zone's whole offset.
    jlong refreshDstOffset();

    // "Thu Jan 01 00:00:00 1970": day, month, date, time, the zone's id when it has one, year.
    static String* formatCalendar(java_util_Calendar* c);
    // "2009 03 07 08 05 09 -0130": the fields and the zone's raw offset.
    static String* formatCalendarDigits(java_util_Calendar* c);

    static IntArray* daysBeforeMonth;
    static IntArray* daysBeforeMonthLeap;
    static java_util_Calendar* sharedCalendar;
    static ObjectArray* monthNames;
    static ObjectArray* dayNames;

    // Bits 0-9 millisecond, 10-15 second, 16-21 minute, 22-31 hour of day (signed: a negative hour
    // set by a caller counts back into the day before).
    uint32_t timeOfDay;
    // Bits 0-4 day of month, 5-8 month (0 = January), 9 and up the year (arithmetic shift).
    jint date;
    jint dayOfWeek;  // 1 = Sunday .. 7; 0 = not computed since the last set
    jint dstOffset;
    jlong time;
    jboolean isTimeSet;
    java_util_TimeZone* zone;
    java_util_Date* dateCache;
    jint pendingHour;  // a 12-hour-clock hour waiting for AM/PM; -1 = none
    jint pendingAmPm;  // an AM/PM waiting for the hour; -1 = none

private:
    // `time` from the fields when a set left it stale.
    void updateTime();
    // The fields from `time` in the zone.
    void refreshFields();
    void timeFromFields();
    void setHour(jint hour);
    [[nodiscard]] jint hourOfDay() const;
};
