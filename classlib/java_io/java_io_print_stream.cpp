// PrintStream. Every call into `out` is followed by dropIoException, so an
// IOException never leaves a print.
#include "classlib/java_io/java_io_print_stream.h"

#include "runtime/compiled.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/method_trace.h"
#include "runtime/new_instance_factory.h"
#include "runtime/string.h"

namespace {

const uint32_t kRefs[] = {BX_REF_FIELD(java_io_PrintStream, out)};
const RefFieldRegistration kRefsReg(CID_java_io_PrintStream, kRefs);
const NewInstanceRegistration kNew(CID_java_io_PrintStream, &newInstanceOf<java_io_PrintStream>);

// The catch of every write: IOException and its subclasses are dropped; false while another
// exception is pending (the print stops and it passes on).
bool dropIoException() {
    Object* e = Runtime::getPendingException();
    if (!e) return true;
    if (!Runtime::instanceOf(e, CID_java_io_IOException)) return false;
    Runtime::clearPendingException();
    return true;
}

}  // namespace

void java_io_PrintStream::init(java_io_OutputStream* stream) { out = stream; }

java_io_PrintStream* java_io_PrintStream::over(java_io_OutputStream* stream) {
    return Runtime::make<java_io_PrintStream>(stream);
}

void java_io_PrintStream::close() {
    BX_RETURN_IF_NULL(out);
    out->close();
    dropIoException();
}
void java_io_PrintStream::flush() {
    BX_RETURN_IF_NULL(out);
    out->flush();
    dropIoException();
}
void java_io_PrintStream::write(jint b) {
    BX_RETURN_IF_NULL(out);
    out->write(b);
    dropIoException();
}
void java_io_PrintStream::write_3(ByteArray* b, jint off, jint len) {
    BX_RETURN_IF_NULL(out);
    out->write_3(b, off, len);
    dropIoException();
}

void java_io_PrintStream::print(String* s) {
    BX_RETURN_IF_NULL(out);
    if (!s) return Runtime::nullPointer();
    ByteArray* b = s->getBytes();
    if (!b) return;
    out->writeArray(b);
    dropIoException();
}

void java_io_PrintStream::print(Object* o) {
    if (!o) return Runtime::nullPointer();
    print(o->toString());
}

void java_io_PrintStream::print(jchar c) { write(c); }

void java_io_PrintStream::print(CharArray* a) {
    if (!a) return Runtime::nullPointer();
    for (jint i = 0; i < a->length; ++i) {
        write(a->get(i));
        BX_RETURN_IF_PENDING();
    }
}

void java_io_PrintStream::print(jint i) { print(String::valueOfInt(i)); }
void java_io_PrintStream::print(jlong l) { print(String::valueOfLong(l)); }
// The same pooled "true"/"false" texts as Boolean.toString.
void java_io_PrintStream::printBoolean(jboolean b) { print(Runtime::ldcString(b != 0 ? 271 : 272)); }

void java_io_PrintStream::println() { write('\n'); }

#define BX_THEN_NEWLINE(call)   \
    do {                        \
        call;                   \
        BX_RETURN_IF_PENDING(); \
        println();              \
    } while (0)

void java_io_PrintStream::println(String* s) { BX_THEN_NEWLINE(print(s)); }
void java_io_PrintStream::println(Object* o) { BX_THEN_NEWLINE(print(o)); }
void java_io_PrintStream::println(jchar c) { BX_THEN_NEWLINE(write(c)); }
void java_io_PrintStream::println(jint i) { BX_THEN_NEWLINE(print(i)); }
void java_io_PrintStream::printlnBoolean(jboolean b) { BX_THEN_NEWLINE(printBoolean(b)); }
