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

// The literals of TimeZone, Calendar and Date, as assets/constants.txt ships them.
inline ObjectArray* installDateLiterals() {
    return installPool({{1, ""},
                        {216, "Illegal DST savings"},
                        {217, "Illegal month "},
                        {218, "GMT"},
                        {219, "Illegal start month "},
                        {220, "Illegal start time "},
                        {221, "Illegal start day of week "},
                        {222, "Illegal start day of week in month "},
                        {223, "Illegal start day "},
                        {224, "Illegal end month "},
                        {225, "Illegal end time "},
                        {226, "Illegal end day of week "},
                        {227, "Illegal end day of week in month "},
                        {228, "Illegal end day "},
                        {229, "UTC"},
                        {239, "Thu Jan 01 00:00:00 UTC 1970"},
                        {240, "Jan"}, {241, "Feb"}, {242, "Mar"}, {243, "Apr"}, {244, "May"}, {245, "Jun"},
                        {246, "Jul"}, {247, "Aug"}, {248, "Sep"}, {249, "Oct"}, {250, "Nov"}, {251, "Dec"},
                        {252, "Sun"}, {253, "Mon"}, {254, "Tue"}, {255, "Wed"}, {256, "Thu"}, {257, "Fri"},
                        {258, "Sat"},
                        {259, "0000 00 00 00 00 00 +0000"},
                        {279, "Negative delay."},
                        {280, "Non-positive period."},
                        {281, "Timer already cancelled."},
                        {282, "Task already scheduled or cancelled"}});
}
