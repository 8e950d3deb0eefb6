#include "bank/BankSource.h"

#include "text/SjisCodec.h"
#include "data/ToiBank.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <sys/stat.h>

namespace {

// No real bank comes near this; a bigger file is a wrong name, not a bank.
constexpr std::size_t kMaxFileBytes = 64u << 20;
constexpr char kCellBoundary[] = "\",\"";
constexpr char kLineMarker[] = "<$>";
constexpr int kMaxChoices = 8;

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

std::string Quoted(const std::string& utf8)
{
    return "\xC2\xAB" + utf8 + "\xC2\xBB"; // « »
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

// A two-byte code is assigned when it decodes and encodes back to itself.
bool PairRoundTrips(const std::string& pair)
{
    std::string utf8;
    return SjisToUtf8Exactly(pair, utf8);
}

// Every two-byte code tried once, on first use, so that checking a cell needs
// no conversion at all.
bool PairAssigned(unsigned char lead, unsigned char trail)
{
    static const std::vector<bool> assigned = [] {
        std::vector<bool> table(0x10000);
        for (unsigned l = 0x81; l <= 0xFC; ++l)
            for (unsigned t = 0x40; t <= 0xFC; ++t)
                if (IsSjisLead(l) && IsSjisTrail(t))
                    table[l << 8 | t] = PairRoundTrips(std::string {static_cast<char>(l), static_cast<char>(t)});
        return table;
    }();
    return assigned[static_cast<unsigned>(lead) << 8 | trail];
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

// Decodes one UTF-8 character at i; 0 when the bytes there are not UTF-8.
std::size_t Utf8Length(const std::string& s, std::size_t i, char32_t& cp)
{
    auto b = static_cast<unsigned char>(s[i]);
    std::size_t length = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
    if (length == 0 || i + length > s.size())
        return 0;
    cp = length == 1 ? b : length == 2 ? (b & 0x1F) : length == 3 ? (b & 0x0F) : (b & 0x07);
    for (std::size_t k = 1; k < length; ++k) {
        auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    static const char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMinimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

// ---------------------------------------------------------------------------
// CSV sources.

struct CsvRecord {
    std::int64_t line = 0;
    std::vector<std::string> fields; // UTF-8, line breaks as LF
};

class CsvParser {
public:
    CsvParser(const std::string& file, const std::string& bytes, std::vector<BankProblem>& problems)
        : file_(file), s_(bytes), problems_(problems)
    {
    }

    std::vector<CsvRecord> Records()
    {
        std::vector<CsvRecord> records;
        if (s_.compare(0, 3, "\xEF\xBB\xBF") == 0)
            i_ = 3; // a byte-order mark some editors put first
        while (i_ < s_.size()) {
            // Blank lines between records carry nothing.
            if (s_[i_] == '\n' || s_.compare(i_, 2, "\r\n") == 0) {
                i_ += s_[i_] == '\n' ? 1 : 2;
                ++line_;
                continue;
            }
            records.push_back(Record());
        }
        return records;
    }

private:
    void Report(std::int64_t line, int column, const std::string& message)
    {
        problems_.push_back({file_, line, column, message});
    }

    bool AtFieldEnd() const { return i_ >= s_.size() || s_[i_] == ',' || s_[i_] == '\n' || s_[i_] == '\r'; }

    CsvRecord Record()
    {
        CsvRecord record;
        record.line = line_;
        for (;;) {
            record.fields.push_back(Field(record.line, static_cast<int>(record.fields.size()) + 1));
            if (i_ >= s_.size())
                return record;
            char c = s_[i_++];
            if (c == ',')
                continue;
            ++line_;
            if (c == '\r') {
                if (i_ < s_.size() && s_[i_] == '\n')
                    ++i_;
                else
                    Report(record.line, static_cast<int>(record.fields.size()),
                           "a line ends in CR alone: end lines with LF or CR LF");
            }
            return record;
        }
    }

    std::string Field(std::int64_t recordLine, int column)
    {
        std::string field;
        if (i_ < s_.size() && s_[i_] == '"') {
            ++i_;
            bool closed = false;
            while (i_ < s_.size()) {
                char c = s_[i_];
                if (c == '"') {
                    if (i_ + 1 < s_.size() && s_[i_ + 1] == '"') {
                        field += '"';
                        i_ += 2;
                        continue;
                    }
                    ++i_;
                    closed = true;
                    break;
                }
                if (c == '\n' || s_.compare(i_, 2, "\r\n") == 0) {
                    // A line break inside the field: one break, whichever line end.
                    i_ += c == '\n' ? 1 : 2;
                    ++line_;
                    field += '\n';
                    continue;
                }
                field += c;
                ++i_;
            }
            if (!closed) {
                Report(recordLine, column, "the double quote that opens this field is never closed");
                return field;
            }
            if (!AtFieldEnd()) {
                Report(recordLine, column,
                       "text after the closing double quote: write a double quote inside a quoted field as \"\"");
                while (!AtFieldEnd())
                    field += s_[i_++];
            }
            return field;
        }
        bool reported = false;
        while (!AtFieldEnd()) {
            if (s_[i_] == '"' && !reported) {
                Report(recordLine, column,
                       "a double quote in a field not enclosed in double quotes: enclose the field in "
                       "double quotes and write the quote as \"\"");
                reported = true;
            }
            field += s_[i_++];
        }
        return field;
    }

    const std::string& file_;
    const std::string& s_;
    std::vector<BankProblem>& problems_;
    std::size_t i_ = 0;
    std::int64_t line_ = 1;
};

// Reports cells the table file would cut in other places than between them.
void CheckCellBoundaries(const std::string& file, const BankRow& row, std::vector<BankProblem>& problems)
{
    bool inside = false;
    for (std::size_t j = 0; j < row.cells.size(); ++j) {
        if (row.cells[j].find(kCellBoundary) != std::string::npos) {
            problems.push_back({file, row.line, static_cast<int>(j) + 1,
                                "holds the three characters \",\" which end a cell in the bank file"});
            inside = true;
        }
    }
    if (inside)
        return;
    std::string joined;
    for (std::size_t j = 0; j < row.cells.size(); ++j)
        joined += (j ? kCellBoundary : "") + row.cells[j];
    std::vector<std::string> read = SplitText(joined, kCellBoundary);
    for (std::size_t j = 0; j < row.cells.size(); ++j) {
        if (j >= read.size() || read[j] != row.cells[j]) {
            problems.push_back({file, row.line, static_cast<int>(j) + 1,
                                "a double quote next to a comma at the edge of this field would be read "
                                "as a cell boundary in the bank file"});
            return;
        }
    }
}

BankRow CsvRecordToRow(const std::string& file, std::size_t fileIndex, const CsvRecord& record,
                       std::vector<BankProblem>& problems)
{
    BankRow row;
    row.fileIndex = fileIndex;
    row.line = record.line;
    bool clean = true;
    for (std::size_t j = 0; j < record.fields.size(); ++j) {
        std::string cell;
        for (const CellFault& fault : Utf8FieldToCell(record.fields[j], cell)) {
            problems.push_back({file, record.line, static_cast<int>(j) + 1,
                                AtCharacter(fault.position) + fault.message});
            clean = false;
        }
        row.cells.push_back(std::move(cell));
    }
    if (clean)
        CheckCellBoundaries(file, row, problems);
    return row;
}

// ---------------------------------------------------------------------------
// Bank files.

// The field number a byte position of a bank line falls in, counting cell
// boundaries the way the loader finds them (leftmost, not overlapping).
int FieldAt(const std::string& line, std::size_t position, std::size_t cellCount)
{
    int field = 1;
    std::size_t at = 1;
    for (;;) {
        at = line.find(kCellBoundary, at);
        if (at == std::string::npos || at + 3 > position)
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

// ---------------------------------------------------------------------------
// Content.

bool AllDigits(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A plain decimal is what IntToText writes for a number of 0 or more.
bool PlainDecimal(const std::string& text, int& value)
{
    if (!AllDigits(text))
        return false;
    value = TextToInt(text);
    return IntToText(value) == text;
}

class ContentChecker {
public:
    ContentChecker(const BankRows& bank, const BankCheckOptions& options) : bank_(bank), options_(options) {}

    std::vector<BankProblem> Run(BankSummary& summary)
    {
        if (bank_.rows.empty()) {
            // An unreadable or empty file has been reported already.
            if (!bank_.textProblems.empty())
                return problems_;
            Report(bank_.files.empty() ? std::string() : bank_.files.front(), 0, 0,
                   "no rows: a bank needs a header row and at least one question row");
            return problems_;
        }
        const BankRow& header = bank_.rows.front();
        if (header.readable && !header.cells.empty() && AllDigits(header.cells.front()))
            Report(header, 1, "the first row is the header row, but this one looks like a question "
                              "(its first cell is a number)");
        if (bank_.rows.size() == 1)
            Report(header, 0, "the bank has no question rows");
        for (std::size_t r = 1; r < bank_.rows.size(); ++r)
            if (bank_.rows[r].readable)
                CheckQuestion(bank_.rows[r], summary);
        return problems_;
    }

private:
    const std::string& FileOf(const BankRow& row) const
    {
        static const std::string kNone;
        return row.fileIndex < bank_.files.size() ? bank_.files[row.fileIndex] : kNone;
    }

    void Report(const std::string& file, std::int64_t line, int column, const std::string& message)
    {
        problems_.push_back({file, line, column, message});
    }

    void Report(const BankRow& row, int column, const std::string& message)
    {
        Report(FileOf(row), row.line, column, message);
    }

    // Columns 4..7; -1 when the cell is missing or not a plain decimal.
    int Number(const BankRow& row, int column, const char* what)
    {
        if (static_cast<std::size_t>(column) >= row.cells.size())
            return -1;
        int value = 0;
        if (!PlainDecimal(row.cells[column], value)) {
            Report(row, column + 1,
                   std::string(what) + " must be a plain decimal number, not " +
                       Quoted(SjisToUtf8(row.cells[column])));
            return -1;
        }
        return value;
    }

    void CheckQuestion(const BankRow& row, BankSummary& summary)
    {
        const TextRow& cells = row.cells;
        ++summary.questions;
        if (cells.size() != ToiColumn::Count)
            Report(row, static_cast<int>(std::min(cells.size(), std::size_t(ToiColumn::Count))) + 1,
                   std::to_string(cells.size()) + " cells: a question row has exactly 8 (key, question, "
                                                  "explanation, answer, choices, label set, question picture, "
                                                  "explanation picture)");
        static const std::string kMissing;
        auto cell = [&](int column) -> const std::string& {
            return static_cast<std::size_t>(column) < cells.size() ? cells[column] : kMissing;
        };

        const std::string& key = cell(ToiColumn::Key);
        bool keyUsable = AllDigits(key);
        if (!keyUsable) {
            Report(row, 1, key.empty() ? std::string("the key is empty")
                                       : "the key must be digits only, not " + Quoted(SjisToUtf8(key)));
        } else {
            auto [it, fresh] = keys_.emplace(key, &row);
            if (!fresh)
                Report(row, 1, "the key " + key + " is also used at " + FileOf(*it->second) + ":" +
                                   std::to_string(it->second->line));
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
        if (labels > 2)
            Report(row, ToiColumn::LabelSet + 1, "the label set must be 0, 1 or 2");
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
                CheckPicture(row, ToiColumn::ToiPicture, PictureFileName('m', key));
        }
        if (kaisetuPicture == 1) {
            ++summary.pictures;
            if (keyUsable)
                CheckPicture(row, ToiColumn::KaisetuPicture, PictureFileName('k', key));
        }
    }

    void CheckChoiceAnswer(const BankRow& row, const std::string& answer, int choices)
    {
        const int column = ToiColumn::Seikai + 1;
        if (answer.empty()) {
            Report(row, column, "the answer is empty: a choice question needs the numbers of its correct boxes");
            return;
        }
        int previous = 0;
        for (const std::string& piece : SplitText(answer, "_")) {
            int box = 0;
            if (!PlainDecimal(piece, box) || box == 0) {
                Report(row, column, "the answer " + Quoted(SjisToUtf8(answer)) +
                                        " must be box numbers joined by \"_\", such as 2 or 1_3");
                return;
            }
            if (box <= previous) {
                Report(row, column, "the answer " + Quoted(SjisToUtf8(answer)) +
                                        " must list its box numbers once each, in ascending order");
                return;
            }
            if (box > choices) {
                Report(row, column, "the answer names box " + std::to_string(box) + " but there are only " +
                                        std::to_string(choices) + " choices");
                return;
            }
            previous = box;
        }
    }

    void CheckTypedAnswer(const BankRow& row, const std::string& answer)
    {
        const int column = ToiColumn::Seikai + 1;
        static const std::string kWideBlank = "\x81\x40"; // full-width blank
        // The last character starts after the last lead byte's pair, so walk.
        std::size_t last = 0;
        for (std::size_t i = 0; i < answer.size(); i += IsSjisLead(static_cast<unsigned char>(answer[i])) ? 2 : 1)
            last = i;
        auto blankAt = [&](std::size_t at) {
            return answer.compare(at, 1, " ") == 0 || answer.compare(at, 2, kWideBlank) == 0;
        };
        if (answer.empty())
            Report(row, column, "the answer is empty");
        else if (answer.find(kLineMarker) != std::string::npos)
            Report(row, column, "a typed answer cannot hold a line break: the answer box has one line");
        else if (blankAt(0) || blankAt(last))
            Report(row, column, "the answer starts or ends with a blank: the learner's text is compared unchanged");
    }

    void CheckPicture(const BankRow& row, int column, const std::string& name)
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

    const BankRows& bank_;
    const BankCheckOptions& options_;
    std::vector<BankProblem> problems_;
    std::map<std::string, const BankRow*> keys_;
};

bool NeedsQuotes(const std::string& field, bool onlyField)
{
    if (field.empty())
        return onlyField; // a lone empty field would read as a blank line
    return field.find_first_of(",\"\r\n") != std::string::npos || field.front() == ' ' || field.back() == ' ';
}

} // namespace

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
    std::size_t position = 0;
    for (std::size_t i = 0; i < cell.size();) {
        ++position;
        auto b = static_cast<unsigned char>(cell[i]);
        if (b < 0x80) {
            if (const char* fault = AsciiFault(b))
                faults.push_back({position, std::string(fault) + " (" + Hex(b, 2) + ")"});
            ++i;
        } else if (b >= 0xA1 && b <= 0xDF) {
            faults.push_back({position, "half-width katakana " + Quoted(SjisToUtf8(cell.substr(i, 1))) +
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
            if (const char* reason = ExtensionReason(b))
                faults.push_back({position, Quoted(SjisToUtf8(cell.substr(i, 2))) + " (" + Hex(code, 4) + ") is " +
                                                reason});
            else if (!PairAssigned(b, trail)) // an unassigned code inside the JIS X 0208 rows
                faults.push_back({position, Hex(code, 4) + " is not a JIS X 0208 character"});
            i += 2;
        }
    }
    return faults;
}

std::vector<CellFault> Utf8FieldToCell(const std::string& field, std::string& cell)
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
        std::size_t length = Utf8Length(field, i, cp);
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

BankRows ParseCsvSources(const std::vector<std::pair<std::string, std::string>>& sources)
{
    BankRows bank;
    for (const auto& [name, bytes] : sources) {
        const std::size_t fileIndex = bank.files.size();
        bank.files.push_back(name);
        std::vector<CsvRecord> records = CsvParser(name, bytes, bank.textProblems).Records();
        if (records.empty()) {
            bank.textProblems.push_back({name, 0, 0, "the file is empty: it needs at least the header row"});
            continue;
        }
        for (std::size_t r = 0; r < records.size(); ++r) {
            BankRow row = CsvRecordToRow(name, fileIndex, records[r], bank.textProblems);
            if (r == 0 && !bank.rows.empty()) {
                // Each later file repeats the bank's header row, which is skipped.
                const TextRow& first = bank.rows.front().cells;
                if (row.cells != first) {
                    std::size_t j = 0;
                    while (j < row.cells.size() && j < first.size() && row.cells[j] == first[j])
                        ++j;
                    bank.textProblems.push_back({name, row.line, static_cast<int>(j) + 1,
                                                 "the header row differs from the header row of " +
                                                     bank.files[bank.rows.front().fileIndex]});
                }
                continue;
            }
            bank.rows.push_back(std::move(row));
        }
    }
    return bank;
}

BankRows ReadCsvSources(const std::vector<std::string>& fileNames)
{
    std::vector<std::pair<std::string, std::string>> sources;
    std::vector<BankProblem> unreadable;
    for (const std::string& name : fileNames) {
        std::string bytes, reason;
        if (!ReadFileBytes(name, bytes, &reason, kMaxFileBytes))
            unreadable.push_back({name, 0, 0, "cannot read the file: " + reason});
        sources.emplace_back(name, std::move(bytes));
    }
    BankRows bank = ParseCsvSources(sources);
    if (!unreadable.empty()) {
        // An unreadable file is not also reported as empty.
        std::erase_if(bank.textProblems, [&](const BankProblem& p) {
            return p.line == 0 && std::any_of(unreadable.begin(), unreadable.end(),
                                              [&](const BankProblem& u) { return u.file == p.file; });
        });
        bank.textProblems.insert(bank.textProblems.begin(), unreadable.begin(), unreadable.end());
    }
    return bank;
}

BankRows ParseBankBytes(const std::string& fileName, const std::string& bytes)
{
    BankRows bank;
    bank.files.push_back(fileName);
    auto report = [&](std::int64_t line, int column, const std::string& message) {
        bank.textProblems.push_back({fileName, line, column, message});
    };

    // The program stops reading at a NUL byte; so does this check.
    std::size_t nul = bytes.find('\0');
    const std::string data = bytes.substr(0, nul);
    if (nul != std::string::npos)
        report(std::count(data.begin(), data.end(), '\n') + 1, 0,
               "a NUL byte: the program stops reading the bank here");

    std::int64_t lineNo = 0;
    for (std::size_t pos = 0; pos < data.size();) {
        ++lineNo;
        std::size_t lf = data.find('\n', pos);
        const bool ended = lf != std::string::npos;
        std::string raw = data.substr(pos, (ended ? lf : data.size()) - pos);
        pos = ended ? lf + 1 : data.size();
        if (!ended)
            report(lineNo, 0, "the last line has no line end: the program drops it");
        else if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        else
            report(lineNo, 0, "the line ends in LF alone: bank lines end in CR LF");

        std::string line;
        std::vector<std::size_t> crs;
        for (char c : raw) {
            if (c == '\r')
                crs.push_back(line.size());
            else
                line += c;
        }

        BankRow row;
        row.line = lineNo;
        if (line.empty()) {
            report(lineNo, 0, "an empty line: the program reads it as a row of one empty cell");
            row.cells.assign(1, std::string());
            row.readable = false;
        } else {
            const std::string inner = line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string();
            row.cells = SplitText(inner, kCellBoundary);
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
                report(lineNo, FieldAt(line, at, row.cells.size()),
                       "a CR inside the line: the program drops it");
            if (!crs.empty())
                row.readable = false;
            for (std::size_t j = 0; row.readable && j < row.cells.size(); ++j)
                for (const CellFault& fault : SjisCellFaults(row.cells[j]))
                    report(lineNo, static_cast<int>(j) + 1, AtCharacter(fault.position) + fault.message);
        }
        if (ended)
            bank.rows.push_back(std::move(row));
    }

    // With the text clean, this reading must be the loader's; if not, the
    // loader is what the learner sees.
    if (bank.textProblems.empty()) {
        // Clean lines are read independently, so the loader can be run over
        // the data a block of whole lines at a time, keeping memory small.
        constexpr std::size_t kBlock = 1 << 20;
        std::size_t index = 0;
        bool same = true;
        for (std::size_t from = 0; same && from < data.size();) {
            std::size_t to = data.find('\n', std::min(from + kBlock, data.size() - 1));
            to = to == std::string::npos ? data.size() : to + 1;
            const TextTable loaded = LoaderTable(data.substr(from, to - from));
            for (const auto& [number, cells] : loaded) {
                if (index >= bank.rows.size() || cells != bank.rows[index].cells) {
                    same = false;
                    break;
                }
                ++index;
            }
            from = to;
        }
        if (!same || index != bank.rows.size())
            report(index < bank.rows.size() ? bank.rows[index].line : 0, 0,
                   "the program's loader reads this row differently");
    }
    return bank;
}

BankRows ReadBankFile(const std::string& fileName)
{
    std::string bytes, reason;
    if (!ReadFileBytes(fileName, bytes, &reason, kMaxFileBytes)) {
        BankRows bank;
        bank.files.push_back(fileName);
        bank.textProblems.push_back({fileName, 0, 0, "cannot read the file: " + reason});
        return bank;
    }
    return ParseBankBytes(fileName, bytes);
}

std::vector<BankProblem> CheckBankContent(const BankRows& bank, const BankCheckOptions& options,
                                          BankSummary* summary)
{
    BankSummary local;
    std::vector<BankProblem> problems = ContentChecker(bank, options).Run(local);
    if (summary)
        *summary = local;
    return problems;
}

std::vector<BankProblem> AllProblems(const BankRows& bank, const std::vector<BankProblem>& content)
{
    std::vector<BankProblem> all = bank.textProblems;
    all.insert(all.end(), content.begin(), content.end());
    auto fileOrder = [&](const std::string& file) {
        auto it = std::find(bank.files.begin(), bank.files.end(), file);
        return static_cast<std::size_t>(std::distance(bank.files.begin(), it));
    };
    std::stable_sort(all.begin(), all.end(), [&](const BankProblem& a, const BankProblem& b) {
        auto fa = fileOrder(a.file), fb = fileOrder(b.file);
        if (fa != fb)
            return fa < fb;
        if (a.line != b.line)
            return a.line < b.line;
        return a.column < b.column;
    });
    return all;
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
    for (const auto& [number, cells] : table) {
        for (std::size_t j = 0; j < cells.size(); ++j) {
            std::string utf8;
            if (!SjisToUtf8Exactly(cells[j], utf8)) {
                if (error)
                    *error = "row " + std::to_string(number) + ", cell " + std::to_string(j + 1) +
                             " is not valid Shift_JIS";
                return false;
            }
            std::string field = ReplaceAll(utf8, kLineMarker, "\n");
            if (NeedsQuotes(field, cells.size() == 1))
                field = "\"" + ReplaceAll(field, "\"", "\"\"") + "\"";
            csv += field;
            csv += j + 1 < cells.size() ? ',' : '\n';
        }
    }
    return true;
}
