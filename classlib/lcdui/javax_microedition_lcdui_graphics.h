// javax_microedition_lcdui_Graphics (class id 89): the drawing state over a target Image (colour,
// clip, translation) and the primitives that write RGB565 into it. Invariant: the clip never
// reaches outside the target (clipX1, clipY1 >= 0; clipX2 <= width, clipY2 <= height), and every
// primitive writes only inside the clip, so no write leaves the pixel buffer.
#pragma once

#include <cstdint>

#include "platform/graphics/surface.h"
#include "runtime/object.h"

class IntArray;
class CharArray;
class String;
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

    [[nodiscard]] static jint getDisplayColor(jint color) { return color; }

    // The primitives write RGB565 whatever the target's pixel type; alpha 0xFF writes the colour,
    // any other alpha blends it (so a fresh Graphics, colour 0, changes nothing).
    void fillRect(jint x, jint y, jint w, jint h);
    // Bresenham, both ends included, clipped first.
    void drawLine(jint x1, jint y1, jint x2, jint y2);
    // Covers w + 1 by h + 1 pixels.
    void drawRect(jint x, jint y, jint w, jint h);
    // Corner radius max(arcWidth - 2, 0) >> 1; arcHeight is not used. Both cover w by h pixels.
    void drawRoundRect(jint x, jint y, jint w, jint h, jint arcWidth, jint arcHeight);
    void fillRoundRect(jint x, jint y, jint w, jint h, jint arcWidth, jint arcHeight);
    // Whole quadrants only: start 0 / end >= 90 upper right, start <= 90 / end >= 180 upper left,
    // start <= 180 / end >= 270 lower left, start <= 270 / end = 360 lower right.
    void drawArc(jint x, jint y, jint w, jint h, jint startAngle, jint arcAngle);
    void fillArc(jint x, jint y, jint w, jint h, jint startAngle, jint arcAngle);
    // Spans [left, right) from the top vertex's row to the bottom one's, 8.8 edges.
    void fillTriangle(jint x1, jint y1, jint x2, jint y2, jint x3, jint y3);

    // Image copies. A null source, a transform outside 0..7, a region outside the source or a
    // source of pixel type 3 or 4 draws nothing (logged).
    void drawImage(javax_microedition_lcdui_Image* img, jint x, jint y, jint anchor);
    void drawRegion(javax_microedition_lcdui_Image* src, jint xSrc, jint ySrc, jint width, jint height,
                    jint transform, jint xDest, jint yDest, jint anchor);
    // ARGB pixels rgbData[offset + row * scanlength + column]: into an ARGB4444 target stored as
    // ARGB4444; else with processAlpha blended by alpha, without it converted to RGB565. A null
    // array or a block reaching outside it draws nothing (logged).
    void drawRGB(IntArray* rgbData, jint offset, jint scanlength, jint x, jint y, jint width, jint height,
                 jboolean processAlpha);

    // Text in the default font, placed by resolveTextAnchor; pixels equal to the key 0xF81F (a
    // colour of 0x00F81F) are skipped. A null or empty text or a range outside it draws nothing.
    void drawString(String* str, jint x, jint y, jint anchor);
    void drawSubstring(String* str, jint offset, jint len, jint x, jint y, jint anchor);
    void drawChar(jchar ch, jint x, jint y, jint anchor);
    void drawChars(CharArray* data, jint offset, jint length, jint x, jint y, jint anchor);

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
    // Workers in 64-bit coordinates: relative to the translation (Rel) or absolute (Abs).
    void fillRel(jlong x, jlong y, jlong w, jlong h);
    void fillAbs(jlong x, jlong y, jlong w, jlong h);
    void lineRel(jlong x1, jlong y1, jlong x2, jlong y2);
    void drawArcImpl(jint x, jint y, jint w, jint h, jint startAngle, jint arcAngle, bool fill);
    void drawText(const jchar* units, jint count, jint x, jint y, jint anchor);
    void clampClipToTarget();
    // The clip as a rectangle of the target.
    [[nodiscard]] Rect clip() const;
    // The target's 16-bit pixels as a surface when they hold the whole target, else an empty view.
    [[nodiscard]] Surface565 targetSurface() const;
};
