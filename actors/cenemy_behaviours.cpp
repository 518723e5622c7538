// The ordinary enemies' per-frame routines: small state machines over the behaviour tables that add
// the tests against the hero, the patrol limits, the attacks and the spawns.
#include <cstdlib>

#include "actors/cenemy.h"
#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/asprite.h"
#include "sprites/bxlib_player.h"

namespace {

constexpr jint px(jint v) { return v << 8; }
constexpr jint kMinionType = 65, kMinionSprite = 35;
constexpr jint kDebrisType = 61, kDebrisSprite = 39;
constexpr jint kDieSound = 9, kSwoopSound = 16;

bool heroHanging() { return cGame::s_hero && cHero::isHangState(cGame::s_hero->state); }
bool heroHurt() { return cGame::s_hero && cHero::isHurtState(cGame::s_hero->state); }

bool heroInside(IntArray* rect) {
    cActor* hero = cGame::s_hero;
    return hero && cActor::pointInRect(hero->x, hero->y, rect);
}

jint centreX(IntArray* r) { return (r->get(0) + r->get(2)) >> 1; }
jint centreY(IntArray* r) { return (r->get(1) + r->get(3)) >> 1; }

bool inView(IntArray* r) { return cActor::rectsOverlap(r, cGame::s_viewRect); }

jint value(IntArray* values, jint k) { return values && k < values->length ? values->get(k) : 0; }
void setValue(IntArray* values, jint k, jint v) {
    if (values && k < values->length) values->set(k, v);
}

// The last frame of the player's animation `anim` is showing.
bool onLastFrame(BXLibPlayer* p, jint anim) {
    if (!p || !p->sprite || p->anim != anim) return false;
    return p->frame == p->sprite->GetAFrames(anim) - 1;
}

}  // namespace

cActor* cEnemy::attackHeroSide() {
    s_targetMask[0] = s_targetMask[1] = s_targetMask[2] = s_targetMask[3] = 0;
    setTargetTypes({1, 31});
    s_lastHit = attack(damage);
    return s_lastHit;
}

void cEnemy::releaseMinion() {
    cActor* m = cGame::spawnActor(kMinionType, kMinionSprite, x, y);
    BX_RETURN_IF_NULL(m);
    if (m->player) {
        m->player->SetAnim(2, -1);
        m->player->SetFrame(0);
    }
    m->updateBoxes();
    m->angle = cGame::getRandom(0, 128);
    setValue(m->typeData, 0, m->angle);
}

void cEnemy::updateByEnemyType() {
    switch (type) {
        case 4: return updateType4();
        case 8: return updateType8();
        case 9: return updateType9();
        case 14: return updateType14();
        case 21: return updateType21();
        case 23: return updateType23();
        case 25: return updateType25();
        case 32: return updateType32();
        case 37: return updateType37();
        case 38: return updateType38();
        case 41: return updateType41();
        case 47: return updateType47();
        case 48: return updateType48();
        case 49: return updateType49();
        case 51: return updateType51();
        case 52: return updateType52();
        case 65: return updateType65();
        default: return;
    }
}

void cEnemy::updateType4() {
    cActor* hero = cGame::s_hero;
    setMotion(behaviourSpeed, angle);
    s_lastHit = nullptr;
    if (state == 0 || state == 1 || state == 12 || state == 150) {
        attackHeroSide();
        BX_RETURN_IF_PENDING();
    }
    if (!hero) return;
    const jint heroBottom = hero->collisionRect->get(3);
    switch (state) {
        case 0: {
            if (heroInside(getRecordRect())) return setState(1);
            const jint home = param(2) << 8;
            if (x > home + px(80)) setFlipped(true);
            else if (x < home - px(80)) setFlipped(false);
            speedX = facingValue(px(200));
            return;
        }
        case 1:
            faceHero();
            if (isHeroNearX(px(80))) setState(152);
            return;
        case 150:
            if (s_lastHit && param(11) == 1 && hero->isOnGround()) return setState(151);
            if (y >= heroBottom - px(60)) setState(12);
            return;
        case 151:
            setFlipped(hero->isFlipped());
            x = hero->x;
            y = hero->scratchRect->get(1);
            return;
        case 12:
            if (y < heroBottom - px(140)) setState(1);
            return;
        case 153:
            if (isOutsideView(0)) setState(kStateDead);
            return;
        default: return;
    }
}

