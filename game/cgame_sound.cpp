// The game's sound requests: music on channel 0, effects on channel 1 (one at a time) and channel 2
// (never cutting into what plays there), each under the player's music or effects switch, queued
// for the sound engine. Ids outside the game's sounds, negative ones from level data included, are
// ignored whole: nothing queued, nothing remembered.
#include "classlib/java_io/java_io_print_stream.h"
#include "classlib/java_lang/java_lang_system_statics.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/static_start_values.h"
#include "runtime/string.h"
#include "runtime/string_buffer.h"
#include "sprites/bxlib_player.h"

jint cGameSound::s_currentSfx = -1;
jint cGameSound::s_lastSound = -1;
jint cGameSound::s_levelMusicOverride = -1;
jbyte cGameSound::s_levelMusicOverrideOn = 0;

namespace {

constexpr jint kMusicChannel = 0, kSfxChannel = 1, kQuietSfxChannel = 2;
constexpr jint kStickySfx = 12;   // an effect that no other effect interrupts
constexpr jint kSoundLineLiteral = 181;
constexpr jint kPriority = 0, kVolume = 100;
constexpr jint kLoopForever = 0, kPlayOnce = 1;

bool isSoundId(jint id) { return id >= 0 && id < cGame::kSoundCount; }

// Music needs the music switch; effects the effects switch.
bool channelAllowed(jint channel) {
    return (cGame::s_musicOn && channel == kMusicChannel) ||
           (cGame::s_sfxOn && (channel == kSfxChannel || channel == kQuietSfxChannel));
}

// Whether the channel plays; a failure of the question ends the request quietly (false).
bool askPlaying(jint channel, bool* playing) {
    *playing = BXLibPlayer::SndIsPlaying(channel);
    if (!Runtime::pending()) return true;
    Runtime::clearPendingException();
    return false;
}

// A new effect stops the one on channel 1 unless it is the same or the sticky one.
void replaceChannelOneEffect(jint id) {
    if (cGame::s_currentSfx == id || cGame::s_currentSfx == kStickySfx) return;
    BXLibPlayer::SndStop(kSfxChannel);
    cGame::s_currentSfx = id;
}

void play(jint channel, jint id, bool loop) {
    BXLibPlayer::SndPlay(channel, id, loop ? kLoopForever : kPlayOnce, kVolume, kPriority);
    cGame::s_lastSound = id;
    // The console line of every request, for following the sound by ear.
    java_io_PrintStream* out = java_lang_SystemStatics::out;
    if (!out) return;
    auto* line = new StringBuffer();
    BX_RETURN_IF_NULL(line);
    line->initFromString(Runtime::ldcString(kSoundLineLiteral));
    line->appendInt(id);
    out->println(line->toString());
}

}  // namespace

void cGame::playSound(jint channel, jint id, bool loop) {
    if (!channelAllowed(channel) || !isSoundId(id)) return;
    bool playing = false;
    if (!askPlaying(channel, &playing)) return;
    if (channel == kQuietSfxChannel && playing) return;
    if (channel == kSfxChannel) replaceChannelOneEffect(id);
    play(channel, id, loop);
}

void cGame::playSfx(jint id) {
    if (!s_sfxOn || !isSoundId(id)) return;
    bool playing = false;
    if (!askPlaying(kSfxChannel, &playing)) return;
    replaceChannelOneEffect(id);
    play(kSfxChannel, id, false);
}

void cGame::playMusic(jint id, bool loop) {
    if (!isSoundId(id)) return;
    // Remembered even while music is off, so that switching it on or showing the game again can
    // start it.
    s_musicLoop = loop ? 1 : 0;
    s_musicId = id;
    if (!s_musicOn) return;
    bool playing = false;
    if (!askPlaying(kMusicChannel, &playing)) return;
    play(kMusicChannel, id, loop);
}

void cGame::playLevelMusic() {
    bool playing = false;
    if (!askPlaying(kMusicChannel, &playing) || playing) return;
    const jint music = s_levelMusicOverrideOn ? s_levelMusicOverride
                       : s_levelMusic && s_level >= 0 && s_level < s_levelMusic->length ? s_levelMusic->get(s_level)
                                                                                         : -1;
    playMusic(music, true);
}

void cGame::stopChannel(jint channel) {
    if (channelAllowed(channel)) BXLibPlayer::SndStop(channel);
}

void cGame::pauseChannel(jint channel) {
    if (channelAllowed(channel)) BXLibPlayer::SndPause(channel);
}

void cGame::resumeChannel(jint channel) {
    if (channelAllowed(channel)) BXLibPlayer::SndResume(channel);
}

void cGame::stopAllSounds() {
    for (jint channel : {kMusicChannel, kSfxChannel, kQuietSfxChannel}) stopChannel(channel);
}

void cGame::resumeAllSounds() {
    for (jint channel : {kMusicChannel, kSfxChannel, kQuietSfxChannel}) resumeChannel(channel);
}

namespace {

const StaticStartValues kStartValues(&cGameSound::s_currentSfx, &cGameSound::s_lastSound,
                                     &cGameSound::s_levelMusicOverride, &cGameSound::s_levelMusicOverrideOn);

}  // namespace

void cGameSound::resetStatics() { kStartValues.restore(); }
