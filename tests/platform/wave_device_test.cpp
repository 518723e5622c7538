// The wave device contract on the headless device: handles, loops, reset, volume words, rate, and
// no done callback after close; time moves only with the virtual clock.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/device/headless/headless_device.h"

namespace {

WaveFormat mono8(uint32_t rate) { return WaveFormat{1, 1, rate, rate, 1, 8}; }

// 22050 Hz 8-bit mono at full positive level: each output frame maps to one input frame.
std::vector<uint8_t> loud(size_t frames) { return std::vector<uint8_t>(frames, 255); }

size_t nonSilentFrames(const std::vector<int16_t>& out) {
    size_t n = 0;
    for (size_t i = 0; i + 1 < out.size(); i += 2) n += (out[i] != 0 || out[i + 1] != 0);
    return n;
}

}  // namespace

TEST(WaveDeviceTest, OpensManyHandlesAndRejectsFormatsItCannotPlay) {
    HeadlessDevice device;
    WaveDevice& wave = device.waveDevice();
    std::vector<WaveHandle> handles;
    for (int i = 0; i < 32; ++i) handles.push_back(wave.open(mono8(22050), nullptr));
    for (size_t i = 0; i < handles.size(); ++i) EXPECT_EQ(handles[i], static_cast<WaveHandle>(i + 1));
    EXPECT_EQ(device.headlessWave().openHandles(), 32);
    EXPECT_EQ(wave.open(WaveFormat{2, 1, 22050, 22050, 1, 8}, nullptr), 0);   // not PCM
    EXPECT_EQ(wave.open(WaveFormat{1, 3, 22050, 66150, 3, 8}, nullptr), 0);   // three channels
    EXPECT_EQ(wave.open(WaveFormat{1, 2, 22050, 88200, 2, 16}, nullptr), 0);  // block align wrong
    EXPECT_EQ(wave.open(WaveFormat{1, 1, 0, 0, 1, 8}, nullptr), 0);           // no rate
    for (WaveHandle h : handles) EXPECT_TRUE(wave.close(h));
    EXPECT_FALSE(wave.close(handles[0]));
    EXPECT_EQ(device.headlessWave().openHandles(), 0);
}

TEST(WaveDeviceTest, LoopsPlayTheBufferThatManyTimesThenReportDoneOnce) {
    HeadlessDevice device;
    device.headlessWave().keepOutput();
    WaveDevice& wave = device.waveDevice();
    std::atomic<int> done{0};
    const WaveHandle h = wave.open(mono8(22050), [&] { ++done; });
    const std::vector<uint8_t> pcm = loud(2205);  // 100 ms
    ASSERT_TRUE(wave.write(h, pcm.data(), static_cast<uint32_t>(pcm.size()), 3));
    EXPECT_FALSE(wave.write(h, pcm.data(), static_cast<uint32_t>(pcm.size()), 1));  // already playing
    device.virtualClock().advance(299);
    device.headlessWave().catchUp();
    EXPECT_EQ(done.load(), 0);
    uint32_t millis = 0;
    ASSERT_TRUE(wave.positionMillis(h, millis));
    EXPECT_EQ(millis, 298u);  // 6592 frames played
    device.virtualClock().advance(200);
    const std::vector<int16_t> out = device.headlessWave().output();
    EXPECT_EQ(done.load(), 1);
    EXPECT_EQ(out.size(), 2u * (499 * 22050 / 1000));
    EXPECT_EQ(nonSilentFrames(out), 3u * 2205);
    EXPECT_EQ(out[0], 127 << 8);
    EXPECT_EQ(out[1], 127 << 8);
    EXPECT_TRUE(wave.close(h));
    EXPECT_EQ(done.load(), 1);
}

TEST(WaveDeviceTest, ResetDeliversDoneBeforeReturningAndCloseSilencesTheCallback) {
    HeadlessDevice device;
    WaveDevice& wave = device.waveDevice();
    std::vector<std::string> events;
    const WaveHandle h = wave.open(mono8(22050), [&] { events.push_back("done"); });
    const std::vector<uint8_t> pcm = loud(22050);
    ASSERT_TRUE(wave.write(h, pcm.data(), static_cast<uint32_t>(pcm.size()), 1));
    device.virtualClock().advance(100);
    EXPECT_TRUE(wave.reset(h));
    events.push_back("reset returned");
    EXPECT_TRUE(wave.reset(h));  // nothing queued: no second done
    ASSERT_TRUE(wave.write(h, pcm.data(), static_cast<uint32_t>(pcm.size()), 1));
    EXPECT_TRUE(wave.close(h));
    events.push_back("close returned");
    device.virtualClock().advance(2000);
    device.headlessWave().catchUp();
    EXPECT_EQ(events, (std::vector<std::string>{"done", "reset returned", "done", "close returned"}));
    EXPECT_EQ(device.headlessWave().calls(),
              (std::vector<std::string>{"open 1 22050/8/1", "write 1 22050 loops 1", "reset 1", "reset 1",
                                        "write 1 22050 loops 1", "close 1"}));
}

