// WinInetHttpClient: request headers, the GET through the net seam, the response's parsing. Header
// bytes are read as Latin-1 (one byte, one unit). The declared body length is checked before any
// byte is kept, and the buffer grows with the bytes that arrive, never ahead of them.
#include "classlib/io/win_inet_http_client.h"

#include <algorithm>
#include <atomic>
#include <cerrno>

#include "platform/device/http_exchange.h"
#include "runtime/log.h"

namespace {

std::atomic<uint16_t> g_testPort{0};

char16_t lowerAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

std::u16string trimmed(const std::u16string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::u16string fromLatin1(const std::string& bytes) {
    std::u16string out(bytes.size(), u'\0');
    std::transform(bytes.begin(), bytes.end(), out.begin(), [](char c) { return static_cast<char16_t>(static_cast<unsigned char>(c)); });
    return out;
}

// The low 8 bits of every unit (header names and values travel as bytes).
std::string toLatin1(const std::u16string& text) {
    std::string out(text.size(), '\0');
    std::transform(text.begin(), text.end(), out.begin(), [](char16_t c) { return static_cast<char>(c & 0xFF); });
    return out;
}

// A plain decimal of at most 18 digits (no sign, no blanks inside); nullopt otherwise.
std::optional<int64_t> parseDecimal(const std::u16string& text) {
    if (text.empty() || text.size() > 18) return std::nullopt;
    int64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// The host of a url: after "://" and any user part, up to the port, path, query or fragment.
std::optional<std::string> hostOf(const std::u16string& url) {
    const size_t scheme = url.find(u"://");
    if (scheme == std::u16string::npos) return std::nullopt;
    const size_t start = scheme + 3;
    size_t end = url.find_first_of(u"/?#", start);
    if (end == std::u16string::npos) end = url.size();
    std::u16string authority = url.substr(start, end - start);
    const size_t at = authority.rfind(u'@');
    if (at != std::u16string::npos) authority.erase(0, at + 1);
    const size_t colon = authority.find(u':');
    if (colon != std::u16string::npos) authority.erase(colon);
    if (authority.empty()) return std::nullopt;
    std::string host;
    for (char16_t c : authority) {
        if (c <= 0x20 || c >= 0x7F) return std::nullopt;
        host += static_cast<char>(c);
    }
    return host;
}

}  // namespace

bool HeaderNameLess::operator()(const std::u16string& a, const std::u16string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return lowerAscii(x) < lowerAscii(y); });
}

void WinInetHttpClient::setPortForTesting(uint16_t port) { g_testPort.store(port); }

WinInetHttpClient::~WinInetHttpClient() { close(); }

void WinInetHttpClient::setError(int code, const std::string& text) {
    m_errorCode = code;
    m_errorText = text;
}

void WinInetHttpClient::setError(int code) { m_errorCode = code; }

void WinInetHttpClient::report(const char* title, const std::string& text) const {
    if (m_diagnostics) Log::warn("%s: %s", title, text.c_str());
}

bool WinInetHttpClient::Connect(const std::u16string& url) {
    close();
    const std::optional<std::string> host = hostOf(url);
    if (!host) {
        setError(EINVAL, "no host in the url");
        report("WinInetHttpClient::Connect", "InternetConnect fail: " + m_errorText);
        return false;
    }
    m_host = *host;
    const uint16_t testPort = g_testPort.load();
    m_port = testPort != 0 ? testPort : 80;
    return true;
}

void WinInetHttpClient::close() {
    reset();
    m_host.clear();
    m_port = 0;
    clearProgressListener();
}

void WinInetHttpClient::reset() {
    m_errorText.clear();
    m_errorCode = 0;
    m_requestHeaders.clear();
    (void)resetResponse();
}

int WinInetHttpClient::resetResponse() {
    m_responseHeaders.clear();
    m_rawHeaders.clear();
    m_statusText.reset();
    m_statusCode = -1;
    m_body.clear();
    return -1;
}

void WinInetHttpClient::addRequestHeader(const std::u16string& name, const std::u16string& value) {
    if (name.empty() || value.empty()) return;
    m_requestHeaders[name] = value;
}

std::optional<std::u16string> WinInetHttpClient::requestHeader(const std::u16string& name) const {
    const auto it = m_requestHeaders.find(name);
    if (it == m_requestHeaders.end()) return std::nullopt;
    return it->second;
}

const std::u16string* WinInetHttpClient::statusText() const { return m_statusText ? &*m_statusText : nullptr; }

std::optional<std::u16string> WinInetHttpClient::responseHeader(const std::u16string& name) const {
    const auto it = m_responseHeaders.find(name);
    if (it == m_responseHeaders.end()) return std::nullopt;
    return it->second;
}

bool WinInetHttpClient::bodyBytes(uint8_t* buffer, size_t length) const {
    if (m_body.empty() || !buffer || length == 0 || length < m_body.size()) return false;
    std::copy(m_body.begin(), m_body.end(), buffer);
    return true;
}

