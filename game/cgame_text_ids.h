// The texts of the text pack the game draws, by name: the one list the game takes its text ids from
// and the content checker holds the pack to (each must exist and be non-empty). Plain ints, no
// runtime types, so the asset tools read the same list.
#pragma once

// X(name, id, what draws it)
#define BRINDLEX_DRAWN_TEXTS(X)                                                   \
    X(kSkipKey, 5, "the story's skip key")                                        \
    X(kYes, 6, "the yes answer")                                                  \
    X(kNo, 7, "the no answer")                                                    \
    X(kLevelLoadFailed, 24, "the message box after a level failed to load")       \
    X(kSoundQuestion, 25, "the sound question")                                   \
    X(kMusicOn, 27, "the music-on entry")                                         \
    X(kMusicOff, 28, "the music-off entry")                                       \
    X(kEffectsOn, 29, "the effects-on entry")                                     \
    X(kEffectsOff, 30, "the effects-off entry")                                   \
    X(kPromotionLoading, 33, "the promotion's loading text")                      \
    X(kTapPrompt, 35, "the blinking prompt")                                      \
    X(kGoOnPrompt, 36, "the continue prompt")                                     \
    X(kQuitQuestion, 37, "the quit question")                                     \
    X(kGameOver, 38, "the game-over text")                                        \
    X(kDifficultyNormal, 43, "the first difficulty")                              \
    X(kDifficultyHard, 44, "the second difficulty")                               \
    X(kDifficultyTitle, 46, "the difficulty title")                               \
    X(kLeaveLevel, 55, "the pause menu's leave entry")                            \
    X(kNewGame, 57, "the new-game entry")                                         \
    X(kPromotion, 58, "the promotion entry")                                      \
    X(kSound, 62, "the sound entry")                                              \
    X(kHelp, 63, "the help entry and title")                                      \
    X(kCredits, 65, "the credits entry")                                          \
    X(kQuit, 67, "the quit entry")                                                \
    X(kResetProgress, 68, "the reset entry")                                      \
    X(kProgressQuestion, 69, "the progress-lost question")                        \
    X(kProgressErased, 70, "the progress-erased message")                         \
    X(kCheatMessage, 71, "the message box of the cheat sequence")                 \
    X(kLevelSelect, 74, "the level-select entry")                                 \
    X(kLevelSelectTitle, 75, "the level-select title")                            \
    X(kResume, 76, "the resume entry")                                            \
    X(kRestart, 77, "the restart entry")                                          \
    X(kRestartQuestion, 78, "the restart question")                               \
    X(kLeaveQuestion, 79, "the leave question")                                   \
    X(kRetryQuestion, 80, "the retry question")                                   \
    X(kCreditsText, 81, "the credits")                                            \
    X(kLevel0Name, 83, "level 0's name")                                          \
    X(kLevel1Name, 84, "level 1's name")                                          \
    X(kLevel2Name, 85, "level 2's name")                                          \
    X(kLevel3Name, 86, "level 3's name")                                          \
    X(kLevel4Name, 87, "level 4's name")                                          \
    X(kLevel5Name, 88, "level 5's name")                                          \
    X(kLevel6Name, 89, "level 6's name")                                          \
    X(kLevel7Name, 90, "level 7's name")                                          \
    X(kLevel8Name, 94, "level 8's name")                                          \
    X(kLevel9Name, 95, "level 9's name")                                          \
    X(kTimeLabel, 96, "the time label")                                           \
    X(kTimeBonusLabel, 97, "the time-bonus label")                                \
    X(kFoesLabel, 98, "the third result label")                                   \
    X(kTreasureLabel, 99, "the fourth result label")                              \
    X(kTotalLabel, 100, "the total label")                                        \
    X(kResultsTitle, 101, "the results title")                                    \
    X(kHelpPage0, 119, "help page 0")                                             \
    X(kHelpPage1Second, 123, "help page 1's second text")                         \
    X(kHelpPage1First, 124, "help page 1's first text")                           \
    X(kRaceWon, 134, "the race-won text")                                         \
    X(kRaceLost, 135, "the race-lost text")                                       \
    X(kHelpPage2First, 136, "help page 2")                                        \
    X(kHelpPage2Second, 137, "help page 2")                                       \
    X(kHelpPage3First, 138, "help page 3")                                        \
    X(kHelpPage3Second, 139, "help page 3")                                       \
    X(kHelpPage3Third, 140, "help page 3")                                        \
    X(kHelpPage4First, 141, "help page 4")                                        \
    X(kHelpPage4Second, 142, "help page 4")                                       \
    X(kHelpPage5First, 147, "help page 5")                                        \
    X(kHelpPage5Second, 148, "help page 5")                                       \
    X(kHelpPage6First, 149, "help page 6")                                        \
    X(kPromotionQuestion, 150, "the promotion question")                          \
    X(kStory, 152, "the story")                                                   \
    X(kHelpPage7, 155, "help page 7")                                             \
    X(kHelpPage8, 156, "help page 8")                                             \
    X(kHelpPage6Second, 157, "help page 6")

namespace text_id {

enum : int {
#define BRINDLEX_TEXT_NAME(name, id, role) name = id,
    BRINDLEX_DRAWN_TEXTS(BRINDLEX_TEXT_NAME)
#undef BRINDLEX_TEXT_NAME
};

struct Use {
    int id;
    const char* role;
};

inline constexpr Use kDrawn[] = {
#define BRINDLEX_TEXT_USE(name, id, role) {id, role},
    BRINDLEX_DRAWN_TEXTS(BRINDLEX_TEXT_USE)
#undef BRINDLEX_TEXT_USE
};

}  // namespace text_id
