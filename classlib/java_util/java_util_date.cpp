// Date: an instant with Java's equality and hash, shown through the shared calendar's zone.
#include "classlib/java_util/java_util_date.h"

#include "classlib/java_util/java_util_calendar.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/system_natives.h"

namespace {

const uint32_t kDateRefs[] = {BX_REF_FIELD(java_util_Date, calendar)};
const RefFieldRegistration kDateRefsReg(CID_java_util_Date, kDateRefs);

constexpr jint kNoCalendarLiteral = 239;

}  // namespace

void java_util_Date::init() {
    // The tick count's low word, as the platform's 32-bit tick counter gives it.
    init(static_cast<jlong>(static_cast<uint32_t>(java_lang_System::currentTimeMillis())));
}

void java_util_Date::init(jlong ms) {
    // The instant is the Date's own: if every Date read the shared calendar, making one Date or
    // asking a calendar for its time would change the value of every Date already held (a timer's
    // first run, a saved time stamp).
    millis = ms;
    calendar = java_util_Calendar::getInstance();
    BX_RETURN_IF_NULL(calendar);
    calendar->setTimeInMillis(ms);
}

bool java_util_Date::equals(Object* other) {
    return other && Runtime::instanceOf(other, CID_java_util_Date) &&
           static_cast<java_util_Date*>(other)->millis == millis;
}

jint java_util_Date::hashCode() { return jt::l2i(jt::shr(millis, 32)) ^ jt::l2i(millis); }

String* java_util_Date::toString() {
    if (!calendar) return Runtime::ldcString(kNoCalendarLiteral);
    // A calendar of its own: formatting leaves the shared one where its users put it.
    auto* shown = Runtime::make<java_util_Calendar>();
    BX_RETURN_IF_NULL(shown, nullptr);
    shown->setTimeZone(calendar->getTimeZone());
    BX_RETURN_IF_PENDING(nullptr);
    shown->setTimeInMillis(millis);
    BX_RETURN_IF_PENDING(nullptr);
    return java_util_Calendar::formatCalendar(shown);
}
