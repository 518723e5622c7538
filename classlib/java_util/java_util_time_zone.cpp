// TimeZone and TimeZoneImpl: the known zones, the rule checks and the daylight-saving test of a
// local date against a start and an end rule. A rule's day of month is found from the weekday of
// the date asked about, so no calendar is needed here.
#include "classlib/java_util/java_util_time_zone.h"

#include "classlib/java_lang/java_lang_exceptions.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/monitor.h"
#include "runtime/static_class.h"
#include "runtime/string.h"
#include "runtime/string_buffer.h"

namespace {

const uint32_t kZoneRefs[] = {BX_REF_FIELD(java_util_TimeZoneImpl, ID),
                              BX_REF_FIELD(java_util_TimeZoneImpl, monthLength)};
const RefFieldRegistration kZoneRefsReg(CID_java_util_TimeZoneImpl, kZoneRefs);
const StaticRefRegistration kZoneStatics(CID_java_util_TimeZoneImpl, &java_util_TimeZoneImpl::defaultZone,
                                         &java_util_TimeZoneImpl::zoneIds, &java_util_TimeZoneImpl::monthLengths,
                                         &java_util_TimeZoneImpl::zones);

constexpr jint kMillisPerDay = 86400000;
constexpr jint kOneHour = 3600000;

constexpr jint kEmptyLiteral = 1;
constexpr jint kBadSavingsLiteral = 216;
constexpr jint kBadMonthLiteral = 217;
constexpr jint kFirstZoneIdLiteral = 218;
constexpr jint kStartRuleLiterals = 219;  // month, time, day of week, week in month, day
constexpr jint kEndRuleLiterals = 224;
constexpr jint kSecondZoneIdLiteral = 229;

constexpr jint kDayOfMonthMode = 1;
constexpr jint kDayOfWeekInMonthMode = 2;
constexpr jint kDayOfWeekOnOrAfterMode = 3;
constexpr jint kDayOfWeekOnOrBeforeMode = 4;

// IllegalArgumentException whose message is the literal followed by the value.
void raiseWithValue(jint literal, jint value) {
    auto* text = new StringBuffer();
    String* message = nullptr;
    if (text) {
        text->initWithCapacity(16);
        message = text->appendString(Runtime::ldcString(literal))->appendInt(value)->toString();
    }
    Runtime::raise<java_lang_IllegalArgumentException>(message);
}

// -1, 0 or 1: the date against the rule's moment in the rule's month. Java int arithmetic: the rule
// fields passed the checks but may still be extreme.
jint compareWithRule(jint month, jint monthLen, jint dayOfMonth, jint dayOfWeek, jint millis, jint mode, jint ruleMonth,
                     jint ruleDayOfWeek, jint ruleDay, jint ruleMillis) {
    if (month < ruleMonth) return -1;
    if (month > ruleMonth) return 1;
    jint ruleDayOfMonth = 0;
    switch (mode) {
        case kDayOfMonthMode:
            ruleDayOfMonth = ruleDay;
            break;
        case kDayOfWeekInMonthMode:
            if (ruleDay > 0) {
                const jint firstDayOfWeek = jt::add(jt::sub(dayOfWeek, dayOfMonth), 1);  // weekday of the 1st
                ruleDayOfMonth = jt::add(jt::add(1, jt::mul(jt::sub(ruleDay, 1), 7)),
                                         jt::rem(jt::sub(jt::add(7, ruleDayOfWeek), firstDayOfWeek), 7));
            } else {
                const jint lastDayOfWeek = jt::sub(jt::add(dayOfWeek, monthLen), dayOfMonth);  // weekday of the last
                ruleDayOfMonth = jt::sub(jt::add(monthLen, jt::mul(jt::add(ruleDay, 1), 7)),
                                         jt::rem(jt::sub(jt::add(7, lastDayOfWeek), ruleDayOfWeek), 7));
            }
            break;
        case kDayOfWeekOnOrAfterMode:
            ruleDayOfMonth = jt::add(
                ruleDay,
                jt::rem(jt::add(jt::sub(jt::sub(jt::add(49, ruleDayOfWeek), ruleDay), dayOfWeek), dayOfMonth), 7));
            break;
        case kDayOfWeekOnOrBeforeMode:
            ruleDayOfMonth = jt::sub(
                ruleDay,
                jt::rem(jt::sub(jt::add(jt::add(jt::sub(49, ruleDayOfWeek), ruleDay), dayOfWeek), dayOfMonth), 7));
            break;
        default:
            break;
    }
    if (dayOfMonth < ruleDayOfMonth) return -1;
    if (dayOfMonth > ruleDayOfMonth) return 1;
    if (millis < ruleMillis) return -1;
    return millis == ruleMillis ? 0 : 1;
}

// The twin checks of the start and end rule. `literals` is the first of the rule's five messages.
void checkRule(java_util_TimeZoneImpl* zone, jint& month, jint& day, jint& dayOfWeek, jint time, jint& mode,
               jint literals) {
    zone->useDaylight = zone->startDay != 0 && zone->endDay != 0 ? 1 : 0;
    if (day == 0) return;
    if (month < 0 || month > 11) return raiseWithValue(literals, month);
    if (time < 0 || time > kMillisPerDay) return raiseWithValue(literals + 1, time);
    if (dayOfWeek == 0) {
        mode = kDayOfMonthMode;
    } else {
        if (dayOfWeek > 0) {
            mode = kDayOfWeekInMonthMode;
        } else {
            dayOfWeek = jt::neg(dayOfWeek);
            if (day > 0) {
                mode = kDayOfWeekOnOrAfterMode;
            } else {
                day = jt::neg(day);
                mode = kDayOfWeekOnOrBeforeMode;
            }
        }
        if (dayOfWeek > 7) return raiseWithValue(literals + 2, dayOfWeek);
        if (mode == kDayOfWeekInMonthMode) {
            if (day < -5 || day > 5) raiseWithValue(literals + 3, day);
            return;
        }
    }
    if (day > java_util_TimeZoneImpl::monthLengths->get(month)) raiseWithValue(literals + 4, day);
}

}  // namespace

