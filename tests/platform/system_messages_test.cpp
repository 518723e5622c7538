// The system messages by language, and "NULL" outside the table.
#include <gtest/gtest.h>

#include <string>

#include "platform/device/system_messages.h"

namespace {
std::u16string message(int index) { return getSystemMessage(index); }
}  // namespace

TEST(SystemMessagesTest, PicksTheColumnOfTheLanguage) {
    struct Case {
        int language;
        std::u16string pleaseWait, notice, quit;
    };
    const Case cases[] = {
        {9, u"Please wait", u"Notice", u"Are you sure you want to quit?"},
        {5, u"Please wait", u"Poznámka", u"Chceš doopravdy skoncit?"},
        {7, u"Bitte warten", u"Hinweis", u"Wirklich beenden?"},
        {10, u"Aguarde", u"Advertencia", u"¿Estas seguro que quieres salir?"},
        {12, u"Merci de patienter", u"Avertissement", u"Etes-vous sûr de vouloir quitter?"},
        {22, u"Aguarde", u"Aviso", u"Tenz a certeza que queres sair?"},
        {0, u"Please wait", u"Notice", u"Are you sure you want to quit?"},
        {0x407, u"Please wait", u"Notice", u"Are you sure you want to quit?"},  // a full language id is not a primary one
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        selectSystemMessages(c.language);
        EXPECT_EQ(message(6), c.pleaseWait);
        EXPECT_EQ(message(2), c.notice);
        EXPECT_EQ(message(3), c.quit);
    }
}

TEST(SystemMessagesTest, KeepsLineFeedsAndThePlaceholder) {
    selectSystemMessages(7);
    EXPECT_EQ(message(0), u"Das Spiel ist installiert.\nMöchtest du es jetzt starten?");
    EXPECT_EQ(message(7), u"Cannot install the game. You need at least %.2f of free storage space.");
    selectSystemMessages(9);
    EXPECT_EQ(message(7), u"Cannot install the game. You need at least %.2f MB of free storage space on the device "
                          u"to install the game.");
}

TEST(SystemMessagesTest, GivesNullOutsideTheTable) {
    selectSystemMessages(12);
    for (int index : {8, 9, 1000, -1, -1000}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(message(index), u"NULL");
    }
    for (int index = 0; index < 8; ++index) EXPECT_NE(message(index), u"NULL") << index;
}
