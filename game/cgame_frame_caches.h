// cGame's frame caches: sprite frames of the race levels rendered once at load into ARGB arrays,
// and the scaled copy of one frame that the actor painter turns into an image. cGame derives from
// cGameFrameCaches, so `cGame::s_x` names them.
// Invariant: s_cacheInfoA[f] is {key, w, h} exactly when s_cacheFramesA[f] holds w x h pixels (the
// same for each animation of cache B); a frame that could not be rendered has neither.
#pragma once

#include "runtime/jtypes.h"

class ASprite;
class IntArray;
class ObjectArray;

struct cGameFrameCaches {
    static constexpr jint kFrameBufferLength = 40960;   // the work buffer and the scaled frame
    static constexpr jint kCacheKindA = 19, kCacheKindB = 20;
    static constexpr jint kCacheSpriteA = 14, kCacheSpriteB = 16, kCacheAnimsB = 3;
    static constexpr jint kTransparentKey = 0x00FF00FF;

    // The frame painted into a fresh image over 0xFF00FF and read into s_workBuffer (made on demand)
    // with rows packed at its width: {key, w, h}, the key being that fill as the display keeps it.
    // Null for a frame larger than the work buffer or one that could not be drawn.
    [[nodiscard]] static IntArray* renderFrameToImage(jint kind, ASprite* sprite, jint anim, jint frame);
    // Cache A from animation 0 of sprite slot 14, cache B from animations 0..2 of slot 16, each
    // when its sprite is loaded.
    static void buildFrameCaches();
    static void clearFrameCaches();
    // The frame (kind 19: cache A, 20: cache B, others rendered now) scaled by scale / 256 into
    // s_scaledFrame, mirrored by flags bits 0 and 1, the key made transparent. Answers s_scaledSize
    // ({0, ...} when a side rounds to nothing), or null when there is no frame or the result would
    // not fit. x and y are not used: the caller places the picture.
    [[nodiscard]] static IntArray* drawCachedFrameEffect(jint kind, ASprite* sprite, jint anim, jint frame, jint x,
                                                         jint y, jint flags, jint scale);
    static void resetStatics();

    static ObjectArray* s_cacheFramesA;   // per frame of animation 0: int[w * h] or null
    static ObjectArray* s_cacheInfoA;     // per frame: int[3] {key, w, h} or null
    static ObjectArray* s_cacheFramesB;   // Object[3]: per animation as cache A
    static ObjectArray* s_cacheInfoB;
    static IntArray* s_scaledFrame;       // int[kFrameBufferLength], made on first use
    static IntArray* s_scaledSize;        // {w, h} of the last scaled frame
    static IntArray* s_currentFrameInfo;  // {key, w, h} of the frame last scaled
};
