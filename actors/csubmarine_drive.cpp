// cSubmarine's update: boarding, steering, thrust and drag, the wall bounce, the air supply and the
// refill at a station. The hero rides inside: it is moved onto the vehicle every frame.
#include "actors/csubmarine.h"

#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/compiled.h"

namespace {

constexpr jint kHeroRiding = 137;
constexpr jint kHeroLost = 20;
constexpr jint kMsgBoarded = 39;
constexpr jint kStationReleased = 264;
constexpr jint kStationType = 40;
constexpr jint kRefillRate = 5;   // air gained per ms at a station

// An 8.8 value times an 8.8 cosine, in 64 bits so large speeds do not wrap.
jint scaled(jint v, jint cosine) { return static_cast<jint>((jlong{v} * cosine) >> 8); }

jint perFrame(jint perSecond) { return static_cast<jint>(jlong{cGame::s_frameTime} * perSecond / 1000); }

jint absValue(jint v) { return v < 0 ? -v : v; }

void moveHeroTo(const cActor* vehicle) {
    cActor* hero = cGame::s_hero;
    if (!hero) return;
    hero->x = vehicle->x;
    hero->y = vehicle->y;
}

}  // namespace

// The remainder taken first: the same heading as adding whole turns while negative, without a loop.
void cSubmarine::setAngle(jint angle) {
    const jint r = angle % 256;
    heading = r < 0 ? r + 256 : r;
}

void cSubmarine::turnBy(jint delta) { setAngle(heading + delta); }
void cSubmarine::turnBack(jint delta) { setAngle(heading - delta); }

void cSubmarine::applyVelocity() {
    speedX = scaled(behaviourSpeed, cGame::cos(course));
    speedY = scaled(behaviourSpeed, cGame::cos(64 - course));
}

void cSubmarine::applyThrust() {
    thrust = perFrame(kThrustAccel);
    speedX += scaled(thrust, cGame::cos(heading));
    speedY += scaled(thrust, cGame::cos(64 - heading));
    const jint ax = absValue(speedX), ay = absValue(speedY);
    const jint lo = ax < ay ? ax : ay, hi = ax < ay ? ay : ax;
    behaviourSpeed = static_cast<jint>((jlong{102} * lo + jlong{246} * hi) >> 8);
    course = cGame::atan2(speedX, speedY);
    if (behaviourSpeed > kTopSpeed) behaviourSpeed = kTopSpeed;
}

void cSubmarine::applyDrag() {
    behaviourSpeed += perFrame(kDrag);
    if (behaviourSpeed < 0) behaviourSpeed = 0;
}

void cSubmarine::bounce() {
    jint a = cGame::atan2(s_wallX, s_wallY);
    if (a >= 64 && a <= 192) a -= 128;
    const jint impact = absValue(scaled(behaviourSpeed, cGame::cos(64 - (a - course))));
    if (impact >= kHardImpact && !cHero::s_godMode) {
        --hull;
        if (hull < 1) setState(kStateDestroyed);
    }
    course = 2 * a - course;
    applyVelocity();
}

void cSubmarine::update() {
    thrust = 0;
    updateCommon();
    BX_RETURN_IF_PENDING();
    cActor* hero = cGame::s_hero;
    switch (state) {
        case 0:
            setState(kStateWaiting);
            hull = kFullHull;
            heading = 192;
            break;
        case kStateWaiting:
            if (hero && rectsOverlap(hero->collisionRect, collisionRect)) {
                hero->onMessage(this, kMsgBoarded, 0, 0, 0);
                BX_RETURN_IF_PENDING();
                moveHeroTo(this);
                setState(kStateDriving);
                flags |= kFlagGround;
                s_airMs = kBoardedAirMs;
                hull = kFullHull;
                heading = 192;
                cGame::s_inVehicle = true;
                cGame::s_vehicle = this;
            }
            break;
        case kStateDriving:
            if (s_wallHit) bounce();
            if (state != kStateDriving) break;
            if (cGame::isKeyDown(cGame::kKeyLeft)) turnBy(-kTurnStep);
            else if (cGame::isKeyDown(cGame::kKeyRight)) turnBy(kTurnStep);
            if (cGame::isKeyDown(cGame::kKeyFire)) applyThrust();
            applyDrag();
            applyVelocity();
            setTargetTypes({kStationType});
            attack(0);
            BX_RETURN_IF_PENDING();
            moveHeroTo(this);
            if (!cHero::s_godMode) {
                s_airMs -= cGame::s_frameTime;
                if (s_airMs < 1) setState(kStateDestroyed);
            }
            break;
        case kStateRefilling:
            stopMotion();
            moveHeroTo(this);
            if (cGame::isKeyDown(cGame::kKeyLeft)) turnBy(-kTurnStep);
            else if (cGame::isKeyDown(cGame::kKeyRight)) turnBy(kTurnStep);
            if (s_airMs < s_airMaxMs) {
                s_airMs += kRefillRate * cGame::s_frameTime;
                if (s_airMs > s_airMaxMs) s_airMs = s_airMaxMs;
            } else {
                setState(kStateDriving);
                if (linked) linked->setState(kStationReleased);
                behaviourSpeed = kLeaveStationSpeed;
                course = 256;
            }
            break;
        case kStateLeaving:
            stopMotion();
            cGame::s_inVehicle = false;
            cGame::s_vehicle = nullptr;
            if (hero) {
                hero->setState(0);
                hero->flags |= kFlagGround | kFlagGravity;
            }
            setState(kStateLeft);
            break;
        case kStateDestroyed:
            stopMotion();
            moveHeroTo(this);
            break;
        case kStateHeroLost:
            if (hero) hero->setState(kHeroLost);
            break;
        default: break;
    }
    BX_RETURN_IF_PENDING();
    s_wallHit = 0;
    cGame::spawnDust(x + kDustOffsetX, y + kDustOffsetY);
}
