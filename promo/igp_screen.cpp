// IGP: the screen's life cycle. Initialisation once per run, one visit from enter to the update that
// reports the end, the sub-state machine and the page set-up it drives.
// Invariant: s_state and s_running are shared with the link thread; everything else here is the
// game thread's (the game's stylus handlers reach it under the game's lock).
#include "classlib/lcdui/javax_microedition_lcdui_canvas.h"
#include "classlib/lcdui/javax_microedition_lcdui_command.h"
#include "classlib/lcdui/javax_microedition_lcdui_displayable.h"
#include "classlib/lcdui/javax_microedition_lcdui_font.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "promo/igp.h"
#include "promo/igp_thread.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/log.h"
#include "runtime/static_class.h"
#include "runtime/string.h"

using Canvas = javax_microedition_lcdui_Canvas;
using Displayable = javax_microedition_lcdui_Displayable;
using Font = javax_microedition_lcdui_Font;

Canvas* IGP::s_canvas = nullptr;
Displayable* IGP::s_displayable = nullptr;
IGP* IGP::s_listener = nullptr;
std::atomic<bool> IGP::s_running{false};
std::atomic<jint> IGP::s_state{0};
jint IGP::s_savedState = -1;
jint IGP::s_action = 0;
bool IGP::s_keepAction = false;
jint IGP::s_pressedAction = 0;
jint IGP::s_pressedListRow = 0;
jint IGP::s_loadStep = 0;
jint IGP::s_loadStepCount = 0;
jint IGP::s_currentItem = 0;
String* IGP::s_loadingText = nullptr;
Font* IGP::s_font = nullptr;
jint IGP::s_screenWidth = 0;
jint IGP::s_screenHeight = 0;
jint IGP::s_halfWidth = 0;
jint IGP::s_halfHeight = 0;
jint IGP::s_topMargin = 0;
jint IGP::s_centreY = 0;
jint IGP::s_bottomY = 0;
jint IGP::s_softKeyMarginLeft = 2;
jint IGP::s_softKeyMarginRight = 2;
jint IGP::s_shownItem = 0;
bool IGP::s_pageHasLink = false;
jint IGP::s_buttonTextIndex = 0;
bool IGP::s_listMode = false;
jint IGP::s_listIndex = 0;
jint IGP::s_listLength = 0;
jint IGP::s_listVisibleRows = 0;
jint IGP::s_listScroll = 0;
jint IGP::s_listSelection = 0;
bool IGP::s_leftPressed = false;
bool IGP::s_rightPressed = false;
jbyte IGP::s_softKeyFlags = 0;
jbyte IGP::s_softKeyIconFlags = 0;
IntArray* IGP::s_lineWidths = nullptr;

