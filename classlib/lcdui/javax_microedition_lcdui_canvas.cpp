// Canvas's paint road: repaint through the live Application.
#include "classlib/lcdui/javax_microedition_lcdui_canvas.h"

#include "classlib/application.h"

namespace {

using Canvas = javax_microedition_lcdui_Canvas;

}  // namespace

void Canvas::repaint(Canvas*) {
    if (Application* app = Application::getApplication()) app->repaint();
}

void Canvas::serviceRepaints(Canvas*) {}
