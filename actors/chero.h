// cHero (class id 121, extends cActor): the player's actor, one per level, kept in cGame::s_hero.
// Its update runs the move set over the game-key snapshot (chero_control.cpp, chero_fire.cpp), its
// message and state reactions (chero_messages.cpp, chero_events.cpp), its collision box and segment
// test (chero_boxes.cpp) and the ground hooks of the contact response (chero_ground.cpp).
// Invariant: invulnerableMs is negative while the hero can be hit (the constructor sets -1); the
// class statics assume a single hero.
#pragma once

#include "actors/cactor.h"

class cHero : public cActor {
public:
    cHero() { setClassId(CID_cHero); }
    void init();
    [[nodiscard]] static cHero* create(ShortArray* params);
    void onEvent(cActor* sender, jint event, jint a, jint b, jint c) override;
    void onMessage(cActor* sender, jint message, jint a, jint b, jint c) override;
    // Message 0: the damage and the reaction by the attacker's type.
    void onHit(cActor* sender, jint damage);
    void onStateEntered(jint s);
    void update() override;
    bool testCollision(cActor* platform, jint segment) override;
    void applySlope() override;
    void updateBoxes() override;
    void collideSegment(cActor* platform, jint segment) override;
    // The lift zone's return height is reset and the per-frame zone bits cleared.
    void resetZoneFlags();
    static void setBasicMode(bool on);
    // energy + delta, kept within 0..maxEnergy.
    void addEnergy(jint delta);
    // Below the level's bottom edge (unless a camera zone holds the camera): state 20.
    bool checkFallOut();
    void updateBlink();
    void debugMove(bool skip);

    // --- State sets ---
    [[nodiscard]] static bool isGroundState(jint s);
    [[nodiscard]] static bool isMotionState(jint s);
    [[nodiscard]] static bool isShootState(jint s) { return s == 113 || s == 115 || s == 117; }
    [[nodiscard]] static bool isAttackState(jint s) { return s >= 107 && s <= 112; }
    [[nodiscard]] static bool isHurtState(jint s) { return s == 5 || s == 8 || (s >= 125 && s <= 129); }
    [[nodiscard]] static bool isCrouchState(jint s) { return s >= 102 && s <= 104; }
    [[nodiscard]] static bool isHookState(jint s) { return s == 117 || s == 118 || s == 134 || s == 135; }
    [[nodiscard]] static bool isHangState(jint s) { return s == 115 || s == 116 || (s >= 119 && s <= 125); }
    [[nodiscard]] static bool isHangingState(jint s) { return isHangState(s) || isHookState(s); }

    // --- Control (chero_control.cpp, chero_fire.cpp) ---
    // The first of up, up-left, up-right pressed or held, remembered in s_jumpKey; -1 when none, the
    // remembered key then stays (a tap jumps on the frame its key comes up).
    static jint pickJumpKey();
    [[nodiscard]] static bool isJumpKeyPressed();
    [[nodiscard]] static bool isJumpKeyHeld();
    bool faceByKeys(bool upDiagonals, bool downDiagonals);
    static void aimByKeys(bool strike);
    [[nodiscard]] static jint aimIndex(jint degrees);
    void startJump(jint key);
    void runStateRule();
    void updateWalk();
    void noWalk();
    void updateJumpInput();
    void airSteer();
    void updateAirState();
    void updateLiftZone();
    void updateHang();
    void updateHook();
    void updateFireInput();
    void groundFireInput();
    void hangFireInput();
    void hookFireInput();
    void airStrikeInput();
    void strike();
    void updateShot();
    void aimOnEntry(jint s);

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

    // An edge zone's grab: facing its side, the strip at the hero's top edge (moved by the pending
    // move) meets the box; in the air, reaching into the box stops the horizontal speed.
    bool tryGrabEdge(IntArray* box, bool leftSide, bool top);

    // --- Ground movement and the contact hooks ---
    // The per-axis move with the slide speed added and the carrying platform's motion.
    void moveWithGround();
    void updateSlideSpeed();
    // The collision box's leading edges against one segment; true when the horizontal move was cut.
    bool collideSegmentEdges(cActor* platform, jint k);
    // Hooks of the hero's control that the contact response calls: the kick off a steep segment
    // (state 2, thrown away from the wall and up, higher with a jump key held, steering locked for
    // a moment), the sideways push of a segment that shoves the hero down, and the reaction to
    // another actor (landing on a carrier, hurt by a gate jumped on or closing on it; always accepted).
    virtual void wallKick(jint dx, jint dy);
    virtual void wallPush(jint dx, jint dy);
    virtual jint contactReaction(cActor* other, jint contactBits);
    static constexpr jint kKickSpeedX = 400 << 8, kKickSpeedY = -600 << 8, kKickHighSpeedY = -1100 << 8;

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
    static cActor* s_impactEffect;
    static cActor* s_target;
    static cActor* s_dropItem;
    // The restricted move set (slower walk and jump, no crouch, attacks, lifts or floats); a
    // checkpoint keeps it.
    static jbyte s_basicMode;
    static bool s_wallContact;
    static bool s_airBrake;
    static bool s_jumpHeld;
    // Debug toggle: hits, the vehicle's hull damage and its air use cost nothing.
    static bool s_godMode;
    static bool s_freeMove;
    static bool s_fireReady;
    static bool s_floatRequest;
    static bool s_diagonalJump;
    static jint s_jumpFrames;
    static jint s_jumpKey;
    static jint s_kickLockMs;
    static jint s_fireHeldMs;
    static jint s_meleeHeldMs;
    static jint s_steerFrames;
    // Statics back to their class-initialisation values (a new game, a test).
    static void resetStatics();
};
