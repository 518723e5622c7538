// IGP: the stylus. hitTest maps a point of the screen to an action code from the geometry the last
// paint left (button, list rows and arrows, page arrows, soft key); the pointer handlers record the
// pressed action for the highlight and hand the released one to the next update.
// Threads: the game calls these from the host thread under its lock; hitTest answers nothing once
// the screen stops running, so it never reaches the pictures the end of a visit frees.
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "promo/igp.h"
#include "promo/igp_paint.h"

namespace {

constexpr jint kLeftArrow = 5, kRightArrow = 7, kKey = 12, kKeyPressed = 13;

bool strictlyBetween(jint v, jint low, jint high) { return v > low && v < high; }

jint listHit(jint x, jint y) {
    const jint w = IGP::s_screenWidth, h = IGP::s_screenHeight, rh = IGP::s_rowHeight;
    if (!strictlyBetween(x, IGP::s_rowBoxX, IGP::s_rowBoxX + IGP::s_rowBoxWidth)) return IGP::kActionNone;
    for (jint k = 0; k < IGP::s_listVisibleRows; ++k) {
        if (!strictlyBetween(y, IGP::s_rowsTop + k * rh, IGP::s_rowsTop + (k + 1) * rh)) continue;
        const jint row = IGP::s_listScroll + k;
        if (row >= IGP::s_listLength) return IGP::kActionNone;
        if (row == IGP::s_listSelection) return IGP::kActionSelect;
        // The first touch on a row only selects it.
        IGP::s_listSelection = row;
        return IGP::kActionNone;
    }
    if (IGP::s_listVisibleRows >= IGP::s_listLength) return IGP::kActionNone;
    // The scroll arrows' band, 1.5 key widths in from either side (compared doubled, exactly).
    const jint keyW = igp::widthOf(igp::fixedImage(kKey));
    if (!strictlyBetween(2 * x, 3 * keyW + 4, 2 * w - 3 * keyW + 4)) return IGP::kActionNone;
    const jint s = igp::widthOf(igp::fixedImage(kLeftArrow)) + igp::widthOf(igp::firstRowImage()) + w / 100 + h * 5 / 100;
    const bool up = IGP::s_listSelection > 0 &&
                    strictlyBetween(y, IGP::s_upArrowY - (s - 1) / 2, IGP::s_upArrowY + s - 1);
    const bool down = IGP::s_listSelection < IGP::s_listLength - 1 &&
                      strictlyBetween(y, IGP::s_downArrowY - (s - 1) / 2, IGP::s_downArrowY + s - 1);
    // With few rows shown the two bands overlap: a point in both goes to the nearer arrow (the up
    // band alone reaches over the down arrow).
    if (up && down) {
        const jint between = (IGP::s_upArrowY + IGP::s_downArrowY + h * 7 / 100) / 2;
        return y < between ? IGP::kActionUp : IGP::kActionDown;
    }
    if (up) return IGP::kActionUp;
    if (down) return IGP::kActionDown;
    return IGP::kActionNone;
}

}  // namespace

jint IGP::hitTest(jint x, jint y) {
    if (x < 1 || y < 1 || !s_running.load() || s_state.load() == kStateLoading) return kActionNone;
    const jint w = s_screenWidth, h = s_screenHeight;
    if (!s_listMode && strictlyBetween(x, s_buttonX, s_buttonX + s_buttonWidth) &&
        strictlyBetween(y, s_buttonY, s_buttonY + s_buttonHeight))
        return kActionStylusSelect;
    if (s_listMode) {
        // A row hit may change the selection and still answer no action: that ends the test.
        const jint selection = s_listSelection;
        const jint action = listHit(x, y);
        if (action != kActionNone || selection != s_listSelection) return action;
    }
    javax_microedition_lcdui_Image* arrow = igp::fixedImage(kRightArrow);
    const jint aw = igp::widthOf(arrow), ah = igp::heightOf(arrow);
    if (strictlyBetween(y, h / 2 - ah, h / 2 + ah)) {
        if (strictlyBetween(x, 0, 2 * aw)) return kActionLeft;
        if (strictlyBetween(x, w - aw - aw, w - aw + 2 * aw)) return kActionRight;
    }
    if (s_commandMode) return kActionNone;
    javax_microedition_lcdui_Image* key = igp::fixedImage(kKeyPressed);
    const jint kw = igp::widthOf(key), kh = igp::heightOf(key);
    if (y < h - 2 * kh || y > h) return kActionNone;
    if (strictlyBetween(x, 2, 2 + 2 * kw)) return kActionNone;  // the left soft key does nothing
    if (strictlyBetween(x, w - 2 * kw - 2, w - 2)) return kActionBack;
    return kActionNone;
}

void IGP::pointerPressed(jint x, jint y) {
    const jint action = hitTest(x, y);
    if (action == kActionNone) return;
    if (s_listMode) s_pressedListRow = s_listSelection;
    s_pressedAction = action;
}

void IGP::pointerDragged(jint x, jint y) {
    s_action = kActionNone;
    s_pressedAction = kActionNone;
    pointerPressed(x, y);
}

void IGP::pointerReleased(jint x, jint y) {
    const jint action = hitTest(x, y);
    if (action != kActionNone) {
        s_action = action;
        s_keepAction = true;
    }
    s_pressedAction = kActionNone;
}
