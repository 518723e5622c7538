// javax_microedition_lcdui_Font (class id 88): a face, style and size over the device's built-in
// bitmap font, which stands in for the system font: every Font measures and draws the same
// (fixed 9-pixel cells, height 15, baseline 12). Invariant: baseline and height are the system
// font's once init has run; fonts are never removed from the cache.
#pragma once

#include <string_view>

#include "runtime/object.h"

class CharArray;
class String;
class java_util_Hashtable;

class javax_microedition_lcdui_Font : public Object {
public:
    static constexpr ClassId kClassId = CID_javax_microedition_lcdui_Font;
    static constexpr jint FACE_SYSTEM = 0, FACE_MONOSPACE = 32, FACE_PROPORTIONAL = 64;
    static constexpr jint STYLE_PLAIN = 0, STYLE_BOLD = 1, STYLE_ITALIC = 2, STYLE_UNDERLINED = 4;
    static constexpr jint SIZE_SMALL = 8, SIZE_MEDIUM = 0, SIZE_LARGE = 16;

    javax_microedition_lcdui_Font() { setClassId(CID_javax_microedition_lcdui_Font); }

    // Slots 6 and 7.
    virtual jint getSize() { return m_size; }
    virtual jint getHeight() { return m_height; }

    // The field initialiser: every field 0.
    void initFields();
    // Font(face, style, size): the three stored, then the system font's height and baseline.
    void init(jint face, jint style, jint size);

    [[nodiscard]] jint getFace() const { return m_face; }
    [[nodiscard]] jint getStyle() const { return m_style; }
    [[nodiscard]] jint getBaselinePosition() const { return m_baseline; }
    [[nodiscard]] bool isPlain() const { return m_style == STYLE_PLAIN; }
    [[nodiscard]] bool isBold() const { return (m_style & STYLE_BOLD) != 0; }
    [[nodiscard]] bool isItalic() const { return (m_style & STYLE_ITALIC) != 0; }
    [[nodiscard]] bool isUnderlined() const { return (m_style & STYLE_UNDERLINED) != 0; }

    // Width of the characters [begin, end) of str; 0 for a null str, begin > end or a range
    // outside the text.
    [[nodiscard]] jint substringWidth(String* str, jint begin, jint end) const;
    [[nodiscard]] jint stringWidth(String* str) const;
    [[nodiscard]] jint charWidth(jchar ch) const;
    [[nodiscard]] jint charsWidth(CharArray* ch, jint offset, jint length) const;
    // The system font's width of text, 64-bit (a long text passes the int range).
    [[nodiscard]] static jlong textWidth(std::u16string_view text);

    // The Font of face, style and size 0, made on first use.
    [[nodiscard]] static javax_microedition_lcdui_Font* getDefaultFont();
    // 0 and 1 give the default font; any other specifier raises IllegalArgumentException (null).
    [[nodiscard]] static javax_microedition_lcdui_Font* getFont(jint fontSpecifier);
    // The cached Font under the key face | style | size, made and cached on a miss.
    [[nodiscard]] static javax_microedition_lcdui_Font* getFont(jint face, jint style, jint size);

    static javax_microedition_lcdui_Font* s_defaultFont;
    static java_util_Hashtable* s_fontCache;

    jint m_face;
    jint m_style;
    jint m_size;
    jint m_baseline;
    jint m_height;
};
