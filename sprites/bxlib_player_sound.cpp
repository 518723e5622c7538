// The sound command engine: per channel a cyclic queue of 7 five-word records, executed by SndUpdate
// on the game thread, and the Player each channel holds. Invariant: head stays in 0..6 and count in
// 0..7 for every channel; a Player that belongs to a sound as its prefetched player is never closed
// here, so the next play of that sound can use it again.
#include "sprites/bxlib_player.h"

#include <string>

#include "classlib/java_io/java_io_byte_array_input_stream.h"
#include "classlib/java_lang/java_lang_thread.h"
#include "classlib/media/javax_microedition_media_manager.h"
#include "classlib/media/javax_microedition_media_player.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/exceptions.h"
#include "runtime/static_class.h"
#include "runtime/string.h"
#include "sprites/cgame_packs.h"

bool BXLibPlayer::s_sndEnabled;
bool BXLibPlayer::s_sndThreadRunning;
jint BXLibPlayer::s_sndMasterVolume;
jint BXLibPlayer::s_sndCount;
ObjectArray* BXLibPlayer::s_sndData;
IntArray* BXLibPlayer::s_sndType;
ObjectArray* BXLibPlayer::s_sndPrefetched;
ObjectArray* BXLibPlayer::s_chPlayer;
IntArray* BXLibPlayer::s_chSound;
IntArray* BXLibPlayer::s_chPriority;
IntArray* BXLibPlayer::s_chState;
IntArray* BXLibPlayer::s_chVolume;
IntArray* BXLibPlayer::s_chLoops;
IntArray* BXLibPlayer::s_sndQueue;
IntArray* BXLibPlayer::s_sndQueueHead;
IntArray* BXLibPlayer::s_sndQueueCount;
IntArray* BXLibPlayer::s_sndScratch;

namespace {

using B = BXLibPlayer;
using Player = javax_microedition_media_Player;

const StaticRefRegistration kSoundStatics(CID_BXLibPlayer, &B::s_sndData, &B::s_sndType, &B::s_sndPrefetched,
                                          &B::s_chPlayer, &B::s_chSound, &B::s_chPriority, &B::s_chState,
                                          &B::s_chVolume, &B::s_chLoops, &B::s_sndQueue, &B::s_sndQueueHead,
                                          &B::s_sndQueueCount, &B::s_sndScratch);

constexpr jint kNone = -1;

bool isChannel(jint channel) { return channel >= 0 && channel < B::kSndChannels; }
bool isSound(jint sound) { return sound >= 0 && sound < B::s_sndCount; }
// Codes the executor acts on; anything else is skipped like a cancelled record.
bool isLiveCode(jint code) { return code >= B::kSndPrepare && code <= B::kSndResume; }

// The first word of record i (0..6) of a channel's queue.
jint recordWord(jint channel, jint i) { return (channel * B::kSndQueueLength + i) * B::kSndRecordWords; }

// A channel's Player interface, or null when it holds none.
Player* channelPlayer(jint channel) { return Runtime::asPlayer(B::s_chPlayer->get(channel)); }

// Makes room in a full queue: cancelled records go first, keeping the order of the others; only when
// all seven are live is the oldest dropped. Without this a full queue would write its eighth record
// over the oldest one while the count went on growing.
void makeRoom(jint channel) {
    jint kept[B::kSndQueueLength * B::kSndRecordWords];
    jint live = 0;
    const jint head = B::s_sndQueueHead->get(channel);
    for (jint k = 0; k < B::kSndQueueLength; ++k) {
        const jint from = recordWord(channel, (head + k) % B::kSndQueueLength);
        if (!isLiveCode(B::s_sndQueue->get(from))) continue;
        for (jint w = 0; w < B::kSndRecordWords; ++w) kept[live * B::kSndRecordWords + w] = B::s_sndQueue->get(from + w);
        ++live;
    }
    const jint dropped = live == B::kSndQueueLength ? 1 : 0;
    for (jint k = dropped; k < live; ++k) {
        const jint to = recordWord(channel, (head + k - dropped) % B::kSndQueueLength);
        for (jint w = 0; w < B::kSndRecordWords; ++w) B::s_sndQueue->set(to + w, kept[k * B::kSndRecordWords + w]);
    }
    B::s_sndQueueCount->set(channel, live - dropped);
}

// A new Player over a sound's bytes, its content type taken from the byte-array pack.
Object* createPlayerFor(ByteArray* data, jint type) {
    auto* in = Runtime::make<java_io_ByteArrayInputStream>(data);
    BX_RETURN_IF_NULL(in, nullptr);
    return javax_microedition_media_Manager::createPlayer(in, cGamePacks::packGetArrayString(type));
}

}  // namespace

