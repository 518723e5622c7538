// The help browser (29): nine pages of pictures and texts, turned with the arrow keys or the two
// page arrows; back returns to the menu it was opened from. The pictures are frames of the touch
// buttons or running animations of the permanent sprites.
#include "game/cgame.h"
#include "game/cgame_text_ids.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/string.h"
#include "runtime/string_buffer.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"
#include "sprites/interface_frames.h"

jint cGameScreens::s_helpPage = 0;
jbyte cGameScreens::s_helpFromPause = 0;

namespace {

constexpr jint kTitleText = text_id::kHelp;
constexpr jint kPageSeparatorLiteral = 191;
constexpr jint kSpritePackLiteral = 138;
constexpr jint kTouchSpriteItem = 40;
constexpr jint kTurnSfx = 10;
constexpr jint kLeftArrowX = 330, kRightArrowX = 470, kArrowY = 425;
constexpr jint kTouch = -1;   // a picture of the touch-button sprite
// Pages with an icon column: each icon sits centred on a plate of one size, level with the middle
// of its text, so icons of different sizes line up.
constexpr jint kIconColumnX = 100, kIconPlateW = 136, kIconPlateH = 100;
constexpr jint kIconPlateFill = 0x141C30, kIconPlateLine = 0x2B3A5E;
constexpr jint kTextFont = 1;
// A page of text alone spans the picture, its lines centred: no empty icon column beside it.
constexpr jint kWideTextWidth = 660, kWideTextX = 400;
constexpr jint kLinesLeft = 4 | 2, kLinesCentred = 1 | 2;   // each line on its own middle

struct Picture {
    jint sprite;   // kTouch, or a sprite number of s_sprites
    jint frameOrAnim;
    jint x, y;
    jint times;    // painted this many times at the same place
};
struct Text {
    jint id, width, x, y;
};
struct Page {
    Picture pictures[3];
    jint pictureCount;
    Text texts[3];
    jint textCount;
    bool iconColumn;   // picture i is the icon of text i
};

constexpr Page kPages[cGame::kHelpPageCount] = {
    {{{kTouch, 0, 150, 230, 5}}, 1, {{text_id::kHelpPage0, 483, 283, 200}}, 1, false},
    {{{kTouch, 12, 220, 330, 5}, {kTouch, 13, 318, 387, 5}}, 2, {{text_id::kHelpPage1First, 483, 283, 160}, {text_id::kHelpPage1Second, 483, 283, 320}}, 2, false},
    {{{7, 3, 100, 120, 5}, {7, 4, 100, 300, 1}}, 2, {{text_id::kHelpPage2First, 566, 200, 120}, {text_id::kHelpPage2Second, 566, 200, 300}}, 2, true},
    {{{7, 1, 100, 120, 1}, {7, 2, 100, 225, 1}, {7, 0, 100, 330, 1}},
     3,
     {{text_id::kHelpPage3First, 566, 200, 120}, {text_id::kHelpPage3Second, 566, 200, 225}, {text_id::kHelpPage3Third, 566, 200, 330}},
     3,
     true},
    {{{16, 2, 100, 135, 1}, {16, 1, 100, 325, 1}}, 2, {{text_id::kHelpPage4First, 566, 200, 135}, {text_id::kHelpPage4Second, 566, 200, 325}}, 2, true},
    {{{16, 0, 100, 120, 1}, {25, 0, 100, 333, 1}}, 2, {{text_id::kHelpPage5First, 566, 200, 120}, {text_id::kHelpPage5Second, 566, 200, 300}}, 2, true},
    {{{33, 0, 100, 135, 1}, {kTouch, 24, 20, 385, 5}}, 2, {{text_id::kHelpPage6First, 566, 200, 120}, {text_id::kHelpPage6Second, 566, 200, 300}}, 2, true},
    {{}, 0, {{text_id::kHelpPage7, kWideTextWidth, kWideTextX, 225}}, 1, false},
    {{}, 0, {{text_id::kHelpPage8, kWideTextWidth, kWideTextX, 225}}, 1, false},
};

Bsprite* spriteAt(jint n) {
    if (!cGame::s_sprites || n < 0 || n >= cGame::s_sprites->length) return nullptr;
    Object* s = cGame::s_sprites->get(n);
    return s && s->classId() == CID_Bsprite ? static_cast<Bsprite*>(s) : nullptr;
}

void loadTouchSpriteWhenMissing() {
    if (cGame::s_touchSprite) return;
    cGame::packOpen(Runtime::ldcString(kSpritePackLiteral));
    Bsprite* sprite = cGame::loadSpriteFlags(kTouchSpriteItem, 1, false, false);
    cGame::packClose();
    BX_RETURN_IF_PENDING();
    cGame::s_touchSprite = sprite;
}

// The sprite and frame a picture shows now; false when its sprite is missing.
bool pictureFrame(const Picture& p, Bsprite*& sprite, jint& aframe) {
    sprite = p.sprite == kTouch ? cGame::s_touchSprite : spriteAt(p.sprite);
    if (!sprite) return false;
    if (p.sprite == kTouch) return true;
    const jint frames = sprite->GetAFrames(p.frameOrAnim);
    if (frames < 1) return false;
    aframe = (cGame::s_frameCounter >> 1) % frames;
    return true;
}

// The picture drawn with its anchor at (x, y).
void paintPictureAt(const Picture& p, jint x, jint y) {
    javax_microedition_lcdui_Graphics* g = cGame::s_g;
    Bsprite* sprite = nullptr;
    jint aframe = 0;
    if (!pictureFrame(p, sprite, aframe)) return;
    for (jint i = 0; i < p.times; ++i) {
        if (p.sprite == kTouch) sprite->PaintFrame(g, p.frameOrAnim, x, y, 0, 0, 0);
        else sprite->PaintAFrame(g, p.frameOrAnim, aframe, x, y, 0, 0, 0);
        BX_RETURN_IF_PENDING();
    }
}

void paintPicture(const Picture& p) { paintPictureAt(p, p.x, p.y); }

// The landscape y of a text's middle: its lines are centred on t.y as a block of line pitches, each
// line's glyph box (the font's line spacing) hanging below its place, so the middle is half a box
// below t.y whatever the number of lines.
jint textMiddle(const Text& t) {
    Bsprite* font = cGame::fontSprite(kTextFont);
    return font ? t.y + font->GetLineSpacing() / 2 : t.y;
}

// An icon of the icon column: a plate level with the middle of its text, the picture's measured
// box centred on it (measured on the portrait screen, turned back to the landscape picture).
void paintIcon(const Picture& p, const Text& t) {
    const jint cx = kIconColumnX, cy = textMiddle(t);
    cGame::drawFramedBox(kIconPlateFill, kIconPlateLine, cx - kIconPlateW / 2, cy - kIconPlateH / 2, kIconPlateW,
                         kIconPlateH);
    Bsprite* sprite = nullptr;
    jint aframe = 0;
    IntArray* box = Runtime::newIntArray(4);
    if (!box || !pictureFrame(p, sprite, aframe)) return;
    if (p.sprite == kTouch) sprite->GetFrameRect(box, p.frameOrAnim, p.x, p.y, 0);
    else sprite->GetAFrameRect(box, p.frameOrAnim, aframe, p.x, p.y, 0);
    BX_RETURN_IF_PENDING();
    // Portrait (px, py) shows landscape (py, 480 - px).
    const jint boxX = (box->get(1) + box->get(3)) / 2, boxY = cGame::kPortraitWidth - (box->get(0) + box->get(2)) / 2;
    paintPictureAt(p, p.x + cx - boxX, p.y + cy - boxY);
}

void paintText(const Text& t, jint anchor) {
    Bsprite* font = cGame::fontSprite(kTextFont);
    if (!font) return;
    String* text = cGame::getString(t.id);
    ShortArray* lines = font->SplitText(text, t.width);
    if (!lines) return;
    font->DrawPageB(cGame::s_g, text, lines, t.x, t.y, 0, lines->get(0), anchor, -1);
}

// "page/9" at the bottom of the picture.
String* pageNumber(jint page) {
    auto* b = new StringBuffer();
    if (!b) return nullptr;
    b->initWithCapacity(8);
    b->appendInt(page + 1);
    b->appendString(Runtime::ldcString(kPageSeparatorLiteral));
    b->appendInt(cGame::kHelpPageCount);
    return b->toString();
}

// The arrow player on its idle animation again once its press has played.
void idleWhenOver(BXLibPlayer* player, jint press, jint idle) {
    if (player->anim == press && player->loops >= 0 && player->finished) cGame::startPlayerAnim(player, idle, 0);
}

void paintArrow(BXLibPlayer* player, jint x, bool pressed, jint press, jint idle) {
    if (!player) return;
    idleWhenOver(player, press, idle);
    player->x = x;
    player->y = kArrowY;
    player->Update(cGame::s_frameTime);
    player->Render();
    (void)pressed;
}

}  // namespace

