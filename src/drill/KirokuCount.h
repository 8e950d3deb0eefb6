#pragma once
// The answer journal seen from the drill: the row of a judged answer, and
// counting at start-up the answers the counts file does not hold yet.
#include "data/KirokuRow.h"
#include "drill/DrillState.h"
#include "drill/Judge.h"

#include <ctime>
#include <vector>

// The journal row of the answer just judged (ToiList[ToiIndex]) at time
// `now`: its number is given when it is appended.
KirokuEntry KirokuOfJudgement(const DrillState& state, const Judgement& judged, std::time_t now);
// Counts the right answers of entries[from ..] into the counts table, as
// judging them counted them; returns how many rows were counted.
std::size_t CountKirokuAnswers(TextTable& toiSeikaiTable, const std::vector<KirokuEntry>& entries,
                               std::size_t from);
