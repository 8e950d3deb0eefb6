#pragma once
// What follows [次へ]: the next question, a stage end or the final results.
#include "drill/DrillState.h"

#include <optional>
#include <vector>

enum class NextAction {
    PresentNext,  // show ToiList[ToiIndex]
    StageEnd,     // show the stage-end screen
    FinalResults, // show the final results
};

struct NextOutcome {
    NextAction action = NextAction::PresentNext;
    // Store the run into slot 1 ("AUTO") after the stage-end screen.
    bool autoSave = false;
};

// Percentage of a stage, truncated; 0 when nothing was answered.
std::uint32_t StagePercent(std::uint32_t seikai, std::uint32_t toi);
// StageTable row StageNo := [StageSeikaiCount, StageToiCount].
void RecordStageResult(DrillState& state);
// [次へ] after a judged question (JudgeToi has counted it): advances
// ToiIndex, decides the stage result (StageKekka, Nokori, ToiIndex moved back
// after a failed stage) and records the stage when it ended.
NextOutcome AdvanceAfterNext(DrillState& state);
// After this stage end the run may be stored, by hand or into slot 1: a
// normal or random run that goes on (a game over is never stored).
bool CanStoreStage(const DrillState& state);
// The next-stage button before the question is presented: weak-point mode
// builds a fresh list from stage 1; otherwise StageNo + 1 after a cleared
// stage. Resets the stage counters.
void PrepareNextStage(DrillState& state);
// Removes every stage row; the header row stays.
void RemoveStageRows(TextTable& stageTable);
// One difficulty step harder (Ａ stays Ａ).
void RaiseDifficulty(DrillState& state);

struct SeisekiRow {
    std::int32_t stage = 0;
    // Empty when the stage row has no answered question.
    std::optional<std::uint32_t> percent;
};
// Rows of the final results list: stage 1 only in the exam modes, else every
// stage row in ascending order.
std::vector<SeisekiRow> FinalResultRows(const DrillState& state);