void cGame::statePictureBrowser(cGame*, jint message) {
    switch (message) {
        case kMsgEnter:
            s_helpPage = 0;
            s_helpFromPause = s_prevState == kStatePauseMenu ? 1 : 0;
            setSoftkeys(kSoftkeyBack, kSoftkeyNone, false);
            loadTouchSpriteWhenMissing();
            BX_RETURN_IF_PENDING();
            if (s_arrowUpPlayer) startPlayerAnim(s_arrowUpPlayer, MenuSprite::kPageLeftIdleAnim, 0);
            if (s_arrowDownPlayer) startPlayerAnim(s_arrowDownPlayer, MenuSprite::kPageRightIdleAnim, 0);
            startOpeningTransition();
            return;
        case kMsgUpdate: {
            const jint k = getReleasedKey();
            if (k == kKeyLeft || k == kKey4 || k == kKeyRight || k == kKey6) {
                playSfx(kTurnSfx);
                const bool back = k == kKeyLeft || k == kKey4;
                s_helpPage = (s_helpPage + (back ? kHelpPageCount - 1 : 1)) % kHelpPageCount;
                BXLibPlayer* player = back ? s_arrowUpPlayer : s_arrowDownPlayer;
                if (player)
                    startPlayerAnim(player, back ? MenuSprite::kPageLeftPressAnim : MenuSprite::kPageRightPressAnim, 1);
            }
            if (k == kKeyRightSoft && s_pendingAction == kActionNone) {
                if (s_helpFromPause) {
                    transitionToState(kStatePauseMenu);
                } else {
                    setState(kStateMainMenu);
                }
            }
            updateTransition(true);
            return;
        }
        case kMsgPaint: {
            fillScreen(0x000000);
            const bool leftDown = isKeyDown(kKeyLeft) || isKeyDown(kKey4) || s_arrowTouched == 1;
            const bool rightDown = isKeyDown(kKeyRight) || isKeyDown(kKey6) || s_arrowTouched == 2;
            paintArrow(s_arrowUpPlayer, kLeftArrowX - (leftDown ? 2 : 0), leftDown, MenuSprite::kPageLeftPressAnim,
                       MenuSprite::kPageLeftIdleAnim);
            paintArrow(s_arrowDownPlayer, kRightArrowX + (rightDown ? 2 : 0), rightDown,
                       MenuSprite::kPageRightPressAnim, MenuSprite::kPageRightIdleAnim);
            drawStringOnPlate(0, 0, getString(kTitleText), 400, 22, 3);
            drawStringOnPlate(0, 0, pageNumber(s_helpPage), 400, 450, 1 | 32);
            if (Bsprite* font = fontSprite(1)) font->SetCurrentPalette(0);
            const Page& page = kPages[s_helpPage >= 0 && s_helpPage < kHelpPageCount ? s_helpPage : 0];
            for (jint i = 0; i < page.pictureCount; ++i) {
                if (page.iconColumn && i < page.textCount) paintIcon(page.pictures[i], page.texts[i]);
                else paintPicture(page.pictures[i]);
                BX_RETURN_IF_PENDING();
            }
            const jint anchor = page.pictureCount == 0 ? kLinesCentred : kLinesLeft;
            for (jint i = 0; i < page.textCount; ++i) paintText(page.texts[i], anchor);
            paintTransition();
            return;
        }
        default:
            return;
    }
}
