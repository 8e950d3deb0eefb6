#include "bank/CsvSource.h"

#include "bank/CellText.h"

#include "data/ToiBank.h"
#include "text/Unit2.h"

#include <algorithm>

namespace {

constexpr char kCellBoundary[] = "\",\"";

// Reads RFC 4180 records field by field. A field's text is valid until the
// next field is read.
class CsvReader {
public:
    CsvReader(const std::string& file, std::string_view bytes, ProblemList& problems)
        : file_(file), s_(bytes), problems_(problems)
    {
        if (s_.substr(0, 3) == "\xEF\xBB\xBF")
            i_ = 3; // a byte-order mark some editors put first
    }

    // Skips blank lines; false at the end of the text, else the record's line.
    bool BeginRecord(std::int64_t& line)
    {
        while (i_ < s_.size()) {
            // Blank lines between records carry nothing.
            if (s_[i_] == '\n' || s_.substr(i_, 2) == "\r\n") {
                i_ += s_[i_] == '\n' ? 1 : 2;
                ++line_;
                continue;
            }
            line = recordLine_ = line_;
            return true;
        }
        return false;
    }

    // The next field of the record (column counts from 1).
    std::string_view Field(int column)
    {
        built_.clear();
        if (i_ < s_.size() && s_[i_] == '"')
            return QuotedField(column);
        const std::size_t from = i_;
        bool quote = false;
        while (i_ < s_.size()) {
            const char c = s_[i_];
            if (c == ',' || c == '\n' || c == '\r')
                break;
            quote = quote || c == '"';
            ++i_;
        }
        const std::string_view field = s_.substr(from, i_ - from);
        if (quote)
            Report(column, "a double quote in a field not enclosed in double quotes: enclose the field in "
                           "double quotes and write the quote as \"\"");
        return field;
    }

    // The text from here to the next line feed.
    std::string_view RestOfLine() const
    {
        const std::size_t lf = s_.find('\n', i_);
        return s_.substr(i_, lf == std::string_view::npos ? s_.npos : lf - i_);
    }

    // After a field: true when another field of the same record follows.
    bool NextField(int columns)
    {
        if (i_ >= s_.size())
            return false;
        char c = s_[i_++];
        if (c == ',')
            return true;
        ++line_;
        if (c == '\r') {
            if (i_ < s_.size() && s_[i_] == '\n')
                ++i_;
            else
                Report(columns, "a line ends in CR alone: end lines with LF or CR LF");
        }
        return false;
    }

private:
    void Report(int column, const std::string& message)
    {
        problems_.Add({file_, recordLine_, column, message}, ProblemList::Stage::Syntax);
    }

    bool AtFieldEnd() const { return i_ >= s_.size() || s_[i_] == ',' || s_[i_] == '\n' || s_[i_] == '\r'; }

    std::string_view QuotedField(int column)
    {
        ++i_;
        std::size_t segment = i_;
        bool building = false;
        auto keep = [&](std::size_t to) {
            building = true;
            built_.append(s_.data() + segment, to - segment);
        };
        bool closed = false;
        std::size_t at = i_;
        for (;;) {
            while (at < s_.size() && s_[at] != '"' && s_[at] != '\n' && s_[at] != '\r')
                ++at;
            if (at >= s_.size())
                break;
            const char c = s_[at];
            if (c == '"') {
                if (at + 1 < s_.size() && s_[at + 1] == '"') {
                    keep(at);
                    built_ += '"';
                    at += 2;
                    segment = at;
                    continue;
                }
                closed = true;
                break;
            }
            if (c == '\r' && s_.substr(at, 2) != "\r\n") {
                ++at; // a CR alone is part of the text
                continue;
            }
            // A line break inside the field: one break, whichever line end.
            keep(at);
            built_ += '\n';
            at += c == '\n' ? 1 : 2;
            ++line_;
            segment = at;
        }
        if (!closed) {
            i_ = s_.size();
            Report(column, "the double quote that opens this field is never closed");
            if (building) {
                keep(s_.size());
                return built_;
            }
            return s_.substr(segment);
        }
        std::string_view field;
        if (building) {
            keep(at);
            field = built_;
        } else {
            field = s_.substr(segment, at - segment);
        }
        i_ = at + 1;
        if (!AtFieldEnd()) {
            Report(column, "text after the closing double quote: write a double quote inside a quoted field as \"\"");
            if (!building)
                built_.assign(field);
            const std::size_t from = i_;
            while (!AtFieldEnd())
                ++i_;
            built_.append(s_.data() + from, i_ - from);
            return built_;
        }
        return field;
    }

