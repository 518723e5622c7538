// java_lang_Runtime (class id 47): no fields; the one instance lives in a static made by clinit and
// handed out by getRuntime. The memory figures are the machine's physical memory, as the phone
// answered with its own.
#pragma once

#include "runtime/object.h"

class java_lang_Runtime : public Object {
public:
    java_lang_Runtime() { setClassId(CID_java_lang_Runtime); }

    // Makes the instance.
    static void clinit();
    // The instance (null before clinit).
    [[nodiscard]] static java_lang_Runtime* getRuntime() { return s_runtime; }
    // Available physical memory of the machine, in bytes.
    [[nodiscard]] static jlong freeMemory();
    // Physical memory of the machine, in bytes.
    [[nodiscard]] static jlong totalMemory();

    static java_lang_Runtime* s_runtime;
};
