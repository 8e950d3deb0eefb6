#pragma once
// Writing rows as UTF-8 CSV records ("<$>" a line break, a field quoted only
// when it needs it, LF ends). Bank lines are written by the program's own
// AppendTableLine (text/Unit2.h).
#include "bank/BankRow.h"

#include <cstdint>
#include <string>
#include <string_view>

// Appends one row as a CSV record; false, with the reason naming the row
// number, when a cell is not valid Shift_JIS.
bool AppendCsvRecord(std::int64_t number, const CellsView& cells, std::string& csv, std::string& error);
// True when the cells joined with the cell boundary "," are the text, which
// then reads back as these cells when none of them makes a boundary of its own.
bool CellsJoinTo(const CellsView& cells, std::string_view inner);
