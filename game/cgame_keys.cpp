// cGame's game keys: device codes mapped through two Hashtables, the live table the key handlers
// write, the snapshot the game thread takes once per frame, the queries on it and the cheat-sequence
// detector. Device keys arrive on the host thread while the game thread steps the live table, so
// the key handlers hold the game lock (they never run inside a frame of another thread) and every
// access to the live table (and its pointer) holds the key lock. Nothing under the lock
// allocates or calls out, so it never waits on the collector.
#include <algorithm>
#include <iterator>
#include <mutex>

#include "classlib/java_lang/java_lang_integer.h"
#include "classlib/java_util/java_util_hashtable.h"
#include "game/cgame.h"
#include "game/cgame_text_ids.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"

ByteArray* cGameKeys::s_keysLive = nullptr;
ByteArray* cGameKeys::s_keysFrame = nullptr;
java_util_Hashtable* cGameKeys::s_keyMap = nullptr;
java_util_Hashtable* cGameKeys::s_keyMapNav = nullptr;
IntArray* cGameKeys::s_cheatSequence = nullptr;
jint cGameKeys::s_cheatIndex = 0;
bool cGameKeys::s_cheatMode = false;
jint cGameKeys::s_lastKeyCode = cGame::kNoKeyCode;

namespace {

const StaticRefRegistration kStatics(CID_cGame, &cGame::s_keysLive, &cGame::s_keysFrame, &cGame::s_keyMap,
                                     &cGame::s_keyMapNav, &cGame::s_cheatSequence);

constexpr jint kHeldCeiling = 126;
constexpr jint kCheatText = text_id::kCheatMessage;

std::mutex g_keyLock;
// The tables' bytes: fixed storage, never moved by the native heap's compaction.
jbyte g_liveBytes[cGame::kGameKeyCount];
jbyte g_frameBytes[cGame::kGameKeyCount];

struct KeyCode {
    jint code;
    jint gameKey;
};
// In the order they are put: '0', '1' .. '9', '#', '*', the left and right soft keys.
constexpr KeyCode kMainKeys[] = {
    {'0', cGame::kKeySecondAction}, {'1', cGame::kKeyUpLeft},    {'2', cGame::kKeyUp},       {'3', cGame::kKeyUpRight},
    {'4', cGame::kKeyLeft},         {'5', cGame::kKeyFire},      {'6', cGame::kKeyRight},    {'7', cGame::kKeyDownLeft},
    {'8', cGame::kKeyDown},         {'9', cGame::kKeyDownRight}, {'#', cGame::kKeyPound},    {'*', cGame::kKeyStar},
    {-6, cGame::kKeyLeftSoft},      {-7, cGame::kKeyRightSoft}};
constexpr KeyCode kNavKeys[] = {
    {-5, cGame::kKeyFire}, {-1, cGame::kKeyUp}, {-2, cGame::kKeyDown}, {-3, cGame::kKeyLeft}, {-4, cGame::kKeyRight}};
// Up-left, down-right, up-right, down-left on the keypad: 1 9 3 7.
constexpr jint kCheatKeys[cGame::kCheatLength] = {cGame::kKeyUpLeft, cGame::kKeyDownRight, cGame::kKeyUpRight,
                                                  cGame::kKeyDownLeft};

bool putAll(java_util_Hashtable* map, const KeyCode* keys, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        auto* code = Runtime::make<java_lang_Integer>(keys[i].code);
        auto* key = Runtime::make<java_lang_Integer>(keys[i].gameKey);
        if (!code || !key) return false;
        (void)map->put(code, key);
        if (Runtime::pending()) return false;
    }
    return true;
}

// The game key `map` gives `code`, or -1 when it holds none.
jint lookUp(java_util_Hashtable* map, java_lang_Integer* code) {
    auto* value = static_cast<java_lang_Integer*>(map->get(code));
    return value ? value->intValue() : -1;
}

// Snapshot entry k; 0 for a key outside the table or before the tables exist.
jint frameEntry(jint k) {
    if (!cGame::s_keysFrame) return 0;
    return cGame::s_keysFrame->get(k);
}

}  // namespace

void cGame::keyPressed(jint keyCode) {
    GameLock game;
    s_lastKeyCode = keyCode;
    const jint k = mapKeyCode(keyCode);
    std::lock_guard<std::mutex> lock(g_keyLock);
    if (!s_keysLive || k < 0 || k >= kGameKeyCount) return;
    jbyte& entry = s_keysLive->elements()[k];
    if (entry < 1) entry = 1;
}

void cGame::keyReleased(jint keyCode) {
    GameLock game;
    const jint k = mapKeyCode(keyCode);
    std::lock_guard<std::mutex> lock(g_keyLock);
    if (!s_keysLive || k < 0 || k >= kGameKeyCount) return;
    jbyte& entry = s_keysLive->elements()[k];
    if (entry >= 1) entry = static_cast<jbyte>(-entry);
}

