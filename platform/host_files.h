// Host file access for the class library's file streams, by virtual path, with a fault-injection
// seam for tests. Saves are atomic: a SaveFile writes a temporary file beside its target and only a
// complete, synced file replaces the target, so a failed or interrupted save keeps the old bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Faults the next file operations meet. Counters run down as operations consume them.
struct FileFaults {
    int failOpens = 0;          // this many opens (read, save or truncate) fail
    int64_t writeBudget = -1;   // bytes saves still accept; then writes fail (-1: no limit)
    // The write that meets the end of the budget ends the process instead (_exit with this code,
    // the accepted bytes flushed to the temporary file), as a power cut would. For forked tests.
    int crashExitCode = 0;
    bool failFsync = false;     // every commit's fsync fails
    bool failClose = false;     // every commit's close fails
    // Told each durable step of a commit as it is done: "fsync file", "rename", "fsync folder".
    std::function<void(const char* step)> onCommitStep = nullptr;
};
void setFileFaults(const FileFaults& faults);
[[nodiscard]] FileFaults fileFaults();

// Whether the path names a regular file, answered without opening it.
[[nodiscard]] bool isRegularFile(std::string_view virtualPath);
// The names of the regular files whose virtual paths start with virtualPrefix ("\\...\\rms_a.rs."
// lists "rms_a.rs.1.rs"), in no promised order; empty when the path is refused or its folder
// cannot be read.
[[nodiscard]] std::vector<std::string> regularFilesStartingWith(std::string_view virtualPrefix);
// The file opened for reading; null when the path is refused, names no regular file (a folder, a
// named pipe, a device: never waited for) or the file cannot be opened.
[[nodiscard]] std::FILE* openForReading(std::string_view virtualPath);
// The file made or cut to empty. False when the path is refused (the data file is read-only), names
// something other than a regular file, or the file cannot be made (its folder missing, say).
[[nodiscard]] bool truncateFile(std::string_view virtualPath);

class SaveFile {
public:
    // The temporary file beside the target; null when the path is refused (the data file is read-only)
    // or it cannot be made (a missing folder is not made, but the home folder itself is). Temporaries
    // an interrupted save left for the same target are removed first. The target keeps its mode.
    [[nodiscard]] static std::unique_ptr<SaveFile> create(std::string_view virtualPath);
    ~SaveFile();  // abandons an uncommitted save
    SaveFile(const SaveFile&) = delete;
    SaveFile& operator=(const SaveFile&) = delete;

    // Bytes written; a short count marks the save failed.
    size_t write(const void* bytes, size_t n);
    // Flush, fsync, close and rename over the target. False (target untouched, temporary removed)
    // when any step or an earlier write failed.
    [[nodiscard]] bool commit();
    [[nodiscard]] bool failed() const { return m_failed; }

private:
    SaveFile() = default;
    void abandon();
    void forgetTemp();

    std::FILE* m_file = nullptr;
    std::filesystem::path m_target;
    std::filesystem::path m_temp;
    bool m_failed = false;
};

}  // namespace platform
