// Z's builders as steps of the one start-up table; the table's order is what makes each builder's
// inputs ready (FP_SHIFT before the tuning constants, cGame's angles before their copies).
#include "actors/z.h"
#include "runtime/static_class.h"

namespace {

const StaticInitRegistration kUpdateOrders("Z::buildUpdateOrderPairs", &Z::buildUpdateOrderPairs);
const StaticInitRegistration kFixedPoint("Z::setFixedPointConstants", &Z::setFixedPointConstants);
const StaticInitRegistration kTuning("Z::buildTuningConstants", &Z::buildTuningConstants);
const StaticInitRegistration kAngles("Z::copyAngleConstants", &Z::copyAngleConstants);
const StaticInitRegistration kBehaviours("Z::buildBehaviourTables", &Z::buildBehaviourTables);
const StaticInitRegistration kEnemyParams("Z::buildEnemyParamTables", &Z::buildEnemyParamTables);
const StaticInitRegistration kTypeSprite("Z::buildTypeSpriteMap", &Z::buildTypeSpriteMap);

}  // namespace
