// cGame's resource-pack, nested-array and text-pack statics (the game's cGame derives from
// cGamePacks, so `cGame::packOpen` names them). One pack and one sub-file stream are open at a time;
// items are reached by skipping forward. Everything read is untrusted: a short read is the end of the
// data, a failed item is null, and the offset tables, counts and sizes are checked before use.
#pragma once

#include "runtime/jtypes.h"

class Bsprite;
class BXLibPlayer;
class ByteArray;
class IntArray;
class Object;
class ObjectArray;
class ShortArray;
class String;
class java_io_InputStream;

struct cGamePacks {
    // Every static of this class back to its start value.
    static void resetStatics();
    // Constant-pool literals: the text encoding's name as the game sets it, then the packs' own.
    static constexpr jint kEncodingLiteral = 45;
    static constexpr jint kSubFileSeparatorLiteral = 330;
    static constexpr jint kUtf8Literal = 331;
    static constexpr jint kFallbackLiteral = 332;

    // Limits on what the data may ask for.
    static constexpr jint kMaxUnpackedSize = 16 << 20;   // one LZMA item's output
    static constexpr jint kMaxNestedDepth = 32;          // arrays inside arrays
    static constexpr jint kMaxTextCount = 1 << 16;       // texts in one text pack
    static constexpr jint kMaxTextBytes = 16 << 20;      // text bytes of one text pack

    // --- Stream primitives on the current pack stream (each moves the position) ---
    static void packClose();
    // The next byte (0..255), -1 at the end; an Exception gives 0.
    [[nodiscard]] static jint packReadByte();
    // Reads until len bytes have arrived or the stream ends (a read that brings nothing) or raises
    // (swallowed). Answers the bytes that arrived; the position grows by as much.
    static jint packReadBytes(ByteArray* buf, jint off, jint len);
    // Reads n bytes into the scratch buffer; answers how many arrived.
    static jint packSkip(jint n);
    [[nodiscard]] static java_io_InputStream* packOpenStream(String* name);
    // Moves the stream to byte `off` of the current sub-file (reopening it to go back). False when
    // the sub-file is missing or ends before `off`.
    static bool packSeek(jint off);

    // --- Little-endian readers on any stream; exceptions of read stay pending ---
    [[nodiscard]] static jint streamReadByte(java_io_InputStream* in);
    [[nodiscard]] static jint streamReadU16LE(java_io_InputStream* in);
    [[nodiscard]] static jint streamReadS32LE(java_io_InputStream* in);
    // As packReadBytes, counting into the counted-bytes counter instead of the position.
    static jint streamReadFully(java_io_InputStream* in, ByteArray* buf, jint off, jint len);

    // --- Packs ---
    static void packOpen(String* name);
    // The current sub-file's offset table; null when it is cut short or out of order.
    static void packReadOffsets();
    // Places the stream on item's payload and answers its length (0 for an empty item); -1 when the
    // item does not exist or cannot be reached.
    [[nodiscard]] static jint packLocate(jint item);
    // The item's payload (LZMA items unpacked); null when it fails, never a short array.
    [[nodiscard]] static ByteArray* packReadData(jint item);
    // The item read as a nested array; null when it fails, for an empty item, or when the array
    // runs past the item's end.
    [[nodiscard]] static Object* packReadStream(jint item);
    // Opens the pack, reads items a and b as nested arrays into the two boot tables (a negative item
    // leaves its table null, as does an item that fails) and closes the pack.
    static void packOpenAndLoadTwo(String* pack, jint a, jint b);
    // Replaces the loaded text pack with the pack's item, then caches every text.
    static void packLoadText(String* pack, jint item);
    // Loads the byte-array pack `name` into the cache, once.
    static void packLoadArrays(String* name);
    [[nodiscard]] static String* packGetArrayString(jint i);
    // Registers the pack's item as the sound engine's sound `item`, its kind byte as the sound's type
    // (only while the engine is enabled; a failed item registers nothing).
    static void packLoadSound(String* pack, jint item, bool prefetch);
    // Unpacks an LZMA-Alone payload of `size` bytes from `in` into s_lzmaResult (null on failure).
    static void lzmaDecode(java_io_InputStream* in, jint size);

