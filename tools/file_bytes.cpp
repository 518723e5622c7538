// readFileBytes over stdio: reads to the end, so a file that grows or shrinks meanwhile is read as
// it is at the time, never past what was read.
#include "tools/file_bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tools {

bool readFileBytes(const std::filesystem::path& path, std::string& bytes, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = path.string() + ": cannot open: " + std::strerror(errno);
        return false;
    }
    std::string result;
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) result.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    const int savedErrno = errno;
    std::fclose(file);
    if (failed) {
        error = path.string() + ": cannot read: " + std::strerror(savedErrno);
        return false;
    }
    bytes = std::move(result);
    return true;
}

}  // namespace tools
