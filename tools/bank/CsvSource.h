#pragma once
// The bank's sources: UTF-8 CSV (RFC 4180), the first record of each file the
// header row. Read as one bank: the first file's header row is the bank's,
// every later file must start with the same header, which is skipped.
#include "bank/BankProblem.h"
#include "bank/BankRow.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

// What the list of areas gives a source: its area (分野) and, when the list
// has the column, its paper group (試験区分), Shift_JIS.
struct SourceBunya {
    std::string bunya;
    std::string kubun;
};

class CsvSourceScanner {
public:
    // Files are added in order, their names appended to files as they come
    // (so that a check can name them); problems go to problems, rows to visit.
    CsvSourceScanner(std::vector<std::string>& files, ProblemList& problems, RowVisitor visit)
        : files_(files), problems_(problems), visit_(std::move(visit))
    {
    }
    void Add(const std::string& name, std::string_view bytes);
    // The area (分野) of each source, by its file name without folders, and
    // with withKubun its paper group (試験区分). Once set, each question row
    // without an area of its own gets its file's in a ninth cell (and without
    // a group its file's in a tenth), the header row gets 「分野」 (and
    // 「試験区分」), and a file with no area is reported.
    void SetBunya(std::map<std::string, SourceBunya> byFile, bool withKubun);
    // A source that could not be read: reported, and not read as empty.
    void AddUnreadable(const std::string& name, const std::string& reason);

private:
    std::vector<std::string>& files_;
    ProblemList& problems_;
    RowVisitor visit_;
    std::map<std::string, SourceBunya> bunya_;
    bool useBunya_ = false;
    bool useKubun_ = false;
    bool haveHeader_ = false;
    std::size_t headerFile_ = 0;
    TextRow header_;
};
