// The movement step: gravity, the pending move of each axis (speed incremented first), the type-53
// circle, the animation's own motion and the swept rectangle; the slot of the angle and of the slope;
// and the put-on-ground operations (probe, segment snap, edge following, the platform at a point).
// Invariant: the position changes only in applyMove; every other operation builds the pending move.
// The products of a time and an acceleration or a speed and a tangent are 64-bit: 32 bits wrap for
// strong gravity or a long frame and would throw a falling actor upward.
#include <algorithm>

#include "actors/cactor.h"
#include "actors/chero.h"
#include "actors/platform_polyline.h"
#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/static_class.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"

jbyte cActor::s_strongGravity = 0;
cActor* cActor::s_edgePlatform = nullptr;
jint cActor::s_edgeSegment = 0;

namespace {

const StaticRefRegistration kStatics(CID_cActor, &cActor::s_edgePlatform);

constexpr jint kProbeLift = 80 << 8, kProbeDrop = 160 << 8;
// The steepest slope the speed follows: beyond it (and on a vertical segment, whose tangent is the
// largest int) the tangent is held here, so speedX x tangent stays meaningful.
constexpr jint kMaxSlopeTangent = 64 << 8;

jint saturate(jlong v) { return static_cast<jint>(std::clamp<jlong>(v, INT32_MIN, INT32_MAX)); }

// frameTime x a / 1000, truncated toward zero.
jint speedStep(jint a) { return saturate(jlong{cGame::s_frameTime} * a / 1000); }

bool spriteSlotShows(const cActor* a, jint slot, jint anim) {
    if (!a->player || a->player->anim != anim || !cGame::s_sprites || slot >= cGame::s_sprites->length) return false;
    Object* s = cGame::s_sprites->get(slot);
    return s && s->classId() == CID_Bsprite && a->player->sprite == static_cast<ASprite*>(static_cast<Bsprite*>(s));
}

}  // namespace

// ((speed x factor + 128) >> 8) + ((frameTime² x a >> 1) / 1000) / 1000.
jint cActor::axisMove(jint speed, jint a) {
    jlong move = (jlong{speed} * cGame::s_speedFactor + 128) >> 8;
    if (a != 0) {
        const jlong t = cGame::s_frameTime;
        move += ((t * t * a) >> 1) / 1000 / 1000;
    }
    return saturate(move);
}

jint cActor::integrateAxis(jint& speed, jint accel) {
    if (accel != 0) speed += speedStep(accel);
    return axisMove(speed, accel);
}

void cActor::accelerateX(jint a) { speedX += speedStep(a); }
void cActor::accelerateY(jint a) { speedY += speedStep(a); }

void cActor::updateMovement() {
    if (flags & kFlagNoMove) return;
    if (flags & kFlagGravity) {
        jint g = Z::GRAVITY;
        if (type == 1) {
            if (cGame::s_level == 8 && s_strongGravity) g = jt::mul(g, 5);
            flags &= ~kFlagCarried;
        } else if (type == 58 && player && player->anim == 4) {
            g = jt::div(jt::mul(g, 2), 3);
        } else if (type == 61 && spriteSlotShows(this, 13, 7)) {
            g >>= 1;
        }
        accelY = g;
    }
    if (type == 1 && classId() == CID_cHero) {
        static_cast<cHero*>(this)->moveWithGround();
    } else {
        moveX = integrateAxis(speedX, accelX);
        moveY = integrateAxis(speedY, accelY);
    }
    if (type == 53 || type == 54) moveType53();
    if (flags & kFlagAnimMotion) {
        moveX += (getFrameOffsetX() << 8) - animOffsetX;
        moveY += (getFrameOffsetY() << 8) - animOffsetY;
    }
    updateCollisionRect(moveX, moveY, false);
}

void cActor::applyMove() {
    if (flags & kFlagNoMove) return;
    x += moveX;
    y += moveY;
}

void cActor::setAngle(jint degrees) {
    angle = jt::div(jt::mul(degrees, 256), 360);
    setFlipped(angle >= 64 && angle <= 192);
}

void cActor::applySlope() {
    if (!isOnGround()) return;
    const jint t = std::clamp(cGame::tan(angle), -kMaxSlopeTangent, kMaxSlopeTangent);
    const jlong p = jlong{speedX} * t;
    if ((p & ~jlong{0xFF}) > 0) speedY = saturate(speedY + (p >> 8));
}

