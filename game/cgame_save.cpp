// The save record: the first 11 bytes of the save buffer, stored as record 1 of the save store.
// Byte 0 version (1), 2 music, 3 effects, 7 highest level (-1 none), 8 menu progress, 10 game setting.
#include <algorithm>

#include "classlib/io/javax_microedition_io_file.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "classlib/rms/javax_microedition_rms_record_store.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/log.h"
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"
#include "runtime/string.h"
#include "runtime/system_natives.h"

ByteArray* cGameSave::s_saveBuffer = nullptr;
javax_microedition_rms_RecordStore* cGameSave::s_saveStore = nullptr;
ByteArray* cGameSave::s_saveStreamData = nullptr;
javax_microedition_midlet_MIDlet* cGameSave::s_midlet = nullptr;
bool cGameSave::s_musicOn = false;
bool cGameSave::s_sfxOn = false;
jint cGameSave::s_difficulty = 0;
bool cGameSave::s_firstRun = false;

namespace {

const StaticRefRegistration kStatics(CID_cGame, &cGame::s_saveBuffer, &cGame::s_saveStore, &cGame::s_saveStreamData,
                                     &cGame::s_midlet);

constexpr jint kSaveStoreName = 350;
constexpr jint kSoundPropertyName = 192;
constexpr jint kSoundOnSuffix = 13;

constexpr jint kVersion = 1;
constexpr jint kVersionByte = 0;
constexpr jint kMusicByte = 2;
constexpr jint kEffectsByte = 3;
constexpr jint kHighestLevelByte = 7;
constexpr jint kSettingByte = 10;

jbyte* bytesOf(ByteArray* a) { return static_cast<jbyte*>(a->data); }

// A zeroed buffer holding the default record: version 1, no level reached.
ByteArray* newDefaultBuffer() {
    ByteArray* buffer = Runtime::newByteArray(cGame::kSaveBufferSize);
    if (!buffer) return nullptr;
    bytesOf(buffer)[kVersionByte] = kVersion;
    bytesOf(buffer)[kHighestLevelByte] = -1;
    return buffer;
}

// True when the named store's index file exists (it may still hold no record).
bool storeExists(String* name) {
    String* path = javax_microedition_rms_RecordStore::indexPathFor(name, nullptr, nullptr);
    return path && javax_microedition_io_File::fileExists(path) != 0;
}

}  // namespace

void cGame::saveData() {
    BX_RETURN_IF_NULL(s_saveBuffer);
    if (s_saveBuffer->length < kSaveRecordSize) return;
    ByteArray* record = Runtime::newByteArray(kSaveRecordSize);
    BX_RETURN_IF_NULL(record);
    bytesOf(s_saveBuffer)[kMusicByte] = s_musicOn ? 1 : 0;
    bytesOf(s_saveBuffer)[kEffectsByte] = s_sfxOn ? 1 : 0;
    java_lang_System::arraycopy(s_saveBuffer, 0, record, 0, kSaveRecordSize);
    rmsWrite(Runtime::ldcString(kSaveStoreName), record, 0, kSaveRecordSize);
}

void cGame::createDefaultSave() {
    ByteArray* buffer = newDefaultBuffer();
    BX_RETURN_IF_NULL(buffer);
    s_saveBuffer = buffer;
    saveData();
}

void cGame::loadSave() {
    String* name = Runtime::ldcString(kSaveStoreName);
    // Asked before the read: closing the store after reading writes a new store's empty index.
    const bool stored = storeExists(name);
    ByteArray* data = rmsRead(name);
    BX_RETURN_IF_PENDING();
    if (data && data->length >= kSaveRecordSize && bytesOf(data)[kVersionByte] == kVersion) {
        ByteArray* buffer = Runtime::newByteArray(kSaveBufferSize);
        BX_RETURN_IF_NULL(buffer);
        // A record longer than the buffer is cut: only its beginning is the save.
        java_lang_System::arraycopy(data, 0, buffer, 0, std::min(data->length, kSaveBufferSize));
        s_saveBuffer = buffer;
        applySaveOptions();
        return;
    }
    s_firstRun = true;
    if (stored) {
        // A store that exists but gave no valid record keeps its files: the defaults live in memory
        // until the game's next save.
        Log::info("the saved game could not be read; starting from the defaults");
        ByteArray* buffer = newDefaultBuffer();
        BX_RETURN_IF_NULL(buffer);
        s_saveBuffer = buffer;
    } else {
        createDefaultSave();
        BX_RETURN_IF_PENDING();
    }
    if (isAppPropertyTrue()) {
        s_musicOn = true;
        s_sfxOn = true;
    }
}

void cGame::rmsWriteAll(String* name, ByteArray* data) {
    BX_RETURN_IF_NULL(data);
    rmsWrite(name, data, 0, data->length);
}

void cGame::applySaveOptions() {
    BX_RETURN_IF_NULL(s_saveBuffer);
    if (s_saveBuffer->length < kSaveRecordSize) return;
    s_difficulty = bytesOf(s_saveBuffer)[kSettingByte];
    s_musicOn = bytesOf(s_saveBuffer)[kMusicByte] == 1;
    s_sfxOn = bytesOf(s_saveBuffer)[kEffectsByte] == 1;
}

bool cGame::isAppPropertyTrue() {
    if (!s_midlet) return false;
    String* value = s_midlet->getAppProperty(Runtime::ldcString(kSoundPropertyName));
    String* lowered = value ? value->toLowerCase() : nullptr;
    return lowered && lowered->endsWith(Runtime::ldcString(kSoundOnSuffix));
}

namespace {

const StaticStartValues kStartValues(&cGameSave::s_saveBuffer, &cGameSave::s_saveStore, &cGameSave::s_saveStreamData,
                                     &cGameSave::s_midlet, &cGameSave::s_musicOn, &cGameSave::s_sfxOn,
                                     &cGameSave::s_difficulty, &cGameSave::s_firstRun);

}  // namespace

void cGameSave::resetStatics() { kStartValues.restore(); }
