// The promotion tests' world: the library's statics and the promotion's.
#include "tests/promo/promotion_statics.h"
#include "tests/support/test_world.h"

void resetWorldStatics() {
    resetLibraryStatics();
    resetPromotionStatics();
}
