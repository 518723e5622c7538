// ASprite (class id 115): a sprite's flat tables (modules, frame-modules, frames, animation frames,
// animations), its palettes and decoded-pixel state. Every sprite is a Bsprite; ASprite is never
// made alone. Invariant after a successful load: every module, frame-module, frame and animation-frame
// index stored in a table is inside the table it names, every frame's and animation's run of records
// lies inside its table, and module data offsets plus their sizes lie inside the image data.
#pragma once

#include <cstdint>

#include "runtime/object.h"

class Array;
class ByteArray;
class IntArray;
class ObjectArray;
class ShortArray;
class CharArray;
class String;
class javax_microedition_lcdui_Graphics;
class javax_microedition_lcdui_Image;

class ASprite : public Object {
public:
    // Every static of the class back to its start value (tests, between cases).
    static void resetStatics();

    ASprite() { setClassId(CID_ASprite); }

    // Data flags.
    static constexpr jint kFlagCachedImages = 0x8;
    static constexpr jint kFlagModuleSize16 = 0x10;
    static constexpr jint kFlagModuleXY = 0x20;
    static constexpr jint kFlagDataSize32 = 0x80;
    static constexpr jint kFlagFrame16 = 0x400;
    static constexpr jint kFlagComputeRects = 0x1000;
    static constexpr jint kFlagBoxes = 0x8000;
    static constexpr jint kFlagAFrameOffset16 = 0x40000;
    static constexpr jint kFlagImageSection = 0x1000000;
    static constexpr jint kFlagPalettedPng = 0x20000000;
    static constexpr jint kFlagTrueColour = 0x40000000;

    // Module kinds as stored.
    static constexpr jint kModuleImage = 0, kModuleRect = 1, kModuleFillRect = 2, kModuleArc = 3,
                          kModuleFillArc = 4, kModuleEmpty = 5, kModuleTriangle = 6, kModuleFillTriangle = 7;

    static constexpr jint kMaxPalettes = 16;
    static constexpr jint kModuleMapSlots = 16;

    // Reads count s16 LE values from data[offset] into destination[destOffset..]; answers the offset
    // after them, or -1 when the data or the destination is too short (nothing is read then).
    static jint ReadShorts(ByteArray* data, jint offset, ShortArray* destination, jint destOffset, jint count);

    // The image section: palettes, pixel format, per-module pixel data. Answers the offset after it,
    // or -1 when the section is refused (the sprite keeps no palettes or image data then).
    jint LoadPalettes(jint offset, ByteArray* data);
    // Decodes n = w x h pixels at data[offset] through the current palette into the primary buffer.
    // False without palettes, with the current palette empty, a module over the buffer or bad data.
    bool DecodeModuleRGB(ByteArray* data, jint offset, jint w, jint h, jint size);
    // Offset of the module's bytes in the image data; -1 when there is none.
    [[nodiscard]] jint GetModuleDataOffset(jint module);
    // Drops the image data, the offsets, the reserved image section and the palettes.
    void ClearImageData();
    // The primary buffer, or the secondary when `current` is the primary (each made on first use).
    static IntArray* GetRGBBuffer(IntArray* current);

    // The cache table of the active kind (ARGB arrays or Images) with palette-count rows, and the row
    // of this palette. False when the palette is outside 0..palette count - 1 or memory runs out.
    bool EnsurePaletteCache(jint palette);

    // Palette editing; each touches only palette p and does nothing when p has no palette. The colour
    // key (RGB 0xFF00FF) and fully transparent colours are "invisible".
    // scale: alpha := alpha x a >> 8; else onlyVisible: visible colours take alpha a; else all do.
    void SetPaletteAlpha(jint p, jint a, bool onlyVisible, bool scale);
    // Visible colours become rgb, with their old blue channel as the new alpha.
    void SetPaletteColor(jint p, jint rgb);
    // Visible colours of p take as alpha the red channel of the same colour of palette q.
    void SetPaletteAlphaFromPalette(jint p, jint q);
    void SetPaletteAlphaFromLast(jint p) { SetPaletteAlphaFromPalette(p, paletteCount - 1); }
    // Forgets every cached module of the active kind.
    void ClearModuleCache();
    // Appends a palette row of `count` entries (at least the module count) to the cache table of the
    // active kind and answers its
    // palette number; -1 without a table, for a negative count or when the palettes are all used.
    jint AddPaletteCache(jint count);
    // Either cache (ARGB array or Image) holds an entry for (palette, module).
    [[nodiscard]] bool IsModuleCached(jint module, jint palette) const;

