// The information pages an information trigger opens over the level: a title and its text in a box
// (a follow-up page may replace it), or the two-page touch tutorial. A confirm key goes back to play;
// the left soft key, or the game coming back into view, pauses with the page kept for the resume.
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "game/cgame.h"
#include "game/cgame_text_ids.h"
#include "runtime/compiled.h"
#include "runtime/string.h"
#include "sprites/bsprite.h"

namespace {

// The touch controls page (the trigger's record value 16) is the two-page touch tutorial.
constexpr jint kTutorialPage = 118;
constexpr jint kPageTextBase = 102;
constexpr jint kTutorialPages = 2;
constexpr jint kTitleFont = 0, kBodyFont = 1, kPromptFont = 0;
constexpr jint kWrapWidth = 500, kTitleLineHeight = 60, kBodyLineHeight = 34;
constexpr jint kCentred = 3, kCentredTop = 1, kLeftMiddle = 2;
constexpr jint kBoxFill = 0x000000, kBoxLine = 0xFFFFFF;
// The tutorial's box in the dialogs' night blue: the fonts' light palettes do not read on white.
constexpr jint kTutorialFill = cGame::kDialogBoxFill, kTutorialLine = 0xFFFFFF;
constexpr jint kMusicChannel = 0;

bool tutorial() { return cGame::s_infoPage == kTutorialPage; }

jint lineCount(String* wrapped) {
    if (!wrapped) return 0;
    jint n = 1;
    for (jint i = 0; i < wrapped->length(); ++i)
        if (wrapped->charAt(i) == '\n') ++n;
    return n;
}

String* wrap(jint font, jint textId, jint width) {
    Bsprite* sprite = cGame::fontSprite(font);
    String* text = cGame::getString(textId);
    BX_RETURN_IF_PENDING(nullptr);
    return sprite && text ? sprite->WrapText(text, width) : nullptr;
}

// The current page's title and text, wrapped, and the box they need.
void preparePage() {
    cGame::s_infoTitle = wrap(kTitleFont, cGame::s_infoPage, kWrapWidth);
    BX_RETURN_IF_PENDING();
    cGame::s_infoBody = wrap(kBodyFont, jt::add(cGame::s_infoPage, 1), kWrapWidth);
    BX_RETURN_IF_PENDING();
    cGame::s_infoBoxHeight = kTitleLineHeight * lineCount(cGame::s_infoTitle) +
                             kBodyLineHeight * lineCount(cGame::s_infoBody);
}

void drawPage(jint font, jint palette, String* text, jint x, jint y, jint anchor) {
    Bsprite* sprite = cGame::fontSprite(font);
    if (!sprite || !text || !cGame::s_g) return;
    sprite->SetCurrentPalette(palette);
    sprite->DrawPage(cGame::s_g, text, x, y, anchor, 0, text->length());
}

void paintPrompt(jint y) {
    String* prompt = cGame::getString(text_id::kGoOnPrompt);
    BX_RETURN_IF_PENDING();
    if (prompt) prompt = prompt->toUpperCase();
    BX_RETURN_IF_PENDING();
    cGame::drawStringOnPlate(kPromptFont, 0, prompt, 400, y, kCentred);
}

void paintTutorial() {
    javax_microedition_lcdui_Graphics* g = cGame::s_g;
    BX_RETURN_IF_NULL(g);
    g->setClip(0, 0, cGame::kPortraitWidth, cGame::kPortraitHeight);
    g->setColor(kTutorialFill);
    g->fillRoundRect(50, 20, 380, 760, 40, 40);
    g->setColor(kTutorialLine);
    g->drawRoundRect(50, 20, 380, 760, 40, 40);
    Bsprite* touch = cGame::s_touchSprite;
    if (cGame::s_infoTutorialPage == 0) {
        if (touch) touch->PaintFrame(g, 0, 150, 230, 0, 0, 0);
        BX_RETURN_IF_PENDING();
        drawPage(kBodyFont, 1, wrap(kBodyFont, text_id::kHelpPage0, 483), 283, 230, kLeftMiddle);
    } else {
        if (touch) touch->PaintFrame(g, 12, 220, 330, 0, 0, 0);
        BX_RETURN_IF_PENDING();
        // Each text level with its button's picture, to the right of it.
        drawPage(kBodyFont, 1, wrap(kBodyFont, text_id::kHelpPage1First, 390), 283, 160, kLeftMiddle);
        BX_RETURN_IF_PENDING();
        if (touch) touch->PaintFrame(g, 13, 318, 387, 0, 0, 0);
        BX_RETURN_IF_PENDING();
        drawPage(kBodyFont, 1, wrap(kBodyFont, text_id::kHelpPage1Second, 390), 283, 325, kLeftMiddle);
    }
    BX_RETURN_IF_PENDING();
    paintPrompt(400);
}

void paintInfoBox() {
    const jint h = cGame::s_infoBoxHeight;
    const jint top = 200 - h / 2;
    cGame::drawFramedBox(kBoxFill, kBoxLine, 130, top, 540, h + 60);
    BX_RETURN_IF_PENDING();
    const jint titleHeight = kTitleLineHeight * lineCount(cGame::s_infoTitle);
    drawPage(kTitleFont, 0, cGame::s_infoTitle, 400, top + 30, kCentredTop);
    BX_RETURN_IF_PENDING();
    drawPage(kBodyFont, 0, cGame::s_infoBody, 400, top + 30 + titleHeight, kCentredTop);
    BX_RETURN_IF_PENDING();
    paintPrompt(top + h + 100);
}

}  // namespace

void cGame::stateInfoPages(cGame*, jint message) {
    switch (message) {
        case kMsgEnter:
            setSoftkeys(kSoftkeyNone, kSoftkeyIcon, false);
            s_infoTutorialPage = 0;
            s_infoPending = 0;
            preparePage();
            BX_RETURN_IF_PENDING();
            playLevelMusic();
            return;
        case kMsgUpdate: {
            const jint k = getReleasedKey();
            if (s_pendingAction == kActionNone && (k == kKeyFire || k == kKey5)) {
                if (tutorial()) {
                    if (++s_infoTutorialPage >= kTutorialPages) transitionToState(kStatePlay);
                } else if (s_infoPageArg > 1) {
                    // The follow-up replaces this page once; its own follow-up is not chained.
                    s_infoPage = jt::add(s_infoPageArg, kPageTextBase);
                    s_infoPageArg = 0;
                    preparePage();
                    BX_RETURN_IF_PENDING();
                } else {
                    transitionToState(kStatePlay);
                }
            } else if (k == kKeyLeftSoft || s_fullRedraw) {
                s_infoPending = 1;
                setState(kStatePauseMenu);
                pauseChannel(kMusicChannel);
            }
            updateTransition(true);
            return;
        }
        case kMsgPaint:
            paintGameScene();
            BX_RETURN_IF_PENDING();
            if (tutorial()) paintTutorial();
            else paintInfoBox();
            BX_RETURN_IF_PENDING();
            paintTransition();
            return;
        default:
            return;
    }
}
