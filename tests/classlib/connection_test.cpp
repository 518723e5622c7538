// Connector, the HTTP connection and the socket connection against loopback servers: the views,
// the lazy GET and its answers, malformed responses, socket round trips, and the request parked
// while it waits so a collection on another thread goes ahead.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>

#include "../runtime/runtime_fixture.h"
#include "classlib/io/http_connection_impl.h"
#include "classlib/io/javax_microedition_io_connector.h"
#include "classlib/io/socket_connection_impl.h"
#include "classlib/io/win_inet_http_client.h"
#include "classlib/java_io/java_io_data_input_stream.h"
#include "classlib/java_io/java_io_data_output_stream.h"
#include "classlib/java_lang/java_lang_exceptions.h"
#include "runtime/array.h"
#include "runtime/exceptions.h"
#include "runtime/string.h"
#include "tests/support/loopback_server.h"
#include "thread_helpers.h"

namespace {

class ConnectionTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        for (Object*& slot : m_held) objectManager().addRoot(&slot);
    }
    void TearDown() override {
        for (Object*& slot : m_held) objectManager().removeRoot(&slot);
        WinInetHttpClient::setPortForTesting(0);
        Runtime::clearPendingException();
        RuntimeTest::TearDown();
    }

    static String* text(const char* s) { return String::fromCString(s); }

    // A connection kept reachable: the test holds only its views, which the collector cannot see.
    Object* open(const std::string& url) {
        Object* connection = javax_microedition_io_Connector::open(text(url.c_str()), javax_microedition_io_Connector::READ_WRITE);
        m_held[m_next++ % std::size(m_held)] = connection;
        return connection;
    }

    // The pending exception is an IOException; clears it.
    static bool tookIoException() {
        Object* pending = Runtime::getPendingException();
        const bool io = pending && pending->classId() == CID_java_io_IOException;
        Runtime::clearPendingException();
        return io;
    }

    // An HTTP connection to the server whatever port the url names.
    javax_microedition_io_HttpConnection* http(const CannedHttpServer& server, const char* url) {
        WinInetHttpClient::setPortForTesting(server.port());
        return Runtime::asHttpConnection(open(url));
    }

    static std::string readAll(java_io_InputStream* in) {
        std::string out;
        for (jint b = in->read(); b >= 0; b = in->read()) out += static_cast<char>(b);
        return out;
    }

    static std::string str(String* s) { return s ? s->toCString() : std::string("<null>"); }

    Watchdog m_watchdog{std::chrono::seconds(60)};
    Object* m_held[4] = {};
    size_t m_next = 0;
};

TEST_F(ConnectionTest, ConnectorPicksTheConnectionByScheme) {
    const struct {
        const char* url;
        bool http, socket;
    } cases[] = {
        {"http://127.0.0.1:9/", true, false},  {"https://127.0.0.1/", true, false},
        {"socket://127.0.0.1:9", false, true}, {"ftp://127.0.0.1/", false, false},
        {"HTTP://127.0.0.1/", false, false},   {"", false, false},
    };
    for (const auto& c : cases) {
        Object* connection = open(c.url);
        EXPECT_EQ(Runtime::asHttpConnection(connection) != nullptr, c.http) << c.url;
        EXPECT_EQ(Runtime::asSocketConnection(connection) != nullptr, c.socket) << c.url;
        if (!connection) continue;
        EXPECT_NE(Runtime::asConnection(connection), nullptr);
        EXPECT_NE(Runtime::asInputConnection(connection), nullptr);
        EXPECT_NE(Runtime::asOutputConnection(connection), nullptr);
        EXPECT_EQ(connection->getInterface(CID_javax_microedition_io_ContentConnection) != nullptr, c.http);
        EXPECT_EQ(connection->getInterface(CID_javax_microedition_io_StreamConnection) != nullptr, c.socket);
        EXPECT_EQ(connection->getInterface(CID_java_lang_Runnable), nullptr);
        Runtime::asConnection(connection)->close();
    }
    EXPECT_EQ(javax_microedition_io_Connector::open(nullptr, 1), nullptr);
    EXPECT_FALSE(Runtime::pending());
}

