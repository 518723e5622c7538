// cGame's boot and logo states: the logo pictures and the language the boot chose.
// cGame derives from cGameBoot, so `cGame::s_x` names them; the code that uses them is cGame's.
#pragma once

#include "runtime/jtypes.h"

class ObjectArray;
class javax_microedition_lcdui_Image;

struct cGameBoot {
    // Every static below back to its start value.
    static void resetStatics();
    static ObjectArray* s_screenImages;       // the two logo images' slots
    static javax_microedition_lcdui_Image* s_logoImage;
    static jint s_language;
};
