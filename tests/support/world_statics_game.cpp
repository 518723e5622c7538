// The world of the tests that link the whole game: the library's statics, the sprite engine's,
// every static of cGame's bases, and the promotion's.
#include "game/cgame.h"
#include "sprites/asprite.h"
#include "sprites/bxlib_player.h"
#include "tests/promo/promotion_statics.h"
#include "tests/support/test_world.h"

void resetWorldStatics() {
    resetLibraryStatics();
    ASprite::resetStatics();
    BXLibPlayer::resetStatics();
    cGame::resetAllStatics();
    resetPromotionStatics();
}
