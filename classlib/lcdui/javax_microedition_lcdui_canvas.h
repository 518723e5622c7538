// javax_microedition_lcdui_Canvas (class id 83, abstract, extends Displayable): the Displayable's
// slots unchanged, and the paint road that the game's run loop and its show handling call.
#pragma once

#include "classlib/lcdui/javax_microedition_lcdui_displayable.h"

class javax_microedition_lcdui_Canvas : public javax_microedition_lcdui_Displayable {
public:
    javax_microedition_lcdui_Canvas() { setClassId(CID_javax_microedition_lcdui_Canvas); }

    // Paints the Application's current Displayable now, on the calling thread, and shows the frame
    // (Application::repaint); the Canvas itself is not used.
    static void repaint(javax_microedition_lcdui_Canvas* canvas);
    // Nothing: repaint has already painted.
    static void serviceRepaints(javax_microedition_lcdui_Canvas* canvas);
};
