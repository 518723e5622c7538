// The sdl device; see sdl_device.h. A draw turns the screen into the upright picture under the
// screen lock; present uploads it once per host-loop pass and scales it into the window.
// Invariant: m_lock is never held while a message is sent to the window procedure.
#include "platform/device/sdl/sdl_device.h"

#ifdef BRINDLEX_HAS_ALSA
#include <alsa/asoundlib.h>
#endif

#include <algorithm>
#include <SDL.h>
#include <spawn.h>
#include <sys/wait.h>

#include <thread>

#include "platform/device/host_input.h"
#include "platform/graphics/landscape_view.h"
#include "platform/device/locale_language.h"
#include "platform/graphics/png_writer.h"
#include "platform/device/sdl/sdl_keys.h"
#include "platform/device/url_policy.h"
#include "runtime/clock.h"
#include "runtime/log.h"

extern char** environ;

namespace {
constexpr char kWindowTitle[] = "Brindlex - Zarnquist";

#ifdef BRINDLEX_HAS_ALSA
void dropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}
#endif

// ALSA prints a line on stderr for every card and plugin it fails to open while SDL looks for a
// sound device; on a machine without a sound card that is a screenful. Whether sound works is
// said once, by openAudio.
void quietAlsa() {
#ifdef BRINDLEX_HAS_ALSA
    snd_lib_error_set_handler(&dropAlsaMessage);
#endif
}
}

std::unique_ptr<SdlDevice> SdlDevice::open(std::string& error) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error = SDL_GetError();
        return nullptr;
    }
    std::unique_ptr<SdlDevice> device(new SdlDevice());
    device->openAudio();
    return device;
}

void SdlDevice::openAudio() {
    quietAlsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        Log::warn("brindlex: no sound device (%s): sound is off", SDL_GetError());
        return;
    }
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(m_mixer.outputRate());
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &SdlDevice::audioCallback;
    want.userdata = this;
    // The mixer's rate and layout are fixed: SDL converts to the hardware's own.
    m_audio = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (m_audio != 0) {
        SDL_PauseAudioDevice(m_audio, 0);
        return;
    }
    Log::warn("brindlex: no sound device (%s): sound is off", SDL_GetError());
}

void SdlDevice::audioCallback(void* self, uint8_t* stream, int length) {
    auto* device = static_cast<SdlDevice*>(self);
    auto* out = reinterpret_cast<int16_t*>(stream);
    const uint32_t frames = static_cast<uint32_t>(length) / 4;
    std::fill(out, out + 2 * frames, int16_t{0});
    device->m_mixer.mix(out, frames);
    const uint32_t master = device->m_volume.load();
    const int32_t left = static_cast<int32_t>(master & 0xFFFF), right = static_cast<int32_t>(master >> 16);
    for (uint32_t i = 0; i < frames; ++i) {
        out[2 * i] = static_cast<int16_t>(out[2 * i] * left / 0xFFFF);
        out[2 * i + 1] = static_cast<int16_t>(out[2 * i + 1] * right / 0xFFFF);
    }
}

SdlDevice::SdlDevice()
    : m_language(primaryLanguageFromEnvironment()),
      m_screen(static_cast<size_t>(kScreenWidth) * kScreenHeight, 0),
      m_picture(m_screen.size(), 0) {}

