// cActor's construction, its statics and their start-up steps, and the set-up of a new actor:
// from its record (initFromParams) and by its type (initByType). Records come from level data: every
// element past the record's end reads as 0 (param), so a short record never reads past it.
#include "actors/cactor.h"

#include "actors/cenemy.h"
#include "actors/chero.h"
#include "actors/csubmarine.h"
#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/new_instance_factory.h"
#include "runtime/static_class.h"
#include "sprites/bxlib_player.h"

ObjectArray* cActor::s_lists = nullptr;
jint cActor::s_targetMask[4] = {};
cActor* cActor::s_lastHit = nullptr;
IntArray* cActor::s_attackRect = nullptr;
cActor* cActor::s_hitActor = nullptr;
ObjectArray* cActor::s_frameImages = nullptr;
IntArray* cActor::s_vec2 = nullptr;
IntArray* cActor::s_cornerX = nullptr;
IntArray* cActor::s_cornerY = nullptr;
ShortArray* cActor::s_cornerSign = nullptr;
IntArray* cActor::s_searchRect = nullptr;
IntArray* cActor::s_viewScratch = nullptr;
IntArray* cActor::s_contacts = nullptr;
jint cActor::s_contactCount = 0;
jint cActor::s_contactPasses = 0;
cActor* cActor::s_groundActor = nullptr;
jbyte cActor::s_heroCarried = 0;
jint cActor::s_heroGunEnergyStart = 0;
jint cActor::s_contactLimit = 0;
jint cActor::s_enemyCountdown = 0;
jint cActor::s_enemyBossFlag = 0;
jint cActor::s_enemyAngleWide = 0;
jint cActor::s_enemyAngleNarrow = 0;

namespace {

const uint32_t kActorRefs[] = {
    BX_REF_FIELD(cActor, params),    BX_REF_FIELD(cActor, linked),        BX_REF_FIELD(cActor, localBox),
    BX_REF_FIELD(cActor, collisionRect), BX_REF_FIELD(cActor, scratchRect), BX_REF_FIELD(cActor, next),
    BX_REF_FIELD(cActor, prev),      BX_REF_FIELD(cActor, inList),        BX_REF_FIELD(cActor, typeData),
    BX_REF_FIELD(cActor, player)};
const RefFieldRegistration kActorRefsReg(CID_cActor, kActorRefs);

const StaticRefRegistration kStatics(CID_cActor, &cActor::s_lists, &cActor::s_lastHit, &cActor::s_attackRect,
                                     &cActor::s_hitActor, &cActor::s_frameImages, &cActor::s_vec2, &cActor::s_cornerX,
                                     &cActor::s_cornerY, &cActor::s_cornerSign, &cActor::s_searchRect,
                                     &cActor::s_viewScratch, &cActor::s_contacts, &cActor::s_groundActor);

const StaticInitRegistration kStaticInit("cActor::staticInit", &cActor::staticInit);
const StaticInitRegistration kConstants("cActor constants", &cActor::setConstants);
const StaticInitRegistration kTiming("cActor timing statics", &cActor::setTimingStatics);

const NewInstanceRegistration kActorNew(CID_cActor, &newInstanceOf<cActor>);
const NewInstanceRegistration kHeroNew(CID_cHero, &newInstanceOf<cHero>);
const NewInstanceRegistration kEnemyNew(CID_cEnemy, &newInstanceOf<cEnemy>);
const NewInstanceRegistration kSubmarineNew(CID_cSubmarine, &newInstanceOf<cSubmarine>);

// The two type masks of the set-up: gravity, and ground contact.
constexpr jlong kGravityTypes = 0x0400024184000300LL;
constexpr jlong kGroundTypes = 0x040002418C000302LL;
constexpr jint kLevelEndState = 19, kHeroLostState = 15;

IntArray* intArray(jint n, std::initializer_list<jint> values = {}) {
    IntArray* a = Runtime::newIntArray(n);
    if (a) a->fill(values);
    return a;
}

jint updateOrderOf(jint type) {
    IntArray* pairs = Z::s_updateOrders;
    if (pairs) {
        for (jint i = 0; i + 1 < pairs->length; i += 2)
            if (pairs->get(i) == type) return pairs->get(i + 1);
    }
    return 50;
}

}  // namespace

