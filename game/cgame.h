// cGame (class id 120, extends Canvas, implements Runnable, IActor, IConst, IDef): the game's canvas
// and main class, exactly one instance, made by the MIDlet VorpaZQTI. Its game thread runs the frame
// loop; every repaint is one frame: key snapshot, timing, one state-machine step, clip reset.
// Declared here so far: the shell and frame loop, the state machine, the saved game (the save
// record, the record-store layer under it, the options read from it), the fixed-point toolkit and
// the game keys. The pack engine's statics come from cGamePacks, the drawing statics (the current
// Graphics s_g among them) from cGameDraw.
// Threads: frames run on the game thread (or, for the repaint a show asks for, on the host thread);
// the key, pointer, show and hide handlers run on the host thread. All of them hold the game lock
// (cGame::GameLock), so two of them never run at once. The live key table is reached under the key
// lock as well (cgame_keys.cpp).
// Invariant: s_saveBuffer is null until the save is loaded or created, then always kSaveBufferSize
// bytes; only its first kSaveRecordSize bytes ever reach the store.
#pragma once

#include "game/cgame_text_ids.h"
#include "classlib/java_lang/java_lang_runnable.h"
#include "classlib/lcdui/javax_microedition_lcdui_canvas.h"
#include "game/cgame_actors.h"
#include "game/cgame_camera.h"
#include "game/cgame_draw_rotated.h"
#include "game/cgame_frame_caches.h"
#include "game/cgame_keys.h"
#include "game/cgame_level.h"
#include "game/cgame_loader.h"
#include "game/cgame_math.h"
#include "game/cgame_menus.h"
#include "game/cgame_play_screens.h"
#include "game/cgame_save.h"
#include "game/cgame_screens.h"
#include "game/cgame_shell.h"
#include "game/cgame_sound.h"
#include "game/cgame_state_boot.h"
#include "game/cgame_state_machine.h"
#include "game/cgame_static_data.h"
#include "game/cgame_text.h"
#include "game/cgame_touch.h"
#include "game/cgame_zone_display.h"
#include "game/cgame_triggers.h"
#include "sprites/cgame_draw.h"
#include "sprites/cgame_packs.h"

class ByteArray;
class IntArray;
class Long64Array;
class ObjectArray;
class ShortArray;
class String;
class java_io_InputStream;
class javax_microedition_lcdui_Display;
class javax_microedition_lcdui_Graphics;
class javax_microedition_lcdui_Image;
class javax_microedition_midlet_MIDlet;
class javax_microedition_rms_RecordStore;
class java_util_Hashtable;
class java_util_Random;

