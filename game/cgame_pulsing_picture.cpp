// The pulsing picture of the alternate-player levels. The mask (the tile sprite's module 0 pixels),
// its size and the arc table are level data: each is checked against the others before a frame is
// built, and a missing one draws nothing rather than faulting every frame.
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/static_class.h"

jint cGameRotated::s_pulsePhase = 0;
jint cGameRotated::s_pulseStep = 0;
jint cGameRotated::s_pulseColour = cGame::kPulseDark;
ObjectArray* cGameRotated::s_pulseImages = nullptr;
IntArray* cGameRotated::s_pulseMask = nullptr;
IntArray* cGameRotated::s_workBuffer = nullptr;

namespace {

using Image = javax_microedition_lcdui_Image;

const StaticRefRegistration kPulseStatics(CID_cGame, &cGame::s_pulseImages, &cGame::s_pulseMask,
                                          &cGame::s_workBuffer);

constexpr jint kTileSpriteSlot = 21;
constexpr jint kAnchorTopLeft = 20, kAnchorBottomLeft = 36, kAnchorTopRight = 24;
constexpr jint kMirror = 2, kRot180 = 3, kMirrorRot180 = 1;

// A modulo that stays in 0..n-1 for any phase the race may have driven it to.
jint wrap(jint v, jint n) { return static_cast<jint>(((jlong{v} % n) + n) % n); }

bool hasTileSprite() {
    ObjectArray* sprites = cGame::s_sprites;
    return sprites && kTileSpriteSlot < sprites->length && sprites->get(kTileSpriteSlot);
}

// A frame at the current phase: every pixel the mask shows takes its alpha from the arc table.
Image* buildFrame(jint colour) {
    const jint w = cGame::s_tileW, h = cGame::s_tileH;
    IntArray* mask = cGame::s_tilePixels;
    IntArray* arcs = cGame::s_arcTable;
    const jlong n = jlong{w} * h;
    if (w < 1 || h < 1 || !mask || mask->length < n || !arcs || arcs->length < cGame::kPulsePeriod ||
        n > cGame::kWorkBufferLength)
        return nullptr;
    if (!cGame::s_workBuffer || cGame::s_workBuffer->length < cGame::kWorkBufferLength) {
        cGame::s_workBuffer = Runtime::newIntArray(cGame::kWorkBufferLength);
        if (!cGame::s_workBuffer) return nullptr;
    }
    IntArray* pixels = cGame::s_workBuffer;
    for (jint i = 0; i < n; ++i) {
        jint alpha = static_cast<jint>(static_cast<uint32_t>(mask->get(i)) >> 24);
        if (alpha != 0) alpha = arcs->get(wrap(jt::add(cGame::s_pulsePhase, alpha), cGame::kPulsePeriod));
        pixels->set(i, colour | jt::shl(alpha, 24));
    }
    return Image::createRGBImage(pixels, w, h, true);
}

}  // namespace

void cGame::paintPulsingPicture() {
    if (!hasTileSprite()) return;
    PulseValues pulse{};
    const bool altPlayer = s_actorView && s_actorView->pulseValues && s_actorView->pulseValues(&pulse);
    if (altPlayer && pulse.altPlayerState >= 196 && pulse.altPlayerState <= 201) return;
    jint colour = kPulseDark;
    if (altPlayer && pulse.threshold <= pulse.limit) {
        colour = kPulseBright;
        s_pulseStep = jt::shr(jt::add(jt::neg(pulse.limit), 128), 11);
    }
    if (s_state == kStatePlay) s_pulsePhase = wrap(jt::add(s_pulsePhase, s_pulseStep), kPulsePeriod);
    const jint frame = wrap(s_pulsePhase, kPulsePeriod) / kPulseFrameSpan;

    // Frames made in the other colour, or from another level's mask, would show it: either change
    // starts the cache afresh.
    if (!s_pulseImages || s_pulseImages->length < kPulseFrames || colour != s_pulseColour ||
        s_pulseMask != s_tilePixels) {
        s_pulseImages = Runtime::newObjectArray(CID_javax_microedition_lcdui_Image, kPulseFrames);
        BX_RETURN_IF_NULL(s_pulseImages);
        s_pulseColour = colour;
        s_pulseMask = s_tilePixels;
    }
    auto* image = static_cast<Image*>(s_pulseImages->get(frame));
    if (!image) {
        image = buildFrame(colour);
        BX_RETURN_IF_PENDING();
        if (!image) return;
        s_pulseImages->set(frame, image);
    }
    BX_RETURN_IF_NULL(s_g);
    const jint w = image->getWidth(), h = image->getHeight();
    s_g->drawImage(image, kPulseCentreX - w, kPulseCentreY - h, kAnchorTopLeft);
    drawImageRegionClipped(image, 0, 0, w, h, kMirror, kPulseCentreX, kPulseCentreY, kAnchorBottomLeft);
    drawImageRegionClipped(image, 0, 0, w, h, kRot180, kPulseCentreX, kPulseCentreY, kAnchorTopLeft);
    drawImageRegionClipped(image, 0, 0, w, h, kMirrorRot180, kPulseCentreX, kPulseCentreY, kAnchorTopRight);
}
