// The promotion catalogue over the shipped resource and property maps: which slots are available,
// the link each opens, the list rows, the title numbering, the text indices; then the language
// code a chosen link is completed with.
#include <optional>

#include "promo/igp.h"
#include "tests/promo/promo_fixture.h"

namespace {

using Properties = std::map<std::string, std::string>;
constexpr const char* kErase = "\x01erase";

Properties with(std::initializer_list<std::pair<const std::string, std::string>> changes) {
    Properties p = promotest::shippedProperties();
    for (const auto& [key, value] : changes) {
        if (value == kErase) p.erase(key);
        else p[key] = value;
    }
    return p;
}

// Slots of the shipped catalogue (two titles): 0, 1 titles, 2 special, 3 list 0, 4 list 1, 5 portal.
struct CatalogueCase {
    const char* name;
    Properties properties;
    std::vector<std::string> slotLinks;  // "" = unavailable
    std::vector<std::string> list0;
    std::vector<std::string> list1;
};

std::vector<std::string> listLinks(jint list) {
    std::vector<std::string> out;
    for (jint i = 0; i < IGP::s_listLengths[list]; ++i) {
        auto* s = static_cast<String*>(IGP::s_listLinks[list]->get(i));
        std::string text;
        for (jint k = 0; s && k < s->length(); ++k) text += static_cast<char>(s->charAt(k));
        out.push_back(text);
    }
    return out;
}

const std::string kPromo = "https://example.com/promo/";
const std::string kClub = "https://example.com/club?lang=_";

}  // namespace

TEST_F(PromoTest, CatalogueFromPropertyMaps) {
    const std::string resource = shippedResource();
    const std::vector<CatalogueCase> cases = {
        {"shipped: titles numbered 01 and 02, a portal row, the last rows through the portal",
         promotest::shippedProperties(),
         {kPromo + "skylark-run?lang=_&n=01", kPromo + "deep-vault?lang=_&n=02", kClub + "&item=club", "list", "list",
          kClub + "&page=portal"},
         {kPromo + "arcade?lang=_", kPromo + "puzzle?lang=_", kClub + "&item=more-games"},
         {kPromo + "news?lang=_", kClub, kClub + "&item=members"}},
        {"missing template: no title, no templated row; never the missing-property text",
         with({{"Promo-Link-Template", kErase}}),
         {"", "", kClub, "list", "list", kClub},
         {kClub},
         {kClub, kClub}},
        {"\"0\", \"off\" and \" None \" values count as missing; numbering counts available titles only",
         with({{"Promo-Titles", "SKYLARK=0;VAULT=deep-vault"}, {"Promo-List-0", "ARCADE=off;PUZZLE= None "}}),
         {"", kPromo + "deep-vault?lang=_&n=01", kClub + "&item=club", "list", "list", kClub + "&page=portal"},
         {kClub + "&item=more-games"},
         {kPromo + "news?lang=_", kClub, kClub + "&item=members"}},
        {"a template without the placeholder is every link; without the marker no parameters",
         with({{"Promo-Link-Template", "https://example.com/games"}}),
         {"https://example.com/games", "https://example.com/games", kClub, "list", "list", kClub},
         {"https://example.com/games", "https://example.com/games", kClub},
         {"https://example.com/games", kClub, kClub}},
        {"missing portal: no special item, portal item, portal row or last rows",
         with({{"Promo-Portal", kErase}}),
         {kPromo + "skylark-run?lang=_&n=01", kPromo + "deep-vault?lang=_&n=02", "", "list", "list", ""},
         {kPromo + "arcade?lang=_", kPromo + "puzzle?lang=_"},
         {kPromo + "news?lang=_"}},
        {"a key is found inside a longer one",
         with({{"Promo-Titles", "XSKYLARK=inner;VAULT=deep-vault"}}),
         {kPromo + "inner?lang=_&n=01", kPromo + "deep-vault?lang=_&n=02", kClub + "&item=club", "list", "list",
          kClub + "&page=portal"},
         {kPromo + "arcade?lang=_", kPromo + "puzzle?lang=_", kClub + "&item=more-games"},
         {kPromo + "news?lang=_", kClub, kClub + "&item=members"}},
        {"no properties at all: nothing available", Properties{}, {"", "", "", "", "", ""}, {}, {}},
    };
    for (const CatalogueCase& c : cases) {
        SCOPED_TRACE(c.name);
        IGP::resetData();
        installResource(resource, c.properties);
        IGP::loadData();
        ASSERT_EQ(IGP::s_itemCount, 6);
        jint expectedCount = 0, first = -1;
        for (jint slot = 0; slot < 6; ++slot) {
            const std::string& want = c.slotLinks[static_cast<size_t>(slot)];
            EXPECT_EQ(available(slot), !want.empty()) << "slot " << slot;
            if (!want.empty() && expectedCount++ == 0) first = slot;
            if (!want.empty() && want != "list") {
                EXPECT_EQ(link(slot), want) << "slot " << slot;
            }
            EXPECT_EQ(link(slot).find("PROPERTY"), std::string::npos) << "slot " << slot;
        }
        EXPECT_EQ(listLinks(0), c.list0);
        EXPECT_EQ(listLinks(1), c.list1);
        EXPECT_EQ(IGP::s_availableCount, expectedCount);
        EXPECT_EQ(IGP::s_available, expectedCount > 0);
        EXPECT_EQ(IGP::getFirstAvailable(), first);
    }
}

