// cGame's stepwise loader: the run's kind, step and progress, the services later subsystems register,
// and what a level load leaves for the level.
// cGame derives from cGameLoader, so `cGame::s_x` names them; the code that uses them is cGame's.
#pragma once

#include "game/cgame_text_ids.h"
#include "runtime/jtypes.h"

class Bsprite;
class ByteArray;
class IntArray;

struct cGameLoader {
    // Every static below back to its start value (no service registered, none logged as missing).
    static void resetStatics();
    static constexpr jint kLoadKindGameStart = 0, kLoadKindLevel = 1, kLoadKindUnload = 2, kLoadKindNone = 3;
    static constexpr jint kProgressBarLength = 667;   // portrait pixels at the end of a run
    static constexpr jint kLevelLoadFailedText = text_id::kLevelLoadFailed;  // the message box after a level failed to load
    static constexpr jint kMainPackLiteral = 283;
    // What later subsystems do for a level load, registered by them. A service not registered yet
    // is logged once by its name and its step does nothing else.
    struct LevelServices {
        void (*redrawSceneCache)();              // the play scene's cache drawn anew
        void (*dropSceneCache)();                // the previous level's scene cache image
        void (*clearFrameCaches)();              // frame caches, effect buffers and image tables
        void (*buildFrameCaches)();              // the work buffer and frame caches (alternate-player levels)
        void (*resetTriggers)();                 // the trigger tables
        void (*resetLevelCounters)();
        void (*loadTriggerScripts)(ByteArray* scripts);
        jint (*runTriggerScripts)();             // one step of the running triggers; its answer for the hero
        void (*fireTrigger)(jint id);            // the idle trigger of that id fired
        void (*writeSaveBuffer)(jint slot);      // the level start into the save buffer
        void (*restoreCheckpoint)();             // the checkpoint back into the rebuilt level
    };
    static LevelServices s_levelServices;
    static jint s_loadStep;        // the next step (0-based)
    static jint s_loadStepCount;
    static jbyte s_loading;        // a run is active
    static jbyte s_loadDone;       // its last step has been performed
    static jbyte s_levelLoaded;    // set by the level end: a level load must release the previous one
    static ByteArray* s_levelRecords;      // the level's actor records
    static jint s_spriteMask[2];           // sprites the level needs: bit i of [0] sprite i, of [1] 32 + i
    static jint s_levelWidth;              // level size in pixels
    static jint s_levelHeight;
    static Bsprite* s_touchSprite;         // the touch buttons, with their own module-image pool
    static IntArray* s_arcTable;           // 306 entries, a parabola 0..153..0 (alternate-player levels)
};
