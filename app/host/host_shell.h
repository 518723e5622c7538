// The host shell: the program's entry on a device (WinMain), its window procedure, the message
// pump, power and orientation handling, the please-wait screen, the log file and the clean-up.
// Invariant: everything here runs on the main (window) thread; the host record is reset by each
// WinMain/startHost and the window procedure reaches the MIDlet only once start-up has finished.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "app/startup_order.h"
#include "platform/device/host_message.h"
#include "runtime/static_class.h"

class Device;

struct HostOptions {
    bool logging = false;              // standard output (and the log) to logFolder/log.txt
    std::filesystem::path logFolder;   // the home folder
    int64_t frames = -1;               // host-loop passes before the run ends; negative: no limit
    uintptr_t stackBase = 0;           // the main thread's stack base, taken in main() (0: whole stack)
    StartupOrder startupOrder = kStartupOrder;  // the static initialisers' order
};

// The whole run on device: single instance, window, back end, runtime, host loop, clean-up.
// 0 after a normal end (or when another instance runs), the quit's exit code after a quit, -1 when
// the window, back end or runtime cannot start.
int WinMain(Device& device, const HostOptions& options);
// Creates the window (which sends Create) and shows it (activation and focus). False without one.
[[nodiscard]] bool InitInstance(Device& device);
int32_t WndProc(const HostMessage& message);

namespace Host {

// WinMain's steps up to the host loop: 1 when the loop may run (a quit among the start-up's
// messages has ended the run already; the loop then ends at once), 0 when another instance runs
// (nothing started), -1 on failure (cleaned up). Tests drive the pieces from here.
[[nodiscard]] int startHost(Device& device, const HostOptions& options);
// The exit code the last quit asked for (0 without one).
[[nodiscard]] int quitCode();

// Drains the window's messages; a quit shuts the run down and cleans up.
void pumpMessages();
void processPowerQueue();
void startPowerNotifications();
void stopPowerNotifications();
[[nodiscard]] int32_t getDisplayOrientation();
void setDisplayOrientation(int32_t orientation);
// True when the display has the wanted orientation (resuming a paused application); else pauses
// it, suppresses painting, shows the please-wait screen and turns the display back.
bool checkOrientation();
// System message 6, red on black, centred across with its top at half the screen's height.
void paintPleaseWait();
// Once per run: power queue, shutdown, start orientation, log file, the shell redrawn.
void cleanup();
[[nodiscard]] bool isPocketPC();
[[nodiscard]] bool isForegroundWindow();
// Opens url in the browser when it is a plain http(s) link; a refused one is logged, false.
[[nodiscard]] bool launchBrowser(std::u16string_view url);
// Standard output (and the log) to path; false when it cannot be opened (output unchanged).
[[nodiscard]] bool reopenLog(const std::filesystem::path& path);
void closeLog();

}  // namespace Host
