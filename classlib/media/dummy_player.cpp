// DummyPlayer: the casts, the controls and the content type.
#include "classlib/media/dummy_player.h"

#include "runtime/compiled.h"
#include "runtime/string.h"

void* DummyPlayer::getInterface(jint classId) { return playerWithControlsInterface(this, classId); }

Object* DummyPlayer::getControl(String* name) {
    BX_RETURN_IF_NULL(name, nullptr);
    for (const char* control : {"VolumeControl", "RateControl", "TempoControl"}) {
        if (name->equalsCString(control)) return this;
    }
    return nullptr;
}

String* DummyPlayer::getContentType() { return String::fromCString("audio/dummy"); }
