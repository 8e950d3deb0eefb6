#pragma once
// The captions of a choice question's boxes. A question's label set (bank
// column 6) picks one list; each list has a caption for 14 boxes, and the
// window shows the first eight. Set 3 follows the exam paper: ア, イ, ウ, エ ...
#include <string>

namespace ChoiceLabels {
inline constexpr int kSetCount = 4; // 0 "&1", 1 "A(&1)", 2 "イ(&1)", 3 "ア(&1)"
inline constexpr int kBoxCount = 14;

// True for a label set the program can show.
bool IsLabelSet(long long set);
// The letter before "(&n)" of box 0..13 of a set, as Shift_JIS bytes; empty
// for the number set and for a set or box outside the lists.
std::string Letter(int set, int box);
// The box's caption as Shift_JIS bytes: "&1", "A(&1)", "イ(&1)", "ア(&1)" ...;
// empty for a set or box outside the lists.
std::string Caption(int set, int box);
} // namespace ChoiceLabels
