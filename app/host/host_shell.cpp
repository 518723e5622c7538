// The host shell on the device seam: WinMain, the window procedure's window, focus and settings
// messages, the pump, power, orientation, the please-wait screen, the log file and the clean-up.
// Invariant: focus gain and loss run their steps in the phone's order; each reaches the MIDlet only
// through the Application, which drops what application code leaves pending.
#include "app/host/host_shell.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <new>
#include <string>

#include "app/host/application_impl.h"
#include "app/host/host_record.h"
#include "classlib/application.h"
#include "platform/device/device.h"
#include "platform/graphics/surface.h"
#include "platform/graphics/system_font.h"
#include "platform/device/system_messages.h"
#include "platform/device/url_policy.h"
#include "runtime/clock.h"
#include "runtime/heaps.h"
#include "runtime/log.h"

namespace {

HostRecord g_host;

Device& device() { return *g_host.device; }

class HostWindow final : public WindowProc {
public:
    int32_t windowProc(const HostMessage& message) override { return WndProc(message); }
};
HostWindow g_window;

void onSetFocus() {
    HostRecord& h = g_host;
    device().setForeground();
    device().setFullScreen(FullScreen::kHideAll);
    device().setFullScreen(FullScreen::kHideAll);
    device().showWindow(ShowCommand::Show);
    if (h.claimAllKeys) device().claimAllKeys(true);
    if (Host::getDisplayOrientation() != h.wantedOrientation) Host::setDisplayOrientation(h.wantedOrientation);
    if (h.application) h.application->startAndShow();
    h.stylusScaleX = 480.0f / static_cast<float>(device().screenWidth());
    h.stylusScaleY = 800.0f / static_cast<float>(device().screenHeight());
    Host::startPowerNotifications();
}

void onKillFocus() {
    HostRecord& h = g_host;
    Host::stopPowerNotifications();
    if (h.application) h.application->pauseAndHide();
    if (h.claimAllKeys) device().claimAllKeys(false);
    h.ignoreNextStylus = true;
    Host::setDisplayOrientation(h.startOrientation);
    device().setFullScreen(FullScreen::kShowAll);
    device().showWindow(ShowCommand::Minimize);
}

void onSettingChange() {
    HostRecord& h = g_host;
    if (!h.activated) return;
    const int32_t current = Host::getDisplayOrientation();
    if (h.orientationForced) {
        h.orientationForced = false;
        h.startOrientation = current;
    }
    if (current != h.wantedOrientation) {
        Host::setDisplayOrientation(h.wantedOrientation);
        h.orientationForced = true;
    }
}

// The first lines of the log file: the host writes them to standard output, which it redirected.
// A warning or error the log file cannot take (a full disk) still reaches the player on stderr.
void writeToStdout(LogLevel level, const std::string& text) {
    const bool newline = text.empty() || text.back() != '\n';
    bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (newline) written = std::fputc('\n', stdout) != EOF && written;
    written = std::fflush(stdout) == 0 && written;
    if (written) return;
    std::clearerr(stdout);
    if (level < LogLevel::Warn) return;
    std::fprintf(stderr, "brindlex (the log file cannot be written): %s%s", text.c_str(), newline ? "\n" : "");
    std::fflush(stderr);
}

}  // namespace

HostRecord& hostRecord() { return g_host; }

int32_t WndProc(const HostMessage& m) {
    HostRecord& h = g_host;
    switch (m.kind) {
        case HostMessageKind::Create:
            h.windowCreated = true;
            h.startOrientation = Host::getDisplayOrientation();
            return 0;
        case HostMessageKind::Destroy:
        case HostMessageKind::Close:
            device().postQuit(0);
            return 0;
        case HostMessageKind::Activate:
            h.activated = m.wParam != 0;
            ApplicationImpl::getInstance()->setActive(h.activated);
            return 0;
        case HostMessageKind::SetFocus: onSetFocus(); return 0;
        case HostMessageKind::KillFocus: onKillFocus(); return 0;
        case HostMessageKind::SettingChange: onSettingChange(); return 0;
        case HostMessageKind::StylusDown:
        case HostMessageKind::StylusUp:
        case HostMessageKind::StylusMove: hostStylus(m); return 0;
        case HostMessageKind::KeyDown: hostKeyDown(m); return 0;
        case HostMessageKind::KeyUp: hostKeyUp(m); return 0;
        case HostMessageKind::Quit: return 0;  // never dispatched
    }
    return 0;
}

bool InitInstance(Device& dev) {
    if (!dev.createWindow(g_window)) return false;
    dev.setForeground();
    dev.setFullScreen(FullScreen::kHideAll);
    dev.showWindow(ShowCommand::Show);
    return true;
}

