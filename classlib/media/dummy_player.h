// DummyPlayer: stands in for data no player accepts. State only, header class id 0; every
// transition succeeds whatever the state before, times read as unknown.
#pragma once

#include "classlib/media/javax_microedition_media_player.h"
#include "runtime/log.h"

class DummyPlayer final : public Object,
                          public javax_microedition_media_Player,
                          public javax_microedition_media_control_TempoControl,
                          public javax_microedition_media_control_VolumeControl {
public:
    DummyPlayer() { setClassId(CID_Object); }
    void init() { state = UNREALIZED; }

    void* getInterface(jint classId) override;

    Object* getControl(String* name) override;
    ObjectArray* getControls() override { return nullptr; }
    void realize() override { state = REALIZED; }
    void prefetch() override { state = PREFETCHED; }
    void start() override { state = STARTED; }
    void stop() override { state = PREFETCHED; }
    void deallocate() override { state = REALIZED; }
    void close() override { state = CLOSED; }
    jlong setMediaTime(jlong) override { return TIME_UNKNOWN; }
    jlong getMediaTime() override { return TIME_UNKNOWN; }
    jint getState() override { return state; }
    jlong getDuration() override { return TIME_UNKNOWN; }
    String* getContentType() override;
    void setLoopCount(jint) override {}
    // Data no player takes is silence: said once, when the sound is named.
    void nameForLog(const char* name) override { Log::warn("%s: no player takes it; it stays silent", name ? name : "?"); }
    jint getMinRate() override { return -1; }
    jint getMaxRate() override { return -1; }
    jint getRate() override { return -1; }
    jint setRate(jint) override { return -1; }
    jint getLevel() override { return -1; }
    bool isMuted() override { return false; }
    jint setLevel(jint) override { return -1; }
    void setMute(bool) override {}

    jint state;
};
