#pragma once
// The bank one row at a time, for banks of a million questions: the rows are
// read straight from the file's bytes and handed to a visitor, never held all
// at once. BankSource's functions that return every row are built on these.
#include "bank/BankSource.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The cells of one row, pointing into text that lives only while the row is
// being visited. Cell j runs from starts[j] to starts[j + 1] less the gap (the
// three bytes "," between cells of a bank line, none in a packed buffer).
class CellsView {
public:
    CellsView() = default;
    CellsView(const char* base, const std::vector<std::uint32_t>* starts, std::uint32_t gap)
        : base_(base), starts_(starts), gap_(gap)
    {
    }
    std::size_t size() const { return starts_ && !starts_->empty() ? starts_->size() - 1 : 0; }
    bool empty() const { return size() == 0; }
    std::string_view operator[](std::size_t j) const
    {
        const std::uint32_t from = (*starts_)[j];
        return {base_ + from, (*starts_)[j + 1] - gap_ - from};
    }
    TextRow ToRow() const;
    bool operator==(const CellsView& other) const;

private:
    const char* base_ = nullptr;
    const std::vector<std::uint32_t>* starts_ = nullptr;
    std::uint32_t gap_ = 0;
};

struct RowView {
    std::size_t fileIndex = 0;
    std::int64_t line = 0;
    CellsView cells;
    bool readable = true;
};

using RowVisitor = std::function<void(const RowView&)>;

// Reads a bank file's bytes as ParseBankBytes does, appending its text
// problems and visiting each row in order. Without compareWithLoader the
// check that the program's loader reads the same rows is left out.
void ScanBankBytes(const std::string& fileName, std::string_view bytes, std::vector<BankProblem>& textProblems,
                   const RowVisitor& visit, bool compareWithLoader = true);

// The rows of a bank file whose text has no problems, one by one.
class CleanBankRows {
public:
    explicit CleanBankRows(std::string_view bytes) : data_(bytes) {}
    // False after the last row.
    bool Next(RowView& row);
    // The next row's text between its outer quotes, not split into cells.
    bool NextInner(std::string_view& inner);
    // The bytes of the row Next gave last, its line end included.
    std::string_view LastLine() const { return last_; }

private:
    std::string_view data_;
    std::string_view last_;
    std::size_t pos_ = 0;
    std::int64_t line_ = 0;
    std::vector<std::uint32_t> starts_;
};

// CSV sources read as one bank, as ParseCsvSources does: files are added in
// order, their names appended to files as they come (so that a content check
// can name them), problems gathered here, rows handed to the visitor.
class CsvSourceScanner {
public:
    CsvSourceScanner(std::vector<std::string>& files, RowVisitor visit) : files(files), visit_(std::move(visit)) {}
    void Add(const std::string& name, std::string_view bytes);
    // A source that could not be read: reported first, and not as empty.
    void AddUnreadable(const std::string& name, const std::string& reason);
    // Call once after the last file.
    void Finish();

    std::vector<std::string>& files;
    std::vector<BankProblem> textProblems;

private:
    RowVisitor visit_;
    std::vector<BankProblem> unreadable_;
    bool haveHeader_ = false;
    std::size_t headerFile_ = 0;
    TextRow header_;
};

// The content check of CheckBankContent, fed one row at a time. The file
// names are looked up in files while rows come in and at the end.
class BankContentCheck {
public:
    BankContentCheck(const std::vector<std::string>& files, const BankCheckOptions& options);
    ~BankContentCheck();
    BankContentCheck(const BankContentCheck&) = delete;
    BankContentCheck& operator=(const BankContentCheck&) = delete;

    void Row(const RowView& row);
    // The content problems; textProblems tells whether the text had any.
    std::vector<BankProblem> Finish(bool textProblems, BankSummary* summary = nullptr);

private:
    struct Impl;
    Impl* impl_;
};

// Text and content problems together, in file, line and column order.
std::vector<BankProblem> AllProblems(const std::vector<std::string>& files, std::vector<BankProblem> text,
                                     const std::vector<BankProblem>& content);

// Reads a bank file or a CSV source whole; false with the reason when it
// cannot be read (a bank file's reason becomes its text problem).
bool ReadBankBytes(const std::string& fileName, std::string& bytes, std::vector<BankProblem>& textProblems);
bool ReadCsvBytes(const std::string& fileName, std::string& bytes, std::string& reason);

// True when the cells joined with the cell boundary "," are the text, which
// then reads back as these cells when none of them makes a boundary of its own.
bool CellsJoinTo(const CellsView& cells, std::string_view inner);

// Appends one row as a CSV record, as BankTableToCsv writes it; false (with
// the reason, naming the row number) when a cell is not valid Shift_JIS.
bool AppendCsvRecord(std::int64_t number, const CellsView& cells, std::string& csv, std::string* error);
// Appends one row as a bank line ("cell","cell" and CR LF).
void AppendBankLine(const CellsView& cells, std::string& bank);
