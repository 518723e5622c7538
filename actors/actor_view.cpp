// The actors as the game's touch input, heads-up display and pulsing picture read them: the hero's
// counters and state, the submarine it rides, the alternate player's values and the race heights.
// The game layer cannot include the actors, so it reads them through this view.
#include "actors/cactor.h"
#include "actors/cenemy.h"
#include "actors/chero.h"
#include "actors/csubmarine.h"
#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/static_class.h"

namespace {

// The racer's boosted climbing speed (8.8 px/s, up is negative). Its cruising speed swings about
// -400 px/s every frame, so only the boost's top speed, which it holds, brightens the picture:
// a colour that changed every frame would rebuild the picture's cached frames every frame.
constexpr jint kRacerBoostSpeedY = -800 * 256;

cHero* hero() {
    cActor* a = cGame::s_hero;
    return a && a->classId() == CID_cHero ? static_cast<cHero*>(a) : nullptr;
}

cEnemy* altPlayer() {
    cActor* a = cGame::s_altPlayer;
    return a && a->classId() == CID_cEnemy ? static_cast<cEnemy*>(a) : nullptr;
}

bool hudValues(cGame::HudValues* out) {
    cHero* h = hero();
    cEnemy* alt = altPlayer();
    if (!h && !alt) return false;
    *out = {};
    out->lives = cHero::s_lives;
    out->energy = h ? h->energy : 0;
    out->meter = cHero::s_gunEnergy;
    out->specialShots = cHero::s_specialShots;
    out->inVehicle = cGame::s_inVehicle;
    out->airMs = cSubmarine::s_airMs;
    if (alt) {
        out->altHealth = alt->health;
        out->altValues[0] = cActor::typeValueOf(alt, 0);
        out->altValues[1] = cActor::typeValueOf(alt, 1);
    }
    out->raceHeightRival = cEnemy::s_raceHeightRival;
    out->raceHeightPlayer = cEnemy::s_raceHeightPlayer;
    out->raceTop = Z::DIST_36000PX;
    return true;
}

// -1 without a hero: no layout rule matches it.
jint heroState() {
    const cHero* h = hero();
    return h ? h->state : -1;
}

jint heroSpeedY() {
    const cHero* h = hero();
    return h ? h->speedY : 0;
}

void stopHero() {
    if (cHero* h = hero()) h->speedX = h->speedY = 0;
}

bool heroBasicMode() { return cHero::s_basicMode != 0; }

void steerSubmarine(jint angle) {
    cActor* v = cGame::s_vehicle;
    if (cGame::s_inVehicle && v && v->classId() == CID_cSubmarine) v->setAngle(angle);
}

bool pulseValues(cGame::PulseValues* out) {
    const cEnemy* alt = altPlayer();
    if (!alt) return false;
    out->altPlayerState = alt->state;
    out->threshold = alt->speedY;
    out->limit = kRacerBoostSpeedY;
    return true;
}

const cGame::ActorView kView{&hudValues,     &heroState,      &heroSpeedY, &stopHero,
                             &heroBasicMode, &steerSubmarine, &pulseValues};

}  // namespace

void cActor::registerActorView() { cGame::registerActorView(&kView); }

namespace {
const StaticInitRegistration kActorView("cActor actor view", &cActor::registerActorView);
}  // namespace
