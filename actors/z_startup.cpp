// Z's builders as steps of the one start-up table; the table's order is what makes each builder's
// inputs ready (FP_SHIFT before the tuning constants, cGame's angles before their copies).
#include "actors/z.h"
#include "runtime/static_class.h"

namespace {

const StaticInitRegistration kUpdateOrders(StaticInit::Z_buildUpdateOrderPairs, &Z::buildUpdateOrderPairs);
const StaticInitRegistration kFixedPoint(StaticInit::Z_setFixedPointConstants, &Z::setFixedPointConstants);
const StaticInitRegistration kTuning(StaticInit::Z_buildTuningConstants, &Z::buildTuningConstants);
const StaticInitRegistration kAngles(StaticInit::Z_copyAngleConstants, &Z::copyAngleConstants);
const StaticInitRegistration kBehaviours(StaticInit::Z_buildBehaviourTables, &Z::buildBehaviourTables);
const StaticInitRegistration kEnemyParams(StaticInit::Z_buildEnemyParamTables, &Z::buildEnemyParamTables);
const StaticInitRegistration kTypeSprite(StaticInit::Z_buildTypeSpriteMap, &Z::buildTypeSpriteMap);

}  // namespace
