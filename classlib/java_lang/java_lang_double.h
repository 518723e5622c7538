// java_lang_Double (class id 33): an immutable double. Its text is "%f" (six decimals); the integral
// values go through a 32-bit int truncated toward zero (saturating, NaN to 0) first.
#pragma once

#include "runtime/object.h"

class String;

class java_lang_Double : public Object {
public:
    java_lang_Double() { setClassId(CID_java_lang_Double); }

    // Double(double).
    void init(jdouble v) { value = v; }

    String* toString() override;
    // Slots 6 to 10.
    virtual jbyte byteValue() { return jt::i2b(jt::d2i(value)); }
    virtual jshort shortValue() { return jt::i2s(jt::d2i(value)); }
    virtual jint intValue() { return jt::d2i(value); }
    virtual jlong longValue() { return jt::d2i(value); }
    virtual jfloat floatValue() { return static_cast<jfloat>(value); }
    [[nodiscard]] jdouble doubleValue() const { return value; }
    [[nodiscard]] bool isNaN() const { return isNaN(value); }
    [[nodiscard]] bool isInfinite() const { return isInfinite(value); }

    // A new Double of atof(s); a null s gives 0.0.
    [[nodiscard]] static java_lang_Double* valueOf(String* s);
    [[nodiscard]] static jdouble parseDouble(String* s);
    [[nodiscard]] static bool isNaN(jdouble d);
    [[nodiscard]] static bool isInfinite(jdouble d);

    jdouble value;
};
