// cGame's fixed-point toolkit: 8.8 values, angles of 256 units per turn, the cosine and arc-tangent
// tables, the random source and the last segment intersection.
// cGame derives from cGameMath, so `cGame::s_x` names them; the code that uses them is cGame's.
#pragma once

#include "runtime/jtypes.h"

class IntArray;
class java_util_Random;

struct cGameMath {
    // Every static below back to its start value.
    static void resetStatics();
    static jint s_angleUnitsPerTurn;
    static jint s_angleQuarter;
    static jint s_angleHalf;
    static jint s_angleThreeQuarters;
    static jint s_angleFullTurn;
    static IntArray* s_cosTable;   // cosine of the angles 0..64 scaled by 256, from the boot pack
    static IntArray* s_atanTable;  // 257 entries, null until the first atan2
    static java_util_Random* s_random;
    static jint s_intersectX;
    static jint s_intersectY;
};
