// Test helper: installs a constant pool holding the given literals at their indices (the empty text
// elsewhere), as the loader would: pooled strings are never collected. Uninstall before the heaps go.
#pragma once

#include <initializer_list>
#include <utility>

#include "runtime/array.h"
#include "runtime/constant_pool.h"
#include "runtime/string.h"

inline ObjectArray* installPool(std::initializer_list<std::pair<jint, const char*>> literals) {
    jint size = 2;
    for (const auto& [index, text] : literals)
        if (index >= size) size = index + 1;
    ObjectArray* pool = Runtime::newObjectArray(CID_String, size);
    Runtime::setConstantPool(pool);
    for (jint i = 0; i < size; ++i) {
        const char* text = "";
        for (const auto& [index, literal] : literals)
            if (index == i) text = literal;
        String* s = String::fromCString(text);
        s->setCollectable(false);
        pool->elements()[i] = s;
    }
    return pool;
}

// The literals of the library's containers, as assets/constants.txt ships them.
inline ObjectArray* installContainerLiterals() {
    return installPool({{1, ""},
                        {14, "="},
                        {71, ", "},
                        {215, "Illegal capacity"},
                        {235, "n must be positive"},
                        {236, "{"},
                        {237, "}"},
                        {238, "Hashtable Enumerator"},
                        {260, "Array index out of range: "},
                        {263, "com.sun.cldc.i18n.uclc"},
                        {264, "com.sun.cldc.i18n.uclc.DefaultCaseConverter"}});
}
