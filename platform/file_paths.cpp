// The path mapper and the two host roots. Settings are made at start-up (or by a test) and read
// under one lock, so a path is always mapped against one consistent pair of roots.
#include "platform/file_paths.h"

#include <cstdlib>
#include <mutex>
#include <string>
#include <system_error>
#include <vector>

#include "runtime/string.h"

namespace platform {
namespace {

std::mutex g_rootsLock;
std::filesystem::path g_home;
std::filesystem::path g_data;

std::filesystem::path defaultHome() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg) return std::filesystem::path(xdg) / "brindlex";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : ".") / ".local" / "share" / "brindlex";
}

std::filesystem::path defaultData() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path(kDataBarName) : exe.parent_path() / kDataBarName;
}

// The install folder's parts as the mapper sees them.
const char* const kInstallParts[] = {"program files", "brindlex", "zarnquist"};

}  // namespace

void setHomeFolder(const std::filesystem::path& folder) {
    std::lock_guard guard(g_rootsLock);
    g_home = folder;
}

std::filesystem::path homeFolder() {
    std::lock_guard guard(g_rootsLock);
    if (g_home.empty()) g_home = defaultHome();
    return g_home;
}

void setDataFile(const std::filesystem::path& file) {
    std::lock_guard guard(g_rootsLock);
    g_data = file;
}

std::filesystem::path dataFile() {
    std::lock_guard guard(g_rootsLock);
    if (g_data.empty()) g_data = defaultData();
    return g_data;
}

std::optional<std::filesystem::path> hostPathFor(std::string_view virtualPath) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : virtualPath) {
        if (c == '\0' || c == ':') return std::nullopt;
        if (c == '\\' || c == '/') {
            if (!part.empty()) parts.push_back(std::move(part));
            part.clear();
            continue;
        }
        part += c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    }
    if (!part.empty()) parts.push_back(std::move(part));
    for (const auto& p : parts)
        if (p == "." || p == "..") return std::nullopt;

    size_t first = 0;
    const bool absolute = !virtualPath.empty() && (virtualPath[0] == '\\' || virtualPath[0] == '/');
    if (absolute) {
        for (const char* expected : kInstallParts) {
            if (first >= parts.size() || parts[first] != expected) return std::nullopt;
            ++first;
        }
    }
    if (first >= parts.size()) return std::nullopt;  // a folder, not a file
    if (first + 1 == parts.size() && parts[first] == kDataBarName) return dataFile();
    std::filesystem::path host = homeFolder();
    for (size_t i = first; i < parts.size(); ++i) host /= parts[i];
    return host;
}

}  // namespace platform

namespace Runtime {

String* getProgramFilesFolder() { return String::fromCString(platform::kProgramFilesFolder); }
String* getInstallFolder() { return String::fromCString(platform::kInstallFolder); }
String* getDataBarPath() {
    return String::fromCString((std::string(platform::kInstallFolder) + "\\" + platform::kDataBarName).c_str());
}

}  // namespace Runtime
