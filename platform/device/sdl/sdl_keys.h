// The desktop keyboard as the phone's keys: SDL key codes to the virtual keys the phone sent.
// Invariant: 0 means the key has no phone counterpart and is not delivered.
#pragma once

#include <cstdint>

// Letters and digits as themselves, Enter, arrows, F1..F12 (soft keys F1/F2, '*' F8, '#' F9,
// volume F6/F7), Esc, Home and the Windows keys.
[[nodiscard]] int32_t virtualKeyFromSdl(int32_t sdlKeycode);
