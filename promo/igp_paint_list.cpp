// IGP: the list pages. The heading, the page text, the rows that fit (scroll arrows when not all
// do) and the selection frame; the row geometry is kept for the stylus's hit tests.
// Invariant: the row height is at least 1 (a list without its first picture on a font without a
// space glyph would otherwise divide by zero), and only rows below the list's length are read.
#include <algorithm>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "promo/igp.h"
#include "promo/igp_paint.h"

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

namespace {

constexpr jint kLeftArrow = 5, kKey = 12;
constexpr jint kSelectionColour = 0xFC7704;
constexpr jint kArrowColour = 0xFFFFFF;
constexpr jint kRowLines = 2;

ObjectArray* rowImages(jint list) {
    auto* lists = IGP::s_listImages;
    return lists && list >= 0 && list < lists->length ? static_cast<ObjectArray*>(lists->get(list)) : nullptr;
}

jint listIndex() { return IGP::s_listIndex >= 0 && IGP::s_listIndex < IGP::kPageListCount ? IGP::s_listIndex : 0; }

jint lookup(IntArray* table, jint i) { return table && i >= 0 && i < table->length ? table->get(i) : -1; }

// The row name a valid row came from; -1 when the tables do not hold it.
jint rowSource(jint row) { return lookup(IGP::s_listRowSources[listIndex()], row); }

}  // namespace

namespace igp {

Image* firstRowImage() { return imageIn(rowImages(listIndex()), rowSource(0)); }

}  // namespace igp

void IGP::paintPageBody(Graphics* g) {
    if (!g) return;
    const jint w = s_screenWidth, h = s_screenHeight, lh = s_lineHeight;
    const jint list = listIndex();
    const jint rows = std::max(s_listLength, 0);
    jint y = h * 5 / 100;
    if (h > 128) {
        Image* picture = igp::imageIn(s_itemImages, s_currentItem);
        igp::drawPicture(g, picture, w / 2, y, igp::kHCentre | igp::kTop);
        y += igp::heightOf(picture);
    }
    s_fontVariant = 2;
    drawText(getText(s_currentItem), g, w, w / 2, y, igp::kHCentre | igp::kTop, 0);

    Image* first = igp::firstRowImage();
    const jint rh = std::max({2 * lh, igp::heightOf(first), 1});
    const jint a = h * 7 / 100;
    const jint top = s_textHeight + y;
    const jint room = h - igp::heightOf(igp::fixedImage(kKey)) - 2 - top;
    const jint upper = (h / 2 - top) * 2;
    jint visible = 0, y0 = top;
    if (upper / rh >= rows) {
        visible = rows;
        y0 = top + (upper - rows * rh) / 2;
    } else if (room / rh >= rows) {
        visible = rows;
        y0 = top + (room - rows * rh) / 2;
    } else {
        visible = std::max((room - 2 * a) / rh, 0);
        y0 = top + (room - visible * rh) / 2;
    }
    s_listVisibleRows = visible;

    if (visible < rows) {
        s_upArrowY = y0 - a;
        s_downArrowY = y0 + visible * rh;
        if (s_listScroll > 0)
            drawListArrow(g, w / 2, y0 - a, a, s_pressedAction == kActionUp ? kHighlightColour : kArrowColour, true,
                          false);
        if (s_listScroll + visible < rows)
            drawListArrow(g, w / 2, y0 + visible * rh + a, a,
                          s_pressedAction == kActionDown ? kHighlightColour : kArrowColour, true, true);
    }

    const jint arrowW = igp::widthOf(igp::fixedImage(kLeftArrow));
    jint bw = w - 3 * arrowW;
    if (h < w) bw -= arrowW / 2;
    const jint x = w / 2 - bw / 2;
    const jint m = w / 100;
    const jint pictureX = x + m;
    const jint textX = x + m + igp::widthOf(first) + m;
    ObjectArray* pictures = rowImages(list);
    ObjectArray* names = list < kListCount ? s_listRowNames[list] : nullptr;
    const jint lastName = names ? names->length - 1 : -1;
    for (jint k = 0; k < visible; ++k) {
        const jint row = s_listScroll + k;
        if (row < 0 || row >= rows) break;
        const jint source = rowSource(row);
        const jint centre = y0 + rh / 2 + 1 + k * rh;
        igp::drawPicture(g, igp::imageIn(pictures, source), pictureX, centre, igp::kLeft | igp::kVCentre);
        s_fontVariant = source == lastName ? 2 : 1;
        drawText(getText(lookup(s_listRowTexts[list], source)), g, bw - textX + x, textX, centre,
                 igp::kLeft | igp::kVCentre, kRowLines);
    }

    s_rowBoxX = x;
    s_rowBoxWidth = bw;
    s_rowHeight = rh;
    s_rowsTop = y0;
    s_selectionBoxY = y0 + (s_listSelection - s_listScroll) * rh;
    g->setColor(kSelectionColour);
    g->drawRect(x, s_selectionBoxY, bw, rh);
}
