#include "bank/BankSource.h"

#include "bank/BankStream.h"
#include "bank/JisTable.h"

#include "text/SafeFile.h"
#include "text/SjisCodec.h"
#include "data/ChoiceLabels.h"
#include "data/ToiBank.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <unordered_map>
#include <sys/stat.h>

namespace {

// No real bank comes near this; a bigger file is a wrong name, not a bank.
constexpr std::size_t kMaxFileBytes = 64u << 20;
constexpr char kCellBoundary[] = "\",\"";
constexpr char kLineMarker[] = "<$>";
constexpr int kMaxChoices = 8;

// Reads a whole file into a buffer sized for it first, so that a large bank
// is never copied while it grows.
bool ReadWhole(const std::string& fileName, std::string& bytes, std::string& reason)
{
    struct stat st {};
    if (::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0 &&
        static_cast<std::uint64_t>(st.st_size) <= kMaxFileBytes)
        bytes.reserve(static_cast<std::size_t>(st.st_size));
    FileError error;
    if (ReadRegularFile(fileName, bytes, &error, kMaxFileBytes))
        return true;
    reason = FileReason(error);
    return false;
}

std::string Hex(unsigned value, int digits)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%0*X", digits, value);
    return buffer;
}

std::string CodePoint(char32_t cp)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(cp));
    return buffer;
}

std::string Quoted(std::string_view utf8)
{
    return "\xC2\xAB" + std::string(utf8) + "\xC2\xBB"; // « »
}

// ---------------------------------------------------------------------------
// Characters a cell may hold.

// Why a well-formed Shift_JIS pair outside JIS X 0208 is refused, judged by
// its lead byte; nullptr for the leads of JIS X 0208 itself.
const char* ExtensionReason(unsigned lead)
{
    if (lead == 0x87)
        return "an NEC special character (row 13), not in JIS X 0208";
    if (lead == 0xED || lead == 0xEE || (lead >= 0xFA && lead <= 0xFC))
        return "an IBM extension character, not in JIS X 0208";
    if (lead >= 0xF0 && lead <= 0xF9)
        return "a user-defined character, not in JIS X 0208";
    if (lead == 0x85 || lead == 0x86 || (lead >= 0xEB && lead <= 0xEF))
        return "not a JIS X 0208 character";
    return nullptr;
}

// A two-byte code is assigned when it decodes and encodes back to itself;
// every code is tried once, so that checking a cell needs no conversion.
bool PairAssigned(unsigned char lead, unsigned char trail)
{
    return JisPairRoundTrips(lead, trail);
}

const char* AsciiFault(unsigned b)
{
    switch (b) {
    case '\r':
        return "a CR (carriage return): a bank cell cannot hold one";
    case '\n':
        return "a line feed: a bank cell cannot hold one (line breaks are written \"<$>\")";
    case '\0':
        return "a NUL byte: the program stops reading there";
    case '\t':
        return "a tab character";
    default:
        return (b < 0x20 || b == 0x7F) ? "a control character" : nullptr;
    }
}

std::string AtCharacter(std::size_t position)
{
    return "character " + std::to_string(position) + ": ";
}

// ---------------------------------------------------------------------------
// Cells.

void AppendCellFaults(std::string_view cell, std::vector<CellFault>& faults)
{
    std::size_t position = 0;
    for (std::size_t i = 0; i < cell.size();) {
        ++position;
        auto b = static_cast<unsigned char>(cell[i]);
        if (b >= 0x20 && b < 0x7F) {
            ++i;
        } else if (b < 0x80) {
            if (const char* fault = AsciiFault(b))
                faults.push_back({position, std::string(fault) + " (" + Hex(b, 2) + ")"});
            ++i;
        } else if (b >= 0xA1 && b <= 0xDF) {
            faults.push_back({position, "half-width katakana " + Quoted(SjisToUtf8(std::string(cell.substr(i, 1)))) +
                                            ": use full-width katakana"});
            ++i;
        } else if (!IsSjisLead(b)) {
            faults.push_back({position, "the byte " + Hex(b, 2) + " is not Shift_JIS"});
            ++i;
        } else if (i + 1 >= cell.size() || !IsSjisTrail(static_cast<unsigned char>(cell[i + 1]))) {
            faults.push_back({position, "the byte " + Hex(b, 2) + " starts no Shift_JIS character"});
            ++i;
        } else {
            const auto trail = static_cast<unsigned char>(cell[i + 1]);
            unsigned code = b << 8 | trail;
            if (JisPairClean(b, trail))
                ; // the usual case: a JIS X 0208 character
            else if (const char* reason = ExtensionReason(b))
                faults.push_back({position, Quoted(SjisToUtf8(std::string(cell.substr(i, 2)))) + " (" +
                                                Hex(code, 4) + ") is " + reason});
            else if (!PairAssigned(b, trail)) // an unassigned code inside the JIS X 0208 rows
                faults.push_back({position, Hex(code, 4) + " is not a JIS X 0208 character"});
            i += 2;
        }
    }
}

