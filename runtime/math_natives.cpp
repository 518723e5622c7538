// The floating-point half of java_lang_Math. Comparisons are written out so that NaN falls where
// the phone's runtime put it; nothing here traps.
#include "runtime/math_natives.h"

#include <cmath>

jint java_lang_Math::abs(jint v) {
    const jint negated = jt::neg(v);
    return v > negated ? v : negated;
}

jlong java_lang_Math::abs(jlong v) { return v < 0 ? jt::neg(v) : v; }

jfloat java_lang_Math::abs(jfloat v) { return v >= 0 ? v : -v; }

jdouble java_lang_Math::abs(jdouble v) { return v >= 0 ? v : -v; }

jdouble java_lang_Math::sqrt(jdouble x) { return std::sqrt(x); }
jdouble java_lang_Math::sin(jdouble x) { return std::sin(x); }
jdouble java_lang_Math::cos(jdouble x) { return std::cos(x); }

jfloat java_lang_Math::sqrt(jfloat x) { return static_cast<jfloat>(std::sqrt(static_cast<jdouble>(x))); }
jfloat java_lang_Math::sin(jfloat x) { return static_cast<jfloat>(std::sin(static_cast<jdouble>(x))); }
jfloat java_lang_Math::cos(jfloat x) { return static_cast<jfloat>(std::cos(static_cast<jdouble>(x))); }
jfloat java_lang_Math::asin(jfloat x) { return static_cast<jfloat>(std::asin(static_cast<jdouble>(x))); }
jfloat java_lang_Math::acos(jfloat x) { return static_cast<jfloat>(std::acos(static_cast<jdouble>(x))); }
jfloat java_lang_Math::tan(jfloat x) { return static_cast<jfloat>(std::tan(static_cast<jdouble>(x))); }
jfloat java_lang_Math::atan2(jfloat y, jfloat x) {
    return static_cast<jfloat>(std::atan2(static_cast<jdouble>(y), static_cast<jdouble>(x)));
}

jfloat java_lang_Math::toRadians(jfloat x) { return static_cast<jfloat>(static_cast<jdouble>(x) * 0.017453292519943295); }

jfloat java_lang_Math::toDegrees(jfloat x) {
    const jfloat scaled = x * 180.0f;
    return static_cast<jfloat>(static_cast<jdouble>(scaled) * 0.3183098861837907);
}
