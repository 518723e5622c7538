// java_io_ByteArrayInputStream (class id 15): reads buf[pos, count). Invariant kept by every
// operation: 0 <= mark, pos <= count <= buf.length. It reports its end by -1 and never raises;
// closing changes nothing.
#pragma once

#include "classlib/java_io/java_io_input_stream.h"

class java_io_ByteArrayInputStream : public java_io_InputStream {
public:
    java_io_ByteArrayInputStream() { setClassId(CID_java_io_ByteArrayInputStream); }

    // ByteArrayInputStream(buf): the whole array.
    void init(ByteArray* buf);
    // ByteArrayInputStream(buf, offset, length): [offset, offset + length) cut to the array; a
    // negative offset or length is taken as 0.
    void init(ByteArray* buf, jint offset, jint length);
    [[nodiscard]] static java_io_ByteArrayInputStream* over(ByteArray* buf);

    // -1 at the end; an off/len outside b reads nothing and answers -1.
    jint read_3(ByteArray* b, jint off, jint len) override;
    jint read() override;
    jlong skip(jlong n) override;
    jint available() override;
    void close() override;
    void mark(jint readlimit) override;
    void reset() override;
    bool markSupported() override { return true; }

    ByteArray* buf;
    jint pos;
    jint mark_;
    jint count;
};