jint cGame::mapKeyCode(jint keyCode) {
    java_util_Hashtable* main = s_keyMap;
    java_util_Hashtable* nav = s_keyMapNav;
    if (!main) return 0;
    auto* code = Runtime::make<java_lang_Integer>(keyCode);
    BX_RETURN_IF_NULL(code, 0);
    jint k = lookUp(main, code);
    if (k < 0 && nav) k = lookUp(nav, code);
    Runtime::keepAlive(code);
    return k < 0 ? 0 : k;
}

void cGame::createKeyMaps() {
    s_keyMapNav = Runtime::make<java_util_Hashtable>();
    s_keyMap = Runtime::make<java_util_Hashtable>();
}

void cGame::initKeyMap() {
    createKeyMaps();
    BX_RETURN_IF_NULL(s_keyMap);
    BX_RETURN_IF_NULL(s_keyMapNav);
    if (!putAll(s_keyMap, kMainKeys, std::size(kMainKeys))) return;
    (void)putAll(s_keyMapNav, kNavKeys, std::size(kNavKeys));
}

void cGame::createKeyTables() {
    ByteArray* live = Runtime::newForeignByteArray(g_liveBytes, kGameKeyCount);
    ByteArray* frame = Runtime::newForeignByteArray(g_frameBytes, kGameKeyCount);
    BX_RETURN_IF_NULL(live);
    BX_RETURN_IF_NULL(frame);
    std::lock_guard<std::mutex> lock(g_keyLock);
    std::fill(std::begin(g_liveBytes), std::end(g_liveBytes), jbyte{0});
    std::fill(std::begin(g_frameBytes), std::end(g_frameBytes), jbyte{0});
    s_keysLive = live;
    s_keysFrame = frame;
}

void cGame::dropKeyTables() {
    std::lock_guard<std::mutex> lock(g_keyLock);
    s_keysLive = nullptr;
    s_keysFrame = nullptr;
}

void cGame::initCheatSequence() {
    IntArray* sequence = Runtime::newIntArray(kCheatLength);
    BX_RETURN_IF_NULL(sequence);
    for (jint i = 0; i < kCheatLength; ++i) sequence->elements()[i] = kCheatKeys[i];
    s_cheatSequence = sequence;
}

void cGame::updateKeyStates() {
    std::lock_guard<std::mutex> lock(g_keyLock);
    if (!s_keysLive || !s_keysFrame) return;
    jbyte* live = s_keysLive->elements();
    jbyte* frame = s_keysFrame->elements();
    for (jint k = 0; k < kGameKeyCount; ++k) {
        frame[k] = live[k];
        if (live[k] < 0) {
            live[k] = 0;  // a release is seen for exactly one frame
        } else if (live[k] >= 1 && live[k] < kHeldCeiling) {
            live[k] = static_cast<jbyte>(live[k] + 1);
            if (k >= cGame::kKeyLeftSoft) live[k] = static_cast<jbyte>(-live[k]);
        }
    }
}

void cGame::clearKeys() {
    std::lock_guard<std::mutex> lock(g_keyLock);
    if (!s_keysLive || !s_keysFrame) return;
    std::fill(s_keysLive->elements(), s_keysLive->elements() + kGameKeyCount, jbyte{0});
    std::fill(s_keysFrame->elements(), s_keysFrame->elements() + kGameKeyCount, jbyte{0});
}

bool cGame::isKeyDown(jint k) { return frameEntry(k) > 0; }

bool cGame::isKeyUp(jint k) { return frameEntry(k) < 1; }

bool cGame::isKeyJustPressed(jint k) { return frameEntry(k) == 1; }

bool cGame::isKeyReleased(jint k) { return frameEntry(k) < 0; }

jint cGame::getPressedKey() {
    for (jint k = kGameKeyCount - 1; k >= 0; --k) {
        if (frameEntry(k) == 1) return k;
    }
    return -1;
}

jint cGame::getReleasedKey() {
    for (jint k = kGameKeyCount - 1; k >= 0; --k) {
        if (frameEntry(k) < 0) return k;
    }
    return -1;
}

bool cGame::checkCheatSequence() {
    const jint released = getReleasedKey();
    if (released == -1) return false;
    if (!s_cheatSequence || s_cheatSequence->length < kCheatLength) return false;
    if (s_cheatIndex < 0 || s_cheatIndex >= kCheatLength) s_cheatIndex = 0;
    if (released != s_cheatSequence->elements()[s_cheatIndex]) {
        // The key that broke the sequence is not tried as the start of a new one.
        s_cheatIndex = 0;
        return false;
    }
    if (++s_cheatIndex < kCheatLength) return false;
    s_cheatIndex = 0;
    showMessageBox(getString(kCheatText));
    BX_RETURN_IF_PENDING(false);
    s_pendingAction = kActionOpenDialog;
    return true;
}

namespace {

const StaticStartValues kStartValues(&cGameKeys::s_keysLive, &cGameKeys::s_keysFrame, &cGameKeys::s_keyMap,
                                     &cGameKeys::s_keyMapNav, &cGameKeys::s_cheatSequence, &cGameKeys::s_cheatIndex,
                                     &cGameKeys::s_cheatMode, &cGameKeys::s_lastKeyCode);

}  // namespace

void cGameKeys::resetStatics() { kStartValues.restore(); }
