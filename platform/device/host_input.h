// The pure pieces of the host's key and stylus handling: the phone's virtual-key table, the key
// classes the shell keeps for itself, and the stylus parameter packing. Invariant: stylus halves
// are signed 16-bit, so a point left of or above the window arrives negative.
#pragma once

#include <cstdint>

namespace Host {

inline constexpr int32_t kUnmappedKey = -999;
inline constexpr int32_t kVolumeUpKey = 117;    // VK_F6
inline constexpr int32_t kVolumeDownKey = 118;  // VK_F7
inline constexpr int32_t kProcessKey = 229;     // VK_PROCESSKEY: the input method holds the real key

// Virtual key to the key code the game receives (Enter, arrows and digits: kUnmappedKey).
[[nodiscard]] int32_t mapVirtualKey(int32_t virtualKey);
// The keys handed back to the shell while all keys are claimed: Windows keys, F4, Esc, Home, F3.
[[nodiscard]] bool isSystemKey(int32_t code);
// wParam of a key message to the virtual key (the input method's key for VK_PROCESSKEY).
[[nodiscard]] int32_t virtualKeyOf(int32_t wParam, int32_t imeKey);

// lParam of a stylus message: x in the low half, y in the high half, each clamped to 16 bits.
[[nodiscard]] int32_t makeStylusParam(int32_t x, int32_t y);
[[nodiscard]] int32_t stylusX(int32_t lParam);
[[nodiscard]] int32_t stylusY(int32_t lParam);
// x := floor(x * scaleX + 0.5) unless scaleX is exactly 1 (product in float, rounding in double);
// y likewise.
void scaleStylusPoint(int32_t& x, int32_t& y, float scaleX, float scaleY);

}  // namespace Host
