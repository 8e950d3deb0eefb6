#pragma once
// [決定], or the countdown's end: the current question judged and recorded
// in one step, in the order of durability: counted in memory (the stage's
// counters and the question's count, written at the next stage end), then
// appended to the answer journal, durably, before the verdict is shown.
#include "drill/DrillState.h"
#include "drill/Judge.h"
#include "text/SystemReason.h"

#include <ctime>
#include <optional>

struct AnsweredToi {
    Judgement judged;
    // The answer could not be added to the journal: why. Given once, until
    // the program ends; the drill goes on and the counts are kept as before.
    std::optional<FileError> recordFailure;
};

// Judges ToiList[ToiIndex] against the given answer (JudgeToi), then adds
// its row, answered at `now`, to state.Kiroku when the journal is open and
// writable.
AnsweredToi AnswerToi(DrillState& state, const GivenAnswer& given, std::time_t now);

// An answer judged elsewhere (a handed-in mock exam's): counted as a judged
// drill answer is, then its row added to the journal, in that order. The
// failure to tell, once, as AnswerToi gives it.
std::optional<FileError> RecordJudgedAnswer(DrillState& state, const KirokuEntry& entry);
// Adds a row to state.Kiroku when the journal is open and writable.
std::optional<FileError> RecordKiroku(DrillState& state, KirokuEntry entry);
