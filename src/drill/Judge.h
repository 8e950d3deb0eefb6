#pragma once
// Judging an answer: the answer text, the exact comparison and the counts.
#include "drill/DrillState.h"

#include <array>
#include <string>

// "1_3" for boxes 1 and 3 ticked (cb0 is 1), "" when none is.
std::string AnswerTextFromBoxes(const std::array<bool, 8>& ticked);
// Byte-exact comparison, no trimming or folding.
bool IsSeikai(const std::string& answer, const std::string& seikai);
// Adds 1 to column 1 of the first row from row 1 on whose column 0 equals the
// key. Returns false (nothing changed) when no row has the key.
bool CountSeikai(TextTable& toiSeikaiTable, const std::string& key);
// A question with more than one choice is answered with check boxes.
bool IsChoiceToi(const TextRow& row);
