// The dialog overlay over the screen: a rounded box of the night blue (light texts read on it), 700 landscape pixels wide and as tall as
// its text needs, with a triple black border, drawn in portrait screen coordinates; then the text
// and either the blinking continue prompt (message box) or the two answer rows (question).
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "game/cgame.h"
#include "game/cgame_text_ids.h"
#include "runtime/compiled.h"
#include "runtime/string.h"
#include "runtime/system_natives.h"
#include "sprites/bsprite.h"
#include "sprites/interface_frames.h"

namespace {

constexpr jint kBoxFill = static_cast<jint>(0xFF000000u | cGame::kDialogBoxFill), kBlack = static_cast<jint>(0xFF000000u);
constexpr jint kMessagePadding = 64, kQuestionPadding = 284;
constexpr jint kCentreX = 400, kTextAnchor = 3, kRowAnchor = 22;
constexpr jint kDialogFont = 1, kPromptFont = 0;
constexpr jint kPromptText = text_id::kTapPrompt, kPromptY = 410, kPromptBlinkBit = 0x200;
constexpr jint kYesText = text_id::kYes, kNoText = text_id::kNo;
constexpr jint kRowGap = 80, kWaveAmplitude = 10;

void paintBox(javax_microedition_lcdui_Graphics* g, jint h) {
    g->setColor(kBoxFill);
    g->fillRoundRect((h >> 1) - h + 240, 50, h, 700, 40, 40);
    g->setColor(kBlack);
    g->drawRoundRect((h >> 1) - h + 240, 50, h, 700, 40, 40);
    g->drawRoundRect((h >> 1) - (h - 2) + 239, 51, h - 2, 698, 39, 39);
    g->drawRoundRect((h >> 1) - (h - 4) + 238, 52, h - 4, 696, 38, 38);
}

void paintText(Bsprite* font, jint y) {
    if (!font || !cGame::s_wrappedText) return;
    font->SetCurrentPalette(1);
    font->DrawPage(cGame::s_g, cGame::s_wrappedText, kCentreX, y, kTextAnchor, 0, cGame::s_wrappedText->length());
}

// The answer row of `choice` (1 the first, 0 the second); lit while the finger is down on it or on
// the even frames of its confirmation blink.
void paintAnswer(Bsprite* font, jint choice, jint text, jint y, bool blinking) {
    const bool current = cGame::s_dialogChoice == choice;
    const bool lit = current && (cGame::s_touchDown || (blinking && cGame::s_chosenBlink % 2 == 0));
    if (cGame::s_menuSprite) {
        cGame::s_menuSprite->PaintFrame(cGame::s_g, lit ? MenuSprite::kSelectedRowFrame : MenuSprite::kRowFrame,
                                        kCentreX, y, 0, 0, 0);
    } else {
        cGame::paintPlainRow(kCentreX, y, lit);
    }
    BX_RETURN_IF_PENDING();
    if (font) font->SetCurrentPalette(1);
    cGame::s_redraw = true;
    String* label = cGame::getString(text);
    BX_RETURN_IF_PENDING();
    cGame::drawWavyText(label, kDialogFont, kCentreX, y, kRowAnchor, current ? kWaveAmplitude : 0);
}

}  // namespace

void cGame::paintDialogBox() {
    javax_microedition_lcdui_Graphics* g = s_g;
    BX_RETURN_IF_NULL(g);
    g->setClip(0, 0, kPortraitWidth, kPortraitHeight);
    const bool blinking = s_chosen != -1 && s_chosenBlink > 0;
    if (blinking) --s_chosenBlink;
    const jint h = s_dialogTextHeight;
    const bool question = s_dialogType == 1;
    paintBox(g, h + (question ? kQuestionPadding : kMessagePadding));
    BX_RETURN_IF_PENDING();
    Bsprite* font = fontSprite(kDialogFont);
    if (!question) {
        paintText(font, 240);
        BX_RETURN_IF_PENDING();
        if (java_lang_System::currentTimeMillis() & kPromptBlinkBit) {
            String* prompt = getString(kPromptText);
            BX_RETURN_IF_PENDING();
            drawStringOnPlate(kPromptFont, 0, prompt, kCentreX, kPromptY, kTextAnchor);
        }
        return;
    }
    const jint ty = (h >> 1) - ((h + kQuestionPadding) >> 1) + 272;
    paintText(font, ty);
    BX_RETURN_IF_PENDING();
    const jint yA = ty + (h >> 1) + 110;
    paintAnswer(font, 1, kYesText, yA, blinking);
    BX_RETURN_IF_PENDING();
    paintAnswer(font, 0, kNoText, yA + kRowGap, blinking);
}
