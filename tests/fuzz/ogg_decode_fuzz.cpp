// libFuzzer target for the Ogg Vorbis path: Tremor over untrusted bytes. Invariants checked: decoded
// PCM is 16-bit, whole blocks, within the decoder's cap, and its duration matches its length. Seed
// it with the test tone (build/debug/tests/tone_22050_mono.ogg) so it starts from a stream that plays.
#include <cstdint>

#include "platform/media/decoded_sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodedSound sound;
    if (!Media::decodeOgg(data, size, sound)) return 0;
    const WaveFormat& f = sound.format;
    if (f.bitsPerSample != 16 || f.channels < 1 || f.channels > 2 || f.blockAlign != 2 * f.channels) __builtin_trap();
    if (sound.pcm.empty() || sound.pcm.size() % f.blockAlign != 0) __builtin_trap();
    if (sound.pcm.size() > Media::kMaxDecodedBytes) __builtin_trap();
    if (sound.durationMicros < 0) __builtin_trap();
    return 0;
}
