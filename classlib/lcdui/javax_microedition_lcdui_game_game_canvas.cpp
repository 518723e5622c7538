// GameCanvas: the off-screen Image, made at construction through the size slots, and its flush into
// the screen Image through the Application's screen Graphics.
#include "classlib/lcdui/javax_microedition_lcdui_game_game_canvas.h"

#include "classlib/application.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/class_record.h"

namespace {

const uint32_t kGameCanvasRefs[] = {BX_REF_FIELD(javax_microedition_lcdui_game_GameCanvas, m_image)};
const RefFieldRegistration kGameCanvasRefsReg(CID_javax_microedition_lcdui_game_GameCanvas, kGameCanvasRefs);

}  // namespace

void javax_microedition_lcdui_game_GameCanvas::init() {
    m_image = javax_microedition_lcdui_Image::createImage(getWidth(), getHeight());
    initNative(this, this);
}

void javax_microedition_lcdui_game_GameCanvas::initNative(javax_microedition_lcdui_game_GameCanvas*,
                                                          javax_microedition_lcdui_game_GameCanvas*) {}

void javax_microedition_lcdui_game_GameCanvas::flushGraphicsRegion(jint x, jint y, jint width, jint height) {
    Application* app = Application::getApplication();
    javax_microedition_lcdui_Graphics* g = app ? app->screenGraphics() : nullptr;
    if (!g || !m_image) return;
    const jint clipX = g->getClipX(), clipY = g->getClipY();
    const jint clipW = g->getClipWidth(), clipH = g->getClipHeight();
    g->setClip(x, y, width, height);
    g->drawImage(m_image, 0, 0, 0);
    g->setClip(clipX, clipY, clipW, clipH);
}

void javax_microedition_lcdui_game_GameCanvas::flushGraphics() { flushGraphicsRegion(0, 0, getWidth(), getHeight()); }
