// IGP: painting of the loading and browsing states. The page bodies (title, special, portal,
// optional), the blinking select button, the soft key and the swinging page arrows; list pages are
// igp_paint_list.cpp, the bitmap-font text igp_paint_text.cpp.
// Invariant: every picture may be missing (a malformed resource leaves it null); a missing one
// measures 0 by 0 and draws nothing, and no size of one is ever a divisor unguarded.
#include <algorithm>
#include <cstdlib>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "promo/igp.h"
#include "promo/igp_paint.h"
#include "runtime/constant_pool.h"
#include "runtime/static_class.h"
#include "runtime/string.h"
#include "runtime/system_natives.h"

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

jint IGP::s_rowBoxX = 0;
jint IGP::s_rowBoxWidth = 0;
jint IGP::s_rowHeight = 1;
jint IGP::s_rowsTop = 0;
jint IGP::s_selectionBoxY = 0;
jint IGP::s_upArrowY = 0;
jint IGP::s_downArrowY = 0;
jint IGP::s_buttonX = 0;
jint IGP::s_buttonY = 0;
jint IGP::s_buttonWidth = 0;
jint IGP::s_buttonHeight = 0;
jint IGP::s_arrowPressFrames = 0;
jint IGP::s_textHeight = 0;
jint IGP::s_textWidth = 0;
bool IGP::s_measureOnly = false;
jint IGP::s_fontVariant = 1;

