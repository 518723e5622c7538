// The stand-in for the game's MIDlet (class id 127) and canvas in the host tests: they log every
// call they get, the canvas paints its frame counter as bars, and the MIDlet can run a game
// thread that repaints a given number of frames and then ends the program. The log is shared by
// the host thread and the game thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace TestMIDletLog {
void add(std::string line);
[[nodiscard]] std::vector<std::string> take();
// Clears the log and the game settings below.
void reset();
// The game thread the MIDlet's first startApp starts: `frames` repaints `sleepMillis` apart, then
// notifyDestroyed. 0 frames: no game thread.
void setGameThread(int frames, int64_t sleepMillis);
// Frames the canvas has painted since the last reset.
[[nodiscard]] int paints();
// Each frame of the game thread: the device time it began at and the key presses seen by then.
struct FrameSeen {
    int64_t time;
    int keysPressed;
};
[[nodiscard]] std::vector<FrameSeen> framesSeen();
}  // namespace TestMIDletLog

// Bars of the canvas: counter bar i covers x in [10 + 20 i, 20 + 20 i), y in [10, 110), white on
// black.
inline constexpr int kBarTop = 10;
inline constexpr int kBarHeight = 100;
[[nodiscard]] inline int barLeft(int i) { return 10 + 20 * i; }
// Repaints the current Displayable `frames` times from a game thread (a started Thread) and waits
// for it, each repaint counting one more frame.
void runGameFrames(int frames);
