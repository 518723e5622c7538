// StringBuffer (class id 3): growable 16-bit units in a native-heap block owned by `chars`. While
// capacity > length the unit at index length is 0. Growth at least doubles the capacity. Re-read
// `chars` after anything that allocates; offsets and ranges outside the text change nothing.
#pragma once

#include "runtime/object.h"

class CharArray;
class String;

class StringBuffer final : public Object {
public:
    StringBuffer() { setClassId(CID_StringBuffer); }

    // Frees the units block.
    void destroy() override;
    // A new String of units [0, length).
    String* toString() override;

    // chars null, capacity 0, length 0; a block of n units when n > 0.
    void initWithCapacity(jint n);
    // A block of the String's count units holding its text.
    void initFromString(String* s);

    // When capacity < n: grows to max(n, 2 * capacity).
    void ensureCapacity(jint n);
    // Shortening writes the terminator; lengthening grows when needed and fills with zeros.
    void setLength(jint n);
    void getChars(jint srcBegin, jint srcEnd, CharArray* dst, jint dstBegin);
    StringBuffer* reverse();

    // The worker of every insert and append. The units may lie in the movable heap, even in this
    // buffer: they are staged before the buffer grows or its own units shift.
    StringBuffer* insertChars(jint offset, const jchar* units, jint n);
    // A null String or Object inserts "null".
    StringBuffer* insertString(jint offset, String* s);
    StringBuffer* insertObject(jint offset, Object* object);
    // "true" only for the value 1.
    StringBuffer* insertBoolean(jint offset, jint b);
    StringBuffer* insertChar(jint offset, jchar c);
    StringBuffer* insertInt(jint offset, jint i);
    StringBuffer* insertLong(jint offset, jlong l);
    StringBuffer* insertFloat(jint offset, jfloat f);
    StringBuffer* insertDouble(jint offset, jdouble d);
    // The bytes of a NUL-terminated narrow text, each widened to one unit.
    StringBuffer* insertCString(jint offset, const char* text);

    StringBuffer* appendString(String* s) { return insertString(length, s); }
    StringBuffer* appendObject(Object* object) { return insertObject(length, object); }
    StringBuffer* appendBoolean(jint b) { return insertBoolean(length, b); }
    StringBuffer* appendChar(jchar c) { return insertChar(length, c); }
    StringBuffer* appendInt(jint i) { return insertInt(length, i); }
    StringBuffer* appendLong(jlong l) { return insertLong(length, l); }
    StringBuffer* appendFloat(jfloat f) { return insertFloat(length, f); }
    StringBuffer* appendDouble(jdouble d) { return insertDouble(length, d); }
    StringBuffer* appendCString(const char* text) { return insertCString(length, text); }

    // Units [start, min(end, length)) removed (StringBuffer.delete).
    StringBuffer* delete_(jint start, jint end);
    StringBuffer* deleteCharAt(jint index);

    jchar* chars;
    jint capacity;
    jint length;

private:
    void grow(jint newCapacity);
    // Makes room for n units at offset (growing and moving the tail up) and answers where they go,
    // or null when the offset is outside the text. openGap itself handles only an append into room
    // already there and leaves everything else to openGapSlowly.
    jchar* openGap(jint offset, jint n);
    jchar* openGapSlowly(jint offset, jint n);
    StringBuffer* insertText(jint offset, const char* text, size_t n);
};
