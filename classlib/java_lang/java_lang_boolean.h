// java_lang_Boolean (class id 29): an immutable 1 or 0, and the two shared instances TRUE and
// FALSE made once by clinit. Both statics are registered with StaticClass, which roots them.
#pragma once

#include "runtime/object.h"

class String;

class java_lang_Boolean : public Object {
public:
    java_lang_Boolean() { setClassId(CID_java_lang_Boolean); }

    // Boolean(boolean): any nonzero value is true.
    void init(jint b) { value = b != 0 ? 1 : 0; }

    bool equals(Object* other) override;
    String* toString() override;
    // 1 for true, 0 for false.
    jint hashCode() override { return value; }
    [[nodiscard]] bool booleanValue() const { return value != 0; }

    // Makes TRUE (1) and FALSE (0).
    static void clinit();

    static java_lang_Boolean* TRUE;
    static java_lang_Boolean* FALSE;

    jboolean value;
};
