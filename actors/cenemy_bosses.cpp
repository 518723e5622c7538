// The three bosses' routines: the rock giant (type 9) that sits, is stunned, throws rocks and walks
// as the damage it takes adds up; the dropping boss (type 32) that hides above the view, falls on the
// hero and flies off when hit; the night king (type 51) that changes phase every 300 hit points and
// fires its volleys once its orbiter (type 53, a plain cActor updated here too) has swung to the
// phase's angle. The orbiter's id comes from level data: an id naming no type-53 actor leaves the king
// without one (it still changes phase, and fires nothing). Every spawn copes with a full table.
// A boss's death never ends the level: the level does that (a switch watching the boss).
#include <algorithm>

#include "actors/cenemy.h"
#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/asprite.h"
#include "sprites/bxlib_player.h"

namespace {

constexpr jint px(jint v) { return v << 8; }
constexpr jint kStatScore = 2;
constexpr jint kDieSound = 9;
constexpr jint kMsgKnockBack = 37;

// The rock giant.
constexpr jint kGiantSitting = 12, kGiantWalking = 1, kGiantTurning = 186, kGiantThrowing = 185,
               kGiantStunned = 187, kGiantStruck = 188;
constexpr jint kStandUpDamage = 250;
constexpr jint kRockType = 58, kRockSprite = 8, kRockAnim = 5, kRockFrame = 14;
constexpr jint kPickupAnim = 3, kLowGunEnergy = 101;

// The dropping boss.
constexpr jint kDropperHidden = 12, kDropperDrop = 4, kDropperFalling = 3, kDropperBounce = 245,
               kDropperLeaving = 246, kDropperRiding = 247;
constexpr jint kHeroCaught = 127;
constexpr jint kHiddenMs = 3000, kEscortDelayMs = 500, kEscortRise = 80;
constexpr jint kEscortWatching = 218;

// The night king and its orbiter.
constexpr jint kKingSummoning = 162, kKingRaising = 163, kKingAiming = 166, kKingFiring = 167;
constexpr jint kOrbiterType = 53, kKingType = 51;
constexpr jint kOrbiterSwinging = 284, kOrbiterHolding = 285;
constexpr jint kPhaseHealth = 300, kMostVolleys = 2, kOrbiterRestFrames = 30;
constexpr jint kBurstType = 61, kBurstSprite = 38, kBurstAnim = 9;

jint value(const cActor* a, jint k) { return cActor::typeValueOf(a, k); }
void setValue(cActor* a, jint k, jint v) { cActor::setTypeValueOf(a, k, v); }

jint centreX(IntArray* r) { return (r->get(0) + r->get(2)) >> 1; }
jint centreY(IntArray* r) { return (r->get(1) + r->get(3)) >> 1; }

void addScore(jint points) {
    IntArray* stats = cGame::s_levelStats;
    if (stats && stats->length > kStatScore) stats->set(kStatScore, jt::add(stats->get(kStatScore), points));
}

// A dropped pickup that has been taken (or otherwise removed) no longer holds the next one back.
bool pickupGone(const cActor* p) {
    return !p || p->state == cActor::kStateDead || p->hasFlag(cActor::kFlagKilled);
}

bool outOfPlay(const cActor* a) { return a->isDying() || a->state == cActor::kStateDead; }

// The orbiter's angle went from `from` to `to` this frame: it reached the phase angle when it stands
// on it or swept over it (a spin that steps past the angle must not swing for ever).
bool reachedAngle(jint from, jint to, jint target) {
    for (jint t : {target - 256, target, target + 256})
        if (t == to || (from < t && t < to) || (to < t && t < from)) return true;
    return false;
}

}  // namespace

// --- Type 9, the rock giant ---

