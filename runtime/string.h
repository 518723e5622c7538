// String (class id 2): immutable 16-bit units with a terminating zero kept behind the last one;
// count = length + 1. Up to 14 units live in the inline buffer; longer texts in a native-heap block
// owned by the `chars` field, so compaction can move it. Never keep `chars` across an allocation.
#pragma once

#include <cstdint>

#include "runtime/object.h"

class String : public Object {
public:
    static constexpr jint kInlineUnits = 16;

    String() { setClassId(CID_String); }

    void destroy() override;
    bool equals(Object* other) override;
    String* toString() override { return this; }
    jint hashCode() override;

    // Storage for n units plus the terminator, per the inline/native rule; content all zero.
    void initWithLength(jint n);
    void initFromUnits(const jchar* units, jint n);
    // Each byte of the NUL-terminated narrow text widened to one unit.
    void initFromCString(const char* text);

    [[nodiscard]] static String* fromCString(const char* text);
    [[nodiscard]] static String* fromUnits(const jchar* units, jint n);

    [[nodiscard]] jint length() const { return count > 0 ? count - 1 : 0; }
    // No index check beyond the storage: an index outside answers 0.
    [[nodiscard]] jchar charAt(jint index) const { return index >= 0 && index < length() ? chars[index] : 0; }

    jchar inlineBuffer[kInlineUnits];
    jchar* chars;
    jint count;
};
