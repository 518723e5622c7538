// The in-play screens' statics, their start values and their collector roots.
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "game/cgame.h"
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"
#include "runtime/string.h"

jbyte cGamePlayScreens::s_levelComplete = 0;
jint cGamePlayScreens::s_infoPage = 0;
jint cGamePlayScreens::s_infoPageArg = 0;
jbyte cGamePlayScreens::s_pauseInProgress = 0;
jbyte cGamePlayScreens::s_pauseForgetSelection = 0;
jbyte cGamePlayScreens::s_infoPending = 0;
jbyte cGamePlayScreens::s_resultsShown = 0;
jint cGamePlayScreens::s_infoTutorialPage = 0;
String* cGamePlayScreens::s_infoTitle = nullptr;
String* cGamePlayScreens::s_infoBody = nullptr;
jint cGamePlayScreens::s_infoBoxHeight = 0;
jint cGamePlayScreens::s_lossAnimStep = 0;
javax_microedition_lcdui_Image* cGamePlayScreens::s_sceneCache = nullptr;
javax_microedition_lcdui_Graphics* cGamePlayScreens::s_sceneCacheGraphics = nullptr;
jbyte cGamePlayScreens::s_sceneCacheRedraw = 1;

namespace {

const StaticRefRegistration kStatics(CID_cGame, &cGamePlayScreens::s_infoTitle, &cGamePlayScreens::s_infoBody,
                                     &cGamePlayScreens::s_sceneCache, &cGamePlayScreens::s_sceneCacheGraphics);

const StaticStartValues kStartValues(
    &cGamePlayScreens::s_levelComplete, &cGamePlayScreens::s_infoPage, &cGamePlayScreens::s_infoPageArg,
    &cGamePlayScreens::s_pauseInProgress, &cGamePlayScreens::s_pauseForgetSelection,
    &cGamePlayScreens::s_infoPending, &cGamePlayScreens::s_resultsShown, &cGamePlayScreens::s_infoTutorialPage,
    &cGamePlayScreens::s_infoTitle, &cGamePlayScreens::s_infoBody, &cGamePlayScreens::s_infoBoxHeight,
    &cGamePlayScreens::s_lossAnimStep, &cGamePlayScreens::s_sceneCache, &cGamePlayScreens::s_sceneCacheGraphics,
    &cGamePlayScreens::s_sceneCacheRedraw);

}  // namespace

void cGamePlayScreens::resetStatics() { kStartValues.restore(); }
