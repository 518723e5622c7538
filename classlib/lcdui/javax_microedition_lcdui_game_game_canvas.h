// javax_microedition_lcdui_game_GameCanvas (class id 91, extends Canvas): a Canvas with an
// off-screen Image of the screen's size, drawn into the screen Image by flushGraphics (the frame
// reaches the display with the paint road's next flush).
#pragma once

#include "classlib/lcdui/javax_microedition_lcdui_canvas.h"

class javax_microedition_lcdui_Image;

class javax_microedition_lcdui_game_GameCanvas : public javax_microedition_lcdui_Canvas {
public:
    javax_microedition_lcdui_game_GameCanvas() { setClassId(CID_javax_microedition_lcdui_game_GameCanvas); }

    // The off-screen Image := a new mutable Image of getWidth() by getHeight(); then initNative.
    void init();

    // The host's hook at construction: nothing to prepare here.
    static void initNative(javax_microedition_lcdui_game_GameCanvas* canvas, javax_microedition_lcdui_game_GameCanvas* self);
    // The off-screen Image drawn at 0, 0 into the screen Graphics within the region (relative to
    // its translation); the screen Graphics' clip is restored afterwards.
    void flushGraphicsRegion(jint x, jint y, jint width, jint height);
    // The same over the canvas's whole width and height.
    void flushGraphics();

    javax_microedition_lcdui_Image* m_image;
};
