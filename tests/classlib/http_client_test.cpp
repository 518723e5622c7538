// The HTTP client's response handling over memory: the split rule, the status line, the header map
// and the body as Content-Length allows, including the malformed and hostile cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "classlib/io/win_inet_http_client.h"
#include "platform/device/http_exchange.h"

namespace {

// Hands out `bytes` at most `chunk` at a time; then the end (or a failure when asked).
class MemorySource final : public ByteSource {
public:
    MemorySource(std::string bytes, size_t chunk, bool failAtEnd = false)
        : m_bytes(std::move(bytes)), m_chunk(chunk), m_failAtEnd(failAtEnd) {}
    long receive(uint8_t* buffer, size_t length) override {
        const size_t n = std::min({length, m_chunk, m_bytes.size() - m_at});
        if (n == 0) return m_failAtEnd ? -1 : 0;
        std::copy_n(m_bytes.data() + m_at, n, buffer);
        m_at += n;
        return static_cast<long>(n);
    }
    [[nodiscard]] size_t consumed() const { return m_at; }

private:
    std::string m_bytes;
    size_t m_chunk;
    bool m_failAtEnd;
    size_t m_at = 0;
};

std::string body(const WinInetHttpClient& client) {
    std::string out(client.bodyLength(), '\0');
    if (!out.empty()) {
        EXPECT_TRUE(client.bodyBytes(reinterpret_cast<uint8_t*>(out.data()), out.size()));
    }
    return out;
}

}  // namespace

TEST(HttpClientTest, SplitKeepsEveryPieceEmptyOnesIncluded) {
    const struct {
        std::u16string text, delimiter;
        std::vector<std::u16string> pieces;
    } cases[] = {
        {u"a::b", u":", {u"a", u"", u"b"}},
        {u"a:b:", u":", {u"a", u"b", u""}},
        {u"abc", u":", {u"abc"}},
        {u"", u":", {u""}},
        {u"x\r\ny\r\n", u"\r\n", {u"x", u"y", u""}},
    };
    for (const auto& c : cases) EXPECT_EQ(WinInetHttpClient::split(c.text, c.delimiter), c.pieces);
}

TEST(HttpClientTest, StatusLineGivesCodeAndText) {
    const struct {
        std::u16string line;
        int code;
        std::u16string text;
    } cases[] = {
        {u"HTTP/1.0 404 Not Found\r\n", 404, u"Not Found"},
        {u"HTTP/1.1 200 OK\r\n", 200, u"OK"},
        {u"HTTP/1.0 500 Very  Bad Thing\r\n", 500, u"Very  Bad Thing"},
        {u"HTTP/1.0 204 \r\n", 204, u""},
        // Too short to carry a reason: no code to trust, and nothing is cut past the text's start.
        {u"HTTP/1.0 200\r\n", -1, u""},
        {u"HTTP/1.0\r\n", -1, u""},
        {u"\r\n", -1, u""},
        // Codes that are not plain decimals.
        {u"HTTP/1.0 -200 Odd\r\n", -1, u"Odd"},
        {u"HTTP/1.0 2x0 Odd\r\n", -1, u"Odd"},
        {u"HTTP/1.0 99999999999999999999 Big\r\n", -1, u"Big"},
    };
    for (const auto& c : cases) {
        WinInetHttpClient client;
        client.parseResponseHeaders(c.line + u"\r\n");
        EXPECT_EQ(client.statusCode(), c.code) << std::string(c.line.begin(), c.line.end());
        ASSERT_NE(client.statusText(), nullptr);
        EXPECT_EQ(*client.statusText(), c.text);
    }
}

TEST(HttpClientTest, HeaderNamesCompareWithoutCaseAndValuesAreTrimmed) {
    WinInetHttpClient client;
    client.parseResponseHeaders(
        u"HTTP/1.0 200 OK\r\nContent-Type:  text/plain \r\nX-Time: 12:30:01\r\nno colon here\r\n: empty name\r\n\r\n");
    EXPECT_EQ(client.responseHeader(u"content-type"), u"text/plain");
    EXPECT_EQ(client.responseHeader(u"CONTENT-TYPE"), u"text/plain");
    EXPECT_EQ(client.responseHeader(u"x-time"), u"12:30:01");  // split at the first ':' only
    EXPECT_FALSE(client.responseHeader(u"no colon here").has_value());
    EXPECT_FALSE(client.responseHeader(u"").has_value());
}

TEST(HttpClientTest, RequestHeadersNeedNameAndValue) {
    WinInetHttpClient client;
    client.addRequestHeader(u"Accept", u"*/*");
    client.addRequestHeader(u"", u"x");
    client.addRequestHeader(u"Empty", u"");
    EXPECT_EQ(client.requestHeader(u"accept"), u"*/*");
    EXPECT_FALSE(client.requestHeader(u"Empty").has_value());
    client.reset();
    EXPECT_FALSE(client.requestHeader(u"Accept").has_value());
}

