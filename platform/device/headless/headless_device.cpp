// The headless device; see headless_device.h.
// Invariant: m_lock is never held while a message is sent to the window procedure, so handlers may
// call back into the device.
#include "platform/device/headless/headless_device.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "platform/device/host_input.h"
#include "platform/graphics/png_writer.h"
#include "platform/device/url_policy.h"
#include "runtime/log.h"

HeadlessDevice::HeadlessDevice(HeadlessOptions options)
    : m_options(options),
      m_orientation(options.orientation),
      m_volume(options.waveVolume),
      m_screen(static_cast<size_t>(std::max(options.screenWidth, 1)) * std::max(options.screenHeight, 1), 0) {
    m_options.screenWidth = std::max(options.screenWidth, 1);
    m_options.screenHeight = std::max(options.screenHeight, 1);
}

void HeadlessDevice::addEvents(const std::vector<ScriptEvent>& events) {
    std::lock_guard lock(m_lock);
    std::vector<ScriptEvent> pending(m_script.begin() + static_cast<long>(m_nextScript), m_script.end());
    pending.insert(pending.end(), events.begin(), events.end());
    std::stable_sort(pending.begin(), pending.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.time < b.time; });
    m_script = std::move(pending);
    m_nextScript = 0;
}

std::vector<std::string> HeadlessDevice::shellCalls() const {
    std::lock_guard lock(m_lock);
    return {m_shellCalls.begin(), m_shellCalls.end()};
}

void HeadlessDevice::clearShellCalls() {
    std::lock_guard lock(m_lock);
    m_shellCalls.clear();
}

void HeadlessDevice::setShellCallObserver(std::function<void(const std::string&)> observer) {
    std::lock_guard lock(m_lock);
    m_observer = std::move(observer);
}

void HeadlessDevice::record(std::string call) {
    std::lock_guard lock(m_lock);
    if (m_observer) m_observer(call);
    if (m_shellCalls.size() == kShellCallLimit) m_shellCalls.pop_front();
    m_shellCalls.push_back(std::move(call));
}

void HeadlessDevice::post(const HostMessage& message) {
    std::lock_guard lock(m_lock);
    m_queue.push_back({false, message, {}});
}

// --- shell ---

bool HeadlessDevice::acquireSingleInstance() {
    record(m_options.anotherInstanceRunning ? "singleInstance taken" : "singleInstance");
    return !m_options.anotherInstanceRunning;
}

bool HeadlessDevice::createWindow(WindowProc& proc) {
    if (m_options.windowCreationFails) {
        record("createWindow failed");
        return false;
    }
    record("createWindow");
    m_window.create(proc);
    return true;
}

void HeadlessDevice::setFullScreen(uint32_t flags) { record("fullScreen " + std::to_string(flags)); }

void HeadlessDevice::claimAllKeys(bool claim) { record(claim ? "allKeys 1" : "allKeys 0"); }

void HeadlessDevice::showWindow(ShowCommand command) {
    if (!m_window.onWindowThread()) {
        m_window.defer([this, command] { showWindow(command); });
        return;
    }
    if (command == ShowCommand::Show) {
        record("show");
        m_window.show();
    } else {
        record("minimize");
        m_window.minimize();
    }
}

void HeadlessDevice::setForeground() {
    if (!m_window.onWindowThread()) {
        m_window.defer([this] { setForeground(); });
        return;
    }
    record("foreground");
    m_window.gainFocus();
}

void HeadlessDevice::resendKey(int32_t virtualKey, bool release) {
    record("keybd " + std::to_string(virtualKey) + (release ? " up" : " down"));
}

bool HeadlessDevice::launchUrl(const std::string& url) {
    if (!Host::isLaunchableUrl(url)) {
        Log::warn("refused to open the link: %s", Host::urlForLog(url).c_str());
        record("launch refused");
        return false;
    }
    record("launch " + url);
    return true;
}

void HeadlessDevice::redrawShell() { record("redrawShell"); }

// --- events ---

void HeadlessDevice::releaseEventsDueBy(int64_t time) {
    std::lock_guard lock(m_lock);
    for (; m_nextScript < m_script.size() && m_script[m_nextScript].time <= time; ++m_nextScript) {
        const ScriptEvent& e = m_script[m_nextScript];
        HostMessage m;
        switch (e.kind) {
            case ScriptEvent::Kind::Power:
                // Unheard while the queue is closed or full, as on the phone.
                if (m_powerQueueOpen && m_power.size() < Power::kQueueCapacity)
                    m_power.push_back({Power::kTransition, static_cast<uint32_t>(e.a)});
                continue;
            case ScriptEvent::Kind::KeyDown: m = {HostMessageKind::KeyDown, e.a, 0, 0}; break;
            case ScriptEvent::Kind::KeyUp: m = {HostMessageKind::KeyUp, e.a, 0, 0}; break;
            case ScriptEvent::Kind::StylusDown: m = {HostMessageKind::StylusDown, 0, Host::makeStylusParam(e.a, e.b), 0}; break;
            case ScriptEvent::Kind::StylusMove: m = {HostMessageKind::StylusMove, 0, Host::makeStylusParam(e.a, e.b), 0}; break;
            case ScriptEvent::Kind::StylusUp: m = {HostMessageKind::StylusUp, 0, Host::makeStylusParam(e.a, e.b), 0}; break;
            case ScriptEvent::Kind::Quit: m = {HostMessageKind::Quit, e.a, 0, 0}; break;
            case ScriptEvent::Kind::FocusLost:
            case ScriptEvent::Kind::FocusGained:
            case ScriptEvent::Kind::Orientation:
                m_queue.push_back({true, {}, e});
                continue;
        }
        m_queue.push_back({false, m, {}});
    }
}

