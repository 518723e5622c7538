// libFuzzer target for the two readers of untrusted archive bytes: the archive index reader and
// DataInputStream.readUTF. The first input byte picks the reader; the rest is the data. Invariants
// checked: nothing stays pending, and every indexed entry lies inside the data.
#include <cstdint>
#include <cstring>

#include "classlib/java_io/java_io_byte_array_input_stream.h"
#include "classlib/java_io/java_io_data_input_stream.h"
#include "classlib/io/javax_microedition_io_resource_input_stream.h"
#include "runtime/array.h"
#include "runtime/exceptions.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "runtime/string.h"

namespace {

ObjectManager* start() {
    if (!Runtime::initHeaps()) __builtin_trap();
    return new ObjectManager();
}

void checkIndex(jint archiveSize) {
    using R = javax_microedition_io_ResourceInputStream;
    for (jint i = 0; i < R::entryCount; ++i) {
        const jint offset = R::entryOffsets->get(i);
        const jint size = R::entrySizes->get(i);
        if (!R::entryNames->get(i)) __builtin_trap();
        if (offset == -1 && size == 0) continue;
        if (offset < 0 || size < 0 || static_cast<jlong>(offset) + size > archiveSize) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ObjectManager* manager = start();
    (void)manager;
    if (size < 1 || size > 0x10000) return 0;
    const jint n = static_cast<jint>(size - 1);
    ByteArray* bytes = Runtime::newByteArray(n);
    if (!bytes) return 0;
    if (n > 0) std::memcpy(bytes->data, data + 1, static_cast<size_t>(n));
    auto* in = java_io_ByteArrayInputStream::over(bytes);
    if (data[0] & 1) {
        javax_microedition_io_ResourceInputStream::readArchiveIndex(in, n);
        if (Runtime::getPendingException()) __builtin_trap();
        checkIndex(n);
        javax_microedition_io_ResourceInputStream::unloadArchiveIndex();
    } else {
        auto* d = java_io_DataInputStream::over(in);
        for (int i = 0; i < 64; ++i) {
            String* s = d->readUTF();
            if (Runtime::getPendingException()) {
                if (s) __builtin_trap();
                Runtime::clearPendingException();
                break;
            }
            if (!s) break;
        }
    }
    return 0;
}
