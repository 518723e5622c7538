// FileInputStream: the native input stream over a host file (class id 21 with its own table).
// `size` is measured once at opening. An array read at the end answers 0, not -1; skip may pass the
// end. After close every read answers -1 and nothing else touches the (cleared) handle.
#pragma once

#include <cstdio>

#include "classlib/java_io/java_io_input_stream.h"

class FileInputStream : public java_io_InputStream {
public:
    // Takes ownership of an open handle (measures it and rewinds); null when the heap is exhausted
    // (the handle is closed then).
    [[nodiscard]] static FileInputStream* over(std::FILE* handle);

    // The collector frees an unclosed stream: its file is closed.
    void destroy() override;

    // len < 1 answers 0; an off/len outside b reads nothing and answers -1.
    jint read_3(ByteArray* b, jint off, jint len) override;
    jint read() override;
    jlong skip(jlong n) override;
    jint available() override;
    void close() override;
    void mark(jint readlimit) override;
    void reset() override;
    bool markSupported() override { return true; }

    std::FILE* handle;
    jint markPos;
    jint size;
};