namespace {

const StaticRefRegistration kScreenStatics(CID_IGP, &IGP::s_canvas, &IGP::s_displayable, &IGP::s_listener,
                                           &IGP::s_loadingText, &IGP::s_font, &IGP::s_lineWidths);
const StaticInitRegistration kScreenInit("IGP::staticInit", &IGP::staticInit);

constexpr jint kTitleKind = 4;
constexpr jint kFontFace = 0, kFontStyle = 0, kFontSize = 8;

bool isEmpty(String* s) { return !s || s->length() == 0; }

bool itemAvailable(jint item) {
    return IGP::s_itemAvailable && item >= 0 && item < IGP::s_itemAvailable->length && IGP::s_itemAvailable->get(item);
}

// The next available item from `from` in steps of `step`, wrapping at both ends; `from` itself when
// no other slot is available (never loops for ever).
jint nextAvailable(jint from, jint step) {
    const jint count = IGP::s_itemCount;
    if (count <= 0) return from;
    jint item = from;
    for (jint tries = 0; tries < count; ++tries) {
        item += step;
        if (item < 0) item = count - 1;
        if (item >= count) item = 0;
        if (itemAvailable(item)) return item;
    }
    return from;
}

void resetList() {
    IGP::s_listScroll = 0;
    IGP::s_listSelection = 0;
}

void browse(jint action) {
    switch (action) {
    case IGP::kActionUp:
        if (IGP::s_listMode && IGP::s_listSelection > 0) {
            --IGP::s_listSelection;
            if (IGP::s_listSelection < IGP::s_listScroll) --IGP::s_listScroll;
        }
        return;
    case IGP::kActionDown:
        if (IGP::s_listMode && IGP::s_listSelection < IGP::s_listLength - 1) {
            ++IGP::s_listSelection;
            if (IGP::s_listSelection - IGP::s_listScroll >= IGP::s_listVisibleRows) ++IGP::s_listScroll;
        }
        return;
    case IGP::kActionLeft:
        if (IGP::s_availableCount < 2) return;
        IGP::s_currentItem = nextAvailable(IGP::s_currentItem, -1);
        IGP::s_leftPressed = true;
        resetList();
        IGP::setupPage();
        return;
    case IGP::kActionRight:
        if (IGP::s_availableCount < 2) return;
        // Right right after a left (its arrow still shown pressed) only sets the page up again.
        if (!IGP::s_leftPressed) {
            IGP::s_currentItem = nextAvailable(IGP::s_currentItem, 1);
            IGP::s_rightPressed = true;
        }
        resetList();
        IGP::setupPage();
        return;
    case IGP::kActionSelect:
    case IGP::kActionStylusSelect:
        IGP::s_state = IGP::kStateLaunching;
        return;
    case IGP::kActionBack:
        IGP::s_state = IGP::kStateFinished;
        return;
    default:
        return;
    }
}

// The end of a visit: the thread told to stop before anything it or a stylus test reads is freed.
void finish() {
    igp::endRunning();
    IGP::freeImages(true);
    IGP::s_lineWidths = nullptr;
    IGP::s_loadingText = nullptr;
    if (IGP::s_commandMode) IGP::dropCommands();
}

// State 6: hands the chosen link to the thread once; a choice without a link goes back to browsing.
void launch() {
    if (IGP::s_linkLaunched) return;
    String* link = IGP::chosenLink();
    if (isEmpty(link)) {
        IGP::s_state = IGP::kStateBrowsing;
        return;
    }
    igp::offerLink(link);
}

}  // namespace

void* IGP::getInterface(jint classId) {
    switch (classId) {
    case CID_java_lang_Runnable: return static_cast<java_lang_Runnable*>(this);
    case CID_javax_microedition_lcdui_CommandListener: return static_cast<Object*>(this);
    default: return Object::getInterface(classId);
    }
}

void IGP::commandAction(javax_microedition_lcdui_Command* command, Displayable*) {
    if (!command) return;
    if (command == s_okCommand) (void)update(kActionSelect);
    else if (command == s_backCommand) (void)update(kActionBack);
}

void IGP::staticInit() {
    resetData();
    s_running = false;
    s_state = kStateLoading;
    s_linkLaunched = false;
    s_savedState = -1;
    s_action = s_pressedAction = s_pressedListRow = 0;
    s_keepAction = false;
    s_loadStep = s_loadStepCount = s_currentItem = 0;
    s_visited = s_visitedChecked = false;
    s_markerToggleTime = 0;
    s_markerVisible = true;
    s_screenWidth = s_screenHeight = s_halfWidth = s_halfHeight = 0;
    s_topMargin = s_centreY = s_bottomY = 0;
    s_softKeyMarginLeft = s_softKeyMarginRight = 2;
    s_shownItem = s_buttonTextIndex = s_listIndex = s_listLength = s_listVisibleRows = 0;
    s_pageHasLink = s_listMode = false;
    resetList();
    s_leftPressed = s_rightPressed = false;
    s_softKeyFlags = s_softKeyIconFlags = 0;
}

void IGP::initialize(javax_microedition_midlet_MIDlet* midlet, Canvas* canvas, jint width, jint height,
                     Displayable* displayable) {
    s_screenWidth = width;
    s_screenHeight = height;
    s_halfWidth = width >> 1;
    s_halfHeight = height >> 1;
    s_topMargin = jt::div(jt::mul(height, 5), 100);
    s_centreY = jt::div(height, 2);
    s_bottomY = jt::div(jt::mul(height, 93), 100);
    if (s_midlet || !canvas) return;
    if (displayable) {
        s_commandMode = true;
        if (!s_listener) s_listener = new IGP();
        s_displayable = displayable;
    }
    if (!midlet) Log::info("promotion: initialised without a MIDlet");
    s_midlet = midlet;
    s_canvas = canvas;
    loadData();
}

