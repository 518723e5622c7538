// com_samsung_util_AudioClip: clip construction through the media manager, and play/pause/resume.
#include "classlib/media/com_samsung_util_audio_clip.h"

#include "classlib/java_io/java_io_byte_array_input_stream.h"
#include "classlib/java_lang/java_lang_exceptions.h"
#include "classlib/media/javax_microedition_media_manager.h"
#include "classlib/media/javax_microedition_media_player.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/string.h"
#include "runtime/system_natives.h"

namespace {
const uint32_t kAudioClipRefs[] = {BX_REF_FIELD(com_samsung_util_AudioClip, player)};
const RefFieldRegistration kAudioClipRefsReg(CID_com_samsung_util_AudioClip, kAudioClipRefs);
}  // namespace

void com_samsung_util_AudioClip::init(String*, String*) { player = nullptr; }

void com_samsung_util_AudioClip::raiseRange(jint literal, jint value) {
    String* text = Runtime::ldcString(literal);
    BX_RETURN_IF_NULL(text);
    Runtime::raise<java_lang_IllegalArgumentException>(text->concat(String::valueOfInt(value)));
}

void com_samsung_util_AudioClip::init(jint type, ByteArray* data, jint offset, jint length) {
    player = nullptr;
    jint literal;
    switch (type) {
        case TYPE_MIDI: literal = 273; break;
        case TYPE_MMF: literal = 274; break;
        case TYPE_MP3: literal = 275; break;
        default:
            raiseRange(276, type);
            return;
    }
    ByteArray* copy = Runtime::newByteArray(length);
    BX_RETURN_IF_NULL(copy);
    java_lang_System::arraycopy(data, offset, copy, 0, length);
    BX_RETURN_IF_PENDING();
    auto* stream = Runtime::make<java_io_ByteArrayInputStream>(copy);
    BX_RETURN_IF_NULL(stream);
    player = javax_microedition_media_Manager::createPlayer(stream, Runtime::ldcString(literal));
}

void com_samsung_util_AudioClip::play(jint loop, jint volume) {
    if (loop < 0 || loop > 255) {
        raiseRange(277, loop);
        return;
    }
    if (volume < 0 || volume > 5) {
        raiseRange(278, volume);
        return;
    }
    javax_microedition_media_Player* p = Runtime::asPlayer(player);
    BX_RETURN_IF_NULL(p);
    if (loop > 1) p->setLoopCount(loop);
    p->start();
}

void com_samsung_util_AudioClip::pause() {
    javax_microedition_media_Player* p = Runtime::asPlayer(player);
    BX_RETURN_IF_NULL(p);
    p->stop();
}

void com_samsung_util_AudioClip::resume() {
    javax_microedition_media_Player* p = Runtime::asPlayer(player);
    BX_RETURN_IF_NULL(p);
    p->start();
}

void com_samsung_util_AudioClip::stop() {
    if (player) Runtime::asPlayer(player)->stop();
}
