// A level's walkable geometry: polylines read from the level's geometry item, each carried by a
// platform actor of type 2; the restart of a level; and the play step run once a frame.
// The item is untrusted: every count is checked against the bytes left, the tables are capped, and
// a polyline of fewer than two points (no segment) is skipped with a log line.
#include "game/cgame_level.h"

#include <algorithm>
#include <climits>

#include "actors/cactor.h"
#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/log.h"
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"

ByteArray* cGameLevel::s_levelGeometry = nullptr;
jint cGameLevel::s_polyCount = 0;
ObjectArray* cGameLevel::s_polyPoints = nullptr;
IntArray* cGameLevel::s_polyFlags = nullptr;
ObjectArray* cGameLevel::s_polyAngles = nullptr;
jint cGameLevel::s_heroMeterBonus = 0;
jbyte cGameLevel::s_blackout = 0;
jint cGameLevel::s_triggerResult = 0;

namespace {

const StaticRefRegistration kStatics(CID_cGame, &cGameLevel::s_levelGeometry, &cGameLevel::s_polyPoints, &cGameLevel::s_polyFlags,
                                     &cGameLevel::s_polyAngles);
const StaticStartValues kStartValues(&cGameLevel::s_levelGeometry, &cGameLevel::s_polyCount, &cGameLevel::s_polyPoints,
                                     &cGameLevel::s_polyFlags, &cGameLevel::s_polyAngles, &cGameLevel::s_heroMeterBonus,
                                     &cGameLevel::s_blackout, &cGameLevel::s_triggerResult);

constexpr jint kSpareTableEntries = 500;
constexpr jint kPlatformFlags = 2048, kPlatformParamFlags = 2, kPlatformRecordSize = 12;
constexpr jint kCheckpointByte = 11;

// A bounded little-endian reader over the item; a read past the end fails and stays failed.
struct GeometryReader {
    ByteArray* data;
    jint at = 0;
    bool failed = false;
    jint s16() {
        if (failed || !data || at + 2 > data->length) {
            failed = true;
            return 0;
        }
        const jint v = static_cast<jshort>((data->get(at) & 0xFF) | (data->get(at + 1) & 0xFF) << 8);
        at += 2;
        return v;
    }
    [[nodiscard]] bool has(jlong bytes) const { return !failed && data && at + bytes <= data->length; }
};

bool refuse(const char* why, jint at) {
    Log::warn("level geometry: %s at byte %d; the level cannot be played", why, at);
    return false;
}

// One polyline's platform record: type 2 at the first point, its box relative to that point.
ShortArray* platformRecord(jint polyline, jint x0, jint y0, jint minX, jint minY, jint maxX, jint maxY) {
    ShortArray* r = Runtime::newShortArray(kPlatformRecordSize);
    BX_RETURN_IF_NULL(r, nullptr);
    const jint values[kPlatformRecordSize] = {2, cGame::s_actorCount + cGame::s_actorIdBase, x0, y0,
                                              kPlatformFlags, kPlatformParamFlags, 0, polyline,
                                              minX - x0 - 1, minY - y0 - 1, std::max(maxX - minX + 2, 1),
                                              std::max(maxY - minY + 2, 1)};
    for (jint i = 0; i < kPlatformRecordSize; ++i) r->set(i, jt::i2s(values[i]));
    return r;
}

}  // namespace

void cGameLevel::resetStatics() { kStartValues.restore(); }

bool cGameLevel::levelHasGeometry() {
    IntArray* items = cGame::s_levelGeometryItems;
    const jint level = cGame::s_level;
    return items && level >= 0 && level < items->length && items->get(level) != -1;
}

bool cGameLevel::loadLevelData() {
    if (!levelHasGeometry()) return true;
    if (!s_levelGeometry) {
        cGame::packOpen(Runtime::ldcString(kGeometryPackLiteral));
        ByteArray* data = cGame::packReadData(cGame::s_levelGeometryItems->get(cGame::s_level));
        cGame::packClose();
        BX_RETURN_IF_PENDING(false);
        if (!data) return refuse("the level's geometry item is missing", 0);
        s_levelGeometry = data;
    }
    return readLevelGeometry(s_levelGeometry);
}

