#pragma once
// The mock exam (模擬試験) from the drill's side: a new paper, the rows of a
// paper found again in the bank, answering and marking while sitting (no
// verdict), the clock, and the hand-in: its result, its journal rows and
// its record row. The window only shows what these return.
#include "data/KirokuRow.h"
#include "data/MogiHaibun.h"
#include "data/MogiPaperFile.h"
#include "data/MogiSeiseki.h"
#include "drill/Judge.h"
#include "text/Unit2.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <vector>

// A new paper drawn from the bank with the mix; the last three handed-in
// papers' questions only where a group has no others.
MogiPaperState NewMogiPaper(const TextTable& toiTable, const MogiHaibun& haibun,
                            const std::vector<MogiSeisekiRow>& handedIn, std::uint64_t seed, std::time_t now);

// The bank rows of a paper's keys, in order; empty when a key is no longer
// an exam-format question of the bank (the paper cannot go on).
std::vector<std::int32_t> MogiPaperRows(const TextTable& toiTable, const MogiPaperState& paper);

// Ticking box `choice` (1..4) answers it; ticking it again takes it back.
void TickMogiChoice(MogiPaperState& paper, std::int32_t choice);
// The question numbers (from 1) with no answer.
std::vector<std::int32_t> UnansweredMogi(const MogiPaperState& paper);
// One second of the clock: the paper's time and the shown question's. True
// when the time has run out (the paper is handed in as it stands).
bool TickMogiClock(MogiPaperState& paper);

struct MogiGroupResult {
    std::int32_t count = 0;
    std::int32_t seikai = 0;
};
struct MogiResult {
    std::vector<bool> seikai; // by question
    std::int32_t seikaiCount = 0;
    std::int32_t score = 0; // 4 a right answer
    bool passed = false;    // 60 or more
    std::int32_t secondsUsed = 0;
    std::array<MogiGroupResult, kMogiKubunCount> groups {};
};
constexpr std::int32_t kMogiPassScore = 60;
MogiResult MogiResultOf(const TextTable& toiTable, const std::vector<std::int32_t>& rows, const MogiPaperState& paper);

// The journal rows of a handed-in paper, one per question, mode 模擬試験 (an
// unanswered question is a wrong answer with an empty answer); seq is given
// when each is appended.
std::vector<KirokuEntry> MogiKirokuEntries(const MogiPaperState& paper, const MogiResult& result,
                                           NanwidoValue nanwido, std::time_t now);
// How many of the paper's rows the journal already holds: mock rows after
// the number the hand-in began at (appended in order, so the first ones).
std::size_t MogiRowsRecorded(const std::vector<KirokuEntry>& entries, std::int64_t handInBase);
// The record row of a handed-in paper.
MogiSeisekiRow MogiSeisekiOf(const MogiPaperState& paper, const MogiResult& result, std::time_t now);
// The handed-in papers hold this paper already (a hand-in cut short after
// its record was written): the last row has its seed and its keys.
bool MogiSeisekiHolds(const std::vector<MogiSeisekiRow>& rows, const MogiPaperState& paper);

// A question of a handed-in paper judged as the drill judges it: the boxes'
// marks, the key and the explanation (text or picture).
Judgement MogiJudgementOf(const TextTable& toiTable, std::int32_t row, std::int32_t answer);
