// One running copy per user: an advisory lock on a file, and a request file through which a second
// start asks the first to come to the front. Invariant: the lock lives as long as this object.
#pragma once

#include <string>

class SingleInstanceLock {
public:
    enum class Raise { Request, None };
    // lockPath empty: $XDG_RUNTIME_DIR/brindlex-zarnquist.lock, else /tmp/brindlex-zarnquist-UID.lock.
    // Raise::None: a refused start leaves no request (no holder of such a lock reads them).
    explicit SingleInstanceLock(std::string lockPath = {}, Raise raise = Raise::Request);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // True when this process now holds the lock. When another holds it, leaves a request for that
    // one to come to the front (Raise::Request) and returns false. Where the lock file cannot be
    // made (a read-only folder), the folder itself is locked instead; only when that fails too
    // does the game go on unguarded (true, with a warning).
    [[nodiscard]] bool acquire();
    // The holder: true once per request left by a later start.
    [[nodiscard]] bool takeRaiseRequest();

private:
    std::string m_lockPath;
    Raise m_raise;
    int m_fd = -1;
};
