#pragma once
// Starting a run from one of the five start buttons.
#include "drill/DrillState.h"

// Sets the drill for a new run of the mode at its first question of stage 1
// and builds its question list (BuildToiList). The chances start again at
// kRunChances except in weak-point mode, which does not count them. False
// when the list is empty: there is nothing to drill.
bool StartRun(DrillState& state, PlayModeValue playMode);
