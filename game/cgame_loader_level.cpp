// The loader's level load (kind 1, 53 steps) and the level's tile sprites: reference time, tile
// sprites, tile layers and level size, actor records and triggers, the sprites the level uses, and
// the start of play. The level pack is untrusted: a tile layer's three items must agree with each
// other before the tile engine sees them, and a level whose tile sprites, layers, records or trigger
// scripts are missing or malformed is not played (loader::abandonLevel).
#include "game/cgame_loader_steps.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/log.h"
#include "runtime/string.h"
#include "sprites/asprite.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"

namespace {

using B = BXLibPlayer;

constexpr jint kSpritePackLiteral = 138, kTimesPackLiteral = 142, kTilePackLiteral = 144;
constexpr jint kTouchSpriteItem = 40, kTouchCachePool = 1, kTouchCachePoolSize = 100;
constexpr jint kViewWidth = 800, kViewHeight = 480, kTileSize = 40;
constexpr jint kRecordsItem = 0, kTriggersItem = 1, kFirstLayerItem = 2, kItemsPerLayer = 3;
constexpr jint kTileLayersFromPack[] = {0, 2, 3, 4};
constexpr jint kSizeLayer = 3;
constexpr jint kReferenceStat = 5;
// The alternate-player levels scroll through an open extent, the actors' constants for it.
constexpr jint kAltLevelWidth = 256000, kAltLevelHeight = 9216000;
constexpr jint kArcEntries = 306, kArcPeak = 153;
constexpr jint kFirstSpriteStep = 8, kSpriteCandidates = 41;

// Steps with a fixed meaning; 8..48 load the sprites of the mask.
enum LevelStep : jint {
    kStepReleaseAndReference = 0,
    kStepTileSprites = 1,
    kStepOpenLevelPack = 2,
    kStepTileLayers = 3,
    kStepCloseLevelPack = 4,
    kStepSpawnActors = 5,
    kStepGeometry = 6,
    kStepTouchSprite = 7,
    kStepIdle = 49,
    kStepCloseSpritePack = 50,
    kStepFrameCaches = 51,
    kStepStartPlay = 52,
};

// The sprite item of tile layer k of the level, -1 when the level has no such layer (or the table
// does not say).
jint layerItem(jint level, jint k) {
    IntArray* items = cGame::s_levelLayerItems;
    const jlong at = jlong{level} * cGame::kLayersPerLevel + k;
    if (!items || level < 0 || k < 0 || k >= cGame::kLayersPerLevel || at >= items->length) return -1;
    return items->get(static_cast<jint>(at));
}

Bsprite* layerSprite(jint k) {
    ObjectArray* layers = cGame::s_layerSprites;
    if (!layers || k < 0 || k >= layers->length) return nullptr;
    Object* s = layers->get(k);
    return s && s->classId() == CID_Bsprite ? static_cast<Bsprite*>(s) : nullptr;
}

const cGame::LevelServices& services() { return cGame::s_levelServices; }

// Step 0 -------------------------------------------------------------------------------------

void releasePreviousLevel() {
    if (auto* clear = loader::service(services().clearFrameCaches, "clearFrameCaches")) clear();
    cGame::resetLevelState(true);
    if (auto* triggers = loader::service(services().resetTriggers, "resetTriggers")) triggers();
    cGame::clearActorTable();
    loader::dropLevelSprites();
    loader::dropLayerSprites();
    for (jint layer : {2, 3, 1, 0}) B::TilesetAllocLayer(layer, true);
}

// The level's reference time: entry L of the times pack's int array (0 when the pack lacks it).
void readReferenceTime() {
    cGame::packOpen(Runtime::ldcString(kTimesPackLiteral));
    Object* times = cGame::packReadStream(0);
    cGame::packClose();
    BX_RETURN_IF_PENDING();
    const jint level = cGame::s_level;
    jint reference = 0;
    if (times && times->classId() == CID_IntArray && level >= 0 && level < static_cast<IntArray*>(times)->length) {
        reference = static_cast<IntArray*>(times)->get(level);
    } else {
        loader::logBadItem(loader::packName(kTimesPackLiteral), 0, "the level has no reference time");
    }
    IntArray* stats = cGame::s_levelStats;
    if (stats && stats->length > kReferenceStat) stats->set(kReferenceStat, reference);
}

void prepareLevel() {
    loader::resetModuleImageCache();
    if (auto* drop = loader::service(services().dropSceneCache, "dropSceneCache")) drop();
    // The menus' title picture; a menu loads it again when it needs it.
    if (cGame::s_interfaceSprite2) cGame::s_interfaceSprite2->Unload();
    cGame::s_interfaceSprite2 = nullptr;
    if (cGame::s_levelLoaded) releasePreviousLevel();
    BX_RETURN_IF_PENDING();
    readReferenceTime();
}

// Step 1 -------------------------------------------------------------------------------------

void loadTileSprites() {
    cGame::packOpen(Runtime::ldcString(kTilePackLiteral));
    loader::resetModuleImageCache();
    cGame::loadLevelSprites();
    cGame::packClose();
    BX_RETURN_IF_PENDING();
    for (jint k : kTileLayersFromPack) {
        if (layerItem(cGame::s_level, k) != -1 && !layerSprite(k)) return loader::abandonLevel("a tile sprite");
    }
}

// Steps 2 to 4 -------------------------------------------------------------------------------

String* levelPackName() {
    ObjectArray* names = cGame::s_levelPackNames;
    const jint level = cGame::s_level;
    if (!names || level < 0 || level >= names->length) return nullptr;
    Object* name = names->get(level);
    return name && name->classId() == CID_String ? static_cast<String*>(name) : nullptr;
}

void openLevelPack() {
    String* name = levelPackName();
    if (!name) return loader::abandonLevel("no level pack name");
    cGame::packOpen(name);
    BX_RETURN_IF_PENDING();
    if (!cGame::s_packFirstItems) {
        Log::warn("loader: pack \"%s\" is missing or malformed", loader::packName(name).c_str());
        loader::abandonLevel("its pack");
    }
}

jint u16At(ByteArray* a, jint i) { return (a->get(i) & 0xFF) | (a->get(i + 1) & 0xFF) << 8; }

// One tile layer from its three items (tile ids, header, cell flags), checked against each other:
// the header gives at least one column and row, the ids cover every cell, and the flags, unless
// empty (no flag plane), too. False when the layer cannot be used.
bool loadTileLayer(jint layer, jint item) {
    ByteArray* tiles = cGame::packReadData(item);
    ByteArray* header = cGame::packReadData(item + 1);
    ByteArray* flags = cGame::packReadData(item + 2);
    BX_RETURN_IF_PENDING(false);
    const std::string pack = loader::packName(levelPackName());
    if (!header || header->length < 4 || u16At(header, 0) < 1 || u16At(header, 2) < 1) {
        loader::logBadItem(pack, item + 1, "the tile layer has no size");
        return false;
    }
    const jlong cells = jlong{u16At(header, 0)} * u16At(header, 2);
    if (!tiles || tiles->length < 2 * cells) {
        loader::logBadItem(pack, item, "the tile layer lacks tiles");
        return false;
    }
    if (!flags || (flags->length != 0 && flags->length < cells)) {
        loader::logBadItem(pack, item + 2, "the tile layer lacks cell flags");
        return false;
    }
    const jint repeat = layer == 0 ? 1 : 0;
    // Only the background keeps a back buffer: the buffers are opaque, so a buffered middle or
    // foreground layer would cover everything drawn before it with black where it has no tile.
    const bool buffered = layer == 0;
    B::TilesetLoadLayer(layer, header, tiles, flags->length ? flags : nullptr, layerSprite(layer), buffered, 16,
                        repeat, repeat);
    return !Runtime::pending();
}

// The pixel size of a tile layer the engine holds; false when it holds none.
bool layerPixelSize(jint layer, jint& w, jint& h) {
    if (!B::s_tilesEnabled || !B::s_layerRecords || layer < 0 || layer >= B::s_layerRecords->length) return false;
    auto* rec = static_cast<IntArray*>(B::s_layerRecords->get(layer));
    if (!rec || rec->length < B::kLayerRecordWords || rec->get(B::kLayerCols) < 1) return false;
    w = rec->get(B::kLayerPixelW);
    h = rec->get(B::kLayerPixelH);
    return true;
}

void loadTileLayersAndRecords() {
    B::TilesetInit(kViewWidth, kViewHeight, kTileSize, kTileSize);
    jint item = kFirstLayerItem;
    for (jint k : kTileLayersFromPack) {
        if (layerItem(cGame::s_level, k) == -1) continue;
        if (!loadTileLayer(k, item)) return loader::abandonLevel("a tile layer");
        item += kItemsPerLayer;
    }
    if (cGame::s_altPlayerLevel) {
        cGame::s_levelWidth = kAltLevelWidth;
        cGame::s_levelHeight = kAltLevelHeight;
    } else if (!layerPixelSize(kSizeLayer, cGame::s_levelWidth, cGame::s_levelHeight)) {
        return loader::abandonLevel("no tile layer to size it");
    }
    const std::string pack = loader::packName(levelPackName());
    ByteArray* records = cGame::packReadData(kRecordsItem);
    BX_RETURN_IF_PENDING();
    if (!records) {
        loader::logBadItem(pack, kRecordsItem, "the level has no actors");
        return loader::abandonLevel("its actor records");
    }
    cGame::s_levelRecords = records;
    ByteArray* triggers = cGame::packReadData(kTriggersItem);
    BX_RETURN_IF_PENDING();
    if (!triggers) {
        loader::logBadItem(pack, kTriggersItem, "the level has no trigger scripts");
        return loader::abandonLevel("its trigger scripts");
    }
    if (auto* load = loader::service(services().loadTriggerScripts, "loadTriggerScripts")) load(triggers);
}

// Steps 5 to 52 ------------------------------------------------------------------------------

void spawnActors() {
    cGame::spawnLevelActors();
    BX_RETURN_IF_PENDING();
    Log::info("loader: level %d has %d actors", cGame::s_level, cGame::s_actorCount);
}

void loadGeometry() {
    cGame::s_polyCount = 0;
    cGame::s_levelGeometry = nullptr;   // a new level: its item is read afresh
    if (!cGame::levelHasGeometry()) return;
    const jint before = cGame::s_actorCount;
    if (!cGame::loadLevelData()) return loader::abandonLevel("its geometry");
    Log::info("loader: level %d has %d polylines, %d platforms", cGame::s_level, cGame::s_polyCount,
              cGame::s_actorCount - before);
}

void loadTouchSprite() {
    cGame::packOpen(Runtime::ldcString(kSpritePackLiteral));
    Bsprite* touch = cGame::loadSpriteFlags(kTouchSpriteItem, 1, false, false);
    BX_RETURN_IF_PENDING();
    cGame::s_touchSprite = touch;
    if (!touch) return loader::logBadItem(loader::packName(kSpritePackLiteral), kTouchSpriteItem, "no touch buttons");
    ASprite::InitCachePool(kTouchCachePool, kTouchCachePoolSize);
    touch->SetCachePool(kTouchCachePool);
}

bool maskHas(jint n) {
    const jint word = cGame::s_spriteMask[n >> 5];
    return (static_cast<uint32_t>(word) >> (n & 31) & 1) != 0;
}

// A sprite still in the table (one of the five kept for the whole game) is not read again.
void loadMaskedSprite(jint n) {
    if (!maskHas(n)) return;
    ObjectArray* table = cGame::s_sprites;
    if (table && n < table->length && table->get(n)) return;
    loader::loadTableSprite(kSpritePackLiteral, n);
}

void buildArcTable() {
    IntArray* arcs = Runtime::newIntArray(kArcEntries);
    BX_RETURN_IF_NULL(arcs);
    for (jint i = 0; i < kArcEntries; ++i) {
        const jint d = i <= kArcPeak ? i : kArcEntries - i;
        arcs->set(i, d * d / kArcPeak);
    }
    cGame::s_arcTable = arcs;
}

void buildAltLevelTables() {
    if (!cGame::s_altPlayerLevel) return;
    if (auto* build = loader::service(services().buildFrameCaches, "buildFrameCaches")) build();
    BX_RETURN_IF_PENDING();
    buildArcTable();
}

void startPlay() {
    const cGame::LevelServices& s = services();
    cGame::initLevelActors();
    BX_RETURN_IF_PENDING();
    cGame::setCameraBounds(0, 0, cGame::s_levelWidth - kViewWidth, cGame::s_levelHeight - kViewHeight);
    if (auto* write = loader::service(s.writeSaveBuffer, "writeSaveBuffer")) {
        write(0);
        BX_RETURN_IF_PENDING();
        cGame::saveData();
        BX_RETURN_IF_PENDING();
    }
    cGame::updateCamera();
    BX_RETURN_IF_PENDING();
    cGame::updateInGame();
    BX_RETURN_IF_PENDING();
    cGame::s_cameraSnap = 1;
}

}  // namespace

