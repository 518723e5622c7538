// java_io_PrintStream (class id 24): text output over `out` that never raises an IOException: each
// write's IOException (or subclass) is dropped on the spot and no error state is kept; any other
// exception passes to the caller.
#pragma once

#include "classlib/java_io/java_io_output_stream.h"

class CharArray;
class String;

class java_io_PrintStream : public java_io_OutputStream {
public:
    java_io_PrintStream() { setClassId(CID_java_io_PrintStream); }

    // PrintStream(out).
    void init(java_io_OutputStream* out);
    [[nodiscard]] static java_io_PrintStream* over(java_io_OutputStream* out);

    void close() override;
    void flush() override;
    void write(jint b) override;
    void write_3(ByteArray* b, jint off, jint len) override;

    // The low 8 bits of every unit, in one write.
    void print(String* s);
    void print(Object* o);
    void print(jchar c);
    void print(CharArray* a);
    void print(jint i);
    void print(jlong l);
    void printBoolean(jboolean b);
    void println();
    void println(String* s);
    void println(Object* o);
    void println(jchar c);
    void println(jint i);
    void printlnBoolean(jboolean b);
    [[nodiscard]] bool checkError() { return false; }

    java_io_OutputStream* out;
};