    const std::string& file_;
    std::string_view s_;
    ProblemList& problems_;
    std::size_t i_ = 0;
    std::int64_t line_ = 1;
    std::int64_t recordLine_ = 1;
    std::string built_;
};

// Reports cells the table file would cut in other places than between them.
void CheckCellBoundaries(const std::string& file, std::int64_t line, const CellsView& cells, ProblemList& problems)
{
    bool inside = false;
    bool quotes = false;
    for (std::size_t j = 0; j < cells.size(); ++j) {
        const std::string_view cell = cells[j];
        if (cell.find(kCellBoundary) != std::string_view::npos) {
            problems.Add({file, line, static_cast<int>(j) + 1,
                          "holds the three characters \",\" which end a cell in the bank file"},
                         ProblemList::Stage::Text);
            inside = true;
        }
        quotes = quotes || cell.find('"') != std::string_view::npos;
    }
    // Without a double quote in any cell, only the boundaries themselves hold one.
    if (inside || !quotes)
        return;
    std::string joined;
    for (std::size_t j = 0; j < cells.size(); ++j) {
        if (j)
            joined += kCellBoundary;
        joined += cells[j];
    }
    std::vector<std::string> read = SplitText(joined, kCellBoundary);
    for (std::size_t j = 0; j < cells.size(); ++j) {
        if (j >= read.size() || read[j] != cells[j]) {
            problems.Add({file, line, static_cast<int>(j) + 1,
                          "a double quote next to a comma at the edge of this field would be read "
                          "as a cell boundary in the bank file"},
                         ProblemList::Stage::Text);
            return;
        }
    }
}

} // namespace

void CsvSourceScanner::Add(const std::string& name, std::string_view bytes)
{
    const std::size_t fileIndex = files_.size();
    files_.push_back(name);
    std::vector<CellFault> faults;
    CsvReader reader(name, bytes, problems_);
    std::string cells;
    std::vector<std::uint32_t> starts;
    std::int64_t line = 0;
    bool first = true;
    const SourceBunya* bunya = nullptr;
    if (useBunya_) {
        const auto it = bunya_.find(name.substr(name.find_last_of('/') + 1));
        if (it != bunya_.end())
            bunya = &it->second;
        else
            problems_.Add({name, 0, 0, "the list of areas (分野) names no area for this file"}, ProblemList::Stage::Text);
    }
    while (reader.BeginRecord(line)) {
        cells.clear();
        starts.clear();
        if (const std::string_view rest = reader.RestOfLine(); rest.size() > (64u << 10)) {
            // Sized once from the commas: exporting a row of 3 000 000 cells peaks at 46 MB, not 69 MB.
            starts.reserve(std::count(rest.begin(), rest.end(), ',') + 2);
            cells.reserve(rest.size());
        }
        bool clean = true;
        int column = 0;
        do {
            ++column;
            starts.push_back(static_cast<std::uint32_t>(cells.size()));
            faults.clear();
            const std::size_t count = AppendFieldAsCell(reader.Field(column), cells, faults, ProblemList::kRowLimit);
            for (const CellFault& fault : faults)
                problems_.Add({name, line, column, AtCharacter(fault.position) + fault.message}, ProblemList::Stage::Text);
            problems_.AddUnlisted(name, line, count - faults.size(), ProblemList::Stage::Text);
            clean = clean && count == 0;
        } while (reader.NextField(column));
        // The header names the columns; a question without an area (a group) gets its file's.
        for (const int column : {ToiColumn::Bunya, ToiColumn::Kubun}) {
            if (!useBunya_ || (column == ToiColumn::Kubun && !useKubun_))
                break;
            const std::string text = first ? std::string(column == ToiColumn::Bunya ? kBunyaHeader : kKubunHeader)
                                     : !bunya                     ? std::string()
                                     : column == ToiColumn::Bunya ? bunya->bunya
                                                                  : bunya->kubun;
            if (starts.size() == static_cast<std::size_t>(column)) {
                starts.push_back(static_cast<std::uint32_t>(cells.size()));
                cells += text;
            } else if (starts.size() == static_cast<std::size_t>(column) + 1 && starts.back() == cells.size()) {
                cells += text;
            }
        }
        starts.push_back(static_cast<std::uint32_t>(cells.size()));
        RowView row;
        row.fileIndex = fileIndex;
        row.line = line;
        row.cells = CellsView(cells.data(), &starts, 0);
        if (clean)
            CheckCellBoundaries(name, line, row.cells, problems_);
        const bool header = first;
        first = false;
        if (header && haveHeader_) {
            // Each later file repeats the bank's header row, which is skipped.
            const CellsView& cellsNow = row.cells;
            std::size_t j = 0;
            while (j < cellsNow.size() && j < header_.size() && cellsNow[j] == header_[j])
                ++j;
            if (j != cellsNow.size() || j != header_.size())
                problems_.Add({name, line, static_cast<int>(j) + 1,
                               "the header row differs from the header row of " + files_[headerFile_]},
                              ProblemList::Stage::Text);
            continue;
        }
        if (!haveHeader_) {
            haveHeader_ = true;
            headerFile_ = fileIndex;
            header_ = row.cells.ToRow();
        }
        visit_(row);
    }
    if (first)
        problems_.Add({name, 0, 0, "the file is empty: it needs at least the header row"}, ProblemList::Stage::Text);
}

void CsvSourceScanner::SetBunya(std::map<std::string, SourceBunya> byFile, bool withKubun)
{
    bunya_ = std::move(byFile);
    useBunya_ = true;
    useKubun_ = withKubun;
}

void CsvSourceScanner::AddUnreadable(const std::string& name, const std::string& reason)
{
    files_.push_back(name);
    problems_.Add({name, 0, 0, "cannot read the file: " + reason}, ProblemList::Stage::Syntax);
}
