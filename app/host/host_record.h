// The host shell's record of one run, shared by the window procedure's parts (focus and settings
// in host_shell.cpp, keys and stylus in host_input_messages.cpp). Main thread only.
// Invariant: application is null until start-up has finished and after shutdown.
#pragma once

#include <cstdint>

#include "platform/device/device.h"
#include "runtime/log.h"

class Application;

struct HostRecord {
    Device* device = nullptr;
    int32_t wantedOrientation = Orientation::k0;  // the game's; nothing changes it
    bool stylusScaling = false;                   // stylus points pass unscaled
    bool smoothStretch = false;                   // the back end keeps its fast stretch
    bool claimAllKeys = true;                     // the window claims every key while focused
    bool recheckOrientation = true;               // the host loop checks the orientation while active
    bool ignoreNextStylus = false;                // set on focus loss, cleared by the next stylus-up
    bool logging = false;                         // standard output goes to the log file
    Application* application = nullptr;
    bool windowCreated = false;
    int32_t startOrientation = Orientation::k0;   // found at Create; restored on focus loss and at clean-up
    bool activated = false;
    bool cleanedUp = false;
    bool orientationForced = false;
    bool powerQueueOpen = false;
    int32_t imeKey = 0;                           // of the key message being handled
    float stylusScaleX = 1.0f;
    float stylusScaleY = 1.0f;
    int quitCode = 0;
    // The log file: standard output's descriptor saved while it points at log.txt.
    int savedStdout = -1;
    Log::Sink savedSink;
};

[[nodiscard]] HostRecord& hostRecord();

// The key and stylus messages (the window procedure's input part).
void hostKeyDown(const HostMessage& message);
void hostKeyUp(const HostMessage& message);
void hostStylus(const HostMessage& message);
