// BXLibPlayer's two start-up steps: the plain statics of the animation player, the sound engine and
// the tile layers, then the class's spare tables. The player's time unit, the channel count and the
// layer count are compile-time constants of the class; the steps set what can change.
#include "runtime/array.h"
#include "runtime/static_class.h"
#include "sprites/bxlib_player.h"

bool BXLibPlayer::s_spareFlag;
IntArray* BXLibPlayer::s_spareInts;
Long64Array* BXLibPlayer::s_spareLongsA;
Long64Array* BXLibPlayer::s_spareLongsB;
Long64Array* BXLibPlayer::s_spareLongsC;
ObjectArray* BXLibPlayer::s_spareObjects;

namespace {

using B = BXLibPlayer;

const StaticRefRegistration kSpareStatics(CID_BXLibPlayer, &B::s_spareInts, &B::s_spareLongsA, &B::s_spareLongsB,
                                          &B::s_spareLongsC, &B::s_spareObjects);
const StaticInitRegistration kConstants("BXLibPlayer constants", &B::initConstants);
const StaticInitRegistration kArrays("BXLibPlayer arrays", &B::initArrays);

}  // namespace

void BXLibPlayer::initConstants() {
    s_sndEnabled = false;
    s_tilesEnabled = false;
    s_overlayBase = -1;
    s_overlayLayer = -1;
    s_overlayMode = 0;
}

void BXLibPlayer::initArrays() {
    s_spareFlag = false;
    s_spareInts = Runtime::newIntArray(kSpareLength);
    s_spareLongsA = Runtime::newLongArray(kSpareLength);
    s_spareLongsB = Runtime::newLongArray(kSpareLength);
    s_spareLongsC = Runtime::newLongArray(kSpareLength);
    s_spareObjects = Runtime::newObjectArray(CID_Object, kSpareLength);
}
