// ByteArrayOutputStream: growth, the closed-and-full hand-out and the Latin-1 text view. Every
// operation that touches buf or count (but size and toString) runs under the object's monitor.
#include "classlib/java_io/java_io_byte_array_output_stream.h"

#include <algorithm>

#include "classlib/java_io/java_io_input_stream.h"
#include "runtime/monitor.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/new_instance_factory.h"
#include "runtime/string.h"
#include "runtime/system_natives.h"

namespace {

const uint32_t kRefs[] = {BX_REF_FIELD(java_io_ByteArrayOutputStream, buf)};
const RefFieldRegistration kRefsReg(CID_java_io_ByteArrayOutputStream, kRefs);
const NewInstanceRegistration kNew(CID_java_io_ByteArrayOutputStream, &newInstanceOf<java_io_ByteArrayOutputStream>);

}  // namespace

void java_io_ByteArrayOutputStream::init() { init(32); }

void java_io_ByteArrayOutputStream::init(jint size) {
    buf = Runtime::newByteArray(std::max(size, 0));
    count = 0;
    isClosed = 0;
}

bool java_io_ByteArrayOutputStream::growTo(jint needed) {
    const jint length = buf ? buf->length : 0;
    if (needed <= length) return true;
    const jint grown = std::max(static_cast<jint>(std::min<jlong>(2LL * length, INT32_MAX)), needed);
    ByteArray* bigger = Runtime::newByteArray(grown);
    if (!bigger || bigger->length != grown) return false;
    if (count > 0) java_lang_System::arraycopy(buf, 0, bigger, 0, count);
    buf = bigger;
    return true;
}

void java_io_ByteArrayOutputStream::write(jint b) {
    MonitorLock guard(this);
    if (count == INT32_MAX || !growTo(count + 1)) return;
    buf->set(count, jt::i2b(b));
    count += 1;
}

void java_io_ByteArrayOutputStream::write_3(ByteArray* b, jint off, jint len) {
    MonitorLock guard(this);
    if (len == 0) return;
    if (!checkArrayRange(b, off, len)) return;
    if (static_cast<jlong>(count) + len > INT32_MAX) return;
    const jint newCount = count + len;
    if (!growTo(newCount)) return;
    java_lang_System::arraycopy(b, off, buf, count, len);
    count = newCount;
}

void java_io_ByteArrayOutputStream::reset() {
    MonitorLock guard(this);
    count = 0;
}

void java_io_ByteArrayOutputStream::close() {
    MonitorLock guard(this);
    isClosed = 1;
}

ByteArray* java_io_ByteArrayOutputStream::toByteArray() {
    MonitorLock guard(this);
    if (isClosed && buf && buf->length == count) return buf;
    ByteArray* copy = Runtime::newByteArray(count);
    if (copy && count > 0) java_lang_System::arraycopy(buf, 0, copy, 0, count);
    return copy;
}

String* java_io_ByteArrayOutputStream::toString() {
    auto* s = new String();
    if (!s) return nullptr;
    s->initFromBytes(buf, 0, count);
    return s;
}
