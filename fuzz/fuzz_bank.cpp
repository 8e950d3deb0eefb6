// The bank tool's readers and checker on any bytes: a CSV source and a bank
// file. The problems kept stay within the list's bounds whatever the input
// (memory bounded per input byte); a CSV bank without text problems writes
// back to CSV, and that CSV reads as the same rows.
#include <bank/BankCheck.h>
#include <bank/BankFile.h>
#include <bank/BankStats.h>
#include <bank/BankWrite.h>
#include <bank/CsvSource.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The rows read, packed as the writer takes them.
struct Rows {
    std::vector<TextRow> rows;
    RowVisitor Collect()
    {
        return [this](const RowView& row) { rows.push_back(row.cells.ToRow()); };
    }
};

CellsView Pack(const TextRow& cells, std::string& buffer, std::vector<std::uint32_t>& starts)
{
    buffer.clear();
    starts.clear();
    for (const std::string& cell : cells) {
        starts.push_back(static_cast<std::uint32_t>(buffer.size()));
        buffer += cell;
    }
    starts.push_back(static_cast<std::uint32_t>(buffer.size()));
    return CellsView(buffer.data(), &starts, 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const bool csv = data[0] & 1;
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<std::string> files;
    ProblemList problems;
    Rows read;
    BankCheckOptions options;
    BankContentCheck check(files, options, problems);
    BankStatsTally tally;
    const RowVisitor collect = read.Collect();
    const RowVisitor visit = [&](const RowView& row) {
        collect(row);
        check.Row(row);
        tally.Row(row);
    };
    if (csv) {
        CsvSourceScanner scanner(files, problems, visit);
        scanner.Add("a.csv", bytes);
    } else {
        files.push_back("toi_dq_basic3.dat");
        ScanBankBytes(files.front(), bytes, problems, visit);
    }
    const bool textProblems = !problems.Empty();
    const BankSummary summary = check.Finish(textProblems);
    if (summary.questions < 0 || summary.choiceQuestions + summary.typedQuestions > summary.questions)
        std::abort();
    FormatBankStats(tally.Finish(files));
    // Kept: at most the file's limit, a "more" line for each row kept, and one for the file.
    const std::vector<BankProblem> listed = problems.Listed(files);
    if (listed.size() > 2 * ProblemList::kFileLimit + 1)
        std::abort();
    for (const BankProblem& problem : listed)
        FormatProblem(problem);

    // A clean CSV source with rows always writes back as CSV that reads the same.
    if (!csv || textProblems || read.rows.empty())
        return 0;
    std::string exported, error, buffer;
    std::vector<std::uint32_t> starts;
    for (std::size_t r = 0; r < read.rows.size(); ++r)
        if (!AppendCsvRecord(static_cast<std::int64_t>(r), Pack(read.rows[r], buffer, starts), exported, error))
            std::abort();
    std::vector<std::string> again;
    ProblemList againProblems;
    Rows back;
    CsvSourceScanner scanner(again, againProblems, back.Collect());
    scanner.Add("b.csv", exported);
    if (!againProblems.Empty() || back.rows != read.rows)
        std::abort();
    return 0;
}
