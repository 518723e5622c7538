// IGP: the visited flag and the new-content marker. The flag is the existence of a record store
// (no record is ever written), so it outlives the run; the marker blinks while it is unset.
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/rms/javax_microedition_rms_record_store.h"
#include "promo/igp.h"
#include "promo/igp_failures.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/string.h"
#include "runtime/system_natives.h"

using RecordStore = javax_microedition_rms_RecordStore;

bool IGP::s_visited = false;
bool IGP::s_visitedChecked = false;
jlong IGP::s_markerToggleTime = 0;
bool IGP::s_markerVisible = true;

namespace {

String* storeName() { return Runtime::ldcString(IGP::kVisitedStoreLiteral); }

void closeStore(RecordStore* store) {
    if (store) store->writeStoreFile();
}

}  // namespace

void IGP::setVisited() {
    s_visited = s_visitedChecked = true;
    RecordStore* store = RecordStore::openRecordStore_2(storeName(), false);
    if (Runtime::pending()) {
        Runtime::clearPendingException();
        store = RecordStore::openRecordStore_2(storeName(), true);
    }
    if (!Runtime::pending()) closeStore(store);
    Runtime::clearPendingException();
}

bool IGP::isVisited() {
    if (s_available && !s_visitedChecked) {
        RecordStore* store = RecordStore::openRecordStore_2(storeName(), false);
        if (Runtime::pending()) {
            if (!igp::catchException()) return false;
            s_visitedChecked = true;
        } else {
            closeStore(store);
            if (!igp::catchException() && Runtime::pending()) return false;
            s_visited = s_visitedChecked = true;
        }
    }
    return s_visited;
}

// The toggle time starts at 0, so the first call toggles at once: the marker begins hidden.
bool IGP::drawNewMarker(javax_microedition_lcdui_Graphics* g, javax_microedition_lcdui_Image* image, jint x, jint y,
                        jint anchor) {
    if (isVisited() || !s_available || !image || !g) return false;
    const jlong now = java_lang_System::currentTimeMillis();
    if (now - s_markerToggleTime > kMarkerBlinkMillis) {
        s_markerVisible = !s_markerVisible;
        s_markerToggleTime = now;
    }
    if (s_markerVisible) g->drawImage(image, x, y, anchor);
    return true;
}
