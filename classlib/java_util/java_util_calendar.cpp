// Calendar: instant <-> packed local fields, the two text formatters, and the shared calendar.
// Day arithmetic goes through Julian day numbers and floor division (instants before 1970 are
// negative); the zone is asked for its offset with the local standard date of the instant.
#include "classlib/java_util/java_util_calendar.h"

#include "classlib/java_lang/java_lang_exceptions.h"
#include "classlib/java_util/java_util_date.h"
#include "classlib/java_util/java_util_time_zone.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/static_class.h"
#include "runtime/string.h"
#include "runtime/string_buffer.h"
#include "runtime/system_natives.h"

namespace {

const uint32_t kCalendarRefs[] = {BX_REF_FIELD(java_util_Calendar, zone), BX_REF_FIELD(java_util_Calendar, dateCache)};
const RefFieldRegistration kCalendarRefsReg(CID_java_util_Calendar, kCalendarRefs);
const StaticRefRegistration kCalendarStatics(CID_java_util_Calendar, &java_util_Calendar::daysBeforeMonth,
                                             &java_util_Calendar::daysBeforeMonthLeap,
                                             &java_util_Calendar::sharedCalendar, &java_util_Calendar::monthNames,
                                             &java_util_Calendar::dayNames);

constexpr jlong kMillisPerDay = 86400000;
constexpr jlong kJulianDayOfEpoch = 2440588;                 // 1970-01-01
constexpr jlong kCutoverMillis = -12219292800000LL;          // 1582-10-15T00:00Z
constexpr jlong kJulianDayOfMinMillis = -106749550580LL;     // the day of the earliest instant
constexpr jint kCutoverYear = 1582;
constexpr jlong kDaysIn400Years = 146097;
constexpr jlong kDaysIn100Years = 36524;
constexpr jlong kDaysIn4Years = 1461;
constexpr jlong kDaysInYear = 365;

constexpr jint kEmptyLiteral = 1;
constexpr jint kNullCalendarLiteral = 239;
constexpr jint kMonthNameLiterals = 240;  // 12, January first
constexpr jint kDayNameLiterals = 252;    // 7, Sunday first
constexpr jint kNullDigitsLiteral = 259;

constexpr uint32_t kHourShift = 22;
constexpr uint32_t kBelowHour = (1u << kHourShift) - 1;

jlong floorDiv(jlong n, jlong d) { return n >= 0 ? n / d : (n + 1) / d - 1; }

jlong floorDiv(jlong n, jlong d, jlong& rem) {
    const jlong q = floorDiv(n, d);
    rem = n - q * d;
    return q;
}

jlong julianDayToMillis(jlong jd) { return jt::mul(jt::sub(jd, kJulianDayOfEpoch), kMillisPerDay); }

// a + b held at the long range's ends.
jlong saturatingAdd(jlong a, jlong b) {
    jlong sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) return a > 0 ? INT64_MAX : INT64_MIN;
    return sum;
}

// The local date of a local instant.
struct LocalDate {
    jint year;
    jint month;      // 0 = January
    jint day;        // 1..31
    jint dayOfWeek;  // 1 = Sunday
};

bool localDateOf(jlong local, LocalDate& out) {
    const jlong d = floorDiv(local, kMillisPerDay);
    jlong year = 0;
    jlong dayOfYear = 0;  // from 0
    bool leap = false;
    jlong dow = 0;
    if (local >= kCutoverMillis) {
        const jlong g = d + 719162;  // days since Monday 0001-01-01 (Gregorian)
        jlong rem = 0;
        const jlong c400 = floorDiv(g, kDaysIn400Years, rem);
        const jlong c100 = floorDiv(rem, kDaysIn100Years, rem);
        const jlong c4 = floorDiv(rem, kDaysIn4Years, rem);
        const jlong c1 = floorDiv(rem, kDaysInYear, rem);
        year = 400 * c400 + 100 * c100 + 4 * c4 + c1;
        dayOfYear = rem;
        if (c100 == 4 || c1 == 4) {
            dayOfYear = 365;  // the last day of a leap cycle
        } else {
            ++year;
        }
        leap = (year & 3) == 0 && (year % 100 != 0 || year % 400 == 0);
        dow = (g + 1) % 7;
    } else {
        const jlong j = d + 719164;
        year = floorDiv(4 * (d + 719530), kDaysIn4Years);
        dayOfYear = j - (365 * (year - 1) + floorDiv(year - 1, 4));
        leap = (year & 3) == 0;
        dow = (j - 1) % 7;
    }
    IntArray* before = leap ? java_util_Calendar::daysBeforeMonthLeap : java_util_Calendar::daysBeforeMonth;
    BX_RETURN_IF_NULL(before, false);
    const jlong march1 = leap ? 60 : 59;
    const jlong correction = dayOfYear >= march1 ? (leap ? 1 : 2) : 0;
    const auto month = static_cast<jint>((12 * (dayOfYear + correction) + 6) / 367);
    out.year = static_cast<jint>(year);
    out.month = month;
    out.day = static_cast<jint>(dayOfYear - before->get(month) + 1);
    out.dayOfWeek = static_cast<jint>(dow < 0 ? dow + 8 : dow + 1);
    return true;
}

