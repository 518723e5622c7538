// The race levels' two racers: the player's racer (type 14), steered, boosted and shielded up a
// course 1000 pixels wide, and its rival (type 21), which weaves, dodges obstacles and climbs on its
// own. Both run on the real frame time; positions and speeds are 8.8 with y falling to 0 at the top.
// Invariant: a racer's x stays in [0, 1000] px after its update, and a per-type value outside the
// racer's typeData reads as 0 and is never written.
#include "actors/cenemy.h"

#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/log.h"
#include "sprites/bxlib_player.h"

jlong cEnemy::s_raceHeightPlayer = 0;
jlong cEnemy::s_raceHeightRival = 0;

namespace {

constexpr jint fp(jint px) { return px * 256; }

constexpr jint kCourseRight = fp(1000), kCourseMiddle = fp(500), kCourseHeight = fp(36000);
constexpr jint kSteerSpeed = fp(900);
constexpr jint kClimbSlow = fp(-400), kClimbFast = fp(-800), kClimbLeast = fp(-100), kClimbAccel = fp(200);
constexpr jint kRivalSlow = fp(-340), kRivalCatchUp = fp(-500), kRivalFast = fp(-1000);
constexpr jint kRivalWeave = fp(600), kRivalDodge = fp(1200), kPushOff = fp(300);
constexpr jint kFlyOffX = kSteerSpeed / 8, kFlyOffY = fp(100);
constexpr jint kShieldMs = 5000, kCountdownMs = 3000;
// Player values: collected items, shield charges, boost ms, shield ms. Rival: blink, -, -, boost ms.
constexpr jint kItems = 0, kShieldCharges = 1, kBoostMs = 2, kShieldLeftMs = 3;
constexpr jint kRivalBlink = 0, kRivalBoostMs = 3;

// x back inside the course; a racer pressing against a bound stops there (it may still leave it).
void clampToCourse(cActor* a) {
    if (a->x < 0 || (a->x == 0 && a->speedX < 0)) {
        a->x = 0;
        a->speedX = 0;
    } else if (a->x > kCourseRight || (a->x == kCourseRight && a->speedX > 0)) {
        a->x = kCourseRight;
        a->speedX = 0;
    }
}

// The animation of the current behaviour record, chosen again so that the position remaps follow x.
void followBehaviourAnim(cActor* a) {
    if (a->behaviourRecord == -1) return;
    const jint loops = a->getBehaviourField(2) == 0 && a->getBehaviourField(4) != -1 ? 1 : -1;
    a->chooseStateAnim(a->getBehaviourField(1), loops);
}

bool showsHidden(jint frameCounter) { return (frameCounter & 1) == 0; }

void setHidden(cActor* a, bool hidden) {
    if (hidden) a->setFlag(cActor::kFlagHidden);
    else a->clearFlag(cActor::kFlagHidden);
}

IntArray* viewRect() {
    IntArray* v = cGame::s_viewRect;
    return v && v->length >= 4 ? v : nullptr;
}

// Whether the collision rectangle has left the view on one of the named sides.
struct Sides {
    bool left, above, right, below;
};
bool hasLeftView(cActor* a, Sides sides) {
    IntArray* r = a->collisionRect;
    IntArray* v = viewRect();
    if (!r || !v) return false;
    return (sides.left && r->get(2) < v->get(0)) || (sides.above && r->get(3) < v->get(1)) ||
           (sides.right && r->get(0) > v->get(2)) || (sides.below && r->get(1) > v->get(3));
}

void removeShield(cActor* racer) {
    cActor* shield = racer->linked;
    racer->linked = nullptr;
    if (shield) shield->setState(cActor::kStateDead);
}

void playJingle(jint music) {
    cGame::stopChannel(0);
    cGame::playMusic(music, false);
}

}  // namespace