bool cGameLevel::readLevelGeometry(ByteArray* data) {
    s_polyCount = 0;
    GeometryReader in{data};
    const jint n = in.s16();
    const jint m = in.s16();
    if (in.failed) return refuse("the item is shorter than its header", 0);
    if (n > kMaxPolylines) return refuse("too many polylines", 0);
    if (m < 0) return refuse("a negative attribute count", 2);
    const jint room = std::max(n, 0) + kSpareTableEntries;
    s_polyPoints = Runtime::newObjectArray(CID_IntArray, room);
    s_polyAngles = Runtime::newObjectArray(CID_IntArray, room);
    s_polyFlags = Runtime::newIntArray(room);
    if (!s_polyPoints || !s_polyAngles || !s_polyFlags) return false;
    jint made = 0;
    for (jint j = 0; j < n; ++j) {
        const jint start = in.at;
        if (!in.has(2 * jlong{m} + 2)) return refuse("a polyline runs past the end", start);
        jint flagWord = 0;
        for (jint a = 0; a < m; ++a) flagWord = in.s16();
        const jint k = in.s16();
        if (k < 0 || k > kMaxPolylinePoints) return refuse("a polyline has a bad point count", start);
        if (!in.has(4 * jlong{k})) return refuse("a polyline's points run past the end", start);
        if (k < 2) {
            in.at += 4 * k;
            Log::warn("level geometry: polyline %d has %d point(s), no segment; it is skipped", j, k);
            continue;
        }
        IntArray* points = Runtime::newIntArray(2 * k);
        IntArray* angles = Runtime::newIntArray(k - 1);
        if (!points || !angles) return false;
        jint x0 = 0, y0 = 0, minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
        for (jint p = 0; p < k; ++p) {
            const jint x = in.s16(), y = in.s16();
            if (p == 0) {
                x0 = x;
                y0 = y;
            }
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
            points->set(2 * p, (x - x0) << 8);
            points->set(2 * p + 1, (y - y0) << 8);
            if (p > 0) {
                angles->set(p - 1, cGame::atan2(points->get(2 * p) - points->get(2 * p - 2),
                                                points->get(2 * p + 1) - points->get(2 * p - 1)));
            }
        }
        s_polyPoints->set(made, points);
        s_polyAngles->set(made, angles);
        s_polyFlags->set(made, flagWord);
        ShortArray* record = platformRecord(made, x0, y0, minX, minY, maxX, maxY);
        BX_RETURN_IF_NULL(record, false);
        cActor* platform = cActor::create(2, cActor::kListLevel, record);
        BX_RETURN_IF_PENDING(false);
        if (platform && !cGame::addActor(platform)) platform->removeFromAllLists();
        s_polyCount = ++made;
    }
    return true;
}

void cGameLevel::restartLevel(bool fromCheckpoint) {
    const cGame::LevelServices& services = cGame::s_levelServices;
    s_blackout = 0;
    cGame::resetLevelState(false);
    if (services.resetTriggers) services.resetTriggers();
    cGame::clearActorTable();
    cGame::spawnLevelActors();
    BX_RETURN_IF_PENDING();
    if (levelHasGeometry() && !loadLevelData()) return;
    BX_RETURN_IF_PENDING();
    for (jint i = 0; i < cGame::s_actorCount; ++i) {
        if (cActor* a = cGame::actorAt(i)) a->initByType();
        BX_RETURN_IF_PENDING();
    }
    ByteArray* save = cGame::s_saveBuffer;
    const bool checkpoint = save && cGame::getShortLE(save, kCheckpointByte) > 0;
    if (fromCheckpoint && checkpoint && services.restoreCheckpoint) {
        services.restoreCheckpoint();
        cGame::applySaveOptions();
        if (cGame::s_hero && cGame::s_hero->classId() == CID_cHero) static_cast<cHero*>(cGame::s_hero)->energy = 100;
    } else {
        cGame::applySaveOptions();
        if (services.writeSaveBuffer) services.writeSaveBuffer(0);
    }
    BX_RETURN_IF_PENDING();
    updateInGame();
    cGame::s_cameraSnap = 1;
}

void cGameLevel::updateInGame() {
    IntArray* stats = cGame::s_levelStats;
    if (stats && stats->length > 0) stats->set(0, stats->get(0) + cGame::s_frameTime);
    cGame::updateActorActivation();
    BX_RETURN_IF_PENDING();
    cGame::updateActors(cActor::kListUpdate);
    BX_RETURN_IF_PENDING();
    cActor::advanceAnimations(cActor::kListUpdate);
    if (cGame::s_levelServices.runTriggerScripts) cGame::s_triggerResult = cGame::s_levelServices.runTriggerScripts();
    BX_RETURN_IF_PENDING();
    cGame::updateCamera();
    jint& meter = cHero::s_gunEnergy;
    if (meter >= 1 && meter <= 99) {
        if (jt::rem(cGame::s_frameCounter, 6) == 0) ++meter;
    } else if (meter == 0 && jt::rem(cGame::s_frameCounter, 12) == 0) {
        meter = 1;
    }
    if (s_heroMeterBonus > 0) {
        s_heroMeterBonus -= 2;
        meter += 2;
    }
}
