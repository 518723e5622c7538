// java_lang_Byte (class id 30): an immutable byte, never made by the game. parseByte reads base 10
// like Integer.parseInt, so "x" gives 0.
#pragma once

#include "runtime/object.h"

class String;

class java_lang_Byte : public Object {
public:
    java_lang_Byte() { setClassId(CID_java_lang_Byte); }

    // Byte(byte).
    void init(jbyte v) { value = v; }

    bool equals(Object* other) override;
    String* toString() override;
    jint hashCode() override { return value; }
    // Slot 6.
    virtual jbyte byteValue() { return value; }

    // parseInt(s, radix); a value outside -128..127 is a NumberFormatException (see the .cpp).
    [[nodiscard]] static jbyte parseByte_2(String* s, jint radix);
    [[nodiscard]] static jbyte parseByte(String* s) { return parseByte_2(s, 10); }

    jbyte value;
};
