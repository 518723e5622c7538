// cGame's rotated screen drawing: the view's corner in the world, which tile painting subtracts, and
// the pulsing picture's phase, cached frames and scratch pixels.
// cGame derives from cGameRotated, so `cGame::s_x` names them; the code that uses them is cGame's.
#pragma once

#include "runtime/jtypes.h"

class IntArray;
class ObjectArray;

struct cGameRotated {
    // Every static below back to its start value.
    static void resetStatics();
    static constexpr jint kPortraitWidth = 480, kPortraitHeight = 800;
    static jint s_pulsePhase;                 // 0..305 once it has moved
    static jint s_pulseStep;                  // written by the race actors each frame
    static jint s_pulseColour;                // the colour the cached frames have
    static ObjectArray* s_pulseImages;        // Image[10], a frame made when first shown
    static IntArray* s_pulseMask;             // the mask those frames were made from
    static IntArray* s_workBuffer;            // int[40960], the scratch pixels of frame building
};
