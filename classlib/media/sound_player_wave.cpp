// SoundPlayerWAVE: the player state machine over the wave device, volume and rate controls.
#include "classlib/media/sound_player_wave.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <cstring>

#include "classlib/java_lang/java_lang_exceptions.h"
#include "platform/media/wave_clip.h"
#include "runtime/compiled.h"
#include "runtime/log.h"
#include "runtime/string.h"

void SoundPlayerWAVE::init(const uint8_t* data, jint length) {
    m_state.store(UNREALIZED);
    m_level = 100;
    m_loopCount = 0;
    m_clipLength = length > 0 ? static_cast<uint32_t>(length) : 0;
    if (m_clipLength == 0) return;
    m_clip = static_cast<uint8_t*>(std::malloc(m_clipLength));
    if (!m_clip) {
        Log::error("SoundPlayerWAVE(): failed to allocate memory for %d bytes\n", length);
        return;
    }
    std::memcpy(m_clip, data, m_clipLength);
}

void SoundPlayerWAVE::destroy() {
    // A player the game dropped without closing still holds a device handle.
    if (m_state.load() != CLOSED) close();
    releaseClip();
}

void* SoundPlayerWAVE::getInterface(jint classId) { return playerWithControlsInterface(this, classId); }

void SoundPlayerWAVE::nameForLog(const char* name) {
    std::snprintf(m_logName, sizeof m_logName, "%s", name ? name : "");
}

void SoundPlayerWAVE::releaseClip() {
    std::free(m_clip);
    m_clip = nullptr;
}

bool SoundPlayerWAVE::readWaveHeader(std::string* why) {
    WaveClip clip;
    if (!m_clip) {
        if (why) *why = "no data";
        return false;
    }
    if (!Media::readWaveClip(m_clip, m_clipLength, clip, why)) return false;
    m_format = clip.format;
    m_pcmLength = clip.pcmLength;
    if (clip.statedLength > clip.pcmLength + clip.format.blockAlign && m_logName[0] != '\0') {
        Log::warn("%s: its header claims %u bytes of PCM, %u are there; it plays as far as it goes", m_logName,
                  clip.statedLength, clip.pcmLength);
    }
    m_duration = clip.durationMicros;
    return true;
}

jint SoundPlayerWAVE::readSoundFilePcmData(uint8_t** data) {
    if (!m_clip || m_pcmLength == 0) {
        Log::error("SoundPlayerWAVE::readSoundFilePcmData(): m_pSoundFileData == NULL\n");
        return -1;
    }
    *data = static_cast<uint8_t*>(std::calloc(m_pcmLength, 1));
    if (!*data) {
        Log::error("SoundPlayerWAVE::readSoundFilePcmData(): *ppData == NULL\n  tried to calloc %d bytes",
                   static_cast<int>(m_pcmLength));
        return -1;
    }
    std::memcpy(*data, m_clip + Media::kWaveHeaderSize, m_pcmLength);
    return static_cast<jint>(m_pcmLength);
}

void SoundPlayerWAVE::realize() {
    if (m_state.load() != UNREALIZED) return;
    // After a realize that found no device the PCM is already out and the clip gone.
    std::string why;
    if (!m_pcm && !readWaveHeader(&why)) {
        // Said once: a clip that failed here is gone with its player's next realize too.
        if (m_logName[0] != '\0') Log::warn("%s: cannot be played: %s", m_logName, why.c_str());
        m_logName[0] = '\0';
        return;
    }
    m_headerLoops = static_cast<uint32_t>(m_loopCount);
    m_loopCount = 1;
    uint8_t* pcm = nullptr;
    if (!m_pcm) {
        if (readSoundFilePcmData(&pcm) == -1) {
            Log::error("SoundPlayerWAVE::realize(): readSoundFilePcmData returned -1.\n");
            return;
        }
        m_pcm = pcm;
        releaseClip();
    }
    WaveDevice* device = Platform::waveDevice();
    if (!device || device->deviceCount() == 0) return;
    m_wave = device;
    m_device = device->open(m_format, [this] {
        jint playing = STARTED;
        m_state.compare_exchange_strong(playing, PREFETCHED);
    });
    if (m_device == 0) return;
    m_state.store(REALIZED);
    m_volumeSupported = device->volumeSupported();
}

void SoundPlayerWAVE::prefetch() {
    if (m_state.load() == UNREALIZED) realize();
    if (m_state.load() != REALIZED) return;
    m_prepared = true;
    m_state.store(PREFETCHED);
    uint32_t volume = 0;
    if (m_volumeSupported && m_wave->volume(m_device, volume)) {
        m_savedVolume = volume;
        m_level = static_cast<jint>((volume & 0xFFFF) * 100 / 65535);
    }
}