// The time of day `wall` (ms, 0 and up) packed; the hour bits are written whole.
uint32_t packTimeOfDay(jlong wall) {
    return static_cast<uint32_t>(wall % 1000) | static_cast<uint32_t>(wall / 1000 % 60) << 10 |
           static_cast<uint32_t>(wall / 60000 % 60) << 16 | static_cast<uint32_t>(wall / 3600000) << kHourShift;
}

IntArray* newTable(std::initializer_list<jint> values) {
    IntArray* table = Runtime::newIntArray(12);
    if (table) table->fill(values);
    return table;
}

ObjectArray* newLiteralArray(jint first, jint n) {
    ObjectArray* names = Runtime::newObjectArray(CID_String, n);
    if (names)
        for (jint i = 0; i < n; ++i) names->set(i, Runtime::ldcString(first + i));
    return names;
}

// The name at `index`; null (printed "null") for an index outside the names.
String* nameAt(ObjectArray* names, jint index) {
    return names && index >= 0 && index < names->length ? static_cast<String*>(names->get(index)) : nullptr;
}

void appendTwoDigits(StringBuffer* text, jint value) {
    if (value < 10) text->appendChar(u'0');
    text->appendInt(value);
}

// The year, with leading zeros to four digits when 0 <= year < 1000.
String* yearText(jint year) {
    String* digits = String::valueOfInt(year);
    if (!digits || year < 0 || year >= 1000) return digits;
    auto* text = new StringBuffer();
    BX_RETURN_IF_NULL(text, digits);
    text->initWithCapacity(4);
    for (jint i = digits->length(); i < 4; ++i) text->appendChar(u'0');
    return text->appendString(digits)->toString();
}

}  // namespace

IntArray* java_util_Calendar::daysBeforeMonth = nullptr;
IntArray* java_util_Calendar::daysBeforeMonthLeap = nullptr;
java_util_Calendar* java_util_Calendar::sharedCalendar = nullptr;
ObjectArray* java_util_Calendar::monthNames = nullptr;
ObjectArray* java_util_Calendar::dayNames = nullptr;

void java_util_Calendar::init() {
    if (!daysBeforeMonth) daysBeforeMonth = newTable({0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334});
    if (!daysBeforeMonthLeap) daysBeforeMonthLeap = newTable({0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335});
    pendingHour = -1;
    pendingAmPm = -1;
    zone = java_util_TimeZone::getDefault();
    time = java_lang_System::wallClockMillis();
    isTimeSet = 1;
    dayOfWeek = 0;
    refreshFields();
}

java_util_Calendar* java_util_Calendar::getInstance() {
    if (!sharedCalendar) sharedCalendar = Runtime::make<java_util_Calendar>();
    return sharedCalendar;
}

java_util_Calendar* java_util_Calendar::getInstance(java_util_TimeZone* newZone) {
    java_util_Calendar* c = getInstance();
    BX_RETURN_IF_NULL(c, nullptr);
    c->setTimeZone(newZone);
    return c;
}

// ---- instant and fields ----

void java_util_Calendar::fieldsFromLocalTime(jlong localMillis) {
    LocalDate local{};
    if (!localDateOf(localMillis, local)) return;
    date = jt::shl(local.year, 9) | (local.month & 15) << 5 | (local.day & 31);
    dayOfWeek = local.dayOfWeek;
}

