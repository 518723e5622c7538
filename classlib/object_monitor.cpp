// One process-wide re-entrant lock behind ObjectMonitorGuard. A single lock cannot deadlock by
// lock order; it only serialises more than the real monitors will.
#include "classlib/object_monitor.h"

#include <mutex>

#include "runtime/thread_state.h"

namespace {

std::recursive_mutex g_monitor;

void lockParked(void*) { g_monitor.lock(); }

}  // namespace

ObjectMonitorGuard::ObjectMonitorGuard(Object*) {
    if (!g_monitor.try_lock()) Runtime::runParked(&lockParked, nullptr);
}

ObjectMonitorGuard::~ObjectMonitorGuard() { g_monitor.unlock(); }
