// cGame's actor table and the actor passes: the table sorted by id (ids shared with the trigger ids:
// a wake for an id no actor holds fires that trigger), the activation pass, the update walk, the
// draw collection, and the spawners. cGame derives from cGameActors, so `cGame::spawnActor` names them.
// Invariant: entries 0..s_actorCount-1 of s_actorTable are sorted by id and the rest are null; a
// full table refuses a spawn, so every caller copes with no actor.
#pragma once

#include "runtime/jtypes.h"

class cActor;
class ObjectArray;
class ShortArray;

struct cGameActors {
    static constexpr jint kActorTableSize = 650;
    // Types a level record may name but no actor is made of (the level compiler refuses them too).
    static constexpr bool isSkippedLevelType(jint type) {
        return type == 16 || type == 17 || type == 26 || type == 27 || type == 50 || type == 59 || type == 60;
    }

    [[nodiscard]] static cActor* findActorById(jint id);
    static void sortActorTable(jint start);
    static void removeActor(cActor* actor);
    static void clearActorTable();
    // Appends an actor to the table; false (logged once a level) when the table is full.
    static bool addActor(cActor* actor);
    [[nodiscard]] static cActor* actorAt(jint index);
    static cActor* deactivateActorById(jint id, bool kill);
    static cActor* wakeActorById(jint id);
    static void updateActorActivation();
    [[nodiscard]] static bool isActorNearView(cActor* actor);

    // The level's records made into actors; a truncated record ends the reading (logged), a record
    // of fewer than 6 values is skipped.
    static void spawnLevelActors();
    // Players and per-type set-up of every level actor once the loader has its sprites.
    static void initLevelActors();
    static cActor* spawnActor(jint type, jint spriteSlot, jint x, jint y);
    static cActor* spawnType12(jint x, jint y, jint animation);
    static cActor* spawnType24(jint x, jint y, jint a, jint b, jint c, jint d, jint e);
    static cActor* spawnDust(jint x, jint y);

    // The update walk over a snapshot of the list, so an actor that a behaviour takes out of the
    // list (even the one the walk would go to next) is skipped, never followed into.
    static void updateActors(jint list);
    static void collectVisibleActors();
    // Every static of this topic back to its start value (tests rebuild the world with it).
    static void resetStatics();

    static ObjectArray* s_actorTable;
    static jint s_actorCount;
    static jint s_actorIdBase;
    static cActor* s_hero;
    static cActor* s_altPlayer;
    static cActor* s_type21Actor;
    static cActor* s_type44Actor;
    static jbyte s_pulseActive;
    static jint s_pulseFrames;
    static bool s_tableFullLogged;

    // The vehicle being driven (null when none) and whether the hero is aboard it.
    static cActor* s_vehicle;
    static bool s_inVehicle;
};
