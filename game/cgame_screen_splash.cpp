// The splash (3): the title over a black screen waiting for a tap or fire. A first run whose
// application property says sound on starts with music and effects on; otherwise the player is
// asked once whether to play with sound.
#include "game/cgame.h"
#include "game/cgame_text_ids.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/system_natives.h"
#include "sprites/bsprite.h"
#include "sprites/interface_frames.h"

namespace {

constexpr jint kSoundQuestion = text_id::kSoundQuestion;
constexpr jint kTapText = text_id::kTapPrompt;
constexpr jint kTitleMusic = 0;
constexpr jint kBlinkBit = 0x200;   // text 35 shows while this bit of the clock is set

void setSound(bool on) {
    cGame::s_sfxOn = on;
    cGame::setMusic(on);
}

}  // namespace

void cGame::stateSplash(cGame*, jint message) {
    switch (message) {
        case kMsgEnter:
            setSoftkeys(kSoftkeyNone, kSoftkeyNone, false);
            loadInterfaceSprite(true);
            if (isAppPropertyTrue()) {
                if (s_firstRun) {
                    s_musicOn = true;
                    s_sfxOn = true;
                    playMusic(kTitleMusic, false);
                }
            } else {
                showMessageBoxById(kSoundQuestion, 1, false);
                s_pendingAction = kActionOpenDialog;
            }
            startOpeningTransition();
            s_logoImage = nullptr;
            if (s_screenImages && s_screenImages->length > 1) s_screenImages->set(1, nullptr);
            return;
        case kMsgUpdate: {
            const jint answer = takeDialogAnswer(kSoundQuestion);
            if (answer >= 0) setSound(answer == 1);
            updateTransition(true);
            if (!screenTakesInput() || s_dialogOpen) return;
            const jint k = getReleasedKey();
            if (k == kKeyFire || k == kKey5) setState(kStateMainMenu);
            return;
        }
        case kMsgPaint:
            fillScreen(0x000000);
            if (!s_dialogOpen) {
                paintTitlePicture(TitlePicture::kSplashAnim, 0);
                if (s_loadingPicture) s_loadingPicture->SetCurrentPalette(1);
                if ((java_lang_System::currentTimeMillis() & kBlinkBit) != 0)
                    drawStringOnPlate(0, 0, getString(kTapText), 400, 410, 3);
            }
            paintTransition();
            return;
        default:
            return;
    }
}
