// java_lang_Character (class id 31): an immutable unit, never made by the game, and the static case
// and digit functions, each on the low 16 bits of its argument through the Latin-1 converter. The
// first static call looks the converter class up by its system property (literals 266-268); the
// result is not used, so the lookup runs once per process rather than on every call.
#pragma once

#include "runtime/object.h"

class String;

class java_lang_Character : public Object {
public:
    java_lang_Character() { setClassId(CID_java_lang_Character); }

    // Character(char).
    void init(jchar c) { value = c; }

    bool equals(Object* other) override;
    // A one-unit char array's text: the unit 0 gives the empty text.
    String* toString() override;
    jint hashCode() override { return value; }
    [[nodiscard]] jchar charValue() const { return value; }

    [[nodiscard]] static bool isLowerCase(jint c);
    [[nodiscard]] static bool isUpperCase(jint c);
    [[nodiscard]] static bool isDigit(jint c);
    [[nodiscard]] static jchar toLowerCase(jint c);
    [[nodiscard]] static jchar toUpperCase(jint c);
    [[nodiscard]] static jint digit(jint c, jint radix);
    // The case-converter flag: 0 always (the Latin-1 converter is built in). Like the six functions
    // above it first runs the converter lookup.
    [[nodiscard]] static jint getCaseConverter();

    jchar value;
};
