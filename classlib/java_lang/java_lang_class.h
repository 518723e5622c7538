// java_lang_Class's resource lookup: every shipped resource is opened here. The class natives that
// work on class records live in runtime/class_record.h (struct Class).
#pragma once

class String;
class java_io_InputStream;

struct java_lang_Class {
    // A name ending in ".bar" (case-sensitive) that names a readable file through the path mapper
    // opens that file (a FileInputStream); every other name, and a ".bar" name with no such file, is
    // an archive entry (a ResourceInputStream). Null when neither exists; null name: null reference.
    [[nodiscard]] static java_io_InputStream* getResourceAsStream(String* name);
};
