// NetSocket: one TCP socket over POSIX, what Winsock gave the socket client (create, connect,
// bind, listen, accept, send, receive, shutdown, close). Blocking calls; the caller parks around
// them. Invariant: fd is -1 or a descriptor this object owns; it is closed exactly once (close
// takes it with one exchange).
#pragma once

#include <cstddef>
#include <atomic>
#include <cstdint>
#include <string>

class NetSocket {
public:
    NetSocket() = default;
    ~NetSocket() { (void)close(); }
    NetSocket(const NetSocket&) = delete;
    NetSocket& operator=(const NetSocket&) = delete;

    // socket(AF_INET, SOCK_STREAM, IPPROTO_TCP); false (error kept) on failure. A socket already
    // open is closed first.
    [[nodiscard]] bool create();
    // The host's first IPv4 address (a name or a dotted quad), then connect to port.
    [[nodiscard]] bool connect(const std::string& host, uint16_t port);
    // Any local address at port (0: an ephemeral one).
    [[nodiscard]] bool bind(uint16_t port);
    [[nodiscard]] bool listen(int backlog);
    // The next connection into `client` (which is closed first).
    [[nodiscard]] bool accept(NetSocket& client);
    // send/recv: the count moved, or -1 (error kept). A peer gone never raises SIGPIPE.
    [[nodiscard]] long send(const void* data, size_t length, int flags);
    [[nodiscard]] long receive(void* buffer, size_t length, int flags);
    // SHUT_RD 0, SHUT_WR 1, SHUT_RDWR 2.
    [[nodiscard]] bool shutdown(int how);
    // False when nothing was open or close failed.
    bool close();
    // Send and receive time limits in ms (0: none); a receive that times out answers -1.
    void setTimeouts(int millis);

    [[nodiscard]] bool isOpen() const { return m_fd >= 0; }
    // The bound local port (0 when none).
    [[nodiscard]] uint16_t localPort() const;
    // errno of the last failed call.
    [[nodiscard]] int lastError() const { return m_error; }

private:
    bool fail();
    // Atomic: a close on one thread may meet a blocked receive on another.
    std::atomic<int> m_fd{-1};
    std::atomic<int> m_error{0};
};