// The faults of a field that does not convert cleanly, and the nearest cell.
std::vector<CellFault> SlowFieldToCell(const std::string& field, std::string& cell)
{
    const std::string text = ReplaceAll(field, "\n", kLineMarker);
    bool controls = std::any_of(text.begin(), text.end(), [](char c) { return AsciiFault(static_cast<unsigned char>(c)); });
    if (!controls && Utf8ToSjis(text, cell) && SjisCellFaults(cell).empty() && SjisToUtf8(cell) == text)
        return {};

    std::vector<CellFault> faults;
    std::size_t position = 0;
    for (std::size_t i = 0; i < field.size();) {
        ++position;
        char32_t cp = 0;
        std::size_t length = Utf8CharLength(field, i, cp);
        if (length == 0) {
            faults.push_back({position, "the byte " + Hex(static_cast<unsigned char>(field[i]), 2) +
                                            " is not UTF-8: save the source as UTF-8"});
            ++i;
            continue;
        }
        const std::string one = field.substr(i, length);
        i += length;
        if (cp == '\n')
            continue;
        const std::string shown = Quoted(one) + " (" + CodePoint(cp) + ")";
        if (cp < 0x80) {
            if (const char* fault = AsciiFault(static_cast<unsigned>(cp)))
                faults.push_back({position, std::string(fault) + " (" + CodePoint(cp) + ")"});
            continue;
        }
        if (cp >= 0xFF61 && cp <= 0xFF9F) {
            faults.push_back({position, "half-width katakana " + shown + ": use full-width katakana"});
            continue;
        }
        std::string sjis;
        if (!Utf8ToSjis(one, sjis)) {
            faults.push_back({position, shown + " has no Shift_JIS form"});
            continue;
        }
        auto b = static_cast<unsigned char>(sjis[0]);
        if (sjis.size() == 2 && ExtensionReason(b)) {
            faults.push_back({position, shown + " is " + ExtensionReason(b)});
            continue;
        }
        std::string back = SjisToUtf8(sjis);
        if (back != one)
            faults.push_back({position, shown + " would turn into " + Quoted(back) + " in the bank"});
    }
    if (faults.empty())
        faults.push_back({1, "the text does not convert to Shift_JIS exactly"});
    // The closest text the bank could hold, so the row's other checks still
    // see the cell (an unconvertible character reads as "?").
    Utf8ToSjis(text, cell);
    return faults;
}

// Appends the bank cell of one CSV field (line breaks as LF) and returns its
// faults. Text of plain characters goes through the table; anything else
// takes the careful way, which names each fault.
std::vector<CellFault> AppendFieldAsCell(std::string_view field, std::string& out)
{
    const std::size_t start = out.size();
    bool clean = true, breaks = false;
    for (char c : field) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '\n')
            breaks = true;
        else if (b < 0x20 || b == 0x7F)
            clean = false;
    }
    if (clean && !breaks) {
        clean = AppendUtf8AsJisCell(field, out);
    } else {
        for (std::size_t i = 0; clean && i < field.size();) {
            std::size_t end = field.find('\n', i);
            if (end == std::string_view::npos)
                end = field.size();
            clean = AppendUtf8AsJisCell(field.substr(i, end - i), out);
            if (clean && end < field.size())
                out += kLineMarker;
            i = end + 1;
        }
    }
    if (clean)
        return {};
    out.resize(start);
    std::string cell;
    std::vector<CellFault> faults = SlowFieldToCell(std::string(field), cell);
    out += cell;
    return faults;
}

// Packs the cells of a row into one buffer with their start offsets.
CellsView PackRow(const TextRow& cells, std::string& buffer, std::vector<std::uint32_t>& starts)
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

// ---------------------------------------------------------------------------
// CSV sources.

// Reads RFC 4180 records field by field. A field's text is valid until the
// next field is read.
class CsvReader {
public:
    CsvReader(const std::string& file, std::string_view bytes, std::vector<BankProblem>& problems)
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
    void Report(int column, const std::string& message) { problems_.push_back({file_, recordLine_, column, message}); }

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
    std::vector<BankProblem>& problems_;
    std::size_t i_ = 0;
    std::int64_t line_ = 1;
    std::int64_t recordLine_ = 1;
    std::string built_;
};

