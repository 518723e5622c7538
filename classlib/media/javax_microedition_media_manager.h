// javax_microedition_media_Manager (class id 95): makes players from streams, by content type or by
// the data's first bytes. Invariant: a stream with nothing available gives a DummyPlayer, never null.
#pragma once

#include "runtime/object.h"

class ObjectArray;
class java_io_InputStream;

class javax_microedition_media_Manager : public Object {
public:
    // {"audio/x-wav", "audio/ogg", "audio/midi", null}; the protocol is ignored.
    static ObjectArray* getSupportedContentTypes(String* protocol);
    // {"file"}; the type is ignored.
    static ObjectArray* getSupportedProtocols(String* contentType);
    // Null for a null stream or an exhausted heap; otherwise a player object (reach it through
    // Runtime::asPlayer). The stream is read once for what it says is available.
    static Object* createPlayer(java_io_InputStream* stream, String* type);
};
