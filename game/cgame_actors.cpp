// The actor table (sorted by id, its id base, search, removal), the activation pass, the update walk,
// the draw collection, and the actors' creation: from the level's records and at run time.
// The records are level data: a record that runs past the item ends the reading, one of fewer than
// six values (no type, id, position and flags) makes no actor, and a full table refuses the actor.
#include "game/cgame_actors.h"

#include <algorithm>

#include "actors/cactor.h"
#include "actors/cenemy.h"
#include "actors/chero.h"
#include "actors/csubmarine.h"
#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/log.h"
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"

ObjectArray* cGameActors::s_actorTable = nullptr;
jint cGameActors::s_actorCount = 0;
jint cGameActors::s_actorIdBase = 0;
cActor* cGameActors::s_hero = nullptr;
cActor* cGameActors::s_altPlayer = nullptr;
cActor* cGameActors::s_type21Actor = nullptr;
cActor* cGameActors::s_type44Actor = nullptr;
jbyte cGameActors::s_pulseActive = 0;
jint cGameActors::s_pulseFrames = 0;
bool cGameActors::s_tableFullLogged = false;
cActor* cGameActors::s_vehicle = nullptr;
bool cGameActors::s_inVehicle = false;

namespace {

// The update walk's snapshot of the list: a root, so an actor that leaves the table during the walk
// stays alive until the walk has passed it.
ObjectArray* g_updateSnapshot = nullptr;

const StaticRefRegistration kStatics(CID_cGame, &cGameActors::s_actorTable, &cGameActors::s_hero,
                                     &cGameActors::s_altPlayer, &cGameActors::s_type21Actor,
                                     &cGameActors::s_type44Actor, &g_updateSnapshot);
const StaticStartValues kStartValues(&cGameActors::s_actorTable, &cGameActors::s_actorCount, &cGameActors::s_actorIdBase,
                                     &cGameActors::s_hero, &cGameActors::s_altPlayer, &cGameActors::s_type21Actor,
                                     &cGameActors::s_type44Actor, &cGameActors::s_pulseActive,
                                     &cGameActors::s_pulseFrames, &cGameActors::s_tableFullLogged, &g_updateSnapshot);

const StaticRefRegistration kVehicleStatics(CID_cGame, &cGameActors::s_vehicle);
const StaticStartValues kVehicleStartValues(&cGameActors::s_vehicle, &cGameActors::s_inVehicle);

constexpr jint kMinRecordValues = 6;
constexpr jint kNearViewDistance = 1200;

cActor* asActor(Object* o) { return static_cast<cActor*>(o); }

bool enemyType(jint type) {
    switch (type) {
        case 4: case 8: case 9: case 14: case 21: case 23: case 25: case 28: case 31: case 32: case 37:
        case 38: case 41: case 44: case 45: case 46: case 47: case 48: case 49: case 51: case 52: case 65:
            return true;
        default: return false;
    }
}

cActor* createByType(jint type, ShortArray* record) {
    if (type == 1) return cHero::create(record);
    if (type == 36) return cSubmarine::create(record);
    if (enemyType(type)) return cEnemy::create(type, record);
    return cActor::create(type, cActor::kListLevel, record);
}

bool tableHasRoom() {
    if (cGame::s_actorTable && cGame::s_actorCount < cGame::s_actorTable->length) return true;
    if (!cGame::s_tableFullLogged) {
        Log::warn("actors: the actor table is full (%d actors); no more are made", cGame::s_actorCount);
        cGame::s_tableFullLogged = true;
    }
    return false;
}

jint idAt(jint i) { return asActor(cGame::s_actorTable->get(i))->id; }

// The sprites every level of its kind needs, the level's own, and those its trigger scripts bring
// into play (read before the actors are made).
void startSpriteMask() {
    cGame::s_spriteMask[0] = cGame::s_altPlayerLevel ? 0x202004 : 0xA005;
    cGame::s_spriteMask[1] = 0;
    cGame::markTriggerSprites();
    Long64Array* bits = cGame::s_levelSpriteBits;
    const jint level = cGame::s_level;
    if (!bits || level < 0 || level >= bits->length) return;
    const jlong b = bits->get(level);
    cGame::s_spriteMask[0] |= jt::l2i(b);
    cGame::s_spriteMask[1] |= jt::l2i(jt::ushr(b, 32));
}

}  // namespace

