// IGP (class id 132): the promotion screen. All its state is static; so far this holds the data
// side: the little-endian promotion resource (index, entries, value readers, the stepwise load,
// palette recolouring) and the catalogue of items and their links built from the resource's header
// and the MIDlet's properties.
// Invariant: the resource is untrusted. Every read is bounded by its entry, every count and index
// is checked against what was read; a bad resource leaves the promotion unavailable or a picture
// null, never a read outside an array.
#pragma once

#include <atomic>

#include "classlib/java_lang/java_lang_runnable.h"
#include "runtime/array.h"
#include "runtime/object.h"

class String;
class java_lang_Thread;
class javax_microedition_lcdui_Canvas;
class javax_microedition_lcdui_Command;
class javax_microedition_lcdui_Displayable;
class javax_microedition_lcdui_Font;
class javax_microedition_lcdui_Graphics;
class javax_microedition_lcdui_Image;
class javax_microedition_midlet_MIDlet;

class IGP : public Object, public java_lang_Runnable {
public:
    IGP() { setClassId(CID_IGP); }

    // Literals of the constant pool.
    static constexpr jint kResourceLiteral = 0;
    static constexpr jint kEmptyLiteral = 1;
    static constexpr jint kNoValueLiteral = 11;      // a switched-off value (any case)
    static constexpr jint kNullValueLiteral = 12;    // an explicit "no value" (any case)
    static constexpr jint kZeroLiteral = 13;         // "0": no value, and the pad of title numbers
    static constexpr jint kKeySeparatorLiteral = 14; // one character after a key
    static constexpr jint kValueEndLiteral = 15;     // ends a value
    static constexpr jint kPortalKeyLiteral = 16;    // key whose value is taken as it is
    static constexpr jint kPlaceholderLiteral = 17;  // where a value goes in a template
    static constexpr jint kTitleNumberLiteral = 19;  // before a title's number
    static constexpr jint kPortalSuffixLiteral = 20; // after the portal link used as a template
    static constexpr jint kPortalItemsKeyLiteral = 21;
    static constexpr jint kPortalRowLiteral = 23;    // a list row that takes the portal link
    static constexpr jint kWideFormatLiteral = 26;
    static constexpr jint kTemplateKeyLiteral = 29;
    static constexpr jint kParametersLiteral = 30;   // a template holding it takes parameters
    static constexpr jint kTitlesKeyLiteral = 31;
    static constexpr jint kPortalKeyPropertyLiteral = 32;
    static constexpr jint kPortalTitleKeyLiteral = 33;
    static constexpr jint kSpecialKeyLiteral = 34;
    static constexpr jint kList0KeyLiteral = 36;
    static constexpr jint kList1KeyLiteral = 37;
    static constexpr jint kPortalPageLiteral = 38;   // appended to the portal item's link
    static constexpr jint kEncodingLiteral = 45;
    static constexpr jint kExtraLanguageLiteralA = 46;
    static constexpr jint kExtraLanguageLiteralB = 47;
    static constexpr jint kLanguageMarkerLiteral = 48;

    static constexpr jint kFixedImageCount = 14;
    static constexpr jint kFontImageCount = 3;
    static constexpr jint kListCount = 3;         // row-name lists in the header; two have pages
    static constexpr jint kPageListCount = 2;
    static constexpr jint kOptionFlagCount = 1;
    // The font's ink recoloured for highlighted and alert texts, and the pages' background: the
    // game's night blue with gold and ember, every text at least 4.5:1 against the page.
    static constexpr jint kHighlightColour = 0xFCA311;
    static constexpr jint kAlertColour = 0xFF6B5B;
    static constexpr jint kPageColour = 0x14213D;