SdlDevice::~SdlDevice() {
    if (m_audio != 0) SDL_CloseAudioDevice(m_audio);  // the callback has stopped when this returns
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    if (m_texture) SDL_DestroyTexture(m_texture);
    if (m_renderer) SDL_DestroyRenderer(m_renderer);
    if (m_window) SDL_DestroyWindow(m_window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

ClockSource& SdlDevice::clock() { return Runtime::hostClock(); }

// --- shell ---

bool SdlDevice::createWindow(WindowProc& proc) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    // The phone held sideways: the window starts at the picture's own size.
    m_window = SDL_CreateWindow(kWindowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenHeight,
                                kScreenWidth, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (m_window) m_renderer = SDL_CreateRenderer(m_window, -1, 0);
    if (m_renderer)
        m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, kScreenHeight,
                                      kScreenWidth);
    if (m_texture == nullptr) {
        Log::error("cannot create the window: %s", SDL_GetError());
        return false;
    }
    m_state.create(proc);
    return true;
}

// The desktop window keeps its frame and the panels stay: the picture is scaled into the window.
void SdlDevice::setFullScreen(uint32_t) {}

// A desktop window already receives every key it can get; grabbing the keyboard would lock the
// user out of their desktop.
void SdlDevice::claimAllKeys(bool) {}

void SdlDevice::showWindow(ShowCommand command) {
    if (!m_state.onWindowThread()) {
        m_state.defer([this, command] { showWindow(command); });
        return;
    }
    if (command == ShowCommand::Show) {
        SDL_ShowWindow(m_window);
        SDL_RestoreWindow(m_window);
        SDL_RaiseWindow(m_window);
        m_redraw = true;
        m_state.show();
    } else {
        SDL_MinimizeWindow(m_window);
        m_state.minimize();
    }
}

void SdlDevice::setForeground() {
    if (!m_state.onWindowThread()) {
        m_state.defer([this] { setForeground(); });
        return;
    }
    SDL_RaiseWindow(m_window);
    m_state.gainFocus();
}

// The desktop saw the key itself; there is no shell waiting for it.
void SdlDevice::resendKey(int32_t, bool) {}

bool SdlDevice::launchUrl(const std::string& url) {
    if (!Host::isLaunchableUrl(url)) {
        Log::warn("refused to open the link: %s", Host::urlForLog(url).c_str());
        return false;
    }
    char program[] = "xdg-open";
    std::string argument = url;
    char* argv[] = {program, argument.data(), nullptr};
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, program, nullptr, nullptr, argv, environ);
    if (rc != 0) {
        Log::warn("cannot start xdg-open (error %d)", rc);
        return false;
    }
    // Reaped in the background: the game never waits for the browser.
    std::thread([pid] {
        int status = 0;
        waitpid(pid, &status, 0);
    }).detach();
    return true;
}

// The desktop redraws its own panels.
void SdlDevice::redrawShell() {}

void SdlDevice::setWindowSize(int width, int height) {
    if (m_window == nullptr) return;
    SDL_SetWindowSize(m_window, width, height);
    m_redraw = true;
}

// --- events ---

void SdlDevice::post(const HostMessage& message) {
    std::lock_guard lock(m_lock);
    m_queue.push_back(message);
}

void SdlDevice::postPower(uint32_t flags) {
    std::lock_guard lock(m_lock);
    if (m_powerQueueOpen && m_power.size() < Power::kQueueCapacity) m_power.push_back({Power::kTransition, flags});
}

void SdlDevice::postStylus(HostMessageKind kind, int windowX, int windowY) {
    int w = 0, h = 0;
    SDL_GetWindowSize(m_window, &w, &h);
    const Viewport view = fitPicture(w, h, kScreenHeight, kScreenWidth);
    const ScreenPoint p = windowToPortrait(windowX, windowY, view, kScreenWidth, kScreenHeight);
    post({kind, 0, Host::makeStylusParam(p.x, p.y), 0});
}

void SdlDevice::handle(const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT: post({HostMessageKind::Close, 0, 0, 0}); break;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE: post({HostMessageKind::Close, 0, 0, 0}); break;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                case SDL_WINDOWEVENT_RESTORED: m_state.gainFocus(); break;
                case SDL_WINDOWEVENT_FOCUS_LOST: m_state.loseFocus(); break;
                case SDL_WINDOWEVENT_MINIMIZED: m_state.minimize(); break;
                default: break;
            }
            m_redraw = true;
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (const int32_t vk = virtualKeyFromSdl(e.key.keysym.sym))
                post({e.type == SDL_KEYDOWN ? HostMessageKind::KeyDown : HostMessageKind::KeyUp, vk, 0, 0});
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (e.button.button != SDL_BUTTON_LEFT) break;
            m_stylusDown = e.type == SDL_MOUSEBUTTONDOWN;
            postStylus(m_stylusDown ? HostMessageKind::StylusDown : HostMessageKind::StylusUp, e.button.x, e.button.y);
            break;
        case SDL_MOUSEMOTION:
            // A stylus only moves while it touches the screen.
            if (m_stylusDown) postStylus(HostMessageKind::StylusMove, e.motion.x, e.motion.y);
            break;
        case SDL_APP_WILLENTERBACKGROUND: postPower(Power::kSuspend); break;
        case SDL_APP_DIDENTERFOREGROUND: postPower(Power::kOn); break;
        default: break;
    }
}

