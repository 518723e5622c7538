// ShortLock's slow paths: the spin, the sleep on the state word (futex), the wake, and the
// process-wide fence that lets the unlock go without one.
#include "runtime/short_lock.h"

#include <linux/futex.h>
#include <linux/membarrier.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <ctime>

namespace {

constexpr int kSpins = 100;

void relax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

bool registerForBarriers() {
    const long supported = syscall(SYS_membarrier, MEMBARRIER_CMD_QUERY, 0, 0);
    if (supported < 0 || (supported & MEMBARRIER_CMD_PRIVATE_EXPEDITED) == 0) return false;
    return syscall(SYS_membarrier, MEMBARRIER_CMD_REGISTER_PRIVATE_EXPEDITED, 0, 0) == 0;
}

// Sleeps while *word holds `value`; a null timeout sleeps until woken.
void futexWait(std::atomic<uint32_t>& word, uint32_t value, const timespec* timeout) {
    syscall(SYS_futex, reinterpret_cast<uint32_t*>(&word), FUTEX_WAIT_PRIVATE, value, timeout, nullptr, 0);
}

}  // namespace

namespace Runtime {

bool heavyBarrier() {
    static const bool registered = registerForBarriers();
    return registered && syscall(SYS_membarrier, MEMBARRIER_CMD_PRIVATE_EXPEDITED, 0, 0) == 0;
}

}  // namespace Runtime

void ShortLock::lockContended() {
    for (int i = 0; i < kSpins; ++i) {
        if (m_state.load(std::memory_order_relaxed) == kFree && try_lock()) return;
        relax();
    }
    // Announced first, then fenced everywhere: an unlock from here on sees the count and wakes a
    // sleeper, and one that did not see it has made the lock's state visible to the look below.
    m_sleepers.fetch_add(1);
    static constexpr timespec kLookAgain{0, 1000000};
    const timespec* timeout = Runtime::heavyBarrier() ? nullptr : &kLookAgain;
    while (!try_lock()) futexWait(m_state, kHeld, timeout);
    m_sleepers.fetch_sub(1, std::memory_order_relaxed);
}

void ShortLock::wakeOne() {
    syscall(SYS_futex, reinterpret_cast<uint32_t*>(&m_state), FUTEX_WAKE_PRIVATE, 1, nullptr, nullptr, 0);
}