    // The resource: index, entries and the readers over an entry.
    [[nodiscard]] static bool openData();
    static void closeData();
    [[nodiscard]] static ByteArray* readEntry(jint i);
    [[nodiscard]] static jint readU16(ByteArray* buf);
    [[nodiscard]] static ByteArray* readBytes(ByteArray* buf);
    [[nodiscard]] static javax_microedition_lcdui_Image* readImage(ByteArray* buf);
    [[nodiscard]] static ObjectArray* readStringArray(ByteArray* buf);
    [[nodiscard]] static String* getText(jint i);
    [[nodiscard]] static javax_microedition_lcdui_Image* recolourPng(ByteArray* bytes, jint offset, jint length,
                                                                     jint index, jint rgb);
    [[nodiscard]] static jint lookupRecordField(jint code, jint field);
    static void loadStep(jint step);
    // The number of load steps a visit runs (steps -1 .. count - 1): the item count plus four, and
    // never fewer than reach the closing step, which with fewer than two titles the item count
    // alone would not.
    [[nodiscard]] static jint loadStepCount();
    static void freeImages(bool all);

    // The catalogue.
    static void loadData();
    [[nodiscard]] static bool isValidValue(String* s, jint flags);
    [[nodiscard]] static String* extractLinkValue(String* source, String* key, String* linkTemplate);
    static void setupGameLink(jint slot, String* key, jint flags, jint propertyKey, String* linkTemplate);
    static void setupListLinks(jint list, ObjectArray* rowNames, jint lastText, jint propertyKey);
    [[nodiscard]] static jint getAvailableCount();
    [[nodiscard]] static jint getFirstAvailable();
    // The MIDlet's property, or null when the MIDlet has none of that name (its "PROPERTY VALUE
    // EMPTY" stand-in would otherwise pass as a link or a title).
    [[nodiscard]] static String* getAppProperty(String* key);
    // A chosen link completed with the language code at s_language (when the links take
    // parameters): the one character after the first language marker is replaced by the code, or,
    // when the marker has no character after it or is missing, the marker and code are appended.
    [[nodiscard]] static String* withLanguageCode(String* link);

    // Clears every field built here (the start-up sequence does this once; tests between cases).
    static void resetData();

    // Set by the screen's initialisation.
    static javax_microedition_midlet_MIDlet* s_midlet;
    static bool s_commandMode;
    static javax_microedition_lcdui_Command* s_okCommand;
    static javax_microedition_lcdui_Command* s_backCommand;
    static jint s_language;

    // The index and the read position.
    static jint s_dataCount;
    static IntArray* s_dataOffsets;
    static jint s_readPos;

    // Tables the load steps fill.
    static ObjectArray* s_texts;      // String per text of the chosen language, null when empty
    static IntArray* s_textEnds;      // ends as ints: a text block may be longer than 32767 bytes
    static ObjectArray* s_fontImages; // Image[3]: the font, highlighted, alert
    static ByteArray* s_glyphs;
    static jint s_lineHeight;
    static jint s_lineSpacing;
    static ObjectArray* s_fixedImages;
    static ObjectArray* s_itemImages;
    static javax_microedition_lcdui_Image* s_languageImage;
    static javax_microedition_lcdui_Image* s_extraImage;
    static ObjectArray* s_listImages;  // Image[][] per list
    static jint s_glyphX, s_glyphY, s_glyphW, s_glyphH;
    static jint s_wideGlyphs;          // 0 or 2: glyph records are 4 + this bytes

    // The header.
    static String* s_headerText;
    static ObjectArray* s_languageCodes;
    static ObjectArray* s_gameNames;
    static ObjectArray* s_listRowNames[kListCount];
    static bool s_optionFlags[kOptionFlagCount];
    static String* s_formatText;

    // The catalogue.
    static jint s_gameCount, s_itemCount;
    static jint s_specialItem, s_listItem0, s_listItem1, s_portalItem, s_optionalItem;
    static ObjectArray* s_itemLinks;
    static BoolArray* s_itemAvailable;
    static IntArray* s_itemKinds;
    static jint s_availableCount;
    static bool s_available;
    static ObjectArray* s_listLinks[kPageListCount];
    static IntArray* s_listRowSources[kPageListCount];
    static IntArray* s_listRowTexts[kPageListCount];
    static jint s_listLengths[kPageListCount];
    static String* s_linkTemplate;
    static bool s_linkParameters;
    static String* s_portalLink;
    static String* s_portalTitle;
    static jint s_titleNumber;
    static jint s_optionalItemStep, s_closingStep;
    static jint s_textOptionalTitle, s_textOptionalBody, s_textOkLabel, s_textBackLabel;
    static jint s_textButton, s_textButtonTitle, s_textList0Last, s_textList1Last;

