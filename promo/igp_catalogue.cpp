// IGP: the catalogue. Item slots from the resource's header, links from the MIDlet's properties
// filled into the link template, the text indices of every page, availability.
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "promo/igp.h"
#include "promo/igp_failures.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/log.h"
#include "runtime/static_class.h"
#include "runtime/string.h"
#include "runtime/system_natives.h"

String* IGP::s_headerText = nullptr;
ObjectArray* IGP::s_languageCodes = nullptr;
ObjectArray* IGP::s_gameNames = nullptr;
ObjectArray* IGP::s_listRowNames[kListCount] = {};
bool IGP::s_optionFlags[kOptionFlagCount] = {};
String* IGP::s_formatText = nullptr;
jint IGP::s_gameCount = 0;
jint IGP::s_itemCount = 0;
jint IGP::s_specialItem = 0;
jint IGP::s_listItem0 = 0;
jint IGP::s_listItem1 = 0;
jint IGP::s_portalItem = 0;
jint IGP::s_optionalItem = -1;
ObjectArray* IGP::s_itemLinks = nullptr;
BoolArray* IGP::s_itemAvailable = nullptr;
IntArray* IGP::s_itemKinds = nullptr;
jint IGP::s_availableCount = 0;
bool IGP::s_available = false;
ObjectArray* IGP::s_listLinks[kPageListCount] = {};
IntArray* IGP::s_listRowSources[kPageListCount] = {};
IntArray* IGP::s_listRowTexts[kPageListCount] = {};
jint IGP::s_listLengths[kPageListCount] = {};
String* IGP::s_linkTemplate = nullptr;
bool IGP::s_linkParameters = false;
String* IGP::s_portalLink = nullptr;
String* IGP::s_portalTitle = nullptr;
jint IGP::s_titleNumber = 0;
jint IGP::s_optionalItemStep = -1;
jint IGP::s_closingStep = 9;
jint IGP::s_textOptionalTitle = 0;
jint IGP::s_textOptionalBody = 0;
jint IGP::s_textOkLabel = 0;
jint IGP::s_textBackLabel = 0;
jint IGP::s_textButton = 0;
jint IGP::s_textButtonTitle = 0;
jint IGP::s_textList0Last = 0;
jint IGP::s_textList1Last = 0;

