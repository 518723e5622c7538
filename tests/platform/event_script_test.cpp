// The headless device's event scripts: every event, and bad lines named by number.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/device/device.h"
#include "platform/device/headless/event_script.h"

TEST(EventScriptTest, ParsesEveryEvent) {
    const char* text =
        "# a tap, a key and the phone's own events\n"
        "0 keydown q\n"
        "\n"
        "  80\tkeyup F9  \n"
        "100 stylusdown 240 -12\n"
        "120 stylusmove 250 410\n"
        "140 stylusup 32767 -32768\n"
        "1000 focuslost\n"
        "2000 focusgained\n"
        "2000 power suspend\n"
        "3000 orientation 270\n"
        "3000 keydown 229\n"
        "3000 keyup enter\n"
        "9000 quit\n"
        "9001 quit -3\n";
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(parseEventScript(text, events, error)) << error;
    using K = ScriptEvent::Kind;
    struct Expected {
        int64_t time;
        K kind;
        int32_t a, b;
    };
    const Expected expected[] = {
        {0, K::KeyDown, 'Q', 0},           {80, K::KeyUp, 120, 0},
        {100, K::StylusDown, 240, -12},    {120, K::StylusMove, 250, 410},
        {140, K::StylusUp, 32767, -32768}, {1000, K::FocusLost, 0, 0},
        {2000, K::FocusGained, 0, 0},      {2000, K::Power, static_cast<int32_t>(Power::kSuspend), 0},
        {3000, K::Orientation, Orientation::k270, 0}, {3000, K::KeyDown, 229, 0},
        {3000, K::KeyUp, 13, 0},           {9000, K::Quit, 0, 0},
        {9001, K::Quit, -3, 0},
    };
    ASSERT_EQ(events.size(), std::size(expected));
    for (size_t i = 0; i < events.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(events[i].time, expected[i].time);
        EXPECT_EQ(events[i].kind, expected[i].kind);
        EXPECT_EQ(events[i].a, expected[i].a);
        EXPECT_EQ(events[i].b, expected[i].b);
    }
}

TEST(EventScriptTest, RejectsABadLineByItsNumber) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"keydown Q\n", "line 1: a line starts with a time in milliseconds"},
        {"-5 quit\n", "line 1: a line starts with a time in milliseconds"},
        {"0 keydown Q\n\n100 keyup Q\n50 keydown Q\n", "line 4: times must not go backwards"},
        {"10\n", "line 1: missing event"},
        {"10 jump\n", "line 1: unknown event"},
        {"10 keydown\n", "line 1: wrong number of arguments"},
        {"10 focuslost now\n", "line 1: wrong number of arguments"},
        {"10 keydown SHIFT\n", "line 1: unknown key"},
        {"10 keydown 256\n", "line 1: unknown key"},
        {"10 stylusdown 1 40000\n", "line 1: coordinates must be integers from -32768 to 32767"},
        {"10 stylusdown 1 2x\n", "line 1: coordinates must be integers from -32768 to 32767"},
        {"10 power off\n", "line 1: power state must be on, idle, suspend or unattended"},
        {"10 orientation 45\n", "line 1: orientation must be 0, 90, 180 or 270"},
        {"10 quit 1 2\n", "line 1: quit takes at most an exit code"},
        {"10 quit 99999999999\n", "line 1: bad exit code"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<ScriptEvent> events = {ScriptEvent{}};
        std::string error;
        EXPECT_FALSE(parseEventScript(c.text, events, error));
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(events.size(), 1u);  // untouched
    }
}
