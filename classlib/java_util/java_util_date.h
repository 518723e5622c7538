// java_util_Date (class id 55): an instant in UTC milliseconds. Invariant: `millis` is the Date's
// own instant; `calendar` is the shared calendar (whose zone toString shows), never the place the
// instant is kept, so a Date keeps its value whatever other Dates and calendars do.
#pragma once

#include "runtime/object.h"

class java_util_Calendar;

class java_util_Date : public Object {
public:
    static constexpr ClassId kClassId = CID_java_util_Date;

    java_util_Date() { setClassId(CID_java_util_Date); }

    // Date(): the tick count (System.currentTimeMillis), as the timer counts.
    void init();
    // Date(long). Both constructors also move the shared calendar to the instant.
    void init(jlong ms);

    bool equals(Object* other) override;
    // The shared calendar's text of this instant.
    String* toString() override;
    // High word XOR low word of the instant.
    jint hashCode() override;

    [[nodiscard]] jlong getTime() const { return millis; }
    void setTime(jlong ms) { millis = ms; }

    java_util_Calendar* calendar;
    jlong millis;
};