void IGP::initializeWithoutCommands(javax_microedition_midlet_MIDlet* midlet, Canvas* canvas, jint width, jint height) {
    initialize(midlet, canvas, width, height, nullptr);
}

void IGP::enter(String* loadingText, jint language) {
    s_keepAction = true;
    s_action = 0;
    s_pressedAction = 0;
    start(loadingText, language);
    s_loadStepCount = loadStepCount();
    setVisited();
    s_currentItem = getFirstAvailable();
}

void IGP::start(String* loadingText, jint language) {
    if (!s_languageCodes || language < 0 || language >= s_languageCodes->length) return;
    // The previous visit's thread may still be asleep: it ends here, never beside the new one.
    stopLinkThread();
    s_savedState = -1;
    s_loadStep = -1;
    s_language = language;
    s_loadingText = loadingText;
    s_state = kStateLoading;
    s_currentItem = 0;
    resetList();
    s_lineWidths = Runtime::newIntArray(kLineTableSize);
    s_font = Font::getFont(kFontFace, kFontStyle, kFontSize);
    BX_RETURN_IF_PENDING();
    s_softKeyFlags = s_softKeyIconFlags = 0;
    igp::startLinkThread();
}

bool IGP::update(jint action) {
    if (!s_available) return true;
    if (s_keepAction) s_keepAction = false;
    else s_action = action;
    switch (s_state.load()) {
    case kStateLoading:
        if (s_loadStep >= s_loadStepCount) {
            s_state = kStateBrowsing;
            setupPage();
        } else {
            loadStep(s_loadStep);
        }
        ++s_loadStep;
        return false;
    case kStateBrowsing:
        browse(s_action);
        return false;
    case kStateFinished:
        finish();
        return true;
    case kStateLaunching:
        launch();
        return false;
    default:
        return false;
    }
}

String* IGP::chosenLink() {
    String* link = nullptr;
    if (s_listMode) {
        ObjectArray* rows = s_listIndex >= 0 && s_listIndex < kPageListCount ? s_listLinks[s_listIndex] : nullptr;
        if (rows && s_listSelection >= 0 && s_listSelection < rows->length)
            link = static_cast<String*>(rows->get(s_listSelection));
    } else if (s_itemLinks && s_currentItem >= 0 && s_currentItem < s_itemLinks->length) {
        link = static_cast<String*>(s_itemLinks->get(s_currentItem));
    }
    if (isEmpty(link)) return nullptr;
    return withLanguageCode(link);
}

void IGP::setupPage() {
    const jint item = s_currentItem;
    s_shownItem = item;
    resetList();
    s_listLength = 0;
    s_listMode = false;
    String* link = s_itemLinks && item >= 0 && item < s_itemLinks->length
                       ? static_cast<String*>(s_itemLinks->get(item))
                       : nullptr;
    s_pageHasLink = !isEmpty(link) && !link->equals(Runtime::ldcString(kNoValueLiteral));
    if (item == s_listItem0 || item == s_listItem1) {
        s_listMode = true;
        s_listIndex = item == s_listItem0 ? 0 : 1;
        s_pageHasLink = false;
    } else if (item == s_portalItem || item == s_optionalItem) {
        s_pageHasLink = true;
    }
    const bool title = s_itemKinds && item >= 0 && item < s_itemKinds->length && s_itemKinds->get(item) == kTitleKind;
    s_buttonTextIndex = title ? s_textButtonTitle : s_textButton;
    if (s_listMode) s_listLength = s_listLengths[s_listIndex];
}

void IGP::notifyInterruption(bool hidden) {
    if (hidden) {
        if (s_state == kStateLoading) {
            s_savedState = s_state;
            s_state = kStateParked;
        }
        resetStylus();
    } else if (s_state == kStateParked) {
        s_loadStep = -1;
        s_state = s_savedState;
    }
}

jint IGP::getAvailability() { return s_available && getAvailableCount() > 0 ? 0 : -1; }

bool IGP::isAvailable() { return s_available && getAvailableCount() > 0; }

void IGP::resetStylus() {
    s_action = 0;
    s_pressedAction = 0;
    s_keepAction = true;
}

void IGP::dropCommands() {
    s_okCommand = nullptr;
    s_backCommand = nullptr;
}
