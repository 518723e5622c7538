// ByteArrayInputStream: reads, skip and reset under the object's monitor; mark without it.
#include "classlib/java_io/java_io_byte_array_input_stream.h"

#include <algorithm>

#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/monitor.h"
#include "runtime/new_instance_factory.h"
#include "runtime/system_natives.h"

namespace {

const uint32_t kRefs[] = {BX_REF_FIELD(java_io_ByteArrayInputStream, buf)};
const RefFieldRegistration kRefsReg(CID_java_io_ByteArrayInputStream, kRefs);
const NewInstanceRegistration kNew(CID_java_io_ByteArrayInputStream, &newInstanceOf<java_io_ByteArrayInputStream>);

}  // namespace

void java_io_ByteArrayInputStream::init(ByteArray* array) {
    buf = array;
    pos = 0;
    mark_ = 0;
    count = array ? array->length : 0;
}

void java_io_ByteArrayInputStream::init(ByteArray* array, jint offset, jint length) {
    buf = array;
    const jint size = array ? std::max(array->length, 0) : 0;
    pos = std::clamp(offset, 0, size);
    mark_ = pos;
    count = static_cast<jint>(std::min<jlong>(static_cast<jlong>(pos) + std::max(length, 0), size));
}

java_io_ByteArrayInputStream* java_io_ByteArrayInputStream::over(ByteArray* array) {
    return Runtime::make<java_io_ByteArrayInputStream>(array);
}

jint java_io_ByteArrayInputStream::read() {
    MonitorLock guard(this);
    if (pos >= count) return -1;
    return buf->get(pos++) & 0xFF;
}

jint java_io_ByteArrayInputStream::read_3(ByteArray* b, jint off, jint len) {
    MonitorLock guard(this);
    if (pos >= count) return -1;
    if (!checkArrayRange(b, off, len)) return -1;
    len = std::min(len, count - pos);
    if (len <= 0) return 0;
    java_lang_System::arraycopy(buf, pos, b, off, len);
    pos += len;
    return len;
}

jlong java_io_ByteArrayInputStream::skip(jlong n) {
    MonitorLock guard(this);
    if (n > count - pos) n = count - pos;
    if (n < 0) return 0;
    pos += static_cast<jint>(n);
    return n;
}

jint java_io_ByteArrayInputStream::available() {
    MonitorLock guard(this);
    return count - pos;
}

void java_io_ByteArrayInputStream::close() { MonitorLock guard(this); }

void java_io_ByteArrayInputStream::mark(jint) { mark_ = pos; }

void java_io_ByteArrayInputStream::reset() {
    MonitorLock guard(this);
    pos = mark_;
}
