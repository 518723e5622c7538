// The frame every menu screen shares (the list handed to the menu engine, the confirm blink, the
// transition, the white backdrop with the title picture), and the small helpers the front-end screens
// use: the title picture and the shutters, the dialog answers, the save bytes they change, music.
// A choice acts once: its blink ends, the screen runs the action, and the chosen entry is cleared.
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/log.h"
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"
#include "sprites/interface_frames.h"

jbyte cGameScreens::s_musicOnMenuEntry = 0;
jbyte cGameScreens::s_gameFinished = 0;

namespace {

// Used by this file only.
jint g_menuChosenIndex = -1;   // the row of the last choice, remembered on leaving

constexpr jint kConfirmSfx = 7;
constexpr jint kTitleMusic = 0;
constexpr jint kMusicChannel = 0;
constexpr jint kPictureX = 400, kPictureY = 240;


}  // namespace

bool cGame::screenTakesInput() { return s_pendingAction == kActionNone && s_transitionPhase >= 0; }

void cGame::startOpeningTransition() {
    s_transitionPhase = 1;
    s_transitionTime = 0;
}

void cGame::enterMenuScreen(jint menu, IntArray* items, jint visibleRows) {
    setMenuItems(menu, items, visibleRows);
    loadInterfaceSprite(true);   // a level load drops the title picture
    s_chosen = -1;
    s_chosenBlink = 0;
    g_menuChosenIndex = -1;
    startOpeningTransition();
}

jint cGame::updateMenuScreen() {
    jint acted = -1;
    if (screenTakesInput()) {
        // A choice in progress finishes: a scroll during its blink would clear the selection that
        // the painter counts the blink down on, and the choice would never act.
        if (s_chosen == -1) menuNavigate();
        const jint k = getReleasedKey();
        if (s_chosen == -1 && isConfirmKey(k) && s_menuSelection >= 0 && s_menuSelection < s_menuCount) {
            const jint item = s_menuItems->get(s_menuSelection);
            if (item >= 0) {   // a disabled row (bit 31) is never chosen
                playSfx(kConfirmSfx);
                s_chosen = item;
                s_chosenBlink = kBlinkFrames;
                g_menuChosenIndex = s_menuSelection;
            }
        }
        // A chosen row no longer shown (its list changed under it) has nothing left to blink.
        if (s_chosen != -1 && (s_chosenBlink <= 0 || s_menuSelection < 0)) {
            acted = s_chosen & kMenuTextMask;
            s_chosen = -1;
            s_menuSelection = -1;
        }
    }
    updateTransition(true);
    return acted;
}

void cGame::rememberMenuSelection(jint menu) {
    if (menu < 0 || !s_menuRemembered || menu >= s_menuRemembered->length) return;
    s_menuRemembered->set(menu, g_menuChosenIndex < 0 ? 0 : g_menuChosenIndex);
}

jint cGame::takeDialogAnswer(jint textId) {
    if (!s_dialogAnswered || s_dialogTextId != textId) return -1;
    s_dialogAnswered = false;
    s_dialogTextId = -1;
    const jint choice = s_dialogChoice;
    s_dialogChoice = -1;
    startOpeningTransition();
    return choice;
}

void cGame::transitionToState(jint state) {
    s_loadTarget = state;
    s_pendingAction = kActionLoadTarget;
}

void cGame::transitionToLevel(jint level) {
    setLevel(level);
    s_levelLoaded = 0;
    s_loadKind = kLoadKindLevel;
    s_loadTarget = kStatePlay;
    s_pendingAction = kActionLoad;
}

void cGame::fillScreen(jint rgb) {
    javax_microedition_lcdui_Graphics* g = s_g;
    BX_RETURN_IF_NULL(g);
    g->setClip(0, 0, kPortraitWidth, kPortraitHeight);
    g->setColor(rgb);
    g->fillRect(0, 0, kPortraitWidth, kPortraitHeight);
}

void cGame::paintTitlePicture(jint anim, jint palette) {
    BXLibPlayer* player = s_loadingPlayer;
    if (!player || !s_loadingPicture) return;
    s_loadingPicture->SetCurrentPalette(palette);
    if (player->anim != anim) {
        player->SetAnim(anim, 0);
        player->SetFrame(0);
    }
    player->x = kPictureX;
    player->y = kPictureY;
    player->Update(s_frameTime);
    player->Render();
}

void cGame::paintTransition() {
    BXLibPlayer* player = s_transitionPlayer;
    if (s_transitionPhase == 0 || !player) return;
    player->x = kPictureX;
    player->y = kPictureY;
    player->Update(s_frameTime);
    player->Render();
}

void cGame::paintMenuScreen(jint centreY) {
    fillScreen(0xFFFFFF);
    paintTitlePicture(TitlePicture::kMenuAnim, 1);
    if (!s_dialogOpen) paintMenuList(centreY);
    paintTransition();
    if (s_g) s_g->setClip(0, 0, kPortraitWidth, kPortraitHeight);
}

jint cGame::highestLevelReached() {
    if (!s_saveBuffer || s_saveBuffer->length <= kSaveHighestLevelByte) return -1;
    return s_saveBuffer->get(kSaveHighestLevelByte);
}

void cGame::saveRecordByte(jint index, jint value) {
    if (!s_saveBuffer || index < 0 || index >= kSaveRecordSize) return;
    s_saveBuffer->set(index, static_cast<jbyte>(value));
    saveData();
}

void cGame::setMusic(bool on) {
    if (on) {
        s_musicOn = true;
        playMusic(kTitleMusic, false);
        return;
    }
    stopChannel(kMusicChannel);
    s_musicOn = false;
}

namespace {

const StaticStartValues kStartValues(&cGameScreens::s_musicOnMenuEntry, &cGameScreens::s_gameFinished,
                                     &g_menuChosenIndex, &cGameScreens::s_scrollY,
                                     &cGameScreens::s_scrollHeight, &cGameScreens::s_scrollEnded,
                                     &cGameScreens::s_scrollText, &cGameScreens::s_helpPage,
                                     &cGameScreens::s_helpFromPause, &cGameScreens::s_levelSelectLast,
                                     &cGameScreens::s_levelSelectArrow, &cGameScreens::s_levelSelectArrowStep,
                                     &cGameScreens::s_levelSelectItems);

}  // namespace

void cGameScreens::resetStatics() { kStartValues.restore(); }
