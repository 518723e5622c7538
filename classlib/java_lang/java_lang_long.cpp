// java_lang_Long: equality through slot 6 and the parse/format natives.
#include "classlib/java_lang/java_lang_long.h"

#include "classlib/java_lang/java_lang_integer.h"
#include "runtime/class_record.h"
#include "runtime/string.h"

bool java_lang_Long::equals(Object* other) {
    if (!other || !Runtime::instanceOf(other, CID_java_lang_Long)) return false;
    return static_cast<java_lang_Long*>(other)->longValue() == value;
}

String* java_lang_Long::toString() { return toString(value); }

jlong java_lang_Long::parseLong(String* s, jint radix) { return java_lang_Integer::parseInt(s, radix); }

jlong java_lang_Long::parseLong(String* s) { return java_lang_Integer::parseInt(s); }

String* java_lang_Long::toString(jlong l) { return String::valueOfLong(l); }
