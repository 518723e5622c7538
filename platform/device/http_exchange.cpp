// The response reader and the request: header block found by its blank line (CR LF or a bare LF,
// as lenient servers send), body bytes handed on as they come.
#include "platform/device/http_exchange.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kChunk = 4096;

// End of the header block in `text` (the index just past its blank line), or npos.
size_t headerBlockEnd(const std::string& text) {
    for (size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1)) {
        size_t next = i + 1;
        if (next < text.size() && text[next] == '\r') ++next;
        if (next < text.size() && text[next] == '\n') return next + 1;
    }
    return std::string::npos;
}

// Each line ended by CR LF, whatever ended it before.
std::string withCrLf(std::string_view block) {
    std::string out;
    out.reserve(block.size() + 16);
    size_t start = 0;
    while (start < block.size()) {
        size_t end = block.find('\n', start);
        if (end == std::string::npos) end = block.size();
        size_t lineEnd = end;
        if (lineEnd > start && block[lineEnd - 1] == '\r') --lineEnd;
        out.append(block.substr(start, lineEnd - start));
        out.append("\r\n");
        start = end + 1;
    }
    return out;
}

bool headerTextIsSafe(const std::string& text) { return text.find_first_of("\r\n") == std::string::npos; }

}  // namespace

bool HttpResponseReader::readHeaderBlock(std::string& out) {
    out.clear();
    size_t end = headerBlockEnd(m_held);
    uint8_t chunk[kChunk];
    while (end == std::string::npos) {
        if (m_held.size() >= kMaxHeaderBytes) return false;
        const long got = m_source.receive(chunk, std::min(kChunk, kMaxHeaderBytes - m_held.size()));
        if (got <= 0) return false;
        const size_t scanFrom = m_held.size() > 3 ? m_held.size() - 3 : 0;
        m_held.append(reinterpret_cast<const char*>(chunk), static_cast<size_t>(got));
        const size_t found = headerBlockEnd(m_held.substr(scanFrom));
        if (found != std::string::npos) end = scanFrom + found;
    }
    if (end > kMaxHeaderBytes) return false;
    out = withCrLf(std::string_view(m_held).substr(0, end));
    m_heldAt = end;
    return true;
}

long HttpResponseReader::readBody(uint8_t* buffer, size_t length) {
    if (length == 0) return 0;
    if (m_heldAt < m_held.size()) {
        const size_t n = std::min(length, m_held.size() - m_heldAt);
        std::memcpy(buffer, m_held.data() + m_heldAt, n);
        m_heldAt += n;
        return static_cast<long>(n);
    }
    return m_source.receive(buffer, length);
}

bool HttpExchange::open(const std::string& host, uint16_t port, int timeoutMillis) {
    if (!m_socket.create()) return false;
    m_socket.setTimeouts(timeoutMillis);
    return m_socket.connect(host, port);
}

bool HttpExchange::send(const std::string& request) {
    size_t at = 0;
    while (at < request.size()) {
        const long sent = m_socket.send(request.data() + at, request.size() - at, 0);
        if (sent <= 0) return false;
        at += static_cast<size_t>(sent);
    }
    return true;
}

std::string HttpExchange::getRequest(const std::string& host, const std::string& object, const std::string& agent,
                                     const Headers& headers) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string target;
    for (const unsigned char c : object.empty() ? std::string("/") : object) {
        if (c <= 0x20 || c >= 0x7F) {
            target += '%';
            target += kHex[c >> 4];
            target += kHex[c & 15];
        } else {
            target += static_cast<char>(c);
        }
    }
    std::string request = "GET " + target + " HTTP/1.0\r\n";
    if (headerTextIsSafe(host)) request += "Host: " + host + "\r\n";
    request += "User-Agent: " + agent + "\r\nPragma: no-cache\r\n";
    for (const auto& [name, value] : headers) {
        if (headerTextIsSafe(name) && headerTextIsSafe(value)) request += name + ": " + value + "\r\n";
    }
    request += "\r\n";
    return request;
}
