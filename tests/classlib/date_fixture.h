// Fixture for the time-zone, calendar and date tests: fresh heaps, the classes' literals, and the
// zones the Java oracle uses, made by name. The statics (shared calendar, known zones) go before
// the heaps do.
#pragma once

#include <string>

#include "../runtime/runtime_fixture.h"
#include "classlib/java_util/java_util_calendar.h"
#include "classlib/java_util/java_util_time_zone.h"
#include "pool_helpers.h"
#include "runtime/compiled.h"
#include "runtime/static_class.h"
#include "runtime/string.h"

class DateTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        installDateLiterals();
    }
    void TearDown() override {
        Runtime::clearPendingException();
        StaticClass::releaseStatics();
        Runtime::setConstantPool(nullptr);
        RuntimeTest::TearDown();
    }

    // The zones of tests/oracle/CalendarOracle.java; null for an unknown name.
    static java_util_TimeZoneImpl* zoneNamed(const std::string& name) {
        String* id = String::fromCString(name.c_str());
        if (name == "UTC") return Runtime::make<java_util_TimeZoneImpl>(jint{0}, id);
        if (name == "P0530") return Runtime::make<java_util_TimeZoneImpl>(jint{19800000}, id);
        if (name == "M0500") return Runtime::make<java_util_TimeZoneImpl>(jint{-18000000}, id);
        if (name == "NORTH")
            return Runtime::make<java_util_TimeZoneImpl>(3600000, id, 2, -1, 1, 3600000, 9, -1, 1, 7200000, 3600000);
        if (name == "SOUTH")
            return Runtime::make<java_util_TimeZoneImpl>(36000000, id, 9, 1, 1, 7200000, 2, -1, 1, 10800000, 3600000);
        if (name == "ONAFTER")
            return Runtime::make<java_util_TimeZoneImpl>(-18000000, id, 2, 8, -1, 7200000, 10, -25, -1, 7200000, 1800000);
        if (name == "DAYS") return Runtime::make<java_util_TimeZoneImpl>(0, id, 3, 1, 0, 0, 8, 30, 0, 0, 3600000);
        return nullptr;
    }

    // A calendar of its own (not the shared one) in `zone`.
    static java_util_Calendar* calendarIn(java_util_TimeZone* zone) {
        auto* c = Runtime::make<java_util_Calendar>();
        if (c) c->setTimeZone(zone);
        return c;
    }
};
