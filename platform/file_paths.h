// Virtual phone paths and where they live on this host. The runtime keeps the phone's names
// ("\program files\brindlex\zarnquist\..."); only hostPathFor turns one into a host path, and it
// never answers a path outside the home folder other than the data file itself.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

class String;

namespace platform {

// The phone's folders, as it named them (no trailing separator).
inline constexpr const char* kProgramFilesFolder = "\\Program Files";
inline constexpr const char* kInstallFolder = "\\Program Files\\Brindlex\\Zarnquist";
inline constexpr const char* kDataBarName = "data.bar";

// The install folder's host twin: --home, else $XDG_DATA_HOME/brindlex, else
// ~/.local/share/brindlex.
void setHomeFolder(const std::filesystem::path& folder);
[[nodiscard]] std::filesystem::path homeFolder();
// The archive: --data, else data.bar next to the executable.
void setDataFile(const std::filesystem::path& file);
[[nodiscard]] std::filesystem::path dataFile();

// The host path of a virtual path, or nothing when it is refused. ASCII letters are lowered and
// '\' read as '/'. An absolute path must lie under the install folder; a relative one is taken
// from the install folder (the phone had no current folder). "." and ".." parts, drive letters and
// NUL bytes are refused. The install folder's "data.bar" is the data file.
[[nodiscard]] std::optional<std::filesystem::path> hostPathFor(std::string_view virtualPath);

}  // namespace platform

namespace Runtime {

// New Strings of the phone's folder paths.
[[nodiscard]] String* getProgramFilesFolder();
[[nodiscard]] String* getInstallFolder();
[[nodiscard]] String* getDataBarPath();

}  // namespace Runtime
