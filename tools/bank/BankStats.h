#pragma once
// What a bank is made of, per source file: kinds of question, label sets,
// numbers of choices, pictures, and how the correct answers spread over the
// choice positions. The program never shuffles choices, so a bank whose
// answers cluster on one position can be gamed by always ticking it; the
// spread is tested with Pearson's chi-square test.
#include "bank/BankCues.h"
#include "bank/BankRow.h"
#include "bank/ExamCues.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// How often each choice position is correct among the choice questions of
// one kind (single or multi answer) with one number of choices.
struct PositionSpread {
    int choices = 0;
    bool multi = false;
    int questions = 0;
    std::vector<int> correct; // correct[p]: questions whose box p + 1 is correct
    double chiSquare = 0;
    int degrees = 0;
    double pValue = 1;       // chance of a spread this uneven under a fair shuffle
    bool unlikely = false;   // pValue below kSpreadSignificance
};

// Below this a spread is reported as unlikely to be chance.
constexpr double kSpreadSignificance = 0.01;

struct BankStats {
    std::string name; // a source file, or "(all)" for the whole bank
    int questions = 0;
    int single = 0;
    int multi = 0;
    int typed = 0;
    std::map<int, int> byLabelSet;  // label set -> choice questions
    std::map<int, int> byChoices;   // number of choices -> choice questions
    int questionPictures = 0;
    int explanationPictures = 0;
    std::vector<PositionSpread> spreads; // by kind, then number of choices
    // The paper's own form: one answer of four, labels ア to エ.
    int examFormat = 0;
    std::map<std::string, int> examByKubun; // paper group (Shift_JIS, "" for none) -> exam-format questions
    CueFigures cues;
    ExamCueFigures examCues;
};

// Fed one row at a time (the first row is the header row). Finish gives one
// entry per source file that holds questions, then the whole bank when it
// comes from more than one file. Rows with unreadable numbers or answers (the
// check reports them) are counted as questions but not spread.
class BankStatsTally {
public:
    BankStatsTally();
    ~BankStatsTally();
    BankStatsTally(const BankStatsTally&) = delete;
    BankStatsTally& operator=(const BankStatsTally&) = delete;

    void Row(const RowView& row);
    std::vector<BankStats> Finish(const std::vector<std::string>& files);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Pearson's chi-square statistic of observed counts against equal shares.
double ChiSquareOfEqualShares(const std::vector<int>& observed);
// P(X >= chiSquare) for a chi-square distribution with the given degrees.
double ChiSquareUpperTail(double chiSquare, int degrees);

// The report as text, warnings included ("warning: ..." lines).
std::string FormatBankStats(const std::vector<BankStats>& stats);
// True when any spread is unlikely to be chance.
bool AnyUnlikelySpread(const std::vector<BankStats>& stats);
// The names of the paper-form cues the figures show: "key-repeat",
// "key-after", "combination", "key-words", "correct-count".
std::vector<std::string> ExamCueNames(const ExamCueFigures& cues);
// True when the whole bank (the last entry) shows an answer cue unlikely to
// be chance, other than the paper-form cues named in allowed; small files
// lack the power for this, so they only warn.
bool WholeBankShowsCue(const std::vector<BankStats>& stats, const std::set<std::string>& allowed = {});
