// Font: metrics from the built-in system font, the default font and the cache keyed by
// face | style | size (the constants occupy separate bits, so every combination has its own key).
#include "classlib/lcdui/javax_microedition_lcdui_font.h"

#include <algorithm>
#include <limits>

#include "classlib/java_lang/java_lang_exceptions.h"
#include "classlib/java_lang/java_lang_integer.h"
#include "classlib/java_util/java_util_hashtable.h"
#include "platform/graphics/system_font.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/new_instance_factory.h"
#include "runtime/static_class.h"
#include "runtime/string.h"

using Font = javax_microedition_lcdui_Font;

Font* Font::s_defaultFont = nullptr;
java_util_Hashtable* Font::s_fontCache = nullptr;

namespace {

const StaticRefRegistration kFontStatics(CID_javax_microedition_lcdui_Font, &Font::s_defaultFont, &Font::s_fontCache);
const NewInstanceRegistration kFontNew(CID_javax_microedition_lcdui_Font, &newInstanceOf<Font>);

jint saturate(jlong width) { return static_cast<jint>(std::min<jlong>(width, std::numeric_limits<jint>::max())); }

std::u16string_view unitsOf(const jchar* units, jint count) {
    return {reinterpret_cast<const char16_t*>(units), static_cast<size_t>(count)};
}

}  // namespace

void Font::initFields() { m_face = m_style = m_size = m_baseline = m_height = 0; }

void Font::init(jint face, jint style, jint size) {
    initFields();
    m_face = face;
    m_style = style;
    m_size = size;
    m_height = SystemFont::height();
    m_baseline = SystemFont::ascent();
}

jlong Font::textWidth(std::u16string_view text) {
    jlong width = 0;
    for (char16_t ch : text) width += SystemFont::charWidth(ch);
    return width;
}

jint Font::substringWidth(String* str, jint begin, jint end) const {
    if (!str || begin > end || begin < 0 || end > str->length()) return 0;
    return saturate(textWidth(unitsOf(str->chars + begin, end - begin)));
}

jint Font::stringWidth(String* str) const { return str ? substringWidth(str, 0, str->length()) : 0; }

jint Font::charWidth(jchar ch) const { return saturate(textWidth(unitsOf(&ch, 1))); }

jint Font::charsWidth(CharArray* ch, jint offset, jint length) const {
    if (!ch || offset < 0 || length < 0 || jlong{offset} + length > ch->length) return 0;
    return saturate(textWidth(unitsOf(static_cast<const jchar*>(ch->data) + offset, length)));
}

Font* Font::getDefaultFont() {
    if (!s_defaultFont) s_defaultFont = Runtime::make<Font>(0, 0, 0);
    return s_defaultFont;
}

Font* Font::getFont(jint fontSpecifier) {
    if (fontSpecifier == 0 || fontSpecifier == 1) return getDefaultFont();
    Runtime::raise<java_lang_IllegalArgumentException>(nullptr);
    return nullptr;
}

Font* Font::getFont(jint face, jint style, jint size) {
    if (!s_fontCache) {
        s_fontCache = Runtime::make<java_util_Hashtable>(4);
        BX_RETURN_IF_PENDING(nullptr);
        if (!s_fontCache) return nullptr;
    }
    auto* key = Runtime::make<java_lang_Integer>(face | style | size);
    if (!key) return nullptr;
    if (Object* hit = s_fontCache->get(key)) return static_cast<Font*>(hit);
    BX_RETURN_IF_PENDING(nullptr);
    Font* font = Runtime::make<Font>(face, style, size);
    if (!font) return nullptr;
    s_fontCache->put(key, font);
    BX_RETURN_IF_PENDING(nullptr);
    return font;
}
