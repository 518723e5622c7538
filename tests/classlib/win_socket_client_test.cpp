// The socket client's own operations on a loopback pair: bind, listen, accept, sends and the line
// reader's rules (CR and LF not stored, stops at LF or max, echo, a receive of 0 answered as is).
#include <gtest/gtest.h>

#include <sys/socket.h>

#include <cstring>
#include <string>

#include "classlib/io/win_socket_client.h"

TEST(WinSocketClientTest, PairOverLoopbackAndTheLineReader) {
    WinSocketClient server, client, peer;
    server.setDiagnostics(false);
    ASSERT_EQ(server.Create(), 1);
    ASSERT_EQ(server.Bind(0), 1);
    ASSERT_EQ(server.Listen(1), 1);
    ASSERT_NE(server.localPort(), 0);
    EXPECT_EQ(server.Accept(nullptr), 0);
    ASSERT_EQ(client.Create(), 1);
    ASSERT_EQ(client.Connect("127.0.0.1", server.localPort()), 1);
    ASSERT_EQ(server.Accept(&peer), 1);

    EXPECT_EQ(client.SendString("hello\r\nabcdef\n"), 14);
    char line[16];
    const struct {
        size_t max;
        long result;
        const char* text;
    } reads[] = {{64, 5, "hello"}, {3, 3, "abc"}, {3, 3, "def"}, {3, 0, ""}};
    for (const auto& r : reads) {
        std::memset(line, '#', sizeof line);
        EXPECT_EQ(peer.ReceiveLine(line, r.max, false), r.result) << r.text;
        EXPECT_STREQ(line, r.text);
    }
    // "def" stopped at max, so its LF made the last, empty line.

    EXPECT_EQ(client.SendString("ping\n"), 5);
    EXPECT_EQ(peer.ReceiveLine(line, 15, true), 4);
    EXPECT_STREQ(line, "ping");
    char echoed[8] = {};
    long got = 0;
    while (got < 5) {
        const long n = client.Receive(echoed + got, sizeof echoed - 1 - static_cast<size_t>(got), 0);
        ASSERT_GT(n, 0);
        got += n;
    }
    EXPECT_STREQ(echoed, "ping\n");

    // The peer's side shut: the line reader answers the receive's 0 at once.
    EXPECT_EQ(client.SendString("x"), 1);
    EXPECT_EQ(client.Shutdown(SHUT_WR), 1);
    EXPECT_EQ(peer.ReceiveLine(line, 15, false), 0);
    EXPECT_STREQ(line, "x");
    EXPECT_EQ(client.Close(), 1);
    EXPECT_EQ(client.Close(), 0);
    EXPECT_EQ(client.Send("a", 1, 0), -1);
    EXPECT_EQ(client.SendString(nullptr), -1);
}

TEST(WinSocketClientTest, ConnectWithoutHostFails) {
    WinSocketClient client;
    client.setDiagnostics(false);
    ASSERT_EQ(client.Create(), 1);
    EXPECT_EQ(client.Connect("", 80), 0);
}