void cEnemy::updateType8() {
    cActor* hero = cGame::s_hero;
    setMotion(behaviourSpeed, angle);
    s_lastHit = nullptr;
    if (hitTimer < 0 && (state == 172 || (state == 1 && !heroHanging()))) {
        attackHeroSide();
        BX_RETURN_IF_PENDING();
    }
    if (!hero) return;
    const jint left = (param(2) + param(7)) << 8, right = (param(2) + param(7) + param(9)) << 8;
    switch (state) {
        case 0:
            if (inView(collisionRect)) setState(1);
            return;
        case 1:
            faceHero();
            speedX = facingValue(px(200));
            if (s_lastHit || std::abs(x - hero->x) <= px(40)) return setState(172);
            if ((moveX < 0 && x + moveX < left) || (moveX > 0 && x + moveX > right)) setState(12);
            return;
        case 12:
            speedX = 0;
            if (hero->x > left && hero->x < right) setState(1);
            return;
        case 172:
            if (s_lastHit && heroHanging() && hero->state == 125) {
                setState(170);
                BX_RETURN_IF_PENDING();
                snapTo(hero, true, false);
            }
            return;
        case 170: snapTo(hero, true, false); return;
        case kHurtState: speedX = 0; return;
        default: return;
    }
}

void cEnemy::updateType23() {
    if (!linked) linked = cGame::findActorById(param(8));
    if (linked && linked->state == 0) {
        state = 0;
        health = maxHealth;
    }
    if (health < 1) {
        cGame::wakeActorById(param(7));
        BX_RETURN_IF_PENDING();
        cGame::s_pulseActive = 1;
    }
}

void cEnemy::updateType25() {
    cActor* hero = cGame::s_hero;
    setMotion(behaviourSpeed, angle);
    if (cGame::s_blackout) return setState(kStateDead);
    if (!hero) return;
    switch (state) {
        case 0:
        case kHurtState:
            if (heroInside(getRecordRect())) setState(1);
            return;
        case 1: {
            const jint heroCy = centreY(hero->collisionRect);
            if (behaviourSpeed == 0) {
                faceHero();
                angle = cGame::atan2(hero->x - x, heroCy - y);
                setValue(typeData, 0, hero->x);
                setValue(typeData, 1, heroCy);
            }
            // Signs compared in 64 bits: a pixel distance times a speed overflows 32.
            const jlong ahead = jlong{(value(typeData, 0) - x + 128) >> 8} * speedX;
            const jlong level = jlong{(value(typeData, 1) - heroCy + 128) >> 8} * speedY;
            if (ahead >= 0 && level >= 0) behaviourSpeed = std::min(behaviourSpeed + px(100), px(1000));
            else behaviourSpeed = std::max(behaviourSpeed - px(200), 0);
            if (attackHeroSide() && player) player->SetAnim(0, 1);
            BX_RETURN_IF_PENDING();
            if (player && player->anim == 0 && isAnimOver()) player->SetAnim(1, -1);
            if (onLastFrame(player, 0)) cGame::playSfx(kSwoopSound);
            return;
        }
        case kDyingState:
            cGame::playSfx(kDieSound);
            spawnSpark(centreX(collisionRect), centreY(collisionRect), 5);
            BX_RETURN_IF_PENDING();
            setState(kStateDead);
            return;
        default: return;
    }
}

void cEnemy::updateType37() {
    switch (state) {
        case 0:
            angle = (256 + angle - 6) % 256;
            setMotion(px(100), angle);
            attackHeroSide();
            return;
        case 3:
            if (isOnGround()) setState(kDyingState);
            return;
        case kHurtState: setState(kDyingState); return;
        case kDyingState: setState(kStateDead); return;
        default: return;
    }
}

void cEnemy::updateType38() {
    switch (state) {
        case 0: setState(1); return;
        case 1: {
            IntArray* r = getRecordRect();
            if (x > r->get(2)) setFlipped(true);
            else if (x < r->get(0)) setFlipped(false);
            speedX = facingValue(px(cGame::s_difficulty == 1 ? 120 : 100));
            if (attackHeroSide()) {
                setFlipped(true);
                setState(250);
            }
            return;
        }
        case kDyingState: setState(kStateDead); return;
        default: return;
    }
}

void cEnemy::updateType41() {
    switch (state) {
        case 0: setState(12); return;
        case 12:
            if (previousState == 8 && stateTime < 501) return;
            if (!heroHurt() && attackHeroSide()) {
                setFlipped(false);
                setState(4);
            }
            return;
        case kHurtState: health = maxHealth; return;
        case kDyingState:
            if (cActor* spark = spawnSpark(x, centreY(collisionRect), 5)) spark->updateBoxes();
            BX_RETURN_IF_PENDING();
            setState(kStateDead);
            return;
        default: return;
    }
}

