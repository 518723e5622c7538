// cGame (class id 120, extends Canvas): the game's canvas and main class, exactly one instance.
// Declared here so far: the saved game's statics and operations (the save record, the record-store
// layer under it, the options read from it). Everything runs on the game thread.
// Invariant: s_saveBuffer is null until the save is loaded or created, then always kSaveBufferSize
// bytes; only its first kSaveRecordSize bytes ever reach the store.
#pragma once

#include "classlib/lcdui/javax_microedition_lcdui_canvas.h"

class ByteArray;
class String;
class java_io_InputStream;
class javax_microedition_midlet_MIDlet;
class javax_microedition_rms_RecordStore;

class cGame : public javax_microedition_lcdui_Canvas {
public:
    cGame() { setClassId(CID_cGame); }

    static constexpr jint kSaveBufferSize = 20493;
    static constexpr jint kSaveRecordSize = 11;

    // The save record (record 1 of the save store).
    // Bytes 2 and 3 from the music and effects flags, then bytes 0..10 stored as the save record.
    static void saveData();
    // A new zeroed buffer, version 1, no level reached (byte 7 = -1), stored at once.
    static void createDefaultSave();
    // Reads the save record at start-up; a missing or invalid one gives the defaults (stored only
    // when the store does not exist yet, so a save that could not be read is never overwritten).
    static void loadSave();
    // Writes the whole array as the save record of the named store. No caller in the game.
    static void rmsWriteAll(String* name, ByteArray* data);
    // Game setting := byte 10, music := (byte 2 == 1), effects := (byte 3 == 1).
    static void applySaveOptions();
    // The MIDlet property that switches sound on by default ends with the "on" text.
    [[nodiscard]] static bool isAppPropertyTrue();

    // The record-store layer. The save record is record 1; a store that lacks record 1 gets its save
    // added, and is read back from its newest record.
    static void rmsOpen(String* name);
    // Closes the open store (a failure ignored) and forgets it.
    static void rmsClose();
    // The save record's bytes, or null when the store holds none or a store error occurred.
    [[nodiscard]] static ByteArray* rmsRead(String* name);
    [[nodiscard]] static ByteArray* rmsReadRecord(String* name) { return rmsRead(name); }
    // setRecord(1) when the store holds record 1, else addRecord; store errors are dropped.
    static void rmsWrite(String* name, ByteArray* data, jint off, jint len);
    // rmsRead into s_saveStreamData; a ByteArrayInputStream over it, or null.
    [[nodiscard]] static java_io_InputStream* rmsReadStream(String* name);

    static ByteArray* s_saveBuffer;
    static javax_microedition_rms_RecordStore* s_saveStore;
    static ByteArray* s_saveStreamData;
    static javax_microedition_midlet_MIDlet* s_midlet;  // the MIDlet given to the constructor
    static bool s_musicOn;
    static bool s_sfxOn;
    static jint s_difficulty;  // the game setting (1 or 2)
    static bool s_firstRun;    // no valid save was found at start-up
};
