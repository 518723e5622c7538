// Sounds from a resource pack: the item index is the sound index, the item's kind byte its content
// type (an index into the byte-array pack). Also the game core's paused flag, which the sound engine
// reads before and after preparing a play.
#include "runtime/array.h"
#include "sprites/bxlib_player.h"
#include "sprites/cgame_packs.h"

jbyte cGamePacks::s_paused;

void cGamePacks::packLoadSound(String* pack, jint item, bool prefetch) {
    if (!BXLibPlayer::s_sndEnabled || item < 0) return;
    packOpen(pack);
    ByteArray* data = packReadData(item);
    if (!data) return;
    BXLibPlayer::SndLoadSound(data, s_packItemKind, item, prefetch);
}