// Reports cells the table file would cut in other places than between them.
void CheckCellBoundaries(const std::string& file, std::int64_t line, const CellsView& cells,
                         std::vector<BankProblem>& problems)
{
    bool inside = false;
    bool quotes = false;
    for (std::size_t j = 0; j < cells.size(); ++j) {
        const std::string_view cell = cells[j];
        if (cell.find(kCellBoundary) != std::string_view::npos) {
            problems.push_back({file, line, static_cast<int>(j) + 1,
                                "holds the three characters \",\" which end a cell in the bank file"});
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
            problems.push_back({file, line, static_cast<int>(j) + 1,
                                "a double quote next to a comma at the edge of this field would be read "
                                "as a cell boundary in the bank file"});
            return;
        }
    }
}

// ---------------------------------------------------------------------------
// Bank files.

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

// The table exactly as LoadTextTable builds it from these bytes.
TextTable LoaderTable(const std::string& bytes)
{
    // The loader stops at the first NUL byte, as reading the file does.
    return ParseTableFile(bytes.substr(0, bytes.find('\0')));
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

// Runs the program's loader over clean bank data a block of lines at a time
// and tells the line of the first row it reads differently (0 when it reads
// more rows than there are); -1 when it reads them all the same. A line
// longer than a block is given to the loader in pieces of whole cells, which
// it reads independently as it does lines.
std::int64_t FirstRowLoadedDifferently(std::string_view data)
{
    // Small enough that the loader's table of one block stays small even
    // when its cells are a byte each.
    constexpr std::size_t kBlock = 256 << 10;
    std::string block;
    std::vector<std::int64_t> pieceLines; // the file line of each line of the block
    // Loads the block and compares; the line of the first difference, or -1.
    auto compare = [&](std::int64_t nextLine) -> std::int64_t {
        const TextTable loaded = LoaderTable(block);
        CleanBankRows expected(block);
        RowView piece;
        std::size_t index = 0;
        for (const auto& [number, cells] : loaded) {
            if (!expected.Next(piece))
                return nextLine;
            bool same = cells.size() == piece.cells.size();
            for (std::size_t j = 0; same && j < cells.size(); ++j)
                same = cells[j] == piece.cells[j];
            if (!same)
                return pieceLines[index];
            ++index;
        }
        const std::int64_t missing = index < pieceLines.size() ? pieceLines[index] : -1;
        block.clear();
        pieceLines.clear();
        return missing;
    };
    std::int64_t lineNo = 0;
    for (std::size_t pos = 0; pos < data.size();) {
        ++lineNo;
        const std::size_t lf = data.find('\n', pos);
        const std::size_t end = lf == std::string_view::npos ? data.size() : lf + 1;
        const std::string_view line = data.substr(pos, end - pos);
        pos = end;
        const bool more = pos < data.size();
        std::int64_t found = -1;
        if (line.size() <= kBlock) {
            block += line;
            pieceLines.push_back(lineNo);
        } else {
            // Pieces of whole cells, each in its own quotes: a piece ends at
            // the last cell boundary within a block's length of its start.
            const std::string_view inner = line.substr(1, line.size() - 4);
            for (std::size_t from = 0; found < 0 && from <= inner.size();) {
                std::size_t to = inner.size();
                if (inner.size() - from > kBlock) {
                    const std::size_t cut = inner.rfind(kCellBoundary, from + kBlock);
                    to = cut == std::string_view::npos || cut < from ? inner.find(kCellBoundary, from) : cut;
                    if (to == std::string_view::npos)
                        to = inner.size();
                }
                block += '"';
                block += inner.substr(from, to - from);
                block += "\"\r\n";
                pieceLines.push_back(lineNo);
                from = to + 3;
                if (block.size() >= kBlock && from <= inner.size())
                    found = compare(lineNo);
            }
        }
        if (found < 0 && (block.size() >= kBlock || !more))
            found = compare(more ? lineNo + 1 : 0);
        if (found >= 0)
            return found;
    }
    return -1;
}

// ---------------------------------------------------------------------------
// Content.

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A plain decimal is what IntToText writes for a number of 0 or more.
bool PlainDecimal(std::string_view text, int& value)
{
    if (!AllDigits(text) || (text.size() > 1 && text[0] == '0') || text.size() > 10)
        return false;
    long long number = 0;
    for (char c : text)
        number = number * 10 + (c - '0');
    if (number > INT32_MAX)
        return false;
    value = static_cast<int>(number);
    return true;
}

// Keys seen so far and where, compact enough for millions of questions.
// While the keys come in ascending order (shorter keys first, then by their
// digits), as banks are usually written, a new key cannot repeat an earlier
// one and no table is needed; the first key out of order builds it.
class KeyPlaces {
public:
    struct Place {
        std::uint64_t offset : 40; // into keys_
        std::uint64_t fileIndex : 24;
        std::uint32_t length;
        std::uint32_t line;
    };

    // The earlier place of the key, or nullptr after recording this one.
    const Place* Insert(std::string_view key, std::size_t fileIndex, std::int64_t line)
    {
        if (slots_.empty()) {
            if (places_.empty() || Before(KeyOf(places_.back()), key)) {
                Record(key, fileIndex, line);
                return nullptr;
            }
            Grow();
        }
        if ((places_.size() + 1) * 2 > slots_.size())
            Grow();
        const std::size_t mask = slots_.size() - 1;
        const std::size_t hash = std::hash<std::string_view>()(key);
        const std::uint64_t tag = static_cast<std::uint64_t>(hash >> 32) << 32;
        for (std::size_t s = hash & mask;; s = (s + 1) & mask) {
            const std::uint64_t slot = slots_[s];
            if (slot == 0) {
                Record(key, fileIndex, line);
                slots_[s] = tag | places_.size();
                return nullptr;
            }
            if ((slot & ~0xFFFFFFFFull) != tag)
                continue;
            const Place& place = places_[(slot & 0xFFFFFFFFu) - 1];
            if (KeyOf(place) == key)
                return &place;
        }
    }

    std::string_view KeyOf(const Place& place) const { return std::string_view(keys_).substr(place.offset, place.length); }

private:
    static bool Before(std::string_view a, std::string_view b)
    {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    }

    void Record(std::string_view key, std::size_t fileIndex, std::int64_t line)
    {
        Place place {};
        place.offset = keys_.size();
        place.fileIndex = fileIndex;
        place.length = static_cast<std::uint32_t>(key.size());
        place.line = static_cast<std::uint32_t>(line);
        places_.push_back(place);
        keys_ += key;
    }

    void Grow()
    {
        std::size_t size = 1024;
        while (size < (places_.size() + 1) * 2)
            size *= 2;
        std::vector<std::uint64_t> slots(std::max(size, slots_.size() * 2));
        const std::size_t mask = slots.size() - 1;
        for (std::size_t i = 0; i < places_.size(); ++i) {
            const std::size_t hash = std::hash<std::string_view>()(KeyOf(places_[i]));
            std::size_t s = hash & mask;
            while (slots[s] != 0)
                s = (s + 1) & mask;
            slots[s] = static_cast<std::uint64_t>(hash >> 32) << 32 | (i + 1);
        }
        slots_.swap(slots);
    }

    std::deque<Place> places_;
    // Per slot: the upper half of the key's hash, then index + 1 into
    // places_ in the lower half; 0 when free. Empty while keys ascend.
    std::vector<std::uint64_t> slots_;
    std::string keys_;
};

} // namespace

