#include "text/Unit2.h"

#include "text/Clock.h"
#include "text/SafeFile.h"
#include "text/SjisCodec.h"

#include "platform/Files.h"

#include <climits>
#include <cstdio>
#include <cstring>

bool ReadWholeFileChecked(const std::string& fileName, std::string& text, FileError* error)
{
    if (!ReadRegularFile(fileName, text, error))
        return false;
    // A text never holds NUL: reading stops at the first one.
    const auto nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    return true;
}

std::string ReadWholeFile(const std::string& fileName)
{
    std::string text;
    ReadWholeFileChecked(fileName, text);
    return text;
}

namespace {

// True when the quote at `quote` is the second byte of a character: the
// bytes that pair (PairsInTableFile) right before it, back to the cell's
// start or to a byte that never starts a character, pair up from the left,
// so an odd run ends in a first byte that takes the quote.
bool IsSecondByte(const unsigned char* cellStart, const unsigned char* quote)
{
    const unsigned char* p = quote;
    while (p > cellStart && PairsInTableFile(p[-1]))
        --p;
    return ((quote - p) & 1) != 0;
}

// Gives every character with the second byte 0x7F whose first byte is a
// JIS row lead the 0x7E that the conversion through EUC-JP makes of it.
void MendTrail7F(unsigned char* cells, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i) {
        if (!PairsInTableFile(cells[i]))
            continue;
        if (i + 1 < length && cells[i + 1] == 0x7F && IsJisRowLead(cells[i]))
            cells[i + 1] = 0x7E;
        ++i;
    }
}

} // namespace

TableLineReader::TableLineReader(std::string& bytes, bool mendTrail7F, bool stopAtNul)
    : base_(reinterpret_cast<unsigned char*>(bytes.data())), size_(bytes.size()), mendTrail7F_(mendTrail7F)
{
    if (const void* nul = stopAtNul ? std::memchr(base_, '\0', size_) : nullptr)
        size_ = static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - base_);
}

bool TableLineReader::Next(TableLine& line, std::vector<TextCellSpan>& cells,
                           std::vector<std::size_t>* innerReturnsAt)
{
    if (next_ >= size_)
        return false;
    auto* lf = static_cast<unsigned char*>(std::memchr(base_ + next_, '\n', size_ - next_));
    if (!lf)
        return false; // the bytes after the last line end are no line
    unsigned char* const start = base_ + next_;
    line = TableLine();
    line.number = ++number_;
    line.start = next_;
    std::size_t length = static_cast<std::size_t>(lf - start);
    next_ += length + 1;
    while (length > 0 && start[length - 1] == '\r') {
        --length;
        ++line.endReturns;
    }
    // Every CR is dropped: squeeze the ones inside the line out of its bytes.
    if (std::memchr(start, '\r', length)) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < length; ++i) {
            if (start[i] != '\r')
                start[kept++] = start[i];
            else if (innerReturnsAt)
                innerReturnsAt->push_back(kept);
        }
        line.innerReturns = length - kept;
        length = kept;
    }
    line.length = length;
    line.firstCell = cells.size();
    if (length < 2) {
        line.shortLine = true;
        cells.push_back({static_cast<std::uint32_t>(line.start), 0});
        line.cellCount = 1;
        return true;
    }
    unsigned char* const inner = start + 1;
    const unsigned char* const innerEnd = inner + (length - 2);
    if (mendTrail7F_ && std::memchr(inner, 0x7F, length - 2))
        MendTrail7F(inner, length - 2);
    const unsigned char* cellStart = inner;
    for (const unsigned char* from = inner;;) {
        const auto* quote = static_cast<const unsigned char*>(std::memchr(from, '"', static_cast<std::size_t>(innerEnd - from)));
        if (!quote || innerEnd - quote < 3)
            break;
        if (quote[1] != ',' || quote[2] != '"' || IsSecondByte(cellStart, quote)) {
            from = quote + 1;
            continue;
        }
        cells.push_back({static_cast<std::uint32_t>(cellStart - base_), static_cast<std::uint32_t>(quote - cellStart)});
        cellStart = from = quote + 3;
    }
    cells.push_back({static_cast<std::uint32_t>(cellStart - base_), static_cast<std::uint32_t>(innerEnd - cellStart)});
    line.cellCount = cells.size() - line.firstCell;
    return true;
}

