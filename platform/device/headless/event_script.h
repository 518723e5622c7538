// Timed input for the headless device: the events a player and the phone would cause, read from a
// plain-text script (format at the top of event_script.cpp). Invariant: a parsed script is sorted
// by time, and events of equal time keep their line order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ScriptEvent {
    enum class Kind : uint8_t {
        KeyDown, KeyUp,                      // a: virtual key
        StylusDown, StylusMove, StylusUp,    // a, b: portrait pixels
        FocusLost, FocusGained,              // another program took / gave back the focus
        Power,                               // a: power flags (Power::kOn, kIdle, kSuspend, kUnattended)
        Orientation,                         // a: display orientation (Orientation::k0 ...)
        Quit,                                // a: exit code
    };
    int64_t time = 0;  // milliseconds on the device clock
    Kind kind = Kind::Quit;
    int32_t a = 0;
    int32_t b = 0;
};

// False with "line N: why" in error on the first bad line; out is then unchanged.
[[nodiscard]] bool parseEventScript(std::string_view text, std::vector<ScriptEvent>& out, std::string& error);
[[nodiscard]] bool loadEventScript(const std::string& path, std::vector<ScriptEvent>& out, std::string& error);
// A key name of the script (A..Z, 0..9, F1..F12, ENTER, LEFT, UP, RIGHT, DOWN, ESC, HOME, LWIN,
// RWIN, case-insensitive) or a decimal virtual key 1..255 to its virtual key; 0 when unknown.
[[nodiscard]] int32_t scriptKeyCode(std::string_view name);
