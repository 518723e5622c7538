// The WAVE clip reader: the fixed 44-byte header (format fields at 20-35, PCM length at 40-43, PCM
// from byte 44); other chunk layouts are not parsed. Invariant: an accepted clip's PCM lies inside
// the bytes given and is whole sample blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/device/wave_device.h"

struct WaveClip {
    WaveFormat format;
    uint32_t pcmOffset = 44;
    uint32_t pcmLength = 0;       // cut to the bytes present, whole blocks
    uint32_t statedLength = 0;    // what the header claims
    int64_t durationMicros = 0;   // from the clip length and the rate, as the players report it
};

namespace Media {

inline constexpr uint32_t kWaveHeaderSize = 44;

// False (clip untouched) when the data is shorter than the header, does not begin "RIFF", holds a
// format the wave device cannot play, or no whole block of PCM; *why then says which.
[[nodiscard]] bool readWaveClip(const uint8_t* data, size_t size, WaveClip& clip, std::string* why = nullptr);

}  // namespace Media
