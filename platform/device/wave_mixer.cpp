// The shared wave device: handle table and the mixing loop (nearest-sample resampling, per-channel
// volume words, device-side loops).
#include "platform/device/wave_mixer.h"

#include <algorithm>

namespace {

int16_t saturate(int32_t value) { return static_cast<int16_t>(std::clamp(value, -32768, 32767)); }

}  // namespace

bool WaveFormat::playable() const {
    if (formatTag != 1 || (channels != 1 && channels != 2)) return false;
    if (bitsPerSample != 8 && bitsPerSample != 16) return false;
    if (samplesPerSec == 0 || samplesPerSec > 192000) return false;
    return blockAlign == channels * bitsPerSample / 8;
}

namespace {
WaveDevice* g_waveDevice = nullptr;
}

WaveDevice* Platform::waveDevice() { return g_waveDevice; }
void Platform::setWaveDevice(WaveDevice* device) { g_waveDevice = device; }

WaveMixer::Voice* WaveMixer::find(WaveHandle handle) {
    auto it = m_voices.find(handle);
    return it == m_voices.end() ? nullptr : &it->second;
}

int WaveMixer::openHandles() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return static_cast<int>(m_voices.size());
}

WaveHandle WaveMixer::open(const WaveFormat& format, std::function<void()> done) {
    if (!format.playable()) return 0;
    std::lock_guard<std::mutex> guard(m_lock);
    const WaveHandle handle = m_next++;
    Voice voice;
    voice.format = format;
    voice.done = std::move(done);
    m_voices.emplace(handle, std::move(voice));
    return handle;
}

bool WaveMixer::write(WaveHandle handle, const uint8_t* pcm, uint32_t length, uint32_t loops) {
    std::lock_guard<std::mutex> guard(m_lock);
    Voice* voice = find(handle);
    if (!voice || voice->pcm || !pcm || length == 0 || length % voice->format.blockAlign != 0) return false;
    voice->pcm = pcm;
    voice->frames = length / voice->format.blockAlign;
    voice->loopsLeft = std::max<uint32_t>(loops, 1);
    voice->position = 0;
    voice->played = 0;
    return true;
}

bool WaveMixer::reset(WaveHandle handle) {
    std::lock_guard<std::mutex> guard(m_lock);
    Voice* voice = find(handle);
    if (!voice) return false;
    if (voice->pcm) {
        voice->pcm = nullptr;
        if (voice->done) voice->done();
    }
    return true;
}

bool WaveMixer::restart(WaveHandle handle) {
    std::lock_guard<std::mutex> guard(m_lock);
    return find(handle) != nullptr;
}

bool WaveMixer::close(WaveHandle handle) {
    std::lock_guard<std::mutex> guard(m_lock);
    Voice* voice = find(handle);
    if (!voice) return false;
    if (voice->pcm && voice->done) voice->done();
    m_voices.erase(handle);
    return true;
}

bool WaveMixer::positionMillis(WaveHandle handle, uint32_t& millis) {
    std::lock_guard<std::mutex> guard(m_lock);
    Voice* voice = find(handle);
    if (!voice) return false;
    millis = static_cast<uint32_t>(voice->played * 1000 / voice->format.samplesPerSec);
    return true;
}

bool WaveMixer::volume(WaveHandle handle, uint32_t& volume) {
    std::lock_guard<std::mutex> guard(m_lock);
    Voice* voice = find(handle);
    if (!voice) return false;
    volume = voice->volume;
    return true;
}

bool WaveMixer::setVolume(WaveHandle handle, uint32_t volume) {
    std::lock_guard<std::mutex> guard(m_lock);
    Voice* voice = find(handle);
    if (!voice) return false;
    voice->volume = volume;
    return true;
}

bool WaveMixer::playbackRate(WaveHandle handle, uint32_t& rate) {
    std::lock_guard<std::mutex> guard(m_lock);
    Voice* voice = find(handle);
    if (!voice) return false;
    rate = voice->rate;
    return true;
}

bool WaveMixer::setPlaybackRate(WaveHandle handle, uint32_t rate) {
    std::lock_guard<std::mutex> guard(m_lock);
    Voice* voice = find(handle);
    if (!voice || rate == 0 || rate > 0x80000) return false;
    voice->rate = rate;
    return true;
}

int32_t WaveMixer::sample(const Voice& voice, uint32_t frame, int channel) {
    const int ch = voice.format.channels == 2 ? channel : 0;
    if (voice.format.bitsPerSample == 8) {
        return (static_cast<int32_t>(voice.pcm[frame * voice.format.blockAlign + ch]) - 128) << 8;
    }
    const uint8_t* p = voice.pcm + frame * voice.format.blockAlign + ch * 2;
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
}

void WaveMixer::mixVoice(Voice& voice, int16_t* out, uint32_t frames) {
    // Source frames per output frame, 16.16, with the playback rate applied.
    const uint64_t step = (static_cast<uint64_t>(voice.format.samplesPerSec) * voice.rate) / m_outputRate;
    const int32_t left = static_cast<int32_t>(voice.volume & 0xFFFF);
    const int32_t right = static_cast<int32_t>(voice.volume >> 16);
    for (uint32_t i = 0; i < frames && voice.pcm; ++i) {
        const uint32_t frame = static_cast<uint32_t>(voice.position >> 16);
        const int64_t l = static_cast<int64_t>(sample(voice, frame, 0)) * left / 0xFFFF;
        const int64_t r = static_cast<int64_t>(sample(voice, frame, 1)) * right / 0xFFFF;
        out[2 * i] = saturate(out[2 * i] + static_cast<int32_t>(l));
        out[2 * i + 1] = saturate(out[2 * i + 1] + static_cast<int32_t>(r));
        const uint64_t before = voice.position >> 16;
        voice.position += step;
        voice.played += (voice.position >> 16) - before;
        if ((voice.position >> 16) >= voice.frames) {
            voice.position = 0;
            if (--voice.loopsLeft == 0) {
                voice.pcm = nullptr;
                if (voice.done) voice.done();
            }
        }
    }
}

void WaveMixer::mix(int16_t* out, uint32_t frames) {
    std::lock_guard<std::mutex> guard(m_lock);
    for (auto& [handle, voice] : m_voices) {
        if (voice.pcm) mixVoice(voice, out, frames);
    }
}
