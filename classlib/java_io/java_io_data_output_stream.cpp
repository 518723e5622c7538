// DataOutputStream: forwarding slots and the typed writes.
#include "classlib/java_io/java_io_data_output_stream.h"

#include "classlib/java_lang/java_lang_exceptions.h"
#include "runtime/compiled.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/exceptions.h"
#include "runtime/method_trace.h"
#include "runtime/new_instance_factory.h"
#include "runtime/string.h"
#include "runtime/system_natives.h"

namespace {

const uint32_t kRefs[] = {BX_REF_FIELD(java_io_DataOutputStream, out)};
const RefFieldRegistration kRefsReg(CID_java_io_DataOutputStream, kRefs);
const NewInstanceRegistration kNew(CID_java_io_DataOutputStream, &newInstanceOf<java_io_DataOutputStream>);

constexpr jint kMaxUtfBytes = 65535;

}  // namespace

void java_io_DataOutputStream::init(java_io_OutputStream* stream) { out = stream; }

java_io_DataOutputStream* java_io_DataOutputStream::over(java_io_OutputStream* stream) {
    return Runtime::make<java_io_DataOutputStream>(stream);
}

void java_io_DataOutputStream::close() {
    BX_RETURN_IF_NULL(out);
    out->close();
}
void java_io_DataOutputStream::flush() {
    BX_RETURN_IF_NULL(out);
    out->flush();
}
void java_io_DataOutputStream::write(jint b) {
    BX_RETURN_IF_NULL(out);
    out->write(b);
}
void java_io_DataOutputStream::write_3(ByteArray* b, jint off, jint len) {
    BX_RETURN_IF_NULL(out);
    out->write_3(b, off, len);
}
void java_io_DataOutputStream::writeArray(ByteArray* b) {
    BX_RETURN_IF_NULL(out);
    if (!b) return Runtime::nullPointer();
    out->write_3(b, 0, b->length);
}

bool java_io_DataOutputStream::writeBigEndian(jlong v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        write(static_cast<jint>(jt::ushr(v, i * 8) & 0xFF));
        BX_RETURN_IF_PENDING(false);
    }
    return true;
}

void java_io_DataOutputStream::writeBoolean(jboolean v) { (void)writeBigEndian(v ? 1 : 0, 1); }
void java_io_DataOutputStream::writeByte(jint v) { (void)writeBigEndian(v, 1); }
void java_io_DataOutputStream::writeShort(jint v) { (void)writeBigEndian(v, 2); }
void java_io_DataOutputStream::writeChar(jint v) { (void)writeBigEndian(v, 2); }
void java_io_DataOutputStream::writeInt(jint v) { (void)writeBigEndian(v, 4); }
void java_io_DataOutputStream::writeLong(jlong v) { (void)writeBigEndian(v, 8); }

void java_io_DataOutputStream::writeChars(String* s) {
    if (!s) return Runtime::nullPointer();
    for (jint i = 0; i < s->length(); ++i)
        if (!writeBigEndian(s->charAt(i), 2)) return;
}

void java_io_DataOutputStream::writeUTF(String* s) {
    if (!s) return Runtime::nullPointer();
    ByteArray* body = s->encodeUtf8();
    if (!body) return;
    const jint utflen = body->length;
    if (utflen > kMaxUtfBytes) {
        // The u16 length would wrap and every reader would misparse what follows.
        Runtime::raise<java_io_UTFDataFormatException>();
        return;
    }
    ByteArray* all = Runtime::newByteArray(utflen + 2);
    if (!all || all->length != utflen + 2) return;
    all->set(0, jt::i2b(utflen >> 8));
    all->set(1, jt::i2b(utflen));
    java_lang_System::arraycopy(body, 0, all, 2, utflen);
    writeArray(all);
}
