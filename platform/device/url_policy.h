// Which links the device may open in a browser. URLs come from game data and MIDlet properties, so
// they are untrusted: only plain http(s) links to a host, nothing a shell or a URL handler could
// read as more than one argument or another scheme.
#pragma once

#include <string>
#include <string_view>

namespace Host {

inline constexpr size_t kMaxLaunchUrl = 2048;

// True for "http://host[:port][/...]" or "https://..." (scheme in any case) of at most
// kMaxLaunchUrl bytes, printable ASCII only, without spaces, quotes or shell metacharacters,
// without user info; the host is letters, digits, '.' and '-'.
[[nodiscard]] bool isLaunchableUrl(std::string_view url);

inline constexpr size_t kMaxLoggedUrl = 80;
// The first kMaxLoggedUrl bytes of url for a log line, every byte outside printable ASCII as '?'.
[[nodiscard]] std::string urlForLog(std::string_view url);

}  // namespace Host
