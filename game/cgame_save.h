// cGame's saved game: the save buffer, the record store it goes to, and the options read from it.
// cGame derives from cGameSave, so `cGame::s_x` names them; the code that uses them is cGame's.
#pragma once

#include "runtime/jtypes.h"

class ByteArray;
class javax_microedition_midlet_MIDlet;
class javax_microedition_rms_RecordStore;

struct cGameSave {
    // Every static below back to its start value.
    static void resetStatics();
    static constexpr jint kSaveBufferSize = 20493;
    static constexpr jint kSaveRecordSize = 11;
    static ByteArray* s_saveBuffer;
    static javax_microedition_rms_RecordStore* s_saveStore;
    static ByteArray* s_saveStreamData;
    static javax_microedition_midlet_MIDlet* s_midlet;  // the MIDlet given to the constructor
    static bool s_musicOn;
    static bool s_sfxOn;
    static jint s_difficulty;  // the game setting (1 or 2)
    static bool s_firstRun;    // no valid save was found at start-up
};
