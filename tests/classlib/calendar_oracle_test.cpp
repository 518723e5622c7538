// Our Calendar and TimeZoneImpl against the JVM's GregorianCalendar and SimpleTimeZone: every line of
// tests/fixtures/calendar_oracle.txt (made by tests/oracle/CalendarOracle.java) is redone here and
// compared. Where our rules knowingly differ from Java's the case is listed with our own result and
// the reason, and the test checks that it does differ, so the list cannot go stale.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "date_fixture.h"
#include "runtime/exceptions.h"

namespace {

struct KnownDifference {
    const char* ops;   // the set operations of the line
    jlong ours;        // our instant
    const char* why;
};

// All from 2009-03-07 08:05:09 UTC (1236413109000).
const KnownDifference kKnownDifferences[] = {
    {"AP=1", 1236413109000, "an AM/PM with no 12-hour hour set waits for one; Java moves the hour at once"},
    {"AP=1 HR=12", 1236427509000, "HOUR 12 with PM is noon; Java's HOUR is 0..11, so 12 PM is the next midnight"},
    {"HOD=25", 1236387909000, "HOUR_OF_DAY is kept mod 24 (01:05:09 the same day); Java carries into the next day"},
    {"D=32", 1235808309000, "DATE is masked to 5 bits (32 is day 0, the last of February); Java carries"},
    {"MIN=64", 1236412809000, "MINUTE is masked to 6 bits (64 is minute 0); Java carries"},
};

const KnownDifference* knownDifference(const std::string& ops) {
    for (const KnownDifference& k : kKnownDifferences)
        if (ops == k.ops) return &k;
    return nullptr;
}

jint fieldNumber(const std::string& key) {
    static const std::map<std::string, jint> kFields = {
        {"Y", java_util_Calendar::YEAR},          {"M", java_util_Calendar::MONTH},
        {"D", java_util_Calendar::DATE},          {"HOD", java_util_Calendar::HOUR_OF_DAY},
        {"HR", java_util_Calendar::HOUR},         {"AP", java_util_Calendar::AM_PM},
        {"MIN", java_util_Calendar::MINUTE},      {"SEC", java_util_Calendar::SECOND},
        {"MS", java_util_Calendar::MILLISECOND}};
    auto it = kFields.find(key);
    return it == kFields.end() ? -1 : it->second;
}

constexpr const char* kZoneNames[] = {"UTC", "P0530", "M0500", "NORTH", "SOUTH", "ONAFTER", "DAYS"};
constexpr size_t kZoneCount = std::size(kZoneNames);

class CalendarOracleTest : public DateTest {
protected:
    void SetUp() override {
        DateTest::SetUp();
        for (Object*& slot : m_calendars) objectManager().addRoot(&slot);
        for (size_t i = 0; i < kZoneCount; ++i) m_calendars[i] = calendarIn(zoneNamed(kZoneNames[i]));
    }
    void TearDown() override {
        for (Object*& slot : m_calendars) objectManager().removeRoot(&slot);
        DateTest::TearDown();
    }
    java_util_Calendar* calendarFor(const std::string& zoneName) {
        for (size_t i = 0; i < kZoneCount; ++i)
            if (zoneName == kZoneNames[i]) return static_cast<java_util_Calendar*>(m_calendars[i]);
        return nullptr;
    }
    Object* m_calendars[kZoneCount] = {};
};

TEST_F(CalendarOracleTest, FieldsInstantsAndOffsetsMatchTheJvm) {
    std::ifstream in(std::string(BRINDLEX_FIXTURES) + "/calendar_oracle.txt");
    ASSERT_TRUE(in) << "calendar_oracle.txt missing";
    for (const char* name : kZoneNames) ASSERT_NE(calendarFor(name), nullptr) << name;

    std::string line;
    int fieldLines = 0, offsetLines = 0, setLines = 0, knownSeen = 0;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind, zoneName, colon;
        words >> kind >> zoneName;
        java_util_Calendar* c = calendarFor(zoneName);
        ASSERT_NE(c, nullptr) << line;
        if (kind == "fields") {
            jlong ms = 0;
            words >> ms >> colon;
            std::string expected;
            std::getline(words, expected);
            c->setTimeInMillis(ms);
            std::ostringstream ours;
            // Java's HOUR is 0..11 where ours is 1..12: our 12 is printed as Java's 0.
            const jint hour = c->get(java_util_Calendar::HOUR);
            ours << ' ' << c->get(java_util_Calendar::YEAR) << ' ' << c->get(java_util_Calendar::MONTH) << ' '
                 << c->get(java_util_Calendar::DATE) << ' ' << c->get(java_util_Calendar::DAY_OF_WEEK) << ' '
                 << c->get(java_util_Calendar::HOUR_OF_DAY) << ' ' << c->get(java_util_Calendar::AM_PM) << ' '
                 << (hour == 12 ? 0 : hour) << ' ' << c->get(java_util_Calendar::MINUTE) << ' '
                 << c->get(java_util_Calendar::SECOND) << ' ' << c->get(java_util_Calendar::MILLISECOND);
            EXPECT_EQ(ours.str(), expected) << line;
            ++fieldLines;
        } else if (kind == "offset") {
            jint year = 0, month = 0, day = 0, dow = 0, millis = 0, expected = 0;
            words >> year >> month >> day >> dow >> millis >> colon >> expected;
            const jint ours = c->getTimeZone()->getOffset(1, year, month, day, dow, millis);
            EXPECT_FALSE(Runtime::pending()) << line;
            EXPECT_EQ(ours, expected) << line;
            ++offsetLines;
        } else if (kind == "set") {
            jlong from = 0, expected = 0;
            words >> from;
            c->setTimeInMillis(from);
            std::string ops, op;
            while (words >> op && op != ":") {
                ops += (ops.empty() ? "" : " ") + op;
                const size_t eq = op.find('=');
                const jint field = fieldNumber(op.substr(0, eq));
                ASSERT_GE(field, 0) << line;
                c->set(field, std::stoi(op.substr(eq + 1)));
            }
            words >> expected;
            const jlong ours = c->getTimeInMillis();
            EXPECT_FALSE(Runtime::pending()) << line;
            if (const KnownDifference* known = knownDifference(ops)) {
                EXPECT_EQ(ours, known->ours) << line << " (" << known->why << ")";
                EXPECT_NE(ours, expected) << line << ": listed as a difference but Java agrees";
                ++knownSeen;
            } else {
                EXPECT_EQ(ours, expected) << line;
            }
            ++setLines;
        } else {
            ADD_FAILURE() << "unknown line: " << line;
        }
    }
    EXPECT_GT(fieldLines, 1000);
    EXPECT_GT(offsetLines, 1000);
    EXPECT_GT(setLines, 30);
    EXPECT_EQ(knownSeen, static_cast<int>(std::size(kKnownDifferences)));
}

}  // namespace
