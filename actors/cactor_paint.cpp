// Slot 11 in the ordinary levels: the player placed at the actor's position less the camera and
// rendered. Trigger zones draw their texts and the perspective levels their scaled frames with the
// painting code of those levels; until then they draw nothing.
#include "actors/cactor.h"

#include "game/cgame.h"
#include "sprites/bxlib_player.h"

void cActor::paint() {
    if (!player || cGame::s_altPlayerLevel || type == 5 || type == 35) return;
    placePlayerOnScreen();
    player->Render();
}
