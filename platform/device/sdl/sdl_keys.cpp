// SDL key codes to phone virtual keys; see sdl_keys.h.
// Invariant: the result is a Windows virtual key code or 0.
#include "platform/device/sdl/sdl_keys.h"

#include <SDL.h>

int32_t virtualKeyFromSdl(int32_t key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return key;
    if (key >= SDLK_F1 && key <= SDLK_F12) return 112 + (key - SDLK_F1);
    switch (key) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return 13;
        case SDLK_LEFT: return 37;
        case SDLK_UP: return 38;
        case SDLK_RIGHT: return 39;
        case SDLK_DOWN: return 40;
        case SDLK_ESCAPE: return 27;
        case SDLK_HOME: return 36;
        case SDLK_LGUI: return 91;
        case SDLK_RGUI: return 92;
        default: return 0;
    }
}
