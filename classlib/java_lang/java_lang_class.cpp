// getResourceAsStream: the ".bar" file override, else the archive.
#include "classlib/java_lang/java_lang_class.h"

#include "classlib/java_io/file_input_stream.h"
#include "classlib/io/javax_microedition_io_file.h"
#include "classlib/io/javax_microedition_io_resource_input_stream.h"
#include "runtime/method_trace.h"
#include "runtime/string.h"

namespace {

bool endsWithBar(String* name) {
    const jint n = name->length();
    return n >= 4 && name->charAt(n - 4) == '.' && name->charAt(n - 3) == 'b' && name->charAt(n - 2) == 'a' &&
           name->charAt(n - 1) == 'r';
}

}  // namespace

java_io_InputStream* java_lang_Class::getResourceAsStream(String* name) {
    if (!name) {
        Runtime::nullPointer();
        return nullptr;
    }
    if (endsWithBar(name)) {
        javax_microedition_io_File* file = javax_microedition_io_File::make(name);
        if (file && file->exists()) return file->openInputStream();
    }
    return javax_microedition_io_ResourceInputStream::openArchiveEntry(name);
}
