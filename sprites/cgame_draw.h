// cGame's drawing statics and the operations the sprite road calls in the game core: the current
// Graphics, the draw-effect mask and parameter table, the effect results, the colour tile, and the
// RGB blitters with effects. The game sits above sprites/, so they live in cGameDraw, which cGame
// derives from (`cGame::hasDrawEffect` names them). Main thread only; the shared buffers hold one
// result at a time, so a returned array is drawn before the next sprite call.
#pragma once

#include "runtime/jtypes.h"

class IntArray;
class ObjectArray;
class javax_microedition_lcdui_Graphics;
class javax_microedition_lcdui_Image;

struct cGameDraw {
    // Every static of this class back to its start value.
    static void resetStatics();
    // Draw-effect numbers the sprite road honours, and the mask of those that touch pixels.
    static constexpr jint kEffectAdditive = 5, kEffectLighten = 6, kEffectGreyFromRed = 7, kEffectHighlight = 8,
                          kEffectAlpha = 10, kEffectScale = 11;
    static constexpr jint kPixelEffectsMask = 0xDE0;
    static constexpr jint kEffectCount = 12;   // parameter arrays 0..11
    static constexpr jint kEffectParamLength = 15;

    // Effect n on (n 0..31); with the effects-enabled byte 0 the bits of 0x27F go again. Bits 0..4
    // are remembered in s_usedFrameEffects. With setUp, effect n's parameters get their defaults.
    static void setDrawEffect(jint n, bool setUp);
    [[nodiscard]] static bool hasDrawEffect(jint n);
    // Writes effect n's default parameters into its array (nothing for other effects).
    static void setDrawEffectParams(jint n);
    // The parameter table: an int[kEffectParamLength] per effect, each with its defaults. Made at
    // start-up (the game never made it, yet the animation player writes into it).
    static void createDrawEffectParams();
    // Parameter i of effect n; `fallback` when the table or entry is missing.
    [[nodiscard]] static jint drawEffectParam(jint n, jint i, jint fallback);
    static void setDrawEffectParam(jint n, jint i, jint value);

    // The colour tile (16 x 16) shows argb; rebuilt only when the colour changes.
    static void getColorTile(jint argb);
    // The rectangle cut to the current Graphics' clip, tiled with the colour tile; the clip restored.
    static void fillRectWithTile(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h);
    // A w x h outline of four anti-aliased lines of alpha argb >> 24.
    static void drawRectOutline(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h, jint argb);
    // A two-pixel-wide line whose alpha runs from alpha1 to alpha2; the far end is not drawn.
    static void drawLineARGB(javax_microedition_lcdui_Graphics* g, jint x1, jint y1, jint x2, jint y2, jint rgb,
                             jint alpha1, jint alpha2);

    // drawRGB at (x, y) of the untranslated coordinate system.
    static void drawRGBUntranslated(javax_microedition_lcdui_Graphics* g, IntArray* pixels, jint offset,
                                    jint scanlength, jint x, jint y, jint w, jint h, bool processAlpha);
    // Flags 0 draws the pixels as they are; other sprite flags turn and mirror them first (flag 4
    // exchanges w and h).
    static void drawRGBTransformed(javax_microedition_lcdui_Graphics* g, IntArray* pixels, jint offset,
                                   jint scanlength, jint x, jint y, jint w, jint h, bool processAlpha,
                                   bool ignored, jint flags);
    // The pixels the caller is to draw (already transformed; the sizes and alpha flag in the
    // result statics), or null when this drew by itself or there is nothing to draw.
    [[nodiscard]] static IntArray* drawRGBWithEffects(javax_microedition_lcdui_Graphics* g, IntArray* pixels, jint x,
                                                      jint y, jint w, jint h, jint flags, bool processAlpha,
                                                      bool partialAlpha);
    [[nodiscard]] static IntArray* drawImageWithEffects(javax_microedition_lcdui_Graphics* g,
                                                        javax_microedition_lcdui_Image* image, jint x, jint y, jint w,
                                                        jint h, jint flags, bool processAlpha, bool partialAlpha);
    // Alpha-only effect over pixels 0..n-1: colours kept, alpha := alpha (0..255), or scaled by it.
    [[nodiscard]] static IntArray* applyColorEffect(IntArray* src, IntArray* dst, jint n, jint alpha, bool colourKey,
                                                    bool scaleAlpha);
    // Grey-from-red effect over pixels 0..n-1 (factor blends back towards the colour; alpha >= 0
    // gives the pixels that alpha).
    [[nodiscard]] static IntArray* applyPixelEffect(IntArray* src, IntArray* dst, jint n, jint factor, jint alpha,
                                                    bool colourKey, bool scaleAlpha);
    // Composes the source block into dst as seen on screen at (x, y), cut to g's clip: additive
    // and/or lighten over the frame read back; returns dst (src when nothing is visible).
    [[nodiscard]] static IntArray* transformRGBClipped(javax_microedition_lcdui_Graphics* g, IntArray* src,
                                                       IntArray* dst, jint x, jint y, jint w, jint h, jint flags,
                                                       bool additive, bool lighten, bool readBack);

    static javax_microedition_lcdui_Graphics* s_g;   // the game's current Graphics
    static jint s_drawEffects;                       // bit n: effect n on
    static jint s_usedFrameEffects;                  // bits 0..4 ever switched on
    static ObjectArray* s_drawEffectParams;          // per effect: int[]
    static jbyte s_effectsEnabled;                   // non-zero: pixel effects may run
    static jbyte s_effectsSupported;                 // the frame can be read back
    static javax_microedition_lcdui_Image* s_frameImage;   // the off-screen frame, for read-back
    static jbyte s_resultProcessAlpha;
    static jint s_resultWidth;
    static jint s_resultHeight;
    static javax_microedition_lcdui_Image* s_colorTile;
    static jint s_colorTileColor;
};
