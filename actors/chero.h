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

    // --- Reach and aim (chero_target.cpp) ---
    void computeAttackRect() override;
    // The first visible actor of the target types that the hero may aim at (40 degrees either side
    // of the aim in the long shots); for another caller the first of those types.
    [[nodiscard]] static cActor* findTarget(cActor* caller);
    // The same search with a 22-degree window, choosing the best: by class, then the nearest.
    [[nodiscard]] static cActor* findBestTarget(cActor* caller);
    // To the bottom centre of the attack rectangle, or where the way there from (fromX, fromY)
    // crosses a blocking polyline first.
    void moveToAttackPoint(jint fromX, jint fromY);
    static jint s_aimDegrees;   // 0 right, 90 up, 180 left, 270 down; -1 none

    // --- Ground movement and the contact hooks ---
    // The per-axis move with the slide speed added and the carrying platform's motion.
    void moveWithGround();
    void updateSlideSpeed();
    // The collision box's leading edges against one segment; true when the horizontal move was cut.
    bool collideSegmentEdges(cActor* platform, jint k);
    // Hooks of the hero's control that the contact response calls: the kick off a steep segment
    // (state 2, thrown away from the wall and up), the sideways push of a segment that shoves the
    // hero down, and the reaction to another actor (landing on a carrier; always accepted).
    virtual void wallKick(jint dx, jint dy);
    virtual void wallPush(jint dx, jint dy);
    virtual jint contactReaction(cActor* other, jint contactBits);
    static constexpr jint kKickSpeedX = 400 << 8, kKickSpeedY = -600 << 8;
    static jbyte s_wallHit;  // a wall met while walking this frame

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

    // Debug toggle: hits, the vehicle's hull damage and its air use cost nothing.
    static bool s_godMode;
};