namespace Host {

int startHost(Device& dev, const HostOptions& options) {
    g_host = HostRecord{};
    g_host.device = &dev;
    g_host.logging = options.logging;
    ApplicationImpl* impl = ApplicationImpl::getInstance();
    impl->begin(dev);
    impl->setPassLimit(options.frames);
    Runtime::setClock(&dev.clock());

    if (!dev.acquireSingleInstance()) {
        // The other instance has been asked to come to the front. Its log file stays as it is.
        Log::warn("brindlex: Brindlex is already open; its window was brought to the front");
        Runtime::setClock(nullptr);
        g_host.device = nullptr;
        return 0;
    }
    if (g_host.logging) (void)reopenLog(options.logFolder / "log.txt");
    // An exhausted operator new says so on standard output before it throws.
    std::set_new_handler(&Runtime::newHandler);
    if (!InitInstance(dev)) {
        closeLog();
        Runtime::setClock(nullptr);
        g_host.device = nullptr;
        return -1;
    }
    if (!impl->openDisplay(u"GDI")) {
        cleanup();
        return -1;
    }
    if (g_host.smoothStretch) impl->display()->setSmoothStretch();
    selectSystemMessages(dev.uiLanguage() & 0x3FF);
    if (!impl->init(options.stackBase, options.startupOrder)) {
        cleanup();
        return -1;
    }
    g_host.application = impl->getApplication();
    // Messages that came during start-up; a quit among them ends the run here, and the shell
    // stays as the clean-up left it.
    pumpMessages();
    if (g_host.cleanedUp) return 1;
    dev.setForeground();
    dev.setFullScreen(FullScreen::kHideAll);
    return 1;
}

int quitCode() { return g_host.quitCode; }

void pumpMessages() {
    HostMessage m;
    while (g_host.device && device().peekMessage(m)) {
        if (m.kind == HostMessageKind::Quit) {
            ApplicationImpl* impl = ApplicationImpl::getInstance();
            impl->setRunning(false);
            g_host.quitCode = m.wParam;
            impl->shutdown();
            cleanup();
            return;
        }
        const bool key = m.kind == HostMessageKind::KeyDown || m.kind == HostMessageKind::KeyUp;
        g_host.imeKey = key ? m.imeKey : 0;
        (void)WndProc(m);
    }
}

void startPowerNotifications() {
    if (g_host.powerQueueOpen) return;
    g_host.powerQueueOpen = device().openPowerQueue();
}

void stopPowerNotifications() {
    if (!g_host.powerQueueOpen) return;
    device().closePowerQueue();
    g_host.powerQueueOpen = false;
}

void processPowerQueue() {
    if (!g_host.powerQueueOpen) return;
    PowerNotification n;
    while (device().readPowerNotification(n)) {
        if (n.message != Power::kTransition) continue;
        Application* app = g_host.application;
        if (n.flags & Power::kOn) {
            if (app && app->isPaused()) app->resume();
        } else if (n.flags & (Power::kIdle | Power::kSuspend | Power::kUnattended)) {
            if (app && !app->isPaused()) app->pause();
        }
    }
}

int32_t getDisplayOrientation() { return device().displayOrientation(); }

void setDisplayOrientation(int32_t orientation) { (void)device().setDisplayOrientation(orientation); }

bool checkOrientation() {
    Application* app = g_host.application;
    if (getDisplayOrientation() == g_host.wantedOrientation) {
        if (app && app->isPaused()) app->resume();
        return true;
    }
    if (app && !app->isPaused()) app->pause();
    ApplicationImpl::getInstance()->setRepaintSuppressed(true);
    paintPleaseWait();
    setDisplayOrientation(g_host.wantedOrientation);
    return false;
}

void paintPleaseWait() {
    const std::u16string_view text = getSystemMessage(SystemMessage::kPleaseWait);
    (void)device().drawScreen([text](Surface565& screen) {
        screen.fill(0);
        const int x = (screen.width - SystemFont::textWidth(text)) / 2;
        SystemFont::drawText(screen, x, screen.height / 2, text, rgb565(255, 0, 0));
    });
}

void cleanup() {
    HostRecord& h = g_host;
    if (h.cleanedUp || !h.device) return;
    stopPowerNotifications();
    ApplicationImpl::getInstance()->shutdown();
    h.application = nullptr;
    if (h.windowCreated) setDisplayOrientation(h.startOrientation);
    closeLog();
    if (h.windowCreated) device().redrawShell();
    Runtime::setClock(nullptr);
    h.cleanedUp = true;
}

bool isPocketPC() { return g_host.device && device().platformType() == u"PocketPC"; }

bool isForegroundWindow() { return g_host.device && device().isForeground(); }

bool launchBrowser(std::u16string_view url) {
    // Only printable ASCII can pass the check; anything wider is kept visibly wrong.
    std::string narrow;
    narrow.reserve(url.size());
    for (char16_t c : url) narrow.push_back(c < 0x80 ? static_cast<char>(c) : '\x7F');
    if (!isLaunchableUrl(narrow)) {
        Log::warn("launchBrowser: refused the link %s", urlForLog(narrow).c_str());
        return false;
    }
    return g_host.device && device().launchUrl(narrow);
}

bool reopenLog(const std::filesystem::path& path) {
    closeLog();
    std::fflush(stdout);
    // The previous run's log is kept beside it (a crash's evidence), and a link planted at the log's
    // name is moved aside, never followed.
    std::filesystem::path old = path;
    old.replace_filename(path.stem().string() + ".old" + path.extension().string());
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) (void)std::rename(path.c_str(), old.c_str());
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (file < 0) {
        Log::error("cannot open the log file %s", path.c_str());
        return false;
    }
    g_host.savedStdout = ::dup(STDOUT_FILENO);
    if (g_host.savedStdout < 0) {
        ::close(file);
        return false;
    }
    ::dup2(file, STDOUT_FILENO);
    ::close(file);
    g_host.savedSink = Log::setSink(&writeToStdout);
    return true;
}

void closeLog() {
    if (g_host.savedStdout < 0) return;
    std::fflush(stdout);
    (void)Log::setSink(std::move(g_host.savedSink));
    ::dup2(g_host.savedStdout, STDOUT_FILENO);
    ::close(g_host.savedStdout);
    g_host.savedStdout = -1;
}

}  // namespace Host

int WinMain(Device& dev, const HostOptions& options) {
    const int started = Host::startHost(dev, options);
    if (started <= 0) return started;
    ApplicationImpl::getInstance()->run();
    Host::cleanup();
    return Host::quitCode();
}
