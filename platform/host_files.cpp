// Host file operations behind the virtual paths, and the injected faults tests set. A save writes
// "<target>.tmpXXXXXX" in the target's folder, so the final rename never crosses a file system.
#include "platform/host_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <cstdlib>
#include <mutex>
#include <set>
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

int crashExitCode() {
    std::lock_guard guard(g_faultsLock);
    return g_faults.crashExitCode;
}

bool closeFails() {
    std::lock_guard guard(g_faultsLock);
    return g_faults.failClose;
}

// Temporaries of the saves this process has open: a crash leaves the others behind.
std::mutex g_liveTempsLock;
std::set<std::string> g_liveTemps;

// A save's temporary is "<target>.tmp" and mkstemp's six letters or digits.
constexpr std::string_view kTempMark = ".tmp";

bool isTempOf(const std::string& name, const std::string& target) {
    const size_t stem = target.size() + kTempMark.size();
    if (name.size() != stem + 6 || name.compare(0, target.size(), target) != 0) return false;
    if (name.compare(target.size(), kTempMark.size(), kTempMark) != 0) return false;
    return std::all_of(name.begin() + static_cast<long>(stem), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// Removes "<target>.tmpXXXXXX" files an interrupted save left (none of this process's live saves).
void removeStaleTemps(const std::filesystem::path& target) {
    std::error_code ec;
    const std::string targetName = target.filename().string();
    std::lock_guard guard(g_liveTempsLock);
    for (const auto& entry : std::filesystem::directory_iterator(target.parent_path(), ec)) {
        const std::string name = entry.path().filename().string();
        if (!isTempOf(name, targetName) || g_liveTemps.count(entry.path().string())) continue;
        if (!entry.is_regular_file(ec)) continue;
        if (std::filesystem::remove(entry.path(), ec)) Log::info("removed %s, left by an interrupted save", name.c_str());
    }
}

// The host path a write may use: never the data file (the program only reads it), and the home
// folder is made when missing; folders below it are the program's to make, so a missing one fails.
std::optional<std::filesystem::path> writablePathFor(std::string_view virtualPath) {
    auto host = hostPathFor(virtualPath);
    if (!host) return std::nullopt;
    std::error_code ec;
    if (std::filesystem::equivalent(*host, dataFile(), ec) || *host == dataFile()) {
        Log::error("%s is the data file, which is read-only", std::string(virtualPath).c_str());
        return std::nullopt;
    }
    std::filesystem::create_directories(homeFolder(), ec);
    return host;
}

// The mode a replaced file keeps; a new file gets 0666 less the umask, as open() would give it.
mode_t modeFor(const std::filesystem::path& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void noteCommitStep(const char* step) {
    std::function<void(const char*)> observer;
    {
        std::lock_guard guard(g_faultsLock);
        observer = g_faults.onCommitStep;
    }
    if (observer) observer(step);
}

// The rename is durable only once the folder's entry is on disk too.
void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    if (::fsync(fd) == 0) noteCommitStep("fsync folder");
    ::close(fd);
}

// Opens a path only when it names a regular file: the open never blocks (a named pipe planted in
// the home folder would wait for a writer for ever), and anything else is closed again at once.
int openRegular(const std::filesystem::path& host, int flags) {
    const int fd = ::open(host.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        Log::warn("%s is not a regular file; it is left alone", host.c_str());
        ::close(fd);
        return -1;
    }
    const int status = ::fcntl(fd, F_GETFL);
    if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
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

bool isRegularFile(std::string_view virtualPath) {
    const auto host = hostPathFor(virtualPath);
    struct stat st {};
    return host && ::stat(host->c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::string> regularFilesStartingWith(std::string_view virtualPrefix) {
    std::vector<std::string> names;
    const auto host = hostPathFor(virtualPrefix);
    if (!host) return names;
    const std::string prefix = host->filename().string();
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(host->parent_path(), ec)) {
        std::string name = entry.path().filename().string();
        std::error_code typeError;
        if (name.compare(0, prefix.size(), prefix) == 0 && entry.is_regular_file(typeError)) names.push_back(std::move(name));
    }
    return names;
}

std::FILE* openForReading(std::string_view virtualPath) {
    const auto host = hostPathFor(virtualPath);
    if (!host || consumeOpenFault()) return nullptr;
    if (!(*host == dataFile())) removeStaleTemps(*host);
    const int fd = openRegular(*host, O_RDONLY);
    if (fd < 0) return nullptr;
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f) ::close(fd);
    return f;
}

bool truncateFile(std::string_view virtualPath) {
    const auto host = writablePathFor(virtualPath);
    if (!host || consumeOpenFault()) return false;
    removeStaleTemps(*host);
    const int fd = openRegular(*host, O_WRONLY | O_CREAT);
    if (fd < 0) return false;
    const bool truncated = ::ftruncate(fd, 0) == 0;
    return ::close(fd) == 0 && truncated;
}

std::unique_ptr<SaveFile> SaveFile::create(std::string_view virtualPath) {
    const auto host = writablePathFor(virtualPath);
    if (!host || consumeOpenFault()) return nullptr;
    std::error_code ec;
    if (std::filesystem::is_directory(*host, ec)) return nullptr;
    removeStaleTemps(*host);
    std::string pattern = host->string() + std::string(kTempMark) + "XXXXXX";
    std::unique_lock liveGuard(g_liveTempsLock);
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return nullptr;
    g_liveTemps.insert(pattern);
    liveGuard.unlock();
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
    if (written != n && crashExitCode() != 0) {
        std::fflush(m_file);
        ::_exit(crashExitCode());
    }
    if (written != n) m_failed = true;
    return written;
}

bool SaveFile::commit() {
    if (!m_file) return false;
    bool ok = !m_failed && std::fflush(m_file) == 0;
    if (ok && ::fchmod(::fileno(m_file), modeFor(m_target)) != 0) ok = false;
    if (ok && (fsyncFails() || ::fsync(::fileno(m_file)) != 0)) ok = false;
    if (ok) noteCommitStep("fsync file");
    const bool closed = std::fclose(m_file) == 0 && !closeFails();
    m_file = nullptr;
    if (ok && closed && std::rename(m_temp.c_str(), m_target.c_str()) == 0) {
        noteCommitStep("rename");
        syncFolder(m_target.parent_path());
        forgetTemp();
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
        forgetTemp();
    }
}

void SaveFile::forgetTemp() {
    std::lock_guard guard(g_liveTempsLock);
    g_liveTemps.erase(m_temp.string());
    m_temp.clear();
}

}  // namespace platform
