// NetSocket over the POSIX calls. Name lookup is getaddrinfo restricted to IPv4 (thread-safe, and
// it reads dotted quads itself); EINTR is retried so a signal never looks like a failure.
#include "platform/device/net_socket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

bool NetSocket::fail() {
    m_error = errno;
    return false;
}

bool NetSocket::create() {
    (void)close();
    m_fd.store(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP));
    return m_fd >= 0 || fail();
}

bool NetSocket::connect(const std::string& host, uint16_t port) {
    if (m_fd < 0) return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (host.empty() || ::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) {
        m_error = EINVAL;
        return false;
    }
    sockaddr_in address{};
    std::memcpy(&address, found->ai_addr, sizeof address);
    ::freeaddrinfo(found);
    address.sin_port = htons(port);
    int result = 0;
    do {
        result = ::connect(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (result != 0 && errno == EINTR);
    return result == 0 || fail();
}

bool NetSocket::bind(uint16_t port) {
    if (m_fd < 0) return false;
    const int yes = 1;
    (void)::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(port);
    return ::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 || fail();
}

bool NetSocket::listen(int backlog) { return (m_fd >= 0 && ::listen(m_fd, backlog) == 0) || fail(); }

bool NetSocket::accept(NetSocket& client) {
    if (m_fd < 0 || &client == this) return false;
    int fd = -1;
    do {
        fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return fail();
    (void)client.close();
    client.m_fd.store(fd);
    return true;
}

long NetSocket::send(const void* data, size_t length, int flags) {
    if (m_fd < 0) return -1;
    ssize_t sent = 0;
    do {
        sent = ::send(m_fd, data, length, flags | MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    if (sent < 0) (void)fail();
    return static_cast<long>(sent);
}

long NetSocket::receive(void* buffer, size_t length, int flags) {
    if (m_fd < 0) return -1;
    ssize_t got = 0;
    do {
        got = ::recv(m_fd, buffer, length, flags);
    } while (got < 0 && errno == EINTR);
    if (got < 0) (void)fail();
    return static_cast<long>(got);
}

bool NetSocket::shutdown(int how) { return (m_fd >= 0 && ::shutdown(m_fd, how) == 0) || fail(); }

bool NetSocket::close() {
    if (m_fd < 0) return false;
    const int fd = m_fd.exchange(-1);
    if (fd < 0) return false;
    return ::close(fd) == 0 || fail();
}

void NetSocket::setTimeouts(int millis) {
    if (m_fd < 0) return;
    timeval limit{};
    limit.tv_sec = millis / 1000;
    limit.tv_usec = (millis % 1000) * 1000;
    (void)::setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    (void)::setsockopt(m_fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

uint16_t NetSocket::localPort() const {
    if (m_fd < 0) return 0;
    sockaddr_in address{};
    socklen_t size = sizeof address;
    if (::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) return 0;
    return ntohs(address.sin_port);
}
