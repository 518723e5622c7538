// The statics the trigger zones hand to the actor painter, and their start values.
#include "game/cgame_zone_display.h"

#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"

jbyte cGameZoneDisplay::s_overdrawActive = 0;
IntArray* cGameZoneDisplay::s_overdrawRect = nullptr;
jint cGameZoneDisplay::s_titleTextId = 0;
ShortArray* cGameZoneDisplay::s_scrollLines = nullptr;

namespace {

using D = cGameZoneDisplay;

const StaticRefRegistration kStatics(CID_cGame, &D::s_overdrawRect, &D::s_scrollLines);
const StaticStartValues kStartValues(&D::s_overdrawActive, &D::s_overdrawRect, &D::s_titleTextId, &D::s_scrollLines);

}  // namespace

void cGameZoneDisplay::resetStatics() { kStartValues.restore(); }