struct BankContentCheck::Impl {
    Impl(const std::vector<std::string>& files, const BankCheckOptions& options) : files_(files), options_(options) {}

    const std::string& FileName(std::size_t fileIndex) const
    {
        static const std::string kNone;
        return fileIndex < files_.size() ? files_[fileIndex] : kNone;
    }

    void Report(const std::string& file, std::int64_t line, int column, const std::string& message)
    {
        problems_.push_back({file, line, column, message});
    }

    void Report(const RowView& row, int column, const std::string& message)
    {
        Report(FileName(row.fileIndex), row.line, column, message);
    }

    void Row(const RowView& row)
    {
        if (rows_++ == 0) {
            headerFile_ = row.fileIndex;
            headerLine_ = row.line;
            if (row.readable && !row.cells.empty() && AllDigits(row.cells[0]))
                Report(row, 1, "the first row is the header row, but this one looks like a question "
                               "(its first cell is a number)");
            return;
        }
        if (row.readable)
            CheckQuestion(row);
    }

    std::vector<BankProblem> Finish(bool textProblems)
    {
        if (rows_ == 0) {
            // An unreadable or empty file has been reported already.
            if (!textProblems)
                Report(files_.empty() ? std::string() : files_.front(), 0, 0,
                       "no rows: a bank needs a header row and at least one question row");
        } else if (rows_ == 1) {
            Report(FileName(headerFile_), headerLine_, 0, "the bank has no question rows");
        }
        return std::move(problems_);
    }

    // Columns 4..7; -1 when the cell is missing or not a plain decimal.
    int Number(const RowView& row, int column, const char* what)
    {
        if (static_cast<std::size_t>(column) >= row.cells.size())
            return -1;
        int value = 0;
        if (!PlainDecimal(row.cells[column], value)) {
            Report(row, column + 1,
                   std::string(what) + " must be a plain decimal number, not " +
                       Quoted(SjisToUtf8(std::string(row.cells[column]))));
            return -1;
        }
        return value;
    }

