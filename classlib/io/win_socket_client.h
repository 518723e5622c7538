// WinSocketClient: the socket connection's native client, one TCP socket (the net seam's
// NetSocket). Results as the socket calls give them: 1/0 for the steps, counts or -1 for the
// transfers. Diagnostics (on from construction) log each failure under the operation's name.
// Plain C++: callers run the blocking operations parked. Shared by the connection and its streams
// through a count of holders: the last release deletes it, so a stream outliving its connection
// never reads through a freed client.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/device/net_socket.h"

class WinSocketClient {
public:
    WinSocketClient() = default;
    virtual ~WinSocketClient() { (void)Close(); }
    WinSocketClient(const WinSocketClient&) = delete;
    WinSocketClient& operator=(const WinSocketClient&) = delete;

    virtual int Create();
    virtual int Connect(const std::string& host, uint16_t port);
    virtual int Bind(uint16_t port);
    virtual int Accept(WinSocketClient* client);
    virtual int Listen(int backlog);
    virtual long Send(const void* data, size_t length, int flags);
    virtual long SendString(const char* text);
    virtual long Receive(void* buffer, size_t length, int flags);
    // Bytes up to an LF or `max` stored bytes, CR and LF not stored, the text ended by a zero
    // (buffer holds max + 1). With echo each byte goes back. A receive of 0 or -1 is answered as is.
    virtual long ReceiveLine(char* buffer, size_t max, bool echo);
    virtual int Shutdown(int how);
    virtual int Close();

    // A new holder; release gives the hold back (null is ignored).
    void retain() { m_holders.fetch_add(1); }
    static void release(WinSocketClient* client);
    // slot takes a hold on next and gives back the one it had.
    static void holdIn(WinSocketClient*& slot, WinSocketClient* next);

    void setDiagnostics(bool on) { m_diagnostics = on; }
    [[nodiscard]] uint16_t localPort() const { return m_socket.localPort(); }
    [[nodiscard]] int lastError() const { return m_socket.lastError(); }

private:
    void report(const char* title, const std::string& text) const;

    NetSocket m_socket;
    bool m_diagnostics = true;
    std::atomic<int> m_holders{1};
};
