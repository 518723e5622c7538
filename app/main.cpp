// brindlex: the program entry. Reads the flags, chooses the device (a window when there is a
// display, else the headless device, saying so) and hands over to the host shell.
// Invariant: a bad flag or value ends the program with the usage line and exit code 2, before
// anything starts.
#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/host/application_impl.h"
#include "app/host/data_file_check.h"
#include "app/host/host_shell.h"
#include "game/cgame.h"
#include "runtime/log.h"
#include "platform/device/headless/event_script.h"
#include "platform/device/headless/headless_device.h"
#include "platform/device/sdl/sdl_device.h"
#include "platform/device/single_instance.h"
#include "platform/file_paths.h"

namespace {

// Exit codes: 2 a bad flag, value or script; 3 a data file that cannot be used; 4 another run
// already uses the home folder.
constexpr int kUnusableDataExit = 3;
constexpr int kHomeInUseExit = 4;

constexpr char kUsage[] =
    "usage: brindlex [--headless] [--frames N] [--script FILE] [--screenshot FILE.png] [--data FILE]\n"
    "                [--home DIR] [--log] [--help]\n";
// Without --frames a headless run ends after 3 s of device time: nobody watches it.
constexpr int64_t kHeadlessFrames = 300;

struct Flags {
    bool headless = false;
    int64_t frames = -1;
    std::string script;
    std::string screenshot;
    bool log = false;
};

int usageError(const char* what, const char* value) {
    std::fprintf(stderr, "brindlex: %s%s%s\n%s", what, value ? ": " : "", value ? value : "", kUsage);
    return 2;
}

// 0 when parsed, else the exit code.
int parseFlags(int argc, char** argv, Flags& flags) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view flag = argv[i];
        if (flag == "--help" || flag == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        }
        if (flag == "--headless") {
            flags.headless = true;
            continue;
        }
        if (flag == "--log") {
            flags.log = true;
            continue;
        }
        const bool takesValue = flag == "--frames" || flag == "--script" || flag == "--screenshot" ||
                                flag == "--data" || flag == "--home";
        if (!takesValue) return usageError("unknown flag", argv[i]);
        if (i + 1 >= argc || argv[i + 1][0] == '\0') return usageError("a value is missing after", argv[i]);
        const char* value = argv[++i];
        if (flag == "--frames") {
            const std::string_view text = value;
            int64_t n = 0;
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
            if (ec != std::errc() || end != text.data() + text.size() || n < 1)
                return usageError("--frames wants a whole number of at least 1, not", value);
            flags.frames = n;
        } else if (flag == "--script") {
            flags.script = value;
        } else if (flag == "--screenshot") {
            flags.screenshot = value;
        } else if (flag == "--data") {
            platform::setDataFile(value);
        } else {
            platform::setHomeFolder(value);
        }
    }
    return 0;
}

bool displayNamed() {
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char** argv) {
    // The main thread's collector scan starts here: nothing above holds a reference.
    const auto stackBase = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
    Flags flags;
    if (const int rc = parseFlags(argc, argv, flags)) return rc;

    std::vector<ScriptEvent> script;
    if (!flags.script.empty()) {
        std::string error;
        if (!loadEventScript(flags.script, script, error)) {
            const std::string what = flags.script + ": " + error;
            return usageError("bad script", what.c_str());
        }
        if (!flags.headless) std::fputs("brindlex: a script runs on the headless device\n", stderr);
        flags.headless = true;
    }

    // Without its data the program cannot run: say which file and why, before any window opens.
    if (std::string why; !checkDataFile(platform::dataFile(), why)) {
        std::fprintf(stderr, "brindlex: cannot use the data file %s: %s\n", platform::dataFile().c_str(), why.c_str());
        return kUnusableDataExit;
    }

    // One run per home folder, windowed or headless: two would write over each other's saves and log.
    std::error_code homeError;
    std::filesystem::create_directories(platform::homeFolder(), homeError);
    SingleInstanceLock homeLock((platform::homeFolder() / ".brindlex.lock").string(), SingleInstanceLock::Raise::None);
    if (!homeLock.acquire()) {
        std::fprintf(stderr, "brindlex: another run is using the home folder %s\n", platform::homeFolder().c_str());
        return kHomeInUseExit;
    }
    if (::access(platform::homeFolder().c_str(), W_OK) != 0) {
        std::fprintf(stderr, "brindlex: the home folder %s cannot be written: progress will not be kept\n",
                     platform::homeFolder().c_str());
    }

    std::unique_ptr<Device> device;
    SdlDevice* window = nullptr;
    HeadlessDevice* headless = nullptr;
    if (!flags.headless) {
        std::string error = "DISPLAY and WAYLAND_DISPLAY are unset";
        std::unique_ptr<SdlDevice> sdl = displayNamed() ? SdlDevice::open(error) : nullptr;
        if (sdl) {
            window = sdl.get();
            device = std::move(sdl);
        } else {
            std::fprintf(stderr, "brindlex: no display (%s): running headless\n", error.c_str());
        }
    }
    if (!device) {
        auto fallback = std::make_unique<HeadlessDevice>();
        fallback->addEvents(script);
        headless = fallback.get();
        device = std::move(fallback);
        if (flags.frames < 0) flags.frames = kHeadlessFrames;
    }

    HostOptions options;
    options.logging = flags.log;
    options.logFolder = platform::homeFolder();
    options.frames = flags.frames;
    options.stackBase = stackBase;
    if (flags.log) {
        // The run's log follows the game: its state changes are information lines.
        Log::setLevel(LogLevel::Info);
        std::error_code ec;
        std::filesystem::create_directories(options.logFolder, ec);
    }
    int rc = WinMain(*device, options);
    if (rc < 0) rc = 1;

    if (!flags.screenshot.empty()) {
        const bool saved = headless ? headless->captureScreen(flags.screenshot) : window->captureScreen(flags.screenshot);
        if (!saved) {
            std::fprintf(stderr, "brindlex: cannot write the screenshot %s\n", flags.screenshot.c_str());
            if (rc == 0) rc = 1;
        }
    }
    // Threads the shutdown left stopped must not see the process's statics go away.
    if (ApplicationImpl::getInstance()->threadsLeftStopped() > 0) {
        std::fflush(nullptr);
        std::_Exit(rc);
    }
    // The closed run's heaps are gone: no game static may keep pointing into them.
    cGame::resetAllStatics();
    return rc;
}
