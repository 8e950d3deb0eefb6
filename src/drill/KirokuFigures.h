#pragma once
// The figures of the study record (学習記録), worked out from the journal and
// the bank: the answers of each of the last 30 days, right and wrong; the
// days in a row studied; per area the questions seen, the rate of right
// answers over the last 7 days and over all time, and the share mastered
// (answered right at least twice); the questions most often answered wrong;
// the questions due for review today and on each of the 7 days after
// (drill/Fukushu.h), and the predicted score of a mock exam (drill/Yosoku.h).
#include "data/KirokuRow.h"
#include "data/MogiHaibun.h"
#include "drill/Fukushu.h"
#include "drill/Yosoku.h"
#include "text/Unit2.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

constexpr int kKirokuDays = 30;
constexpr int kKirokuRecentDays = 7;
constexpr std::size_t kKirokuMisses = 20;

struct KirokuDayFigure {
    std::int32_t day = 0; // days since 1970-01-01
    std::int32_t seikai = 0;
    std::int32_t fuseikai = 0;
};

struct KirokuBunyaFigure {
    std::string name; // Shift_JIS; empty for questions without an area
    std::int32_t questions = 0;
    std::int32_t seen = 0;
    std::int32_t mastered = 0;
    std::int32_t recentAnswers = 0;
    std::int32_t recentSeikai = 0;
    std::int32_t answers = 0;
    std::int32_t seikai = 0;
};

struct KirokuMissFigure {
    std::string key;       // Shift_JIS
    std::string textStart; // the question text's start, one line
    std::int32_t misses = 0;
    std::int32_t answers = 0;
};

struct KirokuFigures {
    std::int64_t answers = 0; // every answer in the journal
    std::array<KirokuDayFigure, kKirokuDays> days {}; // oldest first, today last
    std::int32_t streak = 0;
    std::vector<KirokuBunyaFigure> bunya; // the bank's areas in order, then those without one
    std::vector<KirokuMissFigure> misses; // most misses first, at most kKirokuMisses
    // Questions due for review today (overdue ones included), then on each
    // of the 7 days after.
    std::array<std::int32_t, kFukushuDays> due {};
    // The predicted score; none when the bank has no question of the
    // exam's format.
    std::optional<YosokuFigure> yosoku;
};

// Bytes of a question text's start in the list of misses.
constexpr std::size_t kKirokuTextStartBytes = 48;

// The figures for `today` (days since 1970-01-01, local), the prediction
// for a paper of the mix `haibun`. One pass over the journal.
KirokuFigures ComputeKirokuFigures(const TextTable& toiTable, const std::vector<KirokuEntry>& entries,
                                   std::int32_t today, const MogiHaibun& haibun = {});
