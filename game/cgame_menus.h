// cGame's menus, dialogs, soft keys and the screen transition: the current list and its selection, the
// blinking choice, the pending action, the open dialog and the soft keys shown.
// cGame derives from cGameMenus, so `cGame::s_x` names them; the code that uses them is cGame's.
#pragma once

#include "runtime/jtypes.h"

class IntArray;
class String;

struct cGameMenus {
    // Every static below back to its start value.
    static void resetStatics();
    static constexpr jint kMenuTextMask = 0x0FFFFFFF;
    static constexpr jint kMenuSpecial = 0x40000000;
    static constexpr jint kMenuDisabled = static_cast<jint>(0x80000000u);
    static constexpr jint kMenuCapacity = 20;
    static constexpr jint kActionNone = 0, kActionLoad = 1, kActionOpenDialog = 2, kActionCloseDialog = 3,
                          kActionLoadTarget = 4, kActionReopen = 5;
    static constexpr jint kTransitionHalf = 300;  // ms of each half
    static constexpr jint kBlinkFrames = 4;
    static constexpr jint kSoftkeyNone = -1, kSoftkeyIcon = -2;
    static IntArray* s_menuList;
    static jint s_menuCount;
    static jint s_menuVisibleRows;
    static jint s_menuFirstRow;
    static jint s_menuSelection;    // -1 none
    static jint s_chosen;           // blinking menu item id, or a dialog's UI action; -1 none
    static jint s_chosenBlink;      // painted frames left in the blink
    static jint s_pendingAction;    // kAction*
    static jint s_transitionPhase;  // 0 idle, -1 closing, 1 opening
    static jlong s_transitionTime;  // ms, 0..kTransitionHalf
    static bool s_redraw;           // the screen must be painted again
    static bool s_promoMarkerShown;
    static bool s_dialogOpen;
    static jint s_dialogType;       // 0 message box, 1 question
    static jint s_dialogTextId;     // the question's text id, -1 for a message box
    static String* s_dialogText;
    static String* s_wrappedText;
    static jint s_dialogTextHeight;
    static jint s_dialogChoice;     // 1 first answer, 0 second, 2 cancelled, -1 none
    static bool s_dialogCancelable;
    static bool s_dialogAnswered;
    static jint s_softkeyLeft;      // kSoftkeyNone, kSoftkeyIcon or a text id
    static jint s_softkeyRight;
    static bool s_softkeyFlag;
};