    // --- Sprites ---
    // Loads pack item `item` as a new sprite; for each palette in paletteMask, paletteOp 1 sets its
    // alpha, 2 takes its alpha from the last palette, then buildCache decodes it into the caches.
    // buildCache with dropData then drops the pixel data and palettes. Null when the item is missing
    // or refused.
    [[nodiscard]] static Bsprite* loadSprite(jint item, jint paletteMask, jint paletteOp, jint alpha, bool buildCache,
                                             bool dropData, bool argbCache);
    [[nodiscard]] static Bsprite* loadSpriteFlags(jint item, jint paletteMask, bool buildCache, bool dropData);
    // Loads item into s_sprites[item] (when the table holds that slot), bound to cache pool 0. Item 21
    // is the tile sprite: recoloured, cached, and its module 0 kept as the tile statics.
    static void loadSpriteWithPalettes(jint item);

    // The interface sprites, each loaded once from the interface pack (openPack opens it before and
    // closes it after; without it the caller has it open). A missing or refused item leaves the
    // sprite and its players null, and the next call tries again.
    // Loading picture (item 1, palette 1, cached) and its player on frame 0.
    static void loadInterfaceSprite(bool openPack);
    // Item 3, palette 0, not cached.
    static void loadInterfaceSprite2(bool openPack);
    // Menu sprite (item 2, palette 0, cached, data dropped) and its transition and arrow players on
    // animations 0, 2 and 4, played for ever.
    static void loadMenuSprites();
    static constexpr jint kInterfacePackLiteral = 139;
    static constexpr jint kLoadingPictureItem = 1;
    static constexpr jint kMenuSpriteItem = 2;
    static constexpr jint kInterfaceSprite2Item = 3;
    static Bsprite* s_loadingPicture;
    static BXLibPlayer* s_loadingPlayer;
    static Bsprite* s_interfaceSprite2;
    static Bsprite* s_menuSprite;
    static BXLibPlayer* s_transitionPlayer;
    static BXLibPlayer* s_arrowUpPlayer;
    static BXLibPlayer* s_arrowDownPlayer;

    static constexpr jint kTileSpriteItem = 21;
    static constexpr jint kTileColour = 0x0000C0;
    static ObjectArray* s_sprites;             // by pack item; the game makes it (41 slots)
    static jint s_tileW, s_tileH, s_tileW2, s_tileH2, s_tileArea2;
    static IntArray* s_tilePixels;             // the tile's W x H pixels

    // --- Nested arrays and text packs ---
    [[nodiscard]] static Object* readNestedArray(java_io_InputStream* in);
    // Loads a text pack; answers the bytes consumed, or -1 when the pack is refused (nothing loaded).
    static jint textLoad(java_io_InputStream* in);
    [[nodiscard]] static String* textDecodeUTF8(ByteArray* bytes, jint off, jint len);
    // Text `id`; an empty or missing text is the empty String, never null.
    [[nodiscard]] static String* getString(jint id);
    static void textUnload();
    static void cacheAllTexts();

    // --- Pack reader state ---
    static String* s_packName;                 // stays after close, so reopening it is cheap
    static java_io_InputStream* s_packStream;
    static jint s_packPos;                     // bytes consumed since the stream was opened
    static jint s_packItemCount;
    static jshort s_packSubFileCount;
    static ShortArray* s_packFirstItems;       // first item of each sub-file, null when no header
    static jint s_packSubFile;
    static IntArray* s_packOffsets;            // current sub-file's table, null when unusable
    static jshort s_packItemKind;
    static jint s_packCompressed;
    static ByteArray* s_packSkipBuffer;
    static jint s_streamCount;                 // bytes delivered by the stream readers
    static ObjectArray* s_byteArrays;          // the byte-array pack, loaded once
    static String* s_encoding;                 // set by the game at start-up
    static ByteArray* s_lzmaResult;            // lzmaDecode's output, taken by packReadData
    static Object* s_bootTableA;               // packOpenAndLoadTwo's two nested arrays
    static Object* s_bootTableB;

    // --- Game core state the sprite layer reads ---
    static jbyte s_paused;                     // the game is hidden: the sound engine plays nothing

    // --- Text pack state ---
    static jint s_textCount;
    static IntArray* s_textOffsets;            // s_textCount + 1 entries
    static ByteArray* s_textBytes;
    static ObjectArray* s_textCache;           // every text as a String, once cached
};
