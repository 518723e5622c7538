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
    // The checkpoint lives in the buffer after the record, in memory only: its id at 11, the trigger
    // flags from 13, then the hero, the camera zone and bounds (whole ints), then one record per
    // level actor (cActor::saveState).
    static constexpr jint kCheckpointIdByte = 11, kCheckpointTriggerFlags = 13, kCheckpointFixedBytes = 22;
    // The id into bytes 11..12 and the setting into byte 10; a checkpoint (id > 0) also writes the
    // whole area, or none of it (id 0, logged) when the level's actors would not fit the buffer;
    // otherwise the highest level reached (byte 7) is raised to the current level.
    static void writeSaveBuffer(jint checkpoint);
    // The checkpoint written in this level back into its rebuilt actors, triggers and camera; nothing
    // without one (id below 1).
    static void restoreCheckpoint();
    // The bytes the checkpoint of the current level takes, past the end of the buffer included.
    [[nodiscard]] static jlong checkpointBytes();
    static ByteArray* s_saveBuffer;
    static javax_microedition_rms_RecordStore* s_saveStore;
    static ByteArray* s_saveStreamData;
    static javax_microedition_midlet_MIDlet* s_midlet;  // the MIDlet given to the constructor
    static bool s_musicOn;
    static bool s_sfxOn;
    static jint s_difficulty;  // the game setting (1 or 2)
    static bool s_firstRun;    // no valid save was found at start-up
};
