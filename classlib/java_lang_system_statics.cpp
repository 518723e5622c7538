// java_lang_System's static initialiser and the property lookup it installs for getProperty.
#include "classlib/java_lang_system_statics.h"

#include "classlib/java_util_hashtable.h"
#include "runtime/constant_pool.h"
#include "runtime/static_class.h"
#include "runtime/string.h"
#include "runtime/system_natives.h"

java_util_Hashtable* java_lang_SystemStatics::properties = nullptr;

namespace {

const StaticRefRegistration kSystemStatics(CID_java_lang_System, &java_lang_SystemStatics::properties);
const StaticInitRegistration kSystemInit(StaticInit::java_lang_System_clinit, &java_lang_SystemStatics::clinit);

constexpr jint kPropertyKeyLiteral = 263;
constexpr jint kPropertyValueLiteral = 264;

String* lookupProperty(String* key) {
    java_util_Hashtable* table = java_lang_SystemStatics::properties;
    if (!table) return nullptr;
    Object* value = table->get(key);
    return value && value->classId() == CID_String ? static_cast<String*>(value) : nullptr;
}

}  // namespace

void java_lang_SystemStatics::clinit() {
    auto* table = new java_util_Hashtable();
    if (!table) return;
    properties = table;
    table->init(11);
    table->put(Runtime::ldcString(kPropertyKeyLiteral), Runtime::ldcString(kPropertyValueLiteral));
    java_lang_System::setPropertyLookup(&lookupProperty);
}