// The body as the response's Content-Length allows: read progressively, refused when it cannot
// be a length, never past what was declared.
TEST(HttpClientTest, BodyFollowsContentLength) {
    const std::string head = "HTTP/1.0 200 OK\r\n";
    const struct {
        const char* name;
        std::string response;
        bool ok;
        std::string body;
        bool failAtEnd;
    } cases[] = {
        {"declared", head + "Content-Length: 5\r\n\r\nhello", true, "hello", false},
        {"no length reads no body", head + "\r\nhello", true, "", false},
        {"zero", head + "Content-Length: 0\r\n\r\nhello", true, "", false},
        {"stops at the length", head + "Content-Length: 3\r\n\r\nhello", true, "hel", false},
        {"short body is what came", head + "Content-Length: 100\r\n\r\nhi", true, "hi", false},
        {"huge declared, little sent", head + "Content-Length: 16777216\r\n\r\nabc", true, "abc", false},
        {"negative refused", head + "Content-Length: -5\r\n\r\nhello", false, "", false},
        {"beyond the limit refused", head + "Content-Length: 16777217\r\n\r\nhello", false, "", false},
        {"overflowing refused", head + "Content-Length: 99999999999999999999\r\n\r\nhello", false, "", false},
        {"not a number refused", head + "Content-Length: 5x\r\n\r\nhello", false, "", false},
        {"failed read drops the body", head + "Content-Length: 10\r\n\r\nhello", false, "", true},
        {"bare LF lines", "HTTP/1.0 200 OK\nContent-Length: 2\n\nok", true, "ok", false},
    };
    for (const auto& c : cases) {
        for (const size_t chunk : {size_t{1}, size_t{7}, size_t{4096}}) {
            MemorySource source(c.response, chunk, c.failAtEnd);
            WinInetHttpClient client;
            EXPECT_EQ(client.readResponse(source), c.ok) << c.name << " chunk " << chunk;
            EXPECT_EQ(body(client), c.body) << c.name << " chunk " << chunk;
            EXPECT_EQ(client.statusCode(), 200) << c.name;  // a failed body keeps the status
        }
    }
}

TEST(HttpClientTest, NoBodyMeansNoReadAfterTheHeaders) {
    // Everything after the blank line stays unread when no length is declared.
    MemorySource source(std::string("HTTP/1.0 200 OK\r\n\r\n") + std::string(10000, 'x'), 16);
    WinInetHttpClient client;
    ASSERT_TRUE(client.readResponse(source));
    EXPECT_EQ(client.bodyLength(), 0u);
    EXPECT_LT(source.consumed(), 40u);
    uint8_t byte = 0;
    EXPECT_FALSE(client.bodyBytes(&byte, 1));  // an empty body answers 0
}

TEST(HttpClientTest, HeaderBlockThatNeverEndsIsRefused) {
    const struct {
        const char* name;
        std::string response;
    } cases[] = {
        {"ends before the blank line", "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n"},
        {"nothing at all", ""},
        {"too big", "HTTP/1.0 200 OK\r\nX: " + std::string(HttpResponseReader::kMaxHeaderBytes, 'a') + "\r\n\r\n"},
    };
    for (const auto& c : cases) {
        MemorySource source(c.response, 4096);
        WinInetHttpClient client;
        EXPECT_FALSE(client.readResponse(source)) << c.name;
        EXPECT_EQ(client.statusCode(), -1) << c.name;
        EXPECT_EQ(client.statusText(), nullptr) << c.name;
        EXPECT_LE(source.consumed(), HttpResponseReader::kMaxHeaderBytes) << c.name;
    }
}

TEST(HttpClientTest, ProgressListenerSeesEveryPass) {
    MemorySource source("HTTP/1.0 200 OK\r\nContent-Length: 6\r\n\r\nabcdef", 4);
    WinInetHttpClient client;
    std::vector<size_t> soFar;
    client.setProgressListener([&](size_t bytes, size_t) { soFar.push_back(bytes); });
    ASSERT_TRUE(client.readResponse(source));
    ASSERT_FALSE(soFar.empty());
    EXPECT_EQ(soFar.back(), 6u);
    EXPECT_TRUE(std::is_sorted(soFar.begin(), soFar.end()));
}

TEST(HttpClientTest, GetRequestEscapesTheTargetAndDropsInjectedHeaders) {
    const std::string request = HttpExchange::getRequest(
        "example.org", "/a b/\xC3\xA9?q=1", "CeHttp", {{"X-One", "1"}, {"X-Bad", "v\r\nX-Evil: 1"}, {"X\nBad", "2"}});
    EXPECT_EQ(request,
              "GET /a%20b/%C3%A9?q=1 HTTP/1.0\r\nHost: example.org\r\nUser-Agent: CeHttp\r\nPragma: no-cache\r\n"
              "X-One: 1\r\n\r\n");
    EXPECT_EQ(HttpExchange::getRequest("h", "", "A", {}).substr(0, 19), "GET / HTTP/1.0\r\nHos");
}

TEST(HttpClientTest, ConnectTakesTheHostAndAlwaysPort80) {
    const struct {
        std::u16string url;
        bool ok;
        std::string host;
    } cases[] = {
        {u"http://example.org:8080/x", true, "example.org"},
        {u"https://user:pw@example.org/x?y", true, "example.org"},
        {u"http://example.org?q", true, "example.org"},
        {u"http:///path", false, ""},
        {u"example.org", false, ""},
        {u"http://bad host/", false, ""},
    };
    for (const auto& c : cases) {
        WinInetHttpClient client;
        EXPECT_EQ(client.Connect(c.url), c.ok);
        EXPECT_EQ(client.host(), c.host);
        if (c.ok) {
            EXPECT_EQ(client.port(), 80);
        }
    }
    WinInetHttpClient::setPortForTesting(8123);
    WinInetHttpClient client;
    EXPECT_TRUE(client.Connect(u"http://example.org:8080/"));
    WinInetHttpClient::setPortForTesting(0);
    EXPECT_EQ(client.port(), 8123);
}
