// Host file operations behind the virtual paths, and the injected faults tests set. A save writes
// "<target>.XXXXXX" in the target's folder, so the final rename never crosses a file system.
#include "platform/host_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <string>
#include <system_error>

#include "platform/file_paths.h"
#include "runtime/log.h"

namespace platform {
namespace {

std::mutex g_faultsLock;
FileFaults g_faults;

bool consumeOpenFault() {
    std::lock_guard guard(g_faultsLock);
    if (g_faults.failOpens <= 0) return false;
    --g_faults.failOpens;
    return true;
}

// How many of n bytes the write budget lets through (and takes from it).
size_t takeWriteBudget(size_t n) {
    std::lock_guard guard(g_faultsLock);
    if (g_faults.writeBudget < 0) return n;
    const size_t allowed = std::min(n, static_cast<size_t>(g_faults.writeBudget));
    g_faults.writeBudget -= static_cast<int64_t>(allowed);
    return allowed;
}

bool fsyncFails() {
    std::lock_guard guard(g_faultsLock);
    return g_faults.failFsync;
}

bool closeFails() {
    std::lock_guard guard(g_faultsLock);
    return g_faults.failClose;
}

void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

}  // namespace

void setFileFaults(const FileFaults& faults) {
    std::lock_guard guard(g_faultsLock);
    g_faults = faults;
}

FileFaults fileFaults() {
    std::lock_guard guard(g_faultsLock);
    return g_faults;
}

std::FILE* openForReading(std::string_view virtualPath) {
    const auto host = hostPathFor(virtualPath);
    if (!host || consumeOpenFault()) return nullptr;
    std::error_code ec;
    if (std::filesystem::is_directory(*host, ec)) return nullptr;
    return std::fopen(host->c_str(), "rb");
}

bool truncateFile(std::string_view virtualPath) {
    const auto host = hostPathFor(virtualPath);
    if (!host || consumeOpenFault()) return false;
    std::error_code ec;
    std::filesystem::create_directories(host->parent_path(), ec);
    std::FILE* f = std::fopen(host->c_str(), "w");
    if (!f) return false;
    return std::fclose(f) == 0;
}

std::unique_ptr<SaveFile> SaveFile::create(std::string_view virtualPath) {
    const auto host = hostPathFor(virtualPath);
    if (!host || consumeOpenFault()) return nullptr;
    std::error_code ec;
    if (std::filesystem::is_directory(*host, ec)) return nullptr;
    std::filesystem::create_directories(host->parent_path(), ec);
    std::string pattern = host->string() + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return nullptr;
    std::FILE* f = ::fdopen(fd, "wb+");
    if (!f) {
        ::close(fd);
        ::unlink(pattern.c_str());
        return nullptr;
    }
    std::unique_ptr<SaveFile> save(new SaveFile());
    save->m_file = f;
    save->m_target = *host;
    save->m_temp = pattern;
    return save;
}

SaveFile::~SaveFile() { abandon(); }

size_t SaveFile::write(const void* bytes, size_t n) {
    if (!m_file || m_failed) return 0;
    const size_t allowed = takeWriteBudget(n);
    const size_t written = allowed > 0 ? std::fwrite(bytes, 1, allowed, m_file) : 0;
    if (written != n) m_failed = true;
    return written;
}

bool SaveFile::commit() {
    if (!m_file) return false;
    bool ok = !m_failed && std::fflush(m_file) == 0;
    if (ok && (fsyncFails() || ::fsync(::fileno(m_file)) != 0)) ok = false;
    const bool closed = std::fclose(m_file) == 0 && !closeFails();
    m_file = nullptr;
    if (ok && closed && std::rename(m_temp.c_str(), m_target.c_str()) == 0) {
        syncFolder(m_target.parent_path());
        m_temp.clear();
        return true;
    }
    Log::error("save of %s failed; the previous file is kept", m_target.c_str());
    m_failed = true;
    abandon();
    return false;
}

void SaveFile::abandon() {
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_temp.empty()) {
        ::unlink(m_temp.c_str());
        m_temp.clear();
    }
}

}  // namespace platform
