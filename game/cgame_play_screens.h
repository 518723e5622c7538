// cGame's in-play screens: what play, the pause menu, the information pages, the loss screens and the
// level end keep between frames, and the play scene's background cache.
// cGame derives from cGamePlayScreens, so `cGame::s_x` names them; the code that uses them is cGame's.
#pragma once

#include "runtime/jtypes.h"

class String;
class javax_microedition_lcdui_Graphics;
class javax_microedition_lcdui_Image;

struct cGamePlayScreens {
    // Every static below back to its start value.
    static void resetStatics();
    // Written by the actors: the level is won (the hero or a door asks for the level end), and the
    // information trigger's page (title text id) and its second value (a follow-up page, 0 none).
    static jbyte s_levelComplete;
    static jint s_infoPage;
    static jint s_infoPageArg;
    // The screens' own.
    static jbyte s_pauseInProgress;   // play asked for the pause menu; cleared when play is entered
    static jbyte s_pauseForgetSelection;   // the pause menu's next visit starts on its first row
    static jbyte s_infoPending;       // an information page was interrupted by the pause menu
    static jbyte s_resultsShown;      // the level end screen has finished: nothing more is painted
    static jint s_infoTutorialPage;   // the tutorial's page counter
    static String* s_infoTitle;       // the page's texts, wrapped
    static String* s_infoBody;
    static jint s_infoBoxHeight;      // 60 per title line plus 34 per body line
    static jint s_lossAnimStep;       // hero lost: 0 running, 1 the middle sound played; loss menu: 1 retrying
    // The level's background layer drawn once into a portrait image and reused every frame.
    static javax_microedition_lcdui_Image* s_sceneCache;
    static javax_microedition_lcdui_Graphics* s_sceneCacheGraphics;
    static jbyte s_sceneCacheRedraw;
};
