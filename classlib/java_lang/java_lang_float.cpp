// java_lang_Float: its text is the pooled literal, not a formatting of the value it kept.
#include "classlib/java_lang/java_lang_float.h"

#include "runtime/constant_pool.h"

namespace {

constexpr jint kFloatTextLiteral = 265;

}  // namespace

String* java_lang_Float::toString() { return Runtime::ldcString(kFloatTextLiteral); }
