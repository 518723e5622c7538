// Type 42, the ride: it rolls to its stop, waits there behind a marker spark, and carries the hero
// who drops onto it along its way; it then runs off and, once out of view, starts again from home.
// Type 40: it carries its linked actor into place, ends in a spark and leaves dust as it goes.
// Fields of type 42 (pixels from its home x): 7 its stop, 8 where the ride ends.
#include "actors/cactor.h"

#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"

namespace {

constexpr jint kStart = 275, kRollIn = 276, kRolling = 277, kWaiting = 278, kRiding = 279, kRidingOn = 280,
               kRunOff = 281;
constexpr jint kRollSpeed = -300 << 8, kRunOffSpeed = 600 << 8;
constexpr jint kMarkerSprite = 18, kMarkerAnim = 8;
constexpr jint kHeroRiding = 138, kRiddenType = 41, kRideDamage = 50;
constexpr jint kCarriedState = 143, kDustX = 31 << 8, kDustY = -14 << 8, kSparkSound = 9;

void goHome(cActor* r) {
    r->setFlipped(false);
    r->x = r->param(2) << 8;
    r->y = r->param(3) << 8;
}

void dropMarker(cActor* r) {
    if (r->linked) cGame::removeActor(r->linked);
    r->linked = nullptr;
}

}  // namespace

void cActor::updateType42() {
    cActor* hero = cGame::s_hero;
    switch (state) {
        case 0:
            setState(kStart);
            BX_RETURN_IF_PENDING();
            setFlag(kFlagGravity | kFlagGround);
            probeGround();
            return;
        case kRollIn:
            setState(kRolling);
            BX_RETURN_IF_PENDING();
            speedX = kRollSpeed;
            return;
        case kRolling: {
            if (!isOnGround() || x > (param(2) + param(7)) << 8) return;
            setState(kWaiting);
            BX_RETURN_IF_PENDING();
            const jint top = localBox ? localBox->get(1) : 0;
            cActor* marker = cGame::spawnActor(61, kMarkerSprite, x, y + 2 * top);
            if (marker) {
                if (marker->player) cGame::startPlayerAnim(marker->player, kMarkerAnim, -1);
                marker->clearFlag(kFlagGravity);
            }
            linked = marker;
            stopMotion();
            return;
        }
        case kWaiting:
            if (!hero || !hero->collisionRect || !rectsOverlap(hero->collisionRect, collisionRect)) return;
            if (hero->isOnGround() || hero->speedY <= 0) return;
            setState(kRiding);
            BX_RETURN_IF_PENDING();
            dropMarker(this);
            speedX = kRollSpeed;
            linked = hero;
            hero->setState(kHeroRiding);
            BX_RETURN_IF_PENDING();
            hero->setFlipped(true);
            hero->linked = this;
            return;
        case kRiding:
        case kRidingOn: {
            if (state == kRidingOn) {
                setTargetTypes({kRiddenType});
                attack(kRideDamage);
                BX_RETURN_IF_PENDING();
            }
            cActor* rider = linked;
            if (rider) {
                rider->x = x;
                rider->y = y;
                if (x > (param(2) + param(8)) << 8) return;
                setState(kRunOff);
                BX_RETURN_IF_PENDING();
                setFlipped(true);
                speedX = kRunOffSpeed;
                rider->setFlipped(false);
                rider->setState(0);
                BX_RETURN_IF_PENDING();
                rider->linked = nullptr;
                linked = nullptr;
                return;
            }
            if (!isOutsideView(0)) return;
            setState(kRollIn);
            BX_RETURN_IF_PENDING();
            goHome(this);
            probeGround();
            return;
        }
        case kRunOff:
            if (!isOutsideView(0)) return;
            setState(kRollIn);
            BX_RETURN_IF_PENDING();
            goHome(this);
            updateMovement();
            resolveContacts();
            applyMove();
            return;
        default:
            return;
    }
}

void cActor::updateType40() {
    switch (state) {
        case 0:
            setState(262);
            break;
        case 263:
            if (cActor* carried = linked) {
                carried->setState(kCarriedState);
                BX_RETURN_IF_PENDING();
                const jint cx = localBox ? (localBox->get(0) + localBox->get(2)) >> 1 : 0;
                const jint cy = localBox ? (localBox->get(1) + localBox->get(3)) >> 1 : 0;
                carried->centerOnPoint(x + cx, y + cy);
            }
            break;
        case 264:
            spawnSpark(x, y, 0);
            BX_RETURN_IF_PENDING();
            cGame::removeActor(this);
            cGame::playSfx(kSparkSound);
            break;
        default:
            break;
    }
    BX_RETURN_IF_PENDING();
    cGame::spawnDust(x + kDustX, y + kDustY);
}
