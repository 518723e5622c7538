// Whole-clip decoders for the compressed sound types: Ogg Vorbis through Tremor, MIDI rendered by
// FluidSynth with the General MIDI soundfont. Invariant: the PCM is 16-bit, whole blocks, and never
// longer than kMaxDecodedBytes, whatever the input claims.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/device/wave_device.h"

struct DecodedSound {
    WaveFormat format;
    std::vector<uint8_t> pcm;
    int64_t durationMicros = 0;
    bool cut = false;  // a MIDI song longer than kMaxMidiSeconds, rendered only that far
};

namespace Media {

inline constexpr size_t kMaxDecodedBytes = 32u << 20;
inline constexpr uint32_t kMidiRate = 22050;
// The game's longest song lasts 60 s: a song is rendered for at most twice that (10.6 MB of PCM),
// so a hostile file costs a bounded time and memory.
inline constexpr uint32_t kMaxMidiSeconds = 120;
inline constexpr size_t kMaxMidiBytes = size_t{kMaxMidiSeconds} * kMidiRate * 4;

// False for data Tremor cannot open, or that yields no PCM; a stream broken part way keeps the PCM
// decoded before the break.
[[nodiscard]] bool decodeOgg(const uint8_t* data, size_t size, DecodedSound& out);
// Renders a Standard MIDI File to 16-bit stereo at kMidiRate, at most kMaxMidiSeconds of it (the
// sound's `cut` says it was longer). False without a soundfont, for data that is no MIDI file, and
// for one that renders only silence, with *why saying which. Thread-safe: renders share one
// synth holding the soundfont and take turns. A render whose *cancel turns true stops early and
// returns false. One whose *urgent is true (someone waits for it) takes the next turn before
// those that are not.
[[nodiscard]] bool renderMidi(const uint8_t* data, size_t size, DecodedSound& out,
                              const std::atomic<bool>* cancel = nullptr, const std::atomic<bool>* urgent = nullptr,
                              std::string* why = nullptr);
// Loads the soundfont into the shared synth on a thread of its own, once per process, so the
// first render does not wait for it.
void loadSoundFontAhead();
// The General MIDI soundfont the renderer loads ($BRINDLEX_SOUNDFONT overrides it).
[[nodiscard]] std::string soundFontPath();

}  // namespace Media