TEST_F(PromoTest, SlotsTextIndicesRowsAndSteps) {
    installResource(shippedResource());
    IGP::loadData();
    EXPECT_EQ(IGP::s_gameCount, 2);
    EXPECT_EQ(IGP::s_specialItem, 2);
    EXPECT_EQ(IGP::s_listItem0, 3);
    EXPECT_EQ(IGP::s_listItem1, 4);
    EXPECT_EQ(IGP::s_portalItem, 5);
    EXPECT_EQ(IGP::s_optionalItem, -1);
    EXPECT_EQ(IGP::s_itemKinds->get(0), 4);
    EXPECT_EQ(IGP::s_itemKinds->get(1), 4);
    EXPECT_EQ(IGP::s_itemKinds->get(2), 0);
    // T = (2 - 1) + 4 = 5.
    EXPECT_EQ(IGP::s_textOptionalTitle, 6);
    EXPECT_EQ(IGP::s_textOptionalBody, 7);
    EXPECT_EQ(IGP::s_textOkLabel, 12);
    EXPECT_EQ(IGP::s_textBackLabel, 13);
    EXPECT_EQ(IGP::s_textButton, 14);
    EXPECT_EQ(IGP::s_textButtonTitle, 15);
    EXPECT_EQ(IGP::s_textList0Last, 21);
    EXPECT_EQ(IGP::s_textList1Last, 24);
    // The portal row of list 1 keeps its own row (source 1) and text.
    EXPECT_EQ(IGP::s_listRowSources[1]->get(1), 1);
    EXPECT_EQ(IGP::s_listRowTexts[0]->get(0), 19);
    EXPECT_EQ(IGP::s_listRowTexts[1]->get(2), 24);
    EXPECT_EQ(narrow(IGP::s_portalTitle), "GAME CLUB");
    EXPECT_TRUE(IGP::s_linkParameters);
    EXPECT_EQ(IGP::s_optionalItemStep, -1);
    EXPECT_EQ(IGP::s_closingStep, 9);
    EXPECT_EQ(IGP::loadStepCount(), 10);
    // The index is dropped once the header is read.
    EXPECT_EQ(IGP::s_dataCount, 0);
}

TEST_F(PromoTest, OptionFlagOffersOnlyTitlesAndTheOptionalItem) {
    promotest::Parts parts;
    parts.titles = {"SKYLARK", "VAULT"};
    parts.optionFlag = 1;
    installResource(parts.bytes());
    IGP::loadData();
    ASSERT_EQ(IGP::s_itemCount, 7);
    EXPECT_EQ(IGP::s_optionalItem, 6);
    EXPECT_EQ(IGP::s_optionalItemStep, 9);
    EXPECT_EQ(IGP::s_closingStep, 10);
    EXPECT_TRUE(available(0));
    EXPECT_TRUE(available(1));
    for (jint slot : {IGP::s_specialItem, IGP::s_listItem0, IGP::s_listItem1, IGP::s_portalItem})
        EXPECT_FALSE(available(slot)) << slot;
    EXPECT_TRUE(available(6));
    EXPECT_EQ(link(6), kClub);
    EXPECT_EQ(IGP::s_listLengths[0], 0);
}

TEST_F(PromoTest, ChosenLinkGetsTheLanguageCode) {
    installResource(shippedResource());
    IGP::loadData();
    struct Case {
        const char* link;
        bool parameters;
        const char* want;
    } cases[] = {
        {"https://example.com/promo/a?lang=_&n=01", true, "https://example.com/promo/a?lang=EN&n=01"},
        {"https://example.com/promo/a", true, "https://example.com/promo/alang=EN"},
        // The marker at the very end has no character to replace: the code follows it.
        {"https://example.com/promo/a?lang=", true, "https://example.com/promo/a?lang=EN"},
        {"https://example.com/promo/a?lang=_", false, "https://example.com/promo/a?lang=_"},
    };
    for (const Case& c : cases) {
        IGP::s_linkParameters = c.parameters;
        EXPECT_EQ(narrow(IGP::withLanguageCode(String::fromCString(c.link))), c.want) << c.link;
    }
}