java_util_TimeZone* java_util_TimeZoneImpl::defaultZone = nullptr;
ObjectArray* java_util_TimeZoneImpl::zoneIds = nullptr;
ByteArray* java_util_TimeZoneImpl::monthLengths = nullptr;
ObjectArray* java_util_TimeZoneImpl::zones = nullptr;

// ---- TimeZone ----

jint java_util_TimeZone::getOffset(jint, jint, jint, jint, jint, jint) { return 0; }
jint java_util_TimeZone::getRawOffset() { return 0; }
jboolean java_util_TimeZone::useDaylightTime() { return 0; }
String* java_util_TimeZone::getID() { return nullptr; }

java_util_TimeZone* java_util_TimeZone::getDefault() {
    if (!java_util_TimeZoneImpl::defaultZone) java_util_TimeZoneImpl::defaultZone = Runtime::make<java_util_TimeZoneImpl>();
    return java_util_TimeZoneImpl::defaultZone;
}

ObjectArray* java_util_TimeZone::getAvailableIDs() {
    auto* zone = static_cast<java_util_TimeZoneImpl*>(getDefault());
    BX_RETURN_IF_NULL(zone, nullptr);
    return zone->listZoneIds();
}

// ---- TimeZoneImpl ----

void java_util_TimeZoneImpl::clinit() {
    if (monthLengths) return;
    ByteArray* lengths = Runtime::newByteArray(12);
    BX_RETURN_IF_NULL(lengths);
    lengths->fill({31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31});
    monthLengths = lengths;  // set first: the zones made below find the tables done
    zones = Runtime::newObjectArray(CID_java_util_TimeZone, 2);
    BX_RETURN_IF_NULL(zones);
    auto* first = Runtime::make<java_util_TimeZoneImpl>(jint{0}, Runtime::ldcString(kFirstZoneIdLiteral));
    zones->set(0, first);
    auto* second = Runtime::make<java_util_TimeZoneImpl>(jint{0}, Runtime::ldcString(kSecondZoneIdLiteral));
    zones->set(1, second);
}

void java_util_TimeZoneImpl::initCommon() {
    clinit();
    useDaylight = 0;
    monthLength = monthLengths;
}

void java_util_TimeZoneImpl::init() { initCommon(); }

void java_util_TimeZoneImpl::init(jint raw, String* id) {
    initCommon();
    rawOffset = raw;
    ID = id;
    dstSavings = kOneHour;
}