void cActor::probeGround() {
    const jint savedX = moveX, savedY = moveY;
    moveX = 0;
    moveY += kProbeDrop;
    refreshCollisionRect();
    s_contactCount = 0;
    rollContactState();
    const bool hero = this == cGame::s_hero;
    for (cActor* p = listHead(kListLevel); p; p = p->nextIn(kListLevel)) {
        if (p->type != 2 || p == this) continue;
        jint kind = 13;
        if (hero && (p->flags & kFlagContactKind)) {
            kind = p->contactKind;
            if (kind == 0) continue;
        } else if (!(flags & kFlagGround) || !(p->paramFlags & kParamFlagPolyline)) {
            continue;
        }
        if (!rectsOverlap(collisionRect, p->collisionRect)) continue;
        if (p->paramFlags & kParamFlagPolyline) checkActorCollision(collisionRect, p);
        else addContact(kind | p->id << 16 | kContactActor);
    }
    (void)dispatchContacts();
    BX_RETURN_IF_PENDING();
    if (isOnGround()) {
        applyMove();
        return;
    }
    moveX = savedX;
    moveY = savedY;
    refreshCollisionRect();
}

void cActor::snapToSegment(jint platformId, jint segment) {
    cActor* p = findInList(platformId, kListLevel);
    if (!p) return;
    setContact(platformId, (PlatformPolyline::of(p).flags & ~7) | 0x8008, segment);
    y -= kProbeLift;
    moveX = 0;
    moveY += kProbeDrop;
    refreshCollisionRect();
    testCollision(p, segment);
    BX_RETURN_IF_PENDING();
    applyMove();
}

bool cActor::followGroundEdge() {
    if (isOnGround() || prevGroundId < 0 || moveX == 0) return false;
    cActor* p = findInList(prevGroundId, kListLevel);
    if (!p || !(p->paramFlags & kParamFlagPolyline)) return false;
    const PlatformPolyline line = PlatformPolyline::of(p);
    const jint s = prevGroundSegment;
    if (line.count < 2 || !line.hasSegment(s)) return false;
    const jint x0 = line.x(s), y0 = line.y(s), x1 = line.x(s + 1), y1 = line.y(s + 1);
    const bool hasPrev = s >= 1, hasNext = line.hasSegment(s + 1);
    if (x0 == x1) return false;
    // Moving along the segment's own direction continues at its far end, against it at its near end.
    const bool right = moveX > 0;
    const bool forward = right ? x0 < x1 : x0 > x1;
    auto beyond = [right](jint a, jint b) { return right ? a > b : a < b; };
    cActor* target = p;
    jint targetSegment = -1;
    if (forward) {
        if (hasNext) {
            if (!beyond(line.x(s + 2), x1)) return false;
            targetSegment = s + 1;
        } else {
            if (!findPlatformAt(p->id, p->x + x1, p->y + y1, 1)) return false;
            target = s_edgePlatform;
            targetSegment = s_edgeSegment;
        }
    } else if (hasPrev) {
        if (!beyond(line.x(s - 1), x0)) return false;
        targetSegment = s - 1;
    } else {
        if (!findPlatformAt(p->id, p->x + x0, p->y + y0, 0)) return false;
        target = s_edgePlatform;
        targetSegment = s_edgeSegment;
    }
    const jint savedY = y, savedMoveX = moveX, savedMoveY = moveY;
    y -= kProbeLift;
    moveX = 0;
    moveY += kProbeDrop;
    refreshCollisionRect();
    testCollision(target, targetSegment);
    BX_RETURN_IF_PENDING(false);
    if (isOnGround()) {
        applyMove();
        return true;
    }
    y = savedY;
    moveX = savedMoveX;
    moveY = savedMoveY;
    refreshCollisionRect();
    return false;
}

// Every table entry is a candidate; a platform without a segment or outside the level list is
// passed over, so it cannot hide the ones after it.
bool cActor::findPlatformAt(jint excludedId, jint wx, jint wy, jint end) {
    for (jint i = 0; i < cGame::s_actorCount; ++i) {
        cActor* p = cGame::actorAt(i);
        if (!p || !(p->paramFlags & kParamFlagPolyline) || p->id == excludedId || !p->isInList(kListLevel)) continue;
        const PlatformPolyline line = PlatformPolyline::of(p);
        if (line.count < 2) continue;
        const jint point = end == 1 ? 0 : line.count - 1;
        if (p->x + line.x(point) != wx || p->y + line.y(point) != wy) continue;
        s_edgePlatform = p;
        s_edgeSegment = end == 1 ? 0 : line.count - 2;
        return true;
    }
    return false;
}
