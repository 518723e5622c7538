// Display: getDisplay and setCurrent over the Application's current Displayable.
#include "classlib/lcdui/javax_microedition_lcdui_display.h"

#include "classlib/application.h"
#include "runtime/log.h"
#include "runtime/new_instance_factory.h"

namespace {

using Display = javax_microedition_lcdui_Display;

const NewInstanceRegistration kDisplayNew(CID_javax_microedition_lcdui_Display, &newInstanceOf<Display>);

}  // namespace

Display* Display::getDisplay(javax_microedition_midlet_MIDlet*) { return new Display(); }

void Display::setCurrent(javax_microedition_lcdui_Displayable* d) {
    if (Application* app = Application::getApplication())
        app->setCurrent(d);
    else
        Log::error("Display.setCurrent without an application");
}
