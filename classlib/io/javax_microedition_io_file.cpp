// File natives over the platform's virtual paths. Host calls run parked; nothing here raises.
#include "classlib/io/javax_microedition_io_file.h"

#include <cstdio>

#include "classlib/blocking_io.h"
#include "classlib/java_io/file_input_stream.h"
#include "classlib/java_io/file_output_stream.h"
#include "classlib/java_util/java_util_vector.h"
#include "platform/host_files.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/method_trace.h"
#include "runtime/new_instance_factory.h"
#include "runtime/string.h"

namespace {

const uint32_t kRefs[] = {BX_REF_FIELD(javax_microedition_io_File, path)};
const RefFieldRegistration kRefsReg(CID_javax_microedition_io_File, kRefs);
const NewInstanceRegistration kNew(CID_javax_microedition_io_File, &newInstanceOf<javax_microedition_io_File>);

std::FILE* openParked(const std::string& path) {
    std::FILE* f = nullptr;
    runBlockingIo([&] { f = platform::openForReading(path); });
    return f;
}

}  // namespace

void javax_microedition_io_File::init(String* p) {
    if (!p) {
        Runtime::nullPointer();
        path = nullptr;
        return;
    }
    path = p->toLowerCase();
}

javax_microedition_io_File* javax_microedition_io_File::make(String* p) {
    return Runtime::make<javax_microedition_io_File>(p);
}

std::string javax_microedition_io_File::narrowPath() const { return path ? path->toCString() : std::string(); }

FileInputStream* javax_microedition_io_File::openInputStream() {
    return FileInputStream::over(openParked(narrowPath()));
}

FileOutputStream* javax_microedition_io_File::openOutputStream() {
    const std::string p = narrowPath();
    std::unique_ptr<platform::SaveFile> save;
    runBlockingIo([&] { save = platform::SaveFile::create(p); });
    return FileOutputStream::over(std::move(save));
}

jint javax_microedition_io_File::fileSize() {
    const std::string p = narrowPath();
    long size = 0;
    runBlockingIo([&] {
        std::FILE* f = platform::openForReading(p);
        if (!f) return;
        if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
        std::fclose(f);
    });
    return size < 0 ? 0 : static_cast<jint>(std::min<long>(size, INT32_MAX));
}

// Only regular files count: the program opens nothing else, and the answer never opens the file.
jint javax_microedition_io_File::exists() {
    const std::string p = narrowPath();
    bool regular = false;
    runBlockingIo([&] { regular = platform::isRegularFile(p); });
    return regular ? 1 : 0;
}

jint javax_microedition_io_File::create() {
    const std::string p = narrowPath();
    bool ok = false;
    runBlockingIo([&] { ok = platform::truncateFile(p); });
    return ok ? 1 : 0;
}

ByteArray* javax_microedition_io_File::readAllBytes() {
    FileInputStream* in = openInputStream();
    if (!in) return nullptr;
    ByteArray* bytes = Runtime::readStreamFully(in);
    in->close();
    return bytes;
}

FileInputStream* javax_microedition_io_File::openFileInputStream(String* p) {
    javax_microedition_io_File* f = make(p);
    return f ? f->openInputStream() : nullptr;
}

jint javax_microedition_io_File::fileExists(String* p) {
    javax_microedition_io_File* f = make(p);
    return f ? f->exists() : 0;
}

jint javax_microedition_io_File::createFile(String* p) {
    javax_microedition_io_File* f = make(p);
    return f ? f->create() : 0;
}

java_util_Vector* javax_microedition_io_File::listFiles(String*) {
    return Runtime::make<java_util_Vector>();
}