void cGameActors::resetStatics() {
    kStartValues.restore();
    kVehicleStartValues.restore();
}

cActor* cGameActors::actorAt(jint index) {
    if (!s_actorTable || index < 0 || index >= s_actorCount || index >= s_actorTable->length) return nullptr;
    return asActor(s_actorTable->get(index));
}

bool cGameActors::addActor(cActor* actor) {
    if (!actor || !tableHasRoom()) return false;
    s_actorTable->set(s_actorCount++, actor);
    return true;
}

void cGameActors::sortActorTable(jint start) {
    if (!s_actorTable || s_actorCount < 1) return;
    if (start < 0) start = 0;
    for (jint i = start; i < s_actorCount - 1; ++i) {
        for (jint j = i; j < s_actorCount; ++j) {
            if (idAt(i) > idAt(j)) {
                Object* t = s_actorTable->get(i);
                s_actorTable->set(i, s_actorTable->get(j));
                s_actorTable->set(j, t);
            }
        }
    }
    s_actorIdBase = idAt(s_actorCount - 1) + 1 - s_actorCount;
}

cActor* cGameActors::findActorById(jint id) {
    if (id < 1 || !s_actorTable || s_actorCount < 1) return nullptr;
    const jlong low = std::max<jlong>(0, jlong{id} - s_actorIdBase - 1);
    jint hi = std::min(s_actorCount - 1, id);
    if (low > hi) return nullptr;
    jint lo = static_cast<jint>(low);
    jint mid = hi;
    for (;;) {
        const jint probe = idAt(mid);
        if (probe == id) return actorAt(mid);
        if (probe < id) lo = mid;
        else hi = mid;
        const jint next = (lo + hi) / 2;
        if (next == mid || lo > hi) return nullptr;
        mid = next;
    }
}

void cGameActors::removeActor(cActor* actor) {
    BX_RETURN_IF_NULL(actor);
    for (jint i = s_actorCount - 1; s_actorTable && i >= 0; --i) {
        if (s_actorTable->get(i) != actor) continue;
        --s_actorCount;
        s_actorTable->set(i, s_actorTable->get(s_actorCount));
        s_actorTable->set(s_actorCount, nullptr);
        sortActorTable(i - 1);
        break;
    }
    actor->removeFromAllLists();
}

void cGameActors::clearActorTable() {
    for (jint i = 0; s_actorTable && i < s_actorCount; ++i) s_actorTable->set(i, nullptr);
    cActor::clearAllLists();
    s_actorCount = 0;
    s_hero = s_altPlayer = s_type21Actor = nullptr;
}

cActor* cGameActors::deactivateActorById(jint id, bool kill) {
    cActor* a = findActorById(id);
    if (!a || (a->flags & cActor::kFlagSpawned)) return nullptr;
    a->deactivate(kill);
    return a;
}

cActor* cGameActors::wakeActorById(jint id) {
    if (id < 1) return nullptr;
    cActor* a = findActorById(id);
    if (a) {
        if ((a->flags & cActor::kFlagSpawned) || a->type == 2) return nullptr;
        a->activate();
        return a;
    }
    // Trigger ids share the actor ids: no actor, so the idle trigger of that id is fired.
    if (cGame::s_levelServices.fireTrigger) cGame::s_levelServices.fireTrigger(id);
    return nullptr;
}

bool cGameActors::isActorNearView(cActor* a) {
    BX_RETURN_IF_NULL(a, false);
    if (a->type == 2) return cGame::isRectInViewMargin(a->toWorldRect(a->localBox), kNearViewDistance << 8);
    const jlong dx = jlong{cGame::s_cameraX} - cGame::fixedToInt(a->x) + cGame::kViewWidth / 2;
    const jlong dy = jlong{cGame::s_cameraY} - cGame::fixedToInt(a->y) + cGame::kViewHeight / 2;
    return (dx < 0 ? -dx : dx) + (dy < 0 ? -dy : dy) < kNearViewDistance;
}