void cEnemy::updateType14() {
    if (cGame::checkCheatSequence()) {
        cGame::s_levelComplete = 1;
        cGame::setState(cGame::kStateLevelEnd);
    }
    BX_RETURN_IF_PENDING();
    cHero::s_savedEnergy = health;
    cActor* rival = cGame::s_type21Actor;
    const jint frameTime = cGame::s_frameTime;

    switch (state) {
        case 0: setState(1); break;
        case 1: {
            // The shield: raised on the release of key 5 while none is up and a charge is left.
            if (cGame::isKeyReleased(5) && cActor::typeValueOf(this, kShieldCharges) > 0 && cActor::typeValueOf(this, kShieldLeftMs) < 1) {
                cActor::setTypeValueOf(this, kShieldLeftMs, kShieldMs);
                cActor::setTypeValueOf(this, kShieldCharges, cActor::typeValueOf(this, kShieldCharges) - 1);
                removeShield(this);
                cActor* shield = cGame::spawnActor(61, 13, x, y);
                BX_RETURN_IF_PENDING();
                if (shield && shield->player) shield->player->SetAnim(6, -1);
                linked = shield;
            }
            if (cActor::typeValueOf(this, kShieldLeftMs) > 0) {
                cActor::setTypeValueOf(this, kShieldLeftMs, cActor::typeValueOf(this, kShieldLeftMs) - frameTime);
                if (linked) {
                    linked->x = x;
                    linked->y = y;
                    linked->updateBoxes();
                }
                if (cActor::typeValueOf(this, kShieldLeftMs) <= 0) removeShield(this);
            }

            // Steering: key 3 wins over key 4.
            speedX = cGame::isKeyDown(3) ? -kSteerSpeed : cGame::isKeyDown(4) ? kSteerSpeed : 0;
            clampToCourse(this);
            followBehaviourAnim(this);
            setFlipped(x >= kCourseMiddle);

            // Climbing starts once the rival has left its start.
            if (!rival || rival->y <= kCourseHeight - fp(240)) {
                if (cActor::typeValueOf(this, kBoostMs) > 0) {
                    accelY = -kClimbAccel;
                    if (speedY < kClimbFast) speedY = kClimbFast;
                    cGame::s_pulseStep = jt::div((128 - speedY) >> 10, 3);
                    cActor::setTypeValueOf(this, kBoostMs, cActor::typeValueOf(this, kBoostMs) - frameTime);
                    if (cActor::typeValueOf(this, kBoostMs) <= 0) accelY = kClimbAccel;
                    setHidden(this, showsHidden(cGame::s_frameCounter));
                } else {
                    setHidden(this, false);
                    if (cGame::isKeyDown(2)) {
                        accelY = kClimbAccel;
                        if (speedY > kClimbLeast) speedY = kClimbLeast;
                    } else if (speedY > kClimbSlow) {
                        accelY = -kClimbAccel;
                    } else if (speedY < kClimbSlow) {
                        accelY = kClimbAccel;
                    }
                    cGame::s_pulseStep = (128 - speedY) >> 11;
                }
            } else {
                speedY = 0;
            }

            if (y < 1) {
                if (rival && rival->y < 1) {
                    setState(199);
                    playJingle(5);
                } else {
                    // The heights at the finish, before entering 200 puts the racer where it is drawn.
                    s_raceHeightPlayer = y;
                    s_raceHeightRival = rival ? rival->y : 0;
                    setState(200);
                }
                removeShield(this);
            }
            break;
        }
        case 197:
            speedX = -kFlyOffX;
            speedY = kFlyOffY;
            s_enemyCountdown -= frameTime;
            Log::debug("race won: countdown %d, frame time %d", s_enemyCountdown, frameTime);
            if (s_enemyCountdown <= 0) {
                cGame::s_levelComplete = 1;
                cGame::setState(cGame::kStateLevelEnd);
                setFlag(kFlagHidden);
                s_enemyCountdown = kCountdownMs;
            }
            break;
        case 198:
            speedX = kFlyOffX;
            speedY = kFlyOffY;
            if (hasLeftView(this, {false, false, true, true})) cGame::setState(cGame::kStateHeroLost);
            break;
        case 199:
        case 200:
            speedX = kFlyOffX;
            speedY = -kFlyOffY;
            if (state == 199) {
                if (hasLeftView(this, {false, true, true, false})) cGame::setState(cGame::kStateHeroLost);
            } else if (hasLeftView(this, {true, true, true, true})) {
                playJingle(6);
                setState(197);
                setFlag(kFlagHidden);
            }
            break;
        case 5:
            if (health < 1) pendingState = 20;
            break;
        case 20: cGame::setState(cGame::kStateHeroLost); break;
        default: break;
    }
    if (state != 197 && state != 200) {
        s_raceHeightPlayer = y;
        s_raceHeightRival = rival ? rival->y : 0;
    }
}

void cEnemy::updateType21() {
    if (state == 0) setState(1);
    BX_RETURN_IF_PENDING();

    if (state == 1) {
        for (jint& m : s_targetMask) m = 0;
        setTargetTypes({19});
        if (findNearestAbove()) {
            speedX = x > kCourseMiddle ? -kRivalDodge : kRivalDodge;
            stateTime = 0;
        } else if ((speedX == kRivalWeave && x >= fp(750)) || (speedX == -kRivalWeave && x <= fp(250)) ||
                   ((speedX == kRivalDodge || speedX == -kRivalDodge) && stateTime >= 100)) {
            speedX = 0;
            stateTime = 0;
        } else if (speedX == 0 && stateTime >= 2000) {
            speedX = x > kCourseMiddle ? -kRivalWeave : kRivalWeave;
        }
    }
    if (state == 1 || state == 2) {
        clampToCourse(this);
        if (state == 1) followBehaviourAnim(this);
        // Facing by the side of the course it is on, with a dead band in the middle.
        if (x - kCourseMiddle <= fp(-20)) setFlipped(false);
        else if (x - kCourseMiddle >= fp(20)) setFlipped(true);
    }

    if (hitTimer >= 1) {
        speedY = 0;
    } else if (cActor::typeValueOf(this, kRivalBoostMs) > 0) {
        speedY = kRivalFast;
        cActor::setTypeValueOf(this, kRivalBoostMs, cActor::typeValueOf(this, kRivalBoostMs) - cGame::s_frameTime);
        setHidden(this, showsHidden(cGame::s_frameCounter) && cActor::typeValueOf(this, kRivalBlink) > 0);
    } else if (y < kCourseHeight - fp(480)) {
        IntArray* v = viewRect();
        speedY = v && y > v->get(3) + fp(240) ? kRivalCatchUp : kRivalSlow;
    } else {
        speedY = kRivalFast;
    }

    if (y < 1) {
        setState(kStateDead);
        return;
    }
    cActor* racer = cGame::s_altPlayer;
    if (state == 1 && racer && rectsOverlap(collisionRect, racer->collisionRect)) {
        setState(2);
        BX_RETURN_IF_PENDING();
        speedX = x < racer->x ? -kPushOff : kPushOff;
    }
}
