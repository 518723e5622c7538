// IGP: the bitmap-font text painter and the preparation of the portal's title. Glyphs come from
// the resource's font picture (three colourings) by the glyph table of each character code.
// Invariants: at most kLineTableSize lines are measured or drawn (the line-width table has no
// more); a glyph whose record is missing or whose rectangle leaves the font picture draws nothing.
// The pitch between drawn lines is lh + e - 2 while the measure counts lh + e: texts have always
// been placed by the measure and drawn a little tighter.
#include <algorithm>
#include <array>
#include <vector>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "promo/igp.h"
#include "promo/igp_paint.h"
#include "runtime/constant_pool.h"
#include "runtime/string.h"

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

namespace {

constexpr jint kTitleKind = 4;
constexpr jint kNarrowScreen = 177;   // below this width, title texts get 2 extra pixels a line
constexpr jint kNarrowLineExtra = 2;
constexpr jint kDrawnPitchLess = 2;
constexpr jchar kNewline = 10, kBackslash = 0x5C, kSpace = 0x20;
constexpr jint kTitleLinesMax = 2;
constexpr jint kAllChecks = 7;

// The text's units, copied out of the movable heap (drawing may allocate).
std::vector<jchar> unitsOf(String* text) {
    std::vector<jchar> units;
    if (!text) return units;
    units.reserve(static_cast<size_t>(text->length()));
    for (jint i = 0; i < text->length(); ++i) units.push_back(text->charAt(i));
    return units;
}

// Characters a line break takes at i: 1 for a newline, 2 for a backslash and a capital N, else 0.
size_t breakAt(const std::vector<jchar>& units, size_t i) {
    if (units[i] == kNewline) return 1;
    if (units[i] == kBackslash && i + 1 < units.size() && units[i + 1] == 'N') return 2;
    return 0;
}

jint glyphWidth(jint code) { return IGP::lookupRecordField(code, IGP::s_glyphW); }

jint lineExtra() {
    const jint item = IGP::s_currentItem;
    const bool title = IGP::s_itemKinds && item >= 0 && item < IGP::s_itemKinds->length &&
                       IGP::s_itemKinds->get(item) == kTitleKind;
    return IGP::s_screenWidth < kNarrowScreen && title ? kNarrowLineExtra : 0;
}

// One glyph at (x, y) under a clip of its own rectangle; nothing when it has no ink or its
// rectangle does not lie inside the font picture.
void drawGlyph(Graphics* g, Image* font, jint code, jint x, jint y) {
    const jint gx = IGP::lookupRecordField(code, IGP::s_glyphX), gy = IGP::lookupRecordField(code, IGP::s_glyphY);
    const jint gw = glyphWidth(code), gh = IGP::lookupRecordField(code, IGP::s_glyphH);
    if (!font || gw <= 0 || gh <= 0 || gx + gw > font->getWidth() || gy + gh > font->getHeight()) return;
    g->setClip(x, y, gw, gh);
    g->drawRegion(font, gx, gy, gw, gh, 0, x, y, igp::kTop | igp::kLeft);
}

}  // namespace

