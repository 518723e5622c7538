// cGame's ARGB pixel effects and the game-core statics they and the ARGB buffer operations share
// (the game's cGame names them as its own, like cGamePacks' statics).
#pragma once

#include "runtime/jtypes.h"

class IntArray;
class javax_microedition_lcdui_Graphics;

struct cGameEffects {
    // Pixels n - 1 .. 0 of src into dst: alpha < 0 greys (factor < 1) or blends green and blue
    // towards red by factor / 256, keeping alpha; factor >= 255 writes nothing and answers src.
    // alpha >= 0 (capped at 255) gives grey from red with that alpha (scaleAlpha: the pixel's alpha
    // scaled by it; colourKey: pixels with full red and blue become 0) and sets the effect-applied
    // flag. Answers the array holding the result. An n past either array raises
    // ArrayIndexOutOfBoundsException and writes nothing.
    static IntArray* applyPixelEffect(IntArray* src, IntArray* dst, jint n, jint factor, jint alpha, bool colourKey,
                                      bool scaleAlpha);
    // Colours kept, alpha := alpha clamped to 0..255 (scaleAlpha: scaled by it; colourKey: exactly
    // 0xFF00FF becomes 0); sets the effect-applied flag. Answers dst.
    static IntArray* applyColorEffect(IntArray* src, IntArray* dst, jint n, jint alpha, bool colourKey,
                                      bool scaleAlpha);

    // The result processAlpha byte of the sprite effect blitters, also the effect-applied flag.
    static jbyte s_effectResultAlpha;
    // The Graphics the frame is painted on; null until the first paint.
    static javax_microedition_lcdui_Graphics* s_graphics;
};
