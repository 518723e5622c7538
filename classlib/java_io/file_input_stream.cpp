// FileInputStream over a C stdio handle. Each host call runs parked; bytes land in a C++ buffer and
// are copied into the array afterwards, since the array's data may move meanwhile.
#include "classlib/java_io/file_input_stream.h"

#include <sys/types.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "classlib/blocking_io.h"
#include "runtime/array.h"

FileInputStream* FileInputStream::over(std::FILE* handle) {
    if (!handle) return nullptr;
    auto* s = new FileInputStream();
    if (!s) {
        std::fclose(handle);
        return nullptr;
    }
    off_t end = 0;
    runBlockingIo([&] {
        if (fseeko(handle, 0, SEEK_END) == 0) end = ftello(handle);
        fseeko(handle, 0, SEEK_SET);
    });
    s->handle = handle;
    s->markPos = 0;
    s->size = end < 0 ? 0 : static_cast<jint>(std::min<off_t>(end, INT32_MAX));
    return s;
}

void FileInputStream::destroy() {
    close();
    java_io_InputStream::destroy();
}

jint FileInputStream::read() {
    if (!handle) return -1;
    int c = EOF;
    runBlockingIo([&] { c = std::fgetc(handle); });
    return c == EOF ? -1 : c & 0xFF;
}

jint FileInputStream::read_3(ByteArray* b, jint off, jint len) {
    if (len < 1) return 0;
    if (!handle || !checkArrayRange(b, off, len)) return -1;
    std::vector<uint8_t> staged(static_cast<size_t>(len));
    size_t got = 0;
    runBlockingIo([&] { got = std::fread(staged.data(), 1, staged.size(), handle); });
    if (got > 0) std::memcpy(static_cast<uint8_t*>(b->data) + off, staged.data(), got);
    return static_cast<jint>(got);
}

jlong FileInputStream::skip(jlong n) {
    if (n < 1 || !handle) return 0;
    runBlockingIo([&] { fseeko(handle, static_cast<off_t>(n), SEEK_CUR); });
    return n;
}

jint FileInputStream::available() {
    if (!handle) return 0;
    off_t at = 0;
    runBlockingIo([&] { at = ftello(handle); });
    return jt::l2i(static_cast<jlong>(size) - static_cast<jlong>(at));
}

void FileInputStream::close() {
    if (!handle) return;
    std::FILE* h = handle;
    handle = nullptr;
    runBlockingIo([&] { std::fclose(h); });
}

void FileInputStream::mark(jint) {
    if (!handle) return;
    off_t at = 0;
    runBlockingIo([&] { at = ftello(handle); });
    markPos = jt::l2i(at);
}

void FileInputStream::reset() {
    if (!handle) return;
    const off_t to = static_cast<off_t>(static_cast<uint32_t>(markPos));
    runBlockingIo([&] { fseeko(handle, to, SEEK_SET); });
}
