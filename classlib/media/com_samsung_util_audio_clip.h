// com_samsung_util_AudioClip (class id 13): the handset vendor's sound clip over a media player.
// Invariant: `player` is null or a player object (reached through Runtime::asPlayer); operations
// on a clip without a player log a null reference and do nothing.
#pragma once

#include "runtime/object.h"

class ByteArray;

class com_samsung_util_AudioClip : public Object {
public:
    static constexpr jint TYPE_MMF = 1, TYPE_MP3 = 2, TYPE_MIDI = 3;

    com_samsung_util_AudioClip() { setClassId(CID_com_samsung_util_AudioClip); }

    // AudioClip(String type, String file): the native part makes no player.
    void init(String* type, String* file);
    // AudioClip(int type, byte[] data, int offset, int length): IllegalArgumentException (literal
    // 276 and the type) for a type other than 1, 2 or 3.
    void init(jint type, ByteArray* data, jint offset, jint length);

    static jint isAvailable() { return 1; }
    // IllegalArgumentException for a loop outside 0..255 (literal 277) or a volume outside 0..5
    // (literal 278); the volume is only checked.
    void play(jint loop, jint volume);
    void pause();
    void resume();
    void stop();

    Object* player;

private:
    static void raiseRange(jint literal, jint value);
};
