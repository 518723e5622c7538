// DirectShowPlayer: the graph's build (FluidSynth rendering on its own thread), its running state
// over the wave device, seeking by start offset, and volume in hundredths of a decibel.
#include "classlib/media/direct_show_player.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/media/decoded_sound.h"
#include "runtime/compiled.h"
#include "runtime/log.h"
#include "runtime/string.h"
#include "runtime/thread_state.h"

// The render thread owns only this record (never the player, never the object heap); the player
// joins the thread before it reads the result or frees the record.
struct DirectShowPlayer::Render {
    std::vector<uint8_t> midi;
    std::atomic<bool> cancel{false};
    std::atomic<bool> urgent{false};  // someone waits for the PCM: the render goes before others
    DecodedSound sound;
    bool ok = false;
    std::thread thread;
    // What the render has to say (a fault or a cut) and the sound's name: whichever of the render
    // thread and nameForLog comes second says it, once.
    std::mutex noteLock;
    std::string note;
    std::string name;
    bool named = false;

    void sayWhenNamed() {
        if (note.empty() || !named) return;
        Log::warn("%s: %s", name.empty() ? "a MIDI sound" : name.c_str(), note.c_str());
        note.clear();
    }
    void setNote(std::string text) {
        std::lock_guard held(noteLock);
        note = std::move(text);
        sayWhenNamed();
    }
    void setName(std::string text) {
        std::lock_guard held(noteLock);
        name = std::move(text);
        named = true;
        sayWhenNamed();
    }
    // A note nobody named is still said, without a name.
    void sayUnnamed() {
        std::lock_guard held(noteLock);
        named = true;
        sayWhenNamed();
    }
};

namespace {

constexpr const char* kGraphError = "ERROR - Could not construct a filter graph that will play the specified file.\n";

// The render's result as a note for the log: why it failed, or that the song was cut.
std::string renderNote(bool ok, const DecodedSound& sound, const std::string& why) {
    if (!ok) return "cannot be played: " + why;
    if (sound.cut) return "longer than " + std::to_string(Media::kMaxMidiSeconds) + " s; only that much is played";
    return {};
}

}  // namespace

void DirectShowPlayer::init(const uint8_t* data, jint length, const char* type) {
    m_type = type;
    m_state.store(UNREALIZED);
    m_loops = 1;
    if (!buildGraph(data, length)) Log::info(kGraphError);
}

// The render starts here and goes on while the game does; a render that fails logs from its
// thread, as the build would have.
bool DirectShowPlayer::buildGraph(const uint8_t* data, jint length) {
    if (std::strcmp(m_type, "audio/midi") != 0 || !data || length <= 0) return false;
    auto* render = new Render;
    render->midi.assign(data, data + length);
    try {
        render->thread = std::thread([render] {
            std::string why;
            render->ok = Media::renderMidi(render->midi.data(), render->midi.size(), render->sound, &render->cancel,
                                           &render->urgent, &why);
            if (!render->cancel.load()) render->setNote(renderNote(render->ok, render->sound, why));
        });
    } catch (const std::system_error&) {
        // No thread to spare: render here (a fault is said at once, the sound unnamed).
        std::string why;
        const bool rendered =
            Media::renderMidi(render->midi.data(), render->midi.size(), render->sound, nullptr, nullptr, &why);
        render->sayUnnamed();
        render->setNote(renderNote(rendered, render->sound, why));
        const bool ok = rendered && adopt(render->sound);
        delete render;
        return ok;
    }
    m_render = render;
    return true;
}

bool DirectShowPlayer::adopt(const DecodedSound& sound) {
    m_pcm = static_cast<uint8_t*>(std::malloc(sound.pcm.size()));
    if (!m_pcm) return false;
    std::memcpy(m_pcm, sound.pcm.data(), sound.pcm.size());
    m_pcmLength = static_cast<uint32_t>(sound.pcm.size());
    m_format = sound.format;
    m_duration = sound.durationMicros;
    return true;
}

void DirectShowPlayer::finishGraph() {
    Render* render = m_render;
    if (!render) return;
    m_render = nullptr;
    // Parked while the render finishes: a collection may run meanwhile, and a virtual clock waits
    // for it, so the moment the music starts does not depend on how fast the machine renders.
    render->urgent.store(true);
    Runtime::runParkedAwaitingWork([render] { render->thread.join(); });
    if (render->ok && !adopt(render->sound)) Log::info(kGraphError);
    render->sayUnnamed();
    delete render;
}

void DirectShowPlayer::nameForLog(const char* name) {
    if (m_render) m_render->setName(name ? name : "");
}

bool DirectShowPlayer::graphBuilt() {
    finishGraph();
    return m_pcm != nullptr;
}

void DirectShowPlayer::destroy() {
    if (m_state.load() != CLOSED) close();
}

void* DirectShowPlayer::getInterface(jint classId) {
    switch (classId) {
        case CID_javax_microedition_media_Controllable:
        case CID_javax_microedition_media_Player:
            return static_cast<javax_microedition_media_Player*>(this);
        case CID_javax_microedition_media_control_VolumeControl:
            return static_cast<javax_microedition_media_control_VolumeControl*>(this);
        default:
            return nullptr;
    }
}

Object* DirectShowPlayer::getControl(String* name) {
    BX_RETURN_IF_NULL(name, nullptr);
    return name->equalsCString("VolumeControl") ? this : nullptr;
}

void DirectShowPlayer::realize() {
    if (m_state.load() == UNREALIZED) m_state.store(REALIZED);
}

void DirectShowPlayer::prefetch() {
    if (m_state.load() != REALIZED) realize();
    if (m_state.load() == REALIZED) m_state.store(PREFETCHED);
}

