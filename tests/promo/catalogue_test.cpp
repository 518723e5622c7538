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

// Slots of the shipped catalogue (three titles): 0-2 titles, 3 special, 4 list 0, 5 list 1, 6 portal.
struct CatalogueCase {
    const char* name;
    Properties properties;
    std::vector<std::string> slotLinks;  // "" = unavailable, "list" = available list page
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

const std::string kGames = "https://games.example.com/get?game=";
const std::string kPortal = "https://portal.example.com/brindlex?lang=X";
const std::string kAll = "https://games.example.com/all";

}  // namespace

TEST_F(PromoTest, CatalogueFromPropertyMaps) {
    const std::string resource = shippedResource();
    const std::vector<CatalogueCase> cases = {
        {"shipped: titles numbered 01 to 03, a portal row, the last rows through the portal",
         promotest::shippedProperties(),
         {kGames + "skylark&lang=X&title=01", kGames + "emberhold&lang=X&title=02", kGames + "tidewatch&lang=X&title=03",
          kPortal + "&from=list", "list", "list", kPortal + "&from=portal"},
         {kGames + "skylark&lang=X", kPortal, kPortal + "&from=list"},
         {kGames + "emberhold&lang=X", kGames + "tidewatch&lang=X", kPortal + "&from=list"}},
        {"missing template: no title, no templated row; never the missing-property text",
         with({{"Promo-Link-Template", kErase}}),
         {"", "", "", kPortal, "list", "list", kPortal},
         {kPortal, kPortal},
         {kPortal}},
        {"\"0\", \" None \" and the missing-property text as values count as missing; numbering counts "
         "available titles only",
         with({{"Promo-Titles", "SKYLARK=0;EMBERHOLD=emberhold;TIDEWATCH= None "},
               {"Promo-List-Top", "EMBERHOLD=property value empty;TIDEWATCH=tidewatch"}}),
         {"", kGames + "emberhold&lang=X&title=01", "", kPortal + "&from=list", "list", "list", kPortal + "&from=portal"},
         {kGames + "skylark&lang=X", kPortal, kPortal + "&from=list"},
         {kGames + "tidewatch&lang=X", kPortal + "&from=list"}},
        {"a template without the placeholder is every link; without the marker no parameters",
         with({{"Promo-Link-Template", kAll}}),
         {kAll, kAll, kAll, kPortal, "list", "list", kPortal},
         {kAll, kPortal, kPortal},
         {kAll, kAll, kPortal}},
        {"missing portal: no special item, portal item, portal row or last rows",
         with({{"Promo-Portal", kErase}}),
         {kGames + "skylark&lang=X&title=01", kGames + "emberhold&lang=X&title=02", kGames + "tidewatch&lang=X&title=03",
          "", "list", "list", ""},
         {kGames + "skylark&lang=X"},
         {kGames + "emberhold&lang=X", kGames + "tidewatch&lang=X"}},
        {"a key is found inside a longer one",
         with({{"Promo-Titles", "XSKYLARK=inner;EMBERHOLD=emberhold;TIDEWATCH=tidewatch"}}),
         {kGames + "inner&lang=X&title=01", kGames + "emberhold&lang=X&title=02", kGames + "tidewatch&lang=X&title=03",
          kPortal + "&from=list", "list", "list", kPortal + "&from=portal"},
         {kGames + "skylark&lang=X", kPortal, kPortal + "&from=list"},
         {kGames + "emberhold&lang=X", kGames + "tidewatch&lang=X", kPortal + "&from=list"}},
        {"no properties at all: nothing available", Properties{}, {"", "", "", "", "", "", ""}, {}, {}},
    };
    for (const CatalogueCase& c : cases) {
        SCOPED_TRACE(c.name);
        IGP::resetData();
        installResource(resource, c.properties);
        IGP::loadData();
        ASSERT_EQ(IGP::s_itemCount, 7);
        jint expectedCount = 0, first = -1;
        for (jint slot = 0; slot < 7; ++slot) {
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
    EXPECT_EQ(IGP::s_gameCount, 3);
    EXPECT_EQ(IGP::s_specialItem, 3);
    EXPECT_EQ(IGP::s_listItem0, 4);
    EXPECT_EQ(IGP::s_listItem1, 5);
    EXPECT_EQ(IGP::s_portalItem, 6);
    EXPECT_EQ(IGP::s_optionalItem, -1);
    EXPECT_EQ(IGP::s_itemKinds->get(0), 4);
    EXPECT_EQ(IGP::s_itemKinds->get(2), 4);
    EXPECT_EQ(IGP::s_itemKinds->get(3), 0);
    // T = (3 - 1) + 4 = 6.
    EXPECT_EQ(IGP::s_textOptionalTitle, 7);
    EXPECT_EQ(IGP::s_textOptionalBody, 8);
    EXPECT_EQ(IGP::s_textOkLabel, 13);
    EXPECT_EQ(IGP::s_textBackLabel, 14);
    EXPECT_EQ(IGP::s_textButton, 15);
    EXPECT_EQ(IGP::s_textButtonTitle, 16);
    EXPECT_EQ(IGP::s_textList0Last, 22);
    EXPECT_EQ(IGP::s_textList1Last, 25);
    // The portal row of list 0 keeps its own row (source 1) and text.
    EXPECT_EQ(IGP::s_listRowSources[0]->get(1), 1);
    EXPECT_EQ(IGP::s_listRowTexts[0]->get(1), 21);
    EXPECT_EQ(IGP::s_listRowTexts[1]->get(2), 25);
    EXPECT_EQ(narrow(IGP::s_portalTitle), "Zarnquist Games");
    EXPECT_TRUE(IGP::s_linkParameters);
    EXPECT_EQ(IGP::s_optionalItemStep, -1);
    EXPECT_EQ(IGP::s_closingStep, 9);
    EXPECT_EQ(IGP::loadStepCount(), 11);
    // The index is dropped once the header is read.
    EXPECT_EQ(IGP::s_dataCount, 0);
}

TEST_F(PromoTest, OptionFlagOffersOnlyTitlesAndTheOptionalItem) {
    promotest::Parts parts;
    parts.titles = {"SKYLARK", "EMBERHOLD"};
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
    EXPECT_EQ(link(6), kPortal);
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
