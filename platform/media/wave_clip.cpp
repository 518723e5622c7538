// WAVE header reading over untrusted bytes: every field is range-checked before use.
#include "platform/media/wave_clip.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

namespace {

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

bool Media::readWaveClip(const uint8_t* data, size_t size, WaveClip& clip, std::string* why) {
    const auto refuse = [why](std::string reason) {
        if (why) *why = std::move(reason);
        return false;
    };
    if (!data || size < kWaveHeaderSize) return refuse("shorter than a WAVE header");
    if (std::memcmp(data, "RIFF", 4) != 0) return refuse("no RIFF mark");
    WaveClip out;
    out.format.formatTag = le16(data + 20);
    out.format.channels = le16(data + 22);
    out.format.samplesPerSec = le32(data + 24);
    out.format.avgBytesPerSec = le32(data + 28);
    out.format.blockAlign = le16(data + 32);
    out.format.bitsPerSample = le16(data + 34);
    if (!out.format.playable()) {
        const WaveFormat& f = out.format;
        return refuse("a format the device cannot play (tag " + std::to_string(f.formatTag) + ", " +
                      std::to_string(f.channels) + " channels, " + std::to_string(f.samplesPerSec) + " Hz, " +
                      std::to_string(f.bitsPerSample) + " bits, blocks of " + std::to_string(f.blockAlign) + ")");
    }
    // A stated length beyond the data is cut to what is there: the rest never arrived.
    const uint64_t present = size - kWaveHeaderSize;
    uint64_t length = std::min<uint64_t>(le32(data + 40), present);
    length -= length % out.format.blockAlign;
    if (length == 0) return refuse("no whole sample block of PCM");
    out.pcmLength = static_cast<uint32_t>(length);
    out.statedLength = le32(data + 40);
    // Channels are not counted and the length includes the header: the duration callers know.
    const uint64_t kilohertz = out.format.samplesPerSec / 1000;
    if (kilohertz * out.format.bitsPerSample > 7) {
        const uint64_t bytesPerMilli = kilohertz * out.format.bitsPerSample / 8;
        out.durationMicros = static_cast<int64_t>(std::min<uint64_t>(size, 0xFFFFFFFFu) / bytesPerMilli * 1000);
    }
    clip = out;
    return true;
}
