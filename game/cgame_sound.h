// cGame's sound requests: what channel 1 plays, the last request, and the music a trigger chose.
// cGame derives from cGameSound, so `cGame::s_x` names them; the code that uses them is cGame's.
#pragma once

#include "runtime/jtypes.h"

struct cGameSound {
    // Every static below back to its start value.
    static void resetStatics();
    static constexpr jint kSoundCount = 17;
    static jint s_currentSfx;           // the effect last started on channel 1, -1 none; 12 is sticky
    static jint s_lastSound;            // the last id any request played
    static jint s_levelMusicOverride;   // music a trigger chose for the level, while the flag is set
    static jbyte s_levelMusicOverrideOn;
};
