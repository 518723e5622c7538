// The headless device: a virtual clock, scripted and injected events, a record of every shell call,
// and the screen kept in memory (saved as PNG on request or after every draw). Tests and CI run on it.
// Invariant: nothing here waits in real time; script events fall due as the virtual clock reaches them.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/device/device.h"
#include "platform/device/headless/event_script.h"
#include "platform/device/headless/headless_wave_device.h"
#include "platform/device/window_state.h"
#include "runtime/clock.h"

struct HeadlessOptions {
    int screenWidth = 480;
    int screenHeight = 800;
    int uiLanguage = 9;
    int32_t orientation = Orientation::k0;
    bool anotherInstanceRunning = false;
    bool windowCreationFails = false;
    uint32_t waveVolume = 0xFFFFFFFF;
};

class HeadlessDevice final : public Device {
public:
    explicit HeadlessDevice(HeadlessOptions options = {});

    // Adds timed events (times on the device clock); they merge with those already queued.
    void addEvents(const std::vector<ScriptEvent>& events);
    [[nodiscard]] ManualClock& virtualClock() { return m_clock; }

    // Shell calls in order, as text: "fullScreen 42", "allKeys 1", "show", "minimize",
    // "foreground", "keybd 114 down", "launch URL", "orientation 1", "powerQueue open",
    // "volume 0x0000FFFF", ...
    // Only the newest kShellCallLimit are kept, so a long run's record stays bounded.
    static constexpr size_t kShellCallLimit = 4096;
    [[nodiscard]] std::vector<std::string> shellCalls() const;
    void clearShellCalls();
    // Called (under the record's lock) with each shell call as it is recorded.
    void setShellCallObserver(std::function<void(const std::string&)> observer);

    [[nodiscard]] int64_t frameCount() const;
    [[nodiscard]] std::vector<uint16_t> screenPixels() const;
    [[nodiscard]] bool captureScreen(const std::string& path) const;
    // After every draw the screen is also written to folder/frame_NNNNNN.png (empty: off).
    void setFrameCaptureFolder(std::string folder);
    [[nodiscard]] bool minimised() const { return m_window.minimised(); }

    // DeviceShell
    bool acquireSingleInstance() override;
    bool createWindow(WindowProc& proc) override;
    void setFullScreen(uint32_t flags) override;
    void claimAllKeys(bool claim) override;
    void showWindow(ShowCommand command) override;
    void setForeground() override;
    bool isForeground() const override { return m_window.focused(); }
    void resendKey(int32_t virtualKey, bool release) override;
    bool launchUrl(const std::string& url) override;
    void redrawShell() override;
    int uiLanguage() const override { return m_options.uiLanguage; }
    std::u16string platformType() const override { return u"Headless"; }
    // DeviceEvents
    bool peekMessage(HostMessage& out) override;
    void postQuit(int32_t exitCode) override;
    // Moves every script event due by `time` into the message or power queue.
    void releaseEventsDueBy(int64_t time) override;
    // DeviceOrientation
    int32_t displayOrientation() const override;
    bool setDisplayOrientation(int32_t orientation) override;
    // DevicePower
    bool openPowerQueue() override;
    void closePowerQueue() override;
    bool readPowerNotification(PowerNotification& out) override;
    // DeviceVolume ("volume 0x0000FFFF" in the record)
    uint32_t waveVolume() const override;
    void setWaveVolume(uint32_t volume) override;
    // DeviceScreen
    int screenWidth() const override { return m_options.screenWidth; }
    int screenHeight() const override { return m_options.screenHeight; }
    bool drawScreen(const std::function<void(Surface565&)>& draw) override;
    void present() override {}  // the screen in memory is already what a viewer would see
    // Device
    ClockSource& clock() override { return m_clock; }
    // Plays on the virtual clock; each message peek mixes up to the clock's time.
    WaveDevice& waveDevice() override { return m_wave; }
    [[nodiscard]] HeadlessWaveDevice& headlessWave() { return m_wave; }

private:
    void record(std::string call);
    void post(const HostMessage& message);
    // Focus and orientation events act when the message queue reaches them.
    void act(const ScriptEvent& event);
    [[nodiscard]] ConstSurface565 screenView() const;

    struct QueueEntry {
        bool isAction;
        HostMessage message;
        ScriptEvent action;
    };

    HeadlessOptions m_options;
    ManualClock m_clock;
    HeadlessWaveDevice m_wave{m_clock};
    WindowState m_window;

    mutable std::mutex m_lock;  // guards everything below
    std::vector<ScriptEvent> m_script;
    size_t m_nextScript = 0;
    std::deque<QueueEntry> m_queue;
    std::deque<std::string> m_shellCalls;
    std::function<void(const std::string&)> m_observer;
    int32_t m_orientation;
    bool m_powerQueueOpen = false;
    std::deque<PowerNotification> m_power;
    uint32_t m_volume;

    mutable std::mutex m_screenLock;  // guards the screen and the frame count
    std::vector<uint16_t> m_screen;
    int64_t m_frames = 0;
    std::string m_captureFolder;
};
