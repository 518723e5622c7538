// SoundPlayerOGG: whole-clip Ogg Vorbis decoding into the WAVE player's PCM buffer.
#include "classlib/media/sound_player_ogg.h"

#include <cstdlib>
#include <cstring>

#include "platform/media/decoded_sound.h"
#include "runtime/log.h"

void SoundPlayerOGG::destroy() {
    SoundPlayerWAVE::destroy();
    std::free(m_decoded);
    m_decoded = nullptr;
}

bool SoundPlayerOGG::readWaveHeader(std::string* why) {
    DecodedSound sound;
    if (!m_clip || !Media::decodeOgg(m_clip, m_clipLength, sound)) {
        if (why) *why = "no Ogg Vorbis that decodes";
        return false;
    }
    std::free(m_decoded);
    m_decoded = static_cast<uint8_t*>(std::malloc(sound.pcm.size()));
    if (!m_decoded) {
        Log::error("SoundPlayerOGG::readSoundFilePcmData(): decodedDataBuffer == NULL\n  tried to malloc %d bytes",
                   static_cast<int>(sound.pcm.size()));
        return false;
    }
    std::memcpy(m_decoded, sound.pcm.data(), sound.pcm.size());
    m_format = sound.format;
    m_pcmLength = static_cast<uint32_t>(sound.pcm.size());
    m_duration = sound.durationMicros;
    return true;
}

jint SoundPlayerOGG::readSoundFilePcmData(uint8_t** data) {
    if (!m_decoded || m_pcmLength == 0) return -1;
    *data = m_decoded;
    m_decoded = nullptr;
    return static_cast<jint>(m_pcmLength);
}
