#pragma once
// Today's review (今日の復習): each question's memory, worked out from the
// answer journal alone with the FSRS model (drill/Fsrs.h), and the day its
// next review is due: the day of its last answer plus the model's interval.
// Days are whole local days (days since 1970-01-01).
#include "data/KirokuRow.h"
#include "drill/Fsrs.h"
#include "data/ToiKeys.h"
#include "text/Unit2.h"

#include <array>
#include <cstdint>
#include <vector>

// What the journal says of one question.
struct FukushuToi {
    Fsrs::Memory memory;       // after its last answer; only when answers > 0
    std::int32_t lastDay = 0;  // the day of its last answer
    std::int32_t answers = 0;
    bool firstSeikai = false;  // its first answer was right
};

// The model checked against the journal: every answer after a question's
// first, sorted by the recall the model gave it at that moment (kRecallBins
// equal bins of 0..1), with the recall summed and the right answers counted.
constexpr int kRecallBins = 10;
struct RecallBin {
    double recall = 0;
    std::int32_t answers = 0;
    std::int32_t seikai = 0;
};

struct FukushuMemory {
    // By bank row (entry 0 unused). A key the bank holds twice is one
    // question, its first row; the later rows stay unanswered.
    std::vector<FukushuToi> toi;
    std::array<RecallBin, kRecallBins> recall {};
};

// The review before the next ones shown: today and the 7 days after it.
constexpr int kFukushuDays = 8;

// One pass over the bank and one over the journal (by ascending number, as
// KirokuJournal::Entries gives it). Answers to keys the bank does not hold
// are left out.
FukushuMemory ComputeFukushuMemory(const TextTable& toiTable, const std::vector<KirokuEntry>& entries);
// The same with the bank's keys already indexed (the record screen indexes
// them once for this and the mock exam's questions).
FukushuMemory ComputeFukushuMemory(const ToiKeyIndex& keys, const std::vector<KirokuEntry>& entries);
// One more answer, as judged after the pass: the memory stays current
// without a new pass over the journal.
void AddFukushuAnswer(FukushuMemory& memory, const ToiKeyIndex& keys, const KirokuEntry& entry);
// The same for an answer whose bank row is already looked up (0: none).
void AddFukushuAnswerAt(FukushuMemory& memory, std::int32_t row, const KirokuEntry& entry);
// The day a question's next review is due.
std::int32_t FukushuDueDay(const FukushuToi& toi);
// The rows due today or earlier: the most overdue first, then in bank order.
std::vector<std::int32_t> FukushuRows(const FukushuMemory& memory, std::int32_t today);
// Questions due today (overdue ones included) and on each of the 7 days after.
std::array<std::int32_t, kFukushuDays> FukushuDueCounts(const FukushuMemory& memory, std::int32_t today);