TEST_F(ConnectionTest, HttpGetRoundTripSendsOnceAndAnswersFromTheResponse) {
    CannedHttpServer server("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 5\r\n\r\nhello");
    auto* c = http(server, "http://127.0.0.1:8080/dir/file.txt?x=1&y=2");
    ASSERT_NE(c, nullptr);
    // The url's questions need no request.
    EXPECT_EQ(str(c->getHost()), "127.0.0.1");
    EXPECT_EQ(c->getPort(), 8080);
    EXPECT_EQ(str(c->getFile()), "/dir/file.txt");
    EXPECT_EQ(str(c->getQuery()), "?x=1&y=2");
    EXPECT_EQ(str(c->getProtocol()), "http");
    EXPECT_EQ(str(c->getRequestMethod()), "GET");
    EXPECT_EQ(c->getRef(), nullptr);
    EXPECT_TRUE(server.requests().empty());

    EXPECT_EQ(c->getResponseCode(), 200);
    EXPECT_EQ(c->getResponseCode(), 200);
    ASSERT_EQ(server.requests().size(), 1u);  // asked twice, sent once
    const std::string request = server.requests()[0];
    EXPECT_EQ(request.substr(0, request.find("\r\n")), "GET /dir/file.txt?x=1&y=2 HTTP/1.0");
    EXPECT_NE(request.find("Host: 127.0.0.1\r\n"), std::string::npos);

    EXPECT_EQ(str(c->getResponseMessage()), "OK");
    EXPECT_EQ(str(c->getType()), "text/plain");
    EXPECT_EQ(c->getLength(), 5);
    EXPECT_EQ(str(c->getHeaderField(text("CONTENT-LENGTH"))), "5");
    EXPECT_EQ(c->getExpiration(), 0);
    EXPECT_EQ(c->getEncoding(), nullptr);
    java_io_InputStream* in = c->openInputStream();
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(readAll(in), "hello");
    java_io_DataInputStream* data = c->openDataInputStream();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->readUnsignedByte(), 'h');
    EXPECT_EQ(server.requests().size(), 1u);

    EXPECT_EQ(c->getHeaderField(text("X-Missing")), nullptr);
    EXPECT_TRUE(tookIoException());

    // A request property makes the next question send again, with the header.
    c->setRequestProperty(text("X-Token"), text("abc"));
    EXPECT_EQ(c->getResponseCode(), 200);
    ASSERT_EQ(server.requests().size(), 2u);
    EXPECT_NE(server.requests()[1].find("X-Token: abc\r\n"), std::string::npos);

    // No method but GET is ever sent.
    c->setRequestMethod(text("POST"));
    (void)c->getResponseCode();
    EXPECT_EQ(server.requests().size(), 2u);

    // The output side has no stream.
    auto* out = Runtime::asOutputConnection(m_held[0]);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->openOutputStream(), nullptr);
    EXPECT_NE(out->openDataOutputStream(), nullptr);
    c->close();
}

TEST_F(ConnectionTest, HttpRequestTargetTravelsAsEscapedUtf8) {
    CannedHttpServer server("HTTP/1.0 204 No Content\r\n\r\n");
    auto* c = http(server, "http://127.0.0.1/a b/\xE9?q=\xFC");  // Latin-1 units U+00E9, U+00FC
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->getResponseCode(), 204);
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].substr(0, server.requests()[0].find("\r\n")), "GET /a%20b/%C3%A9?q=%C3%BC HTTP/1.0");
}

