// Z's statics, their collector roots, and the small tables: the update-order pairs, the fixed-point
// constants, the angle copies and the type-to-sprite map. Each builder stores its array in the
// static before filling it, so a collection during start-up always finds what was made.
#include <iterator>

#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/class_ids.h"
#include "runtime/log.h"
#include "runtime/static_class.h"

IntArray* Z::s_updateOrders = nullptr;
jint Z::DIR_RIGHT = 0;
jint Z::DIR_DOWN = 0;
jint Z::DIR_LEFT = 0;
jint Z::DIR_UP = 0;
jint Z::C17 = 0;
jint Z::C58 = 0;
jint Z::C88 = 0;
ObjectArray* Z::s_behaviourTables[Z::kBehaviourTables] = {};
ObjectArray* Z::s_behaviours = nullptr;
ObjectArray* Z::s_enemyParams1 = nullptr;
ObjectArray* Z::s_enemyParams2 = nullptr;
jint Z::FP_SHIFT = 0;
jint Z::DIST_1000PX = 0;
jint Z::HALF_WIDTH = 0;
jint Z::DIST_36000PX = 0;
ShortArray* Z::s_typeSprite = nullptr;

namespace {

const StaticRefRegistration kStatics(CID_Z, &Z::s_updateOrders, &Z::s_behaviours, &Z::s_enemyParams1,
                                     &Z::s_enemyParams2, &Z::s_typeSprite);

struct BehaviourTableRoots {
    BehaviourTableRoots() {
        for (ObjectArray*& table : Z::s_behaviourTables) StaticClass::registerRefStatic(CID_Z, staticRootSlot(&table));
    }
};
const BehaviourTableRoots kBehaviourTableRoots;

// (type, update order). Type 20 comes after 21, as given; no type appears twice.
constexpr jint kUpdateOrders[] = {
    1, 50,  2, 10001,  4, 50,  5, 49,  6, 50,  7, 50,  8, 50,  9, 50,  10, 10000,  11, 10000,
    12, 50,  13, 50,  14, 50,  15, 10001,  16, 50,  17, 50,  18, 10000,  19, 50,  21, 50,  20, 50,
    22, 50,  23, 50,  58, 50,  59, 50,  60, 50,  61, 50,  29, 49,  30, 49,  53, 49,  54, 49,
};
static_assert(std::size(kUpdateOrders) == 2 * Z::kUpdateOrderPairs);

}  // namespace

void Z::buildUpdateOrderPairs() {
    s_updateOrders = Runtime::newIntArray(static_cast<jint>(std::size(kUpdateOrders)));
    if (!s_updateOrders) {
        Log::error("Z: no memory for the update-order pairs");
        return;
    }
    for (jint i = 0; i < static_cast<jint>(std::size(kUpdateOrders)); ++i) s_updateOrders->set(i, kUpdateOrders[i]);
}

void Z::setFixedPointConstants() {
    FP_SHIFT = 8;
    DIST_1000PX = 256000;
    HALF_WIDTH = 128000;
    DIST_36000PX = 9216000;
}

void Z::copyAngleConstants() {
    DIR_RIGHT = cGame::s_angleFullTurn;
    DIR_DOWN = cGame::s_angleQuarter;
    DIR_LEFT = cGame::s_angleHalf;
    DIR_UP = cGame::s_angleThreeQuarters;
    C17 = 17;
    C58 = 58;
    C88 = 88;
}

void Z::buildTypeSpriteMap() {
    s_typeSprite = Runtime::newShortArray(kTypeSpriteCount);
    if (!s_typeSprite) {
        Log::error("Z: no memory for the type-to-sprite map");
        return;
    }
    for (jint type = 0; type < kTypeSpriteCount; ++type) s_typeSprite->set(type, kTypeSprites[type]);
}
