#include "bank/BankWrite.h"

#include "bank/CellText.h"

#include "data/DataTexts.h"

namespace {

constexpr char kCellBoundary[] = "\",\"";
constexpr std::string_view kLineMarker = DataTexts::kLineMarker;

// One field from the UTF-8 text of a cell: "<$>" as a line break, quoted
// when it needs it.
void AppendCsvField(std::string_view utf8, bool onlyField, std::string& csv)
{
    bool quote = utf8.empty() ? onlyField // a lone empty field would read as a blank line
                              : utf8.front() == ' ' || utf8.back() == ' ';
    for (std::size_t i = 0; !quote && i < utf8.size(); ++i) {
        const char c = utf8[i];
        quote = c == ',' || c == '"' || c == '\r' || c == '\n' || (c == '<' && utf8.substr(i, kLineMarker.size()) == kLineMarker);
    }
    if (!quote) {
        csv += utf8;
        return;
    }
    csv += '"';
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t at = i;
        while (at < utf8.size() && utf8[at] != '"' && utf8[at] != '<')
            ++at;
        if (at == utf8.size()) {
            csv.append(utf8.data() + i, utf8.size() - i);
            break;
        }
        csv.append(utf8.data() + i, at - i);
        if (utf8[at] == '"') {
            csv += "\"\"";
            i = at + 1;
        } else if (utf8.substr(at, kLineMarker.size()) == kLineMarker) {
            csv += '\n';
            i = at + kLineMarker.size();
        } else {
            csv += '<';
            i = at + 1;
        }
    }
    csv += '"';
}

} // namespace

bool CellsJoinTo(const CellsView& cells, std::string_view inner)
{
    std::size_t at = 0;
    for (std::size_t j = 0; j < cells.size(); ++j) {
        if (j) {
            if (inner.substr(at, 3) != kCellBoundary)
                return false;
            at += 3;
        }
        const std::string_view cell = cells[j];
        if (inner.substr(at, cell.size()) != cell)
            return false;
        at += cell.size();
    }
    return at == inner.size();
}

bool AppendCsvRecord(std::int64_t number, const CellsView& cells, std::string& csv, std::string& error)
{
    std::string utf8;
    for (std::size_t j = 0; j < cells.size(); ++j) {
        if (!CellToUtf8(cells[j], utf8)) {
            error = "row " + std::to_string(number) + ", cell " + std::to_string(j + 1) + " is not valid Shift_JIS";
            return false;
        }
        AppendCsvField(utf8, cells.size() == 1, csv);
        csv += j + 1 < cells.size() ? ',' : '\n';
    }
    return true;
}
