// The two soft keys in the corners of the landscape picture: none, the corner icon, or a labelled
// key; a key whose touch square is under the finger is highlighted (blinking during the tap delay).
#include "game/cgame.h"
#include "game/cgame_text_ids.h"
#include "runtime/compiled.h"
#include "runtime/string.h"
#include "sprites/bsprite.h"
#include "sprites/interface_frames.h"

jint cGameMenus::s_softkeyLeft = kSoftkeyNone;
jint cGameMenus::s_softkeyRight = kSoftkeyNone;
bool cGameMenus::s_softkeyFlag = false;

namespace {

constexpr jint kSoftkeyFont = 1, kLabelAnchor = 36;
constexpr jint kBackText = text_id::kNo;
constexpr jint kLeftSquare = 1, kRightSquare = 2;
// States whose soft-key labels use the font's second palette.
constexpr jint kSecondPaletteStates[] = {cGame::kStateLossMenu, 17};

bool highlighted(jint square) {
    const jint timer = cGame::s_softkeyTapTimer;
    return cGame::s_softkeyTouched == square && (timer <= 0 || timer % 2 == 0);
}

// Frame (or its highlighted successor) of the menu sprite at the landscape point.
void paintKeyFrame(jint frame, bool lit, jint x, jint y) {
    if (cGame::s_menuSprite) cGame::s_menuSprite->PaintFrame(cGame::s_g, lit ? frame + 1 : frame, x, y, 0, 0, 0);
}

void paintLabel(Bsprite* font, jint text, jint x, jint y) {
    String* label = cGame::getString(text);
    BX_RETURN_IF_PENDING();
    if (label) font->DrawStringAt(cGame::s_g, label, x, y, kLabelAnchor, true);
}

}  // namespace

void cGame::setSoftkeys(jint right, jint left, bool flag) {
    s_softkeyRight = right;
    s_softkeyLeft = left;
    s_softkeyFlag = flag;
}

void cGame::paintSoftkeys() {
    Bsprite* font = fontSprite(kSoftkeyFont);
    if (!font || !s_g) return;
    bool secondPalette = false;
    for (jint state : kSecondPaletteStates) secondPalette = secondPalette || s_state == state;
    font->SetCurrentPalette(secondPalette ? 1 : 0);
    if (s_softkeyLeft == kSoftkeyIcon) {
        paintKeyFrame(MenuSprite::kSoftkeyIconFrame, highlighted(kLeftSquare), 800, 0);
    } else if (s_softkeyLeft != kSoftkeyNone) {
        paintKeyFrame(MenuSprite::kSoftkeyLabelFrame, highlighted(kLeftSquare), 0, 480);
        BX_RETURN_IF_PENDING();
        paintLabel(font, s_softkeyLeft, 7, 473);
    }
    BX_RETURN_IF_PENDING();
    if (s_softkeyRight == kSoftkeyIcon) {
        // The icon sits in the left square's corner whichever key shows it.
        paintKeyFrame(MenuSprite::kSoftkeyIconFrame, highlighted(kLeftSquare), 800, 0);
    } else if (s_softkeyRight == kBackText) {
        paintKeyFrame(MenuSprite::kSoftkeyLabelFrame, highlighted(kRightSquare), 706, 480);
        BX_RETURN_IF_PENDING();
        paintLabel(font, kBackText, 740, 473);
    } else if (s_softkeyRight != kSoftkeyNone) {
        paintKeyFrame(s_state == kStateIntro ? MenuSprite::kIntroArrowFrame : MenuSprite::kSoftkeyArrowFrame,
                      highlighted(kRightSquare), 800, 480);
    }
}

void cGame::paintSoftkeysGuarded() {
    const jint left = s_softkeyLeft;
    const jint right = s_softkeyRight;
    s_softkeyLeft = s_softkeyRight = kSoftkeyNone;
    paintSoftkeys();
    s_softkeyLeft = left;
    s_softkeyRight = right;
}
