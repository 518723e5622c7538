// ParseConnectionURL: scheme, host, port, path and query of the URLs the connections open; a ':'
// in the path or query is no port separator, and a URL without "://" is refused.
#include <gtest/gtest.h>

#include "runtime/connection_url.h"
#include "runtime_fixture.h"
#include "text_helpers.h"

namespace {

using ConnectionURLTest = RuntimeTest;

TEST_F(ConnectionURLTest, SplitsSchemeHostPortPathAndQuery) {
    struct Case {
        const char* url;
        bool ok;
        const char* scheme;
        const char* host;
        jint port;
        const char* path;
        const char* query;
    };
    const Case cases[] = {
        {"http://example.com:8080/a/b?x=1", true, "http", "example.com", 8080, "/a/b", "?x=1"},
        {"socket://example.com:5000", true, "socket", "example.com", 5000, "", "<null>"},
        {"http://example.com", true, "http", "example.com", 0, "", "<null>"},
        {"http://example.com/", true, "http", "example.com", 0, "/", "<null>"},
        {"http://example.com/a:b/c", true, "http", "example.com", 0, "/a:b/c", "<null>"},
        {"http://example.com/p?at=10:30", true, "http", "example.com", 0, "/p", "?at=10:30"},
        {"http://example.com:81/p?at=10:30", true, "http", "example.com", 81, "/p", "?at=10:30"},
        {"http://example.com:/p", true, "http", "example.com", 0, "/p", "<null>"},
        {"example.com:80/index.html", false, "<null>", "<null>", 0, "<null>", "<null>"},
        {"", false, "<null>", "<null>", 0, "<null>", "<null>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        ConnectionURL out;
        out.port = -1;
        EXPECT_EQ(ParseConnectionURL(str(c.url), out), c.ok);
        EXPECT_EQ(narrow(out.scheme), c.scheme);
        EXPECT_EQ(narrow(out.host), c.host);
        EXPECT_EQ(out.port, c.port);
        EXPECT_EQ(narrow(out.path), c.path);
        EXPECT_EQ(narrow(out.query), c.query);
    }
    ConnectionURL none;
    EXPECT_FALSE(ParseConnectionURL(nullptr, none));
}

}  // namespace
