// ShortLock: a mutex for critical sections of a few hundred instructions (the heaps, the registry),
// and a re-entrant variant. Uncontended, lock is one compare-exchange and unlock one exchange; a
// contended lock spins briefly, then sleeps in the kernel (never spins unbounded). Invariant: state
// 2 means a sleeper may exist, so unlock must wake one.
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
        if (m_state.exchange(kFree, std::memory_order_release) == kHeldWithSleepers) m_state.notify_one();
    }

private:
    static constexpr uint32_t kFree = 0;
    static constexpr uint32_t kHeld = 1;
    static constexpr uint32_t kHeldWithSleepers = 2;
    static constexpr int kSpins = 100;

    static void relax() {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }

    void lockContended() {
        for (int i = 0; i < kSpins; ++i) {
            if (m_state.load(std::memory_order_relaxed) == kFree && try_lock()) return;
            relax();
        }
        // Announce a sleeper before sleeping; whoever takes the lock this way keeps the mark, so a
        // later unlock still wakes the others.
        while (m_state.exchange(kHeldWithSleepers, std::memory_order_acquire) != kFree)
            m_state.wait(kHeldWithSleepers, std::memory_order_relaxed);
    }

    std::atomic<uint32_t> m_state{kFree};
};

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
