#pragma once
// Whole banks for the tests: the tool reads a row at a time and keeps no
// rows; the tests hold every row to compare them.
#include "bank/BankCheck.h"
#include "bank/BankFile.h"
#include "bank/BankStats.h"
#include "bank/BankWrite.h"
#include "bank/CellText.h"
#include "bank/CsvSource.h"

#include "text/SjisCodec.h"
#include "text/Unit2.h"

#include <algorithm>
#include <climits>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct BankRow {
    std::size_t fileIndex = 0;
    std::int64_t line = 0;
    TextRow cells;
    bool readable = true;
};

struct BankRows {
    std::vector<std::string> files;
    std::vector<BankRow> rows; // rows[0] is the header row
    std::vector<BankProblem> textProblems;
};

inline RowVisitor Collector(BankRows& bank)
{
    return [&bank](const RowView& row) { bank.rows.push_back({row.fileIndex, row.line, row.cells.ToRow(), row.readable}); };
}

inline BankRows ParseCsvSources(const std::vector<std::pair<std::string, std::string>>& sources)
{
    BankRows bank;
    ProblemList problems;
    CsvSourceScanner scanner(bank.files, problems, Collector(bank));
    for (const auto& [name, bytes] : sources)
        scanner.Add(name, bytes);
    bank.textProblems = problems.Listed(bank.files);
    return bank;
}

inline BankRows ParseBankBytes(const std::string& fileName, const std::string& bytes)
{
    BankRows bank;
    bank.files.push_back(fileName);
    ProblemList problems;
    std::string copy = bytes; // read in place
    ScanBankBytes(fileName, copy, problems, Collector(bank));
    bank.textProblems = problems.Listed(bank.files);
    return bank;
}

// A row's cells packed into one buffer, as the checks take them.
struct PackedRow {
    explicit PackedRow(const TextRow& cells)
    {
        for (const std::string& cell : cells) {
            starts.push_back(static_cast<std::uint32_t>(buffer.size()));
            buffer += cell;
        }
        starts.push_back(static_cast<std::uint32_t>(buffer.size()));
    }
    CellsView View() const { return CellsView(buffer.data(), &starts, 0); }
    std::string buffer;
    std::vector<std::uint32_t> starts;
};

inline std::vector<BankProblem> CheckBankContent(const BankRows& bank, const BankCheckOptions& options,
                                                 BankSummary* summary = nullptr)
{
    ProblemList problems;
    BankContentCheck check(bank.files, options, problems);
    for (const BankRow& row : bank.rows) {
        const PackedRow packed(row.cells);
        check.Row({row.fileIndex, row.line, packed.View(), row.readable});
    }
    const BankSummary counts = check.Finish(!bank.textProblems.empty());
    if (summary)
        *summary = counts;
    return problems.Listed(bank.files);
}

// Text and content problems together, in file, line and column order.
inline std::vector<BankProblem> AllProblems(const BankRows& bank, const std::vector<BankProblem>& content)
{
    std::vector<BankProblem> all = bank.textProblems;
    all.insert(all.end(), content.begin(), content.end());
    std::map<std::string, std::size_t> order;
    for (std::size_t f = bank.files.size(); f-- > 0;)
        order[bank.files[f]] = f;
    auto key = [&](const BankProblem& p) {
        const auto it = order.find(p.file);
        return std::make_tuple(it == order.end() ? bank.files.size() : it->second, p.line, p.column);
    };
    std::stable_sort(all.begin(), all.end(), [&](const auto& a, const auto& b) { return key(a) < key(b); });
    return all;
}

inline TextTable BankTable(const BankRows& bank)
{
    TextTable table;
    std::int32_t number = 0;
    for (const BankRow& row : bank.rows)
        table[number++] = row.cells;
    return table;
}

inline bool BankTableToCsv(const TextTable& table, std::string& csv, std::string* error = nullptr)
{
    csv.clear();
    std::string reason;
    for (const auto& [number, cells] : table) {
        if (!AppendCsvRecord(number, PackedRow(cells).View(), csv, reason)) {
            if (error)
                *error = reason;
            return false;
        }
    }
    return true;
}

inline std::vector<BankStats> BankStatistics(const BankRows& bank)
{
    BankStatsTally tally;
    for (const BankRow& row : bank.rows) {
        const PackedRow packed(row.cells);
        tally.Row({row.fileIndex, row.line, packed.View(), row.readable});
    }
    return tally.Finish(bank.files);
}

inline std::vector<CellFault> SjisCellFaults(const std::string& cell)
{
    std::vector<CellFault> faults;
    AppendCellFaults(cell, faults, SIZE_MAX);
    return faults;
}

inline std::vector<CellFault> Utf8FieldToCell(const std::string& field, std::string& cell)
{
    cell.clear();
    std::vector<CellFault> faults;
    AppendFieldAsCell(field, cell, faults, SIZE_MAX);
    return faults;
}
