#pragma once
// What [次へ] does after a judged question, in one step: the next question,
// or the end of a stage or of the run with everything that comes with it.
#include "data/ProgressDb.h"
#include "drill/StageEnd.h"

#include <optional>

struct NextStep {
    NextAction action = NextAction::PresentNext;
    // What the stage-end screen shows (action StageEnd).
    StageEndView stageEnd;
    // A write of the three databases that failed and that the learner is to
    // be told of; the drill goes on.
    std::optional<ProgressWriteResult> writeFailure;
};

// Advances the drill (AdvanceAfterNext). At a stage end the run is stored
// into slot 1 ("AUTO") when the stage end offers saving; at a stage end and
// at the final results the three databases are then written (KeepProgress).
NextStep StepAfterNext(DrillState& state);
