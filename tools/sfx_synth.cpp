// Parses the recipe into voices, then renders each voice sample by sample into one float mix:
// phase-accumulating oscillators (so sweeps never click), a piecewise envelope and an optional
// one-pole filter. Noise comes from a fixed LCG, so the same recipe always gives the same bytes.
#include "tools/sfx_synth.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

#include "tools/parse_number.h"

namespace tools {

namespace {

enum class Wave { Sine, Square, Triangle, Saw, Noise };

struct Voice {
    Wave wave = Wave::Sine;
    double from = 440, to = -1;
    bool exponential = true;
    int steps = 0;
    double volume = 0.5;
    double start = 0, end = -1;
    double attack = 2, release = 10, decay = 0;
    double duty = 0.5;
    double vibrato = 0, vibratoRate = 6;
    double lowpass = 0;
    uint32_t seed = 1;
};

bool parseVoice(const std::vector<std::string>& w, Voice& v, std::string& why) {
    static const std::map<std::string, Wave> kWaves = {{"sine", Wave::Sine}, {"square", Wave::Square},
                                                       {"triangle", Wave::Triangle}, {"saw", Wave::Saw},
                                                       {"noise", Wave::Noise}};
    if (w.size() < 2 || !kWaves.count(w[1])) {
        why = "voice: a wave comes first: sine, square, triangle, saw or noise";
        return false;
    }
    v.wave = kWaves.at(w[1]);
    for (size_t i = 2; i < w.size(); i += 2) {
        const std::string& field = w[i];
        if (i + 1 >= w.size()) {
            why = "voice: " + field + " has no value";
            return false;
        }
        const std::string& word = w[i + 1];
        if (field == "curve") {
            if (word != "exp" && word != "lin") {
                why = "voice: curve is exp or lin";
                return false;
            }
            v.exponential = word == "exp";
            continue;
        }
        struct Field {
            const char* name;
            double* value;
            double low, high;
        };
        double steps = v.steps, seed = v.seed;
        const Field fields[] = {{"from", &v.from, 1, 20000},        {"to", &v.to, 1, 20000},
                                {"steps", &steps, 0, 1000},         {"volume", &v.volume, 0, 1},
                                {"start", &v.start, 0, 10000},      {"end", &v.end, 0, 10000},
                                {"attack", &v.attack, 0, 10000},    {"release", &v.release, 0, 10000},
                                {"decay", &v.decay, 0, 100000},     {"duty", &v.duty, 0.05, 0.95},
                                {"vibrato", &v.vibrato, 0, 5000},   {"vibratorate", &v.vibratoRate, 0, 100},
                                {"lowpass", &v.lowpass, 1, 11000},  {"seed", &seed, 1, 4294967295.0}};
        const Field* f = nullptr;
        for (const Field& candidate : fields)
            if (field == candidate.name) f = &candidate;
        if (!f) {
            why = "voice: unknown field \"" + field + "\"";
            return false;
        }
        if (!parseNumber(word, f->low, f->high, *f->value)) {
            std::ostringstream range;
            range << "voice: " << field << " is a number from " << f->low << " to " << f->high;
            why = range.str();
            return false;
        }
        v.steps = static_cast<int>(steps);
        v.seed = static_cast<uint32_t>(seed);
    }
    if (v.end >= 0 && v.end <= v.start) {
        why = "voice: end comes after start";
        return false;
    }
    return true;
}

double oscillator(Wave wave, double phase, double duty, uint32_t& noise, double& held, bool newCycle) {
    switch (wave) {
    case Wave::Sine: return std::sin(2 * M_PI * phase);
    case Wave::Square: return phase < duty ? 1.0 : -1.0;
    case Wave::Triangle: return phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase;
    case Wave::Saw: return 2 * phase - 1;
    case Wave::Noise:
        if (newCycle) {
            noise = noise * 1664525u + 1013904223u;
            held = static_cast<double>(noise >> 8) / 8388608.0 - 1.0;
        }
        return held;
    }
    return 0;
}

void renderVoice(const Voice& v, double lengthMs, std::vector<double>& mix) {
    const double startMs = v.start, endMs = v.end >= 0 ? std::min(v.end, lengthMs) : lengthMs;
    if (endMs <= startMs) return;
    const double spanMs = endMs - startMs;
    const size_t first = static_cast<size_t>(startMs * kSfxRate / 1000);
    const size_t last = std::min(mix.size(), static_cast<size_t>(endMs * kSfxRate / 1000));
    const double to = v.to > 0 ? v.to : v.from;
    double phase = 0, held = 0, filtered = 0;
    uint32_t noise = v.seed;
    const double alpha = v.lowpass > 0 ? 1 - std::exp(-2 * M_PI * v.lowpass / kSfxRate) : 1;
    for (size_t i = first; i < last; ++i) {
        const double t = (static_cast<double>(i) * 1000 / kSfxRate) - startMs;   // ms into the voice
        double u = std::clamp(t / spanMs, 0.0, 1.0);
        if (v.steps > 0) u = std::floor(u * v.steps) / v.steps;
        double freq = v.exponential ? v.from * std::pow(to / v.from, u) : v.from + (to - v.from) * u;
        if (v.vibrato > 0) freq += v.vibrato * std::sin(2 * M_PI * v.vibratoRate * t / 1000);
        freq = std::max(freq, 1.0);
        double env = 1;
        if (v.attack > 0 && t < v.attack) env = t / v.attack;
        else if (v.decay > 0) env = std::exp(-(t - v.attack) / v.decay);
        if (v.release > 0 && spanMs - t < v.release) env *= std::max(0.0, (spanMs - t) / v.release);
        phase += freq / kSfxRate;
        const bool newCycle = phase >= 1 || i == first;
        phase -= std::floor(phase);
        const double raw = oscillator(v.wave, phase, v.duty, noise, held, newCycle);
        filtered += alpha * (raw - filtered);
        mix[i] += v.volume * env * filtered;
    }
}

}  // namespace

bool renderSfx(std::string_view text, std::string_view fileName, std::vector<int16_t>& pcm, std::string& error) {
    std::stringstream in{std::string(text)};
    std::string line;
    int lineNumber = 0;
    double lengthMs = 0, gain = 1;
    std::vector<Voice> voices;
    const auto fail = [&](const std::string& why) {
        error = std::string(fileName) + ":" + std::to_string(lineNumber) + ": " + why;
        return false;
    };
    while (std::getline(in, line)) {
        ++lineNumber;
        if (const size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
        std::stringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        if (w.empty()) continue;
        std::string why;
        if (w[0] == "length" && w.size() == 2) {
            if (!parseNumber(w[1], 1, 10000, lengthMs)) return fail("length: 1 to 10000 ms");
        } else if (w[0] == "gain" && w.size() == 2) {
            if (!parseNumber(w[1], 0, 16, gain)) return fail("gain: 0 to 16");
        } else if (w[0] == "voice") {
            Voice v;
            if (!parseVoice(w, v, why)) return fail(why);
            voices.push_back(v);
        } else {
            return fail("unknown statement \"" + w[0] + "\"");
        }
    }
    if (lengthMs <= 0) return fail("no \"length\" line");
    if (voices.empty()) return fail("no \"voice\" line");
    std::vector<double> mix(static_cast<size_t>(lengthMs * kSfxRate / 1000), 0.0);
    for (const Voice& v : voices) renderVoice(v, lengthMs, mix);
    pcm.resize(mix.size());
    for (size_t i = 0; i < mix.size(); ++i)
        pcm[i] = static_cast<int16_t>(std::lround(std::clamp(mix[i] * gain, -1.0, 1.0) * 32767));
    return true;
}

std::string waveClip(const std::vector<int16_t>& pcm, int rate) {
    const uint32_t dataBytes = static_cast<uint32_t>(pcm.size() * 2);
    std::string out;
    const auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) out += static_cast<char>(v >> (8 * i) & 0xFF);
    };
    const auto u16 = [&](uint32_t v) {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>(v >> 8 & 0xFF);
    };
    out += "RIFF";
    u32(36 + dataBytes);
    out += "WAVEfmt ";
    u32(16);
    u16(1);   // PCM
    u16(1);   // mono
    u32(static_cast<uint32_t>(rate));
    u32(static_cast<uint32_t>(rate) * 2);
    u16(2);
    u16(16);
    out += "data";
    u32(dataBytes);
    for (const int16_t s : pcm) u16(static_cast<uint16_t>(s));
    return out;
}

}  // namespace tools
