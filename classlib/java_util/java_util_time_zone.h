// java_util_TimeZone (class id 69): the abstract zone, no state of its own; and its one
// implementation java_util_TimeZoneImpl (class id 70): a raw offset from UTC and an optional pair of
// daylight-saving rules. Invariant: once constructed a zone's fields no longer change; the rule
// modes (1 day of month, 2 weekday in month, 3 weekday on or after, 4 weekday on or before) are set
// by the rule checks from the rule fields. The system knows two zones ("GMT", "UTC") and one unnamed
// default zone, all at offset 0 without daylight saving.
#pragma once

#include "runtime/object.h"

class ByteArray;
class ObjectArray;
class String;

class java_util_TimeZone : public Object {
public:
    static constexpr ClassId kClassId = CID_java_util_TimeZone;

    java_util_TimeZone() { setClassId(CID_java_util_TimeZone); }

    // Slots 6 to 9; the abstract class answers 0, false and null.
    virtual jint getOffset(jint era, jint year, jint month, jint day, jint dayOfWeek, jint millis);
    virtual jint getRawOffset();
    virtual jboolean useDaylightTime();
    virtual String* getID();

    // The unnamed zone at offset 0, made on the first call; the same object every time.
    static java_util_TimeZone* getDefault();
    // The known zones' ids in order; the same array every time.
    static ObjectArray* getAvailableIDs();
};

class java_util_TimeZoneImpl : public java_util_TimeZone {
public:
    static constexpr ClassId kClassId = CID_java_util_TimeZoneImpl;

    java_util_TimeZoneImpl() { setClassId(CID_java_util_TimeZoneImpl); }

    // The default zone's form: no id, offset 0, no savings.
    void init();
    // A fixed zone: savings of one hour, used by no rule.
    void init(jint rawOffset, String* id);
    // A zone with daylight-saving rules. A day of 0 in either rule means no daylight saving. Each
    // faulty rule field raises IllegalArgumentException; the checks all run, the last fault raised
    // is the one left pending.
    void init(jint rawOffset, String* id, jint startMonth, jint startDay, jint startDayOfWeek, jint startTime,
              jint endMonth, jint endDay, jint endDayOfWeek, jint endTime, jint dstSavings);

    // A month outside 0..11 raises IllegalArgumentException (literal 217 and the month).
    jint getOffset(jint era, jint year, jint month, jint day, jint dayOfWeek, jint millis) override;
    jint getRawOffset() override { return rawOffset; }
    jboolean useDaylightTime() override { return useDaylight; }
    String* getID() override { return ID; }

    // The offset for local standard time `millis` into the given day; arguments out of range raise
    // IllegalArgumentException (the empty message).
    jint offsetWithMonthLength(jint era, jint year, jint month, jint day, jint dayOfWeek, jint millis,
                               jint monthLen);
    // Under this zone's monitor: the known ids, built on the first call.
    ObjectArray* listZoneIds();
    void checkStartRule();
    void checkEndRule();
    void checkRules();

    // Builds the month lengths and the known zones, once.
    static void clinit();

    static java_util_TimeZone* defaultZone;
    static ObjectArray* zoneIds;
    // February always has 29 days here.
    static ByteArray* monthLengths;
    static ObjectArray* zones;

    String* ID;
    jint startMonth;
    jint startDay;
    jint startDayOfWeek;
    jint startTime;
    jint endMonth;
    jint endDay;
    jint endDayOfWeek;
    jint endTime;
    jint startYear;
    jint rawOffset;
    jboolean useDaylight;
    ByteArray* monthLength;
    jint startMode;
    jint endMode;
    jint dstSavings;

private:
    // The fields' state before any constructor body, then the static tables.
    void initCommon();
};
