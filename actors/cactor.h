// cActor (class id 118, implements IActorType, IConst, IDef): every thing in a level: the hero,
// enemies, platforms of the level's polylines, zones, spawners, effects. A type picks its set-up,
// behaviour table and per-type update; a state runs through that table; positions, moves and boxes
// are 8.8 fixed point. Five intrusive lists link the actors (0 unused, 1 level, 2 wake, 3 update by
// order, 4 draw by depth); membership lives in the actor's own arrays, so joining allocates nothing.
// Invariant: inList[i] is true exactly while the actor is linked into list i; params is the record
// the actor was made from and is read through param(), which answers 0 past its end.
#pragma once

#include <initializer_list>

#include "runtime/object.h"

class BoolArray;
class ByteArray;
class Bsprite;
class BXLibPlayer;
class IntArray;
class javax_microedition_lcdui_Graphics;
class ObjectArray;
class ShortArray;

class cActor : public Object {
public:
    cActor() { setClassId(CID_cActor); }

    static constexpr jint kListCount = 5;
    static constexpr jint kListLevel = 1, kListWake = 2, kListUpdate = 3, kListDraw = 4;

    // Flag bits that the actor code tests or sets.
    static constexpr jint kFlagFlips = 3;
    static constexpr jint kFlagHidden = 8;
    static constexpr jint kFlagNoViewWake = 32;
    static constexpr jint kFlagKeptActive = 128;
    static constexpr jint kFlagAnimMotion = 256;
    static constexpr jint kFlagGround = 1024;
    static constexpr jint kFlagNoMove = 2048;
    static constexpr jint kFlagGravity = 4096;
    static constexpr jint kFlagContactKind = 16384;
    static constexpr jint kFlagLift = 0x10000;
    static constexpr jint kFlagHeroFrame = 0x118000;
    static constexpr jint kFlagPairActive = 0x20000;
    static constexpr jint kFlagCarrier = 0x40000;
    static constexpr jint kFlagFront = 0x800000;
    static constexpr jint kFlagBehind = 0x1000000;
    static constexpr jint kFlagActive = 0x2000000;
    static constexpr jint kFlagKilled = 0x4000000;
    static constexpr jint kFlagParked = 0x8000000;
    static constexpr jint kFlagHeld = 0x40000000;
    static constexpr jint kFlagSpawned = static_cast<jint>(0x80000000u);

    // Messages (slot 10) and events (slot 9) this class sends or answers.
    static constexpr jint kMsgHit = 0, kMsgActivated = 6, kMsgDeactivated = 7, kMsgKilled = 8,
                          kMsgZoneReleased = 20, kMsgRelease = 35, kMsgCarry = 36, kMsgHooked = 100,
                          kMsgCoasting = 101, kMsgStruck = 102;
    static constexpr jint kEventInit = 3, kEventStateEntered = 10, kEventStateLeft = 18;
    static constexpr jint kStateDead = -2;

    // --- Construction and set-up ---
    void init();   // the constructor body: the -1 fields, the three rectangles and the list arrays
    void* getInterface(jint classId) override;
    // new <class>(), initFromParams and addToList(list); null when the heap is exhausted.
    [[nodiscard]] static cActor* create(jint type, jint list, ShortArray* params);
    void initFromParams(jint type, ShortArray* params);
    void initByType();
    // Element k of the record, 0 when there is no record or it is shorter.
    [[nodiscard]] jint param(jint k) const;
    // The bit of `type` in a 64-bit type mask (Java's shift: types 64 and up wrap; negative: none).
    [[nodiscard]] static bool typeInMask(jlong mask, jint type);

    // --- Virtual slots 6..16 ---
    virtual void update();
    virtual void setAngle(jint degrees);
    virtual void computeAttackRect();
    virtual void onEvent(cActor* sender, jint event, jint a, jint b, jint c);
    virtual void onMessage(cActor* sender, jint message, jint a, jint b, jint c);
    virtual void paint();
    virtual bool testCollision(cActor* platform, jint segment);
    virtual void applySlope();
    virtual void stopMotion();
    virtual void updateBoxes();
    virtual void collideSegment(cActor* platform, jint segment);

