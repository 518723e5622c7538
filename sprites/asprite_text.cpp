// Sprite text: measuring, line splitting and wrapping, and drawing strings and pages glyph by glyph.
// Texts carry inline codes: '\\' + '_' underline, '\\' + '^' bold, '\\' + digit palette; code 1 + p
// palette p; code 2 + f glyph frame f. A code whose argument would lie past the text ends the text.
#include <algorithm>
#include <cstdint>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/jtypes.h"
#include "runtime/string.h"
#include "runtime/static_class.h"
#include "runtime/string_buffer.h"
#include "sprites/bsprite.h"

jint ASprite::s_textWidth;
jint ASprite::s_textHeight;
jint ASprite::s_substringStart = -1;
jint ASprite::s_substringEnd = -1;
jint ASprite::s_charLimit = -1;
jint ASprite::s_savedPalette;
ShortArray* ASprite::s_lineTable;

namespace {

const StaticRefRegistration kTextStatics(CID_ASprite, &ASprite::s_lineTable);

// The characters of a String, or of a char array when the String is null.
struct TextSource {
    String* text;
    CharArray* chars;
    [[nodiscard]] jint length() const { return text ? text->length() : chars ? chars->length : 0; }
    [[nodiscard]] jint at(jint i) const { return text ? text->charAt(i) : chars ? chars->get(i) : 0; }
};

constexpr jint kEscape = '\\', kCodePalette = 1, kCodeFrame = 2, kRestorePalette = 255;
// glyphAt's answers that are not frames (frames from pack data may be negative, never this low).
constexpr jint kNoGlyph = INT32_MIN, kTextEnd = INT32_MIN + 1;

// The glyph frame of character c at index *i: code 2 takes the next character as the frame (moving
// *i on; kTextEnd when it lies at or past end), other controls draw nothing, any other character
// goes through the char map.
jint glyphAt(const ASprite* sprite, const TextSource& src, jint c, jint* i, jint end) {
    if (c == kCodeFrame) return ++*i < end ? src.at(*i) : kTextEnd;
    if (c < 32) return kNoGlyph;
    return sprite->MapChar(c);
}

jint stateFlags(bool bold, bool underline, jint palette) {
    return (palette & ASprite::kFlagPaletteMask) | (bold ? ASprite::kFlagBold : 0) |
           (underline ? ASprite::kFlagUnderline : 0);
}

// a + b through a StringBuffer of 16 units, as every append of the wrapped text is made.
String* append(String* a, String* b) {
    auto* buffer = new StringBuffer();
    BX_RETURN_IF_NULL(buffer, nullptr);
    buffer->initWithCapacity(16);
    buffer->appendString(a);
    buffer->appendString(b);
    return buffer->toString();
}

}  // namespace

void ASprite::MeasureText(String* text, CharArray* chars) {
    if (!text && !chars) return;
    const TextSource src{text, chars};
    jint width = 0;
    jint height = GetLineSpacing();
    bool localBold = bold;
    jint lw = 0;
    const jint start = s_substringStart < 0 ? 0 : s_substringStart;
    const jint end = s_substringEnd < 0 ? src.length() : std::min(s_substringEnd, src.length());
    for (jint i = start; i < end; ++i) {
        const jint c = src.at(i);
        if (c == kEscape) {
            if (++i < end && src.at(i) == '^') localBold = !localBold;
            continue;
        }
        if (c == ' ') {
            lw += GetSpaceWidth();
            continue;
        }
        if (c == '\n') {
            width = std::max(width, lw);
            height += GetFontHeight() + GetLineSpacing();
            lw = 0;
            continue;
        }
        if (c == kCodePalette) {
            ++i;
            continue;
        }
        const jint frame = glyphAt(this, src, c, &i, end);
        if (frame == kTextEnd) break;
        if (frame == kNoGlyph) continue;
        lw += Scaled(GlyphAdvance(frame)) + GetCharSpacing() + (localBold ? 1 : 0);
    }
    width = std::max(width, lw);
    if (width > 0) width -= GetCharSpacing();
    s_textWidth = width;
    s_textHeight = height;
}