    // A complete indexed PNG (8-bit, colour type 3, PLTE then tRNS right after the header) kept as
    // the image data, with per palette its PLTE and tRNS bytes in paletteBytes (4 x colours bytes
    // each: palette 0 from the PNG, the others following it in the data). Answers the offset after
    // it, or -1 when the block is refused (nothing is kept then).
    jint BuildPaletteImageData(jint offset, ByteArray* data);
    // The PNG with palette p's colours and alphas, decoded; null without paletted PNG data.
    [[nodiscard]] javax_microedition_lcdui_Image* CreatePaletteImage(jint p);
    static const uint8_t kPngSignature[8];
    static const uint8_t kPngIHDR[4], kPngPLTE[4], kPngTRNS[4];
    static const uint8_t kPngIndexedTail[5];   // bit depth 8, colour type 3, standard methods

    // Modules stored as colours rather than palette indices: a format code (0x8888 ARGB, 0x8808 RGB,
    // 0x4444 ARGB4444; 4, 3 or 2 bytes a pixel, little-endian), a palette count (0 = one), then per
    // palette and module a u32 byte count (0: nothing cached) and the pixels, which become the ARGB
    // cache. The colour key
    // 0xFF00FF becomes fully transparent. Answers the offset after them, or -1 when refused.
    jint LoadTrueColorModules(jint offset, ByteArray* data);

    // Copies the (x, y, w, h) rectangle of a srcW x srcH ARGB array, cut at its right and bottom
    // edges, into dst from dstOffset with row step dstStride. Nothing for a negative x or y, a source
    // shorter than srcW x srcH or rows that would leave dst.
    static void CopyRGBRect(IntArray* src, jint srcW, jint srcH, IntArray* dst, jint dstOffset, jint dstStride, jint x,
                            jint y, jint w, jint h);

    // Cache pools bound the Images cached across sprites: a ring of slots per pool, each remembering
    // the sprite and (palette << 10) + module it holds, evicted when the ring comes round.
    static void InitCachePools(jint n);
    static void InitCachePool(jint i, jint size);
    static void FreeCachePool(jint i);
    // Binds the sprite to pool p; outside ARGB mode, makes the whole Image cache table.
    void SetCachePool(jint p);
    // Stores the image for (current palette, module) in the next slot of the sprite's pool, evicting
    // that slot's previous image. Nothing without a pool or when the entry is already cached.
    void CacheStoreImage(jint module, Object* image);

    static ObjectArray* s_poolOwners;   // per pool: ShortArray of owner codes, -1 = free
    static IntArray* s_poolNext;
    static IntArray* s_poolSize;
    static ObjectArray* s_poolSprites;  // per pool: ObjectArray of owning sprites

    // The w x h output (w and h exchanged from the input's for the quarter turns) of the picture
    // turned and mirrored by sprite flags & 7, in the primary buffer, or the secondary when pixels
    // is the primary. flags & 7 = 0 answers pixels; null when the picture exceeds the input or buffer.
    static IntArray* TransformRGB(IntArray* pixels, jint w, jint h, jint flags);

    // --- Painting (landscape coordinates; modules are turned onto the portrait screen) ---
    // Transform flags: 1 flip x, 2 flip y, 4 quarter turn. Tables indexed by flags & 7: the
    // drawRegion transform, and a part's flags after the whole is flipped in x, in y, or turned.
    static const jint kTransformTable[8];
    static const jint kFlipXRemap[8];
    static const jint kFlipYRemap[8];
    static const jint kRotateRemap[8];
    // Module Images are cached turned by the transform an unflipped module takes onto the portrait
    // screen, so that draw is a straight row blit; any other draws the cache with transformAfter.
    static constexpr jint kCacheTurn = 5;

