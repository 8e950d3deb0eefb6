#pragma once
// Answer cues: what lets a learner score without knowing the subject. Four
// are measured over the choice questions of a file or a bank, each with a
// test of how likely it is under chance:
//   1. the key is the longest choice (single-answer questions);
//   2. longer choices are correct more often (multi-answer questions);
//   3. absolute words (常に, 必ず ...) go with wrong, or right, choices;
//   4. multi-answer questions never have one correct choice, or all of them.
// A choice's text is its line in the question text, found by its label
// ("ア. ", "1. " ...), its length counted in characters.
#include <string>
#include <string_view>
#include <vector>

// Below this a cue is reported as unlikely to be chance.
constexpr double kCueSignificance = 0.01;

struct CueFigures {
    int choiceQuestions = 0;
    int choicesNotFound = 0; // choice questions whose choice lines were not found

    // 1. Single-answer questions: the "pick the longest" score (1/k when the
    // key is among the k longest) against chance (1/n each).
    int singleQuestions = 0;
    double longestScore = 0;
    double longestExpected = 0;
    double longestVariance = 0;
    int onlyLongest = 0; // the key is the only longest choice
    double onlyLongestExpected = 0;
    double longestZ = 0;
    double longestP = 1; // one-sided: longest too often
    bool longestUnlikely = false;

    // 2. Multi-answer questions: choices longer than their question's mean
    // choice length against the others.
    int longerChoices = 0, longerCorrect = 0;
    int shorterChoices = 0, shorterCorrect = 0;
    double lengthChiSquare = 0;
    double lengthP = 1; // one-sided: longer ones correct too often
    bool lengthUnlikely = false;

    // 3. Every choice question: choices with an absolute word against the others.
    int absoluteChoices = 0, absoluteCorrect = 0;
    int plainChoices = 0, plainCorrect = 0;
    double absoluteChiSquare = 0;
    double absoluteP = 1; // two-sided
    bool absoluteUnlikely = false;

    // 4. Multi-answer questions: how many of their choices are correct,
    // against every non-empty set of choices being equally likely.
    int multiQuestions = 0;
    int one = 0, all = 0, between = 0;
    double oneExpected = 0, allExpected = 0, betweenExpected = 0;
    double countChiSquare = 0;
    double countP = 1;
    bool countUnlikely = false; // one or all too rare, unlikely by chance

    bool AnyUnlikely() const { return longestUnlikely || lengthUnlikely || absoluteUnlikely || countUnlikely; }
};

// A choice question as the cues see it.
struct CueQuestion {
    std::string_view text; // Shift_JIS, lines joined by "<$>"
    int choices = 0;
    int labelSet = 0;
    std::vector<int> correct; // 1-based boxes, ascending
};

// The texts of a question's choices: from the last line that starts with the
// first box's label ("ア. ", "1. ", "A. ", "イ. " by label set, or "ア．",
// "ア：") on, each line that starts with the next box's label begins its
// choice, and the lines between continue the choice above them. Without the
// labels; empty when the text has no such lines.
std::vector<std::string_view> ChoiceTexts(std::string_view text, int choices, int labelSet);
// A Shift_JIS text's length in characters (a two-byte character counts 1, a
// line break "<$>" none).
int CharacterCount(std::string_view sjis);
// True when the text (Shift_JIS) holds an absolute word: 常に, 必ず, 決して,
// 自動的に, 起きない, 不要, 絶対, 一切, すべての, 全く.
bool HasAbsoluteWord(std::string_view text);
// True for a question that asks for every correct choice (「すべて選べ」), or
// whose answer names more than one box.
bool IsMultiAnswer(const CueQuestion& question);

class CueTally {
public:
    void Add(const CueQuestion& question);
    // The figures with their tests.
    CueFigures Finish() const;

private:
    CueFigures figures_;
};

// P(Z >= z) for a standard normal Z.
double NormalUpperTail(double z);

// The report lines of the figures, warnings included ("warning: NAME: ...").
std::string FormatCues(const std::string& name, const CueFigures& cues);
