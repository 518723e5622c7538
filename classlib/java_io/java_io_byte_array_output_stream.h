// java_io_ByteArrayOutputStream (class id 16): bytes gathered in a growing byte[]; `count` bytes of
// `buf` are written. Growth doubles (or takes what is needed). It stays writable after close;
// close only lets toByteArray hand out `buf` itself when it is exactly full.
#pragma once

#include "classlib/java_io/java_io_output_stream.h"

class String;

class java_io_ByteArrayOutputStream : public java_io_OutputStream {
public:
    java_io_ByteArrayOutputStream() { setClassId(CID_java_io_ByteArrayOutputStream); }

    // ByteArrayOutputStream(): 32 bytes. (size): size bytes (a negative size is taken as 0).
    void init();
    void init(jint size);

    String* toString() override;
    void close() override;
    void flush() override {}
    void write(jint b) override;
    // Refuses (logs, writes nothing) an off/len outside b.
    void write_3(ByteArray* b, jint off, jint len) override;
    // Slot 11.
    virtual void reset();
    // Slot 12.
    virtual jint size() { return count; }

    // buf itself when closed and exactly full, else a copy of the count bytes; null when the heap
    // is exhausted.
    [[nodiscard]] ByteArray* toByteArray();

    ByteArray* buf;
    jint count;
    jboolean isClosed;

private:
    // Makes room for `needed` bytes; false when the larger array cannot be had.
    bool growTo(jint needed);
};
