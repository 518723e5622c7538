// cSubmarine's construction, its air statics and its stopMotion.
#include "actors/csubmarine.h"

#include "runtime/compiled.h"
#include "runtime/static_class.h"
#include "sprites/bxlib_player.h"

jint cSubmarine::s_airMs = 0;
jint cSubmarine::s_airMaxMs = 0;
jbyte cSubmarine::s_wallHit = 0;
jint cSubmarine::s_wallX = 0;
jint cSubmarine::s_wallY = 0;
BXLibPlayer* cSubmarine::s_enginePlayer = nullptr;

namespace {
const StaticRefRegistration kStatics(CID_cSubmarine, &cSubmarine::s_enginePlayer);
}  // namespace

cSubmarine* cSubmarine::create(ShortArray* params) {
    cSubmarine* s = Runtime::make<cSubmarine>();
    BX_RETURN_IF_NULL(s, nullptr);
    s->initFromParams(36, params);
    s->addToList(kListLevel);
    return s;
}

void cSubmarine::stopMotion() {
    cActor::stopMotion();
    thrust = 0;
    behaviourSpeed = 0;
}
