// libFuzzer target for the WAVE clip reader. Invariants checked: an accepted clip's PCM lies inside
// the data, is whole blocks, and its format is one the wave device plays.
#include <cstdint>

#include "platform/media/wave_clip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WaveClip clip;
    if (!Media::readWaveClip(data, size, clip)) return 0;
    if (!clip.format.playable()) __builtin_trap();
    if (clip.pcmLength == 0 || clip.pcmLength % clip.format.blockAlign != 0) __builtin_trap();
    if (static_cast<uint64_t>(clip.pcmOffset) + clip.pcmLength > size) __builtin_trap();
    if (clip.durationMicros < 0) __builtin_trap();
    return 0;
}
