#pragma once
// Text tables and string utilities.
//
// Every data file is a "table file": one line per row, each cell in double
// quotes, cells separated by a comma, lines ended by CR LF. Texts are
// Shift_JIS byte strings; lengths and positions count bytes. Nothing here
// knows about the drill or the window.
#include "text/SystemReason.h"
#include "text/TextRow.h"

#include <cstdint>
#include <ctime>
#include <map>
#include <string>
#include <string_view>
#include <vector>

using TextTable = std::map<std::int32_t, TextRow>;

// Reads a table file. The caller has checked DataFileExists; an unreadable
// file reads as an empty table (use ReadWholeFileChecked to tell).
//
// The bytes up to the first NUL are read; every CR is dropped; each LF ends
// a line, and the bytes after the last LF are no line. Each line loses its
// first and last byte (the outer quotes, whatever those bytes are) and the
// rest is cut into cells at every quote, comma, quote. The table file's own
// pairing rule (PairsInTableFile, text/SjisCodec.h) decides which bytes are
// one character, counted from the start of each cell: a line end never
// belongs to a character, so a cell never holds CR or LF, and a quote or
// comma that is the second byte of a character is no cell boundary. A
// character whose first byte is a JIS X 0208 lead byte or 0x80 reads as its
// conversion to EUC-JP and back gives it: unchanged, except a second byte
// 0x7F, which becomes 0x7E. Every other byte reads as it is. Any table read,
// written with TableToText and WriteTextFile and read again, is the same
// table.
//
// A line too short for its two quotes reads as a row of one empty cell, so
// the rows after it keep their numbers; such lines at the end of the file are
// dropped.
TextTable LoadTextTable(const std::string& fileName);
// LoadTextTable on a file's bytes already read, so a caller that checked the
// read with ReadWholeFileChecked reads the file only once. The rows keep
// their cells in one copy of the bytes; handing the bytes over (std::move)
// saves that copy.
TextTable ParseTableFile(const std::string& bytes);
TextTable ParseTableFile(std::string&& bytes);
// ParseTableFile for a file that holds NUL bytes where none belongs (a block
// of zeros a crash left, a byte gone bad): a NUL spoils only the line it
// falls in, which is no row. Every other line is read as ParseTableFile reads
// it and keeps its row number, so a spoiled line leaves a gap; a zero block
// that swallowed line ends makes one spoiled line of them. *spoiled, where
// given, counts the spoiled lines.
TextTable ParseTableFileAroundNul(std::string&& bytes, std::size_t* spoiled = nullptr);

// One line of a table file as the reader cuts it, for a caller that reports
// by line and cell (the bank tool). Row r of the table is line r + 1.
struct TableLine {
    std::uint32_t number = 0;     // from 1
    std::size_t start = 0;        // offset of its first byte in the file
    std::size_t length = 0;       // its bytes up to the LF, CRs excluded
    std::size_t innerReturns = 0; // CRs dropped inside the line
    std::size_t endReturns = 0;   // CRs dropped right before the LF (one, as written)
    bool shortLine = false;       // too short for two quotes: one empty cell
    std::size_t firstCell = 0;    // its cells in the reader's cell list
    std::size_t cellCount = 0;
};
// Reads the lines of a table file one by one, in place: the CRs inside a
// line are squeezed out of the bytes and 0x7F second bytes mended, so each
// cell is one run of the bytes, named by its offset and length.
class TableLineReader {
public:
    // Reads the bytes up to the first NUL (all of them, NULs within lines,
    // when not stopAtNul); they must outlive the reader. Without mending,
    // the 0x7F second bytes stay as the file has them, for a reader that
    // reports them (the bank tool); the cells are the same.
    explicit TableLineReader(std::string& bytes, bool mendTrail7F = true, bool stopAtNul = true);
    // The next line; its cells are appended to `cells`, and where given, the
    // place of each CR dropped inside it (its offset in the squeezed line) to
    // `innerReturnsAt`. False at the end.
    bool Next(TableLine& line, std::vector<TextCellSpan>& cells, std::vector<std::size_t>* innerReturnsAt = nullptr);
    // The bytes after the last line end: no row.
    std::size_t RestStart() const { return next_; }

private:
    unsigned char* base_;
    std::size_t size_;
    std::size_t next_ = 0;
    std::uint32_t number_ = 0;
    bool mendTrail7F_ = true;
};

// The table file text of a table: quoted cells, comma separated, LF ends.
std::string TableToText(const TextTable& table);
// The bytes WriteTextFile writes for TableToText(table): CR LF line ends.
std::string TableToFileBytes(const TextTable& table);
// One row as a line of a table file, CR LF ended, appended to out (a row
// without cells writes nothing). The cells are anything with size() and
// Cell(j) as a string_view: a TextRow, or the bank tool's view of a row.
template <class Cells>
void AppendTableLine(std::string& out, const Cells& cells, std::string_view lineEnd = "\r\n")
{
    for (std::size_t j = 0; j < cells.size(); ++j) {
        out += '"';
        out += cells.Cell(j);
        out += '"';
        if (j + 1 < cells.size())
            out += ',';
        else
            out += lineEnd;
    }
}

// Replaces the file with the text, each LF written as CR LF, safely
// (ReplaceFile, text/SafeFile.h). When the file cannot be written, prints
// "ファイルをオープンできません" to standard error and ends the process at
// once with exit status 1.
void WriteTextFile(const std::string& text, const std::string& fileName);
// The same write without ending the process: returns false (old file kept)
// and tells what failed in *error.
bool TryWriteTextFile(const std::string& text, const std::string& fileName, FileError* error = nullptr);
// The file's bytes up to the first NUL byte or the end; empty when unreadable.
std::string ReadWholeFile(const std::string& fileName);
// As ReadWholeFile, but tells whether the file could be read at all (a
// folder, a FIFO, no permission, too large or a read error give false).
bool ReadWholeFileChecked(const std::string& fileName, std::string& text, FileError* error = nullptr);

std::vector<std::string> SplitText(const std::string& text, const std::string& marker);
std::string ReplaceAll(const std::string& text, const std::string& marker, const std::string& replacement);
std::string EraseAll(const std::string& text, const std::string& marker);
// Byte position of the first occurrence at or after start, or -1.
std::int64_t FindText(const std::string& text, const std::string& marker, std::int64_t start);
std::string SubText(const std::string& text, std::int64_t position, std::int64_t count);
std::string IntToText(std::int32_t value);
// Leading blanks, an optional sign, then digits; 0 without digits. A digit
// run beyond the 32-bit range clamps to INT32_MAX or INT32_MIN.
std::int32_t TextToInt(const std::string& text);

// Local date and time as "Www Mmm dd hh:mm:ss yyyy", English names, 24 bytes.
std::string NowText();
// The same text for a given calendar time (local time).
std::string TimeToText(std::time_t t);

// True when the name exists in the working folder (file or folder).
bool DataFileExists(const std::string& fileName);
