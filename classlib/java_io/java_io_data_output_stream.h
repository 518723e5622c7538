// java_io_DataOutputStream (class id 19): big-endian typed writes over any output stream (`out`).
// Typed writes go byte by byte through this stream's slot 8 and stop at the first exception, which
// stays pending for the caller.
#pragma once

#include "classlib/java_io/java_io_output_stream.h"

class String;

class java_io_DataOutputStream : public java_io_OutputStream {
public:
    java_io_DataOutputStream() { setClassId(CID_java_io_DataOutputStream); }

    // DataOutputStream(out).
    void init(java_io_OutputStream* out);
    [[nodiscard]] static java_io_DataOutputStream* over(java_io_OutputStream* out);

    void close() override;
    void flush() override;
    void write(jint b) override;
    void write_3(ByteArray* b, jint off, jint len) override;
    // out's slot 9 with (b, 0, b.length).
    void writeArray(ByteArray* b) override;

    void writeBoolean(jboolean v);
    void writeByte(jint v);
    void writeShort(jint v);
    void writeChar(jint v);
    void writeInt(jint v);
    void writeLong(jlong v);
    void writeChars(String* s);
    // u16 byte length, then modified UTF-8, in one slot-10 call. A text whose encoding exceeds
    // 65535 bytes raises UTFDataFormatException and writes nothing.
    void writeUTF(String* s);

    java_io_OutputStream* out;

private:
    // Writes the low `bytes` bytes of v, most significant first; false once an exception is pending.
    bool writeBigEndian(jlong v, int bytes);
};
