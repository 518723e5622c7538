// java_lang_Long (class id 42): an immutable long. parseLong is the 32-bit atoi sign-extended, as
// the phone had it: texts beyond the int range do not give their long value.
#pragma once

#include "runtime/object.h"

class String;

class java_lang_Long : public Object {
public:
    java_lang_Long() { setClassId(CID_java_lang_Long); }

    // Long(long).
    void init(jlong v) { value = v; }

    bool equals(Object* other) override;
    String* toString() override;
    // The low 32 bits.
    jint hashCode() override { return jt::l2i(value); }
    // Slot 6.
    virtual jlong longValue() { return value; }

    [[nodiscard]] static jlong parseLong(String* s, jint radix);
    [[nodiscard]] static jlong parseLong(String* s);
    [[nodiscard]] static String* toString(jlong l);

    jlong value;
};