void cGame::loadLevelSprites() {
    ObjectArray* layers = s_layerSprites;
    BX_RETURN_IF_NULL(layers);
    const jint level = s_level;
    for (jint k : kTileLayersFromPack) {
        if (k >= layers->length) continue;
        layers->set(k, nullptr);
        const jint item = layerItem(level, k);
        if (item == -1) continue;
        Bsprite* shared = nullptr;
        if (k >= 3 && item == layerItem(level, 2)) shared = layerSprite(2);
        if (!shared && k == 4 && item == layerItem(level, 3)) shared = layerSprite(3);
        if (shared) {
            layers->set(k, shared);
            continue;
        }
        Bsprite* sprite = loadSprite(item, 1, 0, 0, true, true, false);
        BX_RETURN_IF_PENDING();
        if (!sprite) {
            loader::logBadItem(loader::packName(kTilePackLiteral), item, "its tile layer has no tiles");
            continue;
        }
        sprite->SetCachePool(0);
        layers->set(k, sprite);
    }
}

namespace loader {

void runLevelStep(jint step) {
    switch (step) {
        case kStepReleaseAndReference: return prepareLevel();
        case kStepTileSprites: return loadTileSprites();
        case kStepOpenLevelPack: return openLevelPack();
        case kStepTileLayers: return loadTileLayersAndRecords();
        case kStepCloseLevelPack: return cGame::packClose();
        case kStepSpawnActors: return spawnActors();
        case kStepGeometry: return loadGeometry();
        case kStepTouchSprite: return loadTouchSprite();
        case kStepIdle: return;
        case kStepCloseSpritePack: return cGame::packClose();
        case kStepFrameCaches: return buildAltLevelTables();
        case kStepStartPlay: return startPlay();
        default:
            if (step >= kFirstSpriteStep && step < kFirstSpriteStep + kSpriteCandidates) loadMaskedSprite(step - kFirstSpriteStep);
            return;
    }
}

}  // namespace loader
