// MIDI to PCM: FluidSynth's file player driven by the synth's own sample clock, rendered whole
// with the General MIDI soundfont. Garbage files end the player at once; long or endless ones stop
// at kMaxMidiSeconds. Loading the soundfont costs more than rendering a short song, so one synth
// holding it serves every render of the process, one render at a time (a render someone waits
// for first: one nobody waits for gives way and starts again later), and a program may have it
// loaded ahead, before any render asks.
#include <fluidsynth.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <string>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/media/decoded_sound.h"

std::string Media::soundFontPath() {
    const char* own = std::getenv("BRINDLEX_SOUNDFONT");
    return own && *own ? own : "/usr/share/sounds/sf2/TimGM6mb.sf2";
}

namespace {

// Long enough for the reverb and chorus to die away.
constexpr uint32_t kFlushSeconds = 4;

// Sample magnitudes up to this are the synth's dither, not sound.
constexpr int kSilence = 16;

// FluidSynth reports parse errors of untrusted files on stderr; they are answers here, not news.
void quietLogs() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
    });
}

// The shared synth with the soundfont of `path` loaded. `busy` while a render owns it; a render
// waiting for its turn gives up when cancelled. Renders someone waits for go first: while any is
// counted in `urgentWaiting`, the others let it pass.
struct SharedSynth {
    std::mutex lock;
    std::condition_variable freed;
    bool busy = false;
    std::atomic<int> urgentWaiting{0};  // written under lock; a render looks at it while it renders
    std::string path;
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
};

// Never destroyed: a render may still run while the process's statics go.
SharedSynth& sharedSynth() {
    static auto* shared = new SharedSynth;
    return *shared;
}

bool cancelled(const std::atomic<bool>* cancel) { return cancel && cancel->load(); }
bool isSet(const std::atomic<bool>* flag) { return flag && flag->load(); }

void dropSynth(SharedSynth& s) {
    if (s.synth) delete_fluid_synth(s.synth);
    if (s.settings) delete_fluid_settings(s.settings);
    s.synth = nullptr;
    s.settings = nullptr;
    s.path.clear();
}

// The synth for one render, with the soundfont loaded (once per process, or again when the path
// changed), reset to its power-on state when the render hands it back.
class SynthTurn {
public:
    SynthTurn(const std::atomic<bool>* cancel, const std::atomic<bool>* urgent) : m_shared(sharedSynth()) {
        std::unique_lock held(m_shared.lock);
        bool counted = false;
        // Cancel and urgency are flags of the caller's: looked at every few milliseconds.
        while (!cancelled(cancel)) {
            if (!counted && isSet(urgent)) {
                counted = true;
                ++m_shared.urgentWaiting;
            }
            if (!m_shared.busy && (counted || m_shared.urgentWaiting == 0)) {
                m_shared.busy = true;
                m_owned = true;
                break;
            }
            m_shared.freed.wait_for(held, std::chrono::milliseconds(5));
        }
        if (counted) --m_shared.urgentWaiting;
        if (!m_owned) return;
        held.unlock();
        const std::string path = Media::soundFontPath();
        if (m_shared.synth && m_shared.path == path) return;
        dropSynth(m_shared);
        m_shared.settings = new_fluid_settings();
        if (!m_shared.settings) return;
        fluid_settings_setnum(m_shared.settings, "synth.sample-rate", Media::kMidiRate);
        fluid_settings_setstr(m_shared.settings, "player.timing-source", "sample");
        fluid_settings_setint(m_shared.settings, "synth.lock-memory", 0);
        fluid_settings_setint(m_shared.settings, "synth.cpu-cores", 1);
        fluid_settings_setnum(m_shared.settings, "synth.gain", 0.6);
        m_shared.synth = new_fluid_synth(m_shared.settings);
        if (m_shared.synth && fluid_synth_sfload(m_shared.synth, path.c_str(), 1) != FLUID_FAILED)
            m_shared.path = path;
        else
            dropSynth(m_shared);
    }
    ~SynthTurn() {
        if (!m_owned) return;
        if (m_shared.synth) {
            fluid_synth_system_reset(m_shared.synth);
            // The reset silences the voices, not the reverb and chorus lines: run them dry so the
            // next render starts as on a new synth.
            constexpr int kFlushFrames = 1024;
            float scratch[2 * kFlushFrames];
            for (uint32_t done = 0; done < kFlushSeconds * Media::kMidiRate; done += kFlushFrames)
                fluid_synth_write_float(m_shared.synth, kFlushFrames, scratch, 0, 2, scratch, 1, 2);
        }
        std::lock_guard held(m_shared.lock);
        m_shared.busy = false;
        m_shared.freed.notify_all();
    }
    SynthTurn(const SynthTurn&) = delete;
    SynthTurn& operator=(const SynthTurn&) = delete;

    // Null when the render was cancelled before its turn or the soundfont cannot be loaded.
    [[nodiscard]] fluid_synth_t* synth() const { return m_owned ? m_shared.synth : nullptr; }

private:
    SharedSynth& m_shared;
    bool m_owned = false;
};

}  // namespace