void cActor::staticInit() {
    s_lists = Runtime::newObjectArray(CID_cActor, kListCount);
    s_attackRect = intArray(4);
    s_frameImages = Runtime::newObjectArray(CID_ObjectArray, 5);
    for (jint i = 0; s_frameImages && i < 5; ++i)
        s_frameImages->set(i, Runtime::newObjectArray(CID_javax_microedition_lcdui_Image, 10));
    s_vec2 = intArray(2);
    s_cornerX = intArray(4, {128, -128, 128, -128});
    s_cornerY = intArray(4, {-128, -128, 128, 128});
    s_cornerSign = Runtime::newShortArray(4);
    if (s_cornerSign) s_cornerSign->fill({1, 1, -1, -1});
    s_searchRect = intArray(4);
    s_viewScratch = intArray(4);
    s_contacts = intArray(20);
    for (jint& m : s_targetMask) m = 0;
    s_lastHit = s_hitActor = s_groundActor = nullptr;
    s_contactCount = s_contactPasses = 0;
    s_heroCarried = 0;
    s_strongGravity = 0;
    s_edgePlatform = nullptr;
    s_edgeSegment = 0;
    cHero::resetStatics();
    cEnemy::s_raceHeightPlayer = cEnemy::s_raceHeightRival = 0;
    cSubmarine::s_wallHit = 0;
    cSubmarine::s_wallX = cSubmarine::s_wallY = 0;
    cSubmarine::s_enginePlayer = nullptr;
    cEnemy::s_bossMinionRelease = 0;
}

void cActor::setConstants() {
    s_heroGunEnergyStart = 1500;
    s_contactLimit = 4;
}

void cActor::setTimingStatics() {
    s_enemyCountdown = 3000;
    s_enemyBossFlag = 0;
    s_enemyAngleWide = jt::div(cGame::s_angleFullTurn * 160, 360);
    s_enemyAngleNarrow = jt::div(cGame::s_angleFullTurn * 20, 360);
}

void cActor::init() {
    state = 0;
    pendingState = previousState = angle = -1;
    contactId = groundId = prevGroundId = prevContactId = -1;
    behaviourId = behaviourRecord = -1;
    localBox = intArray(4);
    collisionRect = intArray(4);
    scratchRect = intArray(4);
    next = Runtime::newObjectArray(CID_cActor, kListCount);
    prev = Runtime::newObjectArray(CID_cActor, kListCount);
    inList = Runtime::newBooleanArray(kListCount);
}

void* cActor::getInterface(jint classId) {
    switch (classId) {
        case CID_IActorType:
        case CID_IConst:
        case CID_IDef:
            return static_cast<Object*>(this);   // constant interfaces: nothing to call
        default:
            return nullptr;
    }
}

cActor* cActor::create(jint type, jint list, ShortArray* params) {
    cActor* a = Runtime::make<cActor>();
    BX_RETURN_IF_NULL(a, nullptr);
    a->initFromParams(type, params);
    a->addToList(list);
    return a;
}

jint cActor::param(jint k) const {
    if (!params || k < 0 || k >= params->length) return 0;
    return params->get(k);
}

bool cActor::typeInMask(jlong mask, jint type) {
    if (type < 0) return false;
    return (jt::ushr(mask, type) & 1) != 0;   // the shift count wraps at 64, as Java's does
}

void cActor::initFromParams(jint t, ShortArray* p) {
    type = t;
    params = p;
    id = param(1);
    x = (param(2) & 0xFFFF) << 8;
    y = (param(3) & 0xFFFF) << 8;
    flags = param(4);
    paramFlags = param(5);
    animOffsetX = animOffsetY = 0;
    createAnimPlayer();
    if ((type == 1 || type == 14) && cGame::s_cameraFollow != this) {
        cGame::s_cameraFollow = this;
        cGame::s_cameraSnap = 1;
    }
}

