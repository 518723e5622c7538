// cGame's text drawing: the level title's animation.
// cGame derives from cGameText, so `cGame::s_x` names them; the code that uses them is cGame's.
#pragma once

#include "runtime/jtypes.h"

class IntArray;

struct cGameText {
    // Every static below back to its start value.
    static void resetStatics();
    static IntArray* s_titleOffsets;   // the level title's per-character vertical offsets
    static jint s_titleFrames;         // the level title's frame counter
};
