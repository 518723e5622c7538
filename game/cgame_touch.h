// cGame's touch input and the heads-up display: the finger's record, the soft-key and arrow squares, the
// play screen's button layouts, the hero as the actors show it, and the HUD's clock.
// cGame derives from cGameTouch, so `cGame::s_x` names them; the code that uses them is cGame's.
#pragma once

#include "runtime/jtypes.h"

class ObjectArray;

struct cGameTouch {
    // Every static below back to its start value.
    static void resetStatics();
    static constexpr jint kTouchNone = -1000;        // the position while no finger is recorded
    static constexpr jint kTouchLayoutCount = 6;
    static constexpr jint kSoftkeyTapDelay = 4;      // frames from a soft-key square's lift to its key
    static constexpr jint kLeftSoftkeyX = 400, kRightSoftkeyX = 0, kSoftkeyY = 720;   // screen squares
    // The hero as touch input and the HUD see it. The actors register it; until they do, the play
    // screen's buttons follow the layout rules without a hero and the HUD draws nothing.
    struct HudValues {
        jint lives;
        jint energy;            // the hero's hit points
        jint meter;             // the hero's gun energy
        jint specialShots;
        bool inVehicle;         // aboard the submarine
        jint airMs;             // the submarine's air left
        jint altHealth;         // the alternate player's hit points
        jint altValues[2];      // its two pick-up counters
        jlong raceHeightRival;
        jlong raceHeightPlayer;
        jlong raceTop;          // the height at the gauge's left end (the actors' 36000-pixel distance)
    };
    // The alternate player as the pulsing picture sees it.
    struct PulseValues {
        jint altPlayerState;
        jint threshold;         // its threshold field
        jint limit;             // the level's limit value
    };
    struct ActorView {
        bool (*hudValues)(HudValues* out);   // false: no hero to show
        jint (*heroState)();
        jint (*heroSpeedY)();
        void (*stopHero)();                  // both speed components to 0
        bool (*heroBasicMode)();             // the hero's restricted move set
        void (*steerSubmarine)(jint angle);  // the submarine the hero rides
        bool (*pulseValues)(PulseValues* out);   // false: no alternate player
    };
    static const ActorView* s_actorView;
    static jint s_touchX, s_touchY;
    static bool s_touchDown;            // a finger landed; set until its lift is processed
    static bool s_touchUp;              // a lift waits to be processed
    static jint s_touchButton;          // the held button of the current layout, -1 none
    static jint s_softkeyTouched;       // 0 none, 1 left square, 2 right square
    static jint s_softkeyTapTimer;
    static jint s_arrowTouched;         // 0 none, 1 up or left, 2 down or right
    static jint s_touchLayout;
    static jint s_touchLayoutTested;
    static bool s_touchButtonsShown;
    static jint s_softkeyTouchWidth, s_softkeyTouchHeight;
    static ObjectArray* s_touchLayoutImages;   // per layout int[] of {frame, x, y}
    static ObjectArray* s_touchLayoutButtons;  // per layout int[] of {frame, x, y, device key}
    static ObjectArray* s_touchLayoutRects;    // per layout int[n][4] screen boxes; null until built
    static jint s_hudClock;
};
