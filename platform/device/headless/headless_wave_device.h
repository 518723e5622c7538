// The headless wave device: a WaveMixer that plays on the virtual clock. Every call first mixes the
// output up to the clock's time (so done callbacks arrive on the thread that notices time passed),
// keeps the mixed stereo output when asked to, and records each call as text.
// Invariant: once keepOutput(n) is called, output holds the frames mixed since then, at most n
// (a long run mixes on but keeps no more); without it nothing is kept. The call record keeps the
// newest kCallLimit calls. So a run's memory stays flat however long it runs.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/device/wave_mixer.h"
#include "runtime/clock.h"

class HeadlessWaveDevice final : public WaveDevice {
public:
    static constexpr uint32_t kOutputRate = 22050;
    static constexpr uint64_t kMaxKeptFrames = uint64_t{kOutputRate} * 600;  // ten minutes
    static constexpr size_t kCallLimit = 4096;
    explicit HeadlessWaveDevice(ClockSource& clock);

    // Mixes up to the clock's time.
    void catchUp();
    // From now on keeps the mixed output, its first `frames` frames (at most kMaxKeptFrames);
    // what was kept before is dropped.
    void keepOutput(uint64_t frames = kMaxKeptFrames);
    // The output kept so far, interleaved stereo.
    [[nodiscard]] std::vector<int16_t> output();
    // Calls in order: "open 1 22050/8/1", "write 1 100 loops 2", "reset 1", "close 1", "volume 1
    // 0xFFFFFFFF", "rate 1 0x00010000"; failed calls end in " failed".
    [[nodiscard]] std::vector<std::string> calls() const;
    // The output as a 16-bit stereo WAVE file; false when it cannot be written whole.
    [[nodiscard]] bool writeWav(const std::string& path);
    [[nodiscard]] int openHandles() const { return m_mixer.openHandles(); }

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
    void record(std::string call, bool ok);

    ClockSource& m_clock;
    WaveMixer m_mixer{kOutputRate};
    mutable std::mutex m_lock;  // guards everything below; taken before the mixer's lock
    int64_t m_startMillis;
    uint64_t m_mixedFrames = 0;
    uint64_t m_keptLimit = 0;  // frames of output to keep
    std::vector<int16_t> m_output;
    std::deque<std::string> m_calls;
};
