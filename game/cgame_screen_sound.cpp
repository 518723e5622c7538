// The sound settings (8) and the difficulty choice (27). Each change of a setting is written to the
// save record; the sound screen's entries swap their labels in place and re-open the screen, its
// reset entry exists only while there is progress to erase.
#include "game/cgame.h"
#include "game/cgame_text_ids.h"
#include "runtime/array.h"
#include "runtime/compiled.h"

namespace {

constexpr jint kMusicOn = text_id::kMusicOn, kMusicOff = text_id::kMusicOff, kEffectsOn = text_id::kEffectsOn, kEffectsOff = text_id::kEffectsOff,
               kResetProgress = text_id::kResetProgress;
constexpr jint kResetQuestion = text_id::kProgressQuestion, kResetDone = text_id::kProgressErased;
constexpr jint kSoundListY = 285;
constexpr jint kNormal = text_id::kDifficultyNormal, kHard = text_id::kDifficultyHard;
constexpr jint kDifficultyTitle = text_id::kDifficultyTitle;
constexpr jint kDifficultyListY = 318;

// The list as it stands: labels from the switches, the reset entry only with progress.
void installSoundList() {
    cGame::setMenuItems(cGame::kMenuNumberSound, cGame::s_menuSound, 3);
    cGame::replaceMenuItem(kMusicOn, cGame::s_musicOn ? kMusicOn : kMusicOff);
    cGame::replaceMenuItem(kEffectsOn, cGame::s_sfxOn ? kEffectsOn : kEffectsOff);
    if (cGame::highestLevelReached() < 0) cGame::disableMenuItem(kResetProgress, true);
}

void reopen() { cGame::s_pendingAction = cGame::kActionReopen; }

}  // namespace

void cGame::stateSoundMenu(cGame*, jint message) {
    switch (message) {
        case kMsgEnter:
            enterMenuScreen(kMenuNumberSound, s_menuSound, 3);
            installSoundList();
            setSoftkeys(kSoftkeyBack, kSoftkeyNone, false);
            return;
        case kMsgUpdate: {
            if (takeDialogAnswer(kResetQuestion) == 1) {
                createDefaultSave();
                BX_RETURN_IF_PENDING();
                installSoundList();
                showMessageBox(getString(kResetDone));
                s_pendingAction = kActionOpenDialog;
            }
            if (screenTakesInput() && !s_dialogOpen &&
                isKeyReleased(kKeyRightSoft)) {
                transitionToState(kStateMainMenu);
            }
            switch (updateMenuScreen()) {
                case kMusicOn:
                case kMusicOff:
                    setMusic(!s_musicOn);
                    replaceMenuItem(s_musicOn ? kMusicOff : kMusicOn, s_musicOn ? kMusicOn : kMusicOff);
                    reopen();
                    break;
                case kEffectsOn:
                case kEffectsOff:
                    s_sfxOn = !s_sfxOn;
                    replaceMenuItem(s_sfxOn ? kEffectsOff : kEffectsOn, s_sfxOn ? kEffectsOn : kEffectsOff);
                    reopen();
                    break;
                case kResetProgress:
                    showMessageBoxById(kResetQuestion, 1, false);
                    s_pendingAction = kActionOpenDialog;
                    break;
                default:
                    break;
            }
            return;
        }
        case kMsgPaint:
            paintMenuScreen(kSoundListY);
            return;
        case kMsgExit:
            saveData();
            rememberMenuSelection(kMenuNumberSound);
            return;
        default:
            return;
    }
}

void cGame::stateDifficultyMenu(cGame*, jint message) {
    switch (message) {
        case kMsgEnter:
            enterMenuScreen(kMenuNotRemembered, s_menuDifficulty, 2);
            setSoftkeys(kSoftkeyBack, kSoftkeyNone, false);
            return;
        case kMsgUpdate: {
            if (screenTakesInput() && isKeyReleased(kKeyRightSoft)) {
                setState(kStateMainMenu);
                return;
            }
            const jint item = updateMenuScreen();
            if (item == kNormal || item == kHard) {
                s_difficulty = item == kNormal ? 1 : 2;
                saveRecordByte(kSaveSettingByte, s_difficulty);
                BX_RETURN_IF_PENDING();
                setState(kStateIntro);
            }
            return;
        }
        case kMsgPaint:
            paintMenuScreen(kDifficultyListY);
            drawStringOnPlate(0, 0, getString(kDifficultyTitle), 400, 160, 3);
            return;
        default:
            return;
    }
}