// What each response lets openInputStream, the code and the message answer.
TEST_F(ConnectionTest, HttpResponsesMalformedOrNotOkRaiseOnOpen) {
    const struct {
        const char* name;
        const char* response;
        jint code;
        const char* message;  // null: getResponseMessage raises
    } cases[] = {
        {"not found", "HTTP/1.0 404 Not Found\r\nContent-Length: 3\r\n\r\nnope", 404, "Not Found"},
        {"server error", "HTTP/1.0 500 Internal Server Error\r\n\r\n", 500, "Internal Server Error"},
        {"ok without length", "HTTP/1.0 200 OK\r\n\r\nignored", 200, "OK"},
        {"ok with length 0", "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n", 200, "OK"},
        {"negative length", "HTTP/1.0 200 OK\r\nContent-Length: -1\r\n\r\nabc", 200, "OK"},
        {"huge length", "HTTP/1.0 200 OK\r\nContent-Length: 4294967296\r\n\r\nabc", 200, "OK"},
        {"short status line", "HTTP/1.0 200\r\nContent-Length: 2\r\n\r\nok", -1, ""},
        {"no blank line", "HTTP/1.0 200 OK\r\nContent-Length: 2\r\n", -1, nullptr},
        {"nothing", "", -1, nullptr},
        {"garbage", "\x01\x02\x03\r\n\r\n", -1, ""},
    };
    for (const auto& k : cases) {
        CannedHttpServer server(k.response);
        auto* c = http(server, "http://127.0.0.1/");
        ASSERT_NE(c, nullptr) << k.name;
        EXPECT_EQ(c->getResponseCode(), k.code) << k.name;
        String* message = c->getResponseMessage();
        if (k.message) {
            EXPECT_EQ(str(message), k.message) << k.name;
        } else {
            EXPECT_TRUE(tookIoException()) << k.name;
        }
        EXPECT_EQ(c->openInputStream(), nullptr) << k.name;
        EXPECT_TRUE(tookIoException()) << k.name;
        EXPECT_EQ(c->openDataInputStream(), nullptr) << k.name;
        EXPECT_TRUE(tookIoException()) << k.name;
        c->close();
    }
}

TEST_F(ConnectionTest, HttpWithNoServerAnswersFromAnEmptyResponse) {
    uint16_t port = 0;
    {
        CannedHttpServer gone("");
        port = gone.port();
    }
    WinInetHttpClient::setPortForTesting(port);
    auto* c = Runtime::asHttpConnection(open("http://127.0.0.1/x"));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->getResponseCode(), -1);
    EXPECT_EQ(c->getLength(), 0);
    EXPECT_EQ(c->openInputStream(), nullptr);
    EXPECT_TRUE(tookIoException());
}

// While the request waits for the server, another thread collects: the waiting thread is parked.
TEST_F(ConnectionTest, HttpRequestWaitsParked) {
    std::mutex lock;
    std::condition_variable changed;
    bool collected = false;
    LoopbackServer server([&](int fd) {
        (void)LoopbackServer::readRequest(fd);
        std::unique_lock held(lock);
        changed.wait(held, [&] { return collected; });
        LoopbackServer::writeAll(fd, "HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok");
    });
    struct Context {
        ObjectManager* collector;
        std::mutex* lock;
        std::condition_variable* changed;
        bool* collected;
        std::atomic<uint64_t> before{0};
    } context{&objectManager(), &lock, &changed, &collected};
    context.before = objectManager().statistics().collections;
    java_lang_Thread* collector = newThread(
        [](void* p) {
            auto& c = *static_cast<Context*>(p);
            c.collector->gc(1);
            std::lock_guard held(*c.lock);
            *c.collected = true;
            c.changed->notify_all();
        },
        &context);
    WinInetHttpClient::setPortForTesting(server.port());
    auto* c = Runtime::asHttpConnection(open("http://127.0.0.1/"));
    ASSERT_NE(c, nullptr);
    collector->start();
    EXPECT_EQ(c->getResponseCode(), 200);
    collector->join();
    EXPECT_GT(objectManager().statistics().collections, context.before.load());
}

