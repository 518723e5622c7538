// The race levels' frame caches and the scaled frame. Frames are kept as the portrait screen shows
// them (the sprite painter turns them while they are rendered), so scaling and mirroring here work
// on the picture as drawn. Every size is checked against the buffer it lands in before a pixel moves.
#include "game/cgame_frame_caches.h"

#include <algorithm>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"
#include "sprites/asprite.h"

ObjectArray* cGameFrameCaches::s_cacheFramesA = nullptr;
ObjectArray* cGameFrameCaches::s_cacheInfoA = nullptr;
ObjectArray* cGameFrameCaches::s_cacheFramesB = nullptr;
ObjectArray* cGameFrameCaches::s_cacheInfoB = nullptr;
IntArray* cGameFrameCaches::s_scaledFrame = nullptr;
IntArray* cGameFrameCaches::s_scaledSize = nullptr;
IntArray* cGameFrameCaches::s_currentFrameInfo = nullptr;

namespace {

using Image = javax_microedition_lcdui_Image;
using C = cGameFrameCaches;

const StaticRefRegistration kStatics(CID_cGame, &C::s_cacheFramesA, &C::s_cacheInfoA, &C::s_cacheFramesB,
                                     &C::s_cacheInfoB, &C::s_scaledFrame, &C::s_scaledSize, &C::s_currentFrameInfo);

// A buffer of kFrameBufferLength ints in *slot, made when missing; null when the heap is exhausted.
IntArray* frameBuffer(IntArray*& slot) {
    if (!slot || slot->length < C::kFrameBufferLength) slot = Runtime::newIntArray(C::kFrameBufferLength);
    return slot;
}

ASprite* spriteInSlot(jint slot) {
    ObjectArray* sprites = cGame::s_sprites;
    if (!sprites || slot < 0 || slot >= sprites->length) return nullptr;
    Object* s = sprites->get(slot);
    return s && s->classId() == CID_Bsprite ? static_cast<ASprite*>(s) : nullptr;
}

// Every frame of one animation rendered and copied out of the work buffer; a frame that cannot be
// rendered keeps null entries. Answers false only when the heap is exhausted.
bool cacheAnimation(jint kind, ASprite* sprite, jint anim, ObjectArray*& frames, ObjectArray*& infos) {
    const jint n = sprite->GetAFrames(anim);
    frames = Runtime::newObjectArray(CID_IntArray, n);
    infos = Runtime::newObjectArray(CID_IntArray, n);
    if (!frames || !infos) return false;
    for (jint f = 0; f < n; ++f) {
        IntArray* info = C::renderFrameToImage(kind, sprite, anim, f);
        BX_RETURN_IF_PENDING(false);
        if (!info) continue;
        const jint size = info->get(1) * info->get(2);
        IntArray* pixels = Runtime::newIntArray(size);
        if (!pixels) return false;
        IntArray* work = cGame::s_workBuffer;   // re-read: the allocation above may have moved it
        std::copy_n(work->elements(), size, pixels->elements());
        frames->set(f, pixels);
        infos->set(f, info);
    }
    return true;
}

// The cached pixels and {key, w, h} of a frame, or null pixels when there is none.
struct CachedFrame {
    IntArray* pixels = nullptr;
    IntArray* info = nullptr;
};

CachedFrame cachedFrame(ObjectArray* frames, ObjectArray* infos, jint frame) {
    if (!frames || !infos || frame < 0 || frame >= frames->length || frame >= infos->length) return {};
    auto* pixels = static_cast<IntArray*>(frames->get(frame));
    auto* info = static_cast<IntArray*>(infos->get(frame));
    if (!pixels || !info || info->length < 3 || jlong{info->get(1)} * info->get(2) > pixels->length) return {};
    return {pixels, info};
}

CachedFrame sourceFrame(jint kind, ASprite* sprite, jint anim, jint frame) {
    if (kind == C::kCacheKindA) return cachedFrame(C::s_cacheFramesA, C::s_cacheInfoA, frame);
    if (kind == C::kCacheKindB) {
        ObjectArray* frames = C::s_cacheFramesB;
        ObjectArray* infos = C::s_cacheInfoB;
        if (!frames || !infos || anim < 0 || anim >= frames->length || anim >= infos->length) return {};
        return cachedFrame(static_cast<ObjectArray*>(frames->get(anim)), static_cast<ObjectArray*>(infos->get(anim)),
                           frame);
    }
    IntArray* info = C::renderFrameToImage(kind, sprite, anim, frame);
    return info ? CachedFrame{cGame::s_workBuffer, info} : CachedFrame{};
}

}  // namespace

