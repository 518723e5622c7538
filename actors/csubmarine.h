// cSubmarine (class id 122, extends cActor): the vehicle the hero can board. Its driving comes with
// the vehicle's own code; here it holds its fields and the air statics the heads-up display reads.
// Invariant: heading stays in 0..255.
#pragma once

#include "actors/cactor.h"

class cSubmarine : public cActor {
public:
    cSubmarine() { setClassId(CID_cSubmarine); }
    [[nodiscard]] static cSubmarine* create(ShortArray* params);
    // Also the engine's thrust.
    void stopMotion() override;

    jint thrust;
    jint heading;
    jint course;
    jint hull;

    // A level segment met this frame and its direction, for the bounce.
    static jbyte s_wallHit;
    static jint s_wallX, s_wallY;
    static jint s_airMs;
    static jint s_airMaxMs;
};