void* BXLibPlayer::getInterface(jint classId) {
    return classId == CID_java_lang_Runnable ? static_cast<java_lang_Runnable*>(this) : nullptr;
}

void BXLibPlayer::run() {
    while (s_sndThreadRunning) {
        SndUpdate();
        java_lang_Thread::sleep(kSndThreadSleepMs);
        Runtime::clearPendingException();
    }
}

void BXLibPlayer::SndInit(jint n) {
    s_sndEnabled = false;
    // A negative count would give arrays that claim a length they do not have.
    if (n < 0) return;
    const jint channels = kSndChannels;
    s_sndData = Runtime::newObjectArray(CID_ByteArray, n);
    s_sndType = Runtime::newIntArray(n);
    s_sndPrefetched = Runtime::newObjectArray(CID_Object, n);
    s_chPlayer = Runtime::newObjectArray(CID_Object, channels);
    s_chSound = Runtime::newIntArray(channels);
    s_chPriority = Runtime::newIntArray(channels);
    s_chState = Runtime::newIntArray(channels);
    s_chVolume = Runtime::newIntArray(channels);
    s_chLoops = Runtime::newIntArray(channels);
    s_sndQueue = Runtime::newIntArray(channels * kSndQueueLength * kSndRecordWords);
    s_sndQueueHead = Runtime::newIntArray(channels);
    s_sndQueueCount = Runtime::newIntArray(channels);
    s_sndScratch = Runtime::newIntArray(kSndRecordWords + 1);
    if (!s_sndData || !s_sndType || !s_sndPrefetched || !s_chPlayer || !s_chSound || !s_chPriority || !s_chState ||
        !s_chVolume || !s_chLoops || !s_sndQueue || !s_sndQueueHead || !s_sndQueueCount || !s_sndScratch) {
        s_sndCount = 0;
        return;
    }
    s_sndCount = n;
    for (jint c = 0; c < channels; ++c) s_chSound->set(c, kNone);
    s_sndMasterVolume = 100;
    s_sndEnabled = true;
}

void BXLibPlayer::SndLoadSound(ByteArray* data, jint type, jint index, bool prefetch) {
    if (!s_sndEnabled || !isSound(index)) return;
    s_sndData->set(index, data);
    s_sndType->set(index, type);
    if (!prefetch || !data) return;
    Object* player = createPlayerFor(data, type);
    BX_RETURN_IF_PENDING();
    s_sndPrefetched->set(index, player);
    Player* p = Runtime::asPlayer(player);
    BX_RETURN_IF_NULL(p);
    String* typeName = cGamePacks::packGetArrayString(type);
    const std::string name =
        "sound " + std::to_string(index) + " (" + (typeName ? typeName->toCString() : std::string("no content type")) + ")";
    p->nameForLog(name.c_str());
    p->realize();
    BX_RETURN_IF_PENDING();
    p->prefetch();
    BX_RETURN_IF_PENDING();
    s_sndData->set(index, nullptr);
}

bool BXLibPlayer::SndIsLoaded(jint index) {
    if (!s_sndEnabled || !isSound(index)) return false;
    return s_sndData->get(index) != nullptr || s_sndPrefetched->get(index) != nullptr;
}

jint BXLibPlayer::SndGetSound(jint channel) {
    if (!s_sndEnabled || !isChannel(channel)) return kNone;
    return s_chSound->get(channel);
}