void cGameActors::updateActorActivation() {
    cActor::clearList(cActor::kListWake);
    for (cActor *a = cActor::listHead(cActor::kListLevel), *next = nullptr; a; a = next) {
        next = a->nextIn(cActor::kListLevel);
        if (a->flags & cActor::kFlagKeptActive) {
            a->activate();
        } else if (isActorNearView(a)) {
            if (!(a->flags & (cActor::kFlagNoViewWake | cActor::kFlagKilled | cActor::kFlagParked)))
                a->addToList(cActor::kListWake);
            else if (a->flags & cActor::kFlagParked)
                a->deactivate(false);
        } else {
            a->deactivate(false);
        }
        BX_RETURN_IF_PENDING();
    }
    for (cActor *a = cActor::listHead(cActor::kListWake), *next = nullptr; a; a = next) {
        next = a->nextIn(cActor::kListWake);
        if (!(a->flags & cActor::kFlagActive)) a->activate();
        BX_RETURN_IF_PENDING();
    }
}

void cGameActors::spawnLevelActors() {
    startSpriteMask();
    s_actorTable = Runtime::newObjectArray(CID_cActor, kActorTableSize);
    s_actorCount = 0;
    s_tableFullLogged = false;
    cActor::clearAllLists();
    ByteArray* records = cGame::s_levelRecords;
    const jint length = records ? records->length : 0;
    for (jint offset = 0; offset < length;) {
        const jint n = records->get(offset++);
        const jint values = n > 0 ? n : 0;
        if (jlong{offset} + 2 * jlong{values} > length) {
            Log::warn("actors: the record at byte %d runs past the end of the actor item (%d bytes); reading stops",
                      offset - 1, length);
            break;
        }
        const jint at = offset;
        offset += 2 * values;
        if (values < kMinRecordValues) {
            Log::warn("actors: the record at byte %d has %d values, fewer than %d; it is skipped", at - 1, n,
                      kMinRecordValues);
            continue;
        }
        ShortArray* record = Runtime::newShortArray(values);
        BX_RETURN_IF_NULL(record);
        records = cGame::s_levelRecords;   // re-read after the allocation
        for (jint i = 0; i < values; ++i) record->set(i, static_cast<jshort>(cGame::getShortLE(records, at + 2 * i)));
        const jint type = record->get(0);
        if (isSkippedLevelType(type) || !tableHasRoom()) continue;
        cActor* a = createByType(type, record);
        BX_RETURN_IF_PENDING();
        if (!a) continue;
        if (type == 1) s_hero = a;
        else if (type == 14) s_altPlayer = a;
        else if (type == 21) s_type21Actor = a;
        else if (type == 44) s_type44Actor = a;
        addActor(a);
    }
    sortActorTable(0);
}

void cGameActors::initLevelActors() {
    for (cActor* a = cActor::listHead(cActor::kListLevel); a; a = a->nextIn(cActor::kListLevel)) {
        a->player = nullptr;
        a->createAnimPlayer();
        BX_RETURN_IF_PENDING();
        a->initByType();
        BX_RETURN_IF_PENDING();
    }
}

cActor* cGameActors::spawnActor(jint type, jint spriteSlot, jint x, jint y) {
    if (!tableHasRoom()) return nullptr;
    cActor* a = nullptr;
    if (type == 5) {
        ShortArray* record = Runtime::newShortArray(11);
        BX_RETURN_IF_NULL(record, nullptr);
        record->set(8, 14);
        record->set(9, 2);
        a = Runtime::make<cActor>();
        if (a) a->params = record;
    } else if (type == 65) {
        a = Runtime::make<cEnemy>();
    } else {
        a = Runtime::make<cActor>();
    }
    BX_RETURN_IF_NULL(a, nullptr);
    a->id = s_actorCount + s_actorIdBase;
    addActor(a);
    a->type = type;
    if (spriteSlot != -1) {
        ObjectArray* sprites = cGame::s_sprites;
        Object* s = sprites && spriteSlot >= 0 && spriteSlot < sprites->length ? sprites->get(spriteSlot) : nullptr;
        auto* sprite = s && s->classId() == CID_Bsprite ? static_cast<ASprite*>(static_cast<Bsprite*>(s)) : nullptr;
        a->player = Runtime::make<BXLibPlayer>(sprite, cGame::fixedToInt(x), cGame::fixedToInt(y));
    }
    a->flags |= cActor::kFlagSpawned | cActor::kFlagNoViewWake;
    a->x = x;
    a->y = y;
    a->initByType();
    BX_RETURN_IF_PENDING(a);
    a->updateBoxes();
    a->activate();
    BX_RETURN_IF_PENDING(a);
    a->setState(0);
    BX_RETURN_IF_PENDING(a);
    a->addToList(cActor::kListLevel);
    a->flags |= cActor::kFlagKeptActive;
    return a;
}

