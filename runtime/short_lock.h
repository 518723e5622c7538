// ShortLock: a mutex for critical sections of a few hundred instructions (the heaps, the registry),
// and a re-entrant variant. Uncontended, lock is one compare-exchange and unlock a plain store: one
// locked instruction per critical section. A contended lock spins briefly, then sleeps in the
// kernel (never spins unbounded). The unlock's store and its look for sleepers need a full fence
// between them; the sleeper pays for it instead (Runtime::heavyBarrier: membarrier forces that
// fence on every running thread of the process), so either the unlock sees the sleeper and wakes
// it, or the sleeper sees the lock free and takes it.
#pragma once

#include <atomic>
#include <cstdint>

class ShortLock {
public:
    ShortLock() = default;
    ShortLock(const ShortLock&) = delete;
    ShortLock& operator=(const ShortLock&) = delete;

    void lock() {
        uint32_t expected = kFree;
        if (!m_state.compare_exchange_strong(expected, kHeld, std::memory_order_acquire, std::memory_order_relaxed))
            lockContended();
    }

    [[nodiscard]] bool try_lock() {
        uint32_t expected = kFree;
        return m_state.compare_exchange_strong(expected, kHeld, std::memory_order_acquire, std::memory_order_relaxed);
    }

    void unlock() {
        m_state.store(kFree, std::memory_order_release);
        // Only the compiler is kept from reordering here; the sleeper's heavy barrier does the rest.
        std::atomic_signal_fence(std::memory_order_seq_cst);
        if (m_sleepers.load(std::memory_order_relaxed) != 0) [[unlikely]] wakeOne();
    }

private:
    static constexpr uint32_t kFree = 0;
    static constexpr uint32_t kHeld = 1;

    void lockContended();
    void wakeOne();

    std::atomic<uint32_t> m_state{kFree};
    std::atomic<uint32_t> m_sleepers{0};  // threads between announcing a sleep and holding the lock
};

namespace Runtime {

// A full memory fence on every running thread of the process (membarrier). False when the kernel
// offers none: then ShortLock's sleepers wake on their own every millisecond to look again.
bool heavyBarrier();

}  // namespace Runtime

// Re-entrant: the holder may lock again (a collection's destroy slot that allocates registers under
// the registry lock the collection holds). Only the holder writes its own mark into m_owner, so a
// thread that reads its mark there holds the lock.
class RecursiveShortLock {
public:
    RecursiveShortLock() = default;
    RecursiveShortLock(const RecursiveShortLock&) = delete;
    RecursiveShortLock& operator=(const RecursiveShortLock&) = delete;

    void lock() {
        const void* self = threadMark();
        if (m_owner.load(std::memory_order_relaxed) == self) {
            ++m_depth;
            return;
        }
        m_lock.lock();
        m_owner.store(self, std::memory_order_relaxed);
        m_depth = 1;
    }

    void unlock() {
        if (--m_depth > 0) return;
        m_owner.store(nullptr, std::memory_order_relaxed);
        m_lock.unlock();
    }

private:
    static const void* threadMark() {
        static thread_local char mark;
        return &mark;
    }

    ShortLock m_lock;
    std::atomic<const void*> m_owner{nullptr};
    unsigned m_depth = 0;  // the holder's alone
};