void HeadlessDevice::act(const ScriptEvent& event) {
    switch (event.kind) {
        case ScriptEvent::Kind::FocusLost: m_window.loseFocus(); break;
        case ScriptEvent::Kind::FocusGained: m_window.gainFocus(); break;
        case ScriptEvent::Kind::Orientation: {
            std::lock_guard lock(m_lock);
            if (m_orientation != event.a) {
                m_orientation = event.a;
                m_queue.push_back({false, {HostMessageKind::SettingChange, 0, 0, 0}, {}});
            }
            break;
        }
        default: break;
    }
}

bool HeadlessDevice::peekMessage(HostMessage& out) {
    m_wave.catchUp();
    m_window.runDeferred();
    releaseEventsDueBy(m_clock.monotonicMillis());
    for (;;) {
        QueueEntry entry;
        {
            std::lock_guard lock(m_lock);
            if (m_queue.empty()) return false;
            entry = m_queue.front();
            m_queue.pop_front();
        }
        if (!entry.isAction) {
            out = entry.message;
            return true;
        }
        act(entry.action);
    }
}

void HeadlessDevice::postQuit(int32_t exitCode) { post({HostMessageKind::Quit, exitCode, 0, 0}); }

// --- orientation and power ---

int32_t HeadlessDevice::displayOrientation() const {
    std::lock_guard lock(m_lock);
    return m_orientation;
}

bool HeadlessDevice::setDisplayOrientation(int32_t orientation) {
    record("orientation " + std::to_string(orientation));
    std::lock_guard lock(m_lock);
    if (m_orientation != orientation) {
        m_orientation = orientation;
        m_queue.push_back({false, {HostMessageKind::SettingChange, 0, 0, 0}, {}});
    }
    return true;
}

bool HeadlessDevice::openPowerQueue() {
    record("powerQueue open");
    std::lock_guard lock(m_lock);
    m_powerQueueOpen = true;
    return true;
}

void HeadlessDevice::closePowerQueue() {
    record("powerQueue close");
    std::lock_guard lock(m_lock);
    m_powerQueueOpen = false;
    m_power.clear();
}

bool HeadlessDevice::readPowerNotification(PowerNotification& out) {
    releaseEventsDueBy(m_clock.monotonicMillis());
    std::lock_guard lock(m_lock);
    if (m_power.empty()) return false;
    out = m_power.front();
    m_power.pop_front();
    return true;
}

// --- volume ---

uint32_t HeadlessDevice::waveVolume() const {
    std::lock_guard lock(m_lock);
    return m_volume;
}

void HeadlessDevice::setWaveVolume(uint32_t volume) {
    char text[32];
    std::snprintf(text, sizeof text, "volume 0x%08X", volume);
    record(text);
    std::lock_guard lock(m_lock);
    m_volume = volume;
}

// --- screen ---

ConstSurface565 HeadlessDevice::screenView() const {
    return {m_screen.data(), m_options.screenWidth, m_options.screenHeight, m_options.screenWidth};
}

bool HeadlessDevice::drawScreen(const std::function<void(Surface565&)>& draw) {
    if (!m_window.created()) return false;
    std::lock_guard lock(m_screenLock);
    Surface565 surface{m_screen.data(), m_options.screenWidth, m_options.screenHeight, m_options.screenWidth};
    draw(surface);
    ++m_frames;
    if (!m_captureFolder.empty()) {
        char name[32];
        std::snprintf(name, sizeof name, "/frame_%06lld.png", static_cast<long long>(m_frames));
        (void)writePng565(m_captureFolder + name, screenView());
    }
    return true;
}

int64_t HeadlessDevice::frameCount() const {
    std::lock_guard lock(m_screenLock);
    return m_frames;
}

std::vector<uint16_t> HeadlessDevice::screenPixels() const {
    std::lock_guard lock(m_screenLock);
    return m_screen;
}

bool HeadlessDevice::captureScreen(const std::string& path) const {
    std::lock_guard lock(m_screenLock);
    return writePng565(path, screenView());
}

void HeadlessDevice::setFrameCaptureFolder(std::string folder) {
    std::lock_guard lock(m_screenLock);
    m_captureFolder = std::move(folder);
}