cActor* cGameActors::spawnType12(jint x, jint y, jint animation) {
    cActor* a = spawnActor(12, 7, x, y);
    if (!a) return nullptr;
    if (a->player) a->player->SetAnim(animation, -1);
    a->updateBoxes();
    a->flags |= cActor::kFlagGround | cActor::kFlagGravity;
    return a;
}

cActor* cGameActors::spawnType24(jint x, jint y, jint a, jint b, jint c, jint d, jint e) {
    cActor* actor = spawnActor(24, 22, x, y);
    if (!actor) return nullptr;
    ShortArray* record = Runtime::newShortArray(12);
    BX_RETURN_IF_NULL(record, actor);
    record->set(1, static_cast<jshort>(actor->id));
    const jint values[] = {a, b, c, d, e};
    for (jint i = 0; i < 5; ++i) record->set(7 + i, jt::i2s(values[i]));
    actor->params = record;
    actor->initByType();
    actor->x = x;
    actor->y = y;
    if (actor->player) actor->player->SetAnim(0, -1);
    actor->updateBoxes();
    actor->flags |= cActor::kFlagGround | cActor::kFlagGravity;
    return actor;
}

cActor* cGameActors::spawnDust(jint x, jint y) {
    if (jt::rem(cGame::s_frameCounter, 15) != 0) return nullptr;
    cActor* a = spawnActor(61, 13, x, y);
    if (!a) return nullptr;
    if (a->player) a->player->SetAnim(9, -1);
    a->speedY = Z::T85;
    a->speedX = Z::T86;
    a->stateTime = cGame::getRandom(0, 400);
    a->updateBoxes();
    cActor::s_groundActor = a;
    return a;
}

void cGameActors::updateActors(jint list) {
    if (!cGame::s_altPlayerLevel) {
        if (s_hero && s_hero->classId() == CID_cHero) static_cast<cHero*>(s_hero)->resetZoneFlags();
        cActor::s_heroCarried = 0;
    }
    jint count = 0;
    for (cActor* a = cActor::listHead(list); a; a = a->nextIn(list)) ++count;
    if (!g_updateSnapshot || g_updateSnapshot->length < count) {
        g_updateSnapshot = Runtime::newObjectArray(CID_cActor, count + 64);
        BX_RETURN_IF_NULL(g_updateSnapshot);
    }
    jint n = 0;
    for (cActor* a = cActor::listHead(list); a && n < count; a = a->nextIn(list)) g_updateSnapshot->set(n++, a);
    for (jint i = 0; i < n; ++i) {
        cActor* a = asActor(g_updateSnapshot->get(i));
        g_updateSnapshot->set(i, nullptr);
        if (!a->isInList(list)) continue;   // taken out by an update before its turn
        if ((a->flags & cActor::kFlagHeld) || !(a->flags & cActor::kFlagActive)) continue;
        if (a->updateOrder < 10000) a->updateMovement();
        constexpr jint kResolves = cActor::kFlagGround | cActor::kFlagContactKind;
        if ((a->flags & kResolves) && !(a->flags & cActor::kFlagNoMove) && a->updateOrder < 200 && !Runtime::pending())
            a->resolveContacts();
        if (a->updateOrder < 10000 && !Runtime::pending()) a->applyMove();
        if (a->updateOrder < 10001 && !Runtime::pending()) a->update();
        if (Runtime::pending()) {
            for (jint k = i + 1; k < n; ++k) g_updateSnapshot->set(k, nullptr);
            return;
        }
    }
}

void cGameActors::collectVisibleActors() {
    cActor::clearList(cActor::kListDraw);
    constexpr jint kNotDrawn = cActor::kFlagHidden | cActor::kFlagKilled | cActor::kFlagParked;
    for (cActor* a = cActor::listHead(cActor::kListUpdate); a; a = a->nextIn(cActor::kListUpdate)) {
        if (a->flags & kNotDrawn) continue;
        bool visible = false;
        if (a->player && a->player->anim >= 0) {
            IntArray* r = a->toWorldRect(a->getAnimRect(cActor::s_searchRect));
            visible = cGame::s_altPlayerLevel ? cGame::isRectNearView(r) : cGame::isRectInView(r);
        }
        if (visible || (a->type == 5 && (a->param(8) == 12 || a->param(8) == 14))) a->addToList(cActor::kListDraw);
    }
    cActor::paintList(cActor::kListDraw);
}