    void CheckQuestion(const RowView& row)
    {
        const CellsView& cells = row.cells;
        ++summary.questions;
        if (cells.size() != ToiColumn::Count)
            Report(row, static_cast<int>(std::min(cells.size(), std::size_t(ToiColumn::Count))) + 1,
                   std::to_string(cells.size()) + " cells: a question row has exactly 8 (key, question, "
                                                  "explanation, answer, choices, label set, question picture, "
                                                  "explanation picture)");
        auto cell = [&](int column) -> std::string_view {
            return static_cast<std::size_t>(column) < cells.size() ? cells[column] : std::string_view();
        };

        const std::string_view key = cell(ToiColumn::Key);
        bool keyUsable = AllDigits(key);
        if (!keyUsable) {
            Report(row, 1, key.empty() ? std::string("the key is empty")
                                       : "the key must be digits only, not " + Quoted(SjisToUtf8(std::string(key))));
        } else if (const KeyPlaces::Place* earlier = keys_.Insert(key, row.fileIndex, row.line)) {
            Report(row, 1, "the key " + std::string(key) + " is also used at " + FileName(earlier->fileIndex) + ":" +
                               std::to_string(earlier->line));
        }

        int choices = Number(row, ToiColumn::ChoiceCount, "the number of choices");
        int labels = Number(row, ToiColumn::LabelSet, "the label set");
        int toiPicture = Number(row, ToiColumn::ToiPicture, "the question picture flag");
        int kaisetuPicture = Number(row, ToiColumn::KaisetuPicture, "the explanation picture flag");
        if (choices > kMaxChoices)
            Report(row, ToiColumn::ChoiceCount + 1,
                   std::to_string(choices) + " choices: the program has only 8 check boxes");
        else if (choices == 1)
            Report(row, ToiColumn::ChoiceCount + 1,
                   "1 choice is read as a typed question: write 0 for a typed question, 2 to 8 for choices");
        if (labels >= 0 && !ChoiceLabels::IsLabelSet(labels))
            Report(row, ToiColumn::LabelSet + 1, "the label set must be 0, 1, 2 or 3");
        if (toiPicture > 1)
            Report(row, ToiColumn::ToiPicture + 1, "the question picture flag must be 0 or 1");
        if (kaisetuPicture > 1)
            Report(row, ToiColumn::KaisetuPicture + 1, "the explanation picture flag must be 0 or 1");

        if (cell(ToiColumn::Text).empty())
            Report(row, ToiColumn::Text + 1, "the question text is empty");
        if (cell(ToiColumn::KaisetuText).empty() && kaisetuPicture == 0)
            Report(row, ToiColumn::KaisetuText + 1, "the explanation text is empty");

        if (choices >= 2) {
            ++summary.choiceQuestions;
            CheckChoiceAnswer(row, cell(ToiColumn::Seikai), choices);
        } else if (choices >= 0) {
            ++summary.typedQuestions;
            CheckTypedAnswer(row, cell(ToiColumn::Seikai));
        }

        if (toiPicture == 1) {
            ++summary.pictures;
            if (keyUsable)
                CheckPicture(row, ToiColumn::ToiPicture, PictureFileName('m', std::string(key)));
        }
        if (kaisetuPicture == 1) {
            ++summary.pictures;
            if (keyUsable)
                CheckPicture(row, ToiColumn::KaisetuPicture, PictureFileName('k', std::string(key)));
        }
    }

    void CheckChoiceAnswer(const RowView& row, std::string_view answer, int choices)
    {
        const int column = ToiColumn::Seikai + 1;
        if (answer.empty()) {
            Report(row, column, "the answer is empty: a choice question needs the numbers of its correct boxes");
            return;
        }
        int previous = 0;
        for (std::size_t from = 0;;) {
            std::size_t end = answer.find('_', from);
            const std::string_view piece = answer.substr(from, end == std::string_view::npos ? answer.npos : end - from);
            int box = 0;
            if (!PlainDecimal(piece, box) || box == 0) {
                Report(row, column, "the answer " + Quoted(SjisToUtf8(std::string(answer))) +
                                        " must be box numbers joined by \"_\", such as 2 or 1_3");
                return;
            }
            if (box <= previous) {
                Report(row, column, "the answer " + Quoted(SjisToUtf8(std::string(answer))) +
                                        " must list its box numbers once each, in ascending order");
                return;
            }
            if (box > choices) {
                Report(row, column, "the answer names box " + std::to_string(box) + " but there are only " +
                                        std::to_string(choices) + " choices");
                return;
            }
            previous = box;
            if (end == std::string_view::npos)
                return;
            from = end + 1;
        }
    }

    void CheckTypedAnswer(const RowView& row, std::string_view answer)
    {
        const int column = ToiColumn::Seikai + 1;
        static const std::string_view kWideBlank = "\x81\x40"; // full-width blank
        // The last character starts after the last lead byte's pair, so walk.
        std::size_t last = 0;
        for (std::size_t i = 0; i < answer.size(); i += IsSjisLead(static_cast<unsigned char>(answer[i])) ? 2 : 1)
            last = i;
        auto blankAt = [&](std::size_t at) {
            return answer.substr(at, 1) == " " || answer.substr(at, 2) == kWideBlank;
        };
        if (answer.empty())
            Report(row, column, "the answer is empty");
        else if (answer.find(kLineMarker) != std::string_view::npos)
            Report(row, column, "a typed answer cannot hold a line break: the answer box has one line");
        else if (blankAt(0) || blankAt(last))
            Report(row, column, "the answer starts or ends with a blank: the learner's text is compared unchanged");
    }

