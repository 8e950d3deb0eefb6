#pragma once
// The cells of a save-slot row in db_save_load.dat and the lists inside
// them: the question list as row numbers joined by "<%>", the stage rows as
// "correct<%>answered" joined by "<$>".
#include "data/Nanwido.h"
#include "text/Unit2.h"

#include <string_view>
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

// What a slot row holds, as the drill and the empty slot know it.
struct SlotContent {
    bool normalMode = true; // "NORMAL", else "RAND"
    const std::vector<std::int32_t>& toiList;
    std::uint32_t toiIndex = 0;
    const TextTable& stageTable;
    bool filled = false;
    std::string_view date;
    NanwidoValue nanwido;
    std::int32_t nokori = 0;
    // The area a run was limited to; empty: none, and the row has its eight
    // cells only.
    std::string_view bunya;
};
// The cells of a slot row, in the row's order: the one place they are made,
// for a stored drill and for an empty slot alike. The stage cell holds rows 1
// up to the highest stage, each "correct<%>answered"; a stage missing below
// the highest is written as two empty cells, so every row is restored under
// its own stage number.
TextRow SlotRowCells(const SlotContent& slot);

// The stored question list; an empty cell holds no question at all.
std::vector<std::int32_t> ToiListFromCell(const std::string& cell);
// Puts the stage rows of a cell into stageTable as rows 1, 2, ...; an empty
// cell holds no stage row.
void StageRowsFromCell(const std::string& cell, TextTable& stageTable);
