// ApplicationImpl: the one host object of a run. It owns the Application and the display back end,
// runs the main thread's host loop, and is the host side of the paint road and the MIDlet natives.
// Invariants: the main thread alone starts, runs and shuts it down; the flags the game thread reads
// (active, repaint-suppress, running) are atomics; shutdown runs its steps once.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "classlib/application.h"
#include "platform/display/display_backend.h"

class Device;

class ApplicationImpl final : public ScreenHost, public MIDletHost {
public:
    // Volume steps of the F6/F7 keys, per channel; a step up from kVolumeTop or more is full.
    static constexpr uint32_t kVolumeStep = 6553;
    static constexpr uint32_t kVolumeTop = 58981;

    [[nodiscard]] static ApplicationImpl* getInstance();
    [[nodiscard]] static Application* getApplication();

    // A new run on device: running := 1, nothing else held. The device outlives the run.
    void begin(Device& device);
    [[nodiscard]] Device* device() const { return m_device; }

    // Creates the back end named "DDRAW", "GDI" or "AUTO" over the device's screen and initialises
    // it. False for another name or a failed init (the back end stays, released at shutdown).
    [[nodiscard]] bool openDisplay(std::u16string_view type);
    // Start-up on the main thread: the Application with its heaps and statics over the back end's
    // frame buffer (black), the main thread in the thread table scanning from stackBase down (0:
    // its whole stack), then the MIDlet. The static initialisers run in startupOrder. False when
    // the runtime cannot start.
    [[nodiscard]] bool init(uintptr_t stackBase, StartupOrder startupOrder);
    // The host loop until running is 0 (or passLimit passes, when set), then shutdown.
    void run();
    // Asks the MIDlet to end and lets its threads finish, then stops the world and closes the
    // Application and releases the back end. Threads of the application still alive after a few
    // frames stay stopped for good: they must never see the freed heaps.
    void shutdown();

    // Device volume by one step on both channels.
    void volumeUp();
    void volumeDown();

    // Ends the host loop after this many passes (10 ms of device time each); negative: no limit.
    void setPassLimit(int64_t passes) { m_passLimit = passes; }
    [[nodiscard]] int64_t passes() const { return m_passes; }

    [[nodiscard]] bool running() const { return m_running.load(); }
    void setRunning(bool running) { m_running.store(running); }
    [[nodiscard]] bool active() const { return m_active.load(); }
    void setActive(bool active) { m_active.store(active); }
    [[nodiscard]] bool repaintSuppressed() const { return m_repaintSuppress.load(); }
    void setRepaintSuppressed(bool suppress) { m_repaintSuppress.store(suppress); }
    [[nodiscard]] bool preemptive() const { return m_preemptive; }
    [[nodiscard]] DisplayBackend* display() const { return m_display.get(); }
    [[nodiscard]] uint16_t* frameBuffer() const { return m_frameBuffer; }
    // Registered threads other than the main one that shutdown left stopped.
    [[nodiscard]] int threadsLeftStopped() const { return m_threadsLeftStopped; }

    // ScreenHost: a frame is painted and shown only while active, not turning and in front.
    bool mayPaint() override;
    void flush() override;
    // MIDletHost
    bool platformRequest(const std::u16string& url) override;
    void notifyDestroyed() override;

private:
    void endApplicationThreads();
    // One of the pass's two pauses of kPassSleepMillis, with the events due by its end handed
    // over first; false when a quit among them has ended the run.
    [[nodiscard]] bool pause();
    std::atomic<bool> m_repaintSuppress{false};
    std::unique_ptr<Application> m_application;
    std::unique_ptr<DisplayBackend> m_display;
    bool m_preemptive = false;
    std::atomic<bool> m_active{false};
    std::atomic<bool> m_running{true};
    uint16_t* m_frameBuffer = nullptr;
    uint32_t m_deviceVolume = 0;

    Device* m_device = nullptr;
    int m_mainThreadSlot = -1;
    uintptr_t m_savedStackBase = 0;
    bool m_stackBaseSet = false;
    int64_t m_passLimit = -1;
    int64_t m_passes = 0;
    int m_threadsLeftStopped = 0;
};
