// Parses the step notation line by line into instruments, patterns and a song, then walks the song
// once per instrument, turning steps into timed note events. Every value is range-checked before it
// reaches a MIDI byte, so a source that compiles always gives a well-formed file.
#include "tools/music_compiler.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <sstream>
#include <vector>

#include "tools/parse_number.h"

namespace tools {

namespace {

constexpr int kTicksPerQuarter = 480;
constexpr int kDrumChannel = 10;

struct Instrument {
    std::string name;
    int channel = 0;   // 1..16
    int program = 0;   // 1..128, 0 none
    int volume = 100;
    int pan = 64;
    int reverb = 40;
    int velocity = 96;
};

struct Step {
    enum Kind { Notes, Hold, Rest } kind = Rest;
    std::vector<int> notes;
    int velocity = 0;   // 0: the instrument's own
};

struct Pattern {
    std::map<std::string, std::vector<Step>> lines;   // by instrument name
    int length = -1;
};

struct DrumName {
    char name;
    int note;
};
constexpr DrumName kDrums[] = {{'k', 36}, {'s', 38}, {'p', 39}, {'h', 42}, {'o', 46}, {'c', 49},
                               {'r', 51}, {'t', 45}, {'m', 47}, {'i', 50}, {'b', 56}, {'a', 54}};

struct Source {
    int tempo = 0;
    int steps = 4;
    int bar = 0;
    double gainDb = 0;   // applied to every instrument's volume controller
    std::vector<Instrument> instruments;
    std::map<std::string, Pattern> patterns;
    std::vector<std::string> song;
};

bool parseInt(const std::string& word, int low, int high, int& value) {
    if (word.empty() || word.size() > 9) return false;
    size_t used = 0;
    try {
        value = std::stoi(word, &used);
    } catch (...) {
        return false;
    }
    return used == word.size() && value >= low && value <= high;
}

// A volume controller moved by `db`: General MIDI's volume law is 40 log10(v / 127) dB.
int volumeWithGain(int volume, double db) {
    const double v = std::round(volume * std::pow(10.0, db / 40.0));
    return static_cast<int>(std::clamp(v, 1.0, 127.0));
}

// One note name: letter, accidental, octave (c4 = 60).
bool parseNoteName(std::string_view word, int& note) {
    static constexpr int kSemitone[] = {9, 11, 0, 2, 4, 5, 7};   // a b c d e f g
    if (word.empty() || word[0] < 'a' || word[0] > 'g') return false;
    int n = kSemitone[word[0] - 'a'];
    size_t i = 1;
    if (i < word.size() && (word[i] == '#' || word[i] == 'b')) n += word[i++] == '#' ? 1 : -1;
    int octave = 0;
    if (!parseInt(std::string(word.substr(i)), -1, 9, octave)) return false;
    note = (octave + 1) * 12 + n;
    return note >= 0 && note <= 127;
}

bool parseStep(const std::string& token, bool drums, Step& step, std::string& why) {
    if (token == "-") {
        step.kind = Step::Hold;
        return true;
    }
    if (token == ".") {
        step.kind = Step::Rest;
        return true;
    }
    std::string body = token;
    step.velocity = 0;
    if (body.back() == '!' || body.back() == '?') {
        step.velocity = body.back() == '!' ? +1 : -1;
        body.pop_back();
    }
    step.kind = Step::Notes;
    std::stringstream parts(body);
    std::string part;
    while (std::getline(parts, part, '+')) {
        int note = -1;
        if (drums && part.size() == 1) {
            for (const DrumName& d : kDrums)
                if (d.name == part[0]) note = d.note;
        }
        if (note < 0 && !parseNoteName(part, note)) {
            why = "\"" + token + "\" is not a " + std::string(drums ? "drum name or " : "") + "note";
            return false;
        }
        step.notes.push_back(note);
    }
    if (step.notes.empty()) {
        why = "\"" + token + "\" names no note";
        return false;
    }
    return true;
}

class Parser {
public:
    Parser(std::string_view fileName, Source& source) : m_file(fileName), m_src(source) {}

