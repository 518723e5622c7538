// cGame's state machine: the current, previous and requested states, the change due at the end of a
// frame, the current state's age, and the loading run the next state 4 makes.
// cGame derives from cGameStateMachine, so `cGame::s_x` names them; the code that uses them is cGame's.
#pragma once

#include "runtime/jtypes.h"

struct cGameStateMachine {
    // Every static below back to its start value, and the handler table to the game's own.
    static void resetStatics();
    static jint s_state;
    static jint s_prevState;
    static jint s_nextState;
    static jint s_stateAtRequest;
    static jbyte s_stateChangePending;
    static jbyte s_stateEntered;
    static jint s_stateFrames;
    static jint s_stateTime;
    static jint s_loadTarget;     // state after a loading run, -1 none
    static jint s_loadKind;
};
