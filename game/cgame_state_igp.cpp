// cGame's promotion screen state (31): the promotion paints an 800 x 480 off-screen picture, copied
// turned onto the portrait screen in 100 x 60 tiles; released keys become its action codes. Also
// where the promotion joins the game: its data read by the game-start load, its entry count for
// the menus, its stylus handlers.
// Invariant: every call into the promotion runs under the game lock (frames, show and hide, the
// pointer handlers), so the host thread's hit tests never meet a visit's end freeing its pictures.
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "game/cgame.h"
#include "game/cgame_text_ids.h"
#include "promo/igp.h"
#include "runtime/compiled.h"

using Image = javax_microedition_lcdui_Image;

namespace {

constexpr jint kLoadingText = text_id::kPromotionLoading;
constexpr jint kPictureWidth = 800, kPictureHeight = 480;
constexpr jint kTileWidth = 100, kTileHeight = 60;
constexpr jint kTileTransform = 5;
constexpr jint kTopLeft = 20;

// The game object's frame picture and its Graphics: the promotion's while it is shown, else 1 x 1.
void setFramePicture(cGame* game, jint width, jint height) {
    Image* picture = Image::createImage(width, height);
    BX_RETURN_IF_PENDING();
    BX_RETURN_IF_NULL(picture);
    game->m_frameImage = picture;
    game->m_frameImageGraphics = picture->getGraphics();
}

void showPicture(cGame* game) {
    for (jint x = 0; x < kPictureWidth; x += kTileWidth)
        for (jint y = 0; y < kPictureHeight; y += kTileHeight) {
            cGame::drawImageRegionClipped(game->m_frameImage, x, y, kTileWidth, kTileHeight, kTileTransform,
                                          cGame::kPortraitWidth - kTileHeight - y, x, kTopLeft);
            BX_RETURN_IF_PENDING();
        }
}

}  // namespace

void cGame::initPromotion() {
    IGP::initialize(s_midlet, s_canvas, kPictureWidth, kPictureHeight, nullptr);
}

jint cGame::promoEntryCount() { return IGP::getAvailableCount(); }

jint cGame::promotionAction(jint key) {
    switch (key) {
    case kKeyUp: case kKey2: return IGP::kActionUp;
    case kKeyDown: case kKey8: return IGP::kActionDown;
    case kKeyLeft: case kKey4: return IGP::kActionLeft;
    case kKeyRight: case kKey6: return IGP::kActionRight;
    case kKeyFire: case kKeyLeftSoft: return IGP::kActionSelect;
    case kKeyRightSoft: return IGP::kActionBack;
    default: return IGP::kActionNone;
    }
}

void cGame::stateIGP(cGame* game, jint message) {
    BX_RETURN_IF_NULL(game);
    switch (message) {
    case kMsgEnter:
        setSoftkeys(kSoftkeyNone, kSoftkeyNone, false);
        setFramePicture(game, kPictureWidth, kPictureHeight);
        BX_RETURN_IF_PENDING();
        IGP::enter(getString(kLoadingText), 0);
        BX_RETURN_IF_PENDING();
        stopAllSounds();
        return;
    case kMsgUpdate: {
        const jint action = promotionAction(getReleasedKey());
        game->m_savedGraphics = s_g;
        s_g = game->m_frameImageGraphics;
        IGP::paint(s_g);
        s_g = game->m_savedGraphics;
        game->m_savedGraphics = nullptr;
        BX_RETURN_IF_PENDING();
        showPicture(game);
        BX_RETURN_IF_PENDING();
        if (IGP::update(action)) {
            s_musicOnMenuEntry = 1;
            setState(kStateMainMenu);
            setFramePicture(game, 1, 1);
        }
        return;
    }
    case kMsgShow:
        IGP::notifyInterruption(false);
        return;
    case kMsgHide:
        IGP::notifyInterruption(true);
        return;
    default:
        return;
    }
}
