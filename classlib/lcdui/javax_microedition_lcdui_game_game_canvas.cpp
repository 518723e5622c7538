// GameCanvas: the off-screen Image, made at construction through the size slots.
#include "classlib/lcdui/javax_microedition_lcdui_game_game_canvas.h"

#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/class_record.h"

namespace {

const uint32_t kGameCanvasRefs[] = {BX_REF_FIELD(javax_microedition_lcdui_game_GameCanvas, m_image)};
const RefFieldRegistration kGameCanvasRefsReg(CID_javax_microedition_lcdui_game_GameCanvas, kGameCanvasRefs);

}  // namespace

void javax_microedition_lcdui_game_GameCanvas::init() {
    m_image = javax_microedition_lcdui_Image::createImage(getWidth(), getHeight());
}
