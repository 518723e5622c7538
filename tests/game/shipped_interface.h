// In a fresh process (a forked child: this sets up heaps and statics for good): the shipped data
// file, its constants and the game-start steps that load the texts, fonts and interface sprites,
// then `measure` over them. Answers what `measure` answers, or `fallback` when the heaps cannot be made.
#pragma once

#include "classlib/constant_pool_loader.h"
#include "classlib/io/javax_microedition_io_resource_input_stream.h"
#include "game/cgame.h"
#include "game/cgame_loader_steps.h"
#include "platform/file_paths.h"
#include "runtime/array.h"
#include "runtime/constant_pool.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "sprites/asprite.h"

template <typename Result, typename Measure>
Result withShippedInterface(Result fallback, Measure measure) {
    if (!Runtime::initHeaps(32 << 20, 32 << 20)) return fallback;
    ObjectManager objects;
    // Whatever an earlier test of this process left: its archive index, the open pack, the sprites.
    javax_microedition_io_ResourceInputStream::unloadArchiveIndex();
    cGame::s_packName = nullptr;
    cGame::s_packStream = nullptr;
    cGame::s_menuSprite = nullptr;
    cGame::s_fonts = nullptr;
    platform::setDataFile(BRINDLEX_DATA_BAR);
    Runtime::loadConstants();
    cGame::s_encoding = Runtime::ldcString(cGame::kEncodingLiteral);
    cGame::initStaticData();
    cGame::s_sprites = Runtime::newObjectArray(CID_Bsprite, 41);
    ASprite::InitCachePools(1);
    ASprite::InitCachePool(0, 300);
    for (jint step : {0, 1, 2, 3, 5, 8}) loader::runGameStartStep(step);
    return measure();
}
