// InputStream's default slots and the stream-draining helper.
#include "classlib/java_io/java_io_input_stream.h"

#include "classlib/java_io/java_io_byte_array_output_stream.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/exceptions.h"
#include "runtime/log.h"
#include "runtime/method_trace.h"
#include "runtime/monitor.h"

bool checkArrayRange(ByteArray* b, jint off, jint len) {
    if (!b) {
        Runtime::nullPointer();
        return false;
    }
    if (off < 0 || len < 0 || static_cast<jlong>(off) + len > b->length) {
        Log::error("stream: range %d+%d outside an array of %d", off, len, b->length);
        return false;
    }
    return true;
}

jint java_io_InputStream::read_3(ByteArray* b, jint off, jint len) {
    if (!checkArrayRange(b, off, len)) return -1;
    for (jint i = 0; i < len; ++i) {
        const jint c = read();
        BX_RETURN_IF_PENDING(0);
        if (c == -1) return i;
        b->set(off + i, jt::i2b(c));
    }
    return len;
}

jint java_io_InputStream::readArray(ByteArray* b) {
    if (!b) {
        Runtime::nullPointer();
        return 0;
    }
    return read_3(b, 0, b->length);
}

// Stops at the end of the stream: counting on past it would spin for a large n.
jlong java_io_InputStream::skip(jlong n) {
    jlong i = 0;
    for (; i < n; ++i) {
        const jint c = read();
        BX_RETURN_IF_PENDING(0);
        if (c == -1) break;
    }
    return i;
}

void java_io_InputStream::mark(jint) { MonitorLock guard(this); }
void java_io_InputStream::reset() { MonitorLock guard(this); }

namespace Runtime {

ByteArray* readStreamFully(java_io_InputStream* in) {
    if (!in) return nullptr;
    auto* out = Runtime::make<java_io_ByteArrayOutputStream>();
    if (!out) return nullptr;
    ByteArray* buffer = newByteArray(512);
    if (!buffer) return nullptr;
    while (in->available() > 0) {
        BX_RETURN_IF_PENDING(nullptr);
        const jint n = in->readArray(buffer);
        BX_RETURN_IF_PENDING(nullptr);
        if (n <= 0) break;  // an available() that over-promises must not spin
        out->write_3(buffer, 0, n);
    }
    BX_RETURN_IF_PENDING(nullptr);
    return out->toByteArray();
}

}  // namespace Runtime
