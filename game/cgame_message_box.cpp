// The message box's request: the text it will show and the pending UI action that opens it on the
// next screen transition. So far only the cheat sequence prepares one.
#include "game/cgame.h"

jint cGame::s_messageBoxText = -1;
jint cGame::s_pendingAction = 0;

void cGame::showMessageBox(jint textId) { s_messageBoxText = textId; }
