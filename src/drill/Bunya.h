#pragma once
// Study by area (分野): the areas of a bank (its optional ninth column), the
// questions of one area, and two more choices the drop-down offers: the
// questions whose last answer in the journal was wrong, and those due for
// review today (drill/Fukushu.h).
#include "data/KirokuRow.h"
#include "drill/DrillState.h"

#include <string>
#include <string_view>
#include <vector>

// The drop-down's fixed choices (Shift_JIS): 全分野, 最近間違えた問題 and
// 今日の復習.
inline constexpr char kBunyaAll[] = "\x91\x53\x95\xAA\x96\xEC";
inline constexpr char kBunyaRecentMiss[] = "\x8D\xC5\x8B\xDF\x8A\xD4\x88\xE1\x82\xA6\x82\xBD\x96\xE2\x91\xE8";
inline constexpr char kBunyaFukushu[] = "\x8D\xA1\x93\xFA\x82\xCC\x95\x9C\x8F\x4B";

// Every area of the bank once, in the order it first appears. Areas are
// read through ToiBunyaView: blanks at both ends are no part of a name.
std::vector<std::string> BunyaNames(const TextTable& toiTable);
// Question rows of the area, ascending.
std::vector<std::int32_t> RowsOfBunya(const TextTable& toiTable, std::string_view name);
// Question rows (the first with each key) whose last answer in the journal
// was wrong, ascending.
std::vector<std::int32_t> RecentMissRows(const TextTable& toiTable, const std::vector<KirokuEntry>& entries);
// Limits the next run to the choice: empty or 全分野 every question, the
// recent-miss choice those rows, today's review the rows due on `today`
// (days since 1970-01-01) or before, the most overdue first, else the
// area's rows.
void ChooseBunya(DrillState& state, const std::string& choice, const std::vector<KirokuEntry>& entries,
                 std::int32_t today);
