// The first two screen states: boot (1) prepares the tables and caches every later screen needs and
// goes on to the logos; logos (2) loads the logos and the saved game, shows them for seven seconds
// and starts the first loading run. A pack that is missing or refused is logged; the game goes on
// without what it held.
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/log.h"
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"
#include "sprites/asprite.h"
#include "sprites/bsprite.h"

ObjectArray* cGameBoot::s_screenImages = nullptr;
javax_microedition_lcdui_Image* cGameBoot::s_logoImage = nullptr;
jint cGameBoot::s_language = 0;

namespace {

// The logo sprite, used by this file only.
Bsprite* g_logoSprite = nullptr;

const StaticRefRegistration kStatics(CID_cGame, &cGame::s_screenImages, &g_logoSprite, &cGame::s_logoImage);

constexpr jint kBootPackLiteral = 188;
constexpr jint kLogoPackLiteral = 141;
constexpr jint kFirstLanguageLiteral = 167;
constexpr jint kModuleImagePoolSize = 300;
constexpr jint kSpriteTableSize = 41;
constexpr jint kLoadKindBoot = 0;

// Item 0 of the boot pack, the quarter-wave cosine table, into s_cosTable.
void readCosineTable() {
    cGame::packOpen(Runtime::ldcString(kBootPackLiteral));
    Object* table = cGame::packReadStream(0);
    cGame::packClose();
    BX_RETURN_IF_PENDING();
    if (table && table->classId() == CID_IntArray) {
        cGame::s_cosTable = static_cast<IntArray*>(table);
        return;
    }
    Log::warn("boot: the boot pack holds no cosine table");
}

// The first logo: frame 0 of the logo sprite, its box centred in the landscape picture.
void paintFirstLogo() {
    cGame::fillScreen(0xFFFFFF);
    Bsprite* logo = g_logoSprite;
    if (!logo || !cGame::s_g) return;
    logo->PaintFrame(cGame::s_g, 0, (800 - logo->GetFrameWidth(0)) / 2, (480 - logo->GetFrameHeight(0)) / 2, 0, 0, 0);
}

// The second logo: the image centred, turned onto the portrait screen.
void paintSecondLogo() {
    cGame::fillScreen(0x000000);
    javax_microedition_lcdui_Image* image = cGame::s_logoImage;
    if (!image || !cGame::s_g) return;
    cGame::drawImageRotated(image, (800 - image->getWidth()) / 2, (480 - image->getHeight()) / 2, 0);
}

}  // namespace

void cGame::stateBoot(cGame*, jint message) {
    switch (message) {
        case kMsgEnter:
            readCosineTable();
            BX_RETURN_IF_PENDING();
            ASprite::InitCachePools(1);
            ASprite::InitCachePool(0, kModuleImagePoolSize);
            BX_RETURN_IF_PENDING();
            s_encoding = Runtime::ldcString(kEncodingLiteral);
            s_screenImages = Runtime::newObjectArray(CID_javax_microedition_lcdui_Image, 2);
            s_sprites = Runtime::newObjectArray(CID_Bsprite, kSpriteTableSize);
            s_musicOn = s_sfxOn = isAppPropertyTrue();
            BX_RETURN_IF_PENDING();
            s_language = languageIndexOf(Runtime::ldcString(kFirstLanguageLiteral));
            return;
        case kMsgUpdate:
            setState(kStateInit);
            return;
        default:
            return;
    }
}

void cGame::stateInit(cGame*, jint message) {
    switch (message) {
        case kMsgEnter: {
            packOpen(Runtime::ldcString(kInterfacePackLiteral));
            g_logoSprite = loadSpriteFlags(0, 1, true, true);
            packClose();
            BX_RETURN_IF_PENDING();
            packOpen(Runtime::ldcString(kLogoPackLiteral));
            ByteArray* bytes = packReadData(1);
            packClose();
            BX_RETURN_IF_PENDING();
            if (bytes) {
                s_logoImage = javax_microedition_lcdui_Image::createImage(bytes, 0, bytes->length);
                BX_RETURN_IF_PENDING();
            }
            if (!s_logoImage) Log::warn("logos: the second logo is missing from its pack");
            readCosineTable();
            BX_RETURN_IF_PENDING();
            loadSave();
            BX_RETURN_IF_PENDING();
            if (s_difficulty == 0) s_difficulty = 1;
            return;
        }
        case kMsgUpdate:
            if (s_stateTime > kLogoTime) requestLoading(kLoadKindBoot, kStateSplash);
            return;
        case kMsgPaint:
            if (s_stateTime < kFirstLogoTime) {
                paintFirstLogo();
            } else {
                paintSecondLogo();
            }
            return;
        case kMsgExit:
            g_logoSprite = nullptr;
            return;
        default:
            return;
    }
}

namespace {

const StaticStartValues kStartValues(&cGameBoot::s_screenImages, &g_logoSprite, &cGameBoot::s_logoImage,
                                     &cGameBoot::s_language);

}  // namespace

void cGameBoot::resetStatics() { kStartValues.restore(); }
