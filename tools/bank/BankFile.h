#pragma once
// The bank file itself, toi_dq_basic3.dat: Shift_JIS table lines, each cell in
// double quotes, cells joined by a comma, CR LF line ends. Read line by line,
// with every line the program's loader would mangle or drop reported.
#include "bank/BankProblem.h"
#include "bank/BankRow.h"

#include <string>
#include <string_view>
#include <vector>

// Reports the text problems of a bank file's bytes and visits each row in
// order, as the program's loader numbers them.
void ScanBankBytes(const std::string& fileName, std::string_view bytes, ProblemList& problems, const RowVisitor& visit);

// The rows of a bank file whose text has no problems, one by one.
class CleanBankRows {
public:
    explicit CleanBankRows(std::string_view bytes) : data_(bytes) {}
    // False after the last row.
    bool Next(RowView& row);
    // The next row's text between its outer quotes, not split into cells.
    bool NextInner(std::string_view& inner);

private:
    std::string_view data_;
    std::size_t pos_ = 0;
    std::int64_t line_ = 0;
    std::vector<std::uint32_t> starts_;
};
