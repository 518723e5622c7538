// java_io_OutputStream (class id 23): the slot order every byte output stream shares (slots 6..10
// after Object's six) and the defaults of the abstract class.
#pragma once

#include "runtime/object.h"

class ByteArray;

class java_io_OutputStream : public Object {
public:
    java_io_OutputStream() { setClassId(CID_java_io_OutputStream); }

    // Slot 6.
    virtual void close() {}
    // Slot 7.
    virtual void flush() {}
    // Slot 8: the low 8 bits of b.
    virtual void write(jint b) = 0;
    // Slot 9: nothing by default.
    virtual void write_3(ByteArray*, jint, jint) {}
    // Slot 10: write_3(b, 0, b.length).
    virtual void writeArray(ByteArray* b);
};
