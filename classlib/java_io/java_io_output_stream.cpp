// OutputStream's one non-trivial default slot.
#include "classlib/java_io/java_io_output_stream.h"

#include "runtime/array.h"
#include "runtime/method_trace.h"

void java_io_OutputStream::writeArray(ByteArray* b) {
    if (!b) return Runtime::nullPointer();
    write_3(b, 0, b->length);
}
