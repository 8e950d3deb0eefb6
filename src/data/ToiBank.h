#pragma once
// The question bank: row 0 is a header, rows 1..N are questions with the
// columns below. Every cell read is range checked; a missing cell reads as
// the empty text, so a number column without a cell reads as 0.
#include "text/Unit2.h"

namespace ToiColumn {
constexpr int Key = 0;
constexpr int Text = 1;
constexpr int KaisetuText = 2;
constexpr int Seikai = 3;
constexpr int ChoiceCount = 4;
constexpr int LabelSet = 5;
constexpr int ToiPicture = 6;
constexpr int KaisetuPicture = 7;
constexpr int Count = 8;
// Optional: the area (分野) of the question; a bank without it, or an empty
// cell, has no area.
constexpr int Bunya = 8;
// Optional, after the area: the paper group (試験区分) the question belongs
// to, one of kMogiKubunNames; a bank without it, or an empty
// cell, is データベース (the mock exam's data/MogiToi.h).
constexpr int Kubun = 9;
} // namespace ToiColumn


// The cell, or the empty text when the row or the cell does not exist.
const std::string& TableCell(const TextTable& table, std::int32_t row, int column);
// The same cell without copying the row's cells into strings of their own;
// valid while the table row lives unchanged.
std::string_view TableCellView(const TextTable& table, std::int32_t row, int column);
// The cell of a row already found, or the empty text.
std::string_view TableCellView(const TextRow& cells, int column);
// A question's area (the optional ninth column) with the blanks at both
// ends dropped (TrimSjisBlanks): "SQL " is the area SQL, and a cell of
// blanks is no area. Every reader of the area takes it from here.
std::string_view ToiBunyaView(const TextRow& cells);
// Number of questions N (rows after the header), 0 for an empty table.
std::int32_t ToiCount(const TextTable& toiTable);
// Calls visit(row, cells) for the question rows 1..N in order, walking the
// table once: a look-up per row makes a pass over a bank of 100 000
// questions take 7 to 9 ms, which the first paint of such a bank cannot spare.
template <class Visit>
void ForEachToiRow(const TextTable& toiTable, Visit&& visit)
{
    const std::int32_t last = ToiCount(toiTable);
    for (auto it = toiTable.upper_bound(0); it != toiTable.end() && it->first <= last; ++it)
        visit(it->first, it->second);
}
// "NONE" + letter + key + ".jpg": letter 'm' for a question picture, 'k' for
// an explanation picture.
std::string PictureFileName(char letter, const std::string& key);
// The line break of a question or explanation text: what each "<$>" of its
// cell becomes. The one place a marker becomes a line break; the shown forms
// are made from BankText's result.
inline constexpr char kBankLineBreak[] = "\r\n";
// A question or explanation text: every "<$>" of the cell a kBankLineBreak.
std::string BankText(const std::string& cell);
