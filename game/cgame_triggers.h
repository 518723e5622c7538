// cGame's level trigger scripts: numbered lists of commands (camera, an actor, an actor the command
// brings into play, or none), each a timeline of entries run one game step a frame once fired.
// cGame derives from cGameTriggers, so `cGame::s_x` names them; the code that uses them is cGame's.
// Invariant: the four tables are null or all sized by the loaded trigger count; every command array
// was walked whole at load (its counts, actions and end inside the item), and its last two bytes
// hold a resume position inside it, so a run never reads outside a command.
#pragma once

#include "runtime/jtypes.h"

class ByteArray;
class ObjectArray;
class ShortArray;

struct cGameTriggers {
    static constexpr jint kTriggerIdle = -1, kTriggerReleased = -2;
    static constexpr jint kTriggerFiredBit = 1, kTriggerWasReleasedBit = 4;
    static constexpr jint kOpCamera = 1, kOpActor = 2, kOpSpawned = 3;
    static constexpr jint kMsgScriptHeld = 28, kMsgScriptReleased = 25;
    // A resume position is 16 bits: a command longer than this is refused at load.
    static constexpr jint kMaxCommandBytes = 0x7FFF - 2;
    // Sprite slots the loader's 64-bit mask can name.
    static constexpr jint kSpriteSlots = 64;

    // The level's trigger item into the tables; all times idle, all flags 0. A malformed item is
    // logged and the level plays without scripts (no triggers).
    static void loadTriggerScripts(ByteArray* data);
    // The sprite slots of the spawn commands into the loader's mask of the sprites the level needs.
    static void markTriggerSprites();
    // The argument bytes after an action code; a code the game does not know takes none.
    [[nodiscard]] static jint triggerActionArgumentBytes(jint code);
    // The whole item checked without building anything; the reason and byte of the first fault.
    [[nodiscard]] static bool checkTriggerScripts(ByteArray* data, const char** why, jint* at);
    // Every time idle and every flag 0 (a level restart).
    static void resetTriggerStates();
    [[nodiscard]] static jint triggerCount();
    // The index of the first trigger with this id, -1 when none.
    [[nodiscard]] static jint findTriggerById(jint id);
    static void activateTrigger(jint i);
    // The trigger of an id that no actor holds, fired when it is not running.
    static void fireTriggerById(jint id);
    // One frame of every running trigger; answers (and keeps in s_runningTriggers) how many ran.
    static jint runTriggerScripts();
    static void releaseTrigger(jint i);
    // The trigger and checkpoint entry points put into cGame::s_levelServices (a start-up step).
    static void registerLevelServices();
    static void resetStatics();

    static ShortArray* s_triggerIds;
    static ObjectArray* s_triggerCommands;  // per trigger an Object[C] of command byte arrays
    static ShortArray* s_triggerTime;       // -1 idle, >= 0 frames run, -2 released
    static ByteArray* s_triggerFlags;       // bit 0 fired, bit 2 released at least once
};
