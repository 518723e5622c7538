// cHero (class id 121, extends cActor): the player's actor, one per level, kept in cGame::s_hero.
// Its control, movement and contact rules come with the hero's own code; here it holds its fields,
// the class statics the level start sets, and the per-frame zone reset.
// Invariant: invulnerableMs is negative while the hero can be hit (the constructor sets -1).
#pragma once

#include "actors/cactor.h"

class cHero : public cActor {
public:
    cHero() { setClassId(CID_cHero); }
    void init();
    [[nodiscard]] static cHero* create(ShortArray* params);
    void onEvent(cActor* sender, jint event, jint a, jint b, jint c) override;
    // The lift zone's return height is reset and the per-frame zone bits cleared.
    void resetZoneFlags();

    jint energy;
    jint maxEnergy;
    jint returnX;
    jint returnY;
    jint heroSpeedX;
    jint heroAccelX;
    jint landingSpeed;
    jint invulnerableMs;

    static jint s_gunEnergy;
    static jint s_specialShots;
    static jint s_lives;
    static jint s_savedEnergy;
    static jint s_aimIndex;
    static cActor* s_shotEffect;

    // The alternative movement mode, kept by a checkpoint.
    static jbyte s_basicMode;
};