void ASprite::DrawString(javax_microedition_lcdui_Graphics* g, String* text, CharArray* chars, jint x, jint y,
                         jint anchor, bool usePalette) {
    if (!text && !chars) return;
    auto* self = static_cast<Bsprite*>(this);
    const TextSource src{text, chars};
    y += Scaled(yOffset);
    MeasureText(text, chars);
    if (anchor & 8) x -= s_textWidth;
    if (anchor & 1) x -= s_textWidth >> 1;
    if (anchor & 32) y -= s_textHeight;
    if (anchor & 2) y -= s_textHeight >> 1;
    if (usePalette) s_savedPalette = currentPalette;
    const jint start = s_substringStart < 0 ? 0 : s_substringStart;
    jint end = s_substringEnd < 0 ? src.length() : std::min(s_substringEnd, src.length());
    if (s_charLimit >= 0) end = std::min(end, s_charLimit);
    const jint lineX = x;
    const jint underscore = MapChar('_');
    const jint underscoreWidth = Scaled(GlyphAdvance(underscore));
    for (jint i = start; i < end; ++i) {
        const jint c = src.at(i);
        if (c == kEscape) {
            if (++i >= end) break;
            const jint d = src.at(i);
            if (d == '_') {
                underline = !underline;
            } else if (d == '^') {
                bold = !bold;
            } else {
                self->SetCurrentPalette(d - '0');
            }
            continue;
        }
        if (c == ' ') {
            const jint space = GetSpaceWidth();
            if (underline) PaintGlyph(g, underscore, x + ((space - underscoreWidth) >> 1), y);
            x += space;
            continue;
        }
        if (c == '\n') {
            x = lineX;
            y += GetLineSpacing() + GetFontHeight();
            continue;
        }
        if (c == kCodePalette) {
            if (++i >= end) break;
            const jint p = src.at(i);
            if (p < paletteCount) {
                self->SetCurrentPalette(p);
            } else if (p == kRestorePalette && usePalette) {
                self->SetCurrentPalette(s_savedPalette);
            }
            continue;
        }
        const jint frame = glyphAt(this, src, c, &i, end);
        if (frame == kTextEnd) break;
        if (frame == kNoGlyph) continue;
        const jint advance = Scaled(GlyphAdvance(frame));
        PaintGlyph(g, frame, x, y);
        if (underline) PaintGlyph(g, underscore, x + ((advance - underscoreWidth) >> 1), y);
        if (bold) {
            PaintGlyph(g, frame, x + 1, y);
            ++x;
        }
        x += advance + GetCharSpacing();
    }
    if (usePalette) self->SetCurrentPalette(s_savedPalette);
}

void ASprite::DrawPage(javax_microedition_lcdui_Graphics* g, String* text, jint x, jint y, jint anchor, jint start,
                       jint end) {
    BX_RETURN_IF_NULL(text);
    end = std::min(end, text->length());
    start = std::max(start, 0);
    jint lines = 1;
    for (jint i = start; i < end; ++i) {
        if (text->charAt(i) == '\n') ++lines;
    }
    const jint lineHeight = GetFontHeight() + GetLineSpacing();
    if (anchor & 32) y -= (lines - 1) * lineHeight;
    if (anchor & 2) y -= ((lines - 1) * lineHeight) >> 1;
    jint lineStart = start;
    for (jint i = start; i <= end; ++i) {
        if (i < end && text->charAt(i) != '\n') continue;
        s_substringStart = lineStart;
        s_substringEnd = i;
        DrawString(g, text, nullptr, x, y, anchor, false);
        y += lineHeight;
        lineStart = i + 1;
    }
    s_substringStart = s_substringEnd = -1;
}

void ASprite::DrawPageFull(javax_microedition_lcdui_Graphics* g, String* text, jint x, jint y, jint anchor) {
    BX_RETURN_IF_NULL(text);
    // The end is exclusive: length - 1 would leave every page without its last character.
    DrawPage(g, text, x, y, anchor, 0, text->length());
}

void ASprite::DrawPageB(javax_microedition_lcdui_Graphics* g, String* text, ShortArray* lines, jint x, jint y,
                        jint firstLine, jint lineCount, jint anchor, jint maxChars) {
    BX_RETURN_IF_NULL(text);
    BX_RETURN_IF_NULL(lines);
    auto* self = static_cast<Bsprite*>(this);
    const jint length = text->length();
    const jint tableLines = std::min<jint>(lines->get(0), (lines->length - 1) / 3);
    if (firstLine < 0) firstLine = 0;
    jint last = lineCount < 0 ? tableLines : std::min(tableLines, firstLine + lineCount);
    const jint lineHeight = GetFontHeight() + GetLineSpacing();
    const jint drawn = std::max(0, last - firstLine);
    if (anchor & 32) y -= (drawn - 1) * lineHeight;
    if (anchor & 2) y -= ((drawn - 1) * lineHeight) >> 1;
    const jint callPalette = currentPalette;
    const bool callBold = bold, callUnderline = underline;
    // A line begins where the previous one ended, one character later after a '\n'.
    auto lineStart = [&](jint n) {
        if (n == 0) return 0;
        const jint prevEnd = lines->get(3 * (n - 1) + 1);
        return prevEnd < length && text->charAt(prevEnd) == '\n' ? prevEnd + 1 : prevEnd;
    };
    s_charLimit = maxChars >= 0 ? lineStart(firstLine) + maxChars : -1;
    for (jint n = firstLine; n < last; ++n) {
        const jint start = lineStart(n);
        if (s_charLimit >= 0 && start >= s_charLimit) break;
        const jint flags = lines->get(3 * n + 3);
        bold = flags & kFlagBold;
        underline = flags & kFlagUnderline;
        self->SetCurrentPalette(flags & kFlagPaletteMask);
        jint lineX = x;
        const jint width = Scaled(lines->get(3 * n + 2));
        if (anchor & 8) lineX -= width;
        if (anchor & 1) lineX -= width >> 1;
        s_substringStart = start;
        s_substringEnd = std::max(start, static_cast<jint>(lines->get(3 * n + 1)));
        DrawString(g, text, nullptr, lineX, y, anchor & ~(8 | 1 | 32 | 2), false);
        y += lineHeight;
    }
    self->SetCurrentPalette(callPalette);
    bold = callBold;
    underline = callUnderline;
    s_substringStart = s_substringEnd = -1;
    s_charLimit = -1;
}