namespace {

constexpr jint kTitleKind = 4;
constexpr jint kBlinkPeriodMillis = 1000;
constexpr jint kBlinkHiddenMillis = 500;
constexpr jint kSwingStepMillis = 80;
constexpr jint kPressedFramesShown = 4;  // cleared once more than this many frames were shown

// Fixed pictures.
constexpr jint kLeftArrowPressed = 4, kLeftArrow = 5, kRightArrowPressed = 6, kRightArrow = 7;
constexpr jint kRightKeyIcon = 8, kLeftKeyIcon = 9, kHeading = 10, kKey = 12, kKeyPressed = 13;

constexpr jint kLeftSoftKey = 1;

constexpr jint kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0xFF0000;
constexpr jint kButtonColour = 0xCF0900, kButtonColourOptional = 0xFF7F00;
constexpr jint kButtonPressedFrame = 0xDE9C00, kButtonPressedFill = 0x5800F2;
// The portal window's gradient: dusk to night, so its white text reads from top to bottom.
constexpr jint kPortalTop = 0x3A5A8C, kPortalBottom = 0x1B2A4A;

bool optionalMode() { return IGP::s_optionFlags[0]; }

bool isTitle(jint item) {
    return IGP::s_itemKinds && item >= 0 && item < IGP::s_itemKinds->length && IGP::s_itemKinds->get(item) == kTitleKind;
}

Image* itemImage(jint item) { return igp::imageIn(IGP::s_itemImages, item); }

// Measures a text into s_textWidth and s_textHeight without drawing it.
void measure(String* text) {
    IGP::s_measureOnly = true;
    IGP::drawText(text, nullptr, 0, 0, 0, 0, 0);
}

jint component(jint rgb, jint shift) { return (rgb >> shift) & 0xFF; }

jint blend(jint from, jint to, jint part, jint whole) {
    jint out = 0;
    for (jint shift : {16, 8, 0}) {
        const jint a = component(from, shift), b = component(to, shift);
        out |= (a + (b - a) * part / whole) << shift;
    }
    return out;
}

void paintLoading(Graphics* g) {
    const jint w = IGP::s_screenWidth, h = IGP::s_screenHeight;
    g->setColor(kBlack);
    g->fillRect(0, 0, w, h);
    IGP::drawProgressBar(g, h / 2, w * 3 / 4, IGP::s_loadStep, IGP::s_loadStepCount);
    String* text = IGP::s_loadingText;
    String* trimmed = text ? text->trim() : nullptr;
    if (!trimmed || trimmed->equals(Runtime::ldcString(IGP::kEmptyLiteral))) return;
    g->setColor(kWhite);
    g->drawString(text, w / 2, h / 2 - 5, igp::kHCentre | igp::kBottom);
}

void paintOptional(Graphics* g) {
    const jint w = IGP::s_screenWidth, h = IGP::s_screenHeight;
    igp::drawPicture(g, itemImage(IGP::s_currentItem), w / 2, h * 8 / 100, igp::kHCentre | igp::kTop);
    if (optionalMode()) IGP::s_fontVariant = 0;
    const jint width = w - 2 * (igp::widthOf(igp::fixedImage(kLeftArrowPressed)) + 8);
    IGP::drawText(IGP::getText(IGP::s_textOptionalBody), g, width, w / 2, h * 60 / 100,
                  igp::kHCentre | igp::kVCentre, 0);
}

void paintSpecial(Graphics* g) {
    const jint w = IGP::s_screenWidth, h = IGP::s_screenHeight, lh = IGP::s_lineHeight;
    const bool big = h >= 128;
    Image* picture = itemImage(IGP::s_currentItem);
    Image* heading = igp::fixedImage(kHeading);
    const jint pw = igp::widthOf(picture);
    jint y = (big ? igp::heightOf(heading) : 0) * 3 / 5 + h * 5 / 100;
    // A divider above the picture, in proportion to it.
    if (pw >= 221) {
        g->setColor(0xCCCCCC);
        g->fillRect(w / 2 + 20, y, 3, 54);
        y += 54;
    } else if (pw >= 141) {
        g->setColor(0xD7D7D7);
        g->fillRect(w / 2 + 14, y, 2, 37);
        y += 37;
    } else if (pw > 100) {
        g->setColor(0xDCB9B8);
        g->fillRect(w / 2 + 11, y, 1, 26);
        y += 26;
    }
    y += igp::heightOf(picture);
    igp::drawPicture(g, picture, w / 2, y, igp::kHCentre | igp::kBottom);
    igp::drawPicture(g, IGP::s_languageImage, w / 2 + pw / 2 + 1, y, igp::kRight | igp::kBottom);
    if (big) igp::drawPicture(g, heading, w / 2, h * 5 / 100, igp::kHCentre | igp::kTop);
    String* title = IGP::s_portalTitle;
    if (!title || title->length() == 0) return;
    IGP::s_fontVariant = 2;
    const jint room = IGP::s_buttonY - y;
    if (room < 2 * lh) IGP::drawText(title, g, w, w / 2, y + lh / 3, igp::kHCentre | igp::kTop, 0);
    else IGP::drawText(title, g, w, w / 2, y + room / 2, igp::kHCentre | igp::kVCentre, 0);
}

void paintPortal(Graphics* g) {
    const jint w = IGP::s_screenWidth, h = IGP::s_screenHeight;
    Image* picture = itemImage(IGP::s_currentItem);
    const jint pw = igp::widthOf(picture), ph = igp::heightOf(picture);
    // The gradient shows through the picture's open middle.
    const jint boxW = pw * 70 / 100;
    IGP::fillGradient(g, w / 2 - boxW / 2, h / 2 - ph / 4, boxW, ph / 2, kPortalTop, kPortalBottom, false);
    igp::drawPicture(g, picture, w / 2, h / 2, igp::kHCentre | igp::kVCentre);
    if (h >= 128) igp::drawPicture(g, igp::fixedImage(kHeading), w / 2, h * 5 / 100, igp::kHCentre | igp::kTop);
    if (IGP::s_extraImage) {
        igp::drawPicture(g, IGP::s_extraImage, w / 2, h / 2, igp::kHCentre | igp::kVCentre);
        return;
    }
    String* text = IGP::getText(IGP::s_currentItem);
    measure(text);
    IGP::s_fontVariant = 0;
    IGP::drawText(text, g, pw / 2, w / 2, h / 2 - IGP::s_textHeight / 2, igp::kHCentre | igp::kTop, 0);
}

void paintTitle(Graphics* g) {
    const jint w = IGP::s_screenWidth, h = IGP::s_screenHeight, lh = IGP::s_lineHeight;
    Image* picture = itemImage(IGP::s_currentItem);
    const jint ph = igp::heightOf(picture);
    String* text = IGP::getText(IGP::s_currentItem);
    measure(text);
    const jint t = IGP::s_textHeight, tw = IGP::s_textWidth;
    Image* key = igp::fixedImage(kKey);
    Image* keyIcon = igp::fixedImage(kLeftKeyIcon);
    // The soft keys' band counts when the text is wide enough to reach them.
    jint band = 0;
    if (w - 2 * igp::widthOf(key) < tw) band = igp::heightOf(key);
    else if (w - 2 * igp::widthOf(keyIcon) < tw) band = igp::heightOf(keyIcon);
    jint free = std::max(0, h - (t + band + ph));
    bool compact = false;
    if (2 * lh < t && lh / 2 < free / 3) {
        free = std::max(0, h - (2 * lh + band + ph));
        compact = true;
    }
    jint gap = free / 3;
    if (band > 0) {
        jint free2 = std::max(0, h - (t + ph));
        if (2 * lh < t && t - 2 * lh < free2 / 3) {
            free2 = std::max(0, h - (2 * lh + ph));
            compact = true;
        }
        if (t + 2 * free2 / 3 + ph < h - igp::heightOf(key)) gap = free2 / 3;
    }
    igp::drawPicture(g, picture, w / 2, gap, igp::kHCentre | igp::kTop);
    if (optionalMode()) IGP::s_fontVariant = 0;
    IGP::drawText(text, g, w, w / 2, ph + 2 * gap - (compact ? lh / 2 : 0), igp::kHCentre | igp::kTop, 0);
}

void paintPageArrows(Graphics* g) {
    const jint w = IGP::s_screenWidth, h = IGP::s_screenHeight;
    const jlong now = java_lang_System::currentTimeMillis();
    const jint offset = static_cast<jint>(std::abs((now / kSwingStepMillis) % 8 - 4));
    const bool leftShown = IGP::s_leftPressed || IGP::s_pressedAction == IGP::kActionLeft;
    const bool rightShown = IGP::s_rightPressed || IGP::s_pressedAction == IGP::kActionRight;
    if (leftShown) ++IGP::s_arrowPressFrames;
    if (rightShown) ++IGP::s_arrowPressFrames;
    Image* left = igp::fixedImage(leftShown ? kLeftArrowPressed : kLeftArrow);
    Image* right = igp::fixedImage(rightShown ? kRightArrowPressed : kRightArrow);
    const jint reach = igp::widthOf(left) + offset + 1;
    igp::drawPicture(g, left, reach, h >> 1, igp::kRight | igp::kVCentre);
    igp::drawPicture(g, right, w - reach, h >> 1, igp::kLeft | igp::kVCentre);
    if (IGP::s_arrowPressFrames > kPressedFramesShown) {
        IGP::s_leftPressed = IGP::s_rightPressed = false;
        IGP::s_arrowPressFrames = 0;
    }
}

}  // namespace

