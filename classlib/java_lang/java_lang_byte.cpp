// java_lang_Byte: equality through slot 6, the decimal text, and parseByte's range check.
#include "classlib/java_lang/java_lang_byte.h"

#include "classlib/java_lang/java_lang_exceptions.h"
#include "classlib/java_lang/java_lang_integer.h"
#include "runtime/exceptions.h"
#include "runtime/class_record.h"
#include "runtime/string.h"

bool java_lang_Byte::equals(Object* other) {
    if (!other || !Runtime::instanceOf(other, CID_java_lang_Byte)) return false;
    return static_cast<java_lang_Byte*>(other)->byteValue() == value;
}

String* java_lang_Byte::toString() { return String::valueOfInt(value); }

jbyte java_lang_Byte::parseByte_2(String* s, jint radix) {
    const jint v = java_lang_Integer::parseInt(s, radix);
    if (v < -128 || v > 127) {
        Runtime::raise<java_lang_NumberFormatException>();
        return 0;
    }
    return static_cast<jbyte>(v);
}
