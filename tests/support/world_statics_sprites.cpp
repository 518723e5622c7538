// The sprite tests' world: the library's statics, the sprite and animation engine's, and the pack
// and drawing statics the game's class keeps in this layer.
#include "sprites/asprite.h"
#include "sprites/bxlib_player.h"
#include "sprites/cgame_draw.h"
#include "sprites/cgame_packs.h"
#include "tests/support/test_world.h"

void resetWorldStatics() {
    resetLibraryStatics();
    ASprite::resetStatics();
    BXLibPlayer::resetStatics();
    cGamePacks::resetStatics();
    cGameDraw::resetStatics();
}
