// java_io_InputStream (class id 21): the slot order every byte input stream shares (slots 6..14
// after Object's six) and the defaults of the abstract class. Subclasses keep the order; a stream
// reports failures through the pending exception and then answers 0.
#pragma once

#include "runtime/object.h"

class ByteArray;

class java_io_InputStream : public Object {
public:
    java_io_InputStream() { setClassId(CID_java_io_InputStream); }

    // Slot 6: up to len bytes into b from off, one by one through slot 8; the count stored (0 when
    // the stream was already at its end). An off/len outside b reads nothing and answers -1.
    virtual jint read_3(ByteArray* b, jint off, jint len);
    // Slot 7: read_3(b, 0, b.length).
    virtual jint readArray(ByteArray* b);
    // Slot 8: the next byte 0..255, or -1 at the end.
    virtual jint read() = 0;
    // Slot 9: reads up to n bytes through slot 8 and answers how many it read.
    virtual jlong skip(jlong n);
    // Slot 10.
    virtual jint available() { return 0; }
    // Slot 11.
    virtual void close() {}
    // Slots 12 and 13: nothing, under the object's monitor.
    virtual void mark(jint readlimit);
    virtual void reset();
    // Slot 14.
    virtual bool markSupported() { return false; }
};

// True when [off, off + len) lies inside b (len >= 0). Logs the refused range otherwise; a null b
// is a null reference.
[[nodiscard]] bool checkArrayRange(ByteArray* b, jint off, jint len);

namespace Runtime {

// Everything `in` has available, as a new byte[] (empty, not null, when nothing is available); null
// for a null `in`. `in` is not closed. The loop stops when a read brings no bytes.
[[nodiscard]] ByteArray* readStreamFully(java_io_InputStream* in);

}  // namespace Runtime
