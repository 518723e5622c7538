// The menu list on the frame Graphics: the scroll arrows while the list is longer than a page, then
// one row every 70 pixels around the centre: its background frame of the menu sprite (normal,
// disabled or selected; a chosen row blinks) and its text in capitals, waving when selected. The
// special row also carries the promotion's blinking new-content marker.
#include <algorithm>

#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "game/cgame.h"
#include "promo/igp.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/log.h"
#include "runtime/string.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"
#include "sprites/interface_frames.h"

namespace {

// The plain rows' colours: the night of the title art, lighter when selected, a black frame.
constexpr jint kPlainFill = cGame::kPlainRowFill, kPlainLitFill = cGame::kPlainRowLitFill, kPlainLine = 0x000000;
constexpr jint kRowSpacing = 70, kArrowOffset = 110, kCentreX = 400;
constexpr jint kRowFont = 0, kTextAnchor = 22, kWaveAmplitude = 10;
constexpr jint kMarkerX = 490, kMarkerY = 650, kMarkerAnchor = 24, kTurnQuarter = 5;

// Advances the arrow; a flash that has played out goes back to the idle animation.
void stepArrow(BXLibPlayer* arrow, jint x, jint y, jint flash, jint idle) {
    arrow->x = x;
    arrow->y = y;
    arrow->Update(cGame::s_frameTime);
    if (arrow->anim == flash && arrow->loops >= 0 && arrow->finished != 0) cGame::startPlayerAnim(arrow, idle, 0);
}

void paintArrows(jint centreY) {
    BXLibPlayer* up = cGame::s_arrowUpPlayer;
    BXLibPlayer* down = cGame::s_arrowDownPlayer;
    if (!up || !down) return;
    stepArrow(up, kCentreX, centreY - kArrowOffset - (cGame::s_arrowTouched == 1 ? 2 : 0),
              MenuSprite::kArrowUpFlashAnim, MenuSprite::kArrowUpIdleAnim);
    stepArrow(down, kCentreX, centreY + kArrowOffset + (cGame::s_arrowTouched == 2 ? 2 : 0),
              MenuSprite::kArrowDownFlashAnim, MenuSprite::kArrowDownIdleAnim);
    if (cGame::s_menuFirstRow > 0) up->Render();
    BX_RETURN_IF_PENDING();
    if (cGame::s_menuFirstRow < cGame::s_menuCount - cGame::s_menuVisibleRows) down->Render();
}

// The promotion's new-content badge beside the special row, in screen coordinates. The badge is
// turned upright once (a wider-than-tall picture is replaced by its quarter-turned copy).
void paintPromoMarker(jint y) {
    using Image = javax_microedition_lcdui_Image;
    ObjectArray* images = cGame::s_screenImages;
    Object* slot = images && images->length > 0 ? images->get(0) : nullptr;
    auto* badge = slot && slot->classId() == CID_javax_microedition_lcdui_Image ? static_cast<Image*>(slot) : nullptr;
    if (badge && badge->getWidth() > badge->getHeight()) {
        Image* upright = Image::createImage(badge, 0, 0, badge->getWidth(), badge->getHeight(), kTurnQuarter);
        BX_RETURN_IF_PENDING();
        if (upright) {
            images->set(0, upright);
            badge = upright;
        }
    }
    const bool shown = IGP::drawNewMarker(cGame::s_g, badge, kMarkerX - y, kMarkerY, kMarkerAnchor);
    // Logged when it comes and goes (not per blink), so a scripted run can tell the row carried it.
    if (shown != cGame::s_promoMarkerShown) Log::info("main menu: promotion marker %s", shown ? "shown" : "gone");
    cGame::s_promoMarkerShown = shown;
}

}  // namespace

void cGame::paintPlainRow(jint x, jint y, bool lit) {
    drawFramedBox(lit ? kPlainLitFill : kPlainFill, kPlainLine, x - kPlainRowWidth / 2, y - kPlainRowHeight / 2,
                  kPlainRowWidth, kPlainRowHeight);
}

void cGame::paintMenuList(jint centreY) {
    if (!s_menuItems || s_menuCount <= 0) return;
    const jint n = std::min(s_menuCount, s_menuVisibleRows);
    const jint y0 = centreY - (n - 1) * (kRowSpacing / 2);
    if (s_menuCount > s_menuVisibleRows) {
        paintArrows(centreY);
        BX_RETURN_IF_PENDING();
    }
    Bsprite* font = fontSprite(kRowFont);
    for (jint i = 0; i < n; ++i) {
        const jint y = y0 + kRowSpacing * i;
        const jint index = (s_menuFirstRow + i) % s_menuCount;
        const jint item = s_menuItems->get(index);
        const bool special = (item & kMenuSpecial) != 0;
        const bool selected = s_menuFirstRow + i == s_menuSelection;
        jint frame = MenuSprite::kRowFrame;
        jint palette = special ? 1 : 0;
        if (item & kMenuDisabled) {
            frame = MenuSprite::kDisabledRowFrame;
            palette = 0;
        } else if (selected) {
            frame = MenuSprite::kSelectedRowFrame;
            if (s_chosen != -1 && s_chosenBlink > 0) {
                if (s_chosenBlink % 2 == 0) frame = MenuSprite::kRowFrame;
                --s_chosenBlink;
            }
        }
        if (font) font->SetCurrentPalette(palette);
        if (special) {
            paintPromoMarker(y);
            BX_RETURN_IF_PENDING();
        }
        if (s_menuSprite) {
            s_menuSprite->PaintFrame(s_g, frame, kCentreX, y, 0, 0, 0);
        } else {
            paintPlainRow(kCentreX, y, frame == MenuSprite::kSelectedRowFrame);
        }
        BX_RETURN_IF_PENDING();
        String* text = getString(item & kMenuTextMask);
        BX_RETURN_IF_PENDING();
        text = text ? text->toUpperCase() : nullptr;
        BX_RETURN_IF_PENDING();
        drawWavyText(text, kRowFont, kCentreX, y, kTextAnchor, selected ? kWaveAmplitude : 0);
        BX_RETURN_IF_PENDING();
    }
}
