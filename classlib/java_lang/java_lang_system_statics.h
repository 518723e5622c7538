// The compiled half of java_lang_System (class id 50): its statics and static initialiser. The
// natives (arraycopy, clocks, getProperty) are runtime/system_natives.h; getProperty reads the
// property table made here. Every reference static is registered with StaticClass.
#pragma once

class java_io_PrintStream;
class java_util_Hashtable;

struct java_lang_SystemStatics {
    // out := err := one PrintStream over a new ConsoleOutputStream, which also takes the stack
    // traces Throwable prints; properties := a Hashtable of 11 buckets holding literal 263 ->
    // literal 264, and getProperty answers from it.
    static void clinit();

    static java_io_PrintStream* out;
    static java_io_PrintStream* err;
    static java_util_Hashtable* properties;
};