void java_util_Calendar::refreshFields() {
    BX_RETURN_IF_NULL(zone);
    const jint raw = zone->getRawOffset();
    BX_RETURN_IF_PENDING();
    const jlong local = saturatingAdd(time, raw);
    fieldsFromLocalTime(local);
    jlong ms = local % kMillisPerDay;
    if (ms < 0) ms += kMillisPerDay;
    const jint offset = zone->getOffset(1, date >> 9, (date >> 5) & 15, date & 31, dayOfWeek, static_cast<jint>(ms));
    BX_RETURN_IF_PENDING();
    const jint dst = jt::sub(offset, raw);
    dstOffset = dst;
    jlong wall = ms + dst;
    if (wall >= kMillisPerDay) {
        fieldsFromLocalTime(saturatingAdd(local, dst));
        wall -= kMillisPerDay;
    }
    timeOfDay = packTimeOfDay(wall);
}

jlong java_util_Calendar::julianDayOf(jboolean isGregorian, jint year) {
    jlong y = year;
    jlong month = (date >> 5) & 15;
    if (month >= 12) y += floorDiv(month, 12, month);
    bool leap = y % 4 == 0;
    const jlong before = y - 1;
    jlong jd = 365 * before + floorDiv(before, 4) + 1721423;
    if (isGregorian) {
        leap = leap && (y % 100 != 0 || y % 400 == 0);
        jd += floorDiv(before, 400) - floorDiv(before, 100) + 2;
    }
    IntArray* days = leap ? daysBeforeMonthLeap : daysBeforeMonth;
    BX_RETURN_IF_NULL(days, jd);
    return jd + days->get(static_cast<jint>(month)) + (date & 31);
}

void java_util_Calendar::timeFromFields() {
    BX_RETURN_IF_NULL(zone);
    const jint year = date >> 9;
    const bool isGregorian = year >= kCutoverYear;
    jlong jd = julianDayOf(isGregorian ? 1 : 0, year);
    jlong ms = julianDayToMillis(jd);
    if (isGregorian != (ms >= kCutoverMillis) && jd != kJulianDayOfMinMillis) {
        jd = julianDayOf(isGregorian ? 0 : 1, year);  // days of 1582 before the cutover are Julian
        ms = julianDayToMillis(jd);
    }
    const jlong secs = (static_cast<jlong>(hourOfDay()) * 60 + ((timeOfDay >> 16) & 63)) * 60 + ((timeOfDay >> 10) & 63);
    ms += secs * 1000 + (timeOfDay & 0x3FF);
    const jint raw = zone->getRawOffset();
    BX_RETURN_IF_PENDING();
    dstOffset = 0;
    // The zone is asked with the date the instant really falls on: fields a set left out of range
    // (month 12..15, day 0 or past the month's end, an hour before midnight) are no error.
    LocalDate local{};
    if (!localDateOf(ms, local)) return;
    jlong msOfDay = 0;
    floorDiv(ms, kMillisPerDay, msOfDay);
    const jint offset =
        zone->getOffset(1, local.year, local.month, local.day, local.dayOfWeek, static_cast<jint>(msOfDay));
    BX_RETURN_IF_PENDING();
    const jint dst = jt::sub(offset, raw);
    time = jt::sub(jt::sub(ms, static_cast<jlong>(dst)), static_cast<jlong>(raw));
    dstOffset = dst;
}

void java_util_Calendar::updateTime() {
    if (isTimeSet) return;
    timeFromFields();
    BX_RETURN_IF_PENDING();
    isTimeSet = 1;
}

void java_util_Calendar::setTimeInMillis(jlong millis) {
    isTimeSet = 1;
    dayOfWeek = 0;
    time = millis;
    refreshFields();
}

jlong java_util_Calendar::getTimeInMillis() {
    updateTime();
    return time;
}

void java_util_Calendar::setTime(java_util_Date* d) {
    BX_RETURN_IF_NULL(d);
    setTimeInMillis(d->getTime());
}

java_util_Date* java_util_Calendar::getTime() {
    updateTime();
    BX_RETURN_IF_PENDING(nullptr);
    // A new Date every time: a Date handed out earlier keeps its own instant.
    dateCache = Runtime::make<java_util_Date>(jlong{time});
    return dateCache;
}

