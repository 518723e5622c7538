// Z's behaviour tables: per behaviour id, records {state, animation, duration ms, speed px/s, next
// state}, found by a linear search for the first record of a state. Codes: animation -1 none,
// -2 hide, -3 show, -4 keep; duration 0 until the animation ends, negative once then over; speed -1
// none; next -1 none, -2 die. The index holds the first 31 tables in id order.
#include <iterator>
#include <span>

#include "actors/z.h"
#include "runtime/array.h"
#include "runtime/class_ids.h"
#include "runtime/log.h"

namespace {

struct Record {
    jshort state;
    jshort animation;
    jshort duration;
    jshort speed;
    jshort next;
};
static_assert(sizeof(Record) == Z::kBehaviourRecordSize * sizeof(jshort));

// 0: hero (type 1)
constexpr Record kBehaviour0[] = {
    {0, 0, 0, -1, -1}, {1, 2, 0, -1, -1}, {2, 4, 0, -1, 3}, {3, 5, 0, -1, -1}, {101, 3, 0, 0, 0},
    {105, 53, 0, 0, -1}, {106, 40, 0, -1, 3}, {102, 51, 0, -1, -1}, {104, 50, 0, -1, 102},
    {103, 52, 0, -1, 0}, {107, 41, 0, -1, 108}, {108, 47, 0, -1, 0}, {110, 42, 0, -1, 111},
    {111, 49, 0, -1, 3}, {113, 34, 0, -1, 114}, {114, 35, 0, -1, 0}, {115, 15, 0, -1, 116},
    {116, 16, 0, -1, 119}, {117, 15, 0, -1, 118}, {118, 16, 0, -1, 134}, {119, 10, 0, -1, -1},
    {120, 9, 0, -1, 119}, {121, 21, 0, -1, 121}, {122, 24, 0, -1, -1}, {123, 22, 0, -1, 122},
    {124, 23, 0, -1, 119}, {131, 8, 0, -1, 0}, {5, 25, 0, -1, 0}, {125, 27, 0, -1, 119},
    {126, 26, 1000, -1, 0}, {127, 54, 0, -1, 0}, {128, 57, 0, -1, 8}, {129, 56, 0, -1, 130},
    {8, 58, 0, -1, 130}, {130, 59, 800, -1, 0}, {132, 28, 0, -1, -1}, {133, 29, 0, -1, -1},
    {134, 10, 0, -1, -1}, {135, 9, 0, -1, 134}, {136, 55, 0, -1, -2}, {137, 0, 0, -1, -1},
    {138, 60, 0, -1, -1},
};
// 1: enemy type 4
constexpr Record kBehaviour1[] = {
    {0, 2, 0, 0, -1}, {1, 2, 0, 100, -1}, {12, 2, 0, 100, -1}, {150, 1, 0, 400, -1}, {152, 0, 0, 0, 150},
    {151, 3, 1000, 0, 153}, {153, 2, 0, 200, -1}, {5, 4, 0, 0, 1}, {20, 6, 0, 0, -2},
};
// 2: enemy type 8
constexpr Record kBehaviour2[] = {
    {0, 0, 0, 0, -1}, {1, 1, 0, -1, -1}, {12, 0, 0, 0, -1}, {170, 3, 0, 0, 171}, {171, 2, 2000, 0, 1},
    {172, 2, 0, 0, 1}, {5, 6, 0, 0, 1}, {20, 6, 0, 0, -2},
};
// 3: enemy type 9
constexpr Record kBehaviour3[] = {
    {12, 0, 0, -1, 12}, {187, 1, 0, -1, 187}, {1, 4, 0, -1, -1}, {20, 6, 2000, -1, -2}, {186, 3, 0, -1, 185},
    {185, 2, 0, -1, 185}, {188, 5, 0, -1, 12},
};
// 4: type 7
constexpr Record kBehaviour4[] = {
    {156, 0, 0, 0, -1}, {157, 1, 0, 0, -1}, {158, 1, 0, 0, -1}, {159, 2, 0, 0, -1},
};
// 5: type 12
constexpr Record kBehaviour5[] = {
    {20, 5, 0, 0, -2},
};
// 6: enemy type 16
constexpr Record kBehaviour6[] = {
    {12, 9, 0, -1, -1}, {5, 13, 0, -1, 4}, {4, 3, 0, -1, 4}, {191, 2, 0, -1, 12}, {20, 10, 0, -1, -1},
};
// 7: -
constexpr Record kBehaviour7[] = {
    {12, 7, 0, 0, -1}, {1, 8, 0, 0, 12}, {4, 8, 0, 0, -1}, {20, 14, 0, 0, -2},
};
// 8: -
constexpr Record kBehaviour8[] = {
    {0, 11, 0, 0, -1}, {1, 12, 0, 0, 12}, {12, 11, 2000, 0, 0},
};
// 9: enemy type 14
constexpr Record kBehaviour9[] = {
    {1, 0, 0, 0, -1}, {5, 7, 0, 0, 0},
};
// 10: enemy type 23
constexpr Record kBehaviour10[] = {
    {0, 0, 0, 0, -1}, {5, 1, 0, 0, 0},
};
// 11: enemy type 21
constexpr Record kBehaviour11[] = {
    {1, 0, 0, 0, -1}, {5, 0, 200, 0, 0}, {2, 2, 0, 0, 0},
};
// 12: type 24
constexpr Record kBehaviour12[] = {
    {214, 4, 0, 0, -1}, {215, 3, 0, 0, 214}, {223, 2, 0, 0, -2}, {224, 1, 0, 0, -2}, {225, 0, 0, 0, -2},
    {226, 5, 0, 0, -2},
};
// 13: enemy type 25
constexpr Record kBehaviour13[] = {
    {1, 0, 0, 0, -1}, {5, 1, 0, -1, 1},
};
// 14: -
constexpr Record kBehaviour14[] = {
    {238, 3, 0, -1, 12}, {239, 2, 0, -1, 12}, {4, 1, 0, -1, 239}, {20, 0, 2000, -1, -2}, {12, 0, 0, -1, -1},
};
// 15: enemy type 32
constexpr Record kBehaviour15[] = {
    {4, 1, 0, -1, 3}, {5, 5, 0, -1, -1}, {3, 2, 0, -1, -1}, {247, 0, 0, -1, 3}, {245, 3, 0, -1, 246},
    {246, 4, 0, -1, -1},
};
// 16: type 30
constexpr Record kBehaviour16[] = {
    {238, 2, 0, 0, -1}, {239, 1, 0, 0, 238}, {240, 0, 0, 0, -1}, {241, 0, 0, 0, -1}, {242, 0, 0, 0, -1},
};
// 17: type 29
constexpr Record kBehaviour17[] = {
    {229, 0, 0, 0, -1}, {230, 0, 0, 0, -1}, {231, 1, 0, 0, -1}, {232, 1, 0, 0, -1}, {233, 2, 0, 0, -1},
    {234, 2, 0, 0, -1}, {235, 2, 0, 0, -1},
};
// 18: type 35
constexpr Record kBehaviour18[] = {
    {245, 0, 0, 0, -1}, {246, 1, 0, 0, 245},
};
// 19: enemy type 38
constexpr Record kBehaviour19[] = {
    {1, 4, 0, -1, -1}, {18, 0, 200, -1, 0}, {250, 2, 0, -1, 251}, {251, 3, 0, -1, 0},
};
// 20: enemy type 41
constexpr Record kBehaviour20[] = {
    {12, 0, 0, -1, 12}, {5, 2, 0, -1, 12}, {20, 4, 0, -1, -2}, {4, 3, 0, -1, 8}, {8, 5, 0, -1, 12},
};
// 21: type 36
constexpr Record kBehaviour21[] = {
    {141, 0, 0, -1, -1}, {146, 1, 0, -1, 147},
};
// 22: type 39
constexpr Record kBehaviour22[] = {
    {267, 0, 0, -1, -1}, {268, 1, 0, -1, -1},
};
// 23: type 42
constexpr Record kBehaviour23[] = {
    {275, 1, 0, -1, -1}, {276, 1, 0, -1, -1}, {277, 0, 0, -1, -1}, {278, 1, 0, -1, -1}, {279, 0, 0, -1, -1},
    {280, 2, 0, -1, 279}, {281, 0, 0, -1, -1},
};
// 24: enemy type 47
constexpr Record kBehaviour24[] = {
    {0, 6, 0, -1, -1}, {175, 2, 0, -1, 4}, {4, 3, 0, -1, 176}, {176, 4, 0, -1, 0}, {178, 0, 0, -1, 2},
    {2, 1, 0, -1, 175}, {177, 5, 0, -1, 0},
};
// 25: enemy type 49
constexpr Record kBehaviour25[] = {
    {0, 0, 0, -1, -1}, {5, 1, 0, -1, 0}, {20, 0, 10000, -1, -2},
};
// 26: -
constexpr Record kBehaviour26[] = {
    {0, 3, 0, -1, -1}, {5, 3, 0, -1, 0}, {4, 4, 1500, -1, 0},
};
// 27: enemy type 48
constexpr Record kBehaviour27[] = {
    {0, 0, 0, -1, -1}, {4, 3, 0, -1, 181}, {182, 3, 0, -1, 181}, {181, 5, 0, -1, 0}, {20, 6, 0, -1, -2},
};
// 28: enemy type 51
constexpr Record kBehaviour28[] = {
    {0, 2, 0, -1, -1}, {162, 5, 0, -1, 163}, {163, 6, 0, -1, 164}, {164, 1, 0, -1, 0}, {5, 3, 0, -1, 164},
    {165, 8, 0, -1, -1}, {166, 8, 2000, -1, 167}, {167, 7, -1, -1, -1}, {20, 4, 0, -1, -2},
};
// 29: enemy type 65: an empty table (kEmpty below)
// 30: enemy type 52
constexpr Record kBehaviour30[] = {
    {0, 3, 1000, -1, 4}, {4, 4, 0, -1, 0},
};
// Built but reached by no behaviour id.
constexpr Record kUnreachedA[] = {
    {203, 9, 0, -1, -1}, {204, 8, 0, -1, -1}, {206, 2, 0, -1, 204}, {205, 0, 0, -1, 203},
    {207, 11, 0, -1, -1}, {208, 10, 0, -1, -1}, {209, 5, 200, -1, 203}, {210, 4, 200, -1, 204},
    {211, 12, 0, -1, -1}, {3, 13, 0, -1, -1},
};
constexpr Record kUnreachedB[] = {
    {1, 0, 0, -1, -1}, {4, 1, 0, -1, 1},
};

constexpr std::span<const Record> kEmpty;

constexpr std::span<const Record> kTables[] = {
    kBehaviour0,  kBehaviour1,  kBehaviour2,  kBehaviour3,  kBehaviour4,  kBehaviour5,  kBehaviour6,
    kBehaviour7,  kBehaviour8,  kBehaviour9,  kBehaviour10, kBehaviour11, kBehaviour12, kBehaviour13,
    kBehaviour14, kBehaviour15, kBehaviour16, kBehaviour17, kBehaviour18, kBehaviour19, kBehaviour20,
    kBehaviour21, kBehaviour22, kBehaviour23, kBehaviour24, kBehaviour25, kBehaviour26, kBehaviour27,
    kBehaviour28, kEmpty,       kBehaviour30, kUnreachedA,  kUnreachedB,
};
static_assert(std::size(kTables) == Z::kBehaviourTables);

// The table made and stored in its static first, then each record as it is made: whatever a
// collection meets is already reachable.
[[nodiscard]] bool buildTable(jint t) {
    const std::span<const Record> records = kTables[t];
    ObjectArray* table = Runtime::newObjectArray(CID_ShortArray, static_cast<jint>(records.size()));
    if (!table) return false;
    Z::s_behaviourTables[t] = table;
    for (size_t i = 0; i < records.size(); ++i) {
        ShortArray* record = Runtime::newShortArray(Z::kBehaviourRecordSize);
        if (!record) return false;
        const Record& r = records[i];
        record->fill({r.state, r.animation, r.duration, r.speed, r.next});
        table->set(static_cast<jint>(i), record);
    }
    return true;
}

}  // namespace

void Z::buildBehaviourTables() {
    for (jint t = 0; t < kBehaviourTables; ++t) {
        if (!buildTable(t)) {
            Log::error("Z: no memory for behaviour table %d", t);
            return;
        }
    }
    s_behaviours = Runtime::newObjectArray(CID_ObjectArray, kBehaviourIds);
    if (!s_behaviours) {
        Log::error("Z: no memory for the behaviour index");
        return;
    }
    for (jint id = 0; id < kBehaviourIds; ++id) s_behaviours->set(id, s_behaviourTables[id]);
}
