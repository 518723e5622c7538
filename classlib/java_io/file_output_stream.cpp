// FileOutputStream over a platform save. Writes stage the array's bytes in C++ memory before the
// parked host call; close commits the save (temporary file, fsync, rename).
#include "classlib/java_io/file_output_stream.h"

#include <cstring>
#include <vector>

#include "classlib/blocking_io.h"
#include "classlib/java_io/java_io_input_stream.h"
#include "platform/host_files.h"
#include "runtime/array.h"
#include "runtime/log.h"

FileOutputStream* FileOutputStream::over(std::unique_ptr<platform::SaveFile> save) {
    if (!save) return nullptr;
    auto* s = new FileOutputStream();
    if (!s) return nullptr;
    s->handle = save.release();
    return s;
}

// A stream the program never closed is abandoned, not committed: the save may have been cut short
// (an exception, a quit), and a partial file must not replace the good one.
void FileOutputStream::destroy() {
    if (handle) {
        Log::error("an output stream was never closed; its bytes are discarded and the old file kept");
        delete handle;
        handle = nullptr;
    }
    java_io_OutputStream::destroy();
}

void FileOutputStream::write(jint b) {
    if (!handle) return;
    const uint8_t byte = static_cast<uint8_t>(b);
    runBlockingIo([&] { (void)handle->write(&byte, 1); });
}

void FileOutputStream::write_3(ByteArray* b, jint off, jint len) {
    if (!handle || len == 0 || !checkArrayRange(b, off, len)) return;
    std::vector<uint8_t> staged(static_cast<size_t>(len));
    std::memcpy(staged.data(), static_cast<const uint8_t*>(b->data) + off, staged.size());
    runBlockingIo([&] { (void)handle->write(staged.data(), staged.size()); });
}

void FileOutputStream::close() { (void)commit(); }

bool FileOutputStream::commit() {
    if (!handle) return false;
    platform::SaveFile* save = handle;
    handle = nullptr;
    bool committed = false;
    runBlockingIo([&] { committed = save->commit(); });
    delete save;
    return committed;
}