void Media::loadSoundFontAhead() {
    static std::once_flag once;
    std::call_once(once, [] {
        try {
            // Detached, like a render the process ends beside: the synth it fills is never freed.
            std::thread([] {
                quietLogs();
                SynthTurn turn(nullptr, nullptr);
            }).detach();
        } catch (const std::system_error&) {
            // No thread to spare: the first render loads it.
        }
    });
}

namespace {

// One render in one turn of the synth. A render nobody waits for gives its turn up (`yielded`, its
// PCM dropped) as soon as one somebody waits for asks for the synth: it starts again later.
uint32_t be32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) | (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

// What makes a file no song before FluidSynth sees it (its own parser only says "failed").
const char* headerFault(const uint8_t* data, size_t size) {
    if (!data || size < 14 || std::memcmp(data, "MThd", 4) != 0) return "no MIDI header";
    if (be32(data + 4) < 6 || be32(data + 4) > size - 8) return "a MIDI header of a bad length";
    const uint32_t tracks = (static_cast<uint32_t>(data[10]) << 8) | data[11];
    const uint32_t division = (static_cast<uint32_t>(data[12]) << 8) | data[13];
    if (tracks == 0) return "no tracks";
    if (division == 0) return "a division of 0 ticks per beat";
    return nullptr;
}

bool renderInTurn(const uint8_t* data, size_t size, DecodedSound& out, const std::atomic<bool>* cancel,
                  const std::atomic<bool>* urgent, bool& yielded, std::string& why) {
    SynthTurn turn(cancel, urgent);
    fluid_synth_t* synth = turn.synth();
    why = cancelled(cancel) ? "cancelled" : synth ? "the synthesizer cannot read it"
                                                  : "the soundfont " + Media::soundFontPath() + " cannot be loaded";
    fluid_player_t* player = nullptr;
    bool ok = synth != nullptr;
    if (ok) {
        player = new_fluid_player(synth);
        ok = player && fluid_player_add_mem(player, data, size) == FLUID_OK && fluid_player_play(player) == FLUID_OK;
    }
    DecodedSound sound;
    if (ok) {
        constexpr int kFrames = 1024;
        // The player idles for a while after the last event before it reports that it is done:
        // past the song's last tick only the ring-out of notes still sounding is kept (at most a
        // second), so looped music starts again on its beat instead of after a pause.
        constexpr size_t kMaxRingOutBlocks = Media::kMidiRate / kFrames + 1;
        int16_t block[2 * kFrames];
        size_t ringOutBlocks = 0;
        while (fluid_player_get_status(player) == FLUID_PLAYER_PLAYING && !cancelled(cancel)) {
            if (sound.pcm.size() + sizeof block > Media::kMaxMidiBytes) {
                sound.cut = true;
                break;
            }
            if (!isSet(urgent) && sharedSynth().urgentWaiting.load(std::memory_order_relaxed) > 0) {
                yielded = true;
                break;
            }
            const bool pastEnd = fluid_player_get_current_tick(player) >= fluid_player_get_total_ticks(player);
            if (fluid_synth_write_s16(synth, kFrames, block, 0, 2, block, 1, 2) != FLUID_OK) break;
            if (pastEnd) {
                bool audible = false;
                for (const int16_t sample : block) audible = audible || sample > kSilence || sample < -kSilence;
                if (!audible || ++ringOutBlocks > kMaxRingOutBlocks) break;
            }
            const auto* bytes = reinterpret_cast<const uint8_t*>(block);
            sound.pcm.insert(sound.pcm.end(), bytes, bytes + sizeof block);
        }
        sound.format = WaveFormat{1, 2, Media::kMidiRate, Media::kMidiRate * 4, 4, 16};
        sound.durationMicros = static_cast<int64_t>(sound.pcm.size() / 4) * 1000000 / Media::kMidiRate;
        // A file that parses to no notes renders silence (the synth's dither aside): nothing to play.
        bool sounding = false;
        for (size_t i = 0; i + 1 < sound.pcm.size() && !sounding; i += 2) {
            const int sample = static_cast<int16_t>(static_cast<uint16_t>(sound.pcm[i] | (sound.pcm[i + 1] << 8)));
            sounding = sample > kSilence || sample < -kSilence;
        }
        why = cancelled(cancel) ? "cancelled" : "it renders only silence";
        ok = sounding && !cancelled(cancel) && !yielded;
    }
    if (player) {
        fluid_player_stop(player);
        delete_fluid_player(player);
    }
    if (ok) out = std::move(sound);
    return ok;
}

}  // namespace

bool Media::renderMidi(const uint8_t* data, size_t size, DecodedSound& out, const std::atomic<bool>* cancel,
                       const std::atomic<bool>* urgent, std::string* why) {
    if (const char* fault = headerFault(data, size)) {
        if (why) *why = fault;
        return false;
    }
    quietLogs();
    for (;;) {
        bool yielded = false;
        std::string reason;
        const bool ok = renderInTurn(data, size, out, cancel, urgent, yielded, reason);
        if (yielded) continue;
        if (!ok && why) *why = reason;
        return ok;
    }
}
