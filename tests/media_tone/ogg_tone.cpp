// Writes a short Ogg Vorbis test tone with libvorbisenc: ogg_tone OUT [rate] [channels] [millis].
// A 440 Hz sine at half scale, the input of the Ogg decoding tests. Built apart from anything that
// links Tremor, whose symbols share libvorbis's names.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/sfx_ogg/vorbis_writer.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    tools::VorbisSettings settings;
    settings.rate = argc > 2 ? std::atol(argv[2]) : 22050;
    settings.channels = argc > 3 ? std::atoi(argv[3]) : 1;
    settings.quality = 0.4f;
    settings.pagePerPacket = true;   // the tests cut streams at page boundaries
    settings.serial = 1;
    const long millis = argc > 4 ? std::atol(argv[4]) : 500;
    if (settings.channels < 1 || settings.channels > 8 || settings.rate < 1 || millis < 0) return 2;
    const size_t frames = static_cast<size_t>(settings.rate * millis / 1000);
    std::vector<float> samples(frames * static_cast<size_t>(settings.channels));
    for (size_t i = 0; i < frames; ++i)
        for (int c = 0; c < settings.channels; ++c)
            samples[i * settings.channels + c] = 0.5f * static_cast<float>(std::sin(2 * M_PI * 440.0 * i / settings.rate));
    std::string ogg;
    if (!tools::encodeVorbis(samples.data(), frames, settings, ogg)) return 1;
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f) return 1;
    const bool ok = std::fwrite(ogg.data(), 1, ogg.size(), f) == ogg.size();
    return (std::fclose(f) == 0 && ok) ? 0 : 1;
}
