// DataInputStream: forwarding slots, readFully, skipBytes and the typed reads. A read returning 0
// or less for a positive request ends readFully with EOFException, so a file stream (which answers
// 0 at its end) can never make it spin.
#include "classlib/java_io/java_io_data_input_stream.h"

#include <algorithm>
#include <vector>

#include "archive/modified_utf8.h"
#include "classlib/java_lang/java_lang_exceptions.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/exceptions.h"
#include "runtime/method_trace.h"
#include "runtime/monitor.h"
#include "runtime/new_instance_factory.h"
#include "runtime/string.h"

namespace {

const uint32_t kRefs[] = {BX_REF_FIELD(java_io_DataInputStream, in)};
const RefFieldRegistration kRefsReg(CID_java_io_DataInputStream, kRefs);
const NewInstanceRegistration kNew(CID_java_io_DataInputStream, &newInstanceOf<java_io_DataInputStream>);

}  // namespace

void java_io_DataInputStream::init(java_io_InputStream* stream) { in = stream; }

java_io_DataInputStream* java_io_DataInputStream::over(java_io_InputStream* stream) {
    return Runtime::make<java_io_DataInputStream>(stream);
}

jint java_io_DataInputStream::read_3(ByteArray* b, jint off, jint len) {
    BX_RETURN_IF_NULL(in, 0);
    return in->read_3(b, off, len);
}
jint java_io_DataInputStream::readArray(ByteArray* b) {
    BX_RETURN_IF_NULL(in, 0);
    return in->readArray(b);
}
jint java_io_DataInputStream::read() {
    BX_RETURN_IF_NULL(in, 0);
    return in->read();
}
jlong java_io_DataInputStream::skip(jlong n) {
    BX_RETURN_IF_NULL(in, 0);
    return in->skip(n);
}
jint java_io_DataInputStream::available() {
    BX_RETURN_IF_NULL(in, 0);
    return in->available();
}
void java_io_DataInputStream::close() {
    BX_RETURN_IF_NULL(in, );
    in->close();
}
void java_io_DataInputStream::mark(jint readlimit) {
    MonitorLock guard(this);
    BX_RETURN_IF_NULL(in, );
    in->mark(readlimit);
}
void java_io_DataInputStream::reset() {
    MonitorLock guard(this);
    BX_RETURN_IF_NULL(in, );
    in->reset();
}
bool java_io_DataInputStream::markSupported() {
    BX_RETURN_IF_NULL(in, false);
    return in->markSupported();
}

void java_io_DataInputStream::readFully(ByteArray* b, jint off, jint len) {
    if (len <= 0) return;
    if (!checkArrayRange(b, off, len)) return Runtime::raise<java_lang_IndexOutOfBoundsException>();
    jint n = 0;
    while (n < len) {
        const jint k = read_3(b, off + n, len - n);
        BX_RETURN_IF_PENDING();
        if (k <= 0) return Runtime::raise<java_io_EOFException>();
        n += k;
    }
}

void java_io_DataInputStream::readFully(ByteArray* b) {
    if (!b) return Runtime::nullPointer();
    readFully(b, 0, b->length);
}

jint java_io_DataInputStream::skipBytes(jint n) {
    jint total = 0;
    while (total < n) {
        const jlong k = skip(n - total);
        if (Runtime::pending() || k <= 0) break;
        total += static_cast<jint>(std::min<jlong>(k, n - total));
    }
    return total;
}

jint java_io_DataInputStream::readByteOrThrow() {
    const jint c = read();
    BX_RETURN_IF_PENDING(-1);
    if (c < 0) {
        Runtime::raise<java_io_EOFException>();
        return -1;
    }
    return c & 0xFF;
}

jboolean java_io_DataInputStream::readBoolean() {
    const jint c = readByteOrThrow();
    return c > 0 ? 1 : 0;
}

jbyte java_io_DataInputStream::readByte() {
    const jint c = readByteOrThrow();
    return c < 0 ? 0 : jt::i2b(c);
}

jint java_io_DataInputStream::readUnsignedByte() {
    const jint c = readByteOrThrow();
    return c < 0 ? 0 : c;
}

jint java_io_DataInputStream::readUnsignedShort() {
    const jint b0 = readByteOrThrow();
    if (b0 < 0) return 0;
    const jint b1 = readByteOrThrow();
    if (b1 < 0) return 0;
    return (b0 << 8) + b1;
}

jshort java_io_DataInputStream::readShort() { return jt::i2s(readUnsignedShort()); }
jchar java_io_DataInputStream::readChar() { return jt::i2c(readUnsignedShort()); }

jint java_io_DataInputStream::readInt() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        const jint b = readByteOrThrow();
        if (b < 0) return 0;
        v = (v << 8) | static_cast<uint32_t>(b);
    }
    return static_cast<jint>(v);
}

jlong java_io_DataInputStream::readLong() {
    const jint high = readInt();
    BX_RETURN_IF_PENDING(0);
    const jint low = readInt();
    BX_RETURN_IF_PENDING(0);
    return static_cast<jlong>((static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32) | static_cast<uint32_t>(low));
}

String* java_io_DataInputStream::readUTF() {
    const jint utflen = readUnsignedShort();
    BX_RETURN_IF_PENDING(nullptr);
    ByteArray* bytes = Runtime::newByteArray(utflen);
    if (!bytes) return nullptr;
    readFully(bytes, 0, utflen);
    BX_RETURN_IF_PENDING(nullptr);
    // Decoded into C++ memory: the String's allocation may move the array's data.
    std::vector<jchar> units;
    units.reserve(static_cast<size_t>(utflen));
    const auto* data = static_cast<const uint8_t*>(bytes->data);
    if (utflen > 0 && (!data || !archive::forEachModifiedUtf8Unit(data, static_cast<size_t>(utflen),
                                                                  [&units](uint16_t u) { units.push_back(u); }))) {
        Runtime::raise<java_io_UTFDataFormatException>();
        return nullptr;
    }
    return String::fromUnits(units.data(), static_cast<jint>(units.size()));
}