    bool parse(std::string_view text, std::string& error) {
        std::stringstream in{std::string(text)};
        std::string line;
        while (std::getline(in, line)) {
            ++m_line;
            for (size_t hash = line.find('#'); hash != std::string::npos; hash = line.find('#', hash + 1)) {
                if (startsNote(line, hash)) continue;
                line.resize(hash);
                break;
            }
            std::stringstream words(line);
            std::vector<std::string> w;
            for (std::string word; words >> word;) w.push_back(word);
            if (w.empty()) continue;
            if (!statement(w)) {
                error = m_error;
                return false;
            }
        }
        const bool whole = m_pattern ? fail(m_patternLine, "pattern \"" + m_patternName + "\" has no \"end\"")
                           : !m_src.tempo     ? fail(m_line, "no \"tempo\" line")
                           : m_src.song.empty() ? fail(m_line, "no \"song\" line")
                                                : true;
        if (!whole) error = m_error;
        return whole;
    }

private:
    // '#' after a note letter is a sharp, not a comment ("c#4").
    static bool startsNote(const std::string& line, size_t hash) {
        return hash > 0 && line[hash - 1] >= 'a' && line[hash - 1] <= 'g' && hash + 1 < line.size() &&
               (std::isdigit(static_cast<unsigned char>(line[hash + 1])) || line[hash + 1] == '-');
    }

    bool fail(int line, const std::string& message) {
        m_error = m_file + ":" + std::to_string(line) + ": " + message;
        return false;
    }

    bool statement(const std::vector<std::string>& w) {
        const std::string& key = w[0];
        if (m_pattern) {
            if (key == "end" && w.size() == 1) {
                m_pattern = nullptr;
                return true;
            }
            if (key.back() == ':') return trackLine(w);
            return fail(m_line, "inside pattern \"" + m_patternName + "\" a line is \"NAME: steps\" or \"end\"");
        }
        if (key == "tempo" && w.size() == 2) {
            if (!parseInt(w[1], 20, 400, m_src.tempo)) return fail(m_line, "tempo: 20 to 400 quarter notes a minute");
            return true;
        }
        if (key == "steps" && w.size() == 2) {
            if (!parseInt(w[1], 1, kTicksPerQuarter, m_src.steps) || kTicksPerQuarter % m_src.steps != 0)
                return fail(m_line, "steps: a divisor of 480");
            return true;
        }
        if (key == "gain" && w.size() == 2) {
            if (!parseNumber(w[1], -24, 12, m_src.gainDb)) return fail(m_line, "gain: -24 to 12 dB");
            return true;
        }
        if (key == "bar" && w.size() == 2) {
            if (!parseInt(w[1], 1, 256, m_src.bar)) return fail(m_line, "bar: 1 to 256 steps");
            return true;
        }
        if (key == "instrument") return instrument(w);
        if (key == "pattern" && w.size() == 2) {
            if (m_src.patterns.count(w[1])) return fail(m_line, "pattern \"" + w[1] + "\" is defined twice");
            m_pattern = &m_src.patterns[w[1]];
            m_patternName = w[1];
            m_patternLine = m_line;
            return true;
        }
        if (key == "song" && w.size() >= 2) return song(w);
        return fail(m_line, "unknown statement \"" + key + "\"");
    }

    bool instrument(const std::vector<std::string>& w) {
        if (w.size() < 4 || w.size() % 2 != 0) return fail(m_line, "instrument NAME channel N [program N] [volume N] ...");
        Instrument ins;
        ins.name = w[1];
        for (const Instrument& other : m_src.instruments)
            if (other.name == ins.name) return fail(m_line, "instrument \"" + ins.name + "\" is defined twice");
        for (size_t i = 2; i < w.size(); i += 2) {
            const std::string& field = w[i];
            int* value = nullptr;
            int low = 0, high = 127;
            if (field == "channel") value = &ins.channel, low = 1, high = 16;
            else if (field == "program") value = &ins.program, low = 1, high = 128;
            else if (field == "volume") value = &ins.volume;
            else if (field == "pan") value = &ins.pan;
            else if (field == "reverb") value = &ins.reverb;
            else if (field == "velocity") value = &ins.velocity, low = 1;
            else return fail(m_line, "instrument " + ins.name + ": unknown field \"" + field + "\"");
            if (!parseInt(w[i + 1], low, high, *value))
                return fail(m_line, "instrument " + ins.name + ": " + field + " is " + std::to_string(low) + " to " +
                                        std::to_string(high));
        }
        if (!ins.channel) return fail(m_line, "instrument " + ins.name + ": channel is missing");
        if (!ins.program && ins.channel != kDrumChannel)
            return fail(m_line, "instrument " + ins.name + ": program is missing (only channel 10 plays without one)");
        m_src.instruments.push_back(ins);
        return true;
    }

