// libFuzzer target for MIDI rendering over untrusted bytes (FluidSynth with the General MIDI
// soundfont). Invariants checked: a render never goes past the cap, a refused file always says why,
// and an accepted one is whole stereo blocks at the MIDI rate with a duration matching its PCM. The
// inputs are headed "MThd" so the fuzzer spends its time inside the synthesizer's parser.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/media/decoded_sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 8192) return 0;
    std::vector<uint8_t> midi(data, data + size);
    if (midi.size() >= 4) std::memcpy(midi.data(), "MThd", 4);
    DecodedSound sound;
    std::string why;
    if (!Media::renderMidi(midi.data(), midi.size(), sound, nullptr, nullptr, &why)) {
        if (why.empty()) __builtin_trap();
        return 0;
    }
    if (sound.pcm.empty() || sound.pcm.size() > Media::kMaxMidiBytes || sound.pcm.size() % 4 != 0) __builtin_trap();
    if (sound.format.channels != 2 || sound.format.samplesPerSec != Media::kMidiRate) __builtin_trap();
    if (sound.durationMicros != static_cast<int64_t>(sound.pcm.size() / 4) * 1000000 / Media::kMidiRate) __builtin_trap();
    if (sound.cut && sound.pcm.size() + 4096 <= Media::kMaxMidiBytes) __builtin_trap();
    return 0;
}
