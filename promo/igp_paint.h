// What the promotion's painting files share: anchor bits and null-safe picture helpers (a missing
// picture measures 0 by 0 and draws nothing).
#pragma once

#include "platform/graphics/anchor.h"
#include "runtime/jtypes.h"

class ObjectArray;
class javax_microedition_lcdui_Graphics;
class javax_microedition_lcdui_Image;

namespace igp {

constexpr jint kHCentre = kAnchorHCenter, kVCentre = kAnchorVCenter, kLeft = kAnchorLeft, kRight = kAnchorRight,
               kTop = kAnchorTop, kBottom = kAnchorBottom;

// Element i of an Image array; null outside it.
[[nodiscard]] javax_microedition_lcdui_Image* imageIn(ObjectArray* images, jint i);
[[nodiscard]] javax_microedition_lcdui_Image* fixedImage(jint i);
[[nodiscard]] jint widthOf(javax_microedition_lcdui_Image* image);
[[nodiscard]] jint heightOf(javax_microedition_lcdui_Image* image);
void drawPicture(javax_microedition_lcdui_Graphics* g, javax_microedition_lcdui_Image* image, jint x, jint y,
                 jint anchor);
// The picture of the current list's first valid row (its width places the row texts, its height
// sets the row height); null when there is none.
[[nodiscard]] javax_microedition_lcdui_Image* firstRowImage();

}  // namespace igp
