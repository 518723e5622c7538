// The trigger tables: the level's trigger item read into them, their reset, the look-up by id and
// the services the loader and the actors reach them through. The item is level data: it is walked
// whole before anything is built (counts not negative, every action inside the item, commands short
// enough for a 16-bit resume position, spawn slots inside the loader's mask), and a faulty item
// leaves the level without scripts rather than with part of them.
#include "game/cgame_triggers.h"

#include <algorithm>

#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/log.h"
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"
#include "runtime/system_natives.h"

ShortArray* cGameTriggers::s_triggerIds = nullptr;
ObjectArray* cGameTriggers::s_triggerCommands = nullptr;
ShortArray* cGameTriggers::s_triggerTime = nullptr;
ByteArray* cGameTriggers::s_triggerFlags = nullptr;

namespace {

const StaticRefRegistration kStatics(CID_cGame, &cGameTriggers::s_triggerIds, &cGameTriggers::s_triggerCommands,
                                     &cGameTriggers::s_triggerTime, &cGameTriggers::s_triggerFlags);

// A bounded little-endian walk over the item; the first fault is kept and every read after it fails.
struct ScriptWalk {
    ByteArray* data;
    jint at = 0;
    const char* fault = nullptr;
    jint faultAt = 0;

    bool fail(const char* why, jint where) {
        if (!fault) {
            fault = why;
            faultAt = where;
        }
        return false;
    }
    bool has(jint n) { return fault == nullptr && (jlong{at} + n <= data->length || fail("it runs past the end", at)); }
    jint u8() { return has(1) ? data->get(at++) & 0xFF : 0; }
    jint s8() { return has(1) ? data->get(at++) : 0; }
    jint s16() {
        if (!has(2)) return 0;
        const jint v = static_cast<jshort>((data->get(at) & 0xFF) | (data->get(at + 1) & 0xFF) << 8);
        at += 2;
        return v;
    }
    void skip(jint n) {
        if (has(n)) at += n;
    }
};

// One command from its opcode to the end of its last entry; false at the first fault.
bool walkCommand(ScriptWalk& in) {
    const jint start = in.at;
    const jint op = in.u8();
    in.skip(1);
    if (op == cGame::kOpActor || op == cGame::kOpSpawned) {
        const jint subject = in.s16();
        if (op == cGame::kOpSpawned && (subject < 0 || subject >= cGame::kSpriteSlots))
            return in.fail("a spawn command names a sprite slot outside 0..63", start);
    }
    const jint entries = in.s16();
    if (entries < 0) return in.fail("a negative entry count", start);
    for (jint e = 0; e < entries && !in.fault; ++e) {
        const jint entryAt = in.at;
        in.skip(2);
        const jint actions = in.s8();
        if (actions < 0) return in.fail("a negative action count", entryAt);
        for (jint k = 0; k < actions && !in.fault; ++k) in.skip(cGame::triggerActionArgumentBytes(in.u8()));
    }
    if (in.fault) return false;
    if (in.at - start > cGame::kMaxCommandBytes) return in.fail("a command too long for its resume position", start);
    return true;
}

jint firstEntryOffset(jint op) { return op == cGame::kOpActor || op == cGame::kOpSpawned ? 6 : 4; }

void addToSpriteMask(jint slot) { cGame::s_spriteMask[slot >> 5] |= jt::shl(1, slot & 31); }

template <class F>
void forEachSpawnCommand(F f) {
    for (jint t = 0; t < cGame::triggerCount(); ++t) {
        auto* commands = static_cast<ObjectArray*>(cGame::s_triggerCommands->get(t));
        for (jint c = 0; commands && c < commands->length; ++c) {
            auto* command = static_cast<ByteArray*>(commands->get(c));
            if (command && (command->get(0) & 0xFF) == cGame::kOpSpawned) f(command);
        }
    }
}

// Empty tables: a level without scripts.
void dropTables() {
    cGame::s_triggerIds = Runtime::newShortArray(0);
    cGame::s_triggerCommands = Runtime::newObjectArray(CID_ObjectArray, 0);
    cGame::s_triggerTime = Runtime::newShortArray(0);
    cGame::s_triggerFlags = Runtime::newByteArray(0);
}

}  // namespace

jint cGameTriggers::triggerActionArgumentBytes(jint code) {
    switch (code) {
        case 22:
        case 42:
            return 1;
        case 32:
        case 37:
            return 2;
        case 11:
        case 12:
        case 21:
        case 31:
        case 41:
        case 23:
        case 24:
        case 43:
        case 44:
        case 34:
        case 38:
            return 4;
        case 35:
        case 39:
            return 6;
        case 36:
            return 8;
        default:
            return 0;
    }
}