    // --- Lists and the update ---
    void addToList(jint list);
    // Does nothing for an actor that is not in the list (a checkpoint may restore an actor as
    // active that never joined the update list).
    void removeFromList(jint list);
    void removeFromAllLists();
    [[nodiscard]] static bool listOrderBefore(cActor* a, cActor* b, jint list);
    [[nodiscard]] jint getDrawDepth();
    static void clearList(jint list);
    static void clearAllLists();
    [[nodiscard]] static cActor* listHead(jint list);
    [[nodiscard]] cActor* nextIn(jint list) const;
    [[nodiscard]] bool isInList(jint list) const;
    [[nodiscard]] static cActor* findInList(jint id, jint list);
    static void paintList(jint list);
    void activate();
    void deactivate(bool kill);
    void updateCommon();
    // The per-type routine of the dispatch; types whose routine comes later do nothing yet.
    void updateByType();
    void updateType13();

    // --- Level objects: trigger and camera zones, the spawner, effects, hazard emitters ---
    void updateTrigger();       // type 5, its kind in record word 8
    void updateCameraZone();    // type 11
    void updateSpawner();       // type 63
    void updateEffect();        // type 61
    void updateType24();        // the hazard emitters and their shots
    void updateType6();         // the geyser
    void updateType58();        // the geyser's rock
    void updateType10();        // the switch
    void updateType22();        // the one-shot prop
    void updateType35();        // what starts a spawner
    void updateType43();        // what a releaser drops
    void updateType64();        // the spawner's bullet
    void updateType12();        // the pickup
    void updateType39();        // the releaser
    // The releaser's hit: its drops (record words 7 to 9) fall and its ride (word 10) starts; an id
    // naming no actor is passed over.
    void releaseDrops();
    void updateType29();        // the platform mechanisms
    void updateType7();         // the hook carriage
    void updateType18();        // the warp door
    void updateType40();
    void updateType42();        // the ride
    void updateType30();        // the gate and its lever
    void updateType53();        // the night king's orbiter (cenemy_bosses.cpp)
    // A type-61 spark (sprite slot 13) playing `anim` once; null when the table is full.
    static cActor* spawnSpark(jint x, jint y, jint anim);
    static constexpr jint kSparkSprite = 13;
    // Out of the table and every list; a kept reference to it (the hero's shot, the waited effect)
    // is dropped with it.
    void removeEffect();
    static jbyte s_spawnerActive;    // a spawner is running its rows
    static cActor* s_waitEffect;     // the effect the hero waits on (checkpoints wait with it)
    static constexpr jint kFlagWaiting = 0x8000000;   // the hero's: an effect it waits on plays

    // --- States, behaviours, animation ---
    void enterState(jint s);
    void setState(jint s);
    [[nodiscard]] jint findBehaviourRecord(jint s) const;
    [[nodiscard]] jint getBehaviourField(jint k) const;
    void setMotion(jint speed, jint angle);
    void setAcceleration(jint a, jint angle);
    void setMotionAndAcceleration(jint speed, jint a, jint angle);
    void setBehaviourSpeed(jint speed);
    void chooseStateAnim(jint animation, jint loops);
    Bsprite* createAnimPlayer();
    void advanceAnimation();
    static void advanceAnimations(jint list);
    IntArray* getAnimRect(IntArray* rect);
    // The player's animation counts as over: none, or not endless and finished.
    [[nodiscard]] bool isAnimOver() const;

    // --- Utilities ---
    [[nodiscard]] bool hasFlag(jint mask) const { return (flags & mask) != 0; }
    [[nodiscard]] bool hasParamFlag(jint mask) const { return (paramFlags & mask) != 0; }
    void setFlag(jint mask) { flags |= mask; }
    void clearFlag(jint mask) { flags &= ~mask; }
    [[nodiscard]] bool isFlipped() const;
    void setFlipped(bool on);
    void setFlippedY(bool on);
    void toggleFlipped();
    [[nodiscard]] jint facingValue(jint v) const;
    void limitSpeedXFacing(jint limit);
    void faceHero();
    void faceActor(cActor* other);
    [[nodiscard]] bool isOnGround() const;
    [[nodiscard]] bool isDying() const;
    IntArray* toWorldRect(IntArray* box);
    IntArray* offsetRect(IntArray* rect);
    [[nodiscard]] static bool rectsOverlap(IntArray* a, IntArray* b);
    [[nodiscard]] static bool rectsTouch(IntArray* a, IntArray* b);
    [[nodiscard]] static bool rectOverlapsBox(IntArray* r, jint l, jint t, jint rt, jint b);
    [[nodiscard]] static bool pointInRect(jint px, jint py, IntArray* r);
    [[nodiscard]] bool containsPlayer();
    void updateCollisionRect(jint dx, jint dy, bool keepBase);
    void refreshCollisionRect();
    void snapTo(cActor* other, bool alignOwnTop, bool useTopBox);
    bool clampToCameraZone();
    void placePlayerOnScreen();
    void placeOnWheel();
    [[nodiscard]] static jint approxDistance(jint dx, jint dy);
    [[nodiscard]] static jint scaleBySin(jint v, jint angle);
    [[nodiscard]] static jint scaleByCos(jint v, jint angle);
    void limitSpeed(jint len, jint angle);
    [[nodiscard]] static jint scaleBySpeedFactor(jint v);
    [[nodiscard]] static jint predictPosition(jint v, jint a);
    [[nodiscard]] static jint clampMagnitude(jint v, jint limit);
    static void polarOffset(jint len, jint angle, jint dx, jint dy);
    [[nodiscard]] jint getFrameOffsetX() const;
    [[nodiscard]] jint getFrameOffsetY() const;
    [[nodiscard]] cActor* findNearestAbove();
    [[nodiscard]] bool isHeroNearX(jint d) const;
    [[nodiscard]] bool isHeroRidingLinked();
    void findZoneSegment();
    void moveType7();
    void moveType53();

