// java_lang_Float (class id 36): never made by the game. As on the phone it keeps only the float's
// int conversion (truncated toward zero), so Float(2.9f).intValue() is 2, and its text is a fixed
// literal (265) whatever the value.
#pragma once

#include "runtime/object.h"

class String;

class java_lang_Float : public Object {
public:
    java_lang_Float() { setClassId(CID_java_lang_Float); }

    // Float(float).
    void init(jfloat f) { value = jt::f2i(f); }
    [[nodiscard]] jint intValue() const { return value; }
    String* toString() override;

    jint value;
};
