// The dialog overlay's content and keys: a message box (any confirm key closes it) or a two-answer
// question (answered by touching an answer, cancelled by the right soft key when allowed). Preparing
// one does not open it: pending action 2 does, on the next transition.
#include "game/cgame.h"
#include "runtime/compiled.h"
#include "runtime/static_class.h"
#include "runtime/string.h"
#include "sprites/bsprite.h"

bool cGameMenus::s_dialogOpen = false;
jint cGameMenus::s_dialogType = 0;
jint cGameMenus::s_dialogTextId = -1;
String* cGameMenus::s_dialogText = nullptr;
String* cGameMenus::s_wrappedText = nullptr;
jint cGameMenus::s_dialogTextHeight = 0;
jint cGameMenus::s_dialogChoice = -1;
bool cGameMenus::s_dialogCancelable = false;
bool cGameMenus::s_dialogAnswered = false;

namespace {

const StaticRefRegistration kStatics(CID_cGame, &cGame::s_dialogText, &cGame::s_wrappedText);

constexpr jint kDialogFont = 1, kWrapWidth = 660;
constexpr jint kMessageBox = 0, kQuestion = 1;
constexpr jint kMoveSound = 10, kConfirmSound = 7;

bool isMoveKey(jint k) {
    return k == cGame::kKeyUp || k == cGame::kKey2 || k == cGame::kKeyDown || k == cGame::kKey8;
}

// The text wrapped for the box and its height; with no dialog font the text is kept unwrapped.
void setDialogText(String* text) {
    cGame::s_dialogText = text;
    cGame::s_wrappedText = text;
    cGame::s_dialogTextHeight = 0;
    if (Bsprite* font = cGame::fontSprite(kDialogFont)) {
        String* lines = font->WrapText(text, kWrapWidth);
        BX_RETURN_IF_PENDING();
        cGame::s_wrappedText = lines;
        font->MeasureText(lines, nullptr);
        BX_RETURN_IF_PENDING();
        cGame::s_dialogTextHeight = ASprite::s_textHeight;
    }
    cGame::s_redraw = true;
}

}  // namespace

void cGame::showMessageBox(String* text) {
    s_dialogAnswered = false;
    s_dialogType = kMessageBox;
    s_dialogTextId = -1;
    setDialogText(text);
}

void cGame::showMessageBoxById(jint textId, jint /*defaultChoice*/, bool cancelable) {
    s_dialogAnswered = false;   // a new question never takes an answer nobody read
    s_dialogType = kQuestion;
    s_dialogCancelable = cancelable;
    s_dialogTextId = textId;
    String* text = getString(textId);
    BX_RETURN_IF_PENDING();
    setDialogText(text);
    s_dialogChoice = -1;
    s_redraw = true;
}

bool cGame::updateDialogInput() {
    const jint k = getReleasedKey();
    const bool question = s_dialogType == kQuestion;
    // Once an answer is confirmed it blinks and then acts; keys in between change nothing.
    const bool confirming = s_chosen != -1;
    if (question && !confirming && isMoveKey(k)) {
        playSfx(kMoveSound);
        s_redraw = true;
        s_dialogChoice = -1;
    }
    if (isConfirmKey(k)) {
        playSfx(kConfirmSound);
        if (!question) {
            s_chosenBlink = -1;
            s_chosen = kActionCloseDialog;
        } else if (s_dialogChoice != -1) {
            s_chosenBlink = kBlinkFrames;
            s_chosen = kActionCloseDialog;
        }
    }
    if (question && !confirming && s_dialogCancelable && k == kKeyRightSoft) {
        s_dialogChoice = 2;
        s_dialogAnswered = true;
        s_pendingAction = kActionCloseDialog;
        s_dialogOpen = false;
    }
    if (s_chosen != -1 && s_chosenBlink < 1) {
        s_chosenBlink = 0;
        s_pendingAction = s_chosen;
        // Only a question leaves an answer; a closed message box leaves none for the next question.
        s_dialogAnswered = question;
        s_menuSelection = -1;
    }
    return updateTransition(true);
}
