#include "drill/ProgressKeeping.h"

ProgressWriteResult WriteDrillProgress(const DrillState& state)
{
    return TryWriteProgress(state.ToiSeikaiTable, state.SaveLoadTable, state.Nanwido, state.Writing.writeSeikai,
                            state.Writing.writeSaveLoad, state.Writing.writeNanwido, &state.Writing.seikaiWatch);
}

std::optional<ProgressWriteResult> KeepProgress(DrillState& state)
{
    if (!state.ToiFileFound || state.Writing.ended)
        return std::nullopt;
    ProgressWriteResult result = WriteDrillProgress(state);
    if (result.ok) {
        state.Writing.failureTold = false;
        return std::nullopt;
    }
    if (state.Writing.failureTold)
        return std::nullopt;
    state.Writing.failureTold = true;
    return result;
}

ProgressWriteResult WriteLastProgress(DrillState& state)
{
    if (state.Writing.ended)
        return {};
    state.Writing.ended = true;
    if (!state.ToiFileFound)
        return {};
    return WriteDrillProgress(state);
}
