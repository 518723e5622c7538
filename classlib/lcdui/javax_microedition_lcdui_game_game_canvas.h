// javax_microedition_lcdui_game_GameCanvas (class id 91, extends Canvas): a Canvas with an
// off-screen Image of the screen's size. Drawing it onto the screen (flushGraphics) is the host
// shell's native.
#pragma once

#include "classlib/lcdui/javax_microedition_lcdui_canvas.h"

class javax_microedition_lcdui_Image;

class javax_microedition_lcdui_game_GameCanvas : public javax_microedition_lcdui_Canvas {
public:
    javax_microedition_lcdui_game_GameCanvas() { setClassId(CID_javax_microedition_lcdui_game_GameCanvas); }

    // The off-screen Image := a new mutable Image of getWidth() by getHeight().
    void init();

    javax_microedition_lcdui_Image* m_image;
};
