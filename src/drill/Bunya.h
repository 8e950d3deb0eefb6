#pragma once
// Study by area (分野): the areas of a bank (its optional ninth column), the
// questions of one area, and the questions whose last answer in the journal
// was wrong, which the drop-down offers as one more choice.
#include "data/KirokuRow.h"
#include "drill/DrillState.h"

#include <string>
#include <string_view>
#include <vector>

// The drop-down's fixed choices (Shift_JIS): 全分野 and 最近間違えた問題.
inline constexpr char kBunyaAll[] = "\x91\x53\x95\xAA\x96\xEC";
inline constexpr char kBunyaRecentMiss[] = "\x8D\xC5\x8B\xDF\x8A\xD4\x88\xE1\x82\xA6\x82\xBD\x96\xE2\x91\xE8";

// Every area of the bank once, in the order it first appears. Areas are
// read through ToiBunyaView: blanks at both ends are no part of a name.
std::vector<std::string> BunyaNames(const TextTable& toiTable);
// Question rows of the area, ascending.
std::vector<std::int32_t> RowsOfBunya(const TextTable& toiTable, std::string_view name);
// Question rows (the first with each key) whose last answer in the journal
// was wrong, ascending.
std::vector<std::int32_t> RecentMissRows(const TextTable& toiTable, const std::vector<KirokuEntry>& entries);
// Limits the next run to the choice: empty or 全分野 every question, the
// recent-miss choice those rows, else the area's rows.
void ChooseBunya(DrillState& state, const std::string& choice, const std::vector<KirokuEntry>& entries);
