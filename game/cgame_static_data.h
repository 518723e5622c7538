// cGame's static data: per-level tables, the menu lists, the containers the later screens fill, and
// the game's copies of the actors' tables.
// cGame derives from cGameStaticData, so `cGame::s_x` names them; the code that uses them is cGame's.
#pragma once

#include "game/cgame_level_tables.h"
#include "runtime/jtypes.h"

class IntArray;
class Long64Array;
class ObjectArray;
class ShortArray;
class String;

struct cGameStaticData {
    // Every static below back to its start value.
    static void resetStatics();
    static constexpr jint kLevelCount = level_tables::kLevelCount;
    static constexpr jint kLayersPerLevel = level_tables::kLayersPerLevel;
    static jint s_level;
    static jbyte s_altPlayerLevel;  // read by the frame loop too
    static ObjectArray* s_levelPackNames;    // String[10], literals 199..208
    static IntArray* s_levelGeometryItems;   // int[11], geometry-pack item, -1 no polylines
    static IntArray* s_levelLayerItems;      // int[50], 5 per level: sprite item of tile layers 0..4, -1 absent
    static IntArray* s_levelMusic;           // int[10], the music sound of each level
    static Long64Array* s_levelSpriteBits;   // long[10], sprites each level always needs (bits of the sprite mask)
    static IntArray* s_levelNames;           // int[10], text ids
    static IntArray* s_menuMain;             // text ids, also the item ids the menus act on
    static IntArray* s_menuPause;
    static IntArray* s_menuYesNo;
    static IntArray* s_menuSound;
    static IntArray* s_menuDifficulty;
    static ObjectArray* s_fonts;             // Object[3], the sprite fonts
    static ObjectArray* s_layerSprites;      // Object[5], the tile sprite of each tile layer
    static IntArray* s_levelStats;           // int[6], the level statistics
    static IntArray* s_viewRect;             // int[4] {x0, y0, x1, y1}
    static IntArray* s_menuRemembered;       // int[8], per menu number the selection kept on leaving
    static IntArray* s_menuItems;            // int[20], the current menu's items
    static ObjectArray* s_effectImages;      // Object[10]
    // The game's copies of the actors' behaviour index and type-to-sprite map, which the state code
    // reads; taken when the main pack is opened. The actors sit above the game, so they hand over
    // where the two statics live at registration time.
    static ObjectArray* s_behaviours;
    static ShortArray* s_typeSprite;
};
