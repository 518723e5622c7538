// The socket connection's streams. SocketInputStream is a java_io_ByteArrayInputStream (class id
// 15) whose buf holds what the socket brought: a read with every byte used receives once more into
// the same buf. SocketOutputStream is a java_io_ByteArrayOutputStream (class id 16) whose writes go
// straight to the socket. Each holds the client (a hold, given back when the stream is collected).
#pragma once

#include "classlib/java_io/java_io_byte_array_input_stream.h"
#include "classlib/java_io/java_io_byte_array_output_stream.h"

class WinSocketClient;

class SocketInputStream final : public java_io_ByteArrayInputStream {
public:
    // The receive buffer, made at the first receive and kept.
    static constexpr jint kBufferBytes = 64 * 1024;

    void init() { java_io_ByteArrayInputStream::init(nullptr); }
    void destroy() override;

    // The next byte; at the end of the buffered bytes one receive first. -1 at the end of the
    // stream; a failed receive raises IOException.
    jint read() override;
    // As read(): one receive when nothing is buffered, then what buf holds.
    jint read_3(ByteArray* b, jint off, jint len) override;
    // Slot 15.
    virtual void setClient(WinSocketClient* socketClient);

    WinSocketClient* client;

private:
    // Receives into buf when every byte was read; false at the end of the stream or on failure
    // (IOException pending).
    bool refill();
};

class SocketOutputStream final : public java_io_ByteArrayOutputStream {
public:
    void destroy() override;

    // The low 8 bits of b, sent.
    void write(jint b) override;
    // len bytes of b from off, sent whole; a failed send raises IOException.
    void write_3(ByteArray* b, jint off, jint len) override;
    // Slot 13.
    virtual void setClient(WinSocketClient* socketClient);

    WinSocketClient* client;

private:
    void sendAll(const uint8_t* data, size_t length);
};
