// javax_microedition_lcdui_Graphics (class id 89): the drawing state over a target Image (colour,
// clip, translation) and the primitives that write RGB565 into it. Invariant: the clip never
// reaches outside the target (clipX1, clipY1 >= 0; clipX2 <= width, clipY2 <= height), and every
// primitive writes only inside the clip, so no write leaves the pixel buffer.
#pragma once

#include <cstdint>

#include "platform/graphics/surface.h"
#include "runtime/object.h"

class javax_microedition_lcdui_Image;

class javax_microedition_lcdui_Graphics : public Object {
public:
    static constexpr ClassId kClassId = CID_javax_microedition_lcdui_Graphics;

    javax_microedition_lcdui_Graphics() { setClassId(CID_javax_microedition_lcdui_Graphics); }

    // Slot 6: components outside 0..255 are reported to the trace log and used unmasked.
    virtual void setColor(jint r, jint g, jint b);

    // Graphics(Image target): no translation, clip the whole target, colour 0 (alpha 0: fills
    // leave the target unchanged until setColor).
    void init(javax_microedition_lcdui_Image* target);

    // The colour word is 0xAARRGGBB; setColor stores alpha 0xFF.
    void setColor(jint rgb);
    [[nodiscard]] jint getColor() const { return static_cast<jint>(m_color); }
    [[nodiscard]] jint getRedComponent() const { return static_cast<jint>((m_color >> 16) & 0xFF); }
    [[nodiscard]] jint getGreenComponent() const { return static_cast<jint>((m_color >> 8) & 0xFF); }
    [[nodiscard]] jint getBlueComponent() const { return static_cast<jint>(m_color & 0xFF); }

    // Clip in coordinates relative to the translation; cut to the target. A negative size is kept
    // (an empty clip).
    void setClip(jint x, jint y, jint w, jint h);
    // The intersection with the current clip; an empty one stays an inverted rectangle.
    void clipRect(jint x, jint y, jint w, jint h);
    [[nodiscard]] jint getClipX() const;
    [[nodiscard]] jint getClipY() const;
    [[nodiscard]] jint getClipWidth() const;
    [[nodiscard]] jint getClipHeight() const;

    void translate(jint dx, jint dy);
    [[nodiscard]] jint getTranslateX() const { return m_translateX; }
    [[nodiscard]] jint getTranslateY() const { return m_translateY; }

    // Opaque colours fill; any other alpha blends into the target.
    void fillRect(jint x, jint y, jint w, jint h);

    // RGB565 of a colour word: the low bits of each component dropped.
    [[nodiscard]] static uint16_t toRGB565(uint32_t color) {
        return static_cast<uint16_t>(((color >> 8) & 0xF800) | ((color >> 5) & 0x07E0) | ((color >> 3) & 0x001F));
    }
    // w x h pixels of one value, rows pitchBytes apart (a multiple of 2).
    static void FillRect16(uint16_t* dst, jint w, jint h, jint pitchBytes, uint16_t rgb565);

    javax_microedition_lcdui_Image* m_target;
    uint32_t m_color;
    jint m_clipX1;
    jint m_clipY1;
    jint m_clipX2;  // exclusive
    jint m_clipY2;  // exclusive
    jint m_translateX;
    jint m_translateY;

private:
    void clampClipToTarget();
    // The clip as a rectangle of the target.
    [[nodiscard]] Rect clip() const;
    // The target's 16-bit pixels as a surface when they hold the whole target, else an empty view.
    [[nodiscard]] Surface565 targetSurface() const;
};
