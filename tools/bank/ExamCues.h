#pragma once
// The cues that the paper's form leaves, each tested against chance (p <
// kCueSignificance) over the choice questions of a file or of the bank, in
// bank order:
//   1. single-answer questions: the key's position repeats the previous
//      single-answer question's, or is the position after it (the last
//      position followed by the first), more or less often than chance
//      (1/n for a question of n choices; two-sided normal test);
//   2. combination questions: the key is the choice built from the elements
//      that occur most often among the choices, more or less often than
//      chance (two-sided normal test, scored as the longest-choice cue);
//   3. single-answer questions: absolute words (HasAbsoluteWord) are more
//      common in keys than in distractors (one-sided Fisher exact test);
//   4. six-choice multi-answer questions: the most common number of correct
//      choices is more common than a spread over 1..5 gives each number
//      (one-sided binomial test at 1/5, times 5 for picking the most common).
#include "bank/BankCues.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// A two-sided test of how often an event happened against its chance rate,
// summed over questions whose chances differ.
struct ChanceCount {
    int trials = 0;
    double observed = 0; // events, or a score of 1/k for a share of k tied choices
    double expected = 0;
    double variance = 0;
    double z = 0;
    double p = 1;
    bool unlikely = false;
    void Add(double score, double chance, double variance);
    void Finish();
};

struct ExamCueFigures {
    // 1. Bank order: pairs of consecutive single-answer questions.
    ChanceCount repeat; // the key's position repeats the previous key's
    ChanceCount after;  // the key is the position after the previous key's

    // 2. Combination questions (CombinationWeights) and those with choices
    // of unequal weight, where the key can be the top one or not.
    int combinations = 0;
    int combinationsRanked = 0;
    int keyOnTop = 0; // of the ranked ones, the key among the top choices
    ChanceCount top;

    // 3. Absolute words in single-answer keys and distractors.
    int keys = 0, absoluteKeys = 0;
    int distractors = 0, absoluteDistractors = 0;
    double keyWordsP = 1; // one-sided: keys carry them more often
    bool keyWordsUnlikely = false;

    // 4. Six-choice multi-answer questions by their number of correct choices.
    std::array<int, 7> sixByCount {};
    int sixQuestions = 0;
    int mostCommonCount = 0;
    double countShareP = 1;
    bool countShareUnlikely = false;

    bool AnyUnlikely() const
    {
        return repeat.unlikely || after.unlikely || top.unlikely || keyWordsUnlikely || countShareUnlikely;
    }
};

// The elements of a combination question's choice (Shift_JIS): a choice
// wholly in one pair of brackets is unwrapped, then cut at 、 ， , (not a
// thousands separator as in 10,000), the full-width blank and と between
// two terms ("(1)と(3)", "A と B"), never inside brackets; blanks trimmed,
// each element once.
std::vector<std::string_view> CombinationElements(std::string_view choice);
// Each choice's weight, the mean over its elements of how many choices hold
// the element; empty when the question is no combination question: every
// choice must be one line of at most 40 characters whose elements have at
// most 20 and do not end in 「。」, two choices at least must have two
// elements or more, and one element at least must occur in two choices.
std::vector<double> CombinationWeights(const std::vector<std::string_view>& choices);

class ExamCueTally {
public:
    // Questions in bank order.
    void Add(const CueQuestion& question);
    ExamCueFigures Finish() const;

private:
    ExamCueFigures figures_;
    int previousKey_ = 0; // the previous single-answer question's key position, 0 before the first
};

// P(X >= x) for X binomial with n trials of chance p.
double BinomialUpperTail(int x, int n, double p);
// P(X >= x) for X hypergeometric: draws of n from a whole of which good are good.
double HypergeometricUpperTail(int x, int whole, int good, int n);

// The report lines of the figures, warnings included ("warning: NAME: ...").
std::string FormatExamCues(const std::string& name, const ExamCueFigures& cues);
