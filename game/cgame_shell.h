// cGame's shell and the frame loop: the game object, the display, the run flag, the paint guard and the
// frame timing.
// cGame derives from cGameShell, so `cGame::s_x` names them; the code that uses them is cGame's.
#pragma once

#include "runtime/jtypes.h"

class cGame;
class javax_microedition_lcdui_Display;
class javax_microedition_lcdui_Graphics;

struct cGameShell {
    // Every static below back to its start value.
    static void resetStatics();
    static cGame* s_game;
    static cGame* s_canvas;
    static jint s_runFlag;        // -1 not started or stopping, 0 running
    static jbyte s_inPaint;       // the paint guard
    static javax_microedition_lcdui_Graphics* s_paintGraphics;
    static javax_microedition_lcdui_Graphics* s_frameGraphics;
    static jint s_frameTime;      // ms, 0..1000 (50 on the fixed step)
    static jlong s_lastTick;
    static jlong s_now;
    static jint s_totalFrameTime;
    static jint s_frameCounter;
    static jint s_averageFps;     // hundredths
    static jint s_speedFactor;    // 8.8 fraction of a second
    static jbyte s_fullRedraw;
    static jint s_screenWidth;
    static jint s_screenHeight;
    static jint s_musicId;        // the last music asked for, -1 none
    static jbyte s_musicLoop;
};
