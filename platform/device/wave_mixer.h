// WaveMixer: the wave device both devices share. It keeps every open handle and mixes the playing
// ones, resampled, into 16-bit stereo at the output rate; the device around it decides when to mix.
// Invariant: one lock guards the handles, and done callbacks run under it, so none runs after close.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>

#include "platform/device/wave_device.h"

class WaveMixer final : public WaveDevice {
public:
    explicit WaveMixer(uint32_t outputRate) : m_outputRate(outputRate) {}

    [[nodiscard]] uint32_t outputRate() const { return m_outputRate; }
    // Adds `frames` stereo frames of every playing handle to out (2 x frames samples, saturating).
    void mix(int16_t* out, uint32_t frames);
    [[nodiscard]] int openHandles() const;

    int deviceCount() const override { return 1; }
    bool volumeSupported() const override { return true; }
    WaveHandle open(const WaveFormat& format, std::function<void()> done) override;
    bool write(WaveHandle handle, const uint8_t* pcm, uint32_t length, uint32_t loops) override;
    bool reset(WaveHandle handle) override;
    bool restart(WaveHandle handle) override;
    bool close(WaveHandle handle) override;
    bool positionMillis(WaveHandle handle, uint32_t& millis) override;
    bool volume(WaveHandle handle, uint32_t& volume) override;
    bool setVolume(WaveHandle handle, uint32_t volume) override;
    bool playbackRate(WaveHandle handle, uint32_t& rate) override;
    bool setPlaybackRate(WaveHandle handle, uint32_t rate) override;

private:
    struct Voice {
        WaveFormat format;
        std::function<void()> done;
        const uint8_t* pcm = nullptr;  // null: nothing queued
        uint32_t frames = 0;           // whole frames in pcm
        uint32_t loopsLeft = 0;
        uint64_t position = 0;         // 16.16 frames into the current loop
        uint64_t played = 0;           // frames since the write
        uint32_t volume = 0xFFFFFFFF;
        uint32_t rate = 0x10000;
    };
    [[nodiscard]] Voice* find(WaveHandle handle);
    [[nodiscard]] static int32_t sample(const Voice& voice, uint32_t frame, int channel);
    void mixVoice(Voice& voice, int16_t* out, uint32_t frames);

    const uint32_t m_outputRate;
    mutable std::mutex m_lock;
    std::map<WaveHandle, Voice> m_voices;
    WaveHandle m_next = 1;
};
