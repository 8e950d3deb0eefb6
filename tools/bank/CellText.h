#pragma once
// The characters a bank cell may hold, and a cell's text both ways: the
// bank's Shift_JIS and the sources' UTF-8. A bank cell holds ASCII without
// control characters and the characters of JIS X 0208; line breaks are "<$>".
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// One character a cell cannot hold: its 1-based position and why.
struct CellFault {
    std::size_t position = 0;
    std::string message;
};

// Appends the faults of a Shift_JIS cell, at most limit of them, and returns
// how many there are.
std::size_t AppendCellFaults(std::string_view cell, std::vector<CellFault>& faults, std::size_t limit);

// Appends the bank cell of one CSV field (UTF-8, line breaks as LF) and
// returns how many faults it has, describing at most limit of them. With
// faults the cell is only the nearest text, "?" for a character that has no
// Shift_JIS form.
std::size_t AppendFieldAsCell(std::string_view field, std::string& out, std::vector<CellFault>& faults,
                              std::size_t limit);

// The UTF-8 text of a Shift_JIS cell; false when the cell is not valid
// Shift_JIS, which would not come back the same.
bool CellToUtf8(std::string_view cell, std::string& utf8);

// «text», for naming a text in a message.
std::string Quoted(std::string_view utf8);
// "character N: ", the start of a fault's message.
std::string AtCharacter(std::size_t position);
