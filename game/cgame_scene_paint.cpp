// The level scene under every in-play screen: the background layer (held in a portrait image on the
// levels that allow it, drawn once a level), the middle layers, the alternate player's picture and
// texts, the actors, the foreground layer and the heads-up display.
#include "actors/cactor.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "game/cgame.h"
#include "game/cgame_text_ids.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"

namespace {

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

constexpr jint kMeadowFill = 0x50C040, kBlack = 0x000000;
constexpr jint kTopLeft = 20, kCentred = 3;
constexpr jint kRaceTextFont = 2, kRaceTextX = 400, kRaceTextY = 240;

// The alternate-player levels redraw their background every frame, and so does level 8.
bool cachesBackground() { return !cGame::s_altPlayerLevel && !cGame::isLevel8(); }

void drawLayer(Graphics* g, jint layer) {
    if (cGame::levelHasLayer(layer)) BXLibPlayer::TilesetDraw(g, 0, 0, layer);
}

void fill(Graphics* g, jint rgb) {
    g->setClip(0, 0, cGame::kPortraitWidth, cGame::kPortraitHeight);
    g->setColor(rgb);
    g->fillRect(0, 0, cGame::kPortraitWidth, cGame::kPortraitHeight);
}

// The cache's image and Graphics, made on first use with the redraw flag set; null when the heap
// has no room for it (the scene is then drawn as on the uncached levels).
Graphics* cacheGraphics() {
    if (cGame::s_sceneCache && cGame::s_sceneCacheGraphics) return cGame::s_sceneCacheGraphics;
    Image* image = Image::createImage(cGame::kPortraitWidth, cGame::kPortraitHeight);
    BX_RETURN_IF_NULL(image, nullptr);
    Graphics* g = image->getGraphics();
    BX_RETURN_IF_NULL(g, nullptr);
    cGame::s_sceneCache = image;
    cGame::s_sceneCacheGraphics = g;
    cGame::s_sceneCacheRedraw = 1;
    return g;
}

void paintBackground(Graphics* screen) {
    Graphics* cache = cachesBackground() ? cacheGraphics() : nullptr;
    BX_RETURN_IF_PENDING();
    Graphics* target = cache ? cache : screen;
    if (cGame::s_sceneCacheRedraw) {
        if (cGame::s_level == 0) fill(target, kMeadowFill);
        else if (cGame::isLevel8or9()) fill(target, kBlack);
    }
    if (cGame::s_blackout) return fill(screen, kBlack);
    if (!cache) return drawLayer(screen, 0);
    if (cGame::s_sceneCacheRedraw) drawLayer(cache, 0);
    BX_RETURN_IF_PENDING();
    cGame::s_sceneCacheRedraw = 0;
    screen->setClip(0, 0, cGame::kPortraitWidth, cGame::kPortraitHeight);
    screen->drawImage(cGame::s_sceneCache, 0, 0, kTopLeft);
}

// The pulsing picture, and the race's end written over it.
void paintRaceOverlay() {
    cGame::paintPulsingPicture();
    BX_RETURN_IF_PENDING();
    cActor* alt = cGame::s_altPlayer;
    if (!alt) return;
    jint text = -1;
    if (alt->state == 200 || alt->state == 197) text = text_id::kRaceWon;
    else if (alt->state == 199 || alt->state == 198) text = text_id::kRaceLost;
    if (text < 0) return;
    String* s = cGame::getString(text);
    BX_RETURN_IF_PENDING();
    cGame::drawStringWithPalette(kRaceTextFont, 0, s, kRaceTextX, kRaceTextY, kCentred);
}

}  // namespace

void cGameLevel::paintGameScene() {
    Graphics* g = cGame::s_g;
    BX_RETURN_IF_NULL(g);
    g->setClip(0, 0, cGame::kPortraitWidth, cGame::kPortraitHeight);
    paintBackground(g);
    BX_RETURN_IF_PENDING();
    drawLayer(g, 2);
    drawLayer(g, 3);
    BX_RETURN_IF_PENDING();
    if (cGame::s_altPlayerLevel) {
        paintRaceOverlay();
        BX_RETURN_IF_PENDING();
    }
    cGame::collectVisibleActors();
    BX_RETURN_IF_PENDING();
    drawLayer(g, 4);
    BX_RETURN_IF_PENDING();
    if (cGame::s_state != cGame::kStateInfoPages) cGame::paintHud();
}

void cGame::redrawSceneCache() { s_sceneCacheRedraw = 1; }

void cGame::dropSceneCache() {
    s_sceneCache = nullptr;
    s_sceneCacheGraphics = nullptr;
}

void cGame::registerScenePainter() {
    s_levelServices.redrawSceneCache = &cGame::redrawSceneCache;
    s_levelServices.dropSceneCache = &cGame::dropSceneCache;
}
