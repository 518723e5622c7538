// Displayable's default slots; the size natives answer the screen Image's size, or the phone's 480
// by 800 before there is one.
#include "classlib/lcdui/javax_microedition_lcdui_displayable.h"

#include "classlib/application.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"

namespace {

using Displayable = javax_microedition_lcdui_Displayable;

javax_microedition_lcdui_Image* screenImage() {
    Application* app = Application::getApplication();
    return app ? app->screenImage() : nullptr;
}

}  // namespace

jint Displayable::getWidth() {
    javax_microedition_lcdui_Image* screen = screenImage();
    return screen ? screen->getWidth() : Application::kScreenWidth;
}

jint Displayable::getHeight() {
    javax_microedition_lcdui_Image* screen = screenImage();
    return screen ? screen->getHeight() : Application::kScreenHeight;
}

void Displayable::sizeChanged(jint, jint) {}
void Displayable::keyPressed(jint) {}
void Displayable::keyReleased(jint) {}
void Displayable::pointerPressed(jint, jint) {}
void Displayable::pointerReleased(jint, jint) {}
void Displayable::pointerDragged(jint, jint) {}
void Displayable::showNotify() {}
void Displayable::hideNotify() {}
void Displayable::paint(javax_microedition_lcdui_Graphics*) {}
