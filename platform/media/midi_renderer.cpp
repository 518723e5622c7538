// MIDI to PCM: FluidSynth's file player driven by the synth's own sample clock, rendered whole
// with the General MIDI soundfont. Garbage files end the player at once; endless ones stop at
// kMaxDecodedBytes.
#include <fluidsynth.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/media/decoded_sound.h"

std::string Media::soundFontPath() {
    const char* own = std::getenv("BRINDLEX_SOUNDFONT");
    return own && *own ? own : "/usr/share/sounds/sf2/TimGM6mb.sf2";
}

namespace {

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

}  // namespace

bool Media::renderMidi(const uint8_t* data, size_t size, DecodedSound& out) {
    if (!data || size < 14 || std::memcmp(data, "MThd", 4) != 0) return false;
    quietLogs();
    fluid_settings_t* settings = new_fluid_settings();
    if (!settings) return false;
    fluid_settings_setnum(settings, "synth.sample-rate", kMidiRate);
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setint(settings, "synth.lock-memory", 0);
    fluid_settings_setint(settings, "synth.cpu-cores", 1);
    fluid_settings_setnum(settings, "synth.gain", 0.6);
    fluid_synth_t* synth = new_fluid_synth(settings);
    fluid_player_t* player = nullptr;
    bool ok = synth && fluid_synth_sfload(synth, soundFontPath().c_str(), 1) != FLUID_FAILED;
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
        constexpr size_t kMaxRingOutBlocks = kMidiRate / kFrames + 1;
        int16_t block[2 * kFrames];
        size_t ringOutBlocks = 0;
        while (fluid_player_get_status(player) == FLUID_PLAYER_PLAYING &&
               sound.pcm.size() + sizeof block <= kMaxDecodedBytes) {
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
        sound.format = WaveFormat{1, 2, kMidiRate, kMidiRate * 4, 4, 16};
        sound.durationMicros = static_cast<int64_t>(sound.pcm.size() / 4) * 1000000 / kMidiRate;
        // A file that parses to no notes renders silence (the synth's dither aside): nothing to play.
        bool sounding = false;
        for (size_t i = 0; i + 1 < sound.pcm.size() && !sounding; i += 2) {
            const int sample = static_cast<int16_t>(static_cast<uint16_t>(sound.pcm[i] | (sound.pcm[i + 1] << 8)));
            sounding = sample > kSilence || sample < -kSilence;
        }
        ok = sounding;
    }
    if (player) {
        fluid_player_stop(player);
        delete_fluid_player(player);
    }
    if (synth) delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    if (ok) out = std::move(sound);
    return ok;
}