void java_util_Calendar::setTimeZone(java_util_TimeZone* newZone) {
    zone = newZone;
    updateTime();
    BX_RETURN_IF_PENDING();
    refreshFields();
}

// ---- fields ----

jint java_util_Calendar::hourOfDay() const { return static_cast<jint>(timeOfDay) >> kHourShift; }

void java_util_Calendar::setHour(jint hour) {
    timeOfDay = (timeOfDay & kBelowHour) | static_cast<uint32_t>(hour) << kHourShift;
}

jint java_util_Calendar::get(jint field) {
    switch (field) {
        case YEAR:
            return date >> 9;
        case MONTH:
            return (date >> 5) & 15;
        case DATE:
            return date & 31;
        case DAY_OF_WEEK:
            if (dayOfWeek == 0) {
                updateTime();
                BX_RETURN_IF_PENDING(0);
                refreshFields();
            }
            return dayOfWeek;
        case AM_PM:
            return hourOfDay() >= 12 ? 1 : 0;
        case HOUR: {
            const jint hour = hourOfDay() % 12;
            return hour == 0 ? 12 : hour;
        }
        case HOUR_OF_DAY:
            return hourOfDay();
        case MINUTE:
            return static_cast<jint>((timeOfDay >> 16) & 63);
        case SECOND:
            return static_cast<jint>((timeOfDay >> 10) & 63);
        case MILLISECOND:
            return static_cast<jint>(timeOfDay & 0x3FF);
        default:
            Runtime::raise<java_lang_ArrayIndexOutOfBoundsException>();
            return 0;
    }
}

void java_util_Calendar::set(jint field, jint value) {
    isTimeSet = 0;
    dayOfWeek = 0;
    switch (field) {
        case YEAR:
            date = (date & 0x1FF) | jt::shl(value, 9);
            break;
        case MONTH:
            date = (date & ~(15 << 5)) | (value & 15) << 5;
            break;
        case DATE:
            date = (date & ~31) | (value & 31);
            break;
        case AM_PM: {
            if (pendingHour == -1) {
                pendingAmPm = value;
                break;
            }
            jint hour = pendingHour;
            if (value == 1) {
                if (hour != 12) hour += 12;
            } else if (hour == 12) {
                hour = 0;
            }
            setHour(hour);
            pendingHour = -1;
            pendingAmPm = -1;
            break;
        }
        case HOUR: {
            jint hour = value < 12 ? value : 12;
            if (pendingAmPm == -1) {
                setHour(hour);
                pendingHour = hour;
                break;
            }
            if (pendingAmPm == 1) {
                if (hour != 12) hour += 12;
            } else if (pendingAmPm == 0 && hour == 12) {
                hour = 0;
            }
            setHour(hour);
            pendingHour = -1;
            pendingAmPm = -1;
            break;
        }
        case HOUR_OF_DAY:
            setHour(jt::rem(value, 24));
            pendingHour = -1;
            pendingAmPm = -1;
            break;
        case MINUTE:
            timeOfDay = (timeOfDay & ~(63u << 16)) | static_cast<uint32_t>(value & 63) << 16;
            break;
        case SECOND:
            timeOfDay = (timeOfDay & ~(63u << 10)) | static_cast<uint32_t>(value & 63) << 10;
            break;
        case MILLISECOND:
            timeOfDay = (timeOfDay & ~0x3FFu) | static_cast<uint32_t>(value & 0x3FF);
            break;
        default:
            Runtime::raise<java_lang_ArrayIndexOutOfBoundsException>();
            break;
    }
}

jlong java_util_Calendar::refreshDstOffset() {
    get(DAY_OF_WEEK);
    BX_RETURN_IF_PENDING(0);
    BX_RETURN_IF_NULL(zone, 0);
    const jint raw = zone->getRawOffset();
    BX_RETURN_IF_PENDING(0);
    jlong ms = jt::add(time, static_cast<jlong>(raw)) % kMillisPerDay;
    if (ms < 0) ms += kMillisPerDay;
    const jint offset = zone->getOffset(1, date >> 9, (date >> 5) & 15, date & 31, dayOfWeek, static_cast<jint>(ms));
    BX_RETURN_IF_PENDING(0);
    dstOffset = jt::sub(offset, raw);
    return static_cast<jlong>(raw) + dstOffset;
}

