// The wave device seam: waveOut's model of sound output. A handle plays one caller-owned PCM buffer
// at a time, looped in the device; the done callback reports the end of the last loop (or a reset).
// Invariants: no done callback runs after close returns; reset delivers done before it returns.
#pragma once

#include <cstdint>
#include <functional>

struct WaveFormat {
    uint16_t formatTag = 0;  // 1 PCM; nothing else plays
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;

    // PCM, 1 or 2 channels, 8 or 16 bits, 1 Hz to 192 kHz, block align matching.
    [[nodiscard]] bool playable() const;
};

using WaveHandle = int32_t;  // 0 is no handle

class WaveDevice {
public:
    virtual ~WaveDevice() = default;

    [[nodiscard]] virtual int deviceCount() const = 0;
    // WAVECAPS_VOLUME: per-handle volume words.
    [[nodiscard]] virtual bool volumeSupported() const = 0;
    // 0 when the format is not playable. `done` runs on the device's thread (headless: the thread
    // that moves the device's time); it must not call back into the device.
    [[nodiscard]] virtual WaveHandle open(const WaveFormat& format, std::function<void()> done) = 0;
    // Plays pcm (kept alive by the caller until done or close) `loops` times, at least once. False
    // for an unknown handle, one already playing, or a length that is not whole blocks.
    virtual bool write(WaveHandle handle, const uint8_t* pcm, uint32_t length, uint32_t loops) = 0;
    // Stops and forgets the buffer; done is delivered (on the calling thread) before this returns
    // when a buffer was queued.
    virtual bool reset(WaveHandle handle) = 0;
    // Resumes a paused handle (nothing pauses one here, so it only answers the handle is known).
    virtual bool restart(WaveHandle handle) = 0;
    // Resets, then forgets the handle.
    virtual bool close(WaveHandle handle) = 0;
    // Milliseconds played since the last write.
    virtual bool positionMillis(WaveHandle handle, uint32_t& millis) = 0;
    // Left channel in the low half, right in the high half, 0 to 0xFFFF each.
    virtual bool volume(WaveHandle handle, uint32_t& volume) = 0;
    virtual bool setVolume(WaveHandle handle, uint32_t volume) = 0;
    // 16.16 fixed point, 1.0 normal speed.
    virtual bool playbackRate(WaveHandle handle, uint32_t& rate) = 0;
    virtual bool setPlaybackRate(WaveHandle handle, uint32_t rate) = 0;
};

namespace Platform {

// The wave device the media players use; null until the host installs one. The caller keeps it
// alive while installed.
[[nodiscard]] WaveDevice* waveDevice();
void setWaveDevice(WaveDevice* device);

}  // namespace Platform
