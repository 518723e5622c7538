// cEnemy's reactions to entering and leaving states: turns, hops, drops, debris and spawns.
#include "actors/cenemy.h"

#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"

namespace {

constexpr jint px(jint v) { return v << 8; }
constexpr jint kDebrisType = 61;
constexpr jint kPickupType = 12, kPickupSprite = 7;
constexpr jint kRockType = 58, kRockSprite = 8;
constexpr jint kDieSound = 9;

cHero* heroActor() {
    cActor* h = cGame::s_hero;
    return h && h->classId() == CID_cHero ? static_cast<cHero*>(h) : nullptr;
}

// A piece of debris thrown up and out from (x, y) under gravity.
cActor* throwDebris(jint sprite, jint x, jint y, jint anim) {
    cActor* d = cGame::spawnActor(kDebrisType, sprite, x, y);
    BX_RETURN_IF_NULL(d, nullptr);
    if (d->player) d->player->SetAnim(anim, -1);
    d->speedX = px(cGame::getRandom(-500, 500));
    d->speedY = px(cGame::getRandom(-800, 0));
    d->flags |= cActor::kFlagGravity;
    return d;
}

void valueAdd(IntArray* values, jint k, jint d) {
    if (values && k < values->length) values->set(k, jt::add(values->get(k), d));
}

}  // namespace

void cEnemy::onStateEntered(jint s) {
    cActor* hero = cGame::s_hero;
    switch (s) {
        case 0:
            if (type == 47) toggleFlipped();
            return;
        case 1:
            if (type == 9) speedX = facingValue(px(100));
            return;
        case 4:
            if (type == 16) valueAdd(typeData, 1, 1);
            if (type == 32 && hero && hero->collisionRect) {
                flags &= ~kFlagHidden;
                flags |= kFlagGround | kFlagGravity;
                x = cGame::getRandom(hero->x - px(120), hero->x + px(120));
                const jint top = hero->collisionRect->get(1);
                y = cGame::getRandom(top - px(160), top);
                speedY = 0;
                speedX = jt::div(jt::mul(hero->x - x, 1000), 1000);
            }
            return;
        case 5:
            if (type == 8) {
                cHero* h = heroActor();
                if (!h || h->energy >= h->maxEnergy) return;
                cActor* p = cGame::spawnActor(kPickupType, kPickupSprite, x, y);
                BX_RETURN_IF_NULL(p);
                if (p->player) p->player->SetAnim(1, -1);
                p->updateBoxes();
                p->speedX = px(cGame::getRandom(-200, 200));
                p->speedY = px(cGame::getRandom(-200, 200));
            } else if (type == 32) {
                flags &= ~(kFlagGravity | kFlagGround);
                speedX = 0;
                speedY = px(-400);
                health = health / 100 * 100;
            }
            return;
        case 12:
            if (type == 4) angle = 192;
            if (type == 32) flags |= kFlagHidden;
            return;
        case kDyingState:
            if (type == 8) {
                for (jint i = 0; i < 6; ++i) {
                    throwDebris(5, x, y, i < 3 ? 5 : 4);
                    BX_RETURN_IF_PENDING();
                }
            } else if (type == 48) {
                cActor* spark = spawnSpark((collisionRect->get(0) + collisionRect->get(2)) >> 1,
                                           (collisionRect->get(1) + collisionRect->get(3)) >> 1, 5);
                BX_RETURN_IF_PENDING();
                if (spark) spark->updateBoxes();
                for (jint i = 0; i < 5; ++i) {
                    cActor* d = throwDebris(39, x, y, cGame::getRandom(0, 2));
                    BX_RETURN_IF_PENDING();
                    if (!d) continue;
                    d->flags |= kFlagGround;
                    if (d->typeData && d->typeData->length > 0) d->typeData->set(0, 1);
                }
            } else if (type == 49) {
                flags |= kFlagGravity | kFlagGround;
            } else if (type == 51) {
                cGame::s_levelMusicOverrideOn = 0;
                cGame::playSfx(kDieSound);
            }
            return;
        case 153: setAngle(225); return;
        case 178: flags &= ~kFlagHidden; return;
        case 185:
            if (typeData && typeData->length > 1) typeData->set(1, 0);
            return;
        case 186: faceHero(); return;
        case 188: speedX = 0; return;
        case 198: case 199: case 200:
            setFlipped(false);
            if (player) {
                x = player->x << 8;
                y = player->y << 8;
            }
            return;
        case 204: speedY = px(-900); return;
        case 205: case 206:
            accelY = 0;
            speedY = 0;
            return;
        case 211: {
            const jint margin = px(220);
            if (x <= margin) setFlipped(false);
            else if (x >= px(cGame::s_levelWidth) - margin) setFlipped(true);
            speedX = facingValue(px(600));
            return;
        }
        case 238: {
            IntArray* v = cGame::s_viewRect;
            flags &= ~kFlagHidden;
            faceHero();
            if (v) x = cGame::getRandom(v->get(0) + px(20), v->get(2) - px(20));
            y = (param(3) << 8) - px(80);
            probeGround();
            return;
        }
        case 242: case 243: case 244: valueAdd(typeData, 0, -1); return;
        case 245:
            speedY = px(-400);
            flags &= ~kFlagGround;
            return;
        case 250: speedX = 0; return;
        default: return;
    }
}

void cEnemy::onStateLeft(jint s) {
    switch (s) {
        case 2:
            if (type == 21) speedX = 0;
            return;
        case kDyingState:
            if (type == 9) {
                IntArray* v = cGame::s_viewRect;
                if (v) cGame::spawnActor(5, -1, (v->get(0) + v->get(2)) >> 1, (v->get(1) + v->get(3)) >> 1);
            } else if (type == 37) {
                spawnSpark((collisionRect->get(0) + collisionRect->get(2)) >> 1,
                           (collisionRect->get(1) + collisionRect->get(3)) >> 1, 5);
            }
            return;
        case 152: angle = angle + (64 - angle) / 2; return;
        case 163:
            if (!s_bossMinionRelease) return;
            for (jint i = 0; i < 5; ++i) {
                cActor* m = cGame::spawnActor(65, 35, x, y);
                BX_RETURN_IF_PENDING();
                if (!m) continue;
                if (m->player) m->player->SetAnimForced(2, -1, true);
                m->updateBoxes();
                m->angle = cGame::getRandom(0, 256);
                if (m->typeData && m->typeData->length > 0) m->typeData->set(0, m->angle);
            }
            stateTime = 0;
            return;
        case 177: case 239: flags |= kFlagHidden; return;
        case 187: {
            cActor* hero = cGame::s_hero;
            if (!hero || !isAnimOver()) return;
            cActor* rock = cGame::spawnActor(kRockType, kRockSprite, hero->x + px(cGame::getRandom(-40, 40)),
                                             px(cGame::s_cameraY - 80));
            BX_RETURN_IF_NULL(rock);
            if (rock->player) rock->player->SetAnim(4, -1);
            rock->speedY = px(-200);
            rock->updateBoxes();
            return;
        }
        case 250: cGame::playSfx(kDieSound); return;
        default: return;
    }
}