namespace {

TextTable ParseOwnedBytes(std::string&& bytes, bool aroundNul = false, std::size_t* spoiled = nullptr)
{
    TextTable table;
    auto shared = std::make_shared<TextTableBytes>();
    shared->bytes = std::move(bytes);
    // Cells are named by 32-bit offsets; no file the program reads is near.
    if (shared->bytes.size() > UINT32_MAX)
        shared->bytes.resize(UINT32_MAX);
    TableLineReader reader(shared->bytes, true, !aroundNul);
    std::vector<TableLine> lines;
    TableLine line;
    std::size_t spoiledLines = 0;
    while (reader.Next(line, shared->cells)) {
        // The line's bytes, its line end included, are [start, RestStart()):
        // dropping CRs in place moves no NUL out of them.
        if (aroundNul && std::memchr(shared->bytes.data() + line.start, '\0', reader.RestStart() - line.start)) {
            shared->cells.resize(line.firstCell);
            ++spoiledLines;
            continue;
        }
        lines.push_back(line);
    }
    if (spoiled)
        *spoiled = spoiledLines;
    // Blank lines at the end (an editor's trailing newlines) are no rows: no
    // row follows them whose number they would keep, and in the bank they
    // would add empty questions.
    while (!lines.empty() && lines.back().shortLine)
        lines.pop_back();
    std::shared_ptr<const TextTableBytes> readOnly = std::move(shared);
    for (const TableLine& read : lines)
        table.emplace_hint(table.end(), static_cast<std::int32_t>(read.number - 1),
                           TextRow(readOnly, static_cast<std::uint32_t>(read.firstCell),
                                   static_cast<std::uint32_t>(read.cellCount)));
    return table;
}

} // namespace

TextTable ParseTableFile(std::string&& bytes)
{
    return ParseOwnedBytes(std::move(bytes));
}

TextTable ParseTableFile(const std::string& bytes)
{
    return ParseOwnedBytes(std::string(bytes));
}

TextTable ParseTableFileAroundNul(std::string&& bytes, std::size_t* spoiled)
{
    return ParseOwnedBytes(std::move(bytes), true, spoiled);
}

TextTable LoadTextTable(const std::string& fileName)
{
    std::string bytes;
    ReadRegularFile(fileName, bytes);
    return ParseOwnedBytes(std::move(bytes));
}

namespace {

// The table file text of the table, each line ended by lineEnd.
std::string TableText(const TextTable& table, std::string_view lineEnd)
{
    std::size_t total = 0;
    for (const auto& [number, row] : table)
        for (std::size_t j = 0; j < row.size(); ++j)
            total += row.Cell(j).size() + 3 + lineEnd.size();
    std::string text;
    text.reserve(total);
    for (const auto& [number, row] : table)
        AppendTableLine(text, row, lineEnd);
    return text;
}

} // namespace

std::string TableToText(const TextTable& table)
{
    return TableText(table, "\n");
}

std::string TableToFileBytes(const TextTable& table)
{
    return TableText(table, "\r\n");
}

bool TryWriteTextFile(const std::string& text, const std::string& fileName, FileError* error)
{
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n')
            bytes += '\r';
        bytes += c;
    }
    return ReplaceFile(fileName, bytes, error);
}

void WriteTextFile(const std::string& text, const std::string& fileName)
{
    if (!TryWriteTextFile(text, fileName))
        EndAfterFailedWrite();
}

std::vector<std::string> SplitText(const std::string& text, const std::string& marker)
{
    std::vector<std::string> pieces;
    if (marker.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    std::size_t start = 0;
    for (;;) {
        std::size_t at = text.find(marker, start);
        if (at == std::string::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, at - start));
        start = at + marker.size();
    }
}

std::string ReplaceAll(const std::string& text, const std::string& marker, const std::string& replacement)
{
    if (marker.empty())
        return text;
    std::string result;
    result.reserve(text.size());
    std::size_t start = 0;
    for (;;) {
        std::size_t at = text.find(marker, start);
        if (at == std::string::npos) {
            result.append(text, start, std::string::npos);
            return result;
        }
        result.append(text, start, at - start);
        result += replacement;
        start = at + marker.size();
    }
}

std::string EraseAll(const std::string& text, const std::string& marker)
{
    return ReplaceAll(text, marker, std::string());
}

std::int64_t FindText(const std::string& text, const std::string& marker, std::int64_t start)
{
    if (start < 0)
        start = 0;
    if (static_cast<std::uint64_t>(start) > text.size())
        return -1;
    std::size_t at = text.find(marker, static_cast<std::size_t>(start));
    return at == std::string::npos ? -1 : static_cast<std::int64_t>(at);
}

std::string SubText(const std::string& text, std::int64_t position, std::int64_t count)
{
    if (position < 0 || count <= 0 || static_cast<std::uint64_t>(position) >= text.size())
        return std::string();
    return text.substr(static_cast<std::size_t>(position), static_cast<std::size_t>(count));
}

std::string IntToText(std::int32_t value)
{
    return std::to_string(value);
}

std::int32_t TextToInt(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate in 64 bits and clamp, so a long digit run never overflows.
    std::int64_t value = 0;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT32_MIN) : INT32_MAX;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit)
            value = limit;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::string TimeToText(std::time_t t)
{
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm local {};
    // The text is 24 bytes only for four-digit years; a clock that far off
    // gives blanks rather than a longer date.
    if (!Platform::LocalTime(t, local) || local.tm_year + 1900 < 0 || local.tm_year + 1900 > 9999)
        return std::string(24, ' ');
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s %s %02d %02d:%02d:%02d %4d", kDays[local.tm_wday % 7],
                  kMonths[local.tm_mon % 12], local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  local.tm_year + 1900);
    return buffer;
}

std::string NowText()
{
    return TimeToText(Clock::Now());
}

bool DataFileExists(const std::string& fileName)
{
    Platform::FileKind kind;
    return Platform::Inspect(fileName, kind);
}
