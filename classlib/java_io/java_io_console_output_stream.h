// java_io_ConsoleOutputStream (class id 17): the sink under System.out and System.err; it discards
// everything it is given and never raises.
#pragma once

#include "classlib/java_io/java_io_output_stream.h"

class java_io_ConsoleOutputStream : public java_io_OutputStream {
public:
    java_io_ConsoleOutputStream() { setClassId(CID_java_io_ConsoleOutputStream); }

    void close() override {}
    void flush() override {}
    void write(jint) override {}
    void write_3(ByteArray*, jint, jint) override {}
    void writeArray(ByteArray*) override {}
};
