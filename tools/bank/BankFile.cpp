#include "bank/BankFile.h"

#include "bank/CellText.h"

#include "text/Unit2.h"

#include <algorithm>
#include <cstdint>

namespace {

// The field a place in a line falls in: the last cell that starts at or
// before it.
int FieldAt(const std::vector<TextCellSpan>& cells, std::size_t place)
{
    const auto after = std::upper_bound(cells.begin() + 1, cells.end(), place,
                                        [](std::size_t at, const TextCellSpan& cell) { return at < cell.offset; });
    return static_cast<int>(after - cells.begin());
}

} // namespace

void ScanBankBytes(const std::string& fileName, std::string& bytes, ProblemList& problems, const RowVisitor& visit)
{
    auto report = [&](std::int64_t line, int column, const std::string& message) {
        problems.Add({fileName, line, column, message}, ProblemList::Stage::Text);
    };

    // The program stops reading at a NUL byte; so does this check.
    const std::size_t nul = bytes.find('\0');
    if (nul != std::string::npos) {
        report(std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(nul), '\n') + 1, 0,
               "a NUL byte: the program stops reading the bank here");
        bytes.resize(nul);
    }
    // Cells are named by 32-bit offsets; the tool reads no file near that.
    if (bytes.size() >= UINT32_MAX) {
        report(0, 0, "the file is too large for a bank");
        return;
    }
    // The program drops a last line without a line end; its text is checked
    // all the same, read as if it had one.
    const bool unended = !bytes.empty() && bytes.back() != '\n';
    if (unended)
        bytes += '\n';

    // Cell faults are reported as the file holds them: nothing mended.
    TableLineReader reader(bytes, false);
    TableLine line;
    std::vector<TextCellSpan> spans;
    std::vector<std::size_t> returns; // CRs inside the line, by place
    std::vector<CellFault> faults;
    for (;;) {
        spans.clear();
        returns.clear();
        if (!reader.Next(line, spans, &returns))
            break;
        const std::int64_t lineNo = line.number;
        const bool ended = !unended || reader.RestStart() < bytes.size();
        // One CR before the LF ends the line as written; any other is inside it.
        std::size_t endReturns = line.endReturns;
        if (!ended)
            report(lineNo, 0, "the last line has no line end: the program drops it");
        else if (endReturns > 0)
            --endReturns;
        else
            report(lineNo, 0, "the line ends in LF alone: bank lines end in CR LF");
        returns.insert(returns.end(), endReturns, line.length);

        RowView row;
        row.line = lineNo;
        row.cells = CellsView(bytes.data(), &spans);
        const char* const text = bytes.data() + line.start;
        if (line.length == 0) {
            report(lineNo, 0, "an empty line: the program reads it as a row of one empty cell");
            row.readable = false;
        } else {
            if (text[0] != '"') {
                report(lineNo, 1, "the line does not start with a double quote: the program drops its first byte");
                row.readable = false;
            }
            if (line.length < 2 || text[line.length - 1] != '"') {
                report(lineNo, static_cast<int>(row.cells.size()),
                       "the line does not end with a double quote: the program drops its last byte");
                row.readable = false;
            }
            for (std::size_t place : returns)
                report(lineNo, FieldAt(spans, line.start + place), "a CR inside the line: the program drops it");
            if (!returns.empty())
                row.readable = false;
            for (std::size_t j = 0; row.readable && j < row.cells.size(); ++j) {
                faults.clear();
                const std::size_t count = AppendCellFaults(row.cells[j], faults, ProblemList::kRowLimit);
                for (const CellFault& fault : faults)
                    report(lineNo, static_cast<int>(j) + 1, AtCharacter(fault.position) + fault.message);
                problems.AddUnlisted(fileName, lineNo, count - faults.size(), ProblemList::Stage::Text);
            }
        }
        if (ended)
            visit(row);
    }
}
