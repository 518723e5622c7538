// BitmapFont (class id 116): a font of packed-bit glyphs (1, 2, 4 or 8 bits per pixel) expanded to
// ARGB with a text colour and an optional outline colour. Glyph data are untrusted: Load checks
// that every glyph's bits lie inside the data before the font counts as loaded.
// Invariant: while loaded, glyphStarts has an entry per char-map character, glyph i's packed
// pixels lie inside glyphBits, and glyphPixels holds the largest glyph. The glyph-image cache is
// shared by every font; it is used only while its capacity is at least 1 and its three tables hold
// that many slots.
#pragma once

#include "runtime/object.h"

class ByteArray;
class IntArray;
class ObjectArray;
class String;
class javax_microedition_lcdui_Graphics;

class BitmapFont : public Object {
public:
    BitmapFont() { setClassId(CID_BitmapFont); }
    // Zeroed fields, not loaded, the next instance number.
    void init();

    // Takes the glyph data: charMap's characters in glyph order, one signed width byte per glyph,
    // the glyphs' bits one after another (each starting on a byte), glyphs `height` rows high at
    // bitsPerPixel (1, 2, 4 or 8). False, and not loaded, when a width is negative, a table is short
    // or the bits end before the last glyph.
    bool Load(String* map, ByteArray* widths, ByteArray* bits, jint height, jint bitsPerPixel, jint space);

    void SetColor(jint argb) { color = argb | static_cast<jint>(0xFF000000u); }
    void SetOutlineColor(jint argb) {
        outlineColor = argb | static_cast<jint>(0xFF000000u);
        outlineOn = true;
    }
    void SetCacheTag(jint t) { cacheTag = t; }
    // Cache capacity and instance counter := 0 (the cache is then unused); a start-up step.
    static void staticReset();
    // Gives the glyph-image cache n empty slots; n below 1 leaves no cache.
    static void SetCacheCapacity(jint n);

    // Glyph `glyph`'s width x height pixels into out, or into a new array when out is null or
    // shorter; answers the array written (null for a glyph outside the font or when not loaded).
    IntArray* DecodeGlyph(jint glyph, IntArray* out);
    // ' ' the space width, '|' 0, a character outside the font 0, else its glyph's width.
    jint GetCharWidth(jchar c);
    // Draws c's glyph with drawRGB; nothing when not loaded or c is not in the font.
    void drawChar(javax_microedition_lcdui_Graphics* g, jchar c, jint x, jint y);
    // ' ' and '|' draw nothing; else drawChar. Answers GetCharWidth(c).
    jint DrawCharGlyph(javax_microedition_lcdui_Graphics* g, jchar c, jint x, jint y);
    // Draws c through the glyph-image cache (directly when there is no cache); answers its width.
    jint DrawCharCached(javax_microedition_lcdui_Graphics* g, jchar c, jint x, jint y);
    // Draws c pixel by pixel with one-pixel lines in the font colours, keeping g's colour; answers
    // its width.
    jint DrawGlyphBits(javax_microedition_lcdui_Graphics* g, jchar c, jint x, jint y);

    jint instanceNumber;
    jint glyphHeight;
    jint color;
    jint outlineColor;
    jint spaceWidth;
    jboolean outlineOn;
    String* charMap;
    IntArray* glyphPixels;
    ByteArray* glyphWidths;
    ByteArray* glyphBits;
    IntArray* glyphStarts;
    jint byteShift;   // pixel index -> byte index
    jint pixelMask;   // pixel index within its byte
    jint valueMask;   // one pixel's value
    jint bitShift;    // pixel position -> bit position (log2 of the bits per pixel)
    jboolean loaded;
    jint cacheTag;

    static jint s_instanceCount;
    static jint s_cacheCapacity;
    static jint s_cacheLast;          // the slot last filled
    static String* s_cacheChars;      // one character per slot
    static IntArray* s_cacheKeys;     // cache tag | instance number << 8; -1 for an empty slot
    static ObjectArray* s_cacheImages;

private:
    // The glyph index of c, -1 when not loaded or c is not in the font.
    jint glyphOf(jchar c);
    // Pixel p of glyph i's packed bits.
    jint pixelValue(jint glyph, jint p);
};