void SdlDevice::pump() {
    m_state.runDeferred();
    if (m_window && m_instance.takeRaiseRequest()) setForeground();
    SDL_Event e;
    while (SDL_PollEvent(&e)) handle(e);
}

bool SdlDevice::peekMessage(HostMessage& out) {
    {
        std::lock_guard lock(m_lock);
        if (!m_queue.empty()) {
            out = m_queue.front();
            m_queue.pop_front();
            return true;
        }
    }
    pump();
    std::lock_guard lock(m_lock);
    if (m_queue.empty()) return false;
    out = m_queue.front();
    m_queue.pop_front();
    return true;
}

void SdlDevice::postQuit(int32_t exitCode) { post({HostMessageKind::Quit, exitCode, 0, 0}); }

// --- orientation and power ---

int32_t SdlDevice::displayOrientation() const {
    std::lock_guard lock(m_lock);
    return m_orientation;
}

// A desktop does not turn; the window keeps the orientation it is asked for.
bool SdlDevice::setDisplayOrientation(int32_t orientation) {
    std::lock_guard lock(m_lock);
    if (m_orientation != orientation) {
        m_orientation = orientation;
        m_queue.push_back({HostMessageKind::SettingChange, 0, 0, 0});
    }
    return true;
}

bool SdlDevice::openPowerQueue() {
    std::lock_guard lock(m_lock);
    m_powerQueueOpen = true;
    return true;
}

void SdlDevice::closePowerQueue() {
    std::lock_guard lock(m_lock);
    m_powerQueueOpen = false;
    m_power.clear();
}

bool SdlDevice::readPowerNotification(PowerNotification& out) {
    std::lock_guard lock(m_lock);
    if (m_power.empty()) return false;
    out = m_power.front();
    m_power.pop_front();
    return true;
}

// --- screen ---

bool SdlDevice::drawScreen(const std::function<void(Surface565&)>& draw) {
    if (!m_state.created()) return false;
    std::lock_guard lock(m_screenLock);
    Surface565 screen{m_screen.data(), kScreenWidth, kScreenHeight, kScreenWidth};
    draw(screen);
    turnToLandscape({m_screen.data(), kScreenWidth, kScreenHeight, kScreenWidth},
                    {m_picture.data(), kScreenHeight, kScreenWidth, kScreenHeight});
    m_pictureNew = true;
    return true;
}

bool SdlDevice::captureScreen(const std::string& path) {
    std::lock_guard lock(m_screenLock);
    return writePng565(path, {m_screen.data(), kScreenWidth, kScreenHeight, kScreenWidth});
}

void SdlDevice::present() {
    if (m_texture == nullptr) return;
    {
        std::lock_guard lock(m_screenLock);
        if (m_pictureNew) {
            SDL_UpdateTexture(m_texture, nullptr, m_picture.data(), kScreenHeight * static_cast<int>(sizeof(uint16_t)));
            m_pictureNew = false;
            m_redraw = true;
        }
    }
    if (!m_redraw) return;
    m_redraw = false;
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(m_renderer, &w, &h);
    const Viewport view = fitPicture(w, h, kScreenHeight, kScreenWidth);
    const SDL_Rect target{view.x, view.y, view.width, view.height};
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_RenderClear(m_renderer);
    SDL_RenderCopy(m_renderer, m_texture, nullptr, &target);
    SDL_RenderPresent(m_renderer);
}
