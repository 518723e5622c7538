// The sound bank: the content types, the sound engine set up for the game's 17 sounds, and each
// sound read from the sounds pack and prefetched. Whether sounds load follows the engine's flag, not
// the player's switches: a player who turns sound on later hears every sound. A missing sound or one
// the platform cannot play ends the loading with a log line; the game goes on with what it has.
#include "game/cgame_loader_steps.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/log.h"
#include "sprites/bxlib_player.h"

namespace {

constexpr jint kSoundTypesLiteral = 153, kSoundPackLiteral = 154;
constexpr jint kSoundVolume = 100;

}  // namespace

void cGame::loadSoundBank() {
    using B = BXLibPlayer;
    packLoadArrays(Runtime::ldcString(kSoundTypesLiteral));
    BX_RETURN_IF_PENDING();
    if (!s_byteArrays) {
        Log::warn("loader: the sound content types (\"%s\") are missing or malformed",
                  loader::packName(kSoundTypesLiteral).c_str());
    }
    B::SndInit(kSoundCount);
    B::SndSetVolume(kSoundVolume);
    String* pack = Runtime::ldcString(kSoundPackLiteral);
    for (jint i = 0; i < kSoundCount && B::s_sndEnabled; ++i) {
        if (B::SndIsLoaded(i)) continue;
        packLoadSound(pack, i, true);
        if (Runtime::pending()) {
            Runtime::clearPendingException();
            Log::warn("loader: sound %d of pack \"%s\" cannot be played; the game goes on with %d sounds", i,
                      loader::packName(pack).c_str(), i);
            break;
        }
        if (!B::SndIsLoaded(i)) {
            loader::logBadItem(loader::packName(pack), i, "the game goes on without it and the sounds after it");
            break;
        }
    }
    packClose();
}
