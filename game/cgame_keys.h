// cGame's game keys: the live and snapshot key tables, the device-code maps and the cheat sequence.
// cGame derives from cGameKeys, so `cGame::s_x` names them; the code that uses them is cGame's.
#pragma once

#include "runtime/jtypes.h"

class ByteArray;
class IntArray;
class java_util_Hashtable;

struct cGameKeys {
    // Every static below back to its start value.
    static void resetStatics();
    static constexpr jint kGameKeyCount = 24;
    static constexpr jint kCheatLength = 4;
    static ByteArray* s_keysLive;   // key handlers and the per-frame step, under the key lock
    static ByteArray* s_keysFrame;  // the snapshot every query reads (game thread)
    static java_util_Hashtable* s_keyMap;
    static java_util_Hashtable* s_keyMapNav;
    static IntArray* s_cheatSequence;
    static jint s_cheatIndex;
    static bool s_cheatMode;
};