    // Frame, frame-module, animation and animation-frame numbers outside their tables paint and
    // measure nothing. hx, hy are accepted and not used.
    void PaintFrame(javax_microedition_lcdui_Graphics* g, jint frame, jint x, jint y, jint flags, jint hx, jint hy);
    void PaintFModule(javax_microedition_lcdui_Graphics* g, jint frame, jint index, jint x, jint y, jint flags);
    void PaintAFrame(javax_microedition_lcdui_Graphics* g, jint anim, jint aframe, jint x, jint y, jint flags, jint hx,
                     jint hy);
    // rect (int[4]) := {minX, minY, maxX, maxY} of the frame painted at (x, y), in portrait screen
    // coordinates; a frame with no modules leaves {0x7FFFFFFF, 0x7FFFFFFF, 0x80000000, 0x80000000}.
    void GetFrameRect(IntArray* rect, jint frame, jint x, jint y, jint flags);
    void GetAFrameRect(IntArray* rect, jint anim, jint aframe, jint x, jint y, jint flags);
    // box (int[4]) := {x, y, w, h} of the frame's box `item`, mirrored by flags 1 and 2; {0,0,0,0}
    // for an item the frame lacks. Nothing without a box table.
    void GetFrameBox(jint frame, jint item, IntArray* box, jint flags);
    void GetAFrameBox(jint anim, jint aframe, jint item, IntArray* box, jint flags, bool addOffsets);
    void GetAFrameBoxNoOffsets(jint anim, jint aframe, jint item, IntArray* box, jint flags) {
        GetAFrameBox(anim, aframe, item, box, flags, false);
    }
    // rect := {x, y, x + w, y + h}, w and h exchanged for flag 4.
    void GetModuleRect(IntArray* rect, jint module, jint x, jint y, jint flags);
    // Computes the frame rectangle table (flag 0x1000) by measuring every frame at the origin;
    // {minX, minY, maxX - minX, maxY - minY}, a frame without modules gives {0, 0, 0, 0}.
    bool ComputeFrameRects();

    // Table accessors; an index outside its table answers 0.
    [[nodiscard]] jint GetFrameCount() const { return frameCount; }
    [[nodiscard]] jint GetFModules(jint frame) const;
    [[nodiscard]] jint GetAFrames(jint anim) const;
    [[nodiscard]] jint GetAFrameTime(jint anim, jint aframe) const;
    [[nodiscard]] jint GetModuleWidth(jint module) const;
    [[nodiscard]] jint GetModuleHeight(jint module) const;
    [[nodiscard]] jint GetFModuleX(jint i) const;
    [[nodiscard]] jint GetFModuleY(jint i) const;
    [[nodiscard]] jint GetAFrameX(jint i) const;
    [[nodiscard]] jint GetAFrameY(jint i) const;
    [[nodiscard]] jint GetFrameModule(jint frame, jint j) const;
    [[nodiscard]] jint GetFrameModuleX(jint frame, jint j) const;
    [[nodiscard]] jint GetFrameModuleY(jint frame, jint j) const;
    void SetModuleMap(jint i) { currentModuleMap = i; }
    [[nodiscard]] jint GetModuleMap() const { return currentModuleMap; }
    // m through the current module map (m itself without one, or when the map cannot say).
    [[nodiscard]] jint MapModule(jint m) const;

    // Cache entries of (module, palette), or null; ClearCacheEntry with module -1 clears the row.
    [[nodiscard]] IntArray* GetModuleArgb(jint module, jint palette) const;
    [[nodiscard]] Object* GetModuleImage(jint module, jint palette) const;
    void ClearCacheEntry(jint palette, jint module);
    // The module's palette-0 ARGB entry combined into a w x h block of pixels (mode 2 additive,
    // mode 3 lighten) and drawn at (x, y); DrawImageRGB takes the block from a region of an image.
    void DrawImageRGB(javax_microedition_lcdui_Graphics* g, jint module, Object* image, jint mode, jint x, jint y,
                      jint w, jint h, jint flags);
    void DrawRGB(javax_microedition_lcdui_Graphics* g, jint module, IntArray* pixels, jint mode, jint x, jint y,
                 jint w, jint h, jint flags);

