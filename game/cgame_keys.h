// cGame's game keys: the live and snapshot key tables, the device-code maps and the cheat sequence.
// cGame derives from cGameKeys, so `cGame::s_x` names them; the code that uses them is cGame's.
#pragma once

#include "runtime/jtypes.h"

class ByteArray;
class IntArray;
class java_util_Hashtable;

struct cGameKeys {
    // The game keys. 7..15 are the keypad digits 1..9 in reading order; the digits 2, 4, 5, 6 and 8
    // give the direction keys and fire instead, so their own keys are never produced, yet screens
    // accept them beside the key they stand next to. 0 is every device code neither map holds; 20..23
    // have no device code.
    enum GameKey : jint {
        kKeyUnmapped = 0,
        kKeyUp = 1,
        kKeyDown = 2,
        kKeyLeft = 3,
        kKeyRight = 4,
        kKeyFire = 5,
        kKeySecondAction = 6,   // '0'
        kKeyUpLeft = 7,         // '1'
        kKey2 = 8,              // beside up
        kKeyUpRight = 9,        // '3'
        kKey4 = 10,             // beside left
        kKey5 = 11,             // beside fire
        kKey6 = 12,             // beside right
        kKeyDownLeft = 13,      // '7'
        kKey8 = 14,             // beside down
        kKeyDownRight = 15,     // '9'
        kKeyStar = 16,
        kKeyPound = 17,
        kKeyLeftSoft = 18,      // confirm, the pause menu
        kKeyRightSoft = 19,     // back, cancel, skip
    };
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
    static jint s_lastKeyCode;   // the device code of the last key press; -9999 before any
    static bool s_cheatMode;
};