    // --- The screen and the link thread ---
    // Threads: the game thread runs everything here but run() and launchPendingUrl(), which the link
    // thread runs. They share only s_state, s_running, s_pendingLink and s_linkLaunched, all
    // atomic; the pending link is taken by exchange and launched at most once per visit. start()
    // stops and joins the previous link thread first, so there is never more than one.
    // The game calls update, paint and the stylus handlers under its own lock, so the host thread's
    // hitTest never meets the images state 4 frees (and state 4 clears s_running first).
    static constexpr jint kStateLoading = 0, kStateBrowsing = 1, kStateFinished = 4, kStateParked = 5,
                          kStateLaunching = 6;
    // Action codes; 21 is up and 32 down, as the key maps have always sent them.
    static constexpr jint kActionNone = 0, kActionUp = 21, kActionDown = 32, kActionLeft = 23, kActionRight = 24,
                          kActionSelect = 25, kActionBack = 26, kActionStylusSelect = 27;
    static constexpr jint kVisitedStoreLiteral = 49;
    static constexpr jint kLineTableSize = 10;
    static constexpr jint kLinkPollMillis = 1000;
    static constexpr jint kLaunchPauseMillis = 200;
    static constexpr jint kMarkerBlinkMillis = 800;

    void* getInterface(jint classId) override;
    // The link thread's body (Runnable.run).
    void run() override;
    // Command mode only: OK selects, BACK leaves.
    virtual void commandAction(javax_microedition_lcdui_Command* command,
                               javax_microedition_lcdui_Displayable* displayable);

    // The start-up step: every scalar of the screen as a fresh start has it.
    static void staticInit();
    // Once per run: the screen geometry, then (first time, with a canvas) the MIDlet, canvas and
    // the catalogue.
    static void initialize(javax_microedition_midlet_MIDlet* midlet, javax_microedition_lcdui_Canvas* canvas,
                           jint width, jint height, javax_microedition_lcdui_Displayable* displayable);
    static void initializeWithoutCommands(javax_microedition_midlet_MIDlet* midlet,
                                          javax_microedition_lcdui_Canvas* canvas, jint width, jint height);
    // One visit: stylus reset, start, the step count, visited, the first available item.
    static void enter(String* loadingText, jint language);
    // Nothing for a language outside the language codes; else the sub-state 0 fields and a new link
    // thread (the old one stopped and joined first).
    static void start(String* loadingText, jint language);
    // One frame; true when the screen is finished and the game leaves it.
    [[nodiscard]] static bool update(jint action);
    // The link of the current item or list row, completed with the language code; null when none.
    [[nodiscard]] static String* chosenLink();
    // The page of s_currentItem: list mode, button, button text.
    static void setupPage();
    static void launchPendingUrl();
    // Stops the link thread and waits until it has ended (also what start does with an old one).
    static void stopLinkThread();
    // True while a link thread is alive.
    [[nodiscard]] static bool linkThreadAlive();
    [[nodiscard]] static bool isVisited();
    static void setVisited();
    // Blinks the new-content marker while the promotion is unvisited; true when it is in play.
    static bool drawNewMarker(javax_microedition_lcdui_Graphics* g, javax_microedition_lcdui_Image* image, jint x,
                              jint y, jint anchor);
    static void notifyInterruption(bool hidden);
    [[nodiscard]] static jint getAvailability();
    [[nodiscard]] static bool isAvailable();
    static void resetStylus();
    static void dropCommands();