    // Measuring: while s_measuring is 1, module painting only extends these bounds.
    static jint s_measuring;
    static jint s_measureMinX, s_measureMinY, s_measureMaxX, s_measureMaxY;

    // Start-up: loading's collection flag set, no measuring, no substring or character limit.
    static void staticInit();
    static jbyte s_gcAtLoad;           // collections requested around loading (initially 1)
    static IntArray* s_rgbPrimary;
    static IntArray* s_rgbSecondary;

    jint cachePoolIndex;
    jint reserved1;
    jint reserved2;
    jint versionedPalette;
    jint paletteVersion;
    jint reserved;
    ByteArray* moduleVersions;
    jint textScale;                    // 8.8, -1 = none
    IntArray* textScratch;             // int[4]

    // --- Sprite font: each character is a glyph frame; frame 0 carries the line metrics ---
    jint lineSpacing;                  // extra pixels between lines
    jint fontHeight;
    jint charSpacing;                  // extra pixels between glyphs
    jint spaceWidth;
    jint yOffset;                      // added to the pen's y so that y names the top of the line
    bool underline;                    // toggled by the escape '\\' '_'
    bool bold;                         // toggled by the escape '\\' '^'
    ObjectArray* charMap;              // per bucket: ShortArray of {character, glyph frame} pairs
    jint charMapCount;

    // v scaled by the text scale (8.8) when it is set.
    [[nodiscard]] jint Scaled(jint v) const;
    // The glyph frame of character c; frame 1 is the glyph of every unmapped character.
    [[nodiscard]] jint MapChar(jint c) const;
    [[nodiscard]] jint GetFontHeight() const { return Scaled(fontHeight); }
    [[nodiscard]] jint GetLineSpacing() const { return Scaled(lineSpacing); }
    [[nodiscard]] jint GetSpaceWidth() const { return Scaled(spaceWidth); }
    [[nodiscard]] jint GetCharSpacing() const { return Scaled(charSpacing); }
    void ResetCharSpacing() { charSpacing = 0; }
    // Font height := the y distance of frame 0's frame-modules 1 and 2; answers the y of frame-module 1.
    jint ComputeFontHeight();
    // Space width := the advance of the glyph of ' '; answers it.
    jint ComputeSpaceWidth();
    // Splits s[start, end) at sep: out[0] = start - 1, then each separator's index, then end; answers
    // the number of pieces (piece k runs from out[k] + 1 to out[k + 1] - 1). Entries past out's end
    // are not written.
    static jint FindSeparators(String* s, jint start, jint end, jint sep, IntArray* out);
    // Builds the char-map buckets from a definition: [0] bucket count B, B initial pairs, then records
    // {bucket, pair count n, n pairs}. A definition that runs short or names a bucket outside 0..B-1 is
    // refused whole (the sprite keeps no char map); then the font metrics are read.
    void BuildCharMap(ShortArray* definition);
    // Metrics from frame 0 (a metrics frame) and the glyph of ' '.
    void InitFontMetrics();
    // The advance of a glyph frame: x offset of its frame-module 0, unscaled; 0 for a frame the sprite
    // does not have or one without frame-modules.
    [[nodiscard]] jint GlyphAdvance(jint frame);
    // ' ' answers the (scaled) space width; any other character its glyph's advance, unscaled.
    [[nodiscard]] jint GetCharWidth(jint c);
    [[nodiscard]] jint GetFrameWidthScaled(jint frame);
    // Paints a glyph frame with its top-left pen at (x, y); a frame the sprite does not have is skipped.
    void PaintGlyph(javax_microedition_lcdui_Graphics* g, jint frame, jint x, jint y);

    // --- Sprite text ---
    static constexpr jint kLineTableLength = 600;
    static constexpr jint kMaxLines = 199;              // (600 - 1) / 3
    static constexpr jint kFlagBold = 0x1000, kFlagUnderline = 0x2000, kFlagPaletteMask = 0xFFF;
    static constexpr jint kWrapStartLiteral = 1;        // WrapText's start text (the empty text)
    static constexpr jint kWrapSeparatorLiteral = 44;   // WrapText's line separator

