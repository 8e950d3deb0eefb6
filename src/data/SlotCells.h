#pragma once
// The cells of a save-slot row in db_save_load.dat and the lists inside
// them: the question list as row numbers joined by "<%>", the stage rows as
// "correct<%>answered" joined by "<$>".
#include "text/Unit2.h"

#include <vector>

// Slot cells, in the order of the slot row.
namespace SlotCell {
constexpr int PlayMode = 0;
constexpr int ToiList = 1;
constexpr int ToiIndex = 2;
constexpr int StageTable = 3;
constexpr int Filled = 4;
constexpr int Date = 5;
constexpr int Nanwido = 6;
constexpr int Nokori = 7;
constexpr int Count = 8;
// Only in a slot stored in a run limited to one area (or to the questions
// last answered wrong): the drop-down's choice. Slots of a run over every
// question keep their eight cells.
constexpr int Bunya = 8;
} // namespace SlotCell

// Values joined by "<%>".
std::string JoinListCell(const std::vector<std::string>& values);
// The question rows joined by "<%>".
std::string ToiListCell(const std::vector<std::int32_t>& toiList);
// Rows 1 .. last joined by "<%>" (empty when last < 1).
std::string BankOrderListCell(std::int32_t last);
// The stored question list; an empty cell holds no question at all.
std::vector<std::int32_t> ToiListFromCell(const std::string& cell);
// Stage rows 1 up to the highest stage, each "correct<%>answered". A stage
// missing below the highest is written as two empty cells, so every row is
// restored under its own stage number.
std::string StageRowsCell(const TextTable& stageTable);
// Puts the stage rows of a cell into stageTable as rows 1, 2, ...; an empty
// cell holds no stage row.
void StageRowsFromCell(const std::string& cell, TextTable& stageTable);
