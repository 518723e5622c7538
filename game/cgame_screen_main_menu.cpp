// The main menu (6) and the promotion question (30). The main menu's list drops the level select
// until a level has been reached and the promotion entry while the promotion has nothing to show;
// new game over existing progress and quit both ask first.
#include <atomic>

#include "game/cgame.h"
#include "game/cgame_text_ids.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/string.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"

namespace {

constexpr jint kNewGame = text_id::kNewGame, kLevelSelect = text_id::kLevelSelect, kPromotion = text_id::kPromotion, kSound = text_id::kSound,
               kHelp = text_id::kHelp, kCredits = text_id::kCredits, kQuit = text_id::kQuit;
constexpr jint kProgressQuestion = text_id::kProgressQuestion, kQuitQuestion = text_id::kQuitQuestion;
constexpr jint kMainListY = 285;
constexpr jint kYes = text_id::kYes, kNo = text_id::kNo;
constexpr jint kPromotionQuestionText = text_id::kPromotionQuestion;
constexpr jint kQuestionListY = 360;
constexpr jint kTitleMusic = 0;
constexpr jint kMusicChannel = 0;

void ask(jint textId) {
    cGame::showMessageBoxById(textId, 1, false);
    cGame::s_pendingAction = cGame::kActionOpenDialog;
}

void runMainMenuAction(jint item) {
    switch (item) {
        case kNewGame:
            if (cGame::highestLevelReached() < 0 && cGame::s_saveBuffer &&
                cGame::s_saveBuffer->get(cGame::kSaveMenuProgressByte) <= 0) {
                cGame::transitionToState(cGame::kStateDifficultyMenu);
            } else {
                ask(kProgressQuestion);
            }
            return;
        case kLevelSelect:
            cGame::transitionToState(cGame::kStateLevelSelect);
            return;
        case kPromotion:
            cGame::transitionToState(cGame::kStateIGP);
            return;
        case kSound:
            if (cGame::s_menuRemembered) cGame::s_menuRemembered->set(cGame::kMenuNumberSound, 0);
            cGame::transitionToState(cGame::kStateSoundMenu);
            return;
        case kHelp:
            cGame::transitionToState(cGame::kStatePictureBrowser);
            return;
        case kCredits:
            cGame::transitionToState(cGame::kStateScrollingText);
            return;
        case kQuit:
            ask(kQuitQuestion);
            return;
        default:
            return;
    }
}

}  // namespace

void cGame::stateMainMenu(cGame*, jint message) {
    switch (message) {
        case kMsgEnter: {
            enterMenuScreen(kMenuNumberMain, s_menuMain, 3);
            if (highestLevelReached() < 0) disableMenuItem(kLevelSelect, true);
            if (promoEntryCount() < 1) {
                disableMenuItem(kPromotion, true);
            } else {
                replaceMenuItem(kPromotion, kPromotion | kMenuSpecial);
            }
            setSoftkeys(kSoftkeyNone, kSoftkeyNone, false);
            s_gameFinished = 0;
            if (s_musicOnMenuEntry) {
                playMusic(kTitleMusic, false);
            } else if (s_prevState == kStateLoading && !BXLibPlayer::SndIsPlaying(kMusicChannel)) {
                playMusic(kTitleMusic, false);
            }
            return;
        }
        case kMsgUpdate: {
            if (checkCheatSequence()) s_cheatMode = !s_cheatMode;
            const jint progress = takeDialogAnswer(kProgressQuestion);
            if (progress == 1) {
                createDefaultSave();
                BX_RETURN_IF_PENDING();
                setState(kStateDifficultyMenu);
            }
            if (takeDialogAnswer(kQuitQuestion) == 1)
                std::atomic_ref<jint>(s_runFlag).store(-1, std::memory_order_release);  // the game thread reads it
            const jint item = updateMenuScreen();
            if (item >= 0) runMainMenuAction(item);
            return;
        }
        case kMsgPaint:
            paintMenuScreen(kMainListY);
            return;
        case kMsgExit:
            rememberMenuSelection(kMenuNumberMain);
            return;
        case kMsgShow:
            s_dialogAnswered = false;
            resumeAllSounds();
            return;
        default:
            return;
    }
}

void cGame::statePromotionQuestion(cGame*, jint message) {
    switch (message) {
        case kMsgEnter: {
            enterMenuScreen(kMenuNotRemembered, s_menuYesNo, 2);
            setSoftkeys(kSoftkeyNone, kSoftkeyNone, false);
            Bsprite* font = fontSprite(0);
            s_scrollText = font ? font->WrapText(getString(kPromotionQuestionText), 780) : nullptr;
            if (s_musicOn) stopChannel(kMusicChannel);
            return;
        }
        case kMsgUpdate: {
            const jint item = updateMenuScreen();
            if (item == kYes) setState(kStateIGP);
            if (item == kNo) setState(kStateMainMenu);
            return;
        }
        case kMsgPaint: {
            fillScreen(0x000000);
            Bsprite* font = fontSprite(0);
            if (font && s_scrollText && s_g) font->DrawPageFull(s_g, s_scrollText, 400, 270, 1 | 32);
            if (!s_dialogOpen) paintMenuList(kQuestionListY);
            paintTransition();
            return;
        }
        default:
            return;
    }
}
