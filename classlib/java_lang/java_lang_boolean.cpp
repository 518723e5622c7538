// java_lang_Boolean: equality by value and the two shared instances.
#include "classlib/java_lang/java_lang_boolean.h"

#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/new_instance_factory.h"
#include "runtime/static_class.h"
#include "runtime/string.h"

java_lang_Boolean* java_lang_Boolean::TRUE = nullptr;
java_lang_Boolean* java_lang_Boolean::FALSE = nullptr;

namespace {

const StaticRefRegistration kBooleanStatics(CID_java_lang_Boolean, &java_lang_Boolean::TRUE, &java_lang_Boolean::FALSE);
const StaticInitRegistration kBooleanInit("java_lang_Boolean::clinit", &java_lang_Boolean::clinit);
const NewInstanceRegistration kBooleanNew(CID_java_lang_Boolean, &newInstanceOf<java_lang_Boolean>);

}  // namespace

bool java_lang_Boolean::equals(Object* other) {
    if (!other || !Runtime::instanceOf(other, CID_java_lang_Boolean)) return false;
    return static_cast<java_lang_Boolean*>(other)->value == value;
}

String* java_lang_Boolean::toString() { return Runtime::ldcString(value != 0 ? 271 : 272); }

void java_lang_Boolean::clinit() {
    TRUE = Runtime::make<java_lang_Boolean>(1);
    FALSE = Runtime::make<java_lang_Boolean>(0);
}
