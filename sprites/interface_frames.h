// The frame and animation numbers the game draws the interface sprites by, named once. The menu
// sprite (item 2 of the interface pack) holds the menu rows, the list's scroll arrows, the soft-key
// plates and the picture pages' arrows; its players run the transition shutters and the arrows.
// The title picture is the interface player's sprite, the loading picture the loading screen's.
#pragma once

#include "runtime/jtypes.h"

struct MenuSprite {
    // Frames.
    static constexpr jint kArrowUpFrame = 6, kArrowDownFrame = 7;         // the list's scroll arrows
    static constexpr jint kRowFrame = 8, kDisabledRowFrame = 9, kSelectedRowFrame = 10;
    // The soft-key plates; the frame after each is the same plate lit while its square is touched.
    static constexpr jint kSoftkeyIconFrame = 11;    // the corner icon
    static constexpr jint kSoftkeyLabelFrame = 13;   // a plate under a label
    static constexpr jint kSoftkeyArrowFrame = 15;   // the back plate
    static constexpr jint kIntroArrowFrame = 17;     // the story's skip plate
    static constexpr jint kPageLeftFrame = 19, kPageRightFrame = 20;      // the picture pages' arrows
    // Animations: the transition shutters, the scroll arrows (the up player and the down player),
    // and the picture pages' arrows on the same two players.
    static constexpr jint kOpeningAnim = 0, kClosingAnim = 1;
    static constexpr jint kArrowUpIdleAnim = 2, kArrowUpFlashAnim = 3, kArrowDownIdleAnim = 4, kArrowDownFlashAnim = 5;
    static constexpr jint kPageLeftIdleAnim = 6, kPageLeftPressAnim = 7, kPageRightIdleAnim = 8,
                          kPageRightPressAnim = 9;
};

struct TitlePicture {
    // Animations: the splash screen's title and the menus' backdrop.
    static constexpr jint kSplashAnim = 1, kMenuAnim = 2;
};

struct LoadingPicture {
    static constexpr jint kFigureAnim = 0;   // the running figure over the progress bar
};
