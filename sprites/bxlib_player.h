// BXLibPlayer (class id 126): the animation player (one animation of one sprite at one place), and
// as statics the sound command engine: 16 channels, each with one Player and a 7-record command
// queue that SndUpdate executes on the game thread. An animation with no frames (or a sprite
// without that animation) counts as no animation. Invariants: while s_sndEnabled is false every operation returns at
// once; a channel's queue never holds more than kSndQueueLength records (an overflow drops cancelled
// records first, then the oldest); channel and sound indices outside their tables are ignored.
#pragma once

#include "classlib/java_lang/java_lang_runnable.h"
#include "runtime/object.h"

class ASprite;
class ByteArray;
class javax_microedition_lcdui_Graphics;
class IntArray;
class Long64Array;
class ObjectArray;

class BXLibPlayer : public Object, public java_lang_Runnable {
public:
    // Every static of the class back to its start value (tests, between cases).
    static void resetStatics();

    BXLibPlayer() { setClassId(CID_BXLibPlayer); }

    // --- Animation player ---
    static constexpr jint kMsPerTimeUnit = 62;

    // No sprite, no animation, finished, loops 1, effect parameters -1.
    void init();
    // As the default, then on the sprite at (x, y): frame 0, time 0, loops -2, not finished; no
    // animation until SetAnim.
    void init(ASprite* sprite, jint x, jint y);
    // Every field back to the default (sprite null).
    void Reset();
    // Unless idle without animation, back to idle: anim -1, frame 0, time 0, loops -2.
    void SetSprite(ASprite* sprite);
    // Starts the animation (loopCount 0 for ever, n plays n times); nothing when it is the one
    // running and not finished.
    void SetAnim(jint anim, jint loopCount);
    // With force, restarts even the running animation.
    void SetAnimForced(jint anim, jint loopCount, bool force);
    // f reduced by the frame count until below it; frame := f, time := 0; answers f, or -1 with no
    // animation.
    jint SetFrame(jint f);
    [[nodiscard]] jint GetAnimFrameCount() const;
    // The current frame's time in ms (its time units x 62); 0 with no animation.
    [[nodiscard]] jint GetFrameDuration() const;
    [[nodiscard]] bool IsAnimOver() const;
    // Advances by dt ms: at most one frame per call; the test comes before the addition.
    void Update(jint dt);
    // Paints the current frame on the game's Graphics with this player's effects 10 / 11, then
    // clears the pixel-effect bits (0xDE0) so they apply to this player only.
    void Render();

    jint x = 0;
    jint y = 0;
    jint flags = 0;
    ASprite* sprite = nullptr;
    jint anim = -1;
    jint frame = 0;
    jint time = 0;
    jint loops = 1;   // runs still to play after this one; negative: for ever
    jint finished = 1;
    jint effectParamA = -1;   // alpha (effect 10), or effect 11's second parameter
    jint effectParamB = -1;   // scale percentage (effect 11)

    // Object
    void* getInterface(jint classId) override;
    // Runnable: the sound thread, which updates the engine every 58 ms while its flag is set.
    void run() override;

    // --- Sound command engine ---
    static constexpr jint kSndChannels = 16;
    static constexpr jint kSndQueueLength = 7;   // records per channel
    static constexpr jint kSndRecordWords = 5;   // code, sound, priority, a, b
    static constexpr jint kSndThreadSleepMs = 58;

    // Command codes.
    static constexpr jint kSndCancelled = 0, kSndPrepare = 1, kSndFree = 2, kSndPlay = 3, kSndStop = 4,
                          kSndPause = 5, kSndResume = 6;
    // Channel states.
    static constexpr jint kChannelFree = 0, kChannelReady = 1, kChannelPlaying = 2, kChannelPaused = 3;

    // Tables for n sounds and the 16 channels; enables the engine (left disabled when a table cannot
    // be allocated or n is negative).
    static void SndInit(jint n);
    // Registers a sound's bytes and type (an index into the byte-array pack of content types); with
    // prefetch, a realized and prefetched Player replaces the bytes.
    static void SndLoadSound(ByteArray* data, jint type, jint index, bool prefetch);
    [[nodiscard]] static bool SndIsLoaded(jint index);
    [[nodiscard]] static jint SndGetSound(jint channel);
    [[nodiscard]] static bool SndIsPlaying(jint channel);
    static void SndSetVolume(jint volume);

    // Queues a record; earlier records of the same code are cancelled (plays and prepares only when
    // they are no more important than the new one).
    static void SndQueueCommand(jint channel, jint code, jint sound, jint priority, jint a, jint b);
    static void SndQueueSimple(jint channel, jint code);
    static void SndPlay(jint channel, jint sound, jint loops, jint volume, jint priority);
    static void SndStop(jint channel);
    static void SndPause(jint channel);
    static void SndResume(jint channel);
    // Stop on every channel, executed at once.
    static void SndStopAll();
    // Executes every channel's queue.
    static void SndUpdate();

    // Executors, run only by SndUpdate.
    static void SndDoPrepare(jint channel, jint sound, jint priority);
    static void SndDoFree(jint channel);
    static void SndDoPlay(jint channel, jint sound, jint priority, jint volume, jint loops);
    static void SndDoStop(jint channel);
    static void SndDoPause(jint channel);
    static void SndDoResume(jint channel);
    // Moves the channel's oldest record into s_sndScratch[0..4]; s_sndScratch[5] := the count before.
    static void SndQueuePop(jint channel);

