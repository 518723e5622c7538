// java_lang_Double: the "%f" text and the atof natives over NumberFormat.
#include "classlib/java_lang/java_lang_double.h"

#include <cmath>

#include "runtime/compiled.h"
#include "runtime/method_trace.h"
#include "runtime/number_format.h"
#include "runtime/string.h"

String* java_lang_Double::toString() { return String::valueOfDouble(value); }

java_lang_Double* java_lang_Double::valueOf(String* s) {
    return Runtime::make<java_lang_Double>(s ? NumberFormat::parseDouble(s->toCString().c_str()) : 0.0);
}

jdouble java_lang_Double::parseDouble(String* s) {
    if (!s) {
        Runtime::nullPointer();
        return 0.0;
    }
    return NumberFormat::parseDouble(s->toCString().c_str());
}

bool java_lang_Double::isNaN(jdouble d) { return std::isnan(d); }

bool java_lang_Double::isInfinite(jdouble d) { return std::isinf(d); }
