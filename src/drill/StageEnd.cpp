#include "drill/StageEnd.h"

#include "data/ProgressDb.h"
#include "data/ToiBank.h"
#include "drill/ToiSelection.h"

#include <limits>
#include <string>

std::uint32_t StagePercent(std::uint32_t seikai, std::uint32_t toi)
{
    if (toi == 0)
        return 0;
    // 64 bits: the product cannot wrap, whatever a hand-edited slot held.
    const std::uint64_t percent = static_cast<std::uint64_t>(seikai) * 100u / toi;
    const std::uint64_t most = std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(percent < most ? percent : most);
}

void RecordStageResult(DrillState& state)
{
    state.StageTable[state.StageNo] = {std::to_string(state.StageSeikaiCount),
                                       std::to_string(state.StageToiCount)};
}

NextOutcome AdvanceAfterNext(DrillState& state)
{
    constexpr auto stageSize = static_cast<std::uint32_t>(kStageSize);
    NextOutcome outcome;
    ++state.ToiIndex;
    const bool stageBreak = state.ToiIndex % stageSize == 0 && !state.IsExamMode();
    const bool listLeft = state.ToiIndex < state.ToiList.size();
    if (!stageBreak && listLeft)
        return outcome; // the next question of the same stage

    if (state.IsExamMode()) {
        // An exam run is one stage, recorded under its own stage number.
        RecordStageResult(state);
        outcome.action = NextAction::FinalResults;
        return outcome;
    }

    const std::uint32_t percent = StagePercent(state.StageSeikaiCount, state.StageToiCount);
    if (state.PlayMode == kModeJakuten || static_cast<std::int64_t>(percent) > state.PassLine()) {
        state.StageKekka = kKekkaClear;
    } else {
        // A count that is already used up (it cannot be, but a state set
        // from outside could hold one) stays at 0 rather than wrap below.
        state.Nokori = state.Nokori > 0 ? state.Nokori - 1 : 0;
        if (state.Nokori > 0) {
            state.StageKekka = kKekkaRetry;
            // Back to the first question of the stage just played.
            state.ToiIndex = stageSize * ((state.ToiIndex - 1) / stageSize);
        } else {
            state.StageKekka = kKekkaGameOver;
        }
    }

    RecordStageResult(state);
    if (state.ToiIndex < state.ToiList.size() || state.StageKekka != kKekkaClear ||
        state.PlayMode == kModeJakuten) {
        outcome.action = NextAction::StageEnd;
        return outcome;
    }
    outcome.action = NextAction::FinalResults; // the last stage was cleared
    return outcome;
}

StageEndView ViewOfStageEnd(const DrillState& state)
{
    StageEndView view;
    view.stageNo = state.StageNo;
    view.mode = state.PlayMode;
    view.kekka = state.StageKekka;
    view.kekkaShown = state.PlayMode != kModeJakuten;
    view.nokori = state.Nokori;
    view.nanwido = state.Nanwido;
    // A game over is never stored: slot 1 keeps the last stage it saw.
    view.saveOffered = state.IsSlotMode() && (state.StageKekka == kKekkaClear || state.StageKekka == kKekkaRetry);
    view.nextStageShown = state.StageKekka != kKekkaGameOver;
    view.sameStageAgain = state.StageKekka != kKekkaClear;
    view.toiCount = state.StageToiCount;
    view.seikaiCount = state.StageSeikaiCount;
    return view;
}

void PrepareNextStage(DrillState& state)
{
    if (state.PlayMode == kModeJakuten) {
        // Each weak-point stage sorts the bank again by the counts so far.
        state.ToiIndex = 0;
        state.StageNo = 1;
        BuildToiList(state);
    } else if (state.StageKekka == kKekkaClear) {
        ++state.StageNo;
    }
    state.StageToiCount = 0;
    state.StageSeikaiCount = 0;
}

void RemoveStageRows(TextTable& stageTable)
{
    std::erase_if(stageTable, [](const auto& entry) { return entry.first != 0; });
}

void RaiseDifficulty(DrillState& state)
{
    state.Nanwido = state.Nanwido.Harder();
}

namespace {
SeisekiRow SeisekiFor(const TextTable& stageTable, std::int32_t stage)
{
    SeisekiRow row;
    row.stage = stage;
    const std::int32_t seikai = TextToInt(TableCell(stageTable, stage, 0));
    const std::int32_t toi = TextToInt(TableCell(stageTable, stage, 1));
    // No answered question, or a count that cannot be one: no percentage.
    if (toi > 0)
        row.percent = StagePercent(seikai > 0 ? static_cast<std::uint32_t>(seikai) : 0u,
                                   static_cast<std::uint32_t>(toi));
    return row;
}
} // namespace

std::vector<SeisekiRow> FinalResultRows(const DrillState& state)
{
    std::vector<SeisekiRow> rows;
    if (state.IsExamMode()) {
        rows.push_back(SeisekiFor(state.StageTable, 1));
        return rows;
    }
    for (const auto& [stage, cells] : state.StageTable) {
        if (stage >= 1)
            rows.push_back(SeisekiFor(state.StageTable, stage));
    }
    return rows;
}
