// DirectShowPlayer: MIDI (and, by name only, AMR) clips. The "graph" is built at creation: MIDI is
// rendered whole by FluidSynth on a thread of its own, then played through the wave device; AMR
// has no renderer, so its graph fails and the player does nothing. VolumeControl in hundredths of
// a decibel. Invariants: the device's done callback only clears the running flag; PCM outlives the
// handle; whatever reads the PCM (start, times, duration, graphBuilt) first waits for the render,
// parked; close cancels a render still running and joins its thread.
#pragma once

#include <atomic>

#include "classlib/media/javax_microedition_media_player.h"
#include "platform/device/wave_device.h"

struct DecodedSound;

class DirectShowPlayer final : public Object,
                               public javax_microedition_media_Player,
                               public javax_microedition_media_control_VolumeControl {
public:
    static constexpr jint PAUSED = 500, STOPPED = 600;
    static constexpr jint kEndlessLoops = 100000;

    DirectShowPlayer() { setClassId(CID_javax_microedition_media_Player); }
    // type is "audio/midi" or "audio/amr"; the data is rendered at once (buildGraph).
    void init(const uint8_t* data, jint length, const char* type);

    void destroy() override;
    void* getInterface(jint classId) override;

    Object* getControl(String* name) override;
    ObjectArray* getControls() override { return nullptr; }
    void realize() override;
    void prefetch() override;
    void start() override;
    void stop() override;
    void deallocate() override {}
    void close() override;
    // Times in microseconds; setMediaTime stops output and moves the next start's position.
    jlong setMediaTime(jlong now) override;
    jlong getMediaTime() override;
    jint getState() override;
    jlong getDuration() override;
    String* getContentType() override;
    void setLoopCount(jint count) override;
    // The render's fault or cut is said as soon as both it and the name are known.
    void nameForLog(const char* name) override;
    // Not a Player slot: nothing calls it.
    void pause();

    jint getLevel() override;
    bool isMuted() override;
    jint setLevel(jint level) override;
    void setMute(bool mute) override;

    // Waits for the render.
    [[nodiscard]] bool graphBuilt();

private:
    struct Render;

    bool buildGraph(const uint8_t* data, jint length);
    // Waits for a render still running and takes its PCM; the graph fails without one.
    void finishGraph();
    [[nodiscard]] bool adopt(const DecodedSound& sound);
    bool putVolume(jint hundredthsDb);
    void haltOutput();

    const char* m_type;
    WaveFormat m_format;
    WaveDevice* m_wave;  // set with m_handle
    WaveHandle m_handle;
    Render* m_render;  // the render under way, until finishGraph or close
    uint8_t* m_pcm;
    uint32_t m_pcmLength;
    jlong m_duration;
    jlong m_startOffset;   // microseconds into the clip where the next start begins
    jlong m_playedOffset;  // where the running output began
    jint m_level;
    jint m_volume;  // hundredths of a decibel, as last put
    jint m_loops;
    std::atomic<jint> m_state;
    std::atomic<bool> m_running;
};
