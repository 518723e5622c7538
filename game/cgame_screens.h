// cGame's front-end screens: what the menus, the scrolling texts, the help pages and the level select
// keep between frames.
// cGame derives from cGameScreens, so `cGame::s_x` names them; the code that uses them is cGame's.
#pragma once

#include "runtime/jtypes.h"

class IntArray;
class String;

struct cGameScreens {
    // Every static below back to its start value.
    static void resetStatics();
    static jbyte s_musicOnMenuEntry;   // the next main menu or credits screen starts the title music
    static jbyte s_gameFinished;       // the credits were reached from the end of the last level
    static jint s_scrollY;             // intro and credits: landscape y of the text's top
    static jint s_scrollHeight;        // the text's height
    static jbyte s_scrollEnded;        // the intro's text has left the screen
    static String* s_scrollText;       // the wrapped text of the intro, credits or promotion question
    static jint s_helpPage;
    static jbyte s_helpFromPause;      // the help browser goes back to the pause menu
    static jint s_levelSelectLast;     // the last level the list offers
    static jint s_levelSelectArrow;    // 0..4 and back, the level select's bouncing arrow
    static jint s_levelSelectArrowStep;
    static IntArray* s_levelSelectItems;
};
