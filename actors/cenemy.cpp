// cEnemy's construction, set-up from the parameter tables, per-frame update and hit reaction.
#include "actors/cenemy.h"

#include <cstdint>

#include "actors/chero.h"
#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"

namespace {

constexpr jint kStatScore = 2;

bool heroShooting() { return cGame::s_hero && cHero::isShootState(cGame::s_hero->state); }

// Languages whose texts make the type-32 boss tougher and change its hurt animations.
bool longTextLanguage() {
    const jint l = cGame::s_language;
    return l == 1 || l == 2 || l == 4 || l == 5;
}

}  // namespace

void cEnemy::init() {
    health = maxHealth = damage = scoreValue = 0;
    cActor::init();
    hitTimer = -1;
}

cEnemy* cEnemy::create(jint type, ShortArray* params) {
    cEnemy* e = Runtime::make<cEnemy>();
    BX_RETURN_IF_NULL(e, nullptr);
    e->initFromParams(type, params);
    e->addToList(kListLevel);
    return e;
}

jint cEnemy::behaviourIdOf(jint type) {
    switch (type) {
        case 4: return 1;
        case 8: return 2;
        case 9: return 3;
        case 16: return 6;
        case 14: return 9;
        case 23: return 10;
        case 21: return 11;
        case 25: return 13;
        case 32: return 15;
        case 38: return 19;
        case 41: return 20;
        case 47: return 24;
        case 49: return 25;
        case 48: return 27;
        case 51: return 28;
        case 65: return 29;
        case 52: return 30;
        default: return -1;
    }
}

void cEnemy::applyParams() {
    ObjectArray* table = cGame::s_difficulty == 1 ? Z::s_enemyParams1 : Z::s_enemyParams2;
    BX_RETURN_IF_NULL(table);
    for (jint i = 0; i < table->length; ++i) {
        auto* row = static_cast<ShortArray*>(table->get(i));
        if (!row || row->length < Z::kEnemyParamSize || row->get(0) != type) continue;
        maxHealth = health = row->get(1);
        damage = row->get(2);
        scoreValue = row->get(3);
    }
}

void cEnemy::onEvent(cActor*, jint event, jint, jint, jint c) {
    switch (event) {
        case kEventInit:
            applyParams();
            if (type == 32 && longTextLanguage()) maxHealth = health = 700;
            state = 0;
            behaviourId = behaviourIdOf(type);
            if (type == 14) health = cHero::s_savedEnergy;
            // A new level's rock giant has dropped nothing yet.
            if (type == 9) cHero::s_dropItem = nullptr;
            // The night king's first phase ends 300 hit points down.
            if (type == 51) setTypeValueOf(this, 0, jt::sub(maxHealth, 300));
            return;
        case kEventStateEntered: return onStateEntered(c);
        case kEventStateLeft: return onStateLeft(c);
        default: return;
    }
}

void cEnemy::update() {
    if (!(flags & kFlagActive)) return;
    updateCommon();
    BX_RETURN_IF_PENDING();
    updateByEnemyType();
    BX_RETURN_IF_PENDING();
    // Only the sign counts; held at the bottom of the range so a long level never wraps it positive.
    const jlong t = jlong{hitTimer} - cGame::s_frameTime;
    hitTimer = t < INT32_MIN ? INT32_MIN : static_cast<jint>(t);
}

jbyte cEnemy::s_bossMinionRelease = 0;

void cEnemy::onMessage(cActor* sender, jint message, jint, jint, jint c) {
    if (message != kMsgHit) return;
    if (state == 20 || state == 21 || state == 22 || hitTimer >= 0) return;
    if (sender && sender == cHero::s_shotEffect && type != 25) {
        spawnSpark((collisionRect->get(0) + collisionRect->get(2)) >> 1,
                   (collisionRect->get(1) + collisionRect->get(3)) >> 1, 5);
        BX_RETURN_IF_PENDING();
    }
    if (type == 14 && typeData && typeData->length > 3 && typeData->get(3) > 0) return;
    if (type == 41 && sender && sender->type == 42) return setState(kDyingState);
    if (type == 51 && (state == 165 || state == 166 || state == 167 || (linked && linked->state == 284))) return;
    health = jt::sub(health, c);
    if (health < 1) {
        health = 0;
        setState(type == 14 ? kHurtState : type == 65 ? kStateDead : kDyingState);
        BX_RETURN_IF_PENDING();
        IntArray* stats = cGame::s_levelStats;
        if (stats && stats->length > kStatScore) stats->set(kStatScore, jt::add(stats->get(kStatScore), scoreValue));
        return;
    }
    switch (type) {
        case 47:
            health = maxHealth;
            if (param(11) == 1) setState(177);
            return;
        case 9:
            if (typeData && typeData->length > 0) typeData->set(0, jt::add(typeData->get(0), c));
            if (speedY == 0) speedY = -600 << 8;
            if (state == 12) setState(187);
            BX_RETURN_IF_PENDING();
            hitTimer = kHitInvulnerableMs;
            return;
        case 38:
            health = maxHealth;
            if (sender) setFlipped(sender->x < x);
            speedX = 0;
            setState(18);
            BX_RETURN_IF_PENDING();
            if (!heroShooting()) hitTimer = kHitInvulnerableMs;
            return;
        case 21: {
            IntArray* v = cGame::s_viewRect;
            if (state != 2 || !v || y <= v->get(1) || y >= v->get(3)) return;
            setState(kHurtState);
            BX_RETURN_IF_PENDING();
            hitTimer = kHitInvulnerableMs;
            return;
        }
        case 32:
            setState(kHurtState);
            BX_RETURN_IF_PENDING();
            if (player) player->SetAnim((longTextLanguage() ? 11 : 13) - health / 100, -1);
            hitTimer = 10000;
            return;
        default:
            setState(kHurtState);
            BX_RETURN_IF_PENDING();
            hitTimer = kHitInvulnerableMs;
            return;
    }
}
