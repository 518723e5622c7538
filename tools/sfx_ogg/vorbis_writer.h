// Ogg Vorbis encoding of float PCM through libvorbisenc, for the build-time programs only (the
// game links Tremor, whose symbols share libvorbis's names; nothing may link both).
#pragma once

#include <cstddef>
#include <string>

namespace tools {

struct VorbisSettings {
    int channels = 1;
    long rate = 22050;
    float quality = 0.5f;         // libvorbisenc's VBR quality, -0.1..1
    bool pagePerPacket = false;   // flush a page after every packet (for tests that cut at pages)
    int serial = 0x42524458;      // fixed, so the same input gives the same file
};

// `samples` holds `frames` frames of interleaved channels in -1..1. False when libvorbisenc
// refuses the settings.
[[nodiscard]] bool encodeVorbis(const float* samples, std::size_t frames, const VorbisSettings& settings,
                                std::string& ogg);

}  // namespace tools
