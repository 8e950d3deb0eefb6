#include "drill/ProgressKeeping.h"

ProgressWriteResult WriteDrillProgress(DrillState& state)
{
    // The journal's mark is written with the counts file.
    return TryWriteProgress(state.ToiSeikaiTable, state.SaveLoadTable, state.Nanwido, state.Writing.writeSeikai,
                            state.Writing.writeSaveLoad, state.Writing.writeNanwido, state.Kiroku.get());
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
