// The level end: the results worked out from the level statistics and shown over the scene; a
// confirm key goes on to the next level (or, after the last one, to the credits) and records the
// progress.
#include "actors/chero.h"
#include "game/cgame.h"
#include "game/cgame_text_ids.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/string.h"

namespace {

constexpr jint kLastLevel = 9;
constexpr jint kTitleFont = 0, kRowFont = 1, kPromptFont = 0;
constexpr jint kCentred = 3, kLeftMiddle = 2, kRightMiddle = 8 | 2;
constexpr jint kBoxFill = 0x000000, kBoxLine = 0xFFFFFF;
constexpr jint kMusicChannel = 0;

void nextLevel() {
    const jint next = cGame::s_level + 1;
    cGame::transitionToLevel(next);
    cGame::s_levelLoaded = 1;   // the finished level is released by the next load
    cHero::s_gunEnergy = cGame::s_difficulty == 1 ? 1500 : 1000;
    cHero::s_specialShots = 0;
    cHero::s_savedEnergy = 100;
    if (next > cGame::highestLevelReached()) cGame::saveRecordByte(cGame::kSaveHighestLevelByte, next);
}

void paintResults() {
    IntArray* stats = cGame::s_levelStats;
    cGame::paintGameScene();
    BX_RETURN_IF_PENDING();
    cGame::drawFramedBox(kBoxFill, kBoxLine, 33, 116, 734, 247);
    BX_RETURN_IF_PENDING();
    cGame::drawStringWithPalette(kTitleFont, 0, cGame::getString(text_id::kResultsTitle), 400, 146, kCentred);
    BX_RETURN_IF_PENDING();
    for (jint i = 0; i < 5; ++i) {
        const jint y = 176 + 30 * i;
        cGame::drawStringWithPalette(kRowFont, 0, cGame::getString(text_id::kTimeLabel + i), 83, y, kLeftMiddle);
        BX_RETURN_IF_PENDING();
        const jint value = stats && stats->length > i ? stats->get(i) : 0;
        String* text = i == 0 ? cGame::formatTime(value) : cGame::formatNumber(value, cGame::s_language);
        BX_RETURN_IF_PENDING();
        cGame::drawStringWithPalette(kRowFont, 0, text, 717, y, kRightMiddle);
        BX_RETURN_IF_PENDING();
    }
    if (cGame::s_stateFrames % 10 >= 5) return;
    String* prompt = cGame::getString(text_id::kGoOnPrompt);
    BX_RETURN_IF_PENDING();
    if (prompt) prompt = prompt->toUpperCase();
    BX_RETURN_IF_PENDING();
    cGame::drawStringWithPalette(kPromptFont, 0, prompt, 400, 330, kCentred);
}

}  // namespace

void cGame::computeLevelResults() {
    IntArray* s = s_levelStats;
    if (!s || s->length < 6) return;
    s->set(0, s->get(0) / 1000);
    const jint bonus = jt::mul(jt::add(jt::sub(s->get(5), s->get(0)), 1000), 10);
    s->set(1, bonus < 0 ? 0 : bonus);
    const jint total = jt::add(jt::add(s->get(1), s->get(2)), jt::add(s->get(3), s->get(4)));
    s->set(4, jt::mul(total, s_difficulty));
    for (jint i = 1; i <= 3; ++i) s->set(i, jt::mul(s->get(i), s_difficulty));
}

void cGame::stateLevelEnd(cGame*, jint message) {
    switch (message) {
        case kMsgEnter:
            computeLevelResults();
            setSoftkeys(kSoftkeyNone, kSoftkeyNone, false);
            s_resultsShown = 0;
            return;
        case kMsgUpdate: {
            const jint k = getReleasedKey();
            if (!s_resultsShown && (k == kKeyFire || k == kKey5)) {
                if (s_level >= kLastLevel) {
                    s_gameFinished = 1;
                    s_musicOnMenuEntry = 1;
                    requestLoading(kLoadKindUnload, kStateScrollingText);
                } else {
                    nextLevel();
                    BX_RETURN_IF_PENDING();
                }
                s_resultsShown = 1;
            }
            updateTransition(true);
            return;
        }
        case kMsgPaint:
            if (!s_resultsShown) paintResults();
            return;
        case kMsgExit:
            stopChannel(kMusicChannel);
            return;
        default:
            return;
    }
}
