// Type 24: the level's hazard emitters in five kinds (record field 9) and the shots they fire,
// which are type-24 actors too (no record, sprite slot 22, states 224..226). Every hurt is
// 5 x difficulty against the hero's side. Per-type values: 0 countdown (ms), 1 offset or counter.
// Fields: 2, 3 home (px); 7, 8 extents (px, signed); 10 interval and 11 pause (ms).
#include "actors/cactor.h"

#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/asprite.h"
#include "sprites/bxlib_player.h"

namespace {

constexpr jint kHeroType = 1, kAltType = 31, kBossType = 32;
constexpr jint kShotSprite = 22, kShotHalfHurt = 224, kShotHurts = 225, kShotIdle = 226;
constexpr jint kTimedWait = 214, kTimedDone = 215;
constexpr jint kPairWatch = 216, kPairFiring = 217;
constexpr jint kDropWatch = 218, kDropArmed = 219, kDropRolling = 220, kDropFalling = 221;
constexpr jint kSprayFiring = 222;
constexpr jint kStep = 40, kPairHalfGap = 10, kPairReach = 80, kSprayRise = 100;
constexpr jint kRollSpeed = 320 << 8, kBossEscortMargin = 80;

jint pixels(jint v) { return v << 8; }

void hurtHeroSide(cActor* a) {
    cActor::setTargetTypes({kHeroType, kAltType});
    a->attack(jt::mul(5, cGame::s_difficulty));
}

// Value 0 less the frame time; true once it has run out.
bool countDown(IntArray* v) {
    v->set(0, v->get(0) - cGame::s_frameTime);
    return v->get(0) <= 0;
}

cActor* fireShot(jint x, jint y, jint state) {
    cActor* shot = cGame::spawnActor(24, kShotSprite, x, y);
    if (!shot) return nullptr;  // a full table refuses the shot
    shot->setState(state);
    return shot;
}

bool strictlyBetween(jint v, jint a, jint b) { return a < b ? (v > a && v < b) : (v > b && v < a); }

jint withSignOf(jint magnitude, jint sign) { return sign < 0 ? -magnitude : magnitude; }

void updateShot(cActor* shot) {
    if (shot->state == kShotIdle) return;
    if (shot->state == kShotHalfHurt || shot->state == cActor::kStateDead) {
        BXLibPlayer* p = shot->player;
        const jint frames = p && p->sprite ? p->sprite->GetAFrames(p->anim) : 0;
        if (!p || p->frame > frames / 2) return;
    }
    hurtHeroSide(shot);
}

void rowEmitter(cActor* e, IntArray* v) {
    if (!countDown(v)) return;
    fireShot(e->x + pixels(v->get(1)), e->y, kShotHalfHurt);
    BX_RETURN_IF_PENDING();
    v->set(0, e->param(10));
    const jint end = e->param(7);
    v->set(1, v->get(1) + (end > 0 ? kStep : -kStep));
    if (end > 0 ? v->get(1) >= end : v->get(1) <= end) {
        v->set(1, 0);
        v->set(0, e->param(11));
    }
}

void pairEmitter(cActor* e, IntArray* v) {
    cActor* hero = cGame::s_hero;
    if (e->state == 0) {
        e->setState(kPairWatch);
    } else if (e->state == kPairWatch) {
        if (!hero || !strictlyBetween(hero->x, e->x, e->x + pixels(e->param(7))) ||
            !strictlyBetween(hero->y, e->y - pixels(kPairReach), e->y))
            return;
        e->setState(kPairFiring);
        v->set(0, e->param(11));
    } else if (e->state == kPairFiring) {
        if (!countDown(v)) return;
        const jint cx = e->x + pixels(e->param(7) / 2), sy = e->y + pixels(v->get(1));
        fireShot(cx - pixels(kPairHalfGap), sy, kShotHalfHurt);
        BX_RETURN_IF_PENDING();
        fireShot(cx + pixels(kPairHalfGap), sy, kShotHalfHurt);
        BX_RETURN_IF_PENDING();
        v->set(0, e->param(10));
        v->set(1, v->get(1) - kStep);
        if (v->get(1) <= e->param(8)) {
            v->set(1, 0);
            e->setState(kPairWatch);
        }
    }
}

// Shots every interval while it rolls or falls; the shot keeps the emitter as its source.
void dropperFire(cActor* e, IntArray* v) {
    if (!countDown(v)) return;
    if (cActor* shot = fireShot(e->x, e->y, kShotHalfHurt)) shot->linked = e;
    v->set(0, e->param(10));
}

void dropper(cActor* e, IntArray* v) {
    const jint dir = e->param(7);
    switch (e->state) {
        case 0:
            e->setState(kDropWatch);
            return;
        case kDropWatch: {
            cActor* hero = cGame::s_hero;
            const bool heroInside = hero && strictlyBetween(hero->x, e->x, e->x + pixels(dir)) &&
                                    strictlyBetween(hero->y, e->y, e->y + pixels(e->param(8)));
            if (!heroInside && !e->hasFlag(cActor::kFlagSpawned)) return;
            e->setState(kDropArmed);
            BX_RETURN_IF_PENDING();
            fireShot(e->x, e->y, kShotIdle);
            BX_RETURN_IF_PENDING();
            v->set(0, e->param(11));
            e->setFlag(cActor::kFlagKeptActive);
            return;
        }
        case kDropArmed:
            if (!countDown(v)) return;
            e->setState(kDropRolling);
            BX_RETURN_IF_PENDING();
            e->speedX = withSignOf(kRollSpeed, dir);
            e->applySlope();
            return;
        case kDropRolling:
            e->applySlope();
            dropperFire(e, v);
            BX_RETURN_IF_PENDING();
            if (e->isOnGround() || e->followGroundEdge()) return;
            e->setState(kDropFalling);
            BX_RETURN_IF_PENDING();
            e->speedX = withSignOf(kRollSpeed, dir);
            e->clearFlag(cActor::kFlagGround);
            return;
        case kDropFalling:
            dropperFire(e, v);
            BX_RETURN_IF_PENDING();
            if (!e->isOutsideView(0)) return;
            e->setState(kDropWatch);
            BX_RETURN_IF_PENDING();
            e->x = pixels(e->param(2));
            e->y = pixels(e->param(3));
            e->setFlag(cActor::kFlagGround);
            e->clearFlag(cActor::kFlagKeptActive);
            return;
        default:
            return;
    }
}

void sprayer(cActor* e, IntArray* v) {
    if (e->state == 0) return e->setState(kSprayFiring);
    if (e->state != kSprayFiring || !countDown(v)) return;
    const bool left = cGame::getRandom(0, 100) <= 50;
    const bool hurts = cGame::getRandom(0, 100) <= 70;
    const bool burst = cGame::getRandom(0, 100) <= 30;
    const jint y = (v->get(1) & 1) ? e->y - pixels(kSprayRise) : e->y;
    if (cActor* shot = fireShot(e->x, y, hurts ? kShotHurts : kShotHalfHurt)) shot->setFlipped(left);
    BX_RETURN_IF_PENDING();
    if (burst) {
        v->set(1, v->get(1) + 1);
        v->set(0, hurts ? 800 : 300);
    } else {
        v->set(1, 0);
        v->set(0, cGame::getRandom(e->param(10), e->param(11)));
    }
}

}  // namespace

void cActor::updateType24() {
    if (linked && linked->type == kBossType && isOutsideView(kBossEscortMargin)) {
        cGame::removeActor(this);
        return;
    }
    if (hasFlag(kFlagSpawned) && !params) return updateShot(this);
    IntArray* v = typeData;
    if (!v || v->length < 1) return;
    switch (param(9)) {
        case 0:
            hurtHeroSide(this);
            BX_RETURN_IF_PENDING();
            if (state == 0) setState(kTimedWait);
            else if (state == kTimedWait && countDown(v)) setState(kTimedDone);
            return;
        case 1:
            if (v->length >= 2) rowEmitter(this, v);
            return;
        case 2:
            if (v->length >= 2) pairEmitter(this, v);
            return;
        case 3:
            return dropper(this, v);
        case 4:
            if (v->length >= 2) sprayer(this, v);
            return;
        default:
            return;
    }
}
