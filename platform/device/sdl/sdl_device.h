// The sdl device: one SDL2 window showing the portrait screen turned upright as the game's 800x480
// picture, aspect kept; mouse as stylus, keyboard as the phone's keys, window focus, minimise and
// close as host messages. Invariant: SDL is called only on the window thread; other threads reach
// the device through the screen lock, the message lock or the atomic focus flag.
#pragma once

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/device/device.h"
#include "platform/device/single_instance.h"
#include "platform/device/wave_mixer.h"
#include "platform/device/window_state.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

class SdlDevice final : public Device {
public:
    static constexpr int kScreenWidth = 480;
    static constexpr int kScreenHeight = 800;

    // Starts SDL video; null with the reason when there is no display.
    [[nodiscard]] static std::unique_ptr<SdlDevice> open(std::string& error);
    ~SdlDevice() override;
    SdlDevice(const SdlDevice&) = delete;
    SdlDevice& operator=(const SdlDevice&) = delete;

    // Window thread: turns pending SDL events into host messages (peekMessage does this itself).
    void pump();
    // Window thread: the window's client size in window units (a user may resize it too).
    void setWindowSize(int width, int height);
    // The portrait screen as last drawn, to a PNG file.
    [[nodiscard]] bool captureScreen(const std::string& path);

    // DeviceShell
    bool acquireSingleInstance() override { return m_instance.acquire(); }
    bool createWindow(WindowProc& proc) override;
    void setFullScreen(uint32_t flags) override;
    void claimAllKeys(bool claim) override;
    void showWindow(ShowCommand command) override;
    void setForeground() override;
    bool isForeground() const override { return m_state.focused(); }
    void resendKey(int32_t virtualKey, bool release) override;
    bool launchUrl(const std::string& url) override;
    void redrawShell() override;
    int uiLanguage() const override { return m_language; }
    std::u16string platformType() const override { return u"Linux"; }
    // DeviceEvents
    bool peekMessage(HostMessage& out) override;
    void postQuit(int32_t exitCode) override;
    // DeviceOrientation
    int32_t displayOrientation() const override;
    bool setDisplayOrientation(int32_t orientation) override;
    // DevicePower
    bool openPowerQueue() override;
    void closePowerQueue() override;
    bool readPowerNotification(PowerNotification& out) override;
    // DeviceVolume: kept for the wave device, which applies it
    uint32_t waveVolume() const override { return m_volume.load(); }
    void setWaveVolume(uint32_t volume) override { m_volume.store(volume); }
    // DeviceScreen
    int screenWidth() const override { return kScreenWidth; }
    int screenHeight() const override { return kScreenHeight; }
    bool drawScreen(const std::function<void(Surface565&)>& draw) override;
    void present() override;
    // Device
    ClockSource& clock() override;
    // One SDL audio stream mixes every handle; without an audio device the handles play silently.
    WaveDevice& waveDevice() override { return m_mixer; }

private:
    SdlDevice();
    void post(const HostMessage& message);
    void postPower(uint32_t flags);
    void handle(const SDL_Event& event);
    void postStylus(HostMessageKind kind, int windowX, int windowY);
    void openAudio();
    // SDL's audio thread: the mixed handles, scaled by the master volume words.
    static void audioCallback(void* self, uint8_t* stream, int length);

    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    WindowState m_state;
    SingleInstanceLock m_instance;
    int m_language;
    bool m_stylusDown = false;  // window thread
    bool m_redraw = false;      // window thread

    mutable std::mutex m_lock;  // guards the queues and the orientation
    std::deque<HostMessage> m_queue;
    std::deque<PowerNotification> m_power;
    bool m_powerQueueOpen = false;
    int32_t m_orientation = 0;
    std::atomic<uint32_t> m_volume{0xFFFFFFFF};
    WaveMixer m_mixer{44100};
    uint32_t m_audio = 0;  // SDL_AudioDeviceID, 0 when none

    std::mutex m_screenLock;  // guards the screen and the picture
    std::vector<uint16_t> m_screen;
    std::vector<uint16_t> m_picture;  // the screen turned upright, waiting for present
    bool m_pictureNew = false;
};
