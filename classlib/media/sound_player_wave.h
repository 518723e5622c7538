// SoundPlayerWAVE: a RIFF WAVE clip played from memory through the installed wave device, the whole
// PCM in one buffer looped by the device. Header class id 97 (players have no class of their own).
// Invariants: m_wave is set whenever m_device is; the PCM stays allocated while the device handle may read it (freed only after close
// of the handle); the device's done callback only moves STARTED to PREFETCHED, atomically.
#pragma once

#include <atomic>
#include <string>

#include "classlib/media/javax_microedition_media_player.h"
#include "platform/device/wave_device.h"

class SoundPlayerWAVE : public Object,
                        public javax_microedition_media_Player,
                        public javax_microedition_media_control_TempoControl,
                        public javax_microedition_media_control_VolumeControl {
public:
    SoundPlayerWAVE() { setClassId(CID_javax_microedition_media_Player); }
    // Copies the clip; a failed copy leaves a player that cannot be realized.
    void init(const uint8_t* data, jint length);

    // Object
    void destroy() override;
    void* getInterface(jint classId) override;
    // Own slots: 6 the format, 7 the PCM (a malloc'ed block the player then owns, or -1).
    // *why says what is wrong with a clip that has no usable header.
    virtual bool readWaveHeader(std::string* why);
    virtual jint readSoundFilePcmData(uint8_t** data);

    // Player
    Object* getControl(String* name) override;
    ObjectArray* getControls() override { return nullptr; }
    void realize() override;
    void prefetch() override;
    void start() override;
    void stop() override;
    void deallocate() override;
    void close() override;
    jlong setMediaTime(jlong now) override;
    jlong getMediaTime() override;
    jint getState() override { return m_state.load(); }
    jlong getDuration() override;
    String* getContentType() override;
    void setLoopCount(jint count) override;
    void nameForLog(const char* name) override;
    // RateControl, TempoControl
    jint getMinRate() override { return 50000; }
    jint getMaxRate() override { return 200000; }
    jint getRate() override;
    jint setRate(jint rate) override;
    // VolumeControl
    jint getLevel() override { return m_level; }
    bool isMuted() override { return m_muted; }
    jint setLevel(jint level) override;
    void setMute(bool mute) override { m_muted = mute; }

    [[nodiscard]] WaveHandle handle() const { return m_device; }

protected:
    void releaseClip();

    uint8_t* m_clip;  // malloc'ed copy until the PCM is extracted
    uint32_t m_clipLength;
    WaveFormat m_format;
    WaveDevice* m_wave;  // the device the handle came from; set with it
    WaveHandle m_device;
    uint8_t* m_pcm;
    uint32_t m_pcmLength;
    uint32_t m_headerLoops;  // the loop count the next write plays
    std::atomic<jint> m_state;
    jint m_loopCount;
    jint m_level;
    uint32_t m_savedVolume;
    bool m_volumeSupported;
    bool m_muted;
    bool m_prepared;
    jlong m_duration;
    char m_logName[48];  // empty until named; plain bytes, as the heap never runs destructors
};
