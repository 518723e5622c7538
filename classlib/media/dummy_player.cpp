// DummyPlayer: the casts, the controls and the content type.
#include "classlib/media/dummy_player.h"

#include "runtime/compiled.h"
#include "runtime/string.h"

void* DummyPlayer::getInterface(jint classId) {
    switch (classId) {
        case CID_javax_microedition_media_Controllable:
        case CID_javax_microedition_media_Player:
            return static_cast<javax_microedition_media_Player*>(this);
        case CID_javax_microedition_media_control_RateControl:
            return static_cast<javax_microedition_media_control_RateControl*>(this);
        case CID_javax_microedition_media_control_TempoControl:
            return static_cast<javax_microedition_media_control_TempoControl*>(this);
        case CID_javax_microedition_media_control_VolumeControl:
            return static_cast<javax_microedition_media_control_VolumeControl*>(this);
        default:
            return nullptr;
    }
}

Object* DummyPlayer::getControl(String* name) {
    BX_RETURN_IF_NULL(name, nullptr);
    for (const char* control : {"VolumeControl", "RateControl", "TempoControl"}) {
        if (name->equalsCString(control)) return this;
    }
    return nullptr;
}

String* DummyPlayer::getContentType() { return String::fromCString("audio/dummy"); }
