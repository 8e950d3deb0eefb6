#pragma once
// What follows [次へ]: the next question, a stage end or the final results,
// and what the stage-end screen shows. The automatic save and the write of
// the databases that come with it are saveload/NextStep.
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
};

// What the stage-end screen shows, decided once per showing.
struct StageEndView {
    std::int32_t stageNo = 0;
    PlayModeValue mode = kModeNormal;
    StageKekkaValue kekka = kKekkaClear;
    // The result, the chances left and the difficulty; hidden in weak-point
    // mode, which has none of them.
    bool kekkaShown = false;
    std::int32_t nokori = 0;
    NanwidoValue nanwido = kNanwidoA;
    // A normal or random run that goes on may be stored: by hand through
    // [セーブ], and into slot 1 ("AUTO") at once. A game over never is.
    bool saveOffered = false;
    // The next-stage button, and whether it plays the same stage again.
    bool nextStageShown = false;
    bool sameStageAgain = false;
    std::uint32_t toiCount = 0;
    std::uint32_t seikaiCount = 0;
};
StageEndView ViewOfStageEnd(const DrillState& state);

// Percentage of a stage, truncated; 0 when nothing was answered.
std::uint32_t StagePercent(std::uint32_t seikai, std::uint32_t toi);
// StageTable row StageNo := [StageSeikaiCount, StageToiCount].
void RecordStageResult(DrillState& state);
// [次へ] after a judged question (JudgeToi has counted it): advances
// ToiIndex, decides the stage result (StageKekka, Nokori, ToiIndex moved back
// after a failed stage) and records the stage when it ended.
NextOutcome AdvanceAfterNext(DrillState& state);
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
