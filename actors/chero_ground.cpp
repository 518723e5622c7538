// The hero on the ground: its per-axis move with the slide speed and the carrying platform, the
// slide speed itself (landing speed turned into a slide, slope acceleration, friction), the box
// edges against a segment, and the contact hooks of its control (wall kick, wall push, the
// reaction to another actor: landing on a carrier, hurt by a gate).
// Invariant: heroSpeedX and heroAccelX are both zero whenever the slide has stopped.
#include <algorithm>

#include "actors/chero.h"
#include "actors/platform_polyline.h"
#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"

namespace {

constexpr jint kStateKick = 2, kStateLanding = 101;
constexpr jint kGateType = 30, kGateClosing = 242, kHazardDamage = 5, kGateThrowSpeed = -900 << 8;
constexpr jint kWallKickMin = 14;   // 20 degrees in units of 256 per turn
constexpr jint kKickLockMs = 200;
constexpr jint kKickSteer = 300 << 8;

bool isSlideState(jint s) {
    switch (s) {
        case 0:
        case 107:
        case 108:
        case 109:
        case 113:
        case 114:
        case 133:
            return true;
        default:
            return false;
    }
}

// The ground under the hero falls to the left: its angle, taken over a half turn, is past a quarter.
bool slopeFallsLeft(jint angle) { return jt::rem(angle + 256, 128) > 64; }

}  // namespace

void cHero::moveWithGround() {
    const jint slide = axisMove(heroSpeedX, heroAccelX);  // the slide speed is not accelerated here
    moveX = integrateAxis(speedX, accelX) + slide;
    moveY = integrateAxis(speedY, accelY);
    if (!(flags & kFlagGround) || groundId < 0) return;
    cActor* ground = s_groundActor = cGame::findActorById(groundId);
    if (!ground) return;
    if (ground->type == 29) {
        const jint carried = ground->typeData && ground->typeData->length > 0 ? ground->typeData->get(0) : 0;
        moveX += static_cast<jint>((jlong{carried} * cGame::s_speedFactor + 128) >> 8);
        moveY += ground->moveY;
    } else if (ground->type == 53) {
        moveY += ground->moveY;
    }
}

void cHero::updateSlideSpeed() {
    const jint ft = cGame::s_frameTime;
    if (landingSpeed != 0) {
        heroSpeedX = jt::mul(landingSpeed, 3) >> 2;
        if (slopeFallsLeft(angle)) heroSpeedX = jt::neg(heroSpeedX);
        landingSpeed = 0;
    }
    if (flags & kFlagSliding) {
        if (isSlideState(state)) {
            heroAccelX = slopeFallsLeft(angle) ? jt::neg(Z::HERO_SLOPE_ACCEL) : Z::HERO_SLOPE_ACCEL;
            heroSpeedX += static_cast<jint>(jlong{ft} * heroAccelX / 1000);
        } else {
            heroSpeedX = heroAccelX = 0;
        }
    } else if (heroSpeedX != 0) {
        heroAccelX = heroSpeedX < 1 ? Z::HERO_SLIDE_FRICTION : jt::neg(Z::HERO_SLIDE_FRICTION);
        heroSpeedX += static_cast<jint>(jlong{ft} * heroAccelX / 1000);
        if (cGame::sameSign(heroSpeedX, heroAccelX)) heroSpeedX = heroAccelX = 0;
    }
}

bool cHero::collideSegmentEdges(cActor* platform, jint k) {
    const PlatformPolyline line = PlatformPolyline::of(platform);
    if (!line.hasSegment(k) || !collisionRect) return false;
    const jint ax = platform->x + line.x(k), ay = platform->y + line.y(k);
    const jint bx = platform->x + line.x(k + 1), by = platform->y + line.y(k + 1);
    IntArray* c = collisionRect;
    bool correctedY = false;
    if (moveY != 0) {
        const jint edge = c->get(moveY < 0 ? 1 : 3);
        if (cGame::segmentsIntersect(ax, ay, bx, by, c->get(0), edge, c->get(2), edge) == 1) {
            if (pointInRect(ax, ay, c)) {
                moveY += ay - edge;
                correctedY = true;
            } else if (pointInRect(bx, by, c)) {
                moveY += by - edge;
                correctedY = true;
            }
            if (correctedY) refreshCollisionRect();
        }
    }
    if (moveX != 0) {
        const jint edge = c->get(moveX < 0 ? 0 : 2);
        if (cGame::segmentsIntersect(ax, ay, bx, by, edge, c->get(1), edge, c->get(3)) == 1) {
            jint endX = 0;
            if (pointInRect(ax, ay, c)) endX = ax;
            else if (pointInRect(bx, by, c)) endX = bx;
            else return correctedY;
            moveX += endX - edge;
            refreshCollisionRect();
            return true;
        }
    }
    return correctedY;
}

void cHero::wallKick(jint dx, jint dy) {
    setState(kStateKick);
    BX_RETURN_IF_PENDING();
    const jint a = jt::rem(cGame::atan2(dx, dy), 128);
    if (a >= kWallKickMin && a < 64) {
        speedX = kKickSpeedX;
        s_kickLockMs = kKickLockMs;
    } else if (a >= 64 && a <= 128 - kWallKickMin) {
        speedX = jt::neg(kKickSpeedX);
        s_kickLockMs = kKickLockMs;
    }
    using K = cGame::GameKey;
    if (cGame::isKeyDown(K::kKeyLeft) || cGame::isKeyDown(K::kKeyRight) || cGame::isKeyDown(K::kKeyUpLeft) ||
        cGame::isKeyDown(K::kKeyUpRight))
        speedX += facingValue(kKickSteer);
    if (isJumpKeyHeld()) {
        speedY = kKickHighSpeedY;
    } else {
        speedY = kKickSpeedY;
        s_airBrake = true;
    }
}

void cHero::wallPush(jint dx, jint dy) {
    const jint a = jt::rem(cGame::atan2(dx, dy), 128);
    speedX = a < 64 ? jt::neg(kKickSpeedX) : kKickSpeedX;
    s_kickLockMs = kKickLockMs;
}

// In an actor contact the vertical bits are the mover's: 2 the hero came down onto the other, 8 the
// hero rose into it (or it came down onto the hero).
jint cHero::contactReaction(cActor* other, jint contactBits) {
    const bool fromAbove = contactBits & kDirCeiling, fromBelow = contactBits & kDirFloor;
    if (fromAbove && (other->flags & kFlagCarrier)) {
        if (state == 3 || state == 105 || state == 111 || state == 112) setState(kStateLanding);
        return 1;
    }
    if (other->type != kGateType) return 1;
    // The gate hurts: jumped on, it throws the hero back up; closing, it shuts on the hero.
    if (fromAbove || (fromBelow && other->state == kGateClosing)) {
        onMessage(this, kMsgHit, x, y, jt::mul(kHazardDamage, cGame::s_difficulty));
        BX_RETURN_IF_PENDING(1);
        if (fromAbove) speedY = kGateThrowSpeed;
    }
    return 1;
}