void cActor::initByType() {
    if (typeInMask(kGravityTypes, type)) flags |= kFlagGravity;
    if (typeInMask(kGroundTypes, type)) flags |= kFlagGround;
    const bool levelGoesOn = cGame::s_prevState == kLevelEndState;
    switch (type) {
        case 1: {
            if (!levelGoesOn) {
                if (cGame::s_prevState != kHeroLostState) cHero::s_lives = 5 - cGame::s_difficulty;
                cHero::s_gunEnergy = cGame::s_difficulty == 1 ? 1500 : 1000;
                cHero::s_specialShots = 0;
                cHero::s_savedEnergy = 100;
            }
            if (classId() == CID_cHero) {
                auto* hero = static_cast<cHero*>(this);
                hero->maxEnergy = 100;
                if (cGame::s_level == 8) {
                    hero->energy = hero->maxEnergy;
                    cHero::s_savedEnergy = hero->energy;
                }
            }
            flags |= kFlagFront;
            break;
        }
        case 5:
            // The zone set-ups of record [8] = 5 and 2 belong to the level objects' code.
            if (param(8) == 5) typeData = intArray(5);
            else if (param(8) == 2) typeData = intArray(2);
            break;
        case 6: {
            const jint x0 = param(2), y0 = param(3);
            typeData = intArray(7, {0, (y0 + param(8)) << 8, (y0 + param(12)) << 8, (x0 + param(7)) << 8,
                                    (x0 + param(9)) << 8, (x0 + param(11)) << 8, (x0 + param(13)) << 8});
            flags |= kFlagBehind;
            break;
        }
        case 7:
            angle = cGame::atan2(param(9) - param(7), param(10) - param(8));
            typeData = intArray(5, {x + (param(7) << 8), y + (param(8) << 8), x + (param(9) << 8), y + (param(10) << 8),
                                    param(8) == param(10) ? 0 : 1});
            break;
        case 9:
        case 25: typeData = intArray(2); break;
        case 13: flags |= kFlagBehind; break;
        case 14:
            if (!levelGoesOn) {
                cHero::s_lives = 5 - cGame::s_difficulty;
                cHero::s_gunEnergy = cGame::s_difficulty == 1 ? 1500 : 1000;
                cHero::s_savedEnergy = 100;
            }
            typeData = intArray(4);
            break;
        case 18:
        case 35:
        case 59:
        case 61:
        case 65: typeData = intArray(1); break;
        case 21:
            // Four values: the race code keeps the rival's boost time in value 3.
            typeData = intArray(4);
            flags |= kFlagKeptActive;
            break;
        case 24:
            if (!params) break;
            switch (param(9)) {
                case 0: typeData = intArray(1); break;
                case 1:
                case 2:
                    typeData = intArray(2);
                    flags |= kFlagHidden;
                    break;
                case 3:
                    typeData = intArray(1);
                    flags |= kFlagHidden | kFlagGravity | kFlagGround;
                    break;
                case 4:
                    typeData = intArray(2);
                    flags |= kFlagHidden;
                    break;
                default: break;
            }
            break;
        case 29:
            typeData = intArray(1);
            flags |= kFlagContactKind | kFlagCarrier;
            break;
        case 30:
            typeData = intArray(2);
            if (param(7) == 0) flags |= kFlagContactKind;
            break;
        case 32:
            typeData = intArray(2);
            flags |= kFlagHidden;
            break;
        case 37: {
            const jint r = cGame::getRandom(0, 256);
            angle = r < 128 ? (r + 64) >> 1 : (r + 192) >> 1;
            break;
        }
        case 43: flags |= kFlagContactKind; break;
        case 47:
            if (param(11) == 1) flags |= kFlagHidden;
            break;
        case 51: typeData = intArray(8); break;
        case 53:
            typeData = intArray(3, {param(9), x, y});
            y += param(7) << 8;
            flags |= kFlagContactKind | kFlagKeptActive | kFlagCarrier;
            break;
        case 64: flags |= kFlagGravity | kFlagGround; break;
        default: break;
    }
    if (player) {
        player->SetFrame(0);
        player->time = 0;
        onEvent(this, kEventInit, 0, 0, type);
        BX_RETURN_IF_PENDING();
        enterState(state);
        BX_RETURN_IF_PENDING();
    }
    updateOrder = updateOrderOf(type);
    updateBoxes();
}

void cActor::collideSegment(cActor*, jint) {}

void cActor::stopMotion() { speedX = speedY = accelX = accelY = 0; }
