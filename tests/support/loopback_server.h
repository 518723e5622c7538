// A TCP server on 127.0.0.1 at an ephemeral port for the network tests: it serves connections one
// after another on its own thread, each through a handler given the connected descriptor. Raw
// POSIX, apart from the code under test; it never touches the runtime. Each test makes its own, so
// tests share no port.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class LoopbackServer {
public:
    using Handler = std::function<void(int fd)>;

    explicit LoopbackServer(Handler handler) : m_handler(std::move(handler)) {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (m_listen < 0 || ::bind(m_listen, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            ::listen(m_listen, 8) != 0 || ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            return;
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~LoopbackServer() {
        if (m_listen >= 0) ::shutdown(m_listen, SHUT_RDWR);  // wakes the accept
        if (m_thread.joinable()) m_thread.join();
        if (m_listen >= 0) ::close(m_listen);
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    [[nodiscard]] uint16_t port() const { return m_port; }
    [[nodiscard]] int connections() const {
        std::lock_guard guard(m_lock);
        return m_connections;
    }

    // The request's bytes up to and including its blank line (or all there was).
    static std::string readRequest(int fd) {
        std::string request;
        char c = 0;
        while (request.find("\r\n\r\n") == std::string::npos && ::recv(fd, &c, 1, 0) == 1) request += c;
        return request;
    }
    static void writeAll(int fd, std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (sent <= 0) return;
            bytes.remove_prefix(static_cast<size_t>(sent));
        }
    }

private:
    void serve() {
        for (;;) {
            const int fd = ::accept(m_listen, nullptr, nullptr);
            if (fd < 0) return;
            {
                std::lock_guard guard(m_lock);
                ++m_connections;
            }
            m_handler(fd);
            ::close(fd);
        }
    }

    Handler m_handler;
    int m_listen = -1;
    uint16_t m_port = 0;
    mutable std::mutex m_lock;
    int m_connections = 0;
    std::thread m_thread;
};

// An HTTP server that answers every request with the same bytes and keeps the requests it read.
class CannedHttpServer {
public:
    explicit CannedHttpServer(std::string response)
        : m_response(std::move(response)), m_server([this](int fd) {
              const std::string request = LoopbackServer::readRequest(fd);
              {
                  std::lock_guard guard(m_lock);
                  m_requests.push_back(request);
              }
              LoopbackServer::writeAll(fd, m_response);
          }) {}

    [[nodiscard]] uint16_t port() const { return m_server.port(); }
    [[nodiscard]] std::vector<std::string> requests() const {
        std::lock_guard guard(m_lock);
        return m_requests;
    }

private:
    std::string m_response;
    mutable std::mutex m_lock;
    std::vector<std::string> m_requests;
    LoopbackServer m_server;  // last: its thread starts after the members it uses
};