    void CheckPicture(const RowView& row, int column, const std::string& name)
    {
        if (!options_.decodePicture)
            return;
        std::string path = options_.pictureFolder.empty() ? name : options_.pictureFolder + "/" + name;
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            Report(row, column + 1, "the picture " + name + " is missing in " +
                                        (options_.pictureFolder.empty() ? std::string(".") : options_.pictureFolder));
            return;
        }
        std::string reason;
        PictureSize size;
        if (!options_.decodePicture(path, reason, size)) {
            Report(row, column + 1, "the picture " + path + " cannot be shown: " + reason);
            return;
        }
        const long long shown = QuestionPictureShownHeight(size);
        if (column == ToiColumn::ToiPicture && shown > kQuestionBoxHeight) {
            const long long fits = static_cast<long long>(kQuestionBoxHeight) * size.width / kQuestionPictureShownWidth;
            Report(row, column + 1,
                   "the question picture " + name + " (" + std::to_string(size.width) + " x " +
                       std::to_string(size.height) + ") is shown " + std::to_string(shown) +
                       " px high, taller than the question box (" + std::to_string(kQuestionBoxHeight) +
                       " px): the learner would have to scroll under the countdown; at this width make it at most " +
                       std::to_string(fits) + " px high");
        }
    }

    const std::vector<std::string>& files_;
    const BankCheckOptions& options_;
    std::vector<BankProblem> problems_;
    KeyPlaces keys_;
    BankSummary summary;
    std::size_t rows_ = 0;
    std::size_t headerFile_ = 0;
    std::int64_t headerLine_ = 0;
};

namespace {

// One field from the UTF-8 text of a cell: "<$>" as a line break, quoted
// when it needs it.
void AppendCsvField(std::string_view utf8, bool onlyField, std::string& csv)
{
    bool quote = utf8.empty() ? onlyField // a lone empty field would read as a blank line
                              : utf8.front() == ' ' || utf8.back() == ' ';
    for (std::size_t i = 0; !quote && i < utf8.size(); ++i) {
        const char c = utf8[i];
        quote = c == ',' || c == '"' || c == '\r' || c == '\n' || (c == '<' && utf8.substr(i, 3) == kLineMarker);
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
        } else if (utf8.substr(at, 3) == kLineMarker) {
            csv += '\n';
            i = at + 3;
        } else {
            csv += '<';
            i = at + 1;
        }
    }
    csv += '"';
}

} // namespace

// ---------------------------------------------------------------------------
// Rows one at a time.

TextRow CellsView::ToRow() const
{
    TextRow row;
    row.reserve(size());
    for (std::size_t j = 0; j < size(); ++j)
        row.emplace_back((*this)[j]);
    return row;
}

bool CellsView::operator==(const CellsView& other) const
{
    if (size() != other.size())
        return false;
    for (std::size_t j = 0; j < size(); ++j)
        if ((*this)[j] != other[j])
            return false;
    return true;
}

bool CleanBankRows::NextInner(std::string_view& inner)
{
    if (pos_ >= data_.size())
        return false;
    std::size_t lf = data_.find('\n', pos_);
    const std::size_t end = lf == std::string_view::npos ? data_.size() : lf + 1;
    last_ = data_.substr(pos_, end - pos_);
    pos_ = end;
    ++line_;
    std::string_view line = last_;
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

void ScanBankBytes(const std::string& fileName, std::string_view bytes, std::vector<BankProblem>& textProblems,
                   const RowVisitor& visit, bool compareWithLoader)
{
    const std::size_t problemsBefore = textProblems.size();
    auto report = [&](std::int64_t line, int column, const std::string& message) {
        textProblems.push_back({fileName, line, column, message});
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
                AppendCellFaults(row.cells[j], faults);
                for (const CellFault& fault : faults)
                    report(lineNo, static_cast<int>(j) + 1, AtCharacter(fault.position) + fault.message);
            }
        }
        if (ended)
            visit(row);
    }

    // With the text clean, this reading must be the loader's; if not, the
    // loader is what the learner sees.
    if (compareWithLoader && textProblems.size() == problemsBefore) {
        const std::int64_t line = FirstRowLoadedDifferently(data);
        if (line >= 0)
            report(line, 0, "the program's loader reads this row differently");
    }
}

