#include "drill/RunStart.h"

#include "drill/ToiSelection.h"

bool StartRun(DrillState& state, PlayModeValue playMode)
{
    state.ToiIndex = 0;
    state.StageNo = 1;
    state.StageToiCount = 0;
    state.StageSeikaiCount = 0;
    state.PlayMode = playMode;
    if (playMode != kModeJakuten)
        state.Nokori = kRunChances;
    BuildToiList(state);
    return !state.ToiList.empty();
}
