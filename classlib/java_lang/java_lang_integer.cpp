// java_lang_Integer: value slots, equality with any Integer of the same value, and the parsing and
// formatting natives over NumberFormat.
#include "classlib/java_lang/java_lang_integer.h"

#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/method_trace.h"
#include "runtime/new_instance_factory.h"
#include "runtime/number_format.h"
#include "runtime/string.h"

namespace {

const NewInstanceRegistration kIntegerNew(CID_java_lang_Integer, &newInstanceOf<java_lang_Integer>);

}  // namespace

bool java_lang_Integer::equals(Object* other) {
    if (!other) return false;
    if (other->classId() != CID_java_lang_Integer && !Runtime::instanceOf(other, CID_java_lang_Integer)) return false;
    return static_cast<java_lang_Integer*>(other)->intValue() == value;
}

String* java_lang_Integer::toString() { return toString(value); }

jint java_lang_Integer::parseInt(String* s, jint radix) {
    if (radix != 10) {
        Runtime::traceLog("base == 10");
        Runtime::printStackTrace();
    }
    return parseInt(s);
}

jint java_lang_Integer::parseInt(String* s) {
    if (!s) {
        Runtime::nullPointer();
        return 0;
    }
    return NumberFormat::parseInt(s->toCString().c_str());
}

java_lang_Integer* java_lang_Integer::valueOf(String* s) {
    return Runtime::make<java_lang_Integer>(s ? NumberFormat::parseInt(s->toCString().c_str()) : 0);
}

String* java_lang_Integer::toString(jint i) { return String::valueOfInt(i); }

String* java_lang_Integer::toHexString(jint i) {
    char text[NumberFormat::kMaxText + 1];
    text[NumberFormat::formatHex(text, i)] = '\0';
    return String::fromCString(text);
}

String* java_lang_Integer::toBinaryString(jint i) {
    char text[NumberFormat::kMaxText + 1];
    text[NumberFormat::formatBinary(text, i)] = '\0';
    return String::fromCString(text);
}