namespace igp {

Image* imageIn(ObjectArray* images, jint i) {
    return images && i >= 0 && i < images->length ? static_cast<Image*>(images->get(i)) : nullptr;
}

Image* fixedImage(jint i) { return imageIn(IGP::s_fixedImages, i); }

jint widthOf(Image* image) { return image ? image->getWidth() : 0; }

jint heightOf(Image* image) { return image ? image->getHeight() : 0; }

void drawPicture(Graphics* g, Image* image, jint x, jint y, jint anchor) {
    if (g && image) g->drawImage(image, x, y, anchor);
}

}  // namespace igp

void IGP::resetPainting() {
    s_rowBoxX = s_rowBoxWidth = s_rowsTop = s_selectionBoxY = s_upArrowY = s_downArrowY = 0;
    s_rowHeight = 1;
    s_buttonX = s_buttonY = s_buttonWidth = s_buttonHeight = 0;
    s_arrowPressFrames = 0;
    s_textHeight = s_textWidth = 0;
    s_measureOnly = false;
    s_fontVariant = 1;
}

void IGP::paint(Graphics* g) {
    if (!s_available || !g) return;
    setScreenClip(g, 0, 0, s_screenWidth, s_screenHeight);
    switch (s_state.load()) {
    case kStateLoading: return paintLoading(g);
    case kStateBrowsing: {
        paintPages(g);
        const bool shownHalf = java_lang_System::currentTimeMillis() % kBlinkPeriodMillis > kBlinkHiddenMillis;
        if (shownHalf || s_pressedAction == kActionStylusSelect) paintButton(g);
        return;
    }
    default: return;
    }
}

void IGP::setScreenClip(Graphics* g, jint x, jint y, jint w, jint h) {
    if (!g) return;
    g->setClip(std::max(x, 0), std::max(y, 0), std::min(w, s_screenWidth), std::min(h, s_screenHeight));
}

void IGP::drawProgressBar(Graphics* g, jint y, jint width, jint value, jint max) {
    if (!g) return;
    value = std::min(value, max);
    const jint x = (s_screenWidth - width) / 2;
    g->setColor(kWhite);
    g->drawRect(x, y, width, 6);
    g->setColor(kRed);
    g->fillRect(x + 2, y + 2, (width - 4) * value / std::max(max, 1) + 1, 3);
}

void IGP::fillGradient(Graphics* g, jint x, jint y, jint w, jint h, jint fromRgb, jint toRgb, bool mirrored) {
    if (!g) return;
    w = std::min(w, s_screenWidth);
    h = std::min(h, s_screenHeight);
    // A missing picture makes the box 0 rows high: the divisor never goes below 1.
    const jint whole = std::max(h, 1);
    const jint middle = s_screenHeight / 2;
    const jint halfWhole = std::max(h / 2, 1);
    for (jint row = y; row < y + h; ++row) {
        jint colour = blend(fromRgb, toRgb, row - y, whole);
        if (mirrored) colour = blend(toRgb, fromRgb, std::min(std::abs(row - middle), halfWhole), halfWhole);
        g->setColor(colour);
        g->drawLine(x, row, x + w, row);
    }
}

