// An actor's checkpoint record: flags, paramFlags, x, y (4 bytes each, little-endian), the angle's
// low 16 bits and, with a player, its animation's (not restored: the next state chooses one).
// Actors made at run time have none, so writer and reader stay aligned over the level's own actors.
#include "actors/cactor.h"

#include "game/cgame.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"

jint cActor::saveStateBytes() const { return (flags & kFlagSpawned) ? 0 : player ? 20 : 18; }

jint cActor::saveState(ByteArray* buffer, jint offset) {
    if (flags & kFlagSpawned) return offset;
    offset = cGame::putIntLE(buffer, offset, flags);
    offset = cGame::putIntLE(buffer, offset, paramFlags);
    offset = cGame::putIntLE(buffer, offset, x);
    offset = cGame::putIntLE(buffer, offset, y);
    offset = cGame::putShortLE(buffer, offset, angle);
    if (player) offset = cGame::putShortLE(buffer, offset, player->anim);
    return offset;
}

jint cActor::loadState(ByteArray* buffer, jint offset) {
    if (flags & kFlagSpawned) return offset;
    const jint f = cGame::getIntLE(buffer, offset);
    paramFlags = cGame::getIntLE(buffer, offset + 4);
    x = cGame::getIntLE(buffer, offset + 8);
    y = cGame::getIntLE(buffer, offset + 12);
    angle = cGame::getShortLE(buffer, offset + 16);
    if (player) player->flags = (player->flags & ~kFlagFlips) | (f & kFlagFlips);
    if (!(f & kFlagKilled)) {
        flags = f;
        if (f & kFlagActive) {
            flags &= ~kFlagActive;
            activate();
        }
    }
    flags = f;
    if ((f & kFlagActive) && !isInList(kListUpdate)) flags &= ~kFlagActive;
    return offset + (player ? 20 : 18);
}