namespace {

const StaticRefRegistration kCatalogueStatics(
    CID_IGP, &IGP::s_headerText, &IGP::s_languageCodes, &IGP::s_gameNames, &IGP::s_listRowNames[0],
    &IGP::s_listRowNames[1], &IGP::s_listRowNames[2], &IGP::s_formatText, &IGP::s_itemLinks, &IGP::s_itemAvailable,
    &IGP::s_itemKinds, &IGP::s_listLinks[0], &IGP::s_listLinks[1], &IGP::s_listRowSources[0],
    &IGP::s_listRowSources[1], &IGP::s_listRowTexts[0], &IGP::s_listRowTexts[1], &IGP::s_linkTemplate,
    &IGP::s_portalLink, &IGP::s_portalTitle);

constexpr jint kAllChecks = 7;
constexpr jint kCheckEmpty = 1;
constexpr jint kCheckSwitchedOff = 2;
constexpr jint kCheckNoValue = 4;
constexpr jint kTitleKind = 4;
constexpr jint kFirstTitleSlotsText = 4;
constexpr jint kOptionalStep = 9;
constexpr jint kClosingStep = 9;
constexpr char kMissingProperty[] = "PROPERTY VALUE EMPTY";

String* ldc(jint literal) { return Runtime::ldcString(literal); }

String* concat(String* a, String* b) {
    if (!a) return b;
    if (!b) return a;
    return a->concat(b);
}

bool isEmpty(String* s) { return !s || s->length() == 0; }

void setAvailable(jint slot, String* link) {
    if (!IGP::s_itemLinks || slot < 0 || slot >= IGP::s_itemLinks->length) return;
    IGP::s_itemLinks->set(slot, link);
    IGP::s_itemAvailable->set(slot, true);
}

// The portal link as a template for the portal's own items.
String* portalTemplate() {
    return IGP::s_linkParameters ? concat(IGP::s_portalLink, ldc(IGP::kPortalSuffixLiteral)) : IGP::s_portalLink;
}

jint rowCount(ObjectArray* rows) { return rows ? rows->length : 0; }

// Reads the header (entry 0); false when it is missing, cut short or names no language.
bool readHeader() {
    ByteArray* buf = IGP::readEntry(0);
    if (!buf) return false;
    igp::clearShortRead();
    IGP::s_readPos = 0;
    (void)IGP::readU16(buf);
    ByteArray* text = IGP::readBytes(buf);
    if (text) {
        IGP::s_headerText = new String();
        if (IGP::s_headerText) IGP::s_headerText->initFromByteArray(text);
    }
    IGP::s_languageCodes = IGP::readStringArray(buf);
    IGP::s_gameNames = IGP::readStringArray(buf);
    for (jint list = 0; list < IGP::kListCount; ++list) IGP::s_listRowNames[list] = IGP::readStringArray(buf);
    for (bool& flag : IGP::s_optionFlags) flag = IGP::readU16(buf) == 1;
    ByteArray* format = IGP::readBytes(buf);
    if (format) {
        IGP::s_formatText = new String();
        if (IGP::s_formatText) IGP::s_formatText->initFromByteArray(format);
    }
    const bool complete = !igp::shortRead() && IGP::s_languageCodes && IGP::s_gameNames && IGP::s_formatText;
    igp::clearShortRead();
    return complete && IGP::s_languageCodes->length > 0;
}

void chooseGlyphLayout() {
    const bool wide = IGP::s_formatText && IGP::s_formatText->equals(ldc(IGP::kWideFormatLiteral));
    IGP::s_wideGlyphs = wide ? 2 : 0;
    IGP::s_glyphX = 0;
    IGP::s_glyphY = wide ? 2 : 1;
    IGP::s_glyphW = wide ? 4 : 2;
    IGP::s_glyphH = wide ? 5 : 3;
}

void assignTextIndices(jint titles) {
    const jint t = (titles > 1 ? titles - 1 : 0) + kFirstTitleSlotsText;
    IGP::s_textOptionalTitle = t + 1;
    IGP::s_textOptionalBody = t + 2;
    IGP::s_textOkLabel = t + 7;
    IGP::s_textBackLabel = t + 8;
    IGP::s_textButton = t + 9;
    IGP::s_textButtonTitle = t + 10;
    const jint rows0 = rowCount(IGP::s_listRowNames[0]);
    const jint rows1 = rowCount(IGP::s_listRowNames[1]);
    IGP::s_textList0Last = rows0 >= 2 ? t + 13 + rows0 : t + 14;
    IGP::s_textList1Last = IGP::s_textList0Last + (rows1 >= 2 ? rows1 : 1);
}

bool allocateSlots(jint titles) {
    const bool optional = IGP::s_optionFlags[0];
    IGP::s_gameCount = titles;
    IGP::s_itemCount = titles + 4 + (optional ? 1 : 0);
    IGP::s_optionalItemStep = optional ? kOptionalStep : -1;
    IGP::s_closingStep = optional ? kClosingStep + 1 : kClosingStep;
    IGP::s_specialItem = titles;
    IGP::s_listItem0 = titles + 1;
    IGP::s_listItem1 = titles + 2;
    IGP::s_portalItem = titles + 3;
    IGP::s_optionalItem = optional ? titles + 4 : -1;
    IGP::s_itemLinks = Runtime::newObjectArray(CID_String, IGP::s_itemCount);
    IGP::s_itemAvailable = Runtime::newBooleanArray(IGP::s_itemCount);
    IGP::s_itemKinds = Runtime::newIntArray(IGP::s_itemCount);
    return IGP::s_itemLinks && IGP::s_itemAvailable && IGP::s_itemKinds;
}

}  // namespace

String* IGP::getAppProperty(String* key) {
    if (!s_midlet || !key) return nullptr;
    String* value = s_midlet->getAppProperty(key);
    if (Runtime::pending() || !value || value->equalsCString(kMissingProperty)) return nullptr;
    return value;
}

bool IGP::isValidValue(String* s, jint flags) {
    if (!s) return (flags & kCheckEmpty) == 0;
    String* t = s->trim();
    if (!t) return false;
    if ((flags & kCheckEmpty) && t->length() == 0) return false;
    String* upper = t->toUpperCase();
    if (!upper) return false;
    if ((flags & kCheckSwitchedOff) && upper->equals(ldc(kNoValueLiteral))) return false;
    if ((flags & kCheckNoValue) && (upper->equals(ldc(kNullValueLiteral)) || upper->equals(ldc(kZeroLiteral))))
        return false;
    return true;
}

