// Z (class id 133): the actors' constant data, all static, never instantiated. Each builder runs
// once in its start-up step (the order is fixed: the pairs first, the tuning constants after
// FP_SHIFT, the angle copies after cGame's statics, the type-to-sprite map last).
// Invariant: nothing here changes after start-up; readers treat every array as read-only.
#pragma once

#include "runtime/jtypes.h"

class IntArray;
class ObjectArray;
class ShortArray;

class Z {
public:
    Z() = delete;

    static constexpr jint kUpdateOrderPairs = 30;
    static constexpr jint kBehaviourIds = 31;
    // The 31 indexed tables and two that no behaviour id reaches.
    static constexpr jint kBehaviourTables = 33;
    static constexpr jint kBehaviourRecordSize = 5;  // {state, animation, duration ms, speed, next}
    static constexpr jint kEnemyParamRecords = 27;
    static constexpr jint kEnemyParamSize = 4;  // {type, hit points, damage, score}
    static constexpr jint kTypeSpriteCount = 58;
    // Actor type 0..57 -> sprite slot (item of the sprites pack), -1 none; the level compiler
    // checks actors' animations against the same map.
    static constexpr jshort kTypeSprites[kTypeSpriteCount] = {
        -1, 0,  -1, -1, 1,  -1, 3,  4,  5,  6,    // 0-9
        -1, -1, 7,  9,  10, 11, -1, -1, 12, 14,   // 10-19
        16, 17, 18, 20, 22, 23, -1, -1, 24, 25,   // 20-29
        26, -1, 24, 27, 0,  28, 29, 30, 31, 19,   // 30-39
        32, 33, 34, 19, -1, -1, 27, 36, 37, 35,   // 40-49
        -1, 38, 39, 38, -1, -1, -1, -1,           // 50-57
    };

    // int[60]: (actor type, update order) pairs; the first pair of a type wins, absent types get 50.
    static void buildUpdateOrderPairs();
    // FP_SHIFT and the three distances, in that order.
    static void setFixedPointConstants();
    // Whole units shifted by FP_SHIFT (set just before), so 8.8 values.
    static void buildTuningConstants();
    // DIR_RIGHT .. DIR_UP from cGame's full turn, quarter, half and three quarters; then 17, 58, 88.
    static void copyAngleConstants();
    // The 33 tables (Object[] of short[5]) and the index s_behaviours over the first 31.
    static void buildBehaviourTables();
    // Object[27] of short[4] each, stored from type 65 down to type 1.
    static void buildEnemyParamTables();
    // short[58] indexed by actor type: sprite slot, -1 for a type without a player.
    static void buildTypeSpriteMap();

    static IntArray* s_updateOrders;

    // Tuning constants (8.8). Those that later code names by role carry the role's name.
    static jint GRAVITY;  // 2000 px/s²
    static jint T85, T86;    // dust puff vertical and horizontal speed
    static jint T98, T99;    // half the knock-off speed of a hit type-58 object (vertical, horizontal)
    static jint T122;        // speed of the released type-59 partner of a type-58 object
    static jint T135, T136;  // hooked type-7 actor: speed, acceleration
    static jint T138, T139;  // struck type-7 actor: speed, acceleration
    static jint T152;        // horizontal range of the search for the nearest actor above
    static jint T156, T157;  // x range in which a type-21 actor shows animation 1
    static jint T187, T188;  // depth below its record past which a state-241 actor rises, and that speed
    static jint BOUNCE_SPEED;         // -900 px/s: the hero thrown up by a harmful contact
    static jint TARGET_HEIGHT_RANGE;  // 170 px: vertical reach of targeting in levels 5 and 6
    static jint AIM_POINT_DROP;       // 90 px: the aim reference point moved down
    static jint HERO_SLOPE_ACCEL;     // 200 px/s² while sliding
    static jint HERO_SLIDE_FRICTION;  // 800 px/s² against the slide once off the slope

    static jint DIR_RIGHT;
    static jint DIR_DOWN;
    static jint DIR_LEFT;
    static jint DIR_UP;
    // Three constants set with the angle copies; nothing reads them yet.
    static jint C17;
    static jint C58;
    static jint C88;

    static ObjectArray* s_behaviourTables[kBehaviourTables];
    static ObjectArray* s_behaviours;  // Object[31]: behaviour id -> table
    static ObjectArray* s_enemyParams1;  // difficulty 1
    static ObjectArray* s_enemyParams2;  // any other difficulty

    static jint FP_SHIFT;
    static jint DIST_1000PX;
    static jint HALF_WIDTH;
    static jint DIST_36000PX;

    static ShortArray* s_typeSprite;
};