void cEnemy::updateType9() {
    cActor* hero = cGame::s_hero;
    if (attackHeroSide() && health > 0) {
        setState(kGiantStruck);
        BX_RETURN_IF_PENDING();
        if (hero) hero->onMessage(this, kMsgKnockBack, 0, 0, 0);
        return;
    }
    BX_RETURN_IF_PENDING();
    switch (state) {
        case 0:
            if (isOnGround()) setState(kGiantSitting);
            break;
        case kGiantWalking:
            if (clampToCameraZone()) {
                toggleFlipped();
                speedX = facingValue(px(100));
            }
            break;
        case kGiantThrowing:
            if (player && player->frame >= kRockFrame && value(this, 1) == 0) {
                cActor* rock = cGame::spawnActor(kRockType, kRockSprite, x + facingValue(px(100)), y - px(90));
                BX_RETURN_IF_PENDING();
                // A full table refuses the rock: it is thrown on a later frame of the throw.
                if (rock) {
                    rock->setFlipped(isFlipped());
                    rock->speedX = facingValue(px(500));
                    rock->speedY = px(-300);
                    if (rock->player) rock->player->SetAnim(kRockAnim, -1);
                    rock->updateBoxes();
                    rock->flags |= kFlagGround;
                    setValue(this, 1, value(this, 1) + 1);
                }
            }
            if (value(this, 0) >= kStandUpDamage) {
                setValue(this, 0, 0);
                setState(kGiantWalking);
            }
            break;
        case kGiantStunned: {
            if (value(this, 0) >= kStandUpDamage) {
                setValue(this, 0, 0);
                setState(kGiantTurning);
                break;
            }
            const jint frames = player && player->sprite && player->anim >= 0 ? player->sprite->GetAFrames(player->anim) : 0;
            if (frames > 0 && (player->frame == frames / 2 - 1 || player->frame == frames - 1))
                cGame::startScreenShake(3, 0);
            break;
        }
        case kDyingState: {
            // Sparks on every other frame of the dying time; a frame that took no time makes none.
            const jint dt = cGame::s_frameTime;
            if (dt <= 0 || jt::div(stateTime, dt) % 2 != 0) break;
            IntArray* r = collisionRect;
            cActor* spark = spawnSpark(cGame::getRandom(r->get(0), r->get(2)), cGame::getRandom(r->get(1), r->get(3)), 5);
            BX_RETURN_IF_PENDING();
            if (spark) spark->updateBoxes();
            cGame::playSfx(kDieSound);
            break;
        }
        default: break;
    }
    BX_RETURN_IF_PENDING();
    if (state == kStateDead || !hero) return;
    if (pickupGone(cHero::s_dropItem)) cHero::s_dropItem = nullptr;
    if (cHero::s_gunEnergy >= kLowGunEnergy || cHero::s_dropItem || cGame::s_heroMeterBonus >= 1) return;
    IntArray* frame = getAnimRect(s_searchRect);
    IntArray* view = cGame::s_viewRect;
    if (!frame || !view) return;
    const jint edge = hero->x < x ? frame->get(0) : frame->get(2);
    cHero::s_dropItem = cGame::spawnType12(x + edge, view->get(1), kPickupAnim);
}

// --- Type 32, the dropping boss ---

void cEnemy::updateType32() {
    cActor* hero = cGame::s_hero;
    IntArray* view = cGame::s_viewRect;
    if (state == kDropperFalling || state == kDropperDrop || state == kDropperBounce || state == kDropperLeaving) {
        if (!(hero && hero->state == kHeroCaught) && attackHeroSide()) setState(kDropperRiding);
        BX_RETURN_IF_PENDING();
    }
    switch (state) {
        case 0:
            setState(kDropperHidden);
            flags |= kFlagKeptActive;
            return;
        case kDropperHidden:
            if (stateTime >= kHiddenMs) return setState(kDropperDrop);
            speedY = 0;
            if (view) {
                x = centreX(view);
                y = centreY(view);
            }
            return;
        case kDropperRiding:
            if (hero && hero->collisionRect) {
                x = hero->x;
                y = centreY(hero->collisionRect);
            }
            return;
        case kDropperLeaving:
            if (isOutsideView(0)) setState(kDropperHidden);
            return;
        case kDropperFalling:
            if (isOnGround()) setState(kDropperBounce);
            else if (isOutsideView(0)) setState(kDropperHidden);
            return;
        case kHurtState:
        case kDyingState:
            // Killed outright (the dying state has no table entry to end it), it leaves as a hit does.
            break;
        default: return;
    }
    flags &= ~(kFlagGravity | kFlagGround);
    speedY = px(-400);
    s_enemyBossFlag = 1;
    if ((cGame::s_frameCounter & 1) == 0) flags |= kFlagHidden;
    else flags &= ~kFlagHidden;
    if (view && collisionRect->get(3) <= view->get(1)) {
        hitTimer = -1;
        s_enemyBossFlag = 0;
        if (health > 0) {
            setState(kDropperHidden);
            BX_RETURN_IF_PENDING();
            setValue(this, 0, 0);
            setValue(this, 1, 0);
        } else {
            // A killing hit counted the score already; a hit that left less than 100 did not.
            const bool scored = state == kDyingState;
            setState(kStateDead);
            BX_RETURN_IF_PENDING();
            if (!scored) addScore(scoreValue);
        }
        return;
    }
    if (state != kHurtState || health < 1 || stateTime <= kEscortDelayMs || !view) return;
    // Two escorts per hit, one from each side of the view; a full table leaves one for a later frame.
    for (jint side = 0; side < 2; ++side) {
        if (value(this, side) >= 1) continue;
        const jint ex = side == 0 ? view->get(0) : view->get(2);
        cActor* escort = cGame::spawnType24(ex, view->get(3) - px(kEscortRise), side == 0 ? 1 : -1, 0, 3, 200, 0);
        BX_RETURN_IF_PENDING();
        if (!escort) continue;
        escort->updateMovement();
        if (!Runtime::pending()) escort->resolveContacts();
        if (!Runtime::pending()) escort->applyMove();
        BX_RETURN_IF_PENDING();
        escort->setState(kEscortWatching);
        BX_RETURN_IF_PENDING();
        escort->linked = this;
        setValue(this, side, 1);
    }
}