void cEnemy::updateType47() {
    if (state != kStateDead && state != 177) {
        attackHeroSide();
        BX_RETURN_IF_PENDING();
    }
    switch (state) {
        case 0:
            if (param(11) == 0) {
                if (stateTime >= 500) setState(175);
            } else if (param(11) == 1) {
                if (heroInside(getRecordRect())) {
                    setState(178);
                    BX_RETURN_IF_PENDING();
                    faceHero();
                } else {
                    setState(2);
                }
            }
            return;
        case 2:
            if (previousState == 0) pendingState = 177;
            return;
        case kDyingState:
            cGame::playSfx(kDieSound);
            setState(kStateDead);
            return;
        default: return;
    }
}

void cEnemy::updateType48() {
    cActor* hero = cGame::s_hero;
    // Entered again every frame the hero stays: the running animation carries on regardless.
    if (state != kDyingState && heroInside(getRecordRect())) {
        setState(4);
        BX_RETURN_IF_PENDING();
    }
    switch (state) {
        case 4: {
            IntArray* r = s_searchRect;
            if (!hero || !r) return;
            getFrameBoxRect(0, r);
            if (r->get(0) == r->get(2)) return;
            if (rectsOverlap(offsetRect(r), hero->collisionRect)) hero->onMessage(this, kMsgHit, x, y, damage);
            return;
        }
        case 0:
            if (stateTime >= 4000) setState(182);
            return;
        default: return;
    }
}

void cEnemy::updateType49() {
    if (state == 0 && inView(collisionRect)) {
        setState(12);
        BX_RETURN_IF_PENDING();
        releaseMinion();
        BX_RETURN_IF_PENDING();
        stateTime = 0;
    } else if ((state == 0 || state == 12) && !inView(collisionRect)) {
        setState(0);
        BX_RETURN_IF_PENDING();
    }
    if ((state == 0 || state == kHurtState || state == 12) && stateTime > 1000) {
        releaseMinion();
        BX_RETURN_IF_PENDING();
        stateTime = 0;
    }
    if (state == kDyingState && (isOutsideView(0) || isOnGround())) {
        cGame::playSfx(kDieSound);
        IntArray* r = collisionRect;
        const jint cx = centreX(r), cy = centreY(r), left = r->get(0), right = r->get(2), bottom = r->get(3);
        setState(kStateDead);
        BX_RETURN_IF_PENDING();
        spawnSpark(cx, cy, 5);
        BX_RETURN_IF_PENDING();
        spawnSpark(left, bottom, 5);
        BX_RETURN_IF_PENDING();
        spawnSpark(right, bottom, 5);
    }
}

void cEnemy::updateType52() {
    if (state == kDyingState) return setState(kStateDead);
    if (state != 4 || cGame::s_frameCounter % 3 != 0) return;
    cActor* d = cGame::spawnActor(kDebrisType, kDebrisSprite, x, y);
    BX_RETURN_IF_NULL(d);
    if (d->player) {
        d->player->SetAnim(cGame::getRandom(0, 2), -1);
        d->player->SetFrame(0);
    }
    d->flags |= kFlagGravity | kFlagGround;
    d->setFlipped(isFlipped());
    d->speedX = d->facingValue(px(cGame::getRandom(100, 300)));
    d->updateBoxes();
}

void cEnemy::updateType65() {
    cActor* hero = cGame::s_hero;
    behaviourSpeed = px(400);
    setMotion(behaviourSpeed, angle);
    const bool aimNow = stateTime > 800;
    if (aimNow) stateTime = 0;
    if (hero && (aimNow || stateTime == 0 || angle == -1)) {
        const jint dy = centreY(hero->collisionRect) - centreY(collisionRect);
        const jint degrees = (cGame::atan2(hero->x - x, dy) * 360 >> 8) + cGame::getRandom(-75, 75) + 360;
        setValue(typeData, 0, degrees % 360 * 256 / 360);
    }
    const jint target = value(typeData, 0);
    jint turn;
    if (target > angle) turn = target - angle <= 128 ? 16 : -16;
    else turn = angle - target > 128 ? 16 : -16;
    angle = ((angle + turn) % 256 + 256) % 256;
    if (attackHeroSide()) {
        const jint hx = x, hy = y;
        setState(kStateDead);
        BX_RETURN_IF_PENDING();
        spawnSpark(hx, hy, 0);
    }
}
