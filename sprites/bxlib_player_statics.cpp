// BXLibPlayer's two start-up steps: the plain statics of the animation player, the sound engine and
// the tile layers, then the class's spare tables. The player's time unit, the channel count and the
// layer count are compile-time constants of the class; the steps set what can change.
#include "runtime/array.h"
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"
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

namespace {

const StaticStartValues kStartValues(&BXLibPlayer::s_tilesEnabled, &BXLibPlayer::s_tileParams,
                                     &BXLibPlayer::s_layerRecords, &BXLibPlayer::s_layerPlanes,
                                     &BXLibPlayer::s_layerImages, &BXLibPlayer::s_layerGraphics,
                                     &BXLibPlayer::s_layerSprites, &BXLibPlayer::s_overlayBase,
                                     &BXLibPlayer::s_overlayLayer, &BXLibPlayer::s_overlayMode,
                                     &BXLibPlayer::s_sndEnabled, &BXLibPlayer::s_sndThreadRunning,
                                     &BXLibPlayer::s_sndMasterVolume, &BXLibPlayer::s_sndCount, &BXLibPlayer::s_sndData,
                                     &BXLibPlayer::s_sndType, &BXLibPlayer::s_sndPrefetched, &BXLibPlayer::s_chPlayer,
                                     &BXLibPlayer::s_chSound, &BXLibPlayer::s_chPriority, &BXLibPlayer::s_chState,
                                     &BXLibPlayer::s_chVolume, &BXLibPlayer::s_chLoops, &BXLibPlayer::s_sndQueue,
                                     &BXLibPlayer::s_sndQueueHead, &BXLibPlayer::s_sndQueueCount,
                                     &BXLibPlayer::s_sndScratch, &BXLibPlayer::s_spareFlag, &BXLibPlayer::s_spareInts,
                                     &BXLibPlayer::s_spareLongsA, &BXLibPlayer::s_spareLongsB,
                                     &BXLibPlayer::s_spareLongsC, &BXLibPlayer::s_spareObjects);

}  // namespace

void BXLibPlayer::resetStatics() { kStartValues.restore(); }