TEST(WaveDeviceTest, VolumeWordsScaleEachChannelAndRateChangesSpeed) {
    HeadlessDevice device;
    device.headlessWave().keepOutput();
    WaveDevice& wave = device.waveDevice();
    const WaveHandle h = wave.open(mono8(22050), nullptr);
    uint32_t volume = 0;
    ASSERT_TRUE(wave.volume(h, volume));
    EXPECT_EQ(volume, 0xFFFFFFFFu);
    ASSERT_TRUE(wave.setVolume(h, 0x00008000));  // left half, right silent
    uint32_t rate = 0;
    ASSERT_TRUE(wave.playbackRate(h, rate));
    EXPECT_EQ(rate, 0x10000u);
    ASSERT_TRUE(wave.setPlaybackRate(h, 0x20000));  // double speed: 100 ms of clip in 50 ms
    EXPECT_FALSE(wave.setPlaybackRate(h, 0));
    const std::vector<uint8_t> pcm = loud(2205);
    ASSERT_TRUE(wave.write(h, pcm.data(), static_cast<uint32_t>(pcm.size()), 1));
    device.virtualClock().advance(100);
    const std::vector<int16_t> out = device.headlessWave().output();
    EXPECT_EQ(out[0], static_cast<int16_t>((127 << 8) * 0x8000 / 0xFFFF));
    EXPECT_EQ(out[1], 0);
    EXPECT_EQ(nonSilentFrames(out), 2205u / 2 + 1);
    EXPECT_EQ(device.headlessWave().calls().at(1), "volume 1 0x00008000");
    EXPECT_EQ(device.headlessWave().calls().at(3), "rate 1 0x00000000 failed");
}

// A run keeps no audio unless asked, then no more than asked, and only the newest calls: however
// long it plays, its memory stays flat.
TEST(WaveDeviceTest, KeepsOutputOnlyWhenAskedAndBoundsItAndTheCallRecord) {
    HeadlessDevice device;
    WaveDevice& wave = device.waveDevice();
    const WaveHandle h = wave.open(mono8(22050), nullptr);
    const std::vector<uint8_t> pcm = loud(2205);
    ASSERT_TRUE(wave.write(h, pcm.data(), static_cast<uint32_t>(pcm.size()), 0xFFFFFFFF));
    device.virtualClock().advance(1000);
    EXPECT_TRUE(device.headlessWave().output().empty());
    device.headlessWave().keepOutput(300);
    device.virtualClock().advance(1000);
    const std::vector<int16_t> out = device.headlessWave().output();
    ASSERT_EQ(out.size(), 2u * 300);
    EXPECT_EQ(nonSilentFrames(out), 300u);  // kept from the moment asked, mid-loop
    for (size_t i = 0; i < HeadlessWaveDevice::kCallLimit + 10; ++i) ASSERT_TRUE(wave.setVolume(h, static_cast<uint32_t>(i)));
    const std::vector<std::string> calls = device.headlessWave().calls();
    ASSERT_EQ(calls.size(), HeadlessWaveDevice::kCallLimit);
    char newest[32];
    std::snprintf(newest, sizeof newest, "volume 1 0x%08X", static_cast<unsigned>(HeadlessWaveDevice::kCallLimit + 9));
    EXPECT_EQ(calls.back(), newest);
}

TEST(WaveDeviceTest, RejectsPartialBlocksAndUnknownHandles) {
    HeadlessDevice device;
    WaveDevice& wave = device.waveDevice();
    const WaveHandle h = wave.open(WaveFormat{1, 2, 22050, 88200, 4, 16}, nullptr);
    const std::vector<uint8_t> pcm(10, 0);
    EXPECT_FALSE(wave.write(h, pcm.data(), 10, 1));  // 2.5 blocks
    EXPECT_FALSE(wave.write(h, nullptr, 8, 1));
    EXPECT_FALSE(wave.write(99, pcm.data(), 8, 1));
    EXPECT_FALSE(wave.reset(99));
    uint32_t millis = 0;
    EXPECT_FALSE(wave.positionMillis(99, millis));
}

TEST(WaveDeviceTest, WritesTheMixedOutputAsAWaveFile) {
    HeadlessDevice device;
    device.headlessWave().keepOutput();
    WaveDevice& wave = device.waveDevice();
    const WaveHandle h = wave.open(mono8(22050), nullptr);
    const std::vector<uint8_t> pcm = loud(220);
    ASSERT_TRUE(wave.write(h, pcm.data(), static_cast<uint32_t>(pcm.size()), 1));
    device.virtualClock().advance(20);
    const std::string path = ::testing::TempDir() + "wave_device_test_" + std::to_string(getpid()) + ".wav";
    ASSERT_TRUE(device.headlessWave().writeWav(path));
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::vector<uint8_t> file(4096);
    file.resize(std::fread(file.data(), 1, file.size(), f));
    std::fclose(f);
    std::remove(path.c_str());
    ASSERT_EQ(file.size(), 44u + 441 * 4);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
    EXPECT_EQ(file[22], 2);                  // stereo
    EXPECT_EQ(file[40] | (file[41] << 8), 441 * 4);
    EXPECT_EQ(static_cast<int16_t>(file[44] | (file[45] << 8)), 127 << 8);
    EXPECT_FALSE(device.headlessWave().writeWav("/nonexistent-folder/x.wav"));
}