// ---- comparisons ----

bool java_util_Calendar::equals(Object* other) {
    if (other == this) return true;
    if (!other || !Runtime::instanceOf(other, CID_java_util_Calendar)) return false;
    auto* that = static_cast<java_util_Calendar*>(other);
    const jlong mine = getTimeInMillis();
    BX_RETURN_IF_PENDING(false);
    const jlong theirs = that->getTimeInMillis();
    BX_RETURN_IF_PENDING(false);
    return mine == theirs && zone && zone->equals(that->zone);
}

jboolean java_util_Calendar::before(Object* other) {
    if (!other || !Runtime::instanceOf(other, CID_java_util_Calendar)) return 0;
    const jlong mine = getTimeInMillis();
    BX_RETURN_IF_PENDING(0);
    const jlong theirs = static_cast<java_util_Calendar*>(other)->getTimeInMillis();
    return mine < theirs ? 1 : 0;
}

jboolean java_util_Calendar::after(Object* other) {
    if (!other || !Runtime::instanceOf(other, CID_java_util_Calendar)) return 0;
    const jlong mine = getTimeInMillis();
    BX_RETURN_IF_PENDING(0);
    const jlong theirs = static_cast<java_util_Calendar*>(other)->getTimeInMillis();
    return mine > theirs ? 1 : 0;
}

// ---- text ----

String* java_util_Calendar::formatCalendar(java_util_Calendar* c) {
    if (!c) return Runtime::ldcString(kNullCalendarLiteral);
    if (!monthNames) monthNames = newLiteralArray(kMonthNameLiterals, 12);
    if (!dayNames) dayNames = newLiteralArray(kDayNameLiterals, 7);
    // The day of the week first: it brings a calendar a set left stale up to date, so the month
    // below is 0..11 again.
    const jint weekday = c->get(DAY_OF_WEEK);
    BX_RETURN_IF_PENDING(nullptr);
    BX_RETURN_IF_NULL(c->zone, nullptr);
    String* id = c->zone->getID();
    if (!id) id = Runtime::ldcString(kEmptyLiteral);
    BX_RETURN_IF_NULL(id, nullptr);
    String* year = yearText(c->get(YEAR));
    BX_RETURN_IF_NULL(year, nullptr);
    auto* text = new StringBuffer();
    BX_RETURN_IF_NULL(text, nullptr);
    text->initWithCapacity(id->length() + year->length() + 25);
    text->appendString(nameAt(dayNames, weekday - 1))->appendChar(u' ');
    text->appendString(nameAt(monthNames, c->get(MONTH)))->appendChar(u' ');
    appendTwoDigits(text, c->get(DATE));
    text->appendChar(u' ');
    appendTwoDigits(text, c->get(HOUR_OF_DAY));
    text->appendChar(u':');
    appendTwoDigits(text, c->get(MINUTE));
    text->appendChar(u':');
    appendTwoDigits(text, c->get(SECOND));
    text->appendChar(u' ');
    if (id->length() > 0) text->appendString(id)->appendChar(u' ');
    text->appendString(year);
    return text->toString();
}

String* java_util_Calendar::formatCalendarDigits(java_util_Calendar* c) {
    if (!c) return Runtime::ldcString(kNullDigitsLiteral);
    BX_RETURN_IF_NULL(c->zone, nullptr);
    String* year = yearText(c->get(YEAR));
    BX_RETURN_IF_NULL(year, nullptr);
    auto* text = new StringBuffer();
    BX_RETURN_IF_NULL(text, nullptr);
    text->initWithCapacity(year->length() + 21);
    text->appendString(year)->appendChar(u' ');
    for (jint field : {MONTH, DATE, HOUR_OF_DAY, MINUTE, SECOND}) {
        appendTwoDigits(text, c->get(field) + (field == MONTH ? 1 : 0));
        text->appendChar(u' ');
    }
    const jint raw = c->zone->getRawOffset();
    text->appendChar(raw < 0 ? u'-' : u'+');
    const jlong minutes = (raw < 0 ? -static_cast<jlong>(raw) : raw) / 60000;
    appendTwoDigits(text, static_cast<jint>(minutes / 60));
    appendTwoDigits(text, static_cast<jint>(minutes % 60));
    return text->toString();
}