void DirectShowPlayer::haltOutput() {
    if (m_handle != 0) m_wave->reset(m_handle);
    m_running.store(false);
}

void DirectShowPlayer::start() {
    const jint state = m_state.load();
    // A clip that has finished, or was stopped, plays again from its start position: the sound
    // engine pauses a channel with stop() and resumes it with start() (the menu music when the
    // window is shown again after being hidden), and keeps one prefetched player per sound; so
    // otherwise the music would stay silent after the first hide and a reused sound play only once.
    if (state == STOPPED || state == PAUSED || (state == STARTED && !m_running.load())) {
        haltOutput();
        m_state.store(PREFETCHED);
    }
    if (m_state.load() != PREFETCHED) prefetch();
    if (m_state.load() != PREFETCHED) return;
    finishGraph();
    WaveDevice* device = m_handle != 0 ? m_wave : Platform::waveDevice();
    if (m_startOffset >= m_duration) m_startOffset = 0;
    if (!m_pcm || !device) {
        Log::info("ERROR - Could not switch filter graph to running state.\n");
        return;
    }
    if (m_handle == 0) {
        m_wave = device;
        m_handle = device->open(m_format, [this] { m_running.store(false); });
        if (m_handle != 0) putVolume(m_volume);
    }
    const uint64_t frame = static_cast<uint64_t>(m_startOffset) * m_format.samplesPerSec / 1000000;
    const uint64_t byte = std::min<uint64_t>(frame * m_format.blockAlign, m_pcmLength);
    m_running.store(true);
    // Loops after the first replay the whole clip; the first begins at the start position.
    const bool ok = m_handle != 0 && byte < m_pcmLength &&
                    device->write(m_handle, m_pcm + byte, m_pcmLength - static_cast<uint32_t>(byte),
                                  byte == 0 ? static_cast<uint32_t>(m_loops) : 1);
    if (!ok) {
        m_running.store(false);
        Log::info("ERROR - Could not switch filter graph to running state.\n");
        return;
    }
    m_playedOffset = m_startOffset;
    m_state.store(STARTED);
}

void DirectShowPlayer::pause() {
    const jint state = m_state.load();
    if (state != PREFETCHED && state != STARTED) return;
    m_startOffset = getMediaTime();
    haltOutput();
    m_state.store(PAUSED);
}

void DirectShowPlayer::stop() {
    const jint state = m_state.load();
    if (state != PREFETCHED && state != STARTED) return;
    haltOutput();
    m_startOffset = 0;
    m_state.store(STOPPED);
}

void DirectShowPlayer::close() {
    if (Render* render = m_render) {
        m_render = nullptr;
        render->cancel.store(true);
        Runtime::runParkedAwaitingWork([render] { render->thread.join(); });
        delete render;
    }
    if (m_handle != 0) m_wave->close(m_handle);
    m_handle = 0;
    m_running.store(false);
    std::free(m_pcm);
    m_pcm = nullptr;
    m_pcmLength = 0;
    m_state.store(CLOSED);
}

jlong DirectShowPlayer::setMediaTime(jlong now) {
    if (m_state.load() >= REALIZED) finishGraph();
    if (m_state.load() < REALIZED || !m_pcm) return -1;
    haltOutput();
    m_startOffset = std::clamp<jlong>(now, 0, m_duration);
    return m_duration;
}

jlong DirectShowPlayer::getMediaTime() {
    if (m_state.load() >= REALIZED) finishGraph();
    if (m_state.load() < REALIZED || !m_pcm) return 0;
    uint32_t millis = 0;
    if (!m_running.load() || m_handle == 0 || !m_wave->positionMillis(m_handle, millis))
        return m_startOffset;
    // The position counts every loop: report the place inside the clip.
    const jlong played = m_playedOffset + static_cast<jlong>(millis) * 1000;
    return m_duration > 0 ? played % m_duration : 0;
}

jint DirectShowPlayer::getState() {
    const jint state = m_state.load();
    if (state < REALIZED) return 0;
    return m_running.load() ? state : 0;
}

jlong DirectShowPlayer::getDuration() {
    if (m_state.load() >= REALIZED) finishGraph();
    if (m_state.load() < REALIZED || !m_pcm) return 0;
    return m_duration;
}

String* DirectShowPlayer::getContentType() { return String::fromCString(m_type); }

void DirectShowPlayer::setLoopCount(jint count) {
    if (count == 0 || count == 1) return;
    realize();
    if (m_state.load() != REALIZED) prefetch();
    m_loops = count < 0 ? kEndlessLoops : count;
}

bool DirectShowPlayer::putVolume(jint hundredthsDb) {
    if (hundredthsDb < -10000 || hundredthsDb > 0) return false;
    m_volume = hundredthsDb;
    if (m_handle == 0) return true;
    const double gain = std::pow(10.0, hundredthsDb / 2000.0);
    const uint32_t word = hundredthsDb <= -10000 ? 0 : static_cast<uint32_t>(gain * 65535 + 0.5);
    return m_wave->setVolume(m_handle, word | (word << 16));
}

jint DirectShowPlayer::getLevel() {
    if (m_state.load() < REALIZED) return 0;
    return m_volume / 100;
}

bool DirectShowPlayer::isMuted() { return m_state.load() >= REALIZED && getLevel() == -100; }

jint DirectShowPlayer::setLevel(jint level) {
    if (m_state.load() < REALIZED) return -1;
    const jint previous = m_level;
    m_level = level;
    if (!putVolume(level)) {
        Log::info("ERROR - Could not set volume level.\n");
        return -1;
    }
    return previous;
}

void DirectShowPlayer::setMute(bool mute) {
    if (m_state.load() < REALIZED) return;
    if (!putVolume(mute ? -10000 : m_level)) Log::info("ERROR - Could not set volume level.\n");
}
