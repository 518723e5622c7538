// The level start and the checkpoint in the save buffer, and the checkpoint restored into a rebuilt
// level. The checkpoint stays in memory (only the record's 11 bytes are ever stored), so it is valid
// only for the level that wrote it in this run; the writer never writes past the buffer: a level
// whose actors would not fit gets no checkpoint. Camera bounds are kept whole, as ints.
#include "actors/cactor.h"
#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/log.h"

namespace {

constexpr jint kSettingByte = 10, kHighestLevelByte = 7;
constexpr jint kZoneHeldState = 194;
// The largest level table fits: its checkpoint can always be written.
static_assert(cGame::kCheckpointTriggerFlags + 127 + cGame::kCheckpointFixedBytes + cGame::kActorTableSize * 20 <=
              cGame::kSaveBufferSize);

cHero* hero() {
    cActor* h = cGame::s_hero;
    return h && h->classId() == CID_cHero ? static_cast<cHero*>(h) : nullptr;
}

jint triggerFlagCount() { return cGame::s_triggerFlags ? cGame::s_triggerFlags->length : 0; }

// The offset of the hero's movement byte: after the trigger flags.
jint heroOffset() { return cGame::kCheckpointTriggerFlags + triggerFlagCount(); }

void writeCheckpointArea(ByteArray* buf) {
    jint at = cGame::kCheckpointTriggerFlags;
    for (jint i = 0; i < triggerFlagCount(); ++i) at = cGame::putByte(buf, at, cGame::s_triggerFlags->get(i));
    cHero* h = hero();
    at = cGame::putByte(buf, at, cHero::s_basicMode ? 1 : 0);
    at = cGame::putShortLE(buf, at, cHero::s_gunEnergy);
    at = cGame::putByte(buf, at, h ? h->energy : 0);
    at = cGame::putShortLE(buf, at, cGame::s_cameraZone ? cGame::s_cameraZone->id : 0);
    for (jint bound : {cGame::s_cameraMinX, cGame::s_cameraMaxX, cGame::s_cameraMinY, cGame::s_cameraMaxY})
        at = cGame::putIntLE(buf, at, bound);
    for (jint i = 0; i < cGame::s_actorCount; ++i)
        if (cActor* a = cGame::actorAt(i)) at = a->saveState(buf, at);
}

// Actors made at run time have no record: they go before the records are read back. A removal
// moves the last entry into the freed slot and sorts again, so the walk starts over after each.
void removeSpawnedActors() {
    for (bool removed = true; removed;) {
        removed = false;
        for (jint i = 0; i < cGame::s_actorCount; ++i) {
            cActor* a = cGame::actorAt(i);
            if (a && (a->flags & cActor::kFlagSpawned)) {
                cGame::removeActor(a);
                removed = true;
                break;
            }
        }
    }
}

}  // namespace

jlong cGameSave::checkpointBytes() {
    jlong bytes = jlong{heroOffset()} + cGame::kCheckpointFixedBytes;
    for (jint i = 0; i < cGame::s_actorCount; ++i)
        if (cActor* a = cGame::actorAt(i)) bytes += a->saveStateBytes();
    return bytes;
}

void cGameSave::writeSaveBuffer(jint checkpoint) {
    ByteArray* buf = s_saveBuffer;
    BX_RETURN_IF_NULL(buf);
    if (buf->length < kSaveRecordSize) return;
    if (checkpoint > 0 && checkpointBytes() > buf->length) {
        Log::warn("checkpoint %d: the level's actors need %lld bytes, the save buffer holds %d; no checkpoint kept",
                  checkpoint, static_cast<long long>(checkpointBytes()), buf->length);
        checkpoint = 0;
    }
    (void)cGame::putShortLE(buf, kCheckpointIdByte, checkpoint);
    (void)cGame::putByte(buf, kSettingByte, s_difficulty);
    if (checkpoint > 0) return writeCheckpointArea(buf);
    if (cGame::s_level > buf->get(kHighestLevelByte)) (void)cGame::putByte(buf, kHighestLevelByte, cGame::s_level);
}

void cGameSave::restoreCheckpoint() {
    ByteArray* buf = s_saveBuffer;
    BX_RETURN_IF_NULL(buf);
    if (static_cast<jshort>(cGame::getShortLE(buf, kCheckpointIdByte)) < 1) return;
    for (jint i = 0; i < cGame::triggerCount(); ++i) cGame::releaseTrigger(i);
    BX_RETURN_IF_PENDING();
    cGame::resetLevelState(false);
    cActor::clearList(cActor::kListUpdate);
    cActor::clearList(cActor::kListWake);
    for (jint i = 0; i < triggerFlagCount(); ++i)
        cGame::s_triggerFlags->set(i, static_cast<jbyte>(cGame::getByte(buf, kCheckpointTriggerFlags + i)));
    removeSpawnedActors();
    jint at = heroOffset();
    cHero::s_basicMode = cGame::getByte(buf, at) == 1 ? 1 : 0;
    if (cHero* h = hero()) {
        h->behaviourId = 0;
        h->setState(0);
        BX_RETURN_IF_PENDING();
    }
    cHero::s_gunEnergy = static_cast<jshort>(cGame::getShortLE(buf, at + 1));
    if (cHero* h = hero()) h->energy = cGame::getByte(buf, at + 3);
    cGame::s_cameraZone = nullptr;
    const jint zoneId = static_cast<jshort>(cGame::getShortLE(buf, at + 4));
    cActor* zone = cGame::findActorById(zoneId);
    cGame::setCameraBounds(cGame::getIntLE(buf, at + 6), cGame::getIntLE(buf, at + 14), cGame::getIntLE(buf, at + 10),
                           cGame::getIntLE(buf, at + 18));
    at += kCheckpointFixedBytes;
    for (jint i = 0; i < cGame::s_actorCount; ++i) {
        cActor* a = cGame::actorAt(i);
        if (!a) continue;
        if (jlong{at} + a->saveStateBytes() > buf->length) break;  // never read past the buffer
        at = a->loadState(buf, at);
        BX_RETURN_IF_PENDING();
    }
    if (cActor* h = cGame::s_hero) cGame::setCameraTarget(h, true);
    cGame::s_cameraSnap = 1;
    if (cActor* followed = cGame::s_cameraFollow) followed->state = 0;
    cGame::updateCamera();
    if (zone) {
        cGame::s_cameraZone = zone;
        zone->state = kZoneHeldState;
    }
    cGame::s_cameraSnap = 1;
    cGame::s_cameraLock = 0;
    cGame::updateCamera();
}