class cGame : public javax_microedition_lcdui_Canvas,
              public java_lang_Runnable,
              public cGamePacks,
              public cGameDraw,
              public cGameShell,
              public cGameStateMachine,
              public cGameBoot,
              public cGameSave,
              public cGameMath,
              public cGameKeys,
              public cGameStaticData,
              public cGameRotated,
              public cGameText,
              public cGameSound,
              public cGameMenus,
              public cGameScreens,
              public cGameTouch,
              public cGameLoader,
              public cGameActors,
              public cGameCamera,
              public cGameLevel,
              public cGameFrameCaches,
              public cGameZoneDisplay,
              public cGamePlayScreens,
              public cGameTriggers {
public:
    cGame() { setClassId(CID_cGame); }

    // --- The shell and the frame loop ---
    static constexpr jint kFrameDuration = 58;      // ms, the run loop's period
    static constexpr jint kNoKeyCode = -9999;       // s_lastKeyCode before any press
    static constexpr jint kFixedFrameTime = 50;     // ms, the fixed time step
    static constexpr jint kFixedSpeedFactor = 12;   // 50 * 256 / 1000, truncated
    static constexpr jint kMaxFrameTime = 1000;

    // The constructor cGame(midlet, display): made current, key map built, timers from now, the 1 by
    // 1 frame image, the state machine reset to state 1 with its enter due. The run flag stays -1
    // and the paint guard set until the thread runs.
    void init(javax_microedition_midlet_MIDlet* midlet, javax_microedition_lcdui_Display* display);
    void* getInterface(jint classId) override;
    void sizeChanged(jint w, jint h) override;
    void pointerPressed(jint x, jint y) override;
    void pointerReleased(jint x, jint y) override;
    void pointerDragged(jint x, jint y) override;
    void showNotify() override;
    void hideNotify() override;
    void paint(javax_microedition_lcdui_Graphics* g) override;
    // The game thread: frames every 58 ms until the run flag is negative, then the key tables are
    // dropped and the MIDlet is notified as destroyed.
    void run() override;

    // Only while the run flag is negative: key tables, random seed, run flag 0, the game thread.
    void startThread();
    // One frame: nothing while paused or inside a frame; else key snapshot, timing, the frame. An
    // Exception out of it stops the game after this pass of the loop.
    void onPaint(javax_microedition_lcdui_Graphics* g);
    // The time step, one state-machine step, the clip reset.
    void frame();
    // Resume: the state's show message, the remembered music, and when paused the timers restart
    // from now, the keys are cleared and a frame is painted (when no frame is running).
    void onShowNotify();
    // Pause: the state's hide message, music forgotten when it had ended, every sound stopped, paused.
    void onHideNotify();
    // The sound requests the shell needs: music on channel 0, remembered even while music is off.
    static void playMusic(jint id, bool loop);
    // Drops both key tables (the end of the run loop): key events are ignored from then on.
    static void dropKeyTables();
    // The static initialiser (a step of the start-up table).
    static void initStaticFields();
    // Every static of every base back to its start value: between tests, and at the application's close.
    static void resetAllStatics();

    // The game lock: recursive; waiting for it is a safe region (the collector may run meanwhile).
    class GameLock {
    public:
        GameLock();
        ~GameLock();
        GameLock(const GameLock&) = delete;
        GameLock& operator=(const GameLock&) = delete;
    };
    // True when no thread holds the game lock at this moment.
    [[nodiscard]] static bool gameLockFree();

    // The object's fields, in order: an unused reference, the frame image and its Graphics (1 by 1
    // until the promotion screen replaces them), the promotion's saved Graphics, three ints the
    // constructor sets to 8, 100 and 60, and the start of the current frame period.
    Object* m_unused;
    javax_microedition_lcdui_Image* m_frameImage;
    javax_microedition_lcdui_Graphics* m_frameImageGraphics;
    javax_microedition_lcdui_Graphics* m_savedGraphics;
    jint m_param8;
    jint m_param100;
    jint m_param60;
    jlong frameStart;


    // --- The state machine ---
    static constexpr jint kStateCount = 32;  // state numbers 0..31
    static constexpr jint kMsgEnter = 0, kMsgUpdate = 1, kMsgPaint = 2, kMsgExit = 3, kMsgShow = 4, kMsgHide = 5;
    static constexpr jint kStateBoot = 1, kStateInit = 2, kStateSplash = 3, kStateLoading = 4, kStateMainMenu = 6,
                          kStateSoundMenu = 8, kStatePauseMenu = 11, kStateSoundMenuInGame = 12, kStatePlay = 14,
                          kStateHeroLost = 15, kStateLossMenu = 16, kStateScrollingText = 18, kStateLevelEnd = 19,
                          kStateLevelSelect = 21, kStateInfoPages = 26, kStateDifficultyMenu = 27, kStateIntro = 28,
                          kStatePictureBrowser = 29, kStatePromotionQuestion = 30, kStateIGP = 31;
    using StateHandler = void (*)(cGame* game, jint message);

    // Requests a change at the end of this frame; the last request of a frame wins.
    static void setState(jint state);
    // The current state's handler with the message; a state without one ignores it.
    static void dispatchState(cGame* game, jint message);
    // One frame of the machine: enter when due, update and paint, a pending change, the sound step.
    static void stepStateMachine(cGame* game);
    static void resetStateMachine();
    // The handler of a state number (null: none); the game's own table unless replaced.
    [[nodiscard]] static StateHandler stateHandler(jint state);
    // Replaces one state's handler (the states built later install theirs; tests script them) and
    // answers the previous one.
    static StateHandler setStateHandler(jint state, StateHandler handler);
    // The handler's name for a state the game knows ("cGame::stateLoading"), null for the others.
    [[nodiscard]] static const char* stateName(jint state);


    // --- The boot and logo states ---
    static void stateBoot(cGame* game, jint message);
    static void stateInit(cGame* game, jint message);
    static constexpr jint kLogoTime = 7000;   // ms of the logo state before loading starts
    static constexpr jint kFirstLogoTime = 3500;


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
    // setRecord(1) when the store holds record 1, else addRecord; a store error is logged, not raised.
    static void rmsWrite(String* name, ByteArray* data, jint off, jint len);
    // rmsRead into s_saveStreamData; a ByteArrayInputStream over it, or null.
    [[nodiscard]] static java_io_InputStream* rmsReadStream(String* name);


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
    [[nodiscard]] static bool rectsOverlap(jint ax0, jint ay0, jint ax1, jint ay1, jint bx0, jint by0, jint bx1,
                                           jint by1);
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


    // --- Game keys: 24 entries per table; 0 up, 1 first frame, 2..126 frames held, negative
    // released (the magnitude is the frames held) ---

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
    // The left soft key, fire or the 5 beside it: the keys that confirm a choice.
    [[nodiscard]] static bool isConfirmKey(jint k) { return k == kKeyLeftSoft || k == kKeyFire || k == kKey5; }
    // The highest game key first pressed / released in this frame's snapshot; -1 when none.
    [[nodiscard]] static jint getPressedKey();
    [[nodiscard]] static jint getReleasedKey();
    // Once per frame: true when this frame's released key completes the sequence (the message box
    // with text 71 is then prepared and opened by the next transition).
    [[nodiscard]] static bool checkCheatSequence();


    // --- Static data (cgame_static_data.cpp): per-level tables, menu lists, the empty containers
    // the later screens fill, and the level properties. Levels are 0..9, indexed by s_level. ---

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

    static void copyActorTables();
    // --- end of static data ---
    // --- Rotated screen drawing: landscape-on-portrait wrappers and the small drawing toolkit ---
    // The game composes an 800 x 480 landscape picture on the 480 x 800 portrait screen: the
    // landscape rectangle (x, y, w, h) is the portrait (480 - y - h, x, h, w), the point (x, y) is
    // (480 - y, x). All draw on s_g (a null s_g is a null pointer fault); a null image draws nothing.
    // Coordinates are worked out in 64 bits; a rectangle that leaves the int range is cut to a box
    // far beyond any screen, a line or image place that leaves it draws nothing.
    static void setClipRotated(jint x, jint y, jint w, jint h);
    static void fillRectRotated(jint x, jint y, jint w, jint h);
    static void drawRectRotated(jint x, jint y, jint w, jint h);
    // The arc sizes swap with the sides.
    static void drawRoundRectRotated(jint x, jint y, jint w, jint h, jint arcW, jint arcH);
    static void fillRoundRectRotated(jint x, jint y, jint w, jint h, jint arcW, jint arcH);
    static void drawLineRotated(jint x1, jint y1, jint x2, jint y2);
    // The whole image turned a quarter (transform 5) with its landscape corner at (x, y); anchor as
    // given. Nothing for an image below 1 x 1.
    static void drawImageRotated(javax_microedition_lcdui_Image* image, jint x, jint y, jint anchor);
    // The menus' box: clip reset to the whole screen, a rounded fill (arc 40) and a 3-pixel rounded
    // frame of colour line.
    static void drawFramedBox(jint fill, jint line, jint x, jint y, jint w, jint h);
    // Unturned (portrait or image coordinates).
    static void setColorRGB(jint r, jint g, jint b);
    static void setClip(jint x, jint y, jint w, jint h);
    static void drawLine(jint x1, jint y1, jint x2, jint y2);
    static void drawRect(jint x, jint y, jint w, jint h);
    static void drawRoundRect(jint x, jint y, jint w, jint h, jint arcW, jint arcH);
    static void fillRoundRect(jint x, jint y, jint w, jint h, jint arcW, jint arcH);
    static void drawImage(javax_microedition_lcdui_Graphics* g, javax_microedition_lcdui_Image* image, jint x, jint y,
                          jint anchor);
    static void fillRect(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h);
    [[nodiscard]] static javax_microedition_lcdui_Image* createRGBImageAlpha(IntArray* rgb, jint w, jint h,
                                                                             bool processAlpha);
    static void getImageRGB(javax_microedition_lcdui_Image* image, IntArray* rgb, jint offset, jint scan, jint x,
                            jint y, jint w, jint h);
    // The source region cut to the image first (a negative start shortens it; it ends at the image's
    // edge); nothing when less than a pixel is left.
    static void drawImageRegionClipped(javax_microedition_lcdui_Image* image, jint sx, jint sy, jint w, jint h,
                                       jint transform, jint x, jint y, jint anchor);
    // The ARGB block from rgb[off + scan * row] at (x, y) of g's untranslated plane; on the screen's
    // own Graphics it is first cut to screenW x screenH (skipping the overhanging columns and rows).
    static void drawRGBClipped(javax_microedition_lcdui_Graphics* g, jint screenW, jint screenH, IntArray* rgb,
                               jint scan, jint off, jint row, jint x, jint y, jint w, jint h, bool alpha);
    // A copy of the image with every 0xFF00FF pixel (and whatever the image left transparent)
    // fully transparent; null for a null or empty image.
    [[nodiscard]] static javax_microedition_lcdui_Image* imageToColorKeyRGB(javax_microedition_lcdui_Image* image);
    // The tile of tile layer `layer` under the world point (x, y) (40-pixel cells), painted with its
    // cell's flips at that point less the camera: a frame of the layer's tile sprite when it has
    // frames, else a module. An empty cell, a point off the map (left or above it too) or a missing
    // sprite draws nothing.
    static void paintLayerTileAt(javax_microedition_lcdui_Graphics* g, jint layer, jint x, jint y);
    // The pulsing picture of the alternate-player levels: the tile sprite's module (slot 21) as a
    // mask whose alpha picks a point on the arc table, drawn as four mirrored quarters around the
    // portrait point (280, 400). In the play state its phase moves by s_pulseStep each frame; its
    // ten frames are cached for one colour and mask. While the alternate player's threshold is at
    // or below the level's limit the picture is bright and the step follows the limit. Nothing without the tile sprite, while the alternate player
    // is in states 196..201, or without the mask or arc table.
    static void paintPulsingPicture();
    static constexpr jint kPulseFrames = 10, kPulsePeriod = 306, kPulseFrameSpan = 31;
    static constexpr jint kPulseCentreX = 280, kPulseCentreY = 400;
    static constexpr jint kPulseBright = 0xFFFFFF, kPulseDark = 0x0000C0;
    static constexpr jint kWorkBufferLength = 40960;
    // --- end of rotated screen drawing ---

    // --- Text drawing, number formatting, sound requests (cgame_text_draw.cpp,
    // cgame_text_format.cpp, cgame_sound.cpp). Fonts are indices into s_fonts; texts are drawn on s_g.
    // Formatted results start from the empty literal; a missing text gives the empty text. ---
    // The text centred on x, each character on a triangle wave of amplitude A frames (A 0: flat),
    // neighbours 2 frames apart. The anchor is not used.
    static void drawWavyText(String* text, jint font, jint x, jint y, jint anchor, jint amplitude);
    // The text centred on x one character at a time: mode 1 flat, mode 3 each character moved by
    // s_titleOffsets[c] x s_titleFrames; other modes draw nothing. a and b are not used.
    static void drawTextPerChar(String* text, jint font, jint x, jint y, jint a, jint b, jint mode);
    static void drawStringWithPalette(jint font, jint palette, String* text, jint x, jint y, jint anchor);
    // n below 1000 as it is; else n / 1000, the comma literal and the last three digits (one
    // separator only, also past a million).
    [[nodiscard]] static String* formatThousands(jint n);
    // n with the thousands separator of the language (some languages only from 10000 on, some none).
    [[nodiscard]] static String* formatNumber(jint n, jint language);
    // Each "%s" and a digit d replaced by params[d]; a placeholder without a parameter stays as it is.
    [[nodiscard]] static String* formatText(String* text, ObjectArray* params);
    [[nodiscard]] static String* formatText1(String* text, String* param);
    // The results' time row: minutes, separator, two-digit seconds ("0:" and the seconds under a minute).
    [[nodiscard]] static String* formatTime(jint seconds);

    // Sound requests: music on channel 0 (music switch), effects on 1 and 2 (effects switch). Only
    // ids 0..kSoundCount - 1 are requested; others are ignored whole.
    // Channel 2 never interrupts a sound playing there; on channel 1 a new effect stops the old one
    // unless it is the same or the sticky effect 12.
    static void playSound(jint channel, jint id, bool loop);
    // One effect on channel 1 under the channel-1 rule.
    static void playSfx(jint id);
    // The level's music (or the override) looping, unless channel 0 already plays.
    static void playLevelMusic();
    static void stopChannel(jint channel);
    static void pauseChannel(jint channel);
    static void resumeChannel(jint channel);
    // Stop (resume) on the three channels, each under its switch.
    static void stopAllSounds();
    static void resumeAllSounds();
    // --- end of text drawing, number formatting, sound requests ---

    // --- Menus, dialogs, soft keys and the screen transition (cgame_menu*.cpp, cgame_dialog*.cpp,
    // cgame_softkeys.cpp, cgame_transition.cpp). A choice blinks 4 painted frames, then becomes the
    // pending UI action; the transition closes (300 ms), performs it and, for 2, 3 and 5, opens again.
    // Menu item ids: bits 0..27 the text id, bit 30 the special (promotion) row, bit 31 disabled. ---

    // Installs the list (at most kMenuCapacity items are kept) and its scroll position from the
    // remembered selection; no row is selected.
    static void setMenuItems(jint menu, IntArray* items, jint visibleRows);
    // The scroll position and selection from the menu's remembered selection, which is kept inside
    // the list: a selection at or past the count that is kept lands on the last row, and the first
    // row never leaves fewer than the visible rows below it.
    static void initMenuList(jint menu, jint visibleRows);
    // Up (1, 8) and down (2, 14) scroll by one row and clear the selection.
    static void menuNavigate();
    // Marks every item equal to id disabled; with remove, also takes the first one out of the list
    // and keeps the selection and first row inside what is left. An id not in the list changes nothing.
    static void disableMenuItem(jint id, bool remove);
    static void replaceMenuItem(jint id, jint newId);
    static void paintMenuList(jint centreY);
    // Without the menu sprite (a damaged data file) rows and answers are drawn as plain boxes the size
    // of the sprite's row frame, centred on their anchor, and hit-tested against the same box.
    static constexpr jint kPlainRowWidth = 480, kPlainRowHeight = 74;
    // Fills behind light text, dark enough that the fonts' light palettes read on them: the dialog
    // box, the plates under titles over the scene, the plain rows (lighter when selected).
    static constexpr jint kDialogBoxFill = 0x2B3A5E, kTitlePlateFill = 0x1B2440;
    static constexpr jint kPlainRowFill = 0x1B2440, kPlainRowLitFill = 0x26365F;
    static void paintPlainRow(jint x, jint y, bool lit);
    // drawStringWithPalette over a dark plate just larger than the text: titles over the scene.
    static void drawStringOnPlate(jint font, jint palette, String* text, jint x, jint y, jint anchor);
    // The plate alone, for a text drawn another way (a waving one adds its amplitude to the height).
    static void paintTextPlate(jint font, String* text, jint x, jint y, jint anchor, jint extraHeight);
    // The first row that keeps a full page of rows inside the list.
    [[nodiscard]] static jint menuLastFirstRow();

    // A message box with the text (opened by pending action 2).
    static void showMessageBox(String* text);
    // A yes/no question with text textId; the default choice is not used.
    static void showMessageBoxById(jint textId, jint defaultChoice, bool cancelable);
    // The frame's keys while the overlay is up, then the transition step.
    static bool updateDialogInput();
    static void paintDialogBox();
    // True in the frame in which a half ends; perform runs the pending action when closing ends.
    static bool updateTransition(bool perform);

    static void setSoftkeys(jint right, jint left, bool flag);
    static void paintSoftkeys();
    // No soft key shows over a dialog.
    static void paintSoftkeysGuarded();
    // The sprite font of s_fonts[font]; null for an index outside the table or a slot without a font.
    [[nodiscard]] static Bsprite* fontSprite(jint font);
    // Restarts a player on the animation from frame 0 with the given loop field.
    static void startPlayerAnim(BXLibPlayer* player, jint anim, jint loops);



    // --- end of menus, dialogs, soft keys and the screen transition ---
    // --- Front-end screens (cgame_screen_*.cpp): splash, main menu, sound settings, difficulty,
    // story intro, level select, help pages, promotion question and the scrolling credits. Screens
    // only request changes; a choice blinks, then runs its action, most of them through the screen
    // transition. Everything they change in the options or progress goes to the save record. ---
    static void stateSplash(cGame* game, jint message);
    static void stateMainMenu(cGame* game, jint message);
    static void stateSoundMenu(cGame* game, jint message);
    static void stateDifficultyMenu(cGame* game, jint message);
    static void stateIntro(cGame* game, jint message);
    static void stateLevelSelect(cGame* game, jint message);
    static void statePictureBrowser(cGame* game, jint message);
    static void statePromotionQuestion(cGame* game, jint message);
    static void stateScrollingText(cGame* game, jint message);

    // The menu numbers whose selection is remembered between visits (s_menuRemembered).
    static constexpr jint kMenuNumberMain = 0, kMenuNumberSound = 1, kMenuNotRemembered = -1;
    static constexpr jint kHelpPageCount = 9;
    static constexpr jint kSoftkeyBack = 55;   // the back plate (drawn without its text)
    // Save record bytes the screens read and write.
    static constexpr jint kSaveMusicByte = 2, kSaveEffectsByte = 3, kSaveHighestLevelByte = 7,
                          kSaveMenuProgressByte = 8, kSaveSettingByte = 10;

    // The shared frame of the menu screens. Enter: the list, no soft keys unless the screen sets
    // them, the opening transition.
    static void enterMenuScreen(jint menu, IntArray* items, jint visibleRows);
    // Navigation, the confirm keys starting the blink, the transition step. Answers the item id
    // whose blink has just run out (its action is the screen's to run), -1 otherwise.
    [[nodiscard]] static jint updateMenuScreen();
    // White background, the animated title picture, the list at centreY unless a dialog is open,
    // the transition over it; the clip reset.
    static void paintMenuScreen(jint centreY);
    // The selection stored for the menu's next visit (the row last chosen).
    static void rememberMenuSelection(jint menu);
    // The answer of the question with this text when it has just been given: 1 yes, 0 no, 2
    // cancelled; -1 when there is none (the answer is taken, so it is seen once).
    [[nodiscard]] static jint takeDialogAnswer(jint textId);
    // Through the closing transition to a state.
    static void transitionToState(jint state);
    // Level n (and its alternate-player flag) loaded through the closing transition, then play.
    static void transitionToLevel(jint level);
    static void startOpeningTransition();
    // Keys and taps act unless a choice is waiting for the closing half (or it runs): one action
    // at a time. The opening half takes them.
    [[nodiscard]] static bool screenTakesInput();
    // The interface player (the title picture) on animation anim at the picture's centre, advanced
    // by the frame time and drawn with the sprite's palette.
    static void paintTitlePicture(jint anim, jint palette);
    // The transition shutters while a half runs.
    static void paintTransition();
    // A black or white fill of the whole screen, clip reset first.
    static void fillScreen(jint rgb);
    // The highest level reached (save byte 7), -1 none or without a save.
    [[nodiscard]] static jint highestLevelReached();
    // Writes one save record byte and stores the record.
    static void saveRecordByte(jint index, jint value);
    // The music switch: on starts the title music, off stops channel 0 first (the stop needs the
    // switch still on). Effects follow the same switch where the screens say so.
    static void setMusic(bool on);

    // --- end of front-end screens ---
    // --- touch input and heads-up display (cgame_touch*.cpp, cgame_hud*.cpp) ---
    // The pointer handlers (host thread, under the game lock) only record the finger; once a frame,
    // before the screen's update, updateTouchInput turns the record into synthetic key events.
    // Pointer points are portrait screen coordinates; hit boxes are sprite frame rectangles measured
    // through the rotated painter (ASprite::GetFrameRect), so both sides compare in the same space.

    static void registerActorView(const ActorView* view);
    static void updateTouchInput();
    static void releaseTouchButton();
    static void setTouchLayout(jint layout);
    // Strict: a point on the border is outside.
    [[nodiscard]] static bool isPointInRect(jint px, jint py, jint x0, jint y0, jint x1, jint y1);
    [[nodiscard]] static bool isPointInBox(jint px, jint py, jint x, jint y, jint w, jint h);
    // v between a and b, both ends included, whichever is larger.
    [[nodiscard]] static bool isInRange(jint a, jint b, jint v);
    // The layouts' hit boxes from the touch-button sprite (once; the play screen's first entry).
    static void buildTouchLayoutRects(Bsprite* touchSprite);
    // The layout tables; part of cGame's static initialisation.
    static void initTouchLayouts();
    // The screen boxes the step hit-tests ({minX, minY, maxX, maxY} into rect); false when the sprite
    // that measures them is missing. Row i of a list of `rows` rows centred on landscape y `centre`;
    // the scroll arrows (0 up, 1 down) of that list; a question's answer (0 the first, 1 the second)
    // for a text of height h; a picture page's arrow (0 left, 1 right).
    static bool menuRowRect(IntArray* rect, jint centre, jint rows, jint i);
    static bool menuArrowRect(IntArray* rect, jint centre, jint arrow);
    static bool dialogAnswerRect(IntArray* rect, jint textHeight, jint answer);
    static bool pageArrowRect(IntArray* rect, jint arrow);

    // The step's parts: a point in a box; a synthetic tap of a device key (press then release); the
    // hero's lives (0 without a hero); the screens' handling; a layout's button key (0 none).
    [[nodiscard]] static bool touchInRect(IntArray* rect);
    static void touchTap(jint keyCode);
    [[nodiscard]] static jint touchHeroLives();
    static void touchMenuRows(jint state);
    static void touchPageArrows();
    static void touchPlayButtons();
    [[nodiscard]] static jint touchButtonKey(jint layout, jint button);


    // The heads-up display over the play scene; reads the registered values, changes only its clock.
    static void paintHud();
    // A number with the digit glyphs of font 0, right-aligned on x (thousands separators included).
    static void drawDigitString(jint number, jint x, jint y);
    static constexpr jint kHudCountLiteral = 196, kHudEnergyLiteral = 197;
    // --- end of touch input and heads-up display ---
    // --- Stepwise loader (cgame_loader*.cpp, cgame_sound_bank.cpp): state 4 loads one step a frame
    // behind a progress bar, then requests its target state. Kinds: 0 what the menus need (10 steps),
    // 1 a level (53), 2 the level's release (4), 3 no run. Every pack item read is checked: a missing
    // or malformed one is logged with its pack and item; a level that cannot load ends the run, is
    // released and the game goes back to the main menu with a message box. ---
    // Sets the kind and target of the next run and requests state 4; the screens start runs with it.
    static void requestLoading(jint kind, jint target);
    // A run of kind s_loadKind from its first step (kind 3 keeps the step count it had).
    static void startLoading();
    // When the run's last step is done: its target is requested, the run ends; true then.
    static bool finishLoading();
    // Step s_loadStep of the run's kind; then the next step, or done after the last.
    static void loadStep();
    static void stateLoading(cGame* game, jint message);
    // The sound content types, the engine set up for 17 sounds, and every sound it lacks while the
    // engine is enabled (the players' switches do not matter: they can be turned on later).
    static void loadSoundBank();
    // The tile sprites of the level's layers 0, 2, 3, 4 from the open tile pack (layers 3 and 4 share
    // layer 2's, or 4 shares 3's, when the items are equal).
    static void loadLevelSprites();
    // p of the progress bar for the current step: min(step x 667 / count, 667); 0 without steps.
    [[nodiscard]] static jint loadProgress();
    // Sprites 7, 16, 18, 25 and 33 stay loaded for the whole game.
    [[nodiscard]] static bool isPermanentSprite(jint n);
    // Opens and closes the main pack, taking the actors' behaviour index and type-to-sprite map.
    static void openMainPack();

    // Every service unregistered, and the names already logged as missing forgotten.
    static void resetLevelServices();

    // --- end of stepwise loader ---
    // --- The in-play screens (cgame_scene_paint.cpp, cgame_screen_pause.cpp, cgame_screen_info.cpp,
    // cgame_screen_loss.cpp, cgame_screen_level_end.cpp; play itself in cgame_state_play.cpp). They
    // paint the frozen level under them with paintGameScene. ---
    static constexpr jint kMenuNumberPause = 2, kMenuNumberSoundInGame = 3;
    static void statePauseMenu(cGame* game, jint message);
    static void stateSoundMenuInGame(cGame* game, jint message);
    static void stateInfoPages(cGame* game, jint message);
    static void stateHeroLost(cGame* game, jint message);
    static void stateLossMenu(cGame* game, jint message);
    static void stateLevelEnd(cGame* game, jint message);
    // The level statistics into results: seconds, the time bonus (never negative), the total, and
    // everything but the time scaled by the difficulty.
    static void computeLevelResults();
    // The background cache drawn anew at the next scene (a level load starts), or dropped (a level
    // is left); both are the loader's level services, registered by registerScenePainter.
    static void redrawSceneCache();
    static void dropSceneCache();
    static void registerScenePainter();
    // --- end of the in-play screens ---
    // --- The promotion screen state (cgame_state_igp.cpp) ---
    static void stateIGP(cGame* game, jint message);
    // The promotion's action code of a released game key (0 for none).
    [[nodiscard]] static jint promotionAction(jint key);
    // The promotion's data, read by the game-start load for the landscape picture it paints.
    static void initPromotion();
    // The promotion's available entries (the menus offer it only when there are some).
    [[nodiscard]] static jint promoEntryCount();
    // --- end of the promotion screen state ---
};
