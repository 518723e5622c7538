// libFuzzer target for level trigger scripts over untrusted bytes. Invariants checked: nothing stays
// pending; an item the check refuses leaves no trigger; an accepted one, every trigger fired and run
// for 40 frames over a few level actors (ids 1..8, so scripts reach some of them), reads and writes
// only inside its commands (ASan), and every command keeps its resume position inside itself.
#include "actors/cactor.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"
#include "tests/fuzz/fuzz_heaps.h"
#include "tests/support/actor_statics.h"

namespace {

// The level's records stay in cGame::s_levelRecords (a root) for every run.
bool start() {
    startFuzzHeaps();
    buildActorStatics();
    BXLibPlayer::SndInit(cGame::kSoundCount);
    cGame::s_sfxOn = true;
    cGame::s_viewRect = Runtime::newIntArray(4);
    // Eight plain actors of seven values each: type 4, ids 1..8, spread along a row.
    ByteArray* records = Runtime::newByteArray(8 * 15);
    for (jint i = 0; records && i < 8; ++i) {
        const jint values[] = {4, i + 1, 100 * i, 200, 0, 0, 0};
        records->set(15 * i, 7);
        for (jint k = 0; k < 7; ++k) (void)cGame::putShortLE(records, 15 * i + 1 + 2 * k, values[k]);
    }
    cGame::s_levelRecords = records;
    return records != nullptr;
}

void checkResumePositions() {
    for (jint t = 0; t < cGame::triggerCount(); ++t) {
        auto* commands = static_cast<ObjectArray*>(cGame::s_triggerCommands->get(t));
        for (jint c = 0; commands && c < commands->length; ++c) {
            auto* command = static_cast<ByteArray*>(commands->get(c));
            const jint resume = cGame::getShortLE(command, command->length - 2) & 0xFFFF;
            if (resume < 4 || resume > command->length - 2) __builtin_trap();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = start();
    if (!started) return 0;
    ByteArray* bytes = fuzzBytes(data, size);
    if (!bytes) return 0;
    cGame::spawnLevelActors();
    const char* why = nullptr;
    jint at = 0;
    const bool accepted = cGame::checkTriggerScripts(bytes, &why, &at);
    cGame::loadTriggerScripts(bytes);
    if (Runtime::getPendingException()) __builtin_trap();
    if (!accepted && cGame::triggerCount() != 0) __builtin_trap();
    for (jint i = 0; i < cGame::triggerCount(); ++i) cGame::activateTrigger(i);
    for (int frame = 0; frame < 40; ++frame) {
        (void)cGame::runTriggerScripts();
        if (frame == 20) (void)cGame::wakeActorById(cGame::triggerCount() > 0 ? cGame::s_triggerIds->get(0) : 1);
        if (Runtime::getPendingException()) __builtin_trap();
        checkResumePositions();
    }
    for (jint i = 0; i < cGame::triggerCount(); ++i) cGame::releaseTrigger(i);
    cGame::clearActorTable();
    if (Runtime::getPendingException()) __builtin_trap();
    return 0;
}
