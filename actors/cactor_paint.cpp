// Slot 11: an actor drawn on cGame::s_g. In the ordinary levels the player is placed at the
// actor's position less the camera; text zones draw their texts, and the hero may have the scenery
// of an overdraw zone drawn again over it. The race levels place actors on the wheel and draw most
// of them as frames scaled by depth; types 19 and 20 keep those images per frame and scale band.
// Invariant: s_frameImages[f][b] is only ever read or written for f < kFrameImageFrames and
// b < kFrameImageBands; the frames past the table are scaled anew each time.
#include "actors/cactor.h"

#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/static_class.h"
#include "runtime/string.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"

namespace {

using Image = javax_microedition_lcdui_Image;

constexpr jint kZoneType = 5, kSilentType = 35, kHeroType = 1, kAltPlayerType = 14, kEffectType = 61;
constexpr jint kZoneKindScroll = 12, kZoneKindTitle = 14;
constexpr jint kScrollFont = 1, kTitleFont = 2;
constexpr jint kTextX = 400, kTitleY = 240, kTitleBlinkPeriod = 10, kTitleShown = 5;
constexpr jint kAnchorTopHCentre = 17, kAnchorCentre = 3;
constexpr jint kTransformNone = 0, kTransformMirror = 1, kTransformRot180 = 3;
constexpr jint kDepthUnit = 600, kUnscaled = 256;
constexpr jint kCell = 40;
constexpr jint kBehindLayer = 2, kSceneryLayer = 3;

void paintZoneText(cActor* zone) {
    const jint kind = zone->param(8);
    if (kind == kZoneKindScroll && zone->state == 1) {
        Bsprite* font = cGame::fontSprite(kScrollFont);
        if (!font || !cGame::s_wrappedText || !cGame::s_scrollLines) return;
        font->DrawPageB(cGame::s_g, cGame::s_wrappedText, cGame::s_scrollLines, kTextX, cGame::s_loadStep, 0, 999,
                        kAnchorTopHCentre, -1);
        return;
    }
    if (kind != kZoneKindTitle || (zone->state != 1 && zone->state != 3)) return;
    // The title blinks while it is coming (state 1) and stays once it is there (state 3).
    if (zone->state == 1 && cGame::s_frameCounter % kTitleBlinkPeriod >= kTitleShown) return;
    String* text = cGame::getString(cGame::s_titleTextId);
    if (text) text = text->toUpperCase();
    BX_RETURN_IF_PENDING();
    cGame::drawTextPerChar(text, kTitleFont, kTextX, kTitleY, 34, 10, zone->state);
    BX_RETURN_IF_PENDING();
    if (zone->state == 1) ++cGame::s_titleFrames;
}

// The cache row of frame f, or null when f is past the table.
ObjectArray* frameImageRow(jint f) {
    ObjectArray* rows = cActor::s_frameImages;
    if (!rows || f < 0 || f >= cActor::kFrameImageFrames || f >= rows->length) return nullptr;
    auto* row = static_cast<ObjectArray*>(rows->get(f));
    return row && row->length >= cActor::kFrameImageBands ? row : nullptr;
}

}  // namespace

void cActor::paint() {
    if (cGame::s_altPlayerLevel) return paintOnWheel();
    if (type == kZoneType) return paintZoneText(this);
    if (type == kSilentType || !player) return;
    placePlayerOnScreen();
    player->Render();
    BX_RETURN_IF_PENDING();
    if (type == kHeroType && cGame::s_overdrawActive) paintOverdrawTiles(cGame::s_g, 1);
}

