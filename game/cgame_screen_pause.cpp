// The pause menu over the frozen level (resume, restart, sound, pictures, leave, quit) and its sound
// settings. The scene is painted under a framed box; the questions ask before anything is lost.
#include <atomic>

#include "game/cgame.h"
#include "game/cgame_text_ids.h"
#include "runtime/array.h"
#include "runtime/compiled.h"

namespace {

constexpr jint kResume = text_id::kResume, kRestart = text_id::kRestart, kSound = text_id::kSound,
               kPictures = text_id::kHelp, kLeave = text_id::kLeaveLevel, kQuit = text_id::kQuit;
constexpr jint kRestartQuestion = text_id::kRestartQuestion, kLeaveQuestion = text_id::kLeaveQuestion,
               kQuitQuestion = text_id::kQuitQuestion;
constexpr jint kMusicOn = text_id::kMusicOn, kMusicOff = text_id::kMusicOff, kEffectsOn = text_id::kEffectsOn,
               kEffectsOff = text_id::kEffectsOff, kResetProgress = text_id::kResetProgress;
constexpr jint kBoxFill = 0x000000, kBoxLine = 0xFFFFFF;
constexpr jint kListY = 240;
constexpr jint kPauseRows = 3, kSoundRows = 2;   // the scroll arrows fit in the box above and below
constexpr jint kMusicChannel = 0;

void ask(jint textId) {
    cGame::showMessageBoxById(textId, 1, false);
    cGame::s_pendingAction = cGame::kActionOpenDialog;
}

void resume() {
    if (cGame::s_infoPending) {
        cGame::resumeAllSounds();
        cGame::transitionToState(cGame::kStateInfoPages);
    } else {
        cGame::transitionToState(cGame::kStatePlay);
    }
}

void runPauseAction(jint item) {
    switch (item) {
        case kResume:
            resume();
            break;
        case kRestart:
            ask(kRestartQuestion);
            break;
        case kSound:
            cGame::transitionToState(cGame::kStateSoundMenuInGame);
            break;
        case kPictures:
            cGame::transitionToState(cGame::kStatePictureBrowser);
            break;
        case kLeave:
            ask(kLeaveQuestion);
            break;
        case kQuit:
            ask(kQuitQuestion);
            break;
        default:
            break;
    }
}

// The answers of the three questions, each taken once.
void takeAnswers() {
    if (cGame::takeDialogAnswer(kRestartQuestion) == 1) {
        cGame::s_pauseForgetSelection = 1;
        cGame::s_heroMeterBonus = 0;
        cGame::restartLevel(false);
        BX_RETURN_IF_PENDING();
        cGame::setState(cGame::kStatePlay);
    }
    if (cGame::takeDialogAnswer(kLeaveQuestion) == 1) {
        cGame::s_pauseForgetSelection = 1;
        if (cGame::s_menuRemembered && cGame::s_menuRemembered->length > cGame::kMenuNumberMain)
            cGame::s_menuRemembered->set(cGame::kMenuNumberMain, 1);
        cGame::dropSceneCache();
        cGame::requestLoading(cGame::kLoadKindUnload, cGame::kStateMainMenu);
    }
    if (cGame::takeDialogAnswer(kQuitQuestion) == 1)
        std::atomic_ref<jint>(cGame::s_runFlag).store(-1, std::memory_order_release);   // the game thread reads it
}

void paintOverScene(jint boxY, jint boxH) {
    // Leaving: the picture stays as it was (a scene painted now would make the dropped cache again).
    if (cGame::s_stateChangePending && cGame::s_nextState != cGame::kStatePauseMenu &&
        cGame::s_nextState != cGame::kStateSoundMenuInGame)
        return;
    cGame::paintGameScene();
    BX_RETURN_IF_PENDING();
    cGame::drawFramedBox(kBoxFill, kBoxLine, 33, boxY, 734, boxH);
    BX_RETURN_IF_PENDING();
    if (!cGame::s_dialogOpen) cGame::paintMenuList(kListY);
    BX_RETURN_IF_PENDING();
    cGame::paintTransition();
    if (cGame::s_g) cGame::setClip(0, 0, cGame::kPortraitWidth, cGame::kPortraitHeight);
}

// The sound list as the switches stand, without the reset entry (that one belongs to the front end).
void installSoundList() {
    cGame::setMenuItems(cGame::kMenuNumberSoundInGame, cGame::s_menuSound, kSoundRows);
    cGame::replaceMenuItem(kMusicOn, cGame::s_musicOn ? kMusicOn : kMusicOff);
    cGame::replaceMenuItem(kEffectsOn, cGame::s_sfxOn ? kEffectsOn : kEffectsOff);
    cGame::disableMenuItem(kResetProgress, true);
}

}  // namespace

void cGame::statePauseMenu(cGame*, jint message) {
    switch (message) {
        case kMsgEnter:
            enterMenuScreen(kMenuNumberPause, s_menuPause, kPauseRows);
            BX_RETURN_IF_PENDING();
            setSoftkeys(kSoftkeyNone, kSoftkeyNone, false);
            cGame::s_pauseForgetSelection = 0;
            return;
        case kMsgUpdate: {
            takeAnswers();
            BX_RETURN_IF_PENDING();
            if (s_stateChangePending) return;
            if (screenTakesInput() && !s_dialogOpen && isKeyReleased(kKeyRightSoft)) {
                cGame::s_pauseForgetSelection = 1;
                resume();
            }
            const jint item = updateMenuScreen();
            if (item >= 0) runPauseAction(item);
            return;
        }
        case kMsgPaint:
            paintOverScene(60, 360);
            return;
        case kMsgExit:
            rememberMenuSelection(kMenuNumberPause);
            if (cGame::s_pauseForgetSelection && s_menuRemembered && s_menuRemembered->length > kMenuNumberPause)
                s_menuRemembered->set(kMenuNumberPause, 0);
            return;
        case kMsgShow:
            s_dialogAnswered = false;
            s_dialogChoice = -1;
            return;
        default:
            return;
    }
}

void cGame::stateSoundMenuInGame(cGame*, jint message) {
    switch (message) {
        case kMsgEnter:
            enterMenuScreen(kMenuNumberSoundInGame, s_menuSound, kSoundRows);
            BX_RETURN_IF_PENDING();
            installSoundList();
            setSoftkeys(kSoftkeyBack, kSoftkeyNone, false);
            return;
        case kMsgUpdate:
            if (screenTakesInput() && !s_dialogOpen && isKeyReleased(kKeyRightSoft))
                transitionToState(kStatePauseMenu);
            switch (updateMenuScreen()) {
                case kMusicOn:
                case kMusicOff:
                    // Switched on, nothing starts here: play starts the level's music when entered.
                    if (s_musicOn) stopChannel(kMusicChannel);
                    s_musicOn = !s_musicOn;
                    replaceMenuItem(s_musicOn ? kMusicOff : kMusicOn, s_musicOn ? kMusicOn : kMusicOff);
                    s_pendingAction = kActionReopen;
                    break;
                case kEffectsOn:
                case kEffectsOff:
                    s_sfxOn = !s_sfxOn;
                    replaceMenuItem(s_sfxOn ? kEffectsOff : kEffectsOn, s_sfxOn ? kEffectsOn : kEffectsOff);
                    s_pendingAction = kActionReopen;
                    break;
                default:
                    break;
            }
            return;
        case kMsgPaint:
            paintOverScene(165, 150);
            return;
        case kMsgExit:
            saveData();
            rememberMenuSelection(kMenuNumberSoundInGame);
            return;
        default:
            return;
    }
}
