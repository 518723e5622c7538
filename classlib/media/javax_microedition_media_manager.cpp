// javax_microedition_media_Manager: player selection and the supported-type lists.
#include "classlib/media/javax_microedition_media_manager.h"

#include <cstring>
#include <vector>

#include "classlib/java_io/java_io_input_stream.h"
#include "classlib/media/dummy_player.h"
#include "classlib/media/direct_show_player.h"
#include "classlib/media/sound_player_ogg.h"
#include "classlib/media/sound_player_wave.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/string.h"

ObjectArray* javax_microedition_media_Manager::getSupportedContentTypes(String*) {
    ObjectArray* types = Runtime::newObjectArray(CID_String, 4);
    BX_RETURN_IF_NULL(types, nullptr);
    const char* names[] = {"audio/x-wav", "audio/ogg", "audio/midi"};
    for (jint i = 0; i < 3; ++i) types->set(i, String::fromCString(names[i]));
    return types;
}

ObjectArray* javax_microedition_media_Manager::getSupportedProtocols(String*) {
    ObjectArray* protocols = Runtime::newObjectArray(CID_String, 1);
    BX_RETURN_IF_NULL(protocols, nullptr);
    protocols->set(0, String::fromCString("file"));
    return protocols;
}

namespace {

enum class Kind { Wave, Ogg, Midi, Amr, Dummy };

Kind byType(String* type) {
    if (type->equalsIgnoreCaseCString("audio/x-wav")) return Kind::Wave;
    if (type->equalsIgnoreCaseCString("audio/ogg")) return Kind::Ogg;
    if (type->equalsIgnoreCaseCString("audio/midi")) return Kind::Midi;
    if (type->equalsIgnoreCaseCString("audio/amr")) return Kind::Amr;
    return Kind::Dummy;
}

Kind byData(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 4) return Kind::Dummy;
    if (std::memcmp(bytes.data(), "RIFF", 4) == 0) return Kind::Wave;
    if (std::memcmp(bytes.data(), "OggS", 4) == 0) return Kind::Ogg;
    if (std::memcmp(bytes.data(), "MThd", 4) == 0) return Kind::Midi;
    return Kind::Dummy;
}

}  // namespace

Object* javax_microedition_media_Manager::createPlayer(java_io_InputStream* stream, String* type) {
    if (!stream) return nullptr;
    const jint n = stream->available();
    BX_RETURN_IF_PENDING(nullptr);
    if (n <= 0) return Runtime::make<DummyPlayer>();
    ByteArray* array = Runtime::newByteArray(n);
    if (!array) return nullptr;
    const jint got = stream->read_3(array, 0, n);
    BX_RETURN_IF_PENDING(nullptr);
    // A short read gives the player the bytes that came; the rest never arrived.
    const jint length = got > 0 ? std::min(got, n) : 0;
    std::vector<uint8_t> bytes(reinterpret_cast<const uint8_t*>(array->data),
                               reinterpret_cast<const uint8_t*>(array->data) + length);
    switch (type ? byType(type) : byData(bytes)) {
        case Kind::Wave:
            return Runtime::make<SoundPlayerWAVE>(bytes.data(), length);
        case Kind::Ogg:
            return Runtime::make<SoundPlayerOGG>(bytes.data(), length);
        case Kind::Midi:
            return Runtime::make<DirectShowPlayer>(bytes.data(), length, "audio/midi");
        case Kind::Amr:
            return Runtime::make<DirectShowPlayer>(bytes.data(), length, "audio/amr");
        case Kind::Dummy:
            break;
    }
    return Runtime::make<DummyPlayer>();
}