void IGP::drawListArrow(Graphics* g, jint x, jint y, jint size, jint rgb, bool filled, bool down) {
    if (!g) return;
    if (size % 2 == 0) --size;
    if (size <= 0) return;
    // The tip at (x, y); the base half the size away, as wide as the size.
    auto triangle = [&](jint tipY, jint s, jint colour) {
        const jint half = s / 2;
        const jint baseY = down ? tipY - half : tipY + half;
        g->setColor(colour);
        if (filled) {
            g->fillTriangle(x, tipY, x - half, baseY, x + half + 1, baseY);
        } else {
            g->drawLine(x, tipY, x - half, baseY);
            g->drawLine(x - half, baseY, x + half, baseY);
            g->drawLine(x + half, baseY, x, tipY);
        }
    };
    triangle(y, size, kHighlightColour);
    // Two rows in from the tip and one from the base, so the outline shows all round.
    const jint inner = size - 6;
    if (inner > 0) triangle(down ? y - 2 : y + 2, inner, rgb);
}

void IGP::layoutButton() {
    measure(getText(s_buttonTextIndex));
    const jint spaceW = lookupRecordField(' ', s_glyphW), spaceH = lookupRecordField(' ', s_glyphH);
    s_buttonWidth = s_textWidth + spaceW / 2;
    s_buttonHeight = spaceH / 3 + s_textHeight;
    if ((s_buttonHeight + s_textHeight) % 2 != 0) s_buttonHeight += 1;
    s_buttonX = s_screenWidth / 2 - s_buttonWidth / 2;
    const jint item = s_currentItem;
    if (isTitle(item) || item == s_optionalItem) s_buttonY = s_screenHeight / 2 - s_buttonHeight / 2;
    else if (item == s_specialItem || item == s_portalItem) s_buttonY = s_screenHeight * 93 / 100 - s_buttonHeight / 2;
    if (optionalMode() && item == s_optionalItem) s_buttonY = s_screenHeight * 80 / 100;
}

void IGP::paintButton(Graphics* g) {
    if (!g || !s_pageHasLink) return;
    jint colour = optionalMode() ? kButtonColourOptional : kButtonColour;
    const jint x = s_buttonX, y = s_buttonY, w = s_buttonWidth, h = s_buttonHeight;
    if (s_pressedAction == kActionStylusSelect) {
        g->setColor(kButtonPressedFrame);
        g->drawRect(x - 2, y - 2, w + 3, h + 4);
        g->drawRect(x - 1, y - 1, w + 1, h + 2);
        colour = kButtonPressedFill;
    }
    g->setColor(colour);
    g->fillRect(x, y, w, h + 1);
    s_fontVariant = 0;
    drawText(getText(s_buttonTextIndex), g, w, s_screenWidth / 2, y + h / 2, igp::kHCentre | igp::kVCentre, 0);
}

void IGP::paintSoftKeyBar(Graphics* g) {
    if (!g || s_commandMode) return;
    const jint w = s_screenWidth, h = s_screenHeight;
    Image* right = igp::fixedImage(s_pressedAction == kActionBack ? kKeyPressed : kKey);
    const jint kw = igp::widthOf(right), kh = igp::heightOf(right);
    igp::drawPicture(g, right, w - 2, h - 2, igp::kRight | igp::kBottom);
    igp::drawPicture(g, igp::fixedImage(kRightKeyIcon), w - 2 - kw / 2, h - 2 - kh / 2, igp::kHCentre | igp::kVCentre);
    if ((s_softKeyFlags & kLeftSoftKey) == 0) return;
    Image* left = igp::fixedImage(kKey);
    igp::drawPicture(g, left, 2, h - 2, igp::kLeft | igp::kBottom);
    igp::drawPicture(g, igp::fixedImage(kLeftKeyIcon), 2 + igp::widthOf(left) / 2, h - 2 - igp::heightOf(left) / 2,
                     igp::kHCentre | igp::kVCentre);
}

void IGP::paintPages(Graphics* g) {
    if (!g) return;
    layoutButton();
    g->setColor(optionalMode() ? kBlack : kPageColour);
    g->fillRect(0, 0, s_screenWidth, s_screenHeight);
    const jint item = s_currentItem;
    if (s_listMode) paintPageBody(g);
    else if (item == s_optionalItem) paintOptional(g);
    else if (item == s_specialItem) paintSpecial(g);
    else if (item == s_portalItem) paintPortal(g);
    else paintTitle(g);
    paintSoftKeyBar(g);
    if (s_availableCount > 1) paintPageArrows(g);
}