bool BXLibPlayer::SndIsPlaying(jint channel) {
    if (!s_sndEnabled || !isChannel(channel)) return false;
    Player* p = channelPlayer(channel);
    if (!p) return false;
    const jint state = p->getState();
    BX_RETURN_IF_PENDING(false);
    return state == Player::STARTED;
}

void BXLibPlayer::SndSetVolume(jint volume) {
    if (s_sndEnabled) s_sndMasterVolume = volume;
}

void BXLibPlayer::SndQueueCommand(jint channel, jint code, jint sound, jint priority, jint a, jint b) {
    if (!s_sndEnabled || !isChannel(channel)) return;
    // A play or prepare of a sound the tables do not have could only free the channel.
    if ((code == kSndPrepare || code == kSndPlay) && !isSound(sound)) return;
    const jint head = s_sndQueueHead->get(channel);
    const jint count = s_sndQueueCount->get(channel);
    for (jint k = count - 1; k >= 0; --k) {
        const jint word = recordWord(channel, (head + k) % kSndQueueLength);
        if (s_sndQueue->get(word) != code) continue;
        const bool rankedCode = code == kSndPrepare || code == kSndPlay;
        if (!rankedCode || s_sndQueue->get(word + 2) >= priority) s_sndQueue->set(word, kSndCancelled);
    }
    if (count >= kSndQueueLength) makeRoom(channel);
    const jint length = s_sndQueueCount->get(channel);
    const jint tail = recordWord(channel, (s_sndQueueHead->get(channel) + length) % kSndQueueLength);
    s_sndQueue->set(tail, code);
    s_sndQueue->set(tail + 1, sound);
    s_sndQueue->set(tail + 2, priority);
    s_sndQueue->set(tail + 3, a);
    s_sndQueue->set(tail + 4, b);
    s_sndQueueCount->set(channel, length + 1);
}

void BXLibPlayer::SndQueueSimple(jint channel, jint code) { SndQueueCommand(channel, code, kNone, kNone, kNone, kNone); }

void BXLibPlayer::SndPlay(jint channel, jint sound, jint loops, jint volume, jint priority) {
    if (sound < 0 || volume == 0) return;
    SndQueueCommand(channel, kSndPlay, sound, priority, volume, loops);
}

void BXLibPlayer::SndStop(jint channel) { SndQueueSimple(channel, kSndStop); }
void BXLibPlayer::SndPause(jint channel) { SndQueueSimple(channel, kSndPause); }
void BXLibPlayer::SndResume(jint channel) { SndQueueSimple(channel, kSndResume); }

void BXLibPlayer::SndStopAll() {
    if (!s_sndEnabled) return;
    for (jint c = 0; c < kSndChannels; ++c) SndStop(c);
    SndUpdate();
}

void BXLibPlayer::SndQueuePop(jint channel) {
    if (!s_sndEnabled || !isChannel(channel)) return;
    const jint count = s_sndQueueCount->get(channel);
    s_sndScratch->set(kSndRecordWords, count);
    if (count <= 0) return;
    const jint head = s_sndQueueHead->get(channel);
    const jint word = recordWord(channel, head);
    for (jint w = 0; w < kSndRecordWords; ++w) s_sndScratch->set(w, s_sndQueue->get(word + w));
    s_sndQueueHead->set(channel, (head + 1) % kSndQueueLength);
    s_sndQueueCount->set(channel, count - 1);
}

