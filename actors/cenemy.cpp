// cEnemy's construction and its set-up event: the behaviour table of its type. Its update, hits and
// per-type behaviours come with the enemies' own code.
#include "actors/cenemy.h"

#include "runtime/compiled.h"

cEnemy* cEnemy::create(jint type, ShortArray* params) {
    cEnemy* e = Runtime::make<cEnemy>();
    BX_RETURN_IF_NULL(e, nullptr);
    e->initFromParams(type, params);
    e->addToList(kListLevel);
    return e;
}

jint cEnemy::behaviourIdOf(jint type) {
    switch (type) {
        case 4: return 1;
        case 8: return 2;
        case 9: return 3;
        case 16: return 6;
        case 14: return 9;
        case 23: return 10;
        case 21: return 11;
        case 25: return 13;
        case 32: return 15;
        case 38: return 19;
        case 41: return 20;
        case 47: return 24;
        case 49: return 25;
        case 48: return 27;
        case 51: return 28;
        case 65: return 29;
        case 52: return 30;
        default: return -1;
    }
}

void cEnemy::onEvent(cActor* sender, jint event, jint a, jint b, jint c) {
    if (event == kEventInit) {
        behaviourId = behaviourIdOf(type);
        return;
    }
    cActor::onEvent(sender, event, a, b, c);
}