    // --- Boxes and view tests ---
    void computeFrameRect(IntArray* rect);
    void getFrameBoxRect(jint box, IntArray* rect);
    void getAFrameBoxRect(jint anim, jint aframe, jint box, IntArray* rect);
    void centerOnPoint(jint cx, jint cy);
    IntArray* getRecordRect();
    [[nodiscard]] bool isOutsideView(jint margin);
    [[nodiscard]] bool isOutsideViewVertically(jint margin);
    [[nodiscard]] bool cornerTouchesRect(IntArray* rect, bool useTop, bool stripAtTop);

    // --- Attacks and painting (cactor_attack.cpp, cactor_paint.cpp) ---
    // Message 0 with the damage to every actor of s_targetMask's types whose world box touches the
    // rectangle slot 8 computes, except dying, dead and hidden ones; clears the mask; answers the
    // last actor hit, or null.
    cActor* attack(jint damage);
    [[nodiscard]] static bool isTargetType(jint t);
    static void setTargetTypes(std::initializer_list<jint> types);
    // s_attackRect, made when missing (null only when the heap is exhausted).
    [[nodiscard]] static IntArray* attackRect();
    // Layers 2 and 3 painted again over the cells of the overdraw zone that hold collision tiles.
    void paintOverdrawTiles(javax_microedition_lcdui_Graphics* g, jint mode);
    // The race levels' painting: the player on the wheel, most types as a depth-scaled frame.
    void paintOnWheel();
    // Every stored depth-scaled image dropped (a new level's sprites differ).
    static void clearFrameImages();
    // The frame caches' build and clear as the loader's level services (a start-up step).
    static void registerPaintServices();
    // The hero, the submarine and the alternate player as the game's touch input and heads-up
    // display read them (a start-up step; actor_view.cpp).
    static void registerActorView();
    static constexpr jint kFrameImageFrames = 5, kFrameImageBands = 10, kFrameImageBand = 26;
    static jint s_targetAngle;   // degrees from the hero to the last target examined

    // --- The race levels' obstacles and collectables (cactor_race.cpp) ---
    void updateType19();
    void updateType20();

    // --- Checkpoint records: 20 bytes with a player, 18 without, none for an actor made at run time ---
    jint saveState(ByteArray* buffer, jint offset);
    // The bytes saveState writes for this actor.
    [[nodiscard]] jint saveStateBytes() const;
    // The record back into the same actor of a rebuilt level. An actor stored active that cannot
    // join the update list again (parked) is not left marked active.
    jint loadState(ByteArray* buffer, jint offset);

    // --- Movement: the pending move, gravity, slopes and the put-on-ground operations ---
    void updateMovement();
    void applyMove();
    void accelerateX(jint a);
    void accelerateY(jint a);
    // Drops the actor at most 160 pixels onto the ground below; the position stays when none is hit.
    void probeGround();
    void snapToSegment(jint platformId, jint segment);
    // Carries an actor that has just left its ground segment onto the next one; true when it did.
    bool followGroundEdge();
    // A level platform (not excludedId) whose polyline starts (end 1) or ends (end 0) at the world
    // point; it and its segment are left in s_edgePlatform and s_edgeSegment.
    [[nodiscard]] static bool findPlatformAt(jint excludedId, jint wx, jint wy, jint end);
    // The pending move of one axis from its speed (incremented first) and acceleration.
    [[nodiscard]] static jint integrateAxis(jint& speed, jint accel);
    // The same move for a speed that stays as it is.
    [[nodiscard]] static jint axisMove(jint speed, jint accel);

