// javax_microedition_lcdui_Display (class id 86): no state of its own. Every Display sets the one
// current Displayable, which the Application holds.
#pragma once

#include "runtime/object.h"

class javax_microedition_lcdui_Displayable;
class javax_microedition_midlet_MIDlet;

class javax_microedition_lcdui_Display : public Object {
public:
    javax_microedition_lcdui_Display() { setClassId(CID_javax_microedition_lcdui_Display); }

    // A new Display on every call; the MIDlet is not used.
    [[nodiscard]] static javax_microedition_lcdui_Display* getDisplay(javax_microedition_midlet_MIDlet* midlet);
    // The Application's current Displayable := d. No show or hide notification.
    void setCurrent(javax_microedition_lcdui_Displayable* d);
    // The number of colours of the screen (65536).
    [[nodiscard]] jint numColors() const { return 0x10000; }
};