ShortArray* ASprite::SplitText(String* text, jint maxWidth) {
    BX_RETURN_IF_NULL(text, nullptr);
    if (!s_lineTable) s_lineTable = Runtime::newShortArray(kLineTableLength);
    ShortArray* table = s_lineTable;
    BX_RETURN_IF_NULL(table, nullptr);
    const TextSource src{text, nullptr};
    const jint length = text->length();
    const jint space = GetSpaceWidth();
    jshort w = 0, ws = 0;
    jint breakAt = -1;
    bool runBold = bold, runUnderline = underline;
    jint runPalette = currentPalette;
    bool breakBold = false, breakUnderline = false;
    jint breakPalette = 0;
    jint lineFlags = stateFlags(runBold, runUnderline, runPalette);
    jint line = 0;
    auto writeLine = [&](jint end, jint width) {
        table->set(3 * line + 1, jt::i2s(end));
        table->set(3 * line + 2, jt::i2s(width));
        table->set(3 * line + 3, jt::i2s(lineFlags));
        ++line;
    };
    // One space width less for each space of the run that ends at index i.
    auto dropSpaces = [&](jint i) {
        for (; i >= 0 && text->charAt(i) == ' '; --i) w = jt::i2s(w - space);
    };
    // Once the table is at its last line, the rest of the text stays in it.
    auto full = [&] { return line >= kMaxLines - 1; };
    jint i = 0;
    while (i < length) {
        const jint c = text->charAt(i);
        if (c == ' ') {
            w = jt::i2s(w + space);
            breakAt = i;
            breakBold = runBold, breakUnderline = runUnderline, breakPalette = runPalette;
            ws = 0;
            if (w <= maxWidth || full()) {
                ++i;
                continue;
            }
            breakAt = -1;
            dropSpaces(i);
            jint k = i + 1;
            while (k < length && text->charAt(k) == ' ') ++k;
            writeLine(k, w);
            lineFlags = stateFlags(runBold, runUnderline, runPalette);
            w = 0;
            i = k;
            continue;
        }
        if (c == kEscape) {
            if (++i >= length) break;
            const jint d = text->charAt(i);
            if (d == '^') {
                runBold = !runBold;
            } else if (d == '_') {
                runUnderline = !runUnderline;
            } else if ((d & 0xFF) - 48 < paletteCount) {
                runPalette = (d & 0xFF) - 48;
            }
            ++i;
            continue;
        }
        if (c == '\n') {
            if (full()) {
                ++i;
                continue;
            }
            writeLine(i, w);
            lineFlags = stateFlags(runBold, runUnderline, runPalette);
            w = ws = 0;
            breakAt = -1;
            ++i;
            continue;
        }
        if (c == kCodePalette) {
            i += 2;
            continue;
        }
        jint frame = glyphAt(this, src, c, &i, length);
        if (frame == kTextEnd) break;
        if (frame == kNoGlyph) {
            ++i;
            continue;
        }
        if (frame >= frameCount) frame = 0;
        const jint a = Scaled(GlyphAdvance(frame)) + GetCharSpacing() + (runBold ? 1 : 0);
        w = jt::i2s(w + a);
        ws = jt::i2s(ws + a);
        if (w > maxWidth && breakAt >= 0 && !full()) {
            const jint b = breakAt;
            breakAt = -1;
            dropSpaces(b);
            writeLine(b + 1, w - ws);
            runBold = breakBold, runUnderline = breakUnderline, runPalette = breakPalette;
            lineFlags = stateFlags(runBold, runUnderline, runPalette);
            w = ws = 0;
            i = b + 1;
            continue;
        }
        ++i;
    }
    writeLine(length, w);
    table->set(0, jt::i2s(line));
    return table;
}

String* ASprite::WrapText(String* text, jint maxWidth) {
    BX_RETURN_IF_NULL(text, nullptr);
    ShortArray* lines = SplitText(text, maxWidth);
    BX_RETURN_IF_NULL(lines, nullptr);
    String* result = Runtime::ldcString(kWrapStartLiteral);
    const jint length = text->length();
    jint start = 0;
    for (jint n = 0; n < lines->get(0); ++n) {
        const jint end = lines->get(3 * n + 1);
        if (start != 0 && (start >= length || text->charAt(start) != '\n')) {
            result = append(result, Runtime::ldcString(kWrapSeparatorLiteral));
        }
        result = append(result, text->substring(start, end));
        start = end;
    }
    return result;
}

void ASprite::PaintGlyph(javax_microedition_lcdui_Graphics* g, jint frame, jint x, jint y) {
    if (frame >= 0 && frame < frameCount) PaintFrame(g, frame, x, y, 0, 0, 0);
}
