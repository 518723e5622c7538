// java_io_DataInputStream (class id 18): big-endian typed reads over any input stream (`in`). Every
// stream slot forwards to `in`. Typed reads raise EOFException at the end of data, readUTF also
// UTFDataFormatException; both leave the exception pending and answer 0 (null for readUTF).
#pragma once

#include "classlib/java_io/java_io_input_stream.h"

class String;

class java_io_DataInputStream : public java_io_InputStream {
public:
    java_io_DataInputStream() { setClassId(CID_java_io_DataInputStream); }

    // DataInputStream(in).
    void init(java_io_InputStream* in);
    // The new stream over `in` (header and Java constructor); null when the heap is exhausted.
    [[nodiscard]] static java_io_DataInputStream* over(java_io_InputStream* in);

    jint read_3(ByteArray* b, jint off, jint len) override;
    jint readArray(ByteArray* b) override;
    jint read() override;
    jlong skip(jlong n) override;
    jint available() override;
    void close() override;
    void mark(jint readlimit) override;
    void reset() override;
    bool markSupported() override;

    // Fills b[off, off + len); a read that brings no bytes is the end of data (EOFException).
    void readFully(ByteArray* b, jint off, jint len);
    void readFully(ByteArray* b);
    // Skips up to n bytes; stops when a skip moves nothing. Answers the bytes skipped.
    jint skipBytes(jint n);

    jboolean readBoolean();
    jbyte readByte();
    jint readUnsignedByte();
    jshort readShort();
    jint readUnsignedShort();
    jchar readChar();
    jint readInt();
    jlong readLong();
    // u16 byte length, then modified UTF-8. A new String, or null with an exception pending.
    [[nodiscard]] String* readUTF();

    java_io_InputStream* in;

private:
    // The next byte, or -1 with EOFException pending.
    jint readByteOrThrow();
};