void cActor::paintOverdrawTiles(javax_microedition_lcdui_Graphics* g, jint /*mode*/) {
    IntArray* zone = cGame::s_overdrawRect;
    IntArray* r = s_searchRect;
    if (!zone || zone->length < 4 || !r) return;
    r->set(0, zone->get(0));
    r->set(1, zone->get(2));
    r->set(2, zone->get(1));
    r->set(3, zone->get(3));
    const jlong x0 = jlong{r->get(0)} / kCell * kCell, x1 = (jlong{r->get(2)} + kCell) / kCell * kCell;
    const jlong y0 = jlong{r->get(1)} / kCell * kCell, y1 = (jlong{r->get(3)} + kCell) / kCell * kCell;
    for (jlong cx = x0; cx < x1; cx += kCell) {
        for (jlong cy = y0; cy < y1; cy += kCell) {
            const auto px = static_cast<jint>(cx), py = static_cast<jint>(cy);
            if (cGame::getTileIndexAt(px, py) <= 0) continue;
            cGame::paintLayerTileAt(g, kBehindLayer, px, py);
            cGame::paintLayerTileAt(g, kSceneryLayer, px, py);
            BX_RETURN_IF_PENDING();
        }
    }
}

void cActor::paintOnWheel() {
    if (!player) return;
    if (type == kAltPlayerType || type == kEffectType) {
        if (type == kAltPlayerType && state >= 197 && state <= 200) placePlayerOnScreen();
        else placeOnWheel();
        player->Render();
        return;
    }
    placeOnWheel();
    IntArray* view = cGame::s_viewRect;
    const jint top = view ? view->get(1) : 0;
    const jint scale = jt::div(jt::sub(y, top), kDepthUnit);
    if (scale < 1) return;
    if (scale >= kUnscaled) {
        player->Render();
        return;
    }
    const bool cacheable = type == 19 || (type == 20 && player->anim == 0);
    const jint frame = type == 19 ? player->frame : 0;
    // Frames past the table's five are scaled every time rather than stored out of its bounds.
    ObjectArray* row = cacheable ? frameImageRow(frame) : nullptr;
    const jint band = scale / kFrameImageBand;
    const bool mirrored = (player->flags & 1) != 0;
    // A stored image serves every actor of its type whichever way it faces: it is kept unmirrored
    // and a mirrored actor draws it mirrored.
    const jint flags = row ? player->flags & ~1 : player->flags;
    IntArray* size = cGame::drawCachedFrameEffect(type, player->sprite, player->anim, player->frame, player->x,
                                                  player->y, flags, scale);
    BX_RETURN_IF_PENDING();
    if (!size || size->get(0) == 0 || size->get(1) == 0) return;
    auto* image = row ? static_cast<Image*>(row->get(band)) : nullptr;
    if (!image) {
        image = cGame::createRGBImageAlpha(cGame::s_scaledFrame, size->get(0), size->get(1), true);
        BX_RETURN_IF_NULL(image);
        if (row) row->set(band, image);
    }
    const jint sx = player->x, sy = player->y;
    const jint portraitX = jt::sub(cGame::kPortraitWidth, sy);
    if (mirrored) {
        const jint h = image->getHeight();
        cGame::drawImageRegionClipped(image, 0, 0, image->getWidth(), h, row ? kTransformMirror : kTransformRot180,
                                      portraitX, jt::sub(sx, h), kAnchorCentre);
    } else {
        cGame::drawImageRegionClipped(image, 0, 0, image->getWidth(), image->getHeight(), kTransformNone, portraitX,
                                      sx, kAnchorCentre);
    }
}

void cActor::clearFrameImages() {
    for (jint f = 0; f < kFrameImageFrames; ++f) {
        ObjectArray* row = frameImageRow(f);
        for (jint b = 0; row && b < kFrameImageBands; ++b) row->set(b, nullptr);
    }
}

void cActor::registerPaintServices() {
    cGame::s_levelServices.buildFrameCaches = &cGame::buildFrameCaches;
    // A level's stored images are of its own sprites: they go with its frame caches.
    cGame::s_levelServices.clearFrameCaches = [] {
        cGame::clearFrameCaches();
        clearFrameImages();
    };
}

namespace {
const StaticInitRegistration kPaintServices("cActor paint services", &cActor::registerPaintServices);
}  // namespace
