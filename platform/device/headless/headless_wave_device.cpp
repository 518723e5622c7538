// The headless wave device: virtual-clock mixing, the call record and the WAVE file of the output.
#include "platform/device/headless/headless_wave_device.h"

#include <algorithm>
#include <cstdio>

HeadlessWaveDevice::HeadlessWaveDevice(ClockSource& clock)
    : m_clock(clock), m_startMillis(clock.monotonicMillis()) {}

void HeadlessWaveDevice::catchUp() {
    std::lock_guard<std::mutex> guard(m_lock);
    const int64_t elapsed = m_clock.monotonicMillis() - m_startMillis;
    const uint64_t due = elapsed > 0 ? static_cast<uint64_t>(elapsed) * kOutputRate / 1000 : 0;
    // In pieces, so a long jump of the clock needs no buffer of its size.
    constexpr uint32_t kPiece = 4096;
    int16_t scratch[2 * kPiece];
    while (m_mixedFrames < due) {
        const uint32_t frames = static_cast<uint32_t>(std::min<uint64_t>(kPiece, due - m_mixedFrames));
        std::fill(scratch, scratch + 2 * frames, int16_t{0});
        m_mixer.mix(scratch, frames);
        const uint64_t room = m_keptLimit - std::min<uint64_t>(m_keptLimit, m_output.size() / 2);
        const uint64_t kept = std::min<uint64_t>(room, frames);
        m_output.insert(m_output.end(), scratch, scratch + 2 * kept);
        m_mixedFrames += frames;
    }
}

void HeadlessWaveDevice::keepOutput(uint64_t frames) {
    catchUp();
    std::lock_guard<std::mutex> guard(m_lock);
    m_keptLimit = std::min(frames, kMaxKeptFrames);
    m_output.clear();
    m_output.shrink_to_fit();
}

std::vector<int16_t> HeadlessWaveDevice::output() {
    catchUp();
    std::lock_guard<std::mutex> guard(m_lock);
    return m_output;
}

std::vector<std::string> HeadlessWaveDevice::calls() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return {m_calls.begin(), m_calls.end()};
}

void HeadlessWaveDevice::record(std::string call, bool ok) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!ok) call += " failed";
    if (m_calls.size() == kCallLimit) m_calls.pop_front();
    m_calls.push_back(std::move(call));
}

namespace {

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

std::string hex32(uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", v);
    return text;
}

}  // namespace

bool HeadlessWaveDevice::writeWav(const std::string& path) {
    const std::vector<int16_t> samples = output();
    const uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> file;
    file.insert(file.end(), {'R', 'I', 'F', 'F'});
    put32(file, 36 + bytes);
    file.insert(file.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(file, 16);
    put16(file, 1);
    put16(file, 2);
    put32(file, kOutputRate);
    put32(file, kOutputRate * 4);
    put16(file, 4);
    put16(file, 16);
    file.insert(file.end(), {'d', 'a', 't', 'a'});
    put32(file, bytes);
    for (int16_t s : samples) put16(file, static_cast<uint16_t>(s));
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return (std::fclose(f) == 0) && written;
}

WaveHandle HeadlessWaveDevice::open(const WaveFormat& format, std::function<void()> done) {
    catchUp();
    const WaveHandle handle = m_mixer.open(format, std::move(done));
    record("open " + std::to_string(handle) + " " + std::to_string(format.samplesPerSec) + "/" +
               std::to_string(format.bitsPerSample) + "/" + std::to_string(format.channels),
           handle != 0);
    return handle;
}

bool HeadlessWaveDevice::write(WaveHandle handle, const uint8_t* pcm, uint32_t length, uint32_t loops) {
    catchUp();
    const bool ok = m_mixer.write(handle, pcm, length, loops);
    record("write " + std::to_string(handle) + " " + std::to_string(length) + " loops " + std::to_string(loops), ok);
    return ok;
}

bool HeadlessWaveDevice::reset(WaveHandle handle) {
    catchUp();
    const bool ok = m_mixer.reset(handle);
    record("reset " + std::to_string(handle), ok);
    return ok;
}

bool HeadlessWaveDevice::restart(WaveHandle handle) {
    catchUp();
    const bool ok = m_mixer.restart(handle);
    record("restart " + std::to_string(handle), ok);
    return ok;
}

bool HeadlessWaveDevice::close(WaveHandle handle) {
    catchUp();
    const bool ok = m_mixer.close(handle);
    record("close " + std::to_string(handle), ok);
    return ok;
}

bool HeadlessWaveDevice::positionMillis(WaveHandle handle, uint32_t& millis) {
    catchUp();
    return m_mixer.positionMillis(handle, millis);
}

bool HeadlessWaveDevice::volume(WaveHandle handle, uint32_t& volume) {
    catchUp();
    return m_mixer.volume(handle, volume);
}

bool HeadlessWaveDevice::setVolume(WaveHandle handle, uint32_t volume) {
    catchUp();
    const bool ok = m_mixer.setVolume(handle, volume);
    record("volume " + std::to_string(handle) + " " + hex32(volume), ok);
    return ok;
}

bool HeadlessWaveDevice::playbackRate(WaveHandle handle, uint32_t& rate) {
    catchUp();
    return m_mixer.playbackRate(handle, rate);
}

bool HeadlessWaveDevice::setPlaybackRate(WaveHandle handle, uint32_t rate) {
    catchUp();
    const bool ok = m_mixer.setPlaybackRate(handle, rate);
    record("rate " + std::to_string(handle) + " " + hex32(rate), ok);
    return ok;
}
