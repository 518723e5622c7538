// sound_demo: a listen to the real audio device. Reads a WAVE, Ogg Vorbis or MIDI file, decodes it
// as the players do, and plays it through the sdl device's mixer until it ends.
//
//     sound_demo FILE [--loops N] [--volume 0-65535]
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "platform/device/sdl/sdl_device.h"
#include "platform/media/decoded_sound.h"
#include "platform/media/wave_clip.h"
#include "tools/file_bytes.h"

namespace {

// The PCM of any of the three kinds, told apart by their first four bytes.
bool decode(const std::vector<uint8_t>& file, DecodedSound& sound, std::string& kind) {
    if (file.size() >= 4 && std::memcmp(file.data(), "RIFF", 4) == 0) {
        kind = "WAVE";
        WaveClip clip;
        if (!Media::readWaveClip(file.data(), file.size(), clip)) return false;
        sound.format = clip.format;
        sound.pcm.assign(file.begin() + clip.pcmOffset, file.begin() + clip.pcmOffset + clip.pcmLength);
        sound.durationMicros = clip.durationMicros;
        return true;
    }
    if (file.size() >= 4 && std::memcmp(file.data(), "OggS", 4) == 0) {
        kind = "Ogg Vorbis";
        return Media::decodeOgg(file.data(), file.size(), sound);
    }
    kind = "MIDI";
    return Media::renderMidi(file.data(), file.size(), sound);
}

}  // namespace

int main(int argc, char** argv) {
    const char* path = nullptr;
    unsigned loops = 1;
    long volume = -1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--loops") == 0 && i + 1 < argc) loops = static_cast<unsigned>(std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--volume") == 0 && i + 1 < argc) volume = std::atol(argv[++i]);
        else if (!path && argv[i][0] != '-') path = argv[i];
        else path = nullptr, i = argc;
    }
    if (!path || loops < 1 || volume > 0xFFFF) {
        std::fprintf(stderr, "usage: sound_demo FILE [--loops N] [--volume 0-65535]\n");
        return 2;
    }
    std::string bytes, error;
    if (!tools::readFileBytes(path, bytes, error)) {
        std::fprintf(stderr, "sound_demo: %s\n", error.c_str());
        return 1;
    }
    const std::vector<uint8_t> file(bytes.begin(), bytes.end());
    DecodedSound sound;
    std::string kind;
    if (!decode(file, sound, kind)) {
        std::fprintf(stderr, "sound_demo: %s is not a playable %s file\n", path, kind.c_str());
        return 1;
    }
    auto device = SdlDevice::open(error);
    if (!device) {
        std::fprintf(stderr, "sound_demo: no display: %s\n", error.c_str());
        return 1;
    }
    std::mutex lock;
    std::condition_variable ended;
    bool done = false;
    WaveDevice& wave = device->waveDevice();
    const WaveHandle handle = wave.open(sound.format, [&] {
        std::lock_guard guard(lock);
        done = true;
        ended.notify_all();
    });
    if (!handle) {
        std::fprintf(stderr, "sound_demo: the wave device refused the format\n");
        return 1;
    }
    if (volume >= 0) (void)wave.setVolume(handle, static_cast<uint32_t>(volume) * 0x10001u);
    std::printf("%s: %s, %u Hz, %u channel(s), %.2f s x %u\n", path, kind.c_str(), sound.format.samplesPerSec,
                sound.format.channels, static_cast<double>(sound.durationMicros) / 1e6, loops);
    if (!wave.write(handle, sound.pcm.data(), static_cast<uint32_t>(sound.pcm.size()), loops)) {
        std::fprintf(stderr, "sound_demo: the wave device refused the buffer\n");
        (void)wave.close(handle);
        return 1;
    }
    {
        // The end of the last loop, or the clip's length and a second more if no audio device plays.
        const auto limit = std::chrono::microseconds(sound.durationMicros * loops) + std::chrono::seconds(1);
        std::unique_lock guard(lock);
        ended.wait_for(guard, limit, [&] { return done; });
    }
    (void)wave.close(handle);
    return 0;
}
