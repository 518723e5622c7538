// The promotion screen's statics back to a fresh start: no data, no visit running, the stylus and
// the painted geometry cleared.
#pragma once

#include "promo/igp.h"

inline void resetPromotionStatics() {
    IGP::s_running = false;
    IGP::s_state = IGP::kStateLoading;
    IGP::resetData();
    IGP::resetStylus();
    IGP::resetPainting();
}
