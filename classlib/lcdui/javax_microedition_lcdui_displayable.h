// javax_microedition_lcdui_Displayable (class id 87, abstract): the slots through which the
// Application and the host reach what is on the screen (keys, pointer, show/hide, paint), in this
// order after Object's six. The defaults do nothing; a game's canvas overrides them.
#pragma once

#include "runtime/object.h"

class javax_microedition_lcdui_Graphics;

class javax_microedition_lcdui_Displayable : public Object {
public:
    javax_microedition_lcdui_Displayable() { setClassId(CID_javax_microedition_lcdui_Displayable); }

    // Slots 6 and 7: the screen Image's size (480 by 800), whatever the Displayable.
    virtual jint getWidth();
    virtual jint getHeight();
    virtual void sizeChanged(jint w, jint h);           // 8
    virtual void keyPressed(jint code);                 // 9
    virtual void keyReleased(jint code);                // 10
    virtual void pointerPressed(jint x, jint y);        // 11
    virtual void pointerReleased(jint x, jint y);       // 12
    virtual void pointerDragged(jint x, jint y);        // 13
    virtual void showNotify();                          // 14
    virtual void hideNotify();                          // 15
    virtual void paint(javax_microedition_lcdui_Graphics* g);  // 16
};