bool cGameTriggers::checkTriggerScripts(ByteArray* data, const char** why, jint* at) {
    *why = "there is no item";
    *at = 0;
    if (!data) return false;
    ScriptWalk in{data};
    const jint n = in.s8();
    if (n < 0) in.fail("a negative trigger count", 0);
    for (jint t = 0; t < n && !in.fault; ++t) {
        in.skip(2);
        const jint commands = in.u8();
        in.skip(2);
        for (jint c = 0; c < commands && !in.fault; ++c) (void)walkCommand(in);
    }
    *why = in.fault;
    *at = in.faultAt;
    return in.fault == nullptr;
}

void cGameTriggers::loadTriggerScripts(ByteArray* data) {
    const char* why = nullptr;
    jint faultAt = 0;
    if (!checkTriggerScripts(data, &why, &faultAt)) {
        Log::warn("triggers: the level's trigger scripts are malformed (%s at byte %d); it plays without them", why,
                  faultAt);
        return dropTables();
    }
    ScriptWalk in{data};
    const jint n = in.s8();
    // Built aside and put in place whole (the stack keeps the pieces alive meanwhile): a heap that
    // runs out leaves the level without scripts, never with tables of different sizes.
    dropTables();
    ShortArray* ids = Runtime::newShortArray(n);
    ObjectArray* all = Runtime::newObjectArray(CID_ObjectArray, n);
    BX_RETURN_IF_NULL(ids);
    BX_RETURN_IF_NULL(all);
    for (jint t = 0; t < n; ++t) {
        ids->set(t, static_cast<jshort>(in.s16()));
        const jint count = in.u8();
        in.skip(2);
        ObjectArray* commands = Runtime::newObjectArray(CID_ByteArray, count);
        BX_RETURN_IF_NULL(commands);
        all->set(t, commands);
        for (jint c = 0; c < count; ++c) {
            const jint start = in.at;
            const jint op = data->get(start) & 0xFF;
            const jint slot = op == kOpSpawned ? cGame::getShortLE(data, start + 2) : 0;
            (void)walkCommand(in);
            ByteArray* command = Runtime::newByteArray(in.at - start + 2);
            BX_RETURN_IF_NULL(command);
            java_lang_System::arraycopy(data, start, command, 0, in.at - start);
            if (op == kOpSpawned) {
                // The slot moves to the unused byte 1; bytes 2..3 hold the id of the actor the
                // command brings into play, none yet.
                command->set(1, static_cast<jbyte>(slot));
                (void)cGame::putShortLE(command, 2, 0);
            }
            cGame::putShortLE(command, command->length - 2, firstEntryOffset(op));
            commands->set(c, command);
        }
    }
    s_triggerIds = ids;
    s_triggerCommands = all;
    resetTriggerStates();
    markTriggerSprites();
}

void cGameTriggers::markTriggerSprites() {
    forEachSpawnCommand([](ByteArray* command) { addToSpriteMask(command->get(1) & 0xFF); });
}

void cGameTriggers::resetTriggerStates() {
    const jint n = triggerCount();
    ShortArray* times = Runtime::newShortArray(n);
    ByteArray* flags = Runtime::newByteArray(n);
    BX_RETURN_IF_NULL(times);
    BX_RETURN_IF_NULL(flags);
    for (jint i = 0; i < n; ++i) times->set(i, static_cast<jshort>(kTriggerIdle));
    s_triggerTime = times;
    s_triggerFlags = flags;
    // The actors spawn commands brought into play went with the level's actors: their ids are stale.
    forEachSpawnCommand([](ByteArray* command) { (void)cGame::putShortLE(command, 2, 0); });
}

jint cGameTriggers::triggerCount() {
    return s_triggerIds && s_triggerCommands ? std::min(s_triggerIds->length, s_triggerCommands->length) : 0;
}

jint cGameTriggers::findTriggerById(jint id) {
    for (jint i = 0; i < triggerCount(); ++i)
        if (s_triggerIds->get(i) == id) return i;
    return -1;
}

void cGameTriggers::fireTriggerById(jint id) {
    const jint i = findTriggerById(id);
    if (i >= 0 && s_triggerTime && s_triggerTime->get(i) < 0) activateTrigger(i);
}

void cGameTriggers::registerLevelServices() {
    cGame::LevelServices& s = cGame::s_levelServices;
    s.resetTriggers = &cGame::resetTriggerStates;
    s.loadTriggerScripts = &cGame::loadTriggerScripts;
    s.runTriggerScripts = &cGame::runTriggerScripts;
    s.fireTrigger = &cGame::fireTriggerById;
    s.writeSaveBuffer = &cGame::writeSaveBuffer;
    s.restoreCheckpoint = &cGame::restoreCheckpoint;
}

namespace {

const StaticInitRegistration kServices("cGame trigger services", &cGameTriggers::registerLevelServices);

const StaticStartValues kStartValues(&cGameTriggers::s_triggerIds, &cGameTriggers::s_triggerCommands,
                                     &cGameTriggers::s_triggerTime, &cGameTriggers::s_triggerFlags);

}  // namespace

void cGameTriggers::resetStatics() { kStartValues.restore(); }
