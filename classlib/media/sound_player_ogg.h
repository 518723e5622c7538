// SoundPlayerOGG: a SoundPlayerWAVE whose format and PCM come from decoding the whole Ogg Vorbis
// clip in memory with Tremor at realize. Invariant: m_decoded is owned until handed to the base.
#pragma once

#include "classlib/media/sound_player_wave.h"

class SoundPlayerOGG final : public SoundPlayerWAVE {
public:
    void destroy() override;
    // openDecoder and fillWaveFormat: decodes the clip; false when Tremor cannot read it.
    bool readWaveHeader(std::string* why) override;
    jint readSoundFilePcmData(uint8_t** data) override;

private:
    uint8_t* m_decoded;
};
