// java_lang_System (class id 50): arraycopy, the two clocks, gc and getProperty. The clocks read
// Runtime::clock(), so tests set time through a ManualClock. arraycopy never touches memory outside
// the two arrays: a copy that would is dropped and logged.
#pragma once

#include "runtime/jtypes.h"

class Object;
class String;

struct java_lang_System {
    // n elements of the source's width (8: long, double, reference; 4: int, float; 2: char, short;
    // 1: boolean, byte). Within one array the copy behaves like memmove.
    static void arraycopy(Object* src, jint srcPos, Object* dst, jint dstPos, jint n);
    // Milliseconds since the device started (a tick count, not a date); never goes back.
    [[nodiscard]] static jlong currentTimeMillis();
    // Whole seconds since 1970-01-01 UTC, times 1000.
    [[nodiscard]] static jlong wallClockMillis();
    // "1.0" for "microedition.media.version"; else the stored property; else a new String
    // "PROPERTY VALUE EMPTY" (never null).
    [[nodiscard]] static String* getProperty(String* key);
    // A level-0 collection: throttled, so calls within two seconds of the last collection do
    // nothing. Nothing happens while no collector is installed.
    static void gc();

    // The property table belongs to the class's static initialiser; it answers a key's value or
    // null through this lookup.
    using PropertyLookup = String* (*)(String* key);
    static void setPropertyLookup(PropertyLookup lookup);
};
