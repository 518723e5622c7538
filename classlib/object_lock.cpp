// The striped re-entrant locks behind ObjectLock.
#include "classlib/object_lock.h"

#include <cstdint>
#include <mutex>

namespace {

constexpr uintptr_t kStripes = 64;
std::recursive_mutex g_stripes[kStripes];

std::recursive_mutex& stripeOf(const Object* object) {
    // Objects sit on 8-byte granules: drop the bits that never vary.
    return g_stripes[(reinterpret_cast<uintptr_t>(object) >> 3) % kStripes];
}

}  // namespace

ObjectLock::ObjectLock(Object* object) : m_mutex(&stripeOf(object)) {
    static_cast<std::recursive_mutex*>(m_mutex)->lock();
}

ObjectLock::~ObjectLock() { static_cast<std::recursive_mutex*>(m_mutex)->unlock(); }
