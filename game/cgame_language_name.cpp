// The language codes: one pooled literal per language index.
#include <iterator>

#include "game/cgame.h"
#include "runtime/constant_pool.h"

namespace {

// Index = language. Index 4 is literal 198, and 178 sits before 177: the codes' own order.
constexpr jint kLanguageLiterals[] = {167, 168, 169, 170, 198, 172, 173, 46, 174, 175, 176, 178, 177, 179, 180};

}  // namespace

String* cGame::getLanguageName(jint language) {
    if (language < 0 || language >= static_cast<jint>(std::size(kLanguageLiterals))) return nullptr;
    return Runtime::ldcString(kLanguageLiterals[language]);
}