void java_util_TimeZoneImpl::init(jint raw, String* id, jint startMonth_, jint startDay_, jint startDayOfWeek_,
                                  jint startTime_, jint endMonth_, jint endDay_, jint endDayOfWeek_, jint endTime_,
                                  jint dstSavings_) {
    initCommon();
    rawOffset = raw;
    ID = id;
    startMonth = startMonth_;
    startDay = startDay_;
    startDayOfWeek = startDayOfWeek_;
    startTime = startTime_;
    endMonth = endMonth_;
    endDay = endDay_;
    endDayOfWeek = endDayOfWeek_;
    endTime = endTime_;
    dstSavings = dstSavings_;
    checkStartRule();
    checkEndRule();
    if (dstSavings < 1) Runtime::raise<java_lang_IllegalArgumentException>(Runtime::ldcString(kBadSavingsLiteral));
}

void java_util_TimeZoneImpl::checkStartRule() {
    checkRule(this, startMonth, startDay, startDayOfWeek, startTime, startMode, kStartRuleLiterals);
}

void java_util_TimeZoneImpl::checkEndRule() {
    checkRule(this, endMonth, endDay, endDayOfWeek, endTime, endMode, kEndRuleLiterals);
}

void java_util_TimeZoneImpl::checkRules() {
    checkStartRule();
    checkEndRule();
}

jint java_util_TimeZoneImpl::getOffset(jint era, jint year, jint month, jint day, jint dayOfWeek, jint millis) {
    if (month < 0 || month > 11) {
        raiseWithValue(kBadMonthLiteral, month);
        return 0;
    }
    BX_RETURN_IF_NULL(monthLength, 0);
    return offsetWithMonthLength(era, year, month, day, dayOfWeek, millis, monthLength->get(month));
}

jint java_util_TimeZoneImpl::offsetWithMonthLength(jint era, jint year, jint month, jint day, jint dayOfWeek,
                                                   jint millis, jint monthLen) {
    const bool valid = (era == 0 || era == 1) && month >= 0 && month <= 11 && day >= 1 && day <= monthLen &&
                       dayOfWeek >= 1 && dayOfWeek <= 7 && millis >= 0 && millis < kMillisPerDay &&
                       monthLen >= 28 && monthLen <= 31;
    if (!valid) {
        Runtime::raise<java_lang_IllegalArgumentException>(Runtime::ldcString(kEmptyLiteral));
        return 0;
    }
    if (!useDaylight || year < startYear || era != 1) return rawOffset;
    const bool southern = startMonth > endMonth;
    const jint startCompare = compareWithRule(month, monthLen, day, dayOfWeek, millis, startMode, startMonth,
                                              startDayOfWeek, startDay, startTime);
    jint endCompare = 0;
    if (southern != (startCompare >= 0)) {
        // The end rule is in wall time: move the date on by the savings.
        jint wall = jt::add(millis, dstSavings);
        if (wall >= kMillisPerDay) {
            const jint days = wall / kMillisPerDay;
            wall %= kMillisPerDay;
            for (jint i = 0; i < days; ++i) {
                if (++day > monthLen) {
                    day = 1;
                    ++month;
                }
                dayOfWeek = dayOfWeek % 7 + 1;
            }
        }
        endCompare = compareWithRule(month, monthLen, day, dayOfWeek, wall, endMode, endMonth, endDayOfWeek, endDay,
                                     endTime);
    }
    const bool daylight =
        southern ? (startCompare >= 0 || endCompare < 0) : (startCompare >= 0 && endCompare < 0);
    return daylight ? jt::add(rawOffset, dstSavings) : rawOffset;
}

ObjectArray* java_util_TimeZoneImpl::listZoneIds() {
    MonitorLock lock(this);
    if (!zoneIds) {
        BX_RETURN_IF_NULL(zones, nullptr);
        ObjectArray* ids = Runtime::newObjectArray(CID_String, zones->length);
        BX_RETURN_IF_NULL(ids, nullptr);
        for (jint i = 0; i < zones->length; ++i) {
            auto* zone = static_cast<java_util_TimeZone*>(zones->get(i));
            BX_RETURN_IF_NULL(zone, nullptr);
            ids->set(i, zone->getID());
        }
        zoneIds = ids;
    }
    return zoneIds;
}
