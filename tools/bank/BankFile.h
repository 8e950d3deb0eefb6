#pragma once
// The bank file itself, toi_dq_basic3.dat: a table file (text/Unit2.h) of
// Shift_JIS lines, each cell in double quotes, cells joined by a comma, CR LF
// line ends. Read line by line through the program's own table reader, with
// every line the program would mangle or drop reported.
#include "bank/BankProblem.h"
#include "bank/BankRow.h"

#include <string>

// Reports the text problems of a bank file's bytes and visits each row in
// order, its cells cut as the program's loader cuts them. The bytes are read
// in place: a bank without text problems is left as it was (the rows of one
// can then be read again straight from them).
void ScanBankBytes(const std::string& fileName, std::string& bytes, ProblemList& problems, const RowVisitor& visit);
