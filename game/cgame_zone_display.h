// What the level's trigger zones leave for the actor painter: the zone whose scenery is drawn again
// over the hero, and the texts the text zones show. cGame derives from cGameZoneDisplay, so
// `cGame::s_x` names them. The zones write them; painting only reads them.
#pragma once

#include "runtime/jtypes.h"

class IntArray;
class ShortArray;

struct cGameZoneDisplay {
    static void resetStatics();

    static jbyte s_overdrawActive;     // non-zero: s_overdrawRect's scenery covers the hero
    static IntArray* s_overdrawRect;   // {left, right, top, bottom} in world pixels
    static jint s_titleTextId;         // the text the title zone shows
    static ShortArray* s_scrollLines;  // the line table of the wrapped zone text
};
