// Socket streams: every receive and send runs parked over C++ memory; bytes move into or out of
// the arrays outside the parked region, since array data may move while parked.
#include "classlib/io/socket_streams.h"

#include <cstring>
#include <vector>

#include "classlib/blocking_io.h"
#include "classlib/io/win_socket_client.h"
#include "classlib/java_lang/java_lang_exceptions.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/monitor.h"

void SocketInputStream::setClient(WinSocketClient* socketClient) { WinSocketClient::holdIn(client, socketClient); }

void SocketInputStream::destroy() {
    WinSocketClient::holdIn(client, nullptr);
    java_io_ByteArrayInputStream::destroy();
}

bool SocketInputStream::refill() {
    if (pos < count) return true;
    if (!client) return false;
    if (!buf) {
        buf = Runtime::newByteArray(kBufferBytes);
        if (!buf || buf->length != kBufferBytes) return false;
    }
    std::vector<uint8_t> staged(static_cast<size_t>(buf->length));
    long got = 0;
    WinSocketClient* socket = client;
    runBlockingIo([&] { got = socket->Receive(staged.data(), staged.size(), 0); });
    if (got < 0) {
        Runtime::raise<java_io_IOException>();
        return false;
    }
    if (got == 0) return false;
    std::memcpy(buf->data, staged.data(), static_cast<size_t>(got));
    pos = 0;
    mark_ = 0;
    count = static_cast<jint>(got);
    return true;
}

jint SocketInputStream::read() {
    MonitorLock guard(this);
    if (!refill()) return -1;
    return java_io_ByteArrayInputStream::read();
}

jint SocketInputStream::read_3(ByteArray* b, jint off, jint len) {
    MonitorLock guard(this);
    if (!checkArrayRange(b, off, len)) return -1;
    if (len == 0) return 0;
    if (!refill()) return -1;
    return java_io_ByteArrayInputStream::read_3(b, off, len);
}

void SocketOutputStream::setClient(WinSocketClient* socketClient) { WinSocketClient::holdIn(client, socketClient); }

void SocketOutputStream::destroy() {
    WinSocketClient::holdIn(client, nullptr);
    java_io_ByteArrayOutputStream::destroy();
}

void SocketOutputStream::sendAll(const uint8_t* data, size_t length) {
    BX_RETURN_IF_NULL(client);
    bool failed = false;
    WinSocketClient* socket = client;
    runBlockingIo([&] {
        size_t at = 0;
        while (at < length) {
            const long sent = socket->Send(data + at, length - at, 0);
            if (sent <= 0) {
                failed = true;
                return;
            }
            at += static_cast<size_t>(sent);
        }
    });
    if (failed) Runtime::raise<java_io_IOException>();
}

void SocketOutputStream::write(jint b) {
    const uint8_t byte = static_cast<uint8_t>(b);
    sendAll(&byte, 1);
}

void SocketOutputStream::write_3(ByteArray* b, jint off, jint len) {
    if (!checkArrayRange(b, off, len) || len == 0) return;
    std::vector<uint8_t> staged(static_cast<size_t>(len));
    std::memcpy(staged.data(), static_cast<const uint8_t*>(b->data) + off, staged.size());
    sendAll(staged.data(), staged.size());
}
