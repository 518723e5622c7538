// HttpClient and WinInetHttpClient: the HTTP connection's native client. It keeps the request
// headers, sends one GET (HTTP/1.0) through the net seam and holds the response: status code and
// text, the raw header text, its parsed map (names compared without regard to case) and the body.
// Plain C++, never touches the object heap, so a caller may run it parked. Invariant: with no
// response held the status code is -1 and the body is empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class ByteSource;
class HttpResponseReader;

// Compares names without regard to ASCII case.
struct HeaderNameLess {
    bool operator()(const std::u16string& a, const std::u16string& b) const;
};
using HeaderMap = std::map<std::u16string, std::u16string, HeaderNameLess>;

class HttpClient {
public:
    // (bytes so far, buffer size) after each pass of a body read.
    using ProgressListener = std::function<void(size_t, size_t)>;

    virtual ~HttpClient() = default;
    virtual void setProgressListener(ProgressListener listener) { m_listener = std::move(listener); }
    virtual void clearProgressListener() { m_listener = nullptr; }

protected:
    ProgressListener m_listener;
};

class WinInetHttpClient : public HttpClient {
public:
    // A declared body longer than this is refused; shorter ones are read as they come, never
    // allocated up front from the declared length.
    static constexpr size_t kMaxBodyBytes = 16u * 1024 * 1024;
    static constexpr int kTimeoutMillis = 30000;

    ~WinInetHttpClient() override;

    // Takes the host from url (scheme "://" [user "@"] host [":" port] ...); the port is always 80.
    // False when the url names no host. What the client held before is closed first.
    virtual bool Connect(const std::u16string& url);
    // Full reset, then forgets the host and the listener.
    virtual void close();
    // Error, both header maps and the whole response.
    virtual void reset();
    // One GET of path followed by query (their UTF-8 bytes); 1 when a response was read, else -1.
    virtual int SendByGet(const std::string& path, const std::string& query);
    // The response alone; answers -1.
    virtual int resetResponse();
    // Kept only when name and value are both non-empty.
    virtual void addRequestHeader(const std::u16string& name, const std::u16string& value);
    [[nodiscard]] virtual std::optional<std::u16string> requestHeader(const std::u16string& name) const;
    [[nodiscard]] virtual int statusCode() const { return m_statusCode; }
    // Null when no status line was read.
    [[nodiscard]] virtual const std::u16string* statusText() const;
    [[nodiscard]] virtual const std::u16string& rawResponseHeaders() const { return m_rawHeaders; }
    [[nodiscard]] virtual std::optional<std::u16string> responseHeader(const std::u16string& name) const;
    [[nodiscard]] virtual size_t bodyLength() const { return m_body.size(); }
    // False when there is no body, buffer is null or length is below the body length.
    virtual bool bodyBytes(uint8_t* buffer, size_t length) const;

    // The response from source: header block, then the body as Content-Length says. False on a
    // failing step: no response when the header block failed, no body when the body failed.
    bool readResponse(ByteSource& source);
    // The status line and the header map from the raw header text (lines ended by CR LF).
    void parseResponseHeaders(const std::u16string& raw);

    // Every piece of text between occurrences of delimiter, empty ones included.
    [[nodiscard]] static std::vector<std::u16string> split(const std::u16string& text, const std::u16string& delimiter);

    void setDiagnostics(bool on) { m_diagnostics = on; }
    [[nodiscard]] int lastError() const { return m_errorCode; }
    [[nodiscard]] const std::string& errorText() const { return m_errorText; }
    [[nodiscard]] const std::string& host() const { return m_host; }
    [[nodiscard]] uint16_t port() const { return m_port; }

    // Tests reach a loopback server through this port instead of 80 (0 restores 80).
    static void setPortForTesting(uint16_t port);

private:
    bool ReadResponseHeader(HttpResponseReader& reader);
    bool ReadResponseContent(HttpResponseReader& reader);
    void setError(int code, const std::string& text);
    void setError(int code);
    void report(const char* title, const std::string& text) const;

    std::string m_host;
    uint16_t m_port = 0;
    HeaderMap m_requestHeaders;
    HeaderMap m_responseHeaders;
    std::u16string m_rawHeaders;
    std::optional<std::u16string> m_statusText;
    int m_statusCode = -1;
    std::vector<uint8_t> m_body;
    int m_errorCode = 0;
    std::string m_errorText;
    bool m_diagnostics = false;
};
