// cSubmarine (class id 122, extends cActor): the vehicle the hero can board. It waits until the hero
// touches it, then is turned by left/right, thrust along its heading by fire and slowed by the water;
// it bounces off level segments (hard impacts cost hull) and carries an air supply that a refill
// station tops up. Angles are 256 per turn, speeds 8.8 px/s.
// Invariant: heading stays in 0..255.
#pragma once

#include "actors/cactor.h"

class BXLibPlayer;

class cSubmarine : public cActor {
public:
    cSubmarine() { setClassId(CID_cSubmarine); }
    [[nodiscard]] static cSubmarine* create(ShortArray* params);
    // Also the engine's thrust and the speed.
    void stopMotion() override;

    jint thrust;
    jint heading;
    jint course;
    jint hull;

    // A level segment met this frame and its direction, for the bounce.
    static jbyte s_wallHit;
    static jint s_wallX, s_wallY;
    static jint s_airMs;
    static jint s_airMaxMs;

    // --- Driving (csubmarine_drive.cpp) ---
    static constexpr jint kStateWaiting = 141, kStateDriving = 142, kStateRefilling = 143, kStateLeaving = 144,
                          kStateLeft = 145, kStateDestroyed = 146, kStateHeroLost = 147;
    static constexpr jint kFullHull = 20;
    static constexpr jint kBoardedAirMs = 30000;
    static constexpr jint kTurnStep = 10;
    static constexpr jint kThrustAccel = 500 << 8, kDrag = -300 << 8, kTopSpeed = 400 << 8,
                          kLeaveStationSpeed = 200 << 8, kHardImpact = 200 << 8;
    static constexpr jint kDustOffsetX = -90 << 8, kDustOffsetY = -76 << 8;
    void update() override;
    void setAngle(jint angle) override;
    void turnBy(jint delta);
    void turnBack(jint delta);
    void applyVelocity();
    void applyThrust();
    void applyDrag();
    void bounce();

    // --- Wall contacts (csubmarine_collision.cpp) ---
    bool testCollision(cActor* platform, jint segment) override;
    void collideSegment(cActor* platform, jint segment) override;
    // The collision rectangle's leading edges against one segment: the pending moves cut back to the
    // contact and the wall hit recorded; 1 when it made a contact.
    jint collideSegmentEdges(cActor* platform, jint segment);

    // --- Painting (csubmarine_paint.cpp) ---
    static constexpr jint kEngineIdleAnim = 11, kEngineThrustAnim = 43, kHeadingSteps = 32;
    void paint() override;
    void createEnginePlayer();
    // The hull's look for the hull points left: 3 (slightly damaged) .. 10, -1 at full hull.
    [[nodiscard]] static jint hullAnimation(jint hullPoints);
    // The engines' animation for a heading, idle or thrusting.
    [[nodiscard]] static jint engineAnimation(jint heading, bool thrusting);
    static BXLibPlayer* s_enginePlayer;
};
