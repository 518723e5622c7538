// cGame (class id 120, extends Canvas): the game's canvas and main class, exactly one instance.
// Declared here so far: the saved game's statics and operations (the save record, the record-store
// layer under it, the options read from it), the fixed-point toolkit and the game keys. Everything
// runs on the game thread except the key handlers, which the host thread calls too: the live key
// table is reached only under the key lock (cgame_keys.cpp).
// Invariant: s_saveBuffer is null until the save is loaded or created, then always kSaveBufferSize
// bytes; only its first kSaveRecordSize bytes ever reach the store.
#pragma once

#include "classlib/lcdui/javax_microedition_lcdui_canvas.h"

class ByteArray;
class IntArray;
class Long64Array;
class ObjectArray;
class ShortArray;
class String;
class java_io_InputStream;
class javax_microedition_midlet_MIDlet;
class javax_microedition_rms_RecordStore;
class java_util_Hashtable;
class java_util_Random;

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

    // --- Fixed-point toolkit: 8.8 values, angles of 256 units per turn (0 +x, 64 +y) ---
    // 8.8 cosine from the quarter-wave table s_cosTable (65 entries); any int is an angle.
    [[nodiscard]] static jint cos(jint angle);
    // (sin << 8) / cos, where sin(a) = cos(64 - a); the largest int when cos(a) is 0.
    [[nodiscard]] static jint tan(jint angle);
    [[nodiscard]] static jint cosDeg(jint degrees);
    [[nodiscard]] static jint sinDeg(jint degrees);
    // The angle of the vector (x, y), 0..256: a vector just below the +x axis gives 256, not 0.
    // Builds s_atanTable on the first call.
    [[nodiscard]] static jint atan2(jint x, jint y);
    [[nodiscard]] static jint atanOfRatio(jint x, jint y);
    // The first angle a in [from, to) with tan(a) <= ratio < tan(a + 1).
    [[nodiscard]] static jint atanSearch(jint from, jint to, jint ratio);
    // Segments P1P2 and P3P4: 0 apart, 1 meeting (the rounded point in s_intersectX/Y), -1 collinear
    // with overlapping boxes. Endpoints count as meeting.
    [[nodiscard]] static jint segmentsIntersect(jint x1, jint y1, jint x2, jint y2, jint x3, jint y3, jint x4, jint y4);
    [[nodiscard]] static bool sameSign(jint a, jint b) { return (a >= 0) == (b >= 0); }
    [[nodiscard]] static bool sameSignLong(jlong a, jlong b) { return (a >= 0) == (b >= 0); }
    // min + |r| mod (max - min) for the next 32 random bits r; min without drawing when max == min.
    // Always inside [min, max) when max > min; min (nothing drawn) before setRandomSeed.
    [[nodiscard]] static jint getRandom(jint min, jint max);
    static void setRandomSeed(jlong seed);
    // Rounded to whole pixels; taken in 64 bits so the largest values do not wrap negative.
    [[nodiscard]] static jint fixedToInt(jint v) { return static_cast<jint>((jlong{v} + 128) >> 8); }
    [[nodiscard]] static jint fixedMul(jint a, jint b);
    // a * 256 / b rounded half up; b == 0 is the caller's to avoid.
    [[nodiscard]] static jint fixedDiv(jint a, jint b);
    [[nodiscard]] static jint log2Floor(jint v);
    // Inclusive edges.
    [[nodiscard]] static bool rectsOverlap(jint ax0, jint ay0, jint ax1, jint ay1, jint bx0, jint by0, jint bx1, jint by1);
    // Little-endian byte-array access; each put answers the offset after what it wrote.
    static jint putByte(ByteArray* a, jint off, jint v);
    static jint putShortLE(ByteArray* a, jint off, jint v);
    static jint putIntLE(ByteArray* a, jint off, jint v);
    [[nodiscard]] static jint getByte(ByteArray* a, jint off);
    [[nodiscard]] static jint getShortLE(ByteArray* a, jint off);
    [[nodiscard]] static jint getIntLE(ByteArray* a, jint off);
    // The code of language 0..14 (a pooled literal: the same String object every time); null for any
    // other number. The loader appends it to a pack-name prefix to pick the text pack.
    [[nodiscard]] static String* getLanguageName(jint language);

    static jint s_fixedOne;
    static jint s_angleUnitsPerTurn;
    static jint s_angleQuarter;
    static jint s_angleHalf;
    static jint s_angleThreeQuarters;
    static jint s_angleFullTurn;
    static IntArray* s_cosTable;   // cosine of the angles 0..64 scaled by 256, from the boot pack
    static IntArray* s_atanTable;  // 257 entries, null until the first atan2
    static java_util_Random* s_random;
    static jint s_intersectX;
    static jint s_intersectY;

    // --- Game keys: 24 entries per table; 0 up, 1 first frame, 2..126 frames held, negative
    // released (the magnitude is the frames held) ---
    static constexpr jint kGameKeyCount = 24;
    static constexpr jint kCheatLength = 4;

    // Host thread (device keys) and game thread (touch buttons): write the live table only.
    void keyPressed(jint keyCode) override;
    void keyReleased(jint keyCode) override;

    // The game key of a device code; 0 for a code neither map holds or before initKeyMap.
    [[nodiscard]] static jint mapKeyCode(jint keyCode);
    static void createKeyMaps();
    // Both maps with their whole content; once, from the constructor.
    static void initKeyMap();
    // The live and snapshot tables, zeroed; key events before this are ignored. Both live outside
    // the movable heap, so a host-thread write never meets a compaction.
    static void createKeyTables();
    // The cheat sequence of four game keys; once, from the static initialisation.
    static void initCheatSequence();
    // The per-frame step at the start of each painted frame: snapshot, then age the live table.
    static void updateKeyStates();
    static void clearKeys();
    [[nodiscard]] static bool isKeyDown(jint k);
    [[nodiscard]] static bool isKeyUp(jint k);
    [[nodiscard]] static bool isKeyJustPressed(jint k);
    [[nodiscard]] static bool isKeyReleased(jint k);
    // The highest game key first pressed / released in this frame's snapshot; -1 when none.
    [[nodiscard]] static jint getPressedKey();
    [[nodiscard]] static jint getReleasedKey();
    // Once per frame: true when this frame's released key completes the sequence (the message box
    // with text 71 is then prepared and opened by the next transition).
    [[nodiscard]] static bool checkCheatSequence();

    static ByteArray* s_keysLive;   // key handlers and the per-frame step, under the key lock
    static ByteArray* s_keysFrame;  // the snapshot every query reads (game thread)
    static java_util_Hashtable* s_keyMap;
    static java_util_Hashtable* s_keyMapNav;
    static IntArray* s_cheatSequence;
    static jint s_cheatIndex;
    static bool s_cheatMode;

    // --- Message box and pending UI action (only what the cheat sequence sets so far) ---
    static void showMessageBox(jint textId);
    static jint s_messageBoxText;  // text-pack id of the prepared message box, -1 none
    static jint s_pendingAction;   // what the next screen transition does; 2 opens the message box

    // --- Static data (cgame_static_data.cpp): per-level tables, menu lists, the empty containers
    // the later screens fill, and the level properties. Levels are 0..9, indexed by s_level. ---
    static constexpr jint kLevelCount = 10;
    static constexpr jint kLayersPerLevel = 5;

    // The arrays of this block, element by element; part of cGame's static initialisation.
    static void initStaticData();
    // s_level := n; s_altPlayerLevel := n is 1, 4 or 7 (real frame time on those levels).
    static void setLevel(jint n);
    [[nodiscard]] static bool isLevel8() { return s_level == 8; }
    [[nodiscard]] static bool isLevel8or9() { return s_level == 8 || s_level == 9; }
    [[nodiscard]] static bool isLevel5or6() { return s_level == 5 || s_level == 6; }
    // The language index of a pooled language literal, by identity (a String of the same text that
    // is not the pooled object gives 0); 0 for anything else. Literal 171 gives 4 although the code
    // table holds 198 there.
    [[nodiscard]] static jint languageIndexOf(String* code);

    static jint s_level;
    static jbyte s_altPlayerLevel;  // read by the frame loop too
    static ObjectArray* s_levelPackNames;    // String[10], literals 199..208
    static IntArray* s_levelGeometryItems;   // int[11], geometry-pack item, -1 no polylines
    static IntArray* s_levelLayerItems;      // int[50], 5 per level: sprite item of tile layers 0..4, -1 absent
    static IntArray* s_levelMusic;           // int[10], the music sound of each level
    static Long64Array* s_levelSpriteBits;   // long[10], sprites each level always needs (bits of the sprite mask)
    static IntArray* s_levelNames;           // int[10], text ids
    static IntArray* s_menuMain;             // text ids, also the item ids the menus act on
    static IntArray* s_menuPause;
    static IntArray* s_menuYesNo;
    static IntArray* s_menuSound;
    static IntArray* s_menuDifficulty;
    static ObjectArray* s_fonts;             // Object[3], the sprite fonts
    static ObjectArray* s_layerSprites;      // Object[5], the tile sprite of each tile layer
    static IntArray* s_levelStats;           // int[6], the level statistics
    static IntArray* s_viewRect;             // int[4] {x0, y0, x1, y1}
    static IntArray* s_menuRemembered;       // int[8], per menu number the selection kept on leaving
    static IntArray* s_menuItems;            // int[20], the current menu's items
    static ObjectArray* s_effectImages;      // Object[10]
    static String* s_textEncoding;           // literal 45
    // The game's copies of the actors' behaviour index and type-to-sprite map, which the state code
    // reads; taken when the main pack is opened. The actors sit above the game, so they hand over
    // where the two statics live at registration time.
    static ObjectArray* s_behaviours;
    static ShortArray* s_typeSprite;
    static void registerActorTables(ObjectArray** behaviours, ShortArray** typeSprite);
    // Both copies from the registered statics; null while nothing is registered.
    static void copyActorTables();
    // --- end of static data ---
};
