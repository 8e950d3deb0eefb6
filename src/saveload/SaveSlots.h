#pragma once
// Turning a running drill into a save-slot row and back. Slot operations take
// a list row index r, which stands for slot row r + 1 of SaveLoadTable.
#include "drill/DrillState.h"

#include <string>
#include <vector>

// The slot row of the running drill (SlotRowCells), dated with the given
// NowText: eight cells, and the area as a ninth in a run limited to one.
TextRow SessionToSlotRow(const DrillState& state, const std::string& nowText);
// Stores the running drill as slot row r + 1 (dated NowText()).
void StoreSessionInSlot(DrillState& state, int r);

enum class RestoreProblem {
    None,
    NoSuchSlot,         // r + 1 is not a slot row of the table
    EmptyList,          // the stored question list is empty
    ListLongerThanBank, // more entries than the bank has questions
    RowOutsideBank,     // the list names a row the bank does not have
    IndexOutsideList,   // the stored position lies outside the list
    NokoriOutsideRun,   // the stored chances are not 1..kRunChances
    StagesOutsideBank,  // more stage rows than the bank has stages
};
// A stored run always has 1 to kRunChances chances left: a run is stored
// only while it goes on, and a game over is never stored.
// Checks a slot before anything is restored; badRow receives the offending
// question row for RowOutsideBank and the stored chances for NokoriOutsideRun.
RestoreProblem CheckSlotRestorable(const DrillState& state, int r, std::int32_t* badRow = nullptr);
// Restores the drill from slot r + 1 when CheckSlotRestorable passes (badRow
// as there); the state is left untouched otherwise. The caller presents the
// question.
RestoreProblem RestoreSessionFromSlot(DrillState& state, int r, std::int32_t* badRow = nullptr);

struct SlotListRow {
    std::string name; // "AUTO" for the first row, else the slot number
    std::string mode; // cell 0 as stored
    std::string date; // cell 5 as stored
};
// One row per slot row of the table (header excluded), at most the
// kSlotCount slots the program has, however many rows the file held; cells
// missing from a short row shown empty, cells too long for the list cut.
std::vector<SlotListRow> SlotListRows(const TextTable& saveLoadTable);
// List row r as a save refreshes it: named by its slot number, the first
// row too.
SlotListRow SlotListRowFor(const TextTable& saveLoadTable, int r);
// True when cell 4 of slot row r + 1 reads as 1 (a stored drill).
bool SlotHoldsDrill(const TextTable& saveLoadTable, int r);
