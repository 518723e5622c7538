// The per-user single-instance lock (flock) and its raise-request file; see single_instance.h.
// Invariant: the raise request is a separate file, so the lock file is never written.
#include "platform/device/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "runtime/log.h"

SingleInstanceLock::SingleInstanceLock(std::string lockPath, Raise raise) : m_lockPath(std::move(lockPath)), m_raise(raise) {
    if (!m_lockPath.empty()) return;
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir != nullptr && *runtimeDir == '/')
        m_lockPath = std::string(runtimeDir) + "/brindlex-zarnquist.lock";
    else
        m_lockPath = "/tmp/brindlex-zarnquist-" + std::to_string(getuid()) + ".lock";
}

SingleInstanceLock::~SingleInstanceLock() {
    if (m_fd >= 0) close(m_fd);  // closing drops the lock
}

bool SingleInstanceLock::acquire() {
    if (m_fd >= 0) return true;
    int fd = open(m_lockPath.c_str(), O_RDWR | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        // Every run that cannot make the file locks the folder that holds it, so two of them still
        // exclude each other.
        const size_t slash = m_lockPath.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : m_lockPath.substr(0, slash);
        fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            Log::warn("single instance: cannot open %s", m_lockPath.c_str());
            return true;
        }
    }
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        m_fd = fd;
        (void)unlink((m_lockPath + ".raise").c_str());  // a stale request is not for us
        return true;
    }
    close(fd);
    if (m_raise == Raise::Request) {
        const int request =
            open((m_lockPath + ".raise").c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (request >= 0) close(request);
    }
    return false;
}

bool SingleInstanceLock::takeRaiseRequest() {
    return m_fd >= 0 && unlink((m_lockPath + ".raise").c_str()) == 0;
}
