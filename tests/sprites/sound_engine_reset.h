// Test helper: the sound engine's statics back to their state before SndInit (disabled, no tables)
// and the game's paused flag clear. Call it before the heaps go, so no static points into them.
#pragma once

#include "sprites/bxlib_player.h"
#include "sprites/cgame_packs.h"

inline void resetSoundEngine() {
    using B = BXLibPlayer;
    B::s_sndEnabled = false;
    B::s_sndThreadRunning = false;
    B::s_sndMasterVolume = 0;
    B::s_sndCount = 0;
    B::s_sndData = B::s_sndPrefetched = B::s_chPlayer = nullptr;
    B::s_sndType = B::s_chSound = B::s_chPriority = B::s_chState = B::s_chVolume = B::s_chLoops = nullptr;
    B::s_sndQueue = B::s_sndQueueHead = B::s_sndQueueCount = B::s_sndScratch = nullptr;
    cGamePacks::s_paused = 0;
}
