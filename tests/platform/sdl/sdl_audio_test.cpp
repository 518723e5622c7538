// The sdl device's wave output on SDL's own audio thread (dummy drivers: no display or sound card
// needed): a looped clip completes there, and close returns with its done already delivered.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "platform/device/sdl/sdl_device.h"
#include "tests/support/temp_folder.h"
#include "tests/support/log_capture.h"

TEST(SdlAudioTest, LoopedClipCompletesOnTheAudioThreadAndCloseEndsCallbacks) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string error;
    std::unique_ptr<SdlDevice> device = SdlDevice::open(error);
    ASSERT_NE(device, nullptr) << error;
    WaveDevice& wave = device->waveDevice();
    std::atomic<int> done{0};
    const WaveHandle h = wave.open(WaveFormat{1, 1, 22050, 22050, 1, 8}, [&] { ++done; });
    ASSERT_NE(h, 0);
    const std::vector<uint8_t> clip(2205, 200);  // 100 ms, played twice
    ASSERT_TRUE(wave.write(h, clip.data(), static_cast<uint32_t>(clip.size()), 2));
    // Bounded only against a hang: SDL's thread decides when this ends.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (done.load() == 0 && std::chrono::steady_clock::now() < giveUp) std::this_thread::yield();
    EXPECT_EQ(done.load(), 1);
    uint32_t millis = 0;
    ASSERT_TRUE(wave.positionMillis(h, millis));
    EXPECT_EQ(millis, 200u);
    const std::vector<uint8_t> longClip(22050 * 30, 200);
    ASSERT_TRUE(wave.write(h, longClip.data(), static_cast<uint32_t>(longClip.size()), 1));
    ASSERT_TRUE(wave.close(h));
    EXPECT_EQ(done.load(), 2);  // the queued clip's done, before close returned
    device.reset();             // SDL's thread has stopped
    EXPECT_EQ(done.load(), 2);
}

// Without a sound card, ALSA's driver fails card by card: none of its lines may reach stderr, and
// the player is told once that sound is off.
TEST(SdlAudioTest, NoSoundCardIsSaidOnceWithoutAlsasOwnLines) {
    if (std::filesystem::exists("/proc/asound/cards")) GTEST_SKIP() << "this machine has sound cards";
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "alsa", 1);
    TempFolder temp;
    LogCapture log;
    std::fflush(stderr);
    const int savedStderr = ::dup(STDERR_FILENO);
    const int errors = ::open((temp.path() / "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ::dup2(errors, STDERR_FILENO);
    ::close(errors);
    std::string error;
    std::unique_ptr<SdlDevice> device = SdlDevice::open(error);
    std::fflush(stderr);
    ::dup2(savedStderr, STDERR_FILENO);
    ::close(savedStderr);
    ASSERT_NE(device, nullptr) << error;
    device.reset();
    EXPECT_EQ(temp.read("stderr.txt").find("ALSA"), std::string::npos) << temp.read("stderr.txt");
    int said = 0;
    for (const std::string& line : log.lines) said += line.find("sound is off") != std::string::npos ? 1 : 0;
    EXPECT_EQ(said, 1);
}
