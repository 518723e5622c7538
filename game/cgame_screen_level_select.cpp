// The level select (21): the names of the levels reached so far (all ten in cheat mode); choosing one
// loads it through the transition and plays it.
#include "game/cgame.h"
#include "game/cgame_text_ids.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/static_class.h"

jint cGameScreens::s_levelSelectLast = -1;
jint cGameScreens::s_levelSelectArrow = 0;
jint cGameScreens::s_levelSelectArrowStep = 1;
IntArray* cGameScreens::s_levelSelectItems = nullptr;

namespace {

const StaticRefRegistration kStatics(CID_cGame, &cGame::s_levelSelectItems);

constexpr jint kTitleText = text_id::kLevelSelectTitle;
constexpr jint kListY = 285;
constexpr jint kConfirmSfx = 7;
constexpr jint kArrowTop = 4;

// The last level offered: the highest reached, less the one past the end after the last level;
// every level in cheat mode.
jint lastOffered() {
    if (cGame::s_cheatMode) return cGame::kLevelCount - 1;
    jint h = cGame::highestLevelReached();
    if (h >= cGame::kLevelCount) h -= 1;
    return h < cGame::kLevelCount ? h : cGame::kLevelCount - 1;
}

// Level i's row: its name's text id.
IntArray* levelItems(jint last) {
    const jint n = last + 1 > 0 ? last + 1 : 0;
    IntArray* items = Runtime::newIntArray(n);
    if (!items) return nullptr;
    for (jint i = 0; i < n; ++i) items->set(i, cGame::s_levelNames ? cGame::s_levelNames->get(i) : 0);
    return items;
}

// The level of a chosen name, -1 when the id names none of the offered levels.
jint levelOfName(jint textId) {
    for (jint i = 0; i <= cGame::s_levelSelectLast && cGame::s_levelNames; ++i)
        if (cGame::s_levelNames->get(i) == textId) return i;
    return -1;
}

}  // namespace

void cGame::stateLevelSelect(cGame*, jint message) {
    switch (message) {
        case kMsgEnter:
            s_levelSelectLast = lastOffered();
            s_levelSelectItems = levelItems(s_levelSelectLast);
            BX_RETURN_IF_NULL(s_levelSelectItems);
            enterMenuScreen(kMenuNotRemembered, s_levelSelectItems, 3);
            setSoftkeys(kSoftkeyBack, kSoftkeyNone, false);
            s_levelSelectArrow = 0;
            s_levelSelectArrowStep = 1;
            return;
        case kMsgUpdate: {
            s_levelSelectArrow += s_levelSelectArrowStep;
            if (s_levelSelectArrow <= 0 || s_levelSelectArrow >= kArrowTop)
                s_levelSelectArrowStep = -s_levelSelectArrowStep;
            if (screenTakesInput() && isKeyReleased(kKeyRightSoft)) {
                setState(kStateMainMenu);
                return;
            }
            const jint level = levelOfName(updateMenuScreen());
            if (level >= 0) {
                playSfx(kConfirmSfx);
                transitionToLevel(level);
            }
            return;
        }
        case kMsgPaint:
            paintMenuScreen(kListY);
            drawStringOnPlate(0, 0, getString(kTitleText), 400, 90, 3);
            return;
        default:
            return;
    }
}
