// The hero lost (its loss animation on black, one life taken) and the loss menu after it: retry from
// the checkpoint with the retry animation, or back to the main menu; with no lives left only the
// game-over text, and any confirm key leaves the level.
#include "actors/chero.h"
#include "game/cgame.h"
#include "game/cgame_text_ids.h"
#include "runtime/compiled.h"
#include "runtime/string.h"
#include "runtime/system_natives.h"
#include "sprites/bxlib_player.h"

namespace {

constexpr jint kHeroLossAnim = 62, kAltLossAnim = 0, kHeroRetryAnim = 55, kAltRetryAnim = 1;
constexpr jint kFigureX = 400, kFigureY = 240;
constexpr jint kMiddleSfx = 9;
constexpr jint kMusicChannel = 0;
constexpr jint kYes = text_id::kYes, kNo = text_id::kNo;
constexpr jint kTextFont = 0, kCentred = 3;
constexpr jint kMenuY = 360, kPromptBlinkBit = 0x200;

// The player's figure: the hero, or the alternate player on its levels.
BXLibPlayer* figure() {
    cActor* a = cGame::s_altPlayerLevel ? cGame::s_altPlayer : cGame::s_hero;
    return a ? a->player : nullptr;
}

void startFigure(jint heroAnim, jint altAnim, jint loops) {
    BXLibPlayer* p = figure();
    if (!p) return;
    p->SetAnimForced(cGame::s_altPlayerLevel ? altAnim : heroAnim, loops, true);
    p->x = kFigureX;
    p->y = kFigureY;
}

bool figureDone() {
    BXLibPlayer* p = figure();
    return !p || p->IsAnimOver();
}

void paintFigure() {
    BXLibPlayer* p = figure();
    if (!p || !p->sprite) return;
    p->Update(cGame::s_frameTime);
    p->Render();
}

void leaveLevel() { cGame::requestLoading(cGame::kLoadKindUnload, cGame::kStateMainMenu); }

}  // namespace

void cGame::stateHeroLost(cGame*, jint message) {
    switch (message) {
        case kMsgEnter:
            stopChannel(kMusicChannel);
            cHero::s_lives = jt::sub(cHero::s_lives, 1);
            startFigure(kHeroLossAnim, kAltLossAnim, 1);
            setSoftkeys(kSoftkeyNone, kSoftkeyNone, false);
            s_lossAnimStep = 0;
            return;
        case kMsgUpdate: {
            BXLibPlayer* p = figure();
            if (s_lossAnimStep == 0 && p && p->frame >= p->GetAnimFrameCount() / 2) {
                playSfx(kMiddleSfx);
                s_lossAnimStep = 1;
            }
            if (figureDone()) setState(kStateLossMenu);
            return;
        }
        case kMsgPaint:
            fillScreen(0x000000);
            paintFigure();
            return;
        default:
            return;
    }
}

void cGame::stateLossMenu(cGame*, jint message) {
    switch (message) {
        case kMsgEnter: {
            stopChannel(kMusicChannel);
            if (BXLibPlayer* p = figure()) {
                p->SetAnimForced(0, 0, true);
                p->x = kFigureX;
                p->y = kFigureY;
                p->flags = 0;
            }
            s_lossAnimStep = 0;
            // Game over offers no choice: no rows left for a tap to find.
            if (cHero::s_lives > 0) enterMenuScreen(kMenuNotRemembered, s_menuYesNo, 2);
            else setMenuItems(kMenuNotRemembered, nullptr, 0);
            return;
        }
        case kMsgUpdate: {
            if (cHero::s_lives <= 0) {
                const jint k = getReleasedKey();
                if (k == kKeyLeftSoft || k == kKeyFire || k == kKey5) leaveLevel();
                return;
            }
            if (s_lossAnimStep == 1) {
                if (!figureDone()) return;
                restartLevel(true);
                BX_RETURN_IF_PENDING();
                setState(kStatePlay);
                return;
            }
            const jint item = updateMenuScreen();
            if (item == kYes) {
                startFigure(kHeroRetryAnim, kAltRetryAnim, 1);
                s_lossAnimStep = 1;
            } else if (item == kNo) {
                leaveLevel();
            }
            return;
        }
        case kMsgPaint: {
            fillScreen(0xFFFFFF);
            paintFigure();
            BX_RETURN_IF_PENDING();
            if (cHero::s_lives <= 0) {
                drawStringOnPlate(kTextFont, 0, getString(text_id::kGameOver), 400, 270, kCentred);
                BX_RETURN_IF_PENDING();
                if (java_lang_System::currentTimeMillis() & kPromptBlinkBit)
                    drawStringOnPlate(kTextFont, 0, getString(text_id::kTapPrompt), 400, 410, kCentred);
                return;
            }
            drawStringOnPlate(kTextFont, 0, getString(text_id::kRetryQuestion), 400, 270, kCentred);
            BX_RETURN_IF_PENDING();
            if (s_lossAnimStep == 0) paintMenuList(kMenuY);
            BX_RETURN_IF_PENDING();
            paintTransition();
            return;
        }
        default:
            return;
    }
}