// The key is found anywhere in the source, also at the end of a longer key ("ALPHABETA=" holds
// "BETA="), as the properties have always been read.
String* IGP::extractLinkValue(String* source, String* key, String* linkTemplate) {
    String* empty = ldc(kEmptyLiteral);
    if (!source || !key || !linkTemplate) return empty;
    String* keyed = concat(key, ldc(kKeySeparatorLiteral));
    String* t = linkTemplate->trim();
    if (!keyed || !t) return empty;
    const jint at = source->indexOfString(keyed);
    if (at < 0 || t->length() == 0) return empty;
    const jint begin = at + key->length() + 1;
    jint end = source->indexOfStringFrom(ldc(kValueEndLiteral), begin);
    if (end < 0) end = source->length();
    String* cut = source->substring(begin, end);
    String* value = cut ? cut->trim() : nullptr;
    if (!value || value->length() == 0 || value->equals(ldc(kZeroLiteral))) return empty;
    String* upper = value->toUpperCase();
    if (!upper || upper->equals(ldc(kNullValueLiteral)) || upper->equals(ldc(kNoValueLiteral))) return empty;
    if (key->equals(ldc(kPortalKeyLiteral))) return value;
    String* placeholder = ldc(kPlaceholderLiteral);
    const jint k = placeholder->length() > 0 ? t->indexOfString(placeholder) : -1;
    if (k < 0) return t;
    return concat(concat(t->substring(0, k), value), t->substring(k + placeholder->length(), t->length()));
}

void IGP::setupGameLink(jint slot, String* key, jint flags, jint propertyKey, String* linkTemplate) {
    String* value = extractLinkValue(getAppProperty(ldc(propertyKey)), key, linkTemplate);
    if (!isValidValue(value, flags)) return;
    String* link = value;
    if (slot != s_specialItem) {
        s_titleNumber += 1;
        if (s_itemKinds) s_itemKinds->set(slot, kTitleKind);
        if (s_linkParameters) {
            link = concat(link, ldc(kTitleNumberLiteral));
            if (s_titleNumber < 10) link = concat(link, ldc(kZeroLiteral));
            link = concat(link, String::valueOfInt(s_titleNumber));
        }
    }
    setAvailable(slot, link);
}

void IGP::setupListLinks(jint list, ObjectArray* rowNames, jint lastText, jint propertyKey) {
    if (list < 0 || list >= kPageListCount) return;
    const jint rows = rowCount(rowNames);
    s_listLinks[list] = Runtime::newObjectArray(CID_String, rows);
    s_listRowSources[list] = Runtime::newIntArray(rows);
    s_listRowTexts[list] = Runtime::newIntArray(rows);
    s_listLengths[list] = 0;
    if (s_optionFlags[0] || !s_listLinks[list] || !s_listRowSources[list] || !s_listRowTexts[list]) return;
    String* source = getAppProperty(ldc(propertyKey));
    jint valid = 0;
    for (jint j = 0; j < rows; ++j) {
        auto* name = static_cast<String*>(rowNames->get(j));
        String* value = nullptr;
        if (j < rows - 1) {
            if (name && name->equals(ldc(kPortalRowLiteral))) value = s_portalLink;
            else value = extractLinkValue(source, name, s_linkTemplate);
        } else if (!isEmpty(s_portalLink)) {
            value = extractLinkValue(getAppProperty(ldc(kPortalItemsKeyLiteral)), name, portalTemplate());
        } else {
            value = ldc(kEmptyLiteral);
        }
        if (!isValidValue(value, kAllChecks)) continue;
        s_listLinks[list]->set(valid, value);
        s_listRowSources[list]->set(valid, j);
        s_listRowTexts[list]->set(j, lastText - (rows - 1 - j));
        ++valid;
    }
    if (valid > 0) {
        const jint slot = list == 0 ? s_listItem0 : s_listItem1;
        if (s_itemAvailable) s_itemAvailable->set(slot, true);
        s_listLengths[list] = valid;
    }
}

jint IGP::getAvailableCount() {
    jint count = 0;
    for (jint i = 0; s_itemAvailable && i < s_itemAvailable->length; ++i)
        if (s_itemAvailable->get(i)) ++count;
    return count;
}

jint IGP::getFirstAvailable() {
    for (jint i = 0; s_itemAvailable && i < s_itemAvailable->length; ++i)
        if (s_itemAvailable->get(i)) return i;
    return -1;
}

