#include "saveload/NextStep.h"

#include "drill/ProgressKeeping.h"
#include "saveload/SaveSlots.h"

NextStep StepAfterNext(DrillState& state)
{
    NextStep step;
    step.action = AdvanceAfterNext(state).action;
    if (step.action == NextAction::PresentNext)
        return step;
    if (step.action == NextAction::StageEnd) {
        step.stageEnd = ViewOfStageEnd(state);
        if (step.stageEnd.saveOffered)
            StoreSessionInSlot(state, 0);
    }
    // After the automatic save, so a crash from here on resumes at this stage end.
    step.writeFailure = KeepProgress(state);
    return step;
}
