// Parser of the headless device's event scripts.
//
// One event per line: a time in milliseconds on the device clock (from 0 at start-up, never
// smaller than the line before), then the event and its arguments, separated by blanks. Blank
// lines and lines starting with '#' are ignored.
//
//     0     keydown Q           key pressed (key name or decimal virtual key)
//     80    keyup Q             key released
//     500   stylusdown 240 400  stylus touches the portrait screen at x, y (may be negative)
//     520   stylusmove 250 410
//     540   stylusup 250 410
//     1000  focuslost           another program takes the focus
//     2000  focusgained         the game gets it back
//     3000  power suspend       power transition: on, idle, suspend or unattended
//     3500  orientation 90      the display turns: 0, 90, 180 or 270 degrees
//     9000  quit                the program is told to end (optional exit code)
//
// Invariant: a bad line rejects the whole script with its line number.
#include "platform/device/headless/event_script.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/device/device.h"

namespace {

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool parseInt(std::string_view s, int64_t& out) {
    if (!s.empty() && s[0] == '+') s.remove_prefix(1);
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size();
}

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        const size_t start = i;
        while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

struct Verb {
    const char* name;
    ScriptEvent::Kind kind;
    int arguments;
};
constexpr Verb kVerbs[] = {
    {"keydown", ScriptEvent::Kind::KeyDown, 1},       {"keyup", ScriptEvent::Kind::KeyUp, 1},
    {"stylusdown", ScriptEvent::Kind::StylusDown, 2}, {"stylusmove", ScriptEvent::Kind::StylusMove, 2},
    {"stylusup", ScriptEvent::Kind::StylusUp, 2},     {"focuslost", ScriptEvent::Kind::FocusLost, 0},
    {"focusgained", ScriptEvent::Kind::FocusGained, 0}, {"power", ScriptEvent::Kind::Power, 1},
    {"orientation", ScriptEvent::Kind::Orientation, 1}, {"quit", ScriptEvent::Kind::Quit, -1},
};

// Fills the event's arguments from the words after the verb; the reason on failure.
const char* parseArguments(ScriptEvent& e, const std::vector<std::string_view>& w) {
    int64_t v = 0, v2 = 0;
    switch (e.kind) {
        case ScriptEvent::Kind::KeyDown:
        case ScriptEvent::Kind::KeyUp:
            e.a = scriptKeyCode(w[2]);
            return e.a == 0 ? "unknown key" : nullptr;
        case ScriptEvent::Kind::StylusDown:
        case ScriptEvent::Kind::StylusMove:
        case ScriptEvent::Kind::StylusUp:
            if (!parseInt(w[2], v) || !parseInt(w[3], v2) || v < -32768 || v > 32767 || v2 < -32768 || v2 > 32767)
                return "coordinates must be integers from -32768 to 32767";
            e.a = static_cast<int32_t>(v);
            e.b = static_cast<int32_t>(v2);
            return nullptr;
        case ScriptEvent::Kind::Power: {
            const std::string s = upper(w[2]);
            if (s == "ON") e.a = static_cast<int32_t>(Power::kOn);
            else if (s == "IDLE") e.a = static_cast<int32_t>(Power::kIdle);
            else if (s == "SUSPEND") e.a = static_cast<int32_t>(Power::kSuspend);
            else if (s == "UNATTENDED") e.a = static_cast<int32_t>(Power::kUnattended);
            else return "power state must be on, idle, suspend or unattended";
            return nullptr;
        }
        case ScriptEvent::Kind::Orientation:
            if (!parseInt(w[2], v)) return "orientation must be 0, 90, 180 or 270";
            if (v == 0) e.a = Orientation::k0;
            else if (v == 90) e.a = Orientation::k90;
            else if (v == 180) e.a = Orientation::k180;
            else if (v == 270) e.a = Orientation::k270;
            else return "orientation must be 0, 90, 180 or 270";
            return nullptr;
        case ScriptEvent::Kind::Quit:
            if (w.size() > 3) return "quit takes at most an exit code";
            if (w.size() == 3 && (!parseInt(w[2], v) || v < INT32_MIN || v > INT32_MAX)) return "bad exit code";
            e.a = static_cast<int32_t>(w.size() == 3 ? v : 0);
            return nullptr;
        case ScriptEvent::Kind::FocusLost:
        case ScriptEvent::Kind::FocusGained:
            return nullptr;
    }
    return "unknown event";
}

}  // namespace

int32_t scriptKeyCode(std::string_view name) {
    const std::string s = upper(name);
    if (s.size() == 1 && ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= '0' && s[0] <= '9'))) return s[0];
    if (s.size() >= 2 && s[0] == 'F') {
        int64_t n = 0;
        if (parseInt(std::string_view(s).substr(1), n) && n >= 1 && n <= 12) return static_cast<int32_t>(111 + n);
    }
    struct Named {
        const char* name;
        int32_t vk;
    };
    static constexpr Named kNamed[] = {{"ENTER", 13}, {"LEFT", 37}, {"UP", 38},    {"RIGHT", 39},
                                       {"DOWN", 40},  {"ESC", 27},  {"HOME", 36}, {"LWIN", 91}, {"RWIN", 92}};
    for (const auto& n : kNamed)
        if (s == n.name) return n.vk;
    int64_t vk = 0;
    if (!s.empty() && std::isdigit(static_cast<unsigned char>(s[0])) && parseInt(s, vk) && vk >= 1 && vk <= 255)
        return static_cast<int32_t>(vk);
    return 0;
}

bool parseEventScript(std::string_view text, std::vector<ScriptEvent>& out, std::string& error) {
    std::vector<ScriptEvent> events;
    int lineNumber = 0;
    int64_t lastTime = 0;
    const auto fail = [&](const char* why) {
        error = "line " + std::to_string(lineNumber) + ": " + why;
        return false;
    };
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++lineNumber;
        const auto w = words(line);
        if (w.empty() || w[0][0] == '#') continue;
        ScriptEvent e;
        if (!parseInt(w[0], e.time) || e.time < 0) return fail("a line starts with a time in milliseconds");
        if (e.time < lastTime) return fail("times must not go backwards");
        if (w.size() < 2) return fail("missing event");
        const Verb* verb = nullptr;
        for (const auto& v : kVerbs)
            if (w[1] == v.name) verb = &v;
        if (verb == nullptr) return fail("unknown event");
        if (verb->arguments >= 0 && static_cast<int>(w.size()) != 2 + verb->arguments)
            return fail("wrong number of arguments");
        e.kind = verb->kind;
        if (const char* why = parseArguments(e, w)) return fail(why);
        lastTime = e.time;
        events.push_back(e);
    }
    out = std::move(events);
    return true;
}

bool loadEventScript(const std::string& path, std::vector<ScriptEvent>& out, std::string& error) {
    // A folder would read as an empty script and a FIFO could block for ever: only files are scripts.
    std::error_code ec;
    if (std::filesystem::exists(path, ec) && !std::filesystem::is_regular_file(path, ec)) {
        error = path + " is not a regular file";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parseEventScript(text.str(), out, error);
}
