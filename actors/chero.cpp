// cHero's construction, its class statics and the per-frame zone reset. Its update, messages,
// contacts and control come with the hero's own code; the set-up event gives it behaviour table 0.
#include "actors/chero.h"

#include <climits>

#include "game/cgame.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/static_class.h"

jint cHero::s_gunEnergy = 1500;
jint cHero::s_specialShots = 0;
jint cHero::s_lives = 4;
jint cHero::s_savedEnergy = 0;
jint cHero::s_aimIndex = 0;
cActor* cHero::s_shotEffect = nullptr;
jbyte cHero::s_basicMode = 0;
bool cHero::s_godMode = false;

namespace {
const StaticRefRegistration kStatics(CID_cHero, &cHero::s_shotEffect);
}  // namespace

void cHero::init() {
    cActor::init();
    invulnerableMs = -1;
}

cHero* cHero::create(ShortArray* params) {
    cHero* h = Runtime::make<cHero>();
    BX_RETURN_IF_NULL(h, nullptr);
    h->initFromParams(1, params);
    h->addToList(kListLevel);
    return h;
}

void cHero::onEvent(cActor* sender, jint event, jint a, jint b, jint c) {
    if (event == kEventInit) {
        behaviourId = 0;
        return;
    }
    cActor::onEvent(sender, event, a, b, c);
}

void cHero::resetZoneFlags() {
    if (flags & kFlagLift) returnY = INT_MAX;
    flags &= ~kFlagHeroFrame;
    s_heroCarried = 0;
}