    // --- Tile layers: grids of tile ids painted with a tileset sprite, scrolled by a pixel origin ---
    // Coordinates are landscape, like the sprite painters'. A buffered layer keeps the view plus one
    // tile in a circular back buffer; that image is held turned, as the portrait screen is, so the
    // turned sprite painters draw into it and it is copied to the screen without a turn.
    static constexpr jint kTileLayers = 5;
    static constexpr jint kLayerRecordWords = 15;
    // TileLayerRecord words.
    static constexpr jint kLayerShown = 0, kLayerShown2 = 1, kLayerCols = 2, kLayerRows = 3, kLayerPixelW = 4,
                          kLayerPixelH = 5, kLayerBufferW = 6, kLayerBufferH = 7, kLayerFirstCol = 8,
                          kLayerFirstRow = 9, kLayerLastCol = 10, kLayerLastRow = 11, kLayerOriginX = 12,
                          kLayerOriginY = 13, kLayerFlags = 14;
    // Layer flags (word 14).
    static constexpr jint kTileRepeatX = 1, kTileRepeatY = 2, kTileBuffered = 4, kTileYUp = 8, kTileClampX = 16,
                          kTileClampY = 32;
    static constexpr jint kEmptyTile = 0xFFFF;

    // Refused (engine left disabled) when a size is below 1.
    static void TilesetInit(jint viewWidth, jint viewHeight, jint tileWidth, jint tileHeight);
    static void TilesetAllocLayer(jint layer, bool withBuffer);
    static void TilesetLoadLayer(jint layer, ByteArray* header, ByteArray* tiles, ByteArray* cellFlags, ASprite* sprite,
                                 bool buffered, jint yMode, jint xRepeat, jint yRepeat);
    // A header whose width or height is below 1 refuses the layer (it stays allocated and hidden).
    static void TilesetLoadLayerImpl(jint layer, ByteArray* header, ByteArray* tiles, ByteArray* cellFlags,
                                     ASprite* sprite, jint bufferOwner, jint yMode, jint xRepeat, jint yRepeat);
    [[nodiscard]] static bool TilesetLayerHasFlag(jint layer, jint mask);
    static void TilesetLayerSetFlag(jint layer, jint mask, bool on);
    [[nodiscard]] static jint TilesetLayerY(jint layer, jint y);
    static void TilesetSetPosition(jint layer, jint x, jint y);
    // kEmptyTile for a cell outside the map.
    [[nodiscard]] static jint TilesetGetTile(jint layer, jint column, jint row);
    [[nodiscard]] static jint TilesetGetCellFlags(jint layer, jint column, jint row);
    // The layer's view with its top-left corner at (x, y); layer -1 draws every layer; g null only
    // refreshes the back buffer.
    static void TilesetDraw(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint layer);
    // Paints the tiles of columns column..column + columnsMinusOne and the rows likewise, at (px, py)
    // onwards, or at their wrapped places when g is the layer's buffer Graphics. Cells outside the map
    // and tile ids the sprite does not have are skipped.
    static void TilesetRefreshBuffer(javax_microedition_lcdui_Graphics* g, jint layer, jint column, jint row,
                                     jint columnsMinusOne, jint rowsMinusOne, jint px, jint py);
    static void TilesetBlitBuffer(javax_microedition_lcdui_Graphics* g, jint layer, jint sx, jint sy, jint w, jint h,
                                  jint dx, jint dy, bool clampToScreen);

    static bool s_tilesEnabled;
    static IntArray* s_tileParams;       // [0] view width, [1] view height, [2] tile width, [5] tile height
    static ObjectArray* s_layerRecords;  // per layer: IntArray of kLayerRecordWords
    static ObjectArray* s_layerPlanes;   // per layer: {tile ids u16 LE, cell flag bytes or null}
    static ObjectArray* s_layerImages;   // per layer: its back buffer, or null
    static ObjectArray* s_layerGraphics; // per layer: the back buffer's Graphics
    static ObjectArray* s_layerSprites;  // per layer: its tileset sprite
    static jint s_overlayBase;           // -1; nothing sets the overlay
    static jint s_overlayLayer;          // -1
    static jint s_overlayMode;           // 0

    static bool s_sndEnabled;
    static bool s_sndThreadRunning;      // the sound thread's flag; nothing sets it
    static jint s_sndMasterVolume;       // recorded only
    static jint s_sndCount;              // sounds in the tables below
    static ObjectArray* s_sndData;       // per sound: its bytes, null when absent or prefetched
    static IntArray* s_sndType;          // per sound: index of its content type
    static ObjectArray* s_sndPrefetched; // per sound: its prefetched Player, or null
    static ObjectArray* s_chPlayer;      // per channel: its Player, or null
    static IntArray* s_chSound;          // per channel: the sound it holds, -1 none
    static IntArray* s_chPriority;       // per channel: lower is more important
    static IntArray* s_chState;          // per channel: kChannel…
    static IntArray* s_chVolume;         // per channel: recorded at play, not applied
    static IntArray* s_chLoops;
    static IntArray* s_sndQueue;         // channel c's record i at word (c * 7 + i) * 5
    static IntArray* s_sndQueueHead;
    static IntArray* s_sndQueueCount;
    static IntArray* s_sndScratch;       // the popped record and the count before the pop

    // --- Class statics set at start-up ---
    // The plain statics of the player, the sound engine and the tile layers to their first values:
    // both engines disabled, no overlay layer.
    static void initConstants();
    // The spare tables below, made empty; nothing reads them.
    static void initArrays();
    static constexpr jint kSpareLength = 24;
    static bool s_spareFlag;
    static IntArray* s_spareInts;
    static Long64Array* s_spareLongsA;
    static Long64Array* s_spareLongsB;
    static Long64Array* s_spareLongsC;
    static ObjectArray* s_spareObjects;
};
