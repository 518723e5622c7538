// Bsprite (class id 117): the sprite class the game makes. Loading reads untrusted sprite bytes:
// counts, indices, runs and offsets are checked against what was read and a bad sprite is refused
// whole (Load answers false, with a log line), never read out of bounds.
#pragma once

#include "sprites/asprite.h"

class javax_microedition_lcdui_Image;

class Bsprite : public ASprite {
public:
    Bsprite() { setClassId(CID_Bsprite); }
    // The defaults every made sprite starts with: cache pool and the four fields after it -1, text
    // scale -1, a new int[4].
    void init();

    // Parses the sprite at data[offset]. The trailing two arguments go to palette loading, which does
    // not use them. False when the data is refused; the tables are then cleared as by Unload.
    bool Load(ByteArray* data, jint offset, jint paletteMask, jint loadFlags);
    bool Load(ByteArray* data, jint offset) { return Load(data, offset, 0xFFFFFF, 1); }

    // Section readers: each answers the offset after its section, or -1 when the section is refused.
    jint LoadModules(jint offset, ByteArray* data);
    jint LoadFModules(jint offset, ByteArray* data);
    jint LoadFrames(jint offset, ByteArray* data);
    jint LoadAFrames(jint offset, ByteArray* data);
    jint LoadAnims(jint offset, ByteArray* data);

    // The primary buffer holding the module's pixels; null when the image data is gone, the module is
    // not an image module or decoding failed.
    IntArray* DecodeModule(jint module);

    // Decodes modules first..last (last -1 = the last module) of the palette into its cache row, or,
    // with fromPalette >= 0, shares fromPalette's cached entries. Only for sprites painted from caches.
    void BuildModuleCache(jint palette, jint first, jint last, jint fromPalette);
    // Stores w x h decoded pixels as the cache entry (palette, module) of the active kind.
    void StoreModuleCache(IntArray* pixels, jint w, jint h, jint palette, jint module);
    // The module Image of the first w x h pixels, kept turned by kCacheTurn (h wide, w high); null
    // when the pixels are short or memory is out.
    [[nodiscard]] static javax_microedition_lcdui_Image* CreateModuleImage(IntArray* pixels, jint w, jint h,
                                                                        bool processAlpha);
    // A cached module Image's pixels the way round the module has them (w x h), in the primary
    // buffer; null when it does not hold them.
    [[nodiscard]] static IntArray* UnturnedModulePixels(javax_microedition_lcdui_Image* image, jint w, jint h);

    void SetPaletteAlphaDefault(jint p, jint a) { SetPaletteAlpha(p, a, hasTransparency, hasPartialAlpha); }

    // Bsprite's first own virtual: paints module m at landscape (x, y) turned onto the portrait
    // screen: X = 480 - H - y, Y = x (H the module's height, its width for flag 4), flags through
    // the rotate remap. A module outside the table draws nothing.
    virtual void PaintModule(javax_microedition_lcdui_Graphics* g, jint module, jint x, jint y, jint flags);
    // 0 <= p < palette count, else unchanged.
    virtual void SetCurrentPalette(jint p);

    // Draws module m (mapped through the current module map) at portrait (X, Y) with sprite flags;
    // shape modules with the Graphics shape operations, image modules from the caches; honours the
    // draw effects. While measuring it only extends the bounds.
    void PaintModuleScreen(javax_microedition_lcdui_Graphics* g, jint module, jint X, jint Y, jint flags);

    // Draws the whole-frame picture cached under the frame's number (the Image of the current
    // palette, else its ARGB array) at screen (x, y) moved by the frame rectangle, mirrored by flags
    // 1 and 2 and turned by 4. False when neither is cached.
    bool PaintFrameImage(javax_microedition_lcdui_Graphics* g, jint frame, jint x, jint y, jint flags);

    // The frame rectangle (loaded or computed); 0 for a frame outside the table.
    [[nodiscard]] jint GetFrameX(jint frame) const;
    [[nodiscard]] jint GetFrameY(jint frame) const;
    [[nodiscard]] jint GetFrameWidth(jint frame) const;
    [[nodiscard]] jint GetFrameHeight(jint frame) const;

    static constexpr jint kScreenWidth = 480;   // the portrait buffer's width

    // Sets or clears the ARGB-array cache mode.
    static void SetNoCacheFlag(Bsprite* sprite, bool on);

    // Forgets the loaded tables, palettes and image data.
    void Unload();

    // --- An ARGB int array as an off-screen buffer (row-major, bufW x bufH) ---
    // Each cuts its target rectangle to the buffer and to the current Graphics' clip when there is
    // one; a buffer shorter than bufW x bufH, or a source shorter than srcW x srcH, is refused.
    // Fills (x, y, w, h) with argb blended by its alpha; bufAlpha: the buffer's alpha counts.
    static void FillRectARGB(IntArray* buf, jint bufW, jint bufH, bool bufAlpha, jint x, jint y, jint w, jint h,
                             jint argb);
    // A one-pixel outline covering columns x..x + w and rows y..y + h, from four fills.
    static void DrawRectARGB(IntArray* buf, jint bufW, jint bufH, bool bufAlpha, jint x, jint y, jint w, jint h,
                             jint argb);
    // Copies src turned by transform & 7 to (x, y): mode 0 every pixel, 1 pixels with alpha, any
    // other blended by the source alpha.
    static void BlitARGB(IntArray* buf, jint bufW, jint bufH, bool bufAlpha, jint x, jint y, IntArray* src, jint srcW,
                         jint srcH, jint mode, jint transform);
};
