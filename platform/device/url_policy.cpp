// The launch policy: refuse first, by the cheapest test that can refuse.
#include "platform/device/url_policy.h"

#include <cctype>

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

// Characters a URL may carry here: printable ASCII minus space, quotes and what a shell or a
// desktop URL handler treats specially. '?', '&', '=', '#', '%' and '+' stay: queries need them.
bool isAllowedChar(char c) {
    if (c <= 0x20 || c >= 0x7F) return false;
    switch (c) {
        case '"': case '\'': case '`': case ';': case '|': case '$': case '<': case '>':
        case '\\': case '(': case ')': case '{': case '}': case '[': case ']': case '!':
        case '*': case '^':
            return false;
        default:
            return true;
    }
}

bool isHostChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-'; }

}  // namespace

namespace Host {

bool isLaunchableUrl(std::string_view url) {
    if (url.empty() || url.size() > kMaxLaunchUrl) return false;
    for (char c : url) {
        if (!isAllowedChar(c)) return false;
    }
    size_t at = 0;
    if (startsWithNoCase(url, "http://")) at = 7;
    else if (startsWithNoCase(url, "https://")) at = 8;
    else return false;
    const size_t end = url.find_first_of("/?#", at);
    const std::string_view authority = url.substr(at, end == std::string_view::npos ? url.size() - at : end - at);
    const size_t colon = authority.find(':');
    const std::string_view host = authority.substr(0, colon);
    if (host.empty() || host.front() == '-' || host.front() == '.') return false;
    for (char c : host) {
        if (!isHostChar(c)) return false;  // also refuses "user@host"
    }
    if (colon != std::string_view::npos) {
        const std::string_view port = authority.substr(colon + 1);
        if (port.empty() || port.size() > 5) return false;
        for (char c : port) {
            if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        }
    }
    return true;
}

std::string urlForLog(std::string_view url) {
    std::string out(url.substr(0, kMaxLoggedUrl));
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F) c = '?';
    }
    return out;
}

}  // namespace Host
