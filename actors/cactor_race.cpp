// The race levels' obstacles (type 19), which hurt the racers they touch, and collectables (type
// 20), which the player's racer takes for points, boosts, shield charges and lives.
// Invariant: a collectable is taken at most once: it leaves the level in the frame it is touched.
#include "actors/cactor.h"

#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"

namespace {

constexpr jint kItems = 0, kShieldCharges = 1, kBoostMs = 2;   // the player's racer
constexpr jint kRivalBlink = 0, kRivalBoostMs = 3;            // the rival
constexpr jint kBoostGrant = 3000, kLifeItems = 50;
constexpr jint kSfxCrash = 9, kSfxCoin = 10, kSfxBoost = 8, kSfxShield = 11;

void addScore(jint points) {
    IntArray* stats = cGame::s_levelStats;
    if (stats && stats->length > 3) stats->set(3, stats->get(3) + points);
}

bool touches(cActor* a, cActor* b) { return a && b && cActor::rectsOverlap(a->collisionRect, b->collisionRect); }

cActor* spawnDebris(jint x, jint y, jint animation) {
    cActor* spark = cGame::spawnActor(61, 13, x, y);
    if (!spark) return nullptr;
    if (spark->player) {
        spark->player->SetAnimForced(animation, 1, true);
        spark->player->SetFrame(0);
    }
    spark->updateBoxes();
    return spark;
}

}  // namespace

void cActor::updateType19() {
    cActor* racer = cGame::s_altPlayer;
    cActor* rival = cGame::s_type21Actor;
    for (jint& m : s_targetMask) m = 0;
    // A boosting racer rides over obstacles, and so does a blinking rival.
    if (cActor::typeValueOf(racer, kBoostMs) <= 0) setTargetTypes({14});
    if (cActor::typeValueOf(rival, kRivalBlink) <= 0) setTargetTypes({21});
    cActor* hit = attack(5 * cGame::s_difficulty);
    BX_RETURN_IF_PENDING();
    if (!hit || hit != racer) return;

    setState(kStateDead);
    BX_RETURN_IF_PENDING();
    cGame::playSfx(kSfxCrash);
    for (jint i = 0; i < 3; ++i) {
        cActor* debris = spawnDebris(x, y, 8);
        BX_RETURN_IF_PENDING();
        if (!debris) continue;
        const jint speed = cGame::getRandom(1000, 2000) << 8;
        debris->speedX = cGame::getRandom(0, 2) == 0 ? -speed : speed;
    }
    spawnDebris(x, y, 0);
}

void cActor::updateType20() {
    cActor* racer = cGame::s_altPlayer;
    const jint animation = player ? player->anim : -1;
    if (touches(this, racer)) {
        switch (animation) {
            case 0: {
                const jint items = cActor::typeValueOf(racer, kItems) + 1;
                cActor::setTypeValueOf(racer, kItems, items);
                addScore(50);
                if (items == kLifeItems) ++cHero::s_lives;
                cGame::playSfx(kSfxCoin);
                break;
            }
            case 1:
                cActor::setTypeValueOf(racer, kBoostMs, kBoostGrant);
                addScore(1000);
                cGame::playSfx(kSfxBoost);
                break;
            case 2:
                addScore(300);
                cActor::setTypeValueOf(racer, kShieldCharges, cActor::typeValueOf(racer, kShieldCharges) + 1);
                cGame::playSfx(kSfxShield);
                break;
            default: break;
        }
        setState(kStateDead);
        return;
    }
    cActor* rival = cGame::s_type21Actor;
    if (animation == 1 && touches(this, rival)) {
        cActor::setTypeValueOf(rival, kRivalBoostMs, kBoostGrant);
        setState(kStateDead);
    }
}
