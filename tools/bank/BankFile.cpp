#include "bank/BankFile.h"

#include "bank/CellText.h"

#include <algorithm>

namespace {

constexpr char kCellBoundary[] = "\",\"";

// The field number a byte position of a bank line falls in, counting cell
// boundaries the way the loader finds them (leftmost, not overlapping).
int FieldAt(std::string_view line, std::size_t position, std::size_t cellCount)
{
    int field = 1;
    std::size_t at = 1;
    for (;;) {
        at = line.find(kCellBoundary, at);
        if (at == std::string_view::npos || at + 3 > position)
            break;
        ++field;
        at += 3;
    }
    return std::min(field, static_cast<int>(std::max<std::size_t>(cellCount, 1)));
}

// Splits the text between a line's outer quotes at each cell boundary.
void SplitCells(std::string_view inner, std::vector<std::uint32_t>& starts)
{
    starts.clear();
    const char* p = inner.data();
    const std::size_t n = inner.size();
    if (n > (64u << 10)) {
        // A long line's boundaries are counted first, so that its offsets are
        // not copied while they grow.
        std::size_t count = 0;
        for (std::size_t at = 0; at + 2 < n; ++at)
            if (p[at] == '"' && p[at + 1] == ',' && p[at + 2] == '"') {
                ++count;
                at += 2;
            }
        starts.reserve(count + 2);
    }
    starts.push_back(0);
    for (std::size_t at = 0; at + 2 < n;) {
        if (p[at] == '"' && p[at + 1] == ',' && p[at + 2] == '"') {
            starts.push_back(static_cast<std::uint32_t>(at + 3));
            at += 3;
        } else {
            ++at;
        }
    }
    starts.push_back(static_cast<std::uint32_t>(n + 3));
}

} // namespace

bool CleanBankRows::NextInner(std::string_view& inner)
{
    if (pos_ >= data_.size())
        return false;
    std::size_t lf = data_.find('\n', pos_);
    const std::size_t end = lf == std::string_view::npos ? data_.size() : lf + 1;
    std::string_view line = data_.substr(pos_, end - pos_);
    pos_ = end;
    ++line_;
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    inner = line.size() >= 2 ? line.substr(1, line.size() - 2) : line.substr(line.size());
    return true;
}

bool CleanBankRows::Next(RowView& row)
{
    std::string_view inner;
    if (!NextInner(inner))
        return false;
    SplitCells(inner, starts_);
    row.fileIndex = 0;
    row.line = line_;
    row.cells = CellsView(inner.data(), &starts_, 3);
    row.readable = true;
    return true;
}

void ScanBankBytes(const std::string& fileName, std::string_view bytes, ProblemList& problems, const RowVisitor& visit)
{
    auto report = [&](std::int64_t line, int column, const std::string& message) {
        problems.Add({fileName, line, column, message}, ProblemList::Stage::Text);
    };

    // The program stops reading at a NUL byte; so does this check.
    const std::string_view data = bytes.substr(0, bytes.find('\0'));
    if (data.size() < bytes.size())
        report(std::count(data.begin(), data.end(), '\n') + 1, 0,
               "a NUL byte: the program stops reading the bank here");

    std::int64_t lineNo = 0;
    std::string stripped; // a line without the CRs inside it
    std::vector<std::size_t> crs;
    std::vector<std::uint32_t> starts;
    static const std::vector<std::uint32_t> kOneEmptyCell = {0, 0};
    std::vector<CellFault> faults;
    for (std::size_t pos = 0; pos < data.size();) {
        ++lineNo;
        std::size_t lf = data.find('\n', pos);
        const bool ended = lf != std::string_view::npos;
        std::string_view raw = data.substr(pos, (ended ? lf : data.size()) - pos);
        pos = ended ? lf + 1 : data.size();
        if (!ended)
            report(lineNo, 0, "the last line has no line end: the program drops it");
        else if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        else
            report(lineNo, 0, "the line ends in LF alone: bank lines end in CR LF");

        std::string_view line = raw;
        crs.clear();
        if (raw.find('\r') != std::string_view::npos) {
            stripped.clear();
            for (char c : raw) {
                if (c == '\r')
                    crs.push_back(stripped.size());
                else
                    stripped += c;
            }
            line = stripped;
        }

        RowView row;
        row.line = lineNo;
        if (line.empty()) {
            report(lineNo, 0, "an empty line: the program reads it as a row of one empty cell");
            row.cells = CellsView(line.data(), &kOneEmptyCell, 0);
            row.readable = false;
        } else {
            const std::string_view inner = line.size() >= 2 ? line.substr(1, line.size() - 2) : line.substr(1);
            SplitCells(inner, starts);
            row.cells = CellsView(inner.data(), &starts, 3);
            if (line.front() != '"') {
                report(lineNo, 1, "the line does not start with a double quote: the program drops its first byte");
                row.readable = false;
            }
            if (line.size() < 2 || line.back() != '"') {
                report(lineNo, static_cast<int>(row.cells.size()),
                       "the line does not end with a double quote: the program drops its last byte");
                row.readable = false;
            }
            for (std::size_t at : crs)
                report(lineNo, FieldAt(line, at, row.cells.size()), "a CR inside the line: the program drops it");
            if (!crs.empty())
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
