// The HTTP side of the net seam, what WinInet did for the HTTP client: one HTTP/1.0 GET over a
// NetSocket, the response's header block read whole (lines re-ended with CR LF, as WinInet's raw
// header query gave them) and the body read after it. The reader works over any ByteSource, so a
// fuzz target can feed it memory. Invariant: the header block never grows past kMaxHeaderBytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/device/net_socket.h"

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to length bytes: the count, 0 at the end, -1 on failure.
    [[nodiscard]] virtual long receive(uint8_t* buffer, size_t length) = 0;
};

// The response read from a source: first the header block, then the body.
class HttpResponseReader {
public:
    static constexpr size_t kMaxHeaderBytes = 64 * 1024;

    explicit HttpResponseReader(ByteSource& source) : m_source(source) {}
    // The status line and header lines up to the blank line that ends them, each ended by CR LF,
    // the blank line included. False when the source ends or fails first, or the block is too big.
    [[nodiscard]] bool readHeaderBlock(std::string& out);
    // Body bytes: those already read past the header block first. 0 at the end, -1 on failure.
    [[nodiscard]] long readBody(uint8_t* buffer, size_t length);
    // Body bytes that readBody answers without waiting.
    [[nodiscard]] size_t buffered() const { return m_held.size() - m_heldAt; }

private:
    ByteSource& m_source;
    std::string m_held;
    size_t m_heldAt = 0;
};

// One request on its own connection.
class HttpExchange final : public ByteSource {
public:
    using Headers = std::vector<std::pair<std::string, std::string>>;

    // Connects to host:port; every later wait is limited to timeoutMillis.
    [[nodiscard]] bool open(const std::string& host, uint16_t port, int timeoutMillis);
    // Sends the whole request; false when the connection fails or it cannot be written.
    [[nodiscard]] bool send(const std::string& request);
    long receive(uint8_t* buffer, size_t length) override { return m_socket.receive(buffer, length, 0); }
    void close() { (void)m_socket.close(); }
    [[nodiscard]] int lastError() const { return m_socket.lastError(); }

    // "GET <object> HTTP/1.0" with Host, User-Agent and Pragma lines, then `headers`, then the blank
    // line. Bytes of the object name that a request line cannot carry are %-escaped; a header whose
    // name or value holds a CR or LF is left out (it would start a line of its own).
    [[nodiscard]] static std::string getRequest(const std::string& host, const std::string& object,
                                                const std::string& agent, const Headers& headers);

private:
    NetSocket m_socket;
};