    const Instrument* findInstrument(const std::string& name) const {
        for (const Instrument& ins : m_src.instruments)
            if (ins.name == name) return &ins;
        return nullptr;
    }

    bool trackLine(const std::vector<std::string>& w) {
        const std::string name = w[0].substr(0, w[0].size() - 1);
        const Instrument* ins = findInstrument(name);
        if (!ins) return fail(m_line, "\"" + name + "\" is no instrument (define it before the pattern)");
        std::vector<Step>& steps = m_pattern->lines[name];
        if (!steps.empty()) return fail(m_line, "pattern \"" + m_patternName + "\": " + name + " has two lines");
        const bool drums = ins->channel == kDrumChannel;
        for (size_t i = 1; i < w.size(); ++i) {
            if (w[i] == "|") {
                if (m_src.bar && steps.size() % m_src.bar != 0)
                    return fail(m_line, name + ": a bar line after " + std::to_string(steps.size()) +
                                            " steps, bars are " + std::to_string(m_src.bar) + " steps");
                continue;
            }
            Step step;
            std::string why;
            if (!parseStep(w[i], drums, step, why)) return fail(m_line, name + ": " + why);
            if (step.kind == Step::Hold && (steps.empty() || steps.back().kind == Step::Rest))
                return fail(m_line, name + ": '-' at step " + std::to_string(steps.size()) + " holds no note");
            steps.push_back(step);
        }
        const int length = static_cast<int>(steps.size());
        if (m_pattern->length >= 0 && length != m_pattern->length)
            return fail(m_line, "pattern \"" + m_patternName + "\": " + name + " has " + std::to_string(length) +
                                    " steps, the lines before it " + std::to_string(m_pattern->length));
        if (m_src.bar && length % m_src.bar != 0)
            return fail(m_line, name + ": " + std::to_string(length) + " steps is no whole number of bars");
        m_pattern->length = length;
        return true;
    }

    bool song(const std::vector<std::string>& w) {
        for (size_t i = 1; i < w.size(); ++i) {
            std::string name = w[i];
            int times = 1;
            if (const size_t star = name.find('*'); star != std::string::npos) {
                if (!parseInt(name.substr(star + 1), 1, 64, times)) return fail(m_line, "\"" + w[i] + "\": repeat 1 to 64 times");
                name.resize(star);
            }
            const auto it = m_src.patterns.find(name);
            if (it == m_src.patterns.end()) return fail(m_line, "song: no pattern \"" + name + "\"");
            if (it->second.length <= 0) return fail(m_line, "song: pattern \"" + name + "\" is empty");
            for (int k = 0; k < times; ++k) m_src.song.push_back(name);
        }
        return true;
    }

    std::string m_file;
    Source& m_src;
    int m_line = 0;
    Pattern* m_pattern = nullptr;
    std::string m_patternName;
    int m_patternLine = 0;
    std::string m_error;
};

struct Event {
    int64_t tick;
    int order;   // note-offs before note-ons at the same tick
    std::string bytes;
};

void putVarLen(std::string& out, uint64_t v) {
    char buf[10];
    int n = 0;
    buf[n++] = static_cast<char>(v & 0x7F);
    while (v >>= 7) buf[n++] = static_cast<char>(0x80 | (v & 0x7F));
    while (n) out += buf[--n];
}

void putBigEndian(std::string& out, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>(v >> (8 * i) & 0xFF);
}

std::string chunk(const char* tag, const std::string& body) {
    std::string out(tag, 4);
    putBigEndian(out, static_cast<uint32_t>(body.size()), 4);
    return out + body;
}

std::string trackChunk(std::vector<Event> events, int64_t endTick) {
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.tick != b.tick ? a.tick < b.tick : a.order < b.order; });
    std::string body;
    int64_t at = 0;
    for (const Event& e : events) {
        putVarLen(body, static_cast<uint64_t>(e.tick - at));
        body += e.bytes;
        at = e.tick;
    }
    putVarLen(body, static_cast<uint64_t>(endTick - at));
    body += std::string("\xFF\x2F\x00", 3);
    return chunk("MTrk", body);
}

