// java_lang_Integer (class id 40): an immutable int. Parsing is the phone's atoi: any radix is read
// as base 10 (after a logged complaint) and unparsable text gives 0; nothing is raised.
#pragma once

#include "runtime/object.h"

class String;

class java_lang_Integer : public Object {
public:
    java_lang_Integer() { setClassId(CID_java_lang_Integer); }

    // Integer(int).
    void init(jint v) { value = v; }

    bool equals(Object* other) override;
    String* toString() override;
    jint hashCode() override { return value; }
    // Slots 6 to 9.
    virtual jbyte byteValue() { return jt::i2b(value); }
    virtual jshort shortValue() { return jt::i2s(value); }
    virtual jint intValue() { return value; }
    virtual jlong longValue() { return value; }

    // A radix other than 10 logs "base == 10" with the method trace and is ignored.
    [[nodiscard]] static jint parseInt(String* s, jint radix);
    [[nodiscard]] static jint parseInt(String* s);
    // A new Integer of parseInt(s); a null s gives 0.
    [[nodiscard]] static java_lang_Integer* valueOf(String* s);
    [[nodiscard]] static String* toString(jint i);
    // Lower-case digits of the unsigned value, no prefix: -1 gives "ffffffff".
    [[nodiscard]] static String* toHexString(jint i);
    // No leading zeros; 0 gives the empty text.
    [[nodiscard]] static String* toBinaryString(jint i);

    jint value;
};
