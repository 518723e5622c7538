// writeMemoryDump: the dump is taken first (under the registry lock), then written, so nothing the
// writing allocates can wait for that lock.
#include "classlib/memory_dump.h"

#include <vector>

#include "classlib/io/javax_microedition_io_file.h"
#include "classlib/java_io/file_output_stream.h"
#include "classlib/java_io/java_io_data_output_stream.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/log.h"
#include "runtime/object_manager.h"
#include "runtime/string.h"

bool writeMemoryDump(ObjectManager& collector) {
    std::vector<uint8_t> dump = collector.memoryDump();
    ByteArray* bytes = Runtime::newForeignByteArray(dump.data(), static_cast<jint>(dump.size()));
    javax_microedition_io_File* file = bytes ? javax_microedition_io_File::make(String::fromCString("memdump.dat")) : nullptr;
    FileOutputStream* stream = file ? file->openOutputStream() : nullptr;
    // A stream left unclosed is discarded when collected, so a dump cut short replaces nothing.
    java_io_DataOutputStream* out = stream ? java_io_DataOutputStream::over(stream) : nullptr;
    if (!out) {
        Log::error("memory dump: cannot open memdump.dat");
        return false;
    }
    out->writeArray(bytes);
    if (Runtime::pending()) {
        Runtime::clearPendingException();
        Log::error("memory dump: writing memdump.dat failed");
        return false;
    }
    out->close();
    return true;
}