std::vector<std::u16string> WinInetHttpClient::split(const std::u16string& text, const std::u16string& delimiter) {
    std::vector<std::u16string> pieces;
    if (delimiter.empty()) return {text};
    size_t start = 0;
    for (size_t at = text.find(delimiter); at != std::u16string::npos; at = text.find(delimiter, start)) {
        pieces.push_back(text.substr(start, at - start));
        start = at + delimiter.size();
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

void WinInetHttpClient::parseResponseHeaders(const std::u16string& raw) {
    m_responseHeaders.clear();
    m_statusText.reset();
    m_statusCode = -1;
    const std::vector<std::u16string> lines = split(raw, u"\n");
    if (lines.empty() || lines.front().empty()) return;

    // "HTTP/1.0 404 Not Found\r": the code is the second piece; the reason is the rest, its
    // carriage return dropped. A line without a reason has no code we can trust.
    const std::vector<std::u16string> pieces = split(lines.front(), u" ");
    std::u16string text;
    if (pieces.size() >= 3) {
        const std::optional<int64_t> code = parseDecimal(pieces[1]);
        m_statusCode = code && *code <= 999 ? static_cast<int>(*code) : -1;
        for (size_t i = 2; i < pieces.size(); ++i) {
            if (i > 2) text += u' ';
            text += pieces[i];
        }
        if (!text.empty() && text.back() == u'\r') text.pop_back();
    }
    m_statusText = text;

    for (size_t i = 1; i < lines.size(); ++i) {
        const std::u16string line = trimmed(lines[i]);
        const size_t colon = line.find(u':');
        if (colon == std::u16string::npos) continue;
        std::u16string name = trimmed(line.substr(0, colon));
        if (name.empty()) continue;
        m_responseHeaders[std::move(name)] = trimmed(line.substr(colon + 1));
    }
}

bool WinInetHttpClient::ReadResponseHeader(HttpResponseReader& reader) {
    std::string block;
    if (!reader.readHeaderBlock(block)) {
        setError(EPROTO);
        report("WinInetHttpClient::ReadResponseHeader", "HttpQueryInfo failed, error = " + std::to_string(EPROTO));
        return false;
    }
    m_rawHeaders = fromLatin1(block);
    parseResponseHeaders(m_rawHeaders);
    return true;
}

bool WinInetHttpClient::ReadResponseContent(HttpResponseReader& reader) {
    m_body.clear();
    const std::optional<std::u16string> declared = responseHeader(u"Content-Length");
    if (!declared) {
        report("WinInetHttpClient::ReadResponseContent", "Could not find Content-Length property.");
        return true;
    }
    // A negative, malformed or oversized length is refused rather than trusted for an allocation.
    const std::optional<int64_t> length = parseDecimal(*declared);
    if (!length || *length > static_cast<int64_t>(kMaxBodyBytes)) {
        setError(EFBIG, "Content-Length refused");
        report("WinInetHttpClient::ReadResponseContent", m_errorText);
        return false;
    }
    const size_t wanted = static_cast<size_t>(*length);
    std::vector<uint8_t> body;
    body.reserve(std::min<size_t>(wanted, 64 * 1024));
    uint8_t chunk[16 * 1024];
    while (body.size() < wanted) {
        const long got = reader.readBody(chunk, std::min(sizeof chunk, wanted - body.size()));
        if (got < 0) {
            setError(errno != 0 ? errno : EIO);
            report("WinInetHttpClient::ReadResponseContent", "InternetReadFile failed, error = " + std::to_string(m_errorCode));
            return false;
        }
        if (got == 0) break;
        body.insert(body.end(), chunk, chunk + got);
        if (m_listener) m_listener(body.size(), body.capacity());
    }
    m_body = std::move(body);
    return true;
}

bool WinInetHttpClient::readResponse(ByteSource& source) {
    (void)resetResponse();
    HttpResponseReader reader(source);
    if (!ReadResponseHeader(reader)) {
        (void)resetResponse();
        return false;
    }
    // A failed body read drops the body; the status and headers stay answerable.
    return ReadResponseContent(reader);
}

int WinInetHttpClient::SendByGet(const std::string& path, const std::string& query) {
    (void)resetResponse();
    if (m_host.empty()) return -1;
    const std::string object = path + query;
    report("WinInetHttpClient::SendByGet", "finalUrl: " + object);
    HttpExchange::Headers headers;
    for (const auto& [name, value] : m_requestHeaders) headers.emplace_back(toLatin1(name), toLatin1(value));
    HttpExchange exchange;
    if (!exchange.open(m_host, m_port, kTimeoutMillis) ||
        !exchange.send(HttpExchange::getRequest(m_host, object, "CeHttp", headers))) {
        setError(exchange.lastError());
        report("WinInetHttpClient::SendByGet", "HttpSendRequest fail: " + std::to_string(m_errorCode));
        return -1;
    }
    return readResponse(exchange) ? 1 : -1;
}