    static javax_microedition_lcdui_Canvas* s_canvas;
    static javax_microedition_lcdui_Displayable* s_displayable;
    static IGP* s_listener;
    static java_lang_Thread* s_linkThread;
    static std::atomic<bool> s_running;
    static std::atomic<jint> s_state;
    static std::atomic<bool> s_linkLaunched;  // this visit's link has gone to the platform
    static jint s_savedState;
    static jint s_action;
    static bool s_keepAction;
    static jint s_pressedAction;
    static jint s_pressedListRow;
    static jint s_loadStep;
    static jint s_loadStepCount;
    static jint s_currentItem;
    static String* s_loadingText;
    static javax_microedition_lcdui_Font* s_font;
    static String* s_pendingLink;  // reached only through std::atomic_ref
    static String* s_launchLink;   // the link thread's alone
    static bool s_visited;
    static bool s_visitedChecked;
    static jlong s_markerToggleTime;
    static bool s_markerVisible;

    // Screen geometry (initialize).
    static jint s_screenWidth, s_screenHeight, s_halfWidth, s_halfHeight, s_topMargin, s_centreY, s_bottomY;
    static jint s_softKeyMarginLeft, s_softKeyMarginRight;
    // The page (setupPage, update's navigation; paint fills s_listVisibleRows).
    static jint s_shownItem;
    static bool s_pageHasLink;
    static jint s_buttonTextIndex;
    static bool s_listMode;
    static jint s_listIndex;
    static jint s_listLength;
    static jint s_listVisibleRows;
    static jint s_listScroll;
    static jint s_listSelection;
    static bool s_leftPressed, s_rightPressed;
    static jbyte s_softKeyFlags, s_softKeyIconFlags;
    static IntArray* s_lineWidths;  // int[10], made by start
    // --- end of the screen and the link thread ---

    // --- Painting and the stylus ---
    // The loading and browsing states drawn into the 800 by 480 picture the game hands over, in
    // that picture's coordinates (W = s_screenWidth, H = s_screenHeight). The paint leaves the list
    // and button geometry that hitTest reads; the game calls paint, hitTest and the pointer
    // handlers under its lock.
    static constexpr jint kLineBreakLiteral = 44;   // joins the lines of a wrapped title

    static void paint(javax_microedition_lcdui_Graphics* g);
    // The action under a point (0 for none); a tap on an unselected list row selects it.
    [[nodiscard]] static jint hitTest(jint x, jint y);
    static void pointerPressed(jint x, jint y);
    static void pointerDragged(jint x, jint y);
    static void pointerReleased(jint x, jint y);
    // The bitmap-font painter: lines break at character 10 or a backslash and capital N; measures
    // into s_textWidth, s_textHeight and s_lineWidths, then draws in font s_fontVariant (unless g is
    // null or s_measureOnly was set, which it clears). Width and line limit are not used.
    static void drawText(String* text, javax_microedition_lcdui_Graphics* g, jint width, jint x, jint y, jint anchor,
                         jint maxLines);
    // The portal title upper-cased and wrapped to at most two lines of the screen's width; null
    // when it cannot be shown.
    static void prepareTitleText();
    static void drawProgressBar(javax_microedition_lcdui_Graphics* g, jint y, jint width, jint value, jint max);
    static void fillGradient(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h, jint fromRgb,
                             jint toRgb, bool mirrored);
    // A triangle with its tip at (x, y), its base half the size away, outlined in the highlight.
    static void drawListArrow(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint size, jint rgb, bool filled,
                              bool down);
    static void setScreenClip(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h);
    static void layoutButton();
    static void paintButton(javax_microedition_lcdui_Graphics* g);
    static void paintSoftKeyBar(javax_microedition_lcdui_Graphics* g);
    static void paintPages(javax_microedition_lcdui_Graphics* g);
    static void paintPageBody(javax_microedition_lcdui_Graphics* g);
    // Every field below as a fresh start has it.
    static void resetPainting();

    static jint s_rowBoxX, s_rowBoxWidth, s_rowHeight, s_rowsTop;  // the list as last painted
    static jint s_selectionBoxY;
    static jint s_upArrowY, s_downArrowY;
    static jint s_buttonX, s_buttonY, s_buttonWidth, s_buttonHeight;
    static jint s_arrowPressFrames;
    static jint s_textHeight, s_textWidth;
    static bool s_measureOnly;
    static jint s_fontVariant;  // 0 the font as drawn, 1 highlighted, 2 alert; each draw resets it to 1
    // --- end of painting and the stylus ---
};
