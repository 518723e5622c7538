// Type 12, the pickup. Its animation says what it gives: 0 a life, 1 some energy, 2 full energy,
// 3 a charge of the gun meter, 4 a special shot; each adds to the level's score. Touching the hero
// collects it (state 20 plays its end, then it is gone). One that moves without gravity (an enemy's
// drop) is drawn to the hero.
#include "actors/cactor.h"

#include <algorithm>

#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"

namespace {

constexpr jint kCollected = 20;
constexpr jint kPull = 40 << 8, kMaxPull = 400 << 8;
constexpr jint kScoreStat = 3;
constexpr jint kEnergyGain = 4, kMeterCharge = 250;

struct Gift {
    jint score;
    jint sound;
};
// By animation.
constexpr Gift kGifts[] = {{1000, 8}, {20, 7}, {1000, 8}, {50, 8}, {300, 8}};
constexpr jint kGiftCount = sizeof kGifts / sizeof kGifts[0];

// One step of the pull towards `target`, the speed kept within the pull's limit.
jint pullTowards(jint speed, jint from, jint target) {
    if (target > from) speed = jt::add(speed, kPull);
    else if (target < from) speed = jt::sub(speed, kPull);
    return std::clamp(speed, -kMaxPull, kMaxPull);
}

// anim is within kGifts.
void give(jint anim, cActor* hero) {
    cHero* asHero = hero->classId() == CID_cHero ? static_cast<cHero*>(hero) : nullptr;
    switch (anim) {
        case 0:
            cHero::s_lives = jt::add(cHero::s_lives, 1);
            break;
        case 1:
            if (asHero) asHero->addEnergy(kEnergyGain);
            break;
        case 2:
            if (asHero) asHero->energy = asHero->maxEnergy;
            break;
        case 3:
            cGame::s_heroMeterBonus = jt::add(cGame::s_heroMeterBonus, kMeterCharge);
            break;
        case 4:
            cHero::s_specialShots = jt::add(cHero::s_specialShots, 1);
            break;
    }
    IntArray* stats = cGame::s_levelStats;
    if (stats && stats->length > kScoreStat)
        stats->set(kScoreStat, jt::add(stats->get(kScoreStat), kGifts[anim].score));
    cGame::playSfx(kGifts[anim].sound);
}

}  // namespace

void cActor::updateType12() {
    cActor* hero = cGame::s_hero;
    if (!hero) return;
    if ((speedX != 0 || speedY != 0) && !(flags & kFlagGravity)) {
        speedX = pullTowards(speedX, x, hero->x);
        speedY = pullTowards(speedY, y, hero->y);
    }
    if (state != 0 || !hero->collisionRect || !rectsOverlap(hero->collisionRect, collisionRect)) return;
    const jint anim = player ? player->anim : -1;
    if (anim >= 0 && anim < kGiftCount) give(anim, hero);
    // The pickup a boss dropped is gone: it may drop another.
    if (cHero::s_dropItem == this) cHero::s_dropItem = nullptr;
    setState(kCollected);
}
