// java_lang_Character: equality by unit, its text through a char array, and the static functions
// handed to the Latin-1 converter.
#include "classlib/java_lang/java_lang_character.h"

#include <atomic>

#include "classlib/java_lang/com_sun_cldc_i18n_uclc_default_case_converter.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/constant_pool.h"
#include "runtime/string.h"
#include "runtime/system_natives.h"

using Converter = com_sun_cldc_i18n_uclc_DefaultCaseConverter;

namespace {

// The flag stays 0: no other converter exists to switch to.
constexpr jint kCaseConverterFlag = 0;
std::atomic<bool> g_converterLookedUp{false};

// Names the converter through the property of literal 267 (literal 268 when it has none) and finds
// its class. Two threads may both run it the first time; it changes nothing either way.
void lookUpCaseConverter() {
    if (g_converterLookedUp.load(std::memory_order_acquire)) return;
    (void)Runtime::ldcString(266);  // the converter package, fetched and dropped as the phone did
    String* name = java_lang_System::getProperty(Runtime::ldcString(267));
    if (!name) name = Runtime::ldcString(268);
    (void)Class::forName(name);
    g_converterLookedUp.store(true, std::memory_order_release);
}

}  // namespace

bool java_lang_Character::equals(Object* other) {
    if (!other || !Runtime::instanceOf(other, CID_java_lang_Character)) return false;
    return static_cast<java_lang_Character*>(other)->value == value;
}

String* java_lang_Character::toString() {
    CharArray* array = Runtime::newCharArray(1);
    if (!array) return nullptr;
    array->set(0, value);
    return String::valueOfObject(array);
}

bool java_lang_Character::isLowerCase(jint c) {
    lookUpCaseConverter();
    return Converter::isLowerCase(jt::i2c(c));
}
bool java_lang_Character::isUpperCase(jint c) {
    lookUpCaseConverter();
    return Converter::isUpperCase(jt::i2c(c));
}
bool java_lang_Character::isDigit(jint c) {
    lookUpCaseConverter();
    return Converter::isDigit(jt::i2c(c));
}
jchar java_lang_Character::toLowerCase(jint c) {
    lookUpCaseConverter();
    return Converter::toLowerCase(jt::i2c(c));
}
jchar java_lang_Character::toUpperCase(jint c) {
    lookUpCaseConverter();
    return Converter::toUpperCase(jt::i2c(c));
}
jint java_lang_Character::digit(jint c, jint radix) {
    lookUpCaseConverter();
    return Converter::digit(jt::i2c(c), radix);
}
jint java_lang_Character::getCaseConverter() {
    lookUpCaseConverter();
    return kCaseConverterFlag;
}