IntArray* cGameFrameCaches::renderFrameToImage(jint /*kind*/, ASprite* sprite, jint anim, jint frame) {
    if (!sprite) return nullptr;
    IntArray* r = Runtime::newIntArray(4);
    BX_RETURN_IF_NULL(r, nullptr);
    sprite->GetAFrameRect(r, anim, frame, 0, 0, 0);
    const jlong w = std::max<jlong>(1, jlong{r->get(2)} - r->get(0));
    const jlong h = std::max<jlong>(1, jlong{r->get(3)} - r->get(1));
    // The work buffer is the frame's only way out; a larger frame is left uncached, not overrun.
    if (w * h > kFrameBufferLength) return nullptr;
    IntArray* work = frameBuffer(cGame::s_workBuffer);
    BX_RETURN_IF_NULL(work, nullptr);
    Image* image = Image::createImage(static_cast<jint>(w), static_cast<jint>(h));
    BX_RETURN_IF_NULL(image, nullptr);
    javax_microedition_lcdui_Graphics* g = image->getGraphics();
    BX_RETURN_IF_NULL(g, nullptr);
    g->setColor(0xFF00FF);
    g->fillRect(0, 0, static_cast<jint>(w), static_cast<jint>(h));
    // The key is the fill as the image keeps it, read before the frame can cover it.
    cGame::getImageRGB(image, work, 0, 1, 0, 0, 1, 1);
    const jint key = work->get(0) & 0xFFFFFF;
    sprite->PaintAFrame(g, anim, frame, jt::neg(r->get(1)), r->get(0), 0, 0, 0);
    BX_RETURN_IF_PENDING(nullptr);
    work = cGame::s_workBuffer;
    cGame::getImageRGB(image, work, 0, static_cast<jint>(w), 0, 0, static_cast<jint>(w), static_cast<jint>(h));
    IntArray* info = Runtime::newIntArray(3);
    BX_RETURN_IF_NULL(info, nullptr);
    info->set(0, key);
    info->set(1, static_cast<jint>(w));
    info->set(2, static_cast<jint>(h));
    return info;
}

void cGameFrameCaches::buildFrameCaches() {
    if (ASprite* a = spriteInSlot(kCacheSpriteA)) {
        if (!cacheAnimation(kCacheKindA, a, 0, s_cacheFramesA, s_cacheInfoA)) return;
    }
    if (ASprite* b = spriteInSlot(kCacheSpriteB)) {
        s_cacheFramesB = Runtime::newObjectArray(CID_ObjectArray, kCacheAnimsB);
        s_cacheInfoB = Runtime::newObjectArray(CID_ObjectArray, kCacheAnimsB);
        for (jint anim = 0; s_cacheFramesB && s_cacheInfoB && anim < kCacheAnimsB; ++anim) {
            ObjectArray* frames = nullptr;
            ObjectArray* infos = nullptr;
            const bool made = cacheAnimation(kCacheKindB, b, anim, frames, infos);
            // Re-read the statics: the allocations may have collected and moved nothing they hold,
            // but a failed one leaves them to be checked again.
            if (!s_cacheFramesB || !s_cacheInfoB) return;
            s_cacheFramesB->set(anim, frames);
            s_cacheInfoB->set(anim, infos);
            if (!made) return;
        }
    }
}

void cGameFrameCaches::clearFrameCaches() {
    s_cacheFramesA = s_cacheInfoA = s_cacheFramesB = s_cacheInfoB = nullptr;
    s_currentFrameInfo = nullptr;
}

IntArray* cGameFrameCaches::drawCachedFrameEffect(jint kind, ASprite* sprite, jint anim, jint frame, jint /*x*/,
                                                  jint /*y*/, jint flags, jint scale) {
    const CachedFrame src = sourceFrame(kind, sprite, anim, frame);
    if (!src.pixels) return nullptr;
    s_currentFrameInfo = src.info;
    const jint key = src.info->get(0) & 0xFFFFFF, w = src.info->get(1), h = src.info->get(2);
    if (w < 1 || h < 1) return nullptr;
    jlong dw = (jlong{w} * scale + 128) >> 8, dh = (jlong{h} * scale + 128) >> 8;
    if (!s_scaledSize) s_scaledSize = Runtime::newIntArray(2);
    BX_RETURN_IF_NULL(s_scaledSize, nullptr);
    const jlong shownW = dw, shownH = dh;
    dw = std::max<jlong>(dw, 2);
    dh = std::max<jlong>(dh, 2);
    if (dw * dh >= kFrameBufferLength) return nullptr;
    // A side that rounds to nothing stays 0 (nothing is drawn); otherwise the size is the one the
    // rows below are written at, so an image made from them reads them at their own width.
    s_scaledSize->set(0, shownW == 0 ? 0 : static_cast<jint>(dw));
    s_scaledSize->set(1, shownH == 0 ? 0 : static_cast<jint>(dh));
    IntArray* out = frameBuffer(s_scaledFrame);
    BX_RETURN_IF_NULL(out, nullptr);
    const jlong xs = (jlong{w} << 8) / dw, ys = (jlong{h} << 8) / dh;
    const jint* in = src.pixels->elements();
    jint* o = out->elements();
    for (jlong i = 0; i < dh; ++i) {
        const jlong sy = (i * ys + 128) >> 8;
        if (sy < 0 || sy >= h) continue;
        const jlong row = (flags & 2) ? dh - 1 - i : i;
        for (jlong j = 0; j < dw; ++j) {
            const jlong sx = std::clamp<jlong>((j * xs + 128) >> 8, 0, w - 1);
            jint p = in[sy * w + sx];
            if ((p & 0xFFFFFF) == key) p = kTransparentKey;
            const jlong col = (flags & 1) ? dw - 1 - j : j;
            o[row * dw + col] = p;
        }
    }
    return s_scaledSize;
}

namespace {

const StaticStartValues kStartValues(&C::s_cacheFramesA, &C::s_cacheInfoA, &C::s_cacheFramesB, &C::s_cacheInfoB,
                                     &C::s_scaledFrame, &C::s_scaledSize, &C::s_currentFrameInfo);

}  // namespace

void cGameFrameCaches::resetStatics() { kStartValues.restore(); }
