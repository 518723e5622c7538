// One running copy per user: an advisory lock on a file, and a request file through which a second
// start asks the first to come to the front. Invariant: the lock lives as long as this object.
#pragma once

#include <string>

class SingleInstanceLock {
public:
    // lockPath empty: $XDG_RUNTIME_DIR/brindlex-zarnquist.lock, else /tmp/brindlex-zarnquist-UID.lock.
    explicit SingleInstanceLock(std::string lockPath = {});
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // True when this process now holds the lock. When another holds it, leaves a request for that
    // one to come to the front and returns false. A lock file that cannot be made does not stop
    // the game (true).
    [[nodiscard]] bool acquire();
    // The holder: true once per request left by a later start.
    [[nodiscard]] bool takeRaiseRequest();

private:
    std::string m_lockPath;
    int m_fd = -1;
};
