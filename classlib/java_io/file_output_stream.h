// FileOutputStream: the native output stream over a save (class id 23 with its own table). Bytes go
// to a temporary file that replaces the target at close; a failed write makes close keep the old
// file. After close writes do nothing; a stream collected unclosed discards its bytes.
#pragma once

#include <memory>

#include "classlib/java_io/java_io_output_stream.h"

namespace platform {
class SaveFile;
}

class FileOutputStream : public java_io_OutputStream {
public:
    // Takes ownership of the save; null when the heap is exhausted (the save is abandoned).
    [[nodiscard]] static FileOutputStream* over(std::unique_ptr<platform::SaveFile> save);

    // The collector frees an unclosed stream: its save is completed.
    void destroy() override;

    void close() override;
    // close() that tells the caller whether the bytes replaced the file: false when a write, the
    // sync or the rename failed (the old file is kept), or when the stream was already closed.
    [[nodiscard]] bool commit();
    void flush() override {}
    void write(jint b) override;
    // Refuses (logs, writes nothing) an off/len outside b.
    void write_3(ByteArray* b, jint off, jint len) override;

    platform::SaveFile* handle;
};