// An echo server: every byte comes back, until the client shuts its side.
class EchoServer {
public:
    EchoServer()
        : m_server([](int fd) {
              char buffer[256];
              for (ssize_t n; (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
                  LoopbackServer::writeAll(fd, std::string_view(buffer, static_cast<size_t>(n)));
          }) {}
    [[nodiscard]] std::string url() const { return "socket://127.0.0.1:" + std::to_string(m_server.port()); }

private:
    LoopbackServer m_server;
};

TEST_F(ConnectionTest, SocketRoundTripKeepsEveryByte) {
    EchoServer server;
    Object* connection = open(server.url());
    auto* socket = Runtime::asSocketConnection(connection);
    ASSERT_NE(socket, nullptr);
    EXPECT_EQ(socket->getPort(), std::stoi(server.url().substr(server.url().rfind(':') + 1)));
    java_io_DataOutputStream* out = Runtime::asOutputConnection(connection)->openDataOutputStream();
    java_io_DataInputStream* in = socket->openDataInputStream();
    ASSERT_NE(out, nullptr);
    ASSERT_NE(in, nullptr);

    // One write of several bytes comes back as one receive: every byte is read, none dropped.
    ByteArray* bytes = Runtime::newByteArray(3);
    std::memcpy(bytes->data, "abc", 3);
    out->writeArray(bytes);
    EXPECT_EQ(in->read(), 'a');
    EXPECT_EQ(in->read(), 'b');
    EXPECT_EQ(in->read(), 'c');

    // The single-byte write sends its byte.
    out->write('Z');
    EXPECT_EQ(in->read(), 'Z');

    out->writeInt(0x01020304);
    out->writeInt(-2);
    EXPECT_EQ(in->readInt(), 0x01020304);
    EXPECT_EQ(in->readInt(), -2);

    // A bulk read with nothing buffered waits for the socket rather than answering the end.
    out->writeArray(bytes);
    ByteArray* into = Runtime::newByteArray(8);
    jint got = 0;
    while (got < 3) {
        const jint n = in->read_3(into, got, 8 - got);
        ASSERT_GT(n, 0);
        got += n;
    }
    EXPECT_EQ(std::memcmp(into->data, "abc", 3), 0);
    EXPECT_FALSE(Runtime::pending());

    // Closed: a read fails with IOException, a write too.
    Runtime::asConnection(connection)->close();
    EXPECT_EQ(in->read(), -1);
    EXPECT_TRUE(tookIoException());
    out->write(1);
    EXPECT_TRUE(tookIoException());
}

TEST_F(ConnectionTest, SocketReadsTheEndWhenThePeerCloses) {
    LoopbackServer server([](int fd) { LoopbackServer::writeAll(fd, "bye"); });
    const std::string url = "socket://127.0.0.1:" + std::to_string(server.port());
    java_io_InputStream* in = javax_microedition_io_Connector::openInputStream(text(url.c_str()));
    ASSERT_NE(in, nullptr);
    objectManager().gc(1);  // the connection is garbage now; its stream reads on
    EXPECT_EQ(readAll(in), "bye");
    EXPECT_EQ(in->read(), -1);
    EXPECT_FALSE(Runtime::pending());
}

TEST_F(ConnectionTest, SocketWithoutServerFailsOnUse) {
    uint16_t port = 0;
    {
        LoopbackServer gone([](int) {});
        port = gone.port();
    }
    const std::string url = "socket://127.0.0.1:" + std::to_string(port);
    Object* connection = open(url);
    ASSERT_NE(connection, nullptr);
    java_io_InputStream* in = Runtime::asInputConnection(connection)->openInputStream();
    EXPECT_EQ(in->read(), -1);
    EXPECT_TRUE(tookIoException());
    auto* portless = Runtime::asSocketConnection(open("socket://127.0.0.1"));
    ASSERT_NE(portless, nullptr);
    EXPECT_EQ(portless->getPort(), 0);
}

}  // namespace