void CsvSourceScanner::Add(const std::string& name, std::string_view bytes)
{
    const std::size_t fileIndex = files.size();
    files.push_back(name);
    std::vector<BankProblem> syntax, conversion;
    CsvReader reader(name, bytes, syntax);
    std::string cells;
    std::vector<std::uint32_t> starts;
    std::int64_t line = 0;
    bool first = true;
    while (reader.BeginRecord(line)) {
        cells.clear();
        starts.clear();
        if (const std::string_view rest = reader.RestOfLine(); rest.size() > (64u << 10)) {
            // A long record's offsets are sized once, from its commas.
            starts.reserve(std::count(rest.begin(), rest.end(), ',') + 2);
            cells.reserve(rest.size());
        }
        bool clean = true;
        int column = 0;
        do {
            ++column;
            starts.push_back(static_cast<std::uint32_t>(cells.size()));
            for (const CellFault& fault : AppendFieldAsCell(reader.Field(column), cells)) {
                conversion.push_back({name, line, column, AtCharacter(fault.position) + fault.message});
                clean = false;
            }
        } while (reader.NextField(column));
        starts.push_back(static_cast<std::uint32_t>(cells.size()));
        RowView row;
        row.fileIndex = fileIndex;
        row.line = line;
        row.cells = CellsView(cells.data(), &starts, 0);
        if (clean)
            CheckCellBoundaries(name, line, row.cells, conversion);
        const bool header = first;
        first = false;
        if (header && haveHeader_) {
            // Each later file repeats the bank's header row, which is skipped.
            const CellsView& cellsNow = row.cells;
            std::size_t j = 0;
            while (j < cellsNow.size() && j < header_.size() && cellsNow[j] == header_[j])
                ++j;
            if (j != cellsNow.size() || j != header_.size())
                conversion.push_back({name, line, static_cast<int>(j) + 1,
                                      "the header row differs from the header row of " + files[headerFile_]});
            continue;
        }
        if (!haveHeader_) {
            haveHeader_ = true;
            headerFile_ = fileIndex;
            header_ = row.cells.ToRow();
        }
        visit_(row);
    }
    textProblems.insert(textProblems.end(), syntax.begin(), syntax.end());
    textProblems.insert(textProblems.end(), conversion.begin(), conversion.end());
    if (first)
        textProblems.push_back({name, 0, 0, "the file is empty: it needs at least the header row"});
}

void CsvSourceScanner::AddUnreadable(const std::string& name, const std::string& reason)
{
    files.push_back(name);
    unreadable_.push_back({name, 0, 0, "cannot read the file: " + reason});
}

void CsvSourceScanner::Finish()
{
    textProblems.insert(textProblems.begin(), unreadable_.begin(), unreadable_.end());
    unreadable_.clear();
}

BankContentCheck::BankContentCheck(const std::vector<std::string>& files, const BankCheckOptions& options)
    : impl_(new Impl(files, options))
{
}

BankContentCheck::~BankContentCheck()
{
    delete impl_;
}

void BankContentCheck::Row(const RowView& row)
{
    impl_->Row(row);
}

std::vector<BankProblem> BankContentCheck::Finish(bool textProblems, BankSummary* summary)
{
    if (summary)
        *summary = impl_->summary;
    return impl_->Finish(textProblems);
}

std::vector<BankProblem> AllProblems(const std::vector<std::string>& files, std::vector<BankProblem> all,
                                     const std::vector<BankProblem>& content)
{
    all.insert(all.end(), content.begin(), content.end());
    std::unordered_map<std::string, std::size_t> order;
    for (std::size_t f = files.size(); f-- > 0;)
        order[files[f]] = f; // the first of equal names wins
    auto fileOrder = [&](const std::string& file) {
        auto it = order.find(file);
        return it == order.end() ? files.size() : it->second;
    };
    std::vector<std::pair<std::size_t, std::size_t>> keys; // (file order, index)
    keys.reserve(all.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        keys.emplace_back(fileOrder(all[i].file), i);
    std::stable_sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
        if (a.first != b.first)
            return a.first < b.first;
        const BankProblem& pa = all[a.second];
        const BankProblem& pb = all[b.second];
        if (pa.line != pb.line)
            return pa.line < pb.line;
        return pa.column < pb.column;
    });
    std::vector<BankProblem> sorted;
    sorted.reserve(all.size());
    for (const auto& key : keys)
        sorted.push_back(std::move(all[key.second]));
    return sorted;
}

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

bool AppendCsvRecord(std::int64_t number, const CellsView& cells, std::string& csv, std::string* error)
{
    std::string utf8;
    for (std::size_t j = 0; j < cells.size(); ++j) {
        const std::string_view cell = cells[j];
        utf8.clear();
        if (!AppendJisCellAsUtf8(cell, utf8)) {
            const std::string text(cell);
            utf8 = SjisToUtf8(text);
            std::string back;
            if (!Utf8ToSjis(utf8, back) || back != text) {
                if (error)
                    *error = "row " + std::to_string(number) + ", cell " + std::to_string(j + 1) +
                             " is not valid Shift_JIS";
                return false;
            }
        }
        AppendCsvField(utf8, cells.size() == 1, csv);
        csv += j + 1 < cells.size() ? ',' : '\n';
    }
    return true;
}