void IGP::drawText(String* text, Graphics* g, jint, jint x, jint y, jint anchor, jint) {
    const std::vector<jchar> units = unitsOf(text);
    const jint spacing = s_lineSpacing;
    std::array<jint, kLineTableSize> widths{};
    size_t end = units.size();
    jint line = 0, width = 0;
    for (size_t i = 0; i < end; ++i) {
        if (const size_t taken = breakAt(units, i)) {
            widths[line] = width - spacing;
            // The table holds ten lines: the rest of a longer text is neither measured nor drawn.
            if (line + 1 == kLineTableSize) {
                end = i;
                break;
            }
            ++line;
            width = 0;
            i += taken - 1;
            continue;
        }
        if (units[i] == 0 || units[i] == 1) continue;
        width += glyphWidth(units[i]) + spacing;
    }
    if (end == units.size()) widths[line] = width - spacing;
    const jint lh = s_lineHeight, e = lineExtra();
    s_textWidth = *std::max_element(widths.begin(), widths.begin() + line + 1);
    s_textHeight = (line + 1) * lh + e * line;
    if (s_lineWidths)
        for (jint k = 0; k < s_lineWidths->length && k < kLineTableSize; ++k) s_lineWidths->set(k, k <= line ? widths[k] : 0);
    if (s_measureOnly || !g) {
        s_measureOnly = false;
        return;
    }

    Image* font = igp::imageIn(s_fontImages, s_fontVariant);
    const jint halfSpace = glyphWidth(kSpace) / 2;
    auto lineStart = [&](jint k) {
        if (anchor & igp::kRight) return x - widths[k];
        if (anchor & igp::kHCentre) return x - widths[k] / 2;
        return x;
    };
    jint cy = y + e * line / 2;
    if (anchor & igp::kBottom) cy -= s_textHeight;
    else if (anchor & igp::kVCentre) cy -= s_textHeight / 2;
    jint k = 0;
    jint cx = lineStart(0);
    bool lineBegins = true;
    for (size_t i = 0; i < end; ++i) {
        if (const size_t taken = breakAt(units, i)) {
            const bool spaceBefore = i >= 2 && units[i - 2] == kSpace;
            ++k;
            cy += lh + e - kDrawnPitchLess;
            cx = lineStart(k) - (spaceBefore ? halfSpace : 0);
            lineBegins = true;
            i += taken - 1;
            continue;
        }
        const jchar c = units[i];
        if (lineBegins && c == kSpace) {
            cx += halfSpace;
            lineBegins = false;
            continue;
        }
        lineBegins = false;
        drawGlyph(g, font, c, cx, cy);
        cx += glyphWidth(c) + spacing;
    }
    setScreenClip(g, 0, 0, s_screenWidth, s_screenHeight);
    s_fontVariant = 1;
}

void IGP::prepareTitleText() {
    String* title = s_portalTitle;
    s_portalTitle = nullptr;
    if (!title || title->length() == 0) return;
    String* upper = title->toUpperCase();
    if (!upper) return;
    const std::vector<jchar> units = unitsOf(upper);
    String* breakText = Runtime::ldcString(kLineBreakLiteral);
    const std::vector<jchar> lineBreak = unitsOf(breakText);

    std::vector<jchar> out;
    jint lines = 1, width = 0, widthSinceSpace = 0;
    ptrdiff_t lastSpace = -1;  // in `out`
    for (size_t i = 0; i < units.size(); ++i) {
        const jchar c = units[i];
        const bool slashBreak = c == kBackslash && i + 1 < units.size() && (units[i + 1] == 'n' || units[i + 1] == 'N');
        if (c == kNewline || slashBreak) {
            if (slashBreak) ++i;
            if (out.empty()) continue;
            if (++lines > kTitleLinesMax) return;
            out.push_back(kNewline);
            width = widthSinceSpace = 0;
            lastSpace = -1;
            continue;
        }
        if (!((c >= 0x20 && c <= 0x7A) || c == 0x82)) return;
        out.push_back(c);
        const jint w = glyphWidth(c);
        width += w;
        if (c == kSpace) {
            lastSpace = static_cast<ptrdiff_t>(out.size()) - 1;
            widthSinceSpace = 0;
        } else {
            widthSinceSpace += w;
        }
        if (width < s_screenWidth) continue;
        // The line is full: break it at its last space; a title that needs a third line, or a
        // word wider than the screen, is not shown.
        if (lines + 1 > kTitleLinesMax) return;
        if (c == kSpace) {
            out.insert(out.end(), lineBreak.begin(), lineBreak.end());
            width = 0;
        } else if (lastSpace < 0) {
            return;
        } else {
            out.erase(out.begin() + lastSpace);
            out.insert(out.begin() + lastSpace, lineBreak.begin(), lineBreak.end());
            width = widthSinceSpace;
        }
        lastSpace = -1;
        ++lines;
    }
    String* result = String::fromUnits(out.data(), static_cast<jint>(out.size()));
    if (isValidValue(result, kAllChecks)) s_portalTitle = result;
}
