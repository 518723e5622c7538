// levelview LEVEL.level DATA.bar OUT.png: a level drawn whole (tools/level_view/level_view.h).
#include "tools/level_view/level_view.h"

int main(int argc, char** argv) { return tools::runLevelView(argc, argv); }