    // --- Collision: the contact table and the resolver ---
    static constexpr jint kContactSegment = 0x8000, kContactActor = 0x2000;
    static constexpr jint kContactIndexMask = 0x1FFF;  // the whole segment index of a segment contact
    static constexpr jint kContactTableLimit = 19;
    static constexpr jint kDirWallBehind = 1, kDirCeiling = 2, kDirWallFront = 4, kDirFloor = 8;
    static constexpr jint kPolyOneWay = 16, kPolyHarmful = 128, kPolyWallKick = 0x100, kPolyHang = 0x200,
                          kPolyPassRight = 0x400, kPolyPassLeft = 0x800, kPolyPushDown = 0x1000;
    static constexpr jint kFlagCarried = 8192, kFlagSliding = 32768, kFlagSwitchedOff = 0x20000;
    static constexpr jint kParamFlagPolyline = 2;
    // The whole contact pass of one moved actor: roll the contact state over, then search and
    // dispatch until no contact asks for a wider search.
    void resolveContacts();
    // The contact passes over the search rectangle made from the collision box (both exist).
    void runContactPasses();
    void rollContactState();
    void checkActorContacts();
    bool dispatchContacts();
    bool recheckContact(cActor* other, jint kind, jint segment);
    bool checkActorCollision(IntArray* rect, cActor* platform);
    [[nodiscard]] bool segmentBoxOverlap(IntArray* rect, cActor* platform, jint k) const;
    [[nodiscard]] jint contactKindOf(cActor* other) const;
    static void addContact(jint code);
    bool growSearchRect();
    void setContact(jint contactActorId, jint contactBits, jint segment);
    bool pushApart(cActor* other, jint code, bool swept, bool fromDispatch);
    void rideOn(cActor* other);
    void findSwitchPlatforms();
    // The response to a contact: 1 accept, 3 accept keeping the vertical speed, 4 pass through,
    // 5 clip without a ground contact, 6 step one pixel off the crossing point.
    jint applyContact(cActor* other, jint kind, jint contactBits, jint dx, jint dy, bool fromDispatch);

    static jbyte s_strongGravity;
    static cActor* s_edgePlatform;
    static jint s_edgeSegment;

    static void staticInit();
    static void setConstants();
    static void setTimingStatics();

    // Fields, in declaration order.
    jint id;
    jint state;
    ShortArray* params;
    jint x, y;
    jint animOffsetX, animOffsetY;
    jint moveX, moveY;
    jint speedX, speedY;
    jint accelX, accelY;
    jint behaviourSpeed;
    jint pendingState;
    jint previousState;
    jint angle;
    jint updateOrder;
    cActor* linked;
    jint stateTime;
    jint stateEntryFrame;
    jint behaviourId;
    jint behaviourRecord;
    IntArray* localBox;
    IntArray* collisionRect;
    IntArray* scratchRect;
    jint contactKind;
    jint contactFlags;
    jint contactId;
    jint groundId;
    jint prevGroundId;
    jint prevContactFlags;
    jint prevContactId;
    jint prevGroundSegment;
    ObjectArray* next;
    ObjectArray* prev;
    BoolArray* inList;
    jint type;
    jint flags;
    jint paramFlags;
    IntArray* typeData;
    // typeData[k] of an actor, 0 when it (or the value) is missing; the value set only where it exists.
    [[nodiscard]] static jint typeValueOf(const cActor* a, jint k);
    static void setTypeValueOf(cActor* a, jint k, jint value);
    BXLibPlayer* player;

    // Statics built by staticInit.
    static ObjectArray* s_lists;
    static jint s_targetMask[4];
    static cActor* s_lastHit;
    static IntArray* s_attackRect;
    static cActor* s_hitActor;
    static ObjectArray* s_frameImages;
    static IntArray* s_vec2;
    static IntArray* s_cornerX;
    static IntArray* s_cornerY;
    static ShortArray* s_cornerSign;
    static IntArray* s_searchRect;
    static IntArray* s_viewScratch;
    static IntArray* s_contacts;
    static jint s_contactCount;
    static jint s_contactPasses;
    static cActor* s_groundActor;
    static jbyte s_heroCarried;
    // The constants the class initialisation stores itself.
    static jint s_heroGunEnergyStart;   // 1500
    static jint s_contactLimit;         // 4
    static jint s_enemyCountdown;       // 3000 ms
    static jint s_enemyBossFlag;
    static jint s_enemyAngleWide;       // 160 degrees in 256ths
    static jint s_enemyAngleNarrow;     // 20 degrees in 256ths
};
