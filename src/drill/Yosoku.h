#pragma once
// The predicted score (予想得点): the points of 100 the learner would score
// today on a paper drawn with the mock exam's mix, and a range.
//
// Each question of the exam's format gets a chance of a right answer today:
//   - an answered one from the memory model's recall today (drill/Fukushu.h),
//     turned into a chance of a right answer by the journal itself: the
//     model's recall at each earlier answer against whether that answer was
//     right (RecallBin), so the learner's own guessing and forgetting set it;
//   - one never answered takes its area's rate of right first answers,
//     drawn towards the learner's rate over all areas, and that towards the
//     stated prior kYosokuPrior when the journal holds too few.
// The score is 4 points times the expected right answers of each group's
// share of the paper (the questions a group lacks from データベース, as the
// draw takes them).
//
// The range holds the expected score of a freshly drawn paper about 9 times
// in 10 (bench_yosoku measures it): the spread of which questions a paper
// draws, and the uncertainty of the estimate (the areas' rates and the
// recall-to-right mapping, by how many answers support them, and the model's
// own error, larger for a memory the journal has not checked for a while).
#include "data/MogiHaibun.h"
#include "drill/Fukushu.h"
#include "drill/MogiDraw.h"

#include <array>
#include <cstdint>

// The chance of a right answer assumed with no answer in the journal.
constexpr double kYosokuPrior = 0.5;

struct YosokuFigure {
    double score = 0; // expected points of 100
    double low = 0;   // the range
    double high = 0;
    std::int32_t questions = 0; // questions of the exam's format it covers
    std::int32_t answered = 0;  // of them, answered at least once
    // The expected share of right answers in each group's part of the paper.
    std::array<double, kMogiKubunCount> kubunRate {};
};

// `memory` and `pool` of the same bank (its rows index memory.toi).
YosokuFigure PredictMogiScore(const MogiPool& pool, const FukushuMemory& memory, const MogiHaibun& haibun,
                              std::int32_t today);