void AppendBankLine(const CellsView& cells, std::string& bank)
{
    for (std::size_t j = 0; j < cells.size(); ++j) {
        bank += '"';
        bank += cells[j];
        bank += '"';
        bank += j + 1 < cells.size() ? "," : "\r\n";
    }
}

// ---------------------------------------------------------------------------
// Whole banks.

long long QuestionPictureShownHeight(const PictureSize& size)
{
    if (size.width <= 0 || size.height <= 0)
        return 0;
    // The window's own arithmetic: the height scaled in proportion, truncated.
    return static_cast<long long>(size.height) * kQuestionPictureShownWidth / size.width;
}

std::string FormatProblem(const BankProblem& problem)
{
    std::string text = problem.file;
    if (problem.line > 0) {
        text += ":" + std::to_string(problem.line);
        if (problem.column > 0)
            text += ":" + std::to_string(problem.column);
    }
    return text + ": " + problem.message;
}

std::vector<CellFault> SjisCellFaults(const std::string& cell)
{
    std::vector<CellFault> faults;
    AppendCellFaults(cell, faults);
    return faults;
}

std::vector<CellFault> Utf8FieldToCell(const std::string& field, std::string& cell)
{
    cell.clear();
    return AppendFieldAsCell(field, cell);
}

namespace {

RowVisitor Collector(BankRows& bank)
{
    return [&bank](const RowView& row) { bank.rows.push_back({row.fileIndex, row.line, row.cells.ToRow(), row.readable}); };
}

} // namespace

BankRows ParseCsvSources(const std::vector<std::pair<std::string, std::string>>& sources)
{
    BankRows bank;
    CsvSourceScanner scanner(bank.files, Collector(bank));
    for (const auto& [name, bytes] : sources)
        scanner.Add(name, bytes);
    scanner.Finish();
    bank.textProblems = std::move(scanner.textProblems);
    return bank;
}

BankRows ReadCsvSources(const std::vector<std::string>& fileNames)
{
    BankRows bank;
    CsvSourceScanner scanner(bank.files, Collector(bank));
    for (const std::string& name : fileNames) {
        std::string bytes, reason;
        if (ReadWhole(name, bytes, reason))
            scanner.Add(name, bytes);
        else
            scanner.AddUnreadable(name, reason);
    }
    scanner.Finish();
    bank.textProblems = std::move(scanner.textProblems);
    return bank;
}

BankRows ParseBankBytes(const std::string& fileName, const std::string& bytes)
{
    BankRows bank;
    bank.files.push_back(fileName);
    ScanBankBytes(fileName, bytes, bank.textProblems, Collector(bank));
    return bank;
}


bool ReadBankBytes(const std::string& fileName, std::string& bytes, std::vector<BankProblem>& textProblems)
{
    std::string reason;
    if (ReadWhole(fileName, bytes, reason))
        return true;
    textProblems.push_back({fileName, 0, 0, "cannot read the file: " + reason});
    return false;
}

bool ReadCsvBytes(const std::string& fileName, std::string& bytes, std::string& reason)
{
    return ReadWhole(fileName, bytes, reason);
}

BankRows ReadBankFile(const std::string& fileName)
{
    BankRows bank;
    bank.files.push_back(fileName);
    std::string bytes;
    if (ReadBankBytes(fileName, bytes, bank.textProblems))
        ScanBankBytes(fileName, bytes, bank.textProblems, Collector(bank));
    return bank;
}

std::vector<BankProblem> CheckBankContent(const BankRows& bank, const BankCheckOptions& options,
                                          BankSummary* summary)
{
    BankContentCheck check(bank.files, options);
    std::string buffer;
    std::vector<std::uint32_t> starts;
    for (const BankRow& row : bank.rows)
        check.Row({row.fileIndex, row.line, PackRow(row.cells, buffer, starts), row.readable});
    return check.Finish(!bank.textProblems.empty(), summary);
}

std::vector<BankProblem> AllProblems(const BankRows& bank, const std::vector<BankProblem>& content)
{
    return AllProblems(bank.files, bank.textProblems, content);
}

TextTable BankTable(const BankRows& bank)
{
    TextTable table;
    std::int32_t number = 0;
    for (const BankRow& row : bank.rows)
        table[number++] = row.cells;
    return table;
}

bool BankTableToCsv(const TextTable& table, std::string& csv, std::string* error)
{
    csv.clear();
    std::string buffer;
    std::vector<std::uint32_t> starts;
    for (const auto& [number, cells] : table)
        if (!AppendCsvRecord(number, PackRow(cells, buffer, starts), csv, error))
            return false;
    return true;
}
