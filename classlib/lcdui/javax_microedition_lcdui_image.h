// javax_microedition_lcdui_Image (class id 90): a pixel buffer in an array of the movable heap, or,
// for the screen Image, a foreign array over the display back end's frame buffer. Rows run top to
// bottom, `m_stride` bytes each; the pixels array always holds at least (stride / 2) * height
// elements for the 16-bit types, or the image is left 0 by 0.
#pragma once

#include <cstdint>

#include "platform/graphics/surface.h"
#include "runtime/object.h"

class Array;
class ByteArray;
class IntArray;
class ShortArray;
class java_io_InputStream;
class javax_microedition_lcdui_Graphics;

enum ImagePixelType : uint32_t {
    kPixelRGB565 = 0,
    kPixelRGB565ColorKey = 1,  // 0xF81F (magenta) is transparent
    kPixelARGB4444 = 2,
    kPixelIndex8 = 3,
    kPixelIndex4 = 4,  // and any other value: two pixels a byte, the left one high
};

class javax_microedition_lcdui_Image : public Object {
public:
    static constexpr ClassId kClassId = CID_javax_microedition_lcdui_Image;
    // Creation words: the pixel type, ORed with this for a mutable image.
    static constexpr uint32_t kMutableBit = 0x01000000;

    javax_microedition_lcdui_Image() { setClassId(CID_javax_microedition_lcdui_Image); }

    // Slot 6: a new Graphics over this image (clip the whole image, no translation, colour 0). An
    // immutable image is reported to the trace log, and gets its Graphics all the same.
    virtual javax_microedition_lcdui_Graphics* getGraphics();
    // Slots 7 and 8.
    virtual jint getWidth();
    virtual jint getHeight();

    // The field initialiser: no pixels, 0 by 0, immutable, pixel type 0.
    void initFields();
    // Image(width, height, creationWord, extra): the field initialiser, then allocPixels.
    void init(jint width, jint height, jint creationWord, jint extra);
    // Lays out and allocates the buffer (all zero) by the creation word's pixel type; `extra` bytes
    // are added to the byte arrays of types 3 and 4. A size that is negative or too big for an
    // array leaves the image 0 by 0 without pixels (logged).
    void allocPixels(jint width, jint height, jint creationWord, jint extra);
    // The screen Image: a mutable RGB565 image over `pixels` (width rounded up to even, times
    // height, owned by the caller, which keeps it in place while the image lives).
    void attachFrameBuffer(uint16_t* pixels, jint width, jint height);

    [[nodiscard]] jboolean isMutable() const { return m_mutable; }
    // The pixels as a ShortArray (types 0 to 2), else null after a trace-log report.
    [[nodiscard]] ShortArray* getShortPixels();
    [[nodiscard]] ByteArray* getBytePixels();

    // The 16-bit pixels (types 0 to 2) as a view when the array holds every row, else an empty view.
    // Valid until the next allocation (the array's data may move).
    [[nodiscard]] Surface565 pixels565() const;
    // A ShortArray image becomes type 0, then type 1 when any element (pad pixels included) is the
    // key 0xF81F.
    void detectColorKey();

    // createImage(width, height): mutable, pixel type 0, every pixel 0 (black).
    [[nodiscard]] static javax_microedition_lcdui_Image* createImage(jint width, jint height);
    // createImage(src, x, y, width, height, transform): a mutable image of the region drawn with the
    // transform at 0, 0 (transforms 4 to 7 swap width and height).
    [[nodiscard]] static javax_microedition_lcdui_Image* createImage(javax_microedition_lcdui_Image* src, jint x,
                                                                     jint y, jint width, jint height,
                                                                     jint transform);
    // createImage(data, offset, length): the PNG in those bytes, immutable, type 0, 1 or 2
    // (javax_microedition_lcdui_image_png.cpp). A range outside data, or bytes that are not a
    // decodable PNG, give null.
    [[nodiscard]] static javax_microedition_lcdui_Image* createImage(ByteArray* data, jint offset, jint length);
    [[nodiscard]] static javax_microedition_lcdui_Image* createImageFromBytes(ByteArray* data, jint offset,
                                                                              jint length);
    // createImage(in): the stream read in 512-byte steps while it reports available bytes, then the
    // bytes decoded as above. A pending exception returns null at once.
    [[nodiscard]] static javax_microedition_lcdui_Image* createImage(java_io_InputStream* in);
    // An immutable image of width x height ARGB pixels: type 2 when processAlpha and some pixel is
    // translucent (alpha 1..254, colour not 0xFF00FF); else type 0, and with processAlpha the fully
    // transparent pixels become the key (type 1). A short array gives only its complete rows; a
    // null array or a size <= 0 gives an empty image.
    [[nodiscard]] static javax_microedition_lcdui_Image* createRGBImage(IntArray* rgb, jint width, jint height,
                                                                        jboolean processAlpha);
    // The region's pixels as 0xAARRGGBB into argb[offset + row * scanlength + column]; key pixels
    // of type 1 read 0. A null array, a region outside the image or a range outside the array
    // writes nothing (logged).
    void getRGB(IntArray* argb, jint offset, jint scanlength, jint x, jint y, jint width, jint height);

    Array* m_pixels;
    jint m_width;
    jint m_height;
    jint m_stride;  // bytes per row
    jboolean m_mutable;
    uint32_t m_pixelType;
};
