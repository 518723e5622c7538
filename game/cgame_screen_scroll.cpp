// The two scrolling texts: the story intro (28) before the first level, which starts the level when
// skipped or read to its end, and the credits (18), which scroll round until the player goes back.
// Both keep the wrapped text, its height and the scroll position (landscape y of its top).
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "game/cgame.h"
#include "game/cgame_text_ids.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/static_class.h"
#include "runtime/string.h"
#include "sprites/bsprite.h"

jint cGameScreens::s_scrollY = 0;
jint cGameScreens::s_scrollHeight = 0;
jbyte cGameScreens::s_scrollEnded = 0;
String* cGameScreens::s_scrollText = nullptr;

namespace {

const StaticRefRegistration kStatics(CID_cGame, &cGame::s_scrollText);

constexpr jint kStoryText = text_id::kStory, kSkipText = text_id::kSkipKey;
constexpr jint kStoryWidth = 480, kStoryStart = 420, kStoryBand = 60, kStoryPanelPad = 24;
constexpr jint kCreditsText = text_id::kCreditsText, kEditionProperty = 70;
constexpr jint kCreditsWidth = 620, kCreditsStart = 448, kCreditsBand = 20;
constexpr jint kTitleMusic = 0;
constexpr jint kTextFont = 1;   // a line's pitch is its line spacing (box) plus its font height (gap)

jint lineCount(String* text) {
    if (!text) return 0;
    jint lines = 1;
    for (jint i = 0; i < text->length(); ++i)
        if (text->charAt(i) == '\n') ++lines;
    return lines;
}

bool held(jint a, jint b) { return cGame::isKeyDown(a) || cGame::isKeyDown(b); }

void drawScrollText() {
    Bsprite* font = cGame::fontSprite(kTextFont);
    if (!font || !cGame::s_scrollText || !cGame::s_g) return;
    font->SetCurrentPalette(0);
    font->DrawPageFull(cGame::s_g, cGame::s_scrollText, 400, cGame::s_scrollY, 1 | 16);
}

// Black bands of h landscape pixels along the top and bottom of the picture.
void paintBands(jint h) {
    if (!cGame::s_g) return;
    cGame::s_g->setClip(0, 0, cGame::kPortraitWidth, cGame::kPortraitHeight);
    cGame::s_g->setColor(0x000000);
    cGame::fillRectRotated(0, 0, 800, h);
    cGame::fillRectRotated(0, 480 - h, 800, h);
}

}  // namespace

void cGame::stateIntro(cGame*, jint message) {
    switch (message) {
        case kMsgEnter: {
            setSoftkeys(kSkipText, kSoftkeyNone, false);
            Bsprite* font = fontSprite(kTextFont);
            s_scrollText = font ? font->WrapText(getString(kStoryText), kStoryWidth) : nullptr;
            s_scrollHeight =
                font ? jt::mul(lineCount(s_scrollText), font->GetFontHeight() + font->GetLineSpacing()) : 0;
            s_scrollY = kStoryStart;
            s_scrollEnded = 0;
            stopAllSounds();
            loadInterfaceSprite(true);
            return;
        }
        case kMsgUpdate:
            if (s_pendingAction == kActionNone && (isKeyReleased(kKeyRightSoft) || s_scrollEnded))
                transitionToLevel(0);
            if (s_scrollY > -s_scrollHeight) {
                s_scrollY -= 2;
                if (held(cGame::kKeyUp, cGame::kKey2)) s_scrollY += 2;
                if (held(cGame::kKeyDown, cGame::kKey8)) s_scrollY -= 1;
            } else {
                s_scrollEnded = 1;
            }
            updateTransition(true);
            return;
        case kMsgPaint:
            fillScreen(0x000000);
            if (s_loadingPicture && s_g) {
                s_loadingPicture->SetCurrentPalette(1);
                s_loadingPicture->PaintFrame(s_g, 0, 400, 240, 0, 0, 0);
            }
            // The story scrolls on a dark panel: its light text would not read on the day sky.
            drawFramedBox(kTitlePlateFill, 0x0A0F1E, 400 - kStoryWidth / 2 - kStoryPanelPad, kStoryBand,
                          kStoryWidth + 2 * kStoryPanelPad, 480 - 2 * kStoryBand);
            setClipRotated(0, kStoryBand, 800, 480 - 2 * kStoryBand);
            drawScrollText();
            paintBands(kStoryBand);
            paintTransition();
            return;
        default:
            return;
    }
}

void cGame::stateScrollingText(cGame*, jint message) {
    switch (message) {
        case kMsgEnter: {
            setSoftkeys(kSoftkeyBack, kSoftkeyNone, false);
            String* edition = s_midlet ? s_midlet->getAppProperty(Runtime::ldcString(kEditionProperty)) : nullptr;
            BX_RETURN_IF_PENDING();
            String* text = formatText1(getString(kCreditsText), edition);
            Bsprite* font = fontSprite(kTextFont);
            s_scrollText = font ? font->WrapText(text, kCreditsWidth) : nullptr;
            s_scrollHeight =
                font ? jt::mul(lineCount(s_scrollText), font->GetFontHeight() + font->GetLineSpacing() + 1) : 0;
            s_scrollY = kCreditsStart;
            if (s_musicOnMenuEntry) {
                playMusic(kTitleMusic, false);
                s_musicOnMenuEntry = 0;
            }
            return;
        }
        case kMsgUpdate:
            if (isKeyReleased(kKeyRightSoft)) {
                setState(s_gameFinished && promoEntryCount() > 0 ? kStatePromotionQuestion : kStateMainMenu);
                s_musicOnMenuEntry = 1;
            }
            s_scrollY -= held(cGame::kKeyDown, cGame::kKey8) ? 4 : 2;
            if (s_scrollY < -s_scrollHeight) s_scrollY = kCreditsStart;
            return;
        case kMsgPaint:
            fillScreen(0x000000);
            drawScrollText();
            paintBands(kCreditsBand);
            return;
        default:
            return;
    }
}
