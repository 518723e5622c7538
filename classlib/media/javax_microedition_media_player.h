// javax_microedition_media_Player (class id 97): the player interface, its states and the sub-object
// casts. A player object answers getInterface(97) with this sub-object; references hold the object.
// Invariant: callers reach a player only through asPlayer, never by the implementing class.
#pragma once

#include "runtime/object.h"

class ObjectArray;

class javax_microedition_media_Player {
public:
    static constexpr jint CLOSED = 0, UNREALIZED = 100, REALIZED = 200, PREFETCHED = 300, STARTED = 400;
    static constexpr jlong TIME_UNKNOWN = -1;

    // Slots 0 to 13 in this order.
    virtual Object* getControl(String* name) = 0;
    virtual ObjectArray* getControls() = 0;
    virtual void realize() = 0;
    virtual void prefetch() = 0;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual void deallocate() = 0;
    virtual void close() = 0;
    virtual jlong setMediaTime(jlong now) = 0;
    virtual jlong getMediaTime() = 0;
    virtual jint getState() = 0;
    virtual jlong getDuration() = 0;
    virtual String* getContentType() = 0;
    virtual void setLoopCount(jint count) = 0;
    // Not one of the platform's slots: names the sound in the one log line that says why it cannot
    // play, said when that is known (at once, at realize, or when a render ends).
    virtual void nameForLog(const char* name) { (void)name; }

protected:
    ~javax_microedition_media_Player() = default;
};

// javax_microedition_media_control_VolumeControl (class id 102).
class javax_microedition_media_control_VolumeControl {
public:
    virtual jint getLevel() = 0;
    virtual bool isMuted() = 0;
    virtual jint setLevel(jint level) = 0;
    virtual void setMute(bool mute) = 0;

protected:
    ~javax_microedition_media_control_VolumeControl() = default;
};

// javax_microedition_media_control_RateControl (class id 100): rates in milli-percent.
class javax_microedition_media_control_RateControl {
public:
    virtual jint getMinRate() = 0;
    virtual jint getMaxRate() = 0;
    virtual jint getRate() = 0;
    virtual jint setRate(jint rate) = 0;

protected:
    ~javax_microedition_media_control_RateControl() = default;
};

// javax_microedition_media_control_TempoControl (class id 101): the rate slots, then the tempo
// setter and getter, which forward to the rate.
class javax_microedition_media_control_TempoControl : public javax_microedition_media_control_RateControl {
public:
    virtual jint setTempo(jint tempo) { return setRate(tempo); }
    virtual jint getTempo() { return getRate(); }

protected:
    ~javax_microedition_media_control_TempoControl() = default;
};

// getInterface of a player with the player, tempo (and so rate) and volume interfaces: the casts
// every such player answers, in one place.
template <class P>
[[nodiscard]] void* playerWithControlsInterface(P* player, jint classId) {
    switch (classId) {
        case CID_javax_microedition_media_Controllable:
        case CID_javax_microedition_media_Player:
            return static_cast<javax_microedition_media_Player*>(player);
        case CID_javax_microedition_media_control_RateControl:
            return static_cast<javax_microedition_media_control_RateControl*>(player);
        case CID_javax_microedition_media_control_TempoControl:
            return static_cast<javax_microedition_media_control_TempoControl*>(player);
        case CID_javax_microedition_media_control_VolumeControl:
            return static_cast<javax_microedition_media_control_VolumeControl*>(player);
        default:
            return nullptr;
    }
}

namespace Runtime {

[[nodiscard]] inline javax_microedition_media_Player* asPlayer(Object* object) {
    return object ? static_cast<javax_microedition_media_Player*>(object->getInterface(CID_javax_microedition_media_Player))
                  : nullptr;
}
[[nodiscard]] inline javax_microedition_media_control_VolumeControl* asVolumeControl(Object* object) {
    return object ? static_cast<javax_microedition_media_control_VolumeControl*>(
                        object->getInterface(CID_javax_microedition_media_control_VolumeControl))
                  : nullptr;
}
[[nodiscard]] inline javax_microedition_media_control_TempoControl* asTempoControl(Object* object) {
    return object ? static_cast<javax_microedition_media_control_TempoControl*>(
                        object->getInterface(CID_javax_microedition_media_control_TempoControl))
                  : nullptr;
}
[[nodiscard]] inline javax_microedition_media_control_RateControl* asRateControl(Object* object) {
    return object ? static_cast<javax_microedition_media_control_RateControl*>(
                        object->getInterface(CID_javax_microedition_media_control_RateControl))
                  : nullptr;
}

}  // namespace Runtime
