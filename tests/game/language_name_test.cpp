// The language codes come from the shipped constant pool, as the pooled objects themselves.
#include <gtest/gtest.h>

#include "game/cgame.h"
#include "runtime/constant_pool.h"
#include "tests/classlib/record_store_fixture.h"

namespace {

using LanguageNameTest = RecordStoreTest;

TEST_F(LanguageNameTest, EachLanguageNamesItsPooledLiteral) {
    const jint literals[] = {167, 168, 169, 170, 198, 172, 173, 46, 174, 175, 176, 178, 177, 179, 180};
    for (jint language = 0; language < 15; ++language) {
        String* name = cGame::getLanguageName(language);
        ASSERT_NE(name, nullptr) << language;
        EXPECT_EQ(name, Runtime::ldcString(literals[language])) << language;  // identity, not text
    }
    for (jint outside : {-1, 15, 1 << 30}) EXPECT_EQ(cGame::getLanguageName(outside), nullptr) << outside;
}

}  // namespace
