#pragma once
// The predicted score (予想得点): the points of 100 the learner would score
// today on a paper drawn with the mock exam's mix, and a range.
//
// Each question of the exam's format gets a chance of a right answer today:
//   - an answered one from the memory model's recall today (drill/Fukushu.h),
//     turned into a chance of a right answer by the journal itself: its
//     answers after a day or more, sorted by the recall the model gave them,
//     against whether they were right (RecallBin). Each bin's rate is drawn
//     towards the model with guessing (right by recall, else one time in
//     four) and kept as a shift of that curve, so the learner's own
//     guessing and forgetting set the chance and it still falls day by day;
//   - one never answered takes its area's rate of right first answers (over
//     the exam-format questions), drawn towards the learner's rate over all
//     areas, and that towards the stated prior kYosokuPrior, 5 answers' worth
//     each: with no answer at all the chance is the prior.
// The score is 4 points times the expected right answers of each group's
// share of the paper (what a group lacks from データベース, as the draw
// takes it).
//
// The range is score ± 1.645 standard deviations (90 %), cut to 0 and the
// paper's points, the variance being the sum of:
//   - which questions a paper draws: the spread of the chances within each
//     group, for its share drawn without putting back;
//   - each drawn question's own chance, uncertain around its estimate by a
//     quarter of p (1 - p) (kWithin in Yosoku.cpp, the share that makes the
//     range hold the simulated learners of bench_yosoku about 9 times in 10);
//   - the estimate's rates: each recall bin's and each area's, by how many
//     answers support them, weighted by the points resting on them.
// The range is for the expected score of a fresh paper; a sitting adds the
// luck of each answer.
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