    // Draws the text (or chars when text is null; or the substring range) with anchors 1, 2, 8, 32;
    // escapes: '\\' then '_' underline, '^' bold, d palette d - '0'; code 1 p palette p (255 restores the
    // palette of the call's start with usePalette); code 2 f glyph frame f. An escape at the very end
    // ends the text.
    void DrawString(javax_microedition_lcdui_Graphics* g, String* text, CharArray* chars, jint x, jint y, jint anchor,
                    bool usePalette);
    void DrawStringAt(javax_microedition_lcdui_Graphics* g, String* text, jint x, jint y, jint anchor, bool usePalette) {
        DrawString(g, text, nullptr, x, y, anchor, usePalette);
    }
    // Lines of text[start, end) split at '\n', one DrawString each.
    void DrawPage(javax_microedition_lcdui_Graphics* g, String* text, jint x, jint y, jint anchor, jint start, jint end);
    void DrawPageFull(javax_microedition_lcdui_Graphics* g, String* text, jint x, jint y, jint anchor);
    // Pre-wrapped text from a line table (SplitText's); maxChars >= 0 stops after that many characters.
    void DrawPageB(javax_microedition_lcdui_Graphics* g, String* text, ShortArray* lines, jint x, jint y,
                   jint firstLine, jint lineCount, jint anchor, jint maxChars);
    // Width and height of the text (or chars when text is null) into s_textWidth, s_textHeight.
    void MeasureText(String* text, CharArray* chars);
    // Fills the shared line table with text wrapped to maxWidth (words are never split) and answers it.
    // A text needing more lines than the table holds ends in its last line.
    ShortArray* SplitText(String* text, jint maxWidth);
    // The text with the line separator inserted at each break SplitText found.
    String* WrapText(String* text, jint maxWidth);

    static jint s_textWidth;           // of the last MeasureText
    static jint s_textHeight;
    static jint s_substringStart;      // -1 = the whole text
    static jint s_substringEnd;
    static jint s_charLimit;           // DrawPageB's typing effect, -1 = none
    static jint s_savedPalette;
    static ShortArray* s_lineTable;    // kLineTableLength entries once made

    jint moduleCount;
    ShortArray* modulesX;              // only with kFlagModuleXY
    ShortArray* modulesY;
    ShortArray* modulesW;              // read back unsigned
    ShortArray* modulesH;
    ShortArray* shapeParams;
    ShortArray* shapeIndex;            // pairs {module, first parameter}
    ByteArray* moduleKinds;
    IntArray* moduleColours;

    jint frameModuleCount;
    ByteArray* fmModule;               // low 8 bits; bits 8-9 are the flags' 0xC0
    ShortArray* fmOffX;
    ShortArray* fmOffY;
    ByteArray* fmFlags;

    jint frameCount;
    ByteArray* frameFmCount;
    ShortArray* frameFmFirst;
    Array* frameRects;                 // ByteArray, or ShortArray with kFlagFrame16
    jint boxCount;
    Array* frameBoxes;                 // likewise
    ShortArray* frameBoxFirst;         // frameCount + 1 entries

    jint aframeCount;
    ByteArray* afFrame;
    ByteArray* afTime;
    ShortArray* afOffX;
    ShortArray* afOffY;
    ByteArray* afFlags;

    jint animCount;
    ByteArray* animAfCount;
    ShortArray* animAfFirst;

    ObjectArray* moduleMaps;
    jint currentModuleMap;

    ByteArray* imageData;
    IntArray* moduleDataOffsets;       // moduleCount + 1 entries: the last is the end
    jint dataFlags;

    ObjectArray* palettes;             // 16 slots of int[colourCount]
    jint paletteCount;
    jint colourCount;
    jint currentPalette;
    bool hasTransparency;
    bool hasPartialAlpha;
    jint cacheModeFlags;               // bit 0: ARGB arrays rather than Images
    jint pixelFormat;
    jint indexMask;
    jint indexBits;
    ObjectArray* argbCache;
    ObjectArray* imageCache;
    ByteArray* paletteBytes;
    jint paletteBytesCount;
    Object* imageSection;              // reserved
    ObjectArray* imageSectionTable;    // reserved
};