String* IGP::withLanguageCode(String* link) {
    if (!link || !s_linkParameters) return link;
    String* marker = ldc(kLanguageMarkerLiteral);
    String* code = nullptr;
    if (s_languageCodes && s_language >= 0 && s_language < s_languageCodes->length)
        code = static_cast<String*>(s_languageCodes->get(s_language));
    if (!code) code = ldc(kEmptyLiteral);
    const jint at = marker->length() > 0 ? link->indexOfString(marker) : -1;
    if (at < 0) return concat(concat(link, marker), code);
    const jint after = at + marker->length();
    // A marker at the very end has no character to replace: the code follows it.
    if (after >= link->length()) return concat(link, code);
    return concat(concat(link->substring(0, after), code), link->substring(after + 1, link->length()));
}

void IGP::loadData() {
    s_available = false;
    s_availableCount = 0;
    s_titleNumber = 0;
    s_portalLink = ldc(kEmptyLiteral);
    s_portalTitle = nullptr;
    if (!openData()) {
        Log::info("promotion unavailable: no promotion data");
        return;
    }
    const bool header = readHeader();
    closeData();
    if (!header) {
        Log::info("promotion unavailable: the promotion data's header is malformed");
        return;
    }
    chooseGlyphLayout();
    const jint titles = s_gameNames->length;
    assignTextIndices(titles);
    if (!allocateSlots(titles)) return;
    const bool optional = s_optionFlags[0];

    String* linkTemplate = getAppProperty(ldc(kTemplateKeyLiteral));
    s_linkTemplate = linkTemplate ? linkTemplate->trim() : nullptr;
    s_linkParameters = s_linkTemplate && s_linkTemplate->indexOfString(ldc(kParametersLiteral)) >= 0;

    for (jint i = 0; i < titles; ++i)
        setupGameLink(i, static_cast<String*>(s_gameNames->get(i)), kAllChecks, kTitlesKeyLiteral, s_linkTemplate);

    String* portal = getAppProperty(ldc(kPortalKeyPropertyLiteral));
    String* portalTrimmed = portal ? portal->trim() : nullptr;
    if (isValidValue(portalTrimmed, kAllChecks)) s_portalLink = portalTrimmed;
    s_portalTitle = getAppProperty(ldc(kPortalTitleKeyLiteral));
    const bool portalValid = isValidValue(s_portalLink, kAllChecks);

    if (!optional && portalValid)
        setupGameLink(s_specialItem, ldc(kSpecialKeyLiteral), kAllChecks, kPortalItemsKeyLiteral, portalTemplate());

    setupListLinks(0, s_listRowNames[0], s_textList0Last, kList0KeyLiteral);
    setupListLinks(1, s_listRowNames[1], s_textList1Last, kList1KeyLiteral);

    if (!optional) {
        String* portalItems = getAppProperty(ldc(kPortalItemsKeyLiteral));
        if (isValidValue(extractLinkValue(portalItems, ldc(kPortalKeyLiteral), s_portalLink), kAllChecks)) {
            String* link = s_portalLink;
            if (portalValid) {
                if (s_linkParameters) link = concat(link, ldc(kPortalPageLiteral));
                setAvailable(s_portalItem, link);
            } else {
                s_itemLinks->set(s_portalItem, link);
            }
        }
    } else if (portalValid) {
        setAvailable(s_optionalItem, s_portalLink);
    }

    s_availableCount = getAvailableCount();
    s_available = s_availableCount > 0;
    if (!s_available) Log::info("promotion unavailable: no item has a link");
}

void IGP::resetData() {
    freeImages(true);
    s_midlet = nullptr;
    s_commandMode = false;
    s_okCommand = s_backCommand = nullptr;
    s_language = 0;
    s_readPos = 0;
    s_lineHeight = s_lineSpacing = 0;
    s_headerText = s_formatText = nullptr;
    s_languageCodes = s_gameNames = nullptr;
    for (ObjectArray*& rows : s_listRowNames) rows = nullptr;
    for (bool& flag : s_optionFlags) flag = false;
    s_gameCount = s_itemCount = 0;
    s_itemLinks = nullptr;
    s_itemAvailable = nullptr;
    s_itemKinds = nullptr;
    s_availableCount = 0;
    s_available = false;
    for (jint list = 0; list < kPageListCount; ++list) {
        s_listLinks[list] = nullptr;
        s_listRowSources[list] = s_listRowTexts[list] = nullptr;
        s_listLengths[list] = 0;
    }
    s_linkTemplate = s_portalLink = s_portalTitle = nullptr;
    s_linkParameters = false;
    s_titleNumber = 0;
    s_optionalItemStep = -1;
    s_closingStep = kClosingStep;
    chooseGlyphLayout();
}
