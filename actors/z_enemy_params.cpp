// Z's enemy parameter tables: one record short[4] {type, hit points, damage, score} per enemy type,
// stored from type 65 down to type 1. The first table serves difficulty 1, the second any other.
#include <iterator>

#include "actors/z.h"
#include "runtime/array.h"
#include "runtime/class_ids.h"
#include "runtime/log.h"

namespace {

struct EnemyRow {
    jshort type;
    jshort hitPoints1, damage1, score1;  // difficulty 1
    jshort hitPoints2, damage2, score2;  // any other difficulty
};

constexpr EnemyRow kEnemyRows[] = {
    {65, 30, 5, 0, 50, 10, 0},
    {52, 30, 5, 50, 30, 10, 50},
    {51, 2000, 0, 10000, 2000, 0, 10000},
    {50, 350, 0, 0, 350, 0, 0},
    {49, 250, 0, 150, 250, 0, 150},
    {48, 30, 0, 100, 50, 0, 100},
    {47, 100, 5, 150, 100, 10, 150},
    {46, 10, 0, 0, 10, 0, 0},
    {44, 100, 0, 8000, 100, 0, 8000},
    {45, 10000, 100, 0, 10000, 100, 0},
    {41, 300, 5, 150, 300, 10, 150},
    {38, 300, 5, 150, 300, 10, 150},
    {37, 10, 5, 50, 10, 10, 50},
    {31, 100, 0, 0, 100, 0, 0},
    {32, 900, 5, 10000, 900, 10, 10000},
    {28, 300, 5, 0, 300, 10, 0},
    {27, 750, 5, 5000, 750, 10, 5000},
    {25, 50, 5, 100, 70, 10, 100},
    {26, 300, 5, 150, 300, 10, 150},
    {21, 10000, 0, 8000, 10000, 0, 8000},
    {23, 50, 0, 0, 90, 0, 0},
    {14, 100, 0, 0, 100, 0, 0},
    {16, 300, 5, 5000, 300, 10, 5000},
    {9, 1000, 5, 3000, 2500, 10, 3000},
    {8, 90, 5, 100, 110, 10, 100},
    {4, 50, 5, 50, 50, 10, 50},
    {1, 100, 50, 0, 100, 50, 0},
};
static_assert(std::size(kEnemyRows) == Z::kEnemyParamRecords);

// Stored in its static before its records are made, so a collection meets only reachable arrays.
[[nodiscard]] bool buildTable(ObjectArray*& slot, bool difficultyOne) {
    slot = Runtime::newObjectArray(CID_ShortArray, Z::kEnemyParamRecords);
    if (!slot) return false;
    for (jint i = 0; i < Z::kEnemyParamRecords; ++i) {
        ShortArray* record = Runtime::newShortArray(Z::kEnemyParamSize);
        if (!record) return false;
        const EnemyRow& row = kEnemyRows[i];
        if (difficultyOne)
            record->fill({row.type, row.hitPoints1, row.damage1, row.score1});
        else
            record->fill({row.type, row.hitPoints2, row.damage2, row.score2});
        slot->set(i, record);
    }
    return true;
}

}  // namespace

void Z::buildEnemyParamTables() {
    if (!buildTable(s_enemyParams1, true) || !buildTable(s_enemyParams2, false))
        Log::error("Z: no memory for the enemy parameter tables");
}