void BXLibPlayer::SndUpdate() {
    if (!s_sndEnabled) return;
    for (jint c = 0; c < kSndChannels; ++c) {
        for (SndQueuePop(c); s_sndScratch->get(kSndRecordWords) > 0; SndQueuePop(c)) {
            // A sound that ended by itself leaves its channel ready for the next play.
            if (s_chState->get(c) == kChannelPlaying) {
                Player* p = channelPlayer(c);
                const jint state = p ? p->getState() : Player::CLOSED;
                if (Runtime::pending() || state != Player::STARTED) s_chState->set(c, kChannelReady);
                Runtime::clearPendingException();
            }
            const jint sound = s_sndScratch->get(1), priority = s_sndScratch->get(2);
            const jint a = s_sndScratch->get(3), b = s_sndScratch->get(4);
            switch (s_sndScratch->get(0)) {
                case kSndPrepare: SndDoPrepare(c, sound, priority); break;
                case kSndFree: SndDoFree(c); break;
                case kSndPlay: SndDoPlay(c, sound, priority, a, b); break;
                case kSndStop: SndDoStop(c); break;
                case kSndPause: SndDoPause(c); break;
                case kSndResume: SndDoResume(c); break;
                default: break;
            }
            // A Player that fails costs this command only.
            Runtime::clearPendingException();
        }
    }
}

void BXLibPlayer::SndDoPrepare(jint channel, jint sound, jint priority) {
    if (!isChannel(channel) || !isSound(sound)) return;
    const jint state = s_chState->get(channel);
    if (state == kChannelPlaying && s_chPriority->get(channel) < priority) return;
    if (s_chSound->get(channel) == sound && state != kChannelFree) return;
    SndDoFree(channel);
    BX_RETURN_IF_PENDING();
    Object* player = s_sndPrefetched->get(sound);
    if (!player) {
        auto* data = static_cast<ByteArray*>(s_sndData->get(sound));
        if (!data) return;
        player = createPlayerFor(data, s_sndType->get(sound));
        BX_RETURN_IF_PENDING();
    }
    if (!player) return;
    s_chPlayer->set(channel, player);
    s_chState->set(channel, kChannelReady);
    s_chSound->set(channel, sound);
}

void BXLibPlayer::SndDoFree(jint channel) {
    if (!s_sndEnabled || !isChannel(channel)) return;
    Object* player = s_chPlayer->get(channel);
    if (Player* p = Runtime::asPlayer(player)) {
        p->stop();
        BX_RETURN_IF_PENDING();
        const jint sound = s_chSound->get(channel);
        const bool prefetched = isSound(sound) && s_sndPrefetched->get(sound) == player;
        if (!prefetched) {
            p->close();
            BX_RETURN_IF_PENDING();
        }
    }
    s_chPlayer->set(channel, nullptr);
    s_chState->set(channel, kChannelFree);
    s_chSound->set(channel, kNone);
}

void BXLibPlayer::SndDoPlay(jint channel, jint sound, jint priority, jint volume, jint loops) {
    if (cGamePacks::s_paused || !isChannel(channel)) return;
    SndDoPrepare(channel, sound, priority);
    BX_RETURN_IF_PENDING();
    if (cGamePacks::s_paused) return;
    Player* p = channelPlayer(channel);
    if (s_chState->get(channel) != kChannelReady || !p) return;
    p->setLoopCount(loops == 0 ? -1 : loops);
    BX_RETURN_IF_PENDING();
    p->start();
    BX_RETURN_IF_PENDING();
    s_chState->set(channel, kChannelPlaying);
    s_chVolume->set(channel, volume);
    s_chLoops->set(channel, loops);
    s_chPriority->set(channel, priority);
    s_chSound->set(channel, sound);
}

void BXLibPlayer::SndDoStop(jint channel) {
    if (!isChannel(channel)) return;
    if (Player* p = channelPlayer(channel)) {
        p->stop();
        BX_RETURN_IF_PENDING();
    }
    s_chState->set(channel, kChannelReady);
}

void BXLibPlayer::SndDoPause(jint channel) {
    if (!isChannel(channel) || s_chState->get(channel) != kChannelPlaying) return;
    Player* p = channelPlayer(channel);
    if (!p) return;
    p->stop();
    BX_RETURN_IF_PENDING();
    s_chState->set(channel, kChannelPaused);
}

void BXLibPlayer::SndDoResume(jint channel) {
    if (!isChannel(channel) || s_chState->get(channel) != kChannelPaused) return;
    Player* p = channelPlayer(channel);
    if (!p) return;
    p->start();
    BX_RETURN_IF_PENDING();
    s_chState->set(channel, kChannelPlaying);
}
