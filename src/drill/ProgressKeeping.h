#pragma once
// Writing the learner's progress while the program runs: at every stage end
// and at the final results, and once more at the end (a confirmed close, a
// termination signal, the end of the desktop session). Everything a write
// needs is in the drill state: its tables, ToiFileFound and Writing.
#include "data/ProgressDb.h"
#include "drill/DrillState.h"

#include <optional>

// The three databases from the drill's own tables (not copies: at a large
// bank a copy would cost as much as the write), leaving out those the
// start-up may not write; the journal (state.Kiroku) is told of the counts
// file's write, so its mark goes with it.
ProgressWriteResult WriteDrillProgress(DrillState& state);

// The write at a stage end and at the final results; nothing without the
// bank or after the last write. A failure does not end the drill: it is
// returned when the learner is to be told, that is once until a write
// succeeds again (a disk that stays full must not stop every stage end).
std::optional<ProgressWriteResult> KeepProgress(DrillState& state);

// The last write. Made once: afterwards Writing.ended holds and nothing is
// written any more. Without the bank nothing is written and the result is ok.
ProgressWriteResult WriteLastProgress(DrillState& state);
