#pragma once
// Judging an answer: the answer text, the exact comparison and the counts.
#include "drill/DrillState.h"

#include <array>
#include <optional>
#include <string>

// "1_3" for boxes 1 and 3 ticked (cb0 is 1), "" when none is.
std::string AnswerTextFromBoxes(const std::array<bool, 8>& ticked);
// A choice question's answer: byte-exact comparison.
bool IsSeikai(const std::string& answer, const std::string& seikai);
// A typed answer as the judge compares it (Shift_JIS in, Shift_JIS out):
// full-width ASCII letters, digits and signs become ASCII, the ideographic
// blank an ASCII blank, blanks at both ends are dropped and ASCII letters
// become upper case. Every other character stays as it is.
std::string TypedAnswerForm(const std::string& sjis);
// A typed answer is right when its form equals the stored answer's form: a
// learner whose input method is in full-width mode, who leaves a blank or
// types the other letter case is not told 不正解 for a right answer.
bool IsTypedSeikai(const std::string& typed, const std::string& seikai);
// Adds 1 to column 1 of the first row from row 1 on whose column 0 equals the
// key. Returns false (nothing changed) when no row has the key.
bool CountSeikai(TextTable& toiSeikaiTable, const std::string& key);
// A question with more than one choice is answered with check boxes.
bool IsChoiceToi(const TextRow& row);

// The answer as the question screen holds it when [決定] is pressed or the
// time runs out.
struct GivenAnswer {
    std::array<bool, 8> ticked {}; // cb0 .. cb7
    // The edit box's text in Shift_JIS; empty when it holds a character that
    // has no Shift_JIS form, which no stored answer can match.
    std::optional<std::string> typed;
    // The edit box still holds the prompt it was given: nothing was typed.
    bool promptUntouched = false;
};

// How a choice box is marked once its question is judged.
enum class BoxMark {
    None,      // not a correct choice, and not ticked
    Seikai,    // a correct choice the learner ticked
    Missed,    // a correct choice the learner did not tick
    WrongTick, // ticked, but not a correct choice
};
// The marks of the eight boxes for the ticks given and the stored answer
// ("1_3": boxes 1 and 3 are the correct choices; numbers outside 1..8 and
// pieces that are no number mark nothing).
std::array<BoxMark, 8> BoxMarks(const std::array<bool, 8>& ticked, const std::string& seikai);

// What judging the current question leads to on the screen.
struct Judgement {
    bool seikai = false;
    // A choice question: `answer` is the text built from the boxes, which the
    // screen keeps in its (hidden) edit box. A typed question: the text
    // typed, empty when nothing was (the prompt is judged as it stands, but
    // it is no answer of the learner's, and the journal records none).
    bool choice = false;
    std::string answer;
    // The stored correct answer, and the explanation text with every "<$>"
    // a CR LF (Shift_JIS).
    std::string seikaiText;
    std::string kaisetuText;
    // The explanation picture's file, empty when the explanation is text.
    std::string kaisetuPicture;
    // A choice question: which boxes were right, missed and wrongly ticked.
    std::array<BoxMark, 8> boxMarks {};
    // The countdown had run out: the answer was judged as it stood.
    bool timeUp = false;
};

// Judges ToiList[ToiIndex] against the given answer and counts it: the
// question for the stage (StageToiCount), a right answer for the stage
// (StageSeikaiCount) and for the question in ToiSeikaiTable.
Judgement JudgeToi(DrillState& state, const GivenAnswer& given);
