// WinSocketClient over NetSocket. Close shuts the socket down first, so a reader blocked on
// another thread wakes with the end of data instead of waiting on a closed descriptor.
#include "classlib/io/win_socket_client.h"

#include <sys/socket.h>

#include <cstdio>
#include <cstring>

#include "runtime/log.h"

void WinSocketClient::report(const char* title, const std::string& text) const {
    if (m_diagnostics) Log::warn("%s: %s", title, text.c_str());
}

void WinSocketClient::release(WinSocketClient* client) {
    if (client && client->m_holders.fetch_sub(1) == 1) delete client;
}

void WinSocketClient::holdIn(WinSocketClient*& slot, WinSocketClient* next) {
    if (next) next->retain();
    release(slot);
    slot = next;
}

int WinSocketClient::Create() {
    if (m_socket.create()) return 1;
    report("WinSocketClient::Create Failed", std::strerror(m_socket.lastError()));
    return 0;
}

int WinSocketClient::Connect(const std::string& host, uint16_t port) {
    if (m_socket.connect(host, port)) return 1;
    char text[64];
    std::snprintf(text, sizeof text, "Unable to connect: %X / %d", m_socket.lastError(), m_socket.lastError());
    report("WinSocketClient::Connect", text);
    return 0;
}

int WinSocketClient::Bind(uint16_t port) { return m_socket.bind(port) ? 1 : 0; }

int WinSocketClient::Accept(WinSocketClient* client) { return client && m_socket.accept(client->m_socket) ? 1 : 0; }

int WinSocketClient::Listen(int backlog) { return m_socket.listen(backlog) ? 1 : 0; }

long WinSocketClient::Send(const void* data, size_t length, int flags) { return m_socket.send(data, length, flags); }

long WinSocketClient::SendString(const char* text) { return text ? Send(text, std::strlen(text), 0) : -1; }

long WinSocketClient::Receive(void* buffer, size_t length, int flags) { return m_socket.receive(buffer, length, flags); }

long WinSocketClient::ReceiveLine(char* buffer, size_t max, bool echo) {
    if (!buffer) return -1;
    size_t stored = 0;
    while (stored < max) {
        char c = 0;
        const long got = Receive(&c, 1, 0);
        if (got <= 0) {
            buffer[stored] = '\0';
            return got;
        }
        if (echo) (void)Send(&c, 1, 0);
        if (c == '\n') break;
        if (c != '\r') buffer[stored++] = c;
    }
    buffer[stored] = '\0';
    return static_cast<long>(stored);
}

int WinSocketClient::Shutdown(int how) { return m_socket.shutdown(how) ? 1 : 0; }

int WinSocketClient::Close() {
    if (!m_socket.isOpen()) return 0;
    (void)m_socket.shutdown(SHUT_RDWR);
    return m_socket.close() ? 1 : 0;
}
