// cEnemy (class id 119, extends cActor): everything in a level with hit points: the enemies, the
// bosses and the alternate player. Set up from the difficulty's parameter table, hit with a short
// invulnerability, updated by the routine of its type.
// Invariant: behaviourId stays -1 for a type the enemy tables do not list; hitTimer is negative
// while the enemy can be hit.
#pragma once

#include "actors/cactor.h"

class cEnemy : public cActor {
public:
    cEnemy() { setClassId(CID_cEnemy); }
    void init();
    [[nodiscard]] static cEnemy* create(jint type, ShortArray* params);
    void onEvent(cActor* sender, jint event, jint a, jint b, jint c) override;
    // The behaviour id of an enemy type, -1 for a type without a table.
    [[nodiscard]] static jint behaviourIdOf(jint type);

    jint health;
    jint maxHealth;
    jint damage;
    jint scoreValue;
    jint hitTimer;

    // --- Update, hits, set-up and state hooks (cenemy.cpp, cenemy_events.cpp) ---
    static constexpr jint kHurtState = 5, kDyingState = 20, kHitInvulnerableMs = 500;
    void update() override;
    void onMessage(cActor* sender, jint message, jint a, jint b, jint c) override;
    // Hit points, damage and score from the difficulty's table: the last row of the type wins.
    void applyParams();
    void onStateEntered(jint s);
    void onStateLeft(jint s);
    // Set by the type-51 boss while leaving its state 163 should release five minions.
    static jbyte s_bossMinionRelease;

    // --- Ordinary enemies' routines (cenemy_behaviours.cpp) ---
    void updateByEnemyType();
    void updateType4();
    void updateType8();
    void updateType23();
    void updateType25();
    void updateType37();
    void updateType38();
    void updateType41();
    void updateType47();
    void updateType48();
    void updateType49();
    void updateType52();
    void updateType65();
    // The attack against the hero's side (types 1 and 31) with this enemy's damage; the actor hit
    // is kept in s_lastHit.
    cActor* attackHeroSide();
    // A type-65 minion at this enemy's position (the nest's release).
    void releaseMinion();

    // --- The bosses (cenemy_bosses.cpp): the rock giant (9), the dropping boss (32) and the night
    // king (51), whose orbiter (type 53) is a plain cActor ---
    void updateType9();
    void updateType32();
    void updateType51();
    // The night king's orbiter: its `linked` actor when that is a type-53 actor, else null.
    [[nodiscard]] cActor* orbiter() const;

    // --- The race levels (cenemy_race.cpp): the player's racer and its rival ---
    void updateType14();
    void updateType21();
    // The heights the heads-up display shows for the two racers (8.8 y, the top of the course at 0).
    static jlong s_raceHeightPlayer;
    static jlong s_raceHeightRival;
};
