// libFuzzer target for the HTTP response reader and parser: the header block, the status line, the
// header map and the body as Content-Length allows. The first input byte sets how many bytes each
// receive hands out (so blocks split anywhere); the rest is the response. Invariants checked: the
// body never exceeds the bytes after the header block, nor the declared length, a refused response
// answers -1 and no status text, and the body copies out whole.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "classlib/io/win_inet_http_client.h"
#include "platform/device/http_exchange.h"

namespace {

class FuzzSource final : public ByteSource {
public:
    FuzzSource(const uint8_t* data, size_t size, size_t chunk) : m_data(data), m_size(size), m_chunk(chunk) {}
    long receive(uint8_t* buffer, size_t length) override {
        const size_t n = std::min({length, m_chunk, m_size - m_at});
        if (n) std::memcpy(buffer, m_data + m_at, n);
        m_at += n;
        return static_cast<long>(n);
    }

private:
    const uint8_t* m_data;
    size_t m_size, m_chunk, m_at = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 0x40000) return 0;
    const size_t chunk = static_cast<size_t>(data[0]) + 1;
    FuzzSource source(data + 1, size - 1, chunk);
    WinInetHttpClient client;
    const bool read = client.readResponse(source);
    const size_t raw = client.rawResponseHeaders().size();
    // The header text grows at most twice over (a CR before each bare LF); the body follows it.
    if (client.bodyLength() + raw / 2 > size - 1) __builtin_trap();
    if (!read && client.bodyLength() != 0) __builtin_trap();
    if (raw == 0 && (client.statusCode() != -1 || client.statusText())) __builtin_trap();
    if (client.statusCode() < -1 || client.statusCode() > 999) __builtin_trap();
    if (const auto length = client.responseHeader(u"Content-Length")) {
        if (client.bodyLength() > WinInetHttpClient::kMaxBodyBytes) __builtin_trap();
        if (client.bodyLength() > 0 && length->size() <= 18) {
            size_t declared = 0;
            for (char16_t c : *length) declared = declared * 10 + (c - u'0');
            if (client.bodyLength() > declared) __builtin_trap();
        }
    } else if (client.bodyLength() != 0) {
        __builtin_trap();
    }
    if (client.bodyLength() > 0) {
        std::vector<uint8_t> out(client.bodyLength());
        if (!client.bodyBytes(out.data(), out.size())) __builtin_trap();
        if (client.bodyBytes(out.data(), out.size() - 1)) __builtin_trap();
    }
    (void)WinInetHttpClient::split(client.rawResponseHeaders(), u"\r\n");
    return 0;
}