void SoundPlayerWAVE::start() {
    if (m_state.load() == UNREALIZED) {
        realize();
        if (m_state.load() != REALIZED) return;
    }
    if (m_state.load() == REALIZED) {
        prefetch();
        if (m_state.load() != PREFETCHED) return;
    }
    if (m_state.load() != PREFETCHED || m_muted) return;
    // The state goes first: a clip shorter than this call may be done before write returns.
    m_state.store(STARTED);
    if (!m_wave->write(m_device, m_pcm, m_pcmLength, m_headerLoops)) {
        jint started = STARTED;
        m_state.compare_exchange_strong(started, PREFETCHED);
    }
}

void SoundPlayerWAVE::stop() {
    if (m_state.load() != STARTED) return;
    if (m_wave->reset(m_device)) m_state.store(PREFETCHED);
}

void SoundPlayerWAVE::deallocate() {
    if (m_state.load() != PREFETCHED) return;
    m_prepared = false;
    m_state.store(REALIZED);
}

void SoundPlayerWAVE::close() {
    if (m_state.load() == CLOSED) return;
    stop();
    if (m_device != 0 && m_volumeSupported) m_wave->setVolume(m_device, m_savedVolume);
    deallocate();
    if (m_device != 0) m_wave->close(m_device);
    m_device = 0;
    std::free(m_pcm);
    m_pcm = nullptr;
    releaseClip();
    m_pcmLength = 0;
    m_state.store(CLOSED);
}

jlong SoundPlayerWAVE::setMediaTime(jlong now) {
    if (now > 0) {
        Log::warn("WARNING: setMediaTime(long64 now) not implemented for now > 0\n");
    } else if (m_device != 0) {
        m_wave->restart(m_device);
    }
    return now;
}

jlong SoundPlayerWAVE::getMediaTime() {
    if (m_state.load() == CLOSED) {
        Runtime::raise<java_lang_IllegalStateException>();
        return 0;
    }
    uint32_t millis = 0;
    if (m_device == 0 || !m_wave->positionMillis(m_device, millis)) return TIME_UNKNOWN;
    return static_cast<jlong>(millis) * 1000;
}

jlong SoundPlayerWAVE::getDuration() {
    if (m_state.load() == CLOSED) {
        Runtime::raise<java_lang_IllegalStateException>();
        return 0;
    }
    return m_duration;
}

String* SoundPlayerWAVE::getContentType() {
    const jint state = m_state.load();
    if (state == CLOSED || state == UNREALIZED) {
        Runtime::raise<java_lang_IllegalStateException>();
        return nullptr;
    }
    return String::fromCString("audio/x-wav");
}

void SoundPlayerWAVE::setLoopCount(jint count) {
    m_loopCount = count < 0 ? 0x7FFFFFFF : count == 0 ? 1 : count;
}

Object* SoundPlayerWAVE::getControl(String* name) {
    BX_RETURN_IF_NULL(name, nullptr);
    for (const char* control : {"VolumeControl", "RateControl", "TempoControl"}) {
        if (name->equalsCString(control)) return this;
    }
    return nullptr;
}

jint SoundPlayerWAVE::getRate() {
    uint32_t rate = 0;
    if (m_device == 0 || !m_wave->playbackRate(m_device, rate)) return -1;
    const double speed = std::clamp(rate / 65536.0, 0.5, 2.0);
    return static_cast<jint>(speed * 100000);
}

jint SoundPlayerWAVE::setRate(jint rate) {
    if (m_device == 0 || rate < 0) return -1;
    WaveDevice* device = m_wave;
    uint32_t previous = 0;
    if (!device->playbackRate(m_device, previous)) return -1;
    const double speed = std::clamp(rate * 0.00001, 0.5, 2.0);
    if (!device->setPlaybackRate(m_device, static_cast<uint32_t>(speed * 65536 + 0.5))) return -1;
    return static_cast<jint>(previous / 65536.0 * 100000);
}

jint SoundPlayerWAVE::setLevel(jint level) {
    level = std::clamp(level, 0, 100);
    const jint previous = m_level;
    m_level = level;
    if (m_volumeSupported && m_device != 0) {
        // Both channel words: a stereo clip keeps its right channel.
        const uint32_t word = static_cast<uint32_t>(level) * 65535 / 100;
        m_wave->setVolume(m_device, word | (word << 16));
    }
    return previous;
}
