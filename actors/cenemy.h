// cEnemy (class id 119, extends cActor): the enemies and the other actors whose types the class
// table gives it (the alternate player among them). Its per-type behaviours come with the enemies'
// own code; here it holds its fields and takes its behaviour table when initialised.
// Invariant: behaviourId stays -1 for a type the enemy tables do not list.
#pragma once

#include "actors/cactor.h"

class cEnemy : public cActor {
public:
    cEnemy() { setClassId(CID_cEnemy); }
    [[nodiscard]] static cEnemy* create(jint type, ShortArray* params);
    void onEvent(cActor* sender, jint event, jint a, jint b, jint c) override;
    // The behaviour id of an enemy type, -1 for a type without a table.
    [[nodiscard]] static jint behaviourIdOf(jint type);

    jint health;
    jint maxHealth;
    jint damage;
    jint scoreValue;
    jint hitTimer;

    // --- The race levels (cenemy_race.cpp): the player's racer and its rival ---
    void updateType14();
    void updateType21();
    // The heights the heads-up display shows for the two racers (8.8 y, the top of the course at 0).
    static jlong s_raceHeightPlayer;
    static jlong s_raceHeightRival;
};