std::string metaText(int type, const std::string& text) {
    std::string out{'\xFF', static_cast<char>(type)};
    putVarLen(out, text.size());
    return out + text;
}

std::string channelMessage(int status, int channel, int a, int b = -1) {
    std::string out{static_cast<char>(status | (channel - 1)), static_cast<char>(a)};
    if (b >= 0) out += static_cast<char>(b);
    return out;
}

}  // namespace

bool compileMusic(std::string_view text, std::string_view fileName, std::string& midi, std::string& error,
                  MusicSummary* summary) {
    Source src;
    if (!Parser(fileName, src).parse(text, error)) return false;
    const int stepTicks = kTicksPerQuarter / src.steps;
    int64_t totalSteps = 0;
    for (const std::string& name : src.song) totalSteps += src.patterns[name].length;
    const int64_t endTick = totalSteps * stepTicks;

    std::vector<std::string> tracks;
    std::string tempoTrack = metaText(0x03, std::string(fileName.substr(fileName.find_last_of('/') + 1)));
    const uint32_t microsPerQuarter = static_cast<uint32_t>(60000000 / src.tempo);
    const int beatsPerBar = src.bar && src.bar % src.steps == 0 ? src.bar / src.steps : 4;
    std::vector<Event> tempoEvents{{0, 0, tempoTrack},
                                   {0, 1, std::string{'\xFF', 0x58, 4, static_cast<char>(beatsPerBar), 2, 24, 8}},
                                   {0, 2, std::string{'\xFF', 0x51, 3}}};
    putBigEndian(tempoEvents.back().bytes, microsPerQuarter, 3);
    tracks.push_back(trackChunk(tempoEvents, endTick));

    int notes = 0;
    for (const Instrument& ins : src.instruments) {
        std::vector<Event> events{{0, 0, metaText(0x03, ins.name)}};
        if (ins.program) events.push_back({0, 1, channelMessage(0xC0, ins.channel, ins.program - 1)});
        events.push_back({0, 2, channelMessage(0xB0, ins.channel, 7, volumeWithGain(ins.volume, src.gainDb))});
        events.push_back({0, 3, channelMessage(0xB0, ins.channel, 10, ins.pan)});
        events.push_back({0, 4, channelMessage(0xB0, ins.channel, 91, ins.reverb)});
        std::vector<int> sounding;
        const auto release = [&](int64_t tick) {
            for (int note : sounding) events.push_back({tick, 5, channelMessage(0x80, ins.channel, note, 64)});
            sounding.clear();
        };
        int64_t step = 0;
        for (const std::string& name : src.song) {
            const Pattern& pattern = src.patterns[name];
            const auto line = pattern.lines.find(ins.name);
            for (int i = 0; i < pattern.length; ++i, ++step) {
                const int64_t tick = step * stepTicks;
                if (line == pattern.lines.end()) {
                    release(tick);
                    continue;
                }
                const Step& s = line->second[i];
                if (s.kind == Step::Hold) continue;
                release(tick);
                if (s.kind == Step::Rest) continue;
                const int velocity = std::clamp(ins.velocity + s.velocity * (s.velocity > 0 ? 24 : 30), 1, 127);
                for (int note : s.notes) {
                    events.push_back({tick, 6, channelMessage(0x90, ins.channel, note, velocity)});
                    sounding.push_back(note);
                    ++notes;
                }
            }
        }
        release(endTick);
        // All sound off at the end: the song lasts exactly its steps (a synthesizer that waits for
        // ringing voices would otherwise add their tails, and a loop would pause for them).
        events.push_back({endTick, 7, channelMessage(0xB0, ins.channel, 120, 0)});
        tracks.push_back(trackChunk(events, endTick));
    }

    std::string header;
    putBigEndian(header, 1, 2);
    putBigEndian(header, static_cast<uint32_t>(tracks.size()), 2);
    putBigEndian(header, kTicksPerQuarter, 2);
    midi = chunk("MThd", header);
    for (const std::string& t : tracks) midi += t;
    if (summary) {
        summary->durationMicros = endTick * microsPerQuarter / kTicksPerQuarter;
        summary->tracks = static_cast<int>(src.instruments.size());
        summary->notes = notes;
    }
    return true;
}

}  // namespace tools