// --- Type 51, the night king, and type 53, its orbiter ---

cActor* cEnemy::orbiter() const { return linked && linked->type == kOrbiterType ? linked : nullptr; }

void cEnemy::updateType51() {
    if (!linked) {
        cActor* o = cGame::findActorById(param(7));
        if (o && o->type == kOrbiterType && o != this) {
            linked = o;
            o->linked = this;
        }
    }
    cActor* orb = orbiter();
    switch (state) {
        case 0: setState(kKingSummoning); break;
        case kKingSummoning:
            s_bossMinionRelease = 1;
            faceHero();
            break;
        case kStateDead:
            // The last boss falls: the game is won here, whatever the level holds after it.
            if (!cGame::s_levelComplete) {
                cGame::s_levelComplete = 1;
                cGame::setState(cGame::kStateLevelEnd);
            }
            return;
        case kKingFiring: {
            computeAttackRect();
            IntArray* r = s_attackRect;
            BX_RETURN_IF_PENDING();
            if (r && r->get(0) != r->get(2) && r->get(1) != r->get(3) && value(this, 6) == 0) {
                const jint bx = r->get(0), by = jt::div(jt::add(y, r->get(3)), 2);
                for (jint i = 0; i < value(this, 5); ++i) {
                    cActor* burst = cGame::spawnActor(kBurstType, kBurstSprite, bx, by);
                    BX_RETURN_IF_PENDING();
                    if (!burst) break;
                    if (burst->player) burst->player->SetAnimForced(kBurstAnim, 1, true);
                    burst->setFlipped(isFlipped());
                    burst->speedX = burst->speedY = 0;
                    burst->updateBoxes();
                }
                setValue(this, 6, 1);
            }
            if (isAnimOver()) {
                setValue(this, 4, value(this, 4) + 1);
                setValue(this, 6, 0);
                if (value(this, 4) >= value(this, 3)) {
                    setValue(this, 6, 1);
                    setValue(this, 7, 1);
                    setState(0);
                } else {
                    setState(kKingAiming);
                }
            }
            break;
        }
        default: break;
    }
    BX_RETURN_IF_PENDING();
    if (value(this, 7) > 0) {
        const jint frames = value(this, 7) + 1;
        setValue(this, 7, frames);
        if (frames > kOrbiterRestFrames) {
            setValue(this, 7, 0);
            if (orb) orb->setState(0);
            BX_RETURN_IF_PENDING();
        }
    }
    // A dying or removed king stays so: no phase brings its hit points back.
    if (outOfPlay(this) || health > value(this, 0)) return;
    health = value(this, 0);
    setValue(this, 0, health - kPhaseHealth);
    const jint phase = value(this, 1);
    const jint angle = (phase & 1) ? s_enemyAngleNarrow : s_enemyAngleWide;
    setValue(this, 2, angle);
    setValue(this, 5, 1);
    setValue(this, 3, std::min(phase / 2 + 1, kMostVolleys));
    setValue(this, 4, 0);
    setValue(this, 6, 0);
    setValue(this, 7, 0);
    setValue(this, 1, phase + 1);
    if (!orb || orb->state == kOrbiterSwinging || orb->state == kOrbiterHolding) return;
    orb->setFlipped(angle == s_enemyAngleNarrow);
    orb->setState(kOrbiterSwinging);
    BX_RETURN_IF_PENDING();
    setState(kKingRaising);
    BX_RETURN_IF_PENDING();
    s_bossMinionRelease = 0;
}

void cActor::updateType53() {
    cActor* king = linked;
    if (!king || king->type != kKingType || outOfPlay(king)) return;
    const jint target = typeValueOf(king, 2);
    switch (state) {
        case kOrbiterSwinging: {
            const jint to = typeValueOf(this, 0);
            if (reachedAngle(to - param(8), to, target)) setState(kOrbiterHolding);
            return;
        }
        case kOrbiterHolding:
            if (king->state == kKingAiming || king->state == kKingFiring || typeValueOf(king, 7) != 0) return;
            king->setState(kKingAiming);
            BX_RETURN_IF_PENDING();
            king->setFlipped(target == s_enemyAngleNarrow);
            return;
        default: return;
    }
}
