// java_lang_Character: equality by unit, its text through a char array, and the static functions
// handed to the Latin-1 converter.
#include "classlib/java_lang/java_lang_character.h"

#include "classlib/java_lang/com_sun_cldc_i18n_uclc_default_case_converter.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/string.h"

using Converter = com_sun_cldc_i18n_uclc_DefaultCaseConverter;

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

bool java_lang_Character::isLowerCase(jint c) { return Converter::isLowerCase(jt::i2c(c)); }
bool java_lang_Character::isUpperCase(jint c) { return Converter::isUpperCase(jt::i2c(c)); }
bool java_lang_Character::isDigit(jint c) { return Converter::isDigit(jt::i2c(c)); }
jchar java_lang_Character::toLowerCase(jint c) { return Converter::toLowerCase(jt::i2c(c)); }
jchar java_lang_Character::toUpperCase(jint c) { return Converter::toUpperCase(jt::i2c(c)); }
jint java_lang_Character::digit(jint c, jint radix) { return Converter::digit(jt::i2c(c), radix); }
